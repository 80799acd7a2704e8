// What a teacher sets for a lesson, read from text: the laws ("1-12,15"), the marks' thresholds
// ("90,75,50"), and the mark a share of right answers earns at and around each threshold.
#include "core/lesson.h"

#include <QTest>

namespace {

QList<int> listOf(const std::vector<int>& v) {
    return QList<int>(v.begin(), v.end());
}

QList<int> range(int first, int last) {
    QList<int> laws;
    for (int n = first; n <= last; ++n)
        laws << n;
    return laws;
}

} // namespace

class LessonTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // The laws read, ascending and each once, and written back as the shortest list; nothing
    // for a list that names no law or anything but laws 1 … 23.
    void lawListReadAndWritten_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QList<int>>("laws");
        QTest::addColumn<QString>("written"); // lawListText of the laws read
        QTest::newRow("range and one")
            << "1-12,15" << true << range(1, 12) + QList{15} << "1-12,15";
        QTest::newRow("all") << "1-23" << true << range(1, 23) << "1-23";
        QTest::newRow("blanks and tabs") << " 3 - 5 ,\t7 " << true << QList{3, 4, 5, 7} << "3-5,7";
        QTest::newRow("repeats and overlaps, unordered")
            << "9,2-4,3,4-6,9" << true << QList{2, 3, 4, 5, 6, 9} << "2-6,9";
        QTest::newRow("two in a row stay apart") << "22,23" << true << QList{22, 23} << "22,23";
        QTest::newRow("one-law range") << "7-7" << true << QList{7} << "7";
        for (const char* bad : {"", " ", "0", "24", "0-3", "20-24", "5-3", "1,,2", "1,", ",1", "a",
                                "1-", "-3", "1-2-3", "1.5", "+3", "3x", "1;2", "99999999999"})
            QTest::addRow("bad: '%s'", bad) << bad << false << QList<int>{} << "";
    }
    void lawListReadAndWritten() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QList<int>, laws);
        QFETCH(QString, written);
        const auto read = parseLawList(text.toStdString());
        QCOMPARE(read.has_value(), valid);
        if (!valid) return;
        QCOMPARE(listOf(*read), laws);
        const std::string back = lawListText(*read);
        QCOMPARE(QString::fromStdString(back), written);
        QCOMPARE(parseLawList(back), read);
        QCOMPARE(QString::fromStdString(lawListText(*read, "–")), written.replace('-', u'–'));
    }

    void marksRead_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("five");
        QTest::addColumn<int>("four");
        QTest::addColumn<int>("three");
        QTest::newRow("defaults") << "90,75,50" << true << 90 << 75 << 50;
        QTest::newRow("blanks") << " 80 , 60,40 " << true << 80 << 60 << 40;
        QTest::newRow("the ends") << "100,1,0" << true << 100 << 1 << 0;
        for (const char* bad : {"", "90,75", "90,75,50,25", "50,75,90", "90,90,50", "101,75,50",
                                "90,75,-1", "90,,50", "9o,75,50", "90;75;50"})
            QTest::addRow("bad: '%s'", bad) << bad << false << 0 << 0 << 0;
    }
    void marksRead() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, five);
        QFETCH(int, four);
        QFETCH(int, three);
        const auto marks = parseMarks(text.toStdString());
        QCOMPARE(marks.has_value(), valid);
        if (!valid) return;
        QCOMPARE(*marks, (Marks{five, four, three}));
        QCOMPARE(parseMarks(marksText(*marks)), marks);
    }

    // A share exactly at a threshold earns its mark; one right answer fewer does not.
    void markAtEachThreshold_data() {
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("asked");
        QTest::addColumn<QString>("marks");
        QTest::addColumn<int>("mark");
        QTest::newRow("21/23 ≥ 90 %") << 21 << 23 << "90,75,50" << 5;
        QTest::newRow("20/23 < 90 %") << 20 << 23 << "90,75,50" << 4;
        QTest::newRow("9/10 = 90 %") << 9 << 10 << "90,75,50" << 5;
        QTest::newRow("3/4 = 75 %") << 3 << 4 << "90,75,50" << 4;
        QTest::newRow("17/23 < 75 %") << 17 << 23 << "90,75,50" << 3;
        QTest::newRow("1/2 = 50 %") << 1 << 2 << "90,75,50" << 3;
        QTest::newRow("11/23 < 50 %") << 11 << 23 << "90,75,50" << 2;
        QTest::newRow("none right") << 0 << 23 << "90,75,50" << 2;
        QTest::newRow("none right, 3 from 0 %") << 0 << 5 << "80,60,0" << 3;
        QTest::newRow("all right, 5 only at 100 %") << 13 << 13 << "100,60,30" << 5;
        QTest::newRow("12/13 short of 100 %") << 12 << 13 << "100,60,30" << 4;
        QTest::newRow("nothing asked") << 0 << 0 << "90,75,50" << 0;
    }
    void markAtEachThreshold() {
        QFETCH(int, right);
        QFETCH(int, asked);
        QFETCH(QString, marks);
        QFETCH(int, mark);
        QCOMPARE(markFor(right, asked, *parseMarks(marks.toStdString())), mark);
    }
};

QTEST_APPLESS_MAIN(LessonTest)
#include "tst_lesson.moc"

// The zoom steps: how a zoom written by a teacher or kept in a settings file is read, and the
// steps the zoom keys go up and down by.
#include "core/zoom.h"

#include <QString>
#include <QTest>
#include <algorithm>

class ZoomTest : public QObject {
    Q_OBJECT

  private slots:
    void stepsRunFromHundredToThreeHundred() {
        QCOMPARE(kZoomSteps.front(), 100);
        QCOMPARE(kZoomSteps.back(), 300);
        for (std::size_t i = 1; i < kZoomSteps.size(); ++i)
            QVERIFY(kZoomSteps[i - 1] < kZoomSteps[i]);
    }

    // A step as it is; any other number the nearest step, with the reason; anything else 100.
    // `mentions`: what the one-line reason must name, "|" between the parts; empty: no reason.
    void readZoom_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("percent");
        QTest::addColumn<QString>("mentions");
        for (int step : kZoomSteps)
            QTest::addRow("%d", step) << QString::number(step) << step << QString();
        QTest::newRow("per cent sign") << "150%" << 150 << "";
        QTest::newRow("spaces around") << " 200 " << 200 << "";
        QTest::newRow("spaces and per cent") << " 200% " << 200 << "";
        QTest::newRow("space before per cent") << "250 %" << 250 << "";
        QTest::newRow("tab") << "\t175" << 175 << "";
        QTest::newRow("leading zero") << "0125" << 125 << "";
        QTest::newRow("7") << "7" << 100 << "7 %|100 %";
        QTest::newRow("0") << "0" << 100 << "0 %|100 %";
        QTest::newRow("negative") << "-150" << 100 << "100 %";
        QTest::newRow("99") << "99" << 100 << "99 %|100 %";
        QTest::newRow("112, nearer 100") << "112" << 100 << "112 %|100 %";
        QTest::newRow("113, nearer 125") << "113" << 125 << "113 %|125 %";
        QTest::newRow("160, nearer 150") << "160" << 150 << "160 %|150 %";
        QTest::newRow("230, nearer 250") << "230" << 250 << "230 %|250 %";
        QTest::newRow("301") << "301" << 300 << "301 %|300 %";
        QTest::newRow("1000") << "1000" << 300 << "1000 %|300 %";
        QTest::newRow("fraction") << "150.5" << 150 << "150.5 %|150 %";
        QTest::newRow("exponent, too large") << "1e20" << 300 << "1e20 %|300 %";
        QTest::newRow("exponent, huge") << "1e400" << 300 << "300 %";
        QTest::newRow("abc") << "abc" << 100 << "«abc»|100 %";
        QTest::newRow("empty") << "" << 100 << "«»|100 %";
        QTest::newRow("spaces only") << "   " << 100 << "100 %";
        QTest::newRow("per cent only") << "%" << 100 << "100 %";
        QTest::newRow("number and word") << "150 pc" << 100 << "«150 pc»|100 %";
        QTest::newRow("two numbers") << "150 200" << 100 << "100 %";
        QTest::newRow("per cent first") << "%150" << 100 << "100 %";
        QTest::newRow("hexadecimal") << "0x96" << 100 << "100 %";
        QTest::newRow("Cyrillic") << "сто" << 100 << "«сто»|100 %";
    }
    void readZoom() {
        QFETCH(QString, text);
        QFETCH(int, percent);
        QFETCH(QString, mentions);
        const ZoomReading reading = ::readZoom(text.toStdString());
        QCOMPARE(reading.percent, percent);
        const QString problem = QString::fromStdString(reading.problem);
        QCOMPARE(problem.isEmpty(), mentions.isEmpty());
        QVERIFY2(!problem.contains('\n'), qPrintable(problem));
        if (mentions.isEmpty()) return;
        for (const QString& part : mentions.split('|'))
            QVERIFY2(problem.contains(part), qPrintable(part + " not in: " + problem));
    }

    // The keys go one step at a time; up never past the largest step that fits the screen.
    void zoomInAndOut_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("largest");
        QTest::addColumn<int>("in");
        QTest::addColumn<int>("out");
        QTest::newRow("100, room for 300") << 100 << 300 << 125 << 100;
        QTest::newRow("125, room for 300") << 125 << 300 << 150 << 100;
        QTest::newRow("175, room for 300") << 175 << 300 << 200 << 150;
        QTest::newRow("200, room for 300") << 200 << 300 << 250 << 175;
        QTest::newRow("250, room for 300") << 250 << 300 << 300 << 200;
        QTest::newRow("300, room for 300") << 300 << 300 << 300 << 250;
        QTest::newRow("150, room for 150") << 150 << 150 << 150 << 125;
        QTest::newRow("150, room for 175") << 150 << 175 << 175 << 125;
        QTest::newRow("100, room for 100") << 100 << 100 << 100 << 100;
    }
    void zoomInAndOut() {
        QFETCH(int, from);
        QFETCH(int, largest);
        QFETCH(int, in);
        QFETCH(int, out);
        QCOMPARE(zoomIn(from, largest), in);
        QCOMPARE(zoomOut(from), out);
    }

    // From 100 % up and down again, every step is visited once each way.
    void keysVisitEveryStep() {
        int zoom = 100;
        QList<int> up{zoom}, down;
        while (zoomIn(zoom, 300) != zoom)
            up << (zoom = zoomIn(zoom, 300));
        down << zoom;
        while (zoomOut(zoom) != zoom)
            down << (zoom = zoomOut(zoom));
        const QList<int> steps(kZoomSteps.begin(), kZoomSteps.end());
        QCOMPARE(up, steps);
        std::reverse(down.begin(), down.end());
        QCOMPARE(down, steps);
    }
};

QTEST_APPLESS_MAIN(ZoomTest)
#include "tst_zoom.moc"

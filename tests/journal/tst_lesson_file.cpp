// The lesson file: the `[test]` group read key by key, each bad value told and left out; the
// class's file followed only when the teacher wrote it; written whole, at 0644, over whatever
// else stood there.
#include "journal/journal_test_support.h"
#include "journal/lesson_file.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(Lesson)

namespace {

// A lesson none of the keys' defaults match: what a key leaves out stays this.
const Lesson kBase{{2, 3}, 5, true, {80, 60, 40}};

QString lessonPath(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kLessonFileName));
}

} // namespace

class LessonFileTest : public QObject {
    Q_OBJECT
  private slots:
    void readsTheTestGroup_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<Lesson>("lesson");
        QTest::addColumn<QStringList>("badKeys");
        QTest::newRow("every key")
            << QByteArray("[test]\nlaws=1-12,15\nminutes=20\n"
                          "order=catalogue\nmarks=95,80,60\n")
            << Lesson{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15}, 20, false, {95, 80, 60}}
            << QStringList{};
        QTest::newRow("no keys") << QByteArray("[other]\nlaws=1\n") << kBase << QStringList{};
        QTest::newRow("empty laws: all, no limit")
            << QByteArray("[test]\nlaws=\nminutes=0\norder=shuffled\n")
            << Lesson{{}, 0, true, kBase.marks} << QStringList{};
        QTest::newRow("each bad") << QByteArray("[test]\nlaws=0-3\nminutes=601\norder=random\n"
                                                "marks=90,90,50\n")
                                  << kBase << QStringList{"laws", "minutes", "order", "marks"};
        QTest::newRow("bad and good") << QByteArray("[test]\nlaws=24\nminutes=-1\nmarks=x\n"
                                                    "order=shuffled\n")
                                      << kBase << QStringList{"laws", "minutes", "marks"};
    }
    void readsTheTestGroup() {
        QFETCH(QByteArray, ini);
        QFETCH(Lesson, lesson);
        QFETCH(QStringList, badKeys);
        QTemporaryDir dir;
        const QString path = dir.filePath("settings.conf");
        QVERIFY(journal_test::writeAll(path, ini));
        const QSettings settings(path, QSettings::IniFormat);
        QStringList problems;
        const LessonSettings read = readLessonSettings(settings, "в настройках", problems);
        QVERIFY(withSettings(kBase, read) == lesson);
        QCOMPARE(problems.size(), badKeys.size());
        for (int i = 0; i < badKeys.size(); ++i)
            QVERIFY2(problems[i].startsWith("test/" + badKeys[i] + " в настройках: «") &&
                         problems[i].endsWith("; не учтено"),
                     qPrintable(problems[i]));
    }

    // Followed when the teacher wrote it; one anybody else could have put or changed is not.
    void followsTheTeachersFileAlone_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("followed");
        QTest::newRow("the teacher's") << "0644" << true;
        QTest::newRow("group may write") << "0664" << false;
        QTest::newRow("others may write") << "0646" << false;
        QTest::newRow("a link to the teacher's") << "link" << false;
        QTest::newRow("another user's") << "uid 2001" << false;
        QTest::newRow("root's, in another user's folder") << "root in 2001's" << true;
    }
    void followsTheTeachersFileAlone() {
        QFETCH(QString, kind);
        QFETCH(bool, followed);
        const bool asRoot = kind.contains("2001");
        if (asRoot && !journal_test::runningAsRoot()) QSKIP("changes owners: needs root");
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path());
        QStringList problems;
        QVERIFY(!readLessonFile(dir.path(), problems) && problems.isEmpty()); // none yet
        QVERIFY(writeLessonFile(dir.path(), Lesson{{7}, 3, false, {}}).problem.isEmpty());
        const QByteArray path = QFile::encodeName(lessonPath(dir.path()));
        if (kind.startsWith('0')) QVERIFY(::chmod(path, kind.toUInt(nullptr, 8)) == 0);
        if (kind == "uid 2001") QVERIFY(::chown(path, 2001, 2001) == 0);
        if (kind == "root in 2001's") QVERIFY(::chown(folder, 2001, 2001) == 0);
        if (kind == "link") {
            QVERIFY(QFile::rename(path, folder + "/real.ini"));
            QVERIFY(::symlink("real.ini", path) == 0);
        }
        const auto read = readLessonFile(dir.path(), problems);
        QCOMPARE(read.has_value(), followed);
        if (followed) QVERIFY(withSettings({}, *read) == (Lesson{{7}, 3, false, {}}));
        QCOMPARE(problems.size(), followed ? 0 : 1);
        if (!followed) QVERIFY2(problems[0].contains("не учителя"), qPrintable(problems[0]));
    }

    // Whole, at 0644 whatever the umask, over a file that was not the teacher's.
    void writesTheFile_data() {
        QTest::addColumn<int>("umask");
        QTest::addColumn<QString>("there"); // what stood there before
        QTest::newRow("umask 0") << 0 << "";
        QTest::newRow("umask 077") << 077 << "";
        QTest::newRow("over the teacher's own, 0600") << 022 << "0600";
        QTest::newRow("over a writable one") << 022 << "0666";
        QTest::newRow("over a link") << 022 << "link";
        QTest::newRow("over another user's") << 022 << "uid 2001";
    }
    void writesTheFile() {
        QFETCH(int, umask);
        QFETCH(QString, there);
        if (there.contains("2001") && !journal_test::runningAsRoot())
            QSKIP("changes owners: needs root");
        QTemporaryDir dir;
        const QString path = lessonPath(dir.path());
        const QString target = dir.filePath("target");
        if (!there.isEmpty()) {
            QVERIFY(journal_test::writeAll(target, "planted"));
            if (there == "link")
                QVERIFY(QFile::link("target", path));
            else
                QVERIFY(QFile::rename(target, path));
            if (there.startsWith('0'))
                QVERIFY(::chmod(QFile::encodeName(path), there.toUInt(nullptr, 8)) == 0);
            if (there == "uid 2001") QVERIFY(::chown(QFile::encodeName(path), 2001, 2001) == 0);
        }
        const mode_t before = ::umask(mode_t(umask));
        const LessonWritten written =
            writeLessonFile(dir.path(), Lesson{{1, 2, 3, 4, 9}, 45, true, {90, 70, 40}});
        ::umask(before);
        QCOMPARE(written.problem, QString());
        QCOMPARE(written.replacedPlanted, there != "" && there != "0600");
        QCOMPARE(journal_test::readAll(path),
                 QByteArray("[test]\nlaws=1-4,9\nminutes=45\norder=shuffled\nmarks=90,70,40\n"));
        QCOMPARE(journal_test::permissionsOf(path), 0644u);
        if (there == "link") QCOMPARE(journal_test::readAll(target), QByteArray("planted"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
                 there == "link" ? 2 : 1); // no copy left behind
    }
};

QTEST_GUILESS_MAIN(LessonFileTest)
#include "tst_lesson_file.moc"

// Where the journal is kept, and whether at all: the teacher's system-wide settings, the pupil's
// over them, the command line over both, unless the system-wide file locks the journal. A bad
// value is one line on the error stream and the journal is kept all the same.
#include "app/options.h"
#include "support/settings_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <unistd.h>

Q_DECLARE_METATYPE(JournalOptions)

namespace {

// A folder named anywhere is a configured one; none is the user's own default.
JournalOptions on(const QString& folder = {}, const QString& exportTo = {}) {
    return {true, folder, exportTo, !folder.isEmpty()};
}
JournalOptions off(const QString& folder = {}) {
    return {false, folder, {}, !folder.isEmpty()};
}

QString inHome(const QString& path) {
    return QDir::homePath() + path;
}

const char kLocked[] = "закреплены учителем|{system}|не действуют";

} // namespace

class JournalOptionsTest : public QObject {
    Q_OBJECT
    SettingsFiles files; // user/ and system/ settings of the running test

  private slots:
    void initTestCase() {
        QCoreApplication::setApplicationName(QStringLiteral("Законы логики"));
        QCoreApplication::setApplicationVersion(QStringLiteral("9.8.7"));
    }
    void init() { files.make(); }
    void cleanup() { files.home.reset(); }

    // Each line of `messages` is one line of the error stream, as fragments ("a|b").
    void journalOptions_data() {
        QTest::addColumn<QByteArray>("user");
        QTest::addColumn<QByteArray>("system");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<JournalOptions>("expected");
        QTest::addColumn<QStringList>("messages");
        const QByteArray none = kNoFile;
        const QStringList quiet;
        const QString dir = QStringLiteral("/srv/class 7/журнал");

        QTest::newRow("nothing anywhere") << none << none << QStringList() << on() << quiet;
        QTest::newRow("--journal DIR")
            << none << none << QStringList{"--journal", dir} << on(dir) << quiet;
        QTest::newRow("--journal=DIR")
            << none << none << QStringList{"--journal=" + dir} << on(dir) << quiet;
        QTest::newRow("--no-journal")
            << none << none << QStringList{"--no-journal"} << off() << quiet;
        QTest::newRow("--journal DIR --no-journal")
            << none << none << QStringList{"--journal", dir, "--no-journal"} << off(dir) << quiet;
        QTest::newRow("--no-journal --journal DIR: still off")
            << none << none << QStringList{"--no-journal", "--journal", dir} << off(dir) << quiet;
        QTest::newRow("--journal without a folder")
            << none << none << QStringList{"--journal"} << on()
            << QStringList{"после --journal не указано значение"};
        QTest::newRow("--export-journal without a file")
            << none << none << QStringList{"--export-journal"} << on()
            << QStringList{"после --export-journal не указано значение"};
        QTest::newRow("--journal with an empty folder")
            << none << none << QStringList{"--journal="} << on()
            << QStringList{"--journal|папка не указана"};
        QTest::newRow("--export-journal FILE")
            << none << none << QStringList{"--export-journal", "out.csv"} << on({}, "out.csv")
            << quiet;
        QTest::newRow("--export-journal=FILE --journal DIR")
            << none << none << QStringList{"--export-journal=a b.csv", "--journal", dir}
            << on(dir, "a b.csv") << quiet;

        QTest::newRow("user folder") << QByteArray("[journal]\nfolder=/home/shared/j\n") << none
                                     << QStringList() << on("/home/shared/j") << quiet;
        QTest::newRow("user folder with blanks around")
            << QByteArray("[journal]\nfolder=\"  /a b/c  \"\n") << none << QStringList()
            << on("/a b/c") << quiet;
        QTest::newRow("user folder in Cyrillic")
            << QStringLiteral("[journal]\nfolder=/srv/журнал\n").toUtf8() << none << QStringList()
            << on(QStringLiteral("/srv/журнал")) << quiet;
        QTest::newRow("user folder=~/журнал")
            << QStringLiteral("[journal]\nfolder=~/журнал\n").toUtf8() << none << QStringList()
            << on(inHome(QStringLiteral("/журнал"))) << quiet;
        QTest::newRow("user folder=~") << QByteArray("[journal]\nfolder=~\n") << none
                                       << QStringList() << on(QDir::homePath()) << quiet;
        QTest::newRow("user folder=~ivanov/j: another's home, left as written")
            << QByteArray("[journal]\nfolder=~ivanov/j\n") << none << QStringList()
            << on("~ivanov/j") << quiet;
        QTest::newRow("user folder=/srv/~/j: ~ inside, left as written")
            << QByteArray("[journal]\nfolder=/srv/~/j\n") << none << QStringList() << on("/srv/~/j")
            << quiet;
        for (const char* no : {"false", "0", "no", "FALSE", " No "})
            QTest::addRow("user enabled=%s", no) << QByteArray("[journal]\nenabled=") + no + "\n"
                                                 << none << QStringList() << off() << quiet;
        for (const char* yes : {"true", "1", "yes"})
            QTest::addRow("user enabled=%s", yes) << QByteArray("[journal]\nenabled=") + yes + "\n"
                                                  << none << QStringList() << on() << quiet;
        QTest::newRow("user enabled=maybe")
            << QByteArray("[journal]\nenabled=maybe\n") << none << QStringList() << on()
            << QStringList{"journal/enabled|«maybe»"};
        QTest::newRow("user enabled empty")
            << QByteArray("[journal]\nenabled=\n") << none << QStringList() << on()
            << QStringList{"journal/enabled"};
        QTest::newRow("user enabled=maybe, --no-journal")
            << QByteArray("[journal]\nenabled=maybe\n") << none << QStringList{"--no-journal"}
            << off() << QStringList{"journal/enabled|«maybe»"};

        QTest::newRow("system folder and off")
            << none << QByteArray("[journal]\nfolder=/srv/j\nenabled=false\n") << QStringList()
            << off("/srv/j") << quiet;
        QTest::newRow("user on over system off")
            << QByteArray("[journal]\nenabled=true\n")
            << QByteArray("[journal]\nfolder=/srv/j\nenabled=false\n") << QStringList()
            << on("/srv/j") << quiet;
        QTest::newRow("user folder over system folder")
            << QByteArray("[journal]\nfolder=/home/p/j\n")
            << QByteArray("[journal]\nfolder=/srv/j\n") << QStringList() << on("/home/p/j")
            << quiet;
        QTest::newRow("--journal DIR over settings folder and off")
            << QByteArray("[journal]\nfolder=/home/p/j\nenabled=false\n") << none
            << QStringList{"--journal", dir} << on(dir) << quiet;
        QTest::newRow("--no-journal over settings on")
            << QByteArray("[journal]\nfolder=/home/p/j\nenabled=true\n") << none
            << QStringList{"--no-journal"} << off("/home/p/j") << quiet;
        QTest::newRow("system folder=~/j") << none << QByteArray("[journal]\nfolder=~/j\n")
                                           << QStringList() << on(inHome("/j")) << quiet;

        // A lock in the system-wide file: neither the pupil's file nor the command line moves
        // the journal or switches it off.
        const QByteArray locked("[journal]\nlocked=true\nfolder=/srv/j\n");
        QTest::newRow("locked: the user's file off and elsewhere")
            << QByteArray("[journal]\nenabled=false\nfolder=/home/p/j\n") << locked << QStringList()
            << on("/srv/j") << quiet;
        QTest::newRow("locked: --no-journal") << none << locked << QStringList{"--no-journal"}
                                              << on("/srv/j") << QStringList{kLocked};
        QTest::newRow("locked: --journal DIR") << none << locked << QStringList{"--journal", dir}
                                               << on("/srv/j") << QStringList{kLocked};
        QTest::newRow("locked: --journal DIR --no-journal, said once")
            << none << locked << QStringList{"--journal", dir, "--no-journal"} << on("/srv/j")
            << QStringList{kLocked};
        QTest::newRow("locked off: the user's file on")
            << QByteArray("[journal]\nenabled=true\nfolder=/home/p/j\n")
            << QByteArray("[journal]\nlocked=true\nenabled=false\nfolder=/srv/j\n") << QStringList()
            << off("/srv/j") << quiet;
        QTest::newRow("locked with no folder: the user's own default")
            << QByteArray("[journal]\nfolder=/home/p/j\n") << QByteArray("[journal]\nlocked=true\n")
            << QStringList() << on() << quiet;
        QTest::newRow("locked folder=~/j")
            << none << QByteArray("[journal]\nlocked=true\nfolder=~/j\n") << QStringList()
            << on(inHome("/j")) << quiet;
        // The teacher reading the journal names any folder.
        QTest::newRow("locked: --class --journal DIR")
            << none << locked << QStringList{"--class", "--journal", dir} << on(dir) << quiet;
        QTest::newRow("locked: --export-journal FILE --journal DIR")
            << none << locked << QStringList{"--export-journal", "out.csv", "--journal", dir}
            << on(dir, "out.csv") << quiet;
        QTest::newRow("locked: --class --journal DIR --shuffle")
            << none << locked << QStringList{"--class", "--journal", dir, "--shuffle"} << on(dir)
            << QStringList{"закреплены учителем|ключи --no-journal"};
        QTest::newRow("locked: --export-journal still counts")
            << none << locked << QStringList{"--export-journal", "out.csv"}
            << on("/srv/j", "out.csv") << quiet;
        QTest::newRow("locked=false: --no-journal counts")
            << none << QByteArray("[journal]\nlocked=false\nfolder=/srv/j\n")
            << QStringList{"--no-journal"} << off("/srv/j") << quiet;
        QTest::newRow("locked in the user's file: no lock")
            << QByteArray("[journal]\nlocked=true\n") << QByteArray("[journal]\nfolder=/srv/j\n")
            << QStringList{"--no-journal"} << off("/srv/j") << quiet;

        QTest::newRow("zoom settings beside the journal's")
            << QByteArray("zoom=150\n[journal]\nenabled=0\n") << none
            << QStringList{"--zoom", "200"} << off() << quiet;
    }
    void journalOptions() {
        QFETCH(QByteArray, user);
        QFETCH(QByteArray, system);
        QFETCH(QStringList, arguments);
        QFETCH(JournalOptions, expected);
        QFETCH(QStringList, messages);
        SettingsFiles::write(files.userFile, user);
        SettingsFiles::write(files.systemFile, system);
        const OptionsReading reading = readOptions(arguments);
        QVERIFY(reading.options);
        QCOMPARE(reading.options->journal.on, expected.on);
        QCOMPARE(reading.options->journal.folder, expected.folder);
        QCOMPARE(reading.options->journal.exportTo, expected.exportTo);
        QCOMPARE(reading.options->journal.configured, expected.configured);
        QVERIFY(reading.out.isEmpty());
        const QStringList lines = reading.errors.split('\n', Qt::SkipEmptyParts);
        QVERIFY2(lines.size() == messages.size(), qPrintable(reading.errors));
        for (qsizetype i = 0; i < lines.size(); ++i)
            for (QString fragment : messages[i].split('|')) {
                fragment.replace(QStringLiteral("{system}"), files.systemFile);
                QVERIFY2(lines[i].contains(fragment), qPrintable(lines[i]));
            }
    }

    // Only exporting runs without a window; the journal's other options open one.
    void exportAloneNeedsNoDisplay_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("noWindow");
        QTest::newRow("--export-journal FILE") << QStringList{"--export-journal", "a.csv"} << true;
        QTest::newRow("--export-journal=FILE") << QStringList{"--export-journal=a.csv"} << true;
        QTest::newRow("--journal DIR") << QStringList{"--journal", "/tmp"} << false;
        QTest::newRow("--no-journal") << QStringList{"--no-journal"} << false;
        QTest::newRow("a folder named --export-journal")
            << QStringList{"--journal=--export-journal"} << false;
    }
    void exportAloneNeedsNoDisplay() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, noWindow);
        QCOMPARE(onlyPrintsText(QStringList{"zakony-logiki"} + arguments), noWindow);
    }

    // The real program as a pupil of another uid, the journal locked in the teacher's file: the
    // pupil's own file, --no-journal and XDG_CONFIG_DIRS leave the export reading the class's
    // folder.
    void lockHoldsForAPupil_data() {
        QTest::addColumn<QString>("configDirs"); // XDG_CONFIG_DIRS, in the test's folder
        QTest::newRow("XDG_CONFIG_DIRS unset") << QString();
        QTest::newRow("XDG_CONFIG_DIRS naming an empty folder") << QStringLiteral("empty");
    }
    void lockHoldsForAPupil() {
        QFETCH(QString, configDirs);
        if (::geteuid() != 0) QSKIP("runs the program as another uid, which needs root");
        QVERIFY(QFile::setPermissions(files.home->path(),
                                      QFile::permissions(files.home->path()) | QFile::ExeOther));
        const QString classFolder = files.home->filePath(QStringLiteral("класс 7"));
        SettingsFiles::write(files.systemFile,
                             "[journal]\nlocked=true\nfolder=" + classFolder.toUtf8() + "\n");
        const QString pupil = files.home->filePath("pupil");
        SettingsFiles::write(pupil + "/config/zakony-logiki/zakony-logiki.conf",
                             "[journal]\nenabled=false\nfolder=" + pupil.toUtf8() + "/own\n");
        for (const QString& path : {pupil, pupil + "/config", pupil + "/config/zakony-logiki"})
            QVERIFY(::chown(QFile::encodeName(path).constData(), 2001, 2001) == 0);

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert("HOME", pupil);
        env.insert("XDG_CONFIG_HOME", pupil + "/config");
        env.remove("XDG_CONFIG_DIRS");
        if (!configDirs.isEmpty()) {
            QVERIFY(QDir().mkpath(files.home->filePath(configDirs)));
            env.insert("XDG_CONFIG_DIRS", files.home->filePath(configDirs));
        }
        env.insert("LANG", "C.UTF-8");
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(pupil);
        const QString csv = pupil + "/out.csv";
        program.start("setpriv", {"--reuid=2001", "--regid=2001", "--clear-groups", ZL_PROGRAM,
                                  "--export-journal", csv, "--no-journal"});
        QVERIFY(program.waitForFinished(60'000));
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QString errors = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(program.exitCode() == 0, qPrintable(errors));
        QVERIFY2(out.contains("папки " + classFolder + " ещё нет"), qPrintable(out));
        QVERIFY2(errors.contains("закреплены учителем") && errors.contains("не действуют"),
                 qPrintable(errors));
        QCOMPARE(QFileInfo(csv).ownerId(), 2001u);
        QVERIFY(!QFileInfo::exists(pupil + "/own"));
    }
};

QTEST_GUILESS_MAIN(JournalOptionsTest)
#include "tst_journal_options.moc"

// Where the journal is kept, and whether at all: the teacher's system-wide settings, the pupil's
// over them, the command line over both. A bad value is one line on the error stream and the
// journal is kept all the same.
#include "support/settings_files.h"
#include "app/options.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(JournalOptions)

namespace {

JournalOptions on(const QString& folder = {}, const QString& exportTo = {}) {
    return {true, folder, exportTo};
}
JournalOptions off(const QString& folder = {}) {
    return {false, folder, {}};
}

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
            << none << none << QStringList{"--journal"} << on() << QStringList{"journal"};
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
        QVERIFY(reading.out.isEmpty());
        const QStringList lines = reading.errors.split('\n', Qt::SkipEmptyParts);
        QVERIFY2(lines.size() == messages.size(), qPrintable(reading.errors));
        for (qsizetype i = 0; i < lines.size(); ++i)
            for (const QString& fragment : messages[i].split('|'))
                QVERIFY2(lines[i].contains(fragment), qPrintable(lines[i]));
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
};

QTEST_GUILESS_MAIN(JournalOptionsTest)
#include "tst_journal_options.moc"

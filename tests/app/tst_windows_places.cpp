// Where the program keeps its files on Windows: the pupil's settings as an INI file in
// %APPDATA%, the journal in %LOCALAPPDATA%, and the teacher's system-wide file in the
// machine's ProgramData folder, found by asking the system, not the pupil's environment.
#include "app/options.h"
#include "app/platform.h"
#include "journal/journal_defaults.h"

#include <QDir>
#include <QTest>

class WindowsPlacesTest : public QObject {
    Q_OBJECT

    static QString folderOf(const char* variable) {
        return QDir::fromNativeSeparators(qEnvironmentVariable(variable));
    }

  private slots:
    void initTestCase() {
        QCoreApplication::setApplicationName(QStringLiteral("Законы логики"));
        QVERIFY(!folderOf("APPDATA").isEmpty());
        QVERIFY(!folderOf("LOCALAPPDATA").isEmpty());
        QVERIFY(!folderOf("ProgramData").isEmpty());
    }

    void filesAreWhereWindowsKeepsThem_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the pupil's settings")
            << QDir::fromNativeSeparators(programSettings()->fileName())
            << folderOf("APPDATA") + QStringLiteral("/zakony-logiki/zakony-logiki.ini");
        QTest::newRow("the journal")
            << QDir::fromNativeSeparators(defaultJournalFolder())
            << folderOf("LOCALAPPDATA") + QStringLiteral("/zakony-logiki/journal");
        QTest::newRow("the teacher's system-wide file")
            << systemSettingsPath()
            << folderOf("ProgramData") + QStringLiteral("/zakony-logiki/zakony-logiki.ini");
    }
    void filesAreWhereWindowsKeepsThem() {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(path.toLower(), expected.toLower()); // Windows's names know no case
    }

    // A pupil who points the variable elsewhere does not move the teacher's lock.
    void systemFileIgnoresThePupilsEnvironment() {
        const QString before = systemSettingsPath();
        const QByteArray saved = qgetenv("ProgramData");
        qputenv("ProgramData", "C:\\users\\public\\mine");
        const QString after = systemSettingsPath();
        qputenv("ProgramData", saved);
        QCOMPARE(after, before);
        QVERIFY(!after.contains(QStringLiteral("mine")));
    }

    void settingsAreIniFiles() { QCOMPARE(settingsFormat(), QSettings::IniFormat); }
};

QTEST_GUILESS_MAIN(WindowsPlacesTest)
#include "tst_windows_places.moc"

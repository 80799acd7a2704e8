// End to end: Enter or Space held down for two seconds on «Проверить…» or «Старт» of the real
// program, on an X server that repeats a held key, with both cores kept busy. X repeats a held
// key as a release and a press, which Qt flags as a repeat only when it finds the press already
// waiting behind the release; the button must be pressed once however many it flags. The
// journal the program writes says how often it was pressed.
#include "journal/journal_cache.h"
#include "support/xdotool_keys.h"
#include "window_targets.h"
#include "x_display.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <array>

namespace {

constexpr int kWaitMs = 20000;

bool xdotool(const QStringList& args) {
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

// Both cores kept busy while it lives, as on a classroom machine doing other work.
class BusyMachine {
  public:
    BusyMachine() {
        for (QProcess& loop : loops)
            loop.start(QStringLiteral("sh"), {"-c", "while :; do :; done"});
    }
    ~BusyMachine() {
        for (QProcess& loop : loops) {
            loop.kill();
            loop.waitForFinished();
        }
    }

  private:
    std::array<QProcess, 2> loops;
};

} // namespace

class HeldKey : public QObject {
    Q_OBJECT
    WindowTargets targets = WindowTargets::fromControlTable();
    XDisplay x;

    QStringList clickOn(XDisplay::Window window, const QString& control) const {
        return xdotool_keys::clickAt(window, targets.rectOf(control).center());
    }

  private slots:
    void initTestCase() {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
                 "xdotool is not installed");
        QVERIFY2(x.isOpen(), "cannot open the X display");
    }
    void pressesTheButtonOnce_data();
    void pressesTheButtonOnce();
};

void HeldKey::pressesTheButtonOnce_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("key");
    for (const char* button : {"Command1", "Cmd3_Start"})
        for (const char* key : {"Return", "space"})
            QTest::addRow("%s, %s", button, key) << button << key;
}

void HeldKey::pressesTheButtonOnce() {
    QFETCH(QString, button);
    QFETCH(QString, key);
    const QTemporaryDir home;
    QVERIFY(home.isValid());
    const QString folder = home.filePath(QStringLiteral("journal"));
    QVERIFY(QDir().mkpath(folder));
    // Settings of its own: no zoom remembered elsewhere moves the controls.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(TRAINER_PROGRAM), {"--journal", folder});
    auto ended = qScopeGuard([&] {
        program.terminate();
        if (!program.waitForFinished(kWaitMs)) program.kill(), program.waitForFinished();
    });
    XDisplay::Window window = 0;
    QTRY_VERIFY_WITH_TIMEOUT(!x.windowsOf(program.processId()).empty() &&
                                 (window = x.windowsOf(program.processId()).back()) != 0,
                             kWaitMs);
    QVERIFY(x.ping(window, kWaitMs));
    x.focus(window);

    // A test started, and the button pressed once by the mouse, which gives it the focus.
    QVERIFY(xdotool(clickOn(window, QStringLiteral("Option1(1)"))));
    QVERIFY(xdotool(clickOn(window, QStringLiteral("Cmd3_Start"))));
    if (button == QLatin1String("Command1")) QVERIFY(xdotool(clickOn(window, button)));
    QVERIFY(x.ping(window, kWaitMs));
    {
        const BusyMachine busy;
        QVERIFY(xdotool({"keydown", key, "sleep", "2", "keyup", key}));
    }
    // A held symbol key goes on typing: the proof that this server repeats held keys.
    QVERIFY(xdotool({"keydown", "x", "sleep", "1.5", "keyup", "x"}));
    QVERIFY(xdotool(clickOn(window, QStringLiteral("Command1"))));
    QVERIFY(x.ping(window, kWaitMs)); // every key before it handled, every answer written

    const JournalListing journal = readJournal(folder);
    const bool onStart = button == QLatin1String("Cmd3_Start");
    QCOMPARE(int(journal.runs.size()), onStart ? 2 : 1);
    const RunRecord& run = journal.runs.front().run; // the newest
    QCOMPARE(int(run.answers.size()), onStart ? 1 : 3);
    const std::string& typed = run.answers.back().key;
    QVERIFY2(std::count(typed.begin(), typed.end(), 'x') >= 5, typed.c_str());
}

QTEST_MAIN(HeldKey)
#include "held_key_test.moc"

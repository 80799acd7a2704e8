// End to end: the journal survives kill -9. The real program is started again and again on a
// virtual X screen with a journal folder of its own; xdotool chooses a mode, presses Старт and
// types answers, right and wrong, and checks each, without waiting for the window; at a random
// moment the program is killed with SIGKILL. After every kill each file in the folder must be
// whole and read back, and the run's file must hold every answer the journal said it had
// written: with the logging rules that an administrator would use
// (QT_LOGGING_RULES=zakony.journal.info=true) the program says on stderr "прохождение R
// записано: ответов N, FILE" once the file is on the disk, before the answer is shown.
//   e2e_journal_kill PROGRAM
// JOURNAL_KILL_SEED replays the choices of a run (the moments of the kills depend on the machine
// too); JOURNAL_KILLS sets how many kills (60 by default, 50 at least).
#include "journal/journal_csv.h"
#include "journal/journal_file.h"
#include "journal/journal_cache.h"
#include "journal/journal_writer.h"
#include "support/law_keys.h"
#include "support/xdotool_keys.h"
#include "window_targets.h"
#include "x_display.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <map>
#include <random>
#include <sys/stat.h>

namespace {

constexpr int kDefaultKills = 60;
// Fewer kills replay a failure; a full run makes at least the number promised.
static_assert(kDefaultKills >= 50);
// Generous: the program may be built with sanitizers and the machine busy.
constexpr int kWaitMs = 60000;
// The longest random wait before a kill, from the moment the keys start; a plain release build
// answers a dozen laws in that time.
constexpr int kLongestDelayMs = 1500;
constexpr int kAroundStartMs = 150;
// From starting xdotool on a press of Старт, how long at most before the kill: long enough for
// the press to be handled, short enough for it often not to be, or to be half done.
constexpr int kInStartMs = 30;

QString text(std::string_view word) {
    return QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()));
}

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

using xdotool_keys::answerKeys;
using xdotool_keys::keysOf;

// What was done to one program before its kill.
enum class Kind { answering, restarting, inStart };

struct Round {
    Kind kind = Kind::answering;
    Mode mode = Mode::test;
    std::vector<std::vector<bool>> runs; // for each run started, the verdicts of its answers
    int delayMs = 0;
};

struct Figures {
    int kills = 0, inStart = 0, logged = 0, onDisk = 0, lost = 0, right = 0, wrong = 0;
    int runFiles = 0, longestRun = 0;
    // Kills before the first run had a file; kills around a second Старт: before it wrote,
    // between ending the old run and beginning the new one, after both.
    int noFile = 0, startBefore = 0, startBetween = 0, startAfter = 0;
    qint64 slowestStartMs = 0;
};

// The journal's log per run: the most answers written. Other lines of stderr are passed on.
std::map<int, int> writtenPerRun(const QByteArray& output) {
    static const QRegularExpression writeLine(
        QStringLiteral("^zakony\\.journal: прохождение (\\d+) записано: ответов (\\d+), "));
    std::map<int, int> written;
    for (const QString& line : QString::fromUtf8(output).split('\n', Qt::SkipEmptyParts)) {
        const auto m = writeLine.match(line);
        if (!m.hasMatch()) {
            std::fprintf(stderr, "%s\n", qPrintable(line));
            continue;
        }
        int& n = written[m.captured(1).toInt()];
        n = std::max(n, m.captured(2).toInt());
    }
    return written;
}

class KillTest {
  public:
    KillTest(QString program, std::uint32_t seed, int kills)
        : program(std::move(program)), seed(seed), kills(kills), random(seed),
          targets(WindowTargets::fromControlTable()) {}
    bool run();

  private:
    Round plan();
    bool oneRound(int number, const Round& round);
    bool startProgram(QProcess& trainer, XDisplay::Window& window, QPoint& origin);
    QStringList clickOn(const QString& control, QPoint origin) const;
    QStringList answering(const Round& round, std::size_t runIndex, QPoint origin) const;
    bool xdotool(QProcess& driver, const QStringList& args);
    void releaseEverything();
    bool waitForAnswersOnDisk(qint64 pid, int runs, int answers);
    std::vector<std::pair<QString, JournalRun>> filesOf(qint64 pid, QString& problem) const;
    bool checkFolder(int number, const Round& round, qint64 pid, const QByteArray& log);
    bool exportWholeFolder();
    bool endedBySignal(int signalNumber, const char* name);
    bool fail(int number, const QString& why);

    QString program;
    std::uint32_t seed;
    int kills;
    std::mt19937 random;
    WindowTargets targets;
    XDisplay x;
    QTemporaryDir home;
    QString folder;
    QProcessEnvironment environment;
    Figures figures;
    int asideFiles = 0;
};

int below(std::mt19937& random, int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(random);
}

Round KillTest::plan() {
    Round r;
    const int kind = below(random, 20);
    r.kind = kind < 3 ? Kind::inStart : kind < 6 ? Kind::restarting : Kind::answering;
    r.mode = below(random, 2) ? Mode::test : Mode::trainer;
    auto verdicts = [&](int n) {
        std::vector<bool> v;
        for (int i = 0; i < n; ++i)
            v.push_back(below(random, 5) < 3);
        return v;
    };
    switch (r.kind) {
    case Kind::answering:
        r.runs = {verdicts(kLawCount)};
        // A fifth of them around the first Старт.
        r.delayMs = below(random, 5) == 0 ? below(random, kAroundStartMs)
                                          : kAroundStartMs + below(random, kLongestDelayMs);
        break;
    case Kind::restarting:
        r.runs = {verdicts(1 + below(random, 4)), verdicts(kLawCount)};
        r.delayMs = below(random, kLongestDelayMs);
        break;
    case Kind::inStart:
        r.runs = {verdicts(below(random, 4)), {}};
        r.delayMs = below(random, kInStartMs + 1);
        break;
    }
    return r;
}

bool KillTest::run() {
    if (!x.isOpen()) return fail(0, QStringLiteral("cannot open the X display"));
    if (!home.isValid()) return fail(0, QStringLiteral("no temporary folder"));
    folder = home.filePath(QStringLiteral("journal"));
    // A folder named by --journal is the teacher's to make: the program never makes one.
    if (!QDir().mkpath(folder)) return fail(0, QStringLiteral("cannot make the journal folder"));
    // Settings, data and runtime folders of its own: nothing of the user's is read or written.
    environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
        const QString path = home.filePath(QString::fromLatin1(name).toLower());
        if (!QDir().mkpath(path) ||
            !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return fail(0, QStringLiteral("cannot make %1").arg(path));
        environment.insert(QLatin1String(name), path);
    }
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("zakony.journal.info=true"));
    environment.insert(QStringLiteral("QT_MESSAGE_PATTERN"),
                       QStringLiteral("%{category}: %{message}"));
    environment.remove(QStringLiteral("QT_SCALE_FACTOR"));
    say(QStringLiteral("journal kill: seed %1 (JOURNAL_KILL_SEED), %2 kills (JOURNAL_KILLS), "
                       "journal in %3")
            .arg(seed)
            .arg(kills)
            .arg(folder));
    QElapsedTimer clock;
    clock.start();
    for (int n = 1; n <= kills; ++n)
        if (!oneRound(n, plan())) return false;
    // A shutdown, Ctrl+C in a terminal, a terminal closed: the window closes and says so.
    if (!endedBySignal(SIGTERM, "SIGTERM") || !endedBySignal(SIGINT, "SIGINT") ||
        !endedBySignal(SIGHUP, "SIGHUP"))
        return false;
    if (!exportWholeFolder()) return false;
    const auto hidden = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    const auto leftAside =
        std::count_if(hidden.begin(), hidden.end(), [](const QString& n) { return n[0] == '.'; });
    say(QStringLiteral("journal kill: %1 kills in %2 s, %3 of them around a press of Старт: "
                       "%4 before the first run's file, and at a second Старт %5 before it "
                       "wrote, %6 between the two runs' files, %7 after both")
            .arg(figures.kills)
            .arg(clock.elapsed() / 1000.0, 0, 'f', 1)
            .arg(figures.inStart)
            .arg(figures.noFile)
            .arg(figures.startBefore)
            .arg(figures.startBetween)
            .arg(figures.startAfter));
    say(QStringLiteral(
            "journal kill: answers logged as written %1, on disk %2, lost %3 (%4 right, %5 wrong "
            "on disk); %6 run files, the longest run %7 answers; %8 aside files left; "
            "slowest start to a window %9 ms")
            .arg(figures.logged)
            .arg(figures.onDisk)
            .arg(figures.lost)
            .arg(figures.right)
            .arg(figures.wrong)
            .arg(figures.runFiles)
            .arg(figures.longestRun)
            .arg(leftAside)
            .arg(figures.slowestStartMs));
    // A run that typed nothing, or only right or only wrong answers, tested little.
    if (figures.logged < kills || figures.right == 0 || figures.wrong == 0)
        return fail(0, QStringLiteral("too few answers reached the screen: the driving is off"));
    if (figures.lost > 0) return fail(0, QStringLiteral("answers logged as written were lost"));
    return true;
}

QStringList KillTest::clickOn(const QString& control, QPoint origin) const {
    const QPoint at = origin + targets.rectOf(control).center();
    return {"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"};
}

// The answers planned for one run of the round, each checked; the test clears the row first,
// where the last answer stays.
QStringList KillTest::answering(const Round& round, std::size_t runIndex, QPoint origin) const {
    QStringList args;
    const auto& verdicts = round.runs[runIndex];
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        if (round.mode == Mode::test) args += clickOn(QStringLiteral("Command2"), origin);
        args += QStringList{"key", "--delay", "3"} +
                answerKeys(round.mode, static_cast<int>(i) + 1, verdicts[i]);
        args += clickOn(QStringLiteral("Command1"), origin);
    }
    return args;
}

bool KillTest::xdotool(QProcess& driver, const QStringList& args) {
    driver.setProcessChannelMode(QProcess::ForwardedChannels);
    driver.start(QStringLiteral("xdotool"), args);
    return driver.waitForStarted(kWaitMs);
}

// A kill of xdotool may leave a key or the button down: the server would then take the next
// press of that key for none, and the next program would lose a symbol.
void KillTest::releaseEverything() {
    QStringList args{"keyup", "Shift_L", "Shift_R"};
    for (std::string_view tag : law_keys::kTags)
        args += keysOf(tag);
    args.removeDuplicates();
    QProcess::execute(QStringLiteral("xdotool"), args + QStringList{"mouseup", "1"});
}

bool KillTest::startProgram(QProcess& trainer, XDisplay::Window& window, QPoint& origin) {
    trainer.setProcessEnvironment(environment);
    trainer.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    QElapsedTimer waited;
    waited.start();
    trainer.start(program, {QStringLiteral("--journal"), folder});
    if (!trainer.waitForStarted(kWaitMs)) return false;
    while (!window) {
        if (trainer.state() != QProcess::Running || waited.hasExpired(kWaitMs)) return false;
        for (XDisplay::Window w : x.windowsOf(trainer.processId()))
            if (x.title(w) == QLatin1String("Form1")) window = w;
        if (!window) QThread::msleep(5);
    }
    const auto area = x.geometry(window);
    if (!area || area->size() != targets.window.size()) return false;
    origin = area->topLeft();
    // Its event loop runs: what is sent from here on is handled.
    if (!x.ping(window, kWaitMs)) return false;
    x.focus(window);
    figures.slowestStartMs = std::max(figures.slowestStartMs, waited.elapsed());
    return true;
}

bool KillTest::oneRound(int number, const Round& round) {
    QProcess trainer;
    XDisplay::Window window = 0;
    QPoint origin;
    if (!startProgram(trainer, window, origin))
        return fail(number, QStringLiteral("the program did not show its window and answer"));
    const qint64 pid = trainer.processId();
    const QString option =
        round.mode == Mode::test ? QStringLiteral("Option1(1)") : QStringLiteral("Option1(0)");
    const QStringList startRun =
        clickOn(option, origin) + clickOn(QStringLiteral("Cmd3_Start"), origin);
    QProcess driver;
    bool sent = false;
    switch (round.kind) {
    case Kind::answering:
        sent = xdotool(driver, startRun + answering(round, 0, origin));
        break;
    case Kind::restarting:
        sent = xdotool(driver, startRun + answering(round, 0, origin) +
                                   clickOn(QStringLiteral("Cmd3_Start"), origin) +
                                   answering(round, 1, origin));
        break;
    case Kind::inStart: {
        // A run with a few answers, all on the disk; then Старт again, and the kill.
        const int first = static_cast<int>(round.runs[0].size());
        if (!xdotool(driver, startRun + answering(round, 0, origin)) ||
            !driver.waitForFinished(kWaitMs) || !waitForAnswersOnDisk(pid, 1, first))
            return fail(
                number,
                QStringLiteral("the first run's %1 answers never reached the disk").arg(first));
        sent = xdotool(driver, clickOn(QStringLiteral("Cmd3_Start"), origin));
        ++figures.inStart;
        break;
    }
    }
    if (!sent) return fail(number, QStringLiteral("xdotool did not run"));
    if (round.kind == Kind::answering && round.delayMs < kAroundStartMs) ++figures.inStart;
    QThread::msleep(static_cast<unsigned long>(round.delayMs));
    if (trainer.state() != QProcess::Running)
        return fail(number, QStringLiteral("the program ended before the kill"));
    trainer.kill();
    ++figures.kills;
    if (!trainer.waitForFinished(kWaitMs))
        return fail(number, QStringLiteral("the killed program did not end"));
    if (driver.state() != QProcess::NotRunning) {
        driver.kill();
        driver.waitForFinished(kWaitMs);
    }
    releaseEverything();
    return checkFolder(number, round, pid, trainer.readAllStandardError());
}

// Three answers on the disk, then the signal: the program ends by itself, with exit code 0, and
// the run's file says it ended with the window's closing, at a time, with its three answers.
bool KillTest::endedBySignal(int signalNumber, const char* name) {
    const QString what = QString::fromLatin1(name);
    QProcess trainer;
    XDisplay::Window window = 0;
    QPoint origin;
    if (!startProgram(trainer, window, origin))
        return fail(0, what + QStringLiteral(": the program did not show its window"));
    const qint64 pid = trainer.processId();
    Round round;
    round.runs = {{true, false, true}};
    QProcess driver;
    if (!xdotool(driver, clickOn(QStringLiteral("Option1(1)"), origin) +
                             clickOn(QStringLiteral("Cmd3_Start"), origin) +
                             answering(round, 0, origin)) ||
        !driver.waitForFinished(kWaitMs) || !waitForAnswersOnDisk(pid, 1, 3))
        return fail(0, what + QStringLiteral(": the three answers never reached the disk"));
    ::kill(static_cast<pid_t>(pid), signalNumber);
    if (!trainer.waitForFinished(kWaitMs) || trainer.exitStatus() != QProcess::NormalExit ||
        trainer.exitCode() != 0)
        return fail(0, what + QStringLiteral(": the program did not end by itself with 0"));
    QString problem;
    const auto files = filesOf(pid, problem);
    if (!problem.isEmpty()) return fail(0, what + QStringLiteral(": ") + problem);
    if (files.size() != 1) return fail(0, what + QStringLiteral(": not one run file"));
    const RunRecord& run = files.front().second.run;
    if (run.ending != RunEnding::closed || run.endedMs == 0 || run.answers.size() != 3 ||
        run.rightCount() != 2)
        return fail(0, what + QStringLiteral(": the run ended %1 with %2 answers")
                                  .arg(text(endingWord(run.ending)))
                                  .arg(run.answers.size()));
    ++figures.runFiles;
    say(QStringLiteral("journal kill: %1 closed the window; its run recorded as closed").arg(what));
    return true;
}

// The runs of process `pid`, oldest first, each with its file's name; every file of the folder
// read on the way (a hidden one is an aside file, which may be half written).
std::vector<std::pair<QString, JournalRun>> KillTest::filesOf(qint64 pid, QString& problem) const {
    std::vector<std::pair<QString, JournalRun>> runs;
    const QDir dir(folder);
    const QString mark = QStringLiteral("_%1_").arg(pid);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            problem = name + QStringLiteral(": cannot be read");
            return {};
        }
        const JournalReading reading = parseJournal(file.readAll());
        if (!reading.run) {
            problem = name + QStringLiteral(": ") + reading.problem;
            return {};
        }
        struct stat st {};
        if (::stat(QFile::encodeName(file.fileName()).constData(), &st) != 0 ||
            (st.st_mode & 0777) != 0640) {
            problem = name + QStringLiteral(": not readable by the folder's group alone (mode %1)")
                                 .arg(st.st_mode & 0777, 0, 8);
            return {};
        }
        if (name.contains(mark)) runs.emplace_back(name, *reading.run);
    }
    std::sort(runs.begin(), runs.end(), [](const auto& a, const auto& b) {
        return a.second.run.startedMs < b.second.run.startedMs;
    });
    return runs;
}

bool KillTest::waitForAnswersOnDisk(qint64 pid, int runs, int answers) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QString problem;
        const auto files = filesOf(pid, problem);
        if (int(files.size()) == runs && int(files.back().second.run.answers.size()) == answers)
            return true;
        if (!problem.isEmpty() || waited.hasExpired(kWaitMs)) return false;
        QThread::msleep(5);
    }
}

bool KillTest::checkFolder(int number, const Round& round, qint64 pid, const QByteArray& log) {
    QString problem;
    const auto files = filesOf(pid, problem);
    if (!problem.isEmpty()) return fail(number, problem);
    const auto logged = writtenPerRun(log);
    const JournalListing listing = readJournal(folder);
    // The folder is made by the first write; a kill before it leaves none.
    const bool made = QDir(folder).exists();
    if ((made && !listing.problem.isEmpty()) || !listing.skipped.empty())
        return fail(number, QStringLiteral("the journal view would skip %1 files: %2")
                                .arg(listing.skipped.size())
                                .arg(listing.skipped.empty() ? listing.problem
                                                             : listing.skipped.front().why));
    if (files.size() > round.runs.size())
        return fail(number, QStringLiteral("%1 files for %2 presses of Старт")
                                .arg(files.size())
                                .arg(round.runs.size()));
    for (const auto& [r, n] : logged)
        if (r < 1 || r > int(files.size()))
            return fail(number,
                        QStringLiteral("run %1 logged %2 answers and has no file").arg(r).arg(n));
    int roundLogged = 0, roundOnDisk = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto& [name, entry] = files[i];
        const RunRecord& run = entry.run;
        const auto& planned = round.runs[i];
        const int onDisk = static_cast<int>(run.answers.size());
        const int seen = logged.contains(int(i) + 1) ? logged.at(int(i) + 1) : 0;
        const bool newest = i + 1 == files.size();
        if (run.mode != round.mode) return fail(number, name + QStringLiteral(": the wrong mode"));
        if (onDisk > int(planned.size()))
            return fail(number, name + QStringLiteral(": more answers than were typed"));
        for (int a = 0; a < onDisk; ++a) {
            const Answer& answer = run.answers[std::size_t(a)];
            if (answer.law != a + 1 || answer.right != planned[std::size_t(a)])
                return fail(
                    number,
                    QStringLiteral("%1: answer %2 is law %3, %4 (%5); typed was "
                                   "law %2, %6 (%7)")
                        .arg(name)
                        .arg(a + 1)
                        .arg(answer.law)
                        .arg(answer.right ? "right" : "wrong")
                        .arg(text(answer.key))
                        .arg(planned[std::size_t(a)] ? "right" : "wrong")
                        .arg(answerKeys(round.mode, a + 1, planned[std::size_t(a)]).join(' ')));
            (answer.right ? figures.right : figures.wrong) += 1;
        }
        // What the journal said it wrote is on the disk, whatever the moment of the kill (the
        // answer being written when it came may be lost: it was never shown).
        if (onDisk < seen)
            return fail(number, QStringLiteral("%1: %2 answers logged as written, %3 on the disk")
                                    .arg(name)
                                    .arg(seen)
                                    .arg(onDisk));
        figures.lost += std::max(0, seen - onDisk);
        // Nor does the log fall behind by more than the answer being written.
        if (newest && onDisk > seen + 1)
            return fail(number, QStringLiteral("%1: %2 answers on the disk, only %3 logged")
                                    .arg(name)
                                    .arg(onDisk)
                                    .arg(seen));
        // How it ended: an earlier run by the next Старт; the last one never closed, so it is
        // read back as going (another reader cannot tell it from one still asked); or finished,
        // or ended by a Старт whose next run has no file yet.
        const auto listed = std::find_if(listing.runs.begin(), listing.runs.end(),
                                         [&](const JournalRun& e) { return e.fileName == name; });
        if (listed == listing.runs.end())
            return fail(number, name + QStringLiteral(": not in the journal's list"));
        const RunEnding ending = listed->run.ending;
        const bool restartedAfter = i + 1 < round.runs.size();
        const bool fine = !newest ? run.ending == RunEnding::restarted
                          : onDisk == kLawCount
                              ? run.ending == RunEnding::finished
                              : (run.ending == RunEnding::going && ending == RunEnding::going) ||
                                    (restartedAfter && run.ending == RunEnding::restarted);
        if (!fine)
            return fail(number,
                        QStringLiteral("%1: ending \"%2\", read as \"%3\"")
                            .arg(name, text(endingWord(run.ending)), text(endingWord(ending))));
        roundLogged += seen;
        roundOnDisk += onDisk;
        figures.longestRun = std::max(figures.longestRun, onDisk);
    }
    figures.logged += roundLogged;
    figures.onDisk += roundOnDisk;
    figures.runFiles += static_cast<int>(files.size());
    figures.noFile += files.empty() ? 1 : 0;
    if (round.kind == Kind::inStart && files.size() == 2) ++figures.startAfter;
    if (round.kind == Kind::inStart && files.size() == 1)
        ++(files[0].second.run.ending == RunEnding::going ? figures.startBefore
                                                          : figures.startBetween);
    const auto all = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    const int aside = static_cast<int>(
        std::count_if(all.begin(), all.end(), [](const QString& n) { return n[0] == '.'; }));
    static const QString kinds[] = {QStringLiteral("answering"), QStringLiteral("restarting"),
                                    QStringLiteral("in Старт")};
    say(QStringLiteral("kill %1: %2, %3, after %4 ms: %5 files, answers logged %6, on disk %7%8")
            .arg(number)
            .arg(kinds[int(round.kind)])
            .arg(text(modeWord(round.mode)))
            .arg(round.delayMs)
            .arg(files.size())
            .arg(roundLogged)
            .arg(roundOnDisk)
            .arg(aside > asideFiles ? QStringLiteral(", an aside file left") : QString()));
    asideFiles = aside;
    return true;
}

// The folder as a teacher exports it: every run, nothing skipped.
bool KillTest::exportWholeFolder() {
    if (figures.runFiles == 0 && !QDir(folder).exists()) return true; // every kill came first
    QProcess exporter;
    exporter.setProcessEnvironment(environment);
    const QString csv = home.filePath(QStringLiteral("runs.csv"));
    exporter.start(program,
                   {QStringLiteral("--export-journal"), csv, QStringLiteral("--journal"), folder});
    if (!exporter.waitForFinished(kWaitMs) || exporter.exitStatus() != QProcess::NormalExit ||
        exporter.exitCode() != 0)
        return fail(0, QStringLiteral("--export-journal failed: ") +
                           QString::fromLocal8Bit(exporter.readAllStandardError()));
    const QString errors = QString::fromLocal8Bit(exporter.readAllStandardError());
    if (errors.contains(QStringLiteral("пропущен")))
        return fail(0, QStringLiteral("--export-journal skipped files: ") + errors);
    QFile file(csv);
    if (!file.open(QIODevice::ReadOnly)) return fail(0, csv + QStringLiteral(" not written"));
    const int rows = static_cast<int>(file.readAll().count("\r\n")) - 1;
    if (rows != figures.runFiles)
        return fail(0, QStringLiteral("--export-journal gave %1 runs, the folder has %2")
                           .arg(rows)
                           .arg(figures.runFiles));
    return true;
}

bool KillTest::fail(int number, const QString& why) {
    say(QStringLiteral("JOURNAL KILL FAILED%1: %2")
            .arg(number ? QStringLiteral(" at kill %1").arg(number) : QString(), why));
    say(QStringLiteral("  replay: JOURNAL_KILL_SEED=%1 JOURNAL_KILLS=%2")
            .arg(seed)
            .arg(number ? number : kills));
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM\n", argv[0]);
        return 2;
    }
    bool ok = true;
    const QString seedText = qEnvironmentVariable("JOURNAL_KILL_SEED");
    const std::uint32_t seed =
        seedText.isEmpty() ? std::random_device{}() : seedText.toUInt(&ok, 0);
    const QString killsText = qEnvironmentVariable("JOURNAL_KILLS");
    const int kills = killsText.isEmpty() ? kDefaultKills : killsText.toInt(&ok);
    if (!ok || kills < 1) {
        std::fprintf(stderr, "JOURNAL_KILL_SEED and JOURNAL_KILLS take numbers\n");
        return 2;
    }
    KillTest test(QString::fromLocal8Bit(argv[1]), seed, kills);
    return test.run() ? 0 : 1;
}

#include "monkey_session.h"

#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <cstdio>

namespace {

// Generous: the program may be built with sanitizers and the machine busy.
constexpr int kStartMs = 90000;
constexpr int kAnswerMs = 20000;
constexpr int kLandingMs = 50;
constexpr int kChunk = 12;
constexpr std::size_t kRecent = 20;

const QRgb kBandBlue = qRgb(192, 192, 255); // the light-blue band under the empty slots
// The opaque white field of a symbol picture, inside its 32 × 32.
const QRect kField(8, 3, 15, 25);

} // namespace

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

MonkeySession::MonkeySession(MonkeySettings s)
    : settings(std::move(s)), targets(WindowTargets::fromControlTable()) {}

MonkeySession::~MonkeySession() {
    if (program.state() == QProcess::NotRunning) return;
    program.kill();
    program.waitForFinished(10000);
}

bool MonkeySession::run() {
    clock.start();
    if (!x.isOpen()) return fail(QStringLiteral("cannot open the X display"));
    if (!pointer.start()) return fail(QStringLiteral("xdotool did not start: ") + pointer.error());
    if (!startProgram() || !findWindow()) return false;
    const bool ok = monkeyAround() && finalCheck();
    const double seconds = clock.elapsed() / 1000.0;
    say(QStringLiteral("monkey: %1 actions in %2 s (%3 a second); %4 drags (%5%), %6 of them "
                       "palette → slot, %7 of those left the slot showing the symbol; %8 pings, "
                       "slowest answer %9 ms")
            .arg(done)
            .arg(seconds, 0, 'f', 1)
            .arg(done / seconds, 0, 'f', 1)
            .arg(drags)
            .arg(done ? 100 * drags / done : 0)
            .arg(drops)
            .arg(landed)
            .arg(pings)
            .arg(slowestPingMs));
    return ok;
}

bool MonkeySession::startProgram() {
    // Its own output, sanitizer reports included, goes with ours.
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    // Built with sanitizers, the program must still quit cleanly; system libraries excepted.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString leakOptions = environment.value(QStringLiteral("LSAN_OPTIONS"));
    if (!leakOptions.contains(QLatin1String("suppressions="))) {
        if (!leakOptions.isEmpty()) leakOptions += QLatin1Char(':');
        environment.insert(QStringLiteral("LSAN_OPTIONS"),
                           leakOptions + QStringLiteral("suppressions=" MONKEY_LEAK_SUPPRESSIONS));
    }
    // The journal stays on, in a data folder of its own, so that the monkey's runs are written
    // as a pupil's are, and never into the user's journal.
    if (!dataHome.isValid()) return fail(QStringLiteral("no temporary data folder"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.path());
    program.setProcessEnvironment(environment);
    program.start(settings.program, {});
    if (!program.waitForStarted(kStartMs))
        return fail(
            QStringLiteral("%1 did not start: %2").arg(settings.program, program.errorString()));
    say(QStringLiteral("monkey: started %1, pid %2")
            .arg(settings.program)
            .arg(program.processId()));
    return true;
}

// No window manager: the program places its window itself; it is the one titled Form1.
bool MonkeySession::findWindow() {
    QElapsedTimer waited;
    waited.start();
    while (!window) {
        if (!programAlive())
            return fail(QStringLiteral("the program ended before showing its window"));
        if (waited.hasExpired(kStartMs)) return fail(QStringLiteral("no window titled Form1"));
        for (XDisplay::Window w : x.windowsOf(program.processId()))
            if (x.title(w) == QLatin1String("Form1")) window = w;
        if (!window) QThread::msleep(50);
    }
    const auto area = x.geometry(window);
    if (!area || area->size() != targets.window.size())
        return fail(QStringLiteral("the window is not %1 × %2")
                        .arg(targets.window.width())
                        .arg(targets.window.height()));
    origin = area->topLeft();
    // Painted: the band shows under the first slot, and the start prompt is cyan.
    const QPoint band = targets.rectOf(QStringLiteral("Image16")).topLeft() + QPoint(6, 16);
    auto painted = [&] {
        const QImage shot = x.grab(targets.window.translated(origin));
        return !shot.isNull() && shot.pixel(band) == kBandBlue && cyanCorners() == 2;
    };
    while (!painted()) {
        if (!programAlive()) return fail(QStringLiteral("the program ended before painting"));
        if (waited.hasExpired(kStartMs))
            return fail(QStringLiteral("the window was never painted"));
        QThread::msleep(50);
    }
    for (const Target& symbol : targets.palette)
        paletteFields[symbol.name] = x.grab(kField.translated(origin + symbol.rect.topLeft()));
    say(QStringLiteral("monkey: window 0x%1 at %2,%3, painted after %4 ms")
            .arg(window, 0, 16)
            .arg(origin.x())
            .arg(origin.y())
            .arg(waited.elapsed()));
    return true;
}

bool MonkeySession::monkeyAround() {
    Monkey monkey(settings.seed, targets, origin, x.screen());
    QElapsedTimer budget;
    budget.start();
    while (done < settings.actions && !budget.hasExpired(qint64(settings.seconds) * 1000)) {
        std::vector<Action> chunk;
        // A drop onto a slot ends a chunk, so that its landing can be looked at.
        while (int(chunk.size()) < kChunk && done + int(chunk.size()) < settings.actions) {
            chunk.push_back(monkey.next());
            if (!chunk.back().paletteImage.isEmpty()) break;
        }
        if (!runChunk(chunk)) return false;
    }
    if (done < settings.actions)
        say(QStringLiteral("monkey: the time budget of %1 s ended the run after %2 actions")
                .arg(settings.seconds)
                .arg(done));
    // Some drops are lost to an open box or a drag still running; none at all means the
    // monkey's aim is off and the run tested little.
    if (drops >= 20 && landed == 0)
        return fail(QStringLiteral("none of %1 drops onto a slot showed on the screen").arg(drops));
    return true;
}

bool MonkeySession::runChunk(const std::vector<Action>& chunk) {
    QString script;
    for (const Action& action : chunk) {
        record(action);
        script += action.script;
        drags += action.drag ? 1 : 0;
        drops += action.paletteImage.isEmpty() ? 0 : 1;
    }
    pointer.send(script);
    if (!pointer.sync(kAnswerMs))
        return fail(
            QStringLiteral("xdotool did not carry out the last %1 actions").arg(chunk.size()));
    QElapsedTimer answer;
    answer.start();
    if (!answers(kAnswerMs)) return false;
    ++pings;
    slowestPingMs = std::max(slowestPingMs, answer.elapsed());
    keepKeyboardOnTop();
    if (!chunk.back().paletteImage.isEmpty()) {
        const bool shows = lookAtLanding(chunk.back());
        landed += shows ? 1 : 0;
        if (settings.verbose)
            say(shows ? QStringLiteral("  landed") : QStringLiteral("  not seen"));
    }
    return true;
}

// The program answers a ping from its event loop, nested loops of drags and boxes included.
bool MonkeySession::answers(int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (!programAlive()) return fail(QStringLiteral("the program ended"));
        if (x.ping(window, 250)) return true;
        if (waited.hasExpired(timeoutMs)) {
            printStacks();
            return fail(
                QStringLiteral("the program gave no answer for %1 s").arg(timeoutMs / 1000));
        }
    }
}

// Stands in for the missing window manager, which keeps the keyboard with the program's
// topmost window (the rules box while it is open), whatever was clicked meanwhile.
void MonkeySession::keepKeyboardOnTop() {
    const std::vector<XDisplay::Window> shown = x.windowsOf(program.processId());
    if (!shown.empty() && shown.back() != window) x.focus(shown.back());
}

bool MonkeySession::lookAtLanding(const Action& drop) {
    const QRect field = kField.translated(origin + targets.rectOf(drop.slotImage).topLeft());
    const QImage& symbol = paletteFields[drop.paletteImage];
    // Once the program has answered twice, the drop has been handled and most often painted.
    if (!x.ping(window, kAnswerMs)) return false;
    QElapsedTimer waited;
    waited.start();
    do {
        if (x.grab(field) == symbol) return true;
        QThread::msleep(10);
    } while (!waited.hasExpired(kLandingMs));
    return false;
}

bool MonkeySession::programAlive() {
    program.waitForFinished(0);
    return program.state() == QProcess::Running;
}

void MonkeySession::record(const Action& action) {
    recent.push_back(QStringLiteral("#%1 %2").arg(++done).arg(action.text));
    if (settings.verbose) say(recent.back());
    if (recent.size() > kRecent) recent.pop_front();
}

bool MonkeySession::fail(const QString& why) {
    say(QStringLiteral("MONKEY FAILED: %1").arg(why));
    if (program.state() == QProcess::NotRunning && program.exitStatus() == QProcess::CrashExit)
        say(QStringLiteral("  the program crashed (%1)").arg(program.errorString()));
    else if (program.state() == QProcess::NotRunning)
        say(QStringLiteral("  the program exited with code %1").arg(program.exitCode()));
    say(QStringLiteral("  seed %1, %2 actions sent; the last ones:").arg(settings.seed).arg(done));
    for (const QString& line : recent)
        say(QStringLiteral("    ") + line);
    say(QStringLiteral("  replay: MONKEY_SEED=%1 MONKEY_ACTIONS=%2").arg(settings.seed).arg(done));
    if (x.isOpen()) saveScreen(QStringLiteral("monkey_failed.png"));
    return false;
}

void MonkeySession::saveScreen(const QString& fileName) {
    const QString path = settings.screenshots.filePath(fileName);
    if (x.grab(x.screen()).save(path)) say(QStringLiteral("monkey: screenshot %1").arg(path));
}

// Where a hung program is stuck.
void MonkeySession::printStacks() {
    const QString gdb = QStandardPaths::findExecutable(QStringLiteral("gdb"));
    if (gdb.isEmpty() || program.state() != QProcess::Running) return;
    QProcess attach;
    attach.setProcessChannelMode(QProcess::ForwardedChannels);
    attach.start(gdb, {QStringLiteral("-batch"), QStringLiteral("-p"),
                       QString::number(program.processId()), QStringLiteral("-ex"),
                       QStringLiteral("thread apply all bt")});
    attach.waitForFinished(60000);
}

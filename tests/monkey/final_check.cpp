// After the monkey: the program is still running, its window is there and answers, no box is
// left that cannot be closed, and the window still does what a click asks; once it has quit, its
// journal reads back whole.
#include "monkey_session.h"

#include <QFile>
#include <QThread>

namespace {

constexpr int kWaitMs = 20000;
const QRgb kPromptCyan = qRgb(0, 255, 255); // the start prompt, Label6

} // namespace

bool MonkeySession::finalCheck() {
    if (!programAlive()) return fail(QStringLiteral("the program ended"));
    if (!x.isViewable(window)) return fail(QStringLiteral("the window is gone"));
    if (!answers(kWaitMs)) return false;
    saveScreen(QStringLiteral("monkey_left.png"));
    if (!closeExtraWindows()) return false;
    // Selecting a mode shows the cyan start prompt whatever came before: one of the two clicks
    // changes the selection. Start hides it; selecting the other mode shows it again.
    click(QStringLiteral("Option1(1)"));
    if (!clickAndWait(QStringLiteral("Option1(0)"), true)) return false;
    if (!clickAndWait(QStringLiteral("Cmd3_Start"), false)) return false;
    if (!clickAndWait(QStringLiteral("Option1(1)"), true)) return false;
    if (!clickAndWait(QStringLiteral("Cmd3_Start"), false)) return false;
    saveScreen(QStringLiteral("monkey_end.png"));
    return closeProgram() && journalReadsBack();
}

// The rules box, a context menu: Escape closes them, Return the box too.
bool MonkeySession::closeExtraWindows() {
    for (int round = 0; round < 6; ++round) {
        std::vector<XDisplay::Window> extra = x.windowsOf(program.processId());
        std::erase(extra, window);
        if (extra.empty()) return true;
        const XDisplay::Window top = extra.back();
        const QString key = round % 2 ? QStringLiteral("Return") : QStringLiteral("Escape");
        say(QStringLiteral("monkey: %1 on the window \"%2\" left open")
                .arg(key, x.title(top).value_or(QString())));
        x.focus(top);
        pointer.send(QStringLiteral("key %1\n").arg(key));
        if (!pointer.sync(kWaitMs)) return fail(QStringLiteral("xdotool did not type %1").arg(key));
        QElapsedTimer waited;
        waited.start();
        while (x.isViewable(top) && !waited.hasExpired(kWaitMs / 4))
            QThread::msleep(20);
    }
    return fail(QStringLiteral("a window of the program cannot be closed"));
}

QPoint MonkeySession::centreOf(const QString& control) const {
    return origin + targets.rectOf(control).center();
}

void MonkeySession::click(const QString& control) {
    const QPoint at = centreOf(control);
    recent.push_back(QStringLiteral("final check: click %1").arg(control));
    pointer.send(QStringLiteral("mousemove %1 %2\nclick 1\n").arg(at.x()).arg(at.y()));
}

bool MonkeySession::clickAndWait(const QString& control, bool cyanWanted) {
    click(control);
    if (!pointer.sync(kWaitMs)) return fail(QStringLiteral("xdotool did not click"));
    QElapsedTimer waited;
    waited.start();
    while (cyanCorners() != (cyanWanted ? 2 : 0)) {
        if (!programAlive()) return fail(QStringLiteral("the program ended"));
        if (waited.hasExpired(kWaitMs))
            return fail(QStringLiteral("after a click on %1 the start prompt is %2")
                            .arg(control, cyanWanted ? QStringLiteral("not cyan")
                                                     : QStringLiteral("still cyan")));
        QThread::msleep(20);
    }
    return true;
}

// How many of two corners of the prompt, which its text never covers, are cyan.
int MonkeySession::cyanCorners() {
    const QImage prompt = x.grab(targets.rectOf(QStringLiteral("Label6")).translated(origin));
    if (prompt.isNull()) return -1;
    return int(prompt.pixel(1, 1) == kPromptCyan) +
           int(prompt.pixel(prompt.width() - 3, prompt.height() - 2) == kPromptCyan);
}

// As a window manager's close button would: the program must quit, and cleanly.
bool MonkeySession::closeProgram() {
    x.askToClose(window);
    if (!program.waitForFinished(kWaitMs)) {
        printStacks();
        return fail(QStringLiteral("the program did not quit when its window was closed"));
    }
    if (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0)
        return fail(QStringLiteral("the program did not quit cleanly"));
    return true;
}

// The journal as a teacher exports it with the program itself: every file read, none skipped.
// The final check alone made two runs; a program that quit cleanly leaves no aside file.
bool MonkeySession::journalReadsBack() {
    const QDir journal(dataHome.filePath(QStringLiteral("zakony-logiki/journal")));
    const QString csv = dataHome.filePath(QStringLiteral("runs.csv"));
    QProcess exporter;
    exporter.setProcessEnvironment(program.processEnvironment());
    exporter.start(settings.program, {QStringLiteral("--export-journal"), csv});
    if (!exporter.waitForFinished(kWaitMs))
        return fail(QStringLiteral("--export-journal did not end"));
    const QString errors = QString::fromLocal8Bit(exporter.readAllStandardError());
    if (exporter.exitStatus() != QProcess::NormalExit || exporter.exitCode() != 0)
        return fail(QStringLiteral("--export-journal failed: ") + errors);
    if (errors.contains(QStringLiteral("пропущен")))
        return fail(QStringLiteral("--export-journal skipped files: ") + errors);
    QFile file(csv);
    if (!file.open(QIODevice::ReadOnly)) return fail(csv + QStringLiteral(" was not written"));
    const auto runs = file.readAll().count("\r\n") - 1; // one header row
    if (runs < 2)
        return fail(
            QStringLiteral("the journal in %1 holds %2 runs").arg(journal.path()).arg(runs));
    const QStringList aside = journal.entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
    if (!aside.isEmpty())
        return fail(QStringLiteral("aside files left in the journal: ") + aside.join(' '));
    say(QStringLiteral("monkey: the journal holds %1 runs, all read back").arg(runs));
    return true;
}

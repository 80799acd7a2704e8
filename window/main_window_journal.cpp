// The window's side of the journal: every change of the run's record is written as it happens,
// and closing the window ends a run still going.
#include "window/journal.h"
#include "window/main_window.h"

#include <QCloseEvent>
#include <cstdio>

MainWindow::~MainWindow() {
    core.close(); // quit without a close event: the run still ends as closed
}

void MainWindow::setJournal(std::unique_ptr<JournalWriter> writer) {
    journalWriter = std::move(writer);
    if (!journalWriter) {
        core.runChanged = nullptr;
        return;
    }
    core.runChanged = [this](const RunRecord& run) { journalWriter->record(run); };
}

void MainWindow::closeEvent(QCloseEvent* event) {
    handle([&] { core.close(); });
    QWidget::closeEvent(event);
}

// For the crash test: a line per answer as it reaches the screen (render follows the handler,
// so the journal has it on the disk before this is printed).
void MainWindow::traceShownAnswers() {
    static const bool tracing = qEnvironmentVariableIntValue("ZL_TRACE_ANSWERS") == 1;
    static std::size_t shown = 0;
    if (!tracing || core.run.answers.size() == shown) return;
    shown = core.run.answers.size();
    std::printf("answer shown: run %d, %zu answers\n", core.run.number, shown);
    std::fflush(stdout);
}

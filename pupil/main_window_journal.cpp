// The window's side of the journal and of the teacher's windows: every change of the run's
// record is written as it happens and shown in an open review, closing the window ends a run
// still going, and F2, Ctrl+J or the background's menu open the review and the journal's runs.
#include "journal/journal_csv.h"
#include "journal/journal_file.h"
#include "journal/journal_defaults.h"
#include "journal/journal_writer.h"
#include "pupil/main_window.h"
#include "pupil/pupil_name.h"
#include "teacher/class_view.h"
#include "teacher/journal_view.h"
#include "teacher/review_window.h"
#include "teacher/teacher_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>

namespace {

// A window made for the first time: beside the main one where the screen has room, the right
// side first, else over it; wholly on the screen.
void placeBeside(QWidget* window, const QWidget* main) {
    const QRect room = main->screen() ? main->screen()->availableGeometry() : QRect();
    const QRect mainBox = main->frameGeometry();
    QRect box(QPoint(), window->size() + frameOf(window)); // a frame not drawn yet counted
    box.moveCenter(mainBox.center());
    if (room.isValid()) {
        if (mainBox.right() + box.width() <= room.right())
            box.moveTopLeft({mainBox.right() + 1, mainBox.top()});
        else if (mainBox.left() - box.width() >= room.left())
            box.moveTopRight({mainBox.left() - 1, mainBox.top()});
        box = keptWithin(box, room);
    }
    window->move(box.topLeft());
}

void bringUp(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

MainWindow::~MainWindow() {
    core.close(); // quit without a close event: the run still ends as closed
}

void MainWindow::watchRun() {
    core.runChanged = [this](const RunRecord& run) {
        if (journalWriter) journalWriter->record(run);
        if (reviewWindow && reviewWindow->isVisible())
            reviewWindow->showRun(run, journalWriter ? journalWriter->runPupil() : pupilName);
    };
}

void MainWindow::setJournal(std::unique_ptr<JournalWriter> writer) {
    journalWriter = std::move(writer);
    watchRun();
}

void MainWindow::showReview() {
    const bool made = reviewWindow == nullptr;
    if (made) {
        reviewWindow = new ReviewWindow(this, [this] { return core.clockMs(); });
        reviewWindow->setFactor(factor);
        reviewWindow->setJournalProblem(
            [this] { return journalWriter ? journalWriter->problem() : QString(); });
        connect(reviewWindow, &ReviewWindow::repeatMistakes, this, [this](std::vector<int> laws) {
            caretMarked = false;
            handle([&] { core.startMistakes(std::move(laws)); });
            trainerOption->setChecked(core.state.mode == Mode::trainer);
            raise();
            activateWindow();
        });
    }
    reviewWindow->showRun(core.run, journalWriter ? journalWriter->runPupil() : pupilName);
    if (made) placeBeside(reviewWindow, this);
    bringUp(reviewWindow);
}

void MainWindow::showJournalView() {
    const bool made = journalWindow == nullptr;
    if (made) {
        journalWindow = new JournalView(this, [this] { return journal(); });
        // A test going: no accepted form of any run may be read in this window.
        journalWindow->setFormsHidden([this] {
            return core.run.number > 0 && core.run.mode == Mode::test &&
                   core.run.ending == RunEnding::going;
        });
        journalWindow->setFactor(factor);
    }
    journalWindow->reload();
    if (made) placeBeside(journalWindow, this);
    bringUp(journalWindow);
}

void MainWindow::showClassView() {
    const bool made = classWindow == nullptr;
    if (made) {
        classWindow =
            new ClassView(this, journalWriter ? journalWriter->folder() : defaultJournalFolder(),
                          [this] { return core.clockMs(); });
        classWindow->setFactor(factor);
    }
    if (made) placeBeside(classWindow, this);
    bringUp(classWindow);
}

// A new name is the next run's: the run going stays the pupil's who started it, in the journal
// and in the review.
bool MainWindow::askForPupil() {
    const auto name = askPupilName(this, pupilName);
    if (!name) return false;
    pupilName = *name;
    if (journalWriter) journalWriter->setPupil(pupilName);
    return true;
}

// The window's font is set by each new zoom or full-screen factor; the teacher's windows follow.

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::FontChange) return;
    if (reviewWindow) reviewWindow->setFactor(factor);
    if (journalWindow) journalWindow->setFactor(factor);
    if (classWindow) classWindow->setFactor(factor);
}

// A right click on the window's background, on a frame's empty part included; the controls
// keep what a right click does on them.
void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    const QWidget* under = childAt(event->pos());
    if (event->reason() != QContextMenuEvent::Mouse ||
        (under && !qobject_cast<const QGroupBox*>(under))) {
        event->ignore();
        return;
    }
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("TeacherMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setFont(font()); // at the window's zoom
    connect(menu->addAction(QStringLiteral("Результаты (F2)")), &QAction::triggered, this,
            &MainWindow::showReview);
    connect(menu->addAction(QStringLiteral("Журнал (Ctrl+J)")), &QAction::triggered, this,
            &MainWindow::showJournalView);
    connect(menu->addAction(QStringLiteral("Класс (Ctrl+K)")), &QAction::triggered, this,
            &MainWindow::showClassView);
    if (askName)
        connect(menu->addAction(QStringLiteral("Сменить ученика")), &QAction::triggered, this,
                [this] { askForPupil(); });
    menu->popup(event->globalPos());
    event->accept();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    handle([&] { core.close(); });
    QWidget::closeEvent(event);
}

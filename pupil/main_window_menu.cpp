// What the window tells the rest of the program: every change of the run's record, the pupil's
// name, and the teacher's windows asked for by F2, Ctrl+J, Ctrl+K or the background's menu.
// Closing the window ends a run still going.
#include "pupil/main_window.h"
#include "pupil/pupil_name.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QMenu>
#include <QRadioButton>

MainWindow::~MainWindow() {
    core.close(); // quit without a close event: the run still ends as closed
}

void MainWindow::watchRun() {
    core.runChanged = [this](const RunRecord& run) { emit runChanged(run); };
}

void MainWindow::repeatMistakes(std::vector<int> laws) {
    caretMarked = false;
    handle([&] { core.startMistakes(std::move(laws)); });
    trainerOption->setChecked(core.state.mode == Mode::trainer);
    raise();
    activateWindow();
}

// A new name is the next run's: the run going stays the pupil's who started it.
bool MainWindow::askForPupil() {
    const auto name = askPupilName(this, pupilName);
    if (!name) return false;
    pupilName = *name;
    emit pupilNamed(pupilName);
    return true;
}

// The window's font is set by each new zoom or full-screen factor; the teacher's windows follow.
void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) emit scaleChanged(factor);
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
            &MainWindow::reviewAsked);
    connect(menu->addAction(QStringLiteral("Журнал (Ctrl+J)")), &QAction::triggered, this,
            &MainWindow::journalAsked);
    connect(menu->addAction(QStringLiteral("Класс (Ctrl+K)")), &QAction::triggered, this,
            &MainWindow::classAsked);
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

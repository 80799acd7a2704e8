#include "app/classroom.h"

#include "journal/journal_defaults.h"
#include "journal/journal_writer.h"
#include "pupil/main_window.h"
#include "teacher/class_view.h"
#include "teacher/journal_view.h"
#include "teacher/review_window.h"
#include "teacher/teacher_window.h"

#include <QScreen>
#include <QTextStream>

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
    placeWindow(window, box.topLeft(), window->size());
}

void bringUp(QWidget* window, bool made, const QWidget* main) {
    if (made) placeBeside(window, main);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

ClassView* makeClassView(QWidget* parent, const QString& folder, double factor,
                         std::function<std::int64_t()> nowMs) {
    auto* view = new ClassView(parent, folder, std::move(nowMs));
    view->setFactor(factor);
    return view;
}

Classroom::Classroom(MainWindow* window) : QObject(window), window(window) {
    connect(window, &MainWindow::runChanged, this, [this](const RunRecord& run) {
        if (writer) writer->record(run);
        if (review && review->isVisible())
            review->showRun(run, writer ? writer->runPupil() : this->window->pupil());
    });
    connect(window, &MainWindow::pupilNamed, this, [this](const QString& name) {
        if (writer) writer->setPupil(name);
    });
    connect(window, &MainWindow::reviewAsked, this, &Classroom::showReview);
    connect(window, &MainWindow::journalAsked, this, &Classroom::showJournalView);
    connect(window, &MainWindow::classAsked, this, &Classroom::showClassView);
    connect(window, &MainWindow::scaleChanged, this, &Classroom::followScale);
}

Classroom::~Classroom() = default;

void Classroom::setJournal(std::unique_ptr<JournalWriter> journal) {
    writer = std::move(journal);
}

void Classroom::setLesson(Lesson own, LessonSettings locked) {
    window->form().lesson = [this, own = std::move(own), locked = std::move(locked)] {
        Lesson lesson = own;
        if (writer) {
            QStringList problems;
            if (const auto file = readLessonFile(writer->folder(), problems))
                lesson = withSettings(lesson, *file);
            QTextStream errors(stderr);
            for (const QString& problem : problems)
                if (!toldProblems.contains(problem)) {
                    toldProblems.insert(problem);
                    errors << "zakony-logiki: " << problem << Qt::endl;
                }
        }
        return withSettings(lesson, locked);
    };
}

void Classroom::showReview() {
    const bool made = review == nullptr;
    if (made) {
        review = new ReviewWindow(window, [this] { return window->form().clockMs(); });
        review->setFactor(window->scale());
        review->setJournalProblem([this] { return writer ? writer->problem() : QString(); });
        connect(review, &ReviewWindow::repeatMistakes, window, &MainWindow::repeatMistakes);
    }
    review->showRun(window->form().run, writer ? writer->runPupil() : window->pupil());
    bringUp(review, made, window);
}

void Classroom::showJournalView() {
    const bool made = journalView == nullptr;
    if (made) {
        journalView = new JournalView(window, [this] {
            return writer ? JournalKept{writer->folder(), writer->currentFile(), writer->problem()}
                          : JournalKept{};
        });
        // A test going: no accepted form of any run may be read in this window.
        journalView->setFormsHidden([this] {
            const RunRecord& run = window->form().run;
            return run.number > 0 && run.mode == Mode::test && run.ending == RunEnding::going;
        });
        journalView->setFactor(window->scale());
    }
    journalView->reload();
    bringUp(journalView, made, window);
}

void Classroom::showClassView() {
    const bool made = classView == nullptr;
    if (made)
        classView = makeClassView(window, writer ? writer->folder() : defaultJournalFolder(),
                                  window->scale(), [this] { return window->form().clockMs(); });
    bringUp(classView, made, window);
}

void Classroom::followScale(double factor) {
    if (review) review->setFactor(factor);
    if (journalView) journalView->setFactor(factor);
    if (classView) classView->setFactor(factor);
}

// The program's wiring around the pupil's window: the journal writer that records its runs, and
// the teacher's windows it asks for — the review of the run (F2), the journal's runs (Ctrl+J)
// and the class (Ctrl+K) — made when first asked for, beside the window, at its zoom.
#pragma once

#include "core/lesson.h"
#include "journal/lesson_file.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class ClassView;
class JournalView;
class JournalWriter;
class MainWindow;
class QWidget;
class ReviewWindow;

class Classroom : public QObject {
    Q_OBJECT
  public:
    explicit Classroom(MainWindow* window);
    ~Classroom() override;

    // The journal the runs are written to; none: no journal is kept.
    void setJournal(std::unique_ptr<JournalWriter> writer);
    const JournalWriter* journal() const { return writer.get(); }

    // What each Start asks: the pupil's own lesson, under the class's lesson file in the
    // journal's folder (read again at every Start), under what a locked system-wide file sets.
    void setLesson(Lesson own, LessonSettings locked);

    // Each opened or raised; made the first time.
    void showReview();
    void showJournalView();
    void showClassView();

  private:
    void followScale(double factor);

    MainWindow* window;
    std::unique_ptr<JournalWriter> writer;
    // Children of the pupil's window: made once, then hidden.
    ReviewWindow* review = nullptr;
    JournalView* journalView = nullptr;
    ClassView* classView = nullptr;
    QSet<QString> toldProblems; // of the lesson file: each told once
};

// The class view over `folder` at `factor`, its states judged by `nowMs` (none: the system's
// clock): the teacher's machine's window (--class) and Ctrl+K's alike.
ClassView* makeClassView(QWidget* parent, const QString& folder, double factor,
                         std::function<std::int64_t()> nowMs = {});

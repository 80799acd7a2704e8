// The teacher's view of the class ("Класс"): for a chosen day, every pupil's latest run on each
// machine — the question reached, the counts and whether the pupil is working, waiting or done —
// with their latest finished test beside it, read again from the shared journal folder every few
// seconds while the window is open. A name written by more than one account is a row for each,
// marked. The lesson in force, from the class's lesson file, is shown above, and set from here.
#pragma once

#include "core/lesson.h"
#include "journal/journal_cache.h"

#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

class ClassRows;
class FittedView;
class JournalLoader;
class LawView;
class QDateEdit;
class QFileSystemWatcher;
class QLabel;
class QSortFilterProxyModel;
class QTimer;
class ReviewWindow;

class ClassView : public QWidget {
    Q_OBJECT
  public:
    // `nowMs` is the clock the states are judged by; none: the system's.
    ClassView(QWidget* parent, QString folder, std::function<std::int64_t()> nowMs = {});

    void setFactor(double factor);
    // Reads the folder again (only the files changed since are read).
    void reload();

    // The chosen day's runs as .xlsx into `path`. Empty when written; else the problem, in Russian.
    QString writeXlsx(const QString& path) const;
    // The run in table row `row` (as sorted now) in the review window; false for no such row.
    bool openRun(int row);

    FittedView* table() const { return rows; }
    ReviewWindow* review() const { return runReview; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void take(const JournalListing& listing);
    void refit();
    void followReview();
    void watchFolder();
    void openLaws();
    void askWhereToSaveXlsx();
    void readLesson();
    void setLesson();

    QString folder;
    std::function<std::int64_t()> nowMs;
    JournalListing read; // as last read: the runs shared with the loader's cache
    JournalRun reviewed; // the run in the review, kept up to date while it goes on
    double factor = 1.0;
    QSize fittedHint;
    JournalLoader* loader = nullptr;
    QFileSystemWatcher* watcher = nullptr;
    QTimer* polling = nullptr;
    QDateEdit* day = nullptr;
    QLabel *progress = nullptr, *problem = nullptr, *lessonLine = nullptr;
    Lesson lesson;      // in force: the lesson file's, as last read
    QString lessonNote; // said under the lesson since the teacher last set it
    ClassRows* model = nullptr;
    QSortFilterProxyModel* sorted = nullptr;
    FittedView* rows = nullptr;
    ReviewWindow* runReview = nullptr;
    LawView* laws = nullptr;
};

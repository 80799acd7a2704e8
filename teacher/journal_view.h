// The teacher's view of the journal ("Журнал"): every run found in the journal's folder, newest
// first, what was skipped and why; a run opens in a review, and the list is saved as CSV.
#pragma once

#include "journal/journal_cache.h"

#include <QWidget>
#include <functional>

class FittedTable;
class JournalLoader;
class QLabel;
class QPushButton;
class ReviewWindow;

// The journal the pupil's window keeps, as it is when the view reads it.
struct JournalKept {
    QString folder;      // empty: no journal is kept
    QString currentFile; // the file of the run the window writes now: its run going is its own
    QString problem;     // why the journal cannot be written now; empty when it can
};

class JournalView : public QWidget {
    Q_OBJECT
  public:
    // `journal` is asked each time the folder is read and the view drawn; none: none kept.
    JournalView(QWidget* parent, std::function<JournalKept()> journal);

    // While this says so, the runs opened from the list show no accepted form.
    void setFormsHidden(std::function<bool()> hidden) { formsHidden = std::move(hidden); }
    // Reads the folder again, off the window's thread; «Журнал читается…» shows until it is read.
    void reload();
    void setFactor(double factor);

    // The list as CSV into `path`. Empty when written; else the problem, in Russian.
    QString writeCsv(const QString& path) const;
    // The same, telling a failure in a message box; false when not written.
    bool saveCsv(const QString& path);
    // The run in table row `row` (0 = the newest) in the review window; false for no such row.
    bool openRun(int row);

    const JournalListing& listing() const { return shown; }
    FittedTable* table() const { return runs; }
    ReviewWindow* review() const { return runReview; }

  private:
    void take(const JournalListing& listing);
    void fill();
    void askWhereToSaveCsv();
    void openSelected();

    std::function<JournalKept()> journal;
    std::function<bool()> formsHidden;
    JournalListing shown;
    JournalKept kept;
    JournalLoader* loader = nullptr; // over kept.folder
    QString loaderFolder;
    double factor = 1.0;
    QLabel* notWritten = nullptr; // the journal cannot be written now, and why
    class QScrollArea* skippedArea = nullptr;
    QLabel *folder = nullptr, *off = nullptr, *problem = nullptr, *skipped = nullptr,
           *empty = nullptr, *reading = nullptr;
    FittedTable* runs = nullptr;
    QWidget* buttons = nullptr;
    QPushButton *openButton = nullptr, *reloadButton = nullptr, *saveButton = nullptr;
    ReviewWindow* runReview = nullptr;
};

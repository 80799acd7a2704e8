// The teacher's view of the journal ("Журнал"): every run found in the journal's folder, newest
// first, what was skipped and why; a run opens in a review, and the list is saved as CSV.
#pragma once

#include "journal/journal_cache.h"

#include <QWidget>
#include <functional>

class FittedTable;
class JournalWriter;
class QLabel;
class QPushButton;
class ReviewWindow;

class JournalView : public QWidget {
    Q_OBJECT
  public:
    // `journal` gives the main window's journal when the folder is read; none: no journal kept.
    JournalView(QWidget* parent, std::function<const JournalWriter*()> journal);

    // While this says so, the runs opened from the list show no accepted form.
    void setFormsHidden(std::function<bool()> hidden) { formsHidden = std::move(hidden); }
    // Reads the folder again.
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
    void fill();
    void askWhereToSaveCsv();
    void openSelected();

    std::function<const JournalWriter*()> journal;
    std::function<bool()> formsHidden;
    JournalListing shown;
    bool journalKept = false;
    double factor = 1.0;
    QLabel* notWritten = nullptr; // the journal cannot be written now, and why
    class QScrollArea* skippedArea = nullptr;
    QLabel *folder = nullptr, *off = nullptr, *problem = nullptr, *skipped = nullptr,
           *empty = nullptr;
    FittedTable* runs = nullptr;
    QWidget* buttons = nullptr;
    QPushButton *openButton = nullptr, *reloadButton = nullptr, *saveButton = nullptr;
    ReviewWindow* runReview = nullptr;
};

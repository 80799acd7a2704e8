// The teacher's view of the journal ("Журнал"): every run found in the journal's folder, newest
// first, what was skipped and why; a run opens in a review, and the list is saved as CSV.
#pragma once

#include "journal/journal_folder.h"

#include <QWidget>
#include <functional>

class FittedTable;
class JournalWriter;
class QKeyEvent;
class QLabel;
class QPushButton;
class ReviewWindow;

class JournalView : public QWidget {
    Q_OBJECT
  public:
    // `journal` gives the main window's journal when the folder is read; none: no journal kept.
    JournalView(QWidget* parent, std::function<const JournalWriter*()> journal);

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

  protected:
    void keyPressEvent(QKeyEvent* event) override; // Escape closes

  private:
    void fill();
    void askWhereToSaveCsv();
    void openSelected();

    std::function<const JournalWriter*()> journal;
    JournalListing shown;
    bool journalKept = false;
    double factor = 1.0;
    QLabel *folder = nullptr, *off = nullptr, *problem = nullptr, *skipped = nullptr,
           *empty = nullptr;
    FittedTable* runs = nullptr;
    QWidget* buttons = nullptr;
    QPushButton *openButton = nullptr, *reloadButton = nullptr, *saveButton = nullptr;
    ReviewWindow* runReview = nullptr;
};

// The teacher's review of a run ("Результаты"): the mode, the start, the time taken, the
// counts and a test's mark, then every answer in the order given, with its verdict, and, once the
// test is over, the accepted form of each wrong one. Shows the main window's current run, kept up
// to date while open, or a run read from the journal, which can then be saved as CSV.
#pragma once

#include "core/review_rows.h"
#include "journal/journal_file.h"
#include "teacher/teacher_window.h"

#include <QTableWidget>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QFormLayout;
class QLabel;
class QPushButton;
class QTimer;

class ReviewWindow : public QWidget {
    Q_OBJECT
  public:
    // `nowMs` tells the time taken so far by a run still going.
    explicit ReviewWindow(QWidget* parent, std::function<std::int64_t()> nowMs = {});

    // The main window's run, shown as it is now, with the pupil's name where one was given.
    void showRun(const RunRecord& run, const QString& pupil = {});
    // A run read from the journal: its user and machine in the head, and CSV export.
    void showJournalRun(const JournalRun& entry);
    // While this says so (a test run going in the pupil's window), no accepted form is shown or
    // saved, whatever run is reviewed: the pupil could read them from an earlier run.
    void setFormsHidden(std::function<bool()> hidden) { formsHidden = std::move(hidden); }
    // Why the journal cannot be written now; empty while it can. Shown for the current run.
    void setJournalProblem(std::function<QString()> problem) {
        journalProblem = std::move(problem);
    }
    // The font at the main window's factor.
    void setFactor(double factor);

    // The run's answers as CSV into `path`. Empty when written; else the problem, in Russian.
    QString writeCsv(const QString& path) const;
    // The same, telling a failure in a message box; false when not written.
    bool saveCsv(const QString& path);

    FittedTable* table() const { return answers; }

  signals:
    // «Повторить ошибки»: the laws answered wrong, in the catalogue's order.
    void repeatMistakes(std::vector<int> laws);

  private:
    void refresh();
    void refreshTimeTaken();
    void askWhereToSaveCsv();
    QByteArray csv() const;
    RunRecord shownRun() const; // the run as it may be shown now

    std::function<bool()> formsHidden;
    std::function<QString()> journalProblem;
    QLabel* notWritten = nullptr;
    QPushButton* repeatButton = nullptr;
    std::function<std::int64_t()> nowMs;
    RunRecord run;
    QString pupil; // of the main window's run
    std::optional<JournalRun> fromJournal;
    double factor = 1.0;
    QLabel* noRun = nullptr;
    QWidget* head = nullptr;
    QFormLayout* headLines = nullptr;
    QLabel *mode = nullptr, *started = nullptr, *taken = nullptr, *ending = nullptr,
           *counts = nullptr, *mark = nullptr, *user = nullptr, *machine = nullptr,
           *noAnswers = nullptr;
    FittedTable* answers = nullptr;
    QPushButton* saveButton = nullptr;
    QTimer* ticking = nullptr; // the time taken by a run going, once a second while shown
};

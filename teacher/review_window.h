// The teacher's review of a run ("Результаты"): the mode, the start, the time taken and the
// counts, then every answer in the order given, with its verdict, and, once the test is over,
// the accepted form of each wrong one. Shows the main window's current run, kept up to date
// while open, or a run read from the journal, which can then be saved as CSV.
#pragma once

#include "core/review_rows.h"
#include "journal/journal_file.h"

#include <QTableWidget>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

class QFormLayout;
class QKeyEvent;
class QLabel;
class QPushButton;
class QTimer;

// A table as large as its content: its size hint is every column and row in full, so that a
// window laid out round it shows no cut text and no scroll bar while the screen has room.
class FittedTable : public QTableWidget {
  public:
    explicit FittedTable(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Columns and rows to their contents, then the new size hint is told to the layout.
    void fitToContents();
    // Fills a read-only cell.
    void setText(int row, int column, const QString& text,
                 Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
};

// The teacher's windows' font: the main window's family, larger, at the main window's factor.
QFont teacherFont(double factor);
// A teacher's window at a factor: its font, the margins round its content and the room between
// its parts.
void scaleTeacherWindow(QWidget* window, double factor);
// Resizes a window to its layout's size hint, within the available area of its screen; a table
// too long for the screen scrolls, and is made wider by the scroll bar.
void fitWindowToScreen(QWidget* window, const FittedTable* table);
// The box moved, as little as it takes, to lie within `room` (its top left corner in it where it
// is larger).
QRect keptWithin(QRect box, const QRect& room);

class ReviewWindow : public QWidget {
    Q_OBJECT
  public:
    // `nowMs` tells the time taken so far by a run still going.
    explicit ReviewWindow(QWidget* parent, std::function<std::int64_t()> nowMs = {});

    // The main window's run, shown as it is now.
    void showRun(const RunRecord& run);
    // A run read from the journal: its user and machine in the head, and CSV export.
    void showJournalRun(const JournalRun& entry);
    // The font at the main window's factor.
    void setFactor(double factor);
    double shownFactor() const { return factor; }

    // The run's answers as CSV into `path`. Empty when written; else the problem, in Russian.
    QString writeCsv(const QString& path) const;
    // The same, telling a failure in a message box; false when not written.
    bool saveCsv(const QString& path);

    FittedTable* table() const { return answers; }

  protected:
    void keyPressEvent(QKeyEvent* event) override; // Escape closes

  private:
    void refresh();
    void refreshTimeTaken();
    void askWhereToSaveCsv();
    QByteArray csv() const;

    std::function<std::int64_t()> nowMs;
    RunRecord run;
    std::optional<JournalRun> fromJournal;
    double factor = 1.0;
    QLabel* noRun = nullptr;
    QWidget* head = nullptr;
    QFormLayout* headLines = nullptr;
    QLabel *mode = nullptr, *started = nullptr, *taken = nullptr, *ending = nullptr,
           *counts = nullptr, *user = nullptr, *machine = nullptr, *noAnswers = nullptr;
    FittedTable* answers = nullptr;
    QPushButton* saveButton = nullptr;
    QTimer* ticking = nullptr; // the time taken by a run going, once a second while shown
};

// Writes `bytes` into `path`, whole or not at all. Empty when written; else the problem, in
// Russian, for the teacher.
QString writeWholeFile(const QString& path, const QByteArray& bytes);
// The same, a failure told in a message box over `parent`; false when not written.
bool saveTelling(QWidget* parent, const QString& path, const QByteArray& bytes);
// Asks where to save a CSV file, offering `suggestedName` in the documents folder; empty when
// the teacher cancels.
QString askCsvPath(QWidget* parent, const QString& suggestedName);

// "12 мин 05 с": a span of time as the review shows it.
QString timeTakenText(std::int64_t ms);
// "08.12.2026 15:54:10": a moment in local time as the teacher's windows show it.
QString shownTime(std::int64_t ms);

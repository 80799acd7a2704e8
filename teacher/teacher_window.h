// What the teacher's windows share: their font and margins at the main window's zoom, a table
// as large as its content, fitting a window to the screen, Escape closing it, saving a file with
// a message, and how times are shown.
#pragma once

#include <QTableWidget>
#include <QWidget>
#include <cstdint>
#include <functional>

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
// Resizes a window to its layout's size hint, within the available area of its screen, its
// frame included; a table too long for the screen scrolls, and is made wider by the scroll bar.
void fitWindowToScreen(QWidget* window, const FittedTable* table);
// The window's frame as the window manager draws it; before it is known (not shown yet, or not
// told yet), room for a title bar and borders as large as desktops draw them.
QSize frameOf(const QWidget* window);
// The box moved, as little as it takes, to lie within `room` (its top left corner in it where it
// is larger).
QRect keptWithin(QRect box, const QRect& room);
// Puts the window's frame's top left at `frameTopLeft`, the window `size` large.
void placeWindow(QWidget* window, QPoint frameTopLeft, QSize size);

// The pupil as the teacher's windows name them: the name given at Start, with the login where it
// differs; where the file's owner on the disk is another user, that too.
QString pupilShown(const struct JournalRun& entry);
// How a run ended, as the teacher's windows say it; a run still "going" in a file that is not
// this window's own may have been cut short: nobody can tell from the file alone.
QString endingShownFor(const struct RunRecord& run, bool ownRun);

// Ctrl+Plus, Ctrl+Minus and Ctrl+0 for a teacher's window standing alone (the class view of
// --class), as in the pupil's window: one zoom step up or down from `percent`, or back to 100 %,
// each told to `zoomTo` as a factor.
void zoomByKeys(QWidget* window, int percent, std::function<void(double factor)> zoomTo);

// Escape closes the window, as in a dialog.
void closeOnEscape(QWidget* window);

// Writes `bytes` into `path`, whole or not at all. Empty when written; else the problem, in
// Russian, for the teacher.
QString writeWholeFile(const QString& path, const QByteArray& bytes);
// The same, a failure told in a message box over `parent`; false when not written.
bool saveTelling(QWidget* parent, const QString& path, const QByteArray& bytes);
// A file not saved, told in a message box over `parent` named `name`: the problem, with the
// path where it does not name it, under a title the box is wide enough to show whole.
void tellNotSaved(QWidget* parent, const QString& title, const QString& path,
                  const QString& problem, const char* name);
// Asks where to save a CSV file, offering `suggestedName` in the documents folder; empty when
// the teacher cancels.
QString askCsvPath(QWidget* parent, const QString& suggestedName);

// A read-only cell that sorts by `order` instead of by its text; without an order, by its text.
QTableWidgetItem* putSorted(QTableWidget* table, int row, int column, const QString& text);
QTableWidgetItem* putSorted(QTableWidget* table, int row, int column, const QString& text,
                            std::int64_t order,
                            Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// A day to choose, today at first, written as the teacher's windows write days.
class QDateEdit* dayEdit(const char* name, QWidget* parent);

// "12 мин 05 с": a span of time as the review shows it.
QString timeTakenText(std::int64_t ms);
// "08.12.2026 15:54:10": a moment in local time as the teacher's windows show it.
QString shownTime(std::int64_t ms);

#include "teacher/teacher_window.h"

#include "core/zoom.h"
#include "journal/journal_file.h"
#include "journal/qt_text.h"
#include "look/window_font.h"
#include "teacher/fitted_view.h"

#include <QAction>
#include <QDateEdit>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLayout>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QStyle>
#include <algorithm>
#include <memory>

namespace {

// What a sorted cell sorts by; the windows' own roles on their cells are other numbers.
constexpr int kOrderRole = Qt::UserRole + 2;

class SortedItem : public QTableWidgetItem {
  public:
    using QTableWidgetItem::QTableWidgetItem;
    bool operator<(const QTableWidgetItem& other) const override {
        const QVariant mine = data(kOrderRole), theirs = other.data(kOrderRole);
        if (mine.isValid() && theirs.isValid()) return mine.toLongLong() < theirs.toLongLong();
        return QTableWidgetItem::operator<(other);
    }
};

// The teacher reads these at a desk, a little larger than the pupil's 8 pt at 100 %.
constexpr double kTeacherPt = 10.0;

} // namespace

QString timeTakenText(std::int64_t ms) {
    const std::int64_t s = std::max<std::int64_t>(ms, 0) / 1000;
    const auto twoDigits = [](std::int64_t n) {
        return QStringLiteral("%1").arg(n, 2, 10, QChar('0'));
    };
    if (s >= 3600)
        return QStringLiteral("%1 ч %2 мин %3 с")
            .arg(s / 3600)
            .arg(twoDigits(s % 3600 / 60), twoDigits(s % 60));
    if (s >= 60) return QStringLiteral("%1 мин %2 с").arg(s / 60).arg(twoDigits(s % 60));
    return QStringLiteral("%1 с").arg(s);
}

QString shownTime(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

QFont teacherFont(double factor) {
    QFont font = windowFont();
    font.setPointSizeF(kTeacherPt * factor);
    return font;
}

void scaleTeacherWindow(QWidget* window, double factor) {
    window->setFont(teacherFont(factor));
    const int margin = qRound(9 * factor), spacing = qRound(6 * factor);
    if (QLayout* top = window->layout()) top->setContentsMargins(margin, margin, margin, margin);
    for (QLayout* layout : window->findChildren<QLayout*>())
        layout->setSpacing(spacing);
}

FittedTable::FittedTable(QWidget* parent) : QTableWidget(parent) {
    setUpReadOnlyRows(*this);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QSize FittedTable::sizeHint() const {
    return wholeTableSize(*this);
}

QSize FittedTable::minimumSizeHint() const {
    return leastTableSize(*this);
}

void FittedTable::fitToContents() {
    // The header takes its font from the application, not from the window: told it here.
    horizontalHeader()->setFont(font());
    resizeColumnsToContents();
    // A little air between the columns, as large as the font.
    for (int c = 0; c < columnCount(); ++c)
        setColumnWidth(c, columnWidth(c) + fontMetrics().averageCharWidth());
    resizeRowsToContents();
    updateGeometry();
}

void FittedTable::setText(int row, int column, const QString& text, Qt::Alignment alignment) {
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    cell->setTextAlignment(alignment);
    cell->setToolTip(text);
    setItem(row, column, cell);
}

QRect keptWithin(QRect box, const QRect& room) {
    box.moveLeft(
        std::clamp(box.left(), room.left(), std::max(room.left(), room.right() - box.width() + 1)));
    box.moveTop(
        std::clamp(box.top(), room.top(), std::max(room.top(), room.bottom() - box.height() + 1)));
    return box;
}

namespace {
constexpr int kBorder = 4, kTitleBar = 40; // as large as desktops draw them
} // namespace

namespace {

// The frame round a window, as its desktop has told it: this window's, else that of the window
// it belongs to (framed alike by the same desktop); while neither is known, room for a title bar
// and borders as large as desktops draw them.
QMargins frameMargins(const QWidget* window) {
    for (const QWidget* w = window; w;
         w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        const QRect inner = w->geometry(), outer = w->frameGeometry();
        const QMargins m(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
        // A title bar, and no side beyond any desktop's: a frame half told is not believed.
        const auto likely = [](int side) { return side >= 0 && side <= 2 * kTitleBar; };
        if (w->isVisible() && m.top() > 0 && likely(m.left()) && likely(m.top()) &&
            likely(m.right()) && likely(m.bottom()))
            return m;
    }
    return {kBorder, kTitleBar + kBorder, kBorder, kBorder};
}

} // namespace

QSize frameOf(const QWidget* window) {
    const QMargins m = frameMargins(window);
    return {m.left() + m.right(), m.top() + m.bottom()};
}

// The window's own place, not its frame's: a move by the frame lands the window itself there
// while the desktop has not told Qt its frame yet, and the title bar goes above the screen.
void placeWindow(QWidget* window, QPoint frameTopLeft, QSize size) {
    const QMargins m = frameMargins(window);
    window->setGeometry(QRect(frameTopLeft + QPoint(m.left(), m.top()), size));
}

void fitWindowToScreen(QWidget* window, const FittedTable* table) {
    if (QLayout* layout = window->layout()) layout->activate();
    QSize wanted = window->sizeHint();
    const QScreen* screen = window->screen();
    if (!screen) {
        window->resize(wanted);
        return;
    }
    const QRect room = screen->availableGeometry();
    const QMargins margins = frameMargins(window);
    const QSize frame(margins.left() + margins.right(), margins.top() + margins.bottom());
    const QSize most = room.size() - frame;
    if (table && table->isVisibleTo(window)) {
        const int bar = table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
        const bool tooHigh = wanted.height() > most.height();
        if (tooHigh) wanted.rwidth() += bar;
        if (wanted.width() > most.width()) wanted.rheight() += bar;
    }
    QSize size = wanted.boundedTo(most);
    // Text that wraps at a width narrower than it wanted takes more lines than its hint.
    if (QLayout* layout = window->layout(); layout && layout->hasHeightForWidth())
        size.setHeight(std::clamp(layout->totalHeightForWidth(size.width()), size.height(),
                                  std::max(size.height(), most.height())));
    // Wholly on the screen, frame included: a window grown to the right or down moves back.
    // Where the frame is by the window's own place: Qt may know that before the frame's.
    const QRect box(window->geometry().topLeft() - QPoint(margins.left(), margins.top()),
                    size + frame);
    const QRect shown = keptWithin(box, room);
    if (shown.topLeft() != box.topLeft())
        placeWindow(window, shown.topLeft(), size);
    else
        window->resize(size);
}

QString writeWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0 || !file.commit())
        return QStringLiteral("Файл %1 не записан: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

bool saveTelling(QWidget* parent, const QString& path, const QByteArray& bytes) {
    const QString problem = writeWholeFile(path, bytes);
    if (problem.isEmpty()) return true;
    tellNotSaved(parent, QStringLiteral("Сохранить в CSV"), path, problem, "CsvProblem");
    return false;
}

void tellNotSaved(QWidget* parent, const QString& title, const QString& path,
                  const QString& problem, const char* name) {
    const QString shownPath = QDir::toNativeSeparators(path);
    const QString text = problem.contains(shownPath)
                             ? problem
                             : QStringLiteral("Файл %1 не записан: %2").arg(shownPath, problem);
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box.setObjectName(QLatin1String(name));
    box.setFont(parent->font());
    // Qt sizes the box for its title in the application's small font; a desktop draws the title
    // larger and bold beside its buttons: room for that, or the title is cut to «Сохр… xcel».
    QFont titleFont = parent->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    const QFontMetrics titleMetrics(titleFont);
    const int titleRoom = titleMetrics.horizontalAdvance(title) + 6 * titleMetrics.height();
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(titleRoom, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
}

QString askCsvPath(QWidget* parent, const QString& suggestedName) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить в CSV"),
                                        QDir(folder).filePath(suggestedName),
                                        QStringLiteral("Таблица CSV (*.csv)"));
}

QString pupilShown(const JournalRun& entry) {
    QString shown = entry.pupil.isEmpty() ? entry.user : entry.pupil + " (" + entry.user + ')';
    if (!entry.owner.isEmpty() && entry.owner != entry.user)
        shown += QStringLiteral(" [файл пользователя %1]").arg(entry.owner);
    return shown;
}

QString endingShownFor(const RunRecord& run, bool ownRun) {
    if (run.ending == RunEnding::going && !ownRun) return QStringLiteral("идёт или прерван");
    return qs(endingShown(run.ending));
}

void zoomByKeys(QWidget* window, int percent, std::function<void(double)> zoomTo) {
    auto shown = std::make_shared<int>(percent);
    const auto add = [&](const QList<QKeySequence>& keys, std::function<int(int)> step) {
        auto* action = new QAction(window);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::ApplicationShortcut); // its review and law view too
        QObject::connect(action, &QAction::triggered, window, [=] {
            *shown = step(*shown);
            zoomTo(*shown / 100.0);
        });
        window->addAction(action);
    };
    QList<QKeySequence> larger = QKeySequence::keyBindings(QKeySequence::ZoomIn);
    larger << QKeySequence(Qt::CTRL | Qt::Key_Equal)
           << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus); // "+" above "=" with Shift
    add(larger, [](int now) { return zoomIn(now, kZoomSteps.back()); });
    add(QKeySequence::keyBindings(QKeySequence::ZoomOut), [](int now) { return zoomOut(now); });
    add({QKeySequence(Qt::CTRL | Qt::Key_0)}, [](int) { return kZoomSteps.front(); });
}

void closeOnEscape(QWidget* window) {
    auto* escape = new QShortcut(QKeySequence::Cancel, window, window, &QWidget::close);
    escape->setContext(Qt::WindowShortcut);
}

QTableWidgetItem* putSorted(QTableWidget* table, int row, int column, const QString& text) {
    auto* cell = new SortedItem(text);
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    cell->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    cell->setToolTip(text);
    table->setItem(row, column, cell);
    return cell;
}

QTableWidgetItem* putSorted(QTableWidget* table, int row, int column, const QString& text,
                            std::int64_t order, Qt::Alignment alignment) {
    QTableWidgetItem* cell = putSorted(table, row, column, text);
    cell->setData(kOrderRole, QVariant::fromValue<qint64>(order));
    cell->setTextAlignment(alignment);
    return cell;
}

QDateEdit* dayEdit(const char* name, QWidget* parent) {
    auto* edit = new QDateEdit(QDate::currentDate(), parent);
    edit->setObjectName(QLatin1String(name));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return edit;
}

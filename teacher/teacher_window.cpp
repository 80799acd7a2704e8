#include "teacher/teacher_window.h"

#include "journal/journal_file.h"
#include "journal/qt_text.h"
#include "teacher/window_font.h"

#include <QDateEdit>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLayout>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QStyle>
#include <algorithm>

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
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QSize FittedTable::sizeHint() const {
    const int frame = 2 * frameWidth();
    int width = horizontalHeader()->length() + frame;
    int height = verticalHeader()->length() + frame;
    if (verticalHeader()->isVisibleTo(this)) width += verticalHeader()->sizeHint().width();
    if (horizontalHeader()->isVisibleTo(this)) height += horizontalHeader()->sizeHint().height();
    return {width, height};
}

QSize FittedTable::minimumSizeHint() const {
    const int frame = 2 * frameWidth();
    return {std::min(sizeHint().width(), 8 * fontMetrics().averageCharWidth() + frame),
            std::min(sizeHint().height(),
                     horizontalHeader()->sizeHint().height() + 3 * fontMetrics().height() + frame)};
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

void fitWindowToScreen(QWidget* window, const FittedTable* table) {
    if (QLayout* layout = window->layout()) layout->activate();
    QSize wanted = window->sizeHint();
    const QScreen* screen = window->screen();
    if (!screen) {
        window->resize(wanted);
        return;
    }
    const QRect room = screen->availableGeometry();
    const QSize frame =
        window->isVisible() ? window->frameGeometry().size() - window->size() : QSize(0, 0);
    const QSize most = room.size() - frame;
    if (table && table->isVisibleTo(window)) {
        const int bar = table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
        const bool tooHigh = wanted.height() > most.height();
        if (tooHigh) wanted.rwidth() += bar;
        if (wanted.width() > most.width()) wanted.rheight() += bar;
    }
    window->resize(wanted.boundedTo(most));
    // Wholly on the screen: a window grown to the right or down moves back into it.
    const QRect shown = keptWithin(window->frameGeometry(), room);
    if (shown.topLeft() != window->frameGeometry().topLeft()) window->move(shown.topLeft());
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
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Сохранить в CSV"), problem,
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("CsvProblem"));
    box.setFont(parent->font());
    box.exec();
    return false;
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

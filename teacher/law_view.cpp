#include "teacher/law_view.h"

#include "journal/law_statistics.h"
#include "journal/qt_text.h"
#include "teacher/teacher_window.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

namespace {

enum Column { number, lawName, answered, share, mistakes, columns };

const QStringList kTitles{QStringLiteral("№"), QStringLiteral("Закон"), QStringLiteral("Ответов"),
                          QStringLiteral("Правильно"), QStringLiteral("Частые ошибки")};

constexpr int kPercentRole = Qt::UserRole + 3; // the share right as a bar; none: not answered

// The share right drawn as a bar with the percentage on it.
class ShareBar : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QVariant percent = index.data(kPercentRole);
        if (!percent.isValid()) return QStyledItemDelegate::paint(painter, option, index);
        QStyleOptionViewItem cell(option);
        initStyleOption(&cell, index);
        cell.text.clear();
        QStyle* style = cell.widget ? cell.widget->style() : nullptr;
        if (!style) return;
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
        QStyleOptionProgressBar bar;
        bar.initFrom(cell.widget);
        bar.state |= QStyle::State_Horizontal;
        const int inset = std::max(1, option.fontMetrics.height() / 8);
        bar.rect = option.rect.adjusted(inset, inset, -inset, -inset);
        bar.minimum = 0;
        bar.maximum = 100;
        bar.progress = percent.toInt();
        bar.text = index.data().toString();
        bar.textVisible = true;
        bar.textAlignment = Qt::AlignCenter;
        style->drawControl(QStyle::CE_ProgressBar, &bar, painter, cell.widget);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        // Room for a bar that can be read at a glance, not just the figure.
        size.setWidth(std::max(size.width(), 3 * option.fontMetrics.horizontalAdvance("100 %")));
        return size;
    }
};

QDate dayOf(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).date();
}

} // namespace

LawView::LawView(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("LawView"));
    setWindowTitle(QStringLiteral("Законы"));
    setWindowIcon(QIcon(QStringLiteral(":/teacher/icon.svg")));

    auto* lines = new QVBoxLayout(this);
    auto* choices = new QHBoxLayout;
    modeChoice = new QComboBox(this);
    modeChoice->setObjectName(QStringLiteral("mode"));
    modeChoice->addItem(QStringLiteral("Все режимы"));
    modeChoice->addItem(QStringLiteral("Тренажёр"), static_cast<int>(Mode::trainer));
    modeChoice->addItem(QStringLiteral("Тест"), static_cast<int>(Mode::test));
    from = dayEdit("from", this);
    to = dayEdit("to", this);
    choices->addWidget(modeChoice);
    choices->addWidget(new QLabel(QStringLiteral("с"), this));
    choices->addWidget(from);
    choices->addWidget(new QLabel(QStringLiteral("по"), this));
    choices->addWidget(to);
    choices->addStretch(1);
    lines->addLayout(choices);
    connect(modeChoice, &QComboBox::currentIndexChanged, this, &LawView::fill);
    connect(from, &QDateEdit::dateChanged, this, &LawView::fill);
    connect(to, &QDateEdit::dateChanged, this, &LawView::fill);

    laws = new FittedTable(this);
    laws->setObjectName(QStringLiteral("laws"));
    laws->setColumnCount(columns);
    laws->setHorizontalHeaderLabels(kTitles);
    laws->setItemDelegateForColumn(share, new ShareBar(laws));
    laws->horizontalHeader()->setSectionsClickable(true);
    laws->horizontalHeader()->setSortIndicatorShown(true);
    laws->sortByColumn(share, Qt::AscendingOrder);
    laws->setSortingEnabled(true);
    lines->addWidget(laws, 1);

    closeOnEscape(this);
    scaleTeacherWindow(this, factor);
    fill();
}

void LawView::setRuns(JournalRuns runs) {
    given = std::move(runs);
    if (!given.empty()) {
        const auto [first, last] = std::minmax_element(
            given.begin(), given.end(), [](const JournalRun& a, const JournalRun& b) {
                return a.run.startedMs < b.run.startedMs;
            });
        const QSignalBlocker quietFrom(from), quietTo(to);
        from->setDate(dayOf(first->run.startedMs));
        to->setDate(dayOf(last->run.startedMs));
    }
    fill();
}

void LawView::setFactor(double newFactor) {
    if (newFactor == factor) return;
    factor = newFactor;
    scaleTeacherWindow(this, factor);
    fill();
}

void LawView::fill() {
    RunFilter filter;
    if (const QVariant mode = modeChoice->currentData(); mode.isValid())
        filter.mode = static_cast<Mode>(mode.toInt());
    filter.fromMs = from->date().startOfDay().toMSecsSinceEpoch();
    filter.toMs = to->date().addDays(1).startOfDay().toMSecsSinceEpoch();
    const std::vector<LawStatistics> statistics = lawStatistics(given, filter);

    laws->setSortingEnabled(false);
    laws->setRowCount(static_cast<int>(statistics.size()));
    const auto figure = Qt::AlignRight | Qt::AlignVCenter;
    for (int i = 0; i < laws->rowCount(); ++i) {
        const LawStatistics& s = statistics[static_cast<std::size_t>(i)];
        putSorted(laws, i, number, QString::number(s.law), s.law, figure);
        putSorted(laws, i, lawName, qs(s.name));
        putSorted(laws, i, answered, QString::number(s.answers), s.answers, figure);
        // Worst first: the rank the statistics give orders equal shares too; unasked laws last.
        if (const std::optional<double> right = s.shareRight()) {
            const int percent = qRound(100 * *right);
            QTableWidgetItem* cell =
                putSorted(laws, i, share, QStringLiteral("%1 %").arg(percent), i, figure);
            cell->setData(kPercentRole, percent);
        } else {
            putSorted(laws, i, share, QStringLiteral("—"), i, figure);
        }
        QStringList often;
        for (const WrongAnswer& wrong : s.commonWrong)
            often << QStringLiteral("%1 (%2)").arg(qs(wrong.shown())).arg(wrong.count);
        putSorted(laws, i, mistakes, often.join(QStringLiteral("; ")));
    }
    laws->setSortingEnabled(true);
    laws->fitToContents();
    fitWindowToScreen(this, laws);
}

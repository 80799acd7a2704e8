#include "teacher/fitted_view.h"

#include <QHeaderView>
#include <QScreen>
#include <QStyle>
#include <algorithm>

void setUpReadOnlyRows(QTableView& table) {
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setSelectionMode(QAbstractItemView::SingleSelection);
    table.setWordWrap(false);
    table.verticalHeader()->hide();
    table.horizontalHeader()->setHighlightSections(false);
}

FittedView::FittedView(QWidget* parent) : QTableView(parent) {
    setUpReadOnlyRows(*this);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QSize wholeTableSize(const QTableView& table) {
    const int frame = 2 * table.frameWidth();
    int width = table.horizontalHeader()->length() + frame;
    int height = table.verticalHeader()->length() + frame;
    if (table.verticalHeader()->isVisibleTo(&table))
        width += table.verticalHeader()->sizeHint().width();
    if (table.horizontalHeader()->isVisibleTo(&table))
        height += table.horizontalHeader()->sizeHint().height();
    return {width, height};
}

QSize leastTableSize(const QTableView& table) {
    const int frame = 2 * table.frameWidth();
    const QSize whole = table.sizeHint();
    const QFontMetrics metrics = table.fontMetrics();
    return {std::min(whole.width(), 8 * metrics.averageCharWidth() + frame),
            std::min(whole.height(),
                     table.horizontalHeader()->sizeHint().height() + 3 * metrics.height() + frame)};
}

QSize FittedView::sizeHint() const {
    QSize whole = wholeTableSize(*this);
    const QScreen* shown = screen();
    if (!shown) return whole;
    const QRect room = shown->availableGeometry();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    // Taller than the screen: it scrolls, and its bar takes room beside the columns.
    if (whole.height() > room.height()) whole.rwidth() += bar;
    // Wider than the screen less the window's margins and frame (a few lines of text at any
    // zoom): it scrolls across, and its bar takes room under the rows instead of hiding one.
    if (whole.width() > room.width() - 4 * fontMetrics().height()) whole.rheight() += bar;
    return whole;
}

QSize FittedView::minimumSizeHint() const {
    return leastTableSize(*this);
}

void FittedView::fitToContents() {
    // The headers take their font from the application, not from the window: told it here.
    horizontalHeader()->setFont(font());
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    verticalHeader()->setDefaultSectionSize(std::max(fontMetrics().height(), icon) +
                                            fontMetrics().height() / 2);
    resizeColumnsToContents();
    // A little air between the columns, as large as the font.
    for (int c = 0; c < horizontalHeader()->count(); ++c)
        setColumnWidth(c, columnWidth(c) + fontMetrics().averageCharWidth());
    updateGeometry();
}

#include "teacher/fitted_view.h"

#include <QHeaderView>
#include <QScreen>
#include <QStyle>
#include <algorithm>

FittedView::FittedView(QWidget* parent) : QTableView(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QSize FittedView::sizeHint() const {
    const int frame = 2 * frameWidth();
    int width = horizontalHeader()->length() + frame;
    int height = verticalHeader()->length() + frame;
    if (horizontalHeader()->isVisibleTo(this)) height += horizontalHeader()->sizeHint().height();
    // Taller than the screen: it scrolls, and its bar takes room beside the columns.
    if (const QScreen* shown = screen(); shown && height > shown->availableGeometry().height())
        width += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return {width, height};
}

QSize FittedView::minimumSizeHint() const {
    const int frame = 2 * frameWidth();
    return {std::min(sizeHint().width(), 8 * fontMetrics().averageCharWidth() + frame),
            std::min(sizeHint().height(),
                     horizontalHeader()->sizeHint().height() + 3 * fontMetrics().height() + frame)};
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

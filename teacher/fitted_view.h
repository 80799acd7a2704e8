// A table view as large as its content, as FittedTable is for a table of items: its size hint is
// every column in full and every row (rows of one height, so a hundred thousand cost nothing to
// lay out), with room for the scroll bar where the screen is too low for them.
#pragma once

#include <QTableView>

// A read-only table of whole rows, one chosen at a time, its lines unbroken and no row numbers.
void setUpReadOnlyRows(QTableView& table);
// A table's size with every column and row in full, its headers and frame included.
QSize wholeTableSize(const QTableView& table);
// The least size worth giving it: a few letters and three rows, or less when that is all of it.
QSize leastTableSize(const QTableView& table);

class FittedView : public QTableView {
  public:
    explicit FittedView(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Columns to their contents (as far as the header's precision looks), rows to the font.
    void fitToContents();
};

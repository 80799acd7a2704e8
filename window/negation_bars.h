// Joins the negation bars of barred symbols that stand side by side in the row: "no_x" "no_ili"
// "no_y" in neighbouring slots reads as one bar over x ∨ y, not as three short bars. Each
// picture draws its bar over its own white field only; this overlay, laid over the row above
// the slot outlines, draws the bar across the gap between two such pictures of the same ink.
// It never takes the mouse, so clicks and drops reach the slots beneath.
#pragma once

#include "core/symbols.h"

#include <QWidget>
#include <vector>

class NegationBars : public QWidget {
  public:
    // Laid over slotCount slots that touch, each as wide as the overlay is high.
    NegationBars(int slotCount, QWidget* parent);

    // The pictures of the row, left to right; repaints only when a join changes.
    void setRow(const std::vector<Picture>& pictures);
    // Where bars are joined: gap k lies between slot k and slot k + 1 (k = 1 … slotCount - 1).
    const std::vector<bool>& joinedGaps() const { return joined; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<bool> joined; // index k - 1 for gap k
    std::vector<Picture::Ink> inkOfGap;
};

// True for the pictures whose drawing has a single bar at the joining height; "no_no_x" has two
// bars of its own and stands alone.
bool joinsNegationBar(const Picture& picture);

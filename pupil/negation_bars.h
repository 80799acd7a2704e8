// Joins the negation bars of barred symbols that stand side by side in the row: "no_x" "no_ili"
// "no_y" in neighbouring slots reads as one bar over x ∨ y, not as three short bars. Each
// picture draws its bar over its own white field only; this overlay, laid over the row above
// the slot outlines, draws the bar across the gap between two such pictures of the same ink.
// It never takes the mouse, so clicks and drops reach the slots beneath.
#pragma once

#include "core/form.h"
#include "core/symbols.h"

#include <QWidget>
#include <span>
#include <vector>

class NegationBars : public QWidget {
  public:
    // Laid over slotCount slots that touch, each as wide as the overlay is high.
    NegationBars(int slotCount, QWidget* parent);

    // The pictures of the row, left to right; repaints only when a join changes.
    void setRow(std::span<const Slot> row);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // The ink of the bar across gap k (between slot k and k + 1) at index k - 1; none: no bar.
    std::vector<Picture::Ink> gapInk;
};

// True for the pictures whose drawing has a single bar at the joining height; "no_no_x" has two
// bars of its own and stands alone.
bool joinsNegationBar(const Picture& picture);

// A shape control: a rectangle with a one-pixel border, filled or see-through. It never takes
// the mouse, so drops go to the slots beneath the outlines.
#pragma once

#include <QColor>
#include <QWidget>

class ShapeWidget : public QWidget {
  public:
    ShapeWidget(QColor fill, QWidget* parent); // an invalid fill: transparent inside
    void setLineWidth(int pixels);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor fill;
    int lineWidth = 1;
};

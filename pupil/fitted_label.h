// A label whose one line of text stays whole when the font's line box is taller than the label:
// the question line is 25 pixels high and shows names at 18 points, whose line box is about 31
// pixels. Such a line is drawn with its ink centred in the label instead of hanging from the
// top, so descenders are not cut off. Everything else is drawn as by QLabel.
#pragma once

#include <QLabel>

class FittedLabel : public QLabel {
  public:
    using QLabel::QLabel;

    // The baseline at which a single line is drawn, or -1 when QLabel's own drawing fits.
    qreal fittedBaseline() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

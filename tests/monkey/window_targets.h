// Where the window's controls are, in the window's own pixels, read from the control table the
// window is built from.
#pragma once

#include <QRect>
#include <QString>
#include <vector>

struct Target {
    QString name;
    QRect rect;
};

struct WindowTargets {
    std::vector<Target> palette;    // the drag sources
    std::vector<Target> slotImages; // the drop targets, Image16 … Image34
    std::vector<Target> buttons;
    std::vector<Target> options;
    std::vector<Target> others; // labels, text boxes, portraits, frames, shapes…
    QRect window;               // 643 × 405 at (0, 0)

    static WindowTargets fromControlTable();
    // The control's area; an empty rectangle for a name the table lacks.
    QRect rectOf(const QString& name) const;
};

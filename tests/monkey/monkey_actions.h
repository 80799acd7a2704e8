// The monkey: random clicks, drags and keys, most of them aimed at the window's controls. Each
// action is a few lines of xdotool script; the same seed gives the same actions.
#pragma once

#include "window_targets.h"

#include <QPoint>
#include <QString>
#include <cstdint>
#include <random>

struct Action {
    QString text;   // for the log of the last actions
    QString script; // xdotool commands, one a line
    bool drag = false;
    // A palette symbol dragged onto a slot: which, so that the landing can be looked at.
    QString paletteImage, slotImage;
};

class Monkey {
  public:
    // origin: the window's top-left corner on a screen of the given size.
    Monkey(std::uint32_t seed, const WindowTargets& targets, QPoint origin, QRect screen);
    Action next();

  private:
    int below(int n) { return static_cast<int>(rng() % static_cast<std::uint32_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    const Target& pick(const std::vector<Target>& group) {
        return group[static_cast<std::size_t>(below(static_cast<int>(group.size())))];
    }
    QPoint inside(const QRect& windowArea);
    QPoint around();
    QPoint anywhere();
    QString where(QPoint screenPoint) const;

    Action click(const QString& what, QPoint at, int button = 1, int times = 1);
    Action paletteDrop();
    Action looseDrag();
    Action dragAlong(Action action, QPoint from, const std::vector<QPoint>& waypoints);
    Action key();

    std::mt19937 rng;
    const WindowTargets& targets;
    QPoint origin;
    QRect screen;
};

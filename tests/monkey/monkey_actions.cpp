#include "monkey_actions.h"

namespace {

// Pauses inside a drag, so that the program's nested drag loop gets the moves one by one.
constexpr const char* kStepPause = "0.005";
constexpr const char* kReleasePause = "0.01";
// How far around the window the pointer may stray.
constexpr int kMargin = 40;
// Neighbouring palette images overlap by up to 8 pixels at their blank sides; a press on the
// drawn symbol is sure to pick the image the drop is later compared with.
const QMargins kDrawnPart(8, 3, 8, 4);

QString point(QPoint p) {
    return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
}

QString moveTo(QPoint p) {
    return QStringLiteral("mousemove %1 %2\n").arg(p.x()).arg(p.y());
}

int buttonWeight(const QString& name) {
    // The rules box blocks the window until a key or its button closes it.
    if (name == QLatin1String("Command4")) return 1;
    if (name == QLatin1String("Cmd3_Start")) return 24;
    if (name == QLatin1String("Command1")) return 20;
    return 16;
}

} // namespace

Monkey::Monkey(std::uint32_t seed, const WindowTargets& targets, QPoint origin, QRect screen)
    : rng(seed), targets(targets), origin(origin), screen(screen) {}

QPoint Monkey::inside(const QRect& area) {
    return origin + QPoint(area.left() + below(area.width()), area.top() + below(area.height()));
}

QPoint Monkey::around() {
    const QRect window = targets.window.translated(origin);
    const QRect wide = window.adjusted(-kMargin, -kMargin, kMargin, kMargin).intersected(screen);
    for (;;) {
        const QPoint p(wide.left() + below(wide.width()), wide.top() + below(wide.height()));
        if (!window.contains(p)) return p;
    }
}

QPoint Monkey::anywhere() {
    return chance(85) ? inside(targets.window) : around();
}

QString Monkey::where(QPoint screenPoint) const {
    const QPoint p = screenPoint - origin;
    for (const auto* group :
         {&targets.buttons, &targets.options, &targets.palette, &targets.slotImages})
        for (const Target& target : *group)
            if (target.rect.contains(p)) return target.name;
    return targets.window.contains(p) ? QStringLiteral("window") : QStringLiteral("outside");
}

Action Monkey::click(const QString& what, QPoint at, int button, int times) {
    Action action;
    action.text = QStringLiteral("%1 %2 %3").arg(what, where(at), point(at));
    action.script =
        moveTo(at) +
        (times == 1 ? QStringLiteral("mousedown %1\nmouseup %1\n").arg(button)
                    : QStringLiteral("click --repeat %1 --delay 40 %2\n").arg(times).arg(button));
    return action;
}

// Press, a few moves in small steps through the waypoints, release at the last one.
Action Monkey::dragAlong(Action action, QPoint from, const std::vector<QPoint>& waypoints) {
    action.drag = true;
    action.script = moveTo(from) + QStringLiteral("mousedown 1\n");
    QPoint last = from;
    for (const QPoint& to : waypoints) {
        const int steps = 2 + below(3);
        const QPoint start = last;
        for (int i = 1; i <= steps; ++i) {
            QPoint p = start + (to - start) * i / steps;
            if (i < steps) p += QPoint(below(7) - 3, below(7) - 3);
            action.script +=
                QStringLiteral("sleep %1\n").arg(QLatin1String(kStepPause)) + moveTo(p);
            last = p;
        }
    }
    action.script += QStringLiteral("sleep %1\nmouseup 1\n").arg(QLatin1String(kReleasePause));
    action.text += QStringLiteral(" %1→%2").arg(point(from), point(last));
    return action;
}

Action Monkey::paletteDrop() {
    const Target& source = pick(targets.palette);
    const Target& slot = pick(targets.slotImages);
    std::vector<QPoint> waypoints;
    if (chance(20)) waypoints.push_back(anywhere()); // a detour first
    waypoints.push_back(inside(slot.rect));
    Action action;
    action.text = QStringLiteral("drag %1 to %2").arg(source.name, slot.name);
    action.paletteImage = source.name;
    action.slotImage = slot.name;
    return dragAlong(action, inside(source.rect - kDrawnPart), waypoints);
}

Action Monkey::looseDrag() {
    QPoint from;
    switch (below(4)) {
    case 0:
        from = inside(pick(targets.palette).rect);
        break;
    case 1:
        from = inside(pick(targets.slotImages).rect);
        break;
    default:
        from = anywhere();
    }
    QPoint to;
    if (chance(20))
        to = from + QPoint(below(7) - 3, below(7) - 3); // a shaky click
    else if (chance(30))
        to = inside(pick(chance(50) ? targets.palette : targets.buttons).rect);
    else
        to = anywhere();
    Action action;
    action.text = QStringLiteral("drag %1 to %2").arg(where(from), where(to));
    return dragAlong(action, from, {to});
}

Action Monkey::key() {
    static const char* const keys[] = {"Escape", "Escape", "Escape", "Escape", "Return",
                                       "Return", "space",  "space",  "Tab"};
    const QString name = QLatin1String(keys[below(int(std::size(keys)))]);
    Action action;
    action.text = QStringLiteral("key %1").arg(name);
    action.script = QStringLiteral("key %1\n").arg(name);
    return action;
}

Action Monkey::next() {
    const int r = below(100);
    if (r < 30) return paletteDrop();
    if (r < 38) return looseDrag();
    if (r < 43) return click(QStringLiteral("click"), inside(pick(targets.palette).rect));
    if (r < 48) return click(QStringLiteral("click"), inside(pick(targets.slotImages).rect));
    if (r < 68) {
        int total = 0;
        for (const Target& b : targets.buttons)
            total += buttonWeight(b.name);
        int w = below(total);
        for (const Target& b : targets.buttons) {
            w -= buttonWeight(b.name);
            if (w < 0) return click(QStringLiteral("click"), inside(b.rect));
        }
    }
    if (r < 75) return click(QStringLiteral("click"), inside(pick(targets.options).rect));
    if (r < 84) return click(QStringLiteral("click"), inside(targets.window));
    if (r < 87) return click(QStringLiteral("click"), around());
    if (r < 90) {
        const std::vector<Target>* groups[] = {&targets.buttons, &targets.options, &targets.palette,
                                               &targets.slotImages};
        return click(QStringLiteral("double-click"), inside(pick(*groups[below(4)]).rect), 1, 2);
    }
    // The read-only text boxes open a context menu.
    if (r < 92)
        return click(QStringLiteral("right-click"),
                     chance(50) ? inside(pick(targets.others).rect) : anywhere(), 3);
    return key();
}

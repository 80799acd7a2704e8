#include "window_targets.h"

#include "journal/qt_text.h"
#include "pupil/control_table.h"

#include <map>

namespace {

QRect pixels(int left, int top, int width, int height) {
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

} // namespace

WindowTargets WindowTargets::fromControlTable() {
    WindowTargets t;
    t.window = pixels(0, 0, kClientWidthTwips, kClientHeightTwips);
    std::map<std::string_view, QPoint> containers;
    for (const ControlEntry& c : controlTable())
        if (c.kind == ControlKind::frame)
            containers[c.name] = pixels(c.left, c.top, 0, 0).topLeft();
    for (const ControlEntry& c : controlTable()) {
        QRect rect = pixels(c.left, c.top, c.width, c.height);
        if (!c.container.empty()) rect.translate(containers.at(c.container));
        Target target{qs(c.name), rect};
        if (c.role == ControlRole::paletteSymbol)
            t.palette.push_back(target);
        else if (c.role == ControlRole::slot)
            t.slotImages.push_back(target);
        else if (c.kind == ControlKind::commandButton)
            t.buttons.push_back(target);
        else if (c.kind == ControlKind::optionButton)
            t.options.push_back(target);
        else
            t.others.push_back(target);
    }
    return t;
}

QRect WindowTargets::rectOf(const QString& name) const {
    for (const auto* group : {&palette, &slotImages, &buttons, &options, &others})
        for (const Target& target : *group)
            if (target.name == name) return target.rect;
    return {};
}

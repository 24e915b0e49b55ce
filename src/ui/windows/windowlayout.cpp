#include "ui/windows/windowlayout.h"

#include <QWidget>

namespace tafelbau {

LayoutRules::Outcome applyLayoutRules(const LayoutRules &rules, int window, QSize size,
                                      const std::map<int, QWidget *> &gadgets)
{
    std::map<int, LayoutRules::Rect> current;
    for (const auto &[number, widget] : gadgets) {
        const QRect g = widget->geometry();
        current[number] = {g.x(), g.y(), g.width(), g.height()};
    }
    const LayoutRules::Outcome out = rules.applyLayout(window, size.width(), size.height(), current);
    for (const auto &[number, r] : out.gadgets)
        if (const auto it = gadgets.find(number); it != gadgets.end())
            it->second->setGeometry(r.x, r.y, r.width, r.height);
    return out;
}

} // namespace tafelbau

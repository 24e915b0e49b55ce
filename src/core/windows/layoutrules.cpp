#include "core/windows/layoutrules.h"

namespace tafelbau {

void LayoutRules::setLayoutRule(int window, int gadget, std::optional<int> x, std::optional<int> y,
                                std::optional<int> width, std::optional<int> height)
{
    m_rules[{window, gadget}] = Rule{x, y, width, height};
}

void LayoutRules::anchorGadget(std::string_view anchors, int window, int gadget, int x, int y, int width, int height)
{
    if (anchors.empty())
        return;
    auto keep = [&](char letter, int value) -> std::optional<int> {
        return anchors.find(letter) != std::string_view::npos ? std::optional<int>(value) : std::nullopt;
    };
    setLayoutRule(window, gadget, keep('L', x), keep('O', y), keep('R', width), keep('U', height));
}

const LayoutRules::Rule *LayoutRules::rule(int window, int gadget) const
{
    const auto it = m_rules.find({window, gadget});
    return it == m_rules.end() ? nullptr : &it->second;
}

LayoutRules::Outcome LayoutRules::applyLayout(int window, int innerWidth, int innerHeight,
                                              const std::map<int, Rect> &current) const
{
    Outcome out;
    const Rule *whole = rule(window, kWholeWindow);
    if (!whole)
        return out;
    out.hasRule = true;
    int dw = innerWidth - whole->width.value_or(innerWidth);
    int dh = innerHeight - whole->height.value_or(innerHeight);
    out.disableInput = dw < -5 || dh < -5;
    out.width = innerWidth;
    out.height = innerHeight;
    if (dw < 0) {
        out.width = innerWidth - dw;
        dw = 0;
    }
    if (dh < 0) {
        out.height = innerHeight - dh;
        dh = 0;
    }
    for (const auto &[key, r] : m_rules) {
        if (key.first != window || key.second == kWholeWindow)
            continue;
        const auto now = current.find(key.second);
        Rect g = now != current.end() ? now->second : Rect{};
        if (r.x)
            g.x = *r.x + dw;
        if (r.y)
            g.y = *r.y + dh;
        if (r.width)
            g.width = *r.width + dw;
        if (r.height)
            g.height = *r.height + dh;
        out.gadgets[key.second] = g;
    }
    return out;
}

} // namespace tafelbau

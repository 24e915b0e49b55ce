#pragma once

#include <map>
#include <optional>
#include <string_view>

namespace tafelbau {

/// Lets a window grow: gadgets anchored to its right or bottom edge follow
/// its size, and the size it was made with is its minimum.
class LayoutRules
{
public:
    static constexpr int kWholeWindow = -1;

    struct Rect
    {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        bool operator==(const Rect &) const = default;
    };

    struct Rule
    {
        std::optional<int> x, y, width, height;
    };

    void setLayoutRule(int window, int gadget, std::optional<int> x, std::optional<int> y, std::optional<int> width,
                       std::optional<int> height);
    /// "L" keeps x, "O" y, "R" the width, "U" the height; an empty text adds
    /// no rule.
    void anchorGadget(std::string_view anchors, int window, int gadget, int x, int y, int width, int height);

    /// What the window's size is to become and where its gadgets go.
    struct Outcome
    {
        bool hasRule = false;
        bool disableInput = false; ///< shrunk by more than 5 pixels
        int width = 0;             ///< the inner size, raised to the minimum
        int height = 0;
        std::map<int, Rect> gadgets; ///< new geometry per anchored gadget
    };
    /// `current` tells the gadgets' present geometry, for values a rule
    /// leaves alone.
    Outcome applyLayout(int window, int innerWidth, int innerHeight, const std::map<int, Rect> &current) const;

    const Rule *rule(int window, int gadget) const;

private:
    std::map<std::pair<int, int>, Rule> m_rules;
};

} // namespace tafelbau

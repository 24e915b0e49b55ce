#pragma once

#include "core/canvas/mousedrag.h"

#include <cstdint>

namespace tafelbau {

/// How far a scrolled view can still go each way, in pixels (none below 0).
struct ScrollRoom
{
    std::int32_t left = 0;
    std::int32_t up = 0;
    std::int32_t right = 0;
    std::int32_t down = 0;
};

/// One tick of scrolling: negative is left or up.
struct ScrollStep
{
    std::int32_t dx = 0;
    std::int32_t dy = 0;

    bool isNull() const noexcept { return dx == 0 && dy == 0; }
    bool operator==(const ScrollStep &) const = default;
};

/// A drag held this close to an edge of the view, or beyond it, scrolls.
inline constexpr std::int32_t kAutoScrollMargin = 16;
/// The most one tick scrolls along either axis, however far out the mouse is.
inline constexpr std::int32_t kAutoScrollMaxStep = 60;

/// The step for the mouse at `mouse`, in the coordinates of a view of
/// `width` x `height` pixels: toward each edge the mouse is within `margin`
/// of or past, the faster the further out, never more than `room` allows.
/// A view too small for two margins uses a quarter of its size instead, so
/// that its middle stays still.
ScrollStep autoScrollStep(CardPoint mouse, std::int32_t width, std::int32_t height, std::int32_t margin,
                          const ScrollRoom &room) noexcept;

} // namespace tafelbau

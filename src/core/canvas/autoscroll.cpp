#include "core/canvas/autoscroll.h"

#include <algorithm>

namespace tafelbau {

namespace {

// Along one axis; `depth` is counted from the inner line of the margin, so
// the first pixel inside it already scrolls by one.
std::int32_t axisStep(std::int32_t pos, std::int32_t extent, std::int32_t margin, std::int32_t roomBack,
                      std::int32_t roomForward) noexcept
{
    if (extent <= 0)
        return 0;
    const std::int64_t m = std::clamp(margin, 0, extent / 4);
    std::int64_t depth = 0;
    std::int32_t room = 0;
    int sign = 1;
    if (pos < m) {
        depth = m - pos;
        room = roomBack;
        sign = -1;
    } else if (pos >= extent - m) {
        depth = std::int64_t{pos} - (extent - m) + 1;
        room = roomForward;
    } else {
        return 0;
    }
    // A quarter of the depth: slow enough to stop on a pixel near the edge,
    // quick enough to cross a big card with the mouse a hand's width out.
    const std::int64_t speed = std::min<std::int64_t>(1 + (depth - 1) / 4, kAutoScrollMaxStep);
    return sign * static_cast<std::int32_t>(std::min<std::int64_t>(speed, std::max(room, 0)));
}

} // namespace

ScrollStep autoScrollStep(CardPoint mouse, std::int32_t width, std::int32_t height, std::int32_t margin,
                          const ScrollRoom &room) noexcept
{
    return {axisStep(mouse.x, width, margin, room.left, room.right),
            axisStep(mouse.y, height, margin, room.up, room.down)};
}

} // namespace tafelbau

#include "core/canvas/autoscroll.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tafelbau;

namespace {
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr ScrollRoom kRoom{1000, 1000, 1000, 1000};
} // namespace

// A view of 500 x 400 with the margin of 16: the step grows from 1 at the
// margin's inner line to the most at a far distance, toward the edge the
// mouse is at, and stops where the view cannot go further.
TEST(AutoScrollStep, TowardTheEdgeFasterTheFurtherOutWithinTheRoomLeft)
{
    const struct
    {
        CardPoint mouse;
        ScrollRoom room;
        ScrollStep step;
    } cases[] = {
        {{250, 200}, kRoom, {0, 0}},                 // the middle
        {{16, 383}, kRoom, {0, 0}},                  // just short of both margins
        {{15, 200}, kRoom, {-1, 0}},                 // the margin's first pixel
        {{0, 200}, kRoom, {-4, 0}},                  // the edge itself
        {{484, 200}, kRoom, {1, 0}},                 // the right margin's first pixel
        {{499, 200}, kRoom, {4, 0}},                 // the last pixel of the view
        {{250, 499}, kRoom, {0, 29}},                // 100 below the view
        {{-1000, -1000}, kRoom, {-60, -60}},         // far out in a corner: at most 60
        {{kMax, kMin}, kRoom, {60, -60}},            // no overflow at the ends of 32 bits
        {{250, 499}, {1000, 1000, 1000, 3}, {0, 3}}, // nearly at the bottom
        {{0, 0}, {0, 0, 1000, 1000}, {0, 0}},        // at the top-left limit
        {{-50, 200}, {-7, 0, 1000, 1000}, {0, 0}},   // a room below 0 counts as none
    };
    for (const auto &c : cases) {
        EXPECT_EQ(autoScrollStep(c.mouse, 500, 400, kAutoScrollMargin, c.room), c.step)
            << c.mouse.x << ", " << c.mouse.y;
    }
}

// A view narrower than two margins keeps a still middle; an empty one never
// scrolls.
TEST(AutoScrollStep, SmallViewsKeepAStillMiddle)
{
    EXPECT_EQ(autoScrollStep({20, 20}, 40, 40, kAutoScrollMargin, kRoom), (ScrollStep{0, 0}));
    EXPECT_EQ(autoScrollStep({0, 39}, 40, 40, kAutoScrollMargin, kRoom), (ScrollStep{-3, 3}));
    EXPECT_EQ(autoScrollStep({-100, -100}, 0, 0, kAutoScrollMargin, kRoom), (ScrollStep{0, 0}));
}

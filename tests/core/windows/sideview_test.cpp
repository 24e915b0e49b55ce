#include "core/windows/sideview.h"

#include <gtest/gtest.h>

using namespace tafelbau;

TEST(SideView, TakesWhatItWantsWithinBothMinimums)
{
    // area, main minimum, side minimum, separator, wanted, width
    const int cases[][6] = {
        {770, 160, 240, 6, 385, 385},  // room for it
        {770, 160, 240, 6, 700, 604},  // the main part keeps its minimum
        {770, 160, 240, 6, 100, 240},  // never below the side's own
        {570, 160, 240, 6, 480, 404},  // the smallest window
        {300, 160, 240, 6, 480, 240},  // no room for both: the side view wins
        {770, 160, 240, 6, 604, 604},  // exactly what is left
        {770, 160, 240, 6, 605, 604},
        {770, 0, 0, 0, 0, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(sideViewWidth({c[0], c[1], c[2], c[3]}, c[4]), c[5]) << c[0] << " wanted " << c[4];
}

TEST(SideView, FirstWidthIsHalfTheAreaWithinBounds)
{
    EXPECT_EQ(firstSideViewWidth(770, 240, 480), 385);
    EXPECT_EQ(firstSideViewWidth(1400, 240, 480), 480);
    EXPECT_EQ(firstSideViewWidth(300, 240, 480), 240);
    EXPECT_EQ(firstSideViewWidth(481, 240, 480), 240);
    EXPECT_EQ(firstSideViewWidth(962, 240, 480), 480);
    EXPECT_EQ(firstSideViewWidth(500, 240, 100), 240); // a maximum below the minimum
}

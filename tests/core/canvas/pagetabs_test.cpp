#include "core/canvas/pagetabs.h"

#include "core/dialoglist.h"

#include <gtest/gtest.h>

using namespace tafelbau;

// Panel at 10,10, 300 x 200; tabs 20 high, 10 pixels per letter.
TEST(PageTabs, AClickOnATabFindsItsPage)
{
    GdtList list = dialoglist::listOf("W:Win@0 P:Tabs@0 G:One@1>Tabs B:In@1 G:Two@2>Tabs C:End@0 X:Combo@0 "
                                      "G:Item@0>Combo");
    list.records()[2].text = "Person";   // 60 wide: 10 .. 69
    list.records()[4].text = "Kontakt";  // 70 wide: 70 .. 139
    const auto width = [](const std::string &caption) { return static_cast<std::int32_t>(caption.size() * 10); };
    const struct
    {
        CardPoint p;
        std::int32_t card;
        int page;
    } cases[] = {
        {{10, 10}, 0, 2},  {{69, 29}, 0, 2},  {{70, 10}, 0, 4},  {{139, 20}, 0, 4},
        {{140, 20}, 0, -1}, // right of the last tab
        {{70, 30}, 0, -1},  // below the tabs: the panel
        {{9, 15}, 0, -1},   {{70, 10}, 1, -1}, // the panel is not on card 1
    };
    for (const auto &c : cases)
        EXPECT_EQ(pageTabAt(list, c.card, c.p, 20, width), c.page) << c.p.x << "," << c.p.y << "@" << c.card;

    list.records()[1].xd = 100; // the second tab starts at 70 and is cut at 109
    EXPECT_EQ(pageTabAt(list, 0, {109, 10}, 20, width), 4);
    EXPECT_EQ(pageTabAt(list, 0, {110, 10}, 20, width), -1);
}

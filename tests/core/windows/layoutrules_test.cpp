#include "core/document/listviews.h"
#include "core/windows/layoutrules.h"

#include <gtest/gtest.h>

using namespace tafelbau;

TEST(LayoutRules, AnchoredGadgetsFollowAndTheWindowHasAMinimum)
{
    LayoutRules rules;
    rules.setLayoutRule(1, LayoutRules::kWholeWindow, 10, 10, 800, 575);
    rules.anchorGadget("", 1, 7, 0, 30, 220, 20);
    rules.anchorGadget("U", 1, 9, 0, 330, 220, 225);
    rules.anchorGadget("RU", 1, 12, 225, 30, 570, 525);
    EXPECT_EQ(rules.rule(1, 7), nullptr);
    const std::map<int, LayoutRules::Rect> now = {{9, {0, 330, 220, 225}}, {12, {225, 30, 570, 525}}};

    auto grown = rules.applyLayout(1, 1000, 700, now);
    EXPECT_EQ(grown.gadgets.at(9), (LayoutRules::Rect{0, 330, 220, 350}));
    EXPECT_EQ(grown.gadgets.at(12), (LayoutRules::Rect{225, 30, 770, 650}));
    EXPECT_FALSE(grown.disableInput);

    auto shrunk = rules.applyLayout(1, 790, 560, now);
    EXPECT_EQ(shrunk.width, 800);
    EXPECT_EQ(shrunk.height, 575);
    EXPECT_TRUE(shrunk.disableInput);
    EXPECT_EQ(shrunk.gadgets.at(12), (LayoutRules::Rect{225, 30, 570, 525}));
    EXPECT_FALSE(rules.applyLayout(2, 10, 10, now).hasRule);
}

TEST(ListViews, RowsTitleAndScrolling)
{
    GadgetRecord r;
    r.varId = "Ok";
    r.tab = 2;
    EXPECT_EQ(gadgetRowText(r), "    Ok");
    r.tab = -3;
    EXPECT_EQ(gadgetRowText(r), "Ok");
    r.xy0 = 5, r.pname[0] = "Min", r.p[0] = "3", r.x = -4;
    const auto rows = propertyRows(r);
    ASSERT_EQ(rows.size(), 22u);
    EXPECT_EQ(rows[4], (std::pair<std::string, std::string>{"X", "-4"}));
    EXPECT_EQ(rows[6], (std::pair<std::string, std::string>{"Ignore XY", "1"}));
    EXPECT_EQ(rows[12], (std::pair<std::string, std::string>{"Min", "3"}));

    EXPECT_EQ(windowTitle("/a/b/dlg.tbf", true), " Tafelbau 0.583 - dlg.tbf *");
    // A new list: no dash left hanging where the name would go.
    EXPECT_EQ(windowTitle("", false), " Tafelbau 0.583");
    EXPECT_EQ(windowTitle("", true), " Tafelbau 0.583 *");
    EXPECT_EQ(windowTitle("dlg.tbf", false), " Tafelbau 0.583 - dlg.tbf");
    // Near the end the last row, so that the last selected one is never left
    // out of view.
    EXPECT_EQ(scrollTargetRow(6, 10), 8);
    EXPECT_EQ(scrollTargetRow(8, 10), 9);
    EXPECT_EQ(scrollTargetRow(9, 10), 9);
    EXPECT_EQ(scrollTargetRow(0, 0), -1);
}

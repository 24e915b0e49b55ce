#include "core/canvas/carddrawing.h"

#include "core/dialoglist.h"

#include <gtest/gtest.h>

using namespace tafelbau;

namespace {

GdtList listOf(std::initializer_list<GadgetRecord> records)
{
    GdtList list;
    for (const GadgetRecord &r : records)
        list.append(r);
    return list;
}

GadgetRecord rec(const char *id, int card, int x, int y, int xd, int yd, bool xy0 = false, bool selected = false,
                 bool hidden = false)
{
    GadgetRecord r;
    r.varId = id, r.text = id, r.card = card, r.x = x, r.y = y, r.xd = xd, r.yd = yd, r.xy0 = xy0 ? 1 : 0;
    r.selected = selected, r.dontshow = hidden ? 1 : 0, r.color = 100;
    return r;
}

} // namespace

TEST(CardDrawing, PaintOrderColoursAndPlaces)
{
    const GdtList list = listOf({rec("Win", 0, 50, 60, 400, 300, true), rec("Sel", 0, 10, 10, 80, 20, false, true),
                                 rec("Btn", 0, 5, 5, 80, 20), rec("Other", 1, 0, 0, 9, 9),
                                 rec("Hidden", 0, 0, 0, 9, 9, false, false, true)});
    const auto items = cardItems(list, 0, kColourResize);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, "Win");
    EXPECT_EQ(items[0].x, 0); // drawn at 0,0, though its code keeps 50,60
    EXPECT_EQ(items[0].frameColour, 100u);
    EXPECT_EQ(items[1].text, "Btn");
    EXPECT_EQ(items[2].text, "Sel"); // selected ones last, on top
    EXPECT_EQ(items[2].frameColour, kColourResize);
}

TEST(CardDrawing, ShownCardFollowsTheFirstSelectedRecord)
{
    GdtList list = listOf({rec("A", 0, 0, 0, 1, 1), rec("B", 3, 0, 0, 1, 1, false, true, true)});
    EXPECT_EQ(cardToShow(list, 7), 3); // a hidden selected record still picks its card
    list.records()[1].selected = false;
    EXPECT_EQ(cardToShow(list, 7), 7);
}

TEST(CardDrawing, ClickHits)
{
    const GdtList list =
        listOf({rec("Win", 0, 0, 0, 400, 300, true), rec("Btn", 0, 10, 10, 80, 20), rec("Over", 0, 50, 25, 80, 20),
                rec("Hidden", 0, 200, 200, 5, 5, false, false, true), rec("Card1", 1, 0, 0, 1000, 1000)});
    // x, y, the hit: right and bottom borders are inclusive, beyond them only
    // the window-like one is hit, later wins over earlier, hidden gadgets count
    const int cases[][3] = {{90, 12, 1}, {10, 30, 1}, {91, 12, 0}, {60, 28, 2}, {202, 202, 3}, {500, 500, -1}};
    for (const auto &[x, y, expected] : cases)
        EXPECT_EQ(gadgetAtPoint(list, 0, x, y), expected) << x << "," << y;
    GdtList huge = listOf({rec("Far", 0, 2147483000, 0, 2147483000, 10)});
    EXPECT_EQ(gadgetAtPoint(huge, 0, 2147483600, 5), 0); // no overflow of x + xd
}

TEST(CardDrawing, ChooserEntriesAndNextFreeCard)
{
    const GdtList list = listOf({rec("a", 0, 0, 0, 1, 1), rec("b", 0, 0, 0, 1, 1), rec("c", 1, 0, 0, 1, 1),
                                 rec("d", 0, 0, 0, 1, 1), rec("e", 3, 0, 0, 1, 1)});
    EXPECT_EQ(cardChooserEntries(list), (std::vector<std::string>{"a", "c", "d", "e"}));
    EXPECT_EQ(nextFreeCardLabel(list), "N\344chste freie Karte: 2");
    EXPECT_EQ(nextFreeCardLabel(GdtList{}), "N\344chste freie Karte: 0");
    EXPECT_EQ(cardChooserEntries(listOf({rec("neg", -1, 0, 0, 1, 1), rec("z", 0, 0, 0, 1, 1)})),
              (std::vector<std::string>{"z"})); // a first run on card -1 opens no entry
}

// An entry of a combo box is drawn in it by the real-gadget drawing; the
// frame drawing shows no 290 x 175 page for it, and a click goes through
// it to the window. A page stays a page.
TEST(CardDrawing, EntriesAreNoFramesOfTheirOwn)
{
    GdtList list = dialoglist::listOf("W:Win@0 X:Combo@0 G:Rot@0>Combo P:Tabs@0 G:One@0>Tabs C:End@0");
    list.records()[2].xd = 290; // as the pool adds it: at 0,0, 290 x 175
    list.records()[2].yd = 175;
    std::vector<std::string> drawn;
    for (const CardItem &item : cardItems(list, 0, kColourMove))
        drawn.push_back(list.records()[static_cast<std::size_t>(item.record)].varId);
    EXPECT_EQ(drawn, (std::vector<std::string>{"Win", "Combo", "Tabs", "One"}));
    EXPECT_EQ(gadgetAtPoint(list, 0, 5, 100), 4); // the page over the window
    list.records()[4].card = 1;
    EXPECT_EQ(gadgetAtPoint(list, 0, 5, 100), 0); // the window, not the entry after it
    EXPECT_FALSE(entriesOnCard(list, 1).empty());
    EXPECT_TRUE(entriesOnCard(dialoglist::listOf("W:Win@0 B:Ok@0"), 0).empty());
}

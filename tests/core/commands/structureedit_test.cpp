// List commands that keep cards and code in step: paste, Hoch/Runter,
// adding, new pages, pages following their panel, renames with their
// references.
#include "core/commands/structureedit.h"

#include "core/commands/addgadget.h"
#include "core/commands/listedit.h"
#include "core/commands/valueedit.h"
#include "core/dialoglist.h"

#include <gtest/gtest.h>

using namespace tafelbau;
using dialoglist::cardsOf;
using dialoglist::listOf;

namespace {

constexpr char kTwoPages[] = "W:Win@0 P:Tabs@0 G:One@1>Tabs T:Name@1 G:Two@2>Tabs T:Phone@2 C:End@0 B:Ok@0";

CopyBuffer bufferOf(const char *shape)
{
    CopyBuffer b;
    const GdtList list = listOf(shape);
    for (GadgetRecord r : list.records()) {
        r.lvid = 0;
        b.records.push_back(std::move(r));
    }
    return b;
}

GdtPool poolWithPages()
{
    GdtPool pool;
    PoolEntry button;
    button.name = "ButtonGadget";
    button.code = "ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\")";
    PoolEntry item;
    item.name = "AddGadgetItem";
    item.code = "AddGadgetItem(#[p2], -1, \"[text]\")";
    item.xy0 = 1;
    item.color = 65535;
    item.p[2] = "Panel (VarID ohne #)";
    pool.entries = {item, button};
    return pool;
}

} // namespace

TEST(StructureEdit, PasteGoesOntoTheShownCardWhereTheCodeCreatesIt)
{
    const struct
    {
        const char *name;
        const char *list;
        const char *buffer;
        std::int32_t shown;
        const char *expected;
    } cases[] = {
        {"a gadget of page 2 pasted while page 1 is shown, with a page-1 gadget selected",
         "W:Win@0 P:Tabs@0 G:One@1>Tabs T:Name@1* G:Two@2>Tabs T:Phone@2 C:End@0 B:Ok@0", "T:Phone@2", 1,
         "Win@0 Tabs@0 One@1 Name@1 Phone1@1 Two@2 Phone@2 End@0 Ok@0"},
        {"the window shown: after its last record, past the panel",
         "W:Win@0 P:Tabs@0 G:One@1>Tabs T:Name@1* C:End@0 B:Ok@0", "T:Phone@2", 0,
         "Win@0 Tabs@0 One@1 Name@1 End@0 Ok@0 Phone@0"},
        {"a panel with its page: the page gets a free card, its gadgets with it",
         "W:Win@0* B:Ok@0 W:Two@1", "P:Tabs@5 G:One@6>Tabs T:Name@6 C:End@5", 0,
         "Win@0 Ok@0 Tabs@0 One@2 Name@2 End@0 Two@1"},
        {"a card nobody heads: after the selected record, as it was", "B:A@0* B:B@0 B:C@0", "B:X@4", 0,
         "A@0 X@4 B@0 C@0"},
        {"a whole window goes to the end on a card of its own", "W:Win@0* B:Ok@0", "W:Other@0 B:Go@0", 0,
         "Win@0 Ok@0 Other@1 Go@1"},
        {"a container with its gadget: both onto the shown card, no card of their own",
         "W:Win@0* B:Ok@0", "K:Box@3 B:In@3 C:End@3", 0, "Win@0 Ok@0 Box@0 In@0 End@0"},
    };
    for (const auto &c : cases) {
        GdtList list = listOf(c.list);
        const CopyBuffer buffer = bufferOf(c.buffer);
        const EditOutcome out = pasteGadgets(list, buffer, c.shown);
        EXPECT_EQ(cardsOf(list), c.expected) << c.name;
        EXPECT_EQ(out.mark, ChangeMark::Set) << c.name;
    }
}

TEST(StructureEdit, PastedPagesNameTheirPastedPanel)
{
    GdtList list = listOf("W:Win@0* P:Tabs@0 G:One@1>Tabs C:End@0");
    pasteGadgets(list, bufferOf("P:Tabs@0 G:One@1>Tabs S:Split@1 C:End@0"), 0);
    const auto &r = list.records();
    ASSERT_EQ(list.size(), 8);
    EXPECT_EQ(r[5].varId, "One1");
    EXPECT_EQ(r[5].p[0], "Tabs1");
    EXPECT_EQ(r[2].p[0], "Tabs"); // the original keeps its panel
}

TEST(StructureEdit, MovedAndAddedRecordsTakeTheirNewParentsCard)
{
    const struct
    {
        const char *name;
        const char *list;
        int direction;
        const char *expected;
    } cases[] = {
        {"Hoch on OK below CloseGadgetList puts it on page 2",
         "W:Win@0 P:Tabs@0 G:One@1>Tabs T:Name@1 G:Two@2>Tabs T:Phone@2 C:End@0 B:Ok@0*", -1,
         "Win@0 Tabs@0 One@1 Name@1 Two@2 Phone@2 Ok@2 End@0"},
        {"Runter on the first gadget of page 2 keeps it there",
         "W:Win@0 P:Tabs@0 G:One@1>Tabs G:Two@2>Tabs T:Phone@2* T:Mail@2 C:End@0", +1,
         "Win@0 Tabs@0 One@1 Two@2 Mail@2 Phone@2 End@0"},
        {"Hoch over a page boundary moves it to page 1",
         "W:Win@0 P:Tabs@0 G:One@1>Tabs G:Two@2>Tabs T:Phone@2* C:End@0", -1,
         "Win@0 Tabs@0 One@1 Phone@1 Two@2 End@0"},
        {"Runter past CloseGadgetList puts it back on the window",
         "W:Win@0 P:Tabs@0 G:One@1>Tabs T:Name@1* C:End@0 B:Ok@0", +1,
         "Win@0 Tabs@0 One@1 End@0 Name@0 Ok@0"},
    };
    for (const auto &c : cases) {
        GdtList list = listOf(c.list);
        moveSelectedGadgets(list, c.direction);
        EXPECT_EQ(cardsOf(list), c.expected) << c.name;
    }

    // Added after a CloseGadgetList someone put on page 2: onto the window.
    GdtList list = listOf("W:Win@0 P:Tabs@0 G:One@1>Tabs C:End@1* B:Ok@0");
    NewGadgetPosition position;
    addGadgetFromPool(list, poolWithPages(), "ButtonGadget", position);
    EXPECT_EQ(cardsOf(list), "Win@0 Tabs@0 One@1 End@1 ButtonGadget1@0 Ok@0");
}

TEST(StructureEdit, NewPageAfterTheLastPageOnAFreeCard)
{
    const GdtPool pool = poolWithPages();
    for (std::size_t selected : {1u, 2u, 4u}) { // the panel, its first page, its last page
        GdtList list = listOf(kTwoPages);
        list.records()[selected].selected = true;
        list.records()[1].xd = 400; // panel 400 x 200
        const EditOutcome out = addPage(list, pool);
        EXPECT_EQ(cardsOf(list), "Win@0 Tabs@0 One@1 Name@1 Two@2 Phone@2 AddGadgetItem1@3 End@0 Ok@0") << selected;
        const GadgetRecord &page = list.records()[6];
        EXPECT_EQ(page.p[2], "Tabs");
        EXPECT_EQ(page.text, "Seite 3");
        EXPECT_EQ(page.xd, 400 - 4);
        EXPECT_EQ(page.yd, 200 - 22 - 4);
        EXPECT_EQ(page.tab, 1);
        EXPECT_EQ(page.color, 65535u);
        EXPECT_TRUE(page.selected);
        EXPECT_FALSE(list.records()[selected].selected);
        EXPECT_EQ(out.current, 6);
    }
    GdtList none = listOf("W:Win@0 P:Tabs@0* B:Ok@0");
    addPage(none, pool);
    EXPECT_EQ(cardsOf(none), "Win@0 Tabs@0 AddGadgetItem1@1 Ok@0");
    GdtList button = listOf(kTwoPages);
    button.records()[7].selected = true;
    EXPECT_FALSE(addPage(button, pool).views.any());
    EXPECT_EQ(button.size(), 8);
}

TEST(StructureEdit, PagesFollowTheirPanelsSize)
{
    GdtList list = listOf(kTwoPages);
    list.records()[1].xd = 500;
    list.records()[1].yd = 100;
    EXPECT_EQ(fitPagesToPanels(list, {1}), (std::vector<int>{2, 4}));
    EXPECT_EQ(list.records()[4].xd, 496);
    EXPECT_EQ(list.records()[4].yd, 74);
    EXPECT_TRUE(fitPagesToPanels(list, {1}).empty());
    EXPECT_TRUE(fitPagesToPanels(list, {7}).empty()); // not a panel
}

TEST(StructureEdit, RenamesTakeTheirReferencesAlong)
{
    GdtList list = listOf(kTwoPages);
    list.records()[1].selected = true;
    const EditOutcome out = editPropertyRow(list, RowVarId, "Karten", "");
    EXPECT_TRUE(out.views.rebuildList);
    EXPECT_EQ(list.records()[2].p[0], "Karten");
    EXPECT_EQ(list.records()[4].p[0], "Karten");

    // Two renamed at once, one into the other's old name: each reference once.
    GdtList two = listOf("W:Win@0 P:A@0* P:xA@0* G:One@1>A G:Two@2>xA B:Keep@0");
    replaceVarIds(two, "x", "", "");
    EXPECT_EQ(two.records()[1].varId, "xA");
    EXPECT_EQ(two.records()[3].p[0], "xA");
    EXPECT_EQ(two.records()[4].p[0], "xxA");
    replaceVarIds(two, "", "Keep", "Nope"); // not selected: nothing renamed
    EXPECT_EQ(two.records()[4].p[0], "xxA");
}

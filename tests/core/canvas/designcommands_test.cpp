// Select all, duplicate, front and back, and dropping a gadget from the pool.
#include "core/canvas/designcommands.h"

#include "core/commands/valueedit.h"
#include "core/dialoglist.h"

#include <gtest/gtest.h>

#include <array>

using namespace tafelbau;

namespace {

std::string ids(const GdtList &list, bool onlySelected = false)
{
    std::string out;
    for (const GadgetRecord &r : list.records()) {
        if (onlySelected && !r.selected)
            continue;
        if (!out.empty())
            out += ' ';
        out += r.varId;
    }
    return out;
}

} // namespace

TEST(SelectAllOnCard, TakesWhatIsDrawnOnThatCardOnly)
{
    GdtList list = dialoglist::listOf("W:Win@0 B:Ok@0 Y:Code@0 B:Other@1* T:Label@0");
    const EditOutcome out = selectAllOnCard(list, 0);
    EXPECT_EQ(ids(list, true), "Win Ok Label");
    EXPECT_EQ(out.mark, ChangeMark::Keep);
    EXPECT_TRUE(out.views.canvas);
    EXPECT_EQ(out.current, 0);
}

TEST(Duplicate, CopiesGoAfterTheLastSelectedOneRasterStepAway)
{
    GdtList list = dialoglist::listOf("W:Win@0 B:Ok@0* B:Back@0 T:Name@0* B:Last@0");
    list.records()[3].x = -2;
    const EditOutcome out = duplicateSelectedGadgets(list, 5);
    EXPECT_EQ(ids(list), "Win Ok Back Name Ok1 Name1 Last");
    EXPECT_EQ(ids(list, true), "Ok1 Name1");
    EXPECT_EQ(out.mark, ChangeMark::Set);
    const GadgetRecord &ok1 = list.records()[4];
    EXPECT_EQ(std::make_pair(ok1.x, ok1.y), std::make_pair(15, 15));
    EXPECT_EQ(list.records()[5].x, 3);
    EXPECT_EQ(list.records()[1].x, 10); // the originals stay

    GdtList none = dialoglist::listOf("W:Win@0 B:Ok@0");
    EXPECT_EQ(duplicateSelectedGadgets(none, 5).mark, ChangeMark::Keep);
    EXPECT_EQ(none.size(), 2);
}

TEST(Duplicate, WithACardShownCopiesGoWherePastingPutsThem)
{
    // After the last record of the page or window shown, never into the
    // gadget list of another page or a container that follows the original.
    const struct
    {
        const char *shape;
        std::int32_t card;
        const char *order;
    } cases[] = {
        {"W:Win@0 P:Tabs@0 G:One@1>Tabs B:A@1* B:B@1 G:Two@2>Tabs B:C@2 C:End@0", 1,
         "Win Tabs One A B A1 Two C End"},
        {"W:Win@0 B:Ok@0* K:Box@0 B:In@1 C:E@0 B:Last@0", 0, "Win Ok Box In E Last Ok1"},
    };
    for (const auto &c : cases) {
        GdtList list = dialoglist::listOf(c.shape);
        const EditOutcome out = duplicateSelectedGadgets(list, 5, c.card);
        EXPECT_EQ(ids(list), c.order) << c.shape;
        const GadgetRecord &copy = list.records()[static_cast<std::size_t>(out.current)];
        EXPECT_TRUE(copy.selected);
        EXPECT_EQ((std::array{copy.card, copy.x, copy.y}), (std::array{c.card, 15, 15})) << c.shape;
        EXPECT_EQ(out.mark, ChangeMark::Set);
    }
}

TEST(Restack, MovesGadgetsWithinTheirOwnGadgetList)
{
    const struct
    {
        const char *name;
        const char *shape;
        StackMove move;
        const char *expected; ///< "" for no change
    } cases[] = {
        {"to the front of the window", "W:Win@0 B:A@0* B:B@0 B:C@0", StackMove::ToFront, "Win B C A"},
        {"to the back of the window", "W:Win@0 B:A@0 B:B@0 B:C@0*", StackMove::ToBack, "Win C A B"},
        {"two keep their order", "W:Win@0 B:A@0* B:B@0* B:C@0", StackMove::ToFront, "Win C A B"},
        {"on a page: before the next page",
         "W:Win@0 P:Tabs@0 G:One@1>Tabs B:A@1* B:B@1 G:Two@2>Tabs B:C@2 C:End@0 B:Ok@0", StackMove::ToFront,
         "Win Tabs One B A Two C End Ok"},
        {"on a page: right after the page", "W:Win@0 P:Tabs@0 G:One@1>Tabs B:A@1 B:B@1* G:Two@2>Tabs C:End@0",
         StackMove::ToBack, "Win Tabs One B A Two End"},
        {"items go along", "W:Win@0 X:Combo@0* G:First@0>Combo B:Ok@0", StackMove::ToFront, "Win Ok Combo First"},
        {"past a container of the same list", "W:Win@0 B:A@0* K:Box@0 B:In@1 C:E@0 B:Ok@0", StackMove::ToFront,
         "Win Box In E Ok A"},
        {"at the front already", "W:Win@0 B:A@0 B:B@0*", StackMove::ToFront, ""},
        {"at the back already", "W:Win@0 B:A@0* B:B@0", StackMove::ToBack, ""},
        {"windows, containers and pages stay", "W:Win@0* K:Box@0* B:In@1 C:E@0 B:Ok@0", StackMove::ToFront, ""},
        {"not into a container left open", "W:Win@0 B:A@0* K:Box@0 B:In@1", StackMove::ToFront, ""},
        {"nothing selected", "W:Win@0 B:A@0 B:B@0", StackMove::ToBack, ""},
    };
    for (const auto &c : cases) {
        GdtList list = dialoglist::listOf(c.shape);
        const std::string before = ids(list);
        const bool expectChange = *c.expected != '\0';
        EXPECT_EQ(restackedOrder(list, c.move).has_value(), expectChange) << c.name;
        const EditOutcome out = restackSelected(list, c.move);
        EXPECT_EQ(ids(list), expectChange ? c.expected : before) << c.name;
        EXPECT_EQ(out.mark, expectChange ? ChangeMark::Set : ChangeMark::Keep) << c.name;
    }
}

TEST(AddGadgetAt, GoesOnTheCardWhereTheCodeCreatesItSnappedAndIndented)
{
    GdtPool pool;
    PoolEntry button;
    button.name = "ButtonGadget", button.code = "ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\")";
    button.xd = 100, button.yd = 25;
    pool.entries = {button};
    const char *shape = "W:Win@0 P:Tabs@0 G:One@1>Tabs B:A@1* G:Two@2>Tabs B:C@2 C:End@0 B:Ok@0";
    const struct
    {
        std::int32_t card;
        CardPoint at;
        const char *order;
        int x, y, tab;
    } cases[] = {
        {1, {23, 17}, "Win Tabs One A ButtonGadget1 Two C End Ok", 25, 15, 2},
        {2, {-4, 2}, "Win Tabs One A Two C ButtonGadget1 End Ok", 0, 0, 2},
        {0, {101, 99}, "Win Tabs One A Two C End Ok ButtonGadget1", 100, 100, 0},
    };
    for (const auto &c : cases) {
        GdtList list = dialoglist::listOf(shape);
        const EditOutcome out = addGadgetAt(list, pool, "ButtonGadget", c.card, c.at, 5);
        EXPECT_EQ(ids(list), c.order) << c.card;
        EXPECT_EQ(ids(list, true), "ButtonGadget1");
        const GadgetRecord &r = list.records()[static_cast<std::size_t>(out.current)];
        EXPECT_EQ(r.varId, "ButtonGadget1");
        EXPECT_EQ((std::array{r.card, r.x, r.y, r.tab, r.xd}), (std::array{c.card, c.x, c.y, c.tab, 100})) << c.card;
        EXPECT_NE(r.lvid, 0);
        EXPECT_EQ(out.mark, ChangeMark::Set);
    }
    GdtList list = dialoglist::listOf(shape);
    EXPECT_EQ(addGadgetAt(list, pool, "Nothing", 1, {0, 0}, 5).mark, ChangeMark::Keep);
    EXPECT_EQ(list.size(), 8);
}

TEST(DropPlace, APageShownInsideItsPanelTakesWhatIsDroppedOnIt)
{
    // Tabs at 10,10 (300x200): its first page shows from 12,32 (tabs 20
    // high, frame 2); Inner at 10,10 of that page shows its own first page
    // from 24,64 on the window's card, from 12,32 on page One's card.
    GdtList list = dialoglist::listOf("W:Win@0 P:Tabs@0 G:One@1>Tabs P:Inner@1 G:In@3>Inner C:E1@1 G:Two@2>Tabs "
                                      "C:End@0 P:Empty@0 C:E2@0");
    list.records()[3].xd = 100, list.records()[3].yd = 80;
    list.records()[8].x = 330;
    const ControlMetrics metrics{20, 2, 16};
    const struct
    {
        const char *name;
        std::int32_t card;
        CardPoint at;
        DropPlace expected;
    } cases[] = {
        {"on the first page", 0, {200, 150}, {1, {188, 118}}},
        {"the page's first pixel", 0, {12, 32}, {1, {0, 0}}},
        {"on the panel's tabs", 0, {50, 20}, {0, {50, 20}}},
        {"right of the page", 0, {308, 100}, {0, {308, 100}}},
        {"beside the panel", 0, {5, 250}, {0, {5, 250}}},
        {"a panel in the page shown", 0, {30, 70}, {3, {6, 6}}},
        {"a panel on the page's own card", 1, {20, 40}, {3, {8, 8}}},
        {"a panel without pages", 0, {340, 100}, {0, {340, 100}}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(dropPlace(list, c.card, c.at, metrics), c.expected) << c.name;

    // A page on its panel's own card is drawn where it lies, not in the panel.
    const GdtList flat = dialoglist::listOf("W:Win@0 P:Tabs@0 G:One@0>Tabs");
    EXPECT_EQ(dropPlace(flat, 0, {200, 150}, metrics), (DropPlace{0, {200, 150}}));
}

TEST(InPlaceRow, TheCaptionWhereTheTemplateWritesItElseTheVarId)
{
    const std::pair<const char *, int> cases[] = {
        {"ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\")", RowText},
        {"TextGadget(#[id], 0, 0, 9, 9, \"[TEXT]\")", RowText},
        {"ComboBoxGadget(#[id], [x], [y], [xd], [yd])", RowVarId},
        {"[tex] [text", RowVarId},
    };
    for (const auto &[code, row] : cases) {
        GadgetRecord r;
        r.code = code;
        EXPECT_EQ(inPlaceRow(r), row) << code;
    }
}

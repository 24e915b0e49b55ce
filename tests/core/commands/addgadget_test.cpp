#include "core/commands/addgadget.h"

#include "core/commands/listshape.h"

#include <gtest/gtest.h>

#include <random>

using namespace tafelbau;
using listshape::listOf;
using listshape::shapeOf;

namespace {

GdtPool buttonPool()
{
    PoolEntry e;
    e.name = "ButtonGadget", e.code = "ButtonGadget(#[id])";
    e.x = 10, e.y = 10, e.xd = 80, e.yd = 24, e.xy0 = 1, e.dontshow = 1, e.color = 255;
    e.flags = "1:Default = #A\r\n0:Toggle = #B\r\n 1 :Multi = #C";
    e.p[9] = "Data";
    GdtPool pool;
    pool.entries = {e};
    return pool;
}

} // namespace

TEST(FreshVarId, SmallestFreeNumber)
{
    const char *const cases[][3] = {
        {"", "B", "B1"},
        {"B1 B3", "B", "B2"},
        {"B2 B1", "B", "B3"},
        {"B01 B001", "B", "B1"}, // leading zeros make other identifiers
        {"B b1 B1x BB1", "B", "B1"},
        {"B11 B1", "B1", "B12"},
        {"B1 B99999999999999999999", "B", "B2"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(freshVarId(listOf(c[0]), c[1]), c[2]) << c[0];
}

TEST(FreshVarId, AgreesWithOneLookUpPerCandidate)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        GdtList list;
        for (int i = static_cast<int>(rng() % 30); i > 0; --i)
            list.append({}).varId =
                (rng() % 4 ? "B" : "C") + std::string(rng() % 8 ? "" : "0") + std::to_string(rng() % 35);
        int n = 1;
        while (list.varIdExists("B" + std::to_string(n)))
            ++n;
        ASSERT_EQ(freshVarId(list, "B"), "B" + std::to_string(n)) << round;
    }
}

TEST(AddGadgetFromPool, FieldsOfTheNewRecord)
{
    GdtList list;
    const GdtPool pool = buttonPool();
    NewGadgetPosition pos{0, 35};
    const EditOutcome out = addGadgetFromPool(list, pool, "ButtonGadget", pos);

    GadgetRecord want;
    want.selected = true, want.name = "ButtonGadget", want.varId = want.text = "ButtonGadget1", want.lvid = 1;
    want.code = pool.entries[0].code;
    want.x = 10, want.y = 35, want.xd = 80, want.yd = 24, want.xy0 = 1, want.dontshow = 1, want.color = 255;
    want.flags = " #A| #C"; // default flags keep the blanks after "="
    want.pname = pool.entries[0].p;
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list.records()[0], want);
    EXPECT_EQ(out.mark, ChangeMark::Set);
    EXPECT_TRUE(out.views.rebuildList);
    EXPECT_EQ(out.current, 0);
    EXPECT_EQ(pos, (NewGadgetPosition{10, 35})); // the pool's default is stored back
}

TEST(AddGadgetFromPool, PlacedAfterTheTopmostSelectedRecordWithItsTabAndCard)
{
    const char *const cases[][2] = {
        {"ButtonGadget1 A* B* C", "ButtonGadget1 A ButtonGadget2* B C"},
        {"A B C", "A B C ButtonGadget1*"}, // no row selected: appended, tab and card 0
        {"", "ButtonGadget1*"},
    };
    for (const auto &c : cases) {
        GdtList list = listOf(c[0]);
        for (GadgetRecord &r : list.records())
            r.tab = 1, r.card = 2;
        list.setCurrentIndex(0); // where the cursor was must not matter
        NewGadgetPosition pos;
        const EditOutcome out = addGadgetFromPool(list, buttonPool(), "ButtonGadget", pos);
        EXPECT_EQ(shapeOf(list), c[1]);
        const GadgetRecord &added = list.records()[static_cast<std::size_t>(out.current)];
        const bool hadSelection = std::string_view(c[0]).find('*') != std::string_view::npos;
        EXPECT_EQ(added.tab, hadSelection ? 1 : 0) << c[0];
        EXPECT_EQ(added.card, hadSelection ? 2 : 0) << c[0];
    }
    // A name no longer in the pool (or none) does nothing.
    GdtList list = listOf("A*");
    NewGadgetPosition pos;
    EXPECT_EQ(addGadgetFromPool(list, buttonPool(), "buttongadget", pos).mark, ChangeMark::Keep);
    EXPECT_EQ(shapeOf(list), "A*");
}

#include "core/commands/listedit.h"

#include "core/commands/listshape.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <utility>

using namespace tafelbau;
using listshape::listOf;
using listshape::shapeOf;

namespace {

CopyBuffer bufferOf(const char *shape)
{
    CopyBuffer buffer;
    const GdtList list = listOf(shape);
    for (GadgetRecord r : list.records()) {
        r.selected = false, r.lvid = 0;
        buffer.records.push_back(std::move(r));
    }
    return buffer;
}

} // namespace

TEST(DeleteSelectedGadgets, SelectsTheFollowerOfTheLastRemovedRecord)
{
    const char *const cases[][2] = {
        {"A B* C", "A C*"},    {"A B C*", "A B*"}, {"A* B C* D", "B D*"}, {"A* B C", "B* C"},
        {"A B* C D*", "A C*"}, // removal reached the end: the one before the last removed
        {"A B C", "A B C*"},   // nothing selected: the last record gets selected
        {"A* B* C*", ""},      {"", ""},
    };
    for (const auto &c : cases) {
        GdtList list = listOf(c[0]);
        const EditOutcome out = deleteSelectedGadgets(list);
        EXPECT_EQ(shapeOf(list), c[1]) << c[0];
        // An empty list counts as unchanged.
        EXPECT_EQ(out.mark, list.isEmpty() ? ChangeMark::Clear : ChangeMark::Set) << c[0];
        if (!list.isEmpty()) {
            EXPECT_TRUE(list.records()[static_cast<std::size_t>(out.current)].selected) << c[0];
        }
    }
}

TEST(MoveSelectedGadgets, BlocksMoveOneStepUnlessTheEdgeRecordIsSelected)
{
    struct
    {
        const char *before;
        int direction;
        const char *after; // nullptr: nothing happens, no change mark
    } cases[] = {
        {"A B* C*", +1, nullptr},
        {"A B* C*", -1, "B* C* A"},
        {"A B* C* D", +1, "A D B* C*"},
        {"A B* C D* E", +1, "A C B* E D*"},
        {"A B* C D* E", -1, "B* A D* C E"},
        {"A* B C*", -1, nullptr}, // C could move, but A is first
        {"A B C", +1, "A B C"},
        {"", -1, nullptr},
    };
    for (const auto &c : cases) {
        GdtList list = listOf(c.before);
        const EditOutcome out = moveSelectedGadgets(list, c.direction);
        EXPECT_EQ(shapeOf(list), c.after ? c.after : c.before) << c.before << " " << c.direction;
        EXPECT_EQ(out.mark, c.after ? ChangeMark::Set : ChangeMark::Keep) << c.before << " " << c.direction;
        for (const GadgetRecord &r : list.records())
            EXPECT_EQ(r.lvid, r.varId[0] - 'A' + 1); // records travel whole
    }
}

TEST(ShiftSelectedTab, NeverBelowZero)
{
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const std::int32_t cases[][3] = {{0, -1, 0}, {2, -1, 1}, {0, +1, 1}, {-3, +1, 0}, {kMax, +1, kMax}};
    for (const auto &c : cases) {
        GdtList list = listOf("A* B");
        list.records()[0].tab = list.records()[1].tab = c[0];
        EXPECT_EQ(shiftSelectedTab(list, c[1]).mark, ChangeMark::Set);
        EXPECT_EQ(list.records()[0].tab, c[2]) << c[0] << " " << c[1];
        EXPECT_EQ(list.records()[1].tab, c[0]);
    }
}

TEST(CopySelectedGadgets, ValueCopiesAndTheFirstNonEmptyVarIdForTheClipboard)
{
    GdtList list = listOf("A X* M\xFC* C*");
    list.records()[1].varId.clear();
    list.records()[2].flags = "#F", list.records()[2].card = 4;
    CopyBuffer buffer = bufferOf("Old");
    EXPECT_EQ(copySelectedGadgets(list, buffer), "M\xC3\xBC"); // UTF-8 for the clipboard
    ASSERT_EQ(buffer.records.size(), 3u);
    GadgetRecord want = list.records()[2];
    want.selected = false, want.lvid = 0;
    EXPECT_EQ(buffer.records[1], want);

    EXPECT_EQ(copySelectedGadgets(listOf("A B"), buffer), std::nullopt);
    EXPECT_TRUE(buffer.records.empty());
}

TEST(PasteGadgets, CopiesGoAfterTheLastSelectedRecordWithFreshIdentifiers)
{
    const char *const cases[][3] = {
        {"A* B C", "B C", "A B1* C1* B C"},
        {"A* B C*", "X", "A B C X*"},
        {"A*", "X X", "A X* X1*"}, // the first copy takes the free name
        {"A* X", "X X", "A X1* X2* X"},
        {"ButtonGadget1*", "ButtonGadget1", "ButtonGadget1 ButtonGadget11*"},
        {"A* B*", "", "A B"}, // empty buffer: only the selection goes
        {"A B", "X", "A B"},  // nothing selected: nothing happens
    };
    for (const auto &c : cases) {
        GdtList list = listOf(c[0]);
        const EditOutcome out = pasteGadgets(list, bufferOf(c[1]));
        EXPECT_EQ(shapeOf(list), c[2]) << c[0] << " + " << c[1];
        const bool selected = std::string_view(c[0]).find('*') != std::string_view::npos;
        EXPECT_EQ(out.mark, selected ? ChangeMark::Set : ChangeMark::Keep);
    }
}

TEST(PasteGadgets, EmptyIdentifierIsNumberedAfterTheGadgetType)
{
    GdtList list = listOf("A*");
    CopyBuffer buffer = bufferOf("X X");
    buffer.records[0].varId.clear();
    buffer.records[1].varId.clear();
    pasteGadgets(list, buffer);
    EXPECT_EQ(shapeOf(list), "A Type1* Type2*");
}

TEST(PasteGadgets, AgreesWithRecordByRecordPasting)
{
    std::mt19937 rng(11);
    const char *const words[] = {"B", "B1", "B11", "B2", "C", "C1", "B12", "B3"};
    auto randomId = [&] { return std::string(words[rng() % std::size(words)]); };
    for (int round = 0; round < 300; ++round) {
        GdtList list;
        for (int i = 1 + static_cast<int>(rng() % 12); i > 0; --i) {
            GadgetRecord &r = list.append({});
            r.varId = randomId() + (i % 2 ? "" : std::to_string(i));
            r.selected = rng() % 3 == 0;
        }
        list.records()[rng() % list.records().size()].selected = true;
        CopyBuffer buffer;
        for (int i = static_cast<int>(rng() % 6); i > 0; --i)
            buffer.records.push_back({}), buffer.records.back().varId = randomId();

        // The rule as stated: one insertion and one list look-up at a time.
        GdtList expected = list;
        int last = 0;
        for (int i = 0; i < expected.size(); ++i)
            if (std::exchange(expected.records()[static_cast<std::size_t>(i)].selected, false))
                last = i;
        expected.setCurrentIndex(last);
        for (GadgetRecord r : buffer.records) {
            const std::string base = r.varId;
            for (int n = 1; expected.varIdExists(r.varId); ++n)
                r.varId = base + std::to_string(n);
            r.selected = true;
            expected.insertAfterCurrent(std::move(r));
        }
        pasteGadgets(list, buffer);
        ASSERT_EQ(list.records(), expected.records()) << round;
    }
}

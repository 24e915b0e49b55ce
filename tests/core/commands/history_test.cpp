#include "core/commands/history.h"

#include "core/canvas/keyplacement.h"
#include "core/codegen/import.h"
#include "core/commands/addgadget.h"
#include "core/commands/listedit.h"
#include "core/commands/listshape.h"
#include "core/commands/selection.h"
#include "core/commands/valueedit.h"
#include "core/windows/flagitems.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tafelbau;
using listshape::listOf;
using listshape::shapeOf;

namespace {

// Records, their order and flags, the cursor: all that undo must give back.
struct State
{
    RecordList records;
    int current;
    bool operator==(const State &) const = default;
};

void PrintTo(const State &s, std::ostream *os)
{
    for (const GadgetRecord &r : s.records)
        *os << r.varId << (r.selected ? "*" : "") << "(x" << r.x << " tab" << r.tab << " lvid" << r.lvid << ") ";
    *os << "current " << s.current;
}

State stateOf(const GdtList &list)
{
    return {list.records(), list.currentIndex()};
}

GdtPool pool()
{
    GdtPool p;
    PoolEntry e;
    e.name = "Type";
    e.code = "Type(#[id], [x], [y])";
    e.flags = "0:Eins = #E1\r\n1:Zwei = #E2";
    e.importcode = "Type(#[id],[x],[y]";
    e.color = 7;
    p.entries.push_back(e);
    return p;
}

/// Eight gadgets on two cards, with numbers and texts that differ.
GdtList sample(std::string_view shape = "A B* C D* E F G* H")
{
    GdtList list = listOf(shape);
    int i = 0;
    for (GadgetRecord &r : list.records()) {
        r.x = 10 * i, r.y = 5 * i, r.xd = 40 + i, r.yd = 20, r.card = i % 2, r.tab = i % 3;
        r.text = "Text " + r.varId, r.code = "Old(#[id])", r.flags = "#E2";
        ++i;
    }
    return list;
}

} // namespace

// Every command that changes the list, undone and done again: the list comes
// back exactly, selection and cursor included, in both directions.
TEST(History, EveryCommandIsUndoneAndRedoneExactly)
{
    const GdtPool p = pool();
    CopyBuffer copied;
    copySelectedGadgets(sample(), copied);
    NewGadgetPosition position;
    const std::pair<const char *, std::function<void(GdtList &)>> commands[] = {
        {"add", [&](GdtList &l) { addGadgetFromPool(l, p, "Type", position); }},
        {"delete", [](GdtList &l) { deleteSelectedGadgets(l); }},
        {"delete all",
         [](GdtList &l) {
             for (GadgetRecord &r : l.records())
                 r.selected = true;
             deleteSelectedGadgets(l);
         }},
        {"up", [](GdtList &l) { moveSelectedGadgets(l, -1); }},
        {"down", [](GdtList &l) { moveSelectedGadgets(l, +1); }},
        {"indent", [](GdtList &l) { shiftSelectedTab(l, +1); }},
        {"paste", [&](GdtList &l) { pasteGadgets(l, copied); }},
        {"key move", [](GdtList &l) { stepSelectedX(l, PlacementMode::Move, 5, 1200); }},
        {"key resize", [](GdtList &l) { stepSelectedY(l, PlacementMode::Resize, -1, 1600); }},
        {"card", [](GdtList &l) { assignCard(l, "7"); }},
        {"varid", [](GdtList &l) { editPropertyRow(l, RowVarId, "Neu", ""); }},
        {"text", [](GdtList &l) { editPropertyRow(l, RowText, "anders", ""); }},
        {"p9", [](GdtList &l) { editPropertyRow(l, RowP0 + 9, "$1F", ""); }},
        {"ignore xy", [](GdtList &l) { toggleIgnoreXY(l); }},
        {"flags",
         [&](GdtList &l) {
             auto editor = openEditFlags(l, p);
             editor->items[0].on = true;
             acceptEditFlags(l, *editor);
         }},
        {"code reset", [&](GdtList &l) { resetGadgetCode(l, p); }},
        {"replace varid", [](GdtList &l) { replaceVarIds(l, "x", "", ""); }},
        {"import", [&](GdtList &l) { importSourceText("Type(#Imp, 1, 2)\r\nType(#Imp, 3, 4)\r\n", p, l); }},
        {"large text of the last record",
         [](GdtList &l) {
             clearSelection(l);
             l.records().back().text = "eins\"+#CRLF$+\"zwei";
         }},
    };
    for (const auto &[name, command] : commands) {
        GdtList list = sample();
        list.setCurrentIndex(3);
        History history;
        const State before = stateOf(list);
        history.begin(list, 1, name);
        command(list);
        ASSERT_TRUE(history.commit(list, 0)) << name;
        const State after = stateOf(list);
        ASSERT_NE(after, before) << name;

        EXPECT_EQ(history.undo(list), 1) << name;
        EXPECT_EQ(stateOf(list), before) << name;
        EXPECT_EQ(history.redo(list), 0) << name;
        EXPECT_EQ(stateOf(list), after) << name;
        EXPECT_EQ(history.undo(list), 1) << name;
        EXPECT_EQ(stateOf(list), before) << name;
    }
}

// A list changed by many steps, undone back to the start and done again.
// Undo gives back the state each step began from, selection included.
TEST(History, LongSequencesUndoBackToTheStart)
{
    GdtList list = sample();
    History history;
    CopyBuffer copied;
    std::vector<std::pair<State, State>> steps;
    for (int round = 0; round < 30; ++round) {
        if (round % 5 == 4 && !list.isEmpty())
            list.records()[static_cast<std::size_t>(round) % list.records().size()].selected = true;
        const State before = stateOf(list);
        history.begin(list, 0, "step");
        switch (round % 5) {
        case 0: moveSelectedGadgets(list, round % 2 ? 1 : -1); break;
        case 1:
            copySelectedGadgets(list, copied);
            pasteGadgets(list, copied);
            break;
        case 2: deleteSelectedGadgets(list); break;
        case 3: stepSelectedX(list, PlacementMode::Move, round, 1200); break;
        default: shiftSelectedTab(list, 1);
        }
        if (history.commit(list, 0))
            steps.emplace_back(before, stateOf(list));
    }
    ASSERT_GT(steps.size(), 20u);
    for (std::size_t i = steps.size(); i-- > 0;) {
        ASSERT_TRUE(history.undo(list));
        ASSERT_EQ(stateOf(list), steps[i].first) << i;
    }
    EXPECT_FALSE(history.canUndo());
    for (const auto &step : steps) {
        ASSERT_TRUE(history.redo(list));
        ASSERT_EQ(stateOf(list), step.second);
    }
}

TEST(History, KeyMovesOfOneSelectionMergeUntilAPauseOrAnotherCommand)
{
    using namespace std::chrono_literals;
    const History::Clock::time_point t0{};
    const struct
    {
        const char *name;
        std::chrono::milliseconds gap;
        const char *secondKind;
        bool reselect;
        std::size_t steps;
    } cases[] = {
        {"quick repeat", 300ms, "move", false, 1},
        {"pause", 1500ms, "move", false, 2},
        {"other kind", 300ms, "resize", false, 2},
        {"other selection", 300ms, "move", true, 2},
    };
    for (const auto &c : cases) {
        GdtList list = sample();
        History history;
        history.begin(list, 0, "Verschieben", "move", t0);
        stepSelectedX(list, PlacementMode::Move, 5, 1200);
        history.commit(list, 0);
        if (c.reselect)
            list.records()[0].selected = true;
        const State between = stateOf(list);
        history.begin(list, 0, "Verschieben", c.secondKind, t0 + c.gap);
        stepSelectedX(list, PlacementMode::Move, 5, 1200);
        history.commit(list, 0);
        EXPECT_EQ(history.stepCount(), c.steps) << c.name;
        history.undo(list);
        if (c.steps == 1)
            EXPECT_EQ(stateOf(list), stateOf(sample())) << c.name;
        else
            EXPECT_EQ(stateOf(list), between) << c.name;
    }

    // There and back again within the window leaves nothing to undo.
    GdtList list = sample();
    History history;
    history.begin(list, 0, "Verschieben", "move", t0);
    stepSelectedX(list, PlacementMode::Move, 5, 1200);
    history.commit(list, 0);
    history.begin(list, 0, "Verschieben", "move", t0 + 100ms);
    stepSelectedX(list, PlacementMode::Move, -5, 1200);
    history.commit(list, 0);
    EXPECT_FALSE(history.canUndo());
}

// Escape during a drag: the list as it was at the press, and no step.
TEST(History, RollbackPutsBackAnInPlaceChange)
{
    GdtList list = sample();
    const State before = stateOf(list);
    History history;
    history.begin(list, 0, "Verschieben");
    stepSelectedX(list, PlacementMode::Move, 5, 1200);
    clearSelection(list);
    EXPECT_TRUE(history.rollback(list));
    EXPECT_EQ(stateOf(list), before);
    EXPECT_FALSE(history.commit(list, 0));
    EXPECT_FALSE(history.canUndo());

    history.begin(list, 0, "Löschen");
    deleteSelectedGadgets(list);
    EXPECT_FALSE(history.rollback(list)); // not an in-place change
}

TEST(History, SavedStateFollowsUndoAndSaves)
{
    GdtList list = sample();
    History history;
    auto step = [&] {
        history.begin(list, 0, "Verschieben", "move");
        stepSelectedX(list, PlacementMode::Move, 5, 1200);
        history.commit(list, 0);
    };
    EXPECT_TRUE(history.isAtSavedState());
    step();
    EXPECT_FALSE(history.isAtSavedState());
    history.undo(list);
    EXPECT_TRUE(history.isAtSavedState()); // back where it was loaded
    history.redo(list);
    EXPECT_FALSE(history.isAtSavedState());
    // A key move right after a save would merge into the saved step, were
    // it not for the save: undo would then skip the saved state.
    history.clear();
    step();
    history.markSaved();
    EXPECT_TRUE(history.isAtSavedState());
    step();
    EXPECT_EQ(history.stepCount(), 2u);
    history.undo(list);
    EXPECT_TRUE(history.isAtSavedState());
    history.undo(list);
    EXPECT_FALSE(history.isAtSavedState());
    // A new step where the saved one was undone makes the saved state
    // unreachable.
    history.begin(list, 0, "Einfügen");
    shiftSelectedTab(list, 1);
    history.commit(list, 0);
    EXPECT_FALSE(history.isAtSavedState());
    history.undo(list);
    EXPECT_FALSE(history.isAtSavedState());
    history.clear();
    EXPECT_TRUE(history.isAtSavedState());
    EXPECT_FALSE(history.canUndo());
}

TEST(History, SelectionAloneIsNoStepAndLabelsNameTheStep)
{
    GdtList list = sample();
    History history;
    history.begin(list, 0, "Klick");
    clearSelection(list);
    EXPECT_FALSE(history.commit(list, 0));
    EXPECT_FALSE(history.canUndo());
    list.records()[0].selected = true;
    history.begin(list, 0, "Einfügen");
    shiftSelectedTab(list, 1);
    history.commit(list, 0);
    EXPECT_EQ(history.undoLabel(), "Einfügen");
    EXPECT_EQ(history.redoLabel(), "");
    history.undo(list);
    EXPECT_EQ(history.undoLabel(), "");
    EXPECT_EQ(history.redoLabel(), "Einfügen");
}

// A step keeps what it touched: one gadget moved in a big list costs little,
// and the oldest steps go when the limit is reached.
TEST(History, MemoryFollowsTheTouchedRecordsAndIsBounded)
{
    GdtList list;
    for (int i = 0; i < 10000; ++i) {
        GadgetRecord &r = list.append({});
        r.varId = "G" + std::to_string(i), r.code = std::string(300, 'c');
    }
    History history;
    list.records()[5000].selected = true;
    history.begin(list, 0, "Verschieben");
    stepSelectedX(list, PlacementMode::Move, 5, 1200);
    history.commit(list, 0);
    EXPECT_LT(history.memoryUsed(), 2000u);

    history.setLimits(500, 50000);
    for (int i = 0; i < 50; ++i) {
        list.records()[static_cast<std::size_t>(i)].selected = true;
        history.begin(list, 0, "Löschen");
        deleteSelectedGadgets(list);
        history.commit(list, 0);
    }
    EXPECT_LE(history.memoryUsed(), 50000u);
    EXPECT_LT(history.stepCount(), 50u);
    EXPECT_FALSE(history.isAtSavedState());
    history.setLimits(3, 1u << 30);
    EXPECT_EQ(history.stepCount(), 3u);
    // A step bigger than the whole limit is still the one step to undo.
    history.setLimits(3, 1);
    EXPECT_EQ(history.stepCount(), 1u);
    list.records()[0].selected = true;
    history.begin(list, 0, "Löschen");
    deleteSelectedGadgets(list);
    history.commit(list, 0);
    EXPECT_EQ(history.stepCount(), 1u);
}

// The list-editing commands on lists of 1,000 to 100,000 gadgets with every
// tenth one selected: each must stay far below what a key press may cost,
// and grow no faster than the list.

#include "benchdata.h"

#include "core/canvas/designcommands.h"
#include "core/canvas/keyplacement.h"
#include "core/codegen/dialogstructure.h"
#include "core/codegen/structurecheck.h"
#include "core/commands/addgadget.h"
#include "core/commands/history.h"
#include "core/commands/listedit.h"

#include <benchmark/benchmark.h>

#include <chrono>

using namespace tafelbau;

namespace {

constexpr int kGadgets = 10000;

// Every tenth record from the fifth on: no selected record at either end, so
// moving up and down never stops at an edge.
GdtList selectedList(int gadgets = kGadgets)
{
    GdtList list = benchdata::makeList(gadgets);
    for (int i = 5; i < gadgets; i += 10)
        list.records()[static_cast<std::size_t>(i)].selected = true;
    return list;
}

// Commands that change the list need a fresh copy each time; only the
// command itself is timed, not the copy nor freeing the list afterwards.
template<typename F>
void timed(benchmark::State &state, F command)
{
    benchdata::coldStart(); // outside the measured time
    const auto start = std::chrono::steady_clock::now();
    command();
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

void BM_StepSelectedX(benchmark::State &state)
{
    GdtList list = selectedList(static_cast<int>(state.range(0)));
    int step = 5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(stepSelectedX(list, PlacementMode::Move, step, 1200));
        step = -step;
    }
}
BENCHMARK(BM_StepSelectedX)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_MoveSelectedGadgets(benchmark::State &state)
{
    GdtList list = selectedList(static_cast<int>(state.range(0)));
    int direction = -1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(moveSelectedGadgets(list, direction));
        direction = -direction;
    }
}
BENCHMARK(BM_MoveSelectedGadgets)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_DeleteSelectedGadgets(benchmark::State &state)
{
    const GdtList original = selectedList(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        GdtList list = original;
        timed(state, [&] { benchmark::DoNotOptimize(deleteSelectedGadgets(list)); });
    }
}
BENCHMARK(BM_DeleteSelectedGadgets)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->MinTime(0.1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_CopySelectedGadgets(benchmark::State &state)
{
    const GdtList list = selectedList(static_cast<int>(state.range(0)));
    CopyBuffer buffer;
    for (auto _ : state)
        benchmark::DoNotOptimize(copySelectedGadgets(list, buffer));
}
BENCHMARK(BM_CopySelectedGadgets)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The copies (a tenth of the list) are pasted into the list they were
// copied from, so every one of them needs a number.
void BM_PasteGadgets(benchmark::State &state)
{
    const GdtList original = selectedList(static_cast<int>(state.range(0)));
    CopyBuffer buffer;
    copySelectedGadgets(original, buffer);
    for (auto _ : state) {
        GdtList list = original;
        timed(state, [&] { benchmark::DoNotOptimize(pasteGadgets(list, buffer)); });
    }
}
BENCHMARK(BM_PasteGadgets)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->MinTime(0.1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Adding one gadget whose type already has 10,000 numbered gadgets.
void BM_AddGadgetFromPool(benchmark::State &state)
{
    GdtList original = selectedList();
    for (int i = 0; i < kGadgets; ++i)
        original.records()[static_cast<std::size_t>(i)].varId = "ButtonGadget" + std::to_string(i + 1);
    GdtPool pool;
    PoolEntry e;
    e.name = "ButtonGadget";
    e.flags = "1:Default = #PB_Button_Default";
    pool.entries = {e};
    for (auto _ : state) {
        GdtList list = original;
        NewGadgetPosition pos{10, 10};
        timed(state, [&] { benchmark::DoNotOptimize(addGadgetFromPool(list, pool, "ButtonGadget", pos)); });
    }
}
BENCHMARK(BM_AddGadgetFromPool)->UseManualTime()->Unit(benchmark::kMillisecond);

// Undo and redo of a step on every tenth gadget (1,000 among 10,000): the
// step is made once, then undone and done again, each timed on its own.
template<typename Command>
void undoRedo(benchmark::State &state, Command command, bool undoing)
{
    GdtList list = selectedList(static_cast<int>(state.range(0)));
    CopyBuffer buffer;
    copySelectedGadgets(list, buffer);
    History history;
    history.begin(list, 0, "step");
    command(list, buffer);
    history.commit(list, 0);
    for (auto _ : state) {
        benchdata::coldStart(); // a command of its own, as a key press is
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(undoing ? history.undo(list) : history.redo(list));
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        // The way back, untimed.
        if (undoing)
            history.redo(list);
        else
            history.undo(list);
    }
    if (!undoing)
        history.redo(list);
}

void keyMove(GdtList &list, const CopyBuffer &)
{
    stepSelectedX(list, PlacementMode::Move, 5, 1200);
}
void listMove(GdtList &list, const CopyBuffer &)
{
    moveSelectedGadgets(list, -1);
}
void remove(GdtList &list, const CopyBuffer &)
{
    deleteSelectedGadgets(list);
}
void paste(GdtList &list, const CopyBuffer &buffer)
{
    pasteGadgets(list, buffer);
}

#define TAFELBAU_UNDO_BENCHMARK(name, command)                                                                         \
    void BM_Undo##name(benchmark::State &s)                                                                            \
    {                                                                                                                  \
        undoRedo(s, command, true);                                                                                    \
    }                                                                                                                  \
    void BM_Redo##name(benchmark::State &s)                                                                            \
    {                                                                                                                  \
        undoRedo(s, command, false);                                                                                   \
    }                                                                                                                  \
    BENCHMARK(BM_Undo##name)->Arg(10000)->Arg(100000)->Iterations(40)->UseManualTime()->Unit(benchmark::kMillisecond); \
    BENCHMARK(BM_Redo##name)->Arg(10000)->Arg(100000)->Iterations(40)->UseManualTime()->Unit(benchmark::kMillisecond);

TAFELBAU_UNDO_BENCHMARK(KeyMove, keyMove)
TAFELBAU_UNDO_BENCHMARK(ListMove, listMove)
TAFELBAU_UNDO_BENCHMARK(Delete, remove)
TAFELBAU_UNDO_BENCHMARK(Paste, paste)

// What the history adds to a key move: the records that may change are
// taken before it, what did change is kept after it.
void BM_KeyMoveAsHistoryStep(benchmark::State &state)
{
    GdtList list = selectedList(static_cast<int>(state.range(0)));
    History history;
    int step = 5;
    for (auto _ : state) {
        history.begin(list, 0, "Verschieben");
        stepSelectedX(list, PlacementMode::Move, step, 1200);
        benchmark::DoNotOptimize(history.commit(list, 0));
        step = -step;
    }
}
BENCHMARK(BM_KeyMoveAsHistoryStep)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The structure every structure-aware command and every redraw asks for:
// 10,000 gadgets of dialogs with panels, pages, containers and items must
// take no more than 5 ms.
void BM_DialogStructure(benchmark::State &state)
{
    const GdtList list = benchdata::makeDialogList(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        DialogStructure s(list);
        benchmark::DoNotOptimize(s.size());
    }
}
BENCHMARK(BM_DialogStructure)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same with the list out of the processor's caches, as after other work.
void BM_DialogStructureCold(benchmark::State &state)
{
    const GdtList list = benchdata::makeDialogList(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchdata::coldStart(state);
        DialogStructure s(list);
        benchmark::DoNotOptimize(s.size());
    }
}
BENCHMARK(BM_DialogStructureCold)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// What every save adds: the check of the whole structure, references
// included.
void BM_CheckStructure(benchmark::State &state)
{
    const GdtList list = benchdata::makeDialogList(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(checkStructure(list).size());
}
BENCHMARK(BM_CheckStructure)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// "Hoch" in a list of dialogs: the moved records take their new parents'
// cards, which asks for the structure once.
void BM_MoveUpInDialogs(benchmark::State &state)
{
    GdtList list = benchdata::makeDialogList(static_cast<int>(state.range(0)));
    for (std::size_t i = 5; i < list.records().size(); i += 10)
        list.records()[i].selected = true;
    int direction = -1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(moveSelectedGadgets(list, direction));
        direction = -direction;
    }
}
BENCHMARK(BM_MoveUpInDialogs)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// What opening the context menu asks for "Nach vorne": two structures of
// the list, with every tenth record of dialogs selected.
void BM_RestackedOrder(benchmark::State &state)
{
    GdtList list = benchdata::makeDialogList(static_cast<int>(state.range(0)));
    for (int i = 5; i < list.size(); i += 10)
        list.records()[static_cast<std::size_t>(i)].selected = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(restackedOrder(list, StackMove::ToFront));
}
BENCHMARK(BM_RestackedOrder)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A gadget dropped from the toolbox onto a card in the middle of the list.
void BM_AddGadgetAt(benchmark::State &state)
{
    const GdtList original = benchdata::makeDialogList(static_cast<int>(state.range(0)));
    GdtPool pool;
    PoolEntry e;
    e.name = "ButtonGadget";
    e.code = "ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\")";
    pool.entries = {e};
    const std::int32_t card = original.records()[static_cast<std::size_t>(original.size() / 2)].card;
    for (auto _ : state) {
        GdtList list = original;
        timed(state, [&] { benchmark::DoNotOptimize(addGadgetAt(list, pool, "ButtonGadget", card, {33, 48}, 5)); });
    }
}
BENCHMARK(BM_AddGadgetAt)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

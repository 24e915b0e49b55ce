// The list-editing commands on lists of 1,000 to 100,000 gadgets with every
// tenth one selected: each must stay far below what a key press may cost,
// and grow no faster than the list.

#include "benchdata.h"

#include "core/canvas/keyplacement.h"
#include "core/commands/addgadget.h"
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

} // namespace

BENCHMARK_MAIN();

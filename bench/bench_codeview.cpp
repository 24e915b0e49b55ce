// The code view beside a big list: the text model alone, and the dock in the
// editor window up to the edited text document and the painted screen.
#include "benchdata.h"
#include "qtbenchmain.h"

#include "core/app/batchdialogs.h"
#include "core/codegen/codemodel.h"
#include "core/commands/listedit.h"
#include "core/commands/selection.h"
#include "core/document/listfile.h"
#include "ui/app/mainwindow.h"
#include "ui/codegen/codeview.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>

#include <filesystem>

using namespace tafelbau;
namespace fs = std::filesystem;

namespace {

constexpr std::time_t kWhen = 1'800'000'000;

// The model's share of a key move: every record compared with what its
// pieces were made from, one block made again, the edits worked out.
void BM_CodeModelKeyMove(benchmark::State &s)
{
    GdtList list = benchdata::makeList(static_cast<int>(s.range(0)));
    const PoolSettings settings = benchdata::defaultSettings();
    CodeModel model;
    model.update(list, settings, kWhen);
    int step = 5;
    for (auto _ : s) {
        list.records()[static_cast<std::size_t>(list.size() / 2)].x += step;
        step = -step;
        benchmark::DoNotOptimize(model.update(list, settings, kWhen));
    }
}

// What every other command costs the model when the code did not change.
void BM_CodeModelNoChange(benchmark::State &s)
{
    GdtList list = benchdata::makeList(static_cast<int>(s.range(0)));
    const PoolSettings settings = benchdata::defaultSettings();
    CodeModel model;
    model.update(list, settings, kWhen);
    for (auto _ : s)
        benchmark::DoNotOptimize(model.update(list, settings, kWhen));
}

struct Fixture
{
    fs::path dir;
    AppState state;
    BatchDialogs dialogs;
    MainWindow *window = nullptr;

    explicit Fixture(int gadgets, bool codeView = true)
    {
        std::string pattern = (fs::temp_directory_path() / "tafelbau-bench-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        if (!writeListFile(dir / "big.tbf", benchdata::makeList(gadgets)).ok)
            std::abort();
        state.settingsFile = dir / "Tafelbau.ini";
        state.pool.settings = benchdata::defaultSettings();
        window = new MainWindow(state, dialogs);
        window->resize(1400, 800);
        window->show();
        window->codeView()->setClock([] { return kWhen; });
        if (codeView)
            window->dispatchMenu(ids::ToggleCodeView);
        window->documents().openList(dir / "big.tbf");
        settle();
    }
    ~Fixture()
    {
        delete window;
        fs::remove_all(dir);
    }
    void select(int first, int last) { window->applyOutcome(selectRows(state.list, {{first, last}})); }
    // Lets the window paint what the change made dirty, as the event loop
    // would before the user sees it.
    void settle() { QApplication::processEvents(); }
};

// Ctrl+Right on gadgets in the middle of the list (as many as the second
// argument), through the window's command: the list, the canvas, the
// property list and the code view.
void BM_CodeViewKeyMove(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), s.range(2) != 0);
    const int middle = f.state.list.size() / 2;
    f.select(middle, middle + static_cast<int>(s.range(1)) - 1);
    f.settle();
    int i = 0;
    for (auto _ : s) {
        f.window->dispatchMenu(i++ % 2 ? ids::StepLeft : ids::StepRight);
        f.settle();
    }
}

// The code view's part of it alone: model, text document, highlighting and
// the marked lines.
void BM_CodeViewRefreshAfterKeyMove(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)));
    const int middle = f.state.list.size() / 2;
    f.select(middle, middle);
    f.settle();
    int step = 5;
    for (auto _ : s) {
        f.state.list.records()[static_cast<std::size_t>(middle)].x += step;
        step = -step;
        f.window->codeView()->refresh();
        f.settle();
    }
}

// Every other gadget selected, half the list with no two touching, swapped
// for the other half at each step (second argument 1: code view shown): each
// gadget's lines are a mark of their own.
void BM_CodeViewMarkEveryOther(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), s.range(1) != 0);
    std::vector<std::pair<int, int>> halves[2];
    for (int i = 0; i < f.state.list.size(); ++i)
        halves[i % 2].emplace_back(i, i);
    int i = 0;
    for (auto _ : s) {
        f.window->applyOutcome(selectRows(f.state.list, halves[i++ % 2]));
        f.settle();
    }
}

// Ctrl+V of 1,000 gadgets into the middle of the list, with the code view
// shown (second argument 1) or hidden (0); the pasted gadgets are deleted
// again outside the measured time.
void BM_CodeViewPaste1000(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), s.range(1) != 0);
    const int middle = f.state.list.size() / 2;
    f.select(middle, middle + 999);
    f.window->dispatchMenu(ids::Copy);
    f.select(middle, middle);
    f.settle();
    for (auto _ : s) {
        f.window->dispatchMenu(ids::Paste);
        f.settle();
        s.PauseTiming();
        f.window->dispatchMenu(ids::Delete);
        f.select(middle, middle);
        f.settle();
        s.ResumeTiming();
    }
}

// Opening another list of the same size in turn with the first: every
// record's lvid is taken by a record of the other list (the counter starts
// again at 1 on every open), and every block differs.
void BM_CodeViewOpenOther(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), s.range(1) != 0);
    GdtList other = benchdata::makeList(static_cast<int>(s.range(0)));
    for (GadgetRecord &r : other.records())
        r.x += 1;
    if (!writeListFile(f.dir / "other.tbf", other).ok)
        std::abort();
    int i = 0;
    for (auto _ : s) {
        s.PauseTiming();
        f.state.list.clear(); // no question: the list is empty
        s.ResumeTiming();
        f.window->documents().openList(f.dir / (i++ % 2 ? "big.tbf" : "other.tbf"));
        f.settle();
    }
}

// F9 on a list that is already open: a code view that has shown nothing yet
// is given every line of the code file and paints its first page.
void BM_CodeViewShow(benchmark::State &s)
{
    const GdtList list = benchdata::makeList(static_cast<int>(s.range(0)));
    const PoolSettings settings = benchdata::defaultSettings();
    for (auto _ : s) {
        s.PauseTiming();
        auto *view = new CodeView(list, settings);
        view->setClock([] { return kWhen; });
        view->resize(480, 800);
        s.ResumeTiming();
        view->show();
        QApplication::processEvents();
        s.PauseTiming();
        delete view;
        s.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_CodeViewShow)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeViewOpenOther)->Args({10000, 1})->Args({10000, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeModelKeyMove)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeModelNoChange)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeViewKeyMove)->Args({10000, 1, 1})->Args({10000, 1000, 1})->Args({10000, 1000, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeViewRefreshAfterKeyMove)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeViewMarkEveryOther)->Args({10000, 1})->Args({10000, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeViewPaste1000)->Args({10000, 1})->Args({10000, 0})->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}

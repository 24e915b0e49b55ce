// The editor window with big lists: opening, a click on the canvas or in the
// list, a redraw of a crowded card and drags on it, each up to the pixels on
// the screen.
#include "benchdata.h"
#include "qtbenchmain.h"

#include "core/app/batchdialogs.h"
#include "core/document/listfile.h"
#include "ui/app/mainwindow.h"
#include "ui/canvas/cardcanvas.h"

#include <QApplication>
#include <QListView>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

#include <filesystem>

using namespace tafelbau;
namespace fs = std::filesystem;

namespace {

struct Fixture
{
    fs::path dir;
    AppState state;
    BatchDialogs dialogs;
    MainWindow *window = nullptr;

    explicit Fixture(int gadgets, bool oneCard, bool realGadgets = false)
    {
        std::string pattern = (fs::temp_directory_path() / "tafelbau-bench-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        GdtList list = benchdata::makeList(gadgets);
        if (oneCard)
            for (GadgetRecord &r : list.records())
                r.card = 0;
        if (!writeListFile(dir / "big.tbf", list).ok)
            std::abort();
        state.settingsFile = dir / "Tafelbau.ini";
        state.settings.view.realGadgets = realGadgets;
        window = new MainWindow(state, dialogs);
        window->show();
        QApplication::processEvents();
    }
    ~Fixture()
    {
        delete window;
        fs::remove_all(dir);
    }
    // Lets the window paint what the change made dirty, as the event loop
    // would before the user sees it.
    void settle() { QApplication::processEvents(); }

    // The left button and the mouse on the canvas, as the window system
    // sends them.
    void mouse(QEvent::Type type, QPoint at)
    {
        QWidget *canvas = window->canvas();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    }
};

void BM_OpenList(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), false);
    for (auto _ : s) {
        s.PauseTiming();
        f.state.list.clear(); // no question: the list is empty
        s.ResumeTiming();
        benchdata::coldStart(s);
        f.window->documents().openList(f.dir / "big.tbf");
        f.settle();
    }
}

void BM_ClickOnCanvas(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), true);
    f.window->documents().openList(f.dir / "big.tbf");
    f.settle(); // the first paint of the card is not the click's
    int i = 0;
    for (auto _ : s) {
        benchdata::coldStart(s);
        const QPoint at(20 + (i++ % 400), 30);
        f.mouse(QEvent::MouseButtonPress, at);
        f.mouse(QEvent::MouseButtonRelease, at);
        f.settle();
    }
}

void BM_ClickInList(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), true);
    f.window->documents().openList(f.dir / "big.tbf");
    f.settle();
    auto *view = f.window->listView();
    int i = 0;
    for (auto _ : s) {
        benchdata::coldStart(s);
        view->selectionModel()->select(view->model()->index(i++ % 20, 0), QItemSelectionModel::Toggle);
        f.settle();
    }
}

// One gadget of a crowded card changes: it moves by a pixel.
void BM_ChangeOnCrowdedCard(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), true);
    f.window->documents().openList(f.dir / "big.tbf");
    f.settle();
    int step = 1;
    for (auto _ : s) {
        f.state.list.records()[42].x += step;
        step = -step;
        f.window->drawCard();
        f.settle();
    }
}

// DrawCard when every gadget of a crowded card moved a pixel: the card's
// items computed from the list, compared with the last redraw, and painted.
void BM_DrawCardAllMoved(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), true);
    f.window->documents().openList(f.dir / "big.tbf");
    f.settle();
    int step = 1;
    for (auto _ : s) {
        benchdata::coldStart(s);
        for (GadgetRecord &r : f.state.list.records())
            r.x += step;
        step = -step;
        f.window->drawCard();
        f.settle();
    }
}

// The whole card painted anew, as after opening or a change of card.
void BM_FullRedrawOfCrowdedCard(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), true);
    f.window->documents().openList(f.dir / "big.tbf");
    for (auto _ : s) {
        f.window->canvas()->repaint();
        f.settle();
    }
}

// The same crowded card in either drawing: range(1) is 0 for the frames,
// 1 for the controls the gadgets become.

// What is on the screen painted anew, everything prepared.
void BM_CardRepaint(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), true, s.range(1) != 0);
    f.window->documents().openList(f.dir / "big.tbf");
    f.settle();
    for (auto _ : s) {
        f.window->canvas()->repaint();
        f.settle();
    }
}

// The whole card, 1200 x 1600, painted into an image: every gadget drawn.
void BM_CardRenderWhole(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), true, s.range(1) != 0);
    f.window->documents().openList(f.dir / "big.tbf");
    f.settle();
    for (auto _ : s)
        benchmark::DoNotOptimize(f.window->canvas()->render());
}

// Every caption new, as after opening a list: each one is laid out before
// the card is painted.
void BM_CardFirstPaint(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), true, s.range(1) != 0);
    f.window->documents().openList(f.dir / "big.tbf");
    f.settle();
    int round = 0;
    for (auto _ : s) {
        s.PauseTiming();
        ++round;
        for (GadgetRecord &r : f.state.list.records())
            r.text = "Caption " + std::to_string(round) + " of " + r.varId;
        s.ResumeTiming();
        f.window->drawCard();
        f.window->canvas()->repaint();
        f.settle();
    }
}

// One gadget of the crowded card moves by a pixel: only its place is painted.
void BM_CardChangeOne(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), true, s.range(1) != 0);
    f.window->documents().openList(f.dir / "big.tbf");
    f.settle();
    int step = 1;
    for (auto _ : s) {
        f.state.list.records()[42].x += step;
        step = -step;
        f.window->drawCard();
        f.settle();
    }
}

// One mouse move of a drag on a crowded card: the dragged gadgets placed
// anew, the property list refilled and their old and new places painted.
// range(1): the drawing (0 frames, 1 controls); range(2): gadgets selected,
// spread over the part of the card shown.
void BM_DragOnCrowdedCard(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), true, s.range(1) != 0);
    f.window->documents().openList(f.dir / "big.tbf");
    const int selected = static_cast<int>(s.range(2));
    // Every 100th gadget back from the last one, spread from the top left
    // to the bottom right of what the window shows. The last one, on top of
    // all, is taken by the mouse.
    auto &records = f.state.list.records();
    for (int i = 0; i < selected; ++i) {
        GadgetRecord &r = records[records.size() - 1 - static_cast<std::size_t>(100 * i)];
        r.selected = true;
        r.x = selected > 1 ? 20 + 400 * i / (selected - 1) : 20;
        r.y = selected > 1 ? 20 + 380 * i / (selected - 1) : 20;
    }
    const GadgetRecord &anchor = records.back();
    f.window->drawCard();
    f.settle();
    const QPoint press = QPoint(anchor.x + 50, anchor.y + 12) + f.window->canvas()->cardOrigin();
    f.mouse(QEvent::MouseButtonPress, press);
    int i = 0;
    QPoint last = press;
    for (auto _ : s) {
        // A raster step further each time, to and fro: every move changes.
        const int step = 5 * (i % 40 < 20 ? i % 40 : 40 - i % 40) + 5;
        ++i;
        last = press + QPoint(step, step);
        f.mouse(QEvent::MouseMove, last);
        f.settle();
    }
    f.mouse(QEvent::MouseButtonRelease, last);
    if (f.state.history.stepCount() != 1 || anchor.x == 20)
        s.SkipWithError("the drag moved nothing");
}

// One mouse move while a rubber band is drawn over a crowded card.
void BM_RubberBandOnCrowdedCard(benchmark::State &s)
{
    Fixture f(static_cast<int>(s.range(0)), true, s.range(1) != 0);
    f.window->documents().openList(f.dir / "big.tbf");
    f.settle();
    const QPoint press = QPoint(2, 2) + f.window->canvas()->cardOrigin();
    f.mouse(QEvent::MouseButtonPress, press);
    int i = 0;
    for (auto _ : s) {
        const int step = 10 + i++ % 400;
        f.mouse(QEvent::MouseMove, press + QPoint(step, step));
        f.settle();
    }
    f.mouse(QEvent::MouseButtonRelease, press + QPoint(400, 400));
}

} // namespace

BENCHMARK(BM_OpenList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickOnCanvas)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickInList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawCardAllMoved)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeOnCrowdedCard)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRedrawOfCrowdedCard)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardRepaint)->Args({5000, 0})->Args({5000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardRenderWhole)->Args({5000, 0})->Args({5000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardFirstPaint)->Args({5000, 0})->Args({5000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardChangeOne)->Args({5000, 0})->Args({5000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragOnCrowdedCard)
    ->Args({5000, 0, 1})
    ->Args({5000, 1, 1})
    ->Args({5000, 0, 2})
    ->Args({5000, 1, 2})
    ->Args({5000, 0, 40})
    ->Args({5000, 1, 40})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RubberBandOnCrowdedCard)->Args({5000, 0})->Args({5000, 1})->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}

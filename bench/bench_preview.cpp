// Opening the preview of a big dialog: the structure, the plan and one
// widget per gadget, up to the window's first paint.
#include "benchdata.h"
#include "qtbenchmain.h"

#include "core/app/batchdialogs.h"
#include "ui/app/mainwindow.h"

#include <QApplication>
#include <benchmark/benchmark.h>

using namespace tafelbau;

namespace {

// One window of `count` gadgets of the usual kinds, a third of them on the
// two pages of a panel, and a combo box with items every twentieth.
GdtList bigDialog(int count)
{
    GdtList list;
    int serial = 0;
    auto add = [&](const char *name, std::string code, std::string p0 = {}) {
        GadgetRecord r;
        r.name = name;
        r.varId = std::string(name) + std::to_string(++serial);
        r.code = std::move(code);
        r.text = "Caption " + std::to_string(serial);
        r.x = 10 + (serial * 37) % 700;
        r.y = 10 + (serial * 23) % 500;
        r.xd = 100;
        r.yd = 25;
        r.p[0] = std::move(p0);
        r.p[1] = "100";
        list.append(std::move(r));
        return list.records().back().varId;
    };
    const char *const kinds[][2] = {
        {"ButtonGadget", "ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])"},
        {"StringGadget", "StringGadget(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])"},
        {"TextGadget", "TextGadget(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])"},
        {"CheckBoxGadget", "CheckBoxGadget(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])"},
        {"OptionGadget", "OptionGadget(#[id], [x], [y], [xd], [yd], \"[text]\")"},
        {"SpinGadget", "SpinGadget(#[id], [x], [y], [xd], [yd], [p0], [p1], [flags])"},
        {"ListViewGadget", "ListViewGadget(#[id], [x], [y], [xd], [yd], [flags])"},
        {"TrackBarGadget", "TrackBarGadget(#[id], [x], [y], [xd], [yd], [p0], [p1], [flags])"},
    };
    add("OpenWindow", "OpenWindow(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])");
    list.records().back().xd = 820, list.records().back().yd = 560;
    const std::string panel = add("PanelGadget", "PanelGadget(#[id], [x], [y], [xd], [yd])");
    list.records().back().xd = 800, list.records().back().yd = 540;
    int made = 0;
    for (int page = 0; page < 2; ++page) {
        add("AddGadgetItem", "AddGadgetItem(#[p0], -1, \"[text]\")", panel);
        for (int g = 0; g < count / 6; ++g, ++made)
            add(kinds[made % 8][0], kinds[made % 8][1]);
    }
    add("CloseGadgetList", "CloseGadgetList()");
    for (; made < count; ++made) {
        if (made % 20 == 0) {
            const std::string combo = add("ComboBoxGadget", "ComboBoxGadget(#[id], [x], [y], [xd], [yd], [flags])");
            for (int item = 0; item < 3; ++item)
                add("AddGadgetItem", "AddGadgetItem(#[p0], -1, \"[text]\")", combo);
            continue;
        }
        add(kinds[made % 8][0], kinds[made % 8][1]);
    }
    return list;
}

void BM_OpenPreview(benchmark::State &s)
{
    AppState state;
    state.settingsFile = "/nonexistent/Tafelbau.ini";
    state.list = bigDialog(static_cast<int>(s.range(0)));
    BatchDialogs dialogs;
    MainWindow window(state, dialogs);
    window.show();
    QApplication::processEvents();
    for (auto _ : s) {
        window.dispatchMenu(ids::Preview);
        QApplication::processEvents(); // shown and painted
        s.PauseTiming();
        delete window.preview();
        QApplication::processEvents();
        s.ResumeTiming();
    }
    s.counters["gadgets"] = static_cast<double>(s.range(0));
}

} // namespace

BENCHMARK(BM_OpenPreview)->Arg(100)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}

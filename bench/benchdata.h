#pragma once

// Lists and pools of realistic shape for the benchmarks.
#include "core/document/gdtlist.h"
#include "core/pool/gdtpool.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>
#include <vector>

namespace benchdata {

/// Puts the machine in the state a single command of the program meets:
/// the memory freed so far handed back to the system and the caches full of
/// other data. Without it the C library keeps the memory of a 10,000-gadget
/// repetition for the next one but returns that of a 100,000-gadget one, and
/// a 10,000-gadget list stays in the processor's cache between repetitions
/// while a 100,000-gadget one cannot: small sizes would be measured warm and
/// big ones cold. Call it outside the measured time.
inline void coldStart()
{
    ::malloc_trim(0);
    // Four times the last-level cache of the machine we measure on, read a
    // line at a time: a big memset would use stores that bypass the cache
    // and evict nothing.
    static std::vector<char> other(128u << 20, 1);
    long sum = 0;
    for (std::size_t i = 0; i < other.size(); i += 64)
        sum += other[i];
    benchmark::DoNotOptimize(sum);
}

/// coldStart() inside a benchmark loop, untimed.
inline void coldStart(benchmark::State &state)
{
    state.PauseTiming();
    coldStart();
    state.ResumeTiming();
}

/// `count` gadgets of a few types, templates of a few lines, all ten
/// parameters filled: about 700 bytes of list file per gadget.
inline tafelbau::GdtList makeList(int count)
{
    tafelbau::GdtList list;
    for (int i = 0; i < count; ++i) {
        tafelbau::GadgetRecord r;
        r.name = (i % 3 == 0) ? "StringGadget" : "ButtonGadget";
        r.varId = r.name + std::to_string(i + 1);
        r.code = "; " + r.name + "\r\n" + r.name
            + "(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])\r\n\tGadgetToolTip(#[id], \"[p0]\")\r\n"
              "\tSetGadgetData(#[id], [p1])";
        r.text = "Caption of gadget " + std::to_string(i);
        r.x = 10 + i % 500;
        r.y = 20 + i % 700;
        r.xd = 100;
        r.yd = 25;
        r.flags = "#PB_Button_Default|#PB_Button_MultiLine";
        r.tab = i % 3;
        r.card = i / 1000;
        for (std::size_t p = 0; p < 10; ++p) {
            r.p[p] = "value" + std::to_string(p);
            r.pname[p] = "Parameter " + std::to_string(p);
        }
        list.append(std::move(r));
    }
    return list;
}

/// About `count` records of dialogs as the shipped pool makes them: each a
/// window with a panel of two pages, a container and a combo box with its
/// items, every part on a card of its own.
inline tafelbau::GdtList makeDialogList(int count)
{
    tafelbau::GdtList list;
    list.reserve(count);
    std::int32_t card = 0;
    int serial = 0;
    auto add = [&](const char *name, std::string code, std::int32_t onCard, std::string p0 = {}) {
        tafelbau::GadgetRecord r;
        r.name = name;
        r.varId = std::string(name) + std::to_string(++serial);
        r.code = std::move(code);
        r.text = "Caption " + std::to_string(serial);
        r.x = 10 + serial % 200;
        r.y = 10 + serial % 150;
        r.xd = 100;
        r.yd = 25;
        r.card = onCard;
        r.p[0] = std::move(p0);
        list.append(std::move(r));
        return list.records().back().varId;
    };
    const std::string button = "ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])";
    while (list.size() < count) {
        const std::int32_t window = card++;
        add("OpenWindow", "If OpenWindow(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])", window);
        const std::string panel = add("PanelGadget", "PanelGadget(#[id], [x], [y], [xd], [yd])", window);
        for (int page = 0; page < 2; ++page) {
            const std::int32_t onPage = card++;
            add("AddGadgetItem", "AddGadgetItem(#[p0], -1, \"[text]\")", onPage, panel);
            for (int g = 0; g < 5; ++g)
                add("StringGadget", "StringGadget(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])", onPage);
        }
        add("CloseGadgetList", "CloseGadgetList()", window);
        const std::int32_t inBox = card++;
        add("ContainerGadget", "ContainerGadget(#[id], [x], [y], [xd], [yd], [flags])", window);
        for (int g = 0; g < 3; ++g)
            add("ButtonGadget", button, inBox);
        add("CloseGadgetList", "CloseGadgetList()", window);
        const std::string combo = add("ComboBoxGadget", "ComboBoxGadget(#[id], [x], [y], [xd], [yd], [flags])", window);
        for (int item = 0; item < 2; ++item)
            add("AddGadgetItem", "AddGadgetItem(#[p0], -1, \"[text]\")", window, combo);
        add("ButtonGadget", button, window);
        add("ButtonGadget", button, window);
    }
    return list;
}

inline tafelbau::PoolSettings defaultSettings()
{
    tafelbau::PoolSettings s;
    s.codeFileExt = ".pbi";
    s.codeComment = ";";
    s.importRemove = "\"";
    s.importTrim = ")";
    return s;
}

} // namespace benchdata

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

// Import of a big source file: a 10 MB dialog source with 50,000 gadget
// lines against a pool of 40 types, and the same-identifier case that makes
// every identifier need a number -- each read line by line and read as
// PureBasic statements (the pool's GGdtPoolImportSyntax).

// GCC 12 at -O3 reports a false -Wrestrict inside inlined std::string copies;
// the pragma must come before the headers where the copy is written.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#endif

#include "benchdata.h"

#include "core/codegen/import.h"
#include "core/codegen/syntaximport.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace tafelbau;

namespace {

constexpr int kGadgetLines = 50000;
constexpr std::size_t kSourceBytes = 10u << 20;

const char *const kTypes[] = {
    "AddGadgetItem",  "BindGadgetEvent", "ButtonGadget",        "ButtonImageGadget",  "CalendarGadget",
    "CanvasGadget",   "CheckBoxGadget",  "CloseGadgetList",     "ComboBoxGadget",     "ContainerGadget",
    "DateGadget",     "EditorGadget",    "ExplorerComboGadget", "ExplorerListGadget", "ExplorerTreeGadget",
    "FrameGadget",    "GadgetToolTip",   "HyperLinkGadget",     "ImageGadget",        "IPAddressGadget",
    "ListIconGadget", "ListViewGadget",  "MDIGadget",           "OpenGLGadget",       "OpenWindow",
    "OptionGadget",   "PanelGadget",     "ProgressBarGadget",   "ScrollAreaGadget",   "ScrollBarGadget",
    "SetGadgetColor", "SetGadgetFont",   "ShortcutGadget",      "SpinGadget",         "SplitterGadget",
    "StringGadget",   "TextGadget",      "TrackBarGadget",      "TreeGadget",         "WebGadget"};
constexpr int kTypeCount = static_cast<int>(std::size(kTypes));

GdtPool makePool(bool syntax)
{
    GdtPool pool;
    if (syntax)
        pool.settings.importSyntax = true;
    pool.settings.codeComment = ";";
    pool.settings.importRemove = "\"";
    pool.settings.importTrim = ")";
    for (const char *type : kTypes) {
        PoolEntry e;
        e.name.assign(type);
        e.code.assign(type).append("(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])");
        e.importcode.assign(type).append("([id],[x],[y],[xd],[yd],[text],[flags]");
        e.p[0] = "Tooltip";
        pool.entries.push_back(std::move(e));
    }
    pool.sortIntoPoolOrder();
    return pool;
}

// Gadget lines spread evenly through the file, ordinary code between them,
// `bytes` in all.
std::string makeSource(bool sameIdentifier, int gadgetLines = kGadgetLines, std::size_t bytes = kSourceBytes)
{
    std::string s;
    s.reserve(bytes + 4096);
    for (int i = 0; i < gadgetLines; ++i) {
        const std::string n = std::to_string(i);
        s.append("  ").append(kTypes[i % kTypeCount]);
        s.append(sameIdentifier ? "(#PB_Any" : "(#Gadget_").append(sameIdentifier ? "" : n);
        s.append(", ").append(std::to_string(10 + i % 700)).append("*GTBScale, ");
        s.append(std::to_string(20 + i % 900)).append("*GTBScale, 120*GTBScale, 24*GTBScale, \"Caption ");
        s.append(n).append("\", #PB_Button_Default) ; gadget ").append(n).append("\r\n");
        const std::size_t target = bytes / static_cast<std::size_t>(gadgetLines) * static_cast<std::size_t>(i + 1);
        while (s.size() < target)
            s.append("  If Event = #PB_Event_Gadget And EventGadget() = ")
                .append(n)
                .append(" : Result + 1 : EndIf\r\n");
    }
    return s;
}

void runImport(benchmark::State &state, const fs::path &source, std::size_t bytes, int gadgetLines, bool syntax)
{
    const GdtPool pool = makePool(syntax);
    for (auto _ : state) {
        benchdata::coldStart(state);
        auto list = std::make_unique<GdtList>();
        // Every note goes into the report, as standard error gets them all.
        if (!importSourceFile(source, pool, *list, SIZE_MAX).outcome.ok || list->size() != gadgetLines)
            state.SkipWithError("import failed");
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * gadgetLines);
}

void importFile(benchmark::State &state, bool sameIdentifier, int gadgetLines = kGadgetLines,
                std::size_t sourceBytes = kSourceBytes, bool syntax = false)
{
    std::string pattern = (fs::temp_directory_path() / "tafelbau-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    const fs::path source = fs::path(pattern) / "dialog.pb";
    const std::string bytes = makeSource(sameIdentifier, gadgetLines, sourceBytes);
    std::ofstream(source, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    runImport(state, source, bytes.size(), gadgetLines, syntax);
    fs::remove_all(pattern);
}

// Sources of 1,000 to 100,000 gadget lines, 200 bytes of source per gadget.
void BM_ImportGadgets(benchmark::State &state)
{
    const auto gadgets = static_cast<int>(state.range(0));
    importFile(state, false, gadgets, static_cast<std::size_t>(gadgets) * 200);
}

void BM_ImportTenMegabyteSource(benchmark::State &state)
{
    importFile(state, false);
}

void BM_ImportSameIdentifierEverywhere(benchmark::State &state)
{
    importFile(state, true);
}

void BM_SyntaxImportGadgets(benchmark::State &state)
{
    const auto gadgets = static_cast<int>(state.range(0));
    importFile(state, false, gadgets, static_cast<std::size_t>(gadgets) * 200, true);
}

void BM_SyntaxImportTenMegabyteSource(benchmark::State &state)
{
    importFile(state, false, kGadgetLines, kSourceBytes, true);
}

// #PB_Any without a variable: every gadget needs a number and a note.
void BM_SyntaxImportSameIdentifierEverywhere(benchmark::State &state)
{
    importFile(state, true, kGadgetLines, kSourceBytes, true);
}

} // namespace

BENCHMARK(BM_ImportGadgets)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportTenMegabyteSource)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportSameIdentifierEverywhere)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SyntaxImportGadgets)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SyntaxImportTenMegabyteSource)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SyntaxImportSameIdentifierEverywhere)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// Load, save and code generation of big gadget lists, and the whole
// "/refreshcode" process as a user's editor tool would start it.
#include "benchdata.h"

#include "core/codegen/codefile.h"
#include "core/document/listfile.h"
#include "core/document/settingsdocument.h"
#include "core/pool/poolfile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace tafelbau;

namespace {

struct Workspace
{
    fs::path dir;
    explicit Workspace(int gadgets)
    {
        std::string pattern = (fs::temp_directory_path() / "tafelbau-bench-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        GdtList list = benchdata::makeList(gadgets);
        if (!writeListFile(dir / "dlg.tbf", list).ok)
            std::abort();
        fs::create_directory(dir / "prog");
        fs::copy_file(TAFELBAU_EXE, dir / "prog" / "tafelbau");
        std::ofstream(dir / "prog" / "TafelbauGadgetPool.ini", std::ios::binary)
            << "GGdtPoolCodeFileExt = .pbi\r\n[ButtonGadget]\r\n[StringGadget]\r\n";
    }
    ~Workspace() { fs::remove_all(dir); }
};

void BM_LoadListFile(benchmark::State &state)
{
    Workspace ws(static_cast<int>(state.range(0)));
    GdtPool pool;
    for (auto _ : state) {
        benchdata::coldStart(state);
        GdtList list;
        if (!loadListFile(ws.dir / "dlg.tbf", list, frameColoursOf(pool)).ok)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(list.size());
        state.PauseTiming(); // freeing the list is not part of loading it
        list = GdtList();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations())
                            * static_cast<int64_t>(fs::file_size(ws.dir / "dlg.tbf")));
}

void BM_WriteListFile(benchmark::State &state)
{
    Workspace ws(1);
    const GdtList list = benchdata::makeList(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchdata::coldStart(state);
        if (!writeListFile(ws.dir / "out.tbf", list).ok)
            state.SkipWithError("save failed");
    }
}

void BM_CodeFileBytes(benchmark::State &state)
{
    const GdtList list = benchdata::makeList(static_cast<int>(state.range(0)));
    const PoolSettings settings = benchdata::defaultSettings();
    for (auto _ : state) {
        benchdata::coldStart(state);
        benchmark::DoNotOptimize(codeFileBytes(list, settings, 0).size());
    }
}

// Writing the code file of a save: the bytes, the check that the file on
// disk is the one last written (read and hashed), the file and its hash.
void BM_GenerateCodeFile(benchmark::State &state)
{
    Workspace ws(1);
    const GdtList list = benchdata::makeList(static_cast<int>(state.range(0)));
    const PoolSettings settings = benchdata::defaultSettings();
    for (auto _ : state) {
        benchdata::coldStart(state);
        if (!generateCodeFile(ws.dir / "dlg.tbf", list, settings, 0).ok)
            state.SkipWithError("generation failed");
    }
}

void BM_SettingsSelectGroupByName(benchmark::State &state)
{
    const GdtList list = benchdata::makeList(static_cast<int>(state.range(0)));
    SettingsDocument doc;
    doc.loadBytes(listFileBytes(list));
    for (auto _ : state) {
        for (const GadgetRecord &r : list.records()) {
            doc.selectGroup(r.varId);
            benchmark::DoNotOptimize(doc.readNumber("pname9", 0));
        }
    }
}

// The whole process: start, read settings and pool, load, generate, write.
void BM_RefreshCodeProcess(benchmark::State &state)
{
    Workspace ws(static_cast<int>(state.range(0)));
    const std::string exe = (ws.dir / "prog" / "tafelbau").string();
    const std::string code = (ws.dir / "dlg.pbi").string();
    const std::string home = "HOME=" + ws.dir.string();
    for (auto _ : state) {
        // posix_spawn, not fork: copying this big process's page tables
        // would be measured as the refresh's time.
        char *argv[] = {const_cast<char *>(exe.c_str()), const_cast<char *>("/refreshcode"),
                        const_cast<char *>(code.c_str()), nullptr};
        char *envp[] = {const_cast<char *>(home.c_str()), nullptr};
        pid_t pid = 0;
        if (::posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, envp) != 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("refresh failed");
    }
}

} // namespace

BENCHMARK(BM_LoadListFile)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteListFile)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeFileBytes)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateCodeFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SettingsSelectGroupByName)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshCodeProcess)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();

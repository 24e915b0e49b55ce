// Load, save and code generation of big gadget lists, and the whole
// "/refreshcode" process as a user's editor tool would start it.
#include "benchdata.h"

#include "core/app/batchdialogs.h"
#include "core/codegen/codefile.h"
#include "core/commands/documentcommands.h"
#include "core/document/fileidentity.h"
#include "core/document/listfile.h"
#include "core/document/settingsdocument.h"
#include "core/pool/poolfile.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
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

struct NoViews : DocumentViews
{
    void showTitle(const std::string &) override {}
    void refreshGadgetList() override {}
};

// A save as the editor makes it, list and code file, with what guards the
// user's work -- the look whether another program changed the list since
// it was loaded or saved, the identity of what was written, the recovery's
// removal -- against the two files written alone. The two alternate within
// each iteration, on lists of their own, so that the load of a shared
// machine falls on both alike; the counters give each one's mean time and
// what the guards add.
void BM_SaveListGuarded(benchmark::State &state)
{
    Workspace ws(static_cast<int>(state.range(0)));
    const fs::path guardedPath = ws.dir / "dlg.tbf";
    fs::create_directory(ws.dir / "plain");
    const fs::path plainPath = ws.dir / "plain" / "dlg.tbf";
    fs::copy_file(guardedPath, plainPath);
    GdtPool pool;
    pool.settings = benchdata::defaultSettings();
    pool.settings.codeFileExt = ".pbi";
    BatchDialogs dialogs;
    NoViews views;
    GdtList list;
    std::filesystem::path listFile;
    bool changed = false;
    History history;
    std::string lastFolder;
    DocumentCommands commands({list, listFile, changed, pool, history, lastFolder}, dialogs, views,
                              [] { return std::time_t{0}; });
    commands.openList(guardedPath);
    // Wall time includes the waits for the disk; the processor time of this
    // thread is what a loaded machine disturbs least.
    auto cpuMs = [] {
        timespec t = {};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    };
    auto wallMs = [] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
    };
    double plainWall = 0, guardedWall = 0, plainCpu = 0, guardedCpu = 0;
    for (auto _ : state) {
        benchdata::coldStart(state);
        double w = wallMs(), c = cpuMs();
        if (!writeListFile(plainPath, list).ok || !generateCodeFile(plainPath, list, pool.settings, 0).ok)
            state.SkipWithError("save failed");
        plainWall += wallMs() - w;
        plainCpu += cpuMs() - c;
        benchdata::coldStart(state);
        w = wallMs(), c = cpuMs();
        if (!commands.saveList())
            state.SkipWithError("save failed");
        guardedWall += wallMs() - w;
        guardedCpu += cpuMs() - c;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["plain_ms"] = plainWall / n;
    state.counters["guarded_ms"] = guardedWall / n;
    state.counters["extra_pct"] = 100.0 * (guardedWall - plainWall) / plainWall;
    state.counters["plain_cpu_ms"] = plainCpu / n;
    state.counters["guarded_cpu_ms"] = guardedCpu / n;
    state.counters["extra_cpu_pct"] = 100.0 * (guardedCpu - plainCpu) / plainCpu;
}

void BM_FileIdentity(benchmark::State &state)
{
    Workspace ws(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchdata::coldStart(state);
        benchmark::DoNotOptimize(fileIdentityOf(ws.dir / "dlg.tbf"));
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
BENCHMARK(BM_SaveListGuarded)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(40)->UseRealTime();
BENCHMARK(BM_FileIdentity)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SettingsSelectGroupByName)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshCodeProcess)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();

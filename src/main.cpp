// The program entry. Batch commands run on the core alone; the editor lives
// in the widget library, which is loaded only when a window is wanted, so
// that "/refreshcode" starts fast and needs no display.
#include "core/app/batchdialogs.h"
#include "core/app/batchimport.h"
#include "core/app/batchrefresh.h"
#include "core/app/editorentry.h"
#include "core/app/installlayout.h"
#include "core/app/startup.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <string>
#include <vector>

namespace {

using namespace tafelbau;

void *loadEditorLibrary(const StartupEnvironment &env)
{
    const std::filesystem::path lib = editorLibraryFile(programFolderOf(env.executable), kEditorLibrary);
    void *handle = dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        std::fprintf(stderr, "Tafelbau: %s\n", dlerror());
    return handle;
}

template<typename Fn>
Fn editorSymbol(void *handle, const char *name)
{
    return handle ? reinterpret_cast<Fn>(dlsym(handle, name)) : nullptr;
}

int runBatch(const CommandLine &cl, const StartupEnvironment &env)
{
    void *uiLibrary = nullptr;
    auto showBox = [&](const std::string &text) {
        if (!displayAvailable())
            return;
        if (!uiLibrary)
            uiLibrary = loadEditorLibrary(env);
        if (auto box = editorSymbol<MessageBoxEntry>(uiLibrary, kMessageBoxSymbol))
            box(text.c_str());
    };
    BatchDialogs dialogs(showBox);
    // Deliberately never freed: the process ends right after, and taking a
    // ten-thousand-gadget list apart record by record would only cost time.
    // Held by a static, so that a leak checker counts it as still in use.
    static AppState *const kept = new AppState;
    AppState &state = *kept;
    // A pool that is there but unreadable has been reported; without it the
    // code file's name is not known.
    if (!startUp(state, dialogs, env))
        return 1;
    const std::time_t now = generationTime(std::getenv("SOURCE_DATE_EPOCH"), std::time(nullptr));
    const BatchNote note = [](const std::string &text) { std::fprintf(stderr, "Tafelbau: %s\n", text.c_str()); };
    if (cl.mode == CommandLine::Mode::Check)
        return checkListFile(state, dialogs, cl.listFile, [](const std::string &line) { std::printf("%s\n", line.c_str()); });
    if (cl.mode == CommandLine::Mode::RefreshCode)
        return refreshCode(state, dialogs, cl.codeFile, now, note);
    return importIntoListFile(state, dialogs, cl.source, cl.listFile, now, note);
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const CommandLine cl = parseCommandLine(args);
    const StartupEnvironment env = StartupEnvironment::fromProcess();
    switch (cl.mode) {
    case CommandLine::Mode::Help: std::fputs(usageText().c_str(), stdout); return 0;
    case CommandLine::Mode::Version: std::fputs(versionText().c_str(), stdout); return 0;
    case CommandLine::Mode::Usage: std::fputs(usageText().c_str(), stderr); return 2;
    case CommandLine::Mode::RefreshCode:
    case CommandLine::Mode::Import:
    case CommandLine::Mode::Check: return runBatch(cl, env);
    case CommandLine::Mode::Editor: break;
    }
    if (!displayAvailable() && !std::getenv("QT_QPA_PLATFORM")) {
        std::fputs(noDisplayText().c_str(), stderr);
        return 1;
    }
    void *ui = loadEditorLibrary(env);
    auto runEditor = editorSymbol<RunEditorEntry>(ui, kRunEditorSymbol);
    if (!runEditor)
        return 1;
    return runEditor(argc, argv);
}

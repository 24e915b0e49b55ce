#include "core/app/startup.h"

#include "core/app/installlayout.h"
#include "core/document/latin1.h"
#include "core/document/rewritesafeguard.h"
#include "core/document/statefolder.h"
#include "core/pool/poolfile.h"

#include <cstdint>
#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tafelbau {

namespace {

fs::path withSlash(fs::path p)
{
    std::string s = p.native();
    if (s.empty() || (s.back() != '/' && s.back() != '\\'))
        s.push_back('/');
    return s;
}

} // namespace

StartupEnvironment StartupEnvironment::fromProcess()
{
    StartupEnvironment env;
    std::error_code ec;
    env.executable = fs::read_symlink("/proc/self/exe", ec);
    if (const char *v = std::getenv("XDG_CONFIG_HOME"))
        env.xdgConfigHome = v;
    if (const char *v = std::getenv("XDG_DATA_HOME"))
        env.xdgDataHome = v;
    if (const char *v = std::getenv("XDG_STATE_HOME"))
        env.xdgStateHome = v;
    if (const char *v = std::getenv("HOME"))
        env.home = v;
    return env;
}

fs::path programFolderOf(const fs::path &executable)
{
    const std::string &s = executable.native();
    const std::size_t cut = s.find_last_of("/\\");
    return withSlash(cut == std::string::npos ? std::string() : s.substr(0, cut + 1));
}

fs::path applicationDataFolder(const StartupEnvironment &env)
{
    // The XDG rule: a relative $XDG_CONFIG_HOME is to be ignored.
    if (!env.xdgConfigHome.empty() && env.xdgConfigHome.front() == '/')
        return withSlash(env.xdgConfigHome);
    if (!env.home.empty())
        return withSlash(fs::path(env.home) / ".config");
    return {};
}

bool startUp(AppState &state, Dialogs &dialogs, const StartupEnvironment &env)
{
    state.displayScale = 1.0f;
    state.programFolder = programFolderOf(env.executable);
    state.stateFolder = stateFolderFor(env.xdgStateHome, env.home);
    for (const RecoveredRewrite &r : recoverInterruptedRewrites(state.stateFolder))
        dialogs.showMessage(recoveryMessage(r));
    const fs::path appData = applicationDataFolder(env);
    // No home, no data folder: one at the root of the file system would be
    // shared by every user without a home, root included.
    state.dataFolder = appData.empty() ? fs::path() : withSlash(appData / "Tafelbau");
    std::error_code ec;
    if (!state.dataFolder.empty() && !fs::is_directory(state.dataFolder, ec)) {
        fs::create_directories(state.dataFolder, ec);
        if (!fs::is_directory(state.dataFolder, ec))
            dialogs.showMessage("Err - Konnte Verzeichnis nicht anlegen: \r\n" + state.dataFolder.string());
    }
    state.settingsFile = state.dataFolder.empty() ? fs::path() : state.dataFolder / "Tafelbau.ini";
    state.settings = state.settingsFile.empty() ? ProgramSettings{} : readProgramSettings(state.settingsFile);
    state.pool.settings.generalPrgHelpFile = state.settings.helpFile;
    state.poolFile = choosePoolFile(state.programFolder, userDataFolder(env.xdgDataHome, env.home),
                                    shippedPoolFile(state.programFolder), dialogs);
    int error = 0;
    if (loadGdtPool(state.poolFile, state.pool, &error))
        return true;
    const std::string unreadable = unreadablePoolMessage(state.poolFile, error);
    if (unreadable.empty())
        return true;
    dialogs.showMessage(unreadable);
    return false;
}

CommandLine parseCommandLine(const std::vector<std::string> &args)
{
    CommandLine cl;
    const std::string first = args.empty() ? std::string() : foldedCopy(args[0]);
    auto arg = [&](std::size_t i) { return i < args.size() ? args[i] : std::string(); };
    if (first.empty()) {
        cl.mode = CommandLine::Mode::Editor;
    } else if (first == "/refreshcode") {
        cl.mode = CommandLine::Mode::RefreshCode;
        cl.codeFile = arg(1);
    } else if (first == "/import") {
        if (args.size() < 3) {
            cl.mode = CommandLine::Mode::Usage;
        } else {
            cl.mode = CommandLine::Mode::Import;
            cl.source = args[1];
            cl.listFile = args[2];
        }
    } else if (first == "/check") {
        if (args.size() < 2) {
            cl.mode = CommandLine::Mode::Usage;
        } else {
            cl.mode = CommandLine::Mode::Check;
            cl.listFile = args[1];
        }
    } else if (first == "--help" || first == "-h" || first == "/?") {
        cl.mode = CommandLine::Mode::Help;
    } else if (first == "--version") {
        cl.mode = CommandLine::Mode::Version;
    } else {
        cl.mode = CommandLine::Mode::Editor;
        cl.startFile = args[0];
    }
    return cl;
}

std::time_t generationTime(const char *sourceDateEpoch, std::time_t now)
{
    if (!sourceDateEpoch || !*sourceDateEpoch)
        return now;
    std::int64_t seconds = 0;
    for (const char *p = sourceDateEpoch; *p; ++p) {
        if (*p < '0' || *p > '9' || seconds > (std::int64_t{1} << 40))
            return now;
        seconds = seconds * 10 + (*p - '0');
    }
    return static_cast<std::time_t>(seconds);
}

std::string usageText()
{
    return "Aufruf:\n"
           "  tafelbau                        Editor mit neuer Gadgetliste\n"
           "  tafelbau LISTE.tbf              Editor mit dieser Gadgetliste\n"
           "  tafelbau /refreshcode CODE.pbi  Codedatei aus CODE.tbf neu erzeugen\n"
           "  tafelbau /import QUELLE LISTE.tbf\n"
           "                                  Gadgets aus QUELLE in LISTE.tbf importieren,\n"
           "                                  speichern und die Codedatei erzeugen\n"
           "  tafelbau /check LISTE.tbf       Struktur prüfen: ein Problem je Zeile auf der\n"
           "                                  Standardausgabe, Status 1 bei Problemen\n"
           "  tafelbau --help                 diese Hilfe\n"
           "  tafelbau --version              Version\n";
}

std::string versionText()
{
    return "Tafelbau 0.583\n";
}

std::string noDisplayText()
{
    return "Tafelbau: Das Editorfenster braucht eine Anzeige (DISPLAY oder WAYLAND_DISPLAY), "
           "und es ist keine da.\n"
           "Ohne Anzeige arbeiten die Aufrufe /refreshcode und /import; tafelbau --help zeigt sie.\n";
}

} // namespace tafelbau

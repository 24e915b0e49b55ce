#pragma once

#include "app/appstate.h"
#include "app/dialogs.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tafelbau {

/// Where the program looks for its files, worked out from the environment.
struct StartupEnvironment
{
    std::filesystem::path executable;  ///< the running program file
    std::string xdgConfigHome;         ///< $XDG_CONFIG_HOME, may be empty
    std::string home;                  ///< $HOME, may be empty

    static StartupEnvironment fromProcess();
};

/// Folder of the program file, the user's application-data folder, and the
/// data folder below it; both folders end in "/".
std::filesystem::path programFolderOf(const std::filesystem::path &executable);
std::filesystem::path applicationDataFolder(const StartupEnvironment &env);

/// Fixes the folders (creating the data folder with its parents), reads the
/// program settings and loads the gadget pool. Reports a data folder that
/// cannot be created and goes on.
void startUp(AppState &state, Dialogs &dialogs, const StartupEnvironment &env);

/// What the command line asks for.
struct CommandLine
{
    enum class Mode { Editor, RefreshCode, Import, Help, Version, Usage };
    Mode mode = Mode::Editor;
    std::filesystem::path startFile; ///< Editor: list file to open, may be empty
    std::string codeFile;            ///< RefreshCode: may be empty
    std::filesystem::path source;    ///< Import
    std::filesystem::path listFile;  ///< Import
};

/// `args` are the parameters after the program's own name.
CommandLine parseCommandLine(const std::vector<std::string> &args);

std::string usageText();
std::string versionText();

/// The display scale factor rule: below 0 automatic (dpi / 96), above 0 as
/// given, exactly 0 gives -1.
float displayScaleFor(float factor, float logicalDpiX);

/// Half to even, as the windows round scaled positions and sizes.
int scaledPixels(int value, float factor);

} // namespace tafelbau

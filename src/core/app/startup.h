#pragma once

#include "core/app/appstate.h"
#include "core/document/dialogs.h"

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace tafelbau {

/// Where the program looks for its files, worked out from the environment.
struct StartupEnvironment
{
    std::filesystem::path executable; ///< the running program file
    std::string xdgConfigHome;        ///< $XDG_CONFIG_HOME, may be empty
    std::string xdgDataHome;          ///< $XDG_DATA_HOME, may be empty
    std::string xdgStateHome;         ///< $XDG_STATE_HOME, may be empty
    std::string home;                 ///< $HOME, may be empty

    static StartupEnvironment fromProcess();
};

/// Folder of the program file, the user's application-data folder, and the
/// data folder below it; both folders end in "/".
std::filesystem::path programFolderOf(const std::filesystem::path &executable);
std::filesystem::path applicationDataFolder(const StartupEnvironment &env);

/// Fixes the folders (creating the data folder with its parents), puts back
/// files whose rewrite was cut off (see RewriteSafeguard), reads the program
/// settings, chooses the gadget pool file (see choosePoolFile) and loads it.
/// Without a home folder there is no data folder: the settings keep their
/// defaults and are not written, and no folder is made at the root.
/// Reports a data folder that cannot be created and goes on. False when the
/// pool file is there but could not be read (reported): the pool is empty
/// then, and a batch run is to stop.
bool startUp(AppState &state, Dialogs &dialogs, const StartupEnvironment &env);

/// What the command line asks for.
struct CommandLine
{
    enum class Mode { Editor, RefreshCode, Import, Check, Help, Version, Usage };
    Mode mode = Mode::Editor;
    std::filesystem::path startFile; ///< Editor: list file to open, may be empty
    std::string codeFile;            ///< RefreshCode: may be empty
    std::filesystem::path source;    ///< Import
    std::filesystem::path listFile;  ///< Import, Check
};

/// `args` are the parameters after the program's own name.
CommandLine parseCommandLine(const std::vector<std::string> &args);

/// The time a batch run writes into a code file's date line: `now`, or the
/// one `sourceDateEpoch` (the $SOURCE_DATE_EPOCH of reproducible builds:
/// decimal seconds since 1970) gives, so that a build that generates code
/// files makes the same bytes every time. Anything but digits is ignored.
std::time_t generationTime(const char *sourceDateEpoch, std::time_t now);

std::string usageText();
std::string versionText();
/// What the program says on standard error when the editor is asked for
/// and there is no display to open it on; German, like the usage.
std::string noDisplayText();

} // namespace tafelbau

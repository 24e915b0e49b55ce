#pragma once

#include "core/document/dialogs.h"

#include <filesystem>
#include <optional>
#include <string>

namespace tafelbau {

/// The import chooser's filter: PureBasic sources first, then every file.
inline constexpr const char *kSourceFileFilter = "PureBasic (*.pb *.pbi)|*.pb *.pbi|Alle Dateien|*.*";

/// Where the program's file choosers open and what they remember: the
/// folder of the list shown, else the folder a file was last chosen in.
struct ChooserFolders
{
    const std::filesystem::path &listFile; ///< empty for a new list
    std::string &lastFolder;               ///< kept in the program settings; empty for none
};

/// Where a chooser starts: `name` in the folder of the list shown, else in
/// the folder last chosen from, else `name` alone, which the chooser looks
/// for in the working folder. A folder that is gone is passed over. An
/// empty `name` gives the folder itself, ending in "/".
std::filesystem::path chooserStart(const ChooserFolders &folders, const std::filesystem::path &name);

/// The folder of a chosen file as the program settings can hold it: empty
/// for a relative path and for a folder with a line break in its name or a
/// blank or tab at its end, which the settings file would not give back as
/// written.
std::string folderToRemember(const std::filesystem::path &chosen);

/// The open and save choosers started by chooserStart(); a file chosen
/// makes its folder the one remembered.
std::optional<std::filesystem::path> chooseFileToOpen(Dialogs &dialogs, const ChooserFolders &folders,
                                                      const std::string &title, const std::filesystem::path &name,
                                                      const std::string &filter);
std::optional<std::filesystem::path> chooseFileToSave(Dialogs &dialogs, const ChooserFolders &folders,
                                                      const std::string &title, const std::filesystem::path &name,
                                                      const std::string &filter);

} // namespace tafelbau

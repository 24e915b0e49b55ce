// Where an installed program finds the parts it ships, and where each user's
// gadget pool lives. An installed program's own folder is not writable, so
// the pool the pool editor saves is a copy in the user's data folder.
#pragma once

#include "core/document/dialogs.h"

#include <filesystem>
#include <string>

namespace tafelbau {

inline constexpr char kPoolFileName[] = "TafelbauGadgetPool.ini";

/// The folders of an installed program relative to the folder of its
/// executable. They are fixed when the program is built and hold no prefix,
/// so an installed tree works wherever it is put.
struct InstallLayout
{
    std::filesystem::path libraryFromBin; ///< widget library folder, e.g. "../lib/tafelbau"
    std::filesystem::path dataFromBin;    ///< shipped files, e.g. "../share/tafelbau"

    /// The layout this program was built for.
    static InstallLayout built();
};

/// The widget library `name`: beside the executable when it is there (the
/// build folder, a portable copy), else in the installed library folder.
/// When neither exists, the one beside, so that the loader's error names it.
std::filesystem::path editorLibraryFile(const std::filesystem::path &programFolder, const std::string &name,
                                        const InstallLayout &layout = InstallLayout::built());

/// The pool an installed program ships, read only to make a user's copy.
std::filesystem::path shippedPoolFile(const std::filesystem::path &programFolder,
                                      const InstallLayout &layout = InstallLayout::built());

/// The user's data folder: `xdgDataHome` when it is an absolute path (the
/// XDG rule ignores a relative one), else `home`/.local/share; empty when
/// neither is known.
std::filesystem::path userDataFolder(const std::string &xdgDataHome, const std::string &home);

/// Chooses the pool file every part of the program reads and the pool
/// editor saves:
///  1. the pool beside the executable (build folder, portable use), when
///     there is one;
///  2. else `userData`/Tafelbau/TafelbauGadgetPool.ini. When it is not there
///     yet it is made, folders included, as a copy of `shipped`; a copy that
///     exists is never overwritten.
/// A shipped pool that cannot be read leaves the user's path chosen (the
/// program runs with an empty pool, which the pool editor can save there).
/// A copy that cannot be made falls back to reading `shipped` itself. Both
/// are reported through `dialogs`; so is nothing else.
std::filesystem::path choosePoolFile(const std::filesystem::path &programFolder, const std::filesystem::path &userData,
                                     const std::filesystem::path &shipped, Dialogs &dialogs);

} // namespace tafelbau

#pragma once

#include "core/app/appstate.h"
#include "core/document/dialogs.h"

#include <ctime>
#include <filesystem>

namespace tafelbau {

/// "/import SOURCE LIST": loads LIST when it exists (an empty list at that
/// path otherwise), imports SOURCE as the menu command does, saves the list
/// and regenerates its code file. Returns the exit status.
int importIntoListFile(AppState &state, Dialogs &dialogs, const std::filesystem::path &source,
                       const std::filesystem::path &listFile, std::time_t now);

} // namespace tafelbau

#pragma once

#include "core/app/appstate.h"
#include "core/app/batchrefresh.h"
#include "core/document/dialogs.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

namespace tafelbau {

/// "/import SOURCE LIST": loads LIST when it exists (an empty list at that
/// path otherwise), imports SOURCE as the menu command does, saves the list
/// and regenerates its code file. Refuses, before anything is written, a
/// SOURCE that the list's code or export file would overwrite. Returns the
/// exit status.
int importIntoListFile(AppState &state, Dialogs &dialogs, const std::filesystem::path &source,
                       const std::filesystem::path &listFile, std::time_t now, const BatchNote &note = {});

/// "/check LIST": loads LIST and writes each problem of its structure (see
/// checkStructure) as one line to `out` (UTF-8). Returns the exit status:
/// 0 for a clean list, 1 for problems or a list that cannot be loaded
/// (reported through `dialogs`).
int checkListFile(AppState &state, Dialogs &dialogs, const std::filesystem::path &listFile,
                  const std::function<void(const std::string &)> &out);

} // namespace tafelbau

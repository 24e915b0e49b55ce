// The unsaved state of a list, kept in the user's state folder while it has
// changes, so that a crash or a kill loses at most the last half minute.
// One recovery file per list, named after the list's path (a new list's
// after the process that edits it, as several may run); beside it a second
// file names the list, for the offer at the next start.
#pragma once

#include "core/document/fileops.h"
#include "core/document/gdtlist.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>

namespace tafelbau {

struct Recovery
{
    std::filesystem::path file;     ///< the recovery file, a gadget list file
    std::filesystem::path listFile; ///< the list it belongs to; empty for a new list
    std::time_t written = 0;
    /// For a new list: the process that wrote it, which may still be
    /// running and editing it.
    long writer = 0;
};

/// Writes `list` as the recovery of `listFile` (empty for a new list),
/// atomically and never over the list itself. False when there is no state
/// folder or it cannot be written; the caller tries again later.
bool writeRecovery(const std::filesystem::path &listFile, const GdtList &list, FileOps &files = FileOps::system());

/// Removes this process's recovery of `listFile`, if there is one.
void removeRecovery(const std::filesystem::path &listFile, FileOps &files = FileOps::system());

/// Removes a recovery found.
void removeRecovery(const Recovery &recovery);

/// The recovery of the list `listFile`, if there is one.
std::optional<Recovery> findRecovery(const std::filesystem::path &listFile, FileOps &files = FileOps::system());

/// The most recent recovery left behind: what a start without a list
/// offers. A new list's recovery whose process still runs is not left
/// behind; `usable` may refuse others (a list another editor has open).
std::optional<Recovery> newestRecovery(FileOps &files = FileOps::system(),
                                       const std::function<bool(const Recovery &)> &usable = {});

} // namespace tafelbau

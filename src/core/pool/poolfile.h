#pragma once

#include "core/document/fileops.h"
#include "core/document/outcome.h"
#include "core/pool/gdtpool.h"

#include <filesystem>
#include <string>

namespace tafelbau {

/// Reads the pool file into `pool`. When the file cannot be read, `pool`
/// keeps what it holds, false comes back and `error` receives why (an errno
/// value, or kNotARegularFile); nothing is reported here.
bool loadGdtPool(const std::filesystem::path &path, GdtPool &pool, int *error = nullptr);

/// The message for a pool file that is there but could not be read (no
/// permission, a folder, a link to nothing): the program then runs with an
/// empty pool, and a save writes no code file. Empty when the file is
/// simply missing, as on a first start.
std::string unreadablePoolMessage(const std::filesystem::path &path, int error);

/// Sorts `pool` into pool order and writes it. On failure the file on disk
/// is unchanged and the message names it and the system's reason.
Outcome saveGdtPool(const std::filesystem::path &path, GdtPool &pool, FileOps &files = FileOps::system());

} // namespace tafelbau

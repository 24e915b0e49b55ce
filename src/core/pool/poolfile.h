#pragma once

#include "core/document/fileops.h"
#include "core/document/outcome.h"
#include "core/pool/gdtpool.h"

#include <filesystem>

namespace tafelbau {

/// Reads the pool file into `pool`. When the file cannot be read, `pool`
/// keeps what it holds and false comes back; nothing is reported, as a
/// missing pool is a normal first start.
bool loadGdtPool(const std::filesystem::path &path, GdtPool &pool);

/// Sorts `pool` into pool order and writes it. On failure the file on disk
/// is unchanged and the message names it.
Outcome saveGdtPool(const std::filesystem::path &path, GdtPool &pool, FileOps &files = FileOps::system());

} // namespace tafelbau

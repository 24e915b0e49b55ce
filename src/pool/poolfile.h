#pragma once

#include "document/outcome.h"
#include "pool/gdtpool.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tafelbau {

/// Reads the pool file into `pool`. When the file cannot be read, `pool`
/// keeps what it holds and false comes back; nothing is reported, as a
/// missing pool is a normal first start.
bool loadGdtPool(const std::filesystem::path &path, GdtPool &pool);

/// Sorts `pool` into pool order and writes it. On failure the file on disk
/// is unchanged and the message names it.
Outcome saveGdtPool(const std::filesystem::path &path, GdtPool &pool);

/// Names the group form of the file cannot hold apart or at all: empty, with
/// "]", a line break or NUL, blanks at either end, or equal to another name
/// when A-Z case is ignored. Returns the offending names (Latin-1), each once.
std::vector<std::string> unsafeGroupNames(const std::vector<std::string> &names);

} // namespace tafelbau

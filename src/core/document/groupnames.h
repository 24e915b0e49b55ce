#pragma once

#include <string>
#include <vector>

namespace tafelbau {

/// Names the group form of the file cannot hold apart or at all: empty, with
/// "]", a line break or NUL, blanks at either end, or equal to another name
/// when A-Z case is ignored. Returns the offending names (Latin-1), each once.
std::vector<std::string> unsafeGroupNames(const std::vector<std::string> &names);

} // namespace tafelbau

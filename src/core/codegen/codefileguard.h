// Code files are generated, yet users edit them by hand all the same. What
// the program last wrote to each code file is remembered (a hash, in the
// user's state folder); a code file that holds anything else is kept as
// "<code file>.bak" before it is written anew.
#pragma once

#include "core/document/fileops.h"
#include "core/document/outcome.h"

#include <filesystem>
#include <string_view>

namespace tafelbau {

/// Before `newBytes` replace the code file `code`: copies what it holds to
/// "<code>.bak" (replacing an older copy) unless that is what this program
/// last wrote there, nothing, or the same code but for its date line. The
/// outcome's notice says where the copy went; a copy that cannot be made
/// is a failure, and the code file must then not be written.
Outcome keepHandEdits(const std::filesystem::path &code, std::string_view newBytes, FileOps &files);

/// Remembers `bytes` as what the code file `code` holds now. Silent: a
/// state folder that cannot be written only means the next save keeps a
/// copy it might not have needed.
void rememberCodeFile(const std::filesystem::path &code, std::string_view bytes, FileOps &files);

} // namespace tafelbau

#pragma once

#include "document/gdtlist.h"
#include "pool/gdtpool.h"

#include <filesystem>
#include "document/outcome.h"

#include <string>

namespace tafelbau {

inline constexpr const char *kListFileVersion = "081103";

/// Writes `list` as a gadget list file. Refuses (and writes nothing) when
/// VarIDs would not read back apart; on any failure the old file stays.
Outcome writeListFile(const std::filesystem::path &path, const GdtList &list);

/// The list-file bytes for `list`, without the VarID check.
std::string listFileBytes(const GdtList &list);

/// Reads a gadget list file into `list`, replacing it only on success. Frame
/// colours come from `pool`; a type the pool lacks gets the default colour.
Outcome loadListFile(const std::filesystem::path &path, const GdtPool &pool, GdtList &list);

} // namespace tafelbau

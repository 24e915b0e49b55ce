#pragma once

#include "core/document/fileops.h"
#include "core/document/gdtlist.h"
#include "core/document/outcome.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace tafelbau {

inline constexpr const char *kListFileVersion = "081103";

/// Writes `list` as a gadget list file. Refuses (and writes nothing) when
/// VarIDs would not read back apart; on any failure the old file stays.
Outcome writeListFile(const std::filesystem::path &path, const GdtList &list, FileOps &files = FileOps::system());

/// The list-file bytes for `list`, without the VarID check.
std::string listFileBytes(const GdtList &list);

/// The frame colour of a gadget type: the list file holds none, the pool
/// the list is shown with does.
using FrameColourOf = std::function<std::uint32_t(std::string_view typeName)>;

/// Reads a gadget list file into `list`, replacing it only on success. Each
/// record's frame colour comes from `colourOf` its type.
Outcome loadListFile(const std::filesystem::path &path, GdtList &list, const FrameColourOf &colourOf);

} // namespace tafelbau

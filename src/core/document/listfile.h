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
/// VarIDs would not read back apart or a one-line value holds a line break;
/// on any failure the old file stays.
Outcome writeListFile(const std::filesystem::path &path, const GdtList &list, FileOps &files = FileOps::system());

/// Whether a one-line value of `r` (text, name, p0-p9, pname0-pname9) holds
/// a CR or LF, which would split its line in the file.
bool hasLineBreakInValue(const GadgetRecord &r);

/// `value` with every line break (CR LF, CR or LF) replaced by `code`, the
/// pool's line-break code; a code that itself holds a line break counts as
/// a blank.
std::string withLineBreakCode(std::string_view value, std::string_view code);

/// The list-file bytes for `list`, without the VarID check.
std::string listFileBytes(const GdtList &list);

/// The frame colour of a gadget type: the list file holds none, the pool
/// the list is shown with does.
using FrameColourOf = std::function<std::uint32_t(std::string_view typeName)>;

/// Reads a gadget list file into `list`, replacing it only on success. Each
/// record's frame colour comes from `colourOf` its type.
Outcome loadListFile(const std::filesystem::path &path, GdtList &list, const FrameColourOf &colourOf);

} // namespace tafelbau

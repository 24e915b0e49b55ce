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

/// The encoding `list` is written in: UTF-8 when it is a UTF-8 list or holds
/// a character beyond Latin-1, which a Latin-1 file could not keep; else
/// Latin-1, byte for byte as the texts are. A caller that has written the
/// list makes this its encoding, so that it stays UTF-8 from then on.
/// Looks at every text of the list.
TextEncoding encodingToWrite(const GdtList &list);

/// Writes `list` as a gadget list file, in encodingToWrite(list), which
/// `written` receives. Refuses (and writes nothing) when VarIDs would not
/// read back apart or a one-line value holds a line break; on any failure
/// the old file stays and the message names the system's reason.
/// `writtenHash`, when given, receives the list-file identity hash (see
/// fileidentity.h) of the bytes written.
Outcome writeListFile(const std::filesystem::path &path, const GdtList &list, FileOps &files = FileOps::system(),
                      TextEncoding *written = nullptr, std::uint64_t *writtenHash = nullptr);

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
/// record's frame colour comes from `colourOf` its type; the list's encoding
/// is the file's.
Outcome loadListFile(const std::filesystem::path &path, GdtList &list, const FrameColourOf &colourOf);

} // namespace tafelbau

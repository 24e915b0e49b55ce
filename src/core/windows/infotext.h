#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace tafelbau {

/// The info text as the build packed it into the program: one zlib stream
/// (RFC 1950) of the Latin-1, CR LF text.
std::span<const unsigned char> builtInInfoData();

enum class InfoFailure { None, WindowNotOpened, NoMemory, Unpacking };

struct UnpackedInfo
{
    InfoFailure failure = InfoFailure::None;
    std::string text; ///< Latin-1 bytes, exactly the unpacked length; empty on failure
};

/// Inflates `compressed` into a buffer of ten times its size. A buffer that
/// cannot be had gives NoMemory; a stream that is damaged, cut short, or
/// unpacks to more than the buffer holds gives Unpacking. Bytes after the
/// end of the stream are ignored.
UnpackedInfo unpackInfoText(std::span<const unsigned char> compressed);

/// The message for a failure of the info window, Latin-1; empty for None.
std::string infoFailureMessage(InfoFailure failure);

} // namespace tafelbau

#pragma once

#include <string>
#include <string_view>

namespace tafelbau {

/// Keeps a multi-line value on one settings-file line: every CR LF becomes
/// byte 0x1F, then every tab byte 0x1E. A lone CR or LF, which some text
/// widgets and hand-edited files deliver, is first taken as a line break of
/// its own, so it cannot split the value across lines of the file.
std::string encodeMultiLine(std::string_view text);

/// Reverses encodeMultiLine: 0x1F becomes CR LF, then 0x1E a tab.
std::string decodeMultiLine(std::string_view text);

/// Turns every lone CR and every lone LF into CR LF; CR LF pairs stay.
std::string normaliseLineBreaks(std::string_view text);

} // namespace tafelbau

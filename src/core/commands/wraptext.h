#pragma once

#include <string>
#include <string_view>

namespace tafelbau {

/// Re-wraps `text` (Latin-1) to lines of fewer than `width` bytes. Every CR LF
/// is dropped first and counts as one blank; a lone CR or LF stays inside its
/// word. Words are cut at every single blank, so two blanks make an empty
/// word. A line is ended before the word that would bring "line + blank +
/// word" above `width`, and is written without leading and trailing blanks.
/// Lines are joined by CR LF; the last one has none. A word too long for any
/// line stands alone, and when it comes first the result starts with an empty
/// line. A `width` of 0 or below puts every word on a line of its own.
std::string wrapText(std::string_view text, int width);

} // namespace tafelbau

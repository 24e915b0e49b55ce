// PureBasic sources come in two encodings: the PureBasic editor saves UTF-8
// (with or without a byte-order mark), older sources are Latin-1. The import
// reads both; the records it makes hold core texts (latin1.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tafelbau {

enum class SourceEncoding : std::uint8_t { Latin1, Utf8 };

struct SourceText
{
    std::string_view bytes; ///< without a byte-order mark
    SourceEncoding encoding = SourceEncoding::Latin1;
};

/// A byte-order mark makes a source UTF-8 (and is cut off); without one it
/// is UTF-8 when it is valid UTF-8 and holds at least one character beyond
/// ASCII, else Latin-1: Latin-1 text with umlauts is hardly ever valid UTF-8.
/// One pass over the bytes.
SourceText detectSourceEncoding(std::string_view bytes) noexcept;

/// The core text of UTF-8 source text: Latin-1 bytes, a character beyond
/// U+00FF held as latin1.h describes, its code point appended to `wide`
/// (the list that gets it is saved as UTF-8). An invalid sequence (only
/// possible after a byte-order mark) becomes "?".
std::string latin1FromUtf8(std::string_view utf8, std::vector<std::int32_t> &wide);

/// "U+20AC": how a message names a character that Latin-1 cannot hold.
std::string codePointName(std::int32_t codePoint);

} // namespace tafelbau

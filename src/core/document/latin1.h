// Byte-level text helpers shared by every core file format.
//
// Core texts are Latin-1 bytes held in std::string; only the edge towards the
// user (messages, terminal, widgets) sees UTF-8. A character beyond Latin-1
// (which only a list or source that arrives as UTF-8 can bring) is held as
// kWideMark followed by its UTF-8 bytes: every byte-wise step of the core
// passes it on untouched, and the conversions below turn it back into the
// character. A Latin-1 text never holds that byte before such a sequence.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tafelbau {

/// Maps A-Z to a-z and leaves every other byte alone, as the file formats
/// compare names; umlauts and other non-ASCII bytes are never folded.
constexpr char foldAscii(char c) noexcept
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool equalsFolded(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    return true;
}
std::string foldedCopy(std::string_view s);

/// Whether `text` holds `lowerNeedle` (lower-case ASCII), A-Z folded: a
/// cheap test before a template is parsed.
bool mentionsFolded(std::string_view text, std::string_view lowerNeedle) noexcept;

/// Position of the first byte equal to `a` or `b` in `s` from `from` on, or
/// npos. Vectorised: the file readers run it over every byte they read.
std::size_t findEitherByte(std::string_view s, std::size_t from, char a, char b) noexcept;

/// How a file stores its texts: one byte per character, or UTF-8 (marked
/// by its byte-order mark at the start of the file).
enum class TextEncoding { Latin1, Utf8 };

/// Starts a character beyond Latin-1 in a core text (the control byte SUB).
inline constexpr char kWideMark = '\x1A';

/// Whether `text` holds a character beyond Latin-1, which only UTF-8 can
/// store.
bool holdsWideCharacters(std::string_view text) noexcept;

/// Converts a core text to UTF-8: two bytes for 0x80-0xFF, a held wide
/// character back to its own bytes.
std::string latin1ToUtf8(std::string_view latin1);

/// Length of the valid UTF-8 sequence of a character beyond ASCII at `i`
/// and its code point; 0 when the bytes there start none.
std::size_t utf8Sequence(std::string_view s, std::size_t i, std::uint32_t &cp) noexcept;

/// Converts UTF-8 to a core text: a character up to 255 becomes its Latin-1
/// byte, one above is held as kWideMark and its bytes; every invalid byte
/// sequence becomes one "?".
std::string utf8ToLatin1(std::string_view utf8);

/// Plain decimal: "-" before negative values, no other signs or separators.
std::string numberText(std::int32_t value);

/// Settings-file numbers: optional blanks, an optional sign, decimal digits up
/// to the first other byte. Keeps the low 32 bits of longer numbers instead of
/// overflowing.
std::int32_t parseDecimal(std::string_view text) noexcept;

/// Whole number from user or source text: blanks and tabs skipped, an
/// optional sign, then "$" with hex digits, "%" with binary digits, or decimal
/// digits. Nothing readable gives 0; the low 32 bits are kept.
std::int32_t parseWholeNumber(std::string_view text) noexcept;

/// Removes blanks (not tabs) at both ends: where a tab is part of a value,
/// as in import fields and flag lines.
std::string_view trimBlanks(std::string_view s) noexcept;

/// Removes blanks and tabs at both ends.
std::string_view trimBlanksTabs(std::string_view s) noexcept;

/// Replaces every occurrence of `from` (non-empty) by `to`, left to right.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);

} // namespace tafelbau

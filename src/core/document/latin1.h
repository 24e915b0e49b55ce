// Byte-level text helpers shared by every core file format.
//
// Core texts are Latin-1 bytes held in std::string; only the edge towards the
// user (messages, terminal, widgets) sees UTF-8.
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

/// Position of the first byte equal to `a` or `b` in `s` from `from` on, or
/// npos. Vectorised: the file readers run it over every byte they read.
std::size_t findEitherByte(std::string_view s, std::size_t from, char a, char b) noexcept;

/// Converts Latin-1 bytes to UTF-8 (two bytes for 0x80-0xFF).
std::string latin1ToUtf8(std::string_view latin1);

/// The code point of the UTF-8 sequence at `i` (< size), `i` moved past it;
/// -1 for an invalid sequence, `i` then past its lead byte and the
/// continuation bytes that follow it.
std::int32_t nextUtf8CodePoint(std::string_view utf8, std::size_t &i) noexcept;

/// Converts UTF-8 to Latin-1; a character above 255 and every invalid byte
/// sequence become one "?".
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

#include "core/document/latin1.h"

#include <algorithm>
#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tafelbau {

std::size_t findEitherByte(std::string_view s, std::size_t from, char a, char b) noexcept
{
    const char *base = s.data();
    const std::size_t n = s.size();
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a);
    const __m128i vb = _mm_set1_epi8(b);
    for (; i + 16 <= n; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(base + i));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(x, va), _mm_cmpeq_epi8(x, vb)));
        if (hits != 0)
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
    }
#endif
    for (; i < n; ++i)
        if (base[i] == a || base[i] == b)
            return i;
    return std::string_view::npos;
}

bool mentionsFolded(std::string_view text, std::string_view lowerNeedle) noexcept
{
    if (lowerNeedle.empty())
        return true;
    // Horspool: the byte under the needle's end tells how far it may jump,
    // so a long name is looked for in a fraction of the text's bytes.
    const std::size_t n = lowerNeedle.size();
    std::array<std::uint8_t, 256> shift;
    shift.fill(static_cast<std::uint8_t>(std::min<std::size_t>(n, 255)));
    for (std::size_t k = 0; k + 1 < n && k < 255; ++k) {
        const auto jump = static_cast<std::uint8_t>(n - 1 - k);
        const auto c = static_cast<unsigned char>(lowerNeedle[k]);
        shift[c] = jump;
        if (c >= 'a' && c <= 'z')
            shift[c - 'a' + 'A'] = jump;
    }
    for (std::size_t at = 0; at + n <= text.size();) {
        std::size_t k = n;
        while (k > 0 && foldAscii(text[at + k - 1]) == lowerNeedle[k - 1])
            --k;
        if (k == 0)
            return true;
        at += shift[static_cast<unsigned char>(text[at + n - 1])];
    }
    return false;
}

std::string foldedCopy(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        c = foldAscii(c);
    return out;
}

std::size_t utf8Sequence(std::string_view s, std::size_t i, std::uint32_t &cp) noexcept
{
    const std::size_t n = s.size();
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    for (std::size_t k = 1; k < len; ++k) {
        if (i + k >= n || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are invalid.
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

namespace {

/// Length of the wide character held at `i` (the mark included); 0 when
/// the mark there is a byte of its own.
std::size_t heldWide(std::string_view s, std::size_t i) noexcept
{
    if (i + 1 >= s.size())
        return 0;
    std::uint32_t cp = 0;
    const std::size_t len = utf8Sequence(s, i + 1, cp);
    return len != 0 && cp > 0xFF ? len + 1 : 0;
}

} // namespace

bool holdsWideCharacters(std::string_view text) noexcept
{
    for (std::size_t i = text.find(kWideMark); i != std::string_view::npos; i = text.find(kWideMark, i + 1))
        if (heldWide(text, i) != 0)
            return true;
    return false;
}

std::string latin1ToUtf8(std::string_view latin1)
{
    std::string out;
    out.reserve(latin1.size());
    for (std::size_t i = 0; i < latin1.size(); ++i) {
        const char ch = latin1[i];
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            if (ch == kWideMark) {
                if (const std::size_t len = heldWide(latin1, i)) {
                    out.append(latin1.substr(i + 1, len - 1));
                    i += len - 1;
                    continue;
                }
            }
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string utf8ToLatin1(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    while (i < n) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        std::uint32_t cp = 0;
        const std::size_t len = utf8Sequence(utf8, i, cp);
        if (len == 0) {
            // One "?" for the lead byte and the continuation bytes that follow it.
            out.push_back('?');
            ++i;
            while (i < n && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80)
                ++i;
            continue;
        }
        if (cp <= 0xFF) {
            out.push_back(static_cast<char>(cp));
        } else {
            out.push_back(kWideMark);
            out.append(utf8.substr(i, len));
        }
        i += len;
    }
    return out;
}

std::string numberText(std::int32_t value)
{
    return std::to_string(value);
}

namespace {

std::size_t skipBlanks(std::string_view t, std::size_t i) noexcept
{
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t'))
        ++i;
    return i;
}

// Skips blanks and tabs and an optional sign; returns whether it was "-".
bool readSign(std::string_view t, std::size_t &i) noexcept
{
    i = skipBlanks(t, 0);
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        return t[i++] == '-';
    return false;
}

std::int32_t applySign(std::uint32_t magnitude, bool negative) noexcept
{
    // Unsigned arithmetic wraps, which keeps exactly the low 32 bits.
    const std::uint32_t bits = negative ? (0u - magnitude) : magnitude;
    return static_cast<std::int32_t>(bits);
}

} // namespace

std::int32_t parseDecimal(std::string_view text) noexcept
{
    std::size_t i = 0;
    const bool negative = readSign(text, i);
    std::uint32_t v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        v = v * 10u + static_cast<std::uint32_t>(text[i] - '0');
    return applySign(v, negative);
}

std::int32_t parseWholeNumber(std::string_view text) noexcept
{
    std::size_t i = 0;
    const bool negative = readSign(text, i);
    std::uint32_t v = 0;
    if (i < text.size() && text[i] == '$') {
        for (++i; i < text.size(); ++i) {
            const char c = text[i];
            std::uint32_t d;
            if (c >= '0' && c <= '9')
                d = static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                d = static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                d = static_cast<std::uint32_t>(c - 'A' + 10);
            else
                break;
            v = (v << 4) | d;
        }
    } else if (i < text.size() && text[i] == '%') {
        for (++i; i < text.size() && (text[i] == '0' || text[i] == '1'); ++i)
            v = (v << 1) | static_cast<std::uint32_t>(text[i] - '0');
    } else {
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            v = v * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    return applySign(v, negative);
}

std::string_view trimBlanks(std::string_view s) noexcept
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

std::string_view trimBlanksTabs(std::string_view s) noexcept
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return s.substr(b, e - b);
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to)
{
    std::string out;
    if (from.empty())
        return std::string(s);
    out.reserve(s.size());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = s.find(from, pos);
        if (hit == std::string_view::npos)
            break;
        out.append(s, pos, hit - pos);
        out.append(to);
        pos = hit + from.size();
    }
    out.append(s, pos, std::string_view::npos);
    return out;
}

} // namespace tafelbau

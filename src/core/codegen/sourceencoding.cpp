#include "core/codegen/sourceencoding.h"

#include "core/document/latin1.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tafelbau {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Many bytes at a time while they are ASCII: dialog sources are nearly all
// ASCII, and a 10 MB one must not cost a decoding step per byte.
std::size_t skipAscii(std::string_view s, std::size_t i) noexcept
{
#if defined(__SSE2__)
    for (; i + 16 <= s.size(); i += 16)
        if (_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(s.data() + i))) != 0)
            break;
#endif
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, s.data() + i, 8);
        if (word & kHighBits)
            break;
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80)
        ++i;
    return i;
}

} // namespace

SourceText detectSourceEncoding(std::string_view bytes) noexcept
{
    if (bytes.starts_with(kByteOrderMark))
        return {bytes.substr(kByteOrderMark.size()), SourceEncoding::Utf8};
    bool beyondAscii = false;
    for (std::size_t i = skipAscii(bytes, 0); i < bytes.size(); i = skipAscii(bytes, i)) {
        std::uint32_t cp = 0;
        const std::size_t length = utf8Sequence(bytes, i, cp);
        if (length == 0)
            return {bytes, SourceEncoding::Latin1};
        i += length;
        beyondAscii = true;
    }
    return {bytes, beyondAscii ? SourceEncoding::Utf8 : SourceEncoding::Latin1};
}

std::string latin1FromUtf8(std::string_view utf8, std::vector<std::int32_t> &wide)
{
    std::string text = utf8ToLatin1(utf8);
    if (!holdsWideCharacters(text))
        return text;
    for (std::size_t i = skipAscii(utf8, 0); i < utf8.size(); i = skipAscii(utf8, i)) {
        std::uint32_t cp = 0;
        const std::size_t length = utf8Sequence(utf8, i, cp);
        if (length != 0 && cp > 0xFF)
            wide.push_back(static_cast<std::int32_t>(cp));
        i += std::max<std::size_t>(length, 1);
    }
    return text;
}

std::string codePointName(std::int32_t codePoint)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(codePoint));
    return buffer;
}

} // namespace tafelbau

// WrapText: the first four bytes are the width, the rest the text. Checked:
// the words come out in order, none lost or cut; no line has a blank at
// either end; a line of more than one word is shorter than the width.
#include "fuzzutil.h"

#include "core/commands/wraptext.h"
#include "core/document/latin1.h"

#include <cstdint>
#include <cstring>
#include <vector>

using namespace tafelbau;

namespace {

std::vector<std::string_view> split(std::string_view s, std::string_view sep)
{
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = s.find(sep, pos);
        out.push_back(s.substr(pos, hit == std::string_view::npos ? std::string_view::npos : hit - pos));
        if (hit == std::string_view::npos)
            return out;
        pos = hit + sep.size();
    }
}

std::vector<std::string_view> words(std::string_view s)
{
    std::vector<std::string_view> out;
    for (std::string_view w : split(s, " "))
        if (!w.empty())
            out.push_back(w);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::int32_t width = 0;
    if (size >= sizeof width) {
        std::memcpy(&width, data, sizeof width);
        data += sizeof width;
        size -= sizeof width;
    }
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::string wrapped = wrapText(text, width);

    const std::string joined = replaceAll(text, "\r\n", " ");
    // After every CR LF became a blank none can be left, so the CR LFs of the
    // result are exactly its line ends.
    FUZZ_CHECK(joined.find("\r\n") == std::string::npos);
    std::vector<std::string_view> out;
    for (std::string_view line : split(wrapped, "\r\n")) {
        FUZZ_CHECK(line.empty() || (line.front() != ' ' && line.back() != ' '));
        const std::vector<std::string_view> w = words(line);
        FUZZ_CHECK(w.size() <= 1 || static_cast<long long>(line.size()) < width);
        out.insert(out.end(), w.begin(), w.end());
    }
    FUZZ_CHECK(out == words(joined));
    return 0;
}

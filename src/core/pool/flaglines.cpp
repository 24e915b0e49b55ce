#include "core/pool/flaglines.h"

#include "core/document/latin1.h"

namespace tafelbau {

namespace {

} // namespace

std::string defaultFlags(const PoolEntry &entry)
{
    // CR LF and lone CR both end a line here; a lone LF stays inside it.
    const std::string text = replaceAll(entry.flags, "\r\n", "\r");
    std::string flags;
    std::size_t start = 0;
    for (;;) {
        const std::size_t cr = text.find('\r', start);
        const std::string_view line =
            trimBlanks(std::string_view(text).substr(start, cr == std::string::npos ? std::string::npos : cr - start));
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos && trimBlanks(line.substr(0, colon)) == "1") {
            std::string_view value;
            const std::size_t eq = line.find('=');
            if (eq != std::string_view::npos) {
                value = line.substr(eq + 1);
                value = value.substr(0, value.find('='));
            }
            if (!flags.empty())
                flags += entry.flagsep;
            flags += value;
        }
        if (cr == std::string::npos)
            break;
        start = cr + 1;
    }
    return flags;
}

} // namespace tafelbau

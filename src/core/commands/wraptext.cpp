#include "core/commands/wraptext.h"

#include "core/document/latin1.h"

namespace tafelbau {

std::string wrapText(std::string_view text, int width)
{
    const std::string joined = replaceAll(text, "\r\n", " ");
    const auto limit = static_cast<long long>(width);

    std::string result;
    result.reserve(joined.size() + joined.size() / 8);
    std::string line;
    std::size_t start = 0;
    for (;;) {
        const std::size_t blank = joined.find(' ', start);
        const std::string_view word =
            std::string_view(joined).substr(start, blank == std::string::npos ? std::string::npos : blank - start);
        if (static_cast<long long>(line.size() + 1 + word.size()) > limit) {
            result += trimBlanks(line);
            result += "\r\n";
            line.clear();
        }
        line += ' ';
        line += word;
        if (blank == std::string::npos)
            break;
        start = blank + 1;
    }
    result += trimBlanks(line);
    return result;
}

} // namespace tafelbau

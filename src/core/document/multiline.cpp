#include "core/document/multiline.h"

#include "core/document/latin1.h"

namespace tafelbau {

std::string normaliseLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out.append("\r\n");
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out.append("\r\n");
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string encodeMultiLine(std::string_view text)
{
    // One pass gives the same bytes as the two replacements in turn, because
    // neither replacement produces what the other looks for.
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out.push_back('\x1F');
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out.push_back('\x1F');
        } else if (c == '\t') {
            out.push_back('\x1E');
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string decodeMultiLine(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 16);
    // Copy the runs between the two marker bytes whole: values are long and
    // markers rare, and this runs for every template of a big list.
    std::size_t run = 0;
    for (std::size_t i = findEitherByte(text, 0, '\x1F', '\x1E'); i != std::string_view::npos;
         i = findEitherByte(text, i + 1, '\x1F', '\x1E')) {
        out.append(text, run, i - run);
        if (text[i] == '\x1F')
            out.append("\r\n");
        else
            out.push_back('\t');
        run = i + 1;
    }
    out.append(text, run, std::string_view::npos);
    return out;
}

} // namespace tafelbau

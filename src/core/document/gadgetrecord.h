#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tafelbau {

/// Light grey, red = green = blue = 192: the frame colour of gadgets whose
/// type names no colour of its own.
inline constexpr std::uint32_t kDefaultFrameColour = 12632256;

/// One gadget of the document. A plain value: copying copies every text.
struct GadgetRecord
{
    bool selected = false;
    std::string name;  ///< pool entry (gadget type) it was made from
    std::string varId; ///< identifier in the generated code and group name in the list file
    std::int32_t lvid = 0;
    std::string code; ///< template, line breaks as CR LF
    std::string text;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int8_t xy0 = 0; ///< drawn at 0,0 on the canvas; kept as the file's low byte
    std::int32_t xd = 0;
    std::int32_t yd = 0;
    std::string flags;
    std::array<std::string, 10> p;
    std::array<std::string, 10> pname;
    std::int32_t tab = 0;
    std::int32_t card = 0;
    std::int8_t dontshow = 0;
    std::uint32_t color = kDefaultFrameColour;

    bool operator==(const GadgetRecord &) const = default;
};

} // namespace tafelbau

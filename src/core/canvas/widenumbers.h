#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tafelbau {

// Records come from hand-edited files: any sum of two of their 32-bit fields
// may leave 32 bits, so geometry is worked out in 64 bits and stored back
// saturated.

inline std::int32_t saturated(std::int64_t v) noexcept
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

/// Division rounding towards minus infinity, as a raster snaps both ways.
inline std::int64_t floorDiv(std::int64_t a, std::int64_t b) noexcept
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace tafelbau

#pragma once

#include <cmath>

namespace tafelbau {

/// The display scale factor rule: below 0 automatic (dpi / 96), above 0 as
/// given, exactly 0 gives -1.
inline float displayScaleFor(float factor, float logicalDpiX)
{
    if (factor < 0.0f)
        return logicalDpiX / 96.0f;
    if (factor > 0.0f)
        return factor;
    return -1.0f;
}

/// Half to even, as the windows round scaled positions and sizes.
inline int scaledPixels(int value, float factor)
{
    return static_cast<int>(std::nearbyint(static_cast<double>(value) * static_cast<double>(factor)));
}

} // namespace tafelbau

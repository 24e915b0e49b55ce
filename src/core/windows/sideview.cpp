#include "core/windows/sideview.h"

#include <algorithm>

namespace tafelbau {

int sideViewWidth(const SideViewRoom &room, int wanted)
{
    const int most = room.area - room.mainMinimum - room.separator;
    return std::max(room.sideMinimum, std::min(wanted, most));
}

int firstSideViewWidth(int area, int minimum, int maximum)
{
    return std::clamp(area / 2, minimum, std::max(minimum, maximum));
}

} // namespace tafelbau

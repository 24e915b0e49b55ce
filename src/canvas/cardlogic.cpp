#include "canvas/cardlogic.h"

#include <vector>

namespace tafelbau {

std::int32_t nextFreeCard(const GdtList &list)
{
    // With n records at most n cards are taken, so the answer lies in 0..n and
    // card numbers beyond n can be ignored: one pass instead of a rescan of
    // the list for every candidate.
    const std::size_t n = list.records().size();
    std::vector<bool> used(n + 1, false);
    for (const GadgetRecord &r : list.records())
        if (r.card >= 0 && static_cast<std::size_t>(r.card) <= n)
            used[static_cast<std::size_t>(r.card)] = true;
    std::size_t free = 0;
    while (used[free])
        ++free;
    return static_cast<std::int32_t>(free);
}

} // namespace tafelbau

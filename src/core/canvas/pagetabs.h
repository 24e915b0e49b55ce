// The tabs of a panel on the card: a click on one shows that page's card.
#pragma once

#include "core/canvas/mousedrag.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tafelbau {

/// The page record whose tab lies at `p` on `card`: of the panels drawn on
/// that card, the last one in list order whose tab strip (`tabHeight` high
/// from its top) holds `p`; its pages' tabs side by side from its left,
/// each `tabWidth`(caption) wide, as far as the panel reaches. -1 for none.
int pageTabAt(const GdtList &list, std::int32_t card, CardPoint p, std::int32_t tabHeight,
              const std::function<std::int32_t(const std::string &latin1Caption)> &tabWidth);

} // namespace tafelbau

#pragma once

#include "core/commands/editoutcome.h"
#include "core/document/gdtlist.h"

#include <cstdint>

namespace tafelbau {

/// A left click at (x, y) on `card`: only the gadget there is selected, or
/// none when the click hits nothing.
EditOutcome selectGadgetAtPoint(GdtList &list, std::int32_t card, std::int32_t x, std::int32_t y);

} // namespace tafelbau

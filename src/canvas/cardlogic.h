#pragma once

#include "document/gdtlist.h"

#include <cstdint>

namespace tafelbau {

/// The smallest card number >= 0 that no record of `list` uses; negative
/// card numbers never count. Linear in the number of records.
std::int32_t nextFreeCard(const GdtList &list);

} // namespace tafelbau

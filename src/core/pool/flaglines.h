#pragma once

#include "core/pool/poolentry.h"

#include <string>

namespace tafelbau {

/// The flags a new gadget of `entry` starts with: the values of the flag
/// lines whose default part is exactly "1", in line order, joined by the
/// entry's flag separator. A value is the text between the line's first and
/// second "=", untrimmed.
std::string defaultFlags(const PoolEntry &entry);

} // namespace tafelbau

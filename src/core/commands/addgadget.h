#pragma once

#include "core/commands/editoutcome.h"
#include "core/document/gdtlist.h"
#include "core/pool/gdtpool.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tafelbau {

/// Where the next added gadget goes: the position of the gadget last shown
/// in the property list, with 0 meaning "take the pool entry's default".
struct NewGadgetPosition
{
    std::int32_t x = 0;
    std::int32_t y = 0;

    bool operator==(const NewGadgetPosition &) const = default;
};

/// `base` followed by the smallest number from 1 up that no record of
/// `list` has as its VarID. One pass over the list, whatever the number.
std::string freshVarId(const GdtList &list, std::string_view base);

/// A record made from `entry` as adding makes it: a fresh VarID (also its
/// text), the entry's template, size, flags and parameter names. Position,
/// card, indent, lvid and selection are left to the caller.
GadgetRecord recordFromPool(const GdtList &list, const PoolEntry &entry);

/// A double-click on `chosenName` in the gadget chooser: inserts a new record
/// made from that pool entry after the current row (appends when no row is
/// selected), selects only it and updates `position`. It lies on the card
/// of the window, page or container the code creates it in. An empty name
/// or one no longer in the pool does nothing.
EditOutcome addGadgetFromPool(GdtList &list, const GdtPool &pool, std::string_view chosenName,
                              NewGadgetPosition &position);

} // namespace tafelbau

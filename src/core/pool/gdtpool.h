#pragma once

#include "core/document/listfile.h"
#include "core/pool/poolentry.h"

#include <string_view>
#include <vector>

namespace tafelbau {

/// The gadget types and the pool settings.
struct GdtPool
{
    std::vector<PoolEntry> entries;
    PoolSettings settings;

    /// First entry, in the current order, whose name equals `name` byte for
    /// byte; nullptr when there is none.
    const PoolEntry *find(std::string_view name) const;
    PoolEntry *find(std::string_view name);

    /// Ascending by name with A-Z folded, stable.
    void sortIntoPoolOrder();
};

/// The frame colours `pool` gives the types of a loaded list; a type it
/// lacks gets the default colour. `pool` must outlive the result.
FrameColourOf frameColoursOf(const GdtPool &pool);

/// Pool order comparison: bytes compared unsigned after folding A-Z only.
bool poolNameLess(std::string_view a, std::string_view b) noexcept;

} // namespace tafelbau

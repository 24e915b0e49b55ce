// Commands for designing with the mouse and the usual keys: everything on
// the card shown, duplicates, the stacking order and gadgets dropped where
// the mouse is. Each returns what the window has to bring up to date.
#pragma once

#include "core/canvas/mousedrag.h"
#include "core/commands/editoutcome.h"
#include "core/document/gdtlist.h"
#include "core/pool/gdtpool.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tafelbau {

/// Every gadget drawn on `card` is selected, every other record not.
EditOutcome selectAllOnCard(GdtList &list, std::int32_t card);

/// Copies of the selected records, `offset` pixels further right and down,
/// go in where pasting puts them (fresh VarIDs; with `shownCard`, onto that
/// card after the last record of its page or window) and are the selection
/// then. Nothing selected: nothing happens.
EditOutcome duplicateSelectedGadgets(GdtList &list, std::int32_t offset,
                                     std::optional<std::int32_t> shownCard = {});

/// Later records are drawn over earlier ones of the same gadget list.
enum class StackMove { ToFront, ToBack };

/// The list order after moving every selected plain gadget (with the items
/// that fill it) to the end or the start of the gadget list it is created
/// in, as indices of the records now. nullopt when nothing would change, or
/// when a move would put a gadget into another gadget list.
std::optional<std::vector<int>> restackedOrder(const GdtList &list, StackMove move);

/// Moves the selected gadgets as restackedOrder() says; nothing when it has
/// no order.
EditOutcome restackSelected(GdtList &list, StackMove move);

/// The property row editing in place changes: the caption when the
/// record's template writes it ("[text]" in any letter case), else the VarID.
int inPlaceRow(const GadgetRecord &record);

/// Where a gadget dropped at `at` on `card` belongs when the card is drawn
/// with real gadgets: a panel drawn there shows its first page, so a point
/// inside that page's area means the page -- its card, the point relative
/// to the page. The innermost such page wins; anywhere else the card and
/// point stay as they are.
struct DropPlace
{
    std::int32_t card = 0;
    CardPoint at;

    bool operator==(const DropPlace &) const = default;
};
DropPlace dropPlace(const GdtList &list, std::int32_t card, CardPoint at, const ControlMetrics &metrics);

/// A gadget from pool entry `name` dropped at `at` on `card`: snapped to
/// `raster` (never left of or above 0), inserted where the code creates
/// gadgets on that card, indented as the code nests it, and the only one
/// selected. An unknown name does nothing.
EditOutcome addGadgetAt(GdtList &list, const GdtPool &pool, std::string_view name, std::int32_t card, CardPoint at,
                        std::int32_t raster);

} // namespace tafelbau

// What the list commands do to keep a dialog's cards and its code in step:
// a record goes onto the card of the window, page or container the code
// creates it in.
#pragma once

#include "core/codegen/dialogstructure.h"
#include "core/commands/editoutcome.h"
#include "core/pool/gdtpool.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tafelbau {

/// Where pasted copies go and the card each gets.
struct PastePlace
{
    std::size_t index = 0;             ///< list position of the first copy
    std::vector<std::int32_t> cards;   ///< per copy
};

/// For copies of `buffer` pasted while `shownCard` is shown: after the last
/// record of the window, page or container whose gadgets lie on that card
/// (at the end when the copies hold a window of their own), the copies the
/// code would create there on `shownCard`, and each copied window or page
/// with what is created in it on a free card of its own. nullopt when no
/// window, page or container heads `shownCard`.
std::optional<PastePlace> pastePlace(const GdtList &list, const std::vector<GadgetRecord> &buffer,
                                     std::int32_t shownCard);

/// Every selected record the code creates in a window, page or container
/// that lies on another card than that parent's gadgets gets their card.
void giveSelectedTheirParentsCard(GdtList &list);

/// "Neue Seite" with a panel or one of its pages current: a page record
/// from the pool's first entry that adds one (AddGadgetItem naming a
/// panel), inserted after the panel's last page with the panel's VarID,
/// the next free card, the panel's inner size and the caption "Seite N";
/// selected and current, so that its card is shown. Does nothing for any
/// other record, or without such a pool entry.
EditOutcome addPage(GdtList &list, const GdtPool &pool, const ControlMetrics &metrics = {});

/// Every page of a panel among `panels` (list indexes) takes the size of
/// the panel's client area. The indexes of the pages that changed.
std::vector<int> fitPagesToPanels(GdtList &list, const std::vector<int> &panels, const ControlMetrics &metrics = {});

/// The same with the list's structure at hand: sizes do not change it.
std::vector<int> fitPagesToPanels(GdtList &list, const DialogStructure &structure, const std::vector<int> &panels,
                                  const ControlMetrics &metrics = {});

} // namespace tafelbau

#pragma once

#include "core/commands/editoutcome.h"
#include "core/document/gdtlist.h"

#include <optional>
#include <string>
#include <vector>

namespace tafelbau {

/// Value copies of records taken by "Kopieren", with `selected` and `lvid`
/// cleared. Owned apart from the document, so New and Open leave it alone and
/// records can be pasted into another list file.
struct CopyBuffer
{
    std::vector<GadgetRecord> records;
};

/// Removes every selected record and selects the one that followed the last
/// removed record (the one before it when the removal reached the end). With
/// no record selected nothing is removed and the last record is selected. An
/// empty list afterwards clears the change mark; otherwise it is set.
EditOutcome deleteSelectedGadgets(GdtList &list);

/// Moves every selected record one place down (`direction` > 0) or up (< 0),
/// adjacent selected records as a block. Nothing at all happens -- no change
/// mark either -- when the last (down) or first (up) record is selected.
/// A record moved into another page, window or container takes its card.
EditOutcome moveSelectedGadgets(GdtList &list, int direction);

/// Adds `delta` to the indent level of every selected record, never below 0.
EditOutcome shiftSelectedTab(GdtList &list, int delta);

/// Replaces the buffer by copies of the selected records in list order.
/// Returns the text for the system clipboard (UTF-8): the first copied
/// non-empty VarID; nullopt when there is none. The document is not changed.
std::optional<std::string> copySelectedGadgets(const GdtList &list, CopyBuffer &buffer);

/// Inserts copies of the buffer after the last selected record, selected,
/// each with its VarID, or when that is taken the VarID followed by the
/// smallest free number from 1. Does nothing when no record is selected.
/// References among the copies follow their new VarIDs. With `shownCard`
/// headed by a window, page or container, the copies go where the code
/// creates gadgets on that card instead, and onto it (see pastePlace).
EditOutcome pasteGadgets(GdtList &list, const CopyBuffer &buffer, std::optional<std::int32_t> shownCard = {});

} // namespace tafelbau

#pragma once

#include "core/commands/editoutcome.h"
#include "core/document/gdtlist.h"

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace tafelbau {

// The records' `selected` flags mirror the rows selected in the list view,
// so the selection questions the commands ask are answered from the list.

/// Index of the topmost selected record -- the current row -- or kNone.
int topmostSelected(const GdtList &list) noexcept;

/// Makes the topmost selected record current and returns its index, or kNone
/// (the cursor is then left where it was).
int currentRowGadget(GdtList &list) noexcept;

/// The lvids of the selected records in list order, for selecting rows.
std::vector<std::int32_t> selectedLvids(const GdtList &list);

void clearSelection(GdtList &list) noexcept;

/// Puts the cursor where a rebuild of the views leaves it -- on the current
/// row, or on the last record when no row is selected -- and returns the
/// current row (kNone when no row is selected).
int settleCursor(GdtList &list) noexcept;

/// A click in the list view: the rows of `ranges` (first and last row, both
/// included) are the selection now. Rows beyond the list are ignored.
EditOutcome selectRows(GdtList &list, const std::vector<std::pair<int, int>> &ranges);

/// The card chooser: only the record with `varId` is selected (none when no
/// record has it), and the list view shows it at its top.
EditOutcome selectByVarId(GdtList &list, std::string_view varId);

/// A click on a gadget's line in the code view: only the record with `lvid`
/// is selected (none when no record has it), and the list view shows it.
EditOutcome selectByLvid(GdtList &list, std::int32_t lvid);

/// A selection made outside the list view (on the canvas, by a search):
/// the canvas, the property list and the list view's own selection follow,
/// and the cursor goes to the topmost selected row.
EditOutcome selectionMadeElsewhere(GdtList &list);

/// What most list commands report: the list changed, every view is rebuilt,
/// and the cursor is where that rebuild leaves it.
EditOutcome changedAndRebuilt(GdtList &list);

} // namespace tafelbau

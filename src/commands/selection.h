#pragma once

#include "commands/editoutcome.h"
#include "document/gdtlist.h"

#include <cstdint>
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

/// What most list commands report: the list changed, every view is rebuilt,
/// and the cursor is where that rebuild leaves it.
EditOutcome changedAndRebuilt(GdtList &list);

} // namespace tafelbau

#pragma once

#include "core/commands/editoutcome.h"
#include "core/document/gdtlist.h"

namespace tafelbau {

/// The commands of "Bearbeiten" -> "Ausrichten".
enum class Alignment {
    Left,
    Right,
    Top,
    Bottom,
    CentreHorizontally, ///< the same middle across: moved left or right
    CentreVertically,   ///< the same middle down: moved up or down
    SameWidth,
    SameHeight,
    SameSize,
    DistributeHorizontally,
    DistributeVertically,
};

/// How many gadgets the command needs: two, three for distributing.
int gadgetsNeeded(Alignment alignment) noexcept;

/// Whether enough gadgets are selected for it. Only gadgets that are not
/// window-like count: a window stays at 0,0 on the card, and its x and y
/// are where it opens on the screen, nothing to line up with.
bool canAlign(const GdtList &list, Alignment alignment);

/// Lines up the selected gadgets that are not window-like, on whatever
/// card, with the first of them in list order (the current row, unless
/// that is a window), or gives them the same gaps: the two outermost stay
/// and the others are spread between them, a pixel more in the first gaps
/// when the space does not divide evenly. Sets the change mark when some
/// gadget moved or changed size; too few gadgets change nothing.
EditOutcome alignSelected(GdtList &list, Alignment alignment);

} // namespace tafelbau

#include "core/canvas/canvasselection.h"

#include "core/canvas/carddrawing.h"
#include "core/commands/selection.h"

namespace tafelbau {

EditOutcome selectGadgetAtPoint(GdtList &list, std::int32_t card, std::int32_t x, std::int32_t y)
{
    const int hit = gadgetAtPoint(list, card, x, y);
    clearSelection(list);
    if (hit >= 0)
        list.records()[static_cast<std::size_t>(hit)].selected = true;
    return selectionMadeElsewhere(list);
}

} // namespace tafelbau

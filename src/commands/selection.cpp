#include "commands/selection.h"

namespace tafelbau {

int topmostSelected(const GdtList &list) noexcept
{
    const auto &records = list.records();
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i].selected)
            return static_cast<int>(i);
    return GdtList::kNone;
}

int currentRowGadget(GdtList &list) noexcept
{
    const int row = topmostSelected(list);
    if (row != GdtList::kNone)
        list.setCurrentIndex(row);
    return row;
}

std::vector<std::int32_t> selectedLvids(const GdtList &list)
{
    std::vector<std::int32_t> lvids;
    for (const GadgetRecord &r : list.records())
        if (r.selected)
            lvids.push_back(r.lvid);
    return lvids;
}

void clearSelection(GdtList &list) noexcept
{
    for (GadgetRecord &r : list.records())
        r.selected = false;
}

int settleCursor(GdtList &list) noexcept
{
    const int row = topmostSelected(list);
    list.setCurrentIndex(row != GdtList::kNone ? row : list.size() - 1);
    return row;
}

EditOutcome changedAndRebuilt(GdtList &list)
{
    EditOutcome out;
    out.mark = ChangeMark::Set;
    out.views.rebuildList = true;
    out.views.canvas = true;
    out.current = settleCursor(list);
    return out;
}

} // namespace tafelbau

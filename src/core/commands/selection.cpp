#include "core/commands/selection.h"

#include <algorithm>

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

namespace {

/// The views a change of selection alone leaves out of date.
EditOutcome selectionChanged(GdtList &list)
{
    EditOutcome out;
    out.views.canvas = true;
    out.views.properties = true;
    out.current = currentRowGadget(list);
    return out;
}

/// Only the record a search put the cursor on is selected (none when the
/// search failed), and the list view shows it at its top.
EditOutcome selectOnlyFound(GdtList &list, bool found)
{
    clearSelection(list);
    if (found)
        list.current()->selected = true;
    EditOutcome out = selectionMadeElsewhere(list);
    out.views.revealCurrent = true;
    return out;
}

} // namespace

EditOutcome selectionMadeElsewhere(GdtList &list)
{
    EditOutcome out = selectionChanged(list);
    out.views.applySelection = true;
    return out;
}

EditOutcome selectRows(GdtList &list, const std::vector<std::pair<int, int>> &ranges)
{
    clearSelection(list);
    auto &records = list.records();
    for (const auto &[first, last] : ranges)
        for (int row = std::max(first, 0); row <= last && row < list.size(); ++row)
            records[static_cast<std::size_t>(row)].selected = true;
    return selectionChanged(list);
}

EditOutcome selectByVarId(GdtList &list, std::string_view varId)
{
    return selectOnlyFound(list, list.findByVarId(varId));
}

EditOutcome selectByLvid(GdtList &list, std::int32_t lvid)
{
    return selectOnlyFound(list, list.findByLvid(lvid));
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

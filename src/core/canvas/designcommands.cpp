#include "core/canvas/designcommands.h"

#include "core/canvas/controlitems.h"
#include "core/canvas/widenumbers.h"
#include "core/codegen/dialogstructure.h"
#include "core/commands/addgadget.h"
#include "core/commands/listedit.h"
#include "core/commands/selection.h"
#include "core/commands/valueedit.h"
#include "core/document/latin1.h"

#include <algorithm>
#include <map>
#include <memory>

namespace tafelbau {

EditOutcome selectAllOnCard(GdtList &list, std::int32_t card)
{
    // What a band around the whole card would take: hidden records are not
    // there to be seen, so they are left out as the band leaves them out.
    for (GadgetRecord &r : list.records())
        r.selected = r.card == card && r.dontshow == 0;
    return selectionMadeElsewhere(list);
}

EditOutcome duplicateSelectedGadgets(GdtList &list, std::int32_t offset, std::optional<std::int32_t> shownCard)
{
    CopyBuffer copies;
    copySelectedGadgets(list, copies);
    if (copies.records.empty())
        return {};
    for (GadgetRecord &r : copies.records) {
        r.x = saturated(std::int64_t{r.x} + offset);
        r.y = saturated(std::int64_t{r.y} + offset);
    }
    // The copy buffer of Ctrl+C stays as it was: this one is thrown away.
    return pasteGadgets(list, copies, shownCard);
}

namespace {

// A selected gadget and the records that must stay behind it: the
// AddGadgetItem calls that fill it name it and would run before it exists.
struct Block
{
    int first;
    int last;
    int anchor; ///< the record it goes in front of (the list's size: the end)
};

int startOfList(const DialogStructure &s, int parent)
{
    int i = parent + 1;
    while (i < static_cast<int>(s.size()) && s[static_cast<std::size_t>(i)].role == StructureRole::Item
           && s[static_cast<std::size_t>(i)].owner == parent)
        ++i;
    return i;
}

std::vector<Block> movedBlocks(const GdtList &list, const DialogStructure &s, StackMove move)
{
    std::vector<Block> blocks;
    const int n = list.size();
    for (int i = 0; i < n; ++i) {
        const StructureNode &node = s[static_cast<std::size_t>(i)];
        // Windows, pages and containers carry what lies in them; they keep
        // their place, as does code that makes no gadget of its own.
        if (!list.records()[static_cast<std::size_t>(i)].selected || node.role != StructureRole::Gadget
            || node.parent < 0)
            continue;
        int last = i;
        while (last + 1 < n && s[static_cast<std::size_t>(last + 1)].role == StructureRole::Item
               && s[static_cast<std::size_t>(last + 1)].owner == i)
            ++last;
        const int anchor =
            move == StackMove::ToFront ? s[static_cast<std::size_t>(node.parent)].end : startOfList(s, node.parent);
        blocks.push_back({i, last, anchor});
    }
    return blocks;
}

// Each record's parent as its lvid (0 for none), to see that a new order
// left every record in the gadget list it was in.
std::vector<std::int32_t> parentLvids(const GdtList &list, const DialogStructure &s)
{
    std::vector<std::int32_t> parents(static_cast<std::size_t>(list.size()));
    for (std::size_t i = 0; i < parents.size(); ++i) {
        const int p = s[i].parent;
        parents[i] = p < 0 ? 0 : list.records()[static_cast<std::size_t>(p)].lvid;
    }
    return parents;
}

void reorder(GdtList &list, const std::vector<int> &order)
{
    auto &handles = list.records().handles();
    std::vector<RecordList::Handle> reordered;
    reordered.reserve(handles.size());
    for (int i : order)
        reordered.push_back(handles[static_cast<std::size_t>(i)]);
    handles = std::move(reordered);
}

} // namespace

std::optional<std::vector<int>> restackedOrder(const GdtList &list, StackMove move)
{
    const DialogStructure s(list);
    const std::vector<Block> blocks = movedBlocks(list, s, move);
    if (blocks.empty())
        return std::nullopt;
    const int n = list.size();
    std::vector<bool> moved(static_cast<std::size_t>(n), false);
    std::map<int, std::vector<const Block *>> at;
    for (const Block &b : blocks) {
        for (int i = b.first; i <= b.last; ++i)
            moved[static_cast<std::size_t>(i)] = true;
        at[b.anchor].push_back(&b);
    }
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i <= n; ++i) {
        if (const auto it = at.find(i); it != at.end())
            for (const Block *b : it->second)
                for (int j = b->first; j <= b->last; ++j)
                    order.push_back(j);
        if (i < n && !moved[static_cast<std::size_t>(i)])
            order.push_back(i);
    }
    bool same = true;
    for (int i = 0; i < n && same; ++i)
        same = order[static_cast<std::size_t>(i)] == i;
    if (same)
        return std::nullopt;

    // Where a container is left open up to the end of its parent's list, the
    // end of that list is inside the container: a gadget put there would be
    // created in it. Such an order is refused rather than change the dialog.
    GdtList check; // shares the records, only to be read
    for (int i : order)
        check.records().handles().push_back(list.records().handles()[static_cast<std::size_t>(i)]);
    const DialogStructure after(check);
    std::vector<std::int32_t> before = parentLvids(list, s);
    std::vector<std::int32_t> wanted(before.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        wanted[i] = before[static_cast<std::size_t>(order[i])];
    if (parentLvids(check, after) != wanted)
        return std::nullopt;
    return order;
}

EditOutcome restackSelected(GdtList &list, StackMove move)
{
    const auto order = restackedOrder(list, move);
    if (!order)
        return {};
    reorder(list, *order);
    return changedAndRebuilt(list);
}

int inPlaceRow(const GadgetRecord &record)
{
    return mentionsFolded(record.code, "[text]") ? RowText : RowVarId;
}

namespace {

bool holds(const CardRect &r, CardPoint p)
{
    return !r.isEmpty() && p.x >= r.x && p.y >= r.y && std::int64_t{p.x} < std::int64_t{r.x} + r.width
        && std::int64_t{p.y} < std::int64_t{r.y} + r.height;
}

} // namespace

DropPlace dropPlace(const GdtList &list, std::int32_t card, CardPoint at, const ControlMetrics &metrics)
{
    const std::vector<CardItem> items = controlItems(list, card, 0, metrics);
    // The topmost panel under the point: one shown in another's page is
    // drawn after it.
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        const CardItem &item = *it;
        if (item.control.type.kind != ControlKind::Panel || item.record < 0)
            continue;
        const CardRect page = clientRect(item.control.type, {item.x, item.y, item.width, item.height}, metrics);
        const CardRect shown = item.control.clipped ? page.intersected(item.control.clip) : page;
        if (!holds(shown, at))
            continue;
        const DialogStructure structure(list);
        const std::vector<int> &pages = structure.pagesOf(item.record);
        if (pages.empty())
            return {card, at};
        const std::int32_t pageCard = list.records()[static_cast<std::size_t>(pages.front())].card;
        if (pageCard == card)
            return {card, at};
        return {pageCard, {saturated(std::int64_t{at.x} - page.x), saturated(std::int64_t{at.y} - page.y)}};
    }
    return {card, at};
}

EditOutcome addGadgetAt(GdtList &list, const GdtPool &pool, std::string_view name, std::int32_t card, CardPoint at,
                        std::int32_t raster)
{
    const PoolEntry *entry = pool.find(name);
    if (!entry)
        return {};
    const int index = DialogStructure(list).insertionPoint(list, card);
    auto record = std::make_shared<GadgetRecord>(recordFromPool(list, *entry));
    record->card = card;
    record->x = std::max<std::int32_t>(0, snapToRaster(at.x, raster));
    record->y = std::max<std::int32_t>(0, snapToRaster(at.y, raster));
    record->lvid = list.takeLvid();
    clearSelection(list);
    record->selected = true;
    auto &handles = list.records().handles();
    handles.insert(std::next(handles.begin(), index), record);
    // The indent is what the code's nesting gives it there, as the import
    // and the check see it.
    record->tab = DialogStructure(list)[static_cast<std::size_t>(index)].depth;
    list.setCurrentIndex(index);
    return changedAndRebuilt(list);
}

} // namespace tafelbau

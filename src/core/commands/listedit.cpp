#include "core/commands/listedit.h"

#include "core/codegen/structurecheck.h"
#include "core/commands/selection.h"
#include "core/commands/structureedit.h"
#include "core/document/latin1.h"

#include <cstdint>
#include <iterator>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace tafelbau {

namespace {

// The identifiers of the list for the time of one paste. The list only grows
// meanwhile, so a number found taken stays taken: the search for a base goes
// on where it stopped last time instead of starting again from 1.
//
// The identifiers sit in one open-addressed table with their hashes: a node
// per identifier, as a hash set keeps them, made a paste into 100,000
// gadgets allocate and chase 100,000 nodes.
class PasteIds
{
public:
    explicit PasteIds(const GdtList &list, std::size_t extra)
    {
        std::size_t slots = 16;
        while (slots < 2 * (list.records().size() + extra))
            slots *= 2;
        m_slots.resize(slots);
        for (const GadgetRecord &r : list.records())
            add(r.varId);
    }

    bool contains(std::string_view id) const { return m_slots[slotOf(id, hashOf(id))].id.data() != nullptr; }

    std::string numbered(std::string_view base)
    {
        std::uint64_t &next = m_next.try_emplace(std::string(base), 1).first->second;
        std::string id;
        for (;; ++next) {
            id.assign(base);
            id += std::to_string(next);
            if (!contains(id))
                break;
        }
        ++next;
        return id;
    }

    /// `id` must stay where it is for as long as this object is used. At
    /// most `extra` identifiers may be added beyond those of the list.
    void add(std::string_view id)
    {
        const std::size_t hash = hashOf(id);
        Slot &slot = m_slots[slotOf(id, hash)];
        if (slot.id.data() == nullptr)
            slot = {hash, id.data() ? id : std::string_view("", 0)};
    }

private:
    struct Slot
    {
        std::size_t hash = 0;
        std::string_view id; // no data: free
    };

    static std::size_t hashOf(std::string_view id) { return std::hash<std::string_view>{}(id); }

    /// The slot holding `id`, or the free one where it would go.
    std::size_t slotOf(std::string_view id, std::size_t hash) const
    {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot &slot = m_slots[i];
            if (slot.id.data() == nullptr || (slot.hash == hash && slot.id == id))
                return i;
        }
    }

    std::vector<Slot> m_slots;
    std::unordered_map<std::string, std::uint64_t> m_next;
};

} // namespace

EditOutcome deleteSelectedGadgets(GdtList &list)
{
    auto &records = list.records();
    auto &handles = records.handles();
    // One compacting pass over the handles: removing record by record would
    // shift the tail once per selected record.
    std::size_t kept = 0;
    std::size_t removed = 0;
    std::size_t lastRemoved = 0;
    const std::size_t n = handles.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (handles[i]->selected) {
            ++removed;
            lastRemoved = i;
        } else {
            if (kept != i)
                handles[kept] = std::move(handles[i]);
            ++kept;
        }
    }
    handles.resize(kept);

    EditOutcome out;
    out.views.rebuildList = true;
    out.views.canvas = true;
    if (records.empty()) {
        // An empty list counts as unchanged.
        out.mark = ChangeMark::Clear;
        list.setCurrentIndex(GdtList::kNone);
        return out;
    }
    // The record that followed the last removed one has moved up by the
    // number removed; with nothing removed the cursor is on the last record.
    std::size_t next = removed == 0 ? records.size() - 1 : lastRemoved + 1 - removed;
    if (next >= records.size())
        next = records.size() - 1;
    records[next].selected = true;
    list.setCurrentIndex(static_cast<int>(next));
    out.mark = ChangeMark::Set;
    out.views.applySelection = true;
    out.current = static_cast<int>(next);
    return out;
}

EditOutcome moveSelectedGadgets(GdtList &list, int direction)
{
    auto &handles = list.records().handles();
    const std::size_t n = handles.size();
    if (n == 0 || direction == 0)
        return {};
    if (direction > 0) {
        if (handles[n - 1]->selected)
            return {};
        for (std::size_t i = n - 1; i-- > 0;)
            if (handles[i]->selected)
                std::swap(handles[i], handles[i + 1]);
    } else {
        if (handles[0]->selected)
            return {};
        for (std::size_t i = 1; i < n; ++i)
            if (handles[i]->selected)
                std::swap(handles[i], handles[i - 1]);
    }
    giveSelectedTheirParentsCard(list);
    return changedAndRebuilt(list);
}

EditOutcome shiftSelectedTab(GdtList &list, int delta)
{
    for (GadgetRecord &r : list.records()) {
        if (!r.selected)
            continue;
        // Widened, so that no indent can overflow; there is no upper limit
        // short of the field's own.
        std::int64_t tab = std::int64_t{r.tab} + delta;
        if (tab < 0)
            tab = 0;
        if (tab > std::numeric_limits<std::int32_t>::max())
            tab = std::numeric_limits<std::int32_t>::max();
        r.tab = static_cast<std::int32_t>(tab);
    }
    return changedAndRebuilt(list);
}

std::optional<std::string> copySelectedGadgets(const GdtList &list, CopyBuffer &buffer)
{
    buffer.records.clear();
    std::optional<std::string> clipboard;
    for (const GadgetRecord &r : list.records()) {
        if (!r.selected)
            continue;
        GadgetRecord &copy = buffer.records.emplace_back(r);
        copy.selected = false;
        copy.lvid = 0;
        if (!clipboard && !r.varId.empty())
            clipboard = latin1ToUtf8(r.varId);
    }
    return clipboard;
}

EditOutcome pasteGadgets(GdtList &list, const CopyBuffer &buffer, std::optional<std::int32_t> shownCard)
{
    auto &records = list.records();
    if (topmostSelected(list) == GdtList::kNone)
        return {};
    std::size_t lastSelected = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].selected)
            lastSelected = i;
        records[i].selected = false;
    }
    std::size_t insertAt = lastSelected + 1;
    std::vector<std::int32_t> cards;
    if (shownCard) {
        if (const auto place = pastePlace(list, buffer.records, *shownCard)) {
            insertAt = place->index;
            cards = std::move(place->cards);
        }
    }

    // The copies are made apart and inserted in one go: inserting them one by
    // one would shift the list's tail once per pasted record.
    PasteIds ids(list, buffer.records.size());
    std::vector<RecordList::Handle> pasted;
    pasted.reserve(buffer.records.size());
    for (const GadgetRecord &source : buffer.records) {
        // Made in place: `ids` points into the record's VarID.
        pasted.push_back(std::make_shared<GadgetRecord>(source));
        GadgetRecord &r = *pasted.back();
        if (source.varId.empty()) {
            // An empty identifier (left by a prefix/replace) must not be
            // pasted as such: number the gadget type instead, as adding does.
            r.varId = ids.numbered(source.name);
        } else if (ids.contains(source.varId)) {
            r.varId = ids.numbered(source.varId);
        }
        r.selected = true;
        r.lvid = list.takeLvid();
        if (!cards.empty())
            r.card = cards[pasted.size() - 1];
        ids.add(r.varId);
    }
    // A pasted page names its pasted panel by the panel's new name.
    std::unordered_map<std::string_view, const std::string *> renamed;
    for (std::size_t i = 0; i < pasted.size(); ++i)
        if (!buffer.records[i].varId.empty() && pasted[i]->varId != buffer.records[i].varId)
            renamed.try_emplace(buffer.records[i].varId, &pasted[i]->varId);
    if (!renamed.empty())
        for (const RecordList::Handle &r : pasted)
            renameReferences(*r, [&](std::string_view name) {
                const auto it = renamed.find(name);
                return it == renamed.end() ? nullptr : it->second;
            });
    auto &handles = records.handles();
    handles.insert(std::next(handles.begin(), static_cast<std::ptrdiff_t>(insertAt)),
                   std::make_move_iterator(pasted.begin()), std::make_move_iterator(pasted.end()));
    return changedAndRebuilt(list);
}

} // namespace tafelbau

#include "core/commands/structureedit.h"

#include "core/codegen/import.h"
#include "core/commands/addgadget.h"
#include "core/commands/selection.h"

#include <unordered_map>
#include <unordered_set>

namespace tafelbau {

namespace {

bool createdInParent(const StructureNode &node)
{
    return node.parent >= 0
        && (node.role == StructureRole::Gadget || node.role == StructureRole::Container
            || node.role == StructureRole::Panel);
}

// Card numbers no record uses, from the smallest up.
class FreeCards
{
public:
    explicit FreeCards(const GdtList &list)
    {
        for (const GadgetRecord &r : list.records())
            m_used.insert(r.card);
    }
    std::int32_t take()
    {
        while (m_used.count(m_next))
            ++m_next;
        m_used.insert(m_next);
        return m_next;
    }

private:
    std::unordered_set<std::int32_t> m_used;
    std::int32_t m_next = 0;
};

} // namespace

std::optional<PastePlace> pastePlace(const GdtList &list, const std::vector<GadgetRecord> &buffer,
                                     std::int32_t shownCard)
{
    const DialogStructure structure(list);
    if (structure.contextOfCard(shownCard) < 0)
        return std::nullopt;
    GdtList copies;
    copies.reserve(static_cast<int>(buffer.size()));
    bool window = false;
    for (const GadgetRecord &r : buffer)
        copies.append(r);
    const DialogStructure inside(copies);
    PastePlace place;
    place.cards.resize(buffer.size());
    FreeCards free(list);
    std::unordered_map<std::int32_t, std::int32_t> cardOf; // copied card -> pasted card
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        const StructureNode &node = inside[i];
        const std::int32_t copied = buffer[i].card;
        window = window || node.role == StructureRole::Window;
        if (node.headsCard()) {
            place.cards[i] = cardOf[copied] = free.take();
        } else if (node.parent < 0) {
            place.cards[i] = shownCard;
            cardOf.try_emplace(copied, shownCard);
        } else {
            const auto it = cardOf.find(copied);
            place.cards[i] = it != cardOf.end() ? it->second : (cardOf[copied] = free.take());
        }
    }
    // A copied window ends the gadget list of the one it would land in.
    place.index = window ? list.records().size()
                         : static_cast<std::size_t>(structure.insertionPoint(list, shownCard));
    return place;
}

void giveSelectedTheirParentsCard(GdtList &list)
{
    auto &records = list.records();
    bool any = false;
    for (const GadgetRecord &r : records)
        any = any || r.selected;
    if (!any)
        return;
    const DialogStructure structure(list);
    for (std::size_t i = 0; i < records.size(); ++i) {
        GadgetRecord &r = records[i];
        const StructureNode &node = structure[i];
        if (!r.selected || !createdInParent(node))
            continue;
        const auto &card = structure[static_cast<std::size_t>(node.parent)].innerCard;
        if (card && *card != r.card)
            r.card = *card;
    }
}

EditOutcome addPage(GdtList &list, const GdtPool &pool, const ControlMetrics &metrics)
{
    const int current = currentRowGadget(list);
    if (current < 0)
        return {};
    const DialogStructure structure(list);
    int panel = current;
    if (structure[static_cast<std::size_t>(current)].role == StructureRole::Page)
        panel = structure[static_cast<std::size_t>(current)].parent;
    if (structure[static_cast<std::size_t>(panel)].role != StructureRole::Panel)
        return {};
    // The pool's way of adding a page, whatever the entry is called: the
    // parameter its first argument names is where the panel's VarID goes.
    const PoolEntry *entry = nullptr;
    int parameter = -1;
    for (const PoolEntry &e : pool.entries) {
        const ControlCall call = controlCall(e.code, {}, CallFlags::ForStructure);
        if (call.type.kind != ControlKind::Page)
            continue;
        GadgetRecord probe;
        for (std::size_t i = 0; i < probe.p.size(); ++i)
            probe.p[i] = "\x01" + std::to_string(i);
        const std::string named = namedVarId(call.argument(0), probe);
        if (named.size() == 2 && named[0] == '\x01') {
            entry = &e;
            parameter = named[1] - '0';
            break;
        }
    }
    if (!entry)
        return {};

    const GadgetRecord &owner = list.records()[static_cast<std::size_t>(panel)];
    const std::vector<int> &pages = structure.pagesOf(panel);
    GadgetRecord r;
    takeTypeOf(r, *entry, nextFreeCard(list));
    r.varId = freshVarId(list, entry->name);
    r.p[static_cast<std::size_t>(parameter)] = owner.varId;
    r.text = "Seite " + std::to_string(pages.size() + 1);
    const CardRect area = panelPageArea(owner, metrics);
    r.xd = area.width;
    r.yd = area.height;
    r.tab = structure[static_cast<std::size_t>(panel)].depth + 1;
    r.selected = true;
    // After the last page and what is created on it; a panel without pages
    // gets its first right after itself.
    const int at = pages.empty() ? panel + 1 : structure[static_cast<std::size_t>(pages.back())].end;
    clearSelection(list);
    list.setCurrentIndex(at - 1);
    list.insertAfterCurrent(std::move(r));
    EditOutcome out = changedAndRebuilt(list);
    out.views.revealCurrent = true;
    return out;
}

std::vector<int> fitPagesToPanels(GdtList &list, const std::vector<int> &panels, const ControlMetrics &metrics)
{
    if (panels.empty())
        return {};
    return fitPagesToPanels(list, DialogStructure(list), panels, metrics);
}

std::vector<int> fitPagesToPanels(GdtList &list, const DialogStructure &structure, const std::vector<int> &panels,
                                  const ControlMetrics &metrics)
{
    std::vector<int> changed;
    auto &records = list.records();
    for (int panel : panels) {
        if (panel < 0 || static_cast<std::size_t>(panel) >= records.size())
            continue;
        const CardRect area = panelPageArea(records[static_cast<std::size_t>(panel)], metrics);
        for (int page : structure.pagesOf(panel)) {
            GadgetRecord &r = records[static_cast<std::size_t>(page)];
            if (r.xd != area.width || r.yd != area.height) {
                r.xd = area.width;
                r.yd = area.height;
                changed.push_back(page);
            }
        }
    }
    return changed;
}

} // namespace tafelbau

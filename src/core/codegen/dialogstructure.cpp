#include "core/codegen/dialogstructure.h"

#include "core/document/latin1.h"

#include <algorithm>

namespace tafelbau {

namespace {

/// One gadget list open while the code runs.
struct OpenList
{
    int record;          ///< the window, container or panel that opened it
    int context;         ///< where gadgets go now: the record, or a panel's current page
    std::int32_t depth;  ///< the indent of the gadgets created in it
};

// The value a placeholder of an argument stands for; nullptr for none.
const std::string *placeholderValue(std::string_view name, const GadgetRecord &r)
{
    if (equalsFolded(name, "[id]"))
        return &r.varId;
    if (equalsFolded(name, "[text]"))
        return &r.text;
    if (name.size() == 4 && foldAscii(name[1]) == 'p' && name[2] >= '0' && name[2] <= '9' && name[3] == ']')
        return &r.p[static_cast<std::size_t>(name[2] - '0')];
    return nullptr;
}

/// Finds the records that AddGadgetItem and OpenGadgetList name among
/// those before them. Only panels, containers and gadgets that take items
/// are kept as they come; the other records' VarIDs are indexed only when a
/// name is not found among those -- most lists never need it.
class EarlierIds
{
public:
    explicit EarlierIds(const GdtList &list) : m_records(list.records()) {}

    void note(std::size_t index, ControlKind kind)
    {
        if (holdsGadgets({kind, look::HoldsGadgets}) || takesItems(kind))
            m_likely.insert_or_assign(std::string_view(m_records[index].varId), static_cast<int>(index));
    }

    int find(std::string_view id, std::size_t before)
    {
        if (const auto it = m_likely.find(id); it != m_likely.end())
            return it->second;
        if (m_all.empty())
            m_all.reserve(m_records.size());
        for (; m_filled < before; ++m_filled)
            m_all.insert_or_assign(std::string_view(m_records[m_filled].varId), static_cast<int>(m_filled));
        const auto it = m_all.find(id);
        return it == m_all.end() ? -1 : it->second;
    }

private:
    const RecordList &m_records;
    std::unordered_map<std::string_view, int> m_likely;
    std::size_t m_filled = 0;
    std::unordered_map<std::string_view, int> m_all;
};

} // namespace

std::string namedVarId(std::string_view argument, const GadgetRecord &record)
{
    std::string out;
    for (std::size_t i = 0; i < argument.size();) {
        if (argument[i] == '[') {
            const std::size_t close = argument.find(']', i);
            if (close != std::string_view::npos && close - i <= 5) {
                if (const std::string *value = placeholderValue(argument.substr(i, close - i + 1), record)) {
                    out += *value;
                    i = close + 1;
                    continue;
                }
            }
        }
        out += argument[i++];
    }
    std::string_view name = trimBlanksTabs(out);
    if (!name.empty() && name.front() == '#')
        name = trimBlanksTabs(name.substr(1));
    return std::string(name);
}

DialogStructure::DialogStructure(const GdtList &list)
{
    const auto &records = list.records();
    const std::size_t n = records.size();
    m_nodes.resize(n);
    std::vector<OpenList> open;
    EarlierIds ids(list);

    auto current = [&] { return open.empty() ? -1 : open.back().context; };
    auto innerDepth = [&] { return open.empty() ? 0 : open.back().depth; };
    auto endAt = [&](int context, std::size_t at) {
        if (context >= 0)
            m_nodes[static_cast<std::size_t>(context)].end = static_cast<int>(at);
    };
    // The list of `o` ends at `at`: its record's and its current page's stretch.
    auto closeAt = [&](const OpenList &o, std::size_t at) {
        endAt(o.record, at);
        if (o.context != o.record)
            endAt(o.context, at);
    };

    for (std::size_t i = 0; i < n; ++i) {
        const GadgetRecord &r = records[i];
        StructureNode &node = m_nodes[i];
        const ControlCall call = controlCall(r.code, r.flags, CallFlags::ForStructure);
        node.type = call.type;
        ids.note(i, call.type.kind);
        node.parent = current();
        node.depth = innerDepth();
        switch (call.type.kind) {
        case ControlKind::Window:
            for (const OpenList &o : open) {
                closeAt(o, i);
                StructureNode &opener = m_nodes[static_cast<std::size_t>(o.record)];
                opener.leftOpen = opener.role != StructureRole::Window;
            }
            open.clear();
            node.role = StructureRole::Window;
            node.parent = -1;
            node.depth = 0;
            node.opensList = true;
            node.innerCard = r.card;
            node.end = static_cast<int>(n);
            open.push_back({static_cast<int>(i), static_cast<int>(i), 0});
            break;
        case ControlKind::CloseList:
            node.role = StructureRole::CloseList;
            if (!open.empty() && m_nodes[static_cast<std::size_t>(open.back().record)].role != StructureRole::Window) {
                const OpenList closed = open.back();
                open.pop_back();
                closeAt(closed, i);
                node.owner = closed.record;
                node.parent = current();
                node.depth = m_nodes[static_cast<std::size_t>(closed.record)].depth + 1;
            }
            break;
        case ControlKind::Page: {
            const int target = ids.find(namedVarId(call.argument(0), r), i);
            node.owner = target;
            if (target < 0 || m_nodes[static_cast<std::size_t>(target)].role != StructureRole::Panel) {
                node.role = StructureRole::Item;
                break;
            }
            node.role = StructureRole::Page;
            node.parent = target;
            node.depth = m_nodes[static_cast<std::size_t>(target)].depth + 1;
            node.innerCard = r.card;
            node.end = static_cast<int>(n);
            m_pages[target].push_back(static_cast<int>(i));
            if (!open.empty() && open.back().record == target) {
                if (open.back().context != target)
                    endAt(open.back().context, i);
                open.back().context = static_cast<int>(i);
                node.opensList = true;
            } else {
                node.end = static_cast<int>(i + 1);
            }
            break;
        }
        case ControlKind::OpenList: {
            node.role = StructureRole::OpenList;
            const int target = ids.find(namedVarId(call.argument(0), r), i);
            node.owner = target;
            if (target < 0)
                break;
            const StructureNode &t = m_nodes[static_cast<std::size_t>(target)];
            if (t.role == StructureRole::Container) {
                open.push_back({target, target, t.depth + 1});
                node.opensList = true;
            } else if (t.role == StructureRole::Panel) {
                // The page the second argument names, else the last one.
                int context = target;
                if (const auto found = m_pages.find(target); found != m_pages.end() && !found->second.empty()) {
                    const std::string_view item = call.argument(1);
                    const std::int32_t at = item.empty() ? -1 : parseWholeNumber(namedVarId(item, r));
                    const auto &pages = found->second;
                    context = at >= 0 && static_cast<std::size_t>(at) < pages.size() ? pages[static_cast<std::size_t>(at)]
                                                                                       : pages.back();
                }
                open.push_back({target, context, t.depth + 2});
                node.opensList = true;
            }
            break;
        }
        default:
            if (holdsGadgets(call.type)) {
                const bool panel = call.type.kind == ControlKind::Panel;
                node.role = panel ? StructureRole::Panel : StructureRole::Container;
                node.opensList = true;
                node.end = static_cast<int>(n);
                open.push_back({static_cast<int>(i), static_cast<int>(i), node.depth + (panel ? 2 : 1)});
            }
            // The first gadget drawn in a container tells the card its
            // gadgets lie on.
            if (node.parent >= 0 && r.dontshow == 0) {
                StructureNode &p = m_nodes[static_cast<std::size_t>(node.parent)];
                if (!p.innerCard && (p.role == StructureRole::Container || p.role == StructureRole::Panel))
                    p.innerCard = r.card;
            }
            break;
        }
    }
    for (const OpenList &o : open)
        if (m_nodes[static_cast<std::size_t>(o.record)].role != StructureRole::Window)
            m_nodes[static_cast<std::size_t>(o.record)].leftOpen = true;

    // Windows and pages before containers: a card is theirs first.
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t i = 0; i < n; ++i) {
            const StructureNode &node = m_nodes[i];
            if (node.innerCard && node.headsCard() == (pass == 0))
                m_cardOwners.try_emplace(*node.innerCard, static_cast<int>(i));
        }
}

const std::vector<int> &DialogStructure::pagesOf(int panel) const
{
    static const std::vector<int> none;
    const auto it = m_pages.find(panel);
    return it == m_pages.end() ? none : it->second;
}

int DialogStructure::contextOfCard(std::int32_t card) const
{
    const auto it = m_cardOwners.find(card);
    return it == m_cardOwners.end() ? -1 : it->second;
}

int DialogStructure::insertionPoint(const GdtList &list, std::int32_t card) const
{
    if (const int context = contextOfCard(card); context >= 0)
        return m_nodes[static_cast<std::size_t>(context)].end;
    const auto &records = list.records();
    for (std::size_t i = records.size(); i-- > 0;)
        if (records[i].card == card)
            return static_cast<int>(i + 1);
    return static_cast<int>(records.size());
}

CardRect DialogStructure::clientArea(const GdtList &list, int context, const ControlMetrics &metrics) const
{
    if (context < 0 || static_cast<std::size_t>(context) >= m_nodes.size())
        return {};
    const StructureNode &node = m_nodes[static_cast<std::size_t>(context)];
    const GadgetRecord &r = list.records()[static_cast<std::size_t>(context)];
    switch (node.role) {
    case StructureRole::Window:
    case StructureRole::Page: return {0, 0, r.xd, r.yd};
    case StructureRole::Container:
    case StructureRole::Panel: {
        const CardRect inner = clientRect(node.type, {0, 0, r.xd, r.yd}, metrics);
        return {0, 0, inner.width, inner.height};
    }
    default: return {};
    }
}

CardRect panelPageArea(const GadgetRecord &panel, const ControlMetrics &metrics)
{
    ControlType type;
    type.kind = ControlKind::Panel;
    const CardRect inner = clientRect(type, {0, 0, panel.xd, panel.yd}, metrics);
    return {0, 0, inner.width, inner.height};
}

} // namespace tafelbau

#include "core/canvas/controlitems.h"

#include "core/canvas/widenumbers.h"
#include "core/codegen/dialogstructure.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <limits>

namespace tafelbau {

namespace {

// Where the gadgets created now in an open gadget list land on the card.
struct Inside
{
    bool shown = false;
    CardRect origin; ///< its x, y is their 0, 0
    CardRect clip;
};

struct OpenList
{
    ControlKind kind = ControlKind::None;
    Inside whole; ///< the container itself
    Inside now;   ///< a panel: the page being filled, else the whole
    int page = -1;
    int item = -1; ///< the container's item, for a panel's tab titles
};

bool makesControl(ControlKind kind)
{
    return kind != ControlKind::None && kind != ControlKind::Window && kind != ControlKind::Page
        && kind != ControlKind::CloseList;
}

} // namespace

std::vector<CardItem> controlItems(const GdtList &list, std::int32_t card, std::uint32_t markingColour,
                                   const ControlMetrics &metrics)
{
    std::vector<CardItem> items;
    std::vector<char> behind; // per item: window-like, painted under the rest
    std::vector<OpenList> open;
    const auto &records = list.records();
    // An AddGadgetItem names what it adds to: a panel's page, or an entry
    // of the list or combo box it names (drawn in it, never as a page).
    // The panels and the gadgets that take entries, by VarID, with their item.
    std::unordered_map<std::string_view, std::pair<ControlKind, int>> takers;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const GadgetRecord &r = records[i];
        const ControlType type = controlType(r.code, r.flags);
        if (type.kind == ControlKind::Page) {
            const ControlCall call = controlCall(r.code, r.flags, CallFlags::ForStructure);
            const auto target = takers.find(namedVarId(call.argument(0), r));
            if (target == takers.end() || target->second.first != ControlKind::Panel) {
                if (target != takers.end() && target->second.second >= 0)
                    items[static_cast<std::size_t>(target->second.second)].control.items.push_back(r.text);
                continue;
            }
        }
        // The gadget lists the code has open when this record's code runs.
        if (type.kind == ControlKind::Window)
            open.clear();
        else if (type.kind == ControlKind::CloseList && !open.empty() && open.back().kind != ControlKind::Window)
            open.pop_back();
        OpenList *parent = open.empty() ? nullptr : &open.back();

        const std::int32_t ownX = r.xy0 != 0 ? 0 : r.x;
        const std::int32_t ownY = r.xy0 != 0 ? 0 : r.y;
        CardItem item;
        bool drawn = false;
        if (r.card == card) {
            drawn = r.dontshow == 0;
            item.x = ownX;
            item.y = ownY;
        } else if (r.dontshow == 0 && makesControl(type.kind) && parent && parent->now.shown) {
            item.x = saturated(std::int64_t{parent->now.origin.x} + ownX);
            item.y = saturated(std::int64_t{parent->now.origin.y} + ownY);
            item.control.clipped = true;
            item.control.clip = parent->now.clip;
            drawn = !item.control.clip.intersected({item.x, item.y, r.xd, r.yd}).isEmpty();
        }
        const CardRect rect{item.x, item.y, r.xd, r.yd};

        int index = -1;
        if (drawn) {
            item.width = r.xd;
            item.height = r.yd;
            item.control.type = type;
            item.control.marked = r.selected && r.card == card;
            item.frameColour = item.control.marked ? markingColour : r.color;
            item.text = r.text;
            item.record = static_cast<int>(i);
            item.lvid = r.lvid;
            index = static_cast<int>(items.size());
            behind.push_back(r.card == card && r.xy0 != 0);
            items.push_back(std::move(item));
        }

        if (type.kind == ControlKind::Panel || takesItems(type.kind))
            takers.insert_or_assign(std::string_view(r.varId), std::make_pair(type.kind, index));

        if (type.kind == ControlKind::Page && parent && parent->kind == ControlKind::Panel) {
            ++parent->page;
            if (parent->item >= 0)
                items[static_cast<std::size_t>(parent->item)].control.tabs.push_back(r.text);
            // A page drawn on this card holds its gadgets itself; otherwise
            // only the first page shows inside its panel.
            if (drawn)
                parent->now = {true, rect, rect};
            else
                parent->now = parent->page == 0 ? parent->whole : Inside{};
        } else if (type.kind == ControlKind::Window) {
            open.push_back({type.kind, {drawn, rect, rect}, {drawn, rect, rect}, -1, index});
        } else if (holdsGadgets(type)) {
            const CardRect client = clientRect(type, rect, metrics);
            const bool inner = index >= 0 && items[static_cast<std::size_t>(index)].control.clipped;
            const CardRect clip =
                inner ? client.intersected(items[static_cast<std::size_t>(index)].control.clip) : client;
            const Inside whole{drawn, client, clip};
            // A panel shows nothing until its first page is added.
            open.push_back({type.kind, whole, type.kind == ControlKind::Panel ? Inside{} : whole, -1, index});
        }
    }

    // Windows and pages under everything else, each group in list order.
    std::vector<CardItem> ordered;
    ordered.reserve(items.size());
    for (int pass = 1; pass >= 0; --pass)
        for (std::size_t i = 0; i < items.size(); ++i)
            if ((behind[i] != 0) == (pass == 1))
                ordered.push_back(std::move(items[i]));
    return ordered;
}

} // namespace tafelbau

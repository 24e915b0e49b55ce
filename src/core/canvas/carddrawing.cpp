#include "core/canvas/carddrawing.h"

#include "core/codegen/dialogstructure.h"
#include "core/document/gdtlist.h"
#include "core/document/latin1.h"

namespace tafelbau {

std::int32_t cardToShow(const GdtList &list, std::int32_t shownCard)
{
    for (const GadgetRecord &r : list.records())
        if (r.selected)
            return r.card;
    return shownCard;
}

std::vector<char> entriesOnCard(const GdtList &list, std::int32_t card)
{
    // Only AddGadgetItem can be an entry, and the pool adds it drawn at
    // 0,0 over the card: most cards have none and need no structure.
    const auto &records = list.records();
    bool adds = false;
    for (const GadgetRecord &r : records)
        adds = adds || (r.card == card && r.xy0 != 0 && mentionsFolded(r.code, "addgadgetitem")
                        && controlType(r.code, r.flags).kind == ControlKind::Page);
    std::vector<char> out;
    if (!adds)
        return out;
    const DialogStructure structure(list);
    out.resize(records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        out[i] = structure[i].role == StructureRole::Item;
    return out;
}

std::vector<CardItem> cardItems(const GdtList &list, std::int32_t card, std::uint32_t markingColour)
{
    std::vector<CardItem> items;
    const auto &records = list.records();
    const std::vector<char> entries = entriesOnCard(list, card);
    for (int pass = 0; pass < 2; ++pass) {
        const bool selectedPass = pass == 1;
        for (std::size_t i = 0; i < records.size(); ++i) {
            const GadgetRecord &r = records[i];
            if (r.card != card || r.dontshow != 0 || r.selected != selectedPass || (!entries.empty() && entries[i]))
                continue;
            CardItem item;
            item.x = r.xy0 != 0 ? 0 : r.x;
            item.y = r.xy0 != 0 ? 0 : r.y;
            item.width = r.xd;
            item.height = r.yd;
            item.frameColour = selectedPass ? markingColour : r.color;
            item.text = r.text;
            item.record = static_cast<int>(i);
            item.lvid = r.lvid;
            items.push_back(item);
        }
    }
    return items;
}

int gadgetAtPoint(const GdtList &list, std::int32_t card, std::int32_t x, std::int32_t y)
{
    int hit = -1;
    int backgroundHit = -1;
    const auto &records = list.records();
    const std::vector<char> entries = entriesOnCard(list, card);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const GadgetRecord &r = records[i];
        if (r.card != card || (!entries.empty() && entries[i]))
            continue;
        // 64 bits: x + xd must not overflow for numbers from a hand-edited file.
        const std::int64_t left = r.x;
        const std::int64_t top = r.y;
        if (left <= x && x <= left + r.xd && top <= y && y <= top + r.yd) {
            if (r.xy0 != 0)
                backgroundHit = static_cast<int>(i);
            else
                hit = static_cast<int>(i);
        }
    }
    return hit >= 0 ? hit : backgroundHit;
}

std::vector<std::string> cardChooserEntries(const GdtList &list)
{
    std::vector<std::string> entries;
    std::int32_t lastCard = -1;
    for (const GadgetRecord &r : list.records()) {
        if (r.card != lastCard) {
            lastCard = r.card;
            entries.push_back(r.varId);
        }
    }
    return entries;
}

std::string nextFreeCardLabel(const GdtList &list)
{
    return "N\344chste freie Karte: " + numberText(nextFreeCard(list));
}

} // namespace tafelbau

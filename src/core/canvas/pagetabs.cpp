#include "core/canvas/pagetabs.h"

#include "core/codegen/dialogstructure.h"
#include "core/document/latin1.h"

namespace tafelbau {

int pageTabAt(const GdtList &list, std::int32_t card, CardPoint p, std::int32_t tabHeight,
              const std::function<std::int32_t(const std::string &)> &tabWidth)
{
    const auto &records = list.records();
    // Most points lie in no panel's tab strip: no structure needed then.
    auto stripHolds = [&](const GadgetRecord &r) {
        const std::int64_t left = r.xy0 != 0 ? 0 : r.x;
        const std::int64_t top = r.xy0 != 0 ? 0 : r.y;
        return p.x >= left && p.x < left + r.xd && p.y >= top && p.y < top + std::min(tabHeight, r.yd);
    };
    bool panels = false;
    for (const GadgetRecord &r : records)
        panels = panels || (r.card == card && stripHolds(r) && mentionsFolded(r.code, "panelgadget")
                            && controlType(r.code, r.flags).kind == ControlKind::Panel);
    if (!panels)
        return -1;
    const DialogStructure structure(list);
    int found = -1;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const GadgetRecord &r = records[i];
        if (structure[i].role != StructureRole::Panel || r.card != card || r.dontshow != 0)
            continue;
        if (!stripHolds(r))
            continue;
        const std::int64_t left = r.xy0 != 0 ? 0 : r.x;
        const std::int64_t right = left + r.xd;
        std::int64_t x = left;
        for (int page : structure.pagesOf(static_cast<int>(i))) {
            if (x >= right)
                break;
            const std::int64_t next = x + tabWidth(records[static_cast<std::size_t>(page)].text);
            if (p.x >= x && p.x < next)
                found = page;
            x = next;
        }
    }
    return found;
}

} // namespace tafelbau

#include "core/canvas/alignment.h"

#include "core/canvas/widenumbers.h"
#include "core/commands/selection.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace tafelbau {

namespace {

std::vector<GadgetRecord *> alignable(GdtList &list)
{
    std::vector<GadgetRecord *> out;
    for (GadgetRecord &r : list.records())
        if (r.selected && r.xy0 == 0)
            out.push_back(&r);
    return out;
}

bool assign(std::int32_t &field, std::int64_t value)
{
    const std::int32_t v = saturated(value);
    if (field == v)
        return false;
    field = v;
    return true;
}

bool distribute(const std::vector<GadgetRecord *> &gadgets, std::int32_t GadgetRecord::*pos,
                std::int32_t GadgetRecord::*size)
{
    std::vector<GadgetRecord *> order = gadgets;
    std::stable_sort(order.begin(), order.end(),
                     [pos](const GadgetRecord *a, const GadgetRecord *b) { return a->*pos < b->*pos; });
    const GadgetRecord &first = *order.front();
    const GadgetRecord &last = *order.back();
    std::int64_t sizes = 0;
    for (const GadgetRecord *r : order)
        sizes += r->*size;
    const std::int64_t gaps = static_cast<std::int64_t>(order.size()) - 1;
    const std::int64_t free = std::int64_t{last.*pos} + last.*size - first.*pos - sizes;
    const std::int64_t gap = floorDiv(free, gaps);
    std::int64_t extra = free - gap * gaps; // 0 .. gaps-1 pixels left over
    bool changed = false;
    std::int64_t next = std::int64_t{first.*pos} + first.*size;
    for (std::size_t i = 1; i + 1 < order.size(); ++i) {
        next += gap + (extra > 0 ? 1 : 0);
        if (extra > 0)
            --extra;
        changed = assign(order[i]->*pos, next) || changed;
        next += order[i]->*size;
    }
    return changed;
}

} // namespace

int gadgetsNeeded(Alignment alignment) noexcept
{
    return alignment == Alignment::DistributeHorizontally || alignment == Alignment::DistributeVertically ? 3 : 2;
}

bool canAlign(const GdtList &list, Alignment alignment)
{
    int count = 0;
    const int needed = gadgetsNeeded(alignment);
    for (const GadgetRecord &r : list.records())
        if (r.selected && r.xy0 == 0 && ++count >= needed)
            return true;
    return false;
}

EditOutcome alignSelected(GdtList &list, Alignment alignment)
{
    const std::vector<GadgetRecord *> gadgets = alignable(list);
    if (static_cast<int>(gadgets.size()) < gadgetsNeeded(alignment))
        return {};
    const GadgetRecord ref = *gadgets.front();
    const std::int64_t refRight = std::int64_t{ref.x} + ref.xd;
    const std::int64_t refBottom = std::int64_t{ref.y} + ref.yd;
    bool changed = false;
    if (alignment == Alignment::DistributeHorizontally) {
        changed = distribute(gadgets, &GadgetRecord::x, &GadgetRecord::xd);
    } else if (alignment == Alignment::DistributeVertically) {
        changed = distribute(gadgets, &GadgetRecord::y, &GadgetRecord::yd);
    } else {
        for (GadgetRecord *r : gadgets) {
            switch (alignment) {
            case Alignment::Left: changed = assign(r->x, ref.x) || changed; break;
            case Alignment::Right: changed = assign(r->x, refRight - r->xd) || changed; break;
            case Alignment::Top: changed = assign(r->y, ref.y) || changed; break;
            case Alignment::Bottom: changed = assign(r->y, refBottom - r->yd) || changed; break;
            case Alignment::CentreHorizontally:
                changed = assign(r->x, ref.x + floorDiv(std::int64_t{ref.xd} - r->xd, 2)) || changed;
                break;
            case Alignment::CentreVertically:
                changed = assign(r->y, ref.y + floorDiv(std::int64_t{ref.yd} - r->yd, 2)) || changed;
                break;
            case Alignment::SameWidth: changed = assign(r->xd, ref.xd) || changed; break;
            case Alignment::SameHeight: changed = assign(r->yd, ref.yd) || changed; break;
            case Alignment::SameSize:
                changed = assign(r->xd, ref.xd) || changed;
                changed = assign(r->yd, ref.yd) || changed;
                break;
            default: break;
            }
        }
    }
    EditOutcome out;
    out.current = currentRowGadget(list);
    if (!changed)
        return out;
    out.mark = ChangeMark::Set;
    out.views.properties = true;
    out.views.canvas = true;
    return out;
}

} // namespace tafelbau

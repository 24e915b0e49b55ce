#include "core/canvas/mousedrag.h"

#include "core/canvas/widenumbers.h"
#include "core/commands/selection.h"

#include <algorithm>
#include <array>
#include <limits>
#include <unordered_set>

namespace tafelbau {

namespace {

std::int64_t absolute(std::int64_t v) noexcept
{
    return v < 0 ? -v : v;
}

// The outermost pixels of a frame, for its grips: a frame narrower than one
// pixel still has its grips on the pixel where it starts.
std::int64_t lastPixel(std::int32_t start, std::int32_t size) noexcept
{
    return std::int64_t{start} + std::max<std::int64_t>(size, 1) - 1;
}

CardPoint gripCentre(const CardRect &f, Grip g) noexcept
{
    const std::int64_t right = lastPixel(f.x, f.width);
    const std::int64_t bottom = lastPixel(f.y, f.height);
    const std::int64_t midX = f.x + floorDiv(right - f.x, 2);
    const std::int64_t midY = f.y + floorDiv(bottom - f.y, 2);
    std::int64_t x = midX, y = midY;
    switch (g) {
    case Grip::TopLeft: x = f.x, y = f.y; break;
    case Grip::Top: y = f.y; break;
    case Grip::TopRight: x = right, y = f.y; break;
    case Grip::Right: x = right; break;
    case Grip::BottomRight: x = right, y = bottom; break;
    case Grip::Bottom: y = bottom; break;
    case Grip::BottomLeft: x = f.x, y = bottom; break;
    case Grip::Left: x = f.x; break;
    }
    return {saturated(x), saturated(y)};
}

bool movesLeft(Grip g) noexcept
{
    return g == Grip::TopLeft || g == Grip::Left || g == Grip::BottomLeft;
}
bool movesRight(Grip g) noexcept
{
    return g == Grip::TopRight || g == Grip::Right || g == Grip::BottomRight;
}
bool movesTop(Grip g) noexcept
{
    return g == Grip::TopLeft || g == Grip::Top || g == Grip::TopRight;
}
bool movesBottom(Grip g) noexcept
{
    return g == Grip::BottomLeft || g == Grip::Bottom || g == Grip::BottomRight;
}

// Where grips of a tiny gadget coincide, the one that lets it grow towards
// the bottom-right is taken: the others would only shrink it further.
constexpr std::array<Grip, kGripCount> kGripPreference = {Grip::BottomRight, Grip::Right, Grip::Bottom, Grip::TopRight,
                                                          Grip::BottomLeft,  Grip::Top,   Grip::Left,   Grip::TopLeft};

bool selectedOnCard(const GadgetRecord &r, std::int32_t card) noexcept
{
    return r.selected && r.card == card;
}

std::int64_t snapped(std::int64_t value, std::int32_t raster, bool fine) noexcept
{
    return fine ? value : snapToRaster(value, raster);
}

} // namespace

bool isDrag(CardPoint press, CardPoint now) noexcept
{
    return absolute(std::int64_t{now.x} - press.x) >= kDragThreshold
        || absolute(std::int64_t{now.y} - press.y) >= kDragThreshold;
}

std::int32_t snapToRaster(std::int64_t value, std::int32_t raster) noexcept
{
    if (raster < 2)
        return saturated(value);
    const std::int64_t r = raster;
    // Twice the value against twice the raster: the halves of odd rasters
    // round as those of even ones.
    return saturated(floorDiv(2 * value + r, 2 * r) * r);
}

std::uint8_t gripsOf(const GadgetRecord &r) noexcept
{
    return r.xy0 != 0 ? kWindowGrips : kAllGrips;
}

CardRect drawnFrame(const GadgetRecord &r) noexcept
{
    if (r.xy0 != 0)
        return {0, 0, r.xd, r.yd};
    return {r.x, r.y, r.xd, r.yd};
}

CardRect gripSquare(const CardRect &frame, Grip grip) noexcept
{
    const CardPoint c = gripCentre(frame, grip);
    constexpr std::int32_t half = kGripSize / 2;
    return {saturated(std::int64_t{c.x} - half), saturated(std::int64_t{c.y} - half), kGripSize, kGripSize};
}

void markGrips(std::vector<CardItem> &items, const GdtList &list, std::int32_t card)
{
    const auto &records = list.records();
    for (CardItem &item : items) {
        if (item.record < 0 || static_cast<std::size_t>(item.record) >= records.size())
            continue;
        const GadgetRecord &r = records[static_cast<std::size_t>(item.record)];
        item.grips = selectedOnCard(r, card) && r.dontshow == 0 ? gripsOf(r) : 0;
    }
}

PressTarget pressTarget(const GdtList &list, std::int32_t card, CardPoint p)
{
    // One pass from the top down, as every hover of the mouse asks: the
    // grips of the selected gadgets, and on the way the hit of the click
    // test, gadgetAtPoint(), whose stored places (also of window-like
    // gadgets) are what a click has always hit.
    const auto &records = list.records();
    int hit = -1, background = -1;
    for (std::size_t i = records.size(); i-- > 0;) {
        const GadgetRecord &r = records[i];
        if (r.card != card)
            continue;
        int &found = r.xy0 != 0 ? background : hit;
        const std::int64_t left = r.x, top = r.y;
        if (found < 0 && left <= p.x && p.x <= left + r.xd && top <= p.y && p.y <= top + r.yd)
            found = static_cast<int>(i);
        if (!r.selected || r.dontshow != 0)
            continue;
        const CardRect frame = drawnFrame(r);
        const std::uint8_t offered = gripsOf(r);
        std::int64_t best = kGripReach + 1;
        Grip bestGrip = Grip::BottomRight;
        for (Grip g : kGripPreference) {
            if ((offered & gripBit(g)) == 0)
                continue;
            const CardPoint c = gripCentre(frame, g);
            const std::int64_t distance =
                std::max(absolute(std::int64_t{p.x} - c.x), absolute(std::int64_t{p.y} - c.y));
            if (distance < best) {
                best = distance;
                bestGrip = g;
            }
        }
        if (best <= kGripReach)
            return {PressKind::Resize, static_cast<int>(i), bestGrip};
    }
    if (hit >= 0)
        return {PressKind::Move, hit, Grip::BottomRight};
    return {PressKind::Band, background, Grip::BottomRight};
}

GadgetDrag GadgetDrag::move(const GdtList &list, std::int32_t card, int anchor, CardPoint press,
                            const DragLimits &limits)
{
    return GadgetDrag(list, card, anchor, press, limits, std::nullopt);
}

GadgetDrag GadgetDrag::resize(const GdtList &list, std::int32_t card, int anchor, Grip grip, CardPoint press,
                              const DragLimits &limits)
{
    return GadgetDrag(list, card, anchor, press, limits, grip);
}

GadgetDrag::GadgetDrag(const GdtList &list, std::int32_t card, int anchor, CardPoint press, const DragLimits &limits,
                       std::optional<Grip> grip)
    : m_press(press), m_limits(limits), m_resize(grip.has_value()), m_grip(grip.value_or(Grip::BottomRight))
{
    const auto &records = list.records();
    if (anchor >= 0 && static_cast<std::size_t>(anchor) < records.size())
        m_anchor = drawnFrame(records[static_cast<std::size_t>(anchor)]);
    // A move takes every selected gadget but windows; a resize those that
    // offer the grabbed grip.
    for (std::size_t i = 0; i < records.size(); ++i) {
        const GadgetRecord &r = records[i];
        const bool takes = grip ? (gripsOf(r) & gripBit(*grip)) != 0 : r.xy0 == 0;
        if (selectedOnCard(r, card) && takes)
            m_gadgets.push_back({i, r.lvid, drawnFrame(r)});
    }
}

EditOutcome GadgetDrag::dragTo(GdtList &list, CardPoint p, bool fine) const
{
    const std::int64_t dx = std::int64_t{p.x} - m_press.x;
    const std::int64_t dy = std::int64_t{p.y} - m_press.y;
    // The travel decides where the anchor's corner or edge would go; that
    // place, snapped, decides how far every gadget goes.
    if (!m_resize) {
        const std::int64_t tx = snapped(std::int64_t{m_anchor.x} + dx, m_limits.raster, fine) - m_anchor.x;
        const std::int64_t ty = snapped(std::int64_t{m_anchor.y} + dy, m_limits.raster, fine) - m_anchor.y;
        return moveTo(list, tx, ty, fine);
    }
    std::int64_t tx = 0, ty = 0;
    if (movesLeft(m_grip))
        tx = snapped(std::int64_t{m_anchor.x} + dx, m_limits.raster, fine) - m_anchor.x;
    else if (movesRight(m_grip))
        tx = snapped(std::int64_t{m_anchor.x} + m_anchor.width + dx, m_limits.raster, fine) - m_anchor.x
            - m_anchor.width;
    if (movesTop(m_grip))
        ty = snapped(std::int64_t{m_anchor.y} + dy, m_limits.raster, fine) - m_anchor.y;
    else if (movesBottom(m_grip))
        ty = snapped(std::int64_t{m_anchor.y} + m_anchor.height + dy, m_limits.raster, fine) - m_anchor.y
            - m_anchor.height;
    return resizeTo(list, tx, ty, fine);
}

std::pair<std::int32_t, std::int32_t> GadgetDrag::bounds(bool fine) const
{
    if (!fine && !m_limits.parentArea.isEmpty())
        return {m_limits.parentArea.width, m_limits.parentArea.height};
    return {m_limits.panelWidth, m_limits.panelHeight};
}

namespace {

struct Changes
{
    bool moved = false;   ///< some gadget is away from where it stood at the press
    bool changed = false; ///< this call changed some record

    void set(std::int32_t &field, std::int64_t value, std::int32_t start)
    {
        const std::int32_t v = saturated(value);
        changed = changed || field != v;
        moved = moved || v != start;
        field = v;
    }

    EditOutcome outcome(GdtList &list) const
    {
        EditOutcome out;
        if (moved)
            out.mark = ChangeMark::Set;
        out.views.properties = changed;
        out.views.canvas = changed;
        out.current = currentRowGadget(list);
        return out;
    }
};

} // namespace

EditOutcome GadgetDrag::moveTo(GdtList &list, std::int64_t dx, std::int64_t dy, bool fine) const
{
    const auto [width, height] = bounds(fine);
    // The group moves as one: the travel is cut where the first gadget would
    // cross an edge of the card. A gadget that lies beyond an edge already
    // may stay there but goes no further, so 0 is always allowed.
    std::int64_t loX = 0, hiX = 0, loY = 0, hiY = 0;
    bool first = true;
    for (const Gadget &g : m_gadgets) {
        const CardRect &s = g.start;
        const std::int64_t gLoX = std::min<std::int64_t>(0, -std::int64_t{s.x});
        const std::int64_t gHiX = std::max<std::int64_t>(0, std::int64_t{width} - s.width - s.x);
        const std::int64_t gLoY = std::min<std::int64_t>(0, -std::int64_t{s.y});
        const std::int64_t gHiY = std::max<std::int64_t>(0, std::int64_t{height} - s.height - s.y);
        loX = first ? gLoX : std::max(loX, gLoX);
        hiX = first ? gHiX : std::min(hiX, gHiX);
        loY = first ? gLoY : std::max(loY, gLoY);
        hiY = first ? gHiY : std::min(hiY, gHiY);
        first = false;
    }
    dx = std::clamp(dx, loX, hiX);
    dy = std::clamp(dy, loY, hiY);
    Changes c;
    auto &records = list.records();
    for (const Gadget &g : m_gadgets) {
        if (g.index >= records.size() || records[g.index].lvid != g.lvid)
            continue;
        GadgetRecord &r = records[g.index];
        c.set(r.x, std::int64_t{g.start.x} + dx, g.start.x);
        c.set(r.y, std::int64_t{g.start.y} + dy, g.start.y);
    }
    return c.outcome(list);
}

EditOutcome GadgetDrag::resizeTo(GdtList &list, std::int64_t dx, std::int64_t dy, bool fine) const
{
    const auto [width, height] = bounds(fine);
    Changes c;
    auto &records = list.records();
    // Each gadget on its own: never below 1 pixel, no edge past the card's
    // unless it lay there already; each bound allows standing still.
    auto nearEdge = [](std::int64_t d, std::int32_t pos, std::int32_t size) {
        return std::clamp<std::int64_t>(d, std::min<std::int64_t>(0, -std::int64_t{pos}),
                                        std::max<std::int64_t>(0, std::int64_t{size} - 1));
    };
    auto farEdge = [](std::int64_t d, std::int32_t pos, std::int32_t size, std::int32_t panel) {
        return std::clamp<std::int64_t>(d, std::min<std::int64_t>(0, 1 - std::int64_t{size}),
                                        std::max<std::int64_t>(0, std::int64_t{panel} - pos - size));
    };
    for (const Gadget &g : m_gadgets) {
        if (g.index >= records.size() || records[g.index].lvid != g.lvid)
            continue;
        GadgetRecord &r = records[g.index];
        const CardRect &s = g.start;
        if (movesLeft(m_grip)) {
            const std::int64_t d = nearEdge(dx, s.x, s.width);
            c.set(r.x, std::int64_t{s.x} + d, s.x);
            c.set(r.xd, std::int64_t{s.width} - d, s.width);
        } else if (movesRight(m_grip)) {
            c.set(r.xd, std::int64_t{s.width} + farEdge(dx, s.x, s.width, width), s.width);
        }
        if (movesTop(m_grip)) {
            const std::int64_t d = nearEdge(dy, s.y, s.height);
            c.set(r.y, std::int64_t{s.y} + d, s.y);
            c.set(r.yd, std::int64_t{s.height} - d, s.height);
        } else if (movesBottom(m_grip)) {
            c.set(r.yd, std::int64_t{s.height} + farEdge(dy, s.y, s.height, height), s.height);
        }
    }
    return c.outcome(list);
}

CardRect bandBetween(CardPoint a, CardPoint b) noexcept
{
    const std::int64_t left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const std::int64_t top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    return {saturated(left), saturated(top), saturated(right - left + 1), saturated(bottom - top + 1)};
}

EditOutcome selectInBand(GdtList &list, std::int32_t card, const CardRect &band, bool add)
{
    const std::int64_t left = band.x, top = band.y;
    const std::int64_t right = left + band.width - 1, bottom = top + band.height - 1;
    // The pixels a frame covers; a frame of no or negative size as the
    // pixels between its corners.
    auto inside = [](std::int64_t start, std::int64_t size, std::int64_t lo, std::int64_t hi) {
        const std::int64_t first = std::min(start, start + size);
        const std::int64_t last = std::max(start, start + size - 1);
        return lo <= first && last <= hi;
    };
    for (GadgetRecord &r : list.records()) {
        const CardRect f = drawnFrame(r);
        const bool in = r.card == card && r.dontshow == 0 && inside(f.x, f.width, left, right)
            && inside(f.y, f.height, top, bottom);
        if (in)
            r.selected = true;
        else if (!add)
            r.selected = false;
    }
    return selectionMadeElsewhere(list);
}

EditOutcome toggleGadgetAtPoint(GdtList &list, std::int32_t card, CardPoint p)
{
    const int hit = gadgetAtPoint(list, card, p.x, p.y);
    if (hit < 0)
        return {};
    GadgetRecord &r = list.records()[static_cast<std::size_t>(hit)];
    r.selected = !r.selected;
    return selectionMadeElsewhere(list);
}

SelectionSnapshot takeSelection(const GdtList &list)
{
    SelectionSnapshot s;
    s.selected = selectedLvids(list);
    s.current = list.currentIndex();
    return s;
}

EditOutcome restoreSelection(GdtList &list, const SelectionSnapshot &snapshot)
{
    const std::unordered_set<std::int32_t> selected(snapshot.selected.begin(), snapshot.selected.end());
    for (GadgetRecord &r : list.records())
        r.selected = selected.count(r.lvid) != 0;
    list.setCurrentIndex(snapshot.current);
    EditOutcome out;
    out.views.applySelection = true;
    out.views.canvas = true;
    out.views.properties = true;
    out.current = list.currentIndex();
    return out;
}

} // namespace tafelbau

#pragma once

#include "core/canvas/carddrawing.h"
#include "core/canvas/controllook.h"
#include "core/commands/editoutcome.h"
#include "core/document/gdtlist.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace tafelbau {

/// A pixel of the card, in the card's own coordinates.
struct CardPoint
{
    std::int32_t x = 0;
    std::int32_t y = 0;

    bool operator==(const CardPoint &) const = default;
};

/// How far a pressed mouse must travel, in pixels along either axis, before
/// the press becomes a drag; less is a click.
inline constexpr std::int32_t kDragThreshold = 3;
bool isDrag(CardPoint press, CardPoint now) noexcept;

/// The multiple of `raster` nearest to `value`, halves upwards, kept within
/// 32 bits. A raster below 2 leaves the value as it is.
std::int32_t snapToRaster(std::int64_t value, std::int32_t raster) noexcept;

/// The eight grips around a selected gadget, named by where they sit.
enum class Grip : std::uint8_t { TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };
inline constexpr int kGripCount = 8;
constexpr std::uint8_t gripBit(Grip g) noexcept
{
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(g));
}
inline constexpr std::uint8_t kAllGrips = 0xFF;
/// A window-like gadget stays at 0,0 on the card: only the grips that leave
/// its top-left corner alone.
inline constexpr std::uint8_t kWindowGrips = gripBit(Grip::Right) | gripBit(Grip::BottomRight) | gripBit(Grip::Bottom);

/// Side of a grip's square as painted; odd, so that it centres on a pixel.
inline constexpr std::int32_t kGripSize = 5;
/// A press this many pixels or fewer from a grip's centre takes the grip.
inline constexpr std::int32_t kGripReach = 3;

/// The grips a record offers when selected.
std::uint8_t gripsOf(const GadgetRecord &r) noexcept;

/// The frame a record is drawn in on its card: a window-like one at 0,0.
CardRect drawnFrame(const GadgetRecord &r) noexcept;

/// The square painted for `grip` of a gadget drawn at `frame`. A frame of
/// w x h covers x .. x+w-1, so the grips sit on its outermost pixels.
CardRect gripSquare(const CardRect &frame, Grip grip) noexcept;

/// Gives the items of selected records of `card` the grips they offer; the
/// items come from cardItems() or controlItems() for that card.
void markGrips(std::vector<CardItem> &items, const GdtList &list, std::int32_t card);

/// What a press at a point starts when the mouse then moves.
enum class PressKind : std::uint8_t {
    Band,   ///< empty canvas or a window-like gadget: a rubber band
    Move,   ///< a gadget that can be moved
    Resize, ///< a grip of a selected gadget
};
struct PressTarget
{
    PressKind kind = PressKind::Band;
    int record = -1; ///< the gadget under the point (also under a band), or -1
    Grip grip = Grip::BottomRight;

    bool operator==(const PressTarget &) const = default;
};

/// What lies under (x, y) on `card`: first the grips of the selected gadgets
/// that are drawn (later ones on top; of one gadget's grips the nearest,
/// the bottom-right one when they coincide), then the gadget the click test
/// hits.
PressTarget pressTarget(const GdtList &list, std::int32_t card, CardPoint p);

/// The card's bounds and step, for drags.
struct DragLimits
{
    std::int32_t raster = 5;
    std::int32_t panelWidth = 1200;
    std::int32_t panelHeight = 1600;
    /// The client area of the window, page or container the dragged gadget
    /// is created in, from 0,0: a drag stops at its edges instead of the
    /// card's, but for a fine (Shift) one. Empty for none.
    CardRect parentArea;
};

/// A drag of gadgets, kept from the press to the release. Every call of
/// dragTo() places them anew from where they stood at the press, so a drag
/// that comes back leaves them as they were.
class GadgetDrag
{
public:
    /// Moves the selected gadgets of `card` that are not window-like by the
    /// mouse's travel. The top-left corner of `anchor` snaps to the raster;
    /// the group stops as one where the first of them meets the card's
    /// edge (left, top: 0; right, bottom: the panel size, or the parent's
    /// area of `limits`), and none is pushed further out than it already was.
    static GadgetDrag move(const GdtList &list, std::int32_t card, int anchor, CardPoint press,
                           const DragLimits &limits);
    /// Moves the edges `grip` names of the selected gadgets of `card` that
    /// offer it by the mouse's travel; the moved edge of `anchor` snaps to
    /// the raster. None gets narrower or lower than 1, and no edge goes past
    /// the card's edge unless it already was.
    static GadgetDrag resize(const GdtList &list, std::int32_t card, int anchor, Grip grip, CardPoint press,
                             const DragLimits &limits);

    /// Places the gadgets for the mouse at `p`: on the raster, or pixel by
    /// pixel when `fine`. The outcome sets the change mark while a gadget is
    /// away from where it stood at the press, and asks for the property list
    /// and the canvas only when this call changed a record: most mouse moves
    /// stay within a raster step.
    EditOutcome dragTo(GdtList &list, CardPoint p, bool fine) const;

    /// How many gadgets the drag places.
    std::size_t gadgetCount() const { return m_gadgets.size(); }

private:
    struct Gadget
    {
        std::size_t index;
        std::int32_t lvid;
        CardRect start; ///< the drawn frame at the press
    };

    GadgetDrag() = default;
    /// `grip`: the edges a resize moves; none for a move.
    GadgetDrag(const GdtList &list, std::int32_t card, int anchor, CardPoint press, const DragLimits &limits,
               std::optional<Grip> grip);
    EditOutcome moveTo(GdtList &list, std::int64_t dx, std::int64_t dy, bool fine) const;
    EditOutcome resizeTo(GdtList &list, std::int64_t dx, std::int64_t dy, bool fine) const;
    /// Width and height of the area the gadgets stay in.
    std::pair<std::int32_t, std::int32_t> bounds(bool fine) const;

    std::vector<Gadget> m_gadgets;
    CardRect m_anchor;
    CardPoint m_press;
    DragLimits m_limits;
    bool m_resize = false;
    Grip m_grip = Grip::BottomRight;
};

/// The pixels a rubber band from `a` to `b` covers, both included.
CardRect bandBetween(CardPoint a, CardPoint b) noexcept;

/// The gadgets of `card` that are drawn and whose drawn frame lies wholly
/// inside `band` become the selection; with `add` they join it.
EditOutcome selectInBand(GdtList &list, std::int32_t card, const CardRect &band, bool add);

/// Ctrl+click: the gadget at (x, y) on `card` leaves or joins the selection;
/// the others keep theirs. A click on nothing changes nothing.
EditOutcome toggleGadgetAtPoint(GdtList &list, std::int32_t card, CardPoint p);

/// The selection and the cursor, to put back when a drag is cancelled.
struct SelectionSnapshot
{
    std::vector<std::int32_t> selected; ///< lvids
    int current = GdtList::kNone;
};
SelectionSnapshot takeSelection(const GdtList &list);
EditOutcome restoreSelection(GdtList &list, const SelectionSnapshot &snapshot);

} // namespace tafelbau

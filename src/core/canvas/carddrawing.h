#pragma once

#include "core/canvas/controllook.h"
#include "core/document/gdtlist.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tafelbau {

inline constexpr std::uint32_t kColourBlack = 0;
inline constexpr std::uint32_t kColourCaption = 12632256; // light grey
inline constexpr std::uint32_t kColourMove = 255;         // red
inline constexpr std::uint32_t kColourResize = 65280;     // green

/// One gadget as the canvas shows it: a 1-pixel outline and its caption.
struct CardItem
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t frameColour = 0;
    std::string text;      ///< the record's caption (a copy: the canvas may paint after the list changed)
    int record = -1;       ///< index in the list
    std::int32_t lvid = 0; ///< the record's identity across redraws
    ControlLook control;   ///< the real-gadget drawing's view of it; empty in the frame drawing
    /// One bit per grip painted around it (mousedrag.h); none unless selected.
    std::uint8_t grips = 0;

    /// Same look: the same frame, colour and caption at the same place.
    bool looksLike(const CardItem &o) const
    {
        return x == o.x && y == o.y && width == o.width && height == o.height && frameColour == o.frameColour
            && text == o.text && control == o.control && grips == o.grips;
    }
};

/// The card a redraw shows: that of the first selected record, else the
/// one shown before.
std::int32_t cardToShow(const GdtList &list, std::int32_t shownCard);

/// What a redraw of `card` paints over the black image, in paint order:
/// the records of that card that are drawn, unselected ones first, the
/// selected ones on top in the marking colour; window-like ones at 0,0.
/// An entry added to a list or combo box (AddGadgetItem naming no panel)
/// is no gadget of its own and is not drawn, nor hit by a click.
std::vector<CardItem> cardItems(const GdtList &list, std::int32_t card, std::uint32_t markingColour);

/// Per record of `list`: whether it is an entry (see cardItems). Empty when
/// `card` holds no AddGadgetItem at all; the structure is read only then.
std::vector<char> entriesOnCard(const GdtList &list, std::int32_t card);

/// Index of the record a left click at (x, y) on `card` selects, or -1.
/// Bounds are inclusive; an ordinary gadget wins over a window-like one
/// under it, and a later one over an earlier one. Hidden gadgets can be hit.
int gadgetAtPoint(const GdtList &list, std::int32_t card, std::int32_t x, std::int32_t y);

/// The card chooser: the VarID of the first record of every run of records
/// on the same card, in list order.
std::vector<std::string> cardChooserEntries(const GdtList &list);

/// "Nächste freie Karte: " + the next free card, Latin-1.
std::string nextFreeCardLabel(const GdtList &list);

} // namespace tafelbau

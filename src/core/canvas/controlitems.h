#pragma once

#include "core/canvas/carddrawing.h"
#include "core/canvas/controllook.h"

namespace tafelbau {

/// What the real-gadget drawing paints of `card`, in paint order: the
/// drawn records of that card, window-like ones first and then in list
/// order, as the dialog stacks its controls; selected ones keep their place
/// and are marked. Gadgets of other cards that the code creates inside a
/// container of this card follow their container, where and as far as they
/// show in the dialog: a panel shows its first page. Every item carries its
/// control type, and a panel the titles of its pages.
///
/// Linear in the list: each template is read once per call.
std::vector<CardItem> controlItems(const GdtList &list, std::int32_t card, std::uint32_t markingColour,
                                   const ControlMetrics &metrics);

} // namespace tafelbau

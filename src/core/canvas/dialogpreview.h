// What the preview of a dialog shows: the window a gadget belongs to, and
// every gadget the code creates in it, where and as what it is created.
#pragma once

#include "core/codegen/controltype.h"
#include "core/codegen/dialogstructure.h"
#include "core/document/gdtlist.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tafelbau {

struct PreviewGadget
{
    int record = -1; ///< its record in the list
    std::string varId;
    /// The gadget it is created in, as an index into the plan's gadgets: a
    /// page (whose parent is its panel), a container, a scroll area; -1 for
    /// the window itself.
    int parent = -1;
    ControlType type; ///< with every look flag; Page for a panel's page
    CardRect rect;    ///< x, y, width and height as the code gives them, in its parent's client area
    std::string text; ///< caption (Latin-1)
    std::uint32_t frameColour = 0; ///< the record's, for a gadget shown as the card draws it
    /// Entries added with AddGadgetItem: a combo box's, a list's, a tree's
    /// items, an editor's lines. A panel's pages are gadgets of their own.
    std::vector<std::string> items;
    /// The call's numbers after the size, where the control has them: the
    /// minimum and maximum of a spin, track bar, progress bar or scroll bar
    /// (and a scroll bar's page length), the inner width and height of a
    /// scroll area. Missing or unreadable numbers keep these defaults.
    std::array<std::int32_t, 3> numbers{0, 100, 10};
    bool numeric = false; ///< a string field that takes digits only
};

struct PreviewPlan
{
    int window = -1; ///< the window's record; -1 when there is none to show
    std::string caption;
    ControlType windowType; ///< its look flags: the buttons of its title bar
    std::int32_t width = 0; ///< inner size
    std::int32_t height = 0;
    /// In list order, so that the Tab key goes through them as the code
    /// creates them; a gadget comes after the one it is created in.
    std::vector<PreviewGadget> gadgets;
};

/// The window that record `current` belongs to (the first window when it
/// belongs to none, or when `current` is -1), with everything its code
/// creates in it but the gadgets no drawing shows (dontshow) and the
/// records that make no control (gadget list ends, code). Linear in the list.
PreviewPlan previewPlan(const GdtList &list, const DialogStructure &structure, int current);

} // namespace tafelbau

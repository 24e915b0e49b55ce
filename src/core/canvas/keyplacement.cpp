#include "core/canvas/keyplacement.h"

#include "core/commands/selection.h"
#include "core/document/latin1.h"

namespace tafelbau {

namespace {

// Long arithmetic would wrap at 32 bits; widening first and keeping the low
// 32 bits of the result gives the same without overflowing.
std::int32_t low32(std::int64_t v) noexcept
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

EditOutcome stepSelected(GdtList &list, PlacementMode mode, std::int32_t step, std::int32_t panelSize,
                         std::int32_t GadgetRecord::*pos, std::int32_t GadgetRecord::*size)
{
    for (GadgetRecord &r : list.records()) {
        if (!r.selected)
            continue;
        if (mode == PlacementMode::Resize) {
            r.*size = low32(std::int64_t{r.*size} + step);
            continue;
        }
        std::int64_t v = std::int64_t{r.*pos} + step;
        const std::int64_t far = std::int64_t{panelSize} - r.*size;
        // The left/top bound wins: the right/bottom one is only looked at for
        // a value that is not negative.
        if (v < 0)
            v = 0;
        else if (v > far)
            v = far;
        r.*pos = low32(v);
    }
    EditOutcome out;
    out.mark = ChangeMark::Set;
    out.views.properties = true;
    out.views.canvas = true;
    out.current = currentRowGadget(list);
    return out;
}

} // namespace

std::optional<PlacementStep> placementStepFor(int menuId, std::int32_t raster, std::int32_t rasterBig) noexcept
{
    if (menuId < 21 || menuId > 32)
        return std::nullopt;
    // Ids run in groups of four -- up, down, left, right -- for Ctrl, Shift
    // and Ctrl+Shift.
    const int group = (menuId - 21) / 4;
    const int key = (menuId - 21) % 4;
    const std::int32_t size = group == 0 ? raster : group == 1 ? 1 : rasterBig;
    const Axis axis = key < 2 ? Axis::Y : Axis::X;
    const bool negative = key % 2 == 0;
    return PlacementStep{axis, negative ? low32(-std::int64_t{size}) : size};
}

EditOutcome stepSelectedX(GdtList &list, PlacementMode mode, std::int32_t step, std::int32_t panelWidth)
{
    return stepSelected(list, mode, step, panelWidth, &GadgetRecord::x, &GadgetRecord::xd);
}

EditOutcome stepSelectedY(GdtList &list, PlacementMode mode, std::int32_t step, std::int32_t panelHeight)
{
    return stepSelected(list, mode, step, panelHeight, &GadgetRecord::y, &GadgetRecord::yd);
}

PlacementMode togglePlacementMode(PlacementMode &mode) noexcept
{
    mode = mode == PlacementMode::Move ? PlacementMode::Resize : PlacementMode::Move;
    return mode;
}

std::string assignCardPrompt()
{
    return latin1ToUtf8("Ordnet die gew\xE4hlten Gadgets der Karte zu:");
}

EditOutcome assignCard(GdtList &list, std::optional<std::string_view> answer)
{
    if (!answer || answer->empty())
        return {};
    const std::int32_t card = parseWholeNumber(*answer);
    for (GadgetRecord &r : list.records())
        if (r.selected)
            r.card = card;
    EditOutcome out;
    out.mark = ChangeMark::Set;
    out.views.cardChooser = true;
    out.views.canvas = true;
    out.views.nextFreeCard = true;
    // The property list would otherwise go on showing the old card number.
    out.views.properties = true;
    out.current = currentRowGadget(list);
    return out;
}

} // namespace tafelbau

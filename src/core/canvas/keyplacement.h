#pragma once

#include "core/commands/editoutcome.h"
#include "core/document/gdtlist.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tafelbau {

/// Whether the step keys move the selected gadgets or change their size.
/// Lasts for the run; New and Open leave it alone.
enum class PlacementMode { Move, Resize };

/// Frame colour of selected gadgets (red + 256 * green + 65536 * blue): red
/// while moving, green while resizing.
inline constexpr std::uint32_t kMoveMarkingColour = 255;
inline constexpr std::uint32_t kResizeMarkingColour = 255 * 256;
constexpr std::uint32_t markingColour(PlacementMode mode) noexcept
{
    return mode == PlacementMode::Move ? kMoveMarkingColour : kResizeMarkingColour;
}

enum class Axis { X, Y };

struct PlacementStep
{
    Axis axis;
    std::int32_t step;

    bool operator==(const PlacementStep &) const = default;
};

/// The step of one of the twelve step keys by its menu id (21 to 32): Ctrl
/// with the arrows steps by `raster`, Shift by 1, Ctrl+Shift by `rasterBig`;
/// up and left are negative. nullopt for any other id.
std::optional<PlacementStep> placementStepFor(int menuId, std::int32_t raster, std::int32_t rasterBig) noexcept;

/// Adds `step` to `x` (move mode) or `xd` (resize mode) of every selected
/// record, on whatever card. A moved `x` is raised to 0 when negative, else
/// lowered to `panelWidth` - `xd` when beyond it (negative for gadgets wider
/// than the canvas); sizes have no limit. Marks a change even when nothing is
/// selected.
EditOutcome stepSelectedX(GdtList &list, PlacementMode mode, std::int32_t step, std::int32_t panelWidth);

/// The same for `y`, `yd` and `panelHeight`.
EditOutcome stepSelectedY(GdtList &list, PlacementMode mode, std::int32_t step, std::int32_t panelHeight);

/// Ctrl+M: switches the mode and returns the new one. Only the canvas needs
/// redrawing (in the new marking colour); the document is not changed.
PlacementMode togglePlacementMode(PlacementMode &mode) noexcept;

/// Title and prompt of the card number question (UTF-8).
inline constexpr char kAssignCardTitle[] = "Karte zuordnen";
std::string assignCardPrompt();

/// "Karte zuordnen" with the typed answer: puts every selected record on the
/// card read from it as a whole number ("  12abc" is 12, "$1F" 31, "abc" 0).
/// An empty or missing answer changes nothing.
EditOutcome assignCard(GdtList &list, std::optional<std::string_view> answer);

} // namespace tafelbau

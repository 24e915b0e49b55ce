// What the import knows of PureBasic itself, beyond what a pool says: the
// functions that build a dialog, the values PureBasic takes for arguments a
// call leaves out, and the constants that stand for one or two characters.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace tafelbau {

/// The functions of PureBasic's window and gadget libraries that build a
/// dialog (the window, every gadget, panel items and list columns, gadget
/// lists), spelled as the reference spells them. Frame3DGadget, the older
/// name of the frame, is among them.
std::span<const std::string_view> dialogFunctions() noexcept;

/// What an argument that a call leaves out stands for, as PureBasic source.
struct OmittedArgument
{
    std::string_view value;
    /// The reference states this value; otherwise it only keeps the call
    /// valid and may differ from what PureBasic takes.
    bool documented = false;
    /// No value says what leaving it out does: the call is written without
    /// it, where it is the call's last argument.
    bool leftOut = false;
};

/// For argument `index` (from 0) of `function` (any letter case); nothing
/// when the reference names no value for it.
std::optional<OmittedArgument> omittedArgument(std::string_view function, std::size_t index) noexcept;

/// The characters a constant such as #LF$ stands for (any letter case).
std::optional<std::string_view> characterConstant(std::string_view constant) noexcept;

} // namespace tafelbau

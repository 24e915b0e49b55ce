#pragma once

#include "core/document/fileops.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tafelbau {

/// The switches of the "Ansicht" menu, kept in the group "View".
struct ViewSettings
{
    bool codeView = false;    ///< the dock with the generated code beside the canvas
    bool realGadgets = false; ///< the card shows the controls, not frames
    bool showRaster = false;  ///< dots on the card at every multiple of GPanelRaster
    bool toolbox = false;     ///< the dock with the pool's gadgets to drag onto the card
    /// The docked code view's width in pixels as last seen; 0 for none kept.
    std::int32_t codeViewWidth = 0;
    /// Docked on the canvas's left rather than its right, as last seen.
    bool codeViewLeft = false;

    bool operator==(const ViewSettings &) const = default;
};

/// Widths of the code view that a settings file may bring back. Less would
/// show no code; more no window can hold.
inline constexpr std::int32_t kMinCodeViewWidth = 80;
inline constexpr std::int32_t kMaxCodeViewWidth = 8000;
/// A width read from the file as one to keep: nothing (0) for none, for a
/// value below 1 or for no number at all, else within the bounds above.
std::int32_t keptCodeViewWidth(std::int32_t width) noexcept;

/// The keys of the group "View": one row per switch, each stored as 0 or 1.
/// "GCodeViewWidth" follows them, and only once a width is known;
/// "GCodeViewLeft" last, once the view was docked on the left.
struct ViewKey
{
    std::string_view key;
    bool ViewSettings::*value;
};
inline constexpr ViewKey kViewKeys[] = {
    {"GCodeView", &ViewSettings::codeView},
    {"GRealGadgets", &ViewSettings::realGadgets},
    {"GShowRaster", &ViewSettings::showRaster},
    {"GToolbox", &ViewSettings::toolbox},
};

/// The values kept in "Tafelbau.ini" in the data folder.
struct ProgramSettings
{
    std::string helpFile = "C:\\Program Files\\PureBasic\\PureBasic.chm";
    std::int32_t panelHeight = 1600;
    std::int32_t panelWidth = 1200;
    std::int32_t panelRaster = 5;
    std::int32_t panelRasterBig = 50;
    std::int32_t mainWinX = 10;
    std::int32_t mainWinY = 10;
    std::int32_t mainWinXD = 1000;
    std::int32_t mainWinYD = 575;
    ViewSettings view;
    /// The folder a file was last chosen in, where the choosers open when
    /// no list is shown; group "Folders", once there is one. Empty for none.
    std::string lastFolder;

    bool operator==(const ProgramSettings &) const = default;
};

/// Reads the program settings; a missing or unreadable file gives defaults.
ProgramSettings readProgramSettings(const std::filesystem::path &path);

/// Updates the program settings file, keeping every other line of it. The
/// window edges are raised to 0 when negative. False when it could not be
/// written (the caller stays silent about it, as a settings file is no work
/// of the user's).
bool writeProgramSettings(const std::filesystem::path &path, const ProgramSettings &settings,
                          FileOps &files = FileOps::system());

} // namespace tafelbau

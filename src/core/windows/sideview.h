#pragma once

namespace tafelbau {

/// An area shared by a main part and a view docked beside it, in pixels.
struct SideViewRoom
{
    int area = 0;        ///< the width of the whole
    int mainMinimum = 0; ///< what the main part keeps at least
    int sideMinimum = 0; ///< what the side view keeps at least
    int separator = 0;   ///< the handle between the two
};

/// The side view's width when `wanted`: no less than its minimum, and no
/// more than leaves the main part its own. Where the area holds both
/// minimums only together with the separator or not at all, the side
/// view's minimum wins: a view too narrow to read is of no use.
int sideViewWidth(const SideViewRoom &room, int wanted);

/// The width a side view gets when none was kept: half the area, within
/// `minimum` and `maximum`.
int firstSideViewWidth(int area, int minimum, int maximum);

} // namespace tafelbau

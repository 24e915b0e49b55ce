// Windows are laid out in pixels for a 96-dpi screen and an 8-point dialog
// font; these put them on the screen at hand.
#pragma once

#include <QFont>

class QWidget;

namespace tafelbau {

/// Sets `widget`'s geometry to the given one multiplied by `scale`.
void placeScaled(QWidget *widget, float scale, int x, int y, int width, int height);

/// `base` as an 8-point sans of Arial's widths: the fixed geometry of the
/// windows leaves room for captions in that font, and wider default fonts
/// would cut them off.
QFont dialogFont(QFont base);

} // namespace tafelbau

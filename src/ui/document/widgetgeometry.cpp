#include "ui/document/widgetgeometry.h"

#include "core/document/displayscale.h"

#include <QWidget>

namespace tafelbau {

void placeScaled(QWidget *widget, float scale, int x, int y, int width, int height)
{
    widget->setGeometry(scaledPixels(x, scale), scaledPixels(y, scale), scaledPixels(width, scale),
                        scaledPixels(height, scale));
}

QFont dialogFont(QFont base)
{
    base.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    base.setPointSize(8);
    return base;
}

} // namespace tafelbau

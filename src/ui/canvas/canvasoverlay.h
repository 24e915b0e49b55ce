#pragma once

// What the card shows beyond its gadgets: the raster's dots, the grips of
// the selected ones and the rubber band over them.
#include "core/canvas/carddrawing.h"

#include <QPixmap>
#include <QRect>
#include <QRegion>

#include <cstdint>
#include <optional>

class QPainter;

namespace tafelbau {

/// Dots at every multiple of a raster, painted by tiles made once per
/// raster: a raster of 5 puts some 77,000 dots on a 1200 x 1600 card.
class RasterDots
{
public:
    /// A raster below 2 shows no dots: every pixel would be one.
    void setRaster(int raster);
    int raster() const { return m_raster; }

    /// Fills `clip` (card coordinates) black with the dots on it.
    void paintOverBlack(QPainter &painter, const QRect &clip) const;
    /// Darker dots where what is painted is lighter than they are (a
    /// dialog and its controls), from the card's 0, 0 on: left of and above
    /// it lie a window's frame and title bar, where nothing snaps. Leaves
    /// everything else as it was.
    void paintOnLight(QPainter &painter, const QRect &clip) const;

private:
    void paintDots(QPainter &painter, const QRect &clip, const QPixmap &tile, const QColor &dot) const;

    int m_raster = 0;
    QPixmap m_tile;      ///< black with a dim dot at each multiple; empty for big rasters
    QPixmap m_lightTile; ///< white with a darker dot at each multiple; likewise
};

/// A rectangle of the card as a QRect can hold it: what lies beyond any
/// widget's reach is cut off there, so that records from a hand-edited file
/// never overflow QRect's int edges.
QRect clampedRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height);

/// Everything painting the grips of `item` may touch; empty without grips.
QRect gripBounds(const CardItem &item);

/// Paints the grips of the items that have them, in their marking colour,
/// after every item: they lie on top of everything.
void paintGrips(QPainter &painter, const std::vector<CardItem> &items, const QRect &clip);

/// The pixels the outline of a rubber band covers.
QRegion bandOutline(const QRect &band);
void paintBand(QPainter &painter, const QRect &band);

} // namespace tafelbau

#include "ui/canvas/canvasoverlay.h"

#include "core/canvas/mousedrag.h"
#include "ui/document/qtconvert.h"

#include <QPainter>

#include <algorithm>

namespace tafelbau {

namespace {

// Dim, so that frames in the default light grey stay easy to read over them.
const QColor kRasterDot(70, 70, 70);
// On a dialog's light surfaces: darker than them, lighter than their text.
const QColor kRasterDotOnLight(150, 150, 150);
const QColor kBandColour(220, 220, 220);
// Tiles of about this size: smaller ones make the painter loop too often.
constexpr int kTileSize = 64;
// No widget is larger than this; what lies further out is never seen, and
// keeping it inside keeps QRect's int arithmetic from overflowing.
constexpr std::int64_t kFar = std::int64_t{1} << 26;

int clamped(std::int64_t v)
{
    return static_cast<int>(std::clamp(v, -kFar, kFar));
}

QRect rectOf(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom)
{
    return QRect(QPoint(clamped(left), clamped(top)), QPoint(clamped(right), clamped(bottom)));
}

QRect rectOf(const CardRect &r)
{
    return clampedRect(r.x, r.y, r.width, r.height);
}

int positiveModulo(int v, int m)
{
    const int r = v % m;
    return r < 0 ? r + m : r;
}

} // namespace

QRect clampedRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height)
{
    return rectOf(x, y, x + width - 1, y + height - 1);
}

void RasterDots::setRaster(int raster)
{
    raster = raster < 2 ? 0 : raster;
    if (raster == m_raster)
        return;
    m_raster = raster;
    m_tile = QPixmap();
    m_lightTile = QPixmap();
    if (raster == 0 || raster > kTileSize)
        return;
    const int size = raster * ((kTileSize + raster - 1) / raster);
    auto tile = [&](const QColor &ground, const QColor &dot) {
        QPixmap t(size, size);
        t.fill(ground);
        QPainter p(&t);
        p.setPen(dot);
        for (int y = 0; y < size; y += raster)
            for (int x = 0; x < size; x += raster)
                p.drawPoint(x, y);
        return t;
    };
    m_tile = tile(Qt::black, kRasterDot);
    m_lightTile = tile(Qt::white, kRasterDotOnLight);
}

void RasterDots::paintDots(QPainter &painter, const QRect &clip, const QPixmap &tile, const QColor &dot) const
{
    if (m_raster == 0)
        return;
    if (!tile.isNull()) {
        const int size = tile.width();
        painter.drawTiledPixmap(clip, tile, QPoint(positiveModulo(clip.x(), size), positiveModulo(clip.y(), size)));
        return;
    }
    // A big raster has few dots in any part of the card.
    painter.setPen(dot);
    const std::int64_t r = m_raster;
    auto firstMultiple = [r](std::int64_t v) { return (v >= 0 ? v + r - 1 : v) / r * r; };
    for (std::int64_t y = firstMultiple(clip.top()); y <= clip.bottom(); y += r)
        for (std::int64_t x = firstMultiple(clip.left()); x <= clip.right(); x += r)
            painter.drawPoint(static_cast<int>(x), static_cast<int>(y));
}

void RasterDots::paintOverBlack(QPainter &painter, const QRect &clip) const
{
    if (m_tile.isNull())
        painter.fillRect(clip, Qt::black);
    paintDots(painter, clip, m_tile, kRasterDot);
}

void RasterDots::paintOnLight(QPainter &painter, const QRect &clip) const
{
    const QRect card = clip.intersected(QRect(0, 0, static_cast<int>(kFar), static_cast<int>(kFar)));
    if (card.isEmpty())
        return;
    // White is no change to Darken: the tile leaves all but its dots as
    // they were, and the dots only where they are the darker.
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Darken);
    paintDots(painter, card, m_lightTile, kRasterDotOnLight);
    painter.setCompositionMode(mode);
}

QRect gripBounds(const CardItem &item)
{
    if (item.grips == 0)
        return {};
    const CardRect frame{item.x, item.y, item.width, item.height};
    const CardRect first = gripSquare(frame, Grip::TopLeft);
    const CardRect last = gripSquare(frame, Grip::BottomRight);
    return rectOf(first.x, first.y, std::int64_t{last.x} + last.width - 1, std::int64_t{last.y} + last.height - 1);
}

void paintGrips(QPainter &painter, const std::vector<CardItem> &items, const QRect &clip)
{
    for (const CardItem &item : items) {
        if (item.grips == 0 || !gripBounds(item).intersects(clip))
            continue;
        const QColor marking = colourOf(item.frameColour);
        const CardRect frame{item.x, item.y, item.width, item.height};
        for (int g = 0; g < kGripCount; ++g) {
            if ((item.grips & gripBit(static_cast<Grip>(g))) == 0)
                continue;
            // A light rim keeps the grip apart from the frame it sits on.
            const QRect square = rectOf(gripSquare(frame, static_cast<Grip>(g)));
            painter.fillRect(square, Qt::white);
            painter.fillRect(square.adjusted(1, 1, -1, -1), marking);
        }
    }
}

QRegion bandOutline(const QRect &band)
{
    if (band.isEmpty())
        return {};
    QRegion r;
    r += QRect(band.left(), band.top(), band.width(), 1);
    r += QRect(band.left(), band.bottom(), band.width(), 1);
    r += QRect(band.left(), band.top(), 1, band.height());
    r += QRect(band.right(), band.top(), 1, band.height());
    return r;
}

void paintBand(QPainter &painter, const QRect &band)
{
    if (band.isEmpty())
        return;
    painter.setPen(QPen(kBandColour, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(band.adjusted(0, 0, -1, -1));
}

} // namespace tafelbau

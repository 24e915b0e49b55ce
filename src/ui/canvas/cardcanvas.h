#pragma once

#include "core/canvas/carddrawing.h"
#include "core/canvas/pagetabs.h"
#include "ui/canvas/canvasoverlay.h"

#include <QFont>
#include <QRegion>
#include <QStaticText>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>

class QPainter;

namespace tafelbau {

class ControlPainter;

/// Laid-out captions kept between redraws: shaping text is most of the cost
/// of painting a crowded card, and a redraw mostly shows the same captions.
class CaptionCache
{
public:
    const QStaticText &caption(const std::string &latin1, const QFont &font);

    /// Keeps at least this many captions. A card whose captions do not all
    /// fit would lay every one of them out again at each redraw.
    void keepAtLeast(std::size_t captions) { m_limit = std::max(m_limit, captions); }

private:
    std::unordered_map<std::string, QStaticText> m_texts;
    std::size_t m_limit = 50000;
};

/// Paints card items over what `clip` holds; only what lies in `clip` is
/// touched, so a redraw of a big card costs what is on the screen.
void paintCardItems(QPainter &painter, const std::vector<CardItem> &items, const QRect &clip, const QFont &font,
                    CaptionCache &captions);

/// The card canvas: an image of the panel size, shown in the scroll area.
/// It keeps the items of the card on show and paints the exposed part.
class CardCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit CardCanvas(QWidget *parent = nullptr);
    ~CardCanvas() override;

    void setPanelSize(int width, int height);
    /// Takes the items of a redraw. Only the part of the image that differs
    /// from the last redraw is painted again: the places of items that
    /// changed, appeared or went, unless the order of the others changed.
    void setItems(std::vector<CardItem> items);
    const std::vector<CardItem> &items() const { return m_items; }

    /// What differs between two redraws: nullopt when everything must be
    /// painted again, else the region to paint (possibly empty).
    std::optional<QRegion> damageBetween(const std::vector<CardItem> &before, const std::vector<CardItem> &after) const;

    /// The whole image as a full redraw would make it.
    QImage render() const;

    /// Draws the gadgets as the controls they become instead of frames.
    /// The items then come from controlItems() with controlMetrics().
    void setRealGadgets(bool on);
    bool realGadgets() const { return m_realGadgets; }
    ControlMetrics controlMetrics() const;
    /// The page whose tab of a panel on `card` lies at `p` (card
    /// coordinates), as the real-gadget drawing lays the tabs out; -1 for none.
    int pageTabAt(const GdtList &list, std::int32_t card, CardPoint p) const;
    /// Where the card's 0, 0 lies on the widget: in the real-gadget drawing
    /// a window's frame and title bar need room above and left of it.
    QPoint cardOrigin() const;

    static QFont captionFont();

    /// Dots at every multiple of `raster` on the card, over the dialog of
    /// the real-gadget drawing too, when `shown`.
    void setRaster(int raster, bool shown);
    bool rasterShown() const { return m_rasterShown; }
    /// The rubber band being drawn, in card coordinates; nullopt for none.
    void setBand(const std::optional<QRect> &band);
    const std::optional<QRect> &band() const { return m_band; }

signals:
    // The left button and the mouse, in card coordinates. What they do is
    // decided above the canvas.
    void leftPressed(QPoint at, Qt::KeyboardModifiers modifiers);
    void mouseMovedTo(QPoint at, Qt::KeyboardModifiers modifiers);
    void leftReleased(QPoint at, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QRect boundsOf(const CardItem &item) const;
    ControlPainter &controls() const;
    void paintCard(QPainter &painter, const QRect &widgetRect) const;
    QPoint cardPoint(const QMouseEvent *event) const;

    std::vector<CardItem> m_items;
    QFont m_font;
    mutable CaptionCache m_captions;
    mutable std::unique_ptr<ControlPainter> m_controls; ///< made when first needed
    bool m_realGadgets = false;
    RasterDots m_raster;
    bool m_rasterShown = false;
    std::optional<QRect> m_band;
};

} // namespace tafelbau

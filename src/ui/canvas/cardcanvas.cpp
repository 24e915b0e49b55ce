#include "ui/canvas/cardcanvas.h"

#include "core/canvas/pagetabs.h"
#include "ui/canvas/controlpainter.h"
#include "ui/document/qtconvert.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace tafelbau {

namespace {

// Past this many rectangles one paint of their bounding box is cheaper than
// walking the card's items for each.
constexpr int kSeparatelyPainted = 64;

} // namespace

QFont CardCanvas::captionFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(8);
    return f;
}

const QStaticText &CaptionCache::caption(const std::string &latin1, const QFont &font)
{
    auto it = m_texts.find(latin1);
    if (it != m_texts.end())
        return it->second;
    if (m_texts.size() > m_limit)
        m_texts.clear(); // a bound, not a policy: captions change rarely
    QStaticText text(fromLatin1(latin1));
    text.setTextFormat(Qt::PlainText);
    text.setPerformanceHint(QStaticText::AggressiveCaching);
    text.prepare(QTransform(), font);
    return m_texts.emplace(latin1, std::move(text)).first->second;
}

void paintCardItems(QPainter &painter, const std::vector<CardItem> &items, const QRect &clip, const QFont &font,
                    CaptionCache &captions)
{
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int textHeight = metrics.height();
    const QColor caption = colourOf(kColourCaption);
    for (const CardItem &item : items) {
        // Skip what cannot reach the exposed part: below, above or right of
        // it. The caption may stick out of the frame, so its size counts.
        const qint64 x = item.x;
        const qint64 y = item.y;
        if (x > clip.right() || y > clip.bottom())
            continue;
        const qint64 bottom = y + std::max<qint64>({item.height, textHeight, 0});
        if (bottom < clip.top())
            continue;
        const QStaticText &text = captions.caption(item.text, font);
        qint64 right = x + std::max<qint64>(item.width, 0);
        if (right < clip.left())
            right = x + static_cast<qint64>(text.size().width());
        if (right < clip.left())
            continue;
        if (item.width > 0 && item.height > 0) {
            painter.setPen(colourOf(item.frameColour));
            // A w x h outline covers x .. x+w-1, as a 1-pixel frame of that size.
            painter.drawRect(clampedRect(item.x, item.y, std::int64_t{item.width} - 1, std::int64_t{item.height} - 1));
        }
        painter.setPen(caption);
        painter.drawStaticText(QPoint(item.x, item.y), text);
    }
}

CardCanvas::CardCanvas(QWidget *parent) : QWidget(parent), m_font(captionFont())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true); // the cursor shows what a press would do
}

CardCanvas::~CardCanvas() = default;

ControlPainter &CardCanvas::controls() const
{
    if (!m_controls)
        m_controls = std::make_unique<ControlPainter>(style(), m_font);
    return *m_controls;
}

void CardCanvas::setRealGadgets(bool on)
{
    if (on == m_realGadgets)
        return;
    m_realGadgets = on;
    update();
}

ControlMetrics CardCanvas::controlMetrics() const
{
    return controls().metrics();
}

int CardCanvas::pageTabAt(const GdtList &list, std::int32_t card, CardPoint p) const
{
    ControlPainter &painter = controls();
    return tafelbau::pageTabAt(list, card, p, painter.tabHeight(),
                               [&painter](const std::string &title) { return painter.tabWidth(title); });
}

QPoint CardCanvas::cardOrigin() const
{
    return m_realGadgets ? controls().origin() : QPoint();
}

void CardCanvas::paintCard(QPainter &painter, const QRect &widgetRect) const
{
    const QPoint origin = cardOrigin();
    const QRect clip = widgetRect.translated(-origin);
    if (!m_realGadgets) {
        if (m_rasterShown)
            m_raster.paintOverBlack(painter, clip);
        else
            painter.fillRect(clip, Qt::black);
        paintCardItems(painter, m_items, clip, m_font, m_captions);
    } else {
        painter.translate(origin);
        if (m_rasterShown)
            m_raster.paintOverBlack(painter, clip);
        else
            painter.fillRect(clip, Qt::black);
        controls().paint(painter, m_items, clip, rect().translated(-origin));
        // Over the dialog too: gadgets snap to the raster inside it most of all.
        if (m_rasterShown)
            m_raster.paintOnLight(painter, clip);
    }
    paintGrips(painter, m_items, clip);
    if (m_band)
        paintBand(painter, *m_band);
}

void CardCanvas::setRaster(int raster, bool shown)
{
    const int before = m_raster.raster();
    m_raster.setRaster(raster);
    if (shown == m_rasterShown && before == m_raster.raster())
        return;
    m_rasterShown = shown;
    update();
}

void CardCanvas::setBand(const std::optional<QRect> &band)
{
    if (band == m_band)
        return;
    // Only the outlines change: what lies inside the band is not touched.
    QRegion damage;
    if (m_band)
        damage += bandOutline(*m_band);
    if (band)
        damage += bandOutline(*band);
    m_band = band;
    update(damage.translated(cardOrigin()));
}

void CardCanvas::setPanelSize(int width, int height)
{
    setFixedSize(std::max(width, 1), std::max(height, 1));
}

QRect CardCanvas::boundsOf(const CardItem &item) const
{
    if (m_realGadgets)
        return controls().bounds(item) | gripBounds(item);
    const QSizeF caption = m_captions.caption(item.text, m_font).size();
    QRect bounds = clampedRect(item.x, item.y, static_cast<std::int64_t>(std::ceil(caption.width())) + 1,
                               static_cast<std::int64_t>(std::ceil(caption.height())) + 1);
    if (item.width > 0 && item.height > 0)
        bounds |= clampedRect(item.x, item.y, item.width, item.height);
    return bounds | gripBounds(item);
}

std::optional<QRegion> CardCanvas::damageBetween(const std::vector<CardItem> &before,
                                                 const std::vector<CardItem> &after) const
{
    std::unordered_map<std::int32_t, std::size_t> index;
    index.reserve(before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i].lvid == 0 || !index.emplace(before[i].lvid, i).second)
            return std::nullopt;

    QRegion damage;
    int damaged = 0;
    auto damageItem = [&](const CardItem &item) {
        damage += boundsOf(item);
        return ++damaged <= 200; // past this a full repaint is cheaper than the region
    };
    std::vector<char> kept(before.size(), 0);
    std::vector<std::int32_t> keptAfter;
    for (const CardItem &item : after) {
        const auto it = index.find(item.lvid);
        if (it != index.end() && before[it->second].looksLike(item)) {
            kept[it->second] = 1;
            keptAfter.push_back(item.lvid);
            continue;
        }
        if (!damageItem(item) || (it != index.end() && !damageItem(before[it->second])))
            return std::nullopt;
    }
    // Items that stayed must keep their order, or pixels where they overlap
    // would change without being damaged.
    std::size_t k = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (!kept[i]) {
            if (!damageItem(before[i]))
                return std::nullopt;
        } else if (k >= keptAfter.size() || keptAfter[k++] != before[i].lvid) {
            return std::nullopt;
        }
    }
    return damage;
}

void CardCanvas::setItems(std::vector<CardItem> items)
{
    // Room for the captions before and after the change.
    m_captions.keepAtLeast(2 * items.size());
    const std::optional<QRegion> damage = damageBetween(m_items, items);
    m_items = std::move(items);
    if (!damage)
        update();
    else if (!damage->isEmpty())
        update(damage->translated(cardOrigin()));
}

QImage CardCanvas::render() const
{
    QImage image(size(), QImage::Format_RGB32);
    QPainter painter(&image);
    paintCard(painter, image.rect());
    return image;
}

void CardCanvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // Gadgets dragged together damage small places far apart, whose
    // bounding box may be most of the card: each is painted on its own
    // while there are few.
    const QRegion &region = event->region();
    if (region.rectCount() > 1 && region.rectCount() <= kSeparatelyPainted) {
        for (const QRect &r : region) {
            painter.save();
            painter.setClipRect(r);
            paintCard(painter, r);
            painter.restore();
        }
        return;
    }
    painter.setClipRect(event->rect());
    paintCard(painter, event->rect());
}

void CardCanvas::changeEvent(QEvent *event)
{
    // The control painter holds the style and its colours; a new style
    // deletes the old one.
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::PaletteChange) {
        m_controls.reset();
        update();
    }
    QWidget::changeEvent(event);
}

QPoint CardCanvas::cardPoint(const QMouseEvent *event) const
{
    return event->position().toPoint() - cardOrigin();
}

void CardCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit leftPressed(cardPoint(event), event->modifiers());
}

void CardCanvas::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMovedTo(cardPoint(event), event->modifiers());
}

void CardCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit leftReleased(cardPoint(event), event->modifiers());
}

} // namespace tafelbau

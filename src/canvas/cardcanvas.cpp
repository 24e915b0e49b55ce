#include "canvas/cardcanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace tafelbau {

namespace {

QColor colourOf(std::uint32_t c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

} // namespace

QFont CardCanvas::captionFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(8);
    return f;
}

void paintCardItems(QPainter &painter, const std::vector<CardItem> &items, const QRect &clip, const QFont &font)
{
    painter.fillRect(clip, Qt::black);
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
        const QString text = QString::fromLatin1(item.text.data(), static_cast<qsizetype>(item.text.size()));
        qint64 right = x + std::max<qint64>(item.width, 0);
        if (right < clip.left())
            right = x + metrics.horizontalAdvance(text);
        if (right < clip.left())
            continue;
        if (item.width > 0 && item.height > 0) {
            painter.setPen(colourOf(item.frameColour));
            // A w x h outline covers x .. x+w-1, as a 1-pixel frame of that size.
            painter.drawRect(QRect(item.x, item.y, item.width - 1, item.height - 1));
        }
        painter.setPen(caption);
        painter.drawText(QPoint(item.x, item.y + metrics.ascent()), text);
    }
}

CardCanvas::CardCanvas(QWidget *parent) : QWidget(parent), m_font(captionFont())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CardCanvas::setPanelSize(int width, int height)
{
    setFixedSize(std::max(width, 1), std::max(height, 1));
}

void CardCanvas::setItems(std::vector<CardItem> items)
{
    m_items = std::move(items);
    update();
}

QImage CardCanvas::render() const
{
    QImage image(size(), QImage::Format_RGB32);
    QPainter painter(&image);
    paintCardItems(painter, m_items, image.rect(), m_font);
    return image;
}

void CardCanvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRect(event->rect());
    paintCardItems(painter, m_items, event->rect(), m_font);
}

void CardCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        emit leftClicked(p.x(), p.y());
    }
}

} // namespace tafelbau

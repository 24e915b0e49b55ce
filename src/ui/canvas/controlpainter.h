#pragma once

#include "core/canvas/carddrawing.h"
#include "ui/canvas/cardcanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <QStyle>

#include <unordered_map>

class QPainter;
class QStyleOptionComplex;

namespace tafelbau {

/// Paints card items as the controls their templates create, with the
/// desktop's style, straight into the canvas: no widget per gadget, so a
/// crowded card costs what its visible part costs to draw.
///
/// Works in card coordinates; the caller translates the painter by
/// origin(), which leaves room for a window's frame and title bar above
/// and left of the card's 0, 0.
class ControlPainter
{
public:
    /// `style` must outlive the painter.
    ControlPainter(const QStyle *style, const QFont &font);

    /// The measures that place gadgets inside panels and containers.
    ControlMetrics metrics() const { return m_metrics; }
    QPoint origin() const { return {m_windowFrame, m_windowFrame + m_titleBarHeight}; }

    /// A panel's tab for a page titled `latin1Title`: its width; and the
    /// height of every tab. Tabs lie side by side from the panel's left.
    int tabWidth(const std::string &latin1Title);
    int tabHeight() const { return m_tabHeight; }

    /// Everything painting `item` may touch, in card coordinates.
    QRect bounds(const CardItem &item);

    /// Paints over the black card in `clip` (the caller's, with the raster
    /// on it or not) what of `items` reaches it; marking frames last, on top
    /// of every control. `area` is the whole
    /// card on show: nothing is painted far beyond it, however big a
    /// record claims to be.
    void paint(QPainter &painter, const std::vector<CardItem> &items, const QRect &clip, const QRect &area);

private:
    /// Where a control shows its record's text; no role: it shows none.
    struct TextPlace
    {
        QRect rect;
        Qt::Alignment align;
        QPalette::ColorRole role = QPalette::NoRole;
    };
    /// A control's look without its record's text, for one type and size.
    struct Chrome
    {
        QImage image;
        TextPlace text;
    };
    struct ChromeKey
    {
        ControlType type;
        int width;
        int height;
        bool operator==(const ChromeKey &) const = default;
    };
    struct ChromeKeyHash
    {
        std::size_t operator()(const ChromeKey &k) const;
    };

    void paintItem(QPainter &p, const CardItem &item, const QRect &r);
    const Chrome &chrome(const ControlType &type, const QSize &size);
    /// Paints all of a control but what depends on its record's text.
    TextPlace paintChrome(QPainter &p, const ControlType &type, const QRect &r);
    void paintRecordText(QPainter &p, const CardItem &item, const TextPlace &place);

    void paintFrameOnly(QPainter &p, const CardItem &item, const QRect &r);
    void paintWindow(QPainter &p, const CardItem &item, const QRect &r);
    void paintPage(QPainter &p, const QRect &r);
    void paintPanel(QPainter &p, const CardItem &item, const QRect &r);
    void paintGroupBox(QPainter &p, const CardItem &item, const QRect &r);
    TextPlace paintButton(QPainter &p, const ControlType &type, const QRect &r);
    TextPlace paintIndicator(QPainter &p, const ControlType &type, const QRect &r, bool radio);
    TextPlace paintLineEdit(QPainter &p, const ControlType &type, const QRect &r);
    TextPlace paintCombo(QPainter &p, const ControlType &type, const QRect &r);
    TextPlace paintSpin(QPainter &p, const QRect &r);
    TextPlace paintItemView(QPainter &p, const ControlType &type, const QRect &r);
    void paintScrollArea(QPainter &p, const ControlType &type, const QRect &r);
    void paintCalendar(QPainter &p, const ControlType &type, const QRect &r);
    void paintSunken(QPainter &p, const QRect &r, bool raised = false) const;
    void paintGreyLines(QPainter &p, const QRect &r, int indentStep) const;
    /// A list, tree or editor with the entries its record's code adds, one
    /// per line, instead of the stand-in lines.
    void paintEntries(QPainter &p, const CardItem &item, const QRect &r);
    void paintScrollBar(QPainter &p, const QRect &r, Qt::Orientation orientation) const;

    /// Complex controls are laid out by the style as if they sat at 0, 0
    /// of a widget of their own; these move them to where the item is.
    void drawComplex(QPainter &p, QStyle::ComplexControl control, QStyleOptionComplex &option) const;
    QRect subControlRect(QStyle::ComplexControl control, QStyleOptionComplex &option, QStyle::SubControl sub) const;

    /// A caption aligned in `r`, cut at its edges when it does not fit;
    /// gives where it went.
    QRect caption(QPainter &p, const std::string &latin1, const QRect &r, Qt::Alignment align, const QColor &colour);
    QRect caption(QPainter &p, const QStaticText &text, const QRect &r, Qt::Alignment align, const QColor &colour);
    const QStaticText &prepared(const std::string &latin1);
    const QStaticText &passwordText(std::size_t length);

    const QStyle *m_style;
    QFont m_font;
    QFontMetrics m_fontMetrics;
    QPalette m_palette;
    CaptionCache m_captions;
    std::unordered_map<std::size_t, QStaticText> m_passwords;
    std::unordered_map<ChromeKey, Chrome, ChromeKeyHash> m_chromes;
    std::size_t m_chromeBytes = 0;
    ControlMetrics m_metrics;
    int m_titleBarHeight = 0;
    int m_windowFrame = 0;
    int m_tabHeight = 0;
    int m_tabHSpace = 0;
    int m_lineHeight = 0;
};

} // namespace tafelbau

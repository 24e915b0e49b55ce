#include "ui/canvas/controlpainter.h"

#include "ui/document/qtconvert.h"

#include <QApplication>
#include <QFrame>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>

#include <algorithm>
#include <cmath>

namespace tafelbau {

namespace {

// Coordinates are held within this distance of the card, so that no QRect
// overflows whatever numbers a hand-edited list holds.
constexpr std::int64_t kFar = std::int64_t{1} << 24;

// Longer captions are cut: no control shows more, and laying out megabytes
// of text at every paint would stall the editor.
constexpr std::size_t kLongestCaption = 1024;

QRect cardRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height)
{
    if (width <= 0 || height <= 0)
        return {};
    const std::int64_t left = std::clamp(x, -kFar, kFar);
    const std::int64_t top = std::clamp(y, -kFar, kFar);
    const std::int64_t right = std::clamp(x + width, -kFar, kFar);
    const std::int64_t bottom = std::clamp(y + height, -kFar, kFar);
    if (right <= left || bottom <= top)
        return {};
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
            static_cast<int>(bottom - top)};
}

QRect itemRect(const CardItem &item)
{
    return cardRect(item.x, item.y, item.width, item.height);
}

QRect clipOf(const CardItem &item)
{
    const CardRect &c = item.control.clip;
    return cardRect(c.x, c.y, c.width, c.height);
}

bool keepsFrame(ControlKind kind)
{
    return kind == ControlKind::None || kind == ControlKind::CloseList;
}

bool seeThrough(const ControlType &type)
{
    switch (type.kind) {
    case ControlKind::Text:
    case ControlKind::CheckBox:
    case ControlKind::Option:
    case ControlKind::HyperLink:
    case ControlKind::TrackBar: return true;
    case ControlKind::Frame: return !(type.flags & (look::Border | look::Flat)); // the group box
    default: return false;
    }
}

Qt::Alignment horizontalAlignment(const ControlType &type, Qt::Alignment fallback)
{
    if (type.has(look::AlignRight))
        return Qt::AlignRight;
    if (type.has(look::AlignCenter))
        return Qt::AlignHCenter;
    if (type.has(look::AlignLeft))
        return Qt::AlignLeft;
    return fallback;
}

} // namespace

ControlPainter::ControlPainter(const QStyle *style, const QFont &font)
    : m_style(style), m_font(font), m_fontMetrics(font), m_palette(QApplication::palette())
{
    m_palette.setCurrentColorGroup(QPalette::Active);
    QStyleOptionTitleBar bar;
    bar.fontMetrics = m_fontMetrics;
    bar.titleBarFlags = Qt::Window | Qt::WindowTitleHint;
    // A style may answer anything; the canvas keeps its card in view.
    m_titleBarHeight = std::clamp(m_style->pixelMetric(QStyle::PM_TitleBarHeight, &bar, nullptr), 8, 64);
    m_windowFrame = std::clamp(m_style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, nullptr), 1, 16);

    QStyleOptionTab tab;
    tab.fontMetrics = m_fontMetrics;
    tab.shape = QTabBar::RoundedNorth;
    tab.text = QStringLiteral("Xg");
    m_tabHSpace = std::clamp(m_style->pixelMetric(QStyle::PM_TabBarTabHSpace, &tab, nullptr), 0, 64);
    const int vSpace = m_style->pixelMetric(QStyle::PM_TabBarTabVSpace, &tab, nullptr);
    const QSize content(m_fontMetrics.horizontalAdvance(tab.text) + m_tabHSpace, m_fontMetrics.height() + vSpace);
    m_tabHeight = std::clamp(m_style->sizeFromContents(QStyle::CT_TabBarTab, &tab, content, nullptr).height(), 8, 64);
    const int overlap = std::clamp(m_style->pixelMetric(QStyle::PM_TabBarBaseOverlap, &tab, nullptr), 0, m_tabHeight);

    m_metrics.tabBarHeight = m_tabHeight - overlap;
    m_metrics.frameWidth = std::clamp(m_style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, nullptr), 0, 16);
    m_metrics.scrollBarExtent = std::clamp(m_style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, nullptr), 4, 64);
    m_lineHeight = m_fontMetrics.height() + 2;
}

template<class Option>
static Option styleOption(const QRect &r, const QPalette &palette, const QFontMetrics &metrics,
                          QStyle::State extra = QStyle::State_None)
{
    Option o;
    o.rect = r;
    o.palette = palette;
    o.fontMetrics = metrics;
    o.direction = Qt::LeftToRight;
    o.state = QStyle::State_Enabled | QStyle::State_Active | extra;
    return o;
}

QRect ControlPainter::bounds(const CardItem &item)
{
    QRect r = itemRect(item);
    const ControlType &type = item.control.type;
    if (keepsFrame(type.kind)) {
        const QSizeF size = prepared(item.text).size();
        r |= cardRect(item.x, item.y, static_cast<std::int64_t>(std::ceil(size.width())) + 1,
                      static_cast<std::int64_t>(std::ceil(size.height())) + 1);
    } else if (type.kind == ControlKind::Window && !r.isEmpty() && !type.has(look::Borderless)) {
        r.adjust(-m_windowFrame, -m_windowFrame - m_titleBarHeight, m_windowFrame, m_windowFrame);
    }
    if (item.control.clipped)
        r &= clipOf(item);
    return r;
}

void ControlPainter::paint(QPainter &p, const std::vector<CardItem> &items, const QRect &clip, const QRect &area)
{
    p.setFont(m_font);
    m_captions.keepAtLeast(2 * items.size());
    const QRect limit = area.adjusted(-64, -64 - m_titleBarHeight, 64, 64);
    // Labels, check boxes and the like are see-through in a dialog. The
    // window colour goes under them first: a window, page or panel painted
    // later covers it again, and where nothing does, they still read off
    // the black card.
    for (const CardItem &item : items) {
        const QRect r = itemRect(item) & limit;
        if (!r.intersects(clip) || !seeThrough(item.control.type))
            continue;
        QRect backing = r;
        if (item.control.type.kind == ControlKind::Frame) {
            auto box = styleOption<QStyleOptionGroupBox>(r, m_palette, m_fontMetrics);
            box.text = fromLatin1(std::string_view(item.text).substr(0, kLongestCaption));
            box.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            backing = item.text.empty() ? QRect() : subControlRect(QStyle::CC_GroupBox, box, QStyle::SC_GroupBoxLabel);
        }
        if (item.control.clipped)
            backing &= clipOf(item);
        p.fillRect(backing & r, m_palette.window());
    }
    for (const CardItem &item : items) {
        if (!bounds(item).intersects(clip))
            continue;
        const QRect r = itemRect(item) & limit;
        if (item.control.clipped) {
            p.save();
            p.setClipRect(clipOf(item), Qt::IntersectClip);
            paintItem(p, item, r);
            p.restore();
        } else {
            paintItem(p, item, r);
        }
    }
    // The marking goes over every control, or a selected gadget under
    // another would be lost.
    p.setBrush(Qt::NoBrush);
    for (const CardItem &item : items) {
        if (!item.control.marked)
            continue;
        const QRect r = itemRect(item) & limit;
        if (r.isEmpty() || !r.intersects(clip))
            continue;
        p.setPen(colourOf(item.frameColour));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        if (r.width() > 2 && r.height() > 2)
            p.drawRect(r.adjusted(1, 1, -2, -2));
    }
}

void ControlPainter::paintItem(QPainter &p, const CardItem &item, const QRect &r)
{
    const ControlType &type = item.control.type;
    if (keepsFrame(type.kind)) {
        paintFrameOnly(p, item, r);
        return;
    }
    if (r.isEmpty())
        return;
    if (!item.control.items.empty()) {
        switch (type.kind) {
        case ControlKind::ListView:
        case ControlKind::ListIcon:
        case ControlKind::Tree:
        case ControlKind::Editor: paintEntries(p, item, r); return;
        default: break;
        }
    }
    switch (type.kind) {
    // These show the record's text or its pages through the style itself.
    case ControlKind::Window: paintWindow(p, item, r); return;
    case ControlKind::Page: paintPage(p, r); return;
    case ControlKind::Panel: paintPanel(p, item, r); return;
    case ControlKind::Frame:
        if (!(type.flags & (look::Border | look::Flat))) {
            paintGroupBox(p, item, r);
            return;
        }
        break;
    default: break;
    }
    TextPlace place;
    // Small controls come from pictures made once per type and size:
    // styles draw gradients and curves at every call, and a crowded card
    // repeats a few sizes thousands of times. Big ones are few.
    constexpr int kLargestCached = 512 * 256;
    if (r.width() * r.height() <= kLargestCached) {
        const Chrome &c = chrome(type, r.size());
        p.drawImage(r.topLeft(), c.image);
        place = c.text;
    } else {
        p.translate(r.topLeft());
        place = paintChrome(p, type, QRect(QPoint(0, 0), r.size()));
        p.translate(-r.topLeft());
    }
    if (place.role != QPalette::NoRole) {
        place.rect.translate(r.topLeft());
        paintRecordText(p, item, place);
    }
}

std::size_t ControlPainter::ChromeKeyHash::operator()(const ChromeKey &k) const
{
    std::size_t h = static_cast<std::size_t>(k.type.kind);
    h = h * 1000003u ^ k.type.flags;
    h = h * 1000003u ^ static_cast<std::size_t>(k.width);
    return h * 1000003u ^ static_cast<std::size_t>(k.height);
}

const ControlPainter::Chrome &ControlPainter::chrome(const ControlType &type, const QSize &size)
{
    const ChromeKey key{type, size.width(), size.height()};
    const auto it = m_chromes.find(key);
    if (it != m_chromes.end())
        return it->second;
    constexpr std::size_t kChromeBudget = 64u << 20;
    if (m_chromeBytes > kChromeBudget) {
        m_chromes.clear(); // a bound, not a policy: a card repeats few sizes
        m_chromeBytes = 0;
    }
    Chrome c;
    c.image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    c.image.fill(Qt::transparent);
    QPainter painter(&c.image);
    painter.setFont(m_font);
    c.text = paintChrome(painter, type, c.image.rect());
    painter.end();
    m_chromeBytes += static_cast<std::size_t>(c.image.sizeInBytes());
    return m_chromes.emplace(key, std::move(c)).first->second;
}

ControlPainter::TextPlace ControlPainter::paintChrome(QPainter &p, const ControlType &type, const QRect &r)
{
    const auto window = m_palette.window();
    switch (type.kind) {
    case ControlKind::Button:
    case ControlKind::ButtonImage: return paintButton(p, type, r);
    case ControlKind::CheckBox: return paintIndicator(p, type, r, false);
    case ControlKind::Option: return paintIndicator(p, type, r, true);
    case ControlKind::String:
    case ControlKind::Shortcut: return paintLineEdit(p, type, r);
    case ControlKind::IPAddress: {
        const TextPlace place = paintLineEdit(p, type, r);
        caption(p, "0 . 0 . 0 . 0", place.rect, place.align, m_palette.color(place.role));
        return {};
    }
    case ControlKind::ComboBox:
    case ControlKind::ExplorerCombo: return paintCombo(p, type, r);
    case ControlKind::Date: {
        const TextPlace place = type.has(look::UpDown) ? paintSpin(p, r) : paintCombo(p, type, r);
        caption(p, "01.01.2025", place.rect, place.align, m_palette.color(place.role));
        return {};
    }
    case ControlKind::Spin: return paintSpin(p, r);
    case ControlKind::Text:
        if (type.has(look::Border)) {
            paintSunken(p, r);
            return {r.adjusted(2, 2, -2, -2), horizontalAlignment(type, Qt::AlignLeft) | Qt::AlignTop,
                    QPalette::WindowText};
        }
        return {r, horizontalAlignment(type, Qt::AlignLeft) | Qt::AlignTop, QPalette::WindowText};
    case ControlKind::HyperLink: return {r, Qt::AlignLeft | Qt::AlignTop, QPalette::Link};
    case ControlKind::Frame:
        if (type.has(look::Border)) {
            paintSunken(p, r);
        } else {
            p.setPen(m_palette.color(QPalette::Mid));
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
        return {};
    case ControlKind::Container:
        p.fillRect(r, window);
        if (type.has(look::Flat)) {
            p.setPen(m_palette.color(QPalette::Mid));
            p.drawRect(r.adjusted(0, 0, -1, -1));
        } else if (type.flags & (look::Border | look::Raised)) {
            paintSunken(p, r, type.has(look::Raised));
        }
        return {};
    case ControlKind::ScrollArea: paintScrollArea(p, type, r); return {};
    case ControlKind::ListView:
    case ControlKind::ListIcon:
    case ControlKind::Tree:
    case ControlKind::Editor:
    case ControlKind::ExplorerList:
    case ControlKind::ExplorerTree: return paintItemView(p, type, r);
    case ControlKind::Splitter: {
        // Only the bar: the two gadgets it splits are drawn by themselves.
        const int w = std::clamp(m_style->pixelMetric(QStyle::PM_SplitterWidth, nullptr, nullptr), 2, 16);
        const bool sideBySide = type.has(look::Vertical);
        const QRect bar = sideBySide ? QRect(r.center().x() - w / 2, r.y(), w, r.height())
                                     : QRect(r.x(), r.center().y() - w / 2, r.width(), w);
        p.fillRect(bar, window);
        auto o = styleOption<QStyleOption>(bar, m_palette, m_fontMetrics,
                                           sideBySide ? QStyle::State_Horizontal : QStyle::State_None);
        m_style->drawControl(QStyle::CE_Splitter, &o, &p, nullptr);
        return {};
    }
    case ControlKind::ProgressBar: {
        const bool vertical = type.has(look::Vertical);
        auto bar = styleOption<QStyleOptionProgressBar>(r, m_palette, m_fontMetrics,
                                                        vertical ? QStyle::State_None : QStyle::State_Horizontal);
        bar.minimum = 0;
        bar.maximum = 100;
        bar.progress = 40; // an empty bar would not tell what it is
        bar.textVisible = false;
        bar.bottomToTop = vertical;
        m_style->drawControl(QStyle::CE_ProgressBar, &bar, &p, nullptr);
        return {};
    }
    case ControlKind::TrackBar: {
        const bool vertical = type.has(look::Vertical);
        auto s = styleOption<QStyleOptionSlider>(r, m_palette, m_fontMetrics,
                                                 vertical ? QStyle::State_None : QStyle::State_Horizontal);
        s.orientation = vertical ? Qt::Vertical : Qt::Horizontal;
        s.minimum = 0;
        s.maximum = 100;
        s.sliderPosition = s.sliderValue = 30;
        s.singleStep = 1;
        s.pageStep = 10;
        s.upsideDown = vertical;
        s.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
        if (type.has(look::Ticks)) {
            s.subControls |= QStyle::SC_SliderTickmarks;
            s.tickPosition = vertical ? QSlider::TicksRight : QSlider::TicksBelow;
            s.tickInterval = 10;
        }
        drawComplex(p, QStyle::CC_Slider, s);
        return {};
    }
    case ControlKind::ScrollBar:
        paintScrollBar(p, r, type.has(look::Vertical) ? Qt::Vertical : Qt::Horizontal);
        return {};
    case ControlKind::Image:
        if (type.flags & (look::Border | look::Raised)) {
            p.fillRect(r, window);
            paintSunken(p, r, type.has(look::Raised));
        } else {
            // An image gadget without an image shows nothing; the dashes
            // tell where it is.
            p.setPen(QPen(m_palette.color(QPalette::Mid), 1, Qt::DashLine));
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
        caption(p, "Bild", r, Qt::AlignCenter, m_palette.color(QPalette::Mid));
        return {};
    case ControlKind::Canvas:
        p.fillRect(r, m_palette.base());
        if (type.has(look::Border))
            paintSunken(p, r);
        return {};
    case ControlKind::Calendar: paintCalendar(p, type, r); return {};
    case ControlKind::Web:
        p.fillRect(r, m_palette.base());
        paintSunken(p, r);
        caption(p, "Web", r, Qt::AlignCenter, m_palette.color(QPalette::Mid));
        return {};
    case ControlKind::OpenGL:
        p.fillRect(r, QColor(24, 24, 24));
        caption(p, "OpenGL", r, Qt::AlignCenter, QColor(128, 128, 128));
        return {};
    case ControlKind::MDI:
        p.fillRect(r, m_palette.dark());
        if (!type.has(look::Borderless))
            paintSunken(p, r);
        return {};
    default: return {};
    }
}

void ControlPainter::paintRecordText(QPainter &p, const CardItem &item, const TextPlace &place)
{
    const ControlType &type = item.control.type;
    const QColor colour = m_palette.color(place.role);
    // Where a real control would not be empty, a stand-in.
    const char *standIn = nullptr;
    switch (type.kind) {
    case ControlKind::String:
        if (type.has(look::Password)) {
            caption(p, passwordText(item.text.size()), place.rect, place.align, colour);
            return;
        }
        break;
    case ControlKind::ComboBox:
        // A combo box shows its first entry, as the dialog does once one is chosen.
        if (!item.control.items.empty()) {
            caption(p, item.control.items.front(), place.rect, place.align, colour);
            return;
        }
        break;
    case ControlKind::Shortcut: standIn = "Keine"; break;
    case ControlKind::ExplorerCombo: standIn = "/"; break;
    case ControlKind::Spin: standIn = "0"; break;
    case ControlKind::HyperLink: {
        const QRect at = caption(p, item.text, place.rect, place.align, colour);
        if (type.has(look::Underline) && !item.text.empty()) {
            const int y = at.y() + m_fontMetrics.ascent() + 1;
            p.setPen(colour);
            p.drawLine(at.left(), y, std::min(at.right(), place.rect.right()), y);
        }
        return;
    }
    default: break;
    }
    if (item.text.empty() && standIn)
        caption(p, standIn, place.rect, place.align, colour);
    else
        caption(p, item.text, place.rect, place.align, colour);
}

void ControlPainter::paintFrameOnly(QPainter &p, const CardItem &item, const QRect &r)
{
    if (!r.isEmpty()) {
        p.setPen(colourOf(item.frameColour));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    p.setPen(colourOf(kColourCaption));
    p.drawStaticText(QPoint(item.x, item.y), prepared(item.text));
}

void ControlPainter::paintWindow(QPainter &p, const CardItem &item, const QRect &r)
{
    const ControlType &type = item.control.type;
    if (!type.has(look::Borderless)) {
        const QRect outer = r.adjusted(-m_windowFrame, -m_windowFrame - m_titleBarHeight, m_windowFrame, m_windowFrame);
        p.fillRect(outer, m_palette.window());
        auto frame = styleOption<QStyleOptionFrame>(outer, m_palette, m_fontMetrics);
        frame.lineWidth = m_windowFrame;
        m_style->drawPrimitive(QStyle::PE_FrameWindow, &frame, &p, nullptr);

        auto bar = styleOption<QStyleOptionTitleBar>(
            QRect(r.x(), r.y() - m_titleBarHeight, r.width(), m_titleBarHeight), m_palette, m_fontMetrics);
        bar.text = fromLatin1(std::string_view(item.text).substr(0, kLongestCaption));
        bar.titleBarState = Qt::WindowActive;
        bar.titleBarFlags = Qt::Window | Qt::WindowTitleHint;
        bar.subControls = QStyle::SC_TitleBarLabel;
        if (type.has(look::SystemMenu)) {
            bar.titleBarFlags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            bar.subControls |= QStyle::SC_TitleBarCloseButton;
        }
        if (type.has(look::MinimizeGadget)) {
            bar.titleBarFlags |= Qt::WindowMinimizeButtonHint;
            bar.subControls |= QStyle::SC_TitleBarMinButton;
        }
        if (type.has(look::MaximizeGadget)) {
            bar.titleBarFlags |= Qt::WindowMaximizeButtonHint;
            bar.subControls |= QStyle::SC_TitleBarMaxButton;
        }
        drawComplex(p, QStyle::CC_TitleBar, bar);
    }
    p.fillRect(r, m_palette.window());
}

void ControlPainter::paintPage(QPainter &p, const QRect &r)
{
    p.fillRect(r, m_palette.window());
    auto pane = styleOption<QStyleOptionTabWidgetFrame>(r, m_palette, m_fontMetrics);
    pane.lineWidth = m_metrics.frameWidth;
    pane.shape = QTabBar::RoundedNorth;
    m_style->drawPrimitive(QStyle::PE_FrameTabWidget, &pane, &p, nullptr);
}

int ControlPainter::tabWidth(const std::string &latin1Title)
{
    const int width = static_cast<int>(std::ceil(prepared(latin1Title).size().width())) + m_tabHSpace;
    return std::max(width, m_tabHSpace);
}

void ControlPainter::paintPanel(QPainter &p, const CardItem &item, const QRect &r)
{
    p.fillRect(r, m_palette.window());
    const QRect pane(r.x(), r.y() + m_metrics.tabBarHeight, r.width(), r.height() - m_metrics.tabBarHeight);
    paintPage(p, pane);

    // The tabs that fit, the first one chosen as when the dialog opens.
    const auto &titles = item.control.tabs;
    std::vector<QRect> tabs;
    for (int x = r.x(); tabs.size() < titles.size() && x < r.right();) {
        tabs.emplace_back(x, r.y(), tabWidth(titles[tabs.size()]), m_tabHeight);
        x += tabs.back().width();
    }
    p.save();
    // A tab bar widget would cut the chosen tab, which the style draws
    // taller to cover the frame's edge, at its own bottom.
    p.setClipRect(QRect(r.x(), r.y(), r.width(), std::min(m_tabHeight, r.height())), Qt::IntersectClip);
    // Back to front: the chosen tab overlaps its neighbour.
    for (std::size_t k = tabs.size(); k-- > 0;) {
        auto tab = styleOption<QStyleOptionTab>(tabs[k], m_palette, m_fontMetrics,
                                                k == 0 ? QStyle::State_Selected : QStyle::State_None);
        tab.shape = QTabBar::RoundedNorth;
        tab.features = QStyleOptionTab::HasFrame; // the tabs of a panel, not of a bare tab bar
        tab.text = fromLatin1(std::string_view(titles[k]).substr(0, kLongestCaption));
        tab.tabIndex = static_cast<int>(k);
        tab.position = tabs.size() == 1 ? QStyleOptionTab::OnlyOneTab
            : k == 0                    ? QStyleOptionTab::Beginning
            : k + 1 == tabs.size()      ? QStyleOptionTab::End
                                        : QStyleOptionTab::Middle;
        tab.selectedPosition = k == 1 ? QStyleOptionTab::PreviousIsSelected : QStyleOptionTab::NotAdjacent;
        m_style->drawControl(QStyle::CE_TabBarTab, &tab, &p, nullptr);
    }
    p.restore();
}

void ControlPainter::paintGroupBox(QPainter &p, const CardItem &item, const QRect &r)
{
    auto box = styleOption<QStyleOptionGroupBox>(r, m_palette, m_fontMetrics);
    box.text = fromLatin1(std::string_view(item.text).substr(0, kLongestCaption));
    box.textAlignment = Qt::AlignLeft;
    box.textColor = m_palette.color(QPalette::WindowText);
    box.lineWidth = 1;
    box.subControls = QStyle::SC_GroupBoxFrame;
    if (!item.text.empty())
        box.subControls |= QStyle::SC_GroupBoxLabel;
    drawComplex(p, QStyle::CC_GroupBox, box);
}

ControlPainter::TextPlace ControlPainter::paintButton(QPainter &p, const ControlType &type, const QRect &r)
{
    auto button = styleOption<QStyleOptionButton>(r, m_palette, m_fontMetrics, QStyle::State_Raised);
    if (type.has(look::Default))
        button.features |= QStyleOptionButton::DefaultButton;
    m_style->drawControl(QStyle::CE_PushButtonBevel, &button, &p, nullptr);
    const QRect content = m_style->subElementRect(QStyle::SE_PushButtonContents, &button, nullptr);
    if (type.kind == ControlKind::ButtonImage) {
        caption(p, "Bild", content, Qt::AlignCenter, m_palette.color(QPalette::Mid));
        return {};
    }
    return {content, horizontalAlignment(type, Qt::AlignHCenter) | Qt::AlignVCenter, QPalette::ButtonText};
}

ControlPainter::TextPlace ControlPainter::paintIndicator(QPainter &p, const ControlType &type, const QRect &r,
                                                         bool radio)
{
    auto box = styleOption<QStyleOptionButton>(r, m_palette, m_fontMetrics, QStyle::State_Off);
    const QRect indicator =
        m_style->subElementRect(radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &box, nullptr);
    const QRect content =
        m_style->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &box, nullptr);
    box.rect = indicator;
    m_style->drawPrimitive(radio ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, &box, &p, nullptr);
    return {content, horizontalAlignment(type, Qt::AlignLeft) | Qt::AlignVCenter, QPalette::WindowText};
}

ControlPainter::TextPlace ControlPainter::paintLineEdit(QPainter &p, const ControlType &type, const QRect &r)
{
    QPalette palette = m_palette;
    if (type.has(look::ReadOnly))
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    auto frame = styleOption<QStyleOptionFrame>(r, palette, m_fontMetrics, QStyle::State_Sunken);
    frame.lineWidth = type.has(look::Borderless) ? 0 : m_metrics.frameWidth;
    if (frame.lineWidth == 0)
        p.fillRect(r, palette.base());
    else
        m_style->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &p, nullptr);
    const int w = frame.lineWidth;
    return {r.adjusted(w + 2, w, -w - 2, -w), horizontalAlignment(type, Qt::AlignLeft) | Qt::AlignVCenter,
            QPalette::Text};
}

ControlPainter::TextPlace ControlPainter::paintCombo(QPainter &p, const ControlType &type, const QRect &r)
{
    auto combo = styleOption<QStyleOptionComboBox>(r, m_palette, m_fontMetrics);
    combo.editable = type.has(look::Editable);
    combo.frame = true;
    combo.subControls = QStyle::SC_All;
    drawComplex(p, QStyle::CC_ComboBox, combo);
    const QRect field = subControlRect(QStyle::CC_ComboBox, combo, QStyle::SC_ComboBoxEditField);
    if (combo.editable)
        p.fillRect(field, m_palette.base());
    return {field.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
            combo.editable ? QPalette::Text : QPalette::ButtonText};
}

ControlPainter::TextPlace ControlPainter::paintSpin(QPainter &p, const QRect &r)
{
    auto spin = styleOption<QStyleOptionSpinBox>(r, m_palette, m_fontMetrics);
    spin.frame = true;
    spin.buttonSymbols = QAbstractSpinBox::UpDownArrows;
    spin.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    spin.subControls =
        QStyle::SC_SpinBoxFrame | QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxEditField;
    drawComplex(p, QStyle::CC_SpinBox, spin);
    const QRect field = subControlRect(QStyle::CC_SpinBox, spin, QStyle::SC_SpinBoxEditField);
    return {field.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, QPalette::Text};
}

ControlPainter::TextPlace ControlPainter::paintItemView(QPainter &p, const ControlType &type, const QRect &r)
{
    p.fillRect(r, type.has(look::ReadOnly) ? m_palette.window() : m_palette.base());
    QRect inner = r;
    if (!type.has(look::Borderless)) {
        paintSunken(p, r);
        inner = r.adjusted(m_metrics.frameWidth, m_metrics.frameWidth, -m_metrics.frameWidth, -m_metrics.frameWidth);
    }
    if (inner.isEmpty())
        return {};
    switch (type.kind) {
    case ControlKind::Editor: return {inner.adjusted(3, 2, -3, -2), Qt::AlignLeft | Qt::AlignTop, QPalette::Text};
    case ControlKind::ListIcon:
    case ControlKind::ExplorerList: {
        const int height = std::min(m_lineHeight + 4, inner.height());
        const int first = inner.width() * 3 / 5;
        for (int section = 0; section < 2; ++section) {
            const QRect at = section == 0 ? QRect(inner.x(), inner.y(), first, height)
                                          : QRect(inner.x() + first, inner.y(), inner.width() - first, height);
            auto header = styleOption<QStyleOptionHeader>(at, m_palette, m_fontMetrics, QStyle::State_Raised);
            header.orientation = Qt::Horizontal;
            header.section = section;
            header.position = section == 0 ? QStyleOptionHeader::Beginning : QStyleOptionHeader::End;
            m_style->drawControl(QStyle::CE_HeaderSection, &header, &p, nullptr);
        }
        paintGreyLines(p, inner.adjusted(0, height, 0, 0), 0);
        return {};
    }
    case ControlKind::Tree:
    case ControlKind::ExplorerTree: paintGreyLines(p, inner, 14); return {};
    default: paintGreyLines(p, inner, 0); return {};
    }
}

void ControlPainter::paintEntries(QPainter &p, const CardItem &item, const QRect &r)
{
    const ControlType &type = item.control.type;
    p.fillRect(r, type.has(look::ReadOnly) ? m_palette.window() : m_palette.base());
    QRect inner = r;
    if (!type.has(look::Borderless)) {
        paintSunken(p, r);
        inner = r.adjusted(m_metrics.frameWidth, m_metrics.frameWidth, -m_metrics.frameWidth, -m_metrics.frameWidth);
    }
    p.save();
    p.setClipRect(inner, Qt::IntersectClip);
    const QColor colour = m_palette.color(QPalette::Text);
    int y = inner.y() + 2;
    for (const std::string &entry : item.control.items) {
        if (y >= inner.bottom())
            break;
        caption(p, entry, QRect(inner.x() + 4, y, inner.width() - 8, m_lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                colour);
        y += m_lineHeight;
    }
    p.restore();
}

void ControlPainter::paintScrollArea(QPainter &p, const ControlType &type, const QRect &r)
{
    p.fillRect(r, m_palette.window());
    QRect inner = r;
    if (type.has(look::Flat)) {
        p.setPen(m_palette.color(QPalette::Mid));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        inner = r.adjusted(1, 1, -1, -1);
    } else if (!type.has(look::Borderless)) {
        paintSunken(p, r, type.has(look::Raised));
        inner = r.adjusted(m_metrics.frameWidth, m_metrics.frameWidth, -m_metrics.frameWidth, -m_metrics.frameWidth);
    }
    const int e = m_metrics.scrollBarExtent;
    if (inner.width() <= e || inner.height() <= e)
        return;
    paintScrollBar(p, QRect(inner.right() + 1 - e, inner.y(), e, inner.height() - e), Qt::Vertical);
    paintScrollBar(p, QRect(inner.x(), inner.bottom() + 1 - e, inner.width() - e, e), Qt::Horizontal);
}

void ControlPainter::paintCalendar(QPainter &p, const ControlType &type, const QRect &r)
{
    p.fillRect(r, m_palette.base());
    QRect inner = r;
    if (!type.has(look::Borderless)) {
        paintSunken(p, r);
        inner = r.adjusted(m_metrics.frameWidth, m_metrics.frameWidth, -m_metrics.frameWidth, -m_metrics.frameWidth);
    }
    const int head = std::min(m_lineHeight + 6, inner.height());
    const QRect title(inner.x(), inner.y(), inner.width(), head);
    p.fillRect(title, m_palette.button());
    caption(p, "Januar 2025", title, Qt::AlignCenter, m_palette.color(QPalette::ButtonText));
    // A month laid out as the control would show it: seven columns, the
    // first of January 2025 a Wednesday.
    const QRect days = inner.adjusted(0, head, 0, 0);
    const int cellW = days.width() / 7;
    const int cellH = days.height() / 7;
    if (cellW < 4 || cellH < 4)
        return;
    static const char *const weekdays[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    for (int c = 0; c < 7; ++c)
        caption(p, weekdays[c], QRect(days.x() + c * cellW, days.y(), cellW, cellH), Qt::AlignCenter,
                m_palette.color(QPalette::Text));
    const QColor grey = m_palette.color(QPalette::Mid);
    for (int day = 1; day <= 31; ++day) {
        const int slot = day + 1; // Wednesday is the third column
        const QRect cell(days.x() + (slot % 7) * cellW, days.y() + (1 + slot / 7) * cellH, cellW, cellH);
        caption(p, std::to_string(day), cell, Qt::AlignCenter, grey);
    }
}

void ControlPainter::paintSunken(QPainter &p, const QRect &r, bool raised) const
{
    auto frame = styleOption<QStyleOptionFrame>(r, m_palette, m_fontMetrics,
                                                raised ? QStyle::State_Raised : QStyle::State_Sunken);
    frame.lineWidth = m_metrics.frameWidth;
    frame.frameShape = QFrame::StyledPanel;
    m_style->drawPrimitive(QStyle::PE_Frame, &frame, &p, nullptr);
}

void ControlPainter::paintGreyLines(QPainter &p, const QRect &r, int indentStep) const
{
    // Stand-ins for entries: an empty list would look like a text field.
    static constexpr int lengths[] = {60, 45, 70, 35, 55};
    static constexpr int indents[] = {0, 1, 1, 0, 1};
    const int bar = std::max(2, m_fontMetrics.height() / 3);
    const QColor grey = m_palette.color(QPalette::Midlight).darker(115);
    for (int i = 0; i < 5; ++i) {
        const int y = r.y() + 3 + i * m_lineHeight + (m_lineHeight - bar) / 2;
        if (y + bar > r.bottom())
            break;
        const int indent = indents[i] * indentStep;
        const int width = (r.width() - 8 - indent) * lengths[i] / 100;
        if (width > 0)
            p.fillRect(QRect(r.x() + 4 + indent, y, width, bar), grey);
    }
}

void ControlPainter::paintScrollBar(QPainter &p, const QRect &r, Qt::Orientation orientation) const
{
    auto bar = styleOption<QStyleOptionSlider>(
        r, m_palette, m_fontMetrics, orientation == Qt::Horizontal ? QStyle::State_Horizontal : QStyle::State_None);
    bar.orientation = orientation;
    bar.minimum = 0;
    bar.maximum = 100;
    bar.pageStep = 50;
    bar.singleStep = 10;
    bar.subControls = QStyle::SC_All;
    drawComplex(p, QStyle::CC_ScrollBar, bar);
}

void ControlPainter::drawComplex(QPainter &p, QStyle::ComplexControl control, QStyleOptionComplex &option) const
{
    const QPoint at = option.rect.topLeft();
    option.rect.moveTopLeft(QPoint(0, 0));
    p.translate(at);
    m_style->drawComplexControl(control, &option, &p, nullptr);
    p.translate(-at);
    option.rect.moveTopLeft(at);
}

QRect ControlPainter::subControlRect(QStyle::ComplexControl control, QStyleOptionComplex &option,
                                     QStyle::SubControl sub) const
{
    const QPoint at = option.rect.topLeft();
    option.rect.moveTopLeft(QPoint(0, 0));
    const QRect r = m_style->subControlRect(control, &option, sub, nullptr).translated(at);
    option.rect.moveTopLeft(at);
    return r;
}

QRect ControlPainter::caption(QPainter &p, const std::string &latin1, const QRect &r, Qt::Alignment align,
                              const QColor &colour)
{
    if (latin1.empty())
        return QRect(r.topLeft(), QSize(0, 0));
    return caption(p, prepared(latin1), r, align, colour);
}

const QStaticText &ControlPainter::prepared(const std::string &latin1)
{
    return latin1.size() > kLongestCaption ? m_captions.caption(latin1.substr(0, kLongestCaption), m_font)
                                           : m_captions.caption(latin1, m_font);
}

QRect ControlPainter::caption(QPainter &p, const QStaticText &text, const QRect &r, Qt::Alignment align,
                              const QColor &colour)
{
    const int w = static_cast<int>(std::ceil(text.size().width()));
    const int h = static_cast<int>(std::ceil(text.size().height()));
    const int x = (align & Qt::AlignRight) ? r.right() + 1 - w
        : (align & Qt::AlignHCenter)       ? r.x() + (r.width() - w) / 2
                                           : r.x();
    const int y = (align & Qt::AlignVCenter) ? r.y() + (r.height() - h) / 2 : r.y();
    p.setPen(colour);
    const QRect at(x, y, w, h);
    if (r.contains(at)) {
        p.drawStaticText(at.topLeft(), text);
    } else {
        p.save();
        p.setClipRect(r, Qt::IntersectClip);
        p.drawStaticText(at.topLeft(), text);
        p.restore();
    }
    return at;
}

const QStaticText &ControlPainter::passwordText(std::size_t length)
{
    length = std::min<std::size_t>(length, 256);
    auto it = m_passwords.find(length);
    if (it == m_passwords.end()) {
        const QChar bullet(m_style->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, nullptr));
        QStaticText text(QString(static_cast<qsizetype>(length), bullet));
        text.setTextFormat(Qt::PlainText);
        text.prepare(QTransform(), m_font);
        it = m_passwords.emplace(length, std::move(text)).first;
    }
    return it->second;
}

} // namespace tafelbau

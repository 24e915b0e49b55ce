#include "ui/app/previewwindow.h"

#include "ui/canvas/controlpainter.h"
#include "ui/document/qtconvert.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>

#include <algorithm>

namespace tafelbau {

namespace {

// Places beyond these are off any screen; a hand-edited list may hold any
// number, and a widget that size would cost memory for nothing.
constexpr int kFar = 1 << 14;

QRect placeOf(const CardRect &r)
{
    return {std::clamp(r.x, -kFar, kFar), std::clamp(r.y, -kFar, kFar), std::clamp(r.width, 0, kFar),
            std::clamp(r.height, 0, kFar)};
}

Qt::Alignment horizontal(const ControlType &type, Qt::Alignment fallback)
{
    if (type.has(look::AlignRight))
        return Qt::AlignRight;
    if (type.has(look::AlignCenter))
        return Qt::AlignHCenter;
    return fallback;
}

/// A gadget that no widget stands for, painted as the real-gadget drawing
/// paints it.
class PaintedGadget : public QWidget
{
public:
    PaintedGadget(CardItem item, ControlPainter &painter, QWidget *parent)
        : QWidget(parent), m_item(std::move(item)), m_painter(painter)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::black); // the card under it, as on the canvas
        m_painter.paint(p, {m_item}, rect(), rect());
    }

private:
    CardItem m_item;
    ControlPainter &m_painter;
};

QFrame::Shadow shadowOf(const ControlType &type)
{
    return type.has(look::Raised) ? QFrame::Raised : QFrame::Sunken;
}

/// A frame around gadgets or an empty area, with the border its flags ask for.
QFrame *borderedFrame(const ControlType &type, QWidget *parent)
{
    auto *f = new QFrame(parent);
    if (type.has(look::Flat))
        f->setFrameStyle(QFrame::Box | QFrame::Plain);
    else if (type.flags & (look::Border | look::Raised))
        f->setFrameStyle(QFrame::StyledPanel | shadowOf(type));
    return f;
}

} // namespace

PreviewWindow::PreviewWindow(const PreviewPlan &plan, QWidget *parent) : QDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(fromLatin1(plan.caption));
    // The close box always: it is one of the two ways out.
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (plan.windowType.has(look::MinimizeGadget))
        flags |= Qt::WindowMinimizeButtonHint;
    if (plan.windowType.has(look::MaximizeGadget))
        flags |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(flags);
    setFixedSize(std::clamp(plan.width, 1, kFar), std::clamp(plan.height, 1, kFar));

    // The widgets are made in list order, a gadget after the one it goes
    // in: the order the Tab key goes through them.
    m_widgets.reserve(plan.gadgets.size());
    m_inner.reserve(plan.gadgets.size());
    QButtonGroup *options = nullptr; // the option group being filled
    int lastParent = -2;
    for (const PreviewGadget &g : plan.gadgets) {
        QWidget *into = g.parent < 0 ? this : innerOf(g.parent);
        QWidget *w = nullptr;
        if (g.type.kind == ControlKind::Page) {
            if (auto *tabs = qobject_cast<QTabWidget *>(m_widgets.at(static_cast<std::size_t>(g.parent)))) {
                w = new QWidget;
                tabs->addTab(w, fromLatin1(g.text));
            }
        } else if (into) {
            w = makeWidget(g, into);
            w->setGeometry(placeOf(g.rect));
        }
        // Consecutive options in one gadget list are one group, as the
        // code makes them: any other gadget between starts the next.
        if (auto *option = qobject_cast<QRadioButton *>(w)) {
            if (!options || lastParent != g.parent) {
                options = new QButtonGroup(this);
                options->setExclusive(true);
            }
            options->addButton(option);
        } else {
            options = nullptr;
        }
        lastParent = g.parent;
        if (w)
            w->setObjectName(fromLatin1(g.varId));
        m_widgets.push_back(w);
        m_inner.push_back(w);
        if (auto *area = qobject_cast<QScrollArea *>(w))
            m_inner.back() = area->widget();
        else if (w && w->property("tafelbauInner").isValid())
            m_inner.back() = w->property("tafelbauInner").value<QWidget *>();
    }
}

PreviewWindow::~PreviewWindow() = default;

QWidget *PreviewWindow::innerOf(int index) const
{
    return index >= 0 && static_cast<std::size_t>(index) < m_inner.size() ? m_inner[static_cast<std::size_t>(index)]
                                                                           : nullptr;
}

QWidget *PreviewWindow::makeWidget(const PreviewGadget &g, QWidget *parent)
{
    const ControlType &type = g.type;
    const QString text = fromLatin1(g.text);
    const auto &n = g.numbers;
    const Qt::Orientation orientation = type.has(look::Vertical) ? Qt::Vertical : Qt::Horizontal;
    switch (type.kind) {
    case ControlKind::Button:
    case ControlKind::ButtonImage: {
        auto *b = new QPushButton(type.kind == ControlKind::Button ? text : QString(), parent);
        b->setCheckable(type.has(look::Toggle));
        b->setAutoDefault(false);
        b->setDefault(type.has(look::Default));
        return b;
    }
    case ControlKind::CheckBox: return new QCheckBox(text, parent);
    case ControlKind::Option: return new QRadioButton(text, parent);
    case ControlKind::String: {
        auto *e = new QLineEdit(text, parent);
        if (type.has(look::Password))
            e->setEchoMode(QLineEdit::Password);
        e->setReadOnly(type.has(look::ReadOnly));
        e->setFrame(!type.has(look::Borderless));
        e->setAlignment(horizontal(type, Qt::AlignLeft) | Qt::AlignVCenter);
        if (g.numeric)
            e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
        return e;
    }
    case ControlKind::IPAddress: {
        auto *e = new QLineEdit(parent);
        e->setInputMask(QStringLiteral("000.000.000.000;_"));
        return e;
    }
    case ControlKind::Shortcut: return new QKeySequenceEdit(parent);
    case ControlKind::Text: {
        auto *l = new QLabel(text, parent);
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        l->setAlignment(horizontal(type, Qt::AlignLeft) | Qt::AlignTop);
        if (type.has(look::Border))
            l->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        return l;
    }
    case ControlKind::HyperLink: {
        auto *l = new QLabel(parent);
        l->setTextFormat(Qt::RichText);
        const QString style = type.has(look::Underline) ? QStringLiteral("") : QStringLiteral(" style=\"text-decoration:none\"");
        l->setText(QStringLiteral("<a href=\"#\"%1>%2</a>").arg(style, text.toHtmlEscaped()));
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setCursor(Qt::PointingHandCursor);
        return l;
    }
    case ControlKind::ComboBox: {
        auto *c = new QComboBox(parent);
        c->setEditable(type.has(look::Editable));
        for (const std::string &item : g.items)
            c->addItem(fromLatin1(item));
        return c;
    }
    case ControlKind::ListView: {
        auto *l = new QListWidget(parent);
        for (const std::string &item : g.items)
            l->addItem(fromLatin1(item));
        return l;
    }
    case ControlKind::ListIcon:
    case ControlKind::Tree: {
        auto *t = new QTreeWidget(parent);
        t->setColumnCount(1);
        t->setRootIsDecorated(type.kind == ControlKind::Tree);
        t->setHeaderHidden(type.kind == ControlKind::Tree);
        t->setHeaderLabels({QString()});
        for (const std::string &item : g.items)
            new QTreeWidgetItem(t, QStringList{fromLatin1(item)});
        return t;
    }
    case ControlKind::Editor: {
        auto *e = new QPlainTextEdit(parent);
        QStringList lines;
        for (const std::string &item : g.items)
            lines << fromLatin1(item);
        e->setPlainText(lines.join(QLatin1Char('\n')));
        e->setReadOnly(type.has(look::ReadOnly));
        return e;
    }
    case ControlKind::Spin: {
        auto *s = new QSpinBox(parent);
        s->setRange(std::min(n[0], n[1]), std::max(n[0], n[1]));
        s->setReadOnly(type.has(look::ReadOnly));
        return s;
    }
    case ControlKind::TrackBar: {
        auto *s = new QSlider(orientation, parent);
        s->setRange(std::min(n[0], n[1]), std::max(n[0], n[1]));
        if (type.has(look::Ticks))
            s->setTickPosition(QSlider::TicksBelow);
        return s;
    }
    case ControlKind::ProgressBar: {
        auto *p = new QProgressBar(parent);
        p->setOrientation(orientation);
        p->setRange(std::min(n[0], n[1]), std::max(n[0], n[1]));
        // Half full: an empty bar would not tell what it is.
        p->setValue(static_cast<int>((static_cast<std::int64_t>(p->minimum()) + p->maximum()) / 2));
        p->setTextVisible(false);
        return p;
    }
    case ControlKind::ScrollBar: {
        auto *s = new QScrollBar(orientation, parent);
        s->setRange(std::min(n[0], n[1]), std::max(n[0], n[1]));
        s->setPageStep(std::max(n[2], 1));
        return s;
    }
    case ControlKind::Date: {
        auto *d = new QDateEdit(QDate::currentDate(), parent);
        d->setCalendarPopup(!type.has(look::UpDown));
        return d;
    }
    case ControlKind::Calendar: return new QCalendarWidget(parent);
    case ControlKind::Panel: return new QTabWidget(parent);
    case ControlKind::ScrollArea: {
        auto *a = new QScrollArea(parent);
        if (type.has(look::Borderless))
            a->setFrameShape(QFrame::NoFrame);
        auto *inner = new QWidget;
        inner->setFixedSize(std::clamp(n[0], 0, kFar), std::clamp(n[1], 0, kFar));
        a->setWidget(inner);
        return a;
    }
    case ControlKind::Frame:
        if (!(type.flags & (look::Border | look::Flat)))
            return new QGroupBox(text, parent);
        return borderedFrame(type, parent);
    case ControlKind::Container:
    case ControlKind::Canvas:
    case ControlKind::Image: {
        QFrame *f = borderedFrame(type, parent);
        if (holdsGadgets(type)) {
            // The gadgets created in it fill what its border leaves.
            f->setGeometry(placeOf(g.rect));
            auto *inner = new QWidget(f);
            inner->setGeometry(f->contentsRect());
            f->setProperty("tafelbauInner", QVariant::fromValue<QWidget *>(inner));
        }
        if (type.kind == ControlKind::Canvas)
            f->setFocusPolicy(Qt::StrongFocus); // a canvas takes the keyboard
        return f;
    }
    default: break;
    }
    if (!m_painter)
        m_painter = std::make_unique<ControlPainter>(style(), font());
    CardItem item;
    item.width = g.rect.width;
    item.height = g.rect.height;
    item.text = g.text;
    item.frameColour = g.frameColour;
    item.control.type = type;
    return new PaintedGadget(std::move(item), *m_painter, parent);
}

} // namespace tafelbau

#include "ui/app/canvashost.h"

#include "core/document/displayscale.h"
#include "ui/codegen/codeview.h"

#include <QEvent>
#include <QScrollArea>
#include <QStyle>

namespace tafelbau {

namespace {
constexpr int kCodeViewMinimum = 240; ///< about 30 characters of code
constexpr int kCodeViewMaximumAtFirst = 480;
constexpr int kCanvasMinimum = 160;
} // namespace

CanvasHost::CanvasHost(QScrollArea *area, ViewSettings &settings, float scale, QWidget *parent)
    : QMainWindow(parent), m_settings(settings), m_scale(scale)
{
    setWindowFlags(Qt::Widget); // a part of the main window, not a window
    area->setMinimumWidth(canvasMinimum());
    setCentralWidget(area);
}

int CanvasHost::codeViewMinimum() const
{
    return scaledPixels(kCodeViewMinimum, m_scale);
}

int CanvasHost::canvasMinimum() const
{
    return scaledPixels(kCanvasMinimum, m_scale);
}

void CanvasHost::addCodeView(CodeView *view)
{
    m_view = view;
    view->setMinimumWidth(codeViewMinimum());
    view->hide();
    addDockWidget(m_settings.codeViewLeft ? Qt::LeftDockWidgetArea : Qt::RightDockWidgetArea, view);
    // Docked again after floating: beside the canvas in its own width.
    connect(view, &QDockWidget::topLevelChanged, this, [this](bool floating) {
        if (!floating)
            fitCodeView(m_wanted);
    });
}

bool CanvasHost::codeViewDocked() const
{
    return m_view && !m_view->isHidden() && !m_view->isFloating();
}

SideViewRoom CanvasHost::room() const
{
    return {width(), canvasMinimum(), codeViewMinimum(),
            style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this)};
}

void CanvasHost::showCodeView(bool shown)
{
    if (!m_view || shown != m_view->isHidden())
        return;
    if (!shown) {
        noteCodeViewSide();
        m_view->hide();
        return;
    }
    m_view->show();
    const int kept = keptCodeViewWidth(m_settings.codeViewWidth);
    m_wanted = kept > 0 ? kept
                        : firstSideViewWidth(width(), codeViewMinimum(), scaledPixels(kCodeViewMaximumAtFirst, m_scale));
    fitCodeView(m_wanted);
}

void CanvasHost::fitCodeView(int wanted)
{
    if (!codeViewDocked() || wanted <= 0)
        return;
    resizeDocks({m_view}, {sideViewWidth(room(), wanted)}, Qt::Horizontal);
}

void CanvasHost::noteCodeViewSide()
{
    // A floating view comes back docked where it was last.
    if (isVisible() && codeViewDocked())
        m_settings.codeViewLeft = dockWidgetArea(m_view) == Qt::LeftDockWidgetArea;
}

bool CanvasHost::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::MouseButtonRelease && codeViewDocked()) {
        // The end of a drag of the separator: the width the user chose.
        m_wanted = m_view->width();
        m_settings.codeViewWidth = keptCodeViewWidth(m_wanted);
    } else if (event->type() == QEvent::Resize && codeViewDocked() && m_view->width() < m_wanted) {
        // Squeezed by a smaller window before: the view takes its width
        // back first as the window grows.
        fitCodeView(m_wanted);
    }
    return handled;
}

} // namespace tafelbau

#include "ui/canvas/dragscroller.h"

#include "core/canvas/autoscroll.h"

#include <QScrollArea>
#include <QScrollBar>

namespace tafelbau {

namespace {

ScrollStep stepFor(const QScrollArea &area, QPoint mouse)
{
    const QScrollBar *h = area.horizontalScrollBar();
    const QScrollBar *v = area.verticalScrollBar();
    const ScrollRoom room{h->value() - h->minimum(), v->value() - v->minimum(), h->maximum() - h->value(),
                          v->maximum() - v->value()};
    const QWidget *viewport = area.viewport();
    return autoScrollStep({mouse.x(), mouse.y()}, viewport->width(), viewport->height(), kAutoScrollMargin, room);
}

} // namespace

DragScroller::DragScroller(QScrollArea &area, QObject *parent) : QObject(parent), m_area(area)
{
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &DragScroller::tick);
}

void DragScroller::follow(QPoint viewportPos)
{
    m_mouse = viewportPos;
    if (!m_timer.isActive() && !stepFor(m_area, m_mouse).isNull())
        m_timer.start();
}

void DragScroller::stop()
{
    m_timer.stop();
}

void DragScroller::tick()
{
    // Asked anew at every tick: the mouse may have come back inside, or the
    // view reached its end.
    const ScrollStep step = stepFor(m_area, m_mouse);
    if (step.isNull()) {
        m_timer.stop();
        return;
    }
    QScrollBar *h = m_area.horizontalScrollBar();
    QScrollBar *v = m_area.verticalScrollBar();
    h->setValue(h->value() + step.dx);
    v->setValue(v->value() + step.dy);
    emit scrolled();
}

} // namespace tafelbau

#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

class QScrollArea;

namespace tafelbau {

/// Scrolls a scroll area while a drag is held near or past an edge of its
/// viewport, a step at every tick of a timer, so that the drag can reach
/// what is out of sight without the mouse moving. How far each tick goes
/// is the core's autoScrollStep().
class DragScroller : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTickMs = 30;

    explicit DragScroller(QScrollArea &area, QObject *parent = nullptr);

    /// The mouse is at `viewportPos` (viewport coordinates); the timer runs
    /// while that asks for a step, from the next tick on.
    void follow(QPoint viewportPos);
    /// No more scrolling until the next follow().
    void stop();
    bool isScrolling() const { return m_timer.isActive(); }
    /// Where the mouse was last seen, in viewport coordinates.
    QPoint mouse() const { return m_mouse; }

signals:
    /// The view moved under a mouse that stood still: the drag is now over
    /// another point of the scrolled widget.
    void scrolled();

private:
    void tick();

    QScrollArea &m_area;
    QTimer m_timer;
    QPoint m_mouse;
};

} // namespace tafelbau

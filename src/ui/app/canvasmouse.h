#pragma once

#include "core/canvas/mousedrag.h"

#include <QObject>
#include <QPoint>

#include <optional>

namespace tafelbau {

class DragScroller;
class MainWindow;

/// The mouse on the card canvas: a press selects as the click always did
/// (Ctrl+click adds or removes one gadget), a drag moves the selected
/// gadgets, a grip resizes them, a drag on empty canvas draws a rubber
/// band. Held near or past an edge of the view, a drag or band scrolls the
/// view and goes on as if the mouse had moved by as much. Escape during a
/// press puts back what was there before it. The geometry is the core's;
/// this only turns events into its calls.
class CanvasMouse : public QObject
{
    Q_OBJECT
public:
    explicit CanvasMouse(MainWindow &window);

    /// Whether the left button went down on the canvas and is not up yet.
    bool isPressed() const { return m_phase != Phase::Idle; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Phase { Idle, Pressed, Dragging, Banding, Ignoring };
    enum class Plan { Nothing, Move, Resize, Band };
    enum class OnClick { Nothing, Select, Toggle };

    void press(QPoint at, Qt::KeyboardModifiers modifiers);
    void moveTo(QPoint at, Qt::KeyboardModifiers modifiers);
    void release(QPoint at, Qt::KeyboardModifiers modifiers);
    void cancel();
    void start();
    void dragTo(CardPoint p, bool fine);
    void end();
    void showCursorFor(CardPoint p);
    void followScroll();

    MainWindow &m_window;
    DragScroller *m_scroller = nullptr;
    Phase m_phase = Phase::Idle;
    Plan m_plan = Plan::Nothing;
    OnClick m_onClick = OnClick::Nothing;
    PressTarget m_target;
    CardPoint m_press;
    CardPoint m_last;
    bool m_adding = false; ///< Ctrl at the press: the band adds to the selection
    bool m_moved = false;  ///< the drag has the gadgets away from where they were
    bool m_fine = false;   ///< the last step of the drag was pixel by pixel
    bool m_changedBefore = false;
    std::optional<SelectionSnapshot> m_before; ///< taken when the press changed the selection
    std::optional<GadgetDrag> m_drag;
};

} // namespace tafelbau

#include "ui/app/canvasmouse.h"

#include "core/canvas/canvasselection.h"
#include "core/codegen/dialogstructure.h"
#include "core/commands/selection.h"
#include "ui/app/mainwindow.h"
#include "ui/canvas/cardcanvas.h"
#include "ui/canvas/dragscroller.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollArea>

namespace tafelbau {

namespace {

CardPoint cardPoint(QPoint p)
{
    return {p.x(), p.y()};
}

Qt::CursorShape cursorFor(const PressTarget &t)
{
    switch (t.kind) {
    case PressKind::Band: return Qt::ArrowCursor;
    case PressKind::Move: return Qt::SizeAllCursor;
    case PressKind::Resize: break;
    }
    switch (t.grip) {
    case Grip::TopLeft:
    case Grip::BottomRight: return Qt::SizeFDiagCursor;
    case Grip::TopRight:
    case Grip::BottomLeft: return Qt::SizeBDiagCursor;
    case Grip::Left:
    case Grip::Right: return Qt::SizeHorCursor;
    case Grip::Top:
    case Grip::Bottom: return Qt::SizeVerCursor;
    }
    return Qt::ArrowCursor;
}

QRect qRect(const CardRect &r)
{
    return QRect(r.x, r.y, r.width, r.height);
}

} // namespace

CanvasMouse::CanvasMouse(MainWindow &window)
    : QObject(&window), m_window(window), m_scroller(new DragScroller(*window.canvasArea(), this))
{
    CardCanvas *canvas = window.canvas();
    connect(m_scroller, &DragScroller::scrolled, this, &CanvasMouse::followScroll);
    connect(canvas, &CardCanvas::leftPressed, this, &CanvasMouse::press);
    connect(canvas, &CardCanvas::mouseMovedTo, this, &CanvasMouse::moveTo);
    connect(canvas, &CardCanvas::leftReleased, this, &CanvasMouse::release);
}

void CanvasMouse::press(QPoint at, Qt::KeyboardModifiers modifiers)
{
    if (m_phase != Phase::Idle)
        return;
    AppState &s = m_window.state();
    const std::int32_t card = m_window.shownCard();
    m_press = m_last = cardPoint(at);
    m_before.reset();
    m_changedBefore = s.changed;
    m_moved = false;
    m_drag.reset();
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    // A panel's tab goes to its page, as the dialog would show it.
    if (!ctrl) {
        if (const int page = m_window.canvas()->pageTabAt(s.list, card, m_press); page >= 0) {
            m_window.applyOutcome(selectByLvid(s.list, s.list.records()[static_cast<std::size_t>(page)].lvid));
            return;
        }
    }
    m_target = pressTarget(s.list, card, m_press);
    m_adding = ctrl;
    m_onClick = OnClick::Nothing;
    auto isSelected = [&s](int record) { return s.list.records()[static_cast<std::size_t>(record)].selected; };
    // A press on a gadget that is selected already waits for the release:
    // a drag takes the whole selection along, a click then selects only
    // this one.
    switch (m_target.kind) {
    case PressKind::Resize:
        m_plan = Plan::Resize;
        m_onClick = ctrl ? OnClick::Toggle : OnClick::Select;
        break;
    case PressKind::Move:
        m_plan = Plan::Move;
        if (ctrl) {
            m_before = takeSelection(s.list);
            m_window.applyOutcome(toggleGadgetAtPoint(s.list, card, m_press));
            if (!isSelected(m_target.record))
                m_plan = Plan::Nothing;
        } else if (isSelected(m_target.record)) {
            m_onClick = OnClick::Select;
        } else {
            m_before = takeSelection(s.list);
            m_window.applyOutcome(selectGadgetAtPoint(s.list, card, m_press.x, m_press.y));
        }
        break;
    case PressKind::Band:
        // The band replaces the selection on release; until then the one
        // there was stays in sight.
        m_plan = Plan::Band;
        m_onClick = ctrl ? OnClick::Toggle : OnClick::Select;
        break;
    }
    m_phase = Phase::Pressed;
    // Keys would change the list under the drag: until the release they
    // are dropped, but for Escape and Shift.
    qApp->installEventFilter(this);
}

void CanvasMouse::start()
{
    AppState &s = m_window.state();
    const std::int32_t card = m_window.shownCard();
    DragLimits limits{s.settings.panelRaster, s.settings.panelWidth, s.settings.panelHeight, {}};
    if (m_plan != Plan::Band && m_target.record >= 0) {
        // Where the code creates the gadget: it stays inside that, unless Shift.
        const DialogStructure structure(s.list);
        limits.parentArea = structure.clientArea(s.list, structure[static_cast<std::size_t>(m_target.record)].parent);
    }
    switch (m_plan) {
    case Plan::Move:
        m_drag = GadgetDrag::move(s.list, card, m_target.record, m_press, limits);
        m_window.beginStep("Verschieben");
        m_phase = Phase::Dragging;
        break;
    case Plan::Resize:
        m_drag = GadgetDrag::resize(s.list, card, m_target.record, m_target.grip, m_press, limits);
        m_window.beginStep("Grösse ändern");
        m_phase = Phase::Dragging;
        break;
    case Plan::Band: m_phase = Phase::Banding; break;
    case Plan::Nothing: m_phase = Phase::Ignoring; break;
    }
}

void CanvasMouse::moveTo(QPoint at, Qt::KeyboardModifiers modifiers)
{
    const CardPoint p = cardPoint(at);
    if (m_phase == Phase::Idle) {
        showCursorFor(p);
        return;
    }
    if (m_phase == Phase::Pressed) {
        if (!isDrag(m_press, p))
            return;
        start();
    }
    m_last = p;
    if (m_phase == Phase::Dragging)
        dragTo(p, modifiers.testFlag(Qt::ShiftModifier));
    else if (m_phase == Phase::Banding)
        m_window.canvas()->setBand(qRect(bandBetween(m_press, p)));
    else
        return;
    CardCanvas *canvas = m_window.canvas();
    m_scroller->follow(canvas->mapTo(m_window.canvasArea()->viewport(), at + canvas->cardOrigin()));
}

void CanvasMouse::followScroll()
{
    // The mouse stands still over the viewport while the card moves under
    // it: the drag goes on from the point of the card now under the mouse.
    if (m_phase != Phase::Dragging && m_phase != Phase::Banding) {
        m_scroller->stop();
        return;
    }
    CardCanvas *canvas = m_window.canvas();
    const QPoint at = canvas->mapFrom(m_window.canvasArea()->viewport(), m_scroller->mouse()) - canvas->cardOrigin();
    moveTo(at, m_fine ? Qt::ShiftModifier : Qt::NoModifier);
}

void CanvasMouse::dragTo(CardPoint p, bool fine)
{
    AppState &s = m_window.state();
    m_fine = fine;
    EditOutcome out = m_drag->dragTo(s.list, p, fine);
    // The change mark shows while the gadgets are away from where they
    // were, and is as before when the drag brings them back.
    const bool moved = out.mark == ChangeMark::Set;
    out.mark = ChangeMark::Keep;
    if (moved != m_moved) {
        m_moved = moved;
        m_window.documents().updateTitle(moved || m_changedBefore);
    }
    m_window.applyOutcome(out);
}

void CanvasMouse::release(QPoint at, Qt::KeyboardModifiers modifiers)
{
    const CardPoint p = cardPoint(at);
    if (m_phase == Phase::Pressed && isDrag(m_press, p))
        moveTo(at, modifiers); // a release with no move before it
    AppState &s = m_window.state();
    const std::int32_t card = m_window.shownCard();
    switch (m_phase) {
    case Phase::Idle: return;
    case Phase::Pressed:
        if (m_onClick == OnClick::Select)
            m_window.applyOutcome(selectGadgetAtPoint(s.list, card, m_press.x, m_press.y));
        else if (m_onClick == OnClick::Toggle)
            m_window.applyOutcome(toggleGadgetAtPoint(s.list, card, m_press));
        break;
    case Phase::Dragging:
        dragTo(p, modifiers.testFlag(Qt::ShiftModifier));
        m_window.commitStep();
        break;
    case Phase::Banding:
        m_window.canvas()->setBand(std::nullopt);
        m_window.applyOutcome(selectInBand(s.list, card, bandBetween(m_press, p), m_adding));
        break;
    case Phase::Ignoring: break;
    }
    // The cursor follows at the next move: asking now would cost every
    // click another pass over the list.
    end();
}

void CanvasMouse::cancel()
{
    AppState &s = m_window.state();
    if (m_phase == Phase::Dragging) {
        m_window.rollbackStep();
        m_window.documents().updateTitle(m_changedBefore);
    } else if (m_phase == Phase::Banding) {
        m_window.canvas()->setBand(std::nullopt);
    }
    // The drag's step put back the places; the selection the press changed
    // comes back from before it.
    EditOutcome out;
    if (m_before)
        out = restoreSelection(s.list, *m_before);
    out.views.canvas = true;
    out.views.properties = true;
    out.current = s.list.currentIndex();
    m_window.applyOutcome(out);
    m_drag.reset();
    m_scroller->stop();
    m_phase = Phase::Ignoring; // until the button comes up
}

void CanvasMouse::end()
{
    m_phase = Phase::Idle;
    m_drag.reset();
    m_scroller->stop();
    qApp->removeEventFilter(this);
}

void CanvasMouse::showCursorFor(CardPoint p)
{
    const AppState &s = m_window.state();
    const Qt::CursorShape shape = cursorFor(pressTarget(s.list, m_window.shownCard(), p));
    CardCanvas *canvas = m_window.canvas();
    if (canvas->cursor().shape() != shape)
        canvas->setCursor(shape);
}

bool CanvasMouse::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_Escape) {
            if (m_phase != Phase::Ignoring)
                cancel();
        } else if (event->type() != QEvent::ShortcutOverride && key->key() == Qt::Key_Shift
                   && m_phase == Phase::Dragging && !key->isAutoRepeat()) {
            dragTo(m_last, event->type() == QEvent::KeyPress);
        }
        // An accepted override keeps the window's shortcuts from firing.
        event->accept();
        return true;
    }
    case QEvent::WindowDeactivate:
        // The button may come up where the canvas never hears of it.
        if (watched == &m_window && m_phase != Phase::Idle)
            release(QPoint(m_last.x, m_last.y), m_fine ? Qt::ShiftModifier : Qt::NoModifier);
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tafelbau

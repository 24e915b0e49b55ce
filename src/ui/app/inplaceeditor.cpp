#include "ui/app/inplaceeditor.h"

#include "core/canvas/canvasselection.h"
#include "core/canvas/carddrawing.h"
#include "core/canvas/designcommands.h"
#include "core/commands/selection.h"
#include "core/commands/valueedit.h"
#include "ui/app/mainwindow.h"
#include "ui/canvas/cardcanvas.h"
#include "ui/document/qtconvert.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollArea>

#include <utility>

namespace tafelbau {

namespace {

/// The line editor: it keeps every key while it is open -- Delete or Ctrl+D
/// must change the text, not the list under it -- and reports how it ends.
class CaptionEdit : public QLineEdit
{
public:
    CaptionEdit(QWidget *parent, std::function<void(bool)> done) : QLineEdit(parent), m_done(std::move(done)) {}

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        return QLineEdit::event(e);
    }
    void keyPressEvent(QKeyEvent *e) override
    {
        switch (e->key()) {
        case Qt::Key_Escape: m_done(false); return;
        case Qt::Key_Return:
        case Qt::Key_Enter: m_done(true); return;
        default: QLineEdit::keyPressEvent(e);
        }
    }
    void focusOutEvent(QFocusEvent *e) override
    {
        QLineEdit::focusOutEvent(e);
        // The editor's own context menu takes the focus for a while.
        if (e->reason() != Qt::PopupFocusReason)
            m_done(true);
    }

private:
    std::function<void(bool)> m_done;
};

} // namespace

InPlaceEditor::InPlaceEditor(MainWindow &window) : QObject(&window), m_window(window)
{
    window.canvas()->installEventFilter(this);
    window.setCommand(ids::EditInPlace, [this] { edit(); });
}

bool InPlaceEditor::edit()
{
    finish(true);
    AppState &s = m_window.state();
    const int current = currentRowGadget(s.list);
    if (current < 0)
        return false;
    CardCanvas *canvas = m_window.canvas();
    const auto &items = canvas->items();
    const auto item = std::find_if(items.begin(), items.end(), [current](const CardItem &i) { return i.record == current; });
    if (item == items.end())
        return false;
    const GadgetRecord &r = s.list.records()[static_cast<std::size_t>(current)];
    m_lvid = r.lvid;
    m_row = inPlaceRow(r);

    auto *editor = new CaptionEdit(canvas, [this](bool keep) { finish(keep); });
    m_editor = editor;
    editor->setText(fromLatin1(propertyValueText(r, m_row)));
    editor->selectAll();
    // Over the gadget, one line high, never too small to type in.
    const int height = editor->sizeHint().height();
    const QRect over(QPoint(item->x, item->y) + canvas->cardOrigin(),
                     QSize(std::max(item->width, 60), std::max(std::min(item->height, height), height)));
    editor->setGeometry(over);
    editor->show();
    m_window.canvasArea()->ensureVisible(over.center().x(), over.center().y(), over.width() / 2 + 10,
                                         over.height() / 2 + 10);
    editor->setFocus(Qt::OtherFocusReason);
    return true;
}

void InPlaceEditor::finish(bool keep)
{
    if (!m_editor)
        return;
    QLineEdit *editor = m_editor;
    m_editor = nullptr; // whatever happens below, only once
    const std::string edited = toLatin1(editor->text());
    editor->hide();
    editor->deleteLater();
    AppState &s = m_window.state();
    const int current = currentRowGadget(s.list);
    if (!keep || current < 0 || s.list.records()[static_cast<std::size_t>(current)].lvid != m_lvid)
        return;
    if (edited == propertyValueText(s.list.records()[static_cast<std::size_t>(current)], m_row))
        return;
    m_window.runEdit(m_row == RowVarId ? "VarID ändern" : "Text ändern", "", [&] {
        if (m_row == RowVarId)
            m_window.trackReferencesTo(s.list.records()[static_cast<std::size_t>(current)].varId);
        m_window.applyOutcome(editPropertyRow(s.list, m_row, edited, s.pool.settings.crSep));
    });
}

bool InPlaceEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonDblClick && event->type() != QEvent::MouseButtonPress)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton || mouse->modifiers() != Qt::NoModifier) {
        m_tabPage = 0;
        return false;
    }
    auto *canvas = static_cast<CardCanvas *>(watched);
    const QPoint p = mouse->position().toPoint() - canvas->cardOrigin();
    AppState &s = m_window.state();
    if (event->type() == QEvent::MouseButtonPress) {
        // A press on a panel's tab shows that page's card: by the second
        // press the tab is gone, so which page it was is kept from here.
        const int page = canvas->pageTabAt(s.list, m_window.shownCard(), {p.x(), p.y()});
        m_tabPage = page < 0 ? 0 : s.list.records()[static_cast<std::size_t>(page)].lvid;
        return false;
    }
    const std::int32_t tabPage = std::exchange(m_tabPage, 0);
    if (tabPage != 0) {
        const int current = currentRowGadget(s.list);
        if (current >= 0 && s.list.records()[static_cast<std::size_t>(current)].lvid == tabPage)
            return edit();
    }
    const int hit = gadgetAtPoint(s.list, m_window.shownCard(), p.x(), p.y());
    if (hit < 0)
        return false;
    if (topmostSelected(s.list) != hit)
        m_window.applyOutcome(selectGadgetAtPoint(s.list, m_window.shownCard(), p.x(), p.y()));
    // The second press of the double-click is no press of its own.
    return edit();
}

} // namespace tafelbau

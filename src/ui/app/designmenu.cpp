// The keys users of other designers reach for, on top of the editor's own,
// and the context menu of the canvas and the gadget list. Every command that
// changes the list is one step of the history.
#include "core/canvas/alignment.h"
#include "core/canvas/canvasselection.h"
#include "core/canvas/designcommands.h"
#include "core/canvas/mousedrag.h"
#include "core/commands/listedit.h"
#include "core/commands/selection.h"
#include "ui/app/mainwindow.h"
#include "ui/canvas/cardcanvas.h"
#include "ui/document/qtconvert.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListView>
#include <QMenu>
#include <QTableWidget>

namespace tafelbau {

namespace {

struct DesignEntry
{
    int id;
    const char *text; ///< UTF-8
    QKeyCombination keys;
};

// Entries with keys stay enabled: a key of a disabled entry would be dead
// until the menu was opened again. Their commands do nothing where they do
// not apply.
const DesignEntry kEditEntries[] = {
    {ids::Cut, "Aus&schneiden", Qt::CTRL | Qt::Key_X},
    {ids::Duplicate, "&Duplizieren", Qt::CTRL | Qt::Key_D},
    {ids::SelectAll, "Alles &markieren", Qt::CTRL | Qt::Key_A},
    {ids::EditInPlace, "&Text bearbeiten", QKeyCombination(Qt::Key_F2)},
    {ids::ToFront, "Nach &vorne", Qt::Key_unknown},
    {ids::ToBack, "Nach &hinten", Qt::Key_unknown},
};

// The context menu names the keys after a tab, as the "Gadgets" menu does:
// keys set on these entries would compete with the window's own.
struct ContextEntry
{
    int id; ///< 0: the "Ausrichten" submenu
    const char *text;
};

const ContextEntry kContextEntries[] = {
    {ids::Cut, "Aus&schneiden\tCtrl+X"},
    {ids::Copy, "&Kopieren\tCtrl+C"},
    {ids::Paste, "&Einfügen\tCtrl+V"},
    {ids::Delete, "&Löschen\tDel"},
    {ids::Duplicate, "&Duplizieren\tCtrl+D"},
    {0, nullptr},
    {ids::ToFront, "Nach &vorne"},
    {ids::ToBack, "Nach &hinten"},
    {ids::FocusProperties, "Eigenscha&ften"},
};

} // namespace

void MainWindow::buildDesignMenu(QMenu *editing)
{
    for (const DesignEntry &e : kEditEntries) {
        QAction *a = editing->addAction(QString::fromUtf8(e.text));
        if (e.keys.key() != Qt::Key_unknown) {
            a->setShortcut(QKeySequence(e.keys));
            a->setShortcutContext(Qt::WindowShortcut);
            addAction(a);
        }
        const int id = e.id;
        connect(a, &QAction::triggered, this, [this, id] { dispatchMenu(id); });
        m_menuActions[id] = a;
    }
    connect(editing, &QMenu::aboutToShow, this, &MainWindow::updateDesignActions);

    // With the canvas focused the plain arrows step by one pixel, as
    // Shift+arrows do everywhere, instead of scrolling the view.
    const std::pair<Qt::Key, int> arrows[] = {
        {Qt::Key_Up, ids::FineUp}, {Qt::Key_Down, ids::FineDown}, {Qt::Key_Left, ids::FineLeft},
        {Qt::Key_Right, ids::FineRight}};
    m_canvas->setFocusPolicy(Qt::StrongFocus);
    for (const auto &[key, id] : arrows) {
        auto *a = new QAction(m_canvas);
        a->setShortcut(QKeySequence(key));
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, [this, id = id] { dispatchMenu(id); });
        m_canvas->addAction(a);
    }
}

void MainWindow::buildContextMenu()
{
    m_contextMenu = new QMenu(this);
    for (const ContextEntry &e : kContextEntries) {
        if (e.id == 0) {
            m_contextMenu->addSeparator();
            QMenu *align = m_contextMenu->addMenu(QStringLiteral("&Ausrichten"));
            align->addActions(m_alignMenu->actions());
            m_contextMenu->addSeparator();
            continue;
        }
        QAction *a = m_contextMenu->addAction(QString::fromUtf8(e.text));
        a->setData(e.id);
        const int id = e.id;
        connect(a, &QAction::triggered, this, [this, id] { dispatchMenu(id); });
    }

    m_canvas->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_canvas, &QWidget::customContextMenuRequested, this, &MainWindow::contextMenuOnCanvas);
    m_listView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_listView, &QWidget::customContextMenuRequested, this, &MainWindow::contextMenuOnList);
}

void MainWindow::addDesignCommands()
{
    setCommand(ids::Cut, [this] {
        if (topmostSelected(m_state.list) == GdtList::kNone)
            return;
        runEdit("Ausschneiden", "", [this] {
            if (const auto text = copySelectedGadgets(m_state.list, m_state.copyBuffer))
                QApplication::clipboard()->setText(fromUtf8(*text));
            applyOutcome(deleteSelectedGadgets(m_state.list));
        });
    });
    setCommand(ids::Duplicate, [this] {
        runEdit("Duplizieren", "", [this] {
            applyOutcome(duplicateSelectedGadgets(m_state.list, m_state.settings.panelRaster, m_shownCard));
        });
    });
    setCommand(ids::SelectAll, [this] { applyOutcome(selectAllOnCard(m_state.list, m_shownCard)); });
    setCommand(ids::ToFront, [this] {
        runEdit("Nach vorne", "", [this] { applyOutcome(restackSelected(m_state.list, StackMove::ToFront)); });
    });
    setCommand(ids::ToBack, [this] {
        runEdit("Nach hinten", "", [this] { applyOutcome(restackSelected(m_state.list, StackMove::ToBack)); });
    });
    setCommand(ids::FocusProperties, [this] {
        m_properties->setFocus(Qt::OtherFocusReason);
        if (m_properties->rowCount() > 0 && m_properties->currentRow() < 0)
            m_properties->setCurrentCell(0, 1);
    });
}

void MainWindow::updateDesignActions()
{
    // The entries without keys are the ones that can be right only when shown.
    menuAction(ids::ToFront)->setEnabled(restackedOrder(m_state.list, StackMove::ToFront).has_value());
    menuAction(ids::ToBack)->setEnabled(restackedOrder(m_state.list, StackMove::ToBack).has_value());
}

void MainWindow::showContextMenu(QPoint global)
{
    const bool selected = topmostSelected(m_state.list) != GdtList::kNone;
    updateAlignActions();
    updateDesignActions();
    for (QAction *a : m_contextMenu->actions()) {
        if (a->menu()) {
            a->setEnabled(canAlign(m_state.list, Alignment::Left));
            continue;
        }
        switch (a->data().toInt()) {
        case ids::Cut:
        case ids::Copy:
        case ids::Delete:
        case ids::Duplicate:
        case ids::FocusProperties: a->setEnabled(selected); break;
        // Pasting goes in after the selection: without one it does nothing.
        case ids::Paste: a->setEnabled(selected && !m_state.copyBuffer.records.empty()); break;
        case ids::ToFront:
        case ids::ToBack: a->setEnabled(menuAction(a->data().toInt())->isEnabled()); break;
        default: break;
        }
    }
    m_contextMenu->popup(global);
}

void MainWindow::contextMenuOnCanvas(QPoint at)
{
    // A right click on a gadget outside the selection means that gadget;
    // on a selected one, or on empty canvas, the selection stays.
    const QPoint card = at - m_canvas->cardOrigin();
    const PressTarget target = pressTarget(m_state.list, m_shownCard, {card.x(), card.y()});
    if (target.record >= 0 && !m_state.list.records()[static_cast<std::size_t>(target.record)].selected)
        applyOutcome(selectGadgetAtPoint(m_state.list, m_shownCard, card.x(), card.y()));
    showContextMenu(m_canvas->mapToGlobal(at));
}

void MainWindow::contextMenuOnList(QPoint at)
{
    const QModelIndex index = m_listView->indexAt(at);
    if (index.isValid() && index.row() < m_state.list.size()
        && !m_state.list.records()[static_cast<std::size_t>(index.row())].selected)
        applyOutcome(selectRows(m_state.list, {{index.row(), index.row()}}));
    showContextMenu(m_listView->viewport()->mapToGlobal(at));
}

} // namespace tafelbau

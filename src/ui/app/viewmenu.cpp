// The "Ansicht" menu of the main window: switches of how the window shows
// the list, each kept in the program settings.
#include "ui/app/mainwindow.h"

#include "core/canvas/dialogpreview.h"
#include "core/commands/selection.h"
#include "ui/app/previewwindow.h"
#include "ui/app/toolbox.h"
#include "ui/canvas/cardcanvas.h"

#include <QAction>
#include <QMenuBar>

namespace tafelbau {

namespace {

struct ViewSwitch
{
    int id;
    const char *text; ///< UTF-8
    QKeyCombination keys;
    bool ViewSettings::*value;
};

// A new switch is a row here, a key in kViewKeys and its effect in
// MainWindow::applyView(). Qt::Key_unknown: no keys.
const ViewSwitch kSwitches[] = {
    {ids::ToggleCodeView, "&Code-Vorschau", QKeyCombination(Qt::Key_F9), &ViewSettings::codeView},
    {ids::ToggleToolbox, "&Werkzeugkasten", Qt::Key_unknown, &ViewSettings::toolbox},
    {ids::RealGadgets, "&Echte Gadgets", Qt::CTRL | Qt::Key_E, &ViewSettings::realGadgets},
    {ids::ShowRaster, "&Raster anzeigen", Qt::Key_unknown, &ViewSettings::showRaster},
};

} // namespace

void MainWindow::buildViewMenu()
{
    QMenu *view = menuBar()->addMenu(QStringLiteral("&Ansicht"));
    for (const ViewSwitch &s : kSwitches) {
        QAction *a = view->addAction(QString::fromUtf8(s.text));
        a->setCheckable(true);
        a->setChecked(m_state.settings.view.*s.value);
        if (s.keys.key() != Qt::Key_unknown)
            a->setShortcut(QKeySequence(s.keys));
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a); // its keys work wherever the focus is in the window
        const int id = s.id;
        connect(a, &QAction::triggered, this, [this, id] { dispatchMenu(id); });
        m_menuActions[id] = a;
    }
    view->addSeparator();
    QAction *preview = view->addAction(QStringLiteral("&Vorschau"));
    preview->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    preview->setShortcutContext(Qt::WindowShortcut);
    addAction(preview);
    connect(preview, &QAction::triggered, this, [this] { dispatchMenu(ids::Preview); });
    m_menuActions[ids::Preview] = preview;
}

void MainWindow::addViewCommands()
{
    for (const ViewSwitch &s : kSwitches) {
        bool ViewSettings::*value = s.value;
        setCommand(s.id, [this, value] { toggleView(value); });
    }
    setCommand(ids::Preview, [this] { openPreview(); });
}

void MainWindow::openPreview()
{
    const DialogStructure structure(m_state.list);
    const PreviewPlan plan = previewPlan(m_state.list, structure, tafelbau::currentRowGadget(m_state.list));
    if (plan.window < 0) {
        m_dialogs.showMessage("Keine Vorschau: In der Gadgetliste ist kein Fenster (OpenWindow).");
        return;
    }
    if (m_preview)
        m_preview->close();
    m_preview = new PreviewWindow(plan, this);
    m_preview->show();
}

void MainWindow::toggleView(bool ViewSettings::*value)
{
    bool &on = m_state.settings.view.*value;
    on = !on;
    // The entry's tick follows the setting, however the command was reached.
    for (const ViewSwitch &s : kSwitches)
        if (s.value == value)
            if (QAction *a = menuAction(s.id))
                a->setChecked(on);
    applyView();
}

void MainWindow::applyView()
{
    showCodeView(m_state.settings.view.codeView);
    m_toolbox->setVisible(m_state.settings.view.toolbox);
    m_canvas->setRealGadgets(m_state.settings.view.realGadgets);
    m_canvas->setRaster(m_state.settings.panelRaster, m_state.settings.view.showRaster);
    drawCard();
}

} // namespace tafelbau

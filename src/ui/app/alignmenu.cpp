// "Bearbeiten" -> "Ausrichten": lining up the selected gadgets, each
// command one step of the history.
#include "core/canvas/alignment.h"
#include "ui/app/mainwindow.h"

#include <QAction>
#include <QMenu>

namespace tafelbau {

namespace {

struct AlignEntry
{
    int id;
    const char *text;  ///< UTF-8
    const char *label; ///< of the history step, UTF-8
    Alignment alignment;
    bool separatorBefore;
};

const AlignEntry kEntries[] = {
    {ids::AlignLeft, "&Links", "Ausrichten", Alignment::Left, false},
    {ids::AlignRight, "&Rechts", "Ausrichten", Alignment::Right, false},
    {ids::AlignTop, "&Oben", "Ausrichten", Alignment::Top, false},
    {ids::AlignBottom, "&Unten", "Ausrichten", Alignment::Bottom, false},
    {ids::CentreHorizontally, "&Horizontal zentrieren", "Ausrichten", Alignment::CentreHorizontally, false},
    {ids::CentreVertically, "&Vertikal zentrieren", "Ausrichten", Alignment::CentreVertically, false},
    {ids::SameWidth, "Gleiche &Breite", "Grösse ändern", Alignment::SameWidth, true},
    {ids::SameHeight, "Gleiche Höh&e", "Grösse ändern", Alignment::SameHeight, false},
    {ids::SameSize, "Gleiche &Größe", "Grösse ändern", Alignment::SameSize, false},
    {ids::DistributeHorizontally, "Hori&zontal verteilen", "Verteilen", Alignment::DistributeHorizontally, true},
    {ids::DistributeVertically, "Ver&tikal verteilen", "Verteilen", Alignment::DistributeVertically, false},
};

} // namespace

void MainWindow::buildAlignMenu(QMenu *editing)
{
    QMenu *align = m_alignMenu = editing->addMenu(QStringLiteral("&Ausrichten"));
    for (const AlignEntry &e : kEntries) {
        if (e.separatorBefore)
            align->addSeparator();
        QAction *a = align->addAction(QString::fromUtf8(e.text));
        const int id = e.id;
        connect(a, &QAction::triggered, this, [this, id] { dispatchMenu(id); });
        m_menuActions[id] = a;
    }
    // The entries have no keys: they need to be right only when shown, and
    // counting the selection at every redraw would cost a pass over the list.
    connect(editing, &QMenu::aboutToShow, this, &MainWindow::updateAlignActions);
    updateAlignActions();
}

void MainWindow::addAlignCommands()
{
    for (const AlignEntry &e : kEntries) {
        const Alignment alignment = e.alignment;
        const std::string label = e.label;
        setCommand(e.id, [this, alignment, label] {
            runEdit(label, "", [this, alignment] { applyOutcome(alignSelected(m_state.list, alignment)); });
        });
    }
}

void MainWindow::updateAlignActions()
{
    // Two counts answer every entry: enough for aligning, enough for spreading.
    const bool two = canAlign(m_state.list, Alignment::Left);
    const bool three = two && canAlign(m_state.list, Alignment::DistributeHorizontally);
    for (const AlignEntry &e : kEntries)
        if (QAction *a = menuAction(e.id))
            a->setEnabled(gadgetsNeeded(e.alignment) == 3 ? three : two);
}

} // namespace tafelbau

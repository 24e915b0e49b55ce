#include "ui/app/editcommands.h"

#include "core/canvas/keyplacement.h"
#include "core/codegen/codefile.h"
#include "core/codegen/syntaximport.h"
#include "core/commands/addgadget.h"
#include "core/commands/filechoosers.h"
#include "core/commands/listedit.h"
#include "core/commands/selection.h"
#include "core/commands/structureedit.h"
#include "core/commands/valueedit.h"
#include "core/document/latin1.h"
#include "ui/app/mainwindow.h"
#include "ui/app/toolbox.h"
#include "ui/document/qtconvert.h"
#include "ui/pool/pooleditor.h"
#include "ui/windows/flagseditorwindow.h"
#include "ui/windows/gadgetchooser.h"
#include "ui/windows/help.h"
#include "ui/windows/inputbox.h"
#include "ui/windows/replacevaridwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QLineEdit>
#include <QListView>
#include <QTableWidget>

namespace tafelbau {

namespace {

// A message box taller than the screen cannot be read; the rest is counted.
constexpr std::size_t kImportNotesShown = 30;

} // namespace

EditCommands::EditCommands(MainWindow &window) : QObject(&window), m_window(window)
{
    AppState &state = window.state();
    windows.inputBox = [this](const std::string &value, QPoint topLeft) {
        InputBox box(value, topLeft, &m_window);
        return box.run();
    };
    windows.flagsEditor = [this](const std::vector<FlagItem> &items,
                                 QPoint topLeft) -> std::optional<std::vector<FlagItem>> {
        FlagsEditorWindow editor(items, topLeft, &m_window);
        if (editor.exec() != QDialog::Accepted)
            return std::nullopt;
        return editor.items();
    };
    windows.replaceVarIds = [this]() -> std::optional<std::array<std::string, 3>> {
        ReplaceVarIdWindow dialog(m_window.state().displayScale, &m_window);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return std::array<std::string, 3>{toLatin1(dialog.prefix()->text()), toLatin1(dialog.search()->text()),
                                          toLatin1(dialog.replacement()->text())};
    };

    windows.largeText = [this](GadgetRecord &record) {
        return tafelbau::editLargeText(record, m_window.state().pool.settings, m_largeText, &m_window,
                                       m_window.state().displayScale);
    };

    MainWindow &w = window;
    // A command that may change the list, as one step of the history.
    auto asStep = [&w](const char *label, std::function<void()> body) {
        return [&w, label, body = std::move(body)] { w.runEdit(label, "", body); };
    };
    w.setCommand(ids::Add, [this] { showGadgetChooser(); });
    w.setCommand(ids::Delete, asStep("Löschen", [&w, &state] { w.applyOutcome(deleteSelectedGadgets(state.list)); }));
    w.setCommand(ids::Copy, [&state] {
        if (const auto text = copySelectedGadgets(state.list, state.copyBuffer))
            QApplication::clipboard()->setText(fromUtf8(*text));
    });
    w.setCommand(ids::Paste,
                 asStep("Einfügen", [&w, &state] {
                     w.applyOutcome(pasteGadgets(state.list, state.copyBuffer, w.shownCard()));
                 }));
    w.setCommand(ids::NewPage,
                 asStep("Neue Seite", [&w, &state] { w.applyOutcome(addPage(state.list, state.pool)); }));
    w.setCommand(ids::AssignCard, asStep("Karte zuordnen", [&w, &state, this] {
                     const auto answer = m_window.dialogs().inputText(kAssignCardTitle, assignCardPrompt(), "");
                     std::optional<std::string> latin1;
                     if (answer)
                         latin1 = utf8ToLatin1(*answer);
                     w.applyOutcome(
                         assignCard(state.list, latin1 ? std::optional<std::string_view>(*latin1) : std::nullopt));
                 }));
    w.setCommand(ids::ResetCode, asStep("Code zurücksetzen", [&w, &state, this] {
                     if (m_window.dialogs().askYesNo(kCodeResetTitle, codeResetQuestion()))
                         w.applyOutcome(resetGadgetCode(state.list, state.pool));
                 }));
    w.setCommand(ids::ReplaceVarId, asStep("Varid ersetzen", [&w, &state, this] {
                     if (const auto fields = windows.replaceVarIds()) {
                         for (const GadgetRecord &r : state.list.records())
                             if (r.selected)
                                 m_window.trackReferencesTo(r.varId);
                         w.applyOutcome(replaceVarIds(state.list, (*fields)[0], (*fields)[1], (*fields)[2]));
                     }
                 }));
    w.setCommand(ids::Import, asStep("Import aus Code", [this] { importFromCode(); }));
    w.setCommand(ids::LargeText, asStep("Text bearbeiten", [this] { editLargeText(); }));
    w.setCommand(ids::PoolEditor, [this] { editPool(); });
    for (int id = ids::StepUp; id <= ids::BigRight; ++id)
        w.setCommand(id, [this, id] { step(id); });
    w.setCommand(ids::ToggleMode, [&w, &state] {
        togglePlacementMode(state.placement);
        w.drawCard();
    });
    w.setGadgetCommand(ids::MoveUp,
                       asStep("Hoch", [&w, &state] { w.applyOutcome(moveSelectedGadgets(state.list, -1)); }));
    w.setGadgetCommand(ids::MoveDown,
                       asStep("Runter", [&w, &state] { w.applyOutcome(moveSelectedGadgets(state.list, +1)); }));
    w.setGadgetCommand(ids::Outdent,
                       asStep("Ausrücken", [&w, &state] { w.applyOutcome(shiftSelectedTab(state.list, -1)); }));
    w.setGadgetCommand(ids::Indent,
                       asStep("Einrücken", [&w, &state] { w.applyOutcome(shiftSelectedTab(state.list, +1)); }));
    w.setGadgetCommand(ids::Properties, [this] { editPropertyRow(); });
}

void EditCommands::showGadgetChooser()
{
    if (!m_chooser) {
        m_chooser = new GadgetChooser(m_window.state().displayScale, &m_window);
        connect(m_chooser, &GadgetChooser::chosen, this,
                [this](const QString &name) { addGadgetFromPool(toLatin1(name)); });
    }
    m_chooser->refill(m_window.state().pool);
    m_chooser->show();
    m_chooser->raise();
    m_chooser->activateWindow();
}

void EditCommands::addGadgetFromPool(const std::string &latin1Name)
{
    AppState &state = m_window.state();
    m_window.runEdit("Hinzufügen", "", [&] {
        m_window.applyOutcome(tafelbau::addGadgetFromPool(state.list, state.pool, latin1Name, state.newGadgetPosition));
    });
    // The chooser stays open behind the main window for the next one.
    m_window.activateWindow();
    m_window.raise();
}

void EditCommands::step(int id)
{
    AppState &state = m_window.state();
    const auto step = placementStepFor(id, state.settings.panelRaster, state.settings.panelRasterBig);
    if (!step)
        return;
    // Key steps of one kind in a row make one step of the history.
    const bool moving = state.placement == PlacementMode::Move;
    m_window.runEdit(moving ? "Verschieben" : "Grösse ändern", moving ? "move" : "resize", [&] {
        m_window.applyOutcome(step->axis == Axis::X
                                  ? stepSelectedX(state.list, state.placement, step->step, state.settings.panelWidth)
                                  : stepSelectedY(state.list, state.placement, step->step, state.settings.panelHeight));
    });
}

void EditCommands::editPropertyRow()
{
    AppState &state = m_window.state();
    const int current = currentRowGadget(state.list);
    const int row = m_window.propertyList()->currentRow();
    if (current < 0 || row < 0) {
        m_window.drawCard();
        return;
    }
    switch (rowEdit(row)) {
    case RowEdit::None: m_window.drawCard(); return;
    case RowEdit::Toggle:
        m_window.runEdit("Ignore XY", "", [&] { m_window.applyOutcome(toggleIgnoreXY(state.list)); });
        return;
    case RowEdit::FlagsEditor: {
        auto editor = openEditFlags(state.list, state.pool);
        if (editor) {
            const QPoint mouse = QCursor::pos();
            if (auto items = windows.flagsEditor(editor->items, mouse - QPoint(100, 150))) {
                editor->items = std::move(*items);
                m_window.runEdit("Flags ändern", "",
                                 [&] { m_window.applyOutcome(acceptEditFlags(state.list, *editor)); });
            }
        }
        m_window.drawCard();
        return;
    }
    case RowEdit::InputBox: {
        const GadgetRecord &r = state.list.records()[static_cast<std::size_t>(current)];
        const std::string value = propertyValueText(r, row);
        QTableWidget *props = m_window.propertyList();
        const QPoint origin = m_window.centralWidget()->mapToGlobal(QPoint(props->x() + props->columnWidth(0), 0));
        const std::string edited = windows.inputBox(value, QPoint(origin.x(), QCursor::pos().y() - 10));
        m_window.listView()->setFocus();
        m_window.runEdit(row == RowVarId ? "VarID ändern" : "Wert ändern", "", [&] {
            if (row == RowVarId)
                m_window.trackReferencesTo(state.list.records()[static_cast<std::size_t>(current)].varId);
            m_window.applyOutcome(tafelbau::editPropertyRow(state.list, row, edited, state.pool.settings.crSep));
        });
        m_window.propertyList()->selectRow(row);
        m_window.drawCard();
        return;
    }
    }
}

void EditCommands::editPool()
{
    AppState &state = m_window.state();
    PoolEditor editor(state.pool, state.poolFile, state.displayScale, m_window.dialogs(), &m_window);
    editor.setHelpOpener([](const HelpTarget &target) { openHelpAt(target); });
    editor.exec();
    // The chooser shows the pool as it is now, whatever happened in there.
    if (m_chooser)
        m_chooser->refill(m_window.state().pool);
    if (m_window.toolbox())
        m_window.toolbox()->refill(m_window.state().pool);
}

void EditCommands::editLargeText()
{
    AppState &state = m_window.state();
    if (state.list.isEmpty())
        return;
    // Without a selected row the last record is the one edited, as every
    // refresh leaves the list's cursor there.
    int row = currentRowGadget(state.list);
    if (row < 0)
        row = state.list.size() - 1;
    if (!windows.largeText(state.list.records()[static_cast<std::size_t>(row)]))
        return;
    m_window.documents().updateTitle(true);
    m_window.refreshGadgetList();
}

void EditCommands::importFromCode()
{
    AppState &state = m_window.state();
    const auto file = chooseFileToOpen(m_window.dialogs(), {state.listFile, state.settings.lastFolder},
                                       "Tafelbau Gadgets importieren aus Codedatei", {}, kSourceFileFilter);
    if (!file)
        return;
    // The next save would write the list's code over the source read here.
    if (const std::string conflict = importSourceConflict(*file, state.listFile, state.pool.settings);
        !conflict.empty()) {
        m_window.dialogs().showMessage(conflict);
        return;
    }
    const SourceImport imported = importSourceFile(*file, state.pool, state.list, kImportNotesShown);
    if (!imported.outcome.ok) {
        m_window.dialogs().showMessage(imported.outcome.message);
        return;
    }
    m_window.documents().updateTitle(true);
    m_window.refreshGadgetList();
    if (!imported.report.empty())
        m_window.dialogs().showMessage(imported.report);
}

} // namespace tafelbau

#include "core/commands/documentcommands.h"

#include "core/codegen/codefile.h"
#include "core/codegen/structurecheck.h"
#include "core/commands/filechoosers.h"
#include "core/document/latin1.h"
#include "core/document/listfile.h"
#include "core/document/listviews.h"

#include <sys/stat.h>

namespace tafelbau {

namespace {
const std::string kDiscardQuestion = "Aktuelle Gadgetliste verwerfen?!";
}

bool listFileExists(const std::filesystem::path &path)
{
    struct stat st = {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

DocumentCommands::DocumentCommands(DocumentState state, Dialogs &dialogs, DocumentViews &views,
                                   std::function<std::time_t()> clock, FileOps &files)
    : m_state(state), m_dialogs(dialogs), m_views(views), m_clock(std::move(clock)), m_files(files)
{
}

void DocumentCommands::updateTitle(bool changed)
{
    m_state.changed = changed;
    m_views.showTitle(windowTitle(m_state.listFile, changed));
}

void DocumentCommands::newList()
{
    if (!m_state.list.isEmpty() && !m_dialogs.askYesNo("Neue Liste", kDiscardQuestion))
        return;
    m_state.list.clear();
    m_state.listFile.clear();
    m_state.history.clear();
    updateTitle(false);
    // All three views follow the emptied list, the card chooser included.
    m_views.refreshGadgetList();
}

void DocumentCommands::openList(const std::filesystem::path &path)
{
    if (!m_state.list.isEmpty() && !m_dialogs.askYesNo("Gadgetliste laden", kDiscardQuestion))
        return;
    std::filesystem::path chosen = path;
    if (chosen.empty()) {
        const auto picked = chooseFileToOpen(m_dialogs, {m_state.listFile, m_state.lastFolder}, "Gadgetliste laden",
                                             m_state.listFile.filename(), kListFileFilter);
        if (!picked)
            return;
        chosen = *picked;
    }
    if (const Outcome loaded = loadListFile(chosen, m_state.list, frameColoursOf(m_state.pool)); !loaded.ok) {
        m_dialogs.showMessage(loaded.message);
        return;
    }
    m_state.listFile = chosen;
    if (!m_state.list.isEmpty())
        m_state.list.records().front().selected = true;
    m_state.history.clear();
    updateTitle(false);
    m_views.refreshGadgetList();
}

bool DocumentCommands::saveList()
{
    TextEncoding encoding = m_state.list.encoding();
    if (const Outcome written = writeListFile(m_state.listFile, m_state.list, m_files, &encoding); !written.ok) {
        m_dialogs.showMessage(written.message);
        return false;
    }
    m_state.history.markSaved();
    // Written as UTF-8 once, the list stays so.
    m_state.list.setEncoding(encoding);
    m_views.showTitle(windowTitle(m_state.listFile, false));
    const Outcome code = generateCodeFile(m_state.listFile, m_state.list, m_state.pool.settings, m_clock(), m_files);
    if (!code.ok)
        m_dialogs.showMessage(code.message);
    else if (!code.notice.empty())
        m_views.showStatus(code.notice);
    // Saved anyway: a half-built dialog is still worth keeping.
    m_views.showStructureProblems(checkStructure(m_state.list).size());
    updateTitle(false);
    return true;
}

DocumentCommands::SaveOutcome DocumentCommands::saveListAsOutcome()
{
    const auto chosen = chooseFileToSave(m_dialogs, {m_state.listFile, m_state.lastFolder}, "Gadgetliste speichern",
                                         "dialogs.tbf", kListFileFilter);
    if (!chosen)
        return SaveOutcome::Declined;
    if (listFileExists(*chosen)
        && !m_dialogs.askYesNo("Datei ersetzen", latin1ToUtf8("Wollen Sie die Datei wirklich \374berschreiben?")))
        return SaveOutcome::Declined;
    m_state.listFile = *chosen;
    return saveList() ? SaveOutcome::Saved : SaveOutcome::Failed;
}

bool DocumentCommands::saveListAs()
{
    return saveListAsOutcome() == SaveOutcome::Saved;
}

bool DocumentCommands::save()
{
    return listFileExists(m_state.listFile) ? saveList() : saveListAs();
}

bool DocumentCommands::confirmQuit()
{
    if (m_state.list.isEmpty() || !m_state.changed)
        return true;
    if (!m_dialogs.askYesNo("Gadgetliste speichern", "Wollen Sie die Gadgetliste noch speichern?"))
        return true;
    // A cancelled chooser means "do not save", and the program ends; a save
    // that failed keeps the window open, so that the work is not lost.
    if (listFileExists(m_state.listFile))
        return saveList();
    return saveListAsOutcome() != SaveOutcome::Failed;
}

} // namespace tafelbau

#include "core/commands/documentcommands.h"

#include "core/codegen/codefile.h"
#include "core/codegen/structurecheck.h"
#include "core/commands/filechoosers.h"
#include "core/document/latin1.h"
#include "core/document/listfile.h"
#include "core/document/listviews.h"

#include <ctime>
#include <sys/stat.h>

namespace tafelbau {

namespace {
const std::string kDiscardQuestion = "Aktuelle Gadgetliste verwerfen?!";
const std::string kChangedOnDisk = latin1ToUtf8("Die Gadgetliste wurde au\xDF"
                                                "erhalb von Tafelbau ge\xE4ndert. Trotzdem speichern?");
const std::string kOpenWord = latin1ToUtf8("\xF6"
                                           "ffnen");
} // namespace

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

bool DocumentCommands::mayDiscard(const std::string &title)
{
    if (m_state.list.isEmpty())
        return true;
    if (!m_state.changed)
        return m_dialogs.askYesNo(title, kDiscardQuestion);
    // With unsaved changes, Return and Escape both keep them.
    return m_dialogs.askChoice(title, kDiscardQuestion, {"Ja", "Nein"}, 1, 1) == 0;
}

bool DocumentCommands::keepRecovery()
{
    // Undone back to what is on disk: a recovery written before would bring
    // back what the user took back.
    if (!m_state.changed) {
        if (m_recoveryOf)
            dropRecovery();
        return true;
    }
    if (!writeRecovery(m_state.listFile, m_state.list, m_files))
        return false;
    m_recoveryOf = m_state.listFile;
    return true;
}

void DocumentCommands::dropRecovery()
{
    if (m_recoveryOf && *m_recoveryOf != m_state.listFile)
        removeRecovery(*m_recoveryOf, m_files);
    removeRecovery(m_state.listFile, m_files);
    m_recoveryOf.reset();
}

void DocumentCommands::offerRecovery(const Recovery &recovery)
{
    char when[64] = "";
    if (const std::tm *t = std::localtime(&recovery.written))
        std::strftime(when, sizeof when, "%d.%m.%Y um %H:%M:%S", t);
    const std::string which = recovery.listFile.empty() ? std::string("eine neue Gadgetliste")
                                                        : "die Gadgetliste " + recovery.listFile.string();
    const std::string text = latin1ToUtf8("Tafelbau wurde beendet, ohne zu speichern. F\xFCr ") + which
        + latin1ToUtf8(" gibt es ungespeicherte \xC4nderungen vom ") + when + ".";
    // Only "Verwerfen" itself throws them away; Return and Escape restore.
    if (m_dialogs.askChoice("Gadgetliste wiederherstellen", text, {"Wiederherstellen", "Verwerfen"}, 0, 0) != 0) {
        removeRecovery(recovery);
        return;
    }
    if (const Outcome loaded = loadListFile(recovery.file, m_state.list, frameColoursOf(m_state.pool)); !loaded.ok) {
        m_dialogs.showMessage(loaded.message);
        return;
    }
    m_state.listFile = recovery.listFile;
    // Saving over the list is what restoring is for: no question about its
    // change on disk.
    noteIdentity();
    if (!m_state.list.isEmpty())
        m_state.list.records().front().selected = true;
    m_state.history.clear();
    m_state.history.markUnsaved();
    updateTitle(true);
    m_views.refreshGadgetList();
    // Kept as this editor's own from now on; a new list's recovery of an
    // earlier run is then gone, a named list's is this one.
    if (keepRecovery() && recovery.writer != 0)
        removeRecovery(recovery);
}

void DocumentCommands::offerRecoveryAtStart()
{
    // A list another editor has open is its recovery, not one left behind.
    const auto recovery = newestRecovery(m_files, [this](const Recovery &r) {
        ListLock probe;
        return r.listFile.empty() || m_lock.holds(r.listFile, m_files) || probe.acquire(r.listFile, m_files) == 0;
    });
    if (!recovery)
        return;
    // Opening the list offers its recovery, as every opening of it does.
    if (listFileExists(recovery->listFile))
        openList(recovery->listFile);
    else
        offerRecovery(*recovery);
}

std::optional<ListLock> DocumentCommands::lockToOpen(const std::filesystem::path &listFile, bool &othersHaveIt)
{
    ListLock lock;
    const long other = lock.acquire(listFile, m_files);
    othersHaveIt = other != 0;
    if (other == 0)
        return lock;
    const std::string text = latin1ToUtf8("Die Gadgetliste ist bereits in einem anderen Tafelbau-Fenster ge\xF6"
                                          "ffnet (Prozess ")
        + (other > 0 ? std::to_string(other) : std::string("?")) + ").";
    // Return and Escape leave the other editor alone with it.
    const std::vector<std::string> buttons = {"Trotzdem " + kOpenWord, "Nicht " + kOpenWord};
    if (m_dialogs.askChoice("Gadgetliste laden", text, buttons, 1, 1) != 0)
        return std::nullopt;
    return lock;
}

void DocumentCommands::newList()
{
    if (!mayDiscard("Neue Liste"))
        return;
    dropRecovery();
    m_state.list.clear();
    m_state.listFile.clear();
    m_state.history.clear();
    noteIdentity();
    m_lock.release();
    updateTitle(false);
    // All three views follow the emptied list, the card chooser included.
    m_views.refreshGadgetList();
}

void DocumentCommands::openList(const std::filesystem::path &path)
{
    if (!mayDiscard("Gadgetliste laden"))
        return;
    dropRecovery();
    std::filesystem::path chosen = path;
    if (chosen.empty()) {
        const auto picked = chooseFileToOpen(m_dialogs, {m_state.listFile, m_state.lastFolder}, "Gadgetliste laden",
                                             m_state.listFile.filename(), kListFileFilter);
        if (!picked)
            return;
        chosen = *picked;
    }
    // Opened again here, the list keeps the lock it has.
    std::optional<ListLock> lock;
    bool othersHaveIt = false;
    if (!m_lock.holds(chosen, m_files) && !(lock = lockToOpen(chosen, othersHaveIt)))
        return;
    if (const Outcome loaded = loadListFile(chosen, m_state.list, frameColoursOf(m_state.pool)); !loaded.ok) {
        m_dialogs.showMessage(loaded.message);
        return;
    }
    if (lock)
        m_lock = std::move(*lock);
    m_state.listFile = chosen;
    noteIdentity();
    if (!m_state.list.isEmpty())
        m_state.list.records().front().selected = true;
    m_state.history.clear();
    updateTitle(false);
    m_views.refreshGadgetList();
    // Opened all the same while another editor has it, the recovery there
    // is that editor's, not one left behind.
    if (const auto recovery = findRecovery(chosen, m_files); recovery && !othersHaveIt)
        offerRecovery(*recovery);
}

void DocumentCommands::noteIdentity()
{
    m_identityPath = m_state.listFile;
    m_identity = m_identityPath.empty() ? std::nullopt : fileIdentityOf(m_identityPath);
}

bool DocumentCommands::listFileChangedOnDisk() const
{
    return m_identity && m_identityPath == m_state.listFile && changedOnDisk(*m_identity, m_state.listFile);
}

DocumentCommands::DiskAnswer DocumentCommands::askAboutDiskChange()
{
    // The watch sees the file while the question is open: one question.
    if (m_askingAboutDisk)
        return DiskAnswer::Cancel;
    m_askingAboutDisk = true;
    const DiskAnswer answer = askAboutDiskChangeOnce();
    m_askingAboutDisk = false;
    return answer;
}

DocumentCommands::DiskAnswer DocumentCommands::askAboutDiskChangeOnce()
{
    // Return and Escape both cancel: neither the other program's work nor
    // the user's own is lost by a stray key.
    switch (m_dialogs.askChoice("Gadgetliste speichern", kChangedOnDisk,
                                {latin1ToUtf8("\xDC"
                                              "berschreiben"),
                                 "Neu laden", "Abbrechen"},
                                2, 2)) {
    case 0: return DiskAnswer::Overwrite;
    case 1: return reloadListFile() ? DiskAnswer::Reloaded : DiskAnswer::Cancel;
    default: return DiskAnswer::Cancel;
    }
}

bool DocumentCommands::reloadListFile()
{
    GdtList loaded;
    if (const Outcome read = loadListFile(m_state.listFile, loaded, frameColoursOf(m_state.pool)); !read.ok) {
        m_dialogs.showMessage(read.message);
        return false;
    }
    GdtList &list = m_state.list;
    m_state.history.begin(list, m_views.shownCard(), "Neu laden");
    // The records get new lvids after those of the list shown, so that the
    // history tells them from the records it may bring back.
    list.records().clear();
    list.setCurrentIndex(GdtList::kNone);
    for (GadgetRecord &r : loaded.records())
        list.append(std::move(r));
    if (!list.isEmpty()) {
        list.setCurrentIndex(0);
        list.records().front().selected = true;
    }
    list.setEncoding(loaded.encoding());
    m_state.history.commit(list, m_views.shownCard());
    m_state.history.markSaved();
    noteIdentity();
    updateTitle(false);
    m_views.refreshGadgetList();
    return true;
}

void DocumentCommands::listChangedOnDisk()
{
    if (m_askingAboutDisk || !listFileChangedOnDisk())
        return;
    if (!m_state.changed) {
        if (reloadListFile())
            m_views.showStatus(latin1ToUtf8("Die Gadgetliste wurde au\xDF"
                                            "erhalb von Tafelbau ge\xE4ndert und neu "
                                            "geladen: ")
                               + m_state.listFile.string());
        return;
    }
    if (askAboutDiskChange() == DiskAnswer::Overwrite)
        saveList(false);
}

bool DocumentCommands::saveList()
{
    return saveList(true);
}

bool DocumentCommands::saveList(bool askIfChangedOnDisk)
{
    if (askIfChangedOnDisk && listFileChangedOnDisk() && askAboutDiskChange() != DiskAnswer::Overwrite)
        return false;
    TextEncoding encoding = m_state.list.encoding();
    std::uint64_t hash = 0;
    if (const Outcome written = writeListFile(m_state.listFile, m_state.list, m_files, &encoding, &hash); !written.ok) {
        m_dialogs.showMessage(written.message);
        return false;
    }
    // What was written is known: reading it back would cost a big list's
    // save more than the look before it.
    m_identityPath = m_state.listFile;
    m_identity = writtenFileIdentity(m_state.listFile, hash);
    dropRecovery();
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
    if (!saveList())
        return SaveOutcome::Failed;
    // The list now is the one saved: its lock, if nobody else has it.
    if (!m_lock.holds(m_state.listFile, m_files)) {
        ListLock lock;
        lock.acquire(m_state.listFile, m_files);
        m_lock = std::move(lock);
    }
    return SaveOutcome::Saved;
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
    const bool mayEnd = askToQuit();
    if (mayEnd)
        dropRecovery();
    return mayEnd;
}

bool DocumentCommands::askToQuit()
{
    if (m_state.list.isEmpty() || !m_state.changed)
        return true;
    // Escape and the close button cancel quitting: a stray key must not
    // throw the changes away.
    switch (m_dialogs.askYesNoCancel("Gadgetliste speichern", "Wollen Sie die Gadgetliste noch speichern?")) {
    case Answer::No: return true;
    case Answer::Cancel: return false;
    case Answer::Yes: break;
    }
    // Only a save that succeeded ends the program; a cancelled chooser or a
    // failed save returns to the editor with the work.
    if (listFileExists(m_state.listFile))
        return saveList();
    return saveListAsOutcome() == SaveOutcome::Saved;
}

} // namespace tafelbau

#pragma once

#include "core/commands/history.h"
#include "core/document/dialogs.h"
#include "core/document/fileidentity.h"
#include "core/document/listlock.h"
#include "core/document/recoveryfile.h"
#include "core/document/fileops.h"
#include "core/document/gdtlist.h"
#include "core/pool/gdtpool.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace tafelbau {

/// What the document commands need of the window's views.
class DocumentViews
{
public:
    virtual ~DocumentViews() = default;
    virtual void showTitle(const std::string &utf8) = 0;
    /// Rebuilds the gadget list view, the card chooser and the property list
    /// from the list, and redraws the card.
    virtual void refreshGadgetList() = 0;
    /// Says something once that needs no answer (the status line).
    virtual void showStatus(const std::string &utf8) { (void)utf8; }
    /// After every save: how many structure problems the saved list has
    /// (see checkStructure); 0 when it is clean.
    virtual void showStructureProblems(std::size_t count) { (void)count; }
    /// The card shown, which a step of the history keeps.
    virtual std::int32_t shownCard() const { return 0; }
};

inline constexpr const char *kListFileFilter = "TafelbauFiles (*.tbf)|*.tbf|Alle Dateien|*.*";

/// The part of the program's state that new, open and save work on.
struct DocumentState
{
    GdtList &list;
    std::filesystem::path &listFile; ///< empty for a new list
    bool &changed;
    const GdtPool &pool; ///< frame colours of a loaded list, code-file settings of a save
    History &history;    ///< starts afresh with every list; knows which state was saved
    std::string &lastFolder; ///< where the choosers open without a list; follows what is chosen
};

/// New, open, save and save as, with their questions and choosers.
class DocumentCommands
{
public:
    DocumentCommands(
        DocumentState state, Dialogs &dialogs, DocumentViews &views,
        std::function<std::time_t()> clock = [] { return std::time(nullptr); }, FileOps &files = FileOps::system());

    /// Sets or clears the change mark and rewrites the title.
    void updateTitle(bool changed);

    void newList();
    /// An empty path asks for the file.
    void openList(const std::filesystem::path &path);
    /// Writes the list and regenerates its code file. False when the list
    /// could not be written (the change mark then stays) or was not: the
    /// file changed on disk since it was loaded or saved here, and the user
    /// did not choose to overwrite it.
    bool saveList();
    /// False when nothing was saved (cancelled, declined or failed).
    bool saveListAs();
    /// Ctrl+S: save when a file is at the list path, else save as.
    bool save();

    /// The quit question, with "Abbrechen". True when the program may end:
    /// nothing to save, the user said No, or the save succeeded. False keeps
    /// the window open: cancelled (Escape, the close button, the chooser) or
    /// a save that failed.
    bool confirmQuit();

    /// The list file was seen changing on disk: unchanged bytes (our own
    /// save, a touch) do nothing; without unsaved changes the list is loaded
    /// again and the status line says so; with them the user is asked at
    /// once, as before a save.
    void listChangedOnDisk();

    /// Keeps the list in its recovery file while it has unsaved changes; a
    /// timer calls it a while after the last change, and so does a request
    /// to end the program from outside. False when it could not be written.
    bool keepRecovery();
    /// At a start without a list: offers the newest recovery left behind.
    void offerRecoveryAtStart();

    /// The list file as it was last loaded or saved here; nullopt for a new
    /// list or one that could not be read back.
    const std::optional<FileIdentity> &listIdentity() const { return m_identity; }

private:
    enum class DiskAnswer { Overwrite, Reloaded, Cancel };
    bool saveList(bool askIfChangedOnDisk);
    bool askToQuit();
    /// Asks about a list file changed since it was loaded or saved here.
    DiskAnswer askAboutDiskChange();
    DiskAnswer askAboutDiskChangeOnce();
    /// Whether the list file holds other bytes than it did when last loaded
    /// or saved here.
    bool listFileChangedOnDisk() const;
    /// Loads the list file again as one step of the history: undo returns to
    /// what was shown.
    bool reloadListFile();
    void noteIdentity();
    /// The lock of `listFile` for this editor; when another editor holds it
    /// (`othersHaveIt`), whether the user opens the list all the same.
    /// nullopt: not at all.
    std::optional<ListLock> lockToOpen(const std::filesystem::path &listFile, bool &othersHaveIt);
    /// "Wiederherstellen" or "Verwerfen" for a recovery left behind.
    void offerRecovery(const Recovery &recovery);
    /// The list's recovery is not wanted any more: saved, or discarded.
    void dropRecovery();
    /// "Aktuelle Gadgetliste verwerfen?!" before New and Open, for a
    /// non-empty list; with unsaved changes "Nein" is what Return and
    /// Escape answer.
    bool mayDiscard(const std::string &title);
    enum class SaveOutcome { Saved, Declined, Failed };
    SaveOutcome saveListAsOutcome();

    DocumentState m_state;
    Dialogs &m_dialogs;
    DocumentViews &m_views;
    std::function<std::time_t()> m_clock;
    FileOps &m_files;
    std::optional<FileIdentity> m_identity;
    std::filesystem::path m_identityPath; ///< the list file m_identity is of
    std::optional<std::filesystem::path> m_recoveryOf; ///< the list whose recovery was written last
    ListLock m_lock; ///< of the list shown, unless another editor had it first
    bool m_askingAboutDisk = false;
};

/// Whether a file (not a folder) is at `path`, as "its size can be taken".
bool listFileExists(const std::filesystem::path &path);

} // namespace tafelbau

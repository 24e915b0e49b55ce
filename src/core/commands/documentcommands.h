#pragma once

#include "core/commands/history.h"
#include "core/document/dialogs.h"
#include "core/document/fileops.h"
#include "core/document/gdtlist.h"
#include "core/pool/gdtpool.h"

#include <ctime>
#include <filesystem>
#include <functional>
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
    /// could not be written (the change mark then stays).
    bool saveList();
    /// False when nothing was saved (cancelled, declined or failed).
    bool saveListAs();
    /// Ctrl+S: save when a file is at the list path, else save as.
    bool save();

    /// The quit question. True when the program may end: nothing to save,
    /// the user declined or cancelled the chooser, or the save succeeded.
    /// False keeps the window open because a save failed and the work would
    /// be lost.
    bool confirmQuit();

private:
    enum class SaveOutcome { Saved, Declined, Failed };
    SaveOutcome saveListAsOutcome();

    DocumentState m_state;
    Dialogs &m_dialogs;
    DocumentViews &m_views;
    std::function<std::time_t()> m_clock;
    FileOps &m_files;
};

/// Whether a file (not a folder) is at `path`, as "its size can be taken".
bool listFileExists(const std::filesystem::path &path);

} // namespace tafelbau

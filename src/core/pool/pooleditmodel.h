#pragma once

#include "core/document/dialogs.h"
#include "core/pool/gdtpool.h"
#include "core/pool/helptarget.h"
#include "core/pool/programtemplates.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tafelbau {

/// What the pool editor's fields hold, as the user sees them: every value
/// is text (Latin-1, line breaks CR LF) until it is stored into an entry.
struct PoolEntryFields
{
    std::string name;
    std::string code;
    std::string importcode;
    std::string importwerttrenn;
    std::string x = "10";
    std::string y = "10";
    std::string xd = "200";
    std::string yd = "20";
    bool xy0 = false;
    std::string flags;
    std::string flagsep = "|";
    std::array<std::string, 10> p;
    std::string helpfile;
    std::string helptopic;
    bool dontshow = false;
    std::string color = "color";
    /// The colour field's background; none until an entry or a chosen
    /// colour has been shown.
    std::optional<std::uint32_t> colorBackground;

    bool operator==(const PoolEntryFields &) const = default;
};

/// The pool editor without its widgets: the list of entry names with its
/// selection, the fields, the shown entry and the pool changed mark, and
/// every command of the window. The window copies its widgets into
/// fields() and setSelectedRow() before a command and shows rows(),
/// selectedRow() and fields() after it.
///
/// The pool is edited in place; the pool file is written only by save() or
/// a Yes to the close question, and read again when the editor is left
/// otherwise. Messages go to `dialogs` as UTF-8.
class PoolEditModel
{
public:
    PoolEditModel(GdtPool &pool, std::filesystem::path poolFile, Dialogs &dialogs);

    const std::vector<std::string> &rows() const { return m_rows; }
    /// -1 when no row is selected.
    int selectedRow() const { return m_selected; }
    void setSelectedRow(int row);
    PoolEntryFields &fields() { return m_fields; }
    const PoolEntryFields &fields() const { return m_fields; }
    const std::string &shownName() const { return m_shown; }
    bool poolChanged() const { return m_changed; }

    /// Fills the list and shows its first entry, storing nothing.
    void open();

    void refreshPoolList();
    void showPoolEntry(const std::string &name);

    enum class StoreMode { New, Update };
    /// Stores the fields as a new entry, or into the entry named
    /// `entryToChange`. On failure the user has been told why, and neither
    /// pool nor fields have changed.
    bool storePoolEntry(StoreMode mode, const std::string &entryToChange = {});
    /// Stores the fields into the shown entry, then shows the selected row.
    /// When storing fails the selection goes back to the shown entry and the
    /// fields keep what the user typed; false then.
    bool takeOverShownEntry();

    // The window's commands; a click in the list is takeOverShownEntry().
    void addNew();
    void deleteSelected();
    /// Opens the colour chooser once, from the colour the field names.
    void chooseFrameColour();
    HelpTarget helpTarget() const;
    /// The main program's templates the pool uses now.
    ProgramTemplates programTemplates() const;
    /// Takes the templates the user edited; a change sets the pool changed
    /// mark, so that closing asks before it is lost.
    void setProgramTemplates(const ProgramTemplates &edited);

    enum class Leave { Stay, Close };
    /// "Speichern". Stays when the shown entry cannot be stored. A pool
    /// file that cannot be written is reported and the edits stay in
    /// memory; the window closes either way.
    Leave save();
    /// "Abbrechen": the pool is read again from its file.
    Leave cancel();
    /// The close box: asks whether to keep the changes when there are any.
    Leave requestClose();

private:
    void fillEntry(PoolEntry &entry) const;
    bool refuseName(const std::string &name, const PoolEntry *self);
    bool writePool();
    void reloadPool();
    int rowOf(const std::string &name) const;

    GdtPool &m_pool;
    std::filesystem::path m_poolFile;
    Dialogs &m_dialogs;
    std::vector<std::string> m_rows;
    int m_selected = -1;
    PoolEntryFields m_fields;
    std::string m_shown;
    bool m_changed = false;
};

} // namespace tafelbau

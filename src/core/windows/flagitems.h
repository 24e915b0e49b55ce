#pragma once

#include "core/commands/editoutcome.h"
#include "core/document/gdtlist.h"
#include "core/pool/gdtpool.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tafelbau {

/// One row of the flags editor.
struct FlagItem
{
    std::string name;  ///< label shown in the list
    std::string value; ///< text written into the record's flags
    bool on = false;   ///< row selected

    bool operator==(const FlagItem &) const = default;
};

/// One item per line of a pool entry's flag text (lines end at CR LF or CR;
/// an empty text is one empty line), each of the form "default:Name = value".
/// The default part is ignored; an item is on when its value is not empty
/// and occurs anywhere in `recordFlags`, so a value that is part of a longer
/// flag counts as present.
std::vector<FlagItem> flagItems(std::string_view poolFlags, std::string_view recordFlags);

/// The values of the items that are on, in list order, joined by `flagsep`.
/// An empty value taken while the result is still empty adds nothing.
std::string flagsFromItems(const std::vector<FlagItem> &items, std::string_view flagsep);

/// What the flags editor edits: the current row's record and the items of
/// its pool entry.
struct FlagsEditor
{
    int index = GdtList::kNone;
    std::vector<FlagItem> items;
    std::string flagsep;
};

/// Title of the editor window (plain ASCII).
inline constexpr char kFlagsEditorTitle[] = "Flags (enter/esc exits)";

/// Prepares the editor for the current row's record. nullopt -- the editor
/// does not open -- when no row is selected or no pool entry has the
/// record's type, since accepting would then throw all its flags away.
std::optional<FlagsEditor> openEditFlags(GdtList &list, const GdtPool &pool);

/// Accepted: the record's flags become the checked items' values. Marks a
/// change even when the flags stay the same. Cancelling needs no call.
EditOutcome acceptEditFlags(GdtList &list, const FlagsEditor &editor);

} // namespace tafelbau

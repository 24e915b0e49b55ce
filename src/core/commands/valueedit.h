#pragma once

#include "core/commands/editoutcome.h"
#include "core/document/gdtlist.h"
#include "core/pool/gdtpool.h"

#include <string>
#include <string_view>

namespace tafelbau {

/// The rows of the property list, in the order it shows them; rows
/// P0 .. P0 + 9 hold the ten free parameters.
enum PropertyRow : int {
    RowTyp = 0,
    RowVarId,
    RowCode,
    RowText,
    RowX,
    RowY,
    RowIgnoreXY,
    RowXD,
    RowYD,
    RowFlags,
    RowKarte,
    RowDontShow,
    RowP0,
    PropertyRowCount = RowP0 + 10
};

/// What choosing a property row does.
enum class RowEdit { None, InputBox, Toggle, FlagsEditor };
RowEdit rowEdit(int row) noexcept;

/// The text a row shows in its value column and hands to the input box:
/// numbers in decimal, flags as "0" or "1". Empty for rows out of range.
std::string propertyValueText(const GadgetRecord &record, int row);

/// Message for an empty or taken VarID typed into the property list (UTF-8).
inline constexpr char kVarIdRefused[] = "Die VarID darf nicht schon vorkommen oder leer sein!";
/// Message for a VarID with a line break in it, pasted into the input box.
inline constexpr char kVarIdLineBreak[] = "Die VarID darf keinen Zeilenumbruch enthalten!";

/// Stores what the input box returned for `row` of the current row's record.
/// The box was opened with `propertyValueText` of that row; the change mark
/// is set whenever the result differs from it, as the box reports a change
/// then -- a refused VarID included. A
/// VarID is refused (old one kept, `message` set) when empty or held by
/// another record; numbers are read as whole numbers ("12abc" gives 12, "$1F"
/// 31). A changed card number also asks for the card displays to follow.
/// A renamed VarID takes every reference to it along. A line break pasted
/// into a caption or parameter becomes `lineBreakCode`
/// (the pool's), as the large-text editor writes it; one in a VarID refuses
/// it.
EditOutcome editPropertyRow(GdtList &list, int row, std::string_view edited, std::string_view lineBreakCode);

/// The "Ignore XY" row: 1 becomes 0, anything else 1; always marks a change.
EditOutcome toggleIgnoreXY(GdtList &list);

/// Title and question asked before the code is reset (UTF-8).
inline constexpr char kCodeResetTitle[] = "Code reset";
std::string codeResetQuestion();

/// Restores code template and parameter names of every selected record from
/// the first pool entry of its type; records of unknown type stay as they
/// are. Call only after the question was answered Yes.
EditOutcome resetGadgetCode(GdtList &list, const GdtPool &pool);

/// "Varid ersetzen" accepted: in every selected VarID replaces each
/// occurrence of `search` (unless empty) by `replacement`, left to right and
/// A-Z matched regardless of case, then puts `prefix` in front. Duplicate or
/// empty identifiers are not prevented. Texts are Latin-1. References to a
/// renamed VarID follow it, each once.
EditOutcome replaceVarIds(GdtList &list, std::string_view prefix, std::string_view search,
                          std::string_view replacement);

/// Every reference to the VarID `from` (see referencedVarIds) in `list`
/// made one to `to`. True when one changed.
bool renameReferencesEverywhere(GdtList &list, std::string_view from, std::string_view to);

/// The replacement step of `replaceVarIds` on one text.
std::string replaceAllFolded(std::string_view text, std::string_view search, std::string_view replacement);

} // namespace tafelbau

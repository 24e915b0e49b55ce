// Reading gadgets back from PureBasic source as PureBasic: statements,
// strings, comments and calls instead of text lines. Every call of a function
// that a pool entry's import mask names becomes a gadget record, its
// arguments given to the mask's placeholders by position. The pool chooses
// this reading with GGdtPoolImportSyntax; without it import reads line by
// line (codegen/import.h).
#pragma once

#include "core/document/gdtlist.h"
#include "core/document/outcome.h"
#include "core/pool/gdtpool.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tafelbau {

/// A value that the gadget cannot hold as the source writes it (a caption
/// that is no string, a coordinate that is no number, ...): the gadget got
/// the nearest value, and the user is told.
struct ImportNote
{
    std::size_t line = 0; ///< 1-based source line where the value stands
    std::string gadget;   ///< pool entry name and VarID (Latin-1)
    std::string found;    ///< what the source holds (Latin-1)
    std::string taken;    ///< what the gadget got instead (Latin-1)
};

struct ImportReport
{
    int gadgets = 0;
    std::vector<ImportNote> notes; ///< in source order
};

/// Appends one record per gadget call in `bytes` (lines ending at CR LF, LF
/// or CR) to `list`, in the order the calls start, except that a gadget
/// made in an argument of another comes before it; all on the card that was
/// the next free one before. Calls in comments and strings do not count.
/// A UTF-8 source (a byte-order mark, or valid UTF-8 beyond ASCII) has its
/// values turned into Latin-1; other sources are taken as Latin-1.
/// Identifiers are made unique against the list, ignoring the letter case
/// of A-Z; names the source gives win over names made up for gadgets it
/// gives none, wherever they stand. The pool is only read. Linear in the
/// size of the source.
ImportReport importSourceSyntax(std::string_view bytes, const GdtPool &pool, GdtList &list);

/// The message for after a syntax import (UTF-8, lines split by CR LF): the
/// number of gadgets read, then the notes, at most `maxNotes` of them and a
/// line that counts the rest.
std::string importReportMessage(const ImportReport &report, std::size_t maxNotes);

struct SourceImport
{
    Outcome outcome;
    /// UTF-8 message to show once the import is done; empty when the pool
    /// reads sources line by line, which reports nothing.
    std::string report;
};

/// Reads `source` whole and imports it by the reading the pool selects.
/// When the file cannot be read, `list` stays as it was and the message
/// names the file.
SourceImport importSourceFile(const std::filesystem::path &source, const GdtPool &pool, GdtList &list,
                              std::size_t maxNotes);

} // namespace tafelbau

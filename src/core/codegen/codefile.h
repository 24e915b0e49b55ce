#pragma once

#include "core/document/fileops.h"
#include "core/document/gdtlist.h"
#include "core/document/outcome.h"
#include "core/pool/poolentry.h"

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace tafelbau {

struct CodeFileNames
{
    std::filesystem::path code;
    std::filesystem::path exportFile;
};

/// The list file path without its last four characters, followed by the
/// pool's code-file extension, and by "PBFExport.pbf" for the export file.
/// A list whose file name does not end in "." and three more characters
/// ("dlg", "x.tbff") keeps its whole path instead: the cut would reach into
/// the folder part and name a file beside the list's folder.
CodeFileNames codeFileNames(const std::filesystem::path &listPath, const PoolSettings &settings);

/// Whether `a` and `b` name the same file: as the file system tells when
/// both exist (links), as their paths are spelled once made absolute and
/// normal, and also when they differ only in letter case and either exists:
/// on a file system that ignores case (FAT, exFAT) they are one file, even
/// where its driver reports two different ones. `files` answers stat(2).
bool sameFile(const std::filesystem::path &a, const std::filesystem::path &b, FileOps &files = FileOps::system());

/// "Fehler: Codedatei und Gadgetliste wären dieselbe Datei: " + path (UTF-8).
std::string sameFileMessage(const std::filesystem::path &path);

/// "Fehler: Die Quelldatei wäre die Codedatei der Gadgetliste: " + source
/// (UTF-8) when importing `source` into the list at `listFile` would have
/// the next save write the list's code or export file over it; empty when
/// it would not (or the list has no file yet).
std::string importSourceConflict(const std::filesystem::path &source, const std::filesystem::path &listFile,
                                 const PoolSettings &settings, FileOps &files = FileOps::system());

/// Whether the pool names no code-file extension (none at all, or only
/// dots): then no code file is written, as its name would be the list's
/// without extension -- the name the compiler gives a program built from it.
bool lacksCodeFileExtension(const PoolSettings &settings);

/// "dd.mm.yyyy hh:ii" in local time.
std::string codeFileDate(std::time_t when);

/// The whole code file for `list`: the fixed header, the constants of the
/// visible gadgets and every gadget's expanded template, lines ending CR LF.
std::string codeFileBytes(const GdtList &list, const PoolSettings &settings, std::time_t when);

// The pieces codeFileBytes() is made of, in file order, for a caller that
// keeps them apart (the code view caches them per record).

/// The header, the empty line after it and "Enumeration 1".
void appendCodeFileHead(std::string &out, const PoolSettings &settings, std::time_t when);
/// The record's constant line; nothing for a record that is not drawn.
void appendEnumerationLine(std::string &out, const GadgetRecord &record);
/// What closes the enumeration, up to the empty line before the blocks.
inline constexpr std::string_view kEnumerationEnd =
    "EndEnumeration\r\n#GadgetIndex=#PB_Compiler_EnumerationValue\r\n\r\n";
/// The record's expanded template and the line end after it.
void appendCodeBlock(std::string &out, const GadgetRecord &record);

/// Writes the code file and the empty export file beside the list file.
/// When either cannot be created the code file keeps its old content. When
/// either would be the list file itself, or the pool names no code-file
/// extension, nothing is written. A code file changed since it was last
/// written is kept as "<code file>.bak" first (the outcome's notice says
/// so). The code file of a list written as UTF-8 is UTF-8 with its
/// byte-order mark, which the compiler reads as such.
Outcome generateCodeFile(const std::filesystem::path &listPath, const GdtList &list, const PoolSettings &settings,
                         std::time_t when, FileOps &files = FileOps::system());

/// The same, into the files `names` gives rather than those of the list's
/// name (the batch refresh writes the code file it was named).
Outcome writeCodeFiles(const CodeFileNames &names, const std::filesystem::path &listPath, const GdtList &list,
                       const PoolSettings &settings, std::time_t when, FileOps &files = FileOps::system());

} // namespace tafelbau

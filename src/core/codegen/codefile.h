#pragma once

#include "core/document/fileops.h"
#include "core/document/gdtlist.h"
#include "core/document/outcome.h"
#include "core/pool/poolentry.h"

#include <ctime>
#include <filesystem>
#include <string>

namespace tafelbau {

struct CodeFileNames
{
    std::filesystem::path code;
    std::filesystem::path exportFile;
};

/// The list file path without its last four characters, followed by the
/// pool's code-file extension, and by "PBFExport.pbf" for the export file.
CodeFileNames codeFileNames(const std::filesystem::path &listPath, const PoolSettings &settings);

/// "dd.mm.yyyy hh:ii" in local time.
std::string codeFileDate(std::time_t when);

/// The whole code file for `list`: the fixed header, the constants of the
/// visible gadgets and every gadget's expanded template, lines ending CR LF.
std::string codeFileBytes(const GdtList &list, const PoolSettings &settings, std::time_t when);

/// Writes the code file and the empty export file beside the list file.
/// When either cannot be created the code file keeps its old content.
Outcome generateCodeFile(const std::filesystem::path &listPath, const GdtList &list, const PoolSettings &settings,
                         std::time_t when, FileOps &files = FileOps::system());

} // namespace tafelbau

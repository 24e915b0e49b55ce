// What PureBasic's compiler says, line by line, and which gadget a message
// is about.
#pragma once

#include "core/document/gdtlist.h"
#include "core/pool/poolentry.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tafelbau {

struct CompilerMessage
{
    std::string text; ///< the line as the compiler wrote it, without its line end
    /// The included file the message is about, as the compiler names it;
    /// empty for the file compiled.
    std::string file;
    int line = 0; ///< 1-based line it names; 0 for none

    bool operator==(const CompilerMessage &) const = default;
};

/// One message per non-empty line of `output` (lines end at CR LF, LF or
/// CR). A line "Line N - ..." (after "Error: " or not) names line N; it is
/// about the file that the latest "in included file '...'" named, or
/// about the compiled file when there was none. Linear in the output.
std::vector<CompilerMessage> parseCompilerOutput(std::string_view output);

/// For each message, the lvid of the record whose code holds the line it
/// names in `codeFile`, the code file made from `list` (as saved, so that
/// its lines are those the compiler read). The message's file is taken
/// relative to `sourceFolder`, the folder of the file compiled; a bare file
/// name is the code file's wherever that lies. nullopt
/// for messages about other files, the header or lines past the end.
std::vector<std::optional<std::int32_t>> gadgetsOfMessages(const std::vector<CompilerMessage> &messages,
                                                           const std::filesystem::path &codeFile,
                                                           const std::filesystem::path &sourceFolder,
                                                           const GdtList &list, const PoolSettings &settings);

} // namespace tafelbau

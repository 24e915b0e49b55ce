#pragma once

#include "core/app/appstate.h"
#include "core/document/dialogs.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace tafelbau {

/// The gadget list file that belongs to a code file, or nothing when the
/// code file's extension is not the pool's (compared without regard to case).
/// A code file whose name has no "." at all (possible only with an empty
/// pool extension) takes its path + ".tbf", so that the code file written
/// is the one named.
std::optional<std::filesystem::path> listFileForCodeFile(const std::string &codeFile, const PoolSettings &settings);

/// Where a batch run says what is no failure but worth knowing (standard
/// error): the copy kept of a code file edited by hand.
using BatchNote = std::function<void(const std::string &utf8)>;

/// "/refreshcode": regenerates `codeFile` from its gadget list file. Returns
/// the exit status: 1 when loading or generation failed or the code file is
/// the list file itself, 0 otherwise (including a code file of another
/// extension, which is not touched).
int refreshCode(AppState &state, Dialogs &dialogs, const std::string &codeFile, std::time_t now,
                const BatchNote &note = {});

} // namespace tafelbau

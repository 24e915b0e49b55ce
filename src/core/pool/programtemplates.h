#pragma once

#include "core/pool/poolentry.h"

#include <string>

namespace tafelbau {

/// The three templates a main program is made from (Latin-1, lines CR LF).
///
/// `program` is the whole file; its placeholders, in any letter case:
/// "[list]" the gadget list's file name, "[include]" the code file relative
/// to the program's folder, "[procedures]" one `procedure` per gadget that
/// sends events, "[gadgetcases]" and "[menucases]" one `eventCase` per
/// gadget and per menu item. `procedure` and `eventCase` know "[id]", the
/// gadget's VarID. Other words in brackets stay as they are. A placeholder
/// alone on its line stands for whole lines: the line end after it goes
/// when what it stands for is nothing or ends with a line end itself.
struct ProgramTemplates
{
    std::string program;
    std::string procedure;
    std::string eventCase;

    bool operator==(const ProgramTemplates &) const = default;
};

/// The templates a pool without its own uses.
const ProgramTemplates &builtInProgramTemplates();

/// The pool's own templates where it has them, else the built-in ones.
ProgramTemplates programTemplates(const PoolSettings &settings);

/// Makes `wanted` the pool's templates. Only those that differ from what
/// the pool uses now are set, so that a pool relying on the built-in ones
/// keeps relying on them. True when anything was set.
bool setProgramTemplates(PoolSettings &settings, const ProgramTemplates &wanted);

} // namespace tafelbau

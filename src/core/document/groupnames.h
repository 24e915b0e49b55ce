#pragma once

#include <string>
#include <vector>

namespace tafelbau {

/// Which names count as unsafe beyond those the file cannot hold.
enum class GroupNameRule {
    /// Only what the file cannot hold: the gadget list's VarIDs keep blanks
    /// and tabs at their ends, which the file holds exactly.
    FileOnly,
    /// Also NUL and blanks or tabs at either end, which a person editing the
    /// pool would not see: the pool's entry names.
    Visible,
};

/// Names the group form of the file cannot hold apart or at all: empty, with
/// "]" or a line break, or equal to another name when A-Z case is ignored
/// (and those `rule` adds). Returns the offending names (Latin-1), each once.
std::vector<std::string> unsafeGroupNames(const std::vector<std::string> &names,
                                          GroupNameRule rule = GroupNameRule::Visible);

} // namespace tafelbau

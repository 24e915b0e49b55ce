#pragma once

#include "core/document/gdtlist.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace tafelbau {

/// The list's identifiers for the time of one import. The list only grows
/// meanwhile, so a hash set answers "is it used" without walking the list.
class UniqueIds
{
public:
    explicit UniqueIds(const GdtList &list);

    /// `t` when it is free, else `t` with the smallest number from 1 that
    /// makes it free. `pending` is the identifier the record being built
    /// holds so far: it is in the list already and so counts as used.
    std::string makeUnique(std::string_view t, std::string_view pending);

    void add(const std::string &id) { m_used.insert(id); }

private:
    std::unordered_set<std::string> m_used;
    std::unordered_map<std::string, std::uint64_t> m_nextNumber;
};

} // namespace tafelbau

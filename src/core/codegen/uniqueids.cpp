#include "core/codegen/uniqueids.h"

namespace tafelbau {

namespace {

const std::string &numbered(std::string_view t, std::uint64_t n, std::string &out)
{
    out.assign(t);
    out.append(std::to_string(n));
    return out;
}

} // namespace

UniqueIds::UniqueIds(const GdtList &list)
{
    m_used.reserve(static_cast<std::size_t>(list.size()) * 2 + 16);
    for (const GadgetRecord &r : list.records())
        m_used.insert(r.varId);
}

std::string UniqueIds::makeUnique(std::string_view t, std::string_view pending)
{
    std::string candidate(t);
    if (candidate != pending && !m_used.contains(candidate))
        return candidate;
    // A source full of the same identifier (#PB_Any) would otherwise try
    // t1, t2, ... from the start for every line. Numbers skipped here are
    // held by records of the list, which stay for the rest of the import.
    std::uint64_t &hint = m_nextNumber.try_emplace(candidate, 1).first->second;
    std::uint64_t n = hint;
    while (m_used.contains(numbered(t, n, candidate)))
        ++n;
    hint = n;
    while (candidate == pending || m_used.contains(candidate))
        numbered(t, ++n, candidate);
    return candidate;
}

} // namespace tafelbau

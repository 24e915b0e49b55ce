#include "core/codegen/uniqueids.h"

#include "core/document/latin1.h"

#include <algorithm>
#include <cstring>

namespace tafelbau {

namespace {

const std::string &numbered(std::string_view t, std::uint64_t n, std::string &out)
{
    out.assign(t);
    out.append(std::to_string(n));
    return out;
}

// A-Z to a-z in eight bytes at once; other bytes, umlauts included, stay.
std::uint64_t foldWord(std::uint64_t x)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    const std::uint64_t low = x & (0x7F * kOnes);
    const std::uint64_t atLeastA = low + (0x80 - 'A') * kOnes;
    const std::uint64_t beyondZ = low + (0x80 - 'Z' - 1) * kOnes;
    const std::uint64_t upper = atLeastA & ~beyondZ & ~x & (0x80 * kOnes);
    return x | (upper >> 2);
}

} // namespace

std::size_t UniqueIds::FoldedHash::operator()(std::string_view s) const
{
    std::uint64_t h = s.size() * 0x9E3779B97F4A7C15ull;
    for (std::size_t i = 0; i < s.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, s.data() + i, std::min<std::size_t>(8, s.size() - i));
        h = (h ^ foldWord(word)) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 29;
    }
    return static_cast<std::size_t>(h);
}

bool UniqueIds::FoldedEqual::operator()(std::string_view a, std::string_view b) const noexcept
{
    return equalsFolded(a, b);
}

UniqueIds::UniqueIds(const GdtList &list)
{
    m_used.reserve(static_cast<std::size_t>(list.size()) * 2 + 16);
    for (const GadgetRecord &r : list.records())
        m_used.insert(r.varId);
}

std::string UniqueIds::makeUnique(std::string_view t, std::string_view pending)
{
    std::string candidate(t);
    if (!equalsFolded(candidate, pending) && !used(candidate))
        return candidate;
    // A source full of the same identifier (#PB_Any) would otherwise try
    // t1, t2, ... from the start for every line. Numbers skipped here are
    // held by records of the list, which stay for the rest of the import.
    std::uint64_t &hint = m_nextNumber.try_emplace(candidate, 1).first->second;
    std::uint64_t n = hint;
    while (used(numbered(t, n, candidate)))
        ++n;
    hint = n;
    while (equalsFolded(candidate, pending) || used(candidate))
        numbered(t, ++n, candidate);
    return candidate;
}

std::string UniqueIds::claim(std::string_view t, std::string &inTheWay)
{
    const auto [it, inserted] = m_used.emplace(t);
    if (inserted)
        return *it;
    inTheWay = *it;
    std::string id = makeUnique(t, {});
    m_used.insert(id);
    return id;
}

} // namespace tafelbau

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
/// Identifiers that differ only in the letter case of A-Z count as the same:
/// PureBasic takes #Ok and #OK for one constant, and the list file cannot
/// hold them apart either.
class UniqueIds
{
public:
    explicit UniqueIds(const GdtList &list);

    /// `t` when it is free, else `t` with the smallest number from 1 that
    /// makes it free. `pending` is the identifier the record being built
    /// holds so far: it is in the list already and so counts as used.
    std::string makeUnique(std::string_view t, std::string_view pending);

    void add(const std::string &id) { m_used.insert(id); }

    /// makeUnique() and add() in one step, one hash lookup when `t` is
    /// free. When it is not, `inTheWay` gets the spelling that holds it.
    std::string claim(std::string_view t, std::string &inTheWay);

    /// How the identifier that `t` stands for is spelled where it is used,
    /// or null when it is free.
    const std::string *spelling(std::string_view t) const
    {
        const auto hit = m_used.find(t);
        return hit == m_used.end() ? nullptr : &*hit;
    }

private:
    // Hash and equality on the folded bytes, so that no folded copy is made.
    // The hash is not noexcept on purpose: libstdc++ then stores each hash
    // in its node instead of folding the name again on every rehash and
    // bucket walk.
    struct FoldedHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const;
    };
    struct FoldedEqual
    {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const noexcept;
    };

    bool used(std::string_view t) const { return m_used.find(t) != m_used.end(); }

    std::unordered_set<std::string, FoldedHash, FoldedEqual> m_used;
    std::unordered_map<std::string, std::uint64_t, FoldedHash, FoldedEqual> m_nextNumber;
};

} // namespace tafelbau

// Reading gadgets back from PureBasic source code: every line that contains
// the text before the first "[" of a pool entry's import mask becomes a new
// gadget record of that type, its values taken by the rest of the mask.
#pragma once

#include "core/document/gdtlist.h"
#include "core/document/outcome.h"
#include "core/pool/gdtpool.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tafelbau {

/// The part of an import mask before its first "[", or the whole mask when it
/// has none. An empty prefix never matches a line.
std::string_view maskPrefix(std::string_view importcode) noexcept;

/// Tells, for one line, which of a fixed sequence of prefixes comes first in
/// that sequence among those that occur somewhere in the line (byte for byte,
/// letter case counting). One pass over the line whatever the number of
/// prefixes, as long as the transition table stays below `tableLimit` cells;
/// past that (absurdly long masks) it falls back to one search per prefix.
class PrefixMatcher
{
public:
    static constexpr std::size_t kDefaultTableLimit = std::size_t(1) << 22;

    explicit PrefixMatcher(const std::vector<std::string_view> &prefixes, std::size_t tableLimit = kDefaultTableLimit);

    /// Position in the sequence of the winning prefix, or -1 when no
    /// non-empty prefix occurs in `line`.
    int firstMatch(std::string_view line) const;

    bool usesAutomaton() const { return !m_next.empty(); }

private:
    std::vector<std::string> m_prefixes;
    std::uint16_t m_class[256] = {};
    std::size_t m_classes = 1;
    std::vector<std::int32_t> m_next; ///< state * m_classes + class -> state
    std::vector<std::int32_t> m_best; ///< smallest prefix index ending in a state
    std::int32_t m_firstUsable = -1;  ///< no line can do better than this index
};

/// What a record takes from its pool entry, beside its own values (those an
/// import read, or a new gadget's): type, template, parameter names,
/// visibility, colour, window-ness; and the card it is put on.
void takeTypeOf(GadgetRecord &r, const PoolEntry &entry, std::int32_t card);

/// Appends a record for every matching line of `bytes` (Latin-1, lines ending
/// at CR LF, LF or CR) to `list`, in line order, all on the card that was the
/// next free one before the import. Identifiers are made unique against the
/// list; the pool is only read. Returns the number of records added.
int importSourceText(std::string_view bytes, const GdtPool &pool, GdtList &list);

/// Reads `source` whole and imports it. When the file cannot be read, `list`
/// stays as it was and the message names the file.
Outcome importFromFile(const std::filesystem::path &source, const GdtPool &pool, GdtList &list);

} // namespace tafelbau

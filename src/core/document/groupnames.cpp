#include "core/document/groupnames.h"

#include "core/document/latin1.h"

#include <cstdint>
#include <unordered_set>

namespace tafelbau {

std::vector<std::string> unsafeGroupNames(const std::vector<std::string> &names, GroupNameRule rule)
{
    // Names equal but for A-Z case are found through a table of indices keyed
    // by a folded hash: no folded copy of each name, as this runs over every
    // VarID at every save.
    auto foldedHash = [](std::string_view s) {
        std::uint32_t h = 2166136261u;
        for (char c : s)
            h = (h ^ static_cast<unsigned char>(foldAscii(c))) * 16777619u;
        return h;
    };
    std::size_t slots = 16;
    while (slots < names.size() * 2)
        slots *= 2;
    // The hash sits beside the index, so only names that share it are
    // compared: most probes then stay inside the table.
    struct Slot
    {
        std::uint32_t hash = 0;
        std::int32_t first = -1;
    };
    std::vector<Slot> table(slots);
    std::vector<std::int32_t> firstOf(names.size());
    std::vector<std::int32_t> count(names.size(), 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::uint32_t hash = foldedHash(names[i]);
        for (std::size_t s = hash & (slots - 1);; s = (s + 1) & (slots - 1)) {
            Slot &slot = table[s];
            if (slot.first < 0) {
                slot = {hash, static_cast<std::int32_t>(i)};
                firstOf[i] = slot.first;
                break;
            }
            if (slot.hash == hash && equalsFolded(names[static_cast<std::size_t>(slot.first)], names[i])) {
                firstOf[i] = slot.first;
                break;
            }
        }
        ++count[static_cast<std::size_t>(firstOf[i])];
    }
    std::vector<std::string> bad;
    std::unordered_set<std::string_view> reported;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string &n = names[i];
        const bool held = !n.empty() && n.find_first_of("]\r\n") == std::string::npos;
        const bool visible = !n.empty() && n.find('\0') == std::string::npos && n.front() != ' '
            && n.front() != '\t' && n.back() != ' ' && n.back() != '\t';
        const bool shape = !held || (rule == GroupNameRule::Visible && !visible);
        if ((shape || count[static_cast<std::size_t>(firstOf[i])] > 1) && reported.insert(n).second)
            bad.push_back(n);
    }
    return bad;
}

} // namespace tafelbau

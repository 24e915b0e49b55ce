// The import of gadgets from source text. The input is the source; when it
// holds a NUL byte, the part before it sets the import up instead: line 1
// the bytes to remove, line 2 the bytes to trim, line 3 the field separator,
// every further line an import mask of an extra pool entry.
//
// Beyond not crashing: one record per matching line, identifiers unique
// against the list, and the prefix automaton picks the entry that one
// search per prefix would.
#include "fuzzutil.h"

#include "core/codegen/import.h"

#include <cstdint>
#include <unordered_set>

using namespace tafelbau;

namespace {

std::vector<std::string_view> splitLines(std::string_view s)
{
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    while (pos <= s.size()) {
        const std::size_t nl = s.find('\n', pos);
        out.push_back(s.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos));
        if (nl == std::string_view::npos)
            break;
        pos = nl + 1;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view source(reinterpret_cast<const char *>(data), size);
    GdtPool pool;
    pool.settings.codeComment = ";";
    pool.settings.importRemove = "\"";
    pool.settings.importTrim = ")";
    for (const char *mask : {"ButtonGadget(#[id],[x],[y],[xd],[yd],[text],[flags]",
                             "StringGadget([id], [x], [y], [xd], [yd], [text], [flags]",
                             "OpenWindow(#[id],[x],[y],[xd],[yd],[text],[flags]",
                             "Gadget(#[id],[x],[y],[xd],[yd],[p0],[p1],[p2],[id]", "Frame[id]"}) {
        PoolEntry e;
        e.importcode = mask;
        e.name = e.importcode.substr(0, e.importcode.find('('));
        e.code = "Code [id]";
        pool.entries.push_back(e);
    }
    if (const std::size_t nul = source.find('\0'); nul != std::string_view::npos) {
        const std::vector<std::string_view> setup = splitLines(source.substr(0, nul));
        source.remove_prefix(nul + 1);
        pool.settings.importRemove = setup[0];
        pool.settings.importTrim = setup.size() > 1 ? setup[1] : "";
        for (std::size_t i = 3; i < setup.size() && i < 20; ++i) {
            PoolEntry e;
            e.name = "Extra" + std::to_string(i);
            e.importcode = setup[i];
            e.importwerttrenn = setup[2];
            pool.entries.push_back(e);
        }
    }

    GdtList list;
    GadgetRecord existing;
    existing.varId = "Gadget";
    existing.name = "Gadget";
    list.append(existing);
    const int added = importSourceText(source, pool, list);
    FUZZ_CHECK(added >= 0 && list.size() == 1 + added);

    std::unordered_set<std::string> ids;
    for (const GadgetRecord &r : list.records()) {
        FUZZ_CHECK(!r.varId.empty());
        FUZZ_CHECK(ids.insert(r.varId).second);
        FUZZ_CHECK(pool.find(r.name) != nullptr || r.name == "Gadget");
    }

    std::vector<std::string_view> prefixes;
    for (const PoolEntry &e : pool.entries)
        prefixes.push_back(maskPrefix(e.importcode));
    const PrefixMatcher automaton(prefixes);
    const PrefixMatcher searches(prefixes, 0);
    FUZZ_CHECK(!searches.usesAutomaton());
    int matching = 0;
    std::size_t pos = 0;
    while (pos < source.size()) {
        std::size_t end = source.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = source.size();
        const std::string_view line = source.substr(pos, end - pos);
        pos = end + ((end + 1 < source.size() && source[end] == '\r' && source[end + 1] == '\n') ? 2 : 1);
        const int expected = searches.firstMatch(line);
        FUZZ_CHECK(automaton.firstMatch(line) == expected);
        if (!line.empty() && expected >= 0)
            ++matching;
    }
    FUZZ_CHECK(matching == added);
    return 0;
}

// The settings-file reader and writer: any bytes parse; what is written back
// parses to the same groups, keys and values and is written again unchanged;
// a document rebuilt from what was read, one writeText per value, reads back
// every value under the name it was read by.
#include "fuzzutil.h"

#include "core/document/latin1.h"
#include "core/document/settingsdocument.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using tafelbau::SettingsDocument;

namespace {

struct Group
{
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
    bool operator==(const Group &) const = default;
};

// Head section first (unnamed), then every group in file order, each with
// every key line as forEachKey gives it.
std::vector<Group> walk(SettingsDocument &doc)
{
    std::vector<Group> groups(1);
    doc.selectGroup("");
    doc.forEachKey([&](std::string_view k, std::string_view v) { groups[0].keys.emplace_back(k, v); });
    doc.examineGroups();
    while (doc.nextGroup()) {
        Group g;
        g.name = doc.groupName();
        doc.forEachKey([&](std::string_view k, std::string_view v) { g.keys.emplace_back(k, v); });
        groups.push_back(std::move(g));
    }
    return groups;
}

// The value a lookup by name must give: the first group of a name (A-Z
// folded) and in it the first key of a name.
struct Lookup
{
    std::string group, key, value;
};

std::vector<Lookup> firstMatches(const std::vector<Group> &groups)
{
    std::vector<Lookup> out;
    std::vector<std::string> seenGroups;
    for (std::size_t gi = 0; gi < groups.size(); ++gi) {
        const Group &g = groups[gi];
        // An empty group name selects the head section, so such a group can
        // be reached only by walking.
        if (gi > 0 && g.name.empty())
            continue;
        const std::string folded = tafelbau::foldedCopy(g.name);
        bool seen = false;
        for (const std::string &s : seenGroups)
            seen = seen || s == folded;
        if (seen)
            continue;
        seenGroups.push_back(folded);
        std::vector<std::string> seenKeys;
        for (const auto &[k, v] : g.keys) {
            const std::string fk = tafelbau::foldedCopy(k);
            bool dup = false;
            for (const std::string &s : seenKeys)
                dup = dup || s == fk;
            if (dup)
                continue;
            seenKeys.push_back(fk);
            out.push_back({g.name, k, v});
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);

    SettingsDocument first;
    first.loadBytes(bytes);
    const std::vector<Group> read = walk(first);
    FUZZ_CHECK(first.groupCount() + 1 == static_cast<int>(read.size()));
    const std::string written = first.serialize();
    // Normal form drops blanks before a line, so a Latin-1 file whose first
    // key follows blanks with the bytes of a UTF-8 byte-order mark is
    // written as one that starts with the mark, and reads back as UTF-8.
    // Hand-made; every file the program writes starts with a fixed line.
    if (!first.isUtf8() && written.starts_with("\xEF\xBB\xBF"))
        return 0;

    SettingsDocument second;
    second.loadBytes(written);
    FUZZ_CHECK(walk(second) == read);
    FUZZ_CHECK(second.serialize() == written);

    // Every first match reads back through the lookups of the original.
    const std::vector<Lookup> lookups = firstMatches(read);
    for (const Lookup &l : lookups) {
        if (!first.isUtf8()) { // a UTF-8 file's names pass through "?" for what Latin-1 lacks
            FUZZ_CHECK(first.selectGroup(l.group));
            FUZZ_CHECK(first.readText(l.key, "\x01") == l.value);
        }
    }

    // Rebuilt with the writer into a fresh document, every value reads back.
    SettingsDocument rebuilt;
    rebuilt.loadBytes({});
    rebuilt.writeComment("rebuilt"); // a fixed first line, as every writer of the program has
    for (const Lookup &l : lookups) {
        rebuilt.selectGroup(l.group);
        rebuilt.writeText(l.key, l.value);
    }
    SettingsDocument reread;
    reread.loadBytes(rebuilt.serialize());
    for (const Lookup &l : lookups) {
        reread.selectGroup(l.group);
        FUZZ_CHECK(reread.readText(l.key, "\x01") == l.value);
    }
    first.abandon();
    second.abandon();
    rebuilt.abandon();
    reread.abandon();
    return 0;
}

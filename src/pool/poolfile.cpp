#include "pool/poolfile.h"

#include "document/latin1.h"
#include "document/settingsdocument.h"
#include "pool/multiline.h"

#include <cstdint>
#include <unordered_set>

namespace tafelbau {

namespace {

struct HeadKey
{
    const char *key;
    const char *fallback;
    std::string PoolSettings::*field;
};

const HeadKey kHeadKeys[] = {
    {"GeneralPrgHelpFile", "", &PoolSettings::generalPrgHelpFile},
    {"GGdtPoolCodeFileExt", ".pbi", &PoolSettings::codeFileExt},
    {"GGdtPoolCodeComment", ";", &PoolSettings::codeComment},
    {"GGdtPoolImportRemove", "\"", &PoolSettings::importRemove},
    {"GGdtPoolImportTrim", ")", &PoolSettings::importTrim},
    {"GGdtPoolCRSep", "\"+#CRLF$+\"", &PoolSettings::crSep},
    {"GGdtPoolKonstRumpf", "Enumeration 1", &PoolSettings::konstRumpf},
    {"GGdtPoolKonstCorps", "#", &PoolSettings::konstCorps},
    {"GGdtPoolKonstEnde", "EndEnumeration\r\n#GadgetIndex=#PB_Compiler_EnumerationValue", &PoolSettings::konstEnde},
};

// Beyond the nine keys above: written after them, and only when the file
// had it or it was set, so that older pools keep their bytes.
constexpr const char *kImportSyntaxKey = "GGdtPoolImportSyntax";

const char *const kParamKeys[10] = {"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9"};

} // namespace

bool loadGdtPool(const std::filesystem::path &path, GdtPool &pool)
{
    SettingsDocument doc;
    if (!doc.open(path)) {
        doc.abandon();
        return false;
    }
    // Head values pass through the multi-line decoding so that a value with
    // a line break (the constants block end) comes back whole; values written
    // without the encoding hold no 0x1E/0x1F and read unchanged.
    for (const HeadKey &h : kHeadKeys)
        pool.settings.*h.field = decodeMultiLine(doc.readText(h.key, h.fallback));
    if (const auto syntax = doc.find(kImportSyntaxKey))
        pool.settings.importSyntax = parseDecimal(*syntax) != 0;
    else
        pool.settings.importSyntax.reset();
    doc.examineGroups();
    pool.entries.clear();
    while (doc.nextGroup()) {
        PoolEntry e;
        e.name = doc.groupName();
        e.code = decodeMultiLine(doc.readText("code", ""));
        e.importcode = doc.readText("importcode", "");
        e.importwerttrenn = doc.readText("importwerttrenn", ",");
        e.x = doc.readNumber("x", 0);
        e.y = doc.readNumber("y", 0);
        e.xy0 = static_cast<std::int8_t>(doc.readNumber("xy0", 0));
        e.xd = doc.readNumber("xd", 0);
        e.yd = doc.readNumber("yd", 0);
        e.flags = decodeMultiLine(doc.readText("flags", ""));
        e.flagsep = doc.readText("flagsep", "|");
        for (int i = 0; i < 10; ++i)
            e.p[static_cast<std::size_t>(i)] = doc.readText(kParamKeys[i], "");
        e.helpfile = doc.readText("helpfile", "");
        e.helptopic = doc.readText("helptopic", "");
        e.dontshow = static_cast<std::int8_t>(doc.readNumber("dontshow", 0));
        e.color = static_cast<std::uint32_t>(doc.readNumber("color", static_cast<std::int32_t>(kDefaultFrameColour)));
        pool.entries.push_back(std::move(e));
    }
    doc.abandon(); // only read: never rewritten
    return true;
}

Outcome saveGdtPool(const std::filesystem::path &path, GdtPool &pool)
{
    const std::string failure = latin1ToUtf8("Fehler: Kann Pooldatei nicht speichern: ") + path.string();
    std::vector<std::string> names;
    names.reserve(pool.entries.size());
    for (const PoolEntry &e : pool.entries)
        names.push_back(e.name);
    if (const auto bad = unsafeGroupNames(names); !bad.empty()) {
        std::string msg = failure + "\r\n"
            + latin1ToUtf8("Diese Gadgetnamen lassen sich in der Datei nicht auseinanderhalten "
                           "(leer, mit \"]\", Zeilenumbruch oder Leerzeichen am Rand, "
                           "oder nur durch Gro\xDF-/Kleinschreibung verschieden):");
        for (const std::string &n : bad)
            msg += "\r\n" + latin1ToUtf8(n);
        return {false, msg};
    }
    SettingsDocument doc;
    if (!doc.create(path))
        return {false, failure};
    pool.sortIntoPoolOrder();
    for (const HeadKey &h : kHeadKeys)
        doc.writeText(h.key, encodeMultiLine(pool.settings.*h.field));
    if (pool.settings.importSyntax)
        doc.writeNumber(kImportSyntaxKey, *pool.settings.importSyntax ? 1 : 0);
    for (const PoolEntry &e : pool.entries) {
        doc.selectGroup(e.name);
        doc.writeText("code", encodeMultiLine(e.code));
        doc.writeText("importcode", e.importcode);
        doc.writeText("importwerttrenn", e.importwerttrenn);
        doc.writeNumber("x", e.x);
        doc.writeNumber("y", e.y);
        doc.writeNumber("xy0", e.xy0);
        doc.writeNumber("xd", e.xd);
        doc.writeNumber("yd", e.yd);
        doc.writeText("flags", encodeMultiLine(e.flags));
        doc.writeText("flagsep", e.flagsep);
        for (int i = 0; i < 10; ++i)
            doc.writeText(kParamKeys[i], e.p[static_cast<std::size_t>(i)]);
        doc.writeText("helpfile", e.helpfile);
        doc.writeText("helptopic", e.helptopic);
        doc.writeNumber("dontshow", e.dontshow);
        doc.writeNumber("color", static_cast<std::int32_t>(e.color));
    }
    if (!doc.close())
        return {false, failure};
    return {};
}

std::vector<std::string> unsafeGroupNames(const std::vector<std::string> &names)
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
        const bool shape = n.empty() || n.find_first_of(std::string_view("]\r\n\0", 4)) != std::string::npos
            || n.front() == ' ' || n.front() == '\t' || n.back() == ' ' || n.back() == '\t';
        if ((shape || count[static_cast<std::size_t>(firstOf[i])] > 1) && reported.insert(n).second)
            bad.push_back(n);
    }
    return bad;
}

} // namespace tafelbau

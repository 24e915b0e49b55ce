#include "core/pool/poolfile.h"

#include "core/document/groupnames.h"
#include "core/document/latin1.h"
#include "core/document/multiline.h"
#include "core/document/settingsdocument.h"
#include "core/document/systemerror.h"

#include <cstdint>

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

// The main program's templates, after that key and by the same rule.
struct OptionalKey
{
    const char *key;
    std::optional<std::string> PoolSettings::*field;
};
const OptionalKey kProgramKeys[] = {
    {"GGdtPoolMainProgram", &PoolSettings::mainProgram},
    {"GGdtPoolMainProcedure", &PoolSettings::mainProcedure},
    {"GGdtPoolMainCase", &PoolSettings::mainCase},
};

const char *const kParamKeys[10] = {"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9"};

} // namespace

bool loadGdtPool(const std::filesystem::path &path, GdtPool &pool, int *error)
{
    SettingsDocument doc;
    if (!doc.open(path)) {
        if (error)
            *error = doc.lastError();
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
    for (const OptionalKey &k : kProgramKeys) {
        if (const auto value = doc.find(k.key))
            pool.settings.*k.field = decodeMultiLine(*value);
        else
            (pool.settings.*k.field).reset();
    }
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

std::string unreadablePoolMessage(const std::filesystem::path &path, int error)
{
    std::error_code ec;
    // A link counts as there even when it leads nowhere.
    const auto type = std::filesystem::symlink_status(path, ec).type();
    if (type == std::filesystem::file_type::not_found || type == std::filesystem::file_type::none)
        return {};
    return withSystemReason(latin1ToUtf8("Fehler: Kann Pooldatei nicht lesen: ") + path.string(), error)
        + latin1ToUtf8("\r\nDer Gadget-Pool bleibt leer; beim Speichern wird keine Codedatei geschrieben.");
}

Outcome saveGdtPool(const std::filesystem::path &path, GdtPool &pool, FileOps &files)
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
    SettingsDocument doc(files);
    if (!doc.create(path))
        return {false, withSystemReason(failure, doc.lastError())};
    pool.sortIntoPoolOrder();
    for (const HeadKey &h : kHeadKeys)
        doc.writeText(h.key, encodeMultiLine(pool.settings.*h.field));
    if (pool.settings.importSyntax)
        doc.writeNumber(kImportSyntaxKey, *pool.settings.importSyntax ? 1 : 0);
    for (const OptionalKey &k : kProgramKeys)
        if (const auto &value = pool.settings.*k.field)
            doc.writeText(k.key, encodeMultiLine(*value));
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
        return {false, withSystemReason(failure, doc.lastError())};
    return {};
}

} // namespace tafelbau

#include "document/listfile.h"

#include "document/latin1.h"
#include "document/settingsdocument.h"
#include "pool/multiline.h"
#include "pool/poolfile.h"

namespace tafelbau {

namespace {

const char *const kParamKeys[10] = {"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9"};
const char *const kParamNameKeys[10] = {"pname0", "pname1", "pname2", "pname3", "pname4",
                                        "pname5", "pname6", "pname7", "pname8", "pname9"};

void writeRecords(SettingsDocument &doc, const GdtList &list)
{
    doc.writeText("GdtListFileVersion", kListFileVersion);
    for (const GadgetRecord &r : list.records()) {
        doc.selectGroup(r.varId);
        doc.writeText("code", encodeMultiLine(r.code));
        doc.writeText("name", r.name);
        doc.writeText("text", r.text);
        doc.writeNumber("x", r.x);
        doc.writeNumber("y", r.y);
        doc.writeNumber("xy0", r.xy0);
        doc.writeNumber("xd", r.xd);
        doc.writeNumber("yd", r.yd);
        doc.writeText("flags", encodeMultiLine(r.flags));
        doc.writeNumber("tab", r.tab);
        doc.writeNumber("card", r.card);
        doc.writeNumber("dontshow", r.dontshow);
        for (std::size_t i = 0; i < 10; ++i) {
            doc.writeText(kParamKeys[i], r.p[i]);
            doc.writeText(kParamNameKeys[i], r.pname[i]);
        }
    }
}

} // namespace

std::string listFileBytes(const GdtList &list)
{
    SettingsDocument doc;
    doc.loadBytes({});
    writeRecords(doc, list);
    std::string bytes = doc.serialize();
    doc.abandon();
    return bytes;
}

Outcome writeListFile(const std::filesystem::path &path, const GdtList &list)
{
    const std::string failure = latin1ToUtf8("Fehler: Kann Gadgetliste nicht speichern: ") + path.string();
    std::vector<std::string> ids;
    ids.reserve(static_cast<std::size_t>(list.size()));
    for (const GadgetRecord &r : list.records())
        ids.push_back(r.varId);
    if (const auto bad = unsafeGroupNames(ids); !bad.empty()) {
        std::string msg = failure + "\r\n"
            + latin1ToUtf8("Diese VarIDs lassen sich in der Datei nicht auseinanderhalten "
                           "(leer, mit \"]\", Zeilenumbruch oder Leerzeichen am Rand, "
                           "oder nur durch Gro\xDF-/Kleinschreibung verschieden):");
        for (const std::string &n : bad)
            msg += "\r\n\"" + latin1ToUtf8(n) + "\"";
        return {false, msg};
    }
    SettingsDocument doc;
    if (!doc.create(path))
        return {false, failure};
    writeRecords(doc, list);
    if (!doc.close())
        return {false, failure};
    return {};
}

Outcome loadListFile(const std::filesystem::path &path, const GdtPool &pool, GdtList &list)
{
    SettingsDocument doc;
    if (!doc.open(path)) {
        doc.abandon();
        return {false, latin1ToUtf8("Fehler: Kann Gadgetliste nicht \xF6""ffnen: ") + path.string()};
    }
    const std::string version = doc.readText("GdtListFileVersion", "");
    if (version != kListFileVersion) {
        doc.abandon();
        return {false, latin1ToUtf8("Fehler: Kann diese Datei nicht laden: ") + path.string() + "\r\n"
                           + "Version: " + latin1ToUtf8(version) + "\r\n" + "Erforderliche Version: 081103\r\n"};
    }
    GdtList loaded;
    doc.examineGroups();
    while (doc.nextGroup()) {
        GadgetRecord r;
        r.varId = doc.groupName();
        r.code = decodeMultiLine(doc.readText("code", ""));
        r.name = doc.readText("name", "");
        r.text = doc.readText("text", "");
        r.x = doc.readNumber("x", 0);
        r.y = doc.readNumber("y", 0);
        r.xy0 = static_cast<std::int8_t>(doc.readNumber("xy0", 0));
        r.xd = doc.readNumber("xd", 0);
        r.yd = doc.readNumber("yd", 0);
        r.flags = decodeMultiLine(doc.readText("flags", ""));
        r.tab = doc.readNumber("tab", 0);
        r.card = doc.readNumber("card", 0);
        r.dontshow = static_cast<std::int8_t>(doc.readNumber("dontshow", 0));
        for (std::size_t i = 0; i < 10; ++i) {
            r.p[i] = doc.readText(kParamKeys[i], "");
            r.pname[i] = doc.readText(kParamNameKeys[i], "");
        }
        const PoolEntry *entry = pool.find(r.name);
        r.color = entry ? entry->color : kDefaultFrameColour;
        loaded.append(std::move(r));
    }
    doc.abandon();
    list = std::move(loaded);
    return {};
}

} // namespace tafelbau

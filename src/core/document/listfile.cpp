#include "core/document/listfile.h"

#include "core/document/groupnames.h"
#include "core/document/latin1.h"
#include "core/document/multiline.h"
#include "core/document/settingsdocument.h"
#include "core/document/statefolder.h"
#include "core/document/systemerror.h"

#include <array>
#include <optional>

namespace tafelbau {

namespace {

const char *const kParamKeys[10] = {"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9"};
const char *const kParamNameKeys[10] = {"pname0", "pname1", "pname2", "pname3", "pname4",
                                        "pname5", "pname6", "pname7", "pname8", "pname9"};

/// Writes the records; true when a text holds the byte that starts a
/// character beyond Latin-1 (see latin1.h), looked for while each text is
/// at hand: a pass of its own over a big list would cost a save dearly.
bool writeRecords(SettingsDocument &doc, const GdtList &list)
{
    bool marked = false;
    auto text = [&](const char *key, std::string_view value) {
        marked = marked || value.find(kWideMark) != std::string_view::npos;
        doc.writeText(key, value);
    };
    doc.writeText("GdtListFileVersion", kListFileVersion);
    for (const GadgetRecord &r : list.records()) {
        marked = marked || r.varId.find(kWideMark) != std::string::npos;
        doc.selectGroup(r.varId);
        text("code", encodeMultiLine(r.code));
        text("name", r.name);
        text("text", r.text);
        doc.writeNumber("x", r.x);
        doc.writeNumber("y", r.y);
        doc.writeNumber("xy0", r.xy0);
        doc.writeNumber("xd", r.xd);
        doc.writeNumber("yd", r.yd);
        text("flags", encodeMultiLine(r.flags));
        doc.writeNumber("tab", r.tab);
        doc.writeNumber("card", r.card);
        doc.writeNumber("dontshow", r.dontshow);
        for (std::size_t i = 0; i < 10; ++i) {
            text(kParamKeys[i], r.p[i]);
            text(kParamNameKeys[i], r.pname[i]);
        }
    }
    return marked;
}

/// Writes `list` into the fresh document `doc` in the encoding it needs;
/// `restart` makes `doc` fresh again (false when it cannot). The encoding
/// written, or nothing when `restart` failed.
template<typename Restart>
std::optional<TextEncoding> writeInItsEncoding(SettingsDocument &doc, const GdtList &list, Restart &&restart)
{
    const bool utf8 = list.encoding() == TextEncoding::Utf8;
    doc.setUtf8(utf8);
    if (!writeRecords(doc, list) || utf8 || encodingToWrite(list) == TextEncoding::Latin1)
        return list.encoding();
    // A character beyond Latin-1 came into a Latin-1 list: rather than lose
    // it, the list is written as UTF-8.
    if (!restart())
        return std::nullopt;
    doc.setUtf8(true);
    writeRecords(doc, list);
    return TextEncoding::Utf8;
}

// Field numbers in the order of the file's keys: code, name, text, x, y,
// xy0, xd, yd, flags, tab, card, dontshow, then p0, pname0, ... p9, pname9.
int listKeyField(std::string_view key)
{
    // Dispatch on the length first: this runs for every line of a list file.
    auto is = [&](std::string_view name) { return equalsFolded(key, name); };
    switch (key.size()) {
    case 1: return is("x") ? 3 : is("y") ? 4 : -1;
    case 2:
        if (foldAscii(key[0]) == 'p' && key[1] >= '0' && key[1] <= '9')
            return 12 + 2 * (key[1] - '0');
        return is("xd") ? 6 : is("yd") ? 7 : -1;
    case 3: return is("xy0") ? 5 : is("tab") ? 9 : -1;
    case 4: return is("code") ? 0 : is("name") ? 1 : is("text") ? 2 : is("card") ? 10 : -1;
    case 5: return is("flags") ? 8 : -1;
    case 6:
        if (key[5] >= '0' && key[5] <= '9' && is(std::string("pname") + key[5]))
            return 13 + 2 * (key[5] - '0');
        return -1;
    case 8: return is("dontshow") ? 11 : -1;
    default: return -1;
    }
}

void assignField(GadgetRecord &r, int field, std::string_view value)
{
    switch (field) {
    case 0: r.code = decodeMultiLine(value); break;
    case 1: r.name = value; break;
    case 2: r.text = value; break;
    case 3: r.x = parseDecimal(value); break;
    case 4: r.y = parseDecimal(value); break;
    case 5: r.xy0 = static_cast<std::int8_t>(parseDecimal(value)); break;
    case 6: r.xd = parseDecimal(value); break;
    case 7: r.yd = parseDecimal(value); break;
    case 8: r.flags = decodeMultiLine(value); break;
    case 9: r.tab = parseDecimal(value); break;
    case 10: r.card = parseDecimal(value); break;
    case 11: r.dontshow = static_cast<std::int8_t>(parseDecimal(value)); break;
    default: {
        const auto i = static_cast<std::size_t>((field - 12) / 2);
        if ((field - 12) % 2 == 0)
            r.p[i] = value;
        else
            r.pname[i] = value;
    }
    }
}

} // namespace

bool hasLineBreakInValue(const GadgetRecord &r)
{
    auto broken = [](const std::string &s) { return s.find_first_of("\r\n") != std::string::npos; };
    if (broken(r.text) || broken(r.name))
        return true;
    for (std::size_t i = 0; i < 10; ++i)
        if (broken(r.p[i]) || broken(r.pname[i]))
            return true;
    return false;
}

std::string withLineBreakCode(std::string_view value, std::string_view code)
{
    // A code that itself breaks the line would bring back what it replaces.
    if (code.find_first_of("\r\n") != std::string_view::npos)
        code = " ";
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' || value[i] == '\n') {
            out.append(code);
            if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n')
                ++i;
        } else {
            out.push_back(value[i]);
        }
    }
    return out;
}

TextEncoding encodingToWrite(const GdtList &list)
{
    if (list.encoding() == TextEncoding::Utf8)
        return TextEncoding::Utf8;
    for (const GadgetRecord &r : list.records()) {
        bool wide = holdsWideCharacters(r.varId) || holdsWideCharacters(r.name) || holdsWideCharacters(r.code)
            || holdsWideCharacters(r.text) || holdsWideCharacters(r.flags);
        for (std::size_t i = 0; i < 10 && !wide; ++i)
            wide = holdsWideCharacters(r.p[i]) || holdsWideCharacters(r.pname[i]);
        if (wide)
            return TextEncoding::Utf8;
    }
    return TextEncoding::Latin1;
}

std::string listFileBytes(const GdtList &list)
{
    SettingsDocument doc;
    doc.loadBytes({});
    writeInItsEncoding(doc, list, [&] {
        doc.loadBytes({});
        return true;
    });
    std::string bytes = doc.serialize();
    doc.abandon();
    return bytes;
}

Outcome writeListFile(const std::filesystem::path &path, const GdtList &list, FileOps &files, TextEncoding *written,
                      std::uint64_t *writtenHash)
{
    const std::string failure = latin1ToUtf8("Fehler: Kann Gadgetliste nicht speichern: ") + path.string();
    std::vector<std::string> ids;
    ids.reserve(static_cast<std::size_t>(list.size()));
    for (const GadgetRecord &r : list.records())
        ids.push_back(r.varId);
    if (const auto bad = unsafeGroupNames(ids, GroupNameRule::FileOnly); !bad.empty()) {
        std::string msg = failure + "\r\n"
            + latin1ToUtf8("Diese VarIDs lassen sich in der Datei nicht auseinanderhalten "
                           "(leer, mit \"]\" oder Zeilenumbruch, "
                           "oder nur durch Gro\xDF-/Kleinschreibung verschieden):");
        for (const std::string &n : bad)
            msg += "\r\n\"" + latin1ToUtf8(n) + "\"";
        return {false, msg};
    }
    // A line break inside a value would end its line in the file and start
    // a line of its own: refused here, whatever path let it in.
    std::string broken;
    for (const GadgetRecord &r : list.records())
        if (hasLineBreakInValue(r))
            broken += "\r\n\"" + latin1ToUtf8(r.varId) + "\"";
    if (!broken.empty())
        return {false, failure + "\r\n"
                    + latin1ToUtf8("Diese Gadgets haben einen Zeilenumbruch in Text oder Parametern:") + broken};
    SettingsDocument doc(files);
    if (!doc.create(path))
        return {false, withSystemReason(failure, doc.lastError())};
    const std::optional<TextEncoding> encoding = writeInItsEncoding(doc, list, [&] {
        doc.abandon();
        return doc.create(path);
    });
    ContentHasher hasher;
    if (writtenHash)
        doc.hashWrittenWith(&hasher);
    if (!encoding || !doc.close())
        return {false, withSystemReason(failure, doc.lastError())};
    if (written)
        *written = *encoding;
    if (writtenHash)
        *writtenHash = hasher.result();
    return {};
}

Outcome loadListFile(const std::filesystem::path &path, GdtList &list, const FrameColourOf &colourOf)
{
    SettingsDocument doc;
    if (!doc.open(path)) {
        doc.abandon();
        return {false, latin1ToUtf8("Fehler: Kann Gadgetliste nicht \366ffnen: ") + path.string()};
    }
    const std::string version = doc.readText("GdtListFileVersion", "");
    if (version != kListFileVersion) {
        doc.abandon();
        return {false,
                latin1ToUtf8("Fehler: Kann diese Datei nicht laden: ") + path.string() + "\r\n"
                    + "Version: " + latin1ToUtf8(version) + "\r\n" + "Erforderliche Version: 081103\r\n"};
    }
    GdtList loaded;
    loaded.reserve(doc.groupCount());
    loaded.setEncoding(doc.isUtf8() ? TextEncoding::Utf8 : TextEncoding::Latin1);
    // Records of one type tend to come in runs: ask once per run.
    std::string lastName;
    bool asked = false;
    std::uint32_t lastColour = kDefaultFrameColour;
    doc.examineGroups();
    while (doc.nextGroup()) {
        GadgetRecord &r = loaded.appendNew();
        r.varId = doc.groupName();
        // One pass over the group's lines; the first of equal keys counts,
        // as a lookup per key would find it.
        std::uint64_t seen = 0;
        doc.forEachKey([&](std::string_view key, std::string_view value) {
            const int field = listKeyField(key);
            if (field < 0 || (seen & (std::uint64_t{1} << field)))
                return;
            seen |= std::uint64_t{1} << field;
            assignField(r, field, value);
        });
        if (!asked || lastName != r.name) {
            lastColour = colourOf ? colourOf(r.name) : kDefaultFrameColour;
            lastName = r.name;
            asked = true;
        }
        r.color = lastColour;
    }
    doc.abandon();
    list = std::move(loaded);
    return {};
}

} // namespace tafelbau

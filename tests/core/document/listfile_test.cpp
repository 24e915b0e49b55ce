#include "core/document/listfile.h"
#include "core/document/latin1.h"
#include "core/pool/gdtpool.h"

#include "testutil.h"

#include <gtest/gtest.h>

using namespace tafelbau;
using testutil::crlf;

namespace {

GadgetRecord button(const std::string &id)
{
    GadgetRecord r;
    r.name = "ButtonGadget";
    r.varId = id;
    r.code = "ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\")\r\n\t; second";
    r.text = id, r.x = 10, r.y = -20, r.xd = 100, r.yd = 25, r.xy0 = 1, r.tab = 2, r.card = 3, r.flags = "#A|#B";
    r.p[0] = "p zero", r.pname[9] = "last";
    return r;
}

} // namespace

TEST(ListFile, WritesTheKeysInTheirOrder)
{
    GdtList list;
    list.append(button("Ok"));
    std::string expected = crlf({"GdtListFileVersion = 081103", "[Ok]",
                                 "code = ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\")\x1F\x1E; second",
                                 "name = ButtonGadget", "text = Ok", "x = 10", "y = -20", "xy0 = 1", "xd = 100",
                                 "yd = 25", "flags = #A|#B", "tab = 2", "card = 3", "dontshow = 0"});
    for (const std::string i : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"})
        expected +=
            crlf({"p" + i + " = " + (i == "0" ? "p zero" : ""), "pname" + i + " = " + (i == "9" ? "last" : "")});
    EXPECT_EQ(listFileBytes(list), expected);
}

TEST(ListFile, RoundTripKeepsRecordsAndHandsOutLvids)
{
    testutil::TempDir dir;
    GdtList list;
    list.append(button("Ok"));
    list.append(button("Cancel"));
    list.records()[1].dontshow = 1;
    ASSERT_TRUE(writeListFile(dir / "a.tbf", list).ok);

    GdtPool pool;
    pool.entries.resize(1);
    pool.entries[0].name = "ButtonGadget";
    pool.entries[0].color = 255;
    GdtList back;
    back.append(button("old")); // replaced, and its lvid counter with it
    ASSERT_TRUE(loadListFile(dir / "a.tbf", back, frameColoursOf(pool)).ok);
    ASSERT_EQ(back.size(), 2);
    for (int i = 0; i < 2; ++i) {
        GadgetRecord expected = list.records()[static_cast<std::size_t>(i)];
        expected.lvid = i + 1;
        expected.color = 255;
        EXPECT_EQ(back.records()[static_cast<std::size_t>(i)], expected);
    }
    EXPECT_EQ(back.lvidCounter(), 2);
}

TEST(ListFile, LoadingIsLenient)
{
    testutil::TempDir dir;
    testutil::writeFile(dir / "a.tbf",
                        "GdtListFileVersion=081103\n[ Spaced Id ]\nx = 12px\nunknown = 1\n"
                        "code = a\x1F\036b\n[Other]\n[Other]\n");
    GdtList list;
    ASSERT_TRUE(loadListFile(dir / "a.tbf", list, {}).ok);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.records()[0].varId, " Spaced Id ");
    EXPECT_EQ(list.records()[0].x, 12);
    EXPECT_EQ(list.records()[0].code, "a\r\n\tb");
    EXPECT_EQ(list.records()[0].color, kDefaultFrameColour); // type not in the pool
    EXPECT_EQ(list.records()[2].varId, "Other");
}

TEST(ListFile, RefusedFilesLeaveTheDocumentUntouched)
{
    testutil::TempDir dir;
    std::filesystem::create_directory(dir / "folder.tbf");
    testutil::writeFile(dir / "old.tbf", crlf({"GdtListFileVersion = 081102", "[A]"}));
    testutil::writeFile(dir / "none.tbf", crlf({"[A]", "GdtListFileVersion = 081103"}));
    testutil::writeFile(dir / "nul.tbf", std::string("GdtListFileVersion = 081103\0\r\n", 31));
    const std::pair<std::string, std::string> cases[] = {
        {"missing.tbf", "Fehler: Kann Gadgetliste nicht \xC3\266ffnen: " + (dir / "missing.tbf").string()},
        {"folder.tbf", "Fehler: Kann Gadgetliste nicht \xC3\266ffnen: " + (dir / "folder.tbf").string()},
        {"old.tbf",
         "Fehler: Kann diese Datei nicht laden: " + (dir / "old.tbf").string()
             + "\r\nVersion: 081102\r\nErforderliche Version: 081103\r\n"},
        {"none.tbf",
         "Fehler: Kann diese Datei nicht laden: " + (dir / "none.tbf").string()
             + "\r\nVersion: \r\nErforderliche Version: 081103\r\n"},
        {"nul.tbf",
         "Fehler: Kann diese Datei nicht laden: " + (dir / "nul.tbf").string() + "\r\nVersion: 081103"
             + std::string(1, '\0') + "\r\nErforderliche Version: 081103\r\n"},
    };
    for (const auto &[file, message] : cases) {
        GdtList list;
        list.append(button("Keep"));
        const Outcome out = loadListFile(dir / file, list, {});
        EXPECT_FALSE(out.ok) << file;
        EXPECT_EQ(out.message, message) << file;
        ASSERT_EQ(list.size(), 1);
        EXPECT_EQ(list.records()[0].varId, "Keep");
    }
}

// Refused: what the file cannot hold (empty, "]", a line break, a name that
// differs from another only in A-Z case) and a line break in any one-line
// value. Blanks and tabs at a VarID's ends are held exactly and read back.
TEST(ListFile, OnlyWhatTheFileCannotHoldIsRefused)
{
    testutil::TempDir dir;
    testutil::writeFile(dir / "a.tbf", "previous");
    const struct
    {
        std::string id;
        void (*spoil)(GadgetRecord &);
        std::string named; // the name the message gives
    } refused[] = {
        {"", nullptr, "\"\""},
        {"a]b", nullptr, "\"a]b\""},
        {"line\r\nbreak", nullptr, "\"line\r\nbreak\""},
        {"lf\nonly", nullptr, "\"lf\nonly\""},
        {"Dup", nullptr, "\"Dup\""},
        {"Text", [](GadgetRecord &r) { r.text = "zwei\r\nZeilen"; }, "\"Text\""},
        {"Param", [](GadgetRecord &r) { r.p[7] = "a\rb"; }, "\"Param\""},
        {"Name", [](GadgetRecord &r) { r.pname[0] = "a\nb"; }, "\"Name\""},
    };
    for (const auto &c : refused) {
        GdtList list;
        list.append(button("fine"));
        GadgetRecord &r = list.append(button(c.id));
        if (c.spoil)
            c.spoil(r);
        if (c.id == "Dup")
            list.append(button("dup"));
        const Outcome out = writeListFile(dir / "a.tbf", list);
        EXPECT_FALSE(out.ok) << c.id;
        EXPECT_NE(out.message.find("Fehler: Kann Gadgetliste nicht speichern: "), std::string::npos);
        EXPECT_NE(out.message.find(c.named), std::string::npos) << out.message;
        EXPECT_EQ(out.message.find("\"fine\""), std::string::npos);
        EXPECT_EQ(testutil::readFile(dir / "a.tbf"), "previous");
    }

    GdtList kept;
    for (const char *id : {" lead", "trail ", "\tOk", "Ok\t", "[x", "\xC4rger", "\xE4rger"})
        kept.append(button(id));
    ASSERT_TRUE(writeListFile(dir / "a.tbf", kept).ok);
    GdtList back;
    ASSERT_TRUE(loadListFile(dir / "a.tbf", back, {}).ok);
    ASSERT_EQ(back.size(), kept.size());
    for (int i = 0; i < kept.size(); ++i)
        EXPECT_EQ(back.records()[i].varId, kept.records()[i].varId);
}

// A list that arrives as UTF-8 used to lose every character beyond Latin-1
// ("?") and its mark at the next save. It stays UTF-8, every character kept.
TEST(ListFile, Utf8ListKeepsItsMarkAndEveryCharacter)
{
    testutil::TempDir dir;
    const std::string caption = "10 \xE2\x82\xAC \xE2\x80\x93 \xE6\xBC\xA2\xE5\xAD\x97 \xF0\x9F\x98\x80 \xC3\xA4";
    GdtList written;
    written.append(button("Preis")).text = utf8ToLatin1(caption);
    written.setEncoding(TextEncoding::Utf8);
    // The file as it came, in the form the program writes.
    const std::string file = listFileBytes(written);
    ASSERT_EQ(file.substr(0, 5), "\xEF\xBB\xBF\r\n");
    ASSERT_NE(file.find("\r\ntext = " + caption + "\r\n"), std::string::npos);
    testutil::writeFile(dir / "a.tbf", file);

    GdtList list;
    ASSERT_TRUE(loadListFile(dir / "a.tbf", list, {}).ok);
    EXPECT_EQ(list.encoding(), TextEncoding::Utf8);
    EXPECT_EQ(latin1ToUtf8(list.records()[0].text), caption);
    ASSERT_TRUE(writeListFile(dir / "a.tbf", list).ok);
    EXPECT_EQ(testutil::readFile(dir / "a.tbf"), file);
}

// Latin-1 stays Latin-1 byte for byte -- unless a character comes in that
// it cannot hold: then the list is written as UTF-8 rather than lose it.
TEST(ListFile, Latin1ListStaysLatin1UntilItCannotHoldACharacter)
{
    testutil::TempDir dir;
    const std::string golden = testutil::readFile(std::string(TAFELBAU_SOURCE_DIR) + "/tests/data/golden/umlauts/list.tbf");
    testutil::writeFile(dir / "a.tbf", golden);
    GdtList list;
    ASSERT_TRUE(loadListFile(dir / "a.tbf", list, {}).ok);
    EXPECT_EQ(list.encoding(), TextEncoding::Latin1);
    ASSERT_TRUE(writeListFile(dir / "a.tbf", list).ok);
    EXPECT_EQ(testutil::readFile(dir / "a.tbf"), golden);

    list.records().back().pname[3] = utf8ToLatin1("Gr\xC3\xB6\xC3\x9F" "e in \xE2\x80\xB0");
    EXPECT_EQ(encodingToWrite(list), TextEncoding::Utf8);
    ASSERT_TRUE(writeListFile(dir / "a.tbf", list).ok);
    const std::string utf8 = testutil::readFile(dir / "a.tbf");
    EXPECT_EQ(utf8.substr(0, 3), "\xEF\xBB\xBF");
    GdtList back;
    ASSERT_TRUE(loadListFile(dir / "a.tbf", back, {}).ok);
    EXPECT_EQ(back.records(), list.records());
}

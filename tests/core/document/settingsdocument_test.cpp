#include "core/document/settingsdocument.h"

#include "testutil.h"

#include <gtest/gtest.h>

using tafelbau::SettingsDocument;
using testutil::crlf;

namespace {

SettingsDocument &loaded(SettingsDocument &doc, const std::string &bytes)
{
    doc.loadBytes(bytes);
    return doc;
}

} // namespace

TEST(SettingsDocument, ParsesLineFormsAndRewritesNormalForm)
{
    SettingsDocument doc;
    loaded(doc,
           "  ;no blank\n\n\r\n[General] trailing\r\n   GPanelRaster   =   7  \r\n"
           "bare\n=novalue\nk=v=w ; not a comment\r[ Spaced ]\rx=1");
    doc.selectGroup("General");
    EXPECT_EQ(doc.readText("GPanelRaster", "d"), "7");
    EXPECT_EQ(doc.readNumber("gpanelraster", 0), 7);
    EXPECT_EQ(doc.readText("bare", "d"), "");
    EXPECT_EQ(doc.readText("k", "d"), "v=w ; not a comment");
    doc.writeText("GPanelRaster", "8");
    EXPECT_EQ(doc.serialize(),
              crlf({"; no blank", "[General]", "GPanelRaster = 8", "bare = ", " = novalue", "k = v=w ; not a comment",
                    "[ Spaced ]", "x = 1"}));
}

TEST(SettingsDocument, GroupSelectionFoldsOnlyAsciiAndFirstMatchWins)
{
    SettingsDocument doc;
    loaded(doc,
           crlf({"[general]", "a = first", "[GENERAL]", "a = second", "[ General]", "a = spaced", "[\xC4rger]",
                 "a = umlaut"}));
    ASSERT_TRUE(doc.selectGroup("General"));
    EXPECT_EQ(doc.readText("a", ""), "first");
    EXPECT_TRUE(doc.selectGroup(" general"));
    EXPECT_EQ(doc.readText("a", ""), "spaced");
    EXPECT_FALSE(doc.selectGroup("\xE4rger")); // umlauts are not folded
    EXPECT_TRUE(doc.selectGroup("\xC4RGER"));
    // The second group of the same name is reachable only by walking.
    doc.examineGroups();
    std::vector<std::string> seen;
    while (doc.nextGroup())
        seen.push_back(doc.groupName() + "=" + doc.readText("a", ""));
    EXPECT_EQ(seen,
              (std::vector<std::string>{"general=first", "GENERAL=second", " General=spaced", "\xC4rger=umlaut"}));
}

TEST(SettingsDocument, KeyLookupStaysInsideCurrentSection)
{
    SettingsDocument doc;
    loaded(doc, crlf({"head = h", "dup = 1", "[G]", "; comment", "dup = 2", "dup = 3", "Key = Value"}));
    EXPECT_EQ(doc.readText("head", "d"), "h");
    doc.selectGroup("g");
    EXPECT_EQ(doc.readText("head", "d"), "d");
    EXPECT_EQ(doc.readText("DUP", "d"), "2");
    EXPECT_EQ(doc.readText("key", "d"), "Value"); // values keep their case
    doc.writeText("dup", "9");
    EXPECT_EQ(doc.serialize(), crlf({"head = h", "dup = 1", "[G]", "; comment", "dup = 9", "dup = 3", "Key = Value"}));
}

TEST(SettingsDocument, ReadNumberForms)
{
    // Beyond 32 bits only the low 32 bits count, however many digits come.
    const std::pair<const char *, std::int32_t> cases[] = {{"1600", 1600},
                                                           {"-5", -5},
                                                           {"+12", 12},
                                                           {"12abc", 12},
                                                           {"abc", 0},
                                                           {"", 0},
                                                           {"  7", 7},
                                                           {"$10", 0},
                                                           {"2147483647", 2147483647},
                                                           {"4294967297", 1},
                                                           {"1234567890123456789012345678901234567890", -834729262}};
    for (const auto &[value, expected] : cases) {
        SettingsDocument doc;
        loaded(doc, std::string("n = ") + value + "\r\n");
        EXPECT_EQ(doc.readNumber("n", 77), expected) << value;
        EXPECT_EQ(doc.readNumber("missing", 77), 77);
    }
}

TEST(SettingsDocument, PendingGroupIsCreatedAtFirstWrite)
{
    SettingsDocument doc;
    loaded(doc, crlf({"[A]", "k = 1"}));
    EXPECT_FALSE(doc.selectGroup("New"));
    EXPECT_EQ(doc.readText("k", "default"), "default");
    EXPECT_FALSE(doc.isModified());
    doc.writeText("key", "v");
    doc.writeNumber("n", -3);
    EXPECT_EQ(doc.serialize(), crlf({"[A]", "k = 1", "[New]", "key = v", "n = -3"}));
}

TEST(SettingsDocument, KeyPlacementInHeadSectionAndGroups)
{
    SettingsDocument doc;
    loaded(doc, crlf({"[First]", "a = 1", "[Second]", "b = 2"}));
    doc.writeText("head", "h"); // document begins with a group: at the very start
    doc.selectGroup("first");
    doc.writeText("A", "one"); // key takes the new spelling
    doc.writeText("c", "3");   // appended at the end of its group
    EXPECT_EQ(doc.serialize(), crlf({"head = h", "[First]", "A = one", "c = 3", "[Second]", "b = 2"}));
}

TEST(SettingsDocument, CommentsGoBelowTheCurrentEntry)
{
    SettingsDocument doc;
    loaded(doc, crlf({"top = 1", "[G]", "a = 1", "b = 2"}));
    doc.writeComment("at start");
    doc.selectGroup("G");
    doc.writeComment("under header");
    doc.writeText("a", "x");
    doc.writeComment(";under a");
    doc.writeComment("again");
    EXPECT_EQ(doc.serialize(),
              crlf({"; at start", "top = 1", "[G]", "; under header", "a = x", "; ;under a", "; again", "b = 2"}));
    doc.selectGroup("G");
    doc.writeText("a", "y");
    EXPECT_TRUE(doc.isCommentAfterCurrent(";under a"));
    EXPECT_FALSE(doc.isCommentAfterCurrent("again"));
}

TEST(SettingsDocument, Utf8DocumentsConvertAtEveryOperation)
{
    SettingsDocument doc;
    // "Größe" key, group "Ärger", value "€ ü" (the euro sign is above Latin-1).
    loaded(doc, "\xEF\xBB\xBF[\xC3\x84rger]\r\nGr\xC3\xB6\xC3\237e = \xE2\x82\xAC \xC3\xBC\r\nbad = \xC3\r\n");
    ASSERT_TRUE(doc.isUtf8());
    ASSERT_TRUE(doc.selectGroup("\xC4rger"));
    EXPECT_EQ(doc.groupName(), "\xC4rger");
    EXPECT_EQ(doc.readText("Gr\xF6\337e", ""), "\x1A\xE2\x82\xAC \xFC"); // the euro sign held, not lost
    EXPECT_EQ(doc.readText("bad", ""), "?");
    doc.writeText("neu", "\xE4");
    doc.writeText("euro", doc.readText("Gr\xF6\337e", ""));
    EXPECT_EQ(doc.serialize(),
              "\xEF\xBB\xBF\r\n[\xC3\x84rger]\r\nGr\xC3\xB6\xC3\237e = \xE2\x82\xAC \xC3\xBC\r\n"
              "bad = \xC3\r\nneu = \xC3\xA4\r\neuro = \xE2\x82\xAC \xC3\xBC\r\n");
    EXPECT_FALSE(loaded(doc, "\xEF\xBB").isUtf8()); // two bytes are no mark
}

// Reading alone writes nothing: an odd file stays as it is, a missing one
// stays missing; a missing file that is written to is made at close.
TEST(SettingsDocument, OnlyReadFilesAreNeverWritten)
{
    testutil::TempDir dir;
    const std::string odd = "a=1\n\n  [G]\nb=2";
    testutil::writeFile(dir / "f.ini", odd);
    for (const char *name : {"f.ini", "none.ini"}) {
        SettingsDocument doc;
        EXPECT_EQ(doc.open(dir / name), name == std::string("f.ini"));
        doc.selectGroup("G");
        EXPECT_EQ(doc.readText("b", "d"), name == std::string("f.ini") ? "2" : "d");
    }
    EXPECT_EQ(testutil::readFile(dir / "f.ini"), odd);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.ini"));

    SettingsDocument doc;
    EXPECT_FALSE(doc.open(dir / "none.ini"));
    EXPECT_EQ(doc.state(), SettingsDocument::State::Missing);
    EXPECT_TRUE(doc.close());
    EXPECT_FALSE(std::filesystem::exists(dir / "none.ini"));
    doc.open(dir / "none.ini");
    doc.selectGroup("General");
    doc.writeNumber("x", 1);
    EXPECT_TRUE(doc.close());
    EXPECT_EQ(testutil::readFile(dir / "none.ini"), crlf({"[General]", "x = 1"}));
}

TEST(SettingsDocument, CreateReplacesTheOldFileOnlyAtClose)
{
    testutil::TempDir dir;
    testutil::writeFile(dir / "f.ini", "old\r\n");
    SettingsDocument doc;
    ASSERT_TRUE(doc.create(dir / "f.ini"));
    doc.writeText("k", "v");
    EXPECT_EQ(testutil::readFile(dir / "f.ini"), "old\r\n");
    EXPECT_TRUE(doc.close());
    EXPECT_EQ(testutil::readFile(dir / "f.ini"), "k = v\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";
    // Opened and changed again, the same document saves again.
    ASSERT_TRUE(doc.open(dir / "f.ini"));
    doc.writeText("k", "w");
    EXPECT_TRUE(doc.close());
    EXPECT_EQ(testutil::readFile(dir / "f.ini"), "k = w\r\n");
}

TEST(SettingsDocument, FolderInPlaceOfFile)
{
    testutil::TempDir dir;
    std::filesystem::create_directory(dir / "f.ini");
    SettingsDocument doc;
    EXPECT_FALSE(doc.open(dir / "f.ini"));
    EXPECT_FALSE(doc.create(dir / "f.ini"));
    EXPECT_EQ(doc.state(), SettingsDocument::State::None);
    doc.writeText("k", "v"); // no document: nothing happens
    EXPECT_EQ(doc.readText("k", "d"), "d");
    EXPECT_FALSE(doc.create(dir / "missing-folder" / "f.ini"));
}

// The group and key indexes: thousands of groups loaded under one name or
// written one after the other in unlike sizes, long sections with repeated
// keys, inserts in the middle. Every name must still find its first group or
// key, whatever the case it is asked in.
TEST(SettingsDocument, IndexesHoldUnderThousandsOfGroupsAndKeys)
{
    std::string bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += "[Same]\r\nk = " + std::to_string(i) + "\r\n";
    for (int i = 0; i < 500; ++i)
        bytes += "key" + std::to_string(i % 250) + " = " + std::to_string(i) + "\r\n";
    SettingsDocument doc;
    loaded(doc, bytes);
    doc.examineGroups();
    for (int i = 0; i < 5000; ++i)
        ASSERT_TRUE(doc.nextGroup());
    EXPECT_EQ(doc.readText("KEY7", ""), "7"); // 501 keys; the first of equal ones wins
    doc.writeComment("c");                    // inserted in the middle: lookups must stay right
    doc.writeText("key7", "x");
    EXPECT_EQ(doc.readText("key7", ""), "x");
    EXPECT_EQ(doc.readText("key249", ""), "249");

    for (int i = 0; i < 3000; ++i) {
        doc.selectGroup("Group" + std::to_string(i));
        for (int k = 0; k <= i % 70; ++k)
            doc.writeNumber("k" + std::to_string(k), i);
    }
    doc.selectGroup("same");
    doc.writeText("later", "x");
    EXPECT_EQ(doc.groupCount(), 5000 + 3000);
    for (int i = 0; i < 3000; i += 7) {
        ASSERT_TRUE(doc.selectGroup("gROUP" + std::to_string(i)));
        EXPECT_EQ(doc.readNumber("K" + std::to_string(i % 70), -1), i);
        EXPECT_EQ(doc.readNumber("k70", -1), -1);
    }
    ASSERT_TRUE(doc.selectGroup("sAmE"));
    EXPECT_EQ(doc.readText("k", ""), "0");
    EXPECT_EQ(doc.readText("later", ""), "x");
    EXPECT_FALSE(doc.selectGroup("Group3000"));
    SettingsDocument again;
    EXPECT_EQ(loaded(again, doc.serialize()).serialize(), doc.serialize());
}

TEST(SettingsDocument, SectionsNeverLookedIntoAreStillWrittenInNormalForm)
{
    SettingsDocument doc;
    loaded(doc, "  a=1\n[One]\n\n   ;c\n  k=v  \n[Two]junk\r\r\n x\n");
    doc.writeText("b", "2");
    doc.selectGroup("Two");
    std::vector<std::string> keys;
    doc.forEachKey(
        [&](std::string_view k, std::string_view v) { keys.push_back(std::string(k) + "=" + std::string(v)); });
    EXPECT_EQ(keys, (std::vector<std::string>{"x="}));
    EXPECT_EQ(doc.serialize(), crlf({"a = 1", "b = 2", "[One]", "; c", "k = v  ", "[Two]", "x = "}));
}

// Found by fuzzing: an empty view carries no pointer, and copying zero bytes
// from it was undefined behaviour (the list-file bytes start from one).
TEST(SettingsDocument, EmptyViewWithoutDataLoads)
{
    SettingsDocument doc;
    doc.loadBytes(std::string_view());
    EXPECT_EQ(doc.groupCount(), 0);
    EXPECT_EQ(doc.serialize(), "");
    doc.writeText("k", "v");
    EXPECT_EQ(doc.serialize(), "k = v\r\n");
}

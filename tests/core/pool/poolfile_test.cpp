#include "core/document/groupnames.h"
#include "core/document/multiline.h"
#include "core/pool/poolfile.h"

#include "testutil.h"

#include <gtest/gtest.h>

using namespace tafelbau;
using testutil::crlf;

TEST(MultiLine, EncodingAndItsMends)
{
    EXPECT_EQ(encodeMultiLine("A\r\n\tB"), "A\x1F\036B");
    EXPECT_EQ(decodeMultiLine("A\x1F\036B"), "A\r\n\tB");
    // Lone CR and LF would end the line in the file: taken as line breaks.
    EXPECT_EQ(encodeMultiLine("a\rb\nc\r\n"), "a\037b\037c\x1F");
    EXPECT_EQ(normaliseLineBreaks("a\rb\nc\r\nd\n\r"), "a\r\nb\r\nc\r\nd\r\n\r\n");
    EXPECT_EQ(decodeMultiLine(encodeMultiLine("x\x1Fy")), "x\r\ny");
}

TEST(PoolFile, MissingFileKeepsWhatThePoolHolds)
{
    testutil::TempDir dir;
    GdtPool pool;
    pool.settings.generalPrgHelpFile = "from settings";
    EXPECT_FALSE(loadGdtPool(dir / "none.ini", pool));
    EXPECT_TRUE(pool.entries.empty());
    EXPECT_EQ(pool.settings.generalPrgHelpFile, "from settings");
    EXPECT_EQ(pool.settings.codeFileExt, "");
}

TEST(PoolFile, DefaultsForMissingKeys)
{
    testutil::TempDir dir;
    testutil::writeFile(dir / "p.ini", crlf({"[Empty]"}));
    GdtPool pool;
    pool.settings.generalPrgHelpFile = "from settings";
    ASSERT_TRUE(loadGdtPool(dir / "p.ini", pool));
    EXPECT_EQ(pool.settings.generalPrgHelpFile, "");
    EXPECT_EQ(pool.settings.codeFileExt, ".pbi");
    EXPECT_EQ(pool.settings.codeComment, ";");
    EXPECT_EQ(pool.settings.importRemove, "\"");
    EXPECT_EQ(pool.settings.importTrim, ")");
    EXPECT_EQ(pool.settings.crSep, "\"+#CRLF$+\"");
    EXPECT_EQ(pool.settings.konstEnde, "EndEnumeration\r\n#GadgetIndex=#PB_Compiler_EnumerationValue");
    ASSERT_EQ(pool.entries.size(), 1u);
    PoolEntry expected;
    expected.name = "Empty";
    EXPECT_EQ(pool.entries[0], expected);
}

TEST(PoolFile, SaveSortsAndRoundTrips)
{
    testutil::TempDir dir;
    GdtPool pool;
    pool.settings.codeFileExt = ".pb";
    pool.settings.konstEnde = "EndEnumeration\r\n#GadgetIndex=#PB_Compiler_EnumerationValue";
    for (const char *name : {"Zahl", "\xE4hnlich", "_x", "Abc"}) {
        PoolEntry e;
        e.name = name, e.code = "Line1\r\n\tLine2 [x]", e.flags = "1:A = #A\r\n0:B = #B", e.xy0 = 1, e.color = 255;
        e.p[3] = "Min", e.flagsep = "+";
        pool.entries.push_back(e);
    }
    ASSERT_TRUE(saveGdtPool(dir / "p.ini", pool).ok);
    const std::string bytes = testutil::readFile(dir / "p.ini");
    EXPECT_LT(bytes.find("[_x]"), bytes.find("[Abc]"));
    EXPECT_LT(bytes.find("[Abc]"), bytes.find("[Zahl]"));
    EXPECT_LT(bytes.find("[Zahl]"), bytes.find("[\xE4hnlich]"));
    EXPECT_NE(bytes.find("code = Line1\x1F\x1ELine2 [x]\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("GGdtPoolKonstEnde = EndEnumeration\x1F#GadgetIndex"), std::string::npos);
    GdtPool back;
    ASSERT_TRUE(loadGdtPool(dir / "p.ini", back));
    EXPECT_EQ(back.settings, pool.settings); // the constants block end stays whole
    EXPECT_EQ(back.entries, pool.entries);
}

TEST(PoolFile, FlagBytesKeepTheLowEightBits)
{
    testutil::TempDir dir;
    testutil::writeFile(dir / "p.ini", crlf({"[A]", "xy0 = 257", "dontshow = 255", "color = 99999999999"}));
    GdtPool pool;
    ASSERT_TRUE(loadGdtPool(dir / "p.ini", pool));
    EXPECT_EQ(pool.entries[0].xy0, 1);
    EXPECT_EQ(pool.entries[0].dontshow, -1);
}

TEST(PoolFile, NamesTheFileCannotHoldApartAreRefused)
{
    testutil::TempDir dir;
    testutil::writeFile(dir / "p.ini", "keep\r\n");
    GdtPool pool;
    for (const char *name : {"Button", "button", "a]b", " lead", "ok"}) {
        PoolEntry e;
        e.name = name;
        pool.entries.push_back(e);
    }
    const Outcome out = saveGdtPool(dir / "p.ini", pool);
    EXPECT_FALSE(out.ok);
    EXPECT_NE(out.message.find("Fehler: Kann Pooldatei nicht speichern: "), std::string::npos);
    EXPECT_NE(out.message.find("button"), std::string::npos);
    EXPECT_EQ(out.message.find("\nok"), std::string::npos);
    EXPECT_EQ(testutil::readFile(dir / "p.ini"), "keep\r\n");
    EXPECT_EQ(unsafeGroupNames({"", "a\r", "b\n", "t\t", "fine"}), (std::vector<std::string>{"", "a\r", "b\n", "t\t"}));
}

// Many names, so that equal ones land far apart in the lookup table and
// unequal ones share its slots.
TEST(PoolFile, CaseDuplicatesAreFoundAmongManyNames)
{
    std::vector<std::string> names;
    for (int i = 0; i < 20000; ++i)
        names.push_back("Gadget" + std::to_string(i));
    names.push_back("gADGET123");
    names.push_back("Dup");
    names.push_back("Dup");
    names.push_back("\xC4rger"); // only A-Z fold: no duplicate of the next
    names.push_back("\xE4rger");
    EXPECT_EQ(unsafeGroupNames(names), (std::vector<std::string>{"Gadget123", "gADGET123", "Dup"}));
    names.resize(20000);
    EXPECT_TRUE(unsafeGroupNames(names).empty());
}

TEST(PoolFile, FindIsExactAndFirstWins)
{
    GdtPool pool;
    pool.entries.resize(3);
    pool.entries[0].name = "Button";
    pool.entries[1].name = "Button";
    pool.entries[1].x = 5;
    pool.entries[2].name = "button";
    EXPECT_EQ(pool.find("Button"), &pool.entries[0]);
    EXPECT_EQ(pool.find("button"), &pool.entries[2]);
    EXPECT_EQ(pool.find("BUTTON"), nullptr);
}

// The main program's templates: only a pool that has them writes them,
// after the import key, and they come back whole.
TEST(PoolFile, ProgramTemplatesWrittenOnlyWhenSet)
{
    testutil::TempDir dir;
    GdtPool pool;
    pool.settings.importSyntax = true;
    ASSERT_TRUE(saveGdtPool(dir / "plain.ini", pool).ok);
    EXPECT_EQ(testutil::readFile(dir / "plain.ini").find("GGdtPoolMain"), std::string::npos);
    GdtPool back;
    ASSERT_TRUE(loadGdtPool(dir / "plain.ini", back));
    EXPECT_FALSE(back.settings.mainProgram || back.settings.mainProcedure || back.settings.mainCase);

    pool.settings.mainProgram = "\tXIncludeFile \"[include]\"\r\n[procedures]\r\n";
    pool.settings.mainCase = "Case #[id]";
    ASSERT_TRUE(saveGdtPool(dir / "own.ini", pool).ok);
    const std::string bytes = testutil::readFile(dir / "own.ini");
    EXPECT_NE(bytes.find("GGdtPoolImportSyntax = 1\r\n"
                         "GGdtPoolMainProgram = \x1EXIncludeFile \"[include]\"\x1F[procedures]\x1F\r\n"
                         "GGdtPoolMainCase = Case #[id]\r\n"),
              std::string::npos);
    ASSERT_TRUE(loadGdtPool(dir / "own.ini", back));
    EXPECT_EQ(back.settings, pool.settings);
    // A file without them makes them unset again.
    ASSERT_TRUE(loadGdtPool(dir / "plain.ini", back));
    EXPECT_FALSE(back.settings.mainProgram || back.settings.mainCase);
}

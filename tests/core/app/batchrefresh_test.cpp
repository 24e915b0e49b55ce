#include "core/app/batchrefresh.h"

#include "core/codegen/codefile.h"
#include "core/document/listfile.h"
#include "testutil.h"

#include <gtest/gtest.h>

using namespace tafelbau;
using testutil::crlf;

TEST(BatchRefresh, ListFileForCodeFile)
{
    struct Case
    {
        const char *code;
        const char *ext;
        const char *list; // nullptr: nothing to do
    };
    const Case cases[] = {
        {"/d/dlg.pbi", ".pbi", "/d/dlg.tbf"},
        {"/d/dlg.PBI", ".pbi", "/d/dlg.tbf"},
        {"/d/dlg.pbi", ".PB.I", "/d/dlg.tbf"},
        {"/d/dlg.pb", ".pbi", nullptr},
        {"", ".pbi", nullptr},
        {"/d/dlg", "", "/d/dlg.tbf"}, // no dot at all: the path + ".tbf"
        {"/d/dlg.", "", "/d/dlg.tbf"},
        {"/d.x/dlg", "", "/d.x/dlg.tbf"}, // a dot in a folder name is no extension
        {"/d/dlg.pbi", "", nullptr},
    };
    for (const Case &c : cases) {
        PoolSettings s;
        s.codeFileExt = c.ext;
        const auto got = listFileForCodeFile(c.code, s);
        if (!c.list) {
            EXPECT_FALSE(got) << c.code;
        } else {
            EXPECT_EQ(got.value_or("<none>").string(), c.list) << c.code;
        }
    }
}

namespace {

struct BatchFixture : ::testing::Test
{
    testutil::TempDir dir;
    std::vector<std::string> env;

    void SetUp() override
    {
        env = {"HOME=" + dir.path().string(), "PATH=/usr/bin:/bin"};
        // The program reads the pool beside itself: run a copy in our folder.
        std::filesystem::create_directory(dir / "prog");
        std::filesystem::copy_file(TAFELBAU_EXE, dir / "prog" / "tafelbau");
        testutil::writeFile(dir / "prog" / "TafelbauGadgetPool.ini",
                            crlf({"GGdtPoolCodeFileExt = .pbi", "[ButtonGadget]",
                                  "code = ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\")"}));
    }

    testutil::RunResult run(const std::vector<std::string> &args)
    {
        return testutil::runProgram((dir / "prog" / "tafelbau").string(), args, env);
    }
};

} // namespace

TEST_F(BatchFixture, RegeneratesTheCodeFileOfTheSameName)
{
    GdtList list;
    GadgetRecord r;
    r.varId = "Ok";
    r.code = "ButtonGadget(#[id], [x])";
    r.x = 4;
    list.append(r);
    ASSERT_TRUE(writeListFile(dir / "dlg.tbf", list).ok);
    testutil::writeFile(dir / "dlg.pbi", "other");
    testutil::writeFile(dir / "dlg.PBI", "stale");
    const std::string pool = testutil::readFile(dir / "prog" / "TafelbauGadgetPool.ini");
    // The file named is the one written, whatever the case of its extension.
    const auto result = run({"/RefreshCode", (dir / "dlg.PBI").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string code = testutil::readFile(dir / "dlg.PBI");
    EXPECT_NE(code.find("\t#Ok\r\n"), std::string::npos);
    EXPECT_NE(code.find("ButtonGadget(#Ok, 4*GTBScale)\r\n"), std::string::npos);
    EXPECT_EQ(testutil::readFile(dir / "dlg.pbi"), "other");
    EXPECT_TRUE(std::filesystem::exists(dir / "dlgPBFExport.pbf"));
    EXPECT_EQ(testutil::readFile(dir / "prog" / "TafelbauGadgetPool.ini"), pool);
}

TEST_F(BatchFixture, FailuresAndNothingToDo)
{
    testutil::writeFile(dir / "bad.tbf", crlf({"GdtListFileVersion = 1"}));
    testutil::writeFile(dir / "bad.pbi", "keep");
    struct Case
    {
        std::vector<std::string> args;
        int status;
        std::string errPart;
    };
    const Case cases[] = {
        {{"/refreshcode"}, 0, ""},
        {{"/refreshcode", (dir / "x.pb").string()}, 0, ""},
        {{"/refreshcode", (dir / "missing.pbi").string()},
         1,
         "Fehler: Kann Gadgetliste nicht \xC3\266ffnen: " + (dir / "missing.tbf").string()},
        {{"/refreshcode", (dir / "bad.pbi").string()}, 1, "Version: 1\nErforderliche Version: 081103"},
    };
    for (const Case &c : cases) {
        const auto result = run(c.args);
        EXPECT_EQ(result.status, c.status) << result.err;
        if (c.errPart.empty()) {
            EXPECT_EQ(result.err, "");
        } else {
            EXPECT_NE(result.err.find(c.errPart), std::string::npos) << result.err;
        }
    }
    EXPECT_EQ(testutil::readFile(dir / "bad.pbi"), "keep");
    // A batch run reads the program settings but never writes them.
    EXPECT_TRUE(std::filesystem::is_directory(dir / ".config" / "Tafelbau"));
    EXPECT_FALSE(std::filesystem::exists(dir / ".config" / "Tafelbau" / "Tafelbau.ini"));
}

TEST_F(BatchFixture, UnwritableCodeFileIsReported)
{
    ASSERT_TRUE(writeListFile(dir / "d.tbf", GdtList{}).ok);
    std::filesystem::create_directory(dir / "d.pbi");
    const auto result = run({"/refreshcode", (dir / "d.pbi").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Fehler: Kann Codedatei nicht speichern: " + (dir / "d.pbi").string()),
              std::string::npos);
}

TEST_F(BatchFixture, HelpAndVersion)
{
    auto r = testutil::runProgram((dir / "prog" / "tafelbau").string(), {"--version"}, env);
    EXPECT_EQ(r.status, 0);
    r = run({"/import", "only-one"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("/refreshcode"), std::string::npos);
}

// A pool whose code-file extension is ".tbf" names the list itself as the
// code file: the refresh must refuse rather than replace the list by code.
TEST_F(BatchFixture, RefusesToWriteOverTheListFile)
{
    testutil::writeFile(dir / "prog" / "TafelbauGadgetPool.ini", crlf({"GGdtPoolCodeFileExt = .tbf"}));
    GdtList list;
    list.append(GadgetRecord{}).varId = "Ok";
    ASSERT_TRUE(writeListFile(dir / "a.tbf", list).ok);
    const std::string before = testutil::readFile(dir / "a.tbf");
    const auto result = run({"/refreshcode", (dir / "a.tbf").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Fehler: Codedatei und Gadgetliste w\xC3\xA4ren dieselbe Datei: " + (dir / "a.tbf").string()),
              std::string::npos)
        << result.err;
    EXPECT_EQ(testutil::readFile(dir / "a.tbf"), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "aPBFExport.pbf"));
}

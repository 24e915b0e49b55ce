// The batch modes of the built program: /refreshcode, /import and /check.
#include "core/app/batchrefresh.h"
#include "core/app/startup.h"

#include "core/document/listfile.h"
#include "core/dialoglist.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tafelbau;
using testutil::crlf;
namespace fs = std::filesystem;

TEST(BatchRefresh, ListFileForCodeFile)
{
    // code file, extension setting, list file ("" when there is nothing to do)
    const char *const cases[][3] = {
        {"/d/dlg.pbi", ".pbi", "/d/dlg.tbf"},
        {"/d/dlg.PBI", ".pbi", "/d/dlg.tbf"},
        {"/d/dlg.pbi", ".PB.I", "/d/dlg.tbf"},
        {"/d/dlg.pb", ".pbi", ""},
        {"", ".pbi", ""},
        {"/d/dlg", "", "/d/dlg.tbf"}, // no dot at all: the path + ".tbf"
        {"/d/dlg.", "", "/d/dlg.tbf"},
        {"/d.x/dlg", "", "/d.x/dlg.tbf"}, // a dot in a folder name is no extension
        {"/d/dlg.pbi", "", ""},
    };
    for (const auto &[code, ext, list] : cases) {
        PoolSettings s;
        s.codeFileExt = ext;
        EXPECT_EQ(listFileForCodeFile(code, s).value_or("").string(), list) << code;
    }
}

namespace {

// The program reads its pool beside itself, so each test runs a copy of it
// next to a pool of its own, with a home folder of its own.
struct Batch : ::testing::Test
{
    testutil::TempDir dir;
    const std::string pool =
        crlf({"GGdtPoolCodeFileExt = .pbi", "[ButtonGadget]", "code = ButtonGadget(#[id], [x], \"[text]\")",
              "importcode = ButtonGadget([id],[x],[y],[xd],[yd],[text],[flags]"});

    void SetUp() override
    {
        fs::create_directories(dir / "prog");
        fs::copy_file(TAFELBAU_EXE, dir / "prog" / "tafelbau");
        testutil::writeFile(dir / "prog" / "TafelbauGadgetPool.ini", pool);
    }

    testutil::RunResult run(const std::vector<std::string> &args) const
    {
        const std::string home = (dir / "home").string();
        return testutil::runProgram((dir / "prog" / "tafelbau").string(), args,
                                    {"HOME=" + home, "XDG_CONFIG_HOME=" + home, "PATH=/usr/bin:/bin"});
    }

    /// Neither the program settings nor the pool are ever written in batch mode.
    void expectSettingsAndPoolUntouched() const
    {
        EXPECT_FALSE(fs::exists(dir / "home" / "Tafelbau" / "Tafelbau.ini"));
        EXPECT_EQ(testutil::readFile(dir / "prog" / "TafelbauGadgetPool.ini"), pool);
    }
};

} // namespace

TEST_F(Batch, RefreshRegeneratesTheCodeFileOfTheSameName)
{
    GdtList list;
    GadgetRecord &r = list.append({});
    r.varId = "Ok", r.code = "ButtonGadget(#[id], [x])", r.x = 4;
    ASSERT_TRUE(writeListFile(dir / "dlg.tbf", list).ok);
    testutil::writeFile(dir / "dlg.pbi", "other");
    testutil::writeFile(dir / "dlg.PBI", "stale");
    // The file named is the one written, whatever the case of its extension.
    const auto result = run({"/RefreshCode", (dir / "dlg.PBI").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    // Bytes this program did not write there are kept, and that is said.
    EXPECT_EQ(result.err, "Tafelbau: Die Codedatei war nicht mehr so, wie Tafelbau sie zuletzt geschrieben hat; "
                          "ihr bisheriger Inhalt liegt jetzt in: "
                              + (dir / "dlg.PBI.bak").string() + "\n");
    EXPECT_EQ(testutil::readFile(dir / "dlg.PBI.bak"), "stale");
    const std::string code = testutil::readFile(dir / "dlg.PBI");
    EXPECT_NE(code.find("\t#Ok\r\n"), std::string::npos);
    EXPECT_NE(code.find("ButtonGadget(#Ok, 4*GTBScale)\r\n"), std::string::npos);
    EXPECT_EQ(testutil::readFile(dir / "dlg.pbi"), "other");
    EXPECT_TRUE(fs::exists(dir / "dlgPBFExport.pbf"));
    expectSettingsAndPoolUntouched();
}

TEST_F(Batch, RefreshFailuresAndNothingToDo)
{
    testutil::writeFile(dir / "bad.tbf", crlf({"GdtListFileVersion = 1"}));
    testutil::writeFile(dir / "bad.pbi", "keep");
    ASSERT_TRUE(writeListFile(dir / "d.tbf", GdtList{}).ok);
    fs::create_directory(dir / "d.pbi");
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{"/refreshcode", (dir / "missing.pbi").string()},
         1,
         "Fehler: Kann Gadgetliste nicht \xC3\266ffnen: " + (dir / "missing.tbf").string()},
        {{"/refreshcode", (dir / "bad.pbi").string()}, 1, "Version: 1\nErforderliche Version: 081103"},
        {{"/refreshcode", (dir / "d.pbi").string()},
         1,
         "Fehler: Kann Codedatei nicht speichern: " + (dir / "d.pbi").string() + "\nIst ein Verzeichnis"},
        {{"/import", "only-one"}, 2, "/refreshcode"}, // the usage
        // The editor without a display says so in German and names the forms that need none.
        {{}, 1, noDisplayText()},
        {{(dir / "d.tbf").string()}, 1, noDisplayText()},
        {{"--version"}, 0, ""}};
    for (const auto &[args, status, errPart] : cases) {
        const auto result = run(args);
        EXPECT_EQ(result.status, status) << result.err;
        if (errPart.empty())
            EXPECT_EQ(result.err, "");
        else
            EXPECT_NE(result.err.find(errPart), std::string::npos) << result.err;
    }
    EXPECT_EQ(testutil::readFile(dir / "bad.pbi"), "keep");
    expectSettingsAndPoolUntouched();
}

// The list named instead of its code file (an editor tool set up with the
// wrong placeholder): nothing is written, the status stays 0, and one line
// says what was expected.
TEST_F(Batch, RefreshOfAnotherFileSaysWhichExtensionItExpected)
{
    ASSERT_TRUE(writeListFile(dir / "dialog.tbf", GdtList{}).ok);
    const std::string list = testutil::readFile(dir / "dialog.tbf");
    const std::string expected =
        "Tafelbau: /refreshcode erwartet eine Codedatei mit der Endung .pbi, nichts geschrieben";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"/refreshcode", (dir / "dialog.tbf").string()}, expected + ": " + (dir / "dialog.tbf").string() + "\n"},
        {{"/refreshcode", (dir / "x.pb").string()}, expected + ": " + (dir / "x.pb").string() + "\n"},
        {{"/refreshcode"}, expected + "\n"},
    };
    for (const auto &[args, err] : cases) {
        const auto result = run(args);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, err);
    }
    EXPECT_EQ(testutil::readFile(dir / "dialog.tbf"), list);
    EXPECT_FALSE(fs::exists(dir / "dialog.pbi"));
    EXPECT_FALSE(fs::exists(dir / "dialogPBFExport.pbf"));
    PoolSettings noExtension;
    EXPECT_EQ(nothingToRefreshMessage("a.pbi", noExtension),
              "/refreshcode erwartet eine Codedatei ohne Endung, nichts geschrieben: a.pbi");
}

TEST_F(Batch, ImportCreatesListAndCodeThenAppendsOnTheNextCard)
{
    testutil::writeFile(dir / "alt.pb", "  ButtonGadget(Ok, 10, 20, 80, 24, \"Weiter\") ; Knopf\r\n");
    for (int round = 0; round < 2; ++round) {
        const testutil::RunResult r = run({"/import", (dir / "alt.pb").string(), (dir / "dlg.tbf").string()});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
    }
    const std::string list = testutil::readFile(dir / "dlg.tbf");
    EXPECT_NE(list.find("[Ok1]\r\ncode = ButtonGadget(#[id], [x], \"[text]\")\r\nname = ButtonGadget\r\n"
                        "text = Weiter)\r\nx = 10\r\n"),
              std::string::npos);
    EXPECT_NE(list.find("card = 1\r\n"), std::string::npos);
    const std::string code = testutil::readFile(dir / "dlg.pbi");
    EXPECT_NE(code.find("\t#Ok\r\n\t#Ok1\r\n"), std::string::npos);
    EXPECT_NE(code.find("ButtonGadget(#Ok1, 10*GTBScale, \"Weiter)\")\r\n"), std::string::npos);
    expectSettingsAndPoolUntouched();
}

TEST_F(Batch, ImportFailuresLeaveTheListFileAsItWas)
{
    testutil::writeFile(dir / "good.pb", "ButtonGadget(a, 1\r\n");
    testutil::writeFile(dir / "badid.pb", "ButtonGadget(a]b, 1\r\n");
    const std::string oldList = crlf({"GdtListFileVersion = 081103", "[Alt]", "name = ButtonGadget"});
    // source, list file, its bytes before ("" when missing), part of the message
    const std::tuple<fs::path, std::string, std::string, std::string> cases[] = {
        {dir / "missing.pb", "a.tbf", oldList, "Err - konnte Datei nicht \xC3\266ffnen: "},
        {dir.path(), "b.tbf", "", "Err - konnte Datei nicht \xC3\266ffnen: "},
        {dir / "good.pb", "c.tbf", "GdtListFileVersion = 1\r\n", "Kann diese Datei nicht laden"},
        {dir / "badid.pb", "d.tbf", oldList, "Kann Gadgetliste nicht speichern"},
        {dir / "good.pb", "e.pbi", oldList, "Fehler: Codedatei und Gadgetliste w\xC3\xA4ren dieselbe Datei: "}};
    for (const auto &[source, name, bytes, message] : cases) {
        const fs::path list = dir / name;
        if (!bytes.empty())
            testutil::writeFile(list, bytes);
        const testutil::RunResult r = run({"/import", source.string(), list.string()});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_NE(r.err.find(message), std::string::npos) << name << ": " << r.err;
        EXPECT_EQ(fs::exists(list) ? testutil::readFile(list) : "", bytes) << name;
        EXPECT_FALSE(fs::exists(list.string().substr(0, list.string().size() - 4) + "PBFExport.pbf")) << name;
    }
}

// A pool whose code-file extension is ".tbf" names the list itself as the
// code file: the refresh must refuse rather than replace the list by code.
TEST_F(Batch, RefreshRefusesToWriteOverTheListFile)
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
    EXPECT_FALSE(fs::exists(dir / "aPBFExport.pbf"));
}

TEST_F(Batch, ImportByStatementsReportsOnStandardError)
{
    testutil::writeFile(dir / "prog" / "TafelbauGadgetPool.ini",
                        crlf({"GGdtPoolCodeFileExt = .pbi", "GGdtPoolImportSyntax = 1", "[ButtonGadget]",
                              "code = ButtonGadget(#[id], [x], \"[text]\")",
                              "importcode = ButtonGadget(#[id],[x],[y],[xd],[yd],[text],[flags]"}));
    testutil::writeFile(dir / "neu.pb", "Ok = ButtonGadget(#PB_Any, 10, 20, 80, 24, \"Weiter\") ; Knopf\r\n"
                                        "ButtonGadget(#Zu, x + 1, 0, 0, 0, \"Zu\")\r\n");
    const testutil::RunResult r = run({"/import", (dir / "neu.pb").string(), (dir / "dlg.tbf").string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Tafelbau: Import: 2 Gadgets gelesen.\n"
                     "Zeile 2: ButtonGadget Zu: X ist keine Zahl (x + 1) \xE2\x80\x93 \xC3\274bernommen als 0\n");
    const std::string code = testutil::readFile(dir / "dlg.pbi");
    EXPECT_NE(code.find("ButtonGadget(#Ok, 10*GTBScale, \"Weiter\")\r\n"), std::string::npos);
    EXPECT_NE(code.find("ButtonGadget(#Zu, 0*GTBScale, \"Zu\")\r\n"), std::string::npos);
}

// "/import dialog.pbi dialog.tbf" used to read the hand-written source, save
// the list and then replace the source by the code generated from it.
TEST_F(Batch, ImportRefusesASourceThatTheCodeFileWouldReplace)
{
    const std::string source = "OpenWindow(0, 0, 0, 200, 100, \"Dialog\")\r\n"
                               "ButtonGadget(Ok, 10, 20, 80, 24, \"Weiter\")\r\n";
    testutil::writeFile(dir / "dialog.pbi", source);
    const testutil::RunResult r = run({"/import", (dir / "dialog.pbi").string(), (dir / "dialog.tbf").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Tafelbau: Fehler: Die Quelldatei w\xC3\xA4re die Codedatei der Gadgetliste: "
                         + (dir / "dialog.pbi").string() + "\n");
    EXPECT_EQ(testutil::readFile(dir / "dialog.pbi"), source);
    EXPECT_FALSE(fs::exists(dir / "dialog.tbf"));
    EXPECT_FALSE(fs::exists(dir / "dialogPBFExport.pbf"));
}

// A pool that is there but cannot be read gives no code-file extension:
// the batch run says so and stops before it writes anything.
TEST_F(Batch, UnreadablePoolStopsTheBatchRun)
{
    fs::remove(dir / "prog" / "TafelbauGadgetPool.ini");
    const fs::path own = dir / "home" / ".local" / "share" / "Tafelbau" / "TafelbauGadgetPool.ini";
    fs::create_directories(own.parent_path());
    ASSERT_TRUE(writeListFile(dir / "dlg.tbf", GdtList{}).ok);
    const std::pair<std::function<void()>, std::string> pools[] = {
        {[&] { fs::create_directory(own); }, "Ist ein Verzeichnis"},
        {[&] { fs::create_symlink(dir / "gone.ini", own); }, "Datei oder Verzeichnis nicht gefunden"},
    };
    for (const auto &[makePool, reason] : pools) {
        fs::remove(own);
        makePool();
        const testutil::RunResult r = run({"/refreshcode", (dir / "dlg").string()});
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_EQ(r.err, "Tafelbau: Fehler: Kann Pooldatei nicht lesen: " + own.string() + "\n" + reason
                             + "\nDer Gadget-Pool bleibt leer; beim Speichern wird keine Codedatei geschrieben.\n");
        EXPECT_FALSE(fs::exists(dir / "dlg"));
        EXPECT_FALSE(fs::exists(dir / "dlgPBFExport.pbf"));
    }
}

// The refresh remembers what it wrote; a hand edit since is kept and said
// on standard error, once.
TEST_F(Batch, RefreshKeepsAHandEditAndSaysSo)
{
    GdtList list;
    list.append({}).varId = "Ok";
    ASSERT_TRUE(writeListFile(dir / "dlg.tbf", list).ok);
    const std::string code = (dir / "dlg.pbi").string();
    EXPECT_EQ(run({"/refreshcode", code}).err, "");
    testutil::writeFile(code, testutil::readFile(code) + "; mine\r\n");
    const std::string edited = testutil::readFile(code);
    EXPECT_EQ(run({"/refreshcode", code}).err,
              "Tafelbau: Die Codedatei war nicht mehr so, wie Tafelbau sie zuletzt geschrieben hat; ihr bisheriger "
              "Inhalt liegt jetzt in: "
                  + code + ".bak\n");
    EXPECT_EQ(testutil::readFile(code + ".bak"), edited);
    const testutil::RunResult again = run({"/refreshcode", code});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.err, "");
}

TEST_F(Batch, CheckPrintsOneLinePerProblemAndFailsOnlyThen)
{
    const GdtList clean = dialoglist::listOf("W:Win@0 P:Tabs@0 G:One@1>Tabs B:Name@1 C:End@0 B:Ok@0");
    GdtList faulty = clean;
    faulty.records()[5].card = 1;
    ASSERT_TRUE(writeListFile(dir / "clean.tbf", clean).ok);
    ASSERT_TRUE(writeListFile(dir / "faulty.tbf", faulty).ok);

    const testutil::RunResult good = run({"/check", (dir / "clean.tbf").string()});
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.out, "");
    const testutil::RunResult bad = run({"/check", (dir / "faulty.tbf").string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "Ok: liegt auf Karte 1, der Code erzeugt es aber in Win (Karte 0)\n");
    EXPECT_EQ(bad.err, "");
    const testutil::RunResult missing = run({"/check", (dir / "none.tbf").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.tbf"), std::string::npos);
    EXPECT_EQ(run({"/check"}).status, 2);
    expectSettingsAndPoolUntouched();
}

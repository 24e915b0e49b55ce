#include "testutil.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// The program reads its pool beside itself, so each test runs a copy of it
// next to a pool of its own, with a home folder of its own.
struct ImportRig
{
    testutil::TempDir dir;

    ImportRig()
    {
        fs::copy_file(TAFELBAU_EXE, dir / "tafelbau");
        testutil::writeFile(dir / "TafelbauGadgetPool.ini",
                            testutil::crlf({"GGdtPoolCodeFileExt = .pbi", "[ButtonGadget]",
                                            "code = ButtonGadget(#[id], [x], \"[text]\")",
                                            "importcode = ButtonGadget([id],[x],[y],[xd],[yd],[text],[flags]"}));
    }

    testutil::RunResult run(const fs::path &source, const fs::path &list) const
    {
        const std::string home = (dir / "home").string();
        return testutil::runProgram((dir / "tafelbau").string(), {"/import", source.string(), list.string()},
                                    {"HOME=" + home, "XDG_CONFIG_HOME=" + home});
    }
};

} // namespace

TEST(BatchImport, CreatesListAndCodeThenAppendsOnTheNextCard)
{
    ImportRig rig;
    testutil::writeFile(rig.dir / "alt.pb", "  ButtonGadget(Ok, 10, 20, 80, 24, \"Weiter\") ; Knopf\r\n");
    for (int run = 0; run < 2; ++run) {
        const testutil::RunResult r = rig.run(rig.dir / "alt.pb", rig.dir / "dlg.tbf");
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
    }
    const std::string list = testutil::readFile(rig.dir / "dlg.tbf");
    EXPECT_NE(list.find("[Ok1]\r\ncode = ButtonGadget(#[id], [x], \"[text]\")\r\nname = ButtonGadget\r\n"
                        "text = Weiter)\r\nx = 10\r\n"),
              std::string::npos);
    EXPECT_NE(list.find("card = 1\r\n"), std::string::npos);
    const std::string code = testutil::readFile(rig.dir / "dlg.pbi");
    EXPECT_NE(code.find("\t#Ok\r\n\t#Ok1\r\n"), std::string::npos);
    EXPECT_NE(code.find("ButtonGadget(#Ok1, 10*GTBScale, \"Weiter)\")\r\n"), std::string::npos);
}

TEST(BatchImport, FailuresLeaveTheListFileAsItWas)
{
    ImportRig rig;
    const fs::path good = rig.dir / "good.pb";
    testutil::writeFile(good, "ButtonGadget(a, 1\r\n");
    const fs::path badId = rig.dir / "badid.pb";
    testutil::writeFile(badId, "ButtonGadget(a]b, 1\r\n");
    const std::string oldList = testutil::crlf({"GdtListFileVersion = 081103", "[Alt]", "name = ButtonGadget"});
    const struct
    {
        fs::path source;
        std::string listName, listBytes, message;
    } cases[] = {
        {rig.dir / "missing.pb", "a.tbf", oldList, "Err - konnte Datei nicht \xC3\xB6""ffnen: "},
        {rig.dir.path(), "b.tbf", "", "Err - konnte Datei nicht \xC3\xB6""ffnen: "},
        {good, "c.tbf", "GdtListFileVersion = 1\r\n", "Kann diese Datei nicht laden"},
        {badId, "d.tbf", oldList, "Kann Gadgetliste nicht speichern"},
        {good, "e.pbi", oldList, "denselben Namen"},
    };
    for (const auto &c : cases) {
        const fs::path list = rig.dir / c.listName;
        if (!c.listBytes.empty())
            testutil::writeFile(list, c.listBytes);
        const testutil::RunResult r = rig.run(c.source, list);
        EXPECT_EQ(r.status, 1) << c.listName;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.listName << ": " << r.err;
        EXPECT_EQ(fs::exists(list) ? testutil::readFile(list) : "", c.listBytes) << c.listName;
        EXPECT_FALSE(fs::exists(list.string().substr(0, list.string().size() - 4) + "PBFExport.pbf")) << c.listName;
    }
}

TEST(BatchImport, StatementReadingReportsOnStandardError)
{
    ImportRig rig;
    testutil::writeFile(rig.dir / "TafelbauGadgetPool.ini",
                        testutil::crlf({"GGdtPoolCodeFileExt = .pbi", "GGdtPoolImportSyntax = 1", "[ButtonGadget]",
                                        "code = ButtonGadget(#[id], [x], \"[text]\")",
                                        "importcode = ButtonGadget(#[id],[x],[y],[xd],[yd],[text],[flags]"}));
    testutil::writeFile(rig.dir / "neu.pb", "Ok = ButtonGadget(#PB_Any, 10, 20, 80, 24, \"Weiter\") ; Knopf\r\n"
                                            "ButtonGadget(#Zu, x + 1, 0, 0, 0, \"Zu\")\r\n");
    const testutil::RunResult r = rig.run(rig.dir / "neu.pb", rig.dir / "dlg.tbf");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Tafelbau: Import: 2 Gadgets gelesen.\n"
                     "Zeile 2: ButtonGadget Zu: X ist keine Zahl (x + 1) \xE2\x80\x93 \xC3\xBC" "bernommen als 0\n");
    const std::string code = testutil::readFile(rig.dir / "dlg.pbi");
    EXPECT_NE(code.find("ButtonGadget(#Ok, 10*GTBScale, \"Weiter\")\r\n"), std::string::npos);
    EXPECT_NE(code.find("ButtonGadget(#Zu, 0*GTBScale, \"Zu\")\r\n"), std::string::npos);
}

// A code file edited by hand is kept before the next save writes it anew.
#include "core/codegen/codefile.h"
#include "core/codegen/codefileguard.h"
#include "core/document/statefolder.h"

#include "faultyfiles.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace tafelbau;
namespace fs = std::filesystem;

namespace {

const std::string kKeptNotice = "Die Codedatei war nicht mehr so, wie Tafelbau sie zuletzt geschrieben hat; "
                                "ihr bisheriger Inhalt liegt jetzt in: ";

struct Guard : ::testing::Test
{
    testutil::TempDir dir;
    GdtList list;
    PoolSettings settings;

    void SetUp() override
    {
        settings.codeFileExt = ".pbi";
        GadgetRecord &r = list.append({});
        r.varId = "Ok";
        r.code = "ButtonGadget(#[id])";
    }
    Outcome generate(FileOps &files, std::time_t when = 0)
    {
        return generateCodeFile(dir / "a.tbf", list, settings, when, files);
    }
    std::string code() const { return testutil::readFile(dir / "a.pbi"); }
};

} // namespace

TEST_F(Guard, HandEditedCodeFileIsKeptAsBakOnce)
{
    testutil::WithStateFolder files(dir / "state");
    Outcome out = generate(files);
    ASSERT_TRUE(out.ok);
    EXPECT_EQ(out.notice, "");
    EXPECT_FALSE(fs::exists(dir / "a.pbi.bak"));

    const std::string edited = code() + "; a line of my own\r\n";
    testutil::writeFile(dir / "a.pbi", edited);
    out = generate(files);
    ASSERT_TRUE(out.ok);
    EXPECT_EQ(out.notice, kKeptNotice + (dir / "a.pbi.bak").string());
    EXPECT_EQ(testutil::readFile(dir / "a.pbi.bak"), edited);
    EXPECT_EQ(code(), codeFileBytes(list, settings, 0));

    // What this program wrote needs no copy, whatever the list is now.
    fs::remove(dir / "a.pbi.bak");
    list.append(list.records().front()).varId = "Cancel";
    out = generate(files, 3600);
    EXPECT_EQ(out.notice, "");
    EXPECT_FALSE(fs::exists(dir / "a.pbi.bak"));

    // Touched but not changed: still what was written.
    std::filesystem::last_write_time(dir / "a.pbi", std::filesystem::file_time_type::clock::now() + std::chrono::hours(1));
    list.records().back().varId = "Abbrechen";
    EXPECT_EQ(generate(files).notice, "");
    EXPECT_FALSE(fs::exists(dir / "a.pbi.bak"));

    // The next hand edit replaces the copy of the one before.
    testutil::writeFile(dir / "a.pbi.bak", "older copy");
    testutil::writeFile(dir / "a.pbi", "rewritten by hand");
    EXPECT_EQ(generate(files).notice, kKeptNotice + (dir / "a.pbi.bak").string());
    EXPECT_EQ(testutil::readFile(dir / "a.pbi.bak"), "rewritten by hand");

    // Hand edits are told by a hash: one of the last byte alone changes it,
    // whatever is left after the hash's words.
    for (const std::size_t size : {1u, 9u, 40u, 63u})
        EXPECT_NE(contentHash(std::string(size - 1, 'c') + "a"), contentHash(std::string(size - 1, 'c') + "b")) << size;
}

// Without a remembered hash (no state folder, a code file from elsewhere)
// only code as this program writes it is taken for its own.
TEST_F(Guard, WithoutARecordOnlyGeneratedCodeIsWrittenOver)
{
    testutil::WithStateFolder noState("");
    const struct
    {
        const char *name;
        std::function<void()> prepare;
        bool kept;
    } cases[] = {
        {"no code file yet", [] {}, false},
        {"an empty one", [&] { testutil::writeFile(dir / "a.pbi", ""); }, false},
        {"the same code of another day",
         [&] { testutil::writeFile(dir / "a.pbi", codeFileBytes(list, settings, 86400 * 400)); }, false},
        {"another list's code", [&] { testutil::writeFile(dir / "a.pbi", codeFileBytes(GdtList{}, settings, 0)); },
         true},
        {"a source written by hand", [&] { testutil::writeFile(dir / "a.pbi", "OpenWindow(0, 0, 0, 9, 9, \"\")"); },
         true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(dir / "a.pbi");
        fs::remove(dir / "a.pbi.bak");
        c.prepare();
        const std::string before = code();
        const Outcome out = generate(noState);
        ASSERT_TRUE(out.ok);
        EXPECT_EQ(fs::exists(dir / "a.pbi.bak"), c.kept);
        EXPECT_EQ(out.notice.empty(), !c.kept);
        if (c.kept) {
            EXPECT_EQ(testutil::readFile(dir / "a.pbi.bak"), before);
        }
    }
}

TEST_F(Guard, ACopyThatCannotBeMadeStopsTheCodeFile)
{
    testutil::WithStateFolder files(dir / "state");
    testutil::writeFile(dir / "a.pbi", "by hand");
    fs::create_directory(dir / "a.pbi.bak");
    const Outcome out = generate(files);
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.message, "Fehler: Kann Codedatei nicht speichern: " + (dir / "a.pbi").string()
                               + "\r\nSie wurde au\xC3\x9F"
                                 "erhalb von Tafelbau ge\xC3\xA4ndert, und die Sicherungskopie "
                               + (dir / "a.pbi.bak").string() + " l\xC3\xA4sst sich nicht anlegen: Ist ein Verzeichnis");
    EXPECT_EQ(code(), "by hand");
}

// Whatever bytes sit where a settings, pool or list file is expected, reading
// them neither crashes nor hangs, and nothing on disk changes.
#include "core/app/programsettings.h"
#include "core/document/listfile.h"
#include "core/pool/poolfile.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace tafelbau;

namespace {

std::string randomBytes(std::size_t n, std::uint32_t seed)
{
    std::string s;
    s.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        s.push_back(static_cast<char>(seed >> 23));
    }
    return s;
}

std::vector<std::pair<std::string, std::string>> garbageFiles()
{
    std::string sameGroups = "GdtListFileVersion = 081103\r\n";
    for (int i = 0; i < 3000; ++i)
        sameGroups += "[Same]\r\nx = " + std::string(40, '9') + "\r\ntab = -5\r\n";
    return {
        {"binary", randomBytes(300000, 1)},
        {"nul bytes", std::string("GdtListFileVersion = 081103\r\n[A\0B]\r\nname = \0\0\r\n", 46)},
        {"megabyte line", "GdtListFileVersion = 081103\r\n[A]\r\ncode = " + std::string(3 << 20, 'x')},
        {"bom and invalid utf-8", "\xEF\xBB\xBFGdtListFileVersion = 081103\r\n[\xC3\x28\xFF]\r\ntext = \xE2\x82\r\n"},
        {"same-named groups", sameGroups},
        {"only brackets", std::string(100000, '[')},
        {"only line breaks", std::string(100000, '\n') + std::string(100000, '\r')},
        {"empty", ""},
    };
}

} // namespace

TEST(Garbage, ReadersSurviveAndLeaveTheFileAlone)
{
    testutil::TempDir dir;
    for (const auto &[label, bytes] : garbageFiles()) {
        const auto file = dir / "garbage";
        testutil::writeFile(file, bytes);

        GdtPool pool;
        loadGdtPool(file, pool);
        GdtList list;
        const Outcome loaded = loadListFile(file, list, frameColoursOf(pool));
        if (!loaded.ok) {
            EXPECT_NE(loaded.message.find("Fehler"), std::string::npos) << label;
        }
        const ProgramSettings settings = readProgramSettings(file);
        (void)settings;
        EXPECT_EQ(testutil::readFile(file), bytes) << label << ": a reader changed the file";

        // What loaded can be written and read back without growing.
        if (loaded.ok && writeListFile(dir / "out.tbf", list).ok) {
            GdtList again;
            EXPECT_TRUE(loadListFile(dir / "out.tbf", again, frameColoursOf(pool)).ok) << label;
            EXPECT_EQ(again.size(), list.size()) << label;
        }
    }
}

TEST(Garbage, SameNamedGroupsLoadAsSeparateRecordsButAreNotSavedMerged)
{
    testutil::TempDir dir;
    std::string bytes = "GdtListFileVersion = 081103\r\n";
    for (int i = 0; i < 3; ++i)
        bytes += "[Same]\r\nx = " + std::to_string(i) + "\r\n";
    testutil::writeFile(dir / "a.tbf", bytes);
    GdtList list;
    ASSERT_TRUE(loadListFile(dir / "a.tbf", list, {}).ok);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.records()[2].x, 2);
    const Outcome saved = writeListFile(dir / "a.tbf", list);
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(testutil::readFile(dir / "a.tbf"), bytes);
}

TEST(Garbage, DevicesAndPipesAreNoFiles)
{
    GdtList list;
    for (const char *path : {"/dev/zero", "/dev/null", "/proc/self"}) {
        const Outcome out = loadListFile(path, list, {});
        EXPECT_FALSE(out.ok) << path;
    }
    testutil::TempDir dir;
    const auto fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(loadListFile(fifo, list, {}).ok); // must not block
}

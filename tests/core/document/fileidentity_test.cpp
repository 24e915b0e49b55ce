#include "core/document/fileidentity.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace tafelbau;

// Only other bytes count as a change: a touch or the same bytes written
// again do not, an edit of the same length within the clock's tick does.
TEST(FileIdentity, OnlyOtherBytesAreAChange)
{
    testutil::TempDir dir;
    const auto path = dir / "list.tbf";
    const struct
    {
        const char *name;
        std::string bytes;
        bool changed;
    } cases[] = {{"same bytes", "[A]\r\nx = 1\r\n", false},
                 {"same length", "[B]\r\nx = 1\r\n", true},
                 {"longer", "[A]\r\nx = 12\r\n", true},
                 {"emptied", "", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        testutil::writeFile(path, "[A]\r\nx = 1\r\n");
        const auto known = fileIdentityOf(path);
        ASSERT_TRUE(known);
        testutil::writeFile(path, c.bytes);
        EXPECT_EQ(changedOnDisk(*known, path), c.changed);
    }
    const auto known = fileIdentityOf(path);
    ASSERT_TRUE(known);
    struct stat st = {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(known->inode, static_cast<std::uint64_t>(st.st_ino));
    EXPECT_EQ(known->modifiedNs, std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec);

    // A list that is gone is written anew without a question.
    std::filesystem::remove(path);
    EXPECT_FALSE(changedOnDisk(*known, path));
    EXPECT_FALSE(fileIdentityOf(path));
    EXPECT_FALSE(fileIdentityOf(dir.path()));
}

#include "core/document/fileidentity.h"

#include "core/document/listfile.h"
#include "core/document/statefolder.h"

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

// The hashes are kept in the state folder between versions: a changed value
// would take every code file for edited by hand once. Pieces of any size
// give the same value as the whole.
TEST(ContentHash, KeepsItsValuesAndComesOutTheSameInPieces)
{
    std::string big;
    for (int i = 0; i < 1000; ++i)
        big += static_cast<char>('a' + i % 26) + std::to_string(i);
    const struct
    {
        std::string bytes;
        const char *hash;
    } cases[] = {{"", "ee3d3c70c4eb1396"},
                 {"a", "da56a0c81544bea8"},
                 {"Tafelbau", "5cbdacd182622bb6"},
                 {"0123456789abcdef0123456789abcdef0", "16d3c55acd684bcb"},
                 {big, "6aa28713589e69cc"}};
    for (const auto &c : cases) {
        EXPECT_EQ(hexOf(contentHash(c.bytes)), c.hash) << c.bytes.size();
        for (const std::size_t piece : {1u, 7u, 31u, 32u, 33u, 1000u}) {
            ContentHasher hasher(c.bytes.size());
            for (std::size_t at = 0; at < c.bytes.size(); at += piece)
                hasher.add(std::string_view(c.bytes).substr(at, piece));
            EXPECT_EQ(hexOf(hasher.result()), c.hash) << c.bytes.size() << " in pieces of " << piece;
        }
    }
}

// What a save writes is hashed on the way out; that hash must be the one a
// later read of the file gives, or a touched list would look changed.
TEST(FileIdentity, ASavedListIsKnownWithoutReadingItBack)
{
    testutil::TempDir dir;
    const auto path = dir / "list.tbf";
    for (const bool utf8 : {false, true}) {
        GdtList list;
        for (int i = 0; i < 3000; ++i) { // more than one slice of the writer
            GadgetRecord r;
            r.varId = "G" + std::to_string(i);
            r.text = utf8 ? "\xE2\x82\xAC" : "\xE4";
            r.code = std::string(300, 'c');
            list.append(r);
        }
        list.setEncoding(utf8 ? TextEncoding::Utf8 : TextEncoding::Latin1);
        std::uint64_t hash = 0;
        ASSERT_TRUE(writeListFile(path, list, FileOps::system(), nullptr, &hash).ok);
        const auto written = writtenFileIdentity(path, hash);
        const auto read = fileIdentityOf(path);
        ASSERT_TRUE(written && read);
        EXPECT_EQ(written->hash, read->hash) << utf8;
        EXPECT_EQ(written->size, read->size);
        EXPECT_EQ(written->inode, read->inode);
        EXPECT_FALSE(changedOnDisk(*written, path));

        // Touched: read, and found the same.
        testutil::writeFile(path, testutil::readFile(path));
        EXPECT_FALSE(changedOnDisk(*written, path));
    }
}

// The recovery at start: it puts back only what a cut-off rewrite lost.
#include "core/document/rewritesafeguard.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <chrono>
#include <unistd.h>

using namespace tafelbau;
namespace fs = std::filesystem;

namespace {

std::size_t copiesIn(const fs::path &state)
{
    std::error_code ec;
    std::size_t n = 0;
    for (auto it = fs::directory_iterator(state / "rewrites", ec); !ec && it != fs::directory_iterator(); ++it)
        ++n;
    return n;
}

} // namespace

TEST(RewriteSafeguard, RecoveryPutsBackOnlyWhatARewriteLost)
{
    testutil::TempDir dir;
    const fs::path state = dir / "state";
    auto file = [&](const char *name, const std::string &bytes) {
        testutil::writeFile(dir / name, bytes);
        return dir / name;
    };

    // Running: locked by the rewrite that is cutting the file right now.
    const fs::path running = file("running.tbf", "old running");
    auto runningCopy = std::make_unique<RewriteSafeguard>();
    ASSERT_TRUE(runningCopy->keep(state, running, "old running", "new running"));
    testutil::writeFile(running, "new r");
    // Finished: the new bytes are all there.
    const fs::path finished = file("finished.tbf", "old finished");
    {
        RewriteSafeguard copy;
        ASSERT_TRUE(copy.keep(state, finished, "old finished", "new finished"));
        testutil::writeFile(finished, "new finished");
    }
    // Replaced by another save since (a new file under the name).
    const fs::path replaced = file("replaced.tbf", "old replaced");
    {
        RewriteSafeguard copy;
        ASSERT_TRUE(copy.keep(state, replaced, "old replaced", "new replaced"));
        testutil::writeFile(replaced, "ne");
        fs::rename(file("other.tbf", "a later save"), replaced);
    }
    // Cut: killed half way.
    const fs::path cut = file("cut.tbf", "old cut");
    {
        RewriteSafeguard copy;
        ASSERT_TRUE(copy.keep(state, cut, "old cut", "a longer new content"));
        testutil::writeFile(cut, "a longer new con");
    }
    // Garbage among the copies: an old one goes, a young one may be a copy
    // just being begun.
    testutil::writeFile(state / "rewrites" / "rewrite-oldjnk", "garbage");
    fs::last_write_time(state / "rewrites" / "rewrite-oldjnk",
                        fs::file_time_type::clock::now() - std::chrono::minutes(5));
    testutil::writeFile(state / "rewrites" / "rewrite-newjnk", "garbage");
    ASSERT_EQ(copiesIn(state), 6u);

    const auto recovered = recoverInterruptedRewrites(state);
    ASSERT_EQ(recovered.size(), 1u);
    EXPECT_EQ(recovered[0].file, cut);
    EXPECT_TRUE(recovered[0].restored);
    EXPECT_EQ(recoveryMessage(recovered[0]),
              "Eine unterbrochene Speicherung wurde zur\xC3\xBC"
              "ckgenommen; die Datei hat wieder ihren vorigen Inhalt: "
                  + cut.string());
    EXPECT_EQ(testutil::readFile(cut), "old cut");
    EXPECT_EQ(testutil::readFile(running), "new r");
    EXPECT_EQ(testutil::readFile(finished), "new finished");
    EXPECT_EQ(testutil::readFile(replaced), "a later save");
    EXPECT_EQ(copiesIn(state), 2u) << "the running rewrite's copy and the young one";

    // The running one is killed now: its copy is no longer locked.
    runningCopy.reset();
    const auto later = recoverInterruptedRewrites(state);
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(testutil::readFile(running), "old running");
}

// A file that cannot take its old bytes back keeps the copy, and the
// message says why and where the copy is. Permission bits stop only a user
// who is not root: the recovery runs as one.
TEST(RewriteSafeguard, ACopyThatCannotGoBackStays)
{
    testutil::TempDir dir;
    const fs::path state = dir / "state";
    testutil::writeFile(dir / "a.tbf", "old");
    {
        RewriteSafeguard copy;
        ASSERT_TRUE(copy.keep(state, dir / "a.tbf", "old", "new new"));
        testutil::writeFile(dir / "a.tbf", "ne");
    }
    if (::geteuid() == 0) {
        for (const auto &e : fs::recursive_directory_iterator(dir.path()))
            if (::chown(e.path().c_str(), 65534, 65534) != 0)
                GTEST_SKIP() << "cannot hand the files to nobody";
        if (::chown(dir.path().c_str(), 65534, 65534) != 0)
            GTEST_SKIP() << "cannot hand the folder to nobody";
    }
    fs::permissions(dir / "a.tbf", fs::perms::owner_read);
    const int status = testutil::runUnprivileged([&] {
        const auto recovered = recoverInterruptedRewrites(state);
        if (recovered.size() != 1 || recovered[0].restored)
            return 1;
        if (recoveryMessage(recovered[0]).find("Keine Berechtigung") == std::string::npos
            || recoveryMessage(recovered[0]).find(recovered[0].copy.string()) == std::string::npos)
            return 2;
        return copiesIn(state) == 1 ? 0 : 3;
    });
    if (status < 0)
        GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(status, 0) << "1: put back or not found, 2: message, 3: the copy went";
    EXPECT_EQ(testutil::readFile(dir / "a.tbf"), "ne");
}

TEST(RewriteSafeguard, NoStateFolderNoCopy)
{
    testutil::TempDir dir;
    testutil::writeFile(dir / "a.tbf", "old");
    RewriteSafeguard copy;
    EXPECT_FALSE(copy.keep({}, dir / "a.tbf", "old", "new"));
    EXPECT_TRUE(recoverInterruptedRewrites({}).empty());
}

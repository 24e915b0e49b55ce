// How a save replaces a file: what it leaves when it is killed, and what
// becomes of long names, links, pipes and the temporary files of others.
#include "core/document/atomicfile.h"
#include "core/document/rewritesafeguard.h"
#include "core/document/systemerror.h"
#include "faultyfiles.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <random>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace tafelbau;
namespace fs = std::filesystem;

namespace {

/// Runs `body` in a child process; its exit status, or -signal when a
/// signal ended it. An alarm ends a child that would wait for ever.
int inChild(const std::function<int()> &body, unsigned alarmSeconds = 20)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(alarmSeconds);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

bool save(const fs::path &target, const std::string &bytes, FileOps &files = FileOps::system())
{
    AtomicFile f(files);
    return f.begin(target) && f.commit(bytes);
}

ino_t inodeOf(const fs::path &p)
{
    struct stat st = {};
    ::stat(p.c_str(), &st);
    return st.st_ino;
}

std::set<std::string> namesIn(const fs::path &dir)
{
    std::set<std::string> names;
    for (const auto &e : fs::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

void backdate(const fs::path &p)
{
    fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::minutes(5));
}

/// Writes half of what it is given, then the process is killed.
class KilledHalfWay : public testutil::InPlace
{
public:
    using InPlace::InPlace;
    long write(int fd, const char *data, std::size_t size) override
    {
        (void)FileOps::write(fd, data, size / 2);
        ::raise(SIGKILL);
        return -1;
    }
};

} // namespace

// The temporary name used to be the file's name and eight characters more:
// past 247 bytes it was too long, and the save fell back to a rewrite in
// place that a kill could cut.
TEST(AtomicFile, LongFileNamesAreStillReplacedWhole)
{
    testutil::TempDir dir;
    const fs::path target = dir / (std::string(251, 'n') + ".tbf");
    ASSERT_EQ(target.filename().native().size(), 255u);
    testutil::writeFile(target, "old");
    const ino_t before = inodeOf(target);
    ASSERT_TRUE(save(target, "new"));
    EXPECT_EQ(testutil::readFile(target), "new");
    EXPECT_NE(inodeOf(target), before) << "rewritten in place, not replaced";
    EXPECT_EQ(namesIn(dir.path()).size(), 1u);
}

TEST(AtomicFile, HardLinkedFileKeepsItsLinks)
{
    testutil::TempDir dir;
    fs::create_directory(dir / "state");
    testutil::writeFile(dir / "a.tbf", "old");
    fs::create_hard_link(dir / "a.tbf", dir / "b.tbf");
    testutil::WithStateFolder ops(dir / "state");
    ASSERT_TRUE(save(dir / "a.tbf", "new", ops));
    EXPECT_EQ(testutil::readFile(dir / "b.tbf"), "new");
    EXPECT_EQ(fs::hard_link_count(dir / "a.tbf"), 2u);
    EXPECT_TRUE(fs::is_empty(dir / "state" / "rewrites")) << "the copy of the old bytes is gone";

    // Where no copy of the old bytes can be kept, the file is replaced: its
    // other name keeps the old bytes, and nothing is lost.
    testutil::WithStateFolder none("");
    ASSERT_TRUE(save(dir / "a.tbf", "newer", none));
    EXPECT_EQ(testutil::readFile(dir / "a.tbf"), "newer");
    EXPECT_EQ(testutil::readFile(dir / "b.tbf"), "new");
}

TEST(AtomicFile, LinkKeepsPointingWhereItPointed)
{
    testutil::TempDir dir;
    fs::create_directories(dir / "real");
    fs::create_directories(dir / "work");
    testutil::writeFile(dir / "real" / "there.tbf", "old");
    const std::pair<const char *, fs::path> links[] = {
        {"to-file.tbf", "../real/there.tbf"},
        {"to-nothing.tbf", "../real/not-yet.tbf"},                   // dangling, relative
        {"to-nothing-absolute.tbf", dir / "real" / "absolute.tbf"}, // dangling, absolute
        {"to-link.tbf", "to-nothing.tbf"},                           // a chain
    };
    for (const auto &[name, to] : links)
        fs::create_symlink(to, dir / "work" / name);
    for (const auto &[name, to] : links) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(save(dir / "work" / name, std::string("saved through ") + name));
        ASSERT_TRUE(fs::is_symlink(dir / "work" / name));
        EXPECT_EQ(fs::read_symlink(dir / "work" / name), to);
        EXPECT_EQ(testutil::readFile(dir / "work" / name), std::string("saved through ") + name);
    }
    // A later save through a chain must leave its inner links alone too.
    for (const auto &[name, to] : links) {
        EXPECT_TRUE(fs::is_symlink(dir / "work" / name)) << name;
        EXPECT_EQ(fs::read_symlink(dir / "work" / name), to) << name;
    }
    EXPECT_EQ(testutil::readFile(dir / "real" / "not-yet.tbf"), "saved through to-link.tbf");
    EXPECT_EQ(namesIn(dir / "real"), (std::set<std::string>{"there.tbf", "not-yet.tbf", "absolute.tbf"}));
}

// The temporary file starts as the owner's alone; the saved file must not.
TEST(AtomicFile, SavedFileKeepsItsModeAndANewOneFollowsTheUmask)
{
    testutil::TempDir dir;
    testutil::writeFile(dir / "old.tbf", "old");
    const auto odd = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_write;
    fs::permissions(dir / "old.tbf", odd, fs::perm_options::replace);
    ASSERT_TRUE(save(dir / "old.tbf", "new"));
    EXPECT_EQ(fs::status(dir / "old.tbf").permissions(), odd);

    const mode_t mask = ::umask(027);
    const bool saved = save(dir / "new.tbf", "new");
    ::umask(mask);
    ASSERT_TRUE(saved);
    EXPECT_EQ(fs::status(dir / "new.tbf").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A pipe without a reader held the save for ever; devices are no documents.
TEST(AtomicFile, OnlyRegularFilesAreWritten)
{
    testutil::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.tbf").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", dir / "null.tbf");
    for (const char *name : {"pipe.tbf", "null.tbf"}) {
        SCOPED_TRACE(name);
        const int status = inChild([&] {
            AtomicFile f;
            if (f.begin(dir / name) || f.commit("x"))
                return 1;
            return f.error() == kNotARegularFile ? 0 : 2;
        });
        EXPECT_EQ(status, 0) << "1: written, 2: another reason, negative: it hung";
    }
    EXPECT_TRUE(fs::is_fifo(dir / "pipe.tbf"));
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"pipe.tbf", "null.tbf"}));
}

// After the rename the new name must reach the disk as well, or a power
// failure may bring the old file back.
TEST(AtomicFile, RenameIsFollowedByASyncOfTheFolder)
{
    struct Recording : FileOps
    {
        std::vector<std::string> calls;
        int rename(const fs::path &from, const fs::path &to) override
        {
            calls.push_back("rename to " + to.filename().string());
            return FileOps::rename(from, to);
        }
        int syncFolder(const fs::path &folder) override
        {
            calls.push_back("sync " + folder.string());
            return FileOps::syncFolder(folder);
        }
    };
    testutil::TempDir dir;
    Recording ops;
    AtomicFile durable(ops);
    ASSERT_TRUE(durable.begin(dir / "a.tbf") && durable.commit("list"));
    EXPECT_EQ(ops.calls, (std::vector<std::string>{"rename to a.tbf", "sync " + dir.path().string()}));
    ops.calls.clear();
    AtomicFile generated(ops);
    ASSERT_TRUE(generated.begin(dir / "a.pbi") && generated.commit("code", false));
    EXPECT_EQ(ops.calls, (std::vector<std::string>{"rename to a.pbi"}));
}

// A save killed half way leaves its temporary file, up to the size of the
// list; the next save into that folder removes it -- but never one that a
// running save is writing, nor anyone else's file.
TEST(AtomicFile, TemporaryFilesOfAKilledSaveGoAtTheNextSave)
{
    testutil::TempDir dir;
    // Each step leaves one new file; its name.
    auto added = [&](const std::function<void()> &step) {
        const std::set<std::string> before = namesIn(dir.path());
        step();
        std::set<std::string> now = namesIn(dir.path());
        for (const std::string &n : before)
            now.erase(n);
        return now.size() == 1 ? *now.begin() : std::string("none");
    };
    auto killedWhileWriting = [&](const char *name) {
        EXPECT_EQ(inChild([&] {
                      AtomicFile f;
                      if (f.begin(dir / name) && f.write("half of it"))
                          ::raise(SIGKILL);
                      return 1;
                  }),
                  -SIGKILL);
    };
    const std::string stale = added([&] { killedWhileWriting("a.tbf"); });
    EXPECT_EQ(stale.size(), 16u) << stale;
    // Killed a moment ago: as young as a save's file that is not locked yet.
    const std::string young = added([&] { killedWhileWriting("c.tbf"); });
    // A save running right now, for a while already.
    AtomicFile running;
    const std::string locked = added([&] { ASSERT_TRUE(running.begin(dir / "d.tbf") && running.write("...")); });
    // One that earlier versions left (the file's name and six characters),
    // and files that only look alike.
    const char *const others[] = {".a.tbf.Ab12Cd", ".b.tbf.Ab12Cd", ".tafelbau-12345", "notes.txt"};
    for (const char *name : others)
        testutil::writeFile(dir / name, "x");
    for (const auto &e : fs::directory_iterator(dir.path()))
        if (e.path().filename() != young)
            backdate(e.path());

    ASSERT_TRUE(save(dir / "a.tbf", "saved"));
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"a.tbf", young, locked, ".b.tbf.Ab12Cd", ".tafelbau-12345",
                                                           "notes.txt"}));
    running.discard();
}

// A file rewritten where it is has no older copy on the disk: a kill while
// it is written used to leave it cut or empty. Its old bytes wait in the
// state folder, and the next start puts them back.
TEST(AtomicFile, RewriteInPlaceKilledHalfWayIsPutBackAtTheNextStart)
{
    testutil::TempDir dir;
    const fs::path target = dir / "a.tbf";
    const std::string old = testutil::crlf({"GdtListFileVersion = 081103", "[Old]", "text = what was saved"});
    testutil::writeFile(target, old);
    const fs::path state = dir / "state";
    const int status = inChild([&] {
        KilledHalfWay ops(state);
        AtomicFile f(ops);
        return f.begin(target) && f.commit(std::string(4096, 'n')) ? 0 : 1;
    });
    ASSERT_EQ(status, -SIGKILL);
    ASSERT_NE(testutil::readFile(target), old) << "the kill came too late to test anything";
    ASSERT_EQ(namesIn(state / "rewrites").size(), 1u);

    const auto recovered = recoverInterruptedRewrites(state);
    ASSERT_EQ(recovered.size(), 1u);
    EXPECT_TRUE(recovered[0].restored);
    EXPECT_EQ(recovered[0].file, target);
    EXPECT_EQ(testutil::readFile(target), old);
    EXPECT_TRUE(fs::is_empty(state / "rewrites"));
    EXPECT_TRUE(recoverInterruptedRewrites(state).empty());
}

TEST(AtomicFile, NoRewriteInPlaceWithoutACopyOfTheOldBytes)
{
    testutil::TempDir dir;
    testutil::writeFile(dir / "a.tbf", "old");
    testutil::InPlace noState("");
    AtomicFile f(noState);
    EXPECT_FALSE(f.begin(dir / "a.tbf"));
    EXPECT_EQ(f.error(), EACCES) << "the reason no temporary file could be made";
    EXPECT_EQ(testutil::readFile(dir / "a.tbf"), "old");

    // Nor with a copy that could not be written whole: a file size limit
    // stops the copy (head and 400 old bytes), not the three new bytes.
    const std::string older(400, 'o');
    testutil::writeFile(dir / "b.tbf", older);
    EXPECT_EQ(inChild([&] {
                  std::signal(SIGXFSZ, SIG_IGN);
                  const rlimit small{450, 450};
                  ::setrlimit(RLIMIT_FSIZE, &small);
                  testutil::InPlace ops(dir / "state");
                  AtomicFile b(ops);
                  return b.begin(dir / "b.tbf") && b.commit("new") ? 1 : 0;
              }),
              0);
    EXPECT_EQ(testutil::readFile(dir / "b.tbf"), older);
}

// Real kills at any moment, in both ways of saving: afterwards, and after
// the recovery, the file is whole -- what it was, or one of the saves.
TEST(AtomicFile, KillAtAnyMomentLeavesAWholeFile)
{
    auto content = [](int round) {
        return "round " + std::to_string(round) + "\n"
            + std::string(static_cast<std::size_t>(100000 + 37000 * (round % 7)), static_cast<char>('a' + round % 26))
            + "\nend\n";
    };
    auto isWhole = [&](const std::string &bytes) {
        return bytes.rfind("round ", 0) == 0 && bytes == content(std::atoi(bytes.c_str() + 6));
    };
    std::mt19937 random(20);
    for (const bool hardLinked : {false, true}) {
        SCOPED_TRACE(hardLinked ? "rewritten in place" : "replaced");
        testutil::TempDir dir;
        const fs::path target = dir / "a.tbf";
        testutil::writeFile(target, content(0));
        if (hardLinked)
            fs::create_hard_link(target, dir / "b.tbf");
        for (int kill = 0; kill < 6; ++kill) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                testutil::WithStateFolder ops(dir / "state");
                for (int round = 1;; ++round)
                    save(target, content(round), ops);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2 + random() % 40));
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            (void)recoverInterruptedRewrites(dir / "state");
            const std::string now = testutil::readFile(target);
            EXPECT_TRUE(isWhole(now)) << "kill " << kill << ": " << now.size() << " bytes, starting "
                                      << now.substr(0, 12);
            if (hardLinked) {
                EXPECT_EQ(fs::hard_link_count(target), 2u);
            }
        }
    }
}

#include "core/app/batchdialogs.h"
#include "core/app/installlayout.h"
#include "core/app/startup.h"

#include "testutil.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tafelbau;
namespace fs = std::filesystem;

namespace {

class RecordingDialogs : public BatchDialogs
{
public:
    RecordingDialogs() : BatchDialogs([this](const std::string &t) { messages.push_back(t); }) {}
    std::vector<std::string> messages;
};

// A pool whose general help file tells which copy was loaded.
std::string poolNamed(const std::string &which)
{
    return testutil::crlf({"GeneralPrgHelpFile = " + which + ".chm", "[ButtonGadget]", "code = \xE4\x1F" + which});
}

const InstallLayout kLayout{"../lib/tafelbau", "../share/tafelbau"};

} // namespace

TEST(InstallLayout, EditorLibraryBesideTheProgramFirstThenInstalled)
{
    const struct
    {
        bool beside, installed;
        const char *expected;
    } cases[] = {
        {true, true, "bin/lib.so"},
        {true, false, "bin/lib.so"},
        {false, true, "lib/tafelbau/lib.so"},
        {false, false, "bin/lib.so"}, // the loader's error names the usual place
    };
    for (const auto &c : cases) {
        testutil::TempDir dir;
        fs::create_directories(dir / "bin");
        fs::create_directories(dir / "lib" / "tafelbau");
        if (c.beside)
            testutil::writeFile(dir / "bin" / "lib.so", "");
        if (c.installed)
            testutil::writeFile(dir / "lib" / "tafelbau" / "lib.so", "");
        EXPECT_EQ(editorLibraryFile(programFolderOf(dir / "bin" / "tafelbau"), "lib.so", kLayout), dir / c.expected)
            << c.beside << c.installed;
    }
}

TEST(InstallLayout, BuiltLayoutIsRelativeToTheProgram)
{
    const InstallLayout built = InstallLayout::built();
    EXPECT_TRUE(built.libraryFromBin.is_relative()) << built.libraryFromBin;
    EXPECT_TRUE(built.dataFromBin.is_relative()) << built.dataFromBin;
    EXPECT_EQ(shippedPoolFile("/opt/tb/bin/", kLayout), "/opt/tb/share/tafelbau/TafelbauGadgetPool.ini");
}

TEST(InstallLayout, UserDataFolderFollowsXdg)
{
    EXPECT_EQ(userDataFolder("/x/data", "/home/u"), "/x/data");
    EXPECT_EQ(userDataFolder("relative/data", "/home/u"), "/home/u/.local/share");
    EXPECT_EQ(userDataFolder("", "/home/u"), "/home/u/.local/share");
    EXPECT_EQ(userDataFolder("", ""), "");
}

// The pool rule from start-up on: which file is read, which file the pool
// editor would save, what lands in the user's data folder, what is said.
TEST(InstallLayout, PoolFileRule)
{
    enum Where { Beside, Own, Shipped };
    enum UserData { Xdg, HomeOnly, Nowhere, Blocked };
    const struct
    {
        const char *name;
        bool beside, own, shipped;
        UserData userData;
        Where chosen;
        const char *loaded; ///< whose help file the pool holds; "" for an empty pool
        int messages;
    } cases[] = {
        {"build folder", true, false, true, Xdg, Beside, "beside", 0},
        {"beside wins over the user's copy", true, true, true, Xdg, Beside, "beside", 0},
        {"first start copies", false, false, true, Xdg, Own, "shipped", 0},
        {"first start without XDG_DATA_HOME", false, false, true, HomeOnly, Own, "shipped", 0},
        {"the user's copy is kept", false, true, true, Xdg, Own, "own", 0},
        {"the user's copy without a shipped one", false, true, false, Xdg, Own, "own", 0},
        {"no home: the shipped pool as it is", false, false, true, Nowhere, Shipped, "shipped", 0},
        {"shipped pool missing", false, false, false, Xdg, Own, "", 1},
        {"data folder blocked by a file", false, false, true, Blocked, Shipped, "shipped", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        testutil::TempDir dir;
        const fs::path bin = dir / "usr" / "bin";
        const fs::path share = dir / "usr" / "share" / "tafelbau";
        fs::create_directories(bin);
        fs::create_directories(share);
        if (c.beside)
            testutil::writeFile(bin / kPoolFileName, poolNamed("beside"));
        if (c.shipped)
            testutil::writeFile(share / kPoolFileName, poolNamed("shipped"));
        const fs::path xdg = dir / "xdg";
        const fs::path home = dir / "home";
        const fs::path userData = c.userData == Xdg ? xdg : home / ".local" / "share";
        const fs::path own = userData / "Tafelbau" / kPoolFileName;
        if (c.own) {
            fs::create_directories(own.parent_path());
            testutil::writeFile(own, poolNamed("own"));
        }
        if (c.userData == Blocked)
            testutil::writeFile(xdg, "a file where the folder belongs");

        StartupEnvironment env;
        env.executable = bin / "tafelbau";
        env.xdgConfigHome = (dir / "config").string();
        env.xdgDataHome = c.userData == Xdg || c.userData == Blocked ? xdg.string() : "";
        env.home = c.userData == Nowhere ? "" : home.string();
        RecordingDialogs dialogs;
        AppState state;
        startUp(state, dialogs, env);

        const fs::path expected = c.chosen == Beside ? bin / kPoolFileName
            : c.chosen == Own                        ? own
                                                     : share / kPoolFileName;
        EXPECT_EQ(state.poolFile, expected);
        EXPECT_EQ(dialogs.messages.size(), static_cast<std::size_t>(c.messages));
        if (*c.loaded) {
            EXPECT_EQ(state.pool.settings.generalPrgHelpFile, std::string(c.loaded) + ".chm");
        } else {
            EXPECT_TRUE(state.pool.entries.empty());
        }
        // Copies are byte for byte; nothing of the user's is overwritten.
        if (c.own) {
            EXPECT_EQ(testutil::readFile(own), poolNamed("own"));
        } else if (c.chosen == Own && c.shipped) {
            EXPECT_EQ(testutil::readFile(own), poolNamed("shipped"));
        } else if (c.chosen == Own) {
            EXPECT_TRUE(fs::is_directory(own.parent_path())) << "the pool editor's save needs the folder";
        }
        if (c.userData == Xdg && !c.own && c.chosen != Own) {
            EXPECT_FALSE(fs::exists(own));
        }
    }
}

TEST(InstallLayout, MessagesNameBothFiles)
{
    testutil::TempDir dir;
    RecordingDialogs dialogs;
    const fs::path shipped = dir / "share" / kPoolFileName;
    choosePoolFile(dir / "bin", dir / "data", shipped, dialogs);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find(shipped.string()), std::string::npos) << dialogs.messages[0];
    EXPECT_NE(dialogs.messages[0].find((dir / "data" / "Tafelbau" / kPoolFileName).string()), std::string::npos);
}

// Root writes anywhere: the choice runs in a child that has dropped to an
// unprivileged user where the tests run as root.
TEST(InstallLayout, UnwritableDataFolderFallsBackToTheShippedPool)
{
    testutil::TempDir dir;
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_all | fs::perms::others_all);
    testutil::writeFile(dir / kPoolFileName, poolNamed("shipped"));
    fs::permissions(dir / kPoolFileName, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_directories(dir / "data" / "Tafelbau");
    const auto readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read
        | fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(dir / "data", readOnly);
    fs::permissions(dir / "data" / "Tafelbau", readOnly);
    const int status = testutil::runUnprivileged([&] {
        RecordingDialogs dialogs;
        if (choosePoolFile(dir / "bin", dir / "data", dir / kPoolFileName, dialogs) != dir / kPoolFileName)
            return 1;
        return dialogs.messages.size() == 1 ? 0 : 2;
    });
    if (status < 0)
        GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(status, 0) << "1: not the shipped pool; 2: not one message";
    EXPECT_TRUE(fs::is_empty(dir / "data" / "Tafelbau")) << "no half-written copy is left";
}

#include "core/app/batchdialogs.h"
#include "core/app/programsettings.h"
#include "core/app/startup.h"
#include "core/document/displayscale.h"
#include "core/document/rewritesafeguard.h"
#include "core/document/statefolder.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tafelbau;
using testutil::crlf;

namespace {

class RecordingDialogs : public BatchDialogs
{
public:
    RecordingDialogs() : BatchDialogs([this](const std::string &t) { messages.push_back(t); }) {}
    std::vector<std::string> messages;
};

} // namespace

TEST(CommandLine, Forms)
{
    using M = CommandLine::Mode;
    const std::pair<std::vector<std::string>, M> cases[] = {{{}, M::Editor},
                                                            {{""}, M::Editor},
                                                            {{"/REFRESHCODE", "a.pbi"}, M::RefreshCode},
                                                            {{"/RefreshCode"}, M::RefreshCode},
                                                            {{"list.tbf", "ignored"}, M::Editor},
                                                            {{"/import", "src.pb", "l.tbf"}, M::Import},
                                                            {{"/import", "src.pb"}, M::Usage},
                                                            {{"/CHECK", "l.tbf"}, M::Check},
                                                            {{"/check"}, M::Usage},
                                                            {{"--help"}, M::Help},
                                                            {{"--version"}, M::Version}};
    for (const auto &[args, mode] : cases)
        EXPECT_EQ(parseCommandLine(args).mode, mode) << (args.empty() ? "" : args[0]);
    EXPECT_EQ(parseCommandLine({"/refreshcode", "x.pbi"}).codeFile, "x.pbi");
    EXPECT_EQ(parseCommandLine({"/refreshcode"}).codeFile, "");
    EXPECT_EQ(parseCommandLine({"my list.tbf"}).startFile, "my list.tbf");
}

TEST(Startup, FoldersSettingsAndPool)
{
    testutil::TempDir dir;
    std::filesystem::create_directory(dir / "prog");
    testutil::writeFile(dir / "prog" / "TafelbauGadgetPool.ini", crlf({"GeneralPrgHelpFile = pool.chm", "[Button]"}));
    StartupEnvironment env;
    env.executable = dir / "prog" / "tafelbau";
    env.xdgConfigHome = (dir / "deep" / "config").string(); // parents missing too
    RecordingDialogs dialogs;
    AppState state;
    startUp(state, dialogs, env);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(state.programFolder, (dir / "prog").string() + "/");
    EXPECT_EQ(state.dataFolder, (dir / "deep" / "config" / "Tafelbau").string() + "/");
    EXPECT_TRUE(std::filesystem::is_directory(state.dataFolder));
    EXPECT_EQ(state.settings, ProgramSettings{});
    EXPECT_EQ(state.pool.settings.generalPrgHelpFile, "pool.chm");
    ASSERT_EQ(state.pool.entries.size(), 1u);
}

TEST(Startup, WithoutPoolTheHelpFileOfTheSettingsStays)
{
    testutil::TempDir dir;
    StartupEnvironment env;
    env.executable = dir / "bin" / "tafelbau";
    env.home = dir.path().string();
    std::filesystem::create_directories(dir / ".config" / "Tafelbau");
    testutil::writeFile(
        dir / ".config" / "Tafelbau" / "Tafelbau.ini",
        crlf({"[general]", "GGeneralPrgHelpFile = my.chm", "GPanelRaster = 7x", "[Window]", "GMainWinX = -20"}));
    RecordingDialogs dialogs;
    AppState state;
    startUp(state, dialogs, env);
    EXPECT_EQ(state.pool.settings.generalPrgHelpFile, "my.chm");
    EXPECT_EQ(state.pool.settings.codeFileExt, "");
    EXPECT_EQ(state.settings.panelRaster, 7);
    EXPECT_EQ(state.settings.mainWinX, -20);
}

TEST(Startup, DataFolderThatCannotBeCreatedIsReported)
{
    testutil::TempDir dir;
    testutil::writeFile(dir / "file", "x");
    StartupEnvironment env;
    env.executable = dir / "tafelbau";
    env.xdgConfigHome = (dir / "file").string();
    RecordingDialogs dialogs;
    AppState state;
    startUp(state, dialogs, env);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0],
              "Err - Konnte Verzeichnis nicht anlegen: \r\n" + (dir / "file").string() + "/Tafelbau/");
    EXPECT_EQ(state.settings, ProgramSettings{});
}

TEST(ProgramSettings, WrittenOnceInOrderThenKeptAndUpdated)
{
    testutil::TempDir dir;
    ProgramSettings s;
    s.mainWinX = -5;
    s.mainWinY = 30;
    ASSERT_TRUE(writeProgramSettings(dir / "T.ini", s));
    const std::string first = crlf(
        {"[General]", "GGeneralPrgHelpFile = C:\\Program Files\\PureBasic\\PureBasic.chm",
         "; ;Grundpfad f\xFCr Hilfedatei (wird priorit\xE4r in der Gadget-Pool-Datei gespeichert",
         "GPanelHeight = 1600", "GPanelWidth = 1200", "GPanelRaster = 5", "GPanelRasterBig = 50", "[Window]",
         "GMainWinX = 0", "GMainWinY = 30", "GMainWinXD = 1000", "GMainWinYD = 575"});
    EXPECT_EQ(testutil::readFile(dir / "T.ini"), first);
    // A second exit does not pile up the comment; foreign lines stay.
    testutil::writeFile(dir / "T.ini", first + "[Mine]\r\nkeep = 1\r\n");
    s.mainWinX = 40;
    ASSERT_TRUE(writeProgramSettings(dir / "T.ini", s));
    std::string expected = first + "[Mine]\r\nkeep = 1\r\n";
    expected.replace(expected.find("GMainWinX = 0"), 13, "GMainWinX = 40");
    EXPECT_EQ(testutil::readFile(dir / "T.ini"), expected);
    EXPECT_EQ(readProgramSettings(dir / "T.ini").mainWinX, 40);
}

TEST(ProgramSettings, ViewSwitchesAreKeptAndOlderFilesLeaveThemOff)
{
    testutil::TempDir dir;
    // A file of a version without the group: everything as before.
    testutil::writeFile(dir / "T.ini", crlf({"[General]", "GPanelRaster = 7"}));
    EXPECT_EQ(readProgramSettings(dir / "T.ini").view, ViewSettings{});

    // Any number but 0 switches on; a foreign key of the group stays.
    testutil::writeFile(dir / "T.ini", crlf({"[View]", "GRealGadgets = 2", "GFuture = x"}));
    ProgramSettings s = readProgramSettings(dir / "T.ini");
    EXPECT_TRUE(s.view.realGadgets);
    ASSERT_TRUE(writeProgramSettings(dir / "T.ini", s));
    EXPECT_NE(testutil::readFile(dir / "T.ini").find("[View]\r\nGRealGadgets = 1\r\nGFuture = x\r\n"),
              std::string::npos);
    s.view.realGadgets = false;
    ASSERT_TRUE(writeProgramSettings(dir / "T.ini", s));
    EXPECT_FALSE(readProgramSettings(dir / "T.ini").view.realGadgets);
}

TEST(DisplayScale, FactorRuleAndRounding)
{
    EXPECT_FLOAT_EQ(displayScaleFor(-1.0f, 144.0f), 1.5f);
    EXPECT_FLOAT_EQ(displayScaleFor(1.25f, 144.0f), 1.25f);
    EXPECT_FLOAT_EQ(displayScaleFor(0.0f, 144.0f), -1.0f);
    EXPECT_EQ(scaledPixels(5, 1.5f), 8); // 7.5 to the even 8
    EXPECT_EQ(scaledPixels(3, 1.5f), 4); // 4.5 to the even 4
    EXPECT_EQ(scaledPixels(575, 1.0f), 575);
}

TEST(Startup, GenerationTimeFollowsSourceDateEpoch)
{
    const std::time_t now = 1234;
    const std::pair<const char *, std::time_t> cases[] = {
        {nullptr, now}, {"", now},    {"1700000000", 1700000000},      {"0", 0}, {"17e8", now},
        {"-5", now},    {" 12", now}, {"99999999999999999999999", now}};
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(generationTime(value, now), expected) << (value ? value : "(unset)");
}

// Without a home no folder is known for the settings or the state: none is
// made at the root of the file system (where root would make one for
// everybody), and the settings keep their defaults without being written.
TEST(Startup, WithoutHomeNoFolderIsMadeAtTheRoot)
{
    testutil::TempDir dir;
    StartupEnvironment env;
    env.executable = dir / "tafelbau";
    RecordingDialogs dialogs;
    AppState state;
    startUp(state, dialogs, env);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(state.dataFolder, "");
    EXPECT_EQ(state.settingsFile, "");
    EXPECT_EQ(state.stateFolder, "");
    EXPECT_EQ(state.settings, ProgramSettings{});
    EXPECT_FALSE(writeProgramSettings(state.settingsFile, state.settings));
    EXPECT_EQ(stateFolderFor("", ""), "");
    EXPECT_EQ(stateFolderFor("relative/state", "/home/u"), "/home/u/.local/state/Tafelbau");
    EXPECT_EQ(stateFolderFor("/var/state", "/home/u"), "/var/state/Tafelbau");
}

// A pool that is there but cannot be read is reported, and start-up says
// so to its caller: it runs with an empty pool, a batch run stops.
TEST(Startup, UnreadablePoolIsReported)
{
    testutil::TempDir dir;
    const std::filesystem::path pool = dir / "prog" / "TafelbauGadgetPool.ini";
    const std::filesystem::path own = dir / "home" / ".local" / "share" / "Tafelbau" / "TafelbauGadgetPool.ini";
    std::filesystem::create_directories(pool.parent_path());
    std::filesystem::create_directories(own.parent_path());
    auto start = [&] {
        StartupEnvironment env;
        env.executable = pool.parent_path() / "tafelbau";
        env.home = (dir / "home").string();
        auto dialogs = std::make_unique<RecordingDialogs>();
        AppState state;
        const bool readable = startUp(state, *dialogs, env);
        return std::make_pair(readable, dialogs->messages);
    };
    auto unreadable = [](const std::filesystem::path &path, const std::string &reason) {
        return std::vector<std::string>{"Fehler: Kann Pooldatei nicht lesen: " + path.string() + "\r\n" + reason
                                        + "\r\nDer Gadget-Pool bleibt leer; beim Speichern wird keine Codedatei "
                                          "geschrieben."};
    };
    std::filesystem::create_directory(own);
    EXPECT_EQ(start(), std::make_pair(false, unreadable(own, "Ist ein Verzeichnis")));
    std::filesystem::remove(own);
    std::filesystem::create_symlink("nowhere.ini", own);
    EXPECT_EQ(start(), std::make_pair(false, unreadable(own, "Datei oder Verzeichnis nicht gefunden")));

    // No permission: only for a user who is not root.
    testutil::writeFile(pool, crlf({"GGdtPoolCodeFileExt = .pbi"}));
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
    std::filesystem::permissions(pool.parent_path(), std::filesystem::perms::all);
    std::filesystem::permissions(pool, std::filesystem::perms::none);
    const int status = testutil::runUnprivileged([&] {
        return start() == std::make_pair(false, unreadable(pool, "Keine Berechtigung")) ? 0 : 1;
    });
    if (status < 0)
        GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(status, 0);
    // A missing pool is a first start, nothing to report.
    std::filesystem::remove(pool);
    std::filesystem::remove(own);
    EXPECT_TRUE(start().first);
}

// A rewrite cut off by a kill is put back at the next start, and said.
TEST(Startup, PutsBackARewriteThatWasCutOff)
{
    testutil::TempDir dir;
    testutil::writeFile(dir / "a.tbf", "old bytes");
    {
        RewriteSafeguard copy;
        ASSERT_TRUE(copy.keep(dir / "state" / "Tafelbau", dir / "a.tbf", "old bytes", "new bytes, more of them"));
        testutil::writeFile(dir / "a.tbf", "new b");
    }
    StartupEnvironment env;
    env.executable = dir / "tafelbau";
    env.xdgStateHome = (dir / "state").string();
    RecordingDialogs dialogs;
    AppState state;
    startUp(state, dialogs, env);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Eine unterbrochene Speicherung wurde zur\xC3\xBC"
                                                         "ckgenommen; die Datei hat wieder ihren vorigen Inhalt: "
                                                         + (dir / "a.tbf").string()});
    EXPECT_EQ(testutil::readFile(dir / "a.tbf"), "old bytes");
}

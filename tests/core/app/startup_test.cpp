#include "core/app/batchdialogs.h"
#include "core/app/programsettings.h"
#include "core/app/startup.h"
#include "core/document/displayscale.h"

#include "testutil.h"

#include <gtest/gtest.h>

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
    const std::string first =
        crlf({"[General]", "GGeneralPrgHelpFile = C:\\Program Files\\PureBasic\\PureBasic.chm",
              "; ;Grundpfad f\xFCr Hilfedatei (wird priorit\xE4r in der Gadget-Pool-Datei gespeichert",
              "GPanelHeight = 1600", "GPanelWidth = 1200", "GPanelRaster = 5", "GPanelRasterBig = 50", "[Window]",
              "GMainWinX = 0", "GMainWinY = 30", "GMainWinXD = 1000", "GMainWinYD = 575", "[View]", "GRealGadgets = 0",
              "GShowRaster = 0"});
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

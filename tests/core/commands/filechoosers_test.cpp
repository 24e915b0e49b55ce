#include "core/commands/filechoosers.h"

#include "core/app/appstate.h"
#include "core/app/programsettings.h"
#include "core/document/listfile.h"
#include "scripteddialogs.h"
#include "testutil.h"

#include <gtest/gtest.h>

using namespace tafelbau;
namespace fs = std::filesystem;

TEST(FileChoosers, StartInTheListsFolderElseTheLastOneElseTheWorkingFolder)
{
    testutil::TempDir dir;
    fs::create_directories(dir / "lists");
    fs::create_directories(dir / "last");
    const std::string lists = (dir / "lists").string();
    const std::string last = (dir / "last").string();
    const std::string gone = (dir / "gone").string();
    // list file, last folder, name, start
    const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
        {lists + "/a.tbf", last, "dialogs.tbf", lists + "/dialogs.tbf"},
        {lists + "/a.tbf", last, "a.tbf", lists + "/a.tbf"},
        {lists + "/a.tbf", "", "", lists + "/"},
        {"", last, "dialogs.tbf", last + "/dialogs.tbf"},
        {"", last, "", last + "/"},
        {"", "", "dialogs.tbf", "dialogs.tbf"},
        {"", "", "", ""},
        {"a.tbf", last, "a.tbf", "a.tbf"},                    // a list in the working folder
        {gone + "/a.tbf", last, "x.tbf", last + "/x.tbf"},    // its folder is gone
        {gone + "/a.tbf", gone, "x.tbf", "x.tbf"},            // and so is the last one
        {"", lists + "/a.tbf", "x.tbf", "x.tbf"},             // a file is no folder
    };
    for (const auto &[listFile, lastFolder, name, start] : cases) {
        const fs::path list = listFile;
        std::string remembered = lastFolder;
        EXPECT_EQ(chooserStart({list, remembered}, name).string(), start) << listFile << " | " << lastFolder;
    }
}

TEST(FileChoosers, RememberOnlyFoldersTheSettingsFileGivesBack)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/home/u/dlg/a.tbf", "/home/u/dlg"},
        {"/a.tbf", "/"},
        {"/home/u/Gr\xC3\xB6\xC3\x9F" "e/a.pb", "/home/u/Gr\xC3\xB6\xC3\x9F" "e"},
        {"/home/u/ mit Blank/a.pb", "/home/u/ mit Blank"},
        {"a.tbf", ""},
        {"rel/a.tbf", ""},
        {"/home/u/zwei\nZeilen/a.tbf", ""},
        {"/home/u/cr\r/a.tbf", ""},
        {"/home/u/blank /a.tbf", ""},
        {"/home/u/tab\t/a.tbf", ""},
    };
    // What is remembered comes back from the program settings as written,
    // in a group that appears only once a file was chosen, so that a
    // settings file stays as it was for a user who never chose one.
    testutil::TempDir dir;
    const auto file = dir / "T.ini";
    ProgramSettings s;
    ASSERT_TRUE(writeProgramSettings(file, s));
    const std::string before = testutil::readFile(file);
    EXPECT_EQ(before.find("Folders"), std::string::npos);
    for (const auto &[chosen, folder] : cases) {
        EXPECT_EQ(folderToRemember(chosen), folder) << chosen;
        if (!*folder)
            continue;
        s.lastFolder = folder;
        ASSERT_TRUE(writeProgramSettings(file, s));
        EXPECT_EQ(testutil::readFile(file), before + "[Folders]\r\nGLastFolder = " + folder + "\r\n");
        EXPECT_EQ(readProgramSettings(file), s);
    }
}

namespace {

struct NoViews : DocumentViews
{
    void showTitle(const std::string &) override {}
    void refreshGadgetList() override {}
};

} // namespace

// Open, save as and the import all start where the list is, or where a file
// was last chosen, and each choice moves the remembered folder along.
TEST(FileChoosers, DocumentCommandsStartThereAndRememberTheChoice)
{
    testutil::TempDir dir;
    fs::create_directories(dir / "one");
    fs::create_directories(dir / "two");
    ASSERT_TRUE(writeListFile(dir / "one" / "a.tbf", GdtList{}).ok);
    AppState state;
    state.pool.settings.codeFileExt = ".pbi";
    testutil::ScriptedDialogs dialogs;
    NoViews views;
    DocumentCommands commands(state.document(), dialogs, views, [] { return std::time_t{0}; });
    const std::string filter = " | TafelbauFiles (*.tbf)|*.tbf|Alle Dateien|*.*";

    dialogs.fileAnswers = {dir / "one" / "a.tbf"};
    commands.openList({});
    EXPECT_EQ(state.settings.lastFolder, (dir / "one").string());
    dialogs.fileAnswers = {dir / "two" / "b.tbf"};
    commands.saveListAs();
    EXPECT_EQ(state.settings.lastFolder, (dir / "two").string());
    dialogs.fileAnswers = {std::nullopt}; // cancelled: nothing moves
    commands.openList({});
    EXPECT_EQ(state.settings.lastFolder, (dir / "two").string());

    // New list: no list folder, so the last one.
    commands.newList();
    dialogs.fileAnswers = {std::nullopt, std::nullopt};
    commands.openList({});
    commands.saveListAs();
    EXPECT_EQ(dialogs.takeCalls(),
              (std::vector<std::string>{
                  "open: Gadgetliste laden | " + filter,
                  "save: Gadgetliste speichern | " + (dir / "one").string() + "/dialogs.tbf" + filter,
                  "open: Gadgetliste laden | " + (dir / "two").string() + "/b.tbf" + filter,
                  "open: Gadgetliste laden | " + (dir / "two").string() + "/" + filter,
                  "save: Gadgetliste speichern | " + (dir / "two").string() + "/dialogs.tbf" + filter,
              }));
}

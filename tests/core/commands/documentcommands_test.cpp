#include "core/commands/documentcommands.h"

#include "core/app/appstate.h"
#include "core/document/latin1.h"
#include "core/document/listfile.h"
#include "scripteddialogs.h"
#include "core/dialoglist.h"
#include "testutil.h"

#include <gtest/gtest.h>

using namespace tafelbau;
using testutil::ScriptedDialogs;

namespace {

struct RecordingViews : DocumentViews
{
    std::string title;
    int refreshes = 0;
    std::vector<std::string> statusLines;
    std::vector<std::size_t> structureCounts;
    void showStructureProblems(std::size_t count) override { structureCounts.push_back(count); }
    void showTitle(const std::string &t) override { title = t; }
    void refreshGadgetList() override { ++refreshes; }
    void showStatus(const std::string &t) override { statusLines.push_back(t); }
};

GadgetRecord gadget(const std::string &id)
{
    GadgetRecord r;
    r.varId = id;
    r.code = "Code([id])";
    return r;
}

struct DocumentFixture : ::testing::Test
{
    testutil::TempDir dir;
    AppState state;
    ScriptedDialogs dialogs;
    RecordingViews views;
    DocumentCommands commands{state.document(), dialogs, views, [] { return std::time_t{0}; }};

    void SetUp() override
    {
        state.pool.settings.codeFileExt = ".pbi";
        GdtList two;
        two.append(gadget("A"));
        two.append(gadget("B"));
        ASSERT_TRUE(writeListFile(dir / "two.tbf", two).ok);
    }
    void fill()
    {
        state.list.append(gadget("Mine"));
        state.changed = true;
    }
};

} // namespace

TEST_F(DocumentFixture, NewAsksOnlyForANonEmptyList)
{
    commands.newList();
    EXPECT_TRUE(dialogs.takeCalls().empty());
    EXPECT_EQ(views.title, " Tafelbau 0.583");

    fill();
    state.listFile = dir / "x.tbf";
    dialogs.yesNoAnswers = {false};
    commands.newList();
    EXPECT_EQ(dialogs.takeCalls(), (std::vector<std::string>{"yesno: Neue Liste | Aktuelle Gadgetliste verwerfen?!"}));
    EXPECT_EQ(state.list.size(), 1);

    dialogs.yesNoAnswers = {true};
    commands.newList();
    EXPECT_TRUE(state.list.isEmpty());
    EXPECT_EQ(state.list.lvidCounter(), 0);
    EXPECT_TRUE(state.listFile.empty());
    EXPECT_FALSE(state.changed);
    EXPECT_EQ(views.title, " Tafelbau 0.583");
}

TEST_F(DocumentFixture, OpenAsksThenChoosesThenLoads)
{
    fill();
    dialogs.yesNoAnswers = {true};
    dialogs.fileAnswers = {std::nullopt}; // the chooser is cancelled
    commands.openList({});
    EXPECT_EQ(dialogs.takeCalls(),
              (std::vector<std::string>{"yesno: Gadgetliste laden | Aktuelle Gadgetliste verwerfen?!",
                                        "open: Gadgetliste laden |  | TafelbauFiles (*.tbf)|*.tbf|Alle Dateien|*.*"}));
    EXPECT_EQ(state.list.records()[0].varId, "Mine");

    dialogs.yesNoAnswers = {true};
    dialogs.fileAnswers = {dir / "two.tbf"};
    commands.openList({});
    ASSERT_EQ(state.list.size(), 2);
    EXPECT_TRUE(state.list.records()[0].selected);
    EXPECT_FALSE(state.list.records()[1].selected);
    EXPECT_EQ(state.listFile, dir / "two.tbf");
    EXPECT_FALSE(state.changed);
    EXPECT_EQ(views.title, " Tafelbau 0.583 - two.tbf");
    EXPECT_EQ(views.refreshes, 1);
}

TEST_F(DocumentFixture, FailedOpenLeavesDocumentAndTitle)
{
    testutil::writeFile(dir / "garbage.tbf", std::string("\x01\x02[x\0", 5));
    fill();
    state.listFile = dir / "mine.tbf";
    views.title = "unchanged";
    dialogs.yesNoAnswers = {true};
    commands.openList(dir / "garbage.tbf");
    const auto calls = dialogs.takeCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].rfind("message: Fehler: Kann diese Datei nicht laden: ", 0), 0u) << calls[1];
    EXPECT_EQ(state.list.records()[0].varId, "Mine");
    EXPECT_EQ(state.listFile, dir / "mine.tbf");
    EXPECT_TRUE(state.changed);
    EXPECT_EQ(views.title, "unchanged");
    EXPECT_EQ(views.refreshes, 0);
}

TEST_F(DocumentFixture, StartFileOpensWithoutQuestion)
{
    commands.openList(dir / "two.tbf");
    EXPECT_TRUE(dialogs.takeCalls().empty());
    EXPECT_EQ(state.list.size(), 2);
}

TEST_F(DocumentFixture, SaveChoosesBetweenSaveAndSaveAs)
{
    fill();
    state.listFile = dir / "gone.tbf"; // deleted since loading
    dialogs.fileAnswers = {dir / "new.tbf"};
    EXPECT_TRUE(commands.save());
    EXPECT_EQ(dialogs.takeCalls(),
              (std::vector<std::string>{
                  "save: Gadgetliste speichern | " + (dir / "dialogs.tbf").string()
                  + " | TafelbauFiles (*.tbf)|*.tbf|Alle Dateien|*.*"}));
    EXPECT_TRUE(std::filesystem::exists(dir / "new.pbi"));
    EXPECT_FALSE(state.changed);
    EXPECT_EQ(views.title, " Tafelbau 0.583 - new.tbf");

    state.changed = true;
    EXPECT_TRUE(commands.save()); // the file exists now: no chooser
    EXPECT_TRUE(dialogs.takeCalls().empty());
}

TEST_F(DocumentFixture, SaveAsQuestions)
{
    fill();
    dialogs.fileAnswers = {dir / "two.tbf"};
    dialogs.yesNoAnswers = {false};
    EXPECT_FALSE(commands.saveListAs());
    EXPECT_EQ(dialogs.takeCalls().back(),
              "yesno: Datei ersetzen | Wollen Sie die Datei wirklich \xC3\274berschreiben?");
    EXPECT_TRUE(state.changed);

    std::filesystem::create_directory(dir / "folder.tbf");
    dialogs.fileAnswers = {dir / "folder.tbf"};
    EXPECT_FALSE(commands.saveListAs()); // a folder: no question, the save message
    const auto calls = dialogs.takeCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], "message: Fehler: Kann Gadgetliste nicht speichern: " + (dir / "folder.tbf").string()
                            + "\r\nIst ein Verzeichnis");
    EXPECT_EQ(state.listFile, dir / "folder.tbf"); // taken before saving
    EXPECT_TRUE(state.changed);
}

// Saved as "x.pbi" with the code extension ".pbi", the list is its own code
// file: the list is kept, no code written, and the user told.
TEST_F(DocumentFixture, ListNamedLikeItsCodeFileIsSavedButNotOverwritten)
{
    fill();
    state.listFile = dir / "x.pbi";
    EXPECT_TRUE(commands.saveList());
    EXPECT_EQ(dialogs.takeCalls(),
              (std::vector<std::string>{"message: Fehler: Codedatei und Gadgetliste w\xC3\xA4ren dieselbe Datei: "
                                        + (dir / "x.pbi").string()}));
    EXPECT_EQ(testutil::readFile(dir / "x.pbi"), listFileBytes(state.list));
    EXPECT_FALSE(std::filesystem::exists(dir / "xPBFExport.pbf"));
    EXPECT_FALSE(state.changed);
}

TEST_F(DocumentFixture, QuitQuestion)
{
    EXPECT_TRUE(commands.confirmQuit()); // empty: nothing asked
    fill();
    state.changed = false;
    EXPECT_TRUE(commands.confirmQuit());
    EXPECT_TRUE(dialogs.takeCalls().empty());

    state.changed = true;
    dialogs.yesNoAnswers = {false};
    EXPECT_TRUE(commands.confirmQuit());
    EXPECT_EQ(dialogs.takeCalls(),
              (std::vector<std::string>{"yesno: Gadgetliste speichern | Wollen Sie die Gadgetliste noch speichern?"}));

    dialogs.yesNoAnswers = {true};
    dialogs.fileAnswers = {std::nullopt}; // chooser cancelled: quit without saving
    EXPECT_TRUE(commands.confirmQuit());

    // A save that fails keeps the program open rather than lose the work.
    state.list.append(gadget("mine")); // "Mine" and "mine" cannot both be groups
    state.listFile = dir / "two.tbf";
    dialogs.yesNoAnswers = {true};
    EXPECT_FALSE(commands.confirmQuit());
    EXPECT_TRUE(state.changed);
}

// A code file edited by hand is kept, and the status line says so once:
// only at the save that kept it.
TEST_F(DocumentFixture, HandEditedCodeFileIsKeptAndSaidOnceInTheStatusLine)
{
    fill();
    state.listFile = dir / "mine.tbf";
    ASSERT_TRUE(commands.saveList());
    EXPECT_TRUE(views.statusLines.empty());
    testutil::writeFile(dir / "mine.pbi", testutil::readFile(dir / "mine.pbi") + "; by hand\r\n");
    ASSERT_TRUE(commands.saveList());
    ASSERT_TRUE(commands.saveList());
    EXPECT_EQ(views.statusLines, (std::vector<std::string>{"Die Codedatei war nicht mehr so, wie Tafelbau sie "
                                                           "zuletzt geschrieben hat; ihr bisheriger Inhalt liegt "
                                                           "jetzt in: "
                                                           + (dir / "mine.pbi.bak").string()}));
    EXPECT_TRUE(dialogs.takeCalls().empty());
}

// An empty pool (none, or one that could not be read) names no code-file
// extension: the list is saved, no code file written, and the user told why.
TEST_F(DocumentFixture, WithoutCodeFileExtensionOnlyTheListIsSaved)
{
    fill();
    state.pool.settings.codeFileExt = "";
    state.listFile = dir / "mine.tbf";
    EXPECT_TRUE(commands.saveList());
    EXPECT_EQ(dialogs.takeCalls(),
              (std::vector<std::string>{"message: Keine Codedatei geschrieben: Die Gadget-Pool-Datei nennt keine "
                                        "Endung f\xC3\xBCr Codedateien (GGdtPoolCodeFileExt). Gespeichert ist nur die "
                                        "Gadgetliste: "
                                        + (dir / "mine.tbf").string()}));
    EXPECT_EQ(testutil::readFile(dir / "mine.tbf"), listFileBytes(state.list));
    EXPECT_FALSE(std::filesystem::exists(dir / "mine"));
    EXPECT_FALSE(std::filesystem::exists(dir / "minePBFExport.pbf"));
    EXPECT_FALSE(state.changed);
}

// Saved once as UTF-8, a list stays UTF-8, as its file now is.
TEST_F(DocumentFixture, ListSavedAsUtf8StaysUtf8)
{
    fill();
    state.list.records()[0].text = utf8ToLatin1("\xE2\x82\xAC");
    state.listFile = dir / "mine.tbf";
    ASSERT_TRUE(commands.saveList());
    EXPECT_EQ(state.list.encoding(), TextEncoding::Utf8);
    state.list.records()[0].text = "E";
    ASSERT_TRUE(commands.saveList());
    EXPECT_EQ(testutil::readFile(dir / "mine.tbf").substr(0, 3), "\xEF\xBB\xBF");
    dialogs.yesNoAnswers = {true};
    commands.newList();
    EXPECT_EQ(state.list.encoding(), TextEncoding::Latin1);
}

// A list whose structure the check finds faults in is saved all the same;
// the window is told how many there are, and the next clean save says 0.
TEST_F(DocumentFixture, SaveWithStructureProblemsSavesAndCountsThem)
{
    state.list = dialoglist::listOf("W:Win@0 C:Stray@0 B:Ok@3");
    state.listFile = dir / "dlg.tbf";
    ASSERT_TRUE(commands.saveList());
    EXPECT_TRUE(std::filesystem::exists(dir / "dlg.pbi"));
    EXPECT_FALSE(state.changed);
    state.list.records()[2].card = 0;
    state.list.records()[1].code = "; nichts";
    ASSERT_TRUE(commands.saveList());
    EXPECT_EQ(views.structureCounts, (std::vector<std::size_t>{2, 0}));
}

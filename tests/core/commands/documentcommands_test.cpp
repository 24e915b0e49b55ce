#include "core/commands/documentcommands.h"

#include "core/app/appstate.h"
#include "core/document/latin1.h"
#include "core/document/listfile.h"
#include "scripteddialogs.h"
#include "core/dialoglist.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

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
    state.changed = false;
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

// With unsaved changes a stray Return or Escape must not discard them: "Nein"
// is the default and the Escape answer, for New and for Open alike.
TEST_F(DocumentFixture, DiscardQuestionWithChangesDefaultsToNo)
{
    const std::string choice = "choice: %s | Aktuelle Gadgetliste verwerfen?! | Ja/Nein*~";
    const struct
    {
        const char *title;
        std::function<void()> run;
    } commandsAsking[] = {{"Neue Liste", [&] { commands.newList(); }},
                          {"Gadgetliste laden", [&] { commands.openList(dir / "two.tbf"); }}};
    for (const auto &c : commandsAsking) {
        SCOPED_TRACE(c.title);
        state.list.clear();
        fill();
        std::string expected = choice;
        expected.replace(expected.find("%s"), 2, c.title);
        dialogs.choiceAnswers = {}; // what Escape answers
        c.run();
        EXPECT_EQ(dialogs.takeCalls(), std::vector<std::string>{expected});
        EXPECT_EQ(state.list.records()[0].varId, "Mine");
        EXPECT_TRUE(state.changed);

        dialogs.choiceAnswers = {0};
        c.run();
        EXPECT_EQ(dialogs.takeCalls(), std::vector<std::string>{expected});
        EXPECT_FALSE(state.changed);
        EXPECT_TRUE(state.list.isEmpty() || state.list.records()[0].varId == "A");
    }
}

TEST_F(DocumentFixture, OpenAsksThenChoosesThenLoads)
{
    fill();
    state.changed = false;
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
    dialogs.choiceAnswers = {0};
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
    dialogs.yesNoCancelAnswers = {Answer::No};
    EXPECT_TRUE(commands.confirmQuit());
    EXPECT_EQ(dialogs.takeCalls(), (std::vector<std::string>{"yesnocancel: Gadgetliste speichern | Wollen Sie die "
                                                             "Gadgetliste noch speichern?"}));

    // Escape or the close button: back to the editor, nothing lost.
    dialogs.yesNoCancelAnswers = {Answer::Cancel};
    EXPECT_FALSE(commands.confirmQuit());
    EXPECT_TRUE(state.changed);

    // A cancelled chooser after "Ja" returns to the editor too.
    dialogs.yesNoCancelAnswers = {Answer::Yes};
    dialogs.fileAnswers = {std::nullopt};
    EXPECT_FALSE(commands.confirmQuit());
    EXPECT_TRUE(state.changed);

    dialogs.yesNoCancelAnswers = {Answer::Yes};
    dialogs.fileAnswers = {dir / "mine.tbf"};
    EXPECT_TRUE(commands.confirmQuit());
    EXPECT_FALSE(state.changed);
    dialogs.takeCalls();

    // A save that fails keeps the program open rather than lose the work.
    state.list.append(gadget("mine")); // "Mine" and "mine" cannot both be groups
    state.changed = true;
    state.listFile = dir / "two.tbf";
    dialogs.yesNoCancelAnswers = {Answer::Yes};
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

// Another program changed the open list: a save asks first. "Abbrechen"
// writes nothing and keeps the change mark; "Neu laden" shows the file's
// list with the step back to what was shown; "Überschreiben" writes ours.
TEST_F(DocumentFixture, SaveAsksWhenTheListChangedOnDisk)
{
    const std::string question = "choice: Gadgetliste speichern | Die Gadgetliste wurde au\xC3\x9F"
                                 "erhalb von Tafelbau ge\xC3\xA4ndert. Trotzdem speichern? | "
                                 "\xC3\x9C"
                                 "berschreiben/Neu laden/Abbrechen*~";
    const auto path = dir / "two.tbf";
    GdtList theirs;
    theirs.append(gadget("Theirs"));
    const std::string theirBytes = listFileBytes(theirs);
    for (const std::size_t answer : {std::size_t{2}, std::size_t{1}, std::size_t{0}}) {
        SCOPED_TRACE(answer);
        ASSERT_TRUE(writeListFile(path, [] {
                        GdtList two;
                        two.append(gadget("A"));
                        two.append(gadget("B"));
                        return two;
                    }())
                        .ok);
        commands.updateTitle(false);
        dialogs.yesNoAnswers = {true};
        commands.openList(path);
        state.list.records()[0].varId = "Mine";
        commands.updateTitle(true);
        testutil::writeFile(path, theirBytes);
        dialogs.takeCalls();

        dialogs.choiceAnswers = {answer};
        EXPECT_EQ(commands.save(), answer == 0);
        EXPECT_EQ(dialogs.takeCalls(), std::vector<std::string>{question});
        switch (answer) {
        case 2:
            EXPECT_EQ(testutil::readFile(path), theirBytes);
            EXPECT_TRUE(state.changed);
            EXPECT_EQ(state.list.records()[0].varId, "Mine");
            break;
        case 1:
            EXPECT_EQ(testutil::readFile(path), theirBytes);
            ASSERT_EQ(state.list.size(), 1);
            EXPECT_EQ(state.list.records()[0].varId, "Theirs");
            EXPECT_FALSE(state.changed);
            ASSERT_TRUE(state.history.undo(state.list));
            ASSERT_EQ(state.list.size(), 2);
            EXPECT_EQ(state.list.records()[0].varId, "Mine");
            EXPECT_FALSE(state.history.isAtSavedState());
            // Back at the file's state, a save writes without a question.
            ASSERT_TRUE(state.history.redo(state.list));
            EXPECT_TRUE(state.history.isAtSavedState());
            EXPECT_TRUE(commands.save());
            EXPECT_TRUE(dialogs.takeCalls().empty());
            break;
        default:
            EXPECT_EQ(testutil::readFile(path), listFileBytes(state.list));
            EXPECT_FALSE(state.changed);
            // What is on disk now is ours: the next save asks nothing.
            EXPECT_TRUE(commands.save());
            EXPECT_TRUE(dialogs.takeCalls().empty());
        }
    }
}

// The file watched changed: unchanged bytes (our own save, a touch) do
// nothing; without unsaved changes the list is loaded again and the status
// line says so; with them the user is asked at once.
TEST_F(DocumentFixture, ListChangedOnDiskReloadsOrAsks)
{
    const auto path = dir / "two.tbf";
    commands.openList(path);
    const std::string bytes = testutil::readFile(path);
    testutil::writeFile(path, bytes); // new time, same bytes
    commands.listChangedOnDisk();
    EXPECT_TRUE(views.statusLines.empty());
    EXPECT_TRUE(dialogs.takeCalls().empty());

    GdtList theirs;
    theirs.append(gadget("Theirs"));
    testutil::writeFile(path, listFileBytes(theirs));
    commands.listChangedOnDisk();
    ASSERT_EQ(state.list.size(), 1);
    EXPECT_EQ(state.list.records()[0].varId, "Theirs");
    EXPECT_EQ(views.statusLines, std::vector<std::string>{"Die Gadgetliste wurde au\xC3\x9F"
                                                          "erhalb von Tafelbau ge\xC3\xA4ndert und neu geladen: "
                                                          + path.string()});
    EXPECT_TRUE(dialogs.takeCalls().empty());

    commands.updateTitle(true);
    testutil::writeFile(path, bytes);
    dialogs.choiceAnswers = {2};
    commands.listChangedOnDisk();
    EXPECT_EQ(dialogs.takeCalls().size(), 1u);
    EXPECT_EQ(state.list.records()[0].varId, "Theirs");
    EXPECT_TRUE(state.changed);
    EXPECT_EQ(testutil::readFile(path), bytes);
}

namespace {

// A state folder of the test's own, so that no other test's recovery is
// offered here.
struct OwnState : FileOps
{
    std::filesystem::path folder;
    std::filesystem::path stateFolder() override { return folder; }
};

struct RecoveryFixture : DocumentFixture
{
    OwnState files;
    DocumentCommands recovering{state.document(), dialogs, views, [] { return std::time_t{0}; }, files};

    void SetUp() override
    {
        DocumentFixture::SetUp();
        files.folder = dir / "state";
    }
    std::size_t recoveries() const
    {
        std::size_t n = 0;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(files.folder / "recovery", ec), end; !ec && it != end; ++it)
            n += it->path().extension() == ".tbf";
        return n;
    }
};

const std::string kRecoveryButtons = " | Wiederherstellen*~/Verwerfen";

} // namespace

// Unsaved changes go to the state folder, never over the list; opening the
// list again offers them, and restoring sets the change mark.
TEST_F(RecoveryFixture, UnsavedChangesAreOfferedWhenTheListIsOpenedAgain)
{
    const auto path = dir / "two.tbf";
    const std::string onDisk = testutil::readFile(path);
    recovering.openList(path);
    EXPECT_TRUE(recovering.keepRecovery());
    EXPECT_EQ(recoveries(), 0u); // nothing unsaved, nothing kept

    state.list.records()[0].varId = "Mine";
    recovering.updateTitle(true);
    EXPECT_TRUE(recovering.keepRecovery());
    EXPECT_EQ(recoveries(), 1u);
    EXPECT_EQ(testutil::readFile(path), onDisk);

    // As after a crash: another run opens the list.
    for (const std::size_t answer : {std::size_t{0}, std::size_t{1}}) {
        SCOPED_TRACE(answer);
        AppState next;
        DocumentCommands again{next.document(), dialogs, views, [] { return std::time_t{0}; }, files};
        dialogs.takeCalls();
        dialogs.choiceAnswers = {answer};
        again.openList(path);
        const auto calls = dialogs.takeCalls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].rfind("choice: Gadgetliste wiederherstellen | Tafelbau wurde beendet, ohne zu speichern. "
                                 "F\xC3\xBCr die Gadgetliste "
                                     + std::filesystem::weakly_canonical(path).string()
                                     + " gibt es ungespeicherte \xC3\x84nderungen vom ",
                                 0),
                  0u)
            << calls[0];
        EXPECT_TRUE(calls[0].ends_with(kRecoveryButtons)) << calls[0];
        EXPECT_EQ(next.list.records()[0].varId, answer == 0 ? "Mine" : "A");
        EXPECT_EQ(next.changed, answer == 0);
        EXPECT_EQ(next.listFile, path);
        EXPECT_EQ(recoveries(), answer == 0 ? 1u : 0u);
    }
}

// A save, New, Open and a normal quit each remove the recovery.
TEST_F(RecoveryFixture, SaveNewOpenAndQuitRemoveTheRecovery)
{
    const std::function<void()> leaving[] = {
        [&] { EXPECT_TRUE(recovering.saveList()); },
        [&] {
            dialogs.choiceAnswers = {0};
            recovering.newList();
        },
        [&] {
            dialogs.choiceAnswers = {0};
            recovering.openList(dir / "two.tbf");
        },
        [&] {
            dialogs.yesNoCancelAnswers = {Answer::No};
            EXPECT_TRUE(recovering.confirmQuit());
        },
    };
    for (const auto &leave : leaving) {
        state.list.clear();
        state.listFile = dir / "mine.tbf";
        fill();
        ASSERT_TRUE(recovering.keepRecovery());
        ASSERT_EQ(recoveries(), 1u);
        leave();
        EXPECT_EQ(recoveries(), 0u);
    }
    // Cancelling the quit keeps it; undoing back to what is on disk does not.
    fill();
    ASSERT_TRUE(recovering.keepRecovery());
    dialogs.yesNoCancelAnswers = {Answer::Cancel};
    EXPECT_FALSE(recovering.confirmQuit());
    EXPECT_EQ(recoveries(), 1u);
    recovering.updateTitle(false);
    EXPECT_TRUE(recovering.keepRecovery());
    EXPECT_EQ(recoveries(), 0u);
}

// A new list that never had a name is offered at the next start.
TEST_F(RecoveryFixture, ANewListIsOfferedAtStart)
{
    fill();
    ASSERT_TRUE(recovering.keepRecovery());
    AppState next;
    DocumentCommands again{next.document(), dialogs, views, [] { return std::time_t{0}; }, files};
    dialogs.choiceAnswers = {0};
    again.offerRecoveryAtStart();
    const auto calls = dialogs.takeCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_NE(calls[0].find("F\xC3\xBCr eine neue Gadgetliste gibt es"), std::string::npos) << calls[0];
    ASSERT_EQ(next.list.size(), 1);
    EXPECT_EQ(next.list.records()[0].varId, "Mine");
    EXPECT_TRUE(next.listFile.empty());
    EXPECT_TRUE(next.changed);
}

// Another editor (a second process) has the list open: opening it says so,
// and opens it only when the user wants it all the same. A killed holder
// leaves no lock behind.
TEST_F(RecoveryFixture, AListAnotherEditorHasOpenIsOpenedOnlyWhenWanted)
{
    const auto path = dir / "two.tbf";
    int ready[2], hold[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(hold), 0);
    const pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        ListLock lock;
        char c = lock.acquire(path, files) == 0 ? 'y' : 'n';
        [[maybe_unused]] ssize_t n = ::write(ready[1], &c, 1);
        n = ::read(hold[0], &c, 1);
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');

    const std::string question = "choice: Gadgetliste laden | Die Gadgetliste ist bereits in einem anderen "
                                 "Tafelbau-Fenster ge\xC3\xB6"
                                 "ffnet (Prozess "
        + std::to_string(other) + "). | Trotzdem \xC3\xB6" "ffnen/Nicht \xC3\xB6" "ffnen*~";
    for (const std::size_t answer : {std::size_t{1}, std::size_t{0}}) {
        AppState mine;
        DocumentCommands second{mine.document(), dialogs, views, [] { return std::time_t{0}; }, files};
        dialogs.choiceAnswers = {answer};
        second.openList(path);
        EXPECT_EQ(dialogs.takeCalls(), std::vector<std::string>{question});
        EXPECT_EQ(mine.list.size(), answer == 0 ? 2 : 0);
    }

    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
    for (int fd : {ready[0], ready[1], hold[0], hold[1]})
        ::close(fd);
    AppState mine;
    DocumentCommands second{mine.document(), dialogs, views, [] { return std::time_t{0}; }, files};
    second.openList(path);
    EXPECT_TRUE(dialogs.takeCalls().empty());
    EXPECT_EQ(mine.list.size(), 2);
}

// Through a symbolic link it is the same list, with the same lock.
TEST_F(RecoveryFixture, AListThroughALinkHasTheListsLock)
{
    const auto path = dir / "real.tbf";
    testutil::writeFile(path, "x");
    std::filesystem::create_symlink(path, dir / "link.tbf");
    ListLock viaLink;
    EXPECT_EQ(viaLink.acquire(dir / "link.tbf", files), 0);
    EXPECT_TRUE(viaLink.holds(path, files));
}

// A new list's recovery belongs to the process editing it: while that one
// runs it is not offered; once it is gone, it is, and restoring makes it
// this editor's own.
TEST_F(RecoveryFixture, ANewListOfARunningEditorIsNotOffered)
{
    int hold[2];
    ASSERT_EQ(::pipe(hold), 0);
    const pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        char c;
        [[maybe_unused]] ssize_t n = ::read(hold[0], &c, 1);
        ::_exit(0);
    }
    fill();
    ASSERT_TRUE(recovering.keepRecovery());
    const auto folder = files.folder / "recovery";
    const auto mine = folder / ("new-" + std::to_string(::getpid()) + ".tbf");
    const auto theirs = folder / ("new-" + std::to_string(other) + ".tbf");
    std::filesystem::rename(mine, theirs);
    std::filesystem::rename(std::filesystem::path(mine).replace_extension(".list"),
                            std::filesystem::path(theirs).replace_extension(".list"));

    AppState next;
    DocumentCommands again{next.document(), dialogs, views, [] { return std::time_t{0}; }, files};
    again.offerRecoveryAtStart();
    EXPECT_TRUE(dialogs.takeCalls().empty());

    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
    ::close(hold[0]);
    ::close(hold[1]);
    dialogs.choiceAnswers = {0};
    again.offerRecoveryAtStart();
    EXPECT_EQ(dialogs.takeCalls().size(), 1u);
    EXPECT_EQ(next.list.records()[0].varId, "Mine");
    EXPECT_FALSE(std::filesystem::exists(theirs));
    EXPECT_TRUE(std::filesystem::exists(mine));
}

// The watch sees the file again while its question is open: no second
// question on top of the first.
TEST_F(DocumentFixture, ChangedOnDiskAsksOnceAtATime)
{
    struct Reentering : ScriptedDialogs
    {
        DocumentCommands *commands = nullptr;
        std::size_t askChoice(const std::string &title, const std::string &text, const std::vector<std::string> &b,
                              std::size_t d, std::size_t e) override
        {
            commands->listChangedOnDisk();
            return ScriptedDialogs::askChoice(title, text, b, d, e);
        }
    } reentering;
    DocumentCommands watched{state.document(), reentering, views, [] { return std::time_t{0}; }};
    reentering.commands = &watched;
    const auto path = dir / "two.tbf";
    watched.openList(path);
    watched.updateTitle(true);
    testutil::writeFile(path, "GdtListFileVersion = 081103\r\n");
    watched.listChangedOnDisk();
    EXPECT_EQ(reentering.takeCalls().size(), 1u);
    EXPECT_TRUE(watched.save() == false);
    EXPECT_EQ(reentering.takeCalls().size(), 1u);
}

// Of several recoveries left behind, a start offers the one written last,
// whatever the folder's order.
TEST_F(RecoveryFixture, AStartOffersTheNewestOfSeveralRecoveries)
{
    const GdtList list = dialoglist::listOf("W:Win@0 B:Ok@0");
    const auto now = std::filesystem::file_time_type::clock::now();
    const int ages[] = {300, 200, 10, 400, 100};
    for (int i = 0; i < 5; ++i) {
        const auto path = dir / ("list" + std::to_string(i) + ".tbf");
        ASSERT_TRUE(writeRecovery(path, list, files));
        const auto found = findRecovery(path, files);
        ASSERT_TRUE(found.has_value());
        std::filesystem::last_write_time(found->file, now - std::chrono::seconds(ages[i]));
    }
    const auto newest = newestRecovery(files);
    ASSERT_TRUE(newest.has_value());
    EXPECT_EQ(newest->listFile.filename(), "list2.tbf");
}

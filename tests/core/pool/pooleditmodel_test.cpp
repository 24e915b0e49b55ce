#include "core/pool/pooleditmodel.h"
#include "core/pool/poolfile.h"

#include "core/document/latin1.h"
#include "scripteddialogs.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

using namespace tafelbau;
using Mode = PoolEditModel::StoreMode;
using Leave = PoolEditModel::Leave;
using Names = std::vector<std::string>;

namespace {

Names names(const GdtPool &pool)
{
    Names out;
    for (const PoolEntry &e : pool.entries)
        out.push_back(e.name);
    return out;
}

std::string message(const std::string &latin1)
{
    return "message: " + latin1ToUtf8(latin1);
}

const char kTaken[] = "Name ist schon vorhanden - bitte einen anderen w\xE4hlen";

// The pool file holds Button, Check, Zahl; the editor is open on it.
struct PoolEdit : ::testing::Test
{
    testutil::TempDir dir;
    std::filesystem::path file = dir / "TafelbauGadgetPool.ini";
    GdtPool pool;
    testutil::ScriptedDialogs dialogs;
    PoolEditModel model{pool, file, dialogs};

    void SetUp() override
    {
        for (const char *name : {"Zahl", "Button", "Check"}) {
            PoolEntry e;
            e.name = name;
            e.code = std::string(name) + "(#[id])";
            pool.entries.push_back(e);
        }
        ASSERT_TRUE(saveGdtPool(file, pool).ok);
        model.open();
    }

    void click(int row)
    {
        model.setSelectedRow(row);
        model.takeOverShownEntry();
    }
};

} // namespace

TEST(PoolEditEmpty, NewStoresTheInitialFieldsAndStaysWithoutAPoolFile)
{
    testutil::TempDir dir;
    GdtPool pool;
    testutil::ScriptedDialogs dialogs;
    PoolEditModel model(pool, dir / "none.ini", dialogs);
    model.open();
    EXPECT_EQ(model.selectedRow(), -1);
    model.fields().name = "Frame";
    model.addNew();
    ASSERT_EQ(pool.entries.size(), 1u);
    const PoolEntry &e = pool.entries[0];
    EXPECT_EQ(std::tie(e.x, e.y, e.xd, e.yd), std::make_tuple(10, 10, 200, 20));
    EXPECT_EQ(e.flagsep, "|");
    EXPECT_EQ(e.importwerttrenn, "");
    EXPECT_EQ(e.color, 0u); // the colour field still reads "color"
    EXPECT_TRUE(model.poolChanged());
    // Nothing to read back: the entry outlives "Abbrechen".
    EXPECT_EQ(model.cancel(), Leave::Close);
    EXPECT_EQ(names(pool), Names{"Frame"});
}

TEST_F(PoolEdit, FieldTextsBecomeNumbersAndCrLfLines)
{
    EXPECT_EQ(model.rows(), (Names{"Button", "Check", "Zahl"}));
    model.fields().x = " -$1F";
    model.fields().code = "a\nb\r\n\tc"; // a lone LF from a text widget
    ASSERT_TRUE(model.storePoolEntry(Mode::Update, "Button"));
    EXPECT_EQ(pool.find("Button")->x, -31);
    EXPECT_EQ(pool.find("Button")->code, "a\r\nb\r\n\tc");
    EXPECT_EQ(model.fields().x, "-31"); // shown again from the entry
    EXPECT_FALSE(model.poolChanged());  // field edits are no pool change
}

TEST_F(PoolEdit, RefusedStoresChangeNothingAndSayWhy)
{
    const std::string shape = "Dieser Name l\xE4sst sich in der Pooldatei nicht speichern: \"";
    const std::string rule = "\"\r\nEin Name darf kein \"]\" und keinen Zeilenumbruch enthalten und nicht mit "
                             "Leer- oder Tabulatorzeichen beginnen oder enden.";
    const std::string caseOnly = "Name unterscheidet sich von \"Button\" nur durch Gro\xDF-/Kleinschreibung - bitte "
                                 "einen anderen w\xE4hlen";
    const struct
    {
        Mode mode;
        std::string entryToChange;
        std::string name; // typed into the name field
        std::string expected;
    } cases[] = {
        {Mode::New, "", "", "Bitte geben Sie einen Namen an!"},
        {Mode::Update, "Button", "", "Bitte geben Sie einen Namen an!"},
        {Mode::New, "", "Check", kTaken},
        {Mode::Update, "Button", "Check", kTaken},
        {Mode::New, "", "button", caseOnly},
        {Mode::Update, "Check", "BUTTON", caseOnly},
        {Mode::New, "", "a]b", shape + "a]b" + rule},
        {Mode::New, "", " Lead", shape + " Lead" + rule},
        {Mode::Update, "Check", "Trail\t", shape + "Trail\t" + rule},
        {Mode::Update, "Gone", "Gone",
         "Keine \xC4nderung! Stringfeld-Name in GdtPool-Liste nicht gefunden: Gone\r\n"
         "Tipp: 'Neu' klicken - dann werden die \xC4nderungen gespeichert..."},
        {Mode::Update, "Gone", "Other", "Keine \xC4nderung! Listen-Name in GdtPool-Liste nicht gefunden: Gone"},
    };
    const std::vector<PoolEntry> before = pool.entries;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        model.fields().name = c.name;
        model.fields().code = "typed";
        EXPECT_FALSE(model.storePoolEntry(c.mode, c.entryToChange));
        EXPECT_EQ(dialogs.takeCalls(), Names{message(c.expected)});
        EXPECT_EQ(pool.entries, before);
        EXPECT_EQ(model.fields().code, "typed");
    }
    model.fields().name = "BUTTON"; // its own name in other case: no clash
    EXPECT_TRUE(model.storePoolEntry(Mode::Update, "Button"));
    EXPECT_TRUE(dialogs.calls.empty());
}

// A hand-edited file may hold names the editor would refuse; the entries
// must stay editable all the same.
TEST_F(PoolEdit, UnsafeNameFromTheFileDoesNotBlockEditingIt)
{
    testutil::writeFile(file, testutil::crlf({"[Button]", "[BUTTON]"}));
    ASSERT_TRUE(loadGdtPool(file, pool));
    model.open();
    model.fields().code = "changed";
    click(1);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(pool.entries[0].code, "changed");
}

TEST_F(PoolEdit, ClashingRenameSendsTheSelectionBackToTheShownEntry)
{
    model.fields().name = "Zahl";
    click(1);
    EXPECT_EQ(dialogs.takeCalls(), Names{message(kTaken)});
    EXPECT_EQ(model.selectedRow(), 0);
    EXPECT_EQ(model.shownName(), "Button");
    EXPECT_EQ(model.fields().name, "Zahl");

    // A rename that moves the entry keeps the row number, not the entry.
    model.fields().name = "Xylo";
    click(0);
    EXPECT_EQ(model.rows(), (Names{"Check", "Xylo", "Zahl"}));
    EXPECT_EQ(model.shownName(), "Check");
}

TEST_F(PoolEdit, NewAndDeleteLeaveTheShownEntrysEditsOut)
{
    model.fields().name = "Copy";
    model.fields().code = "edited";
    model.addNew();
    EXPECT_EQ(names(pool), (Names{"Button", "Check", "Copy", "Zahl"}));
    EXPECT_EQ(pool.find("Copy")->code, "edited");
    EXPECT_EQ(pool.find("Button")->code, "Button(#[id])");
    EXPECT_EQ(model.fields().name, "Button");

    model.fields().code = "edited";
    model.deleteSelected();
    EXPECT_EQ(names(pool), (Names{"Check", "Copy", "Zahl"}));
    EXPECT_EQ(model.fields().code, "Check(#[id])");
}

TEST_F(PoolEdit, ColourChooserStartsFromTheFieldAndEvenCancelCountsAsAChange)
{
    dialogs.colourAnswers = {std::nullopt, 0x0000FFu};
    model.chooseFrameColour();
    EXPECT_EQ(dialogs.takeCalls(), Names{"colour: 12632256"});
    EXPECT_TRUE(model.poolChanged());
    model.chooseFrameColour();
    EXPECT_EQ(model.fields().color, "255");
    EXPECT_EQ(model.fields().colorBackground, 0x0000FFu);
    click(1);
    EXPECT_EQ(pool.find("Button")->color, 0x0000FFu);
}

TEST_F(PoolEdit, SaveStaysOpenWhenTheShownEntryCannotBeStored)
{
    model.fields().name = "";
    EXPECT_EQ(model.save(), Leave::Stay);
    EXPECT_EQ(dialogs.takeCalls(), Names{message("Bitte geben Sie einen Namen an!")});
}

TEST_F(PoolEdit, FailedSaveKeepsTheEditsInMemory)
{
    // The file reads well but cannot be saved: two of its names differ only
    // in case. Reading it back after the failure would drop the edits.
    testutil::writeFile(file, testutil::crlf({"[Button]", "[BUTTON]", "[Check]"}));
    ASSERT_TRUE(loadGdtPool(file, pool));
    model.open();
    model.fields().name = "Neu1";
    model.addNew();
    model.fields().code = "edited";
    EXPECT_EQ(model.save(), Leave::Close);
    const auto calls = dialogs.takeCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].rfind(message("Fehler: Kann Pooldatei nicht speichern: "), 0), 0u);
    EXPECT_NE(pool.find("Neu1"), nullptr);
    EXPECT_EQ(pool.find("Button")->code, "edited");
}

TEST_F(PoolEdit, CancelReadsThePoolFileBackAndStillChecksTheShownName)
{
    model.fields().name = "Neu1";
    model.addNew();
    model.fields().name = "";
    EXPECT_EQ(model.cancel(), Leave::Close);
    EXPECT_EQ(dialogs.takeCalls(), Names{message("Bitte geben Sie einen Namen an!")});
    EXPECT_EQ(names(pool), (Names{"Button", "Check", "Zahl"}));
}

TEST_F(PoolEdit, CloseQuestionAfterAChange)
{
    GdtPool original = pool;
    const std::string question =
        "yesnocancel: Tafelbau - Gadget Pool | " + latin1ToUtf8("\xC4nderungen \374bernehmen?");
    // answer, the shown name then, leave, entries in memory, entries in the file; Yes with a name that
    // cannot be stored stays open and saves nothing
    const std::tuple<Answer, const char *, Leave, std::size_t, std::size_t> cases[] = {
        {Answer::Cancel, "Button", Leave::Stay, 4, 3},
        {Answer::No, "Button", Leave::Close, 3, 3},
        {Answer::Yes, "Button", Leave::Close, 4, 4},
        {Answer::Yes, "", Leave::Stay, 4, 3},
    };
    for (const auto &[answer, shownName, leave, inMemory, inFile] : cases) {
        ASSERT_TRUE(saveGdtPool(file, original).ok);
        pool = original;
        model.open();
        model.fields().name = "Neu";
        model.addNew();
        model.fields().name = shownName;
        dialogs.yesNoCancelAnswers = {answer};
        EXPECT_EQ(model.requestClose(), leave);
        const Names calls = dialogs.takeCalls();
        EXPECT_NE(std::find(calls.begin(), calls.end(), question), calls.end());
        EXPECT_EQ(pool.entries.size(), inMemory);
        GdtPool onDisk;
        loadGdtPool(file, onDisk);
        EXPECT_EQ(onDisk.entries.size(), inFile);
    }
}

TEST_F(PoolEdit, LeavingWithoutAChangeMarkAsksNothingAndDropsFieldEdits)
{
    model.fields().code = "edited";
    EXPECT_EQ(model.requestClose(), Leave::Close);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(pool.find("Button")->code, "Button(#[id])");
}

// The main program's templates: an edit is a change worth the close
// question; saving writes it, cancelling reads the file without it.
TEST_F(PoolEdit, ProgramTemplatesEditedAsAPoolChange)
{
    ProgramTemplates t = model.programTemplates();
    EXPECT_EQ(t, builtInProgramTemplates());
    model.setProgramTemplates(t);
    EXPECT_FALSE(model.poolChanged());
    t.procedure = "Procedure [id]_Klick()\r\nEndProcedure\r\n";
    model.setProgramTemplates(t);
    EXPECT_TRUE(model.poolChanged());
    EXPECT_EQ(model.cancel(), Leave::Close);
    EXPECT_EQ(model.programTemplates(), builtInProgramTemplates());

    model.open();
    model.setProgramTemplates(t);
    EXPECT_EQ(model.save(), Leave::Close);
    GdtPool onDisk;
    ASSERT_TRUE(loadGdtPool(file, onDisk));
    EXPECT_EQ(programTemplates(onDisk.settings), t);
    EXPECT_FALSE(onDisk.settings.mainProgram); // only what was changed
}

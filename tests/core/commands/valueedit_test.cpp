#include "core/commands/valueedit.h"

#include "core/commands/listshape.h"
#include "core/document/listfile.h"

#include <gtest/gtest.h>

using namespace tafelbau;
using listshape::listOf;
using listshape::shapeOf;

TEST(EditPropertyRow, VarIdMustBeNonEmptyAndHeldByNoOtherRecord)
{
    // typed, list afterwards, refused; "B" is the record's own value
    const std::tuple<const char *, const char *, bool> cases[] = {
        {"B", "A B* C", false}, {"D", "A D* C", false}, {"a", "A a* C", false},
        {"A", "A B* C", true},  {"", "A B* C", true},
    };
    for (const auto &[typed, after, refused] : cases) {
        GdtList list = listOf("A B* C");
        const EditOutcome out = editPropertyRow(list, RowVarId, typed, "");
        EXPECT_EQ(shapeOf(list), after) << typed;
        EXPECT_EQ(out.message, refused ? kVarIdRefused : "") << typed;
        // The input box reports any other text as a change, refused or not.
        EXPECT_EQ(out.mark, typed == std::string_view("B") ? ChangeMark::Keep : ChangeMark::Set) << typed;
        EXPECT_EQ(out.views.currentRowText, !refused);
    }
}

TEST(EditPropertyRow, NumbersAreReadTextsKeptAsTyped)
{
    GdtList list = listOf("A* B*");
    editPropertyRow(list, RowX, "12abc", "");
    editPropertyRow(list, RowYD, "$1F", "");
    editPropertyRow(list, RowText, " Hallo ", "");
    editPropertyRow(list, RowP0 + 9, "$1F", "");
    GadgetRecord want = listOf("A* B*").records()[0];
    want.x = 12, want.yd = 31, want.text = " Hallo ", want.p[9] = "$1F";
    EXPECT_EQ(list.records()[0], want);
    EXPECT_EQ(list.records()[1], listOf("A* B*").records()[1]); // only the current row's record
}

// A multi-line text pasted into the input box must not split a line of the
// list file: its line breaks take the pool's line-break code.
TEST(EditPropertyRow, PastedLineBreaksTakeTheLineBreakCode)
{
    const std::string code = "\"+#CRLF$+\"";
    GdtList list = listOf("A*");
    editPropertyRow(list, RowText, "eins\r\nzwei\ndrei\rvier", code);
    editPropertyRow(list, RowP0 + 2, "a\n", code);
    EXPECT_EQ(list.records()[0].text, "eins" + code + "zwei" + code + "drei" + code + "vier");
    EXPECT_EQ(list.records()[0].p[2], "a" + code);
    // A code that breaks the line itself would bring the break back.
    editPropertyRow(list, RowText, "x\ny", "\r\n");
    EXPECT_EQ(list.records()[0].text, "x y");
    const EditOutcome out = editPropertyRow(list, RowVarId, "Ok\r\n", code);
    EXPECT_EQ(out.message, kVarIdLineBreak);
    EXPECT_EQ(list.records()[0].varId, "A");
    EXPECT_FALSE(hasLineBreakInValue(list.records()[0]));
}

TEST(EditPropertyRow, OnlyAChangedCardNumberUpdatesTheCardDisplays)
{
    const std::tuple<const char *, ChangeMark, bool> cases[] = {
        {"3", ChangeMark::Keep, false}, {"03", ChangeMark::Set, false}, {"$4", ChangeMark::Set, true}};
    for (const auto &[typed, mark, cardViews] : cases) {
        GdtList list = listOf("A*");
        list.records()[0].card = 3;
        const EditOutcome out = editPropertyRow(list, RowKarte, typed, "");
        EXPECT_EQ(out.mark, mark) << typed;
        EXPECT_EQ(out.views.cardChooser && out.views.nextFreeCard, cardViews) << typed;
        EXPECT_EQ(list.records()[0].card, cardViews ? 4 : 3);
    }
}

TEST(EditPropertyRow, NothingChangesWithoutInputBoxOrCurrentRow)
{
    for (int row : {int{RowTyp}, int{RowCode}, int{RowIgnoreXY}, int{RowFlags}, int{RowDontShow}, -1, 22}) {
        GdtList list = listOf("A*");
        EXPECT_EQ(editPropertyRow(list, row, "7", "").mark, ChangeMark::Keep) << row;
        EXPECT_EQ(list.records(), listOf("A*").records()) << row;
    }
    GdtList list = listOf("A B");
    EXPECT_EQ(editPropertyRow(list, RowText, "7", "").mark, ChangeMark::Keep);
    EXPECT_EQ(list.records(), listOf("A B").records());

    // Typing back exactly what a row shows is no change either.
    list = listOf("A*");
    list.records()[0].x = -1, list.records()[0].card = 5;
    for (int row = 0; row < PropertyRowCount; ++row)
        EXPECT_EQ(editPropertyRow(list, row, propertyValueText(list.records()[0], row), "").mark, ChangeMark::Keep);
}

TEST(ToggleIgnoreXY, OneBecomesZeroAnythingElseOne)
{
    GdtList list = listOf("A*");
    list.records()[0].xy0 = 5;
    for (std::int8_t want : {1, 0, 1}) {
        EXPECT_EQ(toggleIgnoreXY(list).mark, ChangeMark::Set);
        EXPECT_EQ(list.records()[0].xy0, want);
    }
}

TEST(ResetGadgetCode, SelectedRecordsOfKnownTypesGetTemplateAndParameterNames)
{
    GdtPool pool;
    pool.entries.resize(1);
    pool.entries[0].name = "Type", pool.entries[0].code = "new", pool.entries[0].p[0] = "new name";
    GdtList list = listOf("A* B C*");
    for (GadgetRecord &r : list.records())
        r.code = "old", r.pname[0] = "old", r.p[0] = "value", r.flags = "f";
    list.records()[2].name = "Gone";
    const GdtList before = list;
    EXPECT_EQ(resetGadgetCode(list, pool).mark, ChangeMark::Set);

    GadgetRecord want = before.records()[0];
    want.code = "new", want.pname = pool.entries[0].p;
    EXPECT_EQ(list.records()[0], want);
    EXPECT_EQ(list.records()[1], before.records()[1]); // not selected
    EXPECT_EQ(list.records()[2], before.records()[2]); // type not in the pool
}

TEST(ReplaceVarIds, ReplacesRegardlessOfCaseThenPrefixesSelectedRecordsOnly)
{
    GdtList list = listOf("ButtonOK* ButtonOK BUTTONX* frmBtnX");
    EXPECT_EQ(replaceVarIds(list, "frm", "button", "Btn").mark, ChangeMark::Set);
    EXPECT_EQ(shapeOf(list), "frmBtnOK* ButtonOK frmBtnX* frmBtnX"); // duplicates are not prevented

    const char *const cases[][4] = {
        {"aaa", "AA", "b", "ba"}, {"abc", "ABC", "abcabc", "abcabc"},     {"ABAB", "ab", "", ""},
        {"x", "", "y", "x"},      {"\334ber", "\374ber", "U", "\334ber"}, // only A-Z fold
    };
    for (const auto &c : cases)
        EXPECT_EQ(replaceAllFolded(c[0], c[1], c[2]), c[3]) << c[0] << " " << c[1];
}

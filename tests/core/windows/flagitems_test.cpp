#include "core/windows/flagitems.h"

#include "core/commands/listshape.h"

#include <gtest/gtest.h>

using namespace tafelbau;
using listshape::listOf;

TEST(FlagItems, NameAndValueOfALine)
{
    const char *const cases[][3] = {
        {"1:Zentriert = #PB_Text_Center", "Zentriert", "#PB_Text_Center"},
        {" 0 :  Rahmen=#B  ", "Rahmen", "#B"},
        {"1:Name = #A = x", "Name", "#A"},
        {"1:Name = #A:x", "Name", "#A"}, // the rest ends at a second colon
        {"1:Name", "Name", ""},
        {"Name = #A", "", ""},                 // no colon: an empty row
        {"1:Na\tme = \t#A", "Na\tme", "\t#A"}, // only blanks are trimmed
    };
    for (const auto &c : cases) {
        const std::vector<FlagItem> items = flagItems(c[0], "");
        ASSERT_EQ(items.size(), 1u) << c[0];
        EXPECT_EQ(items[0].name, c[1]) << c[0];
        EXPECT_EQ(items[0].value, c[2]) << c[0];
    }
}

TEST(FlagItems, LinesAndTheSubstringTest)
{
    const std::pair<const char *, std::size_t> lines[] = {
        {"", 1}, {"1:A=a\r\n", 2}, {"1:A=a\r0:B=b\r\n2:C=c", 3}, {"1:A=a\n0:B=b", 1}};
    for (const auto &[text, count] : lines)
        EXPECT_EQ(flagItems(text, "").size(), count) << text;

    const std::tuple<const char *, const char *, bool> on[] = {
        {"0:S = Size", "#SizeGadget|#X", true}, // part of another flag counts
        {"0:S = size", "#SizeGadget", false},
        {"0:S", "#X", false},      // an empty value is never on
        {"1:S = #Y", "#X", false}, // the default part does not count here
    };
    for (const auto &[line, flags, want] : on)
        EXPECT_EQ(flagItems(line, flags)[0].on, want) << line << " in " << flags;
}

TEST(FlagsFromItems, CheckedValuesInListOrder)
{
    auto on = [](const char *value) { return FlagItem{"n", value, true}; };
    const FlagItem off{"n", "B", false};
    EXPECT_EQ(flagsFromItems({on("A"), off, on("C")}, "|"), "A|C");
    EXPECT_EQ(flagsFromItems({off}, "|"), ""); // empty, not "0"
    EXPECT_EQ(flagsFromItems({on("A"), on("")}, "|"), "A|");
    EXPECT_EQ(flagsFromItems({on(""), on("A")}, "|"), "A"); // nothing to separate from yet
    EXPECT_EQ(flagsFromItems({on("A"), on("B")}, " | "), "A | B");
}

TEST(EditFlags, AcceptWritesTheCheckedValuesOfTheCurrentRow)
{
    GdtPool pool;
    pool.entries.resize(1);
    pool.entries[0].name = "Type", pool.entries[0].flags = "0:Rahmen = A\r\n1:Zentriert = B";
    GdtList list = listOf("Y* X Z*");
    for (GadgetRecord &r : list.records())
        r.flags = "B|#Lost";
    std::optional<FlagsEditor> editor = openEditFlags(list, pool);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->index, 0); // the first record: no index is too small
    EXPECT_EQ(editor->items, (std::vector<FlagItem>{{"Rahmen", "A", false}, {"Zentriert", "B", true}}));

    EXPECT_EQ(acceptEditFlags(list, *editor).mark, ChangeMark::Set); // even with nothing changed
    EXPECT_EQ(list.records()[0].flags, "B");                         // flags no line offers are gone
    editor->items[0].on = true;
    acceptEditFlags(list, *editor);
    EXPECT_EQ(list.records()[0].flags, "A|B");
    EXPECT_EQ(list.records()[2].flags, "B|#Lost");

    // No current row, or a type the pool no longer has: the editor does not open.
    GdtList unselected = listOf("X");
    EXPECT_EQ(openEditFlags(unselected, pool), std::nullopt);
    list.records()[0].name = "Renamed";
    EXPECT_EQ(openEditFlags(list, pool), std::nullopt);
}

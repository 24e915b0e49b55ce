#include "core/codegen/import.h"
#include "core/codegen/uniqueids.h"
#include "core/document/gdtlist.h"

#include <gtest/gtest.h>

#include <random>

using namespace tafelbau;

namespace {

PoolEntry entry(std::string name, std::string mask, std::string sep = ",")
{
    PoolEntry e;
    e.name = std::move(name), e.importcode = std::move(mask), e.importwerttrenn = std::move(sep);
    return e;
}

GdtPool pool(std::vector<PoolEntry> entries)
{
    GdtPool p;
    p.entries = std::move(entries);
    p.settings.codeComment = ";";
    p.settings.importRemove = "\"";
    p.settings.importTrim = ")";
    return p;
}

std::vector<std::string> ids(const GdtList &list)
{
    std::vector<std::string> out;
    for (const GadgetRecord &r : list.records())
        out.push_back(r.varId);
    return out;
}

} // namespace

TEST(Import, ButtonLineOfTheWorkedExample)
{
    PoolEntry button = entry("ButtonGadget", "ButtonGadget([id],[x],[y],[xd],[yd],[text],[flags]");
    button.code = "ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])";
    button.p[2] = "Tooltip";
    button.dontshow = 1, button.xy0 = 1, button.color = 255;
    GdtList list;
    list.append({}).varId = "Fenster";
    ASSERT_EQ(importSourceText("  ButtonGadget(Ok, 10, 20, 80, 24, \"Weiter\") ; Knopf\r\n", pool({button}), list), 1);

    GadgetRecord want;
    want.varId = "Ok", want.name = "ButtonGadget", want.code = button.code, want.pname = button.p;
    want.lvid = 2, want.card = 1, want.x = 10, want.y = 20, want.xd = 80, want.yd = 24;
    want.text = "Weiter)", want.flags = "0", want.dontshow = 1, want.xy0 = 1, want.color = 255;
    EXPECT_EQ(list.records()[1], want);
    EXPECT_EQ(list.currentIndex(), 1);
}

struct FieldCase
{
    const char *what;
    std::string mask, sep, line;
    std::string varId, text, flags;
    std::int32_t x = 0;
    std::string comment = ";", remove = "\"", trim = ")";
};

TEST(Import, FieldsOfOneLine)
{
    const FieldCase cases[] = {
        {"hex number, after an assignment", "G([id],[x]", ",", "\tb = G(a, $10", "a", "", "", 16},
        {"scaled number", "G([id],[x]", ",", "G(a, -10*GTBScale", "a", "", "", -10},
        {"names in any case, blanks around", "G([ID] , [Text] , [X] ", ",", "G(a,b,7", "a", "b", "", 7},
        {"prefix twice", "G([id],[x]", ",", "G(a, 5) : G(b, 6)", "a", "", "", 5},
        {"paren after the last name", "G([id],[text])", ",", "G(a, b)", "a", "", ""},
        {"capital separator not in the lower-cased mask", "G([id]AND[x]", "AND", "G(aAND4", "Gad", "", ""},
        {"later field wins", "G([text],[id],[text]", ",", "G(a,b", "b", "", ""},
        {"tabs stay", "G([id],[text]", ",", "G(a,\t b \t", "a", "\t b \t", ""},
        {"non-overlapping separator", "G([id]aaa[x]", "aa", "G(qaa7", "q", "", ""},
        {"empty separator", "G([id]", "", "G(a,b", "a,b", "", ""},
        {"flags given", "G([id],[flags]", ",", "G(a, #X | #Y", "a", "", "#X | #Y"},
        {"flags empty", "G([id],[flags]", ",", "G(a", "a", "", "0"},
        {"no comment marker", "G([id],[text]", ",", "G(a ; b, c", "a ; b", "c", "", 0, ""},
        {"removal ignores ASCII case only", "G([id],[text]", ",", "G(aXbx,\xC4\xE4", "ab", "\xC4", "", 0, ";", "x\xE4"},
        {"trim order )(", "G([text]", ",", "G(()x(", "Gad", ")x", "", 0, ";", "", ")("},
        {"trim order (), repeated", "G([text]", ",", "G(()x((", "Gad", "x", "", 0, ";", "", "()"},
    };
    for (const FieldCase &c : cases) {
        GdtPool p = pool({entry("Gad", c.mask, c.sep)});
        p.settings.codeComment = c.comment, p.settings.importRemove = c.remove, p.settings.importTrim = c.trim;
        GdtList list;
        ASSERT_EQ(importSourceText(c.line, p, list), 1) << c.what;
        const GadgetRecord &r = list.records()[0];
        EXPECT_EQ(r.varId, c.varId) << c.what;
        EXPECT_EQ(r.text, c.text) << c.what;
        EXPECT_EQ(r.flags, c.flags) << c.what;
        EXPECT_EQ(r.x, c.x) << c.what;
    }
}

TEST(Import, FirstEntryInPoolOrderWinsAndEmptyPrefixNeverMatches)
{
    const GdtPool p = pool({entry("Any", "[id]"), entry("Empty", ""), entry("Short", "Gadget(["),
                            entry("Button", "ButtonGadget([id]"), entry("Code", "EndProcedure")});
    GdtList list;
    importSourceText("ButtonGadget(b\n[id]\nbuttongadget(\n  EndProcedure ; x\nEndProcedure\n", p, list);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.records()[0].name, "Short");
    EXPECT_EQ(ids(list), (std::vector<std::string>{"Short", "Code", "Code1"}));
    EXPECT_EQ(list.records()[1].flags, "");
}

TEST(Import, LineEndsAndEmptyLines)
{
    GdtList list;
    importSourceText("\r\nG(a\r\nG(b\nG(c\rG(d\n\r\n\nG(e", pool({entry("G", "G([id]")}), list);
    EXPECT_EQ(ids(list), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
}

TEST(Import, IdentifiersMadeUniqueAgainstListAndImport)
{
    const GdtPool p = pool({entry("G", "G([id]"), entry("Twice", "T([id],[id]")});
    GdtList list;
    for (const char *id : {"Ok", "Ok2", "G"})
        list.append({}).varId = id;
    importSourceText("G(Ok\nG(Ok\nG(Ok\nG(\nT(x, x\n", p, list);
    importSourceText("G(Ok\n", p, list);
    // Other letter cases of a used name count as used: the list file could
    // not hold them apart.
    importSourceText("G(OK\nG(g\n", p, list);
    // The second [id] of one line sees the first one's value as taken.
    EXPECT_EQ(ids(list),
              (std::vector<std::string>{"Ok", "Ok2", "G", "Ok1", "Ok3", "Ok4", "G1", "x1", "Ok5", "OK6", "g2"}));
}

// A-Z and a-z are one letter to identifiers, every other byte stays itself.
TEST(Import, IdentifiersOfOtherLetterCaseAreTaken)
{
    GdtList list;
    for (const char *id : {"Zebra_AZ", "Knopf_mit_langem_Namen", "\xC4nderung", "@["})
        list.append({}).varId = id;
    UniqueIds ids(list);
    const std::pair<const char *, const char *> cases[] = {
        {"zEBRA_az", "zEBRA_az1"},
        {"KNOPF_MIT_LANGEM_NAMEN", "KNOPF_MIT_LANGEM_NAMEN1"},
        {"\xE4nderung", "\xE4nderung"}, // umlauts are not folded
        {"`{", "`{"},                   // the bytes beside A-Z and a-z
        {"@[", "@[1"},
    };
    for (const auto &[candidate, unique] : cases)
        EXPECT_EQ(ids.makeUnique(candidate, {}), unique) << candidate;
    ASSERT_NE(ids.spelling("ZEBRA_AZ"), nullptr);
    EXPECT_EQ(*ids.spelling("ZEBRA_AZ"), "Zebra_AZ");
    EXPECT_EQ(ids.spelling("Zebra_A"), nullptr);
}

TEST(Import, AllRecordsOnTheCardFreeAtTheStart)
{
    const std::vector<std::pair<std::vector<int>, int>> cases = {
        {{}, 0}, {{0, 1, 3, -1}, 2}, {{1, 2}, 0}, {{2, 1, 0, 0}, 3}, {{1000000}, 0}};
    for (const auto &[cards, free] : cases) {
        GdtList list;
        for (int c : cards)
            list.append({}).card = c;
        EXPECT_EQ(nextFreeCard(list), free);
        importSourceText("G(a\nG(b", pool({entry("G", "G([id]")}), list);
        EXPECT_EQ(list.records().back().card, free);
        EXPECT_EQ(list.records()[cards.size()].card, free);
        EXPECT_EQ(list.records().back().lvid, static_cast<int>(cards.size()) + 2);
    }
}

TEST(Import, GarbageBytesNeverCrash)
{
    std::mt19937 rng(7);
    std::string noise(1 << 20, '\0');
    for (char &c : noise)
        c = static_cast<char>(rng() % 8 == 0 ? 'G' : rng() % 7 == 0 ? '(' : rng());
    const GdtPool p = pool({entry("G", "G([id],[x],[text]"), entry("H", std::string("\0[id]", 5))});
    GdtList list;
    importSourceText(noise, p, list);
    EXPECT_GT(list.size(), 0);

    GdtList nul;
    importSourceText(std::string("\0G(a\0b, 1", 9), p, nul);
    ASSERT_EQ(nul.size(), 1);
    EXPECT_EQ(nul.records()[0].varId, std::string("a\0b", 3));

    GdtList longLine;
    importSourceText("G(" + std::string(8 << 20, 'x') + ",5", p, longLine);
    ASSERT_EQ(longLine.size(), 1);
    EXPECT_EQ(longLine.records()[0].x, 5);
}

TEST(PrefixMatcher, AgreesWithOneSearchPerPrefix)
{
    std::mt19937 rng(11);
    auto word = [&](std::size_t maxLen) {
        std::string w(rng() % (maxLen + 1), 'a');
        for (char &c : w)
            c = static_cast<char>('a' + rng() % 3);
        return w;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> prefixes(1 + rng() % 8);
        for (std::string &p : prefixes)
            p = word(4);
        const std::vector<std::string_view> views(prefixes.begin(), prefixes.end());
        const PrefixMatcher fast(views);
        const PrefixMatcher slow(views, 0);
        EXPECT_FALSE(slow.usesAutomaton());
        for (int l = 0; l < 20; ++l) {
            const std::string line = word(30);
            int want = -1;
            for (std::size_t i = 0; i < prefixes.size() && want < 0; ++i)
                if (!prefixes[i].empty() && line.find(prefixes[i]) != std::string::npos)
                    want = static_cast<int>(i);
            ASSERT_EQ(fast.firstMatch(line), want) << line;
            ASSERT_EQ(slow.firstMatch(line), want) << line;
        }
    }
}

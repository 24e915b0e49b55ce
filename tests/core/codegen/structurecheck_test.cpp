// The check that tells where cards and code part, and the references that
// follow a renamed VarID.
#include "core/codegen/structurecheck.h"

#include "core/dialoglist.h"

#include <gtest/gtest.h>

using namespace tafelbau;

namespace {

std::string problemsOf(const GdtList &list)
{
    static const char *const kinds[] = {"card", "reference", "outside", "close", "open", "item"};
    std::string out;
    for (const StructureProblem &p : checkStructure(list)) {
        if (!out.empty())
            out += ' ';
        out += std::string(kinds[static_cast<int>(p.kind)]) + "@" + list.records()[static_cast<std::size_t>(p.record)].varId;
    }
    return out;
}

constexpr char kTwoPages[] = "W:Win@0 P:Tabs@0 G:One@1>Tabs T:Name@1 G:Two@2>Tabs T:Phone@2 C:End@0 B:Ok@0";

} // namespace

TEST(StructureCheck, FindsWhereCardsAndCodeDisagree)
{
    const struct
    {
        const char *name;
        const char *shape;
        const char *expected;
    } cases[] = {
        {"a two-page dialog as the code builds it", kTwoPages, ""},
        {"OK drawn on page 1 but created on the window",
         "W:Win@0 P:Tabs@0 G:One@1>Tabs T:Name@1 C:End@0 B:Ok@1", "card@Ok"},
        {"a gadget of page 2 drawn on page 1",
         "W:Win@0 P:Tabs@0 G:One@1>Tabs G:Two@2>Tabs T:Phone@1 C:End@0", "card@Phone"},
        {"a page of a panel nobody declares", "W:Win@0 G:Lost@0>Missing", "reference@Lost"},
        {"items of a combo box are fine", "W:Win@0 X:Combo@0 G:First@0>Combo", ""},
        {"an item for a button", "W:Win@0 B:Btn@0 G:First@0>Btn", "item@First"},
        {"a CloseGadgetList with nothing open", "W:Win@0 C:Stray@0 B:Ok@0", "close@Stray"},
        {"a container left open at the end", "W:Win@0 K:Box@0 B:In@0", "open@Box"},
        {"a panel left open at the next window", "W:Win@0 P:Tabs@0 G:One@1>Tabs W:Two@2", "open@Tabs"},
        {"a container's gadgets share the card of its first", "W:Win@0 K:Box@0 B:A@3 B:B@4 C:End@0",
         "card@B"},
        {"gadgets before any window belong nowhere", "B:Loose@5 W:Win@0", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(problemsOf(dialoglist::listOf(c.shape)), c.expected) << c.name;
}

TEST(StructureCheck, GadgetsOutsideTheirParentsClientArea)
{
    // Window 420 x 300, panel at 10,10 of 300 x 200, page 296 x 174.
    const struct
    {
        const char *name;
        std::size_t record;
        std::int32_t x, y, xd, yd;
        bool outside;
    } cases[] = {
        {"button filling the window to its edge", 7, 0, 0, 420, 300, false},
        {"button one pixel past the window's right edge", 7, 341, 10, 80, 20, true},
        {"button one pixel past the window's bottom", 7, 10, 281, 80, 20, true},
        {"button left of the window", 7, -1, 10, 80, 20, true},
        {"button above the window", 7, 10, -1, 80, 20, true},
        {"text at the page's edge", 3, 216, 154, 80, 20, false},
        {"text past the page, inside the window", 3, 217, 10, 80, 20, true},
        {"panel larger than the window", 1, 10, 10, 411, 100, true},
    };
    for (const auto &c : cases) {
        GdtList list = dialoglist::listOf(kTwoPages);
        GadgetRecord &r = list.records()[c.record];
        r.x = c.x;
        r.y = c.y;
        r.xd = c.xd;
        r.yd = c.yd;
        const std::string expected = c.outside ? "outside@" + r.varId : "";
        EXPECT_EQ(problemsOf(list), expected) << c.name;
    }
}

TEST(StructureCheck, TextsNameTheGadgetAndWhatTheCodeDoes)
{
    GdtList list = dialoglist::listOf("W:Win@0 P:Tabs@0 G:One@1>Tabs G:Two@2>Tabs T:Phone@1 C:End@0 S:Split@0");
    list.records()[6].p[0] = "#Phone";
    list.records()[6].p[1] = "#Gone";
    const auto problems = checkStructure(list);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].record, 4);
    EXPECT_EQ(problems[0].text, "Phone: liegt auf Karte 1, der Code erzeugt es aber in Two (Karte 2)");
    EXPECT_EQ(problems[1].text,
              "Split: verweist auf #Gone, das kein Gadget deklariert; der Code lässt sich so nicht übersetzen");
}

TEST(StructureCheck, ReferencesFoundAndRenamed)
{
    GdtList list = dialoglist::listOf("W:Win@0 P:Tabs@0 G:One@1>Tabs G:Two@2>Tabs T:Name@1 C:End@0 S:Split@0 "
                                      "G:Word@0>Tabsheet O:Back@0>Tabs");
    auto &records = list.records();
    records[6].p[0] = "#Tabs";
    records[6].p[1] = "#PB_Any";
    records[3].p[0] = " #Tabs ";
    EXPECT_EQ(recordsReferringTo(list, "Tabs"), (std::vector<int>{2, 3, 6, 8}));
    EXPECT_EQ(recordsReferringTo(list, "Name"), std::vector<int>{}); // its own [id] is no reference
    // A template that writes its caption after "#" refers through the text alone.
    {
        GdtList byText = list;
        byText.records()[4].code = "SetActiveGadget(#[text])";
        byText.records()[4].text = "Tabs";
        EXPECT_EQ(recordsReferringTo(byText, "Tabs"), (std::vector<int>{2, 3, 4, 6, 8}));
    }

    for (int i : recordsReferringTo(list, "Tabs"))
        EXPECT_TRUE(renameReferences(records[static_cast<std::size_t>(i)], "Tabs", "Karten"));
    EXPECT_EQ(records[2].p[0], "Karten");
    EXPECT_EQ(records[3].p[0], " #Karten ");
    EXPECT_EQ(records[6].p[0], "#Karten");
    EXPECT_EQ(records[6].p[1], "#PB_Any");
    EXPECT_EQ(records[7].p[0], "Tabsheet");
    EXPECT_EQ(records[8].p[0], "Karten");
    EXPECT_FALSE(renameReferences(records[7], "Tabs", "Karten"));
}

// The nesting the code gives a list: parents, depths, pages, items, and
// where new gadgets for a card go.
#include "core/codegen/dialogstructure.h"

#include "core/dialoglist.h"

#include <gtest/gtest.h>

using namespace tafelbau;
using R = StructureRole;

namespace {

// "VarID<parent:depth" per record; "-" for no parent.
std::string nesting(const GdtList &list, const DialogStructure &s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!out.empty())
            out += ' ';
        const int p = s[i].parent;
        out += list.records()[i].varId + "<" + (p < 0 ? std::string("-") : list.records()[static_cast<std::size_t>(p)].varId)
            + ":" + std::to_string(s[i].depth);
    }
    return out;
}

} // namespace

TEST(DialogStructure, ParentsAndDepthsFollowTheGadgetListsTheCodeOpens)
{
    const struct
    {
        const char *name;
        const char *shape;
        const char *expected;
    } cases[] = {
        {"panel of two pages, then the buttons on the window",
         "W:Win@0 P:Tabs@0 G:One@1>Tabs T:Name@1 G:Two@2>Tabs T:Phone@2 C:End@0 B:Ok@0",
         "Win<-:0 Tabs<Win:0 One<Tabs:1 Name<One:2 Two<Tabs:1 Phone<Two:2 End<Win:1 Ok<Win:0"},
        {"containers nest", "W:Win@0 K:Box@0 K:Inner@1 B:Deep@2 C:E1@1 C:E2@0 B:Ok@0",
         "Win<-:0 Box<Win:0 Inner<Box:1 Deep<Inner:2 E1<Box:2 E2<Win:1 Ok<Win:0"},
        {"a panel in a page", "W:W@0 P:Out@0 G:O1@1>Out P:In@1 G:I1@2>In B:Deep@2 C:Ci@1 C:Co@0 B:Ok@0",
         "W<-:0 Out<W:0 O1<Out:1 In<O1:2 I1<In:3 Deep<I1:4 Ci<O1:3 Co<W:1 Ok<W:0"},
        {"items of a combo box stay in the window", "W:Win@0 X:Combo@0 G:First@0>Combo B:Ok@0",
         "Win<-:0 Combo<Win:0 First<Win:0 Ok<Win:0"},
        {"a CloseGadgetList with nothing open closes nothing", "W:Win@0 C:Stray@0 B:Ok@0",
         "Win<-:0 Stray<Win:0 Ok<Win:0"},
        {"the next window ends what was left open", "W:Win@0 K:Box@0 B:In@1 W:Two@2 B:Ok@2",
         "Win<-:0 Box<Win:0 In<Box:1 Two<-:0 Ok<Two:0"},
        {"OpenGadgetList goes back into a container", "W:Win@0 K:Box@0 B:A@1 C:E1@0 O:Again@0>Box B:B@1 C:E2@0",
         "Win<-:0 Box<Win:0 A<Box:1 E1<Win:1 Again<Win:0 B<Box:1 E2<Win:1"},
        {"gadgets before any window have no parent", "B:Loose@0 W:Win@0 B:Ok@0", "Loose<-:0 Win<-:0 Ok<Win:0"},
        {"a page added after its panel was closed takes no gadgets",
         "W:Win@0 P:Tabs@0 G:One@1>Tabs C:End@0 G:Late@2>Tabs B:After@0",
         "Win<-:0 Tabs<Win:0 One<Tabs:1 End<Win:1 Late<Tabs:1 After<Win:0"},
    };
    for (const auto &c : cases) {
        const GdtList list = dialoglist::listOf(c.shape);
        EXPECT_EQ(nesting(list, DialogStructure(list)), c.expected) << c.name;
    }
}

TEST(DialogStructure, RolesOwnersAndWhatIsLeftOpen)
{
    const GdtList list = dialoglist::listOf("W:Win@0 X:Combo@0 G:Item@0>Combo G:Nobody@0>Missing P:Tabs@0 "
                                            "G:One@1>Tabs C:End@0 C:Stray@0 K:Box@0 B:In@3");
    const DialogStructure s(list);
    const R roles[] = {R::Window, R::Gadget, R::Item,      R::Item,      R::Panel,
                       R::Page,   R::CloseList, R::CloseList, R::Container, R::Gadget};
    ASSERT_EQ(s.size(), std::size(roles));
    for (std::size_t i = 0; i < s.size(); ++i)
        EXPECT_EQ(s[i].role, roles[i]) << list.records()[i].varId;
    EXPECT_EQ(s[2].owner, 1);
    EXPECT_EQ(s[3].owner, -1);
    EXPECT_EQ(s[5].owner, 4);
    EXPECT_EQ(s[6].owner, 4); // closes the panel
    EXPECT_EQ(s[7].owner, -1);
    EXPECT_TRUE(s[5].opensList);
    EXPECT_FALSE(s[4].leftOpen);
    EXPECT_TRUE(s[8].leftOpen);
    EXPECT_EQ(s.pagesOf(4), (std::vector<int>{5}));
    const GdtList twoWindows = dialoglist::listOf("W:Win@0 K:Box@0 B:In@1 W:Two@2");
    const DialogStructure t(twoWindows);
    EXPECT_TRUE(t[1].leftOpen) << "the next window leaves it open";
    EXPECT_FALSE(t[0].leftOpen);
    EXPECT_EQ(t[1].end, 3);
    EXPECT_TRUE(s.pagesOf(1).empty());
}

TEST(DialogStructure, CardsOfWindowsPagesAndContainers)
{
    const GdtList list =
        dialoglist::listOf("W:Win@0 P:Tabs@0 G:One@1>Tabs G:Two@2>Tabs C:E@0 K:Box@0 Y:Note@9 B:In@3 C:E2@0 K:Empty@0 "
                           "C:E3@0 W:Other@5");
    const DialogStructure s(list);
    EXPECT_EQ(s[0].innerCard, 0);
    EXPECT_EQ(s[2].innerCard, 1);
    EXPECT_EQ(s[3].innerCard, 2);
    EXPECT_EQ(s[5].innerCard, 3) << "the first gadget drawn in it, not the code before it";
    EXPECT_EQ(s[9].innerCard, std::nullopt);
    EXPECT_EQ(s.contextOfCard(0), 0);
    EXPECT_EQ(s.contextOfCard(2), 3);
    EXPECT_EQ(s.contextOfCard(3), 5);
    EXPECT_EQ(s.contextOfCard(5), 11);
    EXPECT_EQ(s.contextOfCard(9), -1);
    // A container as the list's first record (its window made elsewhere).
    EXPECT_EQ(DialogStructure(dialoglist::listOf("K:Box@0 B:In@4 C:E@0"))[0].innerCard, 4);
}

TEST(DialogStructure, NewGadgetsForACardGoWhereTheCodeCreatesThem)
{
    //                                   0        1        2              3          4              5
    const GdtList list = dialoglist::listOf("W:Win@0 P:Tabs@0 G:One@1>Tabs T:Name@1 G:Two@2>Tabs T:Phone@2 "
                                            // 6     7       8        9       10      11
                                            "C:End@0 B:Ok@0 K:Box@0 B:In@3 C:E2@0 B:Cancel@0 "
                                            // 12          13
                                            "B:Loose@7 W:Second@4");
    const DialogStructure s(list);
    const struct
    {
        std::int32_t card;
        int index;
    } cases[] = {
        {1, 4},  // before the next page
        {2, 6},  // before the panel's CloseGadgetList
        {0, 13}, // before the next window
        {3, 10}, // inside the container, before its CloseGadgetList
        {4, 14}, // the last window: at the end
        {7, 13}, // nobody heads it: after its last record
        {8, 14}, // nobody uses it: at the end
    };
    for (const auto &c : cases)
        EXPECT_EQ(s.insertionPoint(list, c.card), c.index) << "card " << c.card;
}

TEST(DialogStructure, ClientAreasInTheCoordinatesGadgetsAreWrittenIn)
{
    GdtList list = dialoglist::listOf("W:Win@0 P:Tabs@0 G:One@1>Tabs C:E@0 K:Box@0 B:In@2 C:E2@0");
    list.records()[4].flags = "#PB_Container_Single";
    const DialogStructure s(list);
    ControlMetrics m;
    m.frameWidth = 2;
    m.tabBarHeight = 20;
    EXPECT_EQ(s.clientArea(list, 0, m), (CardRect{0, 0, 420, 300}));
    EXPECT_EQ(s.clientArea(list, 2, m), (CardRect{0, 0, 296, 174}));
    EXPECT_EQ(s.clientArea(list, 4, m), (CardRect{0, 0, 196, 146}));
    EXPECT_EQ(s.clientArea(list, 5, m), (CardRect{}));
    EXPECT_EQ(panelPageArea(list.records()[1], m), (CardRect{0, 0, 296, 176}));
}

TEST(DialogStructure, ArgumentsNameVarIds)
{
    GadgetRecord r;
    r.varId = "Self";
    r.p[0] = "Tabs";
    r.p[3] = " Spaced ";
    const struct
    {
        const char *argument;
        const char *name;
    } cases[] = {
        {"#[p0]", "Tabs"}, {"#[P0]", "Tabs"},     {" # Tabs ", "Tabs"},      {"#[id]", "Self"},
        {"[p3]", "Spaced"}, {"#[p12]", "[p12]"}, {"#Pre[p0]Post", "PreTabsPost"}, {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(namedVarId(c.argument, r), c.name) << c.argument;
}

TEST(DialogStructure, ReopenedPanelTakesThePageItsItemNames)
{
    GdtList list =
        dialoglist::listOf("W:Win@0 P:Tabs@0 G:One@1>Tabs G:Two@2>Tabs C:E@0 O:Back@0>Tabs B:Later@1 C:E2@0");
    list.records()[5].code = "OpenGadgetList(#[p0], 0)";
    DialogStructure s(list);
    EXPECT_EQ(s[6].parent, 2);
    EXPECT_EQ(s[6].depth, 2);
    EXPECT_EQ(s[2].end, 7) << "the page's last stretch ends at the second CloseGadgetList";
    list.records()[5].code = "OpenGadgetList(#[p0])";
    s = DialogStructure(list);
    EXPECT_EQ(s[6].parent, 3) << "without an item: the last page";
}

TEST(DialogStructure, CallArgumentsSplitWhereTheCodeDoes)
{
    const ControlCall call = controlCall("x = AddGadgetItem( #[p0] , f(1, 2), \"a, b\", [flags]) ; c, d", "");
    EXPECT_EQ(call.type.kind, ControlKind::Page);
    const char *expected[] = {"#[p0]", "f(1, 2)", "\"a, b\"", "[flags]", ""};
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(call.argument(i), expected[i]) << i;
    EXPECT_EQ(controlCall("CloseGadgetList()", "").argument(0), "");
    EXPECT_EQ(controlCall("OpenGadgetList(#Box", "").argument(0), "#Box") << "a missing \")\" ends the call";
    EXPECT_EQ(controlCall("Debug 1", "").arguments, "");
}

TEST(DialogStructure, OnlyListGadgetsTakeItems)
{
    for (ControlKind k : {ControlKind::ComboBox, ControlKind::Editor, ControlKind::ListIcon, ControlKind::ListView,
                          ControlKind::MDI, ControlKind::Panel, ControlKind::Tree})
        EXPECT_TRUE(takesItems(k)) << static_cast<int>(k);
    for (ControlKind k : {ControlKind::None, ControlKind::Button, ControlKind::Container, ControlKind::Window,
                          ControlKind::Page, ControlKind::String})
        EXPECT_FALSE(takesItems(k)) << static_cast<int>(k);
}

// Which control a template makes, and what a card shows in the real-gadget
// drawing.
#include "core/canvas/controlitems.h"
#include "core/canvas/controllook.h"
#include "core/pool/flaglines.h"
#include "core/pool/poolfile.h"

#include <gtest/gtest.h>

#include <map>

using namespace tafelbau;
using K = ControlKind;

TEST(ControlType, EveryEntryOfTheShippedPool)
{
    const std::map<std::string, K> expected = {
        {"AddGadgetColumn", K::None}, // not drawn: a column of a list icon
        {"AddGadgetItem", K::Page},
        {"ButtonGadget", K::Button},
        {"ButtonImageGadget", K::ButtonImage},
        {"CalendarGadget", K::Calendar},
        {"CanvasGadget", K::Canvas},
        {"CheckBoxGadget", K::CheckBox},
        {"CloseGadgetList", K::CloseList},
        {"Code", K::None}, // the user's own code: it keeps its frame
        {"ComboBoxGadget", K::ComboBox},
        {"ContainerGadget", K::Container},
        {"DateGadget", K::Date},
        {"EditorGadget", K::Editor},
        {"ExplorerComboGadget", K::ExplorerCombo},
        {"ExplorerListGadget", K::ExplorerList},
        {"ExplorerTreeGadget", K::ExplorerTree},
        {"Frame3DGadget", K::Frame},
        {"FrameGadget", K::Frame},
        {"HyperLinkGadget", K::HyperLink},
        {"ImageGadget", K::Image},
        {"IPAddressGadget", K::IPAddress},
        {"ListIconGadget", K::ListIcon},
        {"ListViewGadget", K::ListView},
        {"MDIGadget", K::MDI},
        {"OpenGLGadget", K::OpenGL},
        {"OpenGadgetList", K::OpenList},
        {"OpenWindow", K::Window},
        {"OptionGadget", K::Option},
        {"PanelGadget", K::Panel},
        {"ProgressBarGadget", K::ProgressBar},
        {"ScintillaGadget", K::Editor},
        {"ScrollAreaGadget", K::ScrollArea},
        {"ScrollBarGadget", K::ScrollBar},
        {"ShortcutGadget", K::Shortcut},
        {"SpinGadget", K::Spin},
        {"SplitterGadget", K::Splitter},
        {"StringGadget", K::String},
        {"TextGadget", K::Text},
        {"TrackBarGadget", K::TrackBar},
        {"TreeGadget", K::Tree},
        {"WebGadget", K::Web},
    };
    GdtPool pool;
    ASSERT_TRUE(loadGdtPool(std::filesystem::path(TAFELBAU_SOURCE_DIR) / "data" / "TafelbauGadgetPool.ini", pool));
    ASSERT_EQ(pool.entries.size(), expected.size()); // a new entry needs its row here
    for (const PoolEntry &e : pool.entries) {
        const auto it = expected.find(e.name);
        ASSERT_NE(it, expected.end()) << e.name;
        EXPECT_EQ(controlType(e.code, defaultFlags(e)).kind, it->second) << e.name;
    }
}

TEST(ControlType, FoundWhereverTheTemplateCallsIt)
{
    struct Case
    {
        const char *code;
        K kind;
    };
    const Case cases[] = {
        {"If #True\r\n  x = 5 : buttongadget (#[id], [x], [y], [xd], [yd], \"[text]\")\r\nEndIf", K::Button},
        {"; ButtonGadget(\r\nStringGadget(#[id], 0, 0, 9, 9, \"ButtonGadget(\")", K::String},
        {"TextGadget(#[id], 0, 0, 9, 9, ~\"say \\\"OptionGadget(\\\"\")", K::Text},
        {"ContainerGadget(#[id], 1, 2, 3, 4)\r\nButtonGadget(#b, 1, 1, 1, 1, \"\")", K::Container},
        {"If OpenWindow(#[id], 0, 0, 9, 9, \"[text]\")", K::Window},
        {"x = #ButtonGadget(1) + *p\\TextGadget(2) + obj.ComboBoxGadget(3)", K::None},
        {"MyButtonGadget(#[id])\r\nButtonGadgetX(#[id])", K::None},
        {"#ButtonGadget(1)", K::None}, // a constant at the very start
        {"ButtonGadget", K::None}, // named, not called
        {"", K::None},
        {"\"unclosed ButtonGadget(\r\nTreeGadget(", K::Tree}, // a string ends with its line
    };
    for (const Case &c : cases)
        EXPECT_EQ(controlType(c.code, "").kind, c.kind) << c.code;
}

TEST(ControlType, FlagsOfTheCallAndOfTheRecord)
{
    struct Case
    {
        const char *code;
        const char *flags;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"ButtonGadget(#[id], 0, 0, 9, 9, \"\", [Flags])", "#PB_Button_Default | #pb_button_RIGHT",
         look::Default | look::AlignRight},
        {"ButtonGadget(#[id], 0, 0, 9, 9, \"\", #PB_Button_Toggle)", "#PB_Button_Default", look::Toggle}, // no [flags]
        {"ButtonGadget(#[id], 0, 0, 9, 9, \"\")\r\nX([flags])", "#PB_Button_Default", 0}, // not this call's
        {"OpenWindow(#[id], 0, 0, 9, 9, \"\", [flags])",
         "#PB_Window_SystemMenu|#PB_Window_MinimizeGadget|#PB_Window_ScreenCentered",
         look::SystemMenu | look::MinimizeGadget},
        {"StringGadget(#[id], 0, 0, 9, 9, \"\", [flags])", "#PB_String_Password|#PB_Unknown_Thing|42|#|##",
         look::Password},
        {"TextGadget(#[id], 0, 0, 9, 9, \"#PB_Text_Right\", [flags])", "#PB_Text_Center", look::AlignCenter},
    };
    for (const Case &c : cases)
        EXPECT_EQ(controlType(c.code, c.flags).flags, c.expected) << c.code;
}

TEST(ControlType, LongAndBrokenInputEndsQuickly)
{
    std::string code(1 << 20, '(');
    code += "ButtonGadget(";
    EXPECT_EQ(controlType(code, std::string(1 << 20, '#')).kind, K::Button);
    EXPECT_EQ(controlType(std::string(1 << 20, 'A') + "(", "").kind, K::None);
    EXPECT_EQ(controlType(std::string(1 << 20, '"'), "").kind, K::None);
}

namespace {

GadgetRecord rec(const char *id, const char *function, int card, int x, int y, int xd, int yd, bool xy0 = false)
{
    GadgetRecord r;
    r.varId = id;
    r.text = id;
    r.code = std::string(function) + "(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])";
    r.card = card;
    r.x = x;
    r.y = y;
    r.xd = xd;
    r.yd = yd;
    r.xy0 = xy0 ? 1 : 0;
    return r;
}

GdtList listOf(std::initializer_list<GadgetRecord> records)
{
    GdtList list;
    for (const GadgetRecord &r : records)
        list.append(r);
    return list;
}

std::vector<std::string> texts(const std::vector<CardItem> &items)
{
    std::vector<std::string> t;
    for (const CardItem &i : items)
        t.push_back(i.text);
    return t;
}

} // namespace

// The shape of the demo dialog: a window with a panel of two pages, each
// page's gadgets on a card of its own, then the buttons.
TEST(ControlItems, PanelPagesShowInsideTheirPanel)
{
    GdtList list = listOf({
        rec("Win", "OpenWindow", 0, 0, 0, 420, 300, true),
        rec("Panel", "PanelGadget", 0, 10, 10, 400, 240),
        rec("Person", "AddGadgetItem", 1, 0, 0, 396, 215, true),
        rec("Name", "TextGadget", 1, 10, 15, 100, 20),
        rec("Far", "TextGadget", 1, 1000, 15, 100, 20), // outside the page: cut off
        rec("Kontakt", "AddGadgetItem", 2, 0, 0, 396, 215, true),
        rec("Phone", "TextGadget", 2, 10, 15, 100, 20),
        rec("End", "CloseGadgetList", 0, 0, 0, 0, 0),
        rec("Ok", "ButtonGadget", 0, 200, 260, 100, 25),
    });
    list.records()[7].dontshow = 1;
    list.records()[8].selected = true;
    for (std::size_t page : {2u, 5u}) {
        list.records()[page].code = "AddGadgetItem(#[p0], -1, \"[text]\")";
        list.records()[page].p[0] = "Panel";
    }
    ControlMetrics m;
    m.tabBarHeight = 20;
    m.frameWidth = 2;

    auto items = controlItems(list, 0, kColourMove, m);
    ASSERT_EQ(texts(items), (std::vector<std::string>{"Win", "Panel", "Name", "Ok"}));
    EXPECT_EQ(items[1].control.tabs, (std::vector<std::string>{"Person", "Kontakt"}));
    EXPECT_EQ(items[2].x, 10 + 2 + 10); // panel, its border, the gadget's own x
    EXPECT_EQ(items[2].y, 10 + 20 + 2 + 15);
    EXPECT_TRUE(items[2].control.clipped);
    EXPECT_EQ(items[2].control.clip, (CardRect{12, 32, 396, 216}));
    EXPECT_FALSE(items[2].control.marked);
    EXPECT_TRUE(items[3].control.marked);
    EXPECT_EQ(items[3].frameColour, kColourMove);
    EXPECT_EQ(items[3].control.type.kind, K::Button);

    // A page's own card shows the page with its gadgets where they are.
    items = controlItems(list, 2, kColourMove, m);
    ASSERT_EQ(texts(items), (std::vector<std::string>{"Kontakt", "Phone"}));
    EXPECT_EQ(items[1].x, 10);
    EXPECT_FALSE(items[1].control.clipped);
}

// Entries added to a combo box or a list, also on a page, are shown in
// them: never drawn as a page of their own.
TEST(ControlItems, EntriesAreShownInTheirGadgetNotAsPages)
{
    GdtList list = listOf({
        rec("Win", "OpenWindow", 0, 0, 0, 420, 300, true),
        rec("Panel", "PanelGadget", 0, 10, 10, 400, 240),
        rec("Person", "AddGadgetItem", 1, 0, 0, 396, 215, true),
        rec("Combo", "ComboBoxGadget", 1, 10, 15, 100, 20),
        rec("Rot", "AddGadgetItem", 1, 0, 0, 290, 175, true),
        rec("Blau", "AddGadgetItem", 1, 0, 0, 290, 175, true),
        rec("End", "CloseGadgetList", 0, 0, 0, 0, 0),
        rec("List", "ListViewGadget", 0, 10, 260, 100, 30),
        rec("Eins", "AddGadgetItem", 0, 0, 0, 290, 175, true),
    });
    list.records()[6].dontshow = 1;
    const char *const owners[] = {"Panel", "Combo", "Combo", "List"};
    const std::size_t adds[] = {2, 4, 5, 8};
    for (std::size_t k = 0; k < 4; ++k) {
        list.records()[adds[k]].code = "AddGadgetItem(#[p0], -1, \"[text]\")";
        list.records()[adds[k]].p[0] = owners[k];
    }
    const auto page = controlItems(list, 1, kColourMove, {});
    ASSERT_EQ(texts(page), (std::vector<std::string>{"Person", "Combo"}));
    EXPECT_EQ(page[1].control.items, (std::vector<std::string>{"Rot", "Blau"}));
    const auto window = controlItems(list, 0, kColourMove, {});
    ASSERT_EQ(texts(window), (std::vector<std::string>{"Win", "Panel", "Combo", "List"}));
    EXPECT_EQ(window[1].control.tabs, std::vector<std::string>{"Person"});
    EXPECT_EQ(window[3].control.items, std::vector<std::string>{"Eins"});
}

TEST(ControlItems, WindowLikeRecordsGoUnderTheRestAndSelectionKeepsTheOrder)
{
    GdtList list = listOf({rec("Ok", "ButtonGadget", 0, 5, 5, 50, 20),
                           rec("Win", "OpenWindow", 0, 0, 0, 300, 200, true), rec("Code", "Nothing", 0, 1, 1, 5, 5)});
    const auto before = controlItems(list, 0, kColourMove, {});
    EXPECT_EQ(texts(before), (std::vector<std::string>{"Win", "Ok", "Code"}));
    EXPECT_EQ(before[2].control.type.kind, K::None);
    list.records()[1].selected = true; // the window: still under its gadgets
    const auto after = controlItems(list, 0, kColourResize, {});
    EXPECT_EQ(texts(after), texts(before));
    EXPECT_TRUE(after[0].control.marked);
}

TEST(ControlItems, ContainersNestAndHiddenOnesHideWhatTheyHold)
{
    GdtList list = listOf({
        rec("Win", "OpenWindow", 0, 0, 0, 300, 200, true), rec("Box", "ContainerGadget", 0, 20, 30, 100, 100),
        rec("Inner", "ContainerGadget", 1, 5, 5, 50, 50),
        rec("Deep", "ButtonGadget", 2, 1, 1, 80, 10), // wider than Inner: cut
        rec("Close", "CloseGadgetList", 9, 0, 0, 0, 0), rec("Close", "CloseGadgetList", 9, 0, 0, 0, 0),
        rec("Close", "CloseGadgetList", 9, 0, 0, 0, 0), // one too many: harmless
        rec("After", "ButtonGadget", 3, 0, 0, 10, 10),  // on the window, but its own card
    });
    auto items = controlItems(list, 0, kColourMove, {});
    ASSERT_EQ(texts(items), (std::vector<std::string>{"Win", "Box", "Inner", "Deep", "After"}));
    EXPECT_EQ(items[3].x, 20 + 5 + 1);
    EXPECT_EQ(items[3].control.clip, (CardRect{25, 35, 50, 50}));
    EXPECT_EQ(items[4].x, 0);

    list.records()[1].dontshow = 1;
    EXPECT_EQ(texts(controlItems(list, 0, kColourMove, {})), (std::vector<std::string>{"Win", "After"}));
}

TEST(ControlItems, AbsurdPlacesDoNotOverflow)
{
    GdtList list = listOf({rec("Box", "ContainerGadget", 0, 2147483000, 2147483000, 2147483647, 2147483647),
                           rec("In", "ButtonGadget", 1, 2147483000, -2147483647, -5, -5),
                           rec("In2", "ButtonGadget", 1, 10, 10, 2147483647, 5)});
    const auto items = controlItems(list, 0, kColourMove, {});
    ASSERT_EQ(texts(items), (std::vector<std::string>{"Box", "In2"}));
    EXPECT_EQ(items[1].x, 2147483010);
}

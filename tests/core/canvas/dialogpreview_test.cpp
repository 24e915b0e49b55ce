#include "core/canvas/dialogpreview.h"

#include "core/dialoglist.h"

#include <gtest/gtest.h>

using namespace tafelbau;

namespace {

// "VarID<parent VarID>" per gadget, "[items]" where it has some.
std::string shape(const GdtList &list, const PreviewPlan &plan)
{
    std::string out;
    for (const PreviewGadget &g : plan.gadgets) {
        out += out.empty() ? "" : " ";
        out += list.records()[static_cast<std::size_t>(g.record)].varId;
        if (g.parent >= 0)
            out += "<" + list.records()[static_cast<std::size_t>(plan.gadgets[static_cast<std::size_t>(g.parent)].record)].varId
                + ">";
        if (!g.items.empty()) {
            out += "[";
            for (const std::string &item : g.items)
                out += item + (&item == &g.items.back() ? "" : ",");
            out += "]";
        }
    }
    return out;
}

int indexOf(GdtList &list, const std::string &varId)
{
    return list.findByVarId(varId) ? list.currentIndex() : -1;
}

} // namespace

TEST(DialogPreview, TheWindowOfTheCurrentGadgetWithWhatItsCodeCreates)
{
    GdtList list = dialoglist::listOf("W:Win@0 T:Early@0 P:Tabs@0 B:Lost@0 G:One@1>Tabs B:Name@1 Y:Code@1 "
                                            "G:Two@2>Tabs K:Box@2 B:Deep@2 C:EndBox@2 C:EndTabs@0 X:Combo@0 "
                                            "G:First@0>Combo G:Second@0>Combo B:Ok@0 W:Other@3 B:Far@3");
    const DialogStructure structure(list);
    const char *const inWin = "Early Tabs One<Tabs> Name<One> Two<Tabs> Box<Two> Deep<Box> Combo[First,Second] Ok";
    // current gadget, window shown, its gadgets: a gadget in a panel before
    // its first page, code, and the list ends are no controls.
    const struct
    {
        const char *current;
        const char *window;
        const char *gadgets;
    } cases[] = {
        {"Name", "Win", inWin}, {"Deep", "Win", inWin}, {"Win", "Win", inWin}, {"Second", "Win", inWin},
        {"Far", "Other", "Far"}, {"Other", "Other", "Far"}, {"", "Win", inWin},
    };
    for (const auto &c : cases) {
        const PreviewPlan plan = previewPlan(list, structure, indexOf(list, c.current));
        ASSERT_GE(plan.window, 0) << c.current;
        EXPECT_EQ(list.records()[static_cast<std::size_t>(plan.window)].varId, c.window) << c.current;
        EXPECT_EQ(shape(list, plan), c.gadgets) << c.current;
    }
    const PreviewPlan plan = previewPlan(list, structure, indexOf(list, "Name"));
    EXPECT_EQ(plan.caption, "Win");
    EXPECT_EQ(plan.windowType.kind, ControlKind::Window);
    EXPECT_EQ(plan.width, 420);
    EXPECT_EQ(plan.height, 300);
    const PreviewGadget &two = plan.gadgets[4];
    EXPECT_EQ(two.type.kind, ControlKind::Page);
    EXPECT_EQ(two.text, "Two");
    EXPECT_EQ(plan.gadgets[6].rect, (CardRect{10, 10, 80, 20})); // as written, in its container

    // Nothing to show without a window.
    const GdtList bare = dialoglist::listOf("B:A@0 B:B@0");
    EXPECT_EQ(previewPlan(bare, DialogStructure(bare), 0).window, -1);
}

TEST(DialogPreview, NumbersAndFlagsOfTheCall)
{
    GdtList list = dialoglist::listOf("W:Win@0");
    auto add = [&](const std::string &id, const std::string &code, std::initializer_list<const char *> p,
                   const std::string &flags = "") {
        GadgetRecord r = dialoglist::record('B', id, 0);
        r.code = code;
        r.flags = flags;
        std::size_t i = 0;
        for (const char *v : p)
            r.p[i++] = v;
        list.append(std::move(r));
    };
    add("Spin", "SpinGadget(#[id], [x], [y], [xd], [yd], [p0], [p1], [flags])", {"-5", "$10"});
    add("Bar", "ScrollBarGadget(#[id], [x], [y], [xd], [yd], 1, 50, [p2])", {"", "", "7"});
    add("Area", "ScrollAreaGadget(#[id], [x], [y], [xd], [yd], [p0], [p1], 10)", {"640", "480"});
    add("Odd", "TrackBarGadget(#[id], [x], [y], [xd], [yd], Min, [p1])", {"", ""}); // no numbers: defaults
    add("Flat", "ScrollAreaGadget(#[id], [x], [y], [xd], [yd])", {});             // inner size: its own
    add("Pin", "StringGadget(#[id], [x], [y], [xd], [yd], \"\", [flags])", {}, "#PB_String_Numeric | #PB_String_Password");
    add("Pin2", "StringGadget(#[id], [x], [y], [xd], [yd], \"\", #pb_string_numeric)", {});
    add("Word", "StringGadget(#[id], [x], [y], [xd], [yd], \"\")", {}, "#PB_String_Numeric"); // flags not passed
    const PreviewPlan plan = previewPlan(list, DialogStructure(list), 0);
    ASSERT_EQ(plan.gadgets.size(), 8u);
    using N = std::array<std::int32_t, 3>;
    EXPECT_EQ(plan.gadgets[0].numbers, (N{-5, 16, 10}));
    EXPECT_EQ(plan.gadgets[1].numbers, (N{1, 50, 7}));
    EXPECT_EQ(plan.gadgets[2].numbers, (N{640, 480, 10}));
    EXPECT_EQ(plan.gadgets[3].numbers, (N{0, 100, 10}));
    EXPECT_EQ(plan.gadgets[4].numbers, (N{80, 20, 10}));
    EXPECT_TRUE(plan.gadgets[5].numeric);
    EXPECT_TRUE(plan.gadgets[5].type.has(look::Password));
    EXPECT_TRUE(plan.gadgets[6].numeric);
    EXPECT_FALSE(plan.gadgets[7].numeric);
    EXPECT_FALSE(plan.gadgets[0].numeric);
}

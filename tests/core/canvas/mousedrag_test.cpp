#include "core/canvas/mousedrag.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

using namespace tafelbau;

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

GadgetRecord rec(const char *id, int x, int y, int xd, int yd, bool selected = true)
{
    GadgetRecord r;
    r.varId = id, r.text = id, r.x = x, r.y = y, r.xd = xd, r.yd = yd, r.selected = selected;
    return r;
}

GadgetRecord window(int x, int y, int xd, int yd, bool selected = true)
{
    GadgetRecord r = rec("Win", x, y, xd, yd, selected);
    r.xy0 = 1;
    return r;
}

GdtList listOf(std::initializer_list<GadgetRecord> records)
{
    GdtList list;
    for (const GadgetRecord &r : records)
        list.append(r);
    return list;
}

std::array<std::int32_t, 4> rectOf(const GadgetRecord &r)
{
    return {r.x, r.y, r.xd, r.yd};
}

const DragLimits kLimits{5, 1200, 1600, {}};

} // namespace

TEST(SnapToRaster, NearestMultipleHalvesUp)
{
    const std::int64_t cases[][3] = {
        // value, raster, snapped
        {23, 5, 25},
        {22, 5, 20},
        {-2, 5, 0},
        {-3, 5, -5},
        {5, 10, 10},
        {-5, 10, 0},
        {4, 10, 0},
        {7, 1, 7},
        {7, 0, 7},
        {7, -5, 7},
        {kMax, 5, 2147483645},
        {std::int64_t{kMax} * 4, 5, kMax},
        {std::numeric_limits<std::int32_t>::min(), kMax, -kMax}, // the multiple below is beyond 32 bits
    };
    for (const auto &[value, raster, want] : cases)
        EXPECT_EQ(snapToRaster(value, static_cast<std::int32_t>(raster)), want) << value << " on " << raster;
}

TEST(DragThreshold, ThreePixelsAlongEitherAxis)
{
    EXPECT_FALSE(isDrag({10, 10}, {12, 8}));
    EXPECT_TRUE(isDrag({10, 10}, {13, 10}));
    EXPECT_TRUE(isDrag({10, 10}, {10, 7}));
    EXPECT_TRUE(isDrag({kMax, 0}, {-kMax, 0})); // no overflow on the difference
}

TEST(PressTarget, GripsFirstThenTheGadgetThenTheBand)
{
    // A selected gadget of 50 x 20 at 100,100 (its pixels 100..149, 100..119),
    // an unselected one, a selected window and a selected hidden gadget.
    GdtList list =
        listOf({window(30, 40, 400, 300), rec("Sel", 100, 100, 50, 20), rec("Other", 300, 100, 50, 20, false),
                rec("Hidden", 200, 200, 20, 20), rec("Tiny", 10, 200, 1, 1)});
    list.records()[3].dontshow = 1;
    const struct
    {
        CardPoint p;
        PressTarget want;
    } cases[] = {
        {{100, 100}, {PressKind::Resize, 1, Grip::TopLeft}},
        {{149, 119}, {PressKind::Resize, 1, Grip::BottomRight}},
        {{152, 122}, {PressKind::Resize, 1, Grip::BottomRight}}, // 3 pixels off: still the grip
        {{153, 122}, {PressKind::Band, 0, Grip::BottomRight}},   // beyond it: the window under it
        {{124, 98}, {PressKind::Resize, 1, Grip::Top}},
        {{149, 109}, {PressKind::Resize, 1, Grip::Right}},
        {{97, 119}, {PressKind::Resize, 1, Grip::BottomLeft}},
        {{120, 110}, {PressKind::Move, 1, Grip::BottomRight}},
        {{310, 110}, {PressKind::Move, 2, Grip::BottomRight}}, // not selected: no grips, but movable
        {{0, 0}, {PressKind::Band, -1, Grip::BottomRight}},    // no grip there; the click test takes its stored place
        {{399, 299}, {PressKind::Resize, 0, Grip::BottomRight}},
        {{399, 150}, {PressKind::Resize, 0, Grip::Right}},
        {{201, 201}, {PressKind::Move, 3, Grip::BottomRight}},  // hidden: no grips, but the click hits it
        {{10, 200}, {PressKind::Resize, 4, Grip::BottomRight}}, // every grip of a 1 x 1 gadget is there
        {{900, 900}, {PressKind::Band, -1, Grip::BottomRight}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pressTarget(list, 0, c.p), c.want) << c.p.x << "," << c.p.y;
    EXPECT_EQ(pressTarget(list, 1, {120, 110}).kind, PressKind::Band); // another card
}

TEST(Grips, SquaresOnTheOutermostPixelsAndOnlyOnSelectedGadgetsOfTheCard)
{
    EXPECT_EQ(gripSquare({100, 100, 50, 20}, Grip::TopLeft), (CardRect{98, 98, 5, 5}));
    EXPECT_EQ(gripSquare({100, 100, 50, 20}, Grip::BottomRight), (CardRect{147, 117, 5, 5}));
    EXPECT_EQ(gripSquare({100, 100, 50, 20}, Grip::Left), (CardRect{98, 107, 5, 5}));
    EXPECT_EQ(gripSquare({kMax, kMax, kMax, kMax}, Grip::BottomRight), (CardRect{kMax - 2, kMax - 2, 5, 5}));

    GdtList list = listOf(
        {window(30, 40, 400, 300), rec("A", 10, 10, 5, 5), rec("B", 20, 20, 5, 5, false), rec("C", 30, 30, 5, 5)});
    list.records()[3].card = 1;
    std::vector<CardItem> items = cardItems(list, 0, kColourMove);
    markGrips(items, list, 0);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].grips, 0); // B, unselected
    EXPECT_EQ(items[1].grips, kWindowGrips);
    EXPECT_EQ(items[2].grips, kAllGrips);
}

TEST(MoveDrag, AnchorSnapsAndTheGroupKeepsItsShapeAtTheEdges)
{
    const struct
    {
        std::array<std::int32_t, 4> anchor, other; // x, y, xd, yd
        CardPoint travel;
        bool fine;
        std::array<std::int32_t, 2> anchorAt, otherAt;
    } cases[] = {
        {{100, 100, 80, 20}, {300, 50, 10, 10}, {23, 11}, false, {125, 110}, {325, 60}},
        {{100, 100, 80, 20}, {300, 50, 10, 10}, {23, 11}, true, {123, 111}, {323, 61}},
        {{102, 97, 80, 20}, {300, 50, 10, 10}, {23, 11}, false, {125, 110}, {323, 63}}, // onto the raster
        {{100, 100, 80, 20}, {300, 50, 10, 10}, {-1, 2}, false, {100, 100}, {300, 50}}, // rounds to no move
        {{10, 10, 80, 20}, {5, 50, 10, 10}, {-20, -30}, false, {5, 0}, {0, 40}},        // left and top: 0
        {{1090, 100, 100, 20}, {5, 50, 10, 10}, {50, 0}, false, {1100, 100}, {15, 50}}, // right: the panel
        {{100, 1500, 80, 90}, {5, 50, 10, 10}, {0, 40}, false, {100, 1510}, {5, 60}},   // bottom: the panel
        {{-10, 10, 80, 20}, {5, 50, 10, 10}, {-20, 0}, false, {-10, 10}, {5, 50}},      // out already: no further
        {{-10, 10, 80, 20}, {5, 50, 10, 10}, {3, 0}, false, {-5, 10}, {10, 50}},
        {{0, 0, 1300, 20}, {5, 50, 10, 10}, {40, 0}, false, {0, 0}, {5, 50}}, // wider than the card
        {{kMax, kMax, kMax, kMax}, {5, 50, 10, 10}, {500, 500}, false, {kMax, kMax}, {5, 50}},
        {{-kMax, 0, -kMax, 20}, {5, 50, 10, 10}, {-500, 0}, true, {-kMax, 0}, {5, 50}},
    };
    for (const auto &c : cases) {
        GdtList list = listOf({rec("A", c.anchor[0], c.anchor[1], c.anchor[2], c.anchor[3]),
                               rec("B", c.other[0], c.other[1], c.other[2], c.other[3])});
        const GadgetDrag drag = GadgetDrag::move(list, 0, 0, {500, 500}, kLimits);
        drag.dragTo(list, {500 + c.travel.x, 500 + c.travel.y}, c.fine);
        const auto &r = list.records();
        EXPECT_EQ((std::array{r[0].x, r[0].y}), c.anchorAt) << c.anchor[0] << "," << c.anchor[1];
        EXPECT_EQ((std::array{r[1].x, r[1].y}), c.otherAt) << c.anchor[0] << "," << c.anchor[1];
        EXPECT_EQ(r[0].xd, c.anchor[2]);
    }
}

TEST(MoveDrag, OnlySelectedGadgetsOfTheCardThatAreNotWindows)
{
    GdtList list = listOf(
        {window(30, 40, 400, 300), rec("A", 10, 10, 5, 5), rec("B", 20, 20, 5, 5, false), rec("C", 30, 30, 5, 5)});
    list.records()[3].card = 1;
    const GadgetDrag drag = GadgetDrag::move(list, 0, 1, {0, 0}, kLimits);
    EXPECT_EQ(drag.gadgetCount(), 1u);
    const EditOutcome out = drag.dragTo(list, {10, 10}, false);
    EXPECT_EQ(rectOf(list.records()[0]), (std::array{30, 40, 400, 300}));
    EXPECT_EQ(rectOf(list.records()[1]), (std::array{20, 20, 5, 5}));
    EXPECT_EQ(rectOf(list.records()[2]), (std::array{20, 20, 5, 5}));
    EXPECT_EQ(rectOf(list.records()[3]), (std::array{30, 30, 5, 5}));
    EXPECT_EQ(out.mark, ChangeMark::Set);
    EXPECT_TRUE(out.views.properties && out.views.canvas);

    // Within the same raster cell nothing changes and nothing is redrawn;
    // back at the press the drag has moved nothing.
    const EditOutcome same = drag.dragTo(list, {11, 9}, false);
    EXPECT_EQ(same.mark, ChangeMark::Set);
    EXPECT_FALSE(same.views.any());
    const EditOutcome back = drag.dragTo(list, {1, 0}, false);
    EXPECT_EQ(back.mark, ChangeMark::Keep);
    EXPECT_TRUE(back.views.canvas);
    EXPECT_EQ(rectOf(list.records()[1]), (std::array{10, 10, 5, 5}));
}

TEST(ResizeDrag, TheGrabbedEdgeSnapsAndNothingGetsSmallerThanOnePixel)
{
    // A gadget at 100,100 of 50 x 20 (right edge 150, bottom 120).
    const struct
    {
        Grip grip;
        CardPoint travel;
        bool fine;
        std::array<std::int32_t, 4> want;
    } cases[] = {
        {Grip::BottomRight, {23, 11}, false, {100, 100, 75, 30}},
        {Grip::BottomRight, {23, 11}, true, {100, 100, 73, 31}},
        {Grip::BottomRight, {-100, -100}, false, {100, 100, 1, 1}},
        {Grip::BottomRight, {5000, 5000}, false, {100, 100, 1100, 1500}},
        {Grip::TopLeft, {-23, -11}, false, {75, 90, 75, 30}},
        {Grip::TopLeft, {100, 100}, false, {149, 119, 1, 1}},
        {Grip::TopLeft, {-5000, -5000}, false, {0, 0, 150, 120}},
        {Grip::Right, {23, 11}, false, {100, 100, 75, 20}},
        {Grip::Bottom, {23, 11}, false, {100, 100, 50, 30}},
        {Grip::Left, {-2, 40}, false, {100, 100, 50, 20}},
        {Grip::Top, {40, -7}, true, {100, 93, 50, 27}},
        {Grip::TopRight, {4, -4}, false, {100, 95, 55, 25}},
        {Grip::BottomLeft, {4, 4}, false, {105, 100, 45, 25}},
    };
    for (const auto &c : cases) {
        GdtList list = listOf({rec("A", 100, 100, 50, 20)});
        const GadgetDrag drag = GadgetDrag::resize(list, 0, 0, c.grip, {0, 0}, kLimits);
        drag.dragTo(list, c.travel, c.fine);
        EXPECT_EQ(rectOf(list.records()[0]), c.want) << static_cast<int>(c.grip) << " " << c.travel.x;
    }
}

TEST(ResizeDrag, EverySelectedGadgetOfferingTheGripFollowsTheAnchor)
{
    // The window offers its right grip and keeps its place in the code; the
    // small one stops at 1 pixel while the anchor shrinks further.
    GdtList list = listOf({window(30, 40, 400, 300), rec("A", 100, 100, 50, 20), rec("B", 10, 10, 10, 10)});
    GadgetDrag drag = GadgetDrag::resize(list, 0, 1, Grip::Right, {0, 0}, kLimits);
    EXPECT_EQ(drag.gadgetCount(), 3u);
    drag.dragTo(list, {-20, 0}, false);
    EXPECT_EQ(rectOf(list.records()[0]), (std::array{30, 40, 380, 300}));
    EXPECT_EQ(rectOf(list.records()[1]), (std::array{100, 100, 30, 20}));
    EXPECT_EQ(rectOf(list.records()[2]), (std::array{10, 10, 1, 10}));

    drag = GadgetDrag::resize(list, 0, 1, Grip::Left, {0, 0}, kLimits);
    EXPECT_EQ(drag.gadgetCount(), 2u); // the window offers no left grip
}

TEST(ResizeDrag, AbsurdSizesStayWithin32Bits)
{
    // Dragged to the far right and top: A, out beyond the card, keeps a
    // pixel where its near edge moves and reaches the card's top where its
    // top moves; B, of negative size, keeps its place except that a moved
    // right edge stops at its left one.
    GdtList list = listOf({rec("A", kMax, kMax, kMax, kMax), rec("B", -kMax, -kMax, -kMax, -kMax)});
    using R = std::array<std::int32_t, 4>;
    const R b = {-kMax, -kMax, -kMax, -kMax}, bRight = {-kMax, -kMax, 0, -kMax};
    const std::array<std::pair<R, R>, kGripCount> want = {{
        {{kMax, 0, 1, kMax}, b},             // top left
        {{kMax, 0, kMax, kMax}, b},          // top
        {{kMax, 0, kMax, kMax}, bRight},     // top right
        {{kMax, kMax, kMax, kMax}, bRight},  // right
        {{kMax, kMax, kMax, 1}, bRight},     // bottom right
        {{kMax, kMax, kMax, 1}, b},          // bottom
        {{kMax, kMax, 1, 1}, b},             // bottom left
        {{kMax, kMax, 1, kMax}, b},          // left
    }};
    for (int g = 0; g < kGripCount; ++g) {
        GdtList copy = list;
        const GadgetDrag drag = GadgetDrag::resize(copy, 0, 0, static_cast<Grip>(g), {0, 0}, kLimits);
        drag.dragTo(copy, {-kMax, kMax}, false);
        drag.dragTo(copy, {kMax, -kMax}, true);
        EXPECT_EQ(rectOf(copy.records()[0]), want[static_cast<std::size_t>(g)].first) << g;
        EXPECT_EQ(rectOf(copy.records()[1]), want[static_cast<std::size_t>(g)].second) << g;
    }
}

TEST(RubberBand, SelectsTheDrawnGadgetsWhollyInside)
{
    EXPECT_EQ(bandBetween({50, 40}, {10, 60}), (CardRect{10, 40, 41, 21}));
    EXPECT_EQ(bandBetween({kMax, kMax}, {-kMax, -kMax}).width, kMax); // saturated, not wrapped

    const auto fresh = [] {
        GdtList list = listOf({window(30, 40, 100, 100, false), rec("In", 10, 10, 20, 20, false),
                               rec("Edge", 31, 31, 10, 10, false), rec("Part", 35, 5, 20, 20, false),
                               rec("Hidden", 12, 12, 2, 2, false), rec("Card1", 12, 12, 2, 2, false),
                               rec("Before", 500, 500, 2, 2, true)});
        list.records()[4].dontshow = 1;
        list.records()[5].card = 1;
        return list;
    };
    // The band 0,0 .. 40,40: "Edge" ends on its last pixel, "Part" sticks
    // out above; the window is drawn at 0,0 but is larger.
    GdtList list = fresh();
    const EditOutcome out = selectInBand(list, 0, bandBetween({0, 0}, {40, 40}), false);
    std::string selected;
    for (const GadgetRecord &r : list.records())
        selected += r.selected ? r.varId + " " : "";
    EXPECT_EQ(selected, "In Edge ");
    EXPECT_EQ(out.current, 1);
    EXPECT_TRUE(out.views.applySelection && out.views.canvas && out.views.properties);
    EXPECT_EQ(out.mark, ChangeMark::Keep);

    list = fresh();
    selectInBand(list, 0, bandBetween({0, 0}, {200, 200}), true);
    selected.clear();
    for (const GadgetRecord &r : list.records())
        selected += r.selected ? r.varId + " " : "";
    EXPECT_EQ(selected, "Win In Edge Part Before ");
}

TEST(CtrlClick, TogglesOnlyTheGadgetUnderTheMouse)
{
    GdtList list = listOf({rec("A", 0, 0, 10, 10, true), rec("B", 20, 0, 10, 10, false)});
    toggleGadgetAtPoint(list, 0, {25, 5});
    EXPECT_TRUE(list.records()[0].selected && list.records()[1].selected);
    const EditOutcome off = toggleGadgetAtPoint(list, 0, {5, 5});
    EXPECT_FALSE(list.records()[0].selected);
    EXPECT_TRUE(list.records()[1].selected);
    EXPECT_EQ(off.current, 1);
    EXPECT_FALSE(toggleGadgetAtPoint(list, 0, {100, 100}).views.any());
    EXPECT_TRUE(list.records()[1].selected);

    // Where gadgets overlap, the click and the drag both take the one drawn
    // last, on top.
    list = listOf({rec("Under", 0, 0, 30, 30, false), rec("Over", 10, 10, 30, 30, false)});
    EXPECT_EQ(pressTarget(list, 0, {20, 20}), (PressTarget{PressKind::Move, 1, Grip::BottomRight}));
    toggleGadgetAtPoint(list, 0, {20, 20});
    EXPECT_FALSE(list.records()[0].selected);
    EXPECT_TRUE(list.records()[1].selected);
}

TEST(SelectionSnapshot, PutsBackSelectionAndCursor)
{
    GdtList list = listOf({rec("A", 0, 0, 1, 1, false), rec("B", 0, 0, 1, 1, true), rec("C", 0, 0, 1, 1, true)});
    list.setCurrentIndex(2);
    const SelectionSnapshot before = takeSelection(list);
    for (GadgetRecord &r : list.records())
        r.selected = !r.selected;
    list.setCurrentIndex(0);
    restoreSelection(list, before);
    EXPECT_EQ(list.currentIndex(), 2);
    EXPECT_FALSE(list.records()[0].selected);
    EXPECT_TRUE(list.records()[1].selected && list.records()[2].selected);
}

// A gadget dragged in a 420 x 300 window stops at the window's inner edge,
// not at the card's; with Shift it may go on to the card's.
TEST(MoveDrag, StopsAtTheParentsClientAreaUnlessFine)
{
    DragLimits limits = kLimits;
    limits.parentArea = {0, 0, 420, 300};
    const struct
    {
        bool resize;
        CardPoint travel;
        bool fine;
        std::array<std::int32_t, 4> expected;
    } cases[] = {
        {false, {400, 0}, false, {340, 100, 80, 20}},
        {false, {0, 400}, false, {0, 280, 80, 20}},
        {false, {400, 0}, true, {400, 100, 80, 20}},
        {true, {400, 400}, false, {0, 100, 420, 200}},
        {true, {400, 400}, true, {0, 100, 480, 420}},
    };
    for (const auto &c : cases) {
        GdtList list = listOf({rec("A", 0, 100, 80, 20)});
        const GadgetDrag drag = c.resize ? GadgetDrag::resize(list, 0, 0, Grip::BottomRight, {80, 120}, limits)
                                         : GadgetDrag::move(list, 0, 0, {10, 110}, limits);
        drag.dragTo(list, {(c.resize ? 80 : 10) + c.travel.x, (c.resize ? 120 : 110) + c.travel.y}, c.fine);
        EXPECT_EQ(rectOf(list.records()[0]), c.expected) << c.resize << c.fine;
    }
}

#include "core/canvas/alignment.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

using namespace tafelbau;

namespace {

using Rect = std::array<std::int32_t, 4>; // x, y, xd, yd

GdtList listOf(std::initializer_list<std::pair<Rect, bool>> records)
{
    GdtList list;
    for (const auto &[rect, selected] : records) {
        GadgetRecord r;
        r.x = rect[0], r.y = rect[1], r.xd = rect[2], r.yd = rect[3], r.selected = selected;
        list.append(r);
    }
    return list;
}

Rect rectOf(const GadgetRecord &r)
{
    return {r.x, r.y, r.xd, r.yd};
}

} // namespace

TEST(Align, ToTheFirstSelectedGadgetThatIsNoWindow)
{
    // A window (selected, first) that takes no part, the reference A, then B
    // and C, and D that is not selected.
    const Rect win{40, 50, 400, 300}, a{10, 10, 100, 20}, b{30, 50, 60, 30}, c{5, 100, 80, 25}, d{200, 200, 9, 9};
    const struct
    {
        Alignment alignment;
        Rect b, c;
    } cases[] = {
        {Alignment::Left, {10, 50, 60, 30}, {10, 100, 80, 25}},
        {Alignment::Right, {50, 50, 60, 30}, {30, 100, 80, 25}},
        {Alignment::Top, {30, 10, 60, 30}, {5, 10, 80, 25}},
        {Alignment::Bottom, {30, 0, 60, 30}, {5, 5, 80, 25}},
        {Alignment::CentreHorizontally, {30, 50, 60, 30}, {20, 100, 80, 25}},
        {Alignment::CentreVertically, {30, 5, 60, 30}, {5, 7, 80, 25}}, // half pixels go up
        {Alignment::SameWidth, {30, 50, 100, 30}, {5, 100, 100, 25}},
        {Alignment::SameHeight, {30, 50, 60, 20}, {5, 100, 80, 20}},
        {Alignment::SameSize, {30, 50, 100, 20}, {5, 100, 100, 20}},
        // Left to right C, A, B, overlapping: gaps of -77 and -78 pixels,
        // the first one a pixel wider; only A moves.
        {Alignment::DistributeHorizontally, {30, 50, 60, 30}, {5, 100, 80, 25}},
        {Alignment::DistributeVertically, {30, 50, 60, 30}, {5, 100, 80, 25}}, // equal already
    };
    for (const auto &k : cases) {
        GdtList list = listOf({{win, true}, {a, true}, {b, true}, {c, true}, {d, false}});
        list.records()[0].xy0 = 1;
        ASSERT_TRUE(canAlign(list, k.alignment));
        const EditOutcome out = alignSelected(list, k.alignment);
        const auto &r = list.records();
        const int n = static_cast<int>(k.alignment);
        EXPECT_EQ(rectOf(r[0]), win) << n;
        EXPECT_EQ(rectOf(r[1]), k.alignment == Alignment::DistributeHorizontally ? (Rect{8, 10, 100, 20}) : a) << n;
        EXPECT_EQ(rectOf(r[2]), k.b) << n;
        EXPECT_EQ(rectOf(r[3]), k.c) << n;
        EXPECT_EQ(rectOf(r[4]), d) << n;
        const bool changed = k.alignment != Alignment::DistributeVertically;
        EXPECT_EQ(out.mark, changed ? ChangeMark::Set : ChangeMark::Keep) << n;
        EXPECT_EQ(out.views.canvas && out.views.properties, changed) << n;
        EXPECT_EQ(out.current, 0) << n; // the topmost selected row stays current
    }
}

TEST(Distribute, EqualGapsBetweenTheOutermostTwoLeftoverPixelsFirst)
{
    const struct
    {
        std::vector<std::int32_t> xs; // every gadget 10 wide, in list order
        std::vector<std::int32_t> want;
    } cases[] = {
        {{0, 17, 100}, {0, 50, 100}},
        {{100, 17, 0}, {100, 50, 0}},                                 // list order does not matter
        {{0, 5, 7, 100}, {0, 34, 67, 100}},                           // 70 pixels of gaps: 24, 23, 23
        {{0, 0, 20}, {0, 10, 20}},                                    // ties keep list order
        {{0, 4, 5}, {0, 3, 5}},                                       // overlapping: gaps of -7 and -8
        {{-2147483647, 7, 2147483647}, {-2147483647, 0, 2147483647}}, // spans beyond 32 bits
    };
    for (const auto &c : cases) {
        GdtList list;
        for (std::int32_t x : c.xs) {
            GadgetRecord r;
            r.x = x, r.xd = 10, r.selected = true;
            list.append(r);
        }
        alignSelected(list, Alignment::DistributeHorizontally);
        std::vector<std::int32_t> xs;
        for (const GadgetRecord &r : list.records())
            xs.push_back(r.x);
        EXPECT_EQ(xs, c.want) << c.xs[1];
    }
}

TEST(Align, TooFewGadgetsChangeNothing)
{
    GdtList list = listOf({{{0, 0, 400, 300}, true}, {{10, 10, 5, 5}, true}, {{20, 20, 5, 5}, false}});
    list.records()[0].xy0 = 1; // a window does not count
    EXPECT_FALSE(canAlign(list, Alignment::Left));
    EXPECT_EQ(alignSelected(list, Alignment::Left).mark, ChangeMark::Keep);
    EXPECT_EQ(list.records()[1].x, 10);

    list.records()[2].selected = true;
    EXPECT_TRUE(canAlign(list, Alignment::SameSize));
    EXPECT_FALSE(canAlign(list, Alignment::DistributeVertically));
    EXPECT_EQ(gadgetsNeeded(Alignment::DistributeVertically), 3);
    EXPECT_EQ(alignSelected(list, Alignment::DistributeVertically).mark, ChangeMark::Keep);
}

TEST(Align, AbsurdEdgesSaturate)
{
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    GdtList list = listOf({{{kMax, kMax, kMax, kMax}, true}, {{-kMax, -kMax, -kMax, -kMax}, true}});
    alignSelected(list, Alignment::Right);
    EXPECT_EQ(list.records()[1].x, kMax); // kMax + kMax + kMax, held at the top
    alignSelected(list, Alignment::CentreVertically);
    EXPECT_EQ(list.records()[1].y, kMax);
}

#include "core/canvas/keyplacement.h"

#include "core/commands/listshape.h"

#include <gtest/gtest.h>

using namespace tafelbau;
using listshape::listOf;

TEST(PlacementStepFor, TheTwelveStepKeys)
{
    const std::int32_t steps[] = {-5, 5, -5, 5, -1, 1, -1, 1, -50, 50, -50, 50};
    for (int id = 21; id <= 32; ++id)
        EXPECT_EQ(placementStepFor(id, 5, 50), (PlacementStep{(id - 21) % 4 < 2 ? Axis::Y : Axis::X, steps[id - 21]}))
            << id;
    EXPECT_EQ(placementStepFor(20, 5, 50), std::nullopt);
    EXPECT_EQ(placementStepFor(33, 5, 50), std::nullopt);
}

TEST(StepSelected, MoveClampsLeftFirstThenRightResizeHasNoLimit)
{
    constexpr PlacementMode M = PlacementMode::Move, R = PlacementMode::Resize;
    const std::tuple<PlacementMode, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t> cases[] = {
        // mode, pos, size, step, pos and size afterwards on a 1200 canvas
        {M, 1180, 100, +50, 1100, 100},
        {M, 3, 100, -5, 0, 100},
        {M, 7, 10, +5, 12, 10},       // added, not snapped to the raster
        {M, 0, 1300, +1, -100, 1300}, // wider than the canvas: ends left of it
        {M, -100, 1300, -1, 0, 1300}, // the left bound wins over the right one
        {M, 2147483600, 0, +100, 1200, 0},
        {R, 5, 3, -5, 5, -2},
        {R, 5, 2147483647, 1, 5, -2147483647 - 1},
    };
    for (const auto &[mode, pos, size, step, wantPos, wantSize] : cases) {
        GdtList list = listOf("A*");
        GadgetRecord &r = list.records()[0];
        r.x = r.y = pos;
        r.xd = r.yd = size;
        stepSelectedX(list, mode, step, 1200);
        EXPECT_EQ(stepSelectedY(list, mode, step, 1200).mark, ChangeMark::Set);
        EXPECT_EQ((std::array{r.x, r.y, r.xd, r.yd}), (std::array{wantPos, wantPos, wantSize, wantSize}))
            << pos << " " << size << " " << step;
    }
}

TEST(StepSelected, EverySelectedRecordOnAnyCardAndOnlyThose)
{
    GdtList list = listOf("A* B C*");
    list.records()[2].card = 7;
    stepSelectedX(list, PlacementMode::Move, 1, 1200);
    EXPECT_EQ(list.records()[0].x, 1);
    EXPECT_EQ(list.records()[1].x, 0);
    EXPECT_EQ(list.records()[2].x, 1);

    GdtList none = listOf("A B");
    EXPECT_EQ(stepSelectedX(none, PlacementMode::Move, 1, 1200).mark, ChangeMark::Set);
    EXPECT_EQ(none.records(), listOf("A B").records());
}

TEST(AssignCard, AnswerIsReadAsAWholeNumber)
{
    struct
    {
        std::optional<std::string_view> answer;
        std::int32_t card;
    } cases[] = {{"  12abc", 12}, {"$1F", 31}, {"abc", 0}, {"-2", -2}, {"", 9}, {std::nullopt, 9}};
    for (const auto &c : cases) {
        GdtList list = listOf("A* B C*");
        for (GadgetRecord &r : list.records())
            r.card = 9;
        const EditOutcome out = assignCard(list, c.answer);
        EXPECT_EQ(list.records()[0].card, c.card);
        EXPECT_EQ(list.records()[1].card, 9);
        EXPECT_EQ(list.records()[2].card, c.card);
        const bool answered = c.answer && !c.answer->empty();
        EXPECT_EQ(out.mark, answered ? ChangeMark::Set : ChangeMark::Keep);
        EXPECT_EQ(out.views.cardChooser && out.views.nextFreeCard, answered);
    }
    // With nothing selected the card displays are refreshed all the same.
    GdtList none = listOf("A B");
    EXPECT_TRUE(assignCard(none, "3").views.cardChooser);
}

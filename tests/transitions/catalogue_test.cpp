// The effect catalogue, the dispatch by family and the speed rule.
#include "helpers.h"
#include "transitions/catalogue.h"
#include "transitions/speed.h"

#include <gtest/gtest.h>

using namespace pictoralia;

TEST(Catalogue, EveryNumberHasItsRowAndAFamilyThatClaimsIt)
{
    for (int32_t n = 0; n <= kLastEffect; ++n) {
        const EffectInfo &e = EffectAt(n);
        EXPECT_EQ(e.Number, n);
        const FamilyInfo &f = FamilyOf(n);
        EXPECT_EQ(f.Family, e.Family) << n;
        EXPECT_LE(f.First, n) << n;
        EXPECT_GE(f.Last, n) << n;
        if (n > 0) {
            EXPECT_FALSE(e.Label.empty()) << n;
        }
    }
    // The families cover 1..120 in order, each a run of consecutive numbers.
    int32_t next = 1;
    for (size_t i = 1; i < kFamilies.size(); ++i) {
        EXPECT_EQ(kFamilies[i].First, next) << kFamilies[i].Routine;
        next = kFamilies[i].Last + 1;
    }
    EXPECT_EQ(next, kLastEffect + 1);
}

TEST(Catalogue, LabelsAndFamilyIndices)
{
    const struct {
        int32_t effect;
        std::string_view label;
        std::string_view routine;
        int32_t index;
    } cases[] = {
        {1, "Slide From Up Left", "SlideTrans", 1},
        {10, "Door Open", "SlideTrans", 10},
        {20, "Sliding Columns From Up & Bottom", "SlideTrans", 20},
        {22, "Blinds Slide Left", "SlideTrans", 22},
        {23, "Unfold From Left", "UnfoldTrans", 1},
        {64, "Download From Up", "UnfoldTrans", 42},
        {65, "Line Drop From Right", "LineDropTrans", 1},
        {69, "Box Out", "BoxOutTrans", 1},
        {70, "Box In", "BoxInTrans", 1},
        {76, "Ellipse From Bottom", "EllipseTrans", 6},
        {82, "Propeller Counter-Clockwise", "PolygonTrans", 6},
        {89, "Quarter Clock To Up Left", "PolygonTrans", 13},
        {90, "Quarter Clock To Up Left", "PolygonTrans", 14},
        {100, "Random Large Ellipses", "RandomTrans", 5},
        {102, "Sweep From Outside In", "SweepTrans", 2},
        {114, "Quattro Zoom In", "ZoomTrans", 12},
        {116, "Fade To Black", "FadeTrans", 2},
        {120, "Fade Unfold From Bottom", "FadeUnfoldTrans", 4},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(EffectAt(c.effect).Label, c.label) << c.effect;
        EXPECT_EQ(FamilyOf(c.effect).Routine, c.routine) << c.effect;
        EXPECT_EQ(FamilyIndex(c.effect), c.index) << c.effect;
    }
}

TEST(Catalogue, SlideFamilyIsBuiltAndEffectZeroHasNoRoutine)
{
    EXPECT_EQ(FamilyRoutine(0), nullptr);
    EXPECT_EQ(FamilyRoutine(-1), nullptr);
    EXPECT_EQ(FamilyRoutine(121), nullptr);
    for (int32_t n = 1; n <= 22; ++n)
        EXPECT_TRUE(IsBuilt(n)) << n;
}

TEST(Catalogue, NumbersOutsideTheRangeBecomeARandomEffect)
{
    const struct {
        int32_t in;
        int32_t draw; // what the generator answers
        int32_t out;
    } cases[] = {{0, 7, 0},     {1, 7, 1},     {120, 7, 120}, {121, 0, 1},
                 {-1, 119, 120}, {1000, 41, 42}, {INT32_MIN, 5, 6}};
    for (const auto &c : cases) {
        test::FixedRandom random(c.draw);
        EXPECT_EQ(CorrectEffect(c.in, random), c.out) << c.in;
    }
}

TEST(SpeedToSteps, TablesRuleFloorAndClamp)
{
    const struct {
        int32_t speed, width, steps;
    } cases[] = {
        // width 800
        {1, 800, 800}, {2, 800, 600}, {3, 800, 400}, {4, 800, 200}, {5, 800, 100},
        {6, 800, 60}, {7, 800, 40}, {8, 800, 20}, {9, 800, 8}, {10, 800, 4},
        // width 1024
        {1, 1024, 1024}, {2, 1024, 768}, {3, 1024, 400}, {4, 1024, 256}, {5, 1024, 128},
        {6, 1024, 64}, {7, 1024, 32}, {8, 1024, 16}, {9, 1024, 8}, {10, 1024, 4},
        // (width div speed) div 4 * 4
        {4, 1280, 320}, {10, 1366, 136}, {3, 1366, 452}, {7, 1920, 272}, {4, 3840, 960},
        // never below 4 steps
        {10, 30, 4}, {1, 0, 4}, {5, -100, 4},
        // speeds outside 1..10 count as the nearest
        {0, 800, 800}, {-3, 1024, 1024}, {11, 800, 4}, {99, 1366, 136}, {0, 1366, 1364},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SpeedToSteps(c.speed, c.width), c.steps) << c.speed << " at " << c.width;
}

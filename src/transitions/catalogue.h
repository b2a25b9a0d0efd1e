// The effect catalogue: the 121 effect numbers with their labels and families, the
// families with their routines, and the correction of numbers out of range.
//
// Adding a family: write its routine in a file of its own (a FamilyStart that returns
// the family's EffectRun, family.h), declare it in families.h and put it in the family's
// row of kFamilyRoutines in catalogue.cpp. The effects below already name their family;
// while its routine is missing they are drawn as an immediate full paint, and IsBuilt()
// says so (the renderer's sheet and the benchmark use it).
#pragma once

#include "platform/random.h"
#include "transitions/family.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace pictoralia {

enum class EffectFamily : uint8_t {
    None, // effect 0: an immediate copy without animation
    Slide,
    Unfold,
    LineDrop,
    BoxOut,
    BoxIn,
    Ellipse,
    Polygon,
    Random,
    Sweep,
    Zoom,
    Fade,
    FadeUnfold,
};

struct EffectInfo {
    int32_t Number;
    std::string_view Label; // as the configuration dialog lists it
    EffectFamily Family;
};

inline constexpr int32_t kLastEffect = 120;

// Row n is effect n. Effects 89 and 90 carry the same label.
inline constexpr std::array<EffectInfo, kLastEffect + 1> kEffects = {{
    {0, "", EffectFamily::None},
    {1, "Slide From Up Left", EffectFamily::Slide},
    {2, "Slide From Up Right", EffectFamily::Slide},
    {3, "Slide From Bottom Right", EffectFamily::Slide},
    {4, "Slide From Bottom Left", EffectFamily::Slide},
    {5, "Slide From Left", EffectFamily::Slide},
    {6, "Slide From Right", EffectFamily::Slide},
    {7, "Slide From Bottom", EffectFamily::Slide},
    {8, "Slide From Up", EffectFamily::Slide},
    {9, "Door Close", EffectFamily::Slide},
    {10, "Door Open", EffectFamily::Slide},
    {11, "Close From Corners", EffectFamily::Slide},
    {12, "Iris Close", EffectFamily::Slide},
    {13, "Sliding Jaws Vertical", EffectFamily::Slide},
    {14, "Falling Columns", EffectFamily::Slide},
    {15, "Sliding Jaws Horizontal", EffectFamily::Slide},
    {16, "Sliding Columns", EffectFamily::Slide},
    {17, "Vertical Two Part Slide", EffectFamily::Slide},
    {18, "Horizontal Two Part Slide", EffectFamily::Slide},
    {19, "Sliding Columns From Sides", EffectFamily::Slide},
    {20, "Sliding Columns From Up & Bottom", EffectFamily::Slide},
    {21, "Blinds Slide Right", EffectFamily::Slide},
    {22, "Blinds Slide Left", EffectFamily::Slide},
    {23, "Unfold From Left", EffectFamily::Unfold},
    {24, "Unfold From Right", EffectFamily::Unfold},
    {25, "Unfold From Up", EffectFamily::Unfold},
    {26, "Unfold From Bottom", EffectFamily::Unfold},
    {27, "Unfold From Up Left", EffectFamily::Unfold},
    {28, "Unfold From Up Right", EffectFamily::Unfold},
    {29, "Unfold From Bottom Right", EffectFamily::Unfold},
    {30, "Unfold From Bottom Left", EffectFamily::Unfold},
    {31, "Unfold From Both Sides", EffectFamily::Unfold},
    {32, "Unfold From Middle To Sides", EffectFamily::Unfold},
    {33, "Unfold From All Corners", EffectFamily::Unfold},
    {34, "Unfolding Iris", EffectFamily::Unfold},
    {35, "Unfolding Vertical Jaws", EffectFamily::Unfold},
    {36, "Unfolding Falling Columns", EffectFamily::Unfold},
    {37, "Unfolding Horizontal Jaws", EffectFamily::Unfold},
    {38, "Unfolding Horizontal Columns", EffectFamily::Unfold},
    {39, "Vertical Two Part Unfold", EffectFamily::Unfold},
    {40, "Horizontal Two Part Unfold", EffectFamily::Unfold},
    {41, "Unfolding Columns Horizontally", EffectFamily::Unfold},
    {42, "Unfolding Columns Vertically", EffectFamily::Unfold},
    {43, "Vertical Lines From Sides", EffectFamily::Unfold},
    {44, "Horizontal Lines From Up & Bottom", EffectFamily::Unfold},
    {45, "Vertical Lines From Left & Back", EffectFamily::Unfold},
    {46, "Horizontal Lines From Up & Back", EffectFamily::Unfold},
    {47, "Horizontal Lines From Left", EffectFamily::Unfold},
    {48, "Horizontal Lines From Right", EffectFamily::Unfold},
    {49, "Horizontal Lines From Left & Back", EffectFamily::Unfold},
    {50, "Horizontal Lines From Right & Back", EffectFamily::Unfold},
    {51, "Horizontal Lines From Both Sides", EffectFamily::Unfold},
    {52, "Vertical Lines From Up", EffectFamily::Unfold},
    {53, "Vertical Lines From Bottom", EffectFamily::Unfold},
    {54, "Vertical Lines From Up & Back", EffectFamily::Unfold},
    {55, "Vertical Lines From Bottom & Back", EffectFamily::Unfold},
    {56, "Vertical Lines From Up & Bottom", EffectFamily::Unfold},
    {57, "Cross Lines From Bottom Left", EffectFamily::Unfold},
    {58, "Cross Lines From Up Left", EffectFamily::Unfold},
    {59, "Cross Lines From Bottom Right", EffectFamily::Unfold},
    {60, "Cross Lines From Up Right", EffectFamily::Unfold},
    {61, "Sweep From Left", EffectFamily::Unfold},
    {62, "Sweep From Up", EffectFamily::Unfold},
    {63, "Download From Left", EffectFamily::Unfold},
    {64, "Download From Up", EffectFamily::Unfold},
    {65, "Line Drop From Right", EffectFamily::LineDrop},
    {66, "Line Drop From Left", EffectFamily::LineDrop},
    {67, "Line Drop From Bottom", EffectFamily::LineDrop},
    {68, "Line Drop From Up", EffectFamily::LineDrop},
    {69, "Box Out", EffectFamily::BoxOut},
    {70, "Box In", EffectFamily::BoxIn},
    {71, "Ellipse Out", EffectFamily::Ellipse},
    {72, "Ellipse In", EffectFamily::Ellipse},
    {73, "Ellipse From Left", EffectFamily::Ellipse},
    {74, "Ellipse From Right", EffectFamily::Ellipse},
    {75, "Ellipse From Up", EffectFamily::Ellipse},
    {76, "Ellipse From Bottom", EffectFamily::Ellipse},
    {77, "Diagonal Unfold From Up Left", EffectFamily::Polygon},
    {78, "Diagonal Unfold From Up Right", EffectFamily::Polygon},
    {79, "Diagonal Unfold From Bottom Right", EffectFamily::Polygon},
    {80, "Diagonal Unfold From Bottom Left", EffectFamily::Polygon},
    {81, "Propeller Clockwise", EffectFamily::Polygon},
    {82, "Propeller Counter-Clockwise", EffectFamily::Polygon},
    {83, "Clock", EffectFamily::Polygon},
    {84, "Clock Counter-Clockwise", EffectFamily::Polygon},
    {85, "Chaos Star", EffectFamily::Polygon},
    {86, "Window Washer", EffectFamily::Polygon},
    {87, "Triangles", EffectFamily::Polygon},
    {88, "Quarter Clock To Bottom Right", EffectFamily::Polygon},
    {89, "Quarter Clock To Up Left", EffectFamily::Polygon},
    {90, "Quarter Clock To Up Left", EffectFamily::Polygon},
    {91, "Quarter Clock To Bottom Left", EffectFamily::Polygon},
    {92, "Diamond In", EffectFamily::Polygon},
    {93, "Diamond Out", EffectFamily::Polygon},
    {94, "Diagonal Unfold From Corners 1", EffectFamily::Polygon},
    {95, "Diagonal Unfold From Corners 2", EffectFamily::Polygon},
    {96, "Random Horizontal Lines", EffectFamily::Random},
    {97, "Random Vertical Lines", EffectFamily::Random},
    {98, "Random Rectangles", EffectFamily::Random},
    {99, "Random Ellipses", EffectFamily::Random},
    {100, "Random Large Ellipses", EffectFamily::Random},
    {101, "Sweep From Inside Out", EffectFamily::Sweep},
    {102, "Sweep From Outside In", EffectFamily::Sweep},
    {103, "Zoom In", EffectFamily::Zoom},
    {104, "Zoom From Up Left", EffectFamily::Zoom},
    {105, "Zoom From Up Right", EffectFamily::Zoom},
    {106, "Zoom From Bottom Left", EffectFamily::Zoom},
    {107, "Zoom From Bottom Right", EffectFamily::Zoom},
    {108, "Zoom From Left", EffectFamily::Zoom},
    {109, "Zoom From Up", EffectFamily::Zoom},
    {110, "Zoom From Right", EffectFamily::Zoom},
    {111, "Zoom From Bottom", EffectFamily::Zoom},
    {112, "Zoom Door Close Horizontal", EffectFamily::Zoom},
    {113, "Zoom Door Close Vertical", EffectFamily::Zoom},
    {114, "Quattro Zoom In", EffectFamily::Zoom},
    {115, "Crossfade", EffectFamily::Fade},
    {116, "Fade To Black", EffectFamily::Fade},
    {117, "Fade Unfold From Left", EffectFamily::FadeUnfold},
    {118, "Fade Unfold From Right", EffectFamily::FadeUnfold},
    {119, "Fade Unfold From Up", EffectFamily::FadeUnfold},
    {120, "Fade Unfold From Bottom", EffectFamily::FadeUnfold},
}};

struct FamilyInfo {
    EffectFamily Family;
    std::string_view Routine; // name of the family routine
    int32_t First;            // first and last effect number of the family
    int32_t Last;
};

inline constexpr std::array<FamilyInfo, 13> kFamilies = {{
    {EffectFamily::None, "", 0, 0},
    {EffectFamily::Slide, "SlideTrans", 1, 22},
    {EffectFamily::Unfold, "UnfoldTrans", 23, 64},
    {EffectFamily::LineDrop, "LineDropTrans", 65, 68},
    {EffectFamily::BoxOut, "BoxOutTrans", 69, 69},
    {EffectFamily::BoxIn, "BoxInTrans", 70, 70},
    {EffectFamily::Ellipse, "EllipseTrans", 71, 76},
    {EffectFamily::Polygon, "PolygonTrans", 77, 95},
    {EffectFamily::Random, "RandomTrans", 96, 100},
    {EffectFamily::Sweep, "SweepTrans", 101, 102},
    {EffectFamily::Zoom, "ZoomTrans", 103, 114},
    {EffectFamily::Fade, "FadeTrans", 115, 116},
    {EffectFamily::FadeUnfold, "FadeUnfoldTrans", 117, 120},
}};

// For effect numbers 0..kLastEffect.
constexpr const EffectInfo &EffectAt(int32_t effect) { return kEffects[size_t(effect)]; }
constexpr const FamilyInfo &FamilyOf(int32_t effect)
{
    return kFamilies[size_t(EffectAt(effect).Family)];
}
// The effect's number within its family (1 for the family's first effect).
constexpr int32_t FamilyIndex(int32_t effect) { return effect - (FamilyOf(effect).First - 1); }

// The routine that draws the effect, or null: effect 0, or a family not built yet.
FamilyStart FamilyRoutine(int32_t effect);
bool IsBuilt(int32_t effect);

// A number outside 0..kLastEffect becomes a random effect 1..kLastEffect (uniform).
int32_t CorrectEffect(int32_t effect, Random &random);

} // namespace pictoralia

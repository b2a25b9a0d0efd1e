// Family routines by family, and the effect-number correction.
#include "transitions/catalogue.h"

#include "transitions/families.h"

namespace pictoralia {
namespace {

// Indexed by EffectFamily; null where the family is not built yet.
constexpr std::array<FamilyStart, kFamilies.size()> kFamilyRoutines = {
    nullptr,    // None
    SlideTrans, // Slide
    UnfoldTrans,   // Unfold
    LineDropTrans, // LineDrop
    nullptr,    // BoxOut
    nullptr,    // BoxIn
    nullptr,    // Ellipse
    nullptr,    // Polygon
    nullptr,    // Random
    nullptr,    // Sweep
    nullptr,    // Zoom
    nullptr,    // Fade
    nullptr,    // FadeUnfold
};

} // namespace

FamilyStart FamilyRoutine(int32_t effect)
{
    if (effect < 0 || effect > kLastEffect)
        return nullptr;
    return kFamilyRoutines[size_t(EffectAt(effect).Family)];
}

bool IsBuilt(int32_t effect) { return FamilyRoutine(effect) != nullptr; }

int32_t CorrectEffect(int32_t effect, Random &random)
{
    if (effect >= 0 && effect <= kLastEffect)
        return effect;
    return 1 + random.Below(kLastEffect);
}

} // namespace pictoralia

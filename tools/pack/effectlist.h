// Effect selections as an author writes them ("1-22, 115") and as the package holds
// them: one character per allowed effect, whose code is the effect number, ascending.
#pragma once

#include <bitset>
#include <string>
#include <string_view>

namespace pictoralia::pack {

constexpr int EffectCount = 120; // the catalogue's effects are numbered 1..120

using EffectSet = std::bitset<EffectCount + 1>; // bit n = effect n; bit 0 unused

// Adds the effects of a comma-separated list of numbers and ranges ("a-b", a <= b) to
// `set`. Blank text adds nothing. On a bad element: false, and `error` says why.
bool ParseEffectList(std::string_view text, EffectSet &set, std::string &error);

std::string SelectionString(const EffectSet &set);

// Every effect of the catalogue: codes 1..120.
std::string AllEffectsSelection();

} // namespace pictoralia::pack

// The family routines that are built; catalogue.cpp puts each in its family's row.
#pragma once

#include "transitions/family.h"

namespace pictoralia {

// Effects 1-22: pieces of the new picture slide in (slidetrans.cpp).
std::unique_ptr<EffectRun> SlideTrans(const FamilyInput &input);

} // namespace pictoralia

// The family routines that are built; catalogue.cpp puts each in its family's row.
#pragma once

#include "transitions/family.h"

namespace pictoralia {

// Effects 1-22: pieces of the new picture slide in (slidetrans.cpp).
std::unique_ptr<EffectRun> SlideTrans(const FamilyInput &input);
// Effects 23-64: strips reveal the new picture in place (unfoldtrans.cpp).
std::unique_ptr<EffectRun> UnfoldTrans(const FamilyInput &input);
// Effects 65-68: an edge reveals the new picture and smears its line (linedroptrans.cpp).
std::unique_ptr<EffectRun> LineDropTrans(const FamilyInput &input);

} // namespace pictoralia

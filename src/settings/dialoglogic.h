// What the configuration dialog's handlers do, and the way the size/position and order
// choices travel between a setting value, the radio buttons and the group tags.
#pragma once

#include "package/records.h"

#include <cstdint>

class QAbstractButton;
class QListWidget;

namespace pictoralia {

class CfgBox;

// Effect selection string: one character per checked item of the list, the character
// whose code is the item index + 1 (the effect number), in list order.
AnsiString EffectsToString(const QListWidget &list);
// Unchecks every item, then checks item (code - 1) for each character; codes 0 and above
// the item count change nothing.
void StringToEffects(QListWidget &list, const AnsiString &effects);
void CheckAllEffects(QListWidget &list, bool checked);

// sender is the exit check box just clicked: when none of the four is checked any
// more, it is checked again, so one exit condition always stays on.
void KeepOneExitCondition(CfgBox &box, QAbstractButton *sender);

// The size group's tag from the checked size radio (resize 0, stretch 1, no change 2,
// resize only if too big 4); the position radios are enabled for 2 and 4 only.
void UpdateSizeChoice(CfgBox &box);
// The position group's tag: centre 0, random 1.
void UpdatePositionChoice(CfgBox &box);
// The order group's tag: sequential 0, random 1, mixed 2.
void UpdateOrderChoice(CfgBox &box);

// Checks the size and position radios for a Stretch value (0..5; others leave the
// radios as they are), then updates both tags and the enabled state.
void ShowStretch(CfgBox &box, int32_t stretch);
// The size tag, plus the position tag when the size tag is 2 or 4.
int32_t StretchFromTags(const CfgBox &box);

// The order tag takes the value as it is (so an unknown order is written back
// unchanged); the radio shown is random for 1, mixed for 2, sequential otherwise.
void ShowDisplayOrder(CfgBox &box, int32_t order);

} // namespace pictoralia

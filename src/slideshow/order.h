// The order of the items, the effect of each change and the display time of an item.
#pragma once

#include "package/records.h"
#include "platform/random.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pictoralia {

enum DisplayOrderValue : int32_t { OrderSequential = 0, OrderRandom = 1, OrderMixed = 2 };

// Which item the next tick loads. GUI thread.
struct ItemOrder {
    int32_t ItemCounter = -1; // -1 before the first choice
    std::vector<int32_t> MixedDeck; // Mixed order: items still to deal, dealt from the back
};

// Advances order.ItemCounter for a show of itemCount items. An opening item (item 0)
// is never chosen again. Display orders outside 0..2 count as Sequential. Empties
// effects (the in-memory selection) when the show can no longer change between two
// different items with an effect: one item, or an opening item with one other.
void ChooseNextCounter(ItemOrder &order, int32_t itemCount, int32_t displayOrder,
    bool openingFirstItem, std::string &effects, Random &random);

// 0 for an empty selection, else the code of one of its characters, uniformly.
uint8_t RandomEffect(std::string_view selection, Random &random);

// The display time of item `item` in milliseconds: its Duration when that is above 0
// (and the item exists), else the Seconds setting.
int32_t DisplayInterval(const Package &package, int32_t item);

// A show whose only item is a Flash item (".SWF", ".FLA") keeps its clock running.
bool IsLoneFlashShow(const Package &package);

// The effect selection and speed of a change to `item`: its own when its
// ItemEffectSpeed is not -1, else the global ones.
struct EffectChoice {
    std::string_view Selection;
    int32_t Speed = 0;
};
EffectChoice EffectsFor(const Package &package, int32_t item);

// Upper-case ASCII copy of an extension (".jpg" -> ".JPG").
std::string UpperExt(std::string_view ext);

} // namespace pictoralia

// Item order (Sequential, Random, Mixed with its deck), effect choice and intervals.
#include "slideshow/order.h"

#include <algorithm>
#include <limits>

namespace pictoralia {
namespace {

void RefillDeck(ItemOrder &order, int32_t n, int32_t previous, Random &random)
{
    auto &deck = order.MixedDeck;
    deck.resize(size_t(n));
    for (int32_t i = 0; i < n; ++i)
        deck[size_t(i)] = i;
    // Shuffle by 3N random exchanges and on until the deck does not start (it is dealt
    // from the back) with the item on screen.
    for (int32_t k = 1;; ++k) {
        const int32_t x = random.Below(n), y = random.Below(n);
        std::swap(deck[size_t(x)], deck[size_t(y)]);
        if (n < 2)
            break;
        if (k > 3 * n && deck.back() != previous)
            break;
    }
}

} // namespace

void ChooseNextCounter(ItemOrder &order, int32_t n, int32_t displayOrder, bool openingFirstItem,
    std::string &effects, Random &random)
{
    const int32_t previous = order.ItemCounter;
    if (n > 0) {
        // Random avoids repeating the item on screen only when there is another item it
        // may choose: with an opening item and one other, that other is the only
        // candidate and insisting on a different one would never end.
        const int32_t candidates = openingFirstItem ? n - 1 : n;
        do {
            switch (displayOrder) {
            case OrderRandom:
                order.ItemCounter = random.Below(n);
                if (n >= 2 && candidates >= 2) {
                    while (order.ItemCounter == previous)
                        order.ItemCounter = random.Below(n);
                }
                break;
            case OrderMixed:
                if (order.MixedDeck.empty())
                    RefillDeck(order, n, previous, random);
                order.ItemCounter = order.MixedDeck.back();
                order.MixedDeck.pop_back();
                break;
            default: // Sequential, and any value the dialog cannot store
                order.ItemCounter = int32_t((int64_t(order.ItemCounter) + 1) % n);
                break;
            }
        } while (!(n <= 1 || !openingFirstItem || order.ItemCounter >= 1));
    }
    if (n <= 1 || (openingFirstItem && n <= 2 && previous != 0))
        effects.clear();
}

uint8_t RandomEffect(std::string_view selection, Random &random)
{
    if (selection.empty())
        return 0;
    const int32_t length
        = int32_t(std::min<size_t>(selection.size(), size_t(std::numeric_limits<int32_t>::max())));
    return static_cast<uint8_t>(selection[size_t(random.Below(length))]);
}

int32_t DisplayInterval(const Package &package, int32_t item)
{
    int64_t seconds = package.Header.Seconds;
    if (item >= 0 && size_t(item) < package.Items.size()
        && package.Items[size_t(item)].Duration > 0)
        seconds = package.Items[size_t(item)].Duration;
    // A stored display time of 0 or less (the dialog cannot set one) counts as one
    // second: a zero interval would stop the clock, a negative one is not a time.
    return int32_t(std::clamp<int64_t>(seconds * 1000, 1000, std::numeric_limits<int32_t>::max()));
}

std::string UpperExt(std::string_view ext)
{
    std::string out(ext);
    for (char &c : out) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    }
    return out;
}

bool IsLoneFlashShow(const Package &package)
{
    if (package.Header.ItemCount != 1 || package.Items.empty())
        return false;
    const std::string ext = UpperExt(package.Items.front().Ext);
    return ext == ".SWF" || ext == ".FLA";
}

EffectChoice EffectsFor(const Package &package, int32_t item)
{
    if (item >= 0 && size_t(item) < package.Items.size()
        && package.Items[size_t(item)].ItemEffectSpeed != -1) {
        const ItemRecord &r = package.Items[size_t(item)];
        return { r.ItemEffects, r.ItemEffectSpeed };
    }
    return { package.Texts.DefaultEffects, package.Header.EffectSpeed };
}

} // namespace pictoralia

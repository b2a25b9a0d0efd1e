// Item order, the effect of a change and the display time of an item.
#include "scriptedrandom.h"
#include "slideshow/order.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

using namespace pictoralia;

namespace {

// The items a show displays: the start picks the first (the opening item, or a
// choice), then every tick takes the next choice.
struct ShowRun {
    std::vector<int32_t> shown;
    std::vector<std::string> effectsBefore; // the selection in effect for each change
};

ShowRun Simulate(int32_t n, int32_t displayOrder, bool opening, int count, Random &random,
    std::string effects = "\x01\x02")
{
    ItemOrder order;
    ShowRun run;
    if (opening && n > 0)
        order.ItemCounter = 0;
    else
        ChooseNextCounter(order, n, displayOrder, opening, effects, random);
    for (int i = 0; i < count; ++i) {
        run.shown.push_back(order.ItemCounter);
        run.effectsBefore.push_back(effects);
        ChooseNextCounter(order, n, displayOrder, opening, effects, random);
    }
    return run;
}

} // namespace

TEST(ChooseNextCounter, SequentialWrapsAndSkipsTheOpeningItem)
{
    SeededRandom random;
    const struct {
        int32_t n, order;
        bool opening;
        std::vector<int32_t> expected;
    } rows[] = {
        { 4, OrderSequential, false, { 0, 1, 2, 3, 0, 1, 2, 3, 0 } },
        { 4, OrderSequential, true, { 0, 1, 2, 3, 1, 2, 3, 1, 2 } },
        { 1, OrderSequential, false, { 0, 0, 0 } },
        { 1, OrderSequential, true, { 0, 0, 0 } },
        { 2, OrderSequential, true, { 0, 1, 1, 1 } },
        // Orders the dialog cannot store count as Sequential, so the loop ends.
        { 4, 7, true, { 0, 1, 2, 3, 1, 2 } },
        { 3, -1, false, { 0, 1, 2, 0 } },
    };
    for (const auto &row : rows)
        EXPECT_EQ(Simulate(row.n, row.order, row.opening, int(row.expected.size()), random).shown,
            row.expected)
            << row.n << " items, order " << row.order << (row.opening ? ", opening item" : "");
}

TEST(ChooseNextCounter, RandomNeverRepeatsTheItemOnScreen)
{
    SeededRandom random(7);
    // Two items alternate strictly.
    const ShowRun two = Simulate(2, OrderRandom, false, 40, random);
    for (size_t i = 1; i < two.shown.size(); ++i)
        ASSERT_NE(two.shown[i], two.shown[i - 1]) << "pick " << i;

    // Four items with an opening item: 0 first, never again, no item twice in a row,
    // and every other item comes.
    const ShowRun four = Simulate(4, OrderRandom, true, 200, random);
    EXPECT_EQ(four.shown.front(), 0);
    std::set<int32_t> seen;
    for (size_t i = 1; i < four.shown.size(); ++i) {
        ASSERT_NE(four.shown[i], 0) << "pick " << i;
        ASSERT_NE(four.shown[i], four.shown[i - 1]) << "pick " << i;
        seen.insert(four.shown[i]);
    }
    EXPECT_EQ(seen, (std::set<int32_t> { 1, 2, 3 }));

    EXPECT_EQ(Simulate(1, OrderRandom, false, 5, random).shown, (std::vector<int32_t>(5, 0)));
    // An opening item and one other: that other is the only choice, every time.
    EXPECT_EQ(Simulate(2, OrderRandom, true, 6, random).shown,
        (std::vector<int32_t> { 0, 1, 1, 1, 1, 1 }));
}

TEST(ChooseNextCounter, MixedDealsPermutationsAndANewDeckNeverStartsWithTheItemOnScreen)
{
    for (uint64_t seed = 1; seed <= 30; ++seed) {
        SeededRandom random(seed);
        const ShowRun run = Simulate(4, OrderMixed, false, 40, random);
        for (size_t deck = 0; deck + 4 <= run.shown.size(); deck += 4) {
            std::vector<int32_t> picks(
                run.shown.begin() + long(deck), run.shown.begin() + long(deck + 4));
            std::sort(picks.begin(), picks.end());
            ASSERT_EQ(picks, (std::vector<int32_t> { 0, 1, 2, 3 }))
                << "seed " << seed << ", deck at " << deck;
            if (deck > 0) {
                ASSERT_NE(run.shown[deck], run.shown[deck - 1])
                    << "seed " << seed << ", deck at " << deck;
            }
        }
        // With an opening item every deck deals 1, 2 and 3 once and skips 0.
        const ShowRun opening = Simulate(4, OrderMixed, true, 31, random);
        ASSERT_EQ(opening.shown.front(), 0);
        for (size_t deck = 1; deck + 3 <= opening.shown.size(); deck += 3) {
            std::vector<int32_t> picks(
                opening.shown.begin() + long(deck), opening.shown.begin() + long(deck + 3));
            std::sort(picks.begin(), picks.end());
            ASSERT_EQ(picks, (std::vector<int32_t> { 1, 2, 3 }))
                << "seed " << seed << ", deck at " << deck;
        }
    }
}

TEST(ChooseNextCounter, MixedShufflesByMoreThanThreeNExchanges)
{
    // Three items: the shuffle stops at the first k > 9 whose deck does not end with the
    // item on screen (-1 at the start, so at k = 10): 20 draws, exchanges (x, y).
    test::ScriptedRandom random;
    for (int k = 0; k < 9; ++k) {
        random.Expect(3, 0);
        random.Expect(3, 0);
    }
    random.Expect(3, 0);
    random.Expect(3, 2); // deck 2, 1, 0: dealt from the back
    ItemOrder order;
    std::string effects = "\x01";
    ChooseNextCounter(order, 3, OrderMixed, false, effects, random);
    EXPECT_EQ(order.ItemCounter, 0);
    EXPECT_EQ(order.MixedDeck, (std::vector<int32_t> { 2, 1 }));
    EXPECT_TRUE(random.Done());

    // The next deck must not end with the item on screen (0): at k = 10 the deck is
    // 2, 1, 0 and the shuffle goes on; at k = 11 it is 2, 0, 1.
    order.MixedDeck.clear();
    for (int k = 0; k < 9; ++k) {
        random.Expect(3, 1);
        random.Expect(3, 1);
    }
    random.Expect(3, 0);
    random.Expect(3, 2);
    random.Expect(3, 2);
    random.Expect(3, 1);
    ChooseNextCounter(order, 3, OrderMixed, false, effects, random);
    EXPECT_EQ(order.ItemCounter, 1);
    EXPECT_EQ(order.MixedDeck, (std::vector<int32_t> { 2, 0 }));
    EXPECT_TRUE(random.Done());
}

TEST(ChooseNextCounter, EmptiesTheSelectionWhenNoChangeCanUseAnEffect)
{
    SeededRandom random;
    const struct {
        int32_t n;
        bool opening;
        std::vector<bool> emptyBeforeChange; // selection empty when showing pick i
    } rows[] = {
        { 1, false, { true, true, true } },
        { 2, false, { false, false, false } },
        // 0 -> 1 keeps its effect; from then on the show changes 1 -> 1 without one.
        { 2, true, { false, false, true, true } },
        { 3, true, { false, false, false, false } },
    };
    for (const auto &row : rows) {
        const ShowRun run = Simulate(
            row.n, OrderSequential, row.opening, int(row.emptyBeforeChange.size()), random);
        for (size_t i = 0; i < row.emptyBeforeChange.size(); ++i)
            EXPECT_EQ(run.effectsBefore[i].empty(), row.emptyBeforeChange[i])
                << row.n << " items" << (row.opening ? ", opening" : "") << ", pick " << i;
    }
}

TEST(RandomEffect, PicksOneCharacterOfTheSelection)
{
    test::ScriptedRandom random { { 3, 2 }, { 3, 0 }, { 1, 0 } };
    EXPECT_EQ(RandomEffect("", random), 0);
    EXPECT_EQ(RandomEffect("\x05\x40\x78", random), 120);
    EXPECT_EQ(RandomEffect("\x05\x40\x78", random), 5);
    EXPECT_EQ(RandomEffect("\x16", random), 22);
    EXPECT_TRUE(random.Done());
}

TEST(DisplayInterval, ItemDurationReplacesSeconds)
{
    Package p;
    p.Header.Seconds = 5;
    p.Items.resize(3);
    p.Items[0].Duration = 12;
    p.Items[1].Duration = 0;
    p.Items[2].Duration = -3;
    EXPECT_EQ(DisplayInterval(p, 0), 12000);
    EXPECT_EQ(DisplayInterval(p, 1), 5000);
    EXPECT_EQ(DisplayInterval(p, 2), 5000);
    EXPECT_EQ(DisplayInterval(p, -1), 5000);
    EXPECT_EQ(DisplayInterval(p, 3), 5000); // item table shorter than the count
    p.Header.Seconds = 0;
    EXPECT_EQ(DisplayInterval(p, 1), 1000);
}

TEST(IsLoneFlashShow, OnlyASingleFlashItemKeepsTheClock)
{
    const struct {
        int32_t count;
        const char *ext;
        bool expected;
    } rows[] = { { 1, ".swf", true }, { 1, ".FLA", true }, { 1, ".jpg", false },
        { 2, ".SWF", false }, { 0, ".SWF", false } };
    for (const auto &row : rows) {
        Package p;
        p.Header.ItemCount = row.count;
        p.Items.resize(size_t(std::max(row.count, 1)));
        p.Items[0].Ext = row.ext;
        EXPECT_EQ(IsLoneFlashShow(p), row.expected) << row.count << " " << row.ext;
    }
}

TEST(EffectsFor, AnItemSpeedBringsItsOwnSelection)
{
    Package p;
    p.Texts.DefaultEffects = "\x01\x02";
    p.Header.EffectSpeed = 4;
    p.Items.resize(2);
    p.Items[1].ItemEffectSpeed = 7; // with an empty selection of its own
    EXPECT_EQ(EffectsFor(p, 0).Selection, "\x01\x02");
    EXPECT_EQ(EffectsFor(p, 0).Speed, 4);
    EXPECT_EQ(EffectsFor(p, 1).Selection, "");
    EXPECT_EQ(EffectsFor(p, 1).Speed, 7);
}

// Whole-space checks of evaluateHand against a separately written classifier for standard
// five-card poker, mapped onto the game's ranks and keys (one pair and high card both rank 0).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cstdio>
#include <random>

#include "cards/hand.h"

namespace {

// Standard poker on five cards given as (value 0..12, suit 0..3); duplicates allowed, so five
// equal values are five of a kind. Works on a count histogram and a bitmask of ranks.
HandResult referenceRank(const std::array<Card, 5>& cards) {
    int count[14] = {};
    unsigned mask = 0;
    bool oneSuit = true;
    for (const Card& c : cards) {
        const int h = c.value == 0 ? 13 : c.value;
        ++count[h];
        mask |= 1u << h;
        oneSuit = oneSuit && c.suit == cards[0].suit;
    }
    int straightTop = -1;
    if (std::popcount(mask) == 5) {
        const int hi = 31 - std::countl_zero(mask);
        const int lo = std::countr_zero(mask);
        if (hi - lo == 4) straightTop = hi;
        if (mask == ((1u << 13) | 0b11110u)) straightTop = 4;  // A-2-3-4-5
    }
    int five = -1, four = -1, three = -1, pairHi = -1, pairLo = -1;
    for (int h = 13; h >= 1; --h) {
        switch (count[h]) {
            case 5: five = h; break;
            case 4: four = h; break;
            case 3: three = h; break;
            case 2: (pairHi < 0 ? pairHi : pairLo) = h; break;
            default: break;
        }
    }
    const int suitKey = 3 - cards[0].suit;
    if (five >= 0) return {8, five};
    if (oneSuit && straightTop == 13) return {9, suitKey};
    if (oneSuit && straightTop >= 0) return {7, suitKey};
    if (four >= 0) return {6, four};
    if (three >= 0 && pairHi >= 0) return {5, three * 100 + pairHi};
    if (oneSuit) return {4, suitKey};
    if (straightTop >= 0) return {3, straightTop};
    if (three >= 0) return {2, three};
    if (pairLo >= 0) return {1, pairHi * 100 + pairLo};
    return {0, 0};
}

// Best result over every card a wild joker could stand for, with the game's one restriction:
// a hand containing a joker is never royal (it counts as a straight flush of its suit).
HandResult bestSubstitution(std::array<Card, 5> cards, const int* jokerSlots, int jokers) {
    HandResult best{-1, -1};
    const int total = jokers == 1 ? 52 : 52 * 52;
    for (int n = 0; n < total; ++n) {
        int code = n;
        for (int j = 0; j < jokers; ++j) {
            cards[jokerSlots[j]] = Card{(code % 52) / 4, (code % 52) % 4};
            code /= 52;
        }
        HandResult r = referenceRank(cards);
        if (r.rank == 9) r.rank = 7;
        best = std::max(best, r);
    }
    return best;
}

Card cardOf(int index) { return Card{index / 4, index % 4}; }

double secondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

TEST(HandExhaustive, ReferenceClassifierSanity) {
    EXPECT_EQ(referenceRank({Card{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 1}}), (HandResult{3, 4}));
    EXPECT_EQ(referenceRank({Card{9, 1}, {10, 1}, {11, 1}, {12, 1}, {0, 1}}), (HandResult{9, 2}));
    EXPECT_EQ(referenceRank({Card{12, 1}, {0, 2}, {1, 3}, {2, 0}, {3, 1}}), (HandResult{0, 0}));
    EXPECT_EQ(referenceRank({Card{5, 1}, {5, 2}, {7, 3}, {7, 0}, {3, 1}}), (HandResult{1, 705}));
}

// Every one of the 2,598,960 joker-free hands: rank and key must agree with standard poker.
// The slot order is rotated per hand so that order effects would show.
TEST(HandExhaustive, AllJokerFreeHandsMatchStandardPoker) {
    const auto t0 = std::chrono::steady_clock::now();
    long hands = 0;
    long mismatches = 0;
    std::array<long, kHandRankCount> perRank{};
    for (int a = 0; a < 52; ++a)
        for (int b = a + 1; b < 52; ++b)
            for (int c = b + 1; c < 52; ++c)
                for (int d = c + 1; d < 52; ++d)
                    for (int e = d + 1; e < 52; ++e) {
                        const int idx[5] = {a, b, c, d, e};
                        std::array<Card, 5> cards;
                        for (int i = 0; i < 5; ++i) cards[i] = cardOf(idx[(i + hands) % 5]);
                        const HandResult got = evaluateHand(cards);
                        const HandResult want = referenceRank(cards);
                        if (got != want && ++mismatches <= 5) {
                            ADD_FAILURE() << "cards " << a << ' ' << b << ' ' << c << ' ' << d << ' ' << e
                                          << ": got (" << got.rank << ", " << got.key << ") want ("
                                          << want.rank << ", " << want.key << ")";
                        }
                        ++perRank[got.rank];
                        ++hands;
                    }
    EXPECT_EQ(hands, 2598960);
    EXPECT_EQ(mismatches, 0);
    // The well-known category counts (high card and one pair merged into rank 0).
    EXPECT_EQ(perRank[0], 1302540 + 1098240);
    EXPECT_EQ(perRank[1], 123552);
    EXPECT_EQ(perRank[2], 54912);
    EXPECT_EQ(perRank[3], 10200);
    EXPECT_EQ(perRank[4], 5108);
    EXPECT_EQ(perRank[5], 3744);
    EXPECT_EQ(perRank[6], 624);
    EXPECT_EQ(perRank[7], 36);
    EXPECT_EQ(perRank[8], 0);
    EXPECT_EQ(perRank[9], 4);
    std::printf("[ figures  ] %ld joker-free hands checked in %.2f s\n", hands, secondsSince(t0));
}

// With a single joker the game's joker steps land exactly on the best substitution (royal
// excluded); all 270,725 four-card sets, the joker moving through the slots.
TEST(HandExhaustive, OneJokerMatchesBestSubstitutionWithoutRoyal) {
    const auto t0 = std::chrono::steady_clock::now();
    long hands = 0;
    long mismatches = 0;
    for (int a = 0; a < 52; ++a)
        for (int b = a + 1; b < 52; ++b)
            for (int c = b + 1; c < 52; ++c)
                for (int d = c + 1; d < 52; ++d) {
                    const int jokerSlot = static_cast<int>(hands % 5);
                    const int idx[4] = {a, b, c, d};
                    std::array<Card, 5> cards;
                    for (int i = 0, k = 0; i < 5; ++i) cards[i] = i == jokerSlot ? kJokerCard : cardOf(idx[k++]);
                    const HandResult got = evaluateHand(cards);
                    const HandResult want = bestSubstitution(cards, &jokerSlot, 1);
                    if (got != want && ++mismatches <= 5) {
                        ADD_FAILURE() << "cards " << a << ' ' << b << ' ' << c << ' ' << d << " + joker: got ("
                                      << got.rank << ", " << got.key << ") want (" << want.rank << ", "
                                      << want.key << ")";
                    }
                    ++hands;
                }
    EXPECT_EQ(hands, 270725);
    EXPECT_EQ(mismatches, 0);
    std::printf("[ figures  ] %ld one-joker hands checked in %.2f s\n", hands, secondsSince(t0));
}

// Two jokers: a fixed random sample (every substitution pair is tried per hand).
TEST(HandExhaustive, TwoJokersMatchBestSubstitutionWithoutRoyalSample) {
    std::mt19937 rng(1234);
    for (int n = 0; n < 1500; ++n) {
        std::array<int, 52> order;
        for (int i = 0; i < 52; ++i) order[i] = i;
        std::shuffle(order.begin(), order.end(), rng);
        int jokerSlots[2] = {static_cast<int>(rng() % 5), 0};
        do {
            jokerSlots[1] = static_cast<int>(rng() % 5);
        } while (jokerSlots[1] == jokerSlots[0]);
        std::array<Card, 5> cards;
        for (int i = 0, k = 0; i < 5; ++i) {
            cards[i] = (i == jokerSlots[0] || i == jokerSlots[1]) ? kJokerCard : cardOf(order[k++]);
        }
        const HandResult got = evaluateHand(cards);
        const HandResult want = bestSubstitution(cards, jokerSlots, 2);
        ASSERT_EQ(got, want) << "sample " << n << ": got (" << got.rank << ", " << got.key << ") want ("
                             << want.rank << ", " << want.key << ")";
    }
}

// A dummy beside any four cards: only equal values count (no flush, no straight), and the
// dummy itself joins nothing.
TEST(HandExhaustive, DummyBesideEveryFourCardSet) {
    long hands = 0;
    for (int a = 0; a < 52; ++a)
        for (int b = a + 1; b < 52; ++b)
            for (int c = b + 1; c < 52; ++c)
                for (int d = c + 1; d < 52; ++d) {
                    const int dummySlot = static_cast<int>(hands % 5);
                    const int idx[4] = {a, b, c, d};
                    Hand hand{};
                    int count[14] = {};
                    for (int i = 0, k = 0; i < 5; ++i) {
                        if (i == dummySlot) {
                            hand[i] = HandCard{kDummyCard, true};
                        } else {
                            hand[i] = HandCard{cardOf(idx[k]), false};
                            ++count[rankingValue(hand[i].card)];
                            ++k;
                        }
                    }
                    HandResult want{0, 0};
                    int pairs[2] = {0, 0}, np = 0;
                    for (int h = 13; h >= 1; --h) {
                        if (count[h] == 4) want = {6, h};
                        if (count[h] == 3) want = {2, h};
                        if (count[h] == 2) pairs[np++] = h;
                    }
                    if (np == 2) want = {1, pairs[0] * 100 + pairs[1]};
                    const HandResult got = evaluateHand(hand);
                    ASSERT_EQ(got, want) << a << ' ' << b << ' ' << c << ' ' << d << " dummy at " << dummySlot;
                    ++hands;
                }
    EXPECT_EQ(hands, 270725);
}

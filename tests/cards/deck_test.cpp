#include <gtest/gtest.h>

#include <array>
#include <set>
#include <vector>

#include "core/random.h"
#include "cards/card.h"

namespace {

std::vector<Card> drainDeck(Deck& deck) {
    std::vector<Card> out;
    while (deck.remainingCards() > 0) out.push_back(deck.drawCard());
    return out;
}

}  // namespace

TEST(Deck, FiftyTwoDistinctCardsWithoutJoker) {
    Random::Instance().Seed(11);
    Deck deck;
    for (int round = 0; round < 50; ++round) {
        deck.resetDeck(false);
        ASSERT_EQ(deck.remainingCards(), 52);
        std::set<int> faces;
        for (const Card& c : drainDeck(deck)) {
            ASSERT_GE(c.value, 0);
            ASSERT_LE(c.value, 12);
            ASSERT_GE(c.suit, 0);
            ASSERT_LE(c.suit, 3);
            faces.insert(faceIndex(c));
        }
        EXPECT_EQ(faces.size(), 52u);
    }
}

TEST(Deck, FiftyThreeCardsWithExactlyOneJoker) {
    Random::Instance().Seed(12);
    Deck deck;
    for (int round = 0; round < 50; ++round) {
        deck.resetDeck(true);
        ASSERT_EQ(deck.remainingCards(), 53);
        std::set<int> faces;
        int jokers = 0;
        for (const Card& c : drainDeck(deck)) {
            if (isJoker(c)) {
                ++jokers;
                EXPECT_EQ(c, kJokerCard);
            }
            faces.insert(faceIndex(c));
        }
        EXPECT_EQ(jokers, 1);
        EXPECT_EQ(faces.size(), 53u);
    }
}

TEST(Deck, DrawingAnEmptyDeckGivesAceOfSuitZeroAndChangesNothing) {
    Deck fresh;
    EXPECT_EQ(fresh.remainingCards(), 0);
    EXPECT_EQ(fresh.drawCard(), (Card{0, 0}));
    EXPECT_EQ(fresh.remainingCards(), 0);

    Random::Instance().Seed(13);
    Deck deck;
    deck.resetDeck(true);
    drainDeck(deck);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(deck.drawCard(), (Card{0, 0}));
        EXPECT_EQ(deck.remainingCards(), 0);
    }
    EXPECT_EQ(deck.cardAt(0), (Card{0, 0}));
    // A reset after running dry gives a full deck again.
    deck.resetDeck(false);
    EXPECT_EQ(deck.remainingCards(), 52);
}

TEST(Deck, CardAtShowsTheCardsInDrawOrder) {
    Random::Instance().Seed(14);
    Deck deck;
    deck.resetDeck(true);
    deck.drawCard();
    deck.drawCard();
    std::vector<Card> peeked;
    for (int k = 0; k < deck.remainingCards(); ++k) peeked.push_back(deck.cardAt(k));
    EXPECT_EQ(deck.cardAt(-1), (Card{0, 0}));
    EXPECT_EQ(deck.cardAt(51), (Card{0, 0}));
    EXPECT_EQ(drainDeck(deck), peeked);
}

// The order follows the taken-marks rule on Random::Range(0, n - 1): the first index drawn is
// the front, a repeated index is drawn again, index 52 is the joker (13, 0).
TEST(Deck, OrderFollowsTheRangeDrawsWithTakenMarks) {
    for (const bool withJoker : {false, true}) {
        const int n = withJoker ? 53 : 52;
        Random::Instance().Seed(2024);
        std::vector<Card> expected;
        std::array<bool, 53> taken{};
        int draws = 0;
        while (static_cast<int>(expected.size()) < n) {
            const int index = Random::Instance().Range(0, n - 1);
            ++draws;
            if (taken[index]) continue;
            taken[index] = true;
            expected.push_back(index == 52 ? kJokerCard : Card{index / 4, index % 4});
        }
        EXPECT_GT(draws, n);  // repeats did happen and were drawn again
        const uint32_t after = Random::Instance().Raw();

        Random::Instance().Seed(2024);
        Deck deck;
        deck.resetDeck(withJoker);
        EXPECT_EQ(Random::Instance().Raw(), after) << "the deck must draw exactly as many numbers";
        EXPECT_EQ(drainDeck(deck), expected);
    }
}

// Each card should land in each position about equally often. Seeded, so the check is
// repeatable; the bounds are wide (about six standard deviations).
TEST(Deck, ShuffleSpreadsEveryCardOverEveryPosition) {
    constexpr int kShuffles = 20000;
    constexpr int n = 53;
    std::vector<std::array<int, n>> counts(n);  // counts[position][face]
    for (auto& row : counts) row.fill(0);
    Random::Instance().Seed(99);
    Deck deck;
    for (int s = 0; s < kShuffles; ++s) {
        deck.resetDeck(true);
        for (int pos = 0; pos < n; ++pos) ++counts[pos][faceIndex(deck.drawCard())];
    }
    const double expected = static_cast<double>(kShuffles) / n;
    double total = 0;
    double worstRow = 0;
    for (int pos = 0; pos < n; ++pos) {
        double chi2 = 0;
        for (int f = 0; f < n; ++f) {
            const double d = counts[pos][f] - expected;
            chi2 += d * d / expected;
        }
        worstRow = std::max(worstRow, chi2);
        total += chi2;
    }
    // Per position: 52 degrees of freedom (mean 52, sd about 10.2).
    EXPECT_LT(worstRow, 120.0);
    // All cells: about 52 * 52 degrees of freedom (mean 2704, sd about 74).
    EXPECT_LT(total, 2704 + 6 * 74);
    EXPECT_GT(total, 2704 - 6 * 74);  // suspiciously even spreads fail too
}

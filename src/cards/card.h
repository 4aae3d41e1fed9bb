#pragma once
#include <array>

// One playing card, copied by value everywhere (deck, hand slots, pending changes, card producers).
//   value: 0 ace, 1..12 two..king (1 is the two, 9 the ten, 10 jack, 11 queen, 12 king), 13 joker
//   suit:  0..3; the deck's joker has suit 0
// A hand slot holding a dummy card stores (-100, -100) and carries its own dummy flag.
struct Card {
    int value = 0;
    int suit = 0;

    friend constexpr bool operator==(const Card&, const Card&) = default;
};

inline constexpr int kAceValue = 0;
inline constexpr int kKingValue = 12;
inline constexpr int kJokerValue = 13;
inline constexpr int kDummyValue = -100;
inline constexpr int kSuitCount = 4;

inline constexpr Card kJokerCard{kJokerValue, 0};
inline constexpr Card kDummyCard{kDummyValue, kDummyValue};

constexpr bool isJoker(const Card& c) { return c.value == kJokerValue; }

// An ace to king with a suit 0..3, or a joker (any suit). Anything else (the dummy marker
// included) is not a playable card.
constexpr bool isPlayableCard(const Card& c) {
    if (c.value == kJokerValue) return true;
    return c.value >= kAceValue && c.value <= kKingValue && c.suit >= 0 && c.suit < kSuitCount;
}

// Picture index in the card sheet: value * 4 + suit, 0..51 for ordinary cards, 52 for the joker.
constexpr int faceIndex(const Card& c) { return isJoker(c) ? 52 : c.value * 4 + c.suit; }

// The value used for ranking: the ace counts 13 (above the king), two..king stay 1..12.
// Also the order of the double-up comparison. Only meaningful for ordinary cards.
constexpr int rankingValue(const Card& c) { return c.value == kAceValue ? 13 : c.value; }

// The ordered deck: front = next card to be drawn. Fixed storage, no allocation.
class Deck {
public:
    static constexpr int kMaxCards = 53;

    // Empties the deck and refills it with 52 cards, or 53 with the joker, in a new random order
    // drawn from Random::Range: an index 0..n-1 is drawn until an untaken one comes up; each
    // untaken index is marked and its card (index / 4, index % 4) appended at the back, so the
    // first index drawn is the front. Index 52 is the joker (13, 0).
    void resetDeck(bool withJoker);
    // Removes and returns the front card; an empty deck returns (0, 0) and stays unchanged.
    Card drawCard();
    int remainingCards() const { return count_; }
    // The k-th card from the front (0 = the next drawn); (0, 0) when k is outside the deck.
    Card cardAt(int k) const;

private:
    std::array<Card, kMaxCards> cards_{};
    int front_ = 0;
    int count_ = 0;
};

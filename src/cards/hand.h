#pragma once
#include <array>
#include <compare>
#include <span>
#include <string>

#include "cards/card.h"

// Hand ranks in ascending strength. One pair counts as no hand.
enum HandRank : int {
    HandRankNone = 0,        // "役なし(ワンペア含む)"  key 0
    HandRankTwoPair = 1,     // "ツーペア"  higher pair * 100 + lower pair
    HandRankThreeCards = 2,  // "３カード"  value of the three
    HandRankStraight = 3,    // "ストレート"  top card of the straight
    HandRankFlush = 4,       // "フラッシュ"  3 - suit
    HandRankFullHouse = 5,   // "フルハウス"  three * 100 + pair
    HandRankFourCards = 6,   // "４カード"  value of the four
    HandRankStraightFlush = 7,  // "ストフラ"  3 - suit
    HandRankFiveCards = 8,   // "５カード"  value of the five (13 for five jokers)
    HandRankRoyal = 9,       // "ロイヤル"  3 - suit; only without a joker
};
inline constexpr int kHandRankCount = 10;

// Outcome of an evaluation. Values inside keys are ranking values (ace 13).
// Results order by rank, then key: the member-wise comparison is exactly the showdown rule.
struct HandResult {
    int rank = HandRankNone;
    int key = 0;

    friend constexpr bool operator==(const HandResult&, const HandResult&) = default;
    friend constexpr auto operator<=>(const HandResult&, const HandResult&) = default;
};

// +1 when a beats b, -1 when b beats a, 0 for a tie (equal rank and equal key).
constexpr int compareHands(const HandResult& a, const HandResult& b) {
    if (a.rank != b.rank) return a.rank > b.rank ? 1 : -1;
    if (a.key != b.key) return a.key > b.key ? 1 : -1;
    return 0;
}

// One hand slot as the ranking sees it: the card and whether the slot holds a dummy card.
struct HandCard {
    Card card;
    bool dummy = false;
};

using Hand = std::array<HandCard, 5>;

// Ranks five slots in slot order. Pure. Jokers are wild by the game's own rule (each joins the
// current best group, or pairs with the highest real card), not by trying every substitution;
// dummy cards never match anything and rule out flushes and straights. A slot whose card is not
// playable (see isPlayableCard) is treated as a dummy card.
HandResult evaluateHand(std::span<const HandCard, 5> slots);

// Convenience for five plain cards without dummies.
HandResult evaluateHand(const std::array<Card, 5>& cards);

// The rank's text name in Shift-JIS; an empty string outside 0..9.
const std::string& handRankName(int rank);
// The same name in UTF-8 (for logs); "" outside 0..9.
const char* handRankNameUtf8(int rank);

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cards/hand.h"
#include "hand_notation.h"
#include "platform/text_encoding.h"

using cardtest::parseHand;
using cardtest::rank;

namespace {

struct Case {
    const char* hand;
    int rank;
    int key;
};

void expectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const HandResult r = rank(c.hand);
        EXPECT_EQ(r.rank, c.rank) << c.hand;
        EXPECT_EQ(r.key, c.key) << c.hand;
    }
}

}  // namespace

// Ranking values: ace 13, two 1 ... ten 9, jack 10, queen 11, king 12.
TEST(HandRank, EveryRankWithoutJoker) {
    expectCases({
        {"20 51 92 J3 K0", HandRankNone, 0},
        {"K0 K1 22 53 90", HandRankNone, 0},  // one pair is no hand
        {"A0 A1 22 53 90", HandRankNone, 0},
        {"K0 K1 32 33 90", HandRankTwoPair, 1202},
        {"20 A1 22 A3 90", HandRankTwoPair, 1301},
        {"70 71 72 K3 20", HandRankThreeCards, 6},
        {"A0 A1 A2 K3 20", HandRankThreeCards, 13},
        {"50 61 72 83 90", HandRankStraight, 8},
        {"92 80 73 51 61", HandRankStraight, 8},  // slot order does not matter
        {"22 42 J2 72 92", HandRankFlush, 1},
        {"30 32 31 A0 A3", HandRankFullHouse, 213},
        {"K0 K1 K2 20 21", HandRankFullHouse, 1201},
        {"90 91 92 93 K0", HandRankFourCards, 8},
        {"53 63 73 83 93", HandRankStraightFlush, 0},
        {"A0 20 30 40 50", HandRankStraightFlush, 3},  // ace-low straight flush
        {"Q0 Q1 Q2 Q3 Q0", HandRankFiveCards, 11},     // duplicates arise from copy abilities
        {"T1 J1 Q1 K1 A1", HandRankRoyal, 2},
        {"A3 K3 Q3 J3 T3", HandRankRoyal, 0},
    });
}

TEST(HandRank, EveryRankWithJokers) {
    expectCases({
        // One joker with four unrelated cards pairs the highest one: still no hand.
        {"X 20 51 92 J3", HandRankNone, 0},
        {"X 20 51 92 A3", HandRankNone, 0},
        // A joker never makes two pair: with a pair it makes three, with two pair a full house.
        {"X K0 K1 22 93", HandRankThreeCards, 12},
        {"K0 X 21 K1 93", HandRankThreeCards, 12},
        {"X X 22 93 K0", HandRankThreeCards, 12},     // two jokers: three of the highest card
        {"X X 22 93 A1", HandRankThreeCards, 13},
        {"X 20 31 42 53", HandRankStraight, 5},       // 2-3-4-5 + joker: six on top
        {"X T0 J1 Q2 K3", HandRankStraight, 13},
        {"X A0 21 32 43", HandRankStraight, 4},       // ace to five
        {"X A0 21 32 53", HandRankStraight, 4},       // joker in the middle of ace to five
        {"X 60 71 93 T2", HandRankStraight, 9},       // gap filled: six to ten
        {"X X 90 J1 K2", HandRankStraight, 12},       // nine to king
        {"X X J0 Q1 K2", HandRankStraight, 13},       // jokers fill above first, capped at the ace
        {"X X A0 Q1 K2", HandRankStraight, 13},
        {"X 22 52 92 J2", HandRankFlush, 1},
        {"X X 23 53 J3", HandRankFlush, 0},
        {"X K0 K1 32 33", HandRankFullHouse, 1202},
        {"33 X K0 32 K1", HandRankFullHouse, 1202},   // the higher pair becomes the three
        {"X 90 91 92 K3", HandRankFourCards, 8},
        {"X X 90 91 K3", HandRankFourCards, 8},
        {"X X X 90 K3", HandRankFourCards, 12},       // three jokers join the highest card
        {"X 50 60 70 80", HandRankStraightFlush, 3},
        {"X X X 51 71", HandRankStraightFlush, 2},
        {"X 90 91 92 93", HandRankFiveCards, 8},
        {"X X X X 20", HandRankFiveCards, 1},
        {"X X X 20 21", HandRankFiveCards, 1},
        {"X X X X X", HandRankFiveCards, 13},
    });
}

// The list of edge cases the rules single out.
TEST(HandRank, RuleEdgeCases) {
    // One pair and nothing both yield (0, 0) and tie.
    EXPECT_EQ(rank("K0 K1 22 53 90"), (HandResult{0, 0}));
    EXPECT_EQ(rank("20 51 92 J3 K0"), (HandResult{0, 0}));
    EXPECT_EQ(compareHands(rank("K0 K1 22 53 90"), rank("20 51 92 J3 K0")), 0);

    // 2-3-4-5-A with the ace in any suit: rank 3 key 4; T-J-Q-K-A: rank 3 key 13.
    for (const char* ace : {"A0", "A1", "A2", "A3"}) {
        EXPECT_EQ(rank(std::string("21 32 43 50 ") + ace), (HandResult{3, 4})) << ace;
        EXPECT_EQ(rank(std::string("T1 J2 Q3 K0 ") + ace), (HandResult{3, 13})) << ace;
    }
    // K-A-2-3-4 is no straight, with or without a joker standing for the five.
    EXPECT_EQ(rank("K0 A1 22 33 40"), (HandResult{0, 0}));
    EXPECT_EQ(rank("K0 A1 22 33 X"), (HandResult{0, 0}));

    // Ten to ace suited without a joker is royal; ten to king suited plus a joker is only a
    // straight flush, although a free substitution would make the royal.
    for (int s = 0; s < 4; ++s) {
        const std::string d = std::to_string(s);
        EXPECT_EQ(rank("T" + d + " J" + d + " Q" + d + " K" + d + " A" + d), (HandResult{9, 3 - s}));
        EXPECT_EQ(rank("T" + d + " J" + d + " Q" + d + " K" + d + " X"), (HandResult{7, 3 - s}));
        EXPECT_EQ(rank("X X X K" + d + " A" + d), (HandResult{7, 3 - s}));
    }

    // Four of a kind plus a joker: five of a kind keyed by the four.
    EXPECT_EQ(rank("70 71 72 73 X"), (HandResult{8, 6}));
    // A joker with four unrelated cards: pairs the highest, so no hand.
    EXPECT_EQ(rank("X 21 53 90 Q2"), (HandResult{0, 0}));
    // Joker with a pair: three of that value; joker with two pair: full house.
    EXPECT_EQ(rank("X 61 63 90 Q2"), (HandResult{2, 5}));
    EXPECT_EQ(rank("X 61 63 Q0 Q2"), (HandResult{5, 1105}));
    // Two jokers with three unrelated cards: three of the highest card, unless a straight or
    // flush applies.
    EXPECT_EQ(rank("X X 21 63 J2"), (HandResult{2, 10}));
    EXPECT_EQ(rank("X X 21 33 52"), (HandResult{3, 5}));
    EXPECT_EQ(rank("X X 22 62 J2"), (HandResult{4, 1}));
    // Four jokers and an ace: five of a kind (13) beats the straight flush it also forms.
    EXPECT_EQ(rank("X X A2 X X"), (HandResult{8, 13}));
}

TEST(HandRank, DummyKillsFlushAndStraightAndNeverPairs) {
    expectCases({
        {"D 22 52 92 J2", HandRankNone, 0},    // four suited
        {"D 50 61 72 83", HandRankNone, 0},    // four consecutive
        {"D T0 J0 Q0 K0", HandRankNone, 0},    // four to a royal
        {"D D 20 51 92", HandRankNone, 0},     // two dummies do not pair each other
        {"D D D D D", HandRankNone, 0},
        {"D K0 K1 22 93", HandRankNone, 0},    // a real pair is still only a pair
        {"D K0 K1 22 23", HandRankTwoPair, 1201},
        {"D D K0 K1 K2", HandRankThreeCards, 12},
        {"D K0 K1 K2 K3", HandRankFourCards, 12},
        {"D X 51 62 73", HandRankNone, 0},     // joker pairs the seven, no straight
        {"D X 52 62 72", HandRankNone, 0},     // no flush either
        {"D X K1 K2 93", HandRankThreeCards, 12},
        {"D X X X K0", HandRankFourCards, 12},
        {"D X X 50 60", HandRankThreeCards, 5},
        // Jokers with no real card beside them join a group of value 0, below every real card:
        // the rules' joker step, not the four aces a free substitution would pick.
        {"D X X X X", HandRankFourCards, 0},
        {"D D X X X", HandRankThreeCards, 0},
        {"D D D X X", HandRankNone, 0},
    });
    // Four jokers beside a dummy lose to any real four of a kind.
    EXPECT_LT(rank("D X X X X"), rank("20 21 22 23 50"));
}

TEST(HandRank, MalformedCardsCountAsDeadCards) {
    // An unflagged dummy marker or an out-of-range card must not pair or complete a flush.
    Hand h = parseHand("22 52 92 J2 K2");
    h[0].card = kDummyCard;
    EXPECT_EQ(evaluateHand(h), (HandResult{0, 0}));
    h = parseHand("50 61 72 83 90");
    h[4].card = Card{20, 0};
    EXPECT_EQ(evaluateHand(h), (HandResult{0, 0}));
    h = parseHand("50 51 72 83 90");
    h[2].card = Card{4, 7};  // a "five" with a bad suit does not make three fives
    h[3].card = Card{-1, 0};
    EXPECT_EQ(evaluateHand(h), (HandResult{0, 0}));
    // A joker's suit does not matter.
    h = parseHand("T0 J0 Q0 K0 X");
    h[4].card.suit = 3;
    EXPECT_EQ(evaluateHand(h), (HandResult{7, 3}));
    // The dummy flag wins over whatever card the slot still stores.
    h = parseHand("A0 A1 A2 A3 X");
    h[4].dummy = true;
    EXPECT_EQ(evaluateHand(h), (HandResult{6, 13}));
}

TEST(HandRank, KeysOrderHandsOfTheSameRank) {
    // Each pair: first beats second.
    const std::vector<std::pair<const char*, const char*>> wins = {
        {"K0 K1 20 21 30", "Q0 Q1 J2 J3 A0"},  // two pair: higher pair first
        {"A0 A1 20 21 30", "K0 K1 Q2 Q3 J0"},
        {"K0 K1 30 31 20", "K2 K3 20 21 A2"},  // same high pair: lower pair decides
        {"A0 A1 A2 20 30", "K0 K1 K2 Q0 J0"},  // three: ace highest
        {"20 21 22 K0 Q0", "X 31 92 T3 A0"},    // three twos beat a joker pairing an ace
        {"T1 J2 Q3 K0 A1", "90 T1 J2 Q3 K0"},  // straights by top
        {"21 32 43 50 61", "A0 21 32 43 50"},  // 2-6 beats ace to five
        {"20 30 50 70 90", "A1 K1 Q1 J1 91"},  // flush: suit 0 beats suit 1 whatever the cards
        {"30 31 32 20 21", "20 21 22 A0 A1"},  // full house by the three
        {"A0 A1 A2 20 21", "K0 K1 K2 Q0 Q1"},
        {"20 21 22 23 30", "X X X X D"},        // four twos beat four jokers beside a dummy
        {"53 63 73 83 93", "50 60 70 80 91"},  // straight flush vs a straight: rank
        {"A0 20 30 40 50", "92 T2 J2 Q2 K2"},  // straight flushes by suit only
        {"X X X X X", "K0 K1 K2 K3 X"},        // five jokers as five aces
        {"T3 J3 Q3 K3 A3", "X T0 J0 Q0 K0"},   // the weakest royal beats any straight flush
    };
    for (const auto& [a, b] : wins) {
        const HandResult ra = rank(a);
        const HandResult rb = rank(b);
        EXPECT_EQ(compareHands(ra, rb), 1) << a << " vs " << b;
        EXPECT_EQ(compareHands(rb, ra), -1) << a << " vs " << b;
        EXPECT_GT(ra, rb) << a << " vs " << b;
    }
    // Ties: the key ignores kickers and, for straights, suits.
    const std::vector<std::pair<const char*, const char*>> ties = {
        {"K0 K1 20 21 30", "K2 K3 22 23 A0"},
        {"50 61 72 83 90", "51 62 73 80 X"},
        {"21 32 43 50 A0", "X A1 22 33 43"},   // ace to five with the joker as the five
        {"20 30 50 70 90", "X A0 K0 Q0 90"},   // flushes of one suit tie
        {"X X X X X", "A0 A1 A2 A3 A0"},
    };
    for (const auto& [a, b] : ties) {
        EXPECT_EQ(compareHands(rank(a), rank(b)), 0) << a << " vs " << b;
    }
}

TEST(HandRank, NamesAsWritten) {
    const char* expected[kHandRankCount] = {"役なし(ワンペア含む)", "ツーペア", "３カード", "ストレート",
                                            "フラッシュ", "フルハウス", "４カード", "ストフラ",
                                            "５カード", "ロイヤル"};
    for (int r = 0; r < kHandRankCount; ++r) {
        EXPECT_STREQ(handRankNameUtf8(r), expected[r]);
        EXPECT_EQ(platform::SjisToUtf8(handRankName(r)), expected[r]);
        EXPECT_NE(handRankName(r), expected[r]) << "must be Shift-JIS, not UTF-8";
    }
    EXPECT_STREQ(handRankNameUtf8(-1), "");
    EXPECT_STREQ(handRankNameUtf8(10), "");
    EXPECT_TRUE(handRankName(10).empty());
}

TEST(CardEncoding, FaceIndexAndRankingValue) {
    EXPECT_EQ(faceIndex(Card{0, 0}), 0);
    EXPECT_EQ(faceIndex(Card{12, 3}), 51);
    EXPECT_EQ(faceIndex(kJokerCard), 52);
    EXPECT_EQ(rankingValue(Card{0, 2}), 13);
    EXPECT_EQ(rankingValue(Card{1, 0}), 1);
    EXPECT_EQ(rankingValue(Card{12, 0}), 12);
    EXPECT_FALSE(isPlayableCard(kDummyCard));
    EXPECT_TRUE(isPlayableCard(kJokerCard));
}

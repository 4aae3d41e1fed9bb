#include "cards/hand.h"

#include "platform/text_encoding.h"

namespace {

constexpr int kExcludedValue = -100;
constexpr int kAceHigh = 13;

}  // namespace

HandResult evaluateHand(std::span<const HandCard, 5> slots) {
    // 1. Preparation: working values with the ace as 13; dummies and jokers are excluded and get
    //    a value that never matches a real card.
    int work[5];
    bool excluded[5];
    int suits[5];
    int dummies = 0;
    int jokers = 0;
    for (int i = 0; i < 5; ++i) {
        const Card c = slots[i].card;
        suits[i] = c.suit;
        if (slots[i].dummy || !isPlayableCard(c)) {
            // A malformed card is as dead as a planted dummy: it must neither pair nor let the
            // remaining four cards pass as a flush or straight.
            ++dummies;
            excluded[i] = true;
            work[i] = kExcludedValue;
        } else if (c.value == kJokerValue) {
            ++jokers;
            excluded[i] = true;
            work[i] = kExcludedValue;
        } else {
            excluded[i] = false;
            work[i] = c.value == kAceValue ? kAceHigh : c.value;
        }
    }

    // 2. Highest real card (0 when there is none).
    int highest = 0;
    for (int i = 0; i < 5; ++i) {
        if (!excluded[i] && work[i] > highest) highest = work[i];
    }

    // 3. Groups of equal values among the real cards, scanning in slot order.
    int pairs[5];
    int pairCount = 0;
    int bigGroup = 0;
    int largest = 0;
    int groups = 0;
    bool matched[5] = {false, false, false, false, false};
    for (int i = 0; i < 5; ++i) {
        if (excluded[i] || matched[i]) continue;
        int count = 1;
        for (int j = i + 1; j < 5; ++j) {
            if (!excluded[j] && !matched[j] && work[j] == work[i]) {
                ++count;
                matched[j] = true;
            }
        }
        if (count >= 2) {
            ++groups;
            if (count == 2) {
                pairs[pairCount++] = work[i];
            } else {
                bigGroup = work[i];
            }
        }
        if (count > largest) largest = count;
    }
    const int realGroups = groups;

    // 4. Jokers, one at a time, each joining the hand's current best group.
    for (int k = 0; k < jokers; ++k) {
        ++largest;
        if (groups == 0) {
            // Pairs with the highest real card.
            groups = 1;
            pairs[pairCount++] = highest;
        } else if (groups == 1 && largest == 3) {
            // The pair becomes three of a kind.
            if (pairCount > 0) {
                bigGroup = pairs[0];
                for (int p = 1; p < pairCount; ++p) pairs[p - 1] = pairs[p];
                --pairCount;
            }
        } else if (groups == 2) {
            // Two pair: the higher pair becomes the three, the lower stays the pair.
            if (pairCount >= 2) {
                const int hi = pairs[0] >= pairs[1] ? 0 : 1;
                bigGroup = pairs[hi];
                for (int p = hi + 1; p < pairCount; ++p) pairs[p - 1] = pairs[p];
                --pairCount;
            }
        }
    }
    const int finalGroups = groups;

    // 5. Pair list from high to low.
    for (int a = 1; a < pairCount; ++a) {
        const int v = pairs[a];
        int b = a;
        for (; b > 0 && pairs[b - 1] < v; --b) pairs[b] = pairs[b - 1];
        pairs[b] = v;
    }

    // 6. Flush: every real card in one suit (five jokers count too); never with a dummy.
    bool flush = false;
    int flushKey = 3;
    if (dummies == 0) {
        int suit = -1;
        flush = true;
        for (int i = 0; i < 5; ++i) {
            if (excluded[i]) continue;
            if (suit >= 0 && suits[i] != suit) flush = false;
            suit = suits[i];
        }
        if (suit >= 0) flushKey = 3 - suit;
    }

    // 7. Straight: no dummy and no two real cards of equal value; jokers fill the gaps.
    bool straight = false;
    int top = 0;
    if (dummies == 0 && realGroups == 0) {
        int lowest = kAceHigh;
        int high = 0;
        bool ace = false;
        for (int i = 0; i < 5; ++i) {
            if (excluded[i]) continue;
            if (work[i] == kAceHigh) {
                ace = true;
                continue;
            }
            if (work[i] < lowest) lowest = work[i];
            if (work[i] > high) high = work[i];
        }
        if (!ace) {
            if (high - lowest < 5) {
                straight = true;
                top = lowest + 4 < kAceHigh ? lowest + 4 : kAceHigh;
            }
        } else if (kAceHigh - lowest < 5) {
            straight = true;
            top = kAceHigh;  // ten to ace
        } else if (high < 5) {
            straight = true;
            top = 4;  // ace to five, the five on top
        }
    }

    // 8. Classification, first match wins.
    if (flush && straight && top == kAceHigh && jokers == 0) return {HandRankRoyal, flushKey};
    if (jokers == 5) return {HandRankFiveCards, kAceHigh};
    if (largest == 5) return {HandRankFiveCards, bigGroup};
    if (flush && straight) return {HandRankStraightFlush, flushKey};
    if (largest == 4) return {HandRankFourCards, bigGroup};
    if (largest == 3 && finalGroups == 2) return {HandRankFullHouse, bigGroup * 100 + pairs[0]};
    if (flush) return {HandRankFlush, flushKey};
    if (straight) return {HandRankStraight, top};
    if (largest == 3) return {HandRankThreeCards, bigGroup};
    if (largest == 2 && finalGroups == 2) return {HandRankTwoPair, pairs[0] * 100 + pairs[1]};
    return {HandRankNone, 0};
}

HandResult evaluateHand(const std::array<Card, 5>& cards) {
    const Hand hand{{{cards[0], false}, {cards[1], false}, {cards[2], false}, {cards[3], false}, {cards[4], false}}};
    return evaluateHand(hand);
}

const char* handRankNameUtf8(int rank) {
    static constexpr const char* kNames[kHandRankCount] = {
        "役なし(ワンペア含む)", "ツーペア", "３カード", "ストレート", "フラッシュ",
        "フルハウス", "４カード", "ストフラ", "５カード", "ロイヤル",
    };
    if (rank < 0 || rank >= kHandRankCount) return "";
    return kNames[rank];
}

const std::string& handRankName(int rank) {
    static const std::array<std::string, kHandRankCount + 1> names = [] {
        std::array<std::string, kHandRankCount + 1> n;
        for (int r = 0; r < kHandRankCount; ++r) n[r] = platform::Utf8ToSjis(handRankNameUtf8(r));
        return n;  // the last entry stays empty for ranks outside 0..9
    }();
    if (rank < 0 || rank >= kHandRankCount) return names[kHandRankCount];
    return names[rank];
}

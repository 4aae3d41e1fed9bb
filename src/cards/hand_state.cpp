#include "cards/hand_state.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/random.h"
#include "platform/debug.h"

namespace {

int SaturatedAdd(int a, int64_t b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    return static_cast<int>(std::clamp<int64_t>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

// --- Hand state ----------------------------------------------------------------------------------

void HandState::reset() {
    hand = {};
    pending = {};
}

void HandState::clearHand() {
    for (HandSlot& s : hand) {
        s.card = Card{};
        s.dummy = false;
        s.held = false;
        s.dummyFace = 0;
    }
}

void HandState::clearHoldAndFreeze() {
    for (HandSlot& s : hand) {
        s.held = false;
        s.frozen = false;
        s.frozenTurns = 0;
    }
}

void HandState::dealCard(int slot, const Card& card) {
    if (!validSlot(slot)) {
        return;
    }
    HandSlot& s = hand[static_cast<size_t>(slot)];
    s.dummy = false;
    s.dummyFace = 0;
    placeCard(slot, card);
}

void HandState::placeCard(int slot, const Card& card) {
    hand[static_cast<size_t>(slot)].card = card;
    if (isJoker(card)) {
        setDummy(slot, 0);
    }
}

// --- Holding -------------------------------------------------------------------------------------

bool HandState::toggleHold(int slot) {
    if (!validSlot(slot)) {
        return false;
    }
    HandSlot& s = hand[static_cast<size_t>(slot)];
    // Only a freeze stops the toggle: a dummy is frozen while its turns last, and once they run
    // out it may be kept like any other card.
    if (s.frozen) {
        return false;
    }
    s.held = !s.held;
    return true;
}

void HandState::holdFrozenCards() {
    for (HandSlot& s : hand) {
        if (s.frozen) {
            s.held = true;
        }
    }
}

void HandState::tickFrozenTurns() {
    for (HandSlot& s : hand) {
        if (!s.frozen) {
            continue;
        }
        if (s.frozenTurns > 0) {
            --s.frozenTurns;
        } else {
            s.held = false;
            s.frozen = false;
        }
    }
}

bool HandState::exchangeable(int slot) const {
    if (!validSlot(slot)) {
        return false;
    }
    const HandSlot& s = hand[static_cast<size_t>(slot)];
    return !s.held && !s.frozen;
}

int HandState::countHeld() const {
    return static_cast<int>(std::count_if(hand.begin(), hand.end(), [](const HandSlot& s) { return s.held; }));
}

int HandState::countDummies() const {
    return static_cast<int>(std::count_if(hand.begin(), hand.end(), [](const HandSlot& s) { return s.dummy; }));
}

int HandState::countExchangeable() const {
    return static_cast<int>(
        std::count_if(hand.begin(), hand.end(), [](const HandSlot& s) { return !s.held && !s.frozen; }));
}

int HandState::countFrozenOrDummy() const {
    return static_cast<int>(
        std::count_if(hand.begin(), hand.end(), [](const HandSlot& s) { return s.frozen || s.dummy; }));
}

bool HandState::hasHeldNonDummy() const {
    return std::any_of(hand.begin(), hand.end(), [](const HandSlot& s) { return s.held && !s.dummy; });
}

// --- Exchange ------------------------------------------------------------------------------------

HandState::SlotEvents HandState::exchangeUnheld(const CardProducer& producer) {
    if (!producer) {
        platform::OutputDebug("Player : exchange without a card source; empty-deck cards dealt");
    }
    SlotEvents events{};
    for (int i = 0; i < kSlotCount; ++i) {
        if (!exchangeable(i)) {
            continue;
        }
        HandSlot& s = hand[static_cast<size_t>(i)];
        Card card;
        if (pending[static_cast<size_t>(i)].kind == PendingPrepared) {
            card = pending[static_cast<size_t>(i)].card;
            events[static_cast<size_t>(i)] = SlotEvent::Prepared;
        } else {
            card = producer ? producer() : Card{};
            events[static_cast<size_t>(i)] = SlotEvent::Drawn;
        }
        s.dummy = false;
        s.dummyFace = 0;
        placeCard(i, card);
    }
    for (PendingChange& p : pending) {
        p.kind = PendingNone;
    }
    return events;
}

// --- Pending changes and abilities ---------------------------------------------------------------

void HandState::clearPending() {
    for (PendingChange& p : pending) {
        p.kind = PendingNone;
        p.param = 0;
    }
}

void HandState::setPending(int slot, int kind, int param, const Card* card) {
    if (!validSlot(slot)) {
        return;
    }
    PendingChange& p = pending[static_cast<size_t>(slot)];
    p.kind = kind;
    p.param = param;
    if (card != nullptr) {
        p.card = *card;
    }
}

HandState::SlotEvents HandState::applyPendingChanges(const CardProducer& producer) {
    SlotEvents events{};
    for (int i = 0; i < kSlotCount; ++i) {
        PendingChange& p = pending[static_cast<size_t>(i)];
        HandSlot& s = hand[static_cast<size_t>(i)];
        SlotEvent& e = events[static_cast<size_t>(i)];
        switch (p.kind) {
            case PendingReplace:
                placeCard(i, p.card);
                if (isJoker(p.card)) {
                    s.held = true;
                }
                e = SlotEvent::Placed;
                break;
            case PendingRedraw:
                placeCard(i, producer ? producer() : Card{});
                s.held = false;
                setDummy(i, 0);
                e = SlotEvent::Drawn;
                break;
            case PendingDummy:
                setDummy(i, p.param);
                s.held = true;
                e = SlotEvent::Placed;
                break;
            case PendingFreeze:
                if (s.frozen) {
                    s.frozenTurns = std::max(s.frozenTurns, p.param);
                } else {
                    s.frozenTurns = std::max(p.param - 1, 0);
                }
                s.frozen = true;
                break;
            case PendingPrepared:
                // The prepared card ends any dummy in the slot.
                s.dummy = false;
                s.dummyFace = 0;
                placeCard(i, p.card);
                s.held = true;
                e = SlotEvent::Prepared;
                break;
            default:
                break;  // none, or a kind nothing defines
        }
        p.kind = PendingNone;
    }
    return events;
}

void HandState::shiftValue(int slot, int delta) {
    if (!validSlot(slot)) {
        return;
    }
    const HandSlot& s = hand[static_cast<size_t>(slot)];
    // A joker stays a joker; a dummy card stays a dummy whatever its number would become.
    if (isJoker(s.card) || s.dummy) {
        return;
    }
    const int shifted = ((s.card.value + delta) % 13 + 13) % 13;
    const Card card{shifted, s.card.suit};
    setPending(slot, PendingReplace, 0, &card);
}

void HandState::prepareCopyOfHeld(int slot, bool keepValue, bool keepSuit) {
    if (!validSlot(slot)) {
        return;
    }
    auto fits = [this](int i) {
        const HandSlot& s = hand[static_cast<size_t>(i)];
        return s.held && !s.dummy;
    };
    // The reference slot is drawn again until a held non-dummy one comes up; without any such
    // slot that would never end, so nothing is prepared then.
    bool any = false;
    for (int i = 0; i < kSlotCount; ++i) {
        any = any || fits(i);
    }
    if (!any) {
        return;
    }
    Random& random = Random::Instance();
    int ref = random.Range(0, kSlotCount - 1);
    while (!fits(ref)) {
        ref = random.Range(0, kSlotCount - 1);
    }
    const Card source = hand[static_cast<size_t>(ref)].card;
    Card copy = source;
    if (!isJoker(source)) {
        copy.value = keepValue ? source.value : random.Range(0, 12);
        copy.suit = keepSuit ? source.suit : random.Range(0, kSuitCount - 1);
    }
    setPending(slot, PendingPrepared, 0, &copy);
}

void HandState::prepareFixedHand() {
    const Card ace{0, 0};
    for (int i = 0; i < kSlotCount; ++i) {
        setPending(i, PendingPrepared, 0, &ace);
        hand[static_cast<size_t>(i)].held = false;
    }
}

void HandState::setDummy(int slot, int turns) {
    if (!validSlot(slot)) {
        return;
    }
    HandSlot& s = hand[static_cast<size_t>(slot)];
    if (turns <= 0) {
        s.dummy = false;
        s.dummyFace = 0;
        return;
    }
    std::array<bool, kDummyPictures> used{};
    for (int j = 0; j < kSlotCount; ++j) {
        const HandSlot& other = hand[static_cast<size_t>(j)];
        if (j != slot && other.dummy && other.dummyFace >= 0 && other.dummyFace < kDummyPictures) {
            used[static_cast<size_t>(other.dummyFace)] = true;
        }
    }
    // At most four other slots hold dummies, so one of the five pictures is always free; the
    // check keeps the draw-again loop finite regardless.
    const bool anyFree = std::find(used.begin(), used.end(), false) != used.end();
    Random& random = Random::Instance();
    int b = random.Range(0, kDummyPictures - 1);
    while (anyFree && used[static_cast<size_t>(b)]) {
        b = random.Range(0, kDummyPictures - 1);
    }
    s.dummy = true;
    s.dummyFace = b;
    s.card = kDummyCard;
    s.frozen = true;
    s.frozenTurns = turns;
}

// --- Scoring and medals --------------------------------------------------------------------------

HandResult HandState::evaluateHand() const {
    Hand slots{};
    for (int i = 0; i < kSlotCount; ++i) {
        slots[static_cast<size_t>(i)] = HandCard{hand[static_cast<size_t>(i)].card, hand[static_cast<size_t>(i)].dummy};
    }
    return ::evaluateHand(slots);
}

void HandState::decideHolds(int deckCount) {
    for (HandSlot& s : hand) {
        s.held = false;
    }

    // Dummy and joker slots take part neither in matching nor in suits; the ace counts 13.
    std::array<bool, kSlotCount> excluded{};
    std::array<bool, kSlotCount> jokerSlot{};
    std::array<int, kSlotCount> value{};
    int jokers = 0;
    int realCards = 0;
    bool anyDummy = false;
    for (int i = 0; i < kSlotCount; ++i) {
        const HandSlot& s = hand[static_cast<size_t>(i)];
        if (s.dummy) {
            excluded[static_cast<size_t>(i)] = true;
            anyDummy = true;
        } else if (isJoker(s.card)) {
            excluded[static_cast<size_t>(i)] = true;
            jokerSlot[static_cast<size_t>(i)] = true;
            ++jokers;
        } else {
            value[static_cast<size_t>(i)] = rankingValue(s.card);
            ++realCards;
        }
    }

    // Cards sharing their value with another card, and the number of equal pairs (at least 1
    // once there is any real card).
    std::array<bool, kSlotCount> matched{};
    int pairs = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        for (int j = i + 1; j < kSlotCount; ++j) {
            if (!excluded[static_cast<size_t>(i)] && !excluded[static_cast<size_t>(j)] &&
                value[static_cast<size_t>(i)] == value[static_cast<size_t>(j)]) {
                ++pairs;
                matched[static_cast<size_t>(i)] = true;
                matched[static_cast<size_t>(j)] = true;
            }
        }
    }
    const int pairScore = realCards > 0 ? std::max(pairs, 1) : 0;

    auto holdMatches = [&] {
        for (int i = 0; i < kSlotCount; ++i) {
            HandSlot& s = hand[static_cast<size_t>(i)];
            if (!s.dummy && (jokerSlot[static_cast<size_t>(i)] || matched[static_cast<size_t>(i)])) {
                s.held = true;
            }
        }
    };
    // At most deckCount cards are given up: once more unheld slots than that have been passed,
    // the rest are kept.
    auto limitToDeck = [&] {
        int givenUp = 0;
        for (HandSlot& s : hand) {
            if (!s.held && ++givenUp > deckCount) {
                s.held = true;
            }
        }
    };

    // 1. Three of a kind or better, counting jokers.
    if (jokers + pairScore > 2) {
        holdMatches();
    }

    if (!anyDummy) {
        // 2. Four to a flush, jokers included: keep them.
        std::array<int, kSuitCount> suitCount{};
        int best = 0;
        int bestSuit = -1;
        for (int i = 0; i < kSlotCount; ++i) {
            const int suit = hand[static_cast<size_t>(i)].card.suit;
            if (excluded[static_cast<size_t>(i)] || suit < 0 || suit >= kSuitCount) {
                continue;
            }
            const int n = ++suitCount[static_cast<size_t>(suit)];
            if (n > best) {
                best = n;
                bestSuit = suit;
            }
        }
        if (jokers + best >= 4) {
            for (int i = 0; i < kSlotCount; ++i) {
                HandSlot& s = hand[static_cast<size_t>(i)];
                if (jokerSlot[static_cast<size_t>(i)] ||
                    (!excluded[static_cast<size_t>(i)] && s.card.suit == bestSuit)) {
                    s.held = true;
                }
            }
            // Deliberate mend: the flush draw also keeps to the deck. Without it a draw that gives
            // up more cards than the deck holds would be dealt empty-deck cards, which are in no
            // deck at all. A deck that is not empty covers the single card a flush draw gives up,
            // so only an empty deck is affected.
            limitToDeck();
            return;
        }

        // 3. Four to a straight, top window first (opponent 2 never draws to straights).
        if (opponentIndex != 2) {
            for (int w = 9; w >= 0; --w) {
                std::array<bool, kSlotCount> marked{};
                std::array<bool, 14> seen{};
                int count = 0;
                for (int i = 0; i < kSlotCount; ++i) {
                    const int v = value[static_cast<size_t>(i)];
                    if (excluded[static_cast<size_t>(i)] || v < w || v > w + 4 || v < 0 || v > 13 ||
                        seen[static_cast<size_t>(v)]) {
                        continue;
                    }
                    seen[static_cast<size_t>(v)] = true;
                    marked[static_cast<size_t>(i)] = true;
                    ++count;
                }
                if (w == 0) {
                    ++count;  // the lowest window counts its bottom place as filled
                }
                count += jokers;
                if (count >= 4) {
                    for (int i = 0; i < kSlotCount; ++i) {
                        hand[static_cast<size_t>(i)].held =
                            jokerSlot[static_cast<size_t>(i)] || marked[static_cast<size_t>(i)];
                    }
                    // Deliberate mend, as for the flush: the lowest window can give up two cards,
                    // and never more than the deck holds, or the exchange would deal invented
                    // cards that are not in it.
                    limitToDeck();
                    return;
                }
            }
        }
    }

    // 4. Keep what matches, and the jokers.
    holdMatches();
    // 5. Give up no more cards than the deck holds.
    limitToDeck();
}

void HandState::addMedals(int n) { medals = SaturatedAdd(medals, n); }

void HandState::removeMedals(int n) { medals = SaturatedAdd(medals, -static_cast<int64_t>(n)); }

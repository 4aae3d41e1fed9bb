// The hand's rules on their own: no graphics or sound service is set up here.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "cards/hand_state.h"
#include "core/random.h"
#include "finishes_within.h"

namespace cardstest {
namespace {

using Event = HandState::SlotEvent;
constexpr bool T = true;
constexpr bool F = false;

constexpr Card C(int value, int suit) { return Card{value, suit}; }
constexpr Card kJoker{13, 0};

class HandStateTest : public ::testing::Test {
protected:
    void SetUp() override { Random::Instance().Seed(1234); }

    static void deal(HandState& h, const std::array<Card, 5>& cards) {
        for (int i = 0; i < 5; ++i) h.dealCard(i, cards[static_cast<size_t>(i)]);
    }
    static HandState dealt(const std::array<Card, 5>& cards) {
        HandState h;
        deal(h, cards);
        return h;
    }
    static std::array<bool, 5> holds(const HandState& h) {
        std::array<bool, 5> out{};
        for (int i = 0; i < 5; ++i) out[static_cast<size_t>(i)] = h.hand[static_cast<size_t>(i)].held;
        return out;
    }
};

const std::array<Card, 5> kPlainHand{C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)};

// A producer handing out the given cards in order and counting its calls.
struct ListProducer {
    std::vector<Card> cards;
    int calls = 0;
    HandState::CardProducer fn() {
        return [this] { return cards.at(static_cast<size_t>(calls++)); };
    }
};

// ---- Hold, freeze and dummy states ------------------------------------------------------------

TEST_F(HandStateTest, ToggleRefusesOnlyFrozenSlots) {
    HandState h = dealt(kPlainHand);
    EXPECT_TRUE(h.toggleHold(0));
    EXPECT_TRUE(h.hand[0].held);
    EXPECT_TRUE(h.toggleHold(0));
    EXPECT_FALSE(h.hand[0].held);
    EXPECT_FALSE(h.toggleHold(-1));
    EXPECT_FALSE(h.toggleHold(5));

    h.setPending(1, HandState::PendingFreeze, 2, nullptr);
    h.setPending(2, HandState::PendingDummy, 2, nullptr);
    h.applyPendingChanges(HandState::CardProducer{});
    for (int slot : {1, 2}) {
        const bool before = h.hand[static_cast<size_t>(slot)].held;
        EXPECT_FALSE(h.toggleHold(slot)) << slot;
        EXPECT_EQ(h.hand[static_cast<size_t>(slot)].held, before) << slot;
    }
    // Once its turns have run out the dummy is only a card that is not frozen: it may be kept,
    // and kept it stays in the hand as a dummy at the exchange.
    for (int t = 0; t < 3; ++t) h.tickFrozenTurns();
    ASSERT_TRUE(h.hand[2].dummy);
    ASSERT_FALSE(h.hand[2].frozen);
    ASSERT_FALSE(h.hand[2].held);
    EXPECT_TRUE(h.toggleHold(2));
    EXPECT_TRUE(h.hand[2].held);
    ListProducer producer{{C(0, 0), C(0, 1), C(0, 2), C(0, 3)}};
    h.exchangeUnheld(producer.fn());
    EXPECT_TRUE(h.hand[2].dummy);
    EXPECT_EQ(h.hand[2].card, kDummyCard);
}

TEST_F(HandStateTest, DummyStaysHeldThroughItsTurnsAndFreezeOfKind4EndsOneTickEarlier) {
    HandState h = dealt(kPlainHand);
    h.setPending(0, HandState::PendingDummy, 3, nullptr);
    h.setPending(1, HandState::PendingFreeze, 3, nullptr);
    const HandState::SlotEvents events = h.applyPendingChanges(HandState::CardProducer{});
    EXPECT_EQ(events, (HandState::SlotEvents{Event::Placed, Event::None, Event::None, Event::None, Event::None}));
    EXPECT_TRUE(h.hand[0].dummy);
    EXPECT_EQ(h.hand[0].card, kDummyCard);
    EXPECT_TRUE(h.hand[0].held);
    h.holdFrozenCards();  // as every turn start does
    for (int tick = 1; tick <= 4; ++tick) {
        h.tickFrozenTurns();
        h.holdFrozenCards();
        EXPECT_EQ(h.hand[0].held, tick <= 3) << "dummy, tick " << tick;
        EXPECT_EQ(h.hand[0].frozen, tick <= 3) << "dummy, tick " << tick;
        EXPECT_EQ(h.hand[1].held, tick <= 2) << "kind 4, tick " << tick;
        EXPECT_EQ(h.hand[1].frozen, tick <= 2) << "kind 4, tick " << tick;
    }
    EXPECT_TRUE(h.hand[0].dummy);  // released, not turned back: the next exchange replaces it
    EXPECT_EQ(h.countExchangeable(), 5);

    // Kind 4 on a slot that is already frozen keeps the longer freeze.
    h.setDummy(2, 5);
    h.setPending(2, HandState::PendingFreeze, 2, nullptr);
    h.applyPendingChanges(HandState::CardProducer{});
    EXPECT_EQ(h.hand[2].frozenTurns, 5);
    h.setPending(2, HandState::PendingFreeze, 8, nullptr);
    h.applyPendingChanges(HandState::CardProducer{});
    EXPECT_EQ(h.hand[2].frozenTurns, 8);
}

TEST_F(HandStateTest, DummiesInOneHandShowDifferentPicturesAndEndOnRequest) {
    for (uint32_t seed = 0; seed < 200; ++seed) {
        Random::Instance().Seed(seed);
        HandState h;
        for (int slot = 0; slot < 5; ++slot) h.setDummy(slot, 2);
        std::set<int> faces;
        for (const HandSlot& s : h.hand) {
            ASSERT_TRUE(s.dummy);
            ASSERT_TRUE(s.frozen);
            ASSERT_EQ(s.frozenTurns, 2);
            faces.insert(s.dummyFace);
        }
        ASSERT_EQ(faces.size(), 5u) << "seed " << seed;
    }
    HandState h = dealt(kPlainHand);
    h.setDummy(3, 2);
    h.hand[3].card = C(5, 2);
    h.setDummy(3, 0);
    EXPECT_FALSE(h.hand[3].dummy);
    EXPECT_EQ(h.hand[3].dummyFace, 0);
    EXPECT_EQ(h.hand[3].card, C(5, 2));
    EXPECT_TRUE(h.hand[3].frozen);  // ending the dummy leaves the freeze to run out
}

TEST_F(HandStateTest, CountsOverHoldFreezeAndDummy) {
    HandState h = dealt(kPlainHand);
    h.hand[0].held = true;
    h.setDummy(1, 2);  // frozen dummy, not held until the turn start
    h.hand[2].frozen = true;
    EXPECT_EQ(h.countHeld(), 1);
    EXPECT_EQ(h.countDummies(), 1);
    EXPECT_EQ(h.countExchangeable(), 2);
    EXPECT_EQ(h.countFrozenOrDummy(), 2);
    EXPECT_TRUE(h.hasHeldNonDummy());
    EXPECT_FALSE(h.exchangeable(0));
    EXPECT_FALSE(h.exchangeable(2));
    EXPECT_TRUE(h.exchangeable(3));
    h.hand[0].held = false;
    h.holdFrozenCards();
    EXPECT_EQ(h.countHeld(), 2);
    EXPECT_TRUE(h.hasHeldNonDummy());  // the frozen real card
    h.clearHoldAndFreeze();
    EXPECT_EQ(h.countExchangeable(), 5);
    h.hand[1].held = true;
    EXPECT_FALSE(h.hasHeldNonDummy());  // only the dummy is held
}

// ---- Exchange ----------------------------------------------------------------------------------

TEST_F(HandStateTest, ExchangeDrawsOnlyForFreeSlotsAndLeavesHeldAndFrozenCardsAlone) {
    HandState h = dealt(kPlainHand);
    h.hand[1].held = true;
    h.hand[3].held = true;
    h.setPending(4, HandState::PendingFreeze, 5, nullptr);
    h.applyPendingChanges(HandState::CardProducer{});
    h.setDummy(2, 1);  // a dummy planted and already released: exchanged like any card
    h.tickFrozenTurns();
    h.tickFrozenTurns();
    ASSERT_FALSE(h.hand[2].frozen);
    h.setPending(3, HandState::PendingDummy, 2, nullptr);  // pending on a held slot is dropped too

    ListProducer producer{{C(0, 3), kJoker}};
    const HandState::SlotEvents events = h.exchangeUnheld(producer.fn());
    EXPECT_EQ(events, (HandState::SlotEvents{Event::Drawn, Event::None, Event::Drawn, Event::None, Event::None}));
    EXPECT_EQ(producer.calls, 2);
    EXPECT_EQ(h.hand[0].card, C(0, 3));
    EXPECT_EQ(h.hand[2].card, kJoker);
    EXPECT_EQ(h.hand[1].card, C(4, 1));
    EXPECT_EQ(h.hand[3].card, C(10, 3));
    EXPECT_FALSE(h.hand[3].dummy);
    EXPECT_EQ(h.hand[4].card, C(12, 0));
    EXPECT_TRUE(h.hand[4].frozen);
    EXPECT_FALSE(h.hand[2].dummy);
    EXPECT_FALSE(h.hand[2].held);  // a drawn joker is not held
    for (const PendingChange& c : h.pending) EXPECT_EQ(c.kind, 0);
}

TEST_F(HandStateTest, PreparedCardReplacesTheDrawAndAMissingProducerDealsEmptyDeckCards) {
    HandState h = dealt(kPlainHand);
    const Card prepared = C(0, 2);
    h.setPending(1, HandState::PendingPrepared, 0, &prepared);
    ListProducer producer{{C(3, 3), C(5, 3), C(6, 3), C(8, 3)}};
    const HandState::SlotEvents events = h.exchangeUnheld(producer.fn());
    EXPECT_EQ(events, (HandState::SlotEvents{Event::Drawn, Event::Prepared, Event::Drawn, Event::Drawn, Event::Drawn}));
    EXPECT_EQ(producer.calls, 4);
    EXPECT_EQ(h.hand[1].card, prepared);
    EXPECT_EQ(h.hand[0].card, C(3, 3));
    EXPECT_EQ(h.hand[2].card, C(5, 3));
    EXPECT_EQ(h.hand[4].card, C(8, 3));

    HandState e = dealt(kPlainHand);
    e.hand[0].held = true;
    e.exchangeUnheld(HandState::CardProducer{});
    EXPECT_EQ(e.countExchangeable(), 4);
    EXPECT_EQ(e.hand[1].card, Card{});
    EXPECT_EQ(e.hand[0].card, C(1, 0));
}

// ---- Pending changes ---------------------------------------------------------------------------

TEST_F(HandStateTest, Kind1PlacesAndHoldsAJokerWhileKind2DrawsAndEndsADummy) {
    HandState h = dealt(kPlainHand);
    const Card five = C(4, 2);
    h.setPending(0, HandState::PendingReplace, 0, &kJoker);
    h.setPending(1, HandState::PendingReplace, 0, &five);
    h.setDummy(3, 2);
    h.setPending(3, HandState::PendingRedraw, 0, nullptr);
    h.hand[3].held = true;
    h.setPending(4, HandState::PendingRedraw, 0, nullptr);
    ListProducer producer{{kJoker, C(2, 2)}};
    const HandState::SlotEvents events = h.applyPendingChanges(producer.fn());
    EXPECT_EQ(events, (HandState::SlotEvents{Event::Placed, Event::Placed, Event::None, Event::Drawn, Event::Drawn}));

    EXPECT_EQ(h.hand[0].card, kJoker);
    EXPECT_TRUE(h.hand[0].held);
    EXPECT_EQ(h.hand[1].card, five);
    EXPECT_FALSE(h.hand[1].held);
    EXPECT_EQ(producer.calls, 2);
    EXPECT_EQ(h.hand[3].card, kJoker);
    EXPECT_FALSE(h.hand[3].held);  // drawn, not placed: not held
    EXPECT_FALSE(h.hand[3].dummy);
    EXPECT_EQ(h.hand[4].card, C(2, 2));
    for (const PendingChange& c : h.pending) EXPECT_EQ(c.kind, 0);
}

TEST_F(HandStateTest, Kind3And5AndUnknownKinds) {
    HandState h = dealt(kPlainHand);
    h.setPending(0, HandState::PendingDummy, 3, nullptr);
    h.setDummy(1, 2);
    const Card prepared = C(9, 1);
    h.setPending(1, HandState::PendingPrepared, 0, &prepared);
    h.setPending(2, 9, 4, &prepared);                        // no such kind
    h.setPending(7, HandState::PendingDummy, 3, nullptr);  // no such slot
    const HandState::SlotEvents events = h.applyPendingChanges(HandState::CardProducer{});
    EXPECT_EQ(events, (HandState::SlotEvents{Event::Placed, Event::Prepared, Event::None, Event::None, Event::None}));

    EXPECT_TRUE(h.hand[0].dummy);
    EXPECT_TRUE(h.hand[0].held);
    EXPECT_TRUE(h.hand[0].frozen);
    EXPECT_EQ(h.hand[0].frozenTurns, 3);

    EXPECT_EQ(h.hand[1].card, prepared);
    EXPECT_FALSE(h.hand[1].dummy);
    EXPECT_TRUE(h.hand[1].held);

    EXPECT_EQ(h.hand[2].card, C(7, 2));
    EXPECT_FALSE(h.hand[2].held);
    for (const PendingChange& c : h.pending) EXPECT_EQ(c.kind, 0);

    // clearPending drops kind and param; the card is kept.
    h.setPending(3, HandState::PendingReplace, 4, &prepared);
    h.clearPending();
    EXPECT_EQ(h.pending[3].kind, 0);
    EXPECT_EQ(h.pending[3].param, 0);
    EXPECT_EQ(h.pending[3].card, prepared);
    h.applyPendingChanges(HandState::CardProducer{});
    EXPECT_EQ(h.hand[3].card, C(10, 3));
}

TEST_F(HandStateTest, ShiftValueWrapsBetweenKingAndAceAndLeavesJokersAndDummies) {
    HandState h = dealt({C(12, 2), C(0, 3), kJoker, C(4, 1), C(6, 0)});
    h.setDummy(4, 2);
    h.shiftValue(0, +1);
    h.shiftValue(1, -1);
    h.shiftValue(2, +1);
    h.shiftValue(3, -1);
    h.shiftValue(4, +1);
    EXPECT_EQ(h.pending[0].kind, 1);
    EXPECT_EQ(h.pending[0].card, C(0, 2));
    EXPECT_EQ(h.pending[1].kind, 1);
    EXPECT_EQ(h.pending[1].card, C(12, 3));
    EXPECT_EQ(h.pending[2].kind, 0);
    EXPECT_EQ(h.pending[3].card, C(3, 1));
    EXPECT_EQ(h.pending[4].kind, 0);
    h.applyPendingChanges(HandState::CardProducer{});
    EXPECT_EQ(h.hand[0].card, C(0, 2));
    EXPECT_TRUE(h.hand[4].dummy);
    EXPECT_EQ(h.hand[4].card, kDummyCard);
}

TEST_F(HandStateTest, PrepareCopyOfHeldCopiesARandomHeldRealCard) {
    HandState h = dealt({C(11, 2), C(3, 1), C(5, 0), C(8, 3), C(2, 0)});
    h.hand[0].held = true;  // the only held real card: the queen of suit 2
    h.setDummy(1, 2);
    h.hand[1].held = true;  // a held dummy is never the reference
    std::set<int> values;
    std::set<int> suits;
    for (int round = 0; round < 60; ++round) {
        h.prepareCopyOfHeld(4, true, false);
        EXPECT_EQ(h.pending[4].kind, 5);
        EXPECT_EQ(h.pending[4].card.value, 11);
        suits.insert(h.pending[4].card.suit);
        h.prepareCopyOfHeld(4, false, true);
        EXPECT_EQ(h.pending[4].card.suit, 2);
        values.insert(h.pending[4].card.value);
        ASSERT_GE(h.pending[4].card.value, 0);
        ASSERT_LE(h.pending[4].card.value, 12);
    }
    EXPECT_EQ(suits.size(), 4u);
    EXPECT_GT(values.size(), 8u);
    h.prepareCopyOfHeld(3, true, true);
    EXPECT_EQ(h.pending[3].card, C(11, 2));
    // A joker is copied as it is.
    h.hand[0].card = kJoker;
    h.prepareCopyOfHeld(3, false, false);
    EXPECT_EQ(h.pending[3].card, kJoker);
}

TEST_F(HandStateTest, PrepareCopyOfHeldReturnsWhenNoSlotCanBeTheReference) {
    HandState h = dealt({C(11, 2), C(3, 1), C(5, 0), C(8, 3), C(2, 0)});
    h.setDummy(1, 2);
    h.hand[1].held = true;  // held, but a dummy; nothing else held
    int code = -1;
    const bool finished = FinishesWithin(
        [&h] {
            h.prepareCopyOfHeld(4, true, true);
            return h.pending[4].kind == 0 ? 0 : 1;
        },
        5000, &code);
    ASSERT_TRUE(finished) << "prepareCopyOfHeld did not return";
    EXPECT_EQ(code, 0) << "something was prepared without a reference card";
}

TEST_F(HandStateTest, FixedHandGivesFiveAcesAtTheExchange) {
    HandState h = dealt({C(11, 2), C(3, 1), C(5, 0), C(8, 3), C(2, 0)});
    h.hand[0].held = true;
    h.hand[2].held = true;
    h.prepareFixedHand();
    EXPECT_EQ(h.countHeld(), 0);
    ListProducer none;
    const HandState::SlotEvents events = h.exchangeUnheld(none.fn());
    for (Event e : events) EXPECT_EQ(e, Event::Prepared);
    EXPECT_EQ(none.calls, 0);
    EXPECT_EQ(h.evaluateHand(), (HandResult{8, 13}));
}

TEST_F(HandStateTest, MedalsMayGoBelowZeroAndSaturateInsteadOfWrapping) {
    HandState h;
    h.medals = 1000;
    h.addMedals(600);
    EXPECT_EQ(h.medals, 1600);
    h.removeMedals(1900);
    EXPECT_EQ(h.medals, -300);
    h.addMedals(2147483647);
    EXPECT_EQ(h.medals, 2147483647 - 300);
    h.addMedals(1000);
    EXPECT_EQ(h.medals, 2147483647);
    h.medals = -2147483647;
    h.removeMedals(5);
    EXPECT_EQ(h.medals, -2147483647 - 1);
    h.reset();
    EXPECT_EQ(h.medals, -2147483647 - 1);  // a new hand keeps the count
}

// ---- Opponent's hold decision --------------------------------------------------------------------

struct HoldCase {
    const char* name;
    std::array<Card, 5> cards;
    int opponent;
    int deck;
    std::array<bool, 5> held;
};

class DecideHolds : public HandStateTest, public ::testing::WithParamInterface<HoldCase> {};

TEST_P(DecideHolds, KeepsTheExpectedCards) {
    const HoldCase& c = GetParam();
    HandState h = dealt(c.cards);
    h.opponentIndex = c.opponent;
    for (HandSlot& s : h.hand) s.held = true;  // cleared first
    h.decideHolds(c.deck);
    EXPECT_EQ(holds(h), c.held) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, DecideHolds,
    ::testing::Values(
        HoldCase{"pair of kings", {C(12, 0), C(1, 1), C(12, 2), C(6, 0), C(8, 1)}, 0, 40, {T, F, T, F, F}},
        HoldCase{"four of one suit", {C(1, 3), C(5, 3), C(10, 0), C(8, 3), C(11, 3)}, 0, 40, {T, T, F, T, T}},
        HoldCase{"four suited and a joker", {C(1, 3), C(5, 3), kJoker, C(8, 3), C(11, 3)}, 0, 40, {T, T, T, T, T}},
        HoldCase{"three suited and a joker", {C(1, 2), kJoker, C(10, 0), C(5, 2), C(8, 2)}, 1, 40, {T, T, F, T, T}},
        HoldCase{"5-6-7-8 and a king", {C(4, 0), C(12, 1), C(5, 1), C(6, 2), C(7, 3)}, 0, 40, {T, F, T, T, T}},
        HoldCase{"5-6-7-8, opponent 2", {C(4, 0), C(12, 1), C(5, 1), C(6, 2), C(7, 3)}, 2, 5, {F, F, F, F, F}},
        HoldCase{"10 to king, top window", {C(9, 0), C(1, 1), C(10, 2), C(11, 0), C(12, 3)}, 0, 40, {T, F, T, T, T}},
        HoldCase{"straight draw with a joker", {C(6, 0), kJoker, C(8, 2), C(2, 1), C(9, 3)}, 0, 40, {T, T, T, F, T}},
        HoldCase{"duplicate value in a straight draw", {C(4, 0), C(5, 1), C(5, 2), C(6, 3), C(7, 0)}, 0, 40, {T, T, F, T, T}},
        HoldCase{"three of a kind", {C(3, 0), C(3, 1), C(9, 2), C(3, 3), C(11, 0)}, 0, 40, {T, T, F, T, F}},
        HoldCase{"two pair keeps both pairs", {C(3, 0), C(3, 1), C(9, 2), C(9, 3), C(11, 0)}, 0, 40, {T, T, T, T, F}},
        HoldCase{"two jokers and a pair", {kJoker, C(6, 1), C(12, 2), C(6, 3), kJoker}, 0, 40, {T, T, F, T, T}},
        // A straight window that fills keeps only its own cards, even against a kept pair.
        HoldCase{"two jokers, a low pair: straight window wins", {kJoker, C(3, 1), C(9, 2), C(3, 3), kJoker}, 0, 40, {T, T, F, F, T}},
        HoldCase{"two jokers, three suited: flush draw", {kJoker, C(2, 1), C(6, 1), C(11, 1), kJoker}, 0, 40, {T, T, T, T, T}},
        HoldCase{"two jokers, nothing else: keeps the jokers", {kJoker, C(2, 1), C(6, 2), C(11, 3), kJoker}, 2, 40, {T, F, F, F, T}},
        HoldCase{"ace pairs with ace", {C(0, 0), C(4, 1), C(0, 2), C(7, 3), C(10, 1)}, 2, 40, {T, F, T, F, F}},
        HoldCase{"deck of 2, nothing to keep", {C(1, 0), C(4, 1), C(8, 2), C(10, 3), C(12, 0)}, 2, 2, {F, F, T, T, T}},
        HoldCase{"deck of 2 with a pair", {C(1, 0), C(4, 1), C(1, 2), C(10, 3), C(12, 0)}, 2, 2, {T, F, T, F, T}},
        // The flush and straight draws keep to the deck too (a deliberate mend): with fewer cards
        // in the deck than the draw gives up, the rest are kept.
        HoldCase{"flush draw keeps to an empty deck", {C(1, 3), C(5, 3), C(10, 0), C(8, 3), C(11, 3)}, 0, 0, {T, T, T, T, T}},
        HoldCase{"flush draw, deck of 1", {C(1, 3), C(5, 3), C(10, 0), C(8, 3), C(11, 3)}, 0, 1, {T, T, F, T, T}},
        HoldCase{"straight draw keeps to an empty deck", {C(4, 0), C(12, 1), C(5, 1), C(6, 2), C(7, 3)}, 0, 0, {T, T, T, T, T}},
        HoldCase{"straight draw, deck of 1", {C(4, 0), C(12, 1), C(5, 1), C(6, 2), C(7, 3)}, 0, 1, {T, F, T, T, T}},
        // The lowest window counts its bottom place as filled: 2-3-4 make a draw and two cards go.
        HoldCase{"low window", {C(1, 0), C(12, 1), C(2, 2), C(3, 3), C(8, 0)}, 0, 40, {T, F, T, T, F}},
        // ... but never more than the deck holds.
        HoldCase{"low window, deck of 1", {C(1, 0), C(12, 1), C(2, 2), C(3, 3), C(8, 0)}, 0, 1, {T, F, T, T, T}}),
    [](const ::testing::TestParamInfo<HoldCase>& info) { return "case" + std::to_string(info.index); });

TEST_F(HandStateTest, DummyRulesOutFlushAndStraightDraws) {
    HandState h = dealt({C(1, 3), C(5, 3), C(10, 0), C(8, 3), C(11, 3)});
    h.setDummy(2, 2);
    h.decideHolds(40);
    EXPECT_EQ(holds(h), (std::array<bool, 5>{F, F, F, F, F}));
    // A pair is still kept, and the dummy itself is never chosen.
    h.hand[0].card = C(5, 1);
    h.decideHolds(40);
    EXPECT_EQ(holds(h), (std::array<bool, 5>{T, T, F, F, F}));
}

}  // namespace
}  // namespace cardstest

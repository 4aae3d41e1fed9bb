#include <set>

#include "player_fixture.h"
#include "widgets/stock.h"

namespace playertest {
namespace {

using Rect = Image::Rect;

bool SameRect(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::array<bool, 5> Holds(const Player& p) {
    std::array<bool, 5> h{};
    for (int i = 0; i < 5; ++i) h[static_cast<size_t>(i)] = p.hand[static_cast<size_t>(i)].held;
    return h;
}

// A producer handing out the given cards in order and counting its calls.
struct ListProducer {
    std::vector<Card> cards;
    int calls = 0;
    Player::CardProducer fn() {
        return [this] { return cards.at(static_cast<size_t>(calls++)); };
    }
};

// ---- Hold, freeze and dummy states ------------------------------------------------------------

TEST_F(PlayerTest, ClickingTogglesOnlyFreeCardsAndAnswersFrozenOrDummyWithCancel) {
    Player p;
    p.init(true);
    dealHand(p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
    auto [x0, y0] = centre(p, 0);
    p.toggleHoldAt(x0, y0);
    EXPECT_TRUE(p.hand[0].held);
    EXPECT_TRUE(played("se_hold.wav"));
    EXPECT_FALSE(played("se_cancel.wav"));
    p.toggleHoldAt(x0, y0);
    EXPECT_FALSE(p.hand[0].held);
    silence();

    // Frozen by kind 4, and a dummy planted for 2 turns.
    p.setPending(1, Player::PendingFreeze, 2, nullptr);
    p.setPending(2, Player::PendingDummy, 2, nullptr);
    p.applyPendingChanges(Player::CardProducer{});
    silence();
    for (int slot : {1, 2}) {
        const bool heldBefore = p.hand[static_cast<size_t>(slot)].held;
        auto [x, y] = centre(p, slot);
        p.toggleHoldAt(x, y);
        EXPECT_EQ(p.hand[static_cast<size_t>(slot)].held, heldBefore) << slot;
        EXPECT_TRUE(played("se_cancel.wav")) << slot;
        EXPECT_FALSE(played("se_hold.wav")) << slot;
    }
    // The dummy's turns run out: it is released but still cannot be kept.
    for (int t = 0; t < 3; ++t) p.tickFrozenTurns();
    ASSERT_TRUE(p.hand[2].dummy);
    ASSERT_FALSE(p.hand[2].frozen);
    auto [x2, y2] = centre(p, 2);
    p.toggleHoldAt(x2, y2);
    EXPECT_FALSE(p.hand[2].held);
    EXPECT_TRUE(played("se_cancel.wav"));

    // Between two cards nothing happens.
    const auto before = Holds(p);
    p.toggleHoldAt(125, 500);
    EXPECT_EQ(Holds(p), before);
    EXPECT_FALSE(played("se_cancel.wav"));
    EXPECT_FALSE(played("se_hold.wav"));
    EXPECT_EQ(p.slotAt(125, 500), -1);
    EXPECT_EQ(p.slotAt(x2, y2), 2);
    EXPECT_EQ(p.slotAt(40, 440), 0);   // top-left corner of slot 0
    EXPECT_EQ(p.slotAt(119, 440), 0);  // last column of its 80 pixels
    EXPECT_EQ(p.slotAt(120, 440), -1);
}

TEST_F(PlayerTest, DummyStaysHeldThroughItsTurnsAndFreezeOfKind4EndsOneTickEarlier) {
    Player p;
    p.init(false);
    dealHand(p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
    p.setPending(0, Player::PendingDummy, 3, nullptr);
    p.setPending(1, Player::PendingFreeze, 3, nullptr);
    p.applyPendingChanges(Player::CardProducer{});
    EXPECT_TRUE(p.hand[0].dummy);
    EXPECT_EQ(p.hand[0].card, kDummyCard);
    EXPECT_TRUE(p.hand[0].held);
    p.holdFrozenCards();  // as every turn start does
    for (int tick = 1; tick <= 4; ++tick) {
        p.tickFrozenTurns();
        p.holdFrozenCards();
        EXPECT_EQ(p.hand[0].held, tick <= 3) << "dummy, tick " << tick;
        EXPECT_EQ(p.hand[0].frozen, tick <= 3) << "dummy, tick " << tick;
        EXPECT_EQ(p.hand[1].held, tick <= 2) << "kind 4, tick " << tick;
        EXPECT_EQ(p.hand[1].frozen, tick <= 2) << "kind 4, tick " << tick;
    }
    EXPECT_TRUE(p.hand[0].dummy);  // released, not turned back: the next exchange replaces it
    EXPECT_EQ(p.countExchangeable(), 5);

    // Kind 4 on a slot that is already frozen keeps the longer freeze.
    p.setDummy(2, 5);
    p.setPending(2, Player::PendingFreeze, 2, nullptr);
    p.applyPendingChanges(Player::CardProducer{});
    EXPECT_EQ(p.hand[2].frozenTurns, 5);
    p.setPending(2, Player::PendingFreeze, 8, nullptr);
    p.applyPendingChanges(Player::CardProducer{});
    EXPECT_EQ(p.hand[2].frozenTurns, 8);
}

TEST_F(PlayerTest, DummiesInOneHandShowDifferentPictures) {
    for (uint32_t seed = 0; seed < 200; ++seed) {
        Random::Instance().Seed(seed);
        Player p;
        p.init(true);
        for (int slot = 0; slot < 5; ++slot) p.setDummy(slot, 2);
        std::set<int> faces;
        for (const HandSlot& s : p.hand) {
            ASSERT_TRUE(s.dummy);
            ASSERT_TRUE(s.cardImage.specialFace);
            EXPECT_EQ(s.cardImage.specialIndex, s.dummyFace);
            EXPECT_TRUE(SameRect(s.cardImage.sourceRect, ImageCard::SpecialRect(s.dummyFace)));
            faces.insert(s.dummyFace);
        }
        ASSERT_EQ(faces.size(), 5u) << "seed " << seed;
    }
    // On the opponent's side a dummy lies face down like any other card; its see-through copy
    // shows the picture.
    Player o;
    o.init(false);
    o.setDummy(3, 2);
    EXPECT_TRUE(SameRect(o.hand[3].cardImage.sourceRect, ImageCard::BackRect()));
    EXPECT_TRUE(SameRect(o.translucentCopies[3].cardImage.sourceRect, ImageCard::SpecialRect(o.hand[3].dummyFace)));
    // Ending the dummy shows the slot's own card again.
    o.hand[3].card = C(5, 2);
    o.setDummy(3, 0);
    EXPECT_FALSE(o.hand[3].dummy);
    EXPECT_FALSE(o.hand[3].cardImage.specialFace);
    EXPECT_TRUE(SameRect(o.translucentCopies[3].cardImage.sourceRect, ImageCard::FaceRect(5, 2)));
}

TEST_F(PlayerTest, CountsOverHoldFreezeAndDummy) {
    Player p;
    p.init(true);
    dealHand(p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
    p.hand[0].held = true;
    p.setDummy(1, 2);  // frozen dummy, not held until the turn start
    p.hand[2].frozen = true;
    EXPECT_EQ(p.countHeld(), 1);
    EXPECT_EQ(p.countDummies(), 1);
    EXPECT_EQ(p.countExchangeable(), 2);
    EXPECT_EQ(p.countFrozenOrDummy(), 2);
    EXPECT_TRUE(p.hasHeldNonDummy());
    p.hand[0].held = false;
    p.holdFrozenCards();
    EXPECT_EQ(p.countHeld(), 2);
    EXPECT_TRUE(p.hasHeldNonDummy());  // the frozen real card
    p.clearHoldAndFreeze();
    EXPECT_EQ(p.countExchangeable(), 5);
}

// ---- Exchange ----------------------------------------------------------------------------------

TEST_F(PlayerTest, ExchangeDrawsOnlyForFreeSlotsAndLeavesHeldAndFrozenCardsAlone) {
    Player p;
    p.init(true);
    dealHand(p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
    p.hand[1].held = true;
    p.hand[3].held = true;
    p.setPending(4, Player::PendingFreeze, 5, nullptr);
    p.applyPendingChanges(Player::CardProducer{});
    p.setDummy(2, 1);  // a dummy planted and already released: exchanged like any card
    p.tickFrozenTurns();
    p.tickFrozenTurns();
    ASSERT_FALSE(p.hand[2].frozen);
    p.setPending(3, Player::PendingDummy, 2, nullptr);  // pending on a held slot is dropped too

    EXPECT_EQ(p.fadeOutUnheld(10), 2);
    ListProducer producer{{C(0, 3), kJoker}};
    EXPECT_EQ(p.exchangeUnheld(producer.fn()), 2);
    EXPECT_EQ(producer.calls, 2);
    EXPECT_EQ(p.hand[0].card, C(0, 3));
    EXPECT_EQ(p.hand[2].card, kJoker);
    EXPECT_EQ(p.hand[1].card, C(4, 1));
    EXPECT_EQ(p.hand[3].card, C(10, 3));
    EXPECT_EQ(p.hand[4].card, C(12, 0));
    EXPECT_TRUE(p.hand[4].frozen);
    EXPECT_FALSE(p.hand[2].dummy);
    EXPECT_FALSE(p.hand[2].cardImage.specialFace);
    EXPECT_TRUE(SameRect(p.hand[2].cardImage.sourceRect, ImageCard::FaceRect(13, 0)));
    EXPECT_FALSE(p.hand[2].held);  // a drawn joker is not held
    for (const PendingChange& c : p.pending) EXPECT_EQ(c.kind, 0);

    // The first card leaves the pile at once with its sound; the second 5 frames later.
    EXPECT_TRUE(played("se_carddraw.wav"));
    EXPECT_EQ(sound().PendingSeCount(), 1u);
    EXPECT_FLOAT_EQ(p.hand[0].cardImage.alpha, 1.0f);
    EXPECT_FLOAT_EQ(p.hand[2].cardImage.alpha, 0.0f);
    EXPECT_FLOAT_EQ(p.hand[2].cardImage.position.x, 280.0f);
    for (int f = 0; f < 5; ++f) sound().UpdateSe();
    EXPECT_TRUE(played("se_carddraw.wav"));
    settle(p);
    EXPECT_FALSE(p.isBusy());
    EXPECT_FLOAT_EQ(p.hand[2].cardImage.alpha, 1.0f);
    EXPECT_FLOAT_EQ(p.hand[2].cardImage.position.x, 260.0f);
    EXPECT_FLOAT_EQ(p.hand[2].cardImage.position.y, 440.0f);
}

TEST_F(PlayerTest, PreparedCardReplacesTheDrawAndFadesInSilently) {
    Player p;
    p.init(false);
    dealHand(p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
    const Card prepared = C(0, 2);
    p.setPending(1, Player::PendingPrepared, 0, &prepared);
    ListProducer producer{{C(3, 3), C(5, 3), C(6, 3), C(8, 3)}};
    EXPECT_EQ(p.exchangeUnheld(producer.fn()), 5);
    EXPECT_EQ(producer.calls, 4);
    EXPECT_EQ(p.hand[1].card, prepared);
    EXPECT_EQ(p.hand[0].card, C(3, 3));
    EXPECT_EQ(p.hand[2].card, C(5, 3));
    // Faded in at its own place (after 5 frames), not flown in from the pile.
    EXPECT_FLOAT_EQ(p.hand[1].cardImage.position.x, 190.0f);
    EXPECT_FLOAT_EQ(p.hand[1].cardImage.alpha, 0.0f);
    EXPECT_EQ(sound().PendingSeCount(), 3u);  // slots 2, 3, 4; slot 0 plays at once, slot 1 not at all
    // The opponent's new cards lie face down.
    EXPECT_TRUE(SameRect(p.hand[0].cardImage.sourceRect, ImageCard::BackRect()));
}

TEST_F(PlayerTest, FadeOutStopsAfterTheFirstCardWhenTheDeckIsEmpty) {
    Player p;
    p.init(true);
    dealHand(p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
    p.hand[0].held = true;
    EXPECT_EQ(p.fadeOutUnheld(0), 1);
    EXPECT_TRUE(p.hand[1].cardImage.tweening());
    EXPECT_FALSE(p.hand[2].cardImage.tweening());
    EXPECT_EQ(p.fadeOutUnheld(3), 4);
    for (int f = 0; f < 21; ++f) p.update();
    EXPECT_FLOAT_EQ(p.hand[3].cardImage.alpha, 0.0f);
    EXPECT_FLOAT_EQ(p.hand[0].cardImage.alpha, 1.0f);
}

TEST_F(PlayerTest, ExchangeWithoutAProducerDealsEmptyDeckCards) {
    Player p;
    p.init(true);
    dealHand(p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
    p.hand[0].held = true;
    EXPECT_EQ(p.exchangeUnheld(Player::CardProducer{}), 4);
    EXPECT_EQ(p.hand[1].card, Card{});
    EXPECT_EQ(p.hand[0].card, C(1, 0));
}

// ---- Pending changes ---------------------------------------------------------------------------

TEST_F(PlayerTest, Kind1PlacesSilentlyAndHoldsAJokerWhileKind2DealsFromTheDeck) {
    Stock deck;
    Random::Instance().Seed(5);
    deck.resetDeck(true);
    // Find where the joker lies and draw up to it, so kind 2 draws the joker.
    int jokerAt = -1;
    for (int k = 0; k < deck.remainingCards(); ++k) {
        if (isJoker(deck.deck.cardAt(k))) jokerAt = k;
    }
    ASSERT_GE(jokerAt, 0);
    for (int k = 0; k < jokerAt; ++k) deck.drawCard();

    Player p;
    p.init(true);
    dealHand(p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
    const Card five = C(4, 2);
    p.setPending(0, Player::PendingReplace, 0, &kJoker);
    p.setPending(1, Player::PendingReplace, 0, &five);
    p.setDummy(3, 2);
    p.setPending(3, Player::PendingRedraw, 0, nullptr);
    p.hand[3].held = true;
    const Card next = deck.deck.cardAt(1);
    p.setPending(4, Player::PendingRedraw, 0, nullptr);
    const int before = deck.remainingCards();
    p.applyPendingChanges(deck);

    EXPECT_EQ(p.hand[0].card, kJoker);
    EXPECT_TRUE(p.hand[0].held);
    EXPECT_EQ(p.hand[1].card, five);
    EXPECT_FALSE(p.hand[1].held);
    EXPECT_TRUE(SameRect(p.hand[1].cardImage.sourceRect, ImageCard::FaceRect(4, 2)));
    EXPECT_FALSE(p.hand[1].cardImage.tweening());  // silently: no animation

    EXPECT_EQ(deck.remainingCards(), before - 2);
    EXPECT_EQ(p.hand[3].card, kJoker);
    EXPECT_FALSE(p.hand[3].held);  // drawn, not placed: not held
    EXPECT_FALSE(p.hand[3].dummy);
    EXPECT_FALSE(p.hand[3].cardImage.specialFace);
    EXPECT_EQ(p.hand[4].card, next);
    // Kind 2 deals with its sound, 5 frames apart.
    EXPECT_FLOAT_EQ(p.hand[3].cardImage.position.x, 280.0f);
    EXPECT_TRUE(played("se_carddraw.wav"));
    EXPECT_EQ(sound().PendingSeCount(), 1u);
    EXPECT_FLOAT_EQ(p.hand[4].cardImage.alpha, 0.0f);
    for (const PendingChange& c : p.pending) EXPECT_EQ(c.kind, 0);
}

TEST_F(PlayerTest, Kind3And5AndUnknownKinds) {
    Player p;
    p.init(true);
    dealHand(p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
    p.setPending(0, Player::PendingDummy, 3, nullptr);
    p.setDummy(1, 2);
    const Card prepared = C(9, 1);
    p.setPending(1, Player::PendingPrepared, 0, &prepared);
    p.setPending(2, 9, 4, &prepared);  // no such kind
    p.setPending(7, Player::PendingDummy, 3, nullptr);  // no such slot
    p.hand[4].cardImage.visible = false;
    p.applyPendingChanges(Player::CardProducer{});

    EXPECT_TRUE(p.hand[0].dummy);
    EXPECT_TRUE(p.hand[0].held);
    EXPECT_TRUE(p.hand[0].frozen);
    EXPECT_EQ(p.hand[0].frozenTurns, 3);

    EXPECT_EQ(p.hand[1].card, prepared);
    EXPECT_FALSE(p.hand[1].dummy);
    EXPECT_TRUE(p.hand[1].held);
    EXPECT_TRUE(SameRect(p.hand[1].cardImage.sourceRect, ImageCard::FaceRect(9, 1)));
    EXPECT_TRUE(p.hand[4].cardImage.visible);  // every card is shown again
    EXPECT_TRUE(played("se_carddraw.wav"));

    EXPECT_EQ(p.hand[2].card, C(7, 2));
    EXPECT_FALSE(p.hand[2].held);
    for (const PendingChange& c : p.pending) EXPECT_EQ(c.kind, 0);

    // clearPending drops kind and param; the card is kept.
    p.setPending(3, Player::PendingReplace, 4, &prepared);
    p.clearPending();
    EXPECT_EQ(p.pending[3].kind, 0);
    EXPECT_EQ(p.pending[3].param, 0);
    p.applyPendingChanges(Player::CardProducer{});
    EXPECT_EQ(p.hand[3].card, C(10, 3));
}

TEST_F(PlayerTest, ShiftValueWrapsBetweenKingAndAceAndLeavesJokersAndDummies) {
    Player p;
    p.init(true);
    dealHand(p, {C(12, 2), C(0, 3), kJoker, C(4, 1), C(6, 0)});
    p.setDummy(4, 2);
    p.shiftValue(0, +1);
    p.shiftValue(1, -1);
    p.shiftValue(2, +1);
    p.shiftValue(3, -1);
    p.shiftValue(4, +1);
    EXPECT_EQ(p.pending[0].kind, 1);
    EXPECT_EQ(p.pending[0].card, C(0, 2));
    EXPECT_EQ(p.pending[1].kind, 1);
    EXPECT_EQ(p.pending[1].card, C(12, 3));
    EXPECT_EQ(p.pending[2].kind, 0);
    EXPECT_EQ(p.pending[3].card, C(3, 1));
    EXPECT_EQ(p.pending[4].kind, 0);
    p.applyPendingChanges(Player::CardProducer{});
    EXPECT_EQ(p.hand[0].card, C(0, 2));
    EXPECT_TRUE(p.hand[4].dummy);
    EXPECT_EQ(p.hand[4].card, kDummyCard);
}

TEST_F(PlayerTest, PrepareCopyOfHeldCopiesARandomHeldRealCard) {
    Player p;
    p.init(false);
    dealHand(p, {C(11, 2), C(3, 1), C(5, 0), C(8, 3), C(2, 0)});
    p.hand[0].held = true;  // the only held real card: the queen of suit 2
    p.setDummy(1, 2);
    p.hand[1].held = true;  // a held dummy is never the reference
    std::set<int> values;
    std::set<int> suits;
    for (int round = 0; round < 60; ++round) {
        p.prepareCopyOfHeld(4, true, false);
        EXPECT_EQ(p.pending[4].kind, 5);
        EXPECT_EQ(p.pending[4].card.value, 11);
        suits.insert(p.pending[4].card.suit);
        p.prepareCopyOfHeld(4, false, true);
        EXPECT_EQ(p.pending[4].card.suit, 2);
        values.insert(p.pending[4].card.value);
        ASSERT_GE(p.pending[4].card.value, 0);
        ASSERT_LE(p.pending[4].card.value, 12);
    }
    EXPECT_EQ(suits.size(), 4u);
    EXPECT_GT(values.size(), 8u);
    p.prepareCopyOfHeld(3, true, true);
    EXPECT_EQ(p.pending[3].card, C(11, 2));
    // A joker is copied as it is.
    p.hand[0].card = kJoker;
    p.prepareCopyOfHeld(3, false, false);
    EXPECT_EQ(p.pending[3].card, kJoker);
}

TEST_F(PlayerTest, PrepareCopyOfHeldReturnsWhenNoSlotCanBeTheReference) {
    Player p;
    p.init(false);
    dealHand(p, {C(11, 2), C(3, 1), C(5, 0), C(8, 3), C(2, 0)});
    p.setDummy(1, 2);
    p.hand[1].held = true;  // held, but a dummy; nothing else held
    int code = -1;
    const bool finished = FinishesWithin(
        [&p] {
            p.prepareCopyOfHeld(4, true, true);
            return p.pending[4].kind == 0 ? 0 : 1;
        },
        5000, &code);
    ASSERT_TRUE(finished) << "prepareCopyOfHeld did not return";
    EXPECT_EQ(code, 0) << "something was prepared without a reference card";
}

TEST_F(PlayerTest, FixedHandGivesFiveAcesAtTheExchange) {
    Player p;
    p.init(false);
    dealHand(p, {C(11, 2), C(3, 1), C(5, 0), C(8, 3), C(2, 0)});
    p.hand[0].held = true;
    p.hand[2].held = true;
    p.prepareFixedHand();
    EXPECT_EQ(p.countHeld(), 0);
    ListProducer none;
    EXPECT_EQ(p.exchangeUnheld(none.fn()), 5);
    EXPECT_EQ(none.calls, 0);
    EXPECT_EQ(p.evaluateHand(), (HandResult{8, 13}));
}

// ---- Opponent's hold decision --------------------------------------------------------------------

struct HoldCase {
    const char* name;
    std::array<Card, 5> cards;
    int opponent;
    int deck;
    std::array<bool, 5> held;
};

class DecideHolds : public PlayerTest, public ::testing::WithParamInterface<HoldCase> {};

TEST_P(DecideHolds, KeepsTheExpectedCards) {
    const HoldCase& c = GetParam();
    Player p;
    p.init(false);
    p.opponentIndex = c.opponent;
    dealHand(p, c.cards);
    for (HandSlot& s : p.hand) s.held = true;  // cleared first
    p.decideHolds(c.deck);
    EXPECT_EQ(Holds(p), c.held) << c.name;
}

constexpr bool T = true;
constexpr bool F = false;

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
        HoldCase{"flush draw is not limited to the deck", {C(1, 3), C(5, 3), C(10, 0), C(8, 3), C(11, 3)}, 0, 2, {T, T, F, T, T}},
        HoldCase{"straight draw is not limited to the deck", {C(4, 0), C(12, 1), C(5, 1), C(6, 2), C(7, 3)}, 0, 1, {T, F, T, T, T}},
        // The lowest window counts its bottom place as filled: 2-3-4 make a draw and two cards go.
        HoldCase{"low window", {C(1, 0), C(12, 1), C(2, 2), C(3, 3), C(8, 0)}, 0, 40, {T, F, T, T, F}},
        // ... but never more than the deck holds.
        HoldCase{"low window, deck of 1", {C(1, 0), C(12, 1), C(2, 2), C(3, 3), C(8, 0)}, 0, 1, {T, F, T, T, T}}),
    [](const ::testing::TestParamInfo<HoldCase>& info) { return "case" + std::to_string(info.index); });

TEST_F(PlayerTest, DummyRulesOutFlushAndStraightDraws) {
    Player p;
    p.init(false);
    dealHand(p, {C(1, 3), C(5, 3), C(10, 0), C(8, 3), C(11, 3)});
    p.setDummy(2, 2);
    p.decideHolds(40);
    EXPECT_EQ(Holds(p), (std::array<bool, 5>{F, F, F, F, F}));
    // A pair is still kept, and the dummy itself is never chosen.
    p.hand[0].card = C(5, 1);
    p.decideHolds(40);
    EXPECT_EQ(Holds(p), (std::array<bool, 5>{T, T, F, F, F}));
}

// ---- Medals --------------------------------------------------------------------------------------

TEST_F(PlayerTest, MedalsCountOnTheDisplayOver60Frames) {
    Player p;
    p.init(true);
    p.setMedals(1000);
    EXPECT_EQ(p.medalNumber.shown, 1000);
    EXPECT_FALSE(p.isBusy());
    p.addMedals(600);
    EXPECT_EQ(p.medals, 1600);
    EXPECT_TRUE(p.isBusy());
    p.draw(0, 0, 0);
    EXPECT_EQ(p.medalNumber.shown, 1010);
    for (int f = 1; f < 30; ++f) p.draw(0, 0, 0);
    EXPECT_EQ(p.medalNumber.shown, 1300);
    // A change in mid-count starts from what is shown.
    p.removeMedals(1900);
    EXPECT_EQ(p.medals, -300);  // not clamped
    p.draw(0, 0, 0);
    EXPECT_EQ(p.medalNumber.shown, 1300 - 1300 / 60);
    for (int f = 1; f < 60; ++f) p.draw(0, 0, 0);
    EXPECT_EQ(p.medalNumber.shown, 0);  // shown clamped at 0
    EXPECT_FALSE(p.isBusy());
    p.addMedals(2147483647);
    EXPECT_EQ(p.medals, 2147483647 - 300);
    p.addMedals(1000);
    EXPECT_EQ(p.medals, 2147483647);  // saturates instead of wrapping
}

// ---- Drawing and display ----------------------------------------------------------------------------

TEST_F(PlayerTest, DrawShowsFramesOnFrozenCardsAndHoldMarkersOnTheHumanSideOnly) {
    Player human;
    human.init(true);
    Player opponent;
    opponent.init(false);
    for (Player* p : {&human, &opponent}) {
        dealHand(*p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
        p->hand[0].held = true;
        p->hand[1].held = true;
        p->hand[1].frozen = true;
        p->draw(0, 0, 0);
    }
    EXPECT_TRUE(human.hand[0].holdMarker.visible);
    EXPECT_FLOAT_EQ(human.hand[0].holdMarker.position.x, 29.0f);
    EXPECT_FLOAT_EQ(human.hand[0].holdMarker.position.y, 499.0f);
    EXPECT_FALSE(human.hand[0].frozenFrame.visible);
    EXPECT_TRUE(human.hand[1].frozenFrame.visible);
    EXPECT_FLOAT_EQ(human.hand[1].frozenFrame.position.x, 145.0f);
    EXPECT_FLOAT_EQ(human.hand[1].frozenFrame.position.y, 435.0f);
    EXPECT_FALSE(human.hand[2].holdMarker.visible);
    EXPECT_FALSE(opponent.hand[0].holdMarker.visible);
    EXPECT_TRUE(opponent.hand[1].frozenFrame.visible);
    human.hand[1].frozen = false;
    human.draw(0, 0, 0);
    EXPECT_FALSE(human.hand[1].frozenFrame.visible);
    EXPECT_TRUE(human.hand[1].holdMarker.visible);

    // Cards are drawn from the right, so the leftmost lies on top.
    human.clearHoldAndFreeze();
    headless->ClearQuads();
    human.draw(0, 0, 0);
    std::vector<float> xs;
    for (const auto& q : headless->Quads()) {
        // Quads carry the half-pixel shift of the sprite drawer.
        if (q.quad.v[0].y == 439.5f) xs.push_back(q.quad.v[0].x + 0.5f);
    }
    EXPECT_EQ(xs, (std::vector<float>{480.0f, 370.0f, 260.0f, 150.0f, 40.0f}));
}

TEST_F(PlayerTest, OpponentCardsStayFaceDownUntilRevealedOrSeenThrough) {
    Player p;
    p.init(false);
    dealHand(p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
    for (const HandSlot& s : p.hand) EXPECT_TRUE(SameRect(s.cardImage.sourceRect, ImageCard::BackRect()));

    p.showTranslucentCopies(true);
    for (int i = 0; i < 5; ++i) {
        const ImageCard& copy = p.translucentCopies[static_cast<size_t>(i)].cardImage;
        EXPECT_TRUE(copy.visible);
        EXPECT_FLOAT_EQ(copy.position.x, p.hand[static_cast<size_t>(i)].cardImage.position.x);
        EXPECT_TRUE(SameRect(copy.sourceRect, ImageCard::FaceRect(p.hand[static_cast<size_t>(i)].card.value,
                                                                  p.hand[static_cast<size_t>(i)].card.suit)));
    }
    for (int f = 0; f < 10; ++f) p.update();
    EXPECT_NEAR(p.translucentCopies[0].cardImage.alpha, 0.7f * 9 / 20, 1e-5);
    for (int f = 0; f < 11; ++f) p.update();
    EXPECT_FLOAT_EQ(p.translucentCopies[0].cardImage.alpha, 0.7f);
    EXPECT_FALSE(p.isBusy());  // the copies do not hold up the match

    // A card changed by an ability while seen through shows its new face on the copy.
    p.setPending(2, Player::PendingReplace, 0, &kJoker);
    p.applyPendingChanges(Player::CardProducer{});
    EXPECT_TRUE(SameRect(p.translucentCopies[2].cardImage.sourceRect, ImageCard::FaceRect(13, 0)));
    EXPECT_TRUE(SameRect(p.hand[2].cardImage.sourceRect, ImageCard::BackRect()));

    p.flipAllFaceUp();
    for (const auto& copy : p.translucentCopies) EXPECT_FALSE(copy.cardImage.visible);
    EXPECT_TRUE(p.isBusy());
    settle(p);
    EXPECT_FALSE(p.isBusy());
    for (const HandSlot& s : p.hand) {
        EXPECT_TRUE(SameRect(s.cardImage.sourceRect, ImageCard::FaceRect(s.card.value, s.card.suit)));
        EXPECT_FLOAT_EQ(s.cardImage.rotation.y, 0.0f);
    }

    p.resetHandFaces();
    for (const HandSlot& s : p.hand) {
        EXPECT_FALSE(s.cardImage.visible);
        EXPECT_FALSE(s.cardImage.faceUp);
        EXPECT_EQ(s.card, Card{});
    }
}

TEST_F(PlayerTest, DealAnimationWaitsInvisibleThenFliesToItsSlot) {
    Player p;
    p.init(true);
    p.dealCard(3, C(7, 1), 10);
    const ImageCard& img = p.hand[3].cardImage;
    EXPECT_TRUE(img.visible);
    EXPECT_FLOAT_EQ(img.alpha, 0.0f);
    EXPECT_EQ(sound().PendingSeCount(), 1u);
    for (int f = 0; f < 10; ++f) p.update();  // the delay
    EXPECT_FLOAT_EQ(img.position.x, 280.0f);
    EXPECT_FLOAT_EQ(img.alpha, 0.0f);
    p.update();
    p.update();
    EXPECT_FLOAT_EQ(img.alpha, 1.0f);
    EXPECT_TRUE(p.isBusy());
    for (int f = 0; f < 8; ++f) p.update();
    EXPECT_LT(img.position.x, 370.0f);
    p.update();
    EXPECT_FLOAT_EQ(img.position.x, 370.0f);
    EXPECT_FLOAT_EQ(img.position.y, 440.0f);
    EXPECT_FALSE(p.isBusy());
}

}  // namespace
}  // namespace playertest

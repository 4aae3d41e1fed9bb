// The Player as the match sees it: the hand's sprites and sounds kept in step with its rules.
// The rules alone are tested in tests/cards/hand_state_test.cpp.
#include <set>
#include <vector>

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

// ---- Holding by clicks ----------------------------------------------------------------------------

TEST_F(PlayerTest, ClickingTogglesFreeCardsAndAnswersFrozenCardsWithCancel) {
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

    // Frozen by kind 4, and a dummy planted for 2 turns (frozen while they last).
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
    // The dummy's turns run out: no longer frozen, it toggles like any card.
    for (int t = 0; t < 3; ++t) p.tickFrozenTurns();
    ASSERT_TRUE(p.hand[2].dummy);
    ASSERT_FALSE(p.hand[2].frozen);
    auto [x2, y2] = centre(p, 2);
    p.toggleHoldAt(x2, y2);
    EXPECT_TRUE(p.hand[2].held);
    EXPECT_TRUE(played("se_hold.wav"));
    EXPECT_FALSE(played("se_cancel.wav"));

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

TEST_F(PlayerTest, DummySpritesShowTheirOwnPicturesAndEndOnTheSlotsCard) {
    for (uint32_t seed = 0; seed < 50; ++seed) {
        Random::Instance().Seed(seed);
        Player p;
        p.init(true);
        for (int slot = 0; slot < 5; ++slot) p.setDummy(slot, 2);
        for (int slot = 0; slot < 5; ++slot) {
            const ImageCard& img = p.cardSprite(slot);
            const int face = p.hand[static_cast<size_t>(slot)].dummyFace;
            ASSERT_TRUE(img.specialFace);
            EXPECT_EQ(img.specialIndex, face);
            EXPECT_TRUE(SameRect(img.sourceRect, ImageCard::SpecialRect(face)));
        }
    }
    // On the opponent's side a dummy lies face down like any other card; its see-through copy
    // shows the picture.
    Player o;
    o.init(false);
    o.setDummy(3, 2);
    EXPECT_TRUE(SameRect(o.cardSprite(3).sourceRect, ImageCard::BackRect()));
    EXPECT_TRUE(SameRect(o.copySprite(3).sourceRect, ImageCard::SpecialRect(o.hand[3].dummyFace)));
    // Ending the dummy shows the slot's own card again.
    o.hand[3].card = C(5, 2);
    o.setDummy(3, 0);
    EXPECT_FALSE(o.hand[3].dummy);
    EXPECT_FALSE(o.cardSprite(3).specialFace);
    EXPECT_TRUE(SameRect(o.copySprite(3).sourceRect, ImageCard::FaceRect(5, 2)));
}

// ---- Exchange ----------------------------------------------------------------------------------

TEST_F(PlayerTest, ExchangeDealsTheFreeSlotsFiveFramesApartWithTheirSound) {
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

    EXPECT_EQ(p.fadeOutUnheld(10), 2);
    ListProducer producer{{C(0, 3), kJoker}};
    EXPECT_EQ(p.exchangeUnheld(producer.fn()), 2);
    EXPECT_EQ(producer.calls, 2);
    EXPECT_EQ(p.hand[2].card, kJoker);
    EXPECT_FALSE(p.hand[2].dummy);
    EXPECT_FALSE(p.cardSprite(2).specialFace);
    EXPECT_TRUE(SameRect(p.cardSprite(2).sourceRect, ImageCard::FaceRect(13, 0)));
    EXPECT_TRUE(SameRect(p.cardSprite(0).sourceRect, ImageCard::FaceRect(0, 3)));
    EXPECT_FALSE(p.cardSprite(1).tweening());  // kept cards stay where they are

    // The first card leaves the pile at once with its sound; the second 5 frames later.
    EXPECT_TRUE(played("se_carddraw.wav"));
    EXPECT_EQ(sound().PendingSeCount(), 1u);
    EXPECT_FLOAT_EQ(p.cardSprite(0).alpha, 1.0f);
    EXPECT_FLOAT_EQ(p.cardSprite(2).alpha, 0.0f);
    EXPECT_FLOAT_EQ(p.cardSprite(2).position.x, 280.0f);
    for (int f = 0; f < 5; ++f) sound().UpdateSe();
    EXPECT_TRUE(played("se_carddraw.wav"));
    settle(p);
    EXPECT_FALSE(p.isBusy());
    EXPECT_FLOAT_EQ(p.cardSprite(2).alpha, 1.0f);
    EXPECT_FLOAT_EQ(p.cardSprite(2).position.x, 260.0f);
    EXPECT_FLOAT_EQ(p.cardSprite(2).position.y, 440.0f);
}

TEST_F(PlayerTest, PreparedCardFadesInSilentlyAtItsPlace) {
    Player p;
    p.init(false);
    dealHand(p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
    const Card prepared = C(0, 2);
    p.setPending(1, Player::PendingPrepared, 0, &prepared);
    ListProducer producer{{C(3, 3), C(5, 3), C(6, 3), C(8, 3)}};
    EXPECT_EQ(p.exchangeUnheld(producer.fn()), 5);
    EXPECT_EQ(p.hand[1].card, prepared);
    // Faded in at its own place (after 5 frames), not flown in from the pile.
    EXPECT_FLOAT_EQ(p.cardSprite(1).position.x, 190.0f);
    EXPECT_FLOAT_EQ(p.cardSprite(1).alpha, 0.0f);
    EXPECT_EQ(sound().PendingSeCount(), 3u);  // slots 2, 3, 4; slot 0 plays at once, slot 1 not at all
    // The opponent's new cards lie face down.
    EXPECT_TRUE(SameRect(p.cardSprite(0).sourceRect, ImageCard::BackRect()));
    settle(p);
    EXPECT_FLOAT_EQ(p.cardSprite(1).alpha, 1.0f);
}

TEST_F(PlayerTest, FadeOutStopsAfterTheFirstCardWhenTheDeckIsEmpty) {
    Player p;
    p.init(true);
    dealHand(p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
    p.hand[0].held = true;
    EXPECT_EQ(p.fadeOutUnheld(0), 1);
    EXPECT_TRUE(p.cardSprite(1).tweening());
    EXPECT_FALSE(p.cardSprite(2).tweening());
    EXPECT_EQ(p.fadeOutUnheld(3), 4);
    for (int f = 0; f < 21; ++f) p.update();
    EXPECT_FLOAT_EQ(p.cardSprite(3).alpha, 0.0f);
    EXPECT_FLOAT_EQ(p.cardSprite(0).alpha, 1.0f);
    // A card faded out and then redrawn by kind 2 arrives visible.
    p.setPending(3, Player::PendingRedraw, 0, nullptr);
    ListProducer producer{{C(6, 1)}};
    p.applyPendingChanges(producer.fn());
    EXPECT_FLOAT_EQ(p.cardSprite(3).alpha, 1.0f);
}

// ---- Pending changes ---------------------------------------------------------------------------

TEST_F(PlayerTest, Kind1ChangesTheFaceSilentlyWhileKind2DealsFromTheDeck) {
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
    const Card next = deck.deck.cardAt(1);
    p.setPending(4, Player::PendingRedraw, 0, nullptr);
    const int before = deck.remainingCards();
    p.applyPendingChanges(deck);

    EXPECT_TRUE(p.hand[0].held);
    EXPECT_TRUE(SameRect(p.cardSprite(0).sourceRect, ImageCard::FaceRect(13, 0)));
    EXPECT_TRUE(SameRect(p.cardSprite(1).sourceRect, ImageCard::FaceRect(4, 2)));
    EXPECT_FALSE(p.cardSprite(1).tweening());  // silently: no animation

    EXPECT_EQ(deck.remainingCards(), before - 2);
    EXPECT_EQ(p.hand[3].card, kJoker);
    EXPECT_FALSE(p.cardSprite(3).specialFace);
    EXPECT_TRUE(SameRect(p.cardSprite(3).sourceRect, ImageCard::FaceRect(13, 0)));
    EXPECT_EQ(p.hand[4].card, next);
    // Kind 2 deals with its sound, 5 frames apart.
    EXPECT_FLOAT_EQ(p.cardSprite(3).position.x, 280.0f);
    EXPECT_TRUE(played("se_carddraw.wav"));
    EXPECT_EQ(sound().PendingSeCount(), 1u);
    EXPECT_FLOAT_EQ(p.cardSprite(4).alpha, 0.0f);
}

TEST_F(PlayerTest, Kind3ShowsADummyAndKind5DealsThePreparedCardWithEveryCardShown) {
    Player p;
    p.init(true);
    dealHand(p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
    p.setPending(0, Player::PendingDummy, 3, nullptr);
    p.setDummy(1, 2);
    const Card prepared = C(9, 1);
    p.setPending(1, Player::PendingPrepared, 0, &prepared);
    p.cardSprite(4).visible = false;
    p.applyPendingChanges(Player::CardProducer{});

    EXPECT_TRUE(p.cardSprite(0).specialFace);
    EXPECT_TRUE(SameRect(p.cardSprite(0).sourceRect, ImageCard::SpecialRect(p.hand[0].dummyFace)));
    EXPECT_FALSE(p.cardSprite(0).tweening());  // planted in place

    EXPECT_FALSE(p.cardSprite(1).specialFace);
    EXPECT_TRUE(SameRect(p.cardSprite(1).sourceRect, ImageCard::FaceRect(9, 1)));
    EXPECT_FLOAT_EQ(p.cardSprite(1).position.x, 280.0f);  // dealt from the pile
    EXPECT_TRUE(p.cardSprite(4).visible);                  // every card is shown again
    EXPECT_TRUE(played("se_carddraw.wav"));
    EXPECT_EQ(sound().PendingSeCount(), 0u);
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
    // The display is placed by side.
    EXPECT_FLOAT_EQ(p.medalLabel.position.x, 19.0f);
    Player o;
    o.init(false);
    EXPECT_FLOAT_EQ(o.medalLabel.position.x, 354.0f);
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
    EXPECT_TRUE(human.holdMarker(0).visible);
    EXPECT_FLOAT_EQ(human.holdMarker(0).position.x, 29.0f);
    EXPECT_FLOAT_EQ(human.holdMarker(0).position.y, 499.0f);
    EXPECT_FALSE(human.frozenFrame(0).visible);
    EXPECT_TRUE(human.frozenFrame(1).visible);
    EXPECT_FLOAT_EQ(human.frozenFrame(1).position.x, 145.0f);
    EXPECT_FLOAT_EQ(human.frozenFrame(1).position.y, 435.0f);
    EXPECT_FALSE(human.holdMarker(2).visible);
    EXPECT_FALSE(opponent.holdMarker(0).visible);
    EXPECT_TRUE(opponent.frozenFrame(1).visible);
    human.hand[1].frozen = false;
    human.draw(0, 0, 0);
    EXPECT_FALSE(human.frozenFrame(1).visible);
    EXPECT_TRUE(human.holdMarker(1).visible);

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

    // Clearing the hand hides every card.
    human.clearHand();
    headless->ClearQuads();
    human.draw(0, 0, 0);
    for (const auto& q : headless->Quads()) EXPECT_NE(q.quad.v[0].y, 439.5f);
}

TEST_F(PlayerTest, OpponentCardsStayFaceDownUntilRevealedOrSeenThrough) {
    Player p;
    p.init(false);
    dealHand(p, {C(1, 0), C(4, 1), C(7, 2), C(10, 3), C(12, 0)});
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(SameRect(p.cardSprite(i).sourceRect, ImageCard::BackRect()));

    p.showTranslucentCopies(true);
    for (int i = 0; i < 5; ++i) {
        const ImageCard& copy = p.copySprite(i);
        EXPECT_TRUE(copy.visible);
        EXPECT_FLOAT_EQ(copy.position.x, p.cardSprite(i).position.x);
        EXPECT_TRUE(SameRect(copy.sourceRect, ImageCard::FaceRect(p.hand[static_cast<size_t>(i)].card.value,
                                                                  p.hand[static_cast<size_t>(i)].card.suit)));
    }
    for (int f = 0; f < 10; ++f) p.update();
    EXPECT_NEAR(p.copySprite(0).alpha, 0.7f * 9 / 20, 1e-5);
    for (int f = 0; f < 11; ++f) p.update();
    EXPECT_FLOAT_EQ(p.copySprite(0).alpha, 0.7f);
    EXPECT_FALSE(p.isBusy());  // the copies do not hold up the match

    // A card changed by an ability while seen through shows its new face on the copy.
    p.setPending(2, Player::PendingReplace, 0, &kJoker);
    p.applyPendingChanges(Player::CardProducer{});
    EXPECT_TRUE(SameRect(p.copySprite(2).sourceRect, ImageCard::FaceRect(13, 0)));
    EXPECT_TRUE(SameRect(p.cardSprite(2).sourceRect, ImageCard::BackRect()));

    p.flipAllFaceUp();
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(p.copySprite(i).visible);
    EXPECT_TRUE(p.isBusy());
    settle(p);
    EXPECT_FALSE(p.isBusy());
    for (int i = 0; i < 5; ++i) {
        const HandSlot& s = p.hand[static_cast<size_t>(i)];
        EXPECT_TRUE(SameRect(p.cardSprite(i).sourceRect, ImageCard::FaceRect(s.card.value, s.card.suit)));
        EXPECT_FLOAT_EQ(p.cardSprite(i).rotation.y, 0.0f);
    }

    p.resetHandFaces();
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(p.cardSprite(i).visible);
        EXPECT_FALSE(p.cardSprite(i).faceUp);
        EXPECT_EQ(p.hand[static_cast<size_t>(i)].card, Card{});
    }
}

TEST_F(PlayerTest, DealAnimationWaitsInvisibleThenFliesToItsSlot) {
    Player p;
    p.init(true);
    p.dealCard(3, C(7, 1), 10);
    const ImageCard& img = p.cardSprite(3);
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

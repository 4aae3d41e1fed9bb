// The hosts' decisions: each rule at each of its events, the draws it makes in order and range,
// every branch including the refusals, the opponent-acted rule and the guarded draw-again loops.
#include "abilities_fixture.h"
#include "cards/player_abilities.h"
#include "scenes/match/opponent_abilities.h"

using abilitytest::AbilityTest;
using abilitytest::R;

namespace {

const int kAllEvents[] = {SceneGame::EventTurnStart,         SceneGame::EventAfterPlayerDraw,
                          SceneGame::EventOpponentDraw,      SceneGame::EventPlayerPressedDraw,
                          SceneGame::EventPlayerLost,        SceneGame::EventShowdown,
                          SceneGame::EventPlayerAbility};

bool AllPending(const Player& p, int kind, int param) {
    for (const PendingChange& c : p.pending) {
        if (c.kind != kind || c.param != param) return false;
    }
    return true;
}

}  // namespace

TEST_F(AbilityTest, HostsActOnlyAtTheirEventsAndOncePerPlayerDraw) {
    // Events each host ignores: no draw, no ability.
    const std::vector<int> quiet[5] = {{1, 2, 3, 6, 7}, {0, 2, 3, 5, 6, 7}, {0, 1, 3, 5, 6, 7}, {1, 2, 5, 6}, {1, 2, 3, 5}};
    for (int o = 0; o < 5; ++o) {
        Open(o);
        for (int e : quiet[o]) {
            Script({});
            EXPECT_EQ(game->opponentReact(e), -1) << o << " " << e;
            EXPECT_TRUE(ranges.empty()) << o << " " << e;
        }
    }
    // Once acted, Pemra stays quiet until the flag is cleared; any call clears pending changes.
    Open(match::kPemra);
    EXPECT_EQ(game->opponentReact(SceneGame::EventPlayerLost), match::LossDoubler);
    EXPECT_TRUE(game->opponentActed);
    EXPECT_EQ(game->storedOpponentAbility, match::LossDoubler);
    Script({});
    for (int e : kAllEvents) EXPECT_EQ(game->opponentReact(e), -1);
    game->opponentActed = false;
    game->human.setPending(2, Player::PendingRedraw, 0, nullptr);
    Script({5, 7});
    EXPECT_EQ(game->opponentReact(SceneGame::EventTurnStart), -1);
    EXPECT_EQ(game->human.pending[2].kind, Player::PendingNone);
}

TEST_F(AbilityTest, PemraFreezesSealsAndDoublesLosses) {
    Open(match::kPemra);
    Script({0});
    EXPECT_EQ(game->opponentReact(SceneGame::EventTurnStart), match::DeepFreeze);
    EXPECT_EQ(ranges, R({{0, 255}}));
    EXPECT_TRUE(AllPending(game->human, Player::PendingFreeze, 3));
    EXPECT_TRUE(game->sealed);
    EXPECT_EQ(game->sealTurns, 3);

    struct Case {
        int s, used;
    } cases[] = {{0, match::FreezeGust}, {1, match::SealWard}, {2, -1}, {7, -1}};
    for (const Case& c : cases) {
        Open(match::kPemra);
        Script({1, c.s});
        EXPECT_EQ(game->opponentReact(SceneGame::EventTurnStart), c.used) << c.s;
        EXPECT_EQ(ranges, R({{0, 255}, {0, 7}}));
        EXPECT_EQ(AllPending(game->human, Player::PendingFreeze, 1), c.used == match::FreezeGust);
        EXPECT_EQ(game->sealed, c.used == match::SealWard);
        if (c.used == match::SealWard) {
            EXPECT_EQ(game->sealTurns, 1);
        }
        EXPECT_EQ(game->opponentActed, c.used >= 0);
    }

    Open(match::kPemra);
    Script({});
    EXPECT_EQ(game->opponentReact(SceneGame::EventPlayerLost), match::LossDoubler);
    EXPECT_EQ(game->pendingMultiplier, 2);
}

TEST_F(AbilityTest, OtselDrawsThreeNumbersThenResetsCursesReapsOrCallsAJoker) {
    // HandReset redraws every unfrozen slot, but only with more than 4 cards in the deck.
    Open(match::kOtsel);
    game->human.hand[1].frozen = true;
    Script({0, 5, 2});
    EXPECT_EQ(game->opponentReact(SceneGame::EventAfterPlayerDraw), match::HandReset);
    EXPECT_EQ(ranges, R({{0, 255}, {0, 7}, {0, 3}}));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(game->human.pending[static_cast<size_t>(i)].kind, i == 1 ? Player::PendingNone : Player::PendingRedraw);
    }
    Open(match::kOtsel);
    DeckOf(4);
    Script({0, 0, 0});
    EXPECT_EQ(game->opponentReact(SceneGame::EventAfterPlayerDraw), -1);
    EXPECT_FALSE(game->opponentActed);

    // JokerCall on the drawn slot; refused while Otsel holds a joker, or on a dummy.
    Open(match::kOtsel);
    Script({1, 0, 3, 2});
    EXPECT_EQ(game->opponentReact(SceneGame::EventAfterPlayerDraw), match::JokerCall);
    EXPECT_EQ(ranges, R({{0, 255}, {0, 7}, {0, 3}, {0, 4}}));
    EXPECT_EQ(game->opponent.pending[2].kind, Player::PendingReplace);
    EXPECT_EQ(game->opponent.pending[2].card, kJokerCard);
    EXPECT_EQ(game->targetSlot, 2);
    Open(match::kOtsel);
    game->opponent.hand[4].card = kJokerCard;
    Script({1, 0, 3});
    EXPECT_EQ(game->opponentReact(SceneGame::EventAfterPlayerDraw), -1);
    EXPECT_EQ(ranges.size(), 3u);
    Open(match::kOtsel);
    game->opponent.setDummy(2, 2);
    Script({1, 0, 3, 2});
    EXPECT_EQ(game->opponentReact(SceneGame::EventAfterPlayerDraw), -1);

    // DummyCurse on the player's slot; refused while a player card is frozen.
    Open(match::kOtsel);
    Script({1, 1, 3, 4});
    EXPECT_EQ(game->opponentReact(SceneGame::EventAfterPlayerDraw), match::DummyCurse);
    EXPECT_EQ(game->human.pending[4].kind, Player::PendingDummy);
    EXPECT_EQ(game->human.pending[4].param, 3);
    EXPECT_EQ(game->targetSlot, 4);
    Open(match::kOtsel);
    game->human.hand[0].frozen = true;
    Script({1, 1, 3});
    EXPECT_EQ(game->opponentReact(SceneGame::EventAfterPlayerDraw), -1);
    EXPECT_EQ(ranges.size(), 3u);
    Open(match::kOtsel);  // Otsel's own dummy at the slot: used, but the curse misses
    game->opponent.setDummy(1, 2);
    Script({1, 1, 3, 1});
    EXPECT_EQ(game->opponentReact(SceneGame::EventAfterPlayerDraw), match::DummyCurse);
    EXPECT_EQ(game->human.pending[1].kind, Player::PendingNone);

    // CardReaper redraws a slot that is neither frozen nor a dummy, drawing again until it fits.
    Open(match::kOtsel);
    game->human.hand[0].frozen = true;
    game->human.setDummy(3, 2);
    Script({1, 2, 0, 0, 3, 2});
    EXPECT_EQ(game->opponentReact(SceneGame::EventAfterPlayerDraw), match::CardReaper);
    EXPECT_EQ(ranges, R({{0, 255}, {0, 7}, {0, 3}, {0, 4}, {0, 4}, {0, 4}}));
    EXPECT_EQ(game->human.pending[2].kind, Player::PendingRedraw);
    for (int setUp = 0; setUp < 2; ++setUp) {  // refused: empty deck, or every slot frozen
        Open(match::kOtsel);
        if (setUp == 0) DeckOf(0);
        if (setUp == 1) {
            for (HandSlot& h : game->human.hand) h.frozen = true;
        }
        Script({1, 2, 0});
        EXPECT_EQ(game->opponentReact(SceneGame::EventAfterPlayerDraw), -1) << setUp;
    }
    Open(match::kOtsel);
    Script({1, 2, 1});
    EXPECT_EQ(game->opponentReact(SceneGame::EventAfterPlayerDraw), -1);
}

TEST_F(AbilityTest, QuenvarCompletesFiveAcesOnAThinDeckOrCopiesAHeldCard) {
    // Five aces: only with fewer than five cards left, freezes and holds cleared.
    Open(match::kQuenvar);
    DeckOf(3);
    game->opponent.hand[0].frozen = true;
    game->opponent.hand[0].held = true;
    Script({0});
    EXPECT_EQ(game->opponentReact(SceneGame::EventOpponentDraw), match::FiveAces);
    EXPECT_EQ(ranges, R({{0, 255}}));
    for (const PendingChange& p : game->opponent.pending) {
        EXPECT_EQ(p.kind, Player::PendingPrepared);
        EXPECT_EQ(p.card, (Card{0, 0}));
    }
    EXPECT_FALSE(game->opponent.hand[0].frozen);
    // Committed and exchanged with only 3 cards in the deck: five aces, no card drawn.
    game->opponent.applyPendingChanges(game->stock);
    game->opponent.exchangeUnheld([this] { return game->stock.drawCard(); });
    EXPECT_EQ(game->opponent.evaluateHand().rank, HandRankFiveCards);
    EXPECT_EQ(game->stock.remainingCards(), 3);

    // The copies: slot 0 and 1 held, the first unheld slot (2) gets the copy.
    auto holdTwo = [this] {
        game->opponent.hand[0].held = true;
        game->opponent.hand[1].held = true;
    };
    struct Case {
        std::initializer_list<int> draws;
        int used;
        Card copy;
    } cases[] = {
        // r, r1, r2, reference slot (drawn again until held), then value or suit
        {{0, 0, 5, 3, 1, 11}, match::SuitCopy, Card{11, 1}},
        {{9, 1, 0, 0, 2}, match::RankCopy, Card{6, 2}},
        {{9, 2, 0, 4, 4, 1}, match::CardCopy, Card{7, 1}},
    };
    for (const Case& c : cases) {
        Open(match::kQuenvar);
        holdTwo();
        script.assign(c.draws.begin(), c.draws.end());
        ranges.clear();
        EXPECT_EQ(game->opponentReact(SceneGame::EventOpponentDraw), c.used);
        EXPECT_TRUE(script.empty()) << c.used;
        EXPECT_EQ(game->opponent.pending[2].kind, Player::PendingPrepared) << c.used;
        EXPECT_EQ(game->opponent.pending[2].card, c.copy) << c.used;
        EXPECT_EQ(game->targetSlot, 2);
    }
    Open(match::kQuenvar);
    holdTwo();
    Script({9, 2, 1});
    EXPECT_EQ(game->opponentReact(SceneGame::EventOpponentDraw), -1);
    EXPECT_EQ(ranges, R({{0, 255}, {0, 3}, {0, 7}}));
    // A joker reference is copied whole, with no value drawn.
    Open(match::kQuenvar);
    holdTwo();
    game->opponent.hand[1].card = kJokerCard;
    Script({9, 0, 0, 1});
    EXPECT_EQ(game->opponentReact(SceneGame::EventOpponentDraw), match::SuitCopy);
    EXPECT_EQ(game->opponent.pending[2].card, kJokerCard);
    // No copy when nothing is held, or everything is.
    Open(match::kQuenvar);
    Script({9});
    EXPECT_EQ(game->opponentReact(SceneGame::EventOpponentDraw), -1);
    Open(match::kQuenvar);
    for (HandSlot& h : game->opponent.hand) h.held = true;
    Script({9});
    EXPECT_EQ(game->opponentReact(SceneGame::EventOpponentDraw), -1);
}

TEST_F(AbilityTest, QuenvarsCopyEndsWhenOnlyDummiesAreHeld) {
    // A held dummy and four loose cards: the copy is due, but no card can be its reference.
    // Drawing the reference again and again would never end; the copy is used without effect.
    Open(match::kQuenvar);
    game->opponent.setDummy(0, 2);
    game->opponent.hand[0].held = true;
    Script({9, 0, 3});
    EXPECT_EQ(game->opponentReact(SceneGame::EventOpponentDraw), match::SuitCopy);
    EXPECT_EQ(ranges, R({{0, 255}, {0, 3}, {0, 7}}));
    for (const PendingChange& p : game->opponent.pending) EXPECT_EQ(p.kind, Player::PendingNone);
    EXPECT_TRUE(game->opponentActed);
}

TEST_F(AbilityTest, IblenLocksCharmsFlipsHoldsAndReflects) {
    Open(match::kIblen);
    Script({0, 5});
    EXPECT_EQ(game->opponentReact(SceneGame::EventTurnStart), match::AbilityLock);
    EXPECT_EQ(ranges, R({{0, 7}, {0, 7}}));
    EXPECT_EQ(game->lockAbility, 5);
    EXPECT_EQ(game->lockRequestTurns, 3);
    EXPECT_TRUE(game->lockApply);

    // CharmForce: the pair is drawn again while the card does not suit the ability.
    Open(match::kIblen);
    game->gauge.setValue(999);
    game->human.hand[1].card = kJokerCard;
    game->human.setDummy(3, 2);
    Script({1, 0, 0, 1, 1, 3, 2, 1, 0, 2});
    EXPECT_EQ(game->opponentReact(SceneGame::EventTurnStart), match::CharmForce);
    EXPECT_EQ(ranges, R({{0, 7}, {0, 15}, {0, 7}, {0, 4}, {0, 7}, {0, 4}, {0, 7}, {0, 4}, {0, 7}, {0, 4}}));
    EXPECT_TRUE(game->forcedAbility);
    EXPECT_EQ(game->selectedAbility, match::AbilityRankUp);
    EXPECT_EQ(game->targetSlot, 2);
    // The forced ability runs as usual, paid and cooled down.
    Activate(game->selectedAbility, game->targetSlot);
    EXPECT_FALSE(game->forcedAbility);
    EXPECT_EQ(game->gauge.value, 949);
    EXPECT_EQ(game->spWindow.cooldowns[0], 2);
    // Not forced when the drawn ability is cooling down, unpaid, or the deck is empty.
    for (int setUp = 0; setUp < 3; ++setUp) {
        Open(match::kIblen);
        game->gauge.setValue(setUp == 1 ? 100 : 999);
        if (setUp == 0) game->spWindow.cooldowns[7] = 1;
        if (setUp == 2) DeckOf(0);
        Script({1, 0, 7, 0});
        EXPECT_EQ(game->opponentReact(SceneGame::EventTurnStart), match::CharmForce) << setUp;
        EXPECT_FALSE(game->forcedAbility) << setUp;
    }
    Open(match::kIblen);
    Script({1, 1});
    EXPECT_EQ(game->opponentReact(SceneGame::EventTurnStart), -1);

    // HoldFlip never leaves more cards to exchange than the deck holds.
    Open(match::kIblen);
    DeckOf(2);
    const bool before[5] = {true, false, true, false, true};
    for (size_t i = 0; i < 5; ++i) game->human.hand[i].held = before[i];
    game->human.hand[4].frozen = true;
    Script({0});
    EXPECT_EQ(game->opponentReact(SceneGame::EventPlayerPressedDraw), match::HoldFlip);
    EXPECT_EQ(ranges, R({{0, 63}}));
    const bool after[5] = {false, true, false, true, true};
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(game->human.hand[i].held, after[i]) << i;
    Open(match::kIblen);
    DeckOf(1);
    for (size_t i = 0; i < 3; ++i) game->human.hand[i].held = true;
    Script({0});
    game->opponentReact(SceneGame::EventPlayerPressedDraw);
    EXPECT_EQ(game->human.countExchangeable(), 1);
    Open(match::kIblen);
    Script({1});
    EXPECT_EQ(game->opponentReact(SceneGame::EventPlayerPressedDraw), -1);

    // ReflectCurse only on the four abilities that can turn on the player.
    for (int a = 0; a < 8; ++a) {
        for (int r : {0, 1}) {
            Open(match::kIblen);
            game->selectedAbility = a;
            Script({r});
            const bool reflects = r == 0 && (a <= 2 || a == 4);
            EXPECT_EQ(game->opponentReact(SceneGame::EventPlayerAbility), reflects ? match::ReflectCurse : -1) << a;
            EXPECT_EQ(game->reflect, reflects) << a;
        }
    }
}

TEST_F(AbilityTest, RoswethMarksBreaksTiesAndAnswersMarkedAbilities) {
    // Turn 1 marks without a draw for the chance; marks are distinct and never TableBomb.
    Open(match::kRosweth);
    game->turn = 1;
    Script({3, 5, 2, 2, 7, 0});
    EXPECT_EQ(game->opponentReact(SceneGame::EventTurnStart), match::GuardMark);
    EXPECT_EQ(ranges, R({{1, 5}, {0, 7}, {0, 7}, {0, 7}, {0, 7}, {0, 7}}));
    const std::array<bool, 8> marks = {true, false, true, false, false, false, false, true};
    EXPECT_EQ(game->guardMarks, marks);
    EXPECT_EQ(game->spWindow.marks, marks);
    EXPECT_FALSE(game->opponentActed);  // Rosweth may act again in the same turn
    game->turn = 2;
    Script({1});
    EXPECT_EQ(game->opponentReact(SceneGame::EventTurnStart), -1);
    EXPECT_EQ(game->guardMarks, marks);
    Script({0, 1, 6});
    EXPECT_EQ(game->opponentReact(SceneGame::EventTurnStart), match::GuardMark);
    const std::array<bool, 8> one = {false, false, false, false, false, false, true, false};
    EXPECT_EQ(game->guardMarks, one);

    // Equal ranks at the showdown: the opponent wins whatever the keys say.
    SetHand(game->human, {Card{0, 0}, Card{0, 1}, Card{12, 2}, Card{4, 3}, Card{5, 0}});
    SetHand(game->opponent, {Card{1, 0}, Card{1, 1}, Card{3, 2}, Card{4, 0}, Card{5, 1}});
    EXPECT_EQ(game->opponentReact(SceneGame::EventShowdown), match::TieBreak);
    EXPECT_EQ(game->counterKind, SceneGame::CounterOpponentWins);
    game->counterKind = SceneGame::CounterNone;
    game->opponent.hand[3].card = Card{1, 2};  // three of a kind beats the pair
    EXPECT_EQ(game->opponentReact(SceneGame::EventShowdown), -1);
    EXPECT_EQ(game->counterKind, SceneGame::CounterNone);

    // Event 7: only a marked ability is answered; the answer waits for the player's animation.
    game->selectedAbility = match::AbilityRankUp;
    Script({});
    EXPECT_EQ(game->opponentReact(SceneGame::EventPlayerAbility), -1);
    game->selectedAbility = match::AbilityDoubleBet;
    Script({0});
    EXPECT_EQ(game->opponentReact(SceneGame::EventPlayerAbility), match::CostDrain);
    EXPECT_TRUE(game->deferredOpponentAnimation);
    EXPECT_EQ(game->counterKind, SceneGame::CounterCostDrain);
    game->deferredOpponentAnimation = false;
    Script({1});
    EXPECT_EQ(game->opponentReact(SceneGame::EventPlayerAbility), match::CooldownLock);
    EXPECT_EQ(game->counterKind, SceneGame::CounterCooldownLock);
    EXPECT_EQ(game->lockRequestTurns, -1);
    EXPECT_EQ(game->storedOpponentAbility, match::CooldownLock);
}

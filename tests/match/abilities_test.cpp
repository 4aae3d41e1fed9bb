// The player's side of the abilities: the menu's usability rule, the target choice with its
// refusals, what each ability queues (and its reflected form), the commit on "appear" in its
// order, the deferred answers of Rosweth, the seal and the opponent panel.
#include "abilities_fixture.h"
#include "cards/player_abilities.h"
#include "scenes/match/opponent_abilities.h"
#include "scenes/match/sheet_layout.h"

using abilitytest::AbilityTest;
using abilitytest::R;

namespace {

// Screen centre of ability k's name label in the open window.
std::pair<int, int> AbilityLabel(int k) { return {670 + 56 + 280 * (k % 2) + 20, 380 + 40 + 30 * (k / 2) + 15}; }

}  // namespace

TEST_F(AbilityTest, RankShiftsWrapBetweenKingAndAceAndTurnUnderReflect) {
    Open(match::kPemra);
    SetHand(game->human, {Card{12, 1}, Card{0, 2}, Card{5, 3}, kJokerCard, Card{7, 0}});
    struct Case {
        int ability, slot;
        bool reflect;
        Card expected;
    } cases[] = {
        {match::AbilityRankUp, 0, false, Card{0, 1}},     // king -> ace
        {match::AbilityRankDown, 1, false, Card{12, 2}},  // ace -> king
        {match::AbilityRankUp, 2, true, Card{4, 3}},      // reflected: down
        {match::AbilityRankDown, 1, true, Card{1, 2}},    // reflected: up
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ability * 10 + c.slot);
        game->reflect = c.reflect;
        Activate(c.ability, c.slot);
        EXPECT_EQ(game->human.pending[static_cast<size_t>(c.slot)].kind, Player::PendingReplace);
        EXPECT_EQ(game->human.pending[static_cast<size_t>(c.slot)].card, c.expected);
        EXPECT_FALSE(game->reflect);  // cleared once the ability starts
    }
    Activate(match::AbilityRankUp, 3);  // a joker is left alone
    EXPECT_EQ(game->human.pending[3].kind, Player::PendingNone);
}

TEST_F(AbilityTest, EachAbilityQueuesItsEffectPaysAndCoolsDown) {
    Open(match::kPemra);
    game->gauge.setValue(999);
    Script({});
    Activate(match::AbilityJokerSwap, 4);
    EXPECT_EQ(game->human.pending[4].kind, Player::PendingReplace);
    EXPECT_EQ(game->human.pending[4].card, kJokerCard);
    EXPECT_EQ(game->spWindow.cooldowns[2], 10);
    EXPECT_EQ(game->gauge.value, 799);
    EXPECT_TRUE(played("se_ability.wav"));

    game->reflect = true;  // reflected JokerSwap: a random own slot becomes a dummy for 3 turns
    Script({1});
    Activate(match::AbilityJokerSwap, 4);
    EXPECT_EQ(ranges, R({{0, 4}}));
    EXPECT_EQ(game->human.pending[1].kind, Player::PendingDummy);
    EXPECT_EQ(game->human.pending[1].param, 3);
    EXPECT_EQ(game->human.pending[4].kind, Player::PendingNone);
    EXPECT_EQ(game->spWindow.cooldowns[2], 20);

    Script({3});
    Activate(match::AbilityDummyCard);
    EXPECT_EQ(game->opponent.pending[3].kind, Player::PendingDummy);
    EXPECT_EQ(game->opponent.pending[3].param, 2);
    game->reflect = true;
    Script({0});
    Activate(match::AbilityDummyCard);
    EXPECT_EQ(game->human.pending[0].kind, Player::PendingDummy);
    EXPECT_EQ(game->opponent.pending[3].kind, Player::PendingNone);  // cleared at the entry

    Activate(match::AbilityDoubleBet);
    EXPECT_EQ(game->pendingMultiplier, 2);
    Activate(match::AbilityDeckPeek);
    EXPECT_EQ(game->pendingDeckPeek, 5);
    EXPECT_EQ(game->matchState, SceneGame::AbilityActivate);
    ActivateNextFrame();
    EXPECT_EQ(game->matchState, SceneGame::PlayerChoice);

    Activate(match::AbilitySeeThrough);
    EXPECT_TRUE(game->seeThroughRequest);
    ActivateNextFrame();
    EXPECT_FALSE(game->seeThroughRequest);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(game->opponent.copySprite(i).visible) << i;
    // Every cost was counted down, and the last one would take the gauge below 0.
    EXPECT_EQ(game->gauge.value, 0);
}

TEST_F(AbilityTest, TableBombEndsTheHandWithoutMovingMedals) {
    Open(match::kOtsel);
    game->human.setMedals(1000);
    game->opponent.setMedals(1000);
    game->bet = 500;
    Activate(match::AbilityTableBomb);
    EXPECT_EQ(game->spWindow.cooldowns[5], 20);
    ActivateNextFrame();
    EXPECT_EQ(game->matchState, SceneGame::NextRound);
    EXPECT_TRUE(game->skipDraw);
    EXPECT_FALSE(game->voidHandRequest);
    EXPECT_EQ(game->human.medals, 1000);
    EXPECT_EQ(game->opponent.medals, 1000);
}

TEST_F(AbilityTest, TargetChoiceRefusesJokersAndDummiesAndBlinksThePrompt) {
    Open(match::kPemra);
    SetHand(game->human, {Card{1, 0}, kJokerCard, Card{3, 2}, Card{4, 3}, Card{5, 0}});
    game->human.setDummy(2, 3);
    struct Case {
        int ability, slot;
        bool accepted;
    } cases[] = {
        {match::AbilityRankUp, 1, false},   {match::AbilityRankUp, 2, false},    {match::AbilityRankDown, 1, false},
        {match::AbilityRankDown, 2, false}, {match::AbilityJokerSwap, 1, false}, {match::AbilityJokerSwap, 2, true},
        {match::AbilityRankUp, 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ability * 10 + c.slot);
        game->selectedAbility = c.ability;
        game->matchState = SceneGame::AbilityTarget;
        game->entered = true;
        clearSoundLog();
        const auto [x, y] = CardCentre(c.slot);
        Press(x, y);
        game->stateAbilityTarget();
        EXPECT_EQ(played("se_cancel.wav"), !c.accepted);
        EXPECT_EQ(played("se_decide.wav"), c.accepted);
        EXPECT_EQ(game->matchState, c.accepted ? SceneGame::AbilityActivate : SceneGame::AbilityTarget);
        if (c.accepted) {
            EXPECT_EQ(game->targetSlot, c.slot);
        }
    }

    // The prompt shows for 20 frames of every 40; a right click goes back to PlayerChoice.
    game->matchState = SceneGame::AbilityTarget;
    game->entered = true;
    NoPress();
    for (int f = 1; f <= 80; ++f) {
        game->stateAbilityTarget();
        game->entered = false;
        EXPECT_EQ(game->selectCardPrompt.visible, f % 40 < 20) << f;
    }
    clearSoundLog();
    Press(10, 10, true);
    game->stateAbilityTarget();
    EXPECT_TRUE(played("se_cancel.wav"));
    EXPECT_FALSE(game->selectCardPrompt.visible);
    EXPECT_EQ(game->matchState, SceneGame::PlayerChoice);
}

TEST_F(AbilityTest, MenuOffersOnlyAbilitiesOffCooldownAndPaidForAndClosesTwoWays) {
    Open(match::kPemra);
    game->gauge.setValue(120);
    game->spWindow.cooldowns[3] = 2;  // SeeThrough cooling down
    game->openAbilityMenu();
    ASSERT_EQ(game->overlay, 1);
    NoPress();
    game->runAbilityMenu();
    EXPECT_TRUE(game->spWindow.open);
    EXPECT_FALSE(game->hudInteractive);

    for (int blocked : {match::AbilitySeeThrough, match::AbilityDoubleBet, match::AbilityDeckPeek}) {
        const auto [x, y] = AbilityLabel(blocked);
        Press(x, y);
        game->runAbilityMenu();
        EXPECT_EQ(game->overlay, 1) << blocked;
        EXPECT_EQ(game->selectedAbility, -1) << blocked;
    }
    // A click outside closes with a sound, the close button without one.
    clearSoundLog();
    Press(100, 100);
    game->runAbilityMenu();
    EXPECT_EQ(game->overlay, 0);
    EXPECT_TRUE(played("se_menu_close.wav"));
    EXPECT_TRUE(game->hudInteractive);
    EXPECT_FALSE(game->spWindow.open);

    game->openAbilityMenu();
    NoPress();
    game->runAbilityMenu();
    for (int f = 0; f < 10; ++f) game->spWindow.draw(0, 0, 0);  // let the window finish opening
    clearSoundLog();
    const DrawBase::Vec3 close = game->spWindow.closeButton.position;
    Press(SpWindow::kPanelX + static_cast<int>(close.x) + 20, SpWindow::kPanelY + static_cast<int>(close.y) + 20);
    game->runAbilityMenu();
    EXPECT_EQ(game->overlay, 0);
    EXPECT_FALSE(played("se_menu_close.wav"));

    // RankUp goes to the target choice; the untargeted SeeThrough (now ready) asks the opponent first.
    // This time the frame computes the overlay's entered flag before running the menu.
    game->openAbilityMenu();
    game->overlayEntered = game->overlay != game->previousOverlay;
    game->previousOverlay = game->overlay;
    NoPress();
    game->runAbilityMenu();
    EXPECT_TRUE(game->spWindow.open);
    EXPECT_FALSE(game->hudInteractive);
    auto [x, y] = AbilityLabel(match::AbilityRankUp);
    Press(x, y);
    game->runAbilityMenu();
    EXPECT_EQ(game->matchState, SceneGame::AbilityTarget);
    EXPECT_EQ(game->selectedAbility, match::AbilityRankUp);
    EXPECT_FALSE(game->systemButtonsEnabled);

    Open(match::kIblen);
    game->gauge.setValue(120);
    game->openAbilityMenu();
    NoPress();
    game->runAbilityMenu();
    Script({0});  // ReflectCurse's draw at event 7 (SeeThrough cannot be reflected)
    std::tie(x, y) = AbilityLabel(match::AbilitySeeThrough);
    Press(x, y);
    game->runAbilityMenu();
    EXPECT_EQ(ranges, R({{0, 7}}));
    EXPECT_EQ(game->matchState, SceneGame::AbilityActivate);
    EXPECT_FALSE(game->reflect);
}

TEST_F(AbilityTest, SealDimsTheAbilityButtonAndCountsDownAfterTheTurnStart) {
    Open(match::kPemra);
    Image picture;  // a picture hung on the button dims with it
    game->abilityButton.addChild(&picture);
    game->abilityButton.visible = true;
    Script({1, 1});  // SealWard
    ASSERT_EQ(game->opponentReact(SceneGame::EventTurnStart), match::SealWard);
    game->countDownSeal();
    game->updateAbilityWidgets();
    EXPECT_TRUE(game->sealed);
    EXPECT_FALSE(game->abilityButton.visible);
    EXPECT_FLOAT_EQ(game->abilityButton.alpha, 0.25f);
    EXPECT_FLOAT_EQ(picture.alpha, 0.25f);
    game->countDownSeal();  // the next turn start ends a one-turn seal
    game->updateAbilityWidgets();
    EXPECT_FALSE(game->sealed);
    EXPECT_FLOAT_EQ(game->abilityButton.alpha, 1.0f);
    EXPECT_FLOAT_EQ(picture.alpha, 1.0f);
    game->abilityButton.children.clear();

    game->spWindow.cooldowns = {3, 0, 1, 0, 0, 0, 0, 0};
    game->tickCooldowns();
    EXPECT_EQ(game->spWindow.cooldowns[0], 2);
    EXPECT_EQ(game->spWindow.cooldowns[2], 0);
}

TEST_F(AbilityTest, OpponentPanelShowsWhileTheTableIsInteractive) {
    Open(match::kQuenvar);
    game->hudInteractive = true;
    game->opponentPanelOpen = true;
    game->updateAbilityWidgets();
    EXPECT_TRUE(game->opponentPanel.visible);
    EXPECT_TRUE(game->opponentIcons[3].visible);
    EXPECT_FALSE(game->opponentIconGlow.visible);  // nothing used yet
    EXPECT_EQ(game->opponentPanelTab.sourceRect.left, match::sheet::kPanelTabOpen.left);
    // The panel sits right of both hands and above the comment plate.
    EXPECT_GE(game->opponentPanel.position.x, 600.0f);
    EXPECT_LE(game->opponentPanel.position.y + 440.0f, 555.0f);

    game->opponentPanelOpen = false;
    game->updateAbilityWidgets();
    EXPECT_FALSE(game->opponentPanel.visible);
    EXPECT_TRUE(game->opponentPanelTab.visible);
    EXPECT_EQ(game->opponentPanelTab.sourceRect.left, match::sheet::kPanelTabClosed.left);
    game->hudInteractive = false;
    game->updateAbilityWidgets();
    EXPECT_FALSE(game->opponentPanelTab.visible);
}

// --- With the real animation files ----------------------------------------------------------------

TEST_F(AbilityTest, DoubleBetDoublesTheShownBetExactlyAtAppearCappedAt99999) {
    if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    for (const auto& [start, doubled] : {std::pair{300, 600}, std::pair{60000, 99999}}) {
        Open(match::kPemra);
        game->bet = start;
        game->betNumber.setValue(start);
        game->gauge.setValue(500);
        Activate(match::AbilityDoubleBet);
        ASSERT_TRUE(game->playerEffect.playing);
        int frames = 0;
        while (game->playerEffect.playing && game->playerEffect.CurrentLabel() != "appear" && frames < 500) {
            game->commitEffects();
            EXPECT_EQ(game->bet, start);
            game->playerEffect.Draw();
            ++frames;
        }
        ASSERT_EQ(game->playerEffect.CurrentLabel(), "appear");
        EXPECT_GT(frames, 0);
        game->commitEffects();
        EXPECT_EQ(game->bet, doubled);
        EXPECT_EQ(game->betNumber.value, doubled);
        EXPECT_EQ(game->pendingMultiplier, 1);
        game->playerEffect.Draw();
        game->commitEffects();  // past "appear": no second doubling
        EXPECT_EQ(game->bet, doubled);
    }
}

TEST_F(AbilityTest, CommitAppliesCardsThenBetPeekGaugeAndLocksOnTheFollowingCommit) {
    if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    Open(match::kIblen);
    game->gauge.setValue(300);
    DeckOf(20);
    const Card second = game->stock.deck.cardAt(1);
    Script({0, 6});  // AbilityLock on DoubleBet
    ASSERT_EQ(game->opponentReact(SceneGame::EventTurnStart), match::AbilityLock);
    EXPECT_TRUE(game->opponentEffect.playing);
    // Further pending work lands at the same commit.
    game->human.setPending(0, Player::PendingRedraw, 0, nullptr);
    game->pendingDeckPeek = 5;
    game->pendingGaugeAdjust = -400;
    game->pendingMultiplier = 2;
    game->bet = 200;
    ASSERT_TRUE(StepToAppear(game->opponentEffect));
    game->commitEffects();
    EXPECT_EQ(game->stock.remainingCards(), 19);          // 1: the redraw took the front card
    ASSERT_FALSE(game->stock.peekCards.empty());          // 3: the peek starts behind it
    EXPECT_EQ(game->stock.peekCards[0].cardValue, second.value);
    EXPECT_EQ(game->bet, 400);                            // 2
    EXPECT_EQ(game->gauge.value, 0);                      // 4: never below 0
    EXPECT_EQ(game->spWindow.cooldowns[6], 0);            // 6: the window opens, the lock waits
    EXPECT_TRUE(game->spWindow.open);
    EXPECT_FALSE(game->hudInteractive);
    EXPECT_EQ(game->lockTurns, 3);
    EXPECT_TRUE(game->lockOverlay.playing);
    ASSERT_NE(game->lockOverlay.Current(), nullptr);
    EXPECT_EQ(game->lockOverlay.Find("Iblen_01_AbilityLock_CT_07"), game->lockOverlay.Current());

    StepToEnd(game->lockOverlay);
    game->commitEffects();                                // 5: the lock lands
    EXPECT_EQ(game->spWindow.cooldowns[6], 3);
    EXPECT_EQ(game->lockTurns, 0);
    EXPECT_TRUE(game->lockDisplay);
    // The window goes once the table is free again.
    StepToEnd(game->opponentEffect);
    for (int f = 0; f < 60; ++f) {
        game->human.update();
        game->opponent.update();
        game->updateAbilityWidgets();
    }
    EXPECT_FALSE(game->spWindow.open);
    EXPECT_TRUE(game->hudInteractive);
    EXPECT_FALSE(game->lockDisplay);
}

TEST_F(AbilityTest, RoswethsAnswersOnJokerSwapDoubleItsCooldownOrItsCost) {
    if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    // CooldownLock: another 10 turns.
    Open(match::kRosweth);
    game->guardMarks[match::AbilityJokerSwap] = true;
    game->gauge.setValue(250);
    game->selectedAbility = match::AbilityJokerSwap;
    Script({1});
    ASSERT_EQ(game->opponentReact(SceneGame::EventPlayerAbility), match::CooldownLock);
    EXPECT_FALSE(game->opponentActed);           // Rosweth may answer again
    EXPECT_FALSE(game->opponentEffect.playing);  // deferred
    Activate(match::AbilityJokerSwap, 1);
    EXPECT_EQ(game->spWindow.cooldowns[2], 10);
    StepToEnd(game->playerEffect);
    ActivateNextFrame();
    EXPECT_EQ(game->matchState, SceneGame::PlayerChoice);
    EXPECT_TRUE(game->opponentEffect.playing);
    EXPECT_EQ(game->opponentEffect.Current(), game->opponentEffect.Find("Rosweth_02_CooldownLock"));
    EXPECT_EQ(game->counterKind, SceneGame::CounterNone);
    ASSERT_TRUE(StepToAppear(game->opponentEffect));
    game->commitEffects();
    EXPECT_EQ(game->lockOverlay.Current(), game->lockOverlay.Find("Rosweth_02_CooldownLock_CT_03"));
    StepToEnd(game->lockOverlay);
    game->commitEffects();
    EXPECT_EQ(game->spWindow.cooldowns[2], 20);

    // CostDrain: another 200, the gauge stopping at 0.
    Open(match::kRosweth);
    game->guardMarks[match::AbilityJokerSwap] = true;
    game->gauge.setValue(250);
    game->selectedAbility = match::AbilityJokerSwap;
    Script({0});
    ASSERT_EQ(game->opponentReact(SceneGame::EventPlayerAbility), match::CostDrain);
    Activate(match::AbilityJokerSwap, 1);
    EXPECT_EQ(game->gauge.value, 50);
    StepToEnd(game->playerEffect);
    ActivateNextFrame();
    EXPECT_EQ(game->pendingGaugeAdjust, -200);
    ASSERT_TRUE(StepToAppear(game->opponentEffect));
    game->commitEffects();
    EXPECT_EQ(game->gauge.value, 0);
    EXPECT_EQ(game->spWindow.cooldowns[2], 10);
}

TEST_F(AbilityTest, PemraDoublesEveryLostBetAtHerAppear) {
    if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    Open(match::kPemra);
    game->bet = 500 * 3;  // after a three-fold payout
    ASSERT_EQ(game->opponentReact(SceneGame::EventPlayerLost), match::LossDoubler);
    EXPECT_EQ(game->bet, 1500);
    ASSERT_TRUE(StepToAppear(game->opponentEffect));
    game->commitEffects();
    EXPECT_EQ(game->bet, 3000);
    // The comment shows at full opacity, then fades; the used icon is lit.
    game->updateAbilityWidgets();
    EXPECT_TRUE(game->commentText.visible);
    EXPECT_TRUE(game->commentPlate.visible);
    EXPECT_FLOAT_EQ(game->commentText.alpha, 1.0f);
    EXPECT_TRUE(game->opponentIconGlow.visible);
    EXPECT_FLOAT_EQ(game->opponentIconGlow.position.y, game->opponentIcons[3].position.y);
    for (int f = 0; f < 430; ++f) game->updateAbilityWidgets();
    EXPECT_FALSE(game->commentText.visible);
    EXPECT_FALSE(game->opponentIconGlow.visible);
}

TEST_F(AbilityTest, MenuAgainstRoswethShowsTheGuardMarkHelp) {
    if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    Open(match::kRosweth);
    game->openAbilityMenu();
    NoPress();
    game->runAbilityMenu();
    EXPECT_TRUE(game->helpPanel.playing);
    EXPECT_EQ(game->helpPanel.Current(), game->helpPanel.Find("Tips_GuardMark"));
    Press(50, 50);
    game->runAbilityMenu();
    EXPECT_FALSE(game->helpPanel.playing);
}

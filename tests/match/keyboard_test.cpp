// The match played by keys alone: holds, draw, showdown, the double-up, messages, the ability
// menu, and Escape asking the title question; the records the hand leaves.
#include <gtest/gtest.h>

#include "app/mouse_controller.h"
#include "cards/player_abilities.h"
#include "core/global.h"
#include "core/records.h"
#include "match_fixture.h"

namespace {

using matchtest::MatchTest;
using platform::KeyCode;

class KeyboardTest : public MatchTest {
protected:
    void SetUp() override {
        MatchTest::SetUp();
        if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
        Records::Instance().Clear();
    }
    // Waits until nothing moves, then the key goes down for one pass and up for the next.
    void press(KeyCode key) {
        runUntil([&] { return !inMatch() || idle(); }, 600);
        pressKey(key);
    }
    // Otsel, whose rolls are all answered with the highest value, never uses an ability.
    void startQuietMatch() {
        startMatch(1);
        game().rollHook = [](int, int hi) { return hi; };
    }
    void skipStoryByKeys() {
        ASSERT_TRUE(reach(SceneGame::StoryMessage));
        press(KeyCode::Space);   // the line completes
        press(KeyCode::Return);  // and is done with
        ASSERT_EQ(game().matchState, SceneGame::BetRoulette);
    }
    int heldCount() const {
        int n = 0;
        for (const HandSlot& s : game().human.hand) n += s.held ? 1 : 0;
        return n;
    }
};

TEST_F(KeyboardTest, AWholeHandPlayedByKeysAlone) {
    startQuietMatch();
    skipStoryByKeys();
    SceneGame& g = game();
    ASSERT_TRUE(reachPendingTurnStart());
    g.opponent.setMedals(9000);  // the double-up must not end the match
    setHand(g.human, matchtest::kFullHouse);
    setHand(g.opponent, matchtest::kJunk2);
    ASSERT_TRUE(reach(SceneGame::PlayerChoice));
    const int bet = g.bet;

    // Number keys toggle the holds of their slots.
    for (KeyCode k : {KeyCode::Num1, KeyCode::Num2, KeyCode::Num3, KeyCode::Num4, KeyCode::Num5}) press(k);
    EXPECT_EQ(heldCount(), 5);
    press(KeyCode::Num3);
    EXPECT_FALSE(g.human.hand[2].held);
    EXPECT_EQ(heldCount(), 4);
    clearSoundLog();
    press(KeyCode::Num3);
    EXPECT_TRUE(g.human.hand[2].held);
    EXPECT_EQ(soundLog().size(), 1u) << "one hold sound per key";
    // Keys of other states do nothing here.
    press(KeyCode::Y);
    press(KeyCode::Up);
    EXPECT_EQ(g.matchState, SceneGame::PlayerChoice);

    // D draws (everything held: nothing is exchanged).
    press(KeyCode::D);
    EXPECT_NE(g.matchState, SceneGame::PlayerChoice);
    ASSERT_TRUE(reachPendingTurnStart());
    setHand(g.opponent, matchtest::kJunk2);
    ASSERT_TRUE(reach(SceneGame::PlayerChoice));
    EXPECT_EQ(g.turn, 2);

    // S asks for the showdown; N goes back, Y calls it.
    press(KeyCode::S);
    EXPECT_EQ(g.matchState, SceneGame::ShowdownConfirm);
    EXPECT_TRUE(g.showdownConfirmText.visible);
    press(KeyCode::N);
    EXPECT_EQ(g.matchState, SceneGame::PlayerChoice);
    press(KeyCode::S);
    press(KeyCode::Y);
    EXPECT_TRUE(g.playerCalled);
    ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::ShowdownResult && g.yesButton.visible && idle(); }));
    EXPECT_EQ(g.showdownResult, 0);
    EXPECT_EQ(g.bet, 2 * bet);

    // Y takes the double-up; Down guesses low against a shown ace.
    press(KeyCode::Y);
    ASSERT_EQ(g.matchState, SceneGame::DoubleUpDeal);
    ASSERT_TRUE(runUntil([&] { return idle() && g.previousState == SceneGame::DoubleUpDeal; }));
    g.doubleUpCards[0].setCard(true, 0, 1);   // ace shown
    g.doubleUpCards[1].setCard(false, 4, 2);  // five hidden
    press(KeyCode::Down);
    EXPECT_EQ(g.matchState, SceneGame::DoubleUpResult);
    EXPECT_EQ(g.doubleUpGuess, 0);
    ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::WaitForClick && idle(); }));
    EXPECT_EQ(g.doubleUpResult, 0);
    EXPECT_EQ(g.human.medals, 1000 + 4 * bet);

    // Space clicks through the result to the next hand.
    press(KeyCode::Space);
    ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::BetRoulette; }, 20));

    // The hand is in the host's records: one hand, a full house, the doubled payout.
    const HostRecord& r = Records::Instance().Get(1);
    EXPECT_EQ(r.handsPlayed, 1);
    EXPECT_EQ(r.bestHand, HandRankFullHouse);
    EXPECT_EQ(r.largestPayout, 4 * bet);
    EXPECT_EQ(r.longestDoubleUpStreak, 1);
    EXPECT_EQ(r.matchesWon + r.matchesLost, 0);
    EXPECT_EQ(Records::Instance().Get(0), HostRecord{});
}

TEST_F(KeyboardTest, TheOpponentsCallAndTheLostHandAreAnsweredByKeys) {
    startQuietMatch();
    skipStoryByKeys();
    SceneGame& g = game();
    ASSERT_TRUE(reachPendingTurnStart());
    setHand(g.human, matchtest::kJunk);
    setHand(g.opponent, matchtest::kStraight);  // calls at once
    ASSERT_TRUE(reach(SceneGame::OpponentCallNotice));
    press(KeyCode::Return);
    EXPECT_EQ(g.matchState, SceneGame::PlayerChoice);
    press(KeyCode::D);
    ASSERT_TRUE(runUntil([&] {
        return g.matchState == SceneGame::ShowdownResult && g.bannerCountdown == 0 && g.pauseCountdown == 0 &&
               g.lastCountdown == 0 && g.previousState == SceneGame::ShowdownResult && idle();
    }));
    EXPECT_EQ(g.showdownResult, 2);
    press(KeyCode::Y);  // no question after a loss: Y is not an answer
    EXPECT_EQ(g.matchState, SceneGame::ShowdownResult);
    press(KeyCode::Space);
    EXPECT_NE(g.matchState, SceneGame::ShowdownResult);
    EXPECT_EQ(Records::Instance().Get(1).largestPayout, 0);
    EXPECT_EQ(Records::Instance().Get(1).handsPlayed, 1);
}

TEST_F(KeyboardTest, AbilityMenuByArrowsEnterAndNumberKeys) {
    startQuietMatch();
    skipStoryByKeys();
    SceneGame& g = game();
    ASSERT_TRUE(reachPendingTurnStart());
    setHand(g.opponent, matchtest::kJunk2);
    setHand(g.human, matchtest::kJunk);
    ASSERT_TRUE(reach(SceneGame::PlayerChoice));
    g.gauge.setValue(999);

    // A opens the menu; the arrows point at each ability in turn, wrapping around.
    press(KeyCode::A);
    ASSERT_EQ(g.overlay, 1);
    EXPECT_EQ(g.spWindow.hovered, -1);
    for (int k = 0; k < SpWindow::kAbilityCount; ++k) {
        press(KeyCode::Down);
        EXPECT_EQ(g.spWindow.hovered, k);
    }
    press(KeyCode::Right);
    EXPECT_EQ(g.spWindow.hovered, 0);
    press(KeyCode::Up);
    EXPECT_EQ(g.spWindow.hovered, SpWindow::kAbilityCount - 1);
    // Escape closes the menu without choosing.
    press(KeyCode::Escape);
    EXPECT_EQ(g.overlay, 0);
    EXPECT_EQ(g.matchState, SceneGame::PlayerChoice);
    EXPECT_TRUE(headless->MessageBoxes().empty()) << "Escape in the menu only closes it";

    // Enter chooses the ability pointed at; one that targets a card waits for a number key.
    int targeting = -1;
    for (int a = 0; a < SpWindow::kAbilityCount && targeting < 0; ++a) {
        if (match::kPlayerAbilities[static_cast<size_t>(a)].targetsOwnCard && g.spWindow.cooldowns[static_cast<size_t>(a)] == 0) targeting = a;
    }
    ASSERT_GE(targeting, 0);
    press(KeyCode::A);
    for (int k = 0; k <= targeting; ++k) press(KeyCode::Down);
    press(KeyCode::Return);
    EXPECT_EQ(g.overlay, 0);
    EXPECT_EQ(g.selectedAbility, targeting);
    ASSERT_EQ(g.matchState, SceneGame::AbilityTarget);
    press(KeyCode::Num4);
    EXPECT_EQ(g.targetSlot, 3);
    EXPECT_EQ(g.matchState, SceneGame::AbilityActivate);
}

TEST_F(KeyboardTest, EscapeAsksTheTitleQuestionOnlyWhileTheButtonsAreOn) {
    startQuietMatch();
    SceneGame& g = game();
    ASSERT_TRUE(reach(SceneGame::StoryMessage));
    headless->QueueMessageBoxAnswer(platform::MessageBoxAnswer::Cancel);
    press(KeyCode::Escape);
    ASSERT_EQ(headless->MessageBoxes().size(), 1u);
    EXPECT_EQ(headless->MessageBoxes()[0].text, "タイトルへ戻りますか？");
    EXPECT_FALSE(g.fadingOut);
    EXPECT_FALSE(g.messageWindow.finished());  // the key did not reach the story
    // While the roulette spins the buttons are off: Escape asks nothing.
    press(KeyCode::Space);
    press(KeyCode::Space);
    ASSERT_EQ(g.matchState, SceneGame::BetRoulette);
    press(KeyCode::Escape);
    EXPECT_EQ(headless->MessageBoxes().size(), 1u);
    ASSERT_TRUE(reach(SceneGame::PlayerChoice));
    headless->QueueMessageBoxAnswer(platform::MessageBoxAnswer::Ok);
    press(KeyCode::Escape);
    ASSERT_EQ(headless->MessageBoxes().size(), 2u);
    ASSERT_TRUE(runUntil([&] { return nextScene() != kSceneGame; }, 40));
    EXPECT_EQ(nextScene(), kSceneTitle);
}

}  // namespace

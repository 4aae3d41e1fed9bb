// Abilities inside the running match, through real frames: the seal's length counted from the
// turn start that set it, the table bomb voiding a hand, Rosweth winning every equal rank, Pemra
// doubling a lost stake after the payout multiplier, Iblen's forced ability, and the opponent
// panel drawn once.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "cards/player_abilities.h"
#include "match_fixture.h"
#include "scenes/match/ability_layout.h"
#include "scenes/match/opponent_abilities.h"
#include "scenes/match/sheet_layout.h"
#include "widgets/sp_window.h"

namespace {

using matchtest::MatchTest;
namespace sheet = match::sheet;

// Quads of the last frame whose corners are exactly the rectangle (drawn half a pixel up, left).
int QuadsAt(const std::vector<platform::Quad>& quads, float x, float y, float w, float h) {
    x -= 0.5f;
    y -= 0.5f;
    return static_cast<int>(std::count_if(quads.begin(), quads.end(), [&](const platform::Quad& q) {
        return std::abs(q.v[0].x - x) < 0.5f && std::abs(q.v[0].y - y) < 0.5f &&
               std::abs(q.v[3].x - (x + w)) < 0.5f && std::abs(q.v[3].y - (y + h)) < 0.5f;
    }));
}

class AbilityFlowTest : public MatchTest {
protected:
    void SetUp() override {
        MatchTest::SetUp();
        if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    }

    // Enters the match with the abilities' draws answered by `hook`, up to the first choice with
    // an opponent hand that never calls.
    void openWithDraws(int opponent, std::function<int(int, int)> hook) {
        startMatch(opponent);
        game().rollHook = std::move(hook);
        skipStory();
        ASSERT_TRUE(reachPendingTurnStart());
        setHand(game().opponent, matchtest::kJunk2);
        ASSERT_TRUE(reach(SceneGame::PlayerChoice));
    }

    // Holds everything and draws; waits for the next turn's choice (the opponent kept from calling).
    void nextTurn() {
        SceneGame& g = game();
        holdAll();
        clickOn(g.drawButton);
        ASSERT_EQ(g.matchState, SceneGame::PlayerDraw);
        ASSERT_TRUE(reachPendingTurnStart());
        setHand(g.opponent, matchtest::kJunk2);
        ASSERT_TRUE(reach(SceneGame::PlayerChoice));
    }

    // Opens the ability menu and clicks ability k once the window has opened.
    void useAbility(int k) {
        SceneGame& g = game();
        clickOn(g.abilityButton);
        ASSERT_TRUE(runUntil([&] { return g.overlay == 1 && g.spWindow.open && g.spWindow.settled(); }));
        const ImageFont& label = g.spWindow.nameLabels[static_cast<size_t>(k)];
        click(SpWindow::kPanelX + static_cast<int>(label.position.x) + 20,
              SpWindow::kPanelY + static_cast<int>(label.position.y) + 15);
        ASSERT_EQ(g.overlay, 0);
    }

    // From the pending TurnStart: the opponent holds `theirs` and calls, the player keeps `mine`.
    void showdownWith(const std::array<Card, 5>& mine, const std::array<Card, 5>& theirs) {
        SceneGame& g = game();
        ASSERT_TRUE(reachPendingTurnStart());
        setHand(g.human, mine);
        setHand(g.opponent, theirs);
        ASSERT_TRUE(reach(SceneGame::OpponentCallNotice));
        clickOn(g.okButton);
        ASSERT_TRUE(reach(SceneGame::PlayerChoice));
        holdAll();
        clickOn(g.drawButton);
        ASSERT_TRUE(reach(SceneGame::ShowdownResult));
        ASSERT_TRUE(runUntil([&] {
            return g.matchState != SceneGame::ShowdownResult ||
                   (g.bannerCountdown == 0 && g.pauseCountdown == 0 && g.lastCountdown == 0 && idle());
        }));
    }
};

// Pemra's draws at a turn start: r = 0..255 then s = 0..7. `deepFreeze` fires DeepFreeze on the
// first turn start, else SealWard fires there; later turn starts use nothing.
std::function<int(int, int)> PemraFirstTurn(bool deepFreeze) {
    auto turnStarts = std::make_shared<int>(0);
    return [deepFreeze, turnStarts](int lo, int hi) {
        if (hi == 255) {
            ++*turnStarts;
            return *turnStarts == 1 && deepFreeze ? 0 : 1;
        }
        if (hi == 7) return *turnStarts == 1 ? 1 : 7;
        return lo;
    };
}

TEST_F(AbilityFlowTest, SealSetAtATurnStartLastsExactlyItsTurns) {
    for (const auto& [deepFreeze, turns] : {std::pair{false, 1}, std::pair{true, 3}}) {
        SCOPED_TRACE(turns);
        openWithDraws(match::kPemra, PemraFirstTurn(deepFreeze));
        SceneGame& g = game();
        EXPECT_EQ(g.storedOpponentAbility, deepFreeze ? match::DeepFreeze : match::SealWard);
        for (int turn = 1; turn <= turns + 1; ++turn) {
            SCOPED_TRACE(turn);
            ASSERT_EQ(g.turn, turn);
            const bool sealedNow = turn <= turns;
            EXPECT_EQ(g.sealed, sealedNow);
            EXPECT_EQ(g.abilityButton.visible, !sealedNow);
            // A click where the button stands opens nothing while sealed.
            g.gauge.setValue(500);
            if (sealedNow) {
                clickOn(g.abilityButton);
                frames(2);
                EXPECT_EQ(g.overlay, 0);
            }
            if (turn <= turns) nextTurn();
        }
        Start(kSceneCm);
        frames(1);
    }
}

TEST_F(AbilityFlowTest, TableBombVoidsTheHandAndTheNextStartsWithTheHandBonus) {
    openWithDraws(match::kOtsel, [](int lo, int) { return lo; });
    SceneGame& g = game();
    g.gauge.setValue(500);
    clearSoundLog();
    useAbility(match::AbilityTableBomb);
    ASSERT_EQ(g.matchState, SceneGame::AbilityActivate);
    ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::NextRound; }));
    EXPECT_EQ(g.gauge.value, 350);
    EXPECT_EQ(g.spWindow.cooldowns[match::AbilityTableBomb], 20);
    EXPECT_TRUE(played("se_ability.wav"));
    const int drawn = headless->FrameCount();
    frames(1);
    EXPECT_EQ(headless->FrameCount(), drawn);  // the voiding frame is not drawn
    EXPECT_EQ(g.matchState, SceneGame::BetRoulette);
    EXPECT_EQ(g.gauge.value, 400);
    // Nothing was paid, and the new hand plays on.
    EXPECT_EQ(g.human.medals, 1000);
    EXPECT_EQ(g.opponent.medals, 1000);
    EXPECT_FALSE(played("se_medal_move.wav"));
    ASSERT_TRUE(reachPendingTurnStart());
    EXPECT_EQ(g.turn, 0);
    EXPECT_EQ(g.stock.remainingCards(), 43);
}

TEST_F(AbilityFlowTest, RoswethWinsEveryShowdownOfEqualRank) {
    // The player's straight is the higher one and still loses; a plain comparison would pay it.
    const std::array<Card, 5> higherStraight = {{{5, 2}, {6, 3}, {7, 0}, {8, 1}, {9, 3}}};
    for (const auto& mine : {higherStraight, matchtest::kStraight2}) {
        startMatch(match::kRosweth);
        skipStory();
        SceneGame& g = game();
        showdownWith(mine, matchtest::kStraight);
        EXPECT_EQ(g.showdownResult, 2);
        EXPECT_EQ(g.storedOpponentAbility, match::TieBreak);
        EXPECT_EQ(g.human.medals, 1000 - g.bet);
        EXPECT_EQ(g.opponent.medals, 1000 + g.bet);
        Start(kSceneCm);
        frames(1);
    }
    // A higher rank still wins against her.
    startMatch(match::kRosweth);
    skipStory();
    showdownWith(matchtest::kFullHouse, matchtest::kStraight);
    EXPECT_EQ(game().showdownResult, 0);
}

TEST_F(AbilityFlowTest, PemraDoublesALostStakeAfterThePayoutMultiplier) {
    // No turn-start ability, so that her answer to the loss is free to come.
    startMatch(match::kPemra);
    SceneGame& g = game();
    g.rollHook = [](int lo, int hi) { return hi == 7 ? 7 : lo + 1; };
    skipStory();
    ASSERT_TRUE(reachPendingTurnStart());
    g.bet = 100;
    g.betNumber.setValue(100);
    showdownWith(matchtest::kJunk, matchtest::kFourKind);
    EXPECT_EQ(g.payoutMultiplier, 3);
    EXPECT_EQ(g.storedOpponentAbility, match::LossDoubler);
    EXPECT_EQ(g.bet, 600);
    EXPECT_EQ(g.betNumber.value, 600);
    EXPECT_EQ(g.human.medals, 400);
    EXPECT_EQ(g.opponent.medals, 1600);
    EXPECT_TRUE(played("Pemra_ability3.wav"));
}

TEST_F(AbilityFlowTest, IblensCharmRunsTheForcedAbilityAtTheNextChoicePaidAndWithoutEventSeven) {
    startMatch(match::kIblen);
    SceneGame& g = game();
    std::vector<std::pair<int, int>> asked;
    // Turn start: no lock (1 of 0..7), the charm (0 of 0..15), DoubleBet on slot 0; later draws
    // use nothing.
    auto answers = std::make_shared<std::vector<int>>(std::vector<int>{1, 0, match::AbilityDoubleBet, 0});
    g.rollHook = [&asked, answers](int lo, int hi) {
        asked.emplace_back(lo, hi);
        if (answers->empty()) return hi;
        const int v = answers->front();
        answers->erase(answers->begin());
        return v;
    };
    skipStory();
    ASSERT_TRUE(reachPendingTurnStart());
    setHand(g.opponent, matchtest::kJunk2);
    g.gauge.setValue(500);
    g.bet = 200;
    g.betNumber.setValue(200);
    ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::AbilityActivate; }));
    EXPECT_EQ(g.previousState, SceneGame::PlayerChoice);
    EXPECT_EQ(g.selectedAbility, match::AbilityDoubleBet);
    ASSERT_TRUE(reach(SceneGame::PlayerChoice));
    EXPECT_FALSE(g.forcedAbility);
    EXPECT_EQ(g.bet, 400);
    EXPECT_EQ(g.gauge.value, 350);
    EXPECT_EQ(g.spWindow.cooldowns[match::AbilityDoubleBet], 10);
    // Only the turn start's four draws: the player's ability event was not raised.
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{0, 7}, {0, 15}, {0, 7}, {0, 4}}));
}

TEST_F(AbilityFlowTest, OpponentPanelIconsAndLabelsAreDrawnOnceInsideThePanel) {
    openWithDraws(match::kQuenvar, [](int lo, int) { return lo; });
    SceneGame& g = game();
    frames(1);
    const std::vector<platform::Quad> quads = lastFrameQuads();
    const float px = g.opponentPanel.position.x;
    const float py = g.opponentPanel.position.y;
    EXPECT_EQ(QuadsAt(quads, px, py, 340, 440), 1);
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        const Image& icon = g.opponentIcons[static_cast<size_t>(k)];
        EXPECT_EQ(QuadsAt(quads, px + icon.position.x, py + icon.position.y, 96, 96), 1);
        EXPECT_EQ(QuadsAt(quads, icon.position.x, icon.position.y, 96, 96), 0);
        const ImageFont& label = g.opponentIconLabels[static_cast<size_t>(k)];
        const float w = static_cast<float>(match::layout::kPanelLabelWidth);
        const float h = static_cast<float>(match::layout::kPanelLabelHeight);
        EXPECT_EQ(QuadsAt(quads, px + label.position.x, py + label.position.y, w, h), 1);
        EXPECT_EQ(QuadsAt(quads, label.position.x, label.position.y, w, h), 0);
    }
}

}  // namespace

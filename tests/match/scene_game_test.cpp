// The match driven through real frames with the generated game data: entering, the roulette,
// the deal, drawing, calls, the showdown and its payouts, the double-up, the end of a match and
// the system buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/mouse_controller.h"
#include "core/global.h"
#include "core/random.h"
#include "platform/text_encoding.h"
#include "scenes/match/match_layout.h"
#include "scenes/match/opponent_lines.h"
#include "scenes/match/sheet_layout.h"
#include "match_fixture.h"

namespace {

using matchtest::MatchTest;
namespace lay = match::layout;
namespace sheet = match::sheet;

bool SameRect(const Image::Rect& a, const sheet::Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A quad of the last frame covering exactly the rectangle (drawn half a pixel up and left).
bool QuadAt(const std::vector<platform::Quad>& quads, float x, float y, float w, float h) {
    x -= 0.5f;
    y -= 0.5f;
    return std::any_of(quads.begin(), quads.end(), [&](const platform::Quad& q) {
        return std::abs(q.v[0].x - x) < 0.5f && std::abs(q.v[0].y - y) < 0.5f && std::abs(q.v[3].x - (x + w)) < 0.5f &&
               std::abs(q.v[3].y - (y + h)) < 0.5f;
    });
}

class SceneGameTest : public MatchTest {
protected:
    void SetUp() override {
        MatchTest::SetUp();
        if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    }

    // From the pending first TurnStart: the opponent gets `theirs` and calls at once (a straight
    // or better), the player gets `mine`, holds everything and draws: the hands are compared
    // as they lie. Returns at ShowdownResult's entry.
    void showdownWith(const std::array<Card, 5>& mine, const std::array<Card, 5>& theirs) {
        ASSERT_TRUE(reachPendingTurnStart());
        setHand(game().human, mine);
        setHand(game().opponent, theirs);
        ASSERT_TRUE(reach(SceneGame::OpponentCallNotice));
        clickOn(game().okButton);
        ASSERT_TRUE(reach(SceneGame::PlayerChoice));
        holdAll();
        clickOn(game().drawButton);
        ASSERT_TRUE(runUntil([&] {
            return game().matchState == SceneGame::ShowdownResult && game().previousState == SceneGame::ShowdownResult;
        }));
    }
    // Waits out the banner, multiplier and last countdowns of the showdown.
    bool showdownSettled() {
        return runUntil([&] {
            const SceneGame& g = game();
            return g.matchState != SceneGame::ShowdownResult ||
                   (g.previousState == SceneGame::ShowdownResult && g.bannerCountdown == 0 && g.pauseCountdown == 0 &&
                    g.lastCountdown == 0 && idle());
        });
    }
};

TEST_F(SceneGameTest, EnteringFadesInAndGreetsWithAWinCountZeroLine) {
    for (int opponent = 0; opponent < match::kOpponentCount; ++opponent) {
        SCOPED_TRACE(opponent);
        Global::Instance().Set(2, "winCount");
        clearSoundLog();
        startMatch(opponent);
        SceneGame& g = game();
        // The first frame ran MatchSetup and left for the greeting; the fade-in lasts 30 frames.
        EXPECT_EQ(g.matchState, SceneGame::StoryMessage);
        EXPECT_EQ(g.previousState, SceneGame::MatchSetup);
        EXPECT_TRUE(g.fade.active);
        EXPECT_EQ(g.fade.length, 30);
        EXPECT_FLOAT_EQ(g.fade.plane.alpha, 1.0f);
        EXPECT_EQ(Global::Instance().Get("winCount"), 0);
        EXPECT_EQ(Global::Instance().GetStage(opponent), 1);
        EXPECT_EQ(g.human.medals, 1000);
        EXPECT_EQ(g.opponent.medals, 1000);
        EXPECT_EQ(g.gauge.value, 0);
        EXPECT_TRUE(soundCall("OpenBgm bgm_game.ogg"));
        EXPECT_TRUE(soundCall("LoopPoint 0 8286519 307146"));
        EXPECT_TRUE(soundCall("PlayBgm"));
        frames(29);
        EXPECT_TRUE(g.fade.active);
        frames(2);
        EXPECT_FALSE(g.fade.active);
        EXPECT_FLOAT_EQ(g.fade.plane.alpha, 0.0f);
        // The greeting is one of the opponent's four winCount-0 lines, and the window is drawn.
        std::set<std::string> lines;
        for (int r = 0; r < 4; ++r) lines.insert(match::StoryLine(opponent, 0, r));
        EXPECT_TRUE(lines.count(g.messageWindow.text)) << platform::SjisToUtf8(g.messageWindow.text);
        EXPECT_TRUE(g.messageWindow.shown);
        EXPECT_TRUE(QuadAt(lastFrameQuads(), lay::kMessageFramePos.x, lay::kMessageFramePos.y, 590, 160));
        EXPECT_TRUE(QuadAt(lastFrameQuads(), lay::kTablePos.x, lay::kTablePos.y, g.table.textureWidth,
                           g.table.textureHeight));
        Start(kSceneCm);
        frames(1);
    }
    EXPECT_TRUE(std::filesystem::exists(saveDir + "/save.dat"));
    // An unknown opponent number plays against the first host.
    Global::Instance().Set(7, "enemy");
    Start(kSceneGame);
    frames(1);
    EXPECT_EQ(game().opponentIndex, 0);
}

TEST_F(SceneGameTest, RouletteSpinsNinetyNineFiguresThenBetsOneTwoOrFiveHundred) {
    std::set<int> bets;
    for (uint32_t seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE(seed);
        Seed(seed);
        clearSoundLog();
        startMatch(static_cast<int>(seed % 5));
        skipStory();
        std::vector<int> shown = {game().betNumber.shown};  // the click's second frame spun once
        while (game().matchState == SceneGame::BetRoulette) {
            // The deck and hands are cleared while the figures spin.
            frames(1);
            shown.push_back(game().betNumber.shown);
        }
        ASSERT_EQ(game().matchState, SceneGame::Deal);
        const int spins =
            static_cast<int>(std::count_if(shown.begin(), shown.end(), [](int v) { return v >= 1000 && v <= 9999; }));
        EXPECT_EQ(spins, 99);
        EXPECT_EQ(shown.size(), 99u + 50u);  // then the bet holds for 50 frames
        const int bet = game().bet;
        EXPECT_TRUE(bet == 100 || bet == 200 || bet == 500) << bet;
        EXPECT_TRUE(std::all_of(shown.begin() + 99, shown.end(), [&](int v) { return v == bet; }));
        bets.insert(bet);
        EXPECT_TRUE(soundCall("PlaySe se_bet_loop.wav loop 0"));
        EXPECT_TRUE(soundCall("StopSe se_bet_loop.wav"));
        EXPECT_EQ(playCount("se_bet_ok.wav"), 1);
        Start(kSceneCm);
        frames(1);
    }
    EXPECT_EQ(bets, (std::set<int>{100, 200, 500}));
}

TEST_F(SceneGameTest, DealGivesTenDifferentCardsAndTheDrawFillsTheGauge) {
    startMatch(1);
    skipStory();
    ASSERT_TRUE(reach(SceneGame::PlayerChoice));
    SceneGame& g = game();
    std::set<std::pair<int, int>> seen;
    for (const Player* side : {&g.human, &g.opponent}) {
        for (const HandSlot& s : side->hand) seen.insert({s.card.value, s.card.suit});
    }
    EXPECT_EQ(seen.size(), 10u);
    EXPECT_EQ(g.stock.remainingCards(), 43);
    EXPECT_TRUE(g.human.cardSprite(0).faceUp);
    EXPECT_FALSE(g.opponent.cardSprite(0).faceUp);
    EXPECT_EQ(g.turn, 1);
    EXPECT_TRUE(g.drawButton.visible && g.showdownButton.visible && g.abilityButton.visible);
    EXPECT_TRUE(g.systemButtonsEnabled);
    // Hold two cards, exchange three: the gauge counts up by 33 over 24 frames.
    for (int i : {0, 1}) {
        const DrawBase::Vec3 p = Player::SlotPosition(true, i);
        clickIdle(static_cast<int>(p.x) + 40, static_cast<int>(p.y) + 60);
    }
    EXPECT_TRUE(g.human.hand[0].held && g.human.hand[1].held);
    EXPECT_EQ(playCount("se_hold.wav"), 2);
    const Card kept0 = g.human.hand[0].card;
    clickOn(g.drawButton);
    EXPECT_EQ(g.matchState, SceneGame::PlayerDraw);
    EXPECT_FALSE(g.systemButtonsEnabled);
    ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::AfterPlayerDraw; }));
    EXPECT_EQ(g.gauge.value, 33);
    EXPECT_EQ(g.human.hand[0].card, kept0);
    EXPECT_EQ(g.stock.remainingCards(), 40);
    frames(24);
    EXPECT_EQ(g.gauge.shown, 33);
}

TEST_F(SceneGameTest, DrawIsRefusedWhenTheDeckIsShortAndAnEmptyDeckEndsTheHand) {
    playToFirstChoice(0);
    SceneGame& g = game();
    setHand(g.opponent, matchtest::kJunk2);
    while (g.stock.remainingCards() > 2) g.stock.drawCard();
    clickOn(g.drawButton);
    EXPECT_EQ(g.matchState, SceneGame::PlayerChoice);
    EXPECT_EQ(playCount("se_cancel.wav"), 1);
    EXPECT_TRUE(g.stock.blinking);
    EXPECT_GE(g.stock.blinkFrames, 57);
    // The remaining-card count blinks: shown while the frames left modulo 10 are below 5.
    std::set<bool> visibility;
    for (int i = 0; i < 10; ++i) {
        frames(1);
        visibility.insert(g.stock.countLabel.visible);
    }
    EXPECT_EQ(visibility.size(), 2u);
    // Three held, two exchanged: the deck is empty and the opponent cannot draw.
    for (int i : {0, 1, 2}) {
        const DrawBase::Vec3 p = Player::SlotPosition(true, i);
        clickIdle(static_cast<int>(p.x) + 40, static_cast<int>(p.y) + 60);
    }
    const std::array<HandSlot, 5> before = g.opponent.hand;
    clickOn(g.drawButton);
    std::vector<int> states;
    ASSERT_TRUE(runUntil([&] {
        states.push_back(g.matchState);
        return g.matchState == SceneGame::ShowdownResult;
    }));
    EXPECT_EQ(g.stock.remainingCards(), 0);
    EXPECT_NE(std::find(states.begin(), states.end(), SceneGame::OpponentDraw), states.end());
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(g.opponent.hand[i].card, before[i].card) << i;

    // The next hand: with the deck emptied while a turn is about to start, the turn goes
    // straight to the showdown.
    finishHand();
    ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::Deal; }, 5000)) << g.matchState;
    ASSERT_TRUE(reachPendingTurnStart());
    setHand(g.opponent, matchtest::kJunk2);
    while (g.stock.remainingCards() > 0) g.stock.drawCard();
    states.clear();
    ASSERT_TRUE(runUntil([&] {
        states.push_back(g.matchState);
        return g.matchState == SceneGame::ShowdownResult;
    }));
    EXPECT_EQ(std::find(states.begin(), states.end(), SceneGame::PlayerChoice), states.end());
    EXPECT_NE(std::find(states.begin(), states.end(), SceneGame::Evaluate), states.end());
}

TEST_F(SceneGameTest, OpponentCallingOnTurnOneLeavesThePlayerOneActionAndDoesNotDrawAgain) {
    startMatch(2);
    skipStory();
    ASSERT_TRUE(reachPendingTurnStart());
    SceneGame& g = game();
    setHand(g.opponent, matchtest::kStraight);
    setHand(g.human, matchtest::kJunk);
    ASSERT_TRUE(reach(SceneGame::OpponentCallNotice));
    EXPECT_TRUE(g.opponentCalled);
    EXPECT_EQ(g.turn, 1);
    EXPECT_TRUE(g.dialogPanel.visible && g.callNoticeText.visible && g.okButton.visible);
    EXPECT_FALSE(g.yesButton.visible);
    clickIdle(10, 10);  // beside the button: nothing
    EXPECT_EQ(g.matchState, SceneGame::OpponentCallNotice);
    clickOn(g.okButton);
    EXPECT_EQ(g.matchState, SceneGame::PlayerChoice);
    EXPECT_FALSE(g.callNoticeText.visible);
    // The player's one action: a draw of five. Then the hands are compared as they are.
    std::vector<int> states;
    clickOn(g.drawButton);
    ASSERT_TRUE(runUntil([&] {
        states.push_back(g.matchState);
        return g.matchState == SceneGame::ShowdownResult;
    }));
    EXPECT_EQ(std::find(states.begin(), states.end(), SceneGame::OpponentDraw), states.end());
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(g.opponent.hand[i].card, matchtest::kStraight[i]);
}

TEST_F(SceneGameTest, CallChanceFollowsRankAndTurn) {
    // Quenvar acts only at her own draw: nothing of hers holds up the turn start.
    playToFirstChoice(2);
    SceneGame& g = game();
    // Each trial runs the real TurnStart once, on the turn wanted, and counts the calls.
    auto calls = [&](const std::array<Card, 5>& hand, int turn, int trials) {
        int n = 0;
        for (int i = 0; i < trials; ++i) {
            setHand(g.opponent, hand);
            g.opponentCalled = false;
            g.turn = turn - 1;
            g.matchState = SceneGame::TurnStart;
            frames(1);
            if (g.matchState == SceneGame::OpponentCallNotice) ++n;
            EXPECT_EQ(g.turn, turn);
        }
        return n;
    };
    EXPECT_EQ(calls(matchtest::kJunk, 1, 50), 0);
    EXPECT_EQ(calls(matchtest::kJunk, 9, 50), 0);
    EXPECT_EQ(calls(matchtest::kTwoPair, 1, 50), 0);
    EXPECT_EQ(calls(matchtest::kTwoPair, 2, 50), 0);
    const int third = calls(matchtest::kTwoPair, 3, 400);
    // One half: 200 expected, 10 standard deviations of room.
    EXPECT_GT(third, 100);
    EXPECT_LT(third, 300);
    EXPECT_EQ(calls(matchtest::kTwoPair, 4, 50), 50);
    EXPECT_EQ(calls(matchtest::kTwoPair, 12, 50), 50);
    EXPECT_EQ(calls(matchtest::kStraight, 1, 50), 50);
    EXPECT_EQ(calls(matchtest::kFourKind, 2, 50), 50);
}

TEST_F(SceneGameTest, ShowdownConfirmAsksAndTheOpponentStillDrawsOnce) {
    playToFirstChoice(4);
    SceneGame& g = game();
    setHand(g.opponent, matchtest::kJunk2);
    clickOn(g.showdownButton);
    EXPECT_EQ(g.matchState, SceneGame::ShowdownConfirm);
    EXPECT_TRUE(g.showdownConfirmText.visible && g.yesButton.visible && g.noButton.visible);
    EXPECT_FALSE(g.drawButton.visible);
    clickOn(g.noButton);
    EXPECT_EQ(g.matchState, SceneGame::PlayerChoice);
    EXPECT_EQ(playCount("se_cancel.wav"), 1);
    EXPECT_FALSE(g.dialogPanel.visible);
    clickOn(g.showdownButton);
    clickOn(g.yesButton);
    EXPECT_TRUE(g.playerCalled);
    EXPECT_FALSE(g.systemButtonsEnabled);
    std::vector<int> states;
    ASSERT_TRUE(runUntil([&] {
        states.push_back(g.matchState);
        return g.matchState == SceneGame::ShowdownResult;
    }));
    EXPECT_EQ(std::count(states.begin(), states.end(), SceneGame::OpponentDraw) > 0, true);
    EXPECT_EQ(std::find(states.begin(), states.end(), SceneGame::TurnStart), states.end());
}

TEST_F(SceneGameTest, TieMovesNothingAndOffersNothing) {
    startMatch(0);
    skipStory();
    SceneGame& g = game();
    showdownWith(matchtest::kStraight2, matchtest::kStraight);
    EXPECT_EQ(g.showdownResult, 1);
    EXPECT_EQ(g.payoutMultiplier, 0);
    const int bet = g.bet;
    ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::WaitForClick; }));
    EXPECT_TRUE(g.tieBanner.visible);
    EXPECT_FALSE(g.doubleUpQuestionText.visible);
    EXPECT_FALSE(g.yesButton.visible);
    frames(30);
    EXPECT_EQ(g.human.medals, 1000);
    EXPECT_EQ(g.opponent.medals, 1000);
    EXPECT_EQ(g.bet, bet);
    EXPECT_FALSE(played("se_medal_move.wav"));
    clickIdle(640, 300);
    EXPECT_FALSE(g.tieBanner.visible);
    EXPECT_FALSE(g.handPlates[0].visible);
    // The next hand starts with the gauge's hand bonus; its first frame is not drawn.
    ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::NextRound; }));
    const int drawnBefore = headless->FrameCount();
    frames(1);
    EXPECT_EQ(headless->FrameCount(), drawnBefore);
    EXPECT_EQ(g.matchState, SceneGame::BetRoulette);
    EXPECT_EQ(g.gauge.value, 50);
    frames(60);
    EXPECT_EQ(g.gauge.shown, 50);
}

TEST_F(SceneGameTest, FullHousePaysTwiceTheBetShownOnPlatesAndBanner) {
    startMatch(1);
    skipStory();
    SceneGame& g = game();
    showdownWith(matchtest::kFullHouse, matchtest::kStraight);
    const int bet = g.bet;
    EXPECT_EQ(g.showdownResult, 0);
    EXPECT_EQ(g.payoutMultiplier, 2);
    EXPECT_TRUE(soundCall("PlaySe se_battle_win.wav once 50"));
    // Plates: the player's full house with its x2 mark, the opponent's straight.
    EXPECT_TRUE(SameRect(g.handPlates[0].sourceRect, sheet::kHandPlate[5]));
    EXPECT_TRUE(SameRect(g.multiplierMarks[0].sourceRect, sheet::kMultiplierMark[0]));
    EXPECT_TRUE(g.multiplierMarks[0].visible);
    EXPECT_TRUE(SameRect(g.handPlates[1].sourceRect, sheet::kHandPlate[3]));
    EXPECT_FALSE(g.multiplierMarks[1].visible);
    EXPECT_FLOAT_EQ(g.handPlates[0].position.y, 430.0f);
    EXPECT_FLOAT_EQ(g.handPlates[1].position.y, 131.0f);
    EXPECT_LT(g.winBanner.alpha, 0.1f);
    frames(50);
    EXPECT_FLOAT_EQ(g.winBanner.alpha, 1.0f);
    EXPECT_TRUE(QuadAt(lastFrameQuads(), lay::kWinBannerPos.x, lay::kWinBannerPos.y, 360, 162));
    EXPECT_TRUE(QuadAt(lastFrameQuads(), 64, 430, 512, 128));
    ASSERT_TRUE(showdownSettled());
    EXPECT_EQ(g.bet, 2 * bet);
    EXPECT_EQ(g.betNumber.shown, 2 * bet);
    EXPECT_FALSE(g.winBanner.visible);
    EXPECT_TRUE(g.doubleUpQuestionText.visible && g.yesButton.visible && g.noButton.visible);
    EXPECT_EQ(g.human.medals, 1000);  // nothing paid before the answer
    clickOn(g.noButton);
    EXPECT_EQ(g.matchState, SceneGame::WaitForClick);
    EXPECT_EQ(g.human.medals, 1000 + 2 * bet);
    EXPECT_EQ(g.opponent.medals, 1000 - 2 * bet);
    EXPECT_TRUE(soundCall("PlaySe se_medal_move.wav loop 0"));
    // The medal sound stops once the numbers have counted.
    ASSERT_TRUE(runUntil([&] { return idle(); }));
    frames(1);
    EXPECT_TRUE(soundCall("StopSe se_medal_move.wav"));
    EXPECT_TRUE(soundCall("StopSe se_bet_loop.wav"));
}

TEST_F(SceneGameTest, RoyalPlateStandsHigherAndPaysTenfold) {
    startMatch(3);
    skipStory();
    SceneGame& g = game();
    showdownWith(matchtest::kRoyal, matchtest::kStraight);
    EXPECT_EQ(g.payoutMultiplier, 10);
    EXPECT_TRUE(SameRect(g.handPlates[0].sourceRect, sheet::kRoyalPlate));
    EXPECT_FLOAT_EQ(g.handPlates[0].position.y, 386.0f);
    EXPECT_TRUE(SameRect(g.multiplierMarks[0].sourceRect, sheet::kMultiplierMark[4]));
}

TEST_F(SceneGameTest, FourOfAKindCostsThreeBetsLimitedToThePlayersMedalsAndEndsTheMatch) {
    // Otsel answers only the player's draw, which an opponent's call skips: the loss is the
    // table's alone (Pemra would double it).
    startMatch(1);
    skipStory();
    SceneGame& g = game();
    ASSERT_TRUE(reachPendingTurnStart());
    // The player is nearly out: 3 x bet would be more than is left.
    g.human.setMedals(250);
    g.opponent.setMedals(1750);
    showdownWith(matchtest::kJunk, matchtest::kFourKind);
    EXPECT_EQ(g.showdownResult, 2);
    EXPECT_EQ(g.payoutMultiplier, 3);
    const int bet = g.bet;
    EXPECT_TRUE(g.loseBanner.visible);
    ASSERT_TRUE(showdownSettled());
    EXPECT_EQ(g.bet, 3 * bet);
    EXPECT_EQ(g.human.medals, 0);
    EXPECT_EQ(g.opponent.medals, 2000);
    EXPECT_FALSE(g.yesButton.visible);  // no offer after a loss
    clickIdle(640, 300);
    EXPECT_EQ(g.matchState, SceneGame::RoundEnd);
    frames(3);
    EXPECT_TRUE(played("Otsel_win.wav"));
    EXPECT_TRUE(g.fade.active);
    ASSERT_TRUE(runUntil([&] { return nextScene() != kSceneGame; }, 40));
    EXPECT_EQ(nextScene(), kSceneCm);
    EXPECT_TRUE(soundCall("StopBgm"));
    EXPECT_EQ(Global::Instance().GetStage(1), 1);
}

TEST_F(SceneGameTest, GaugeNeverPassesNineHundredNinetyNine) {
    playToFirstChoice(2);
    SceneGame& g = game();
    setHand(g.opponent, matchtest::kJunk2);
    g.gauge.setValue(980);
    clickOn(g.drawButton);  // five cards: +60
    ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::AfterPlayerDraw; }));
    EXPECT_EQ(g.gauge.value, 999);
    frames(45);
    EXPECT_EQ(g.gauge.shown, 999);
    // The hand bonus at the next round does not pass the top either.
    ASSERT_TRUE(reach(SceneGame::PlayerChoice));
    g.matchState = SceneGame::NextRound;
    frames(60);
    EXPECT_EQ(g.gauge.value, 999);
    EXPECT_EQ(g.gauge.shown, 999);
}

class DoubleUpTest : public SceneGameTest {
protected:
    // Wins a showdown with a full house (2 x bet) and accepts the offer; the stake is returned.
    int acceptDoubleUp(int opponent, int medalsOpponent = 1000) {
        startMatch(opponent);
        skipStory();
        SceneGame& g = game();
        [&] { ASSERT_TRUE(reachPendingTurnStart()); }();
        g.human.setMedals(2000 - medalsOpponent);
        g.opponent.setMedals(medalsOpponent);
        showdownWith(matchtest::kFullHouse, matchtest::kStraight);
        [&] { ASSERT_TRUE(showdownSettled()); }();
        clickOn(g.yesButton);
        EXPECT_EQ(g.matchState, SceneGame::DoubleUpDeal);
        EXPECT_FALSE(g.handPlates[0].visible);
        EXPECT_FALSE(g.stock.pile.visible);
        EXPECT_EQ(g.stock.remainingCards(), 50);  // a fresh deck without the joker, two dealt
        return g.bet;
    }
    void setCards(Card a, Card b) {
        game().doubleUpCards[0].setCard(true, a.value, a.suit);
        game().doubleUpCards[1].setCard(false, b.value, b.suit);
    }
    // Guesses and waits for the payment to end.
    void guess(bool high) {
        SceneGame& g = game();
        clickOn(high ? g.highButton : g.lowButton);
        EXPECT_EQ(g.matchState, SceneGame::DoubleUpResult);
        EXPECT_FALSE((high ? g.lowButton : g.highButton).visible);
        ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::WaitForClick && idle(); }));
    }
};

TEST_F(DoubleUpTest, CardsSlideInAndAShownAceLosesToEveryHighGuess) {
    const int stake = acceptDoubleUp(0);
    SceneGame& g = game();
    EXPECT_FLOAT_EQ(g.doubleUpCards[0].position.x, 322.0f);
    EXPECT_LT(g.doubleUpCards[0].position.y, 0.0f);
    EXPECT_FLOAT_EQ(g.doubleUpCards[1].position.y, -325.0f);  // starts 10 frames later
    EXPECT_TRUE(g.doubleUpCards[0].faceUp);
    EXPECT_FALSE(g.doubleUpCards[1].faceUp);
    frames(30);
    EXPECT_FLOAT_EQ(g.doubleUpCards[0].position.y, 230.0f);
    EXPECT_FLOAT_EQ(g.doubleUpCards[1].position.y, 230.0f);
    EXPECT_TRUE(QuadAt(lastFrameQuads(), 242, 150, 640, 300));
    setCards(Card{0, 0}, Card{12, 3});  // ace shown, king hidden
    guess(true);
    EXPECT_EQ(g.doubleUpResult, 2);
    EXPECT_TRUE(g.doubleUpCards[1].faceUp);
    EXPECT_EQ(g.bet, stake);
    EXPECT_EQ(g.human.medals, 1000 - stake);
    EXPECT_EQ(g.opponent.medals, 1000 + stake);
    EXPECT_TRUE(g.doubleUpPanel.visible);
    clickIdle(640, 300);
    EXPECT_FALSE(g.doubleUpPanel.visible);
    EXPECT_EQ(g.matchState, SceneGame::RoundEnd);
}

TEST_F(DoubleUpTest, EqualValuesTieAndPayTheStake) {
    const int stake = acceptDoubleUp(1);
    SceneGame& g = game();
    setCards(Card{0, 0}, Card{0, 2});  // two aces: high can only tie here
    guess(true);
    EXPECT_EQ(g.doubleUpResult, 1);
    EXPECT_EQ(g.bet, stake);
    EXPECT_EQ(g.human.medals, 1000 + stake);
    EXPECT_FALSE(played("se_wup_win.wav"));
}

TEST_F(DoubleUpTest, LowGuessAgainstAnAceWinsAndDoublesTheStake) {
    const int stake = acceptDoubleUp(2);
    SceneGame& g = game();
    setCards(Card{0, 1}, Card{1, 1});  // ace shown, two hidden
    guess(false);
    EXPECT_EQ(g.doubleUpResult, 0);
    EXPECT_TRUE(played("se_wup_win.wav"));
    EXPECT_EQ(g.bet, 2 * stake);
    EXPECT_EQ(g.human.medals, std::min(1000 + 2 * stake, 2000));  // at most what the opponent has
}

TEST_F(DoubleUpTest, WinningFromSixtyThousandPaysAtMostTheOpponentsMedalsAndWinsTheMatch) {
    acceptDoubleUp(0, 1000);
    SceneGame& g = game();
    g.bet = 60000;
    g.betNumber.setValue(60000);
    setCards(Card{4, 0}, Card{8, 1});  // 5 shown, 9 hidden
    clearSoundLog();
    guess(true);
    EXPECT_EQ(g.bet, 99999);
    EXPECT_EQ(g.betNumber.shown, 99999);
    EXPECT_EQ(g.human.medals, 2000);
    EXPECT_EQ(g.opponent.medals, 0);
    // The opponent is out: "lose1", the stage rises to 2 and is saved, the winCount-1 line.
    std::filesystem::remove(saveDir + "/save.dat");
    clickIdle(640, 300);
    frames(3);
    EXPECT_TRUE(played("Pemra_lose1.wav"));
    EXPECT_EQ(g.matchState, SceneGame::StoryMessage);
    EXPECT_EQ(Global::Instance().GetStage(0), 2);
    EXPECT_EQ(Global::Instance().Get("winCount"), 1);
    EXPECT_TRUE(std::filesystem::exists(saveDir + "/save.dat"));
    EXPECT_FALSE(g.hudInteractive);
    std::set<std::string> lines;
    for (int r = 0; r < 4; ++r) lines.insert(match::StoryLine(0, 1, r));
    EXPECT_TRUE(lines.count(g.messageWindow.text));
    click(640, 300);
    click(640, 300);
    ASSERT_TRUE(runUntil([&] { return nextScene() != kSceneGame; }, 40));
    EXPECT_EQ(nextScene(), kSceneCm);
    EXPECT_TRUE(soundCall("StopBgm"));
}

TEST_F(SceneGameTest, TitleAndQuitButtonsAskFirstAndDoNothingWhileDisabled) {
    startMatch(0);
    SceneGame& g = game();
    // During the greeting the buttons are enabled: Cancel changes nothing.
    frames(2);
    EXPECT_TRUE(g.systemButtonsEnabled);
    headless->QueueMessageBoxAnswer(platform::MessageBoxAnswer::Cancel);
    clickOn(g.titleButton);
    ASSERT_EQ(headless->MessageBoxes().size(), 1u);
    EXPECT_EQ(headless->MessageBoxes()[0].caption, "確認");
    EXPECT_EQ(headless->MessageBoxes()[0].text, "タイトルへ戻りますか？");
    EXPECT_EQ(headless->MessageBoxes()[0].buttons, platform::MessageBoxButtons::OkCancel);
    EXPECT_EQ(headless->MessageBoxes()[0].icon, platform::MessageBoxIcon::Question);
    EXPECT_EQ(g.matchState, SceneGame::StoryMessage);
    EXPECT_FALSE(g.messageWindow.finished());  // the click did not reach the story
    frames(40);
    EXPECT_FALSE(g.fade.active);
    EXPECT_EQ(currentScene(), kSceneGame);
    // While the roulette spins they are disabled (dim) and a click asks nothing.
    skipStory();
    frames(1);
    EXPECT_FALSE(g.systemButtonsEnabled);
    EXPECT_TRUE(SameRect(g.titleButton.sourceRect, sheet::Rect{984, 40, 1024, 80}));
    clickOn(g.titleButton);
    clickOn(g.quitButton);
    EXPECT_EQ(headless->MessageBoxes().size(), 1u);
    // At the player's choice: Cancel on the quit box, then OK on the title box.
    ASSERT_TRUE(reach(SceneGame::PlayerChoice));
    EXPECT_TRUE(SameRect(g.titleButton.sourceRect, sheet::Rect{984, 0, 1024, 40}));
    headless->QueueMessageBoxAnswer(platform::MessageBoxAnswer::Cancel);
    clickOn(g.quitButton);
    ASSERT_EQ(headless->MessageBoxes().size(), 2u);
    EXPECT_EQ(headless->MessageBoxes()[1].text, "ゲームを終了しますか？");
    EXPECT_FALSE(quit());
    clearSoundLog();
    headless->QueueMessageBoxAnswer(platform::MessageBoxAnswer::Ok);
    clickOn(g.titleButton);
    EXPECT_EQ(playCount("se_decide.wav"), 2);
    EXPECT_TRUE(g.fade.active);
    ASSERT_TRUE(runUntil([&] { return nextScene() != kSceneGame; }, 40));
    EXPECT_EQ(nextScene(), kSceneTitle);
}

TEST_F(SceneGameTest, OkOnTheQuitBoxEndsTheProgram) {
    playToFirstChoice(0);
    headless->QueueMessageBoxAnswer(platform::MessageBoxAnswer::Ok);
    clickOn(game().quitButton);
    EXPECT_TRUE(quit());
}

}  // namespace

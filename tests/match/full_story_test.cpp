// The full story: with "FullStory" 1 a visit goes on after a win, so three wins in a row against
// one host raise the stage to 4, speak the three story groups and the "lose1".."lose3" voices and
// end in the illustration; a loss still ends in the advertisement. With the option off the first
// win ends the visit.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/global.h"
#include "core/records.h"
#include "match_fixture.h"
#include "scenes/match/opponent_lines.h"

namespace {

using matchtest::MatchTest;

class FullStoryTest : public MatchTest {
protected:
    static constexpr int kHost = 1;  // Otsel: its rolls are answered so that it never acts

    void SetUp() override {
        MatchTest::SetUp();
        if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
        Records::Instance().Clear();
    }
    void startVisit(bool fullStory) {
        Global::Instance().Set(fullStory ? 1 : 0, "FullStory");
        startMatch(kHost);
        game().rollHook = [](int, int hi) { return hi; };
        skipStory();
    }
    // From the first bet of a match to its last hand: the opponent calls with a straight, the
    // player shows `mine`; with only `opponentMedals` left one side is out after the hand.
    void lastHand(const std::array<Card, 5>& mine, int humanMedals, int opponentMedals) {
        SceneGame& g = game();
        ASSERT_TRUE(reachPendingTurnStart());
        g.human.setMedals(humanMedals);
        g.opponent.setMedals(opponentMedals);
        setHand(g.human, mine);
        setHand(g.opponent, matchtest::kStraight);
        ASSERT_TRUE(reach(SceneGame::OpponentCallNotice));
        clickOn(g.okButton);
        ASSERT_TRUE(reach(SceneGame::PlayerChoice));
        holdAll();
        clickOn(g.drawButton);
        finishHand();
    }
    // Wins the running match and waits for the story line of the new winCount.
    void winMatch() {
        lastHand(matchtest::kRoyal, 1000, 100);
        ASSERT_TRUE(reach(SceneGame::StoryMessage, 200));
    }
    // The message shows one of the host's four lines for the win count.
    bool showsStoryGroup(int winCount) const {
        std::set<std::string> lines;
        for (int r = 0; r < 4; ++r) lines.insert(match::StoryLine(kHost, winCount, r));
        return lines.count(game().messageWindow.text) == 1;
    }
    // Clicks the line complete and away.
    void leaveStory() {
        click(640, 300);
        click(640, 300);
    }
    // Order of the voices heard since the log was cleared.
    std::string voices() const {
        std::string order;
        for (const std::string& s : soundLog()) {
            for (const char* v : {"lose1", "lose2", "lose3"}) {
                if (s.rfind("PlaySe Otsel_" + std::string(v) + ".wav", 0) == 0) order += std::string(v) + " ";
            }
        }
        return order;
    }
};

TEST_F(FullStoryTest, ThreeWinsInARowReachStageFourAndTheIllustration) {
    startVisit(true);
    SceneGame& g = game();
    clearSoundLog();
    for (int win = 1; win <= 3; ++win) {
        SCOPED_TRACE(win);
        winMatch();
        EXPECT_EQ(Global::Instance().Get("winCount"), win);
        EXPECT_EQ(Global::Instance().GetStage(kHost), win + 1);
        EXPECT_TRUE(showsStoryGroup(win)) << g.messageWindow.text;
        if (win == 3) break;
        leaveStory();
        // The next match of the same visit: fresh medals, the greeting skipped, the same host.
        ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::BetRoulette; }, 80));
        EXPECT_EQ(currentScene(), kSceneGame);
        EXPECT_EQ(nextScene(), kSceneGame);
        EXPECT_EQ(g.human.medals, 1000);
        EXPECT_EQ(g.opponent.medals, 1000);
        EXPECT_TRUE(g.hudInteractive);
        EXPECT_FALSE(g.fadingOut);
        EXPECT_FALSE(soundCall("StopBgm"));
    }
    EXPECT_EQ(voices(), "lose1 lose2 lose3 ");
    leaveStory();
    ASSERT_TRUE(runUntil([&] { return nextScene() != kSceneGame; }, 80));
    EXPECT_EQ(nextScene(), kSceneLookCg);
    EXPECT_EQ(Global::Instance().Get("cg"), 3);
    // The save holds stage 4, the records three won matches.
    Global::Instance().LoadSave();
    EXPECT_EQ(Global::Instance().GetStage(kHost), 4);
    Records::Instance().Clear();
    Records::Instance().Load();
    EXPECT_EQ(Records::Instance().Get(kHost).matchesWon, 3);
    EXPECT_EQ(Records::Instance().Get(kHost).matchesLost, 0);
    EXPECT_EQ(Records::Instance().Get(kHost).bestHand, HandRankRoyal);
}

TEST_F(FullStoryTest, ALossAfterAWinEndsInTheAdvertisement) {
    startVisit(true);
    SceneGame& g = game();
    winMatch();
    leaveStory();
    ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::BetRoulette; }, 80));
    clearSoundLog();
    lastHand(matchtest::kJunk, 100, 1900);
    EXPECT_TRUE(played("Otsel_win.wav"));
    ASSERT_TRUE(runUntil([&] { return nextScene() != kSceneGame; }, 80));
    EXPECT_EQ(nextScene(), kSceneCm);
    EXPECT_EQ(Global::Instance().GetStage(kHost), 2);
    EXPECT_EQ(Global::Instance().Get("winCount"), 1);
    EXPECT_EQ(Records::Instance().Get(kHost).matchesWon, 1);
    EXPECT_EQ(Records::Instance().Get(kHost).matchesLost, 1);
}

TEST_F(FullStoryTest, WithTheOptionOffTheFirstWinEndsTheVisit) {
    startVisit(false);
    winMatch();
    EXPECT_TRUE(showsStoryGroup(1));
    leaveStory();
    ASSERT_TRUE(runUntil([&] { return nextScene() != kSceneGame; }, 80));
    EXPECT_EQ(nextScene(), kSceneCm);
    EXPECT_EQ(Global::Instance().GetStage(kHost), 2);
}

}  // namespace

// Records counted over whole bot matches: an observer watches every frame the bot plays and
// counts hands, best hands, payouts, double-up streaks and match results per host on its own;
// the game's records, in memory and in records.dat after each match, must agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <iostream>

#include "core/global.h"
#include "core/records.h"
#include "match_bot.h"
#include "match_fixture.h"

namespace {

class RecordsBotTest : public matchtest::MatchTest, public matchtest::BotDriver {
public:
    SceneGame* match() override { return inMatch() ? &game() : nullptr; }
    bool pass() override { return input(mouseX, mouseY, false, false); }
    void click(int x, int y) override { input(x, y, true, false) && input(x, y, false, false); }
    void rightClick(int x, int y) override { input(x, y, false, true) && input(x, y, false, false); }

protected:
    void SetUp() override {
        MatchTest::SetUp();
        if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
        headless->clockReadCostNs = 100000;
        Records::Instance().Clear();
    }

    bool input(int x, int y, bool left, bool right) {
        mouseX = x;
        mouseY = y;
        headless->SetMouse(x, y, left, right);
        const bool alive = app->Pass();
        observe();
        return alive;
    }

    // Counts what a watching player would note down, one frame at a time.
    void observe() {
        if (!inMatch()) {
            lastState = -1;
            return;
        }
        const SceneGame& g = game();
        HostRecord& r = expected[static_cast<size_t>(g.opponentIndex)];
        // A state's first dispatched frame is the one after which previousState names it.
        const bool entered = g.previousState != lastState;
        lastState = g.previousState;
        if (!entered) return;
        switch (g.previousState) {
            case SceneGame::BetRoulette:
                medalsAtBet = g.human.medals;
                break;
            case SceneGame::ShowdownResult:
                ++r.handsPlayed;
                r.bestHand = std::max(r.bestHand, g.human.evaluateHand().rank);
                break;
            case SceneGame::DoubleUpResult:
                if (g.doubleUpResult == 0) r.longestDoubleUpStreak = std::max(r.longestDoubleUpStreak, ++streak);
                if (g.doubleUpResult == 2) streak = 0;
                break;
            case SceneGame::RoundEnd:
                r.largestPayout = std::max(r.largestPayout, g.human.medals - medalsAtBet);
                if (g.human.medals < 1) ++r.matchesLost;
                if (g.human.medals >= 1 && g.opponent.medals < 1) ++r.matchesWon;
                break;
            default:
                break;
        }
    }

    std::array<HostRecord, Records::kHosts> expected{};
    int lastState = -1;
    int medalsAtBet = 0;
    int streak = 0;
};

TEST_F(RecordsBotTest, RecordsMatchWhatWasPlayedAndAreWrittenAtEachMatchEnd) {
    matchtest::BotOptions options;
    options.seed = 424242;
    options.doubleUpPercent = 90;  // streaks of more than one
    matchtest::MatchBot bot(*this, options);
    const std::string file = saveDir + "/records.dat";
    constexpr int kMatches = 20;
    for (int m = 0; m < kMatches && !quit(); ++m) {
        const int host = m % 5;
        streak = 0;  // a streak belongs to one match
        startMatch(host);
        bot.playMatch();
        ASSERT_NE(nextScene(), kSceneGame);
        // The file on disk already holds this match.
        ASSERT_TRUE(std::filesystem::exists(file));
        const HostRecord inMemory = Records::Instance().Get(host);
        Records::Instance().Clear();
        Records::Instance().Load();
        EXPECT_EQ(Records::Instance().Get(host), inMemory) << "match " << m;
        Start(kSceneCm);
        frames(1);
    }
    for (const std::string& f : bot.stats.faults) ADD_FAILURE() << f;
    std::cout << "[records] " << bot.stats.hands << " hands, " << bot.stats.doubleUps << " double-ups\n";
    int hands = 0, won = 0, streakMax = 0;
    for (int h = 0; h < Records::kHosts; ++h) {
        SCOPED_TRACE(h);
        const HostRecord& r = Records::Instance().Get(h);
        EXPECT_EQ(r, expected[static_cast<size_t>(h)]);
        EXPECT_EQ(r.matchesWon + r.matchesLost, kMatches / 5);
        hands += r.handsPlayed;
        won += r.matchesWon;
        streakMax = std::max(streakMax, r.longestDoubleUpStreak);
    }
    // The figures agree with the bot's own count, and the run was varied enough to mean something.
    EXPECT_EQ(hands, bot.stats.hands);
    EXPECT_EQ(won, bot.stats.matchesWon);
    EXPECT_GE(streakMax, 2);
    EXPECT_FALSE(std::filesystem::exists(file + ".tmp"));
}

}  // namespace

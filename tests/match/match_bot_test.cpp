// The bot plays whole matches against every host and checks the invariants on every frame.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include "core/global.h"
#include "match_bot.h"
#include "match_fixture.h"

namespace {

class BotDriverForFixture : public matchtest::BotDriver {
public:
    explicit BotDriverForFixture(matchtest::MatchTest& t, SceneGame* (*get)(matchtest::MatchTest&),
                                 bool (*frame)(matchtest::MatchTest&), void (*clickAt)(matchtest::MatchTest&, int, int, bool))
        : t_(t), get_(get), frame_(frame), click_(clickAt) {}
    SceneGame* match() override { return get_(t_); }
    bool pass() override { return frame_(t_); }
    void click(int x, int y) override { click_(t_, x, y, false); }
    void rightClick(int x, int y) override { click_(t_, x, y, true); }

private:
    matchtest::MatchTest& t_;
    SceneGame* (*get_)(matchtest::MatchTest&);
    bool (*frame_)(matchtest::MatchTest&);
    void (*click_)(matchtest::MatchTest&, int, int, bool);
};

class MatchBotTest : public matchtest::MatchTest {
protected:
    void SetUp() override {
        MatchTest::SetUp();
        if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    }
    // Plays `count` matches spread over the five hosts and reports speed and outcome.
    matchtest::BotStats play(int count, matchtest::BotOptions options) {
        BotDriverForFixture driver(
            *this, [](matchtest::MatchTest& t) { return static_cast<MatchBotTest&>(t).current(); },
            [](matchtest::MatchTest& t) { return static_cast<MatchBotTest&>(t).frames(1); },
            [](matchtest::MatchTest& t, int x, int y, bool right) {
                auto& self = static_cast<MatchBotTest&>(t);
                right ? self.rightClick(x, y) : self.click(x, y);
            });
        matchtest::MatchBot bot(driver, options);
        const auto start = std::chrono::steady_clock::now();
        for (int m = 0; m < count && !quit(); ++m) {
            startMatch(m % 5);
            bot.playMatch();
            EXPECT_TRUE(nextScene() == kSceneCm || nextScene() == kSceneLookCg) << nextScene();
            Start(kSceneCm);  // nothing runs there in the tests: the next match enters afresh
            frames(1);
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::cout << "[bot] " << bot.stats.matches << " matches (" << bot.stats.matchesWon << " won), "
                  << bot.stats.hands << " hands, " << bot.stats.frames << " frames, " << bot.stats.doubleUps
                  << " double-ups in " << seconds << " s: " << bot.stats.matches / seconds << " matches/s, "
                  << (bot.stats.frames / 60.0) / seconds << " x real time\n";
        for (const std::string& f : bot.stats.faults) ADD_FAILURE() << f;
        return bot.stats;
    }
    SceneGame* current() { return inMatch() ? &game() : nullptr; }
};

TEST_F(MatchBotTest, HundredMatchesAgainstAllHostsKeepEveryInvariant) {
    matchtest::BotOptions options;
    options.seed = 20261208;
    const matchtest::BotStats stats = play(100, options);
    EXPECT_EQ(stats.matches, 100);
    // Both sides win matches and the double-up gets used.
    EXPECT_GT(stats.matchesWon, 0);
    EXPECT_LT(stats.matchesWon, 100);
    EXPECT_GT(stats.doubleUps, 0);
    EXPECT_GE(stats.hands, 300);
}

}  // namespace

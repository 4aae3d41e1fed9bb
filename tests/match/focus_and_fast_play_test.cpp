// The main loop's comforts seen from the match: a window in the background holds the roulette,
// its effect and the music exactly where they were; fast play runs two steps per shown frame.
#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "match_fixture.h"
#include "sound/dx_sound.h"

namespace matchtest {
namespace {

class LoopComfortTest : public MatchTest {
protected:
    void SetUp() override {
        MatchTest::SetUp();
        if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    }
    // Into the spinning roulette, some frames in.
    void spinning() {
        startMatch(1);
        skipStory();
        frames(10);
        ASSERT_EQ(game().matchState, SceneGame::BetRoulette);
        ASSERT_GT(game().rouletteCounter, 40);
    }
};

TEST_F(LoopComfortTest, LostFocusHoldsTheRouletteAndTheMusicUntilItReturns) {
    Global::Instance().Set(1, "PauseOnFocusLoss");
    spinning();
    DxSound& sound = DxSound::Instance();
    ASSERT_EQ(sound.BgmState(), 2);

    headless->ScriptFocus(false);
    frames(1);  // this pass still runs; its events pause the game
    ASSERT_TRUE(app->Paused());
    const int counter = game().rouletteCounter;
    const int shown = game().betNumber.shown;
    const uint32_t music = sound.BgmBufferPosition();
    const uint64_t refills = sound.BgmRefillCount();
    const int begun = headless->BeginCount();
    const int presented = headless->FrameCount();
    EXPECT_TRUE(soundCall("Pause"));
    EXPECT_TRUE(sound.IsSePlaying("se_bet_loop.wav"));

    frames(120);
    EXPECT_EQ(game().rouletteCounter, counter);
    EXPECT_EQ(game().betNumber.shown, shown);
    EXPECT_EQ(sound.BgmBufferPosition(), music);
    EXPECT_EQ(sound.BgmRefillCount(), refills);
    // The picture stays: presented every pass, drawn never.
    EXPECT_EQ(headless->BeginCount(), begun);
    EXPECT_EQ(headless->FrameCount(), presented + 120);
    EXPECT_EQ(game().matchState, SceneGame::BetRoulette);

    headless->ScriptFocus(true);
    frames(1);  // still paused while the event waits; resumed at its end
    EXPECT_FALSE(app->Paused());
    EXPECT_TRUE(soundCall("Resume"));
    EXPECT_EQ(game().rouletteCounter, counter);
    // The music goes on from where it stood: one pass of output further.
    EXPECT_EQ(sound.BgmBufferPosition(), music + 735u * 4u);
    frames(5);
    EXPECT_EQ(game().rouletteCounter, counter - 5);
    EXPECT_NE(sound.BgmBufferPosition(), music);
    EXPECT_EQ(headless->BeginCount(), begun + 5);
}

TEST_F(LoopComfortTest, TheOptionOffKeepsPlayingInTheBackground) {
    Global::Instance().Set(0, "PauseOnFocusLoss");
    spinning();
    headless->ScriptFocus(false);
    frames(1);
    const int counter = game().rouletteCounter;
    frames(5);
    EXPECT_FALSE(app->Paused());
    EXPECT_EQ(game().rouletteCounter, counter - 5);
    EXPECT_FALSE(soundCall("Pause"));
}

TEST_F(LoopComfortTest, FastPlayRunsTwoStepsPerShownFrame) {
    spinning();
    const int counter = game().rouletteCounter;
    const int begun = headless->BeginCount();
    const int presented = headless->FrameCount();
    Global::Instance().Set(1, "FastAnimations");
    frames(10);
    EXPECT_EQ(game().rouletteCounter, counter - 20);
    EXPECT_EQ(app->UpdatesLastPass(), 2);
    // Only the second step of each pass reaches the screen.
    EXPECT_EQ(headless->BeginCount(), begun + 10);
    EXPECT_EQ(headless->FrameCount(), presented + 10);
    EXPECT_FALSE(DxGraphic::Instance().FrameHidden());

    Global::Instance().Set(0, "FastAnimations");
    frames(3);
    EXPECT_EQ(game().rouletteCounter, counter - 23);
    // Holding Space does the same while held.
    holdKey(platform::KeyCode::Space, true);
    frames(3);
    EXPECT_EQ(game().rouletteCounter, counter - 29);
    holdKey(platform::KeyCode::Space, false);
    frames(1);
    EXPECT_EQ(game().rouletteCounter, counter - 30);
}

}  // namespace
}  // namespace matchtest

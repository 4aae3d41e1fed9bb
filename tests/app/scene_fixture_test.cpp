// The scene fixture itself: a scripted scene driven through the real main loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/mouse_controller.h"
#include "app/scene.h"
#include "core/random.h"
#include "graphics/dx_graphic.h"
#include "scene_fixture.h"
#include "sound/dx_sound.h"

namespace {

std::vector<std::string> gEvents;

// Scene 2 goes to scene 3 on a left click inside (100..200, 100..200), playing "se_decide.wav".
// Scene 3 quits: by writing 10 on a right click, or by HideWindowAndQuit on a left click.
class ProbeScene : public Scene {
public:
    explicit ProbeScene(int id) : id_(id) {}
    void Enter(int previous) override { gEvents.push_back("enter " + std::to_string(id_) + " from " + std::to_string(previous)); }
    void Leave() override { gEvents.push_back("leave " + std::to_string(id_)); }
    void Update(int* next) override {
        MouseController& m = MouseController::Instance();
        m.Update(true);
        DxGraphic& g = DxGraphic::Instance();
        g.BeginFrame();
        g.EndFrame();
        ++frames;
        if (id_ == 2 && m.Clicked() && m.x > 100 && m.x < 200 && m.y > 100 && m.y < 200) {
            DxSound::Instance().PlaySe("se_decide.wav");
            *next = 3;
        }
        if (id_ == 3 && m.RightClicked()) *next = kSceneQuit;
        if (id_ == 3 && m.Clicked()) HideWindowAndQuit();
        if (m.KeyHeld(platform::KeyCode::LeftControl)) gEvents.push_back("ctrl");
    }
    int frames = 0;

private:
    int id_;
};

class SceneFixtureTest : public testsupport::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        gEvents.clear();
        SetFactory([](int id) -> Scene* { return id == 2 || id == 3 ? new ProbeScene(id) : nullptr; });
    }
};

TEST_F(SceneFixtureTest, ClicksSwitchScenesAndPlayLoggedEffects) {
    Start(2);
    ASSERT_TRUE(frames(3));
    EXPECT_EQ(currentScene(), 2);
    click(50, 50);  // outside: nothing
    EXPECT_EQ(currentScene(), 2);
    EXPECT_FALSE(played("se_decide.wav"));
    click(150, 150);
    EXPECT_EQ(playCount("se_decide.wav"), 1);
    EXPECT_TRUE(soundCall("PlaySe se_decide.wav once 0"));
    ASSERT_TRUE(frames(1));
    EXPECT_EQ(currentScene(), 3);
    const std::vector<std::string> want = {"enter 2 from 0", "leave 2", "enter 3 from 2"};
    EXPECT_EQ(gEvents, want);
    holdKey(platform::KeyCode::LeftControl, true);
    frames(2);
    holdKey(platform::KeyCode::LeftControl, false);
    frames(1);
    EXPECT_EQ(std::count(gEvents.begin(), gEvents.end(), "ctrl"), 2);
}

// A frame goes on screen at the start of the pass after the one that drew it (right after the
// wait, so at the paced instant), one per pass. Start-up timing: one line when the first frame is
// on screen, none after.
TEST_F(SceneFixtureTest, EachPassShowsTheFrameBeforeItAndTheFirstIsReportedOnce) {
    Start(2);
    const auto lines = [&] {
        return std::count_if(debugLines.begin(), debugLines.end(), [](const std::string& line) {
            return line.find("info: first frame ") == 0 &&
                   line.find(" ms after start-up began") != std::string::npos;
        });
    };
    ASSERT_TRUE(frames(1));
    EXPECT_EQ(lines(), 0);  // drawn, not yet shown
    ASSERT_TRUE(frames(4));
    EXPECT_EQ(lines(), 1);
    EXPECT_EQ(headless->framesShown, 5);
}

TEST_F(SceneFixtureTest, SceneIdTenQuitsAfterLeave) {
    Start(3);
    frames(2);
    rightClick(10, 10);
    EXPECT_TRUE(quit());
    EXPECT_FALSE(headless->WindowVisible());
    EXPECT_EQ(gEvents.back(), "leave 3");
    EXPECT_EQ(scene(), nullptr);
}

TEST_F(SceneFixtureTest, PostedQuitEndsTheLoopWithoutLeave) {
    Start(3);
    frames(2);
    click(10, 10);
    EXPECT_TRUE(quit());
    EXPECT_FALSE(headless->WindowVisible());
    EXPECT_EQ(gEvents.back(), "enter 3 from 0");  // destroyed without Leave
    EXPECT_EQ(scene(), nullptr);
    EXPECT_FALSE(frames(5));  // stays ended
}

TEST_F(SceneFixtureTest, RunReturnsZeroWhenASceneQuits) {
    Start(3);
    headless->SetMouse(10, 10, true);
    app->currentSceneId = 0;
    app->nextSceneId = 3;
    EXPECT_EQ(app->Run(), 0);
    EXPECT_EQ(gEvents.back(), "enter 3 from 0");
}

TEST_F(SceneFixtureTest, RandomAndRandAreSeededPerTest) {
    const int first = Random::Instance().Range(0, 1000000);
    const int r = std::rand();
    Seed(kSeed);
    EXPECT_EQ(Random::Instance().Range(0, 1000000), first);
    EXPECT_EQ(std::rand(), r);
}

}  // namespace

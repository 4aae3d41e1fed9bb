#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_platform.h"

namespace testsupport {

// The fixture every scene test stands on: the headless platform and audio device, the graphics
// and sound services brought up as start-up does, Global cleared (save file in a temporary
// folder), Random and rand() seeded, and the real Application main loop run one pass at a time on
// the virtual clock, with the real scene factory.
//
//     UseGameData();                 // the generated archives of the build (skip without them)
//     Start(kSceneTitle);
//     frames(400);
//     click(1000, 540);
//     EXPECT_TRUE(played("se_decide.wav"));
class SceneTest : public ::testing::Test {
protected:
    static constexpr uint32_t kSeed = 20261208;

    void SetUp() override;
    void TearDown() override;

    // Loads the archives the build generated (build/data) and points the loose voice folder at
    // build/wav. False when the build has none (call GTEST_SKIP then).
    bool UseGameData();
    // Reseeds Random and rand().
    void Seed(uint32_t seed);
    // Replaces the scene factory (before Start).
    void SetFactory(Application::SceneFactory factory);
    // The next pass creates and enters the scene.
    void Start(int sceneId);

    // Runs n passes of the main loop (scene switches included); false as soon as the program has
    // quit.
    bool frames(int n);
    // Left button down at (x, y) for one pass, up for the next (two passes).
    void click(int x, int y);
    void rightClick(int x, int y);
    // Moves the mouse without pressing (takes effect on the next pass).
    void moveMouse(int x, int y);
    void holdKey(platform::KeyCode key, bool down);
    // The key down for one frame, then up for one: one press as the scenes see it.
    void pressKey(platform::KeyCode key);

    // Every effect and music call since the last clearSoundLog, as DxSound logs them
    // ("PlaySe se_decide.wav once 0", "OpenBgm bgm_menu.ogg", ...).
    const std::vector<std::string>& soundLog() const { return sounds; }
    void clearSoundLog() { sounds.clear(); }
    // How many times the effect was started (PlaySe) since the last clearSoundLog.
    int playCount(const std::string& name) const;
    bool played(const std::string& name) const { return playCount(name) > 0; }
    // True when a logged call line starts with the text.
    bool soundCall(const std::string& prefix) const;

    // Quads drawn in the last frame.
    std::vector<platform::Quad> lastFrameQuads() const { return headless->LastFrameQuads(); }
    // True when a captured debug line contains the (UTF-8) fragment.
    bool logged(const std::string& utf8Fragment) const;

    int currentScene() const { return app->currentSceneId; }
    int nextScene() const { return app->nextSceneId; }
    Scene* scene() const { return app->scene.get(); }
    bool quit() const { return quit_; }

    platform::HeadlessPlatform* headless = nullptr;
    platform::audio::HeadlessAudioDevice* audio = nullptr;
    std::unique_ptr<Application> app;
    std::vector<std::string> sounds;
    std::vector<std::string> debugLines;
    std::string saveDir;
    int mouseX = -1, mouseY = -1;

private:
    // Buttons down at (x, y) for one pass, up for the next.
    void press(int x, int y, bool left, bool right);

    bool quit_ = false;
};

}  // namespace testsupport

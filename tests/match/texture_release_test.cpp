// Textures across scene changes, counted on the headless platform: the heavy scenes (host
// selection, gallery, match) release every texture and canvas when they leave, so a round trip
// from the title menu through one of them ends with exactly the textures the title menu holds,
// however often it is made. The title leaves the caches alone when it leaves, but what it hands
// on and the next scene does not use is released after that scene's first frame.
#include <gtest/gtest.h>

#include <string>

#include "../menu/title_fixture.h"
#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "match_fixture.h"
#include "scenes/menu/title_texts.h"

namespace {

using namespace titletest;

class TextureReleaseTest : public matchtest::MatchTest {
protected:
    void SetUp() override {
        MatchTest::SetUp();
        if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
        Global::Instance().Set(1, "skipLogo");
    }

    SceneTitle* title() const { return dynamic_cast<SceneTitle*>(scene()); }
    size_t live() const { return headless->LiveTextureCount(); }
    // A picture only the title menu shows.
    static bool titlePictureLoaded() {
        const DxGraphic::CacheEntry* bg = DxGraphic::Instance().FindTexture("menu_bg_01.png");
        return bg != nullptr && bg->texture != 0;
    }

    // Runs until the title menu takes input again, the pointer parked where nothing lights;
    // false when it does not come back.
    bool backAtTitleMenu() {
        moveMouse(kEmpty.x, kEmpty.y);
        if (!runUntil([&] { return title() != nullptr && title()->inputOn(); }, 600)) return false;
        return frames(2);
    }
    bool reachScene(int id) {
        return runUntil([&] { return currentScene() == id && scene() != nullptr; }, 200) && frames(30);
    }

    // Title menu -> the scene a menu item leads to -> a right click back to the menu.
    void roundTripByMenu(Point item, int sceneId) {
        click(item.x, item.y);
        ASSERT_TRUE(reachScene(sceneId));
        // The scene has its own pictures; the title's are gone.
        EXPECT_GT(live(), 0u);
        EXPECT_FALSE(titlePictureLoaded());
        rightClick(10, 10);
        ASSERT_TRUE(backAtTitleMenu()) << "scene " << sceneId << " did not lead back to the title";
    }

    // Title menu -> host pick -> introduction skipped with Ctrl -> the match, played to the
    // player's first choice -> the title button, confirmed -> the title menu.
    void roundTripThroughMatch() {
        click(kStart.x, kStart.y);
        frames(SceneTitle::kPickWait);
        click(SlotCentre(1).x, SlotCentre(1).y);
        holdKey(platform::KeyCode::LeftControl, true);
        frames(menu::kIntroductionLineCount);
        holdKey(platform::KeyCode::LeftControl, false);
        ASSERT_TRUE(runUntil([&] { return inMatch(); }, 200));
        skipStory();
        ASSERT_TRUE(reach(SceneGame::PlayerChoice));
        EXPECT_GT(live(), 0u);
        EXPECT_FALSE(titlePictureLoaded());
        // What the match's parts made when the scene was made stays theirs (the ability window
        // creates its canvases then), and nothing wrote to a canvas that was gone.
        EXPECT_NE(DxGraphic::Instance().FindCanvas("font_sp_cost"), nullptr);
        for (const std::string& line : debugLines) {
            EXPECT_EQ(line.find("キャンバスがありません"), std::string::npos) << line;
        }
        headless->QueueMessageBoxAnswer(platform::MessageBoxAnswer::Ok);
        clickOn(game().titleButton);
        ASSERT_TRUE(backAtTitleMenu()) << "the match did not lead back to the title";
    }

    // Starts at the title menu and counts what it holds.
    void startAtTitle() {
        Start(kSceneTitle);
        ASSERT_TRUE(backAtTitleMenu());
        titleCount_ = live();
        ASSERT_GT(titleCount_, 0u);
        ASSERT_TRUE(titlePictureLoaded());
    }

    size_t titleCount_ = 0;
};

TEST_F(TextureReleaseTest, GalleryAndHostSelectionLeaveOnlyTheTitlesTexturesBehind) {
    startAtTitle();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        roundTripByMenu(kGallery, kSceneCgMode);
        EXPECT_EQ(live(), titleCount_) << "after the gallery";
        roundTripByMenu(kQuick, kSceneChrSelect);
        EXPECT_EQ(live(), titleCount_) << "after the host selection";
    }
}

TEST_F(TextureReleaseTest, TheMatchLeavesOnlyTheTitlesTexturesBehind) {
    startAtTitle();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        roundTripThroughMatch();
        EXPECT_EQ(live(), titleCount_) << "after the match";
    }
    // And a lighter scene after it: the gallery's leaving still returns to the same count.
    roundTripByMenu(kGallery, kSceneCgMode);
    EXPECT_EQ(live(), titleCount_);
}

}  // namespace

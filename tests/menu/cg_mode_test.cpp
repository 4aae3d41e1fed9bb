// The gallery's selection: columns open from stage 3, the standing pictures' hot area, the
// cursor, the choice handed to the viewer and the menu music kept or closed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "scene_fixture.h"
#include "scenes/menu/gallery_layout.h"
#include "scenes/menu/scene_cg_mode.h"
#include "sound/dx_sound.h"

namespace {

namespace gl = menu::gallery;

constexpr int kFadeInPasses = 32;  // 30 fade frames, the pass that ends it, one spare

const gl::Item& ItemOf(int host, int item) { return gl::kItems[host * gl::kItemsPerHost + item]; }

class CgModeTest : public testsupport::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        clearSoundLog();
        if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
        SetFactory([](int id) -> Scene* { return id == kSceneCgMode ? new SceneCgMode() : nullptr; });
    }

    void setStages(int s0, int s1, int s2, int s3, int s4) {
        const int s[] = {s0, s1, s2, s3, s4};
        for (int i = 0; i < 5; ++i) Global::Instance().Set(s[i], "stage_" + std::to_string(i));
    }

    void startGallery() {
        Start(kSceneCgMode);
        frames(kFadeInPasses);
    }

    // A quad of the sheet drawn last frame with its top-left corner at (x, y) and this blend.
    bool drawnAt(int x, int y, int blend) const {
        const DxGraphic::CacheEntry* e = DxGraphic::Instance().FindTexture(gl::kSheet);
        for (const platform::Quad& q : lastFrameQuads()) {
            if (e != nullptr && q.texture == e->texture && q.blend == blend && std::fabs(q.v[0].x - (x - 0.5f)) < 0.01f &&
                std::fabs(q.v[0].y - (y - 0.5f)) < 0.01f) {
                return true;
            }
        }
        return false;
    }
    bool thumbnailShown(int host, int item) const { return drawnAt(ItemOf(host, item).x, ItemOf(host, item).y, 1); }
    bool cursorOn(int host, int item) const {
        const gl::Item& it = ItemOf(host, item);
        return drawnAt(it.x - it.margin, it.y - it.margin, 2);
    }
    int cursorQuads() const {
        int n = 0;
        for (const platform::Quad& q : lastFrameQuads()) n += q.blend == 2 ? 1 : 0;
        return n;
    }
    // Mouse over the middle of an item for one pass.
    void hoverItem(int host, int item) {
        const gl::Item& it = ItemOf(host, item);
        moveMouse(it.x + it.width / 2, it.y + it.height / 2);
        frames(1);
    }
    void clickItem(int host, int item) {
        const gl::Item& it = ItemOf(host, item);
        click(it.x + it.width / 2, it.y + it.height / 2);
    }
};

TEST_F(CgModeTest, ColumnsOpenFromStageThree) {
    for (int locked = 0; locked <= 2; ++locked) {
        if (locked > 0) {
            TearDown();
            SetUp();
        }
        setStages(locked, 3, 0, 0, 7);
        startGallery();
        EXPECT_EQ(Global::Instance().Get("isCgMode"), 1);
        for (int i = 0; i < 4; ++i) {
            EXPECT_FALSE(thumbnailShown(0, i)) << "stage " << locked << " item " << i;
            EXPECT_TRUE(thumbnailShown(1, i)) << "item " << i;
            EXPECT_TRUE(thumbnailShown(4, i)) << "item " << i;
        }
        // The locked column neither shows a cursor nor takes a click, its hot area included.
        for (int i = 0; i < gl::kItemsPerHost; ++i) {
            hoverItem(0, i);
            EXPECT_EQ(cursorQuads(), 0) << "stage " << locked << " item " << i;
            clickItem(0, i);
        }
        EXPECT_FALSE(played("se_decide.wav")) << "stage " << locked;
        frames(25);
        EXPECT_EQ(nextScene(), kSceneCgMode);
    }
}

TEST_F(CgModeTest, TheCursorFramesTheHoveredThumbnailAdditively) {
    setStages(3, 3, 3, 3, 3);
    startGallery();
    for (int host = 0; host < gl::kHostCount; ++host) {
        for (int i = 0; i < 4; ++i) {
            hoverItem(host, i);
            EXPECT_TRUE(cursorOn(host, i)) << host << "/" << i;
            EXPECT_EQ(cursorQuads(), 1);
        }
    }
    // Box edges: left and top inside, right and bottom outside.
    const gl::Item& it = ItemOf(3, 1);
    moveMouse(it.x, it.y);
    frames(1);
    EXPECT_TRUE(cursorOn(3, 1));
    moveMouse(it.x + it.width, it.y + 5);
    frames(1);
    EXPECT_EQ(cursorQuads(), 0);
    moveMouse(it.x + 5, it.y + it.height);  // the gap between two thumbnails
    frames(1);
    EXPECT_EQ(cursorQuads(), 0);
    moveMouse(640, 700);
    frames(1);
    EXPECT_EQ(cursorQuads(), 0);
}

TEST_F(CgModeTest, AClickHandsHostAndItemToTheViewer) {
    setStages(0, 0, 4, 0, 0);
    startGallery();
    clickItem(2, 1);
    EXPECT_EQ(Global::Instance().Get("enemy"), 2);
    EXPECT_EQ(Global::Instance().Get("cg"), 1);
    EXPECT_EQ(playCount("se_decide.wav"), 1);
    rightClick(10, 10);  // fading: ignored
    EXPECT_FALSE(played("se_cancel.wav"));
    frames(17);  // the fade-out shows its 20th frame
    EXPECT_EQ(nextScene(), kSceneCgMode);
    frames(1);
    EXPECT_EQ(nextScene(), kSceneLookCg);
}

TEST_F(CgModeTest, TheInvisibleTopOfAnOpenColumnOpensTheStandingPictures) {
    setStages(0, 3, 0, 0, 0);
    startGallery();
    const gl::Item& top = ItemOf(1, gl::kItemStands);
    moveMouse(top.x + 100, top.y + 100);
    frames(1);
    EXPECT_EQ(cursorQuads(), 0) << "a hot area without a cursor";
    // Nothing is drawn there but the background.
    for (const platform::Quad& q : lastFrameQuads()) {
        EXPECT_FALSE(std::fabs(q.v[0].x - (top.x - 0.5f)) < 0.01f && std::fabs(q.v[0].y + 0.5f) < 0.01f);
    }
    click(top.x + top.width - 1, top.y + top.height - 1);
    EXPECT_EQ(Global::Instance().Get("enemy"), 1);
    EXPECT_EQ(Global::Instance().Get("cg"), gl::kItemStands);
    EXPECT_EQ(playCount("se_decide.wav"), 1);
}

TEST_F(CgModeTest, AShortSaveUnlocksTheHostsItLacks) {
    const std::string path = saveDir + "/save.dat";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputc(1, f);  // stage 1 against host 0, nothing for the others
    std::fclose(f);
    Global::Instance().LoadSave();
    ASSERT_EQ(Global::Instance().GetStage(3), 255);
    startGallery();
    EXPECT_FALSE(thumbnailShown(0, 0));
    for (int host = 1; host < gl::kHostCount; ++host) {
        EXPECT_TRUE(thumbnailShown(host, 3)) << host;
    }
    clickItem(3, 3);
    EXPECT_EQ(Global::Instance().Get("enemy"), 3);
    EXPECT_EQ(Global::Instance().Get("cg"), 3);
}

TEST_F(CgModeTest, MenuMusicIsKeptWhenPlayingAndStartedOtherwise) {
    Start(kSceneCgMode);
    frames(1);
    EXPECT_TRUE(soundCall("OpenBgm bgm_menu.ogg"));
    EXPECT_TRUE(soundCall("LoopPoint 0 7400000 0"));
    EXPECT_EQ(DxSound::Instance().BgmState(), 2);

    // Coming back from a viewer that kept the music: it goes on.
    TearDown();
    SetUp();
    DxSound::Instance().OpenBgm("bgm_menu.ogg");
    DxSound::Instance().PlayBgm();
    clearSoundLog();
    Start(kSceneCgMode);
    frames(1);
    EXPECT_FALSE(soundCall("OpenBgm"));
    EXPECT_FALSE(soundCall("PlayBgm"));
    EXPECT_EQ(DxSound::Instance().BgmState(), 2);
}

TEST_F(CgModeTest, LeavingForAnIllustrationKeepsTheMusic) {
    setStages(3, 3, 3, 3, 3);
    startGallery();
    clickItem(0, 2);
    frames(22);
    EXPECT_TRUE(scene() == nullptr && nextScene() == kSceneLookCg) << "left for " << nextScene();
    EXPECT_FALSE(soundCall("StopBgm"));
    EXPECT_FALSE(soundCall("CloseBgm"));
    EXPECT_EQ(DxSound::Instance().BgmState(), 2);
    EXPECT_EQ(DxGraphic::Instance().FindTexture(gl::kSheet), nullptr);
}

TEST_F(CgModeTest, TheStoryAndTheRightClickCloseTheMusicOnLeaving) {
    setStages(3, 3, 3, 3, 3);
    startGallery();
    clickItem(4, gl::kItemStory);
    EXPECT_EQ(Global::Instance().Get("cg"), 3);
    frames(22);
    EXPECT_TRUE(scene() == nullptr && nextScene() == kSceneLookCg) << "left for " << nextScene();
    EXPECT_TRUE(soundCall("CloseBgm"));
    EXPECT_EQ(DxSound::Instance().BgmState(), 0);

    TearDown();
    SetUp();
    Global::Instance().Set(1, "cg");
    startGallery();
    rightClick(640, 360);
    EXPECT_EQ(Global::Instance().Get("cg"), 3);
    EXPECT_EQ(playCount("se_cancel.wav"), 1);
    frames(22);
    EXPECT_TRUE(scene() == nullptr && nextScene() == kSceneTitle) << "left for " << nextScene();
    EXPECT_TRUE(soundCall("StopBgm"));
    EXPECT_TRUE(soundCall("CloseBgm"));
    EXPECT_EQ(DxSound::Instance().BgmState(), 0);
    EXPECT_EQ(DxGraphic::Instance().FindTexture(gl::kSheet), nullptr);
}

}  // namespace

// The host pick: glows follow the mouse over the strict hit rectangles, a left click stores the
// host and fades to the match, a right click fades back to the title.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "scene_fixture.h"
#include "scenes/menu/gallery_layout.h"
#include "scenes/menu/scene_chr_select.h"
#include "sound/dx_sound.h"

namespace {

namespace gl = menu::gallery;

constexpr int kFadeInPasses = 22;  // 20 fade frames, the pass that ends it, one spare

class ChrSelectTest : public testsupport::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        clearSoundLog();
        if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
        // Only this scene exists: what follows it is seen as the id asked for.
        SetFactory([](int id) -> Scene* { return id == kSceneChrSelect ? new SceneChrSelect() : nullptr; });
    }

    void startPick() {
        Start(kSceneChrSelect);
        frames(kFadeInPasses);
    }

    platform::TextureHandle sheet() const {
        const DxGraphic::CacheEntry* e = DxGraphic::Instance().FindTexture(gl::kSheet);
        return e != nullptr ? e->texture : 0;
    }

    // Slots whose glow was drawn in the last frame (additive, twice the size, at its place).
    std::vector<int> litGlows() const {
        std::vector<int> lit;
        const std::vector<platform::Quad> quads = lastFrameQuads();
        for (int s = 0; s < gl::kHostCount; ++s) {
            const gl::SelectSprite& g = gl::kSlotGlow[s];
            const float w = 2.0f * static_cast<float>(g.source.right - g.source.left);
            for (const platform::Quad& q : quads) {
                if (q.texture == sheet() && q.blend == 2 && std::fabs(q.v[0].x - (g.position.x - 0.5f)) < 0.01f &&
                    std::fabs(q.v[0].y - (g.position.y - 0.5f)) < 0.01f && std::fabs(q.v[1].x - q.v[0].x - w) < 0.01f) {
                    lit.push_back(s);
                    break;
                }
            }
        }
        return lit;
    }

    std::vector<int> hover(int x, int y) {
        moveMouse(x, y);
        frames(1);
        return litGlows();
    }

    // Both buttons go down in the same pass.
    void bothClick(int x, int y) {
        mouseX = x;
        mouseY = y;
        headless->SetMouse(x, y, true, true);
        frames(1);
        headless->SetMouse(x, y, false, false);
        frames(1);
    }
};

using Slots = std::vector<int>;

TEST_F(ChrSelectTest, EnterResetsWinCountPlaysMenuMusicAndDrawsInLayerOrder) {
    Global::Instance().Set(2, "winCount");
    Start(kSceneChrSelect);
    frames(1);
    EXPECT_EQ(Global::Instance().Get("winCount"), 0);
    EXPECT_TRUE(soundCall("OpenBgm bgm_menu.ogg"));
    EXPECT_TRUE(soundCall("LoopPoint 0 7400000 0"));
    EXPECT_TRUE(soundCall("PlayBgm"));
    EXPECT_EQ(DxSound::Instance().BgmState(), 2);

    moveMouse(200, 300);
    frames(kFadeInPasses);
    // Background, the glow of slot 0, the banner's glow, the banner, nothing over them.
    const std::vector<platform::Quad> quads = lastFrameQuads();
    ASSERT_EQ(quads.size(), 4u);
    EXPECT_EQ(quads[0].texture, sheet());
    EXPECT_FLOAT_EQ(quads[0].v[3].x - quads[0].v[0].x, 1280.0f);
    EXPECT_EQ(quads[0].blend, 1);
    EXPECT_EQ(litGlows(), Slots{0});
    EXPECT_EQ(quads[2].blend, 2);  // banner glow, additive, under the banner
    EXPECT_EQ(quads[3].blend, 1);
    EXPECT_FLOAT_EQ(quads[3].v[0].x, 331.0f - 0.5f);
    EXPECT_FLOAT_EQ(quads[3].v[1].x - quads[3].v[0].x, 618.0f);
}

TEST_F(ChrSelectTest, GlowsFollowStrictRectanglesAndLightTogetherOverOverlaps) {
    Start(kSceneChrSelect);
    moveMouse(200, 300);
    frames(5);
    EXPECT_TRUE(litGlows().empty()) << "no input while fading in";
    frames(kFadeInPasses);

    EXPECT_EQ(litGlows(), Slots{0});
    // Border pixels are outside; one pixel in is inside.
    EXPECT_EQ(hover(47, 300), Slots{});
    EXPECT_EQ(hover(48, 300), Slots{0});
    EXPECT_EQ(hover(441, 300), Slots{});
    EXPECT_EQ(hover(440, 300), Slots{0});
    EXPECT_EQ(hover(200, 120), Slots{});
    EXPECT_EQ(hover(200, 121), Slots{0});
    EXPECT_EQ(hover(200, 569), Slots{});
    EXPECT_EQ(hover(600, 500), Slots{1});
    EXPECT_EQ(hover(1000, 400), Slots{2});
    EXPECT_EQ(hover(500, 100), Slots{});
    // The strip 840 < x < 849.
    EXPECT_EQ(hover(845, 400), (Slots{1, 2}));
    EXPECT_EQ(hover(845, 610), (Slots{1, 2, 4}));
    EXPECT_EQ(hover(845, 650), (Slots{1, 4}));
    EXPECT_EQ(hover(840, 650), Slots{1});
    EXPECT_EQ(hover(849, 650), Slots{4});
    EXPECT_EQ(hover(1000, 610), (Slots{2, 4}));
    // Slots 3 and 4 reach below the screen: their visible part down to the last row answers.
    EXPECT_EQ(hover(200, 719), Slots{3});
    EXPECT_EQ(hover(1000, 719), Slots{4});
    EXPECT_EQ(hover(600, 707), Slots{});
    EXPECT_EQ(hover(600, 706), Slots{1});
}

TEST_F(ChrSelectTest, AClickStoresTheHostAndFadesToTheMatch) {
    const struct {
        int x, y, host;
    } cases[] = {{200, 300, 1}, {600, 500, 2}, {1000, 300, 0}, {200, 719, 3}, {1000, 719, 4}};
    for (const auto& c : cases) {
        if (&c != &cases[0]) {
            TearDown();
            SetUp();
        }
        startPick();
        click(c.x, c.y);
        EXPECT_EQ(Global::Instance().Get("enemy"), c.host) << c.x << "," << c.y;
        EXPECT_EQ(playCount("se_decide.wav"), 1);
        frames(19);  // the fade-out shows its 20th frame: still here
        EXPECT_EQ(nextScene(), kSceneChrSelect);
        frames(1);
        EXPECT_EQ(nextScene(), kSceneGame) << c.x << "," << c.y;
    }
}

TEST_F(ChrSelectTest, AClickOnAnOverlapPicksEverySlotInOrderSoTheHighestWins) {
    startPick();
    click(845, 610);  // slots 1, 2 and 4
    EXPECT_EQ(Global::Instance().Get("enemy"), gl::kSlots[4].host);
    EXPECT_EQ(playCount("se_decide.wav"), 3);
    frames(20);
    EXPECT_EQ(nextScene(), kSceneGame);

    TearDown();
    SetUp();
    startPick();
    click(845, 400);  // slots 1 and 2
    EXPECT_EQ(Global::Instance().Get("enemy"), gl::kSlots[2].host);
    EXPECT_EQ(playCount("se_decide.wav"), 2);
}

TEST_F(ChrSelectTest, ARightClickWinsOverALeftClickOfTheSameFrame) {
    startPick();
    bothClick(600, 500);
    EXPECT_EQ(Global::Instance().Get("enemy"), 2) << "the left click still picked";
    EXPECT_EQ(playCount("se_decide.wav"), 1);
    EXPECT_EQ(playCount("se_cancel.wav"), 1);
    frames(20);
    EXPECT_EQ(nextScene(), kSceneTitle);
}

TEST_F(ChrSelectTest, ClicksWhileFadingDoNothing) {
    Start(kSceneChrSelect);
    frames(3);
    click(600, 500);
    rightClick(600, 500);
    EXPECT_FALSE(played("se_decide.wav"));
    EXPECT_FALSE(played("se_cancel.wav"));
    EXPECT_EQ(Global::Instance().Get("enemy"), 0);

    frames(kFadeInPasses);
    click(200, 300);  // host 1, fading out from here
    frames(3);
    rightClick(600, 500);
    click(600, 500);
    EXPECT_EQ(playCount("se_decide.wav"), 1);
    EXPECT_FALSE(played("se_cancel.wav"));
    EXPECT_EQ(Global::Instance().Get("enemy"), 1);
    frames(20);
    EXPECT_EQ(nextScene(), kSceneGame);
}

TEST_F(ChrSelectTest, LeavingClosesTheMusicAndReleasesPicturesAndCanvases) {
    startPick();
    ASSERT_NE(DxGraphic::Instance().FindTexture(gl::kSheet), nullptr);
    rightClick(10, 10);
    frames(22);
    EXPECT_TRUE(scene() == nullptr && nextScene() == kSceneTitle) << "left for " << nextScene();
    EXPECT_TRUE(soundCall("StopBgm"));
    EXPECT_TRUE(soundCall("CloseBgm"));
    EXPECT_EQ(DxSound::Instance().BgmState(), 0);
    EXPECT_EQ(DxGraphic::Instance().FindTexture(gl::kSheet), nullptr);
}

}  // namespace

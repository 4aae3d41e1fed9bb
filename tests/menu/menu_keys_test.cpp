// The host pick, the gallery and its viewer by keys: the arrows light what the mouse would light,
// Enter chooses with the click's sound and effect, Escape and Backspace go back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "scene_fixture.h"
#include "scenes/menu/gallery_layout.h"
#include "scenes/menu/scene_cg_mode.h"
#include "scenes/menu/scene_chr_select.h"
#include "scenes/menu/scene_look_cg.h"

namespace {

namespace gl = menu::gallery;
using platform::KeyCode;

class MenuKeysTest : public testsupport::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        clearSoundLog();
        if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
        SetFactory([](int id) -> Scene* {
            switch (id) {
                case kSceneChrSelect: return new SceneChrSelect();
                case kSceneCgMode: return new SceneCgMode();
                case kSceneLookCg: return new SceneLookCG();
                default: return nullptr;
            }
        });
    }

    // Down for one pass, up for the next.

    platform::TextureHandle texture(const std::string& name) const {
        const DxGraphic::CacheEntry* e = DxGraphic::Instance().FindTexture(name);
        return e != nullptr ? e->texture : 0;
    }
    // Additive quads of the sheet drawn last frame, as top-left corners.
    std::vector<std::pair<int, int>> additiveCorners() const {
        std::vector<std::pair<int, int>> out;
        for (const platform::Quad& q : lastFrameQuads()) {
            if (q.texture == texture(gl::kSheet) && q.blend == 2) {
                out.emplace_back(static_cast<int>(std::lround(q.v[0].x + 0.5f)), static_cast<int>(std::lround(q.v[0].y + 0.5f)));
            }
        }
        return out;
    }

    // --- Host pick ---
    std::vector<std::pair<int, int>> glowAt(int slot) const {
        return {{gl::kSlotGlow[slot].position.x, gl::kSlotGlow[slot].position.y}};
    }
    // The glows drawn last frame, the banner's own additive sprite left out.
    std::vector<std::pair<int, int>> glows() const {
        std::vector<std::pair<int, int>> out;
        for (const auto& c : additiveCorners()) {
            if (c != std::pair<int, int>{gl::kBannerGlow.position.x, gl::kBannerGlow.position.y}) out.push_back(c);
        }
        return out;
    }
    void slotCentre(int slot, int& x, int& y) const {
        const gl::Rect& r = gl::kSlots[slot].hit;
        x = (r.left + r.right) / 2;
        y = (r.top + std::min(r.bottom, 719)) / 2;
    }

    // --- Gallery ---
    void setStages(int s0, int s1, int s2, int s3, int s4) {
        const int s[] = {s0, s1, s2, s3, s4};
        for (int i = 0; i < 5; ++i) Global::Instance().Set(s[i], "stage_" + std::to_string(i));
    }
    static std::pair<int, int> cursorFor(int host, int item) {
        const gl::Item& it = gl::kItems[host * gl::kItemsPerHost + item];
        if (item == gl::kItemStands) return {it.x + gl::kStandsCursorOffset.x, it.y + gl::kStandsCursorOffset.y};
        return {it.x - it.margin, it.y - it.margin};
    }
    using Corners = std::vector<std::pair<int, int>>;
};

TEST_F(MenuKeysTest, PickArrowsLightTheMouseGlowAndEnterPicksWithTheClickSound) {
    Start(kSceneChrSelect);
    frames(5);
    pressKey(KeyCode::Right);  // fading in: no input
    pressKey(KeyCode::Return);
    frames(20);
    EXPECT_TRUE(glows().empty());
    EXPECT_FALSE(played("se_decide.wav"));

    // The mouse's glow for each slot, to compare the keys' glow with.
    std::vector<Corners> mouseGlow(gl::kHostCount);
    for (int s = 0; s < gl::kHostCount; ++s) {
        int x = 0, y = 0;
        slotCentre(s, x, y);
        if (s == 1) x -= 40;  // clear of the overlap with slot 2
        moveMouse(x, y);
        frames(1);
        mouseGlow[s] = glows();
        ASSERT_EQ(mouseGlow[s], glowAt(s)) << s;
    }
    moveMouse(640, 60);  // over no slot
    frames(1);
    EXPECT_TRUE(glows().empty());

    // The first arrow lights slot 0; then each arrow follows the neighbour table.
    pressKey(KeyCode::Down);
    EXPECT_EQ(glows(), mouseGlow[0]);
    const struct {
        KeyCode key;
        int slot;
    } walk[] = {{KeyCode::Right, 1}, {KeyCode::Right, 2}, {KeyCode::Down, 4}, {KeyCode::Left, 3},
                {KeyCode::Right, 4}, {KeyCode::Up, 2},    {KeyCode::Right, 0}, {KeyCode::Left, 2},
                {KeyCode::Left, 1},  {KeyCode::Down, 3},  {KeyCode::Up, 0}};
    for (const auto& step : walk) {
        pressKey(step.key);
        EXPECT_EQ(glows(), mouseGlow[step.slot]) << "to slot " << step.slot;
    }
    EXPECT_FALSE(played("se_decide.wav"));
    EXPECT_EQ(currentScene(), kSceneChrSelect);

    // Enter on slot 0 picks its host, as a click there would.
    pressKey(KeyCode::Return);
    EXPECT_EQ(Global::Instance().Get("enemy"), gl::kSlots[0].host);
    EXPECT_EQ(playCount("se_decide.wav"), 1);
    pressKey(KeyCode::Escape);  // fading out: ignored
    EXPECT_FALSE(played("se_cancel.wav"));
    frames(20);
    EXPECT_EQ(nextScene(), kSceneGame);
}

TEST_F(MenuKeysTest, PickMouseTakesOverWhenItMovesAndArrowsGoOnFromTheHoveredSlot) {
    Start(kSceneChrSelect);
    frames(22);
    int x = 0, y = 0;
    slotCentre(3, x, y);
    moveMouse(x, y);
    frames(1);
    EXPECT_EQ(glows(), glowAt(3));
    pressKey(KeyCode::Right);  // from the hovered slot 3 to 4
    EXPECT_EQ(glows(), glowAt(4));
    frames(3);  // a mouse that stays still does not take the glow back
    EXPECT_EQ(glows(), glowAt(4));
    // A click while the keys lead picks the slot under the mouse, not the keyed one.
    click(x, y);
    EXPECT_EQ(Global::Instance().Get("enemy"), gl::kSlots[3].host);
    EXPECT_EQ(playCount("se_decide.wav"), 1);
}

TEST_F(MenuKeysTest, PickEscapeAndBackspaceGoBackLikeTheRightClick) {
    for (KeyCode key : {KeyCode::Escape, KeyCode::Backspace}) {
        if (key == KeyCode::Backspace) {
            TearDown();
            SetUp();
        }
        Start(kSceneChrSelect);
        frames(22);
        pressKey(KeyCode::Right);
        pressKey(key);
        EXPECT_EQ(playCount("se_cancel.wav"), 1);
        EXPECT_FALSE(played("se_decide.wav"));
        frames(20);
        EXPECT_EQ(nextScene(), kSceneTitle);
    }
}

TEST_F(MenuKeysTest, GalleryArrowsWalkTheOpenColumnsAndEnterOpensTheFramedItem) {
    setStages(3, 0, 4, 1, 3);  // open: hosts 0, 2, 4; on screen left to right 0, 2, 4
    Start(kSceneCgMode);
    frames(32);
    EXPECT_TRUE(additiveCorners().empty());

    pressKey(KeyCode::Right);  // the first arrow: the first illustration of the leftmost open column
    EXPECT_EQ(additiveCorners(), Corners{cursorFor(0, 0)});
    pressKey(KeyCode::Right);
    EXPECT_EQ(additiveCorners(), Corners{cursorFor(2, 0)});
    pressKey(KeyCode::Right);
    EXPECT_EQ(additiveCorners(), Corners{cursorFor(4, 0)});
    pressKey(KeyCode::Right);  // wraps past the closed columns
    EXPECT_EQ(additiveCorners(), Corners{cursorFor(0, 0)});
    pressKey(KeyCode::Left);
    EXPECT_EQ(additiveCorners(), Corners{cursorFor(4, 0)});
    // Down runs the column: illustrations, the story, the standing pictures, round again.
    for (int item : {1, 2, 3, gl::kItemStands, 0}) {
        pressKey(KeyCode::Down);
        EXPECT_EQ(additiveCorners(), Corners{cursorFor(4, item)}) << item;
    }
    pressKey(KeyCode::Up);
    EXPECT_EQ(additiveCorners(), Corners{cursorFor(4, gl::kItemStands)});
    pressKey(KeyCode::Left);  // the row is kept across columns
    EXPECT_EQ(additiveCorners(), Corners{cursorFor(2, gl::kItemStands)});
    EXPECT_FALSE(played("se_decide.wav"));

    // The cursor frame over the standing pictures' area stays inside the column.
    const gl::Item& top = gl::kItems[2 * gl::kItemsPerHost + gl::kItemStands];
    const int cursorWidth = gl::kGalleryCursor.right - gl::kGalleryCursor.left;
    EXPECT_GE(cursorFor(2, gl::kItemStands).first, top.x - 20);
    EXPECT_LE(cursorFor(2, gl::kItemStands).first + cursorWidth, top.x + top.width + 20);

    pressKey(KeyCode::Return);
    EXPECT_EQ(Global::Instance().Get("enemy"), 2);
    EXPECT_EQ(Global::Instance().Get("cg"), gl::kItemStands);
    EXPECT_EQ(playCount("se_decide.wav"), 1);
    frames(20);
    EXPECT_EQ(nextScene(), kSceneLookCg);
}

TEST_F(MenuKeysTest, GalleryMouseTakesOverAndClosedGalleryIgnoresArrows) {
    setStages(0, 3, 0, 0, 0);
    Start(kSceneCgMode);
    frames(32);
    pressKey(KeyCode::Down);
    EXPECT_EQ(additiveCorners(), Corners{cursorFor(1, 0)});
    const gl::Item& it = gl::kItems[1 * gl::kItemsPerHost + 2];
    moveMouse(it.x + 10, it.y + 10);
    frames(1);
    EXPECT_EQ(additiveCorners(), Corners{cursorFor(1, 2)});
    pressKey(KeyCode::Return);  // the mouse leads again: Enter has nothing keyed to open
    EXPECT_FALSE(played("se_decide.wav"));

    TearDown();
    SetUp();
    setStages(2, 2, 2, 2, 2);  // every column closed
    Start(kSceneCgMode);
    frames(32);
    for (KeyCode k : {KeyCode::Right, KeyCode::Down, KeyCode::Return}) pressKey(k);
    EXPECT_TRUE(additiveCorners().empty());
    EXPECT_FALSE(played("se_decide.wav"));
    pressKey(KeyCode::Backspace);
    EXPECT_EQ(playCount("se_cancel.wav"), 1);
    EXPECT_EQ(Global::Instance().Get("cg"), gl::kItemStory);  // closes the menu music on leaving
    frames(20);
    EXPECT_EQ(nextScene(), kSceneTitle);
}

TEST_F(MenuKeysTest, ViewerEnterAndSpaceAdvanceLikeAClickAndEscapeLeaves) {
    const std::vector<std::string> variants = {"CG_Rosweth_01_01.png", "CG_Rosweth_01_02.png"};
    auto shown = [&]() {
        std::vector<std::string> out;
        for (const platform::Quad& q : lastFrameQuads())
            for (const std::string& n : variants)
                if (q.texture != 0 && q.texture == texture(n)) out.push_back(n);
        return out;
    };
    auto open = [&](int host, int item) {
        Global::Instance().Set(host, "enemy");
        Global::Instance().Set(item, "cg");
        Global::Instance().Set(1, "isCgMode");
        Start(kSceneLookCg);
        frames(32);
    };
    open(4, 0);
    EXPECT_EQ(shown(), std::vector<std::string>{variants[0]});
    pressKey(KeyCode::Return);
    EXPECT_EQ(shown(), std::vector<std::string>{variants[1]});
    pressKey(KeyCode::Space);
    frames(20);
    EXPECT_EQ(nextScene(), kSceneCgMode);

    // The standing pictures: Enter peels wherever the mouse is (even off the window).
    TearDown();
    SetUp();
    open(2, gl::kItemStands);
    pressKey(KeyCode::Return);
    ASSERT_NE(texture("Stand_Quenvar_01.png"), 0u);
    bool topDrawn = false, nextDrawn = false;
    for (const platform::Quad& q : lastFrameQuads()) {
        topDrawn |= q.texture == texture("Stand_Quenvar_01.png");
        nextDrawn |= q.texture == texture("Stand_Quenvar_02.png");
    }
    EXPECT_FALSE(topDrawn);
    EXPECT_TRUE(nextDrawn);

    // The story: Escape leaves in the middle and its music stops.
    TearDown();
    SetUp();
    open(0, gl::kItemStory);
    pressKey(KeyCode::Return);
    clearSoundLog();
    pressKey(KeyCode::Escape);
    frames(20);
    EXPECT_EQ(nextScene(), kSceneCgMode);
    EXPECT_TRUE(soundCall("StopBgm"));
    EXPECT_TRUE(soundCall("CloseBgm"));
}

}  // namespace

#pragma once
// The title scene driven through the real main loop on the generated data: helpers to reach the
// menu and the host pick, and to see which pictures the last frame drew.
#include <string>

#include "app/application.h"
#include "app/scene.h"
#include "core/records.h"
#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "scenes/menu/scene_title.h"
#include "scenes/menu/title_layout.h"
#include "../support/scene_fixture.h"

namespace titletest {

// Points inside each menu item and an empty spot.
struct Point {
    int x;
    int y;
};
inline constexpr Point kStart = {1000, 540};
inline constexpr Point kGallery = {700, 540};
inline constexpr Point kCredits = {700, 600};
inline constexpr Point kEnd = {1000, 600};
inline constexpr Point kQuick = {1000, 660};
inline constexpr Point kEmpty = {200, 650};   // beside the menu, below the host panels
inline constexpr Point kAside = {640, 620};   // on the message window, clear of every panel

// Centre of host panel i (0..4).
inline Point SlotCentre(int i) { return {menu::title::kSlotCentreX0 + i * menu::title::kSlotStep, 330}; }

class TitleTest : public testsupport::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
        Global::Instance().Set(30, "SeVolume");
    }

    SceneTitle* title() const { return dynamic_cast<SceneTitle*>(scene()); }

    // True when the last frame drew the picture (a visible quad with its texture).
    bool drawn(const std::string& picture) const {
        const DxGraphic::CacheEntry* e = DxGraphic::Instance().FindTexture(picture);
        if (e == nullptr || e->texture == 0) return false;
        for (const platform::Quad& q : lastFrameQuads()) {
            if (q.texture == e->texture && (q.argb >> 24) != 0) return true;
        }
        return false;
    }
    // Alpha (0..255) of the first quad of the picture in the last frame, or -1.
    int alphaOf(const std::string& picture) const {
        const DxGraphic::CacheEntry* e = DxGraphic::Instance().FindTexture(picture);
        if (e == nullptr) return -1;
        for (const platform::Quad& q : lastFrameQuads()) {
            if (q.texture == e->texture) return static_cast<int>(q.argb >> 24);
        }
        return -1;
    }
    // Centre x of the first quad of the picture in the last frame, or -1.
    float centreXOf(const std::string& picture) const {
        const DxGraphic::CacheEntry* e = DxGraphic::Instance().FindTexture(picture);
        if (e == nullptr) return -1;
        for (const platform::Quad& q : lastFrameQuads()) {
            if (q.texture == e->texture) return (q.v[0].x + q.v[3].x) / 2;
        }
        return -1;
    }
    // True when the last frame lit any menu button.
    bool anyButtonLit() const {
        for (const char* b : {"menu_btn_start_on.png", "menu_btn_gallery_on.png", "menu_btn_credit_on.png",
                              "menu_btn_end_on.png", "menu_btn_quick_on.png"}) {
            if (drawn(b)) return true;
        }
        return false;
    }

    // A later entry of the title (no logo), run until its menu takes input.
    void enterMenu() {
        Global::Instance().Set(1, "skipLogo");
        Start(kSceneTitle);
        ASSERT_TRUE(frames(SceneTitle::kInputCooldown + 1));
        ASSERT_NE(title(), nullptr);
        ASSERT_TRUE(title()->inputOn());
    }
    // From the menu: "start", then the 60 frames of host entrances.
    void startPick() {
        moveMouse(kEmpty.x, kEmpty.y);
        frames(1);
        click(kStart.x, kStart.y);
        frames(SceneTitle::kPickWait);
        ASSERT_EQ(title()->currentState(), SceneTitle::kIntroduction);
    }
};

// The title with config.ini and records.dat in the test's own folder, records empty: for the
// options overlay and the records plate.
class OptionsTitleTest : public TitleTest {
protected:
    void SetUp() override {
        TitleTest::SetUp();
        SetConfigFolder(saveDir);
        Records::Instance().Clear();
    }
    void TearDown() override {
        SetConfigFolder("");
        Records::Instance().Clear();
        TitleTest::TearDown();
    }
};

}  // namespace titletest

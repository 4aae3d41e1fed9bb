// "Start" on the title: the host pick, the introduction and the way into the match.
#include <gtest/gtest.h>

#include "app/mouse_controller.h"
#include "scenes/menu/title_texts.h"
#include "title_fixture.h"

namespace titletest {
namespace {

// The click on "start" brings in the salon and the panels with the menu music (looping from
// sample frame 7,400,000 back to 0) and takes no pick input for 60 frames.
TEST_F(TitleTest, StartBringsInThePanelsAndTheMenuMusic) {
    enterMenu();
    clearSoundLog();
    click(kStart.x, kStart.y);
    EXPECT_EQ(playCount("se_decide.wav"), 1);
    EXPECT_TRUE(soundCall("OpenBgm bgm_menu.ogg"));
    EXPECT_TRUE(soundCall("LoopPoint 0 7400000 0"));
    EXPECT_TRUE(soundCall("PlayBgm"));
    frames(SceneTitle::kPickWait - 3);
    EXPECT_EQ(title()->currentState(), SceneTitle::kWaiting);
    click(SlotCentre(0).x, SlotCentre(0).y);  // still waiting: ignored
    EXPECT_EQ(title()->currentState(), SceneTitle::kIntroduction);
    frames(1);
    EXPECT_EQ(title()->pickedSlot(), SceneTitle::kNoSlot);
    EXPECT_TRUE(drawn("menu_bg_02.png"));
    EXPECT_TRUE(drawn("menu_select_caption.png"));
    EXPECT_TRUE(drawn("menu_moon.png"));
    for (const char* panel :
         {"menu_slot_pemra.png", "menu_slot_otsel.png", "menu_slot_quenvar.png", "menu_slot_iblen.png",
          "menu_slot_rosweth.png"}) {
        EXPECT_TRUE(drawn(panel)) << panel;
    }
    EXPECT_FALSE(title()->messageWindow().shown);
}

// Nothing leads to the match before a host is picked: not waiting, not left Ctrl, not clicks
// beside the panels (their edges are outside).
TEST_F(TitleTest, NoMatchBeforeAHostIsPicked) {
    enterMenu();
    startPick();
    clearSoundLog();
    holdKey(platform::KeyCode::LeftControl, true);
    frames(120);
    holdKey(platform::KeyCode::LeftControl, false);
    const menu::title::Area first = menu::title::SlotArea(0);
    const menu::title::Area last = menu::title::SlotArea(4);
    for (const Point p : {Point{first.left, 330}, Point{last.right, 330}, Point{640, first.top},
                          Point{640, first.bottom}, Point{1250, 330}, kEmpty, kAside}) {
        click(p.x, p.y);
    }
    frames(60);
    EXPECT_EQ(title()->pickedSlot(), SceneTitle::kNoSlot);
    EXPECT_EQ(title()->lineIndex(), 0);
    EXPECT_FALSE(title()->messageWindow().shown);
    EXPECT_EQ(nextScene(), kSceneTitle);
    EXPECT_FALSE(played("se_decide.wav"));
    EXPECT_FALSE(played("se_sparkle.wav"));
}

// A panel lights up under the pointer and settles when the pointer leaves; only one is lit.
TEST_F(TitleTest, HoveringAPanelLightsItAndLeavingLetsItSettle) {
    enterMenu();
    startPick();
    frames(20);
    EXPECT_FALSE(drawn("menu_slot_glow.png"));
    moveMouse(SlotCentre(2).x, SlotCentre(2).y);
    frames(30);
    EXPECT_NEAR(centreXOf("menu_slot_glow.png"), SlotCentre(2).x, 2.0f);
    moveMouse(kEmpty.x, 600);
    frames(20);
    EXPECT_FALSE(drawn("menu_slot_glow.png"));
    EXPECT_TRUE(drawn("menu_slot_quenvar.png"));  // back at rest, not gone
    moveMouse(SlotCentre(2).x, SlotCentre(2).y);
    frames(3);
    moveMouse(SlotCentre(4).x, SlotCentre(4).y);  // straight to another panel
    frames(30);
    EXPECT_NEAR(centreXOf("menu_slot_glow.png"), SlotCentre(4).x, 2.0f);
    int glows = 0;
    const DxGraphic::CacheEntry* glow = DxGraphic::Instance().FindTexture("menu_slot_glow.png");
    for (const platform::Quad& q : lastFrameQuads()) glows += q.texture == glow->texture ? 1 : 0;
    EXPECT_EQ(glows, 1);
}

// Each slot stores its own opponent under "enemy" once the last line is passed, and only then;
// clicks read the four lines, the first click on a line still typing completing it.
TEST_F(TitleTest, EachSlotLeadsToItsOpponentAfterTheFourLines) {
    const int opponent[5] = {1, 2, 0, 3, 4};
    for (int slot = 0; slot < 5; ++slot) {
        SCOPED_TRACE(slot);
        Global::Instance().Set(-1, "enemy");
        enterMenu();
        startPick();
        clearSoundLog();
        click(SlotCentre(slot).x, SlotCentre(slot).y);
        EXPECT_EQ(playCount("se_decide.wav"), 1);
        EXPECT_TRUE(played("se_sparkle.wav"));  // the chosen panel's own burst
        EXPECT_EQ(title()->pickedSlot(), slot);
        EXPECT_TRUE(title()->messageWindow().shown);
        EXPECT_TRUE(drawn("sozai3.png"));

        for (int line = 0; line < menu::kIntroductionLineCount; ++line) {
            EXPECT_EQ(title()->lineIndex(), line);
            EXPECT_EQ(title()->messageWindow().text, menu::IntroductionLine(line));
            EXPECT_FALSE(title()->messageWindow().finished());
            click(kAside.x, kAside.y);  // completes the line
            EXPECT_TRUE(title()->messageWindow().finished());
            EXPECT_EQ(title()->lineIndex(), line);
            EXPECT_EQ(Global::Instance().Get("enemy"), -1);
            click(kAside.x, kAside.y);  // next line
        }
        EXPECT_EQ(Global::Instance().Get("enemy"), opponent[slot]);
        EXPECT_EQ(title()->currentState(), SceneTitle::kLeaving);
        EXPECT_TRUE(title()->messageWindow().shown);
        frames(SceneTitle::kFadeFrames - 1);
        EXPECT_EQ(nextScene(), kSceneTitle);
        frames(1);
        EXPECT_EQ(nextScene(), kSceneGame);
        EXPECT_TRUE(soundCall("StopBgm"));  // Leave stops the menu music
    }
}

// Held left Ctrl runs through the introduction a whole line per frame.
TEST_F(TitleTest, LeftCtrlRunsThroughTheIntroductionALinePerFrame) {
    enterMenu();
    startPick();
    click(SlotCentre(3).x, SlotCentre(3).y);
    holdKey(platform::KeyCode::LeftControl, true);
    for (int f = 1; f <= menu::kIntroductionLineCount; ++f) {
        frames(1);
        EXPECT_EQ(title()->lineIndex(), f) << f;
    }
    holdKey(platform::KeyCode::LeftControl, false);
    EXPECT_EQ(title()->currentState(), SceneTitle::kLeaving);
    EXPECT_EQ(Global::Instance().Get("enemy"), 3);
    frames(SceneTitle::kFadeFrames + 1);
    EXPECT_EQ(nextScene(), kSceneGame);
}

// Right click, before or during the introduction, fades back to the menu with the cancel sound;
// the menu then starts over (music stopped, input off for 120 frames, no host picked).
TEST_F(TitleTest, RightClickGoesBackToTheMenu) {
    enterMenu();
    startPick();
    clearSoundLog();
    rightClick(SlotCentre(1).x, SlotCentre(1).y);
    EXPECT_TRUE(played("se_cancel.wav"));
    EXPECT_EQ(title()->pickedSlot(), SceneTitle::kNoSlot);
    frames(SceneTitle::kFadeFrames);
    EXPECT_EQ(title()->currentState(), SceneTitle::kMenu);
    EXPECT_TRUE(soundCall("StopBgm"));
    EXPECT_FALSE(title()->inputOn());
    frames(2);
    EXPECT_FALSE(drawn("menu_slot_otsel.png"));
    EXPECT_TRUE(drawn("menu_bg_01.png"));

    // Again, now from the second line of the introduction.
    frames(SceneTitle::kInputCooldown);
    ASSERT_TRUE(title()->inputOn());
    startPick();
    click(SlotCentre(1).x, SlotCentre(1).y);
    click(kAside.x, kAside.y);
    click(kAside.x, kAside.y);
    EXPECT_EQ(title()->lineIndex(), 1);
    clearSoundLog();
    rightClick(kAside.x, kAside.y);
    EXPECT_TRUE(played("se_cancel.wav"));
    frames(SceneTitle::kFadeFrames);
    EXPECT_EQ(title()->currentState(), SceneTitle::kMenu);
    EXPECT_EQ(title()->lineIndex(), 0);
    EXPECT_FALSE(title()->messageWindow().shown);
    EXPECT_EQ(Global::Instance().Get("enemy"), 0);
    EXPECT_EQ(nextScene(), kSceneTitle);
}

}  // namespace
}  // namespace titletest

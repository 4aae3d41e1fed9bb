// The title's logo, its menu and the menu items' effects, through the real main loop.
#include <gtest/gtest.h>

#include "sound/dx_sound.h"
#include "title_fixture.h"

namespace titletest {
namespace {

// The first entry shows the unskippable logo for 375 frames, fades to the menu and marks the logo
// as seen; the next entry starts on the menu, with input off for 120 frames.
TEST_F(TitleTest, LogoShowsOnlyOnTheFirstEntryAndInputWaitsAfterReturning) {
    Start(kSceneTitle);
    ASSERT_TRUE(frames(1));
    EXPECT_EQ(title()->currentState(), SceneTitle::kLogo);
    EXPECT_FALSE(drawn("menu_bg_01.png"));
    EXPECT_EQ(Global::Instance().Get("skipLogo"), 1);
    EXPECT_EQ(Global::Instance().Get("isCgMode"), 0);

    click(kStart.x, kStart.y);  // the logo cannot be skipped
    frames(300);
    EXPECT_TRUE(drawn("logo_moon.png"));
    EXPECT_FALSE(played("se_decide.wav"));
    EXPECT_EQ(title()->currentState(), SceneTitle::kLogo);
    frames(SceneTitle::kLogoFrames - 303 + 1 + SceneTitle::kFadeFrames);  // countdown, then the fade to black
    EXPECT_EQ(title()->currentState(), SceneTitle::kMenu);
    frames(SceneTitle::kFadeFrames);
    EXPECT_TRUE(drawn("menu_bg_01.png"));
    EXPECT_TRUE(played("menu_title.wav"));
    EXPECT_TRUE(soundCall("PlaySe menu_title.wav loop 0"));

    // A later entry: the menu at once, the logo never.
    Global::Instance().Set(5, "isCgMode");
    Start(kSceneTitle);
    ASSERT_TRUE(frames(1));
    EXPECT_EQ(Global::Instance().Get("isCgMode"), 0);
    EXPECT_FALSE(drawn("logo_moon.png"));
    EXPECT_TRUE(drawn("menu_bg_01.png"));
    clearSoundLog();
    frames(SceneTitle::kInputCooldown - 4);  // passes 2 .. 117
    click(kStart.x, kStart.y);               // 118 and 119: still off
    EXPECT_FALSE(title()->inputOn());
    EXPECT_FALSE(played("se_decide.wav"));
    frames(1);  // 120: the last frame without input
    EXPECT_FALSE(title()->inputOn());
    frames(1);
    EXPECT_TRUE(title()->inputOn());
    click(kStart.x, kStart.y);
    EXPECT_EQ(playCount("se_decide.wav"), 1);
}

// Each item lights its own button while the pointer is inside its area, edges excluded; leaving to
// empty space dims them all, and staying inside keeps the lit button breathing instead of
// restarting it.
TEST_F(TitleTest, HoverLightsTheItemUnderThePointerAndOnlyOnChange) {
    enterMenu();
    frames(1);
    EXPECT_FALSE(anyButtonLit());  // nothing hovered yet: the buttons' entrance stays

    const struct {
        Point at;
        const char* lit;  // null: none
    } cases[] = {
        {kStart, "menu_btn_start_on.png"},   {{888, 524}, "menu_btn_start_on.png"},
        {{1214, 565}, "menu_btn_start_on.png"}, {{887, 540}, nullptr},
        {{1000, 566}, nullptr},              {{1215, 540}, nullptr},
        {{1000, 523}, nullptr},              {kEnd, "menu_btn_end_on.png"},
        {{1169, 600}, "menu_btn_end_on.png"}, {{1170, 600}, nullptr},
        {{1000, 627}, nullptr},              {kGallery, "menu_btn_gallery_on.png"},
        {{876, 540}, nullptr},               {kCredits, "menu_btn_credit_on.png"},
        {{548, 585}, "menu_btn_credit_on.png"}, {{547, 600}, nullptr},
        {kQuick, "menu_btn_quick_on.png"},   {{1000, 688}, nullptr},
        {{1000, 575}, nullptr},              {kEmpty, nullptr},
    };
    for (const auto& c : cases) {
        moveMouse(c.at.x, c.at.y);
        frames(2);
        SCOPED_TRACE(std::to_string(c.at.x) + "," + std::to_string(c.at.y));
        if (c.lit != nullptr) {
            EXPECT_TRUE(drawn(c.lit));
        } else {
            EXPECT_FALSE(anyButtonLit());
        }
    }

    // Start, empty space (all dim), back to start: lit again from its first frame.
    moveMouse(kStart.x, kStart.y);
    frames(1);
    const int firstAlpha = alphaOf("menu_btn_start_on.png");
    EXPECT_EQ(firstAlpha, 255);  // the breath starts at its brightest
    frames(30);                  // staying inside: the breath goes on
    EXPECT_LT(alphaOf("menu_btn_start_on.png"), 230);
    moveMouse(kEmpty.x, kEmpty.y);
    frames(1);
    EXPECT_FALSE(anyButtonLit());
    moveMouse(kStart.x, kStart.y);
    frames(1);
    EXPECT_EQ(alphaOf("menu_btn_start_on.png"), firstAlpha);
    EXPECT_FALSE(played("se_decide.wav"));  // hovering alone plays nothing
}

// Gallery, quick match and credits each play the decision sound and fade to black; the gallery
// leads to scene 7, the quick match to the host selection (3) without any introduction.
TEST_F(TitleTest, GalleryAndQuickMatchFadeToTheirScenes) {
    for (const auto& [at, next] : {std::pair{kGallery, kSceneCgMode}, std::pair{kQuick, kSceneChrSelect}}) {
        SCOPED_TRACE(next);
        Global::Instance().Set(-1, "enemy");
        enterMenu();
        clearSoundLog();
        click(at.x, at.y);
        EXPECT_EQ(playCount("se_decide.wav"), 1);
        frames(SceneTitle::kFadeFrames - 1);
        EXPECT_EQ(nextScene(), kSceneTitle);
        frames(1);  // the fade has ended
        EXPECT_EQ(nextScene(), next);
        EXPECT_FALSE(title() != nullptr && title()->messageWindow().shown);
        EXPECT_EQ(Global::Instance().Get("enemy"), -1);
    }
}

// Credits: after the fade the roll plays over the dawn harbour with its music, the menu's pictures
// gone; a click fades back to the menu, whose entry stops the credit music. The roll's pictures
// are loaded only once the credits are asked for.
TEST_F(TitleTest, CreditsPlayWithTheirMusicAndAClickReturnsToTheMenu) {
    enterMenu();
    EXPECT_EQ(DxGraphic::Instance().FindTexture("credit_roll_01.png"), nullptr);
    click(kCredits.x, kCredits.y);
    EXPECT_EQ(playCount("se_decide.wav"), 1);
    frames(SceneTitle::kFadeFrames);
    EXPECT_EQ(title()->currentState(), SceneTitle::kCredits);
    EXPECT_TRUE(soundCall("OpenBgm bgm_credit.ogg"));
    EXPECT_TRUE(soundCall("PlayBgm"));
    frames(SceneTitle::kFadeFrames + 2);
    EXPECT_TRUE(drawn("credit_bg.png"));
    EXPECT_NE(DxGraphic::Instance().FindTexture("credit_roll_01.png"), nullptr);
    EXPECT_FALSE(drawn("menu_bg_01.png"));
    EXPECT_FALSE(anyButtonLit() || drawn("menu_btn_start.png"));

    clearSoundLog();
    click(kEmpty.x, kEmpty.y);
    EXPECT_EQ(playCount("se_decide.wav"), 1);
    frames(SceneTitle::kFadeFrames);
    EXPECT_EQ(title()->currentState(), SceneTitle::kMenu);
    EXPECT_TRUE(soundCall("StopBgm"));
    EXPECT_TRUE(played("menu_title.wav"));
    frames(2);
    EXPECT_TRUE(drawn("menu_bg_01.png"));
    EXPECT_FALSE(drawn("credit_bg.png"));
    EXPECT_FALSE(title()->inputOn());  // 120 frames again
}

// Left alone, the credits end with their roll and go back to the menu.
TEST_F(TitleTest, CreditsEndByThemselvesWithTheRoll) {
    enterMenu();
    click(kCredits.x, kCredits.y);
    frames(SceneTitle::kFadeFrames);
    ASSERT_EQ(title()->currentState(), SceneTitle::kCredits);
    int n = 0;
    while (title()->currentState() == SceneTitle::kCredits && n < 20000) {
        frames(1);
        ++n;
    }
    EXPECT_GT(n, 60 * 120);  // the roll lasts about as long as its music (139 s)
    EXPECT_LT(n, 60 * 145);
    EXPECT_EQ(title()->currentState(), SceneTitle::kMenu);
}

// "End" plays the cancel sound and fades the jingle through its gain over 29 frames, stopping it
// after; when the screen is black the window is hidden and the program ends.
TEST_F(TitleTest, EndFadesTheJingleAndEndsTheProgram) {
    enterMenu();
    DxSound& sound = DxSound::Instance();
    const int32_t full = sound.SeBufferVolume("menu_title.wav");
    click(kEnd.x, kEnd.y);  // the fade starts in the press, the gain's first step in the release
    EXPECT_TRUE(played("se_cancel.wav"));
    int32_t previous = sound.SeBufferVolume("menu_title.wav");
    EXPECT_LT(previous, full);
    int falling = 1;
    for (int step = 2; step <= SceneTitle::kJingleFadeFrames; ++step) {
        frames(1);
        const int32_t now = sound.SeBufferVolume("menu_title.wav");
        EXPECT_LE(now, previous) << step;
        falling += now < previous ? 1 : 0;
        previous = now;
        EXPECT_FALSE(soundCall("StopSe menu_title.wav")) << step;
    }
    EXPECT_GE(falling, 20);
    EXPECT_LE(previous, -5000);  // silent at the end
    frames(1);
    EXPECT_TRUE(soundCall("StopSe menu_title.wav"));
    EXPECT_TRUE(headless->WindowVisible());
    EXPECT_FALSE(quit());
    frames(1);
    EXPECT_TRUE(quit());
    EXPECT_FALSE(headless->WindowVisible());
}

}  // namespace
}  // namespace titletest

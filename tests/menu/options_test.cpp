// The title's options overlay, the menu by keys and the records plate of the host pick, through
// the real main loop on the generated data.
#include <fstream>
#include <iterator>

#include "app/application.h"
#include "app/mouse_controller.h"
#include "cards/hand.h"
#include "core/records.h"
#include "sound/dx_sound.h"
#include "platform/system.h"
#include "scenes/menu/options_layout.h"
#include "test_support.h"
#include "title_fixture.h"

namespace titletest {
namespace {

using menu::options::RowArea;
using menu::options::TrackArea;
using platform::KeyCode;

class OptionsTest : public OptionsTitleTest {
protected:
    const OptionsOverlay& overlay() const { return title()->optionsOverlay(); }
    void clickRow(int row) {
        const menu::title::Area a = RowArea(row);
        click(a.left + 40, (a.top + a.bottom) / 2);
    }
    std::string config() const {
        std::ifstream in(saveDir + "/config.ini", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void openByMouse() {
        enterMenu();
        moveMouse(700, 666);
        frames(1);
        ASSERT_EQ(title()->menuHover(), menu::title::kHoverOptions);
        EXPECT_FALSE(anyButtonLit());  // the pictured buttons stay dim
        click(700, 666);
        ASSERT_TRUE(overlay().IsOpen());
    }
};

TEST_F(OptionsTest, TheOptionsItemOverlapsNoOtherItem) {
    const menu::title::Area o = menu::options::kMenuItem;
    for (const auto& item : menu::title::kMenuItems) {
        const bool apart = o.right <= item.area.left || item.area.right <= o.left || o.bottom <= item.area.top ||
                           item.area.bottom <= o.top;
        EXPECT_TRUE(apart) << item.hover;
    }
}

TEST_F(OptionsTest, EverySettingChangesAndClosingWritesConfigIni) {
    ASSERT_TRUE(testsupport::WriteFile(saveDir + "/config.ini", "; the guest's own\n[game]\nBgmVolume=30\nMine=7\n"));
    Global& g = Global::Instance();
    g.Set(30, "BgmVolume");
    g.Set(100, "WindowScale");
    clearSoundLog();
    openByMouse();
    EXPECT_TRUE(played("se_decide.wav"));

    // Music by the arrows: applied at once, the music keeps its track.
    pressKey(KeyCode::Right);
    EXPECT_EQ(g.Get("BgmVolume"), 35);
    EXPECT_TRUE(soundCall("BgmVolume 35"));
    EXPECT_EQ(DxSound::Instance().BgmVolume(), 35);
    EXPECT_FALSE(soundCall("StopBgm"));

    // Effects by dragging the knob: every step is heard at the new volume.
    const menu::title::Area track = TrackArea(OptionsOverlay::kRowEffects);
    const int y = (track.top + track.bottom) / 2;
    moveMouse(track.left + 40, y);
    frames(1);
    clearSoundLog();
    headless->SetMouse(menu::options::kTrackLeft + menu::options::kTrackWidth / 2, y, true);
    mouseX = menu::options::kTrackLeft + menu::options::kTrackWidth / 2;
    frames(1);
    EXPECT_EQ(g.Get("SeVolume"), 50);
    mouseX = menu::options::kTrackLeft + menu::options::kTrackWidth * 4 / 5;
    headless->SetMouse(mouseX, y, true);
    frames(1);
    headless->SetMouse(mouseX, y, false);
    frames(1);
    EXPECT_EQ(g.Get("SeVolume"), 80);
    EXPECT_TRUE(soundCall("SeVolume 50"));
    EXPECT_TRUE(soundCall("SeVolume 80"));
    EXPECT_EQ(playCount("se_hold.wav"), 2);
    EXPECT_EQ(DxSound::Instance().SeVolume(), 80);

    // The switches by clicks, full screen there and back by Enter.
    for (int row : {OptionsOverlay::kRowFourColour, OptionsOverlay::kRowFullStory, OptionsOverlay::kRowFast,
                    OptionsOverlay::kRowPause}) {
        clickRow(row);
        EXPECT_EQ(overlay().selected(), row);
    }
    EXPECT_EQ(g.Get("FourColourDeck"), 1);
    EXPECT_EQ(g.Get("FullStory"), 1);
    EXPECT_EQ(g.Get("FastAnimations"), 1);
    EXPECT_EQ(g.Get("PauseOnFocusLoss"), 1);
    EXPECT_NE(overlay().rowText(OptionsOverlay::kRowFast).find("オン"), std::string::npos);
    clickRow(OptionsOverlay::kRowFast);  // off again: the rest of the test runs at one step a frame
    EXPECT_EQ(g.Get("FastAnimations"), 0);

    clickRow(OptionsOverlay::kRowFullScreen);
    EXPECT_TRUE(headless->IsFullScreen());
    EXPECT_EQ(g.Get("FullScreen"), 1);
    pressKey(KeyCode::Return);
    EXPECT_FALSE(headless->IsFullScreen());

    // The scale: Right steps up, Left down, and the window follows.
    for (int i = 0; i < 5; ++i) pressKey(KeyCode::Down);
    ASSERT_EQ(overlay().selected(), OptionsOverlay::kRowScale);
    pressKey(KeyCode::Right);
    pressKey(KeyCode::Right);
    EXPECT_EQ(g.Get("WindowScale"), 200);
    int w = 0, h = 0;
    headless->GetWindowSize(w, h);
    EXPECT_EQ(w, 2560);
    EXPECT_EQ(h, 1440);
    pressKey(KeyCode::Left);
    EXPECT_EQ(g.Get("WindowScale"), 150);
    headless->GetWindowSize(w, h);
    EXPECT_EQ(w, 1920);

    // Records and back, then close with Escape.
    pressKey(KeyCode::Down);
    pressKey(KeyCode::Return);
    EXPECT_TRUE(overlay().recordsShown());
    pressKey(KeyCode::Escape);
    EXPECT_FALSE(overlay().recordsShown());
    EXPECT_TRUE(overlay().IsOpen());
    clearSoundLog();
    pressKey(KeyCode::Escape);
    EXPECT_FALSE(overlay().IsOpen());
    EXPECT_TRUE(played("se_cancel.wav"));
    EXPECT_EQ(title()->currentState(), SceneTitle::kMenu);  // the menu stays; nothing ends

    const std::string text = config();
    EXPECT_EQ(text.compare(0, 18, "; the guest's own\n"), 0) << text;
    EXPECT_NE(text.find("Mine=7\n"), std::string::npos) << text;
    g.Clear();
    LoadConfiguration(ConfigPath());
    EXPECT_EQ(g.Get("BgmVolume"), 35);
    EXPECT_EQ(g.Get("SeVolume"), 80);
    EXPECT_EQ(g.Get("FourColourDeck"), 1);
    EXPECT_EQ(g.Get("FullStory"), 1);
    EXPECT_EQ(g.Get("FastAnimations"), 0);
    EXPECT_EQ(g.Get("PauseOnFocusLoss"), 1);
    EXPECT_EQ(g.Get("FullScreen"), 0);
    EXPECT_EQ(g.Get("WindowScale"), 150);
}

TEST_F(OptionsTest, ArrowsWalkTheMenuAndEscapeAsksBeforeEnding) {
    enterMenu();
    pressKey(KeyCode::Down);  // the first arrow lights "start"
    EXPECT_EQ(title()->menuHover(), menu::title::kHoverStart);
    EXPECT_TRUE(drawn("menu_btn_start_on.png"));
    pressKey(KeyCode::Left);
    EXPECT_EQ(title()->menuHover(), menu::title::kHoverGallery);
    pressKey(KeyCode::Down);
    EXPECT_EQ(title()->menuHover(), menu::title::kHoverCredits);
    pressKey(KeyCode::Down);
    EXPECT_EQ(title()->menuHover(), menu::title::kHoverOptions);
    pressKey(KeyCode::Down);
    EXPECT_EQ(title()->menuHover(), menu::title::kHoverGallery);  // round the column
    pressKey(KeyCode::Up);
    pressKey(KeyCode::Right);
    EXPECT_EQ(title()->menuHover(), menu::title::kHoverQuick);
    pressKey(KeyCode::Left);
    pressKey(KeyCode::Return);
    EXPECT_TRUE(overlay().IsOpen());
    pressKey(KeyCode::Escape);
    EXPECT_FALSE(overlay().IsOpen());

    // Escape on the menu asks; Cancel keeps the game, OK ends it as the end button does.
    headless->QueueMessageBoxAnswer(platform::MessageBoxAnswer::Cancel);
    pressKey(KeyCode::Escape);
    ASSERT_EQ(headless->MessageBoxes().size(), 1u);
    EXPECT_EQ(title()->currentState(), SceneTitle::kMenu);
    frames(40);
    EXPECT_FALSE(quit());
    clearSoundLog();
    headless->QueueMessageBoxAnswer(platform::MessageBoxAnswer::Ok);
    pressKey(KeyCode::Escape);
    EXPECT_TRUE(played("se_cancel.wav"));
    frames(60);
    EXPECT_TRUE(quit());
}

TEST_F(OptionsTest, HostPickByKeysShowsTheRecordsPlate) {
    Records& r = Records::Instance();
    r.RecordMatch(1, true);
    r.RecordHand(1, 6);
    enterMenu();
    startPick();
    EXPECT_FALSE(title()->recordsPlateShown());
    pressKey(KeyCode::Right);  // from none, Right lights the first panel
    EXPECT_EQ(title()->hoveredSlot(), 0);
    EXPECT_TRUE(title()->recordsPlateShown());
    pressKey(KeyCode::Left);
    EXPECT_EQ(title()->hoveredSlot(), 4);
    pressKey(KeyCode::Right);
    clearSoundLog();
    pressKey(KeyCode::Return);
    EXPECT_EQ(title()->pickedSlot(), 0);
    EXPECT_FALSE(title()->recordsPlateShown());
    EXPECT_TRUE(played("se_decide.wav"));
    // Enter reads the introduction on as a click does.
    const int line = title()->lineIndex();
    for (int i = 0; i < 4; ++i) pressKey(KeyCode::Return);
    EXPECT_GT(title()->lineIndex(), line);
}

TEST(RecordLinesTest, TheLinesCarryEveryRecord) {
    HostRecord r;
    r.matchesWon = 3;
    r.matchesLost = 12;
    r.handsPlayed = 140;
    r.bestHand = -1;
    r.largestPayout = 2500;
    r.longestDoubleUpStreak = 4;
    EXPECT_EQ(RecordFirstLine(r), "勝ち 3　負け 12　勝負 140 回");
    EXPECT_EQ(RecordSecondLine(r), "最高の役 ―　最大 2500 枚　ダブルアップ 4 連勝");
    r.bestHand = 6;
    EXPECT_NE(RecordSecondLine(r).find(handRankNameUtf8(6)), std::string::npos);
    EXPECT_EQ(RecordSecondLine(r).find("―"), std::string::npos);
}

}  // namespace
}  // namespace titletest

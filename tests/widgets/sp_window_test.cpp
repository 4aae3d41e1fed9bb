#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cards/player_abilities.h"
#include "widget_fixture.h"
#include "widgets/sp_window.h"

namespace widgettest {
namespace {

class SpWindowTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        w = std::make_unique<SpWindow>();
    }
    void TearDown() override {
        w.reset();
        WidgetTest::TearDown();
    }
    // Screen point in the middle of ability i's name label.
    static int nameX(int i) { return 670 + (i % 2) * 280 + 56 + 100; }
    static int nameY(int i) { return 380 + (i / 2) * 30 + 40 + 15; }

    std::unique_ptr<SpWindow> w;
};

TEST_F(SpWindowTest, LayoutAndLabels) {
    EXPECT_EQ(canvasText("font_sp_ability_0"), "RankUp");
    EXPECT_EQ(canvasText("font_sp_ability_7"), "DeckPeek");
    EXPECT_EQ(canvasText("font_sp_cooltime_3"), "TURN 0");
    EXPECT_EQ(canvasColour("font_sp_cooltime_3"), 0xFFFF80u);
    // Cooldown label after the name: 12 pixels per byte of "TableBomb".
    EXPECT_FLOAT_EQ(w->cooldownLabels[5].position.x, 336.0f + 6 + 12 * 9);
    EXPECT_TRUE(w->contains(670, 380));
    EXPECT_TRUE(w->contains(670 + 589, 380 + 319));
    EXPECT_FALSE(w->contains(670 + 590, 400));
    EXPECT_FALSE(w->contains(669, 400));
    // Every description character survives the trip to Shift-JIS (none turned into '?').
    for (int i = 0; i < match::kPlayerAbilityCount; ++i) {
        EXPECT_EQ(platform::SjisToUtf8(match::PlayerAbilityDescription(i)), match::kPlayerAbilities[static_cast<size_t>(i)].description);
    }
}

TEST_F(SpWindowTest, RefreshAndSelectStopAtAnUnusableAbility) {
    w->refresh(100);
    // Costs 50, 50, 200, 50, 100, 150, 150, 200.
    const bool want[8] = {true, true, false, true, true, false, false, false};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(w->usable[static_cast<size_t>(i)], want[i]) << i;
        EXPECT_FLOAT_EQ(w->nameLabels[static_cast<size_t>(i)].red, want[i] ? 1.0f : 0.5f);
        EXPECT_EQ(w->markIcons[static_cast<size_t>(i)].sourceRect.left, want[i] ? 655 : 679);
    }
    w->resetSelection();
    EXPECT_EQ(w->select(nameX(4), nameY(4)), 4);
    EXPECT_EQ(w->select(nameX(5), nameY(5)), 4);  // 150 with gauge 100: selection unchanged
    EXPECT_EQ(w->select(10, 10), 4);              // nothing there
    w->resetSelection();
    EXPECT_EQ(w->select(nameX(5), nameY(5)), -1);

    // A cooling ability is unusable whatever the gauge, and shows its label once refreshed.
    w->addCooldown(0, -1);
    w->refresh(300);
    EXPECT_FALSE(w->usable[0]);
    EXPECT_TRUE(w->usable[7]);
    EXPECT_EQ(w->select(nameX(0), nameY(0)), -1);
    w->draw(0, 0, 0);
    EXPECT_TRUE(w->cooldownLabels[0].visible);
    EXPECT_FALSE(w->cooldownLabels[1].visible);
}

TEST_F(SpWindowTest, HoverShowsCostCooldownAndDescription) {
    w->hover(nameX(5), nameY(5));
    EXPECT_EQ(w->hovered, 5);
    EXPECT_EQ(platform::SjisToUtf8(canvasText("font_sp_cost")), "消費ＳＰ：150");
    EXPECT_EQ(canvasColour("font_sp_cost"), 0xC0FFC0u);
    EXPECT_EQ(platform::SjisToUtf8(canvasText("font_sp_CT")), "使用間隔：20ターン");
    EXPECT_EQ(canvasColour("font_sp_CT"), 0xC0C0FFu);
    EXPECT_EQ(canvasText("font_sp_comment"), match::PlayerAbilityDescription(5));
    EXPECT_EQ(canvasColour("font_sp_comment"), 0xFFC0C0u);
    EXPECT_TRUE(canvasInked("font_sp_comment"));

    w->hover(nameX(6), nameY(6) + 2);
    EXPECT_EQ(platform::SjisToUtf8(canvasText("font_sp_CT")), "使用間隔：10ターン");
    w->hover(5, 5);
    EXPECT_EQ(w->hovered, -1);
    EXPECT_FALSE(canvasInked("font_sp_cost"));
    EXPECT_FALSE(canvasInked("font_sp_comment"));
}

TEST_F(SpWindowTest, CooldownsAddOnceOrTwiceAndNeverFallBelowZero) {
    w->addCooldown(2, -2);  // JokerSwap, cooldown 10
    EXPECT_EQ(w->cooldowns[2], 20);
    EXPECT_EQ(canvasText("font_sp_cooltime_2"), "TURN 20");
    w->addCooldown(2, -1);
    EXPECT_EQ(w->cooldowns[2], 30);
    w->addCooldown(0, 3);
    EXPECT_EQ(w->cooldowns[0], 3);
    w->addCooldown(8, 5);   // no such ability: ignored
    w->addCooldown(1, -7);  // a reduction stops at 0
    EXPECT_EQ(w->cooldowns[1], 0);
    for (int t = 0; t < 4; ++t) w->tickCooldowns();
    EXPECT_EQ(w->cooldowns[0], 0);
    EXPECT_EQ(w->cooldowns[2], 26);
    EXPECT_EQ(w->cooldowns[5], 0);
    EXPECT_EQ(canvasText("font_sp_cooltime_2"), "TURN 26");
    EXPECT_EQ(canvasText("font_sp_cooltime_0"), "TURN 0");
}

TEST_F(SpWindowTest, NothingButTheBackgroundShowsWhileGrowing) {
    w->marks[3] = true;
    w->addCooldown(1, -1);
    w->resetSelection();
    w->open = true;
    w->popIn();
    w->refresh(300);
    for (int frame = 1; frame <= 5; ++frame) {
        headless->ClearQuads();
        w->draw(0, 0, 0);
        EXPECT_FALSE(w->settled());
        EXPECT_EQ(headless->Quads().size(), 1u) << frame;  // the background alone
        EXPECT_FLOAT_EQ(w->background.scale.x, (frame - 1) / 5.0f);
        for (int i = 0; i < 8; ++i) {
            EXPECT_FALSE(w->nameLabels[static_cast<size_t>(i)].visible);
            EXPECT_FALSE(w->cooldownLabels[static_cast<size_t>(i)].visible);
            EXPECT_FALSE(w->markIcons[static_cast<size_t>(i)].visible);
        }
    }
    headless->ClearQuads();
    w->draw(0, 0, 0);
    EXPECT_TRUE(w->settled());
    EXPECT_FLOAT_EQ(w->background.scale.x, 1.0f);
    EXPECT_TRUE(w->nameLabels[0].visible);
    EXPECT_TRUE(w->cooldownLabels[1].visible);
    EXPECT_TRUE(w->markIcons[3].visible);
    EXPECT_FALSE(w->markIcons[2].visible);
    // Background, close button, 8 names, 1 cooldown, 1 mark, 3 info labels.
    EXPECT_EQ(headless->Quads().size(), 15u);

    // Closed: drawn as nothing; opening again restarts the growth even mid-way.
    w->open = false;
    headless->ClearQuads();
    w->draw(0, 0, 0);
    EXPECT_TRUE(headless->Quads().empty());
    w->popIn();
    w->draw(0, 0, 0);
    w->popIn();
    w->draw(0, 0, 0);
    EXPECT_FLOAT_EQ(w->background.scale.x, 0.0f);
}

}  // namespace
}  // namespace widgettest

namespace widgettest {
namespace {

TEST_F(SpWindowTest, CloseButtonAnswersOnlyOnceOpenAndSettled) {
    const int x = 670 + 590 - 48 + 20, y = 380 + 8 + 20;
    EXPECT_FALSE(w->closeButtonHit(x, y));  // closed
    w->open = true;
    w->popIn();
    w->draw(0, 0, 0);
    EXPECT_FALSE(w->closeButtonHit(x, y));  // still growing
    for (int i = 0; i < 10; ++i) w->draw(0, 0, 0);
    EXPECT_TRUE(w->closeButtonHit(x, y));
    EXPECT_FALSE(w->closeButtonHit(x - 45, y));
    EXPECT_TRUE(w->contains(x, y));  // the button lies inside the window
}

TEST_F(SpWindowTest, ResetCooldownsClearsEveryCounterAndLabel) {
    w->addCooldown(2, -1);
    w->addCooldown(5, 7);
    EXPECT_EQ(canvasText("font_sp_cooltime_2"), "TURN 10");
    w->resetCooldowns();
    for (int i = 0; i < SpWindow::kAbilityCount; ++i) {
        EXPECT_EQ(w->cooldowns[static_cast<size_t>(i)], 0) << i;
    }
    EXPECT_EQ(canvasText("font_sp_cooltime_2"), "TURN 0");
    EXPECT_EQ(canvasText("font_sp_cooltime_5"), "TURN 0");
}

}  // namespace
}  // namespace widgettest

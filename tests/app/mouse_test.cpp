#include <gtest/gtest.h>

#include "app/mouse_controller.h"
#include "platform/headless/headless_platform.h"
#include "test_support.h"

TEST(MouseTest, ClickEdgeOnlyOnFirstFrame) {
    platform::HeadlessPlatform* h = testsupport::InstallHeadlessWithRenderer();
    MouseController m;
    h->SetMouse(100, 200, false);
    m.Update(true);
    EXPECT_EQ(m.x, 100);
    EXPECT_EQ(m.y, 200);
    EXPECT_FALSE(m.Clicked());
    h->SetMouse(101, 200, true);
    m.Update(true);
    EXPECT_TRUE(m.Clicked());
    EXPECT_EQ(m.previousX, 100);
    m.Update(true);
    EXPECT_FALSE(m.Clicked());  // held: no second click
    h->SetMouse(101, 200, false);
    m.Update(true);
    EXPECT_TRUE(m.Released());
    EXPECT_FALSE(m.Clicked());
}

TEST(MouseTest, DisabledOrBackgroundReadsMinusOne) {
    platform::HeadlessPlatform* h = testsupport::InstallHeadlessWithRenderer();
    MouseController m;
    h->SetMouse(50, 60, true);
    m.Update(false);
    EXPECT_EQ(m.x, -1);
    EXPECT_EQ(m.y, -1);
    EXPECT_FALSE(m.left);
    EXPECT_FALSE(m.enabled);

    h->SetForeground(false);
    m.Update(true);
    EXPECT_EQ(m.x, -1);
    EXPECT_FALSE(m.enabled);
    // Coming back with the button held counts as a press in the first frame.
    h->SetForeground(true);
    m.Update(true);
    EXPECT_TRUE(m.enabled);
    EXPECT_TRUE(m.Clicked());
    EXPECT_EQ(m.x, 50);
}

TEST(MouseTest, KeyPressedOnlyOnTheFrameTheKeyWentDown) {
    using platform::KeyCode;
    platform::HeadlessPlatform* h = testsupport::InstallHeadlessWithRenderer();
    MouseController m;
    m.Update(true);
    EXPECT_FALSE(m.KeyPressed(KeyCode::D));
    h->SetKeyDown(KeyCode::D, true);
    m.Update(true);
    EXPECT_TRUE(m.KeyPressed(KeyCode::D));
    EXPECT_FALSE(m.KeyPressed(KeyCode::S));
    m.Update(true);
    EXPECT_FALSE(m.KeyPressed(KeyCode::D));  // held: no second press
    EXPECT_TRUE(m.KeyHeld(KeyCode::D));
    h->SetKeyDown(KeyCode::D, false);
    m.Update(true);
    h->SetKeyDown(KeyCode::D, true);
    h->SetKeyDown(KeyCode::Num5, true);
    m.Update(true);
    EXPECT_TRUE(m.KeyPressed(KeyCode::D));
    EXPECT_TRUE(m.KeyPressed(KeyCode::Num5));
    EXPECT_FALSE(m.KeyPressed(KeyCode::Other));
}

TEST(MouseTest, KeyHeldThroughDisabledInputIsNotPressedAgain) {
    using platform::KeyCode;
    platform::HeadlessPlatform* h = testsupport::InstallHeadlessWithRenderer();
    MouseController m;
    h->SetKeyDown(KeyCode::Return, true);
    m.Update(false);
    EXPECT_FALSE(m.KeyPressed(KeyCode::Return));  // input off
    m.Update(true);
    EXPECT_FALSE(m.KeyPressed(KeyCode::Return));  // was already down
    // Going to the background forgets the keys: held on return counts as a press.
    h->SetForeground(false);
    m.Update(true);
    EXPECT_FALSE(m.KeyPressed(KeyCode::Return));
    h->SetForeground(true);
    m.Update(true);
    EXPECT_TRUE(m.KeyPressed(KeyCode::Return));
    m.Reset();
    m.Update(true);
    EXPECT_TRUE(m.KeyPressed(KeyCode::Return));
}

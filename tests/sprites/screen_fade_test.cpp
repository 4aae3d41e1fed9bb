#include <gtest/gtest.h>

#include "widgets/screen_fade.h"
#include "sprite_fixture.h"

namespace spritetest {
namespace {

TEST(ScreenFade, FadeInFromBlackEndsOnStepThirtyAndReportsOnThirtyOne) {
    ScreenFade fade;
    EXPECT_EQ(fade.result, -1);
    EXPECT_TRUE(fade.plane.visible);
    EXPECT_TRUE(fade.plane.textureName.empty());
    fade.result = 7;
    fade.Start(0xFF000000u, 0x00000000u, 30);
    for (int i = 1; i <= 30; ++i) {
        ASSERT_EQ(fade.Step(), -1) << "step " << i;
        EXPECT_NEAR(fade.plane.alpha, 1.0f - i / 30.0f, 1e-6f) << "step " << i;
        EXPECT_EQ(fade.plane.red, 0.0f);
    }
    EXPECT_EQ(fade.plane.alpha, 0.0f);
    EXPECT_TRUE(fade.active);
    EXPECT_EQ(fade.Step(), 7);
    EXPECT_FALSE(fade.active);
    EXPECT_EQ(fade.frame, 30);
    // Idle: -1 and nothing changes.
    fade.plane.alpha = 0.3f;
    EXPECT_EQ(fade.Step(), -1);
    EXPECT_EQ(fade.Step(), -1);
    EXPECT_EQ(fade.plane.alpha, 0.3f);
}

TEST(ScreenFade, ColoursDelayRestartAndEmptyFades) {
    ScreenFade fade;
    fade.SetColour(0x80FF0033u);
    EXPECT_FLOAT_EQ(fade.plane.alpha, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(fade.plane.red, 1.0f);
    EXPECT_FLOAT_EQ(fade.plane.green, 0.0f);
    EXPECT_FLOAT_EQ(fade.plane.blue, 0.2f);

    // White to transparent white over 4 frames, after a wait of 2.
    fade.result = 2;
    fade.Start(0xFFFFFFFFu, 0x00FFFFFFu, 4);
    fade.delay = 2;
    EXPECT_EQ(fade.Step(), -1);
    EXPECT_EQ(fade.Step(), -1);
    EXPECT_FLOAT_EQ(fade.plane.alpha, 128.0f / 255.0f);  // not moved during the wait
    EXPECT_EQ(fade.Step(), -1);
    EXPECT_FLOAT_EQ(fade.plane.alpha, 0.75f);
    EXPECT_FLOAT_EQ(fade.plane.green, 1.0f);
    // Starting again restarts from the new colours.
    fade.Start(0x00000000u, 0xFF000000u, 2);
    EXPECT_EQ(fade.Step(), -1);
    EXPECT_FLOAT_EQ(fade.plane.alpha, 0.5f);
    EXPECT_EQ(fade.plane.green, 0.0f);
    EXPECT_EQ(fade.Step(), -1);
    EXPECT_EQ(fade.Step(), 2);

    // A fade of no frames reports at once and leaves the plane at its end colour.
    fade.result = 1;
    fade.Start(0x00000000u, 0xFF000000u, 0);
    EXPECT_EQ(fade.Step(), 1);
    EXPECT_EQ(fade.plane.alpha, 1.0f);
    EXPECT_EQ(fade.Step(), -1);
}

using ScreenFadeDrawTest = SpriteTest;

TEST_F(ScreenFadeDrawTest, PlaneIsAnUntexturedFullScreenQuad) {
    ScreenFade fade;
    fade.Draw();  // opaque white until a colour is set
    fade.Start(0xFF000000u, 0x00000000u, 2);
    fade.Step();
    fade.Draw();
    fade.Step();
    fade.Draw();  // alpha exactly 0: nothing to draw
    ASSERT_EQ(quads().size(), 2u);
    const platform::Quad& q = quads()[1].quad;
    EXPECT_EQ(q.texture, 0u);
    EXPECT_EQ(q.argb, 0x7F000000u);
    EXPECT_FLOAT_EQ(q.v[0].x, -0.5f);
    EXPECT_FLOAT_EQ(q.v[0].y, -0.5f);
    EXPECT_FLOAT_EQ(q.v[3].x, 1279.5f);
    EXPECT_FLOAT_EQ(q.v[3].y, 719.5f);
}

}  // namespace
}  // namespace spritetest

// The advertisement between the match and the title: its timing, the click that skips it and a
// missing animation file.
#include <gtest/gtest.h>

#include "animation/sylkie_animation.h"
#include "archive/archive.h"
#include "../support/scene_fixture.h"
#include "../support/test_support.h"

namespace {

constexpr int kFade = 30;

class AdvertTest : public testsupport::SceneTest {
protected:
    // Frames of the advertisement's composition in the packed file, or 0.
    static int advertLength() {
        SylkieAnimation a;
        if (a.Load("menu_advertise.bca") != 0) return 0;
        const AnimComposition* c = a.Find("menu_advertise");
        return c != nullptr ? c->length : 0;
    }
};

// Untouched, the advertisement plays to its last frame, fades out, and one frame after the fade
// the title is asked for: 31 frames after the last animation frame.
TEST_F(AdvertTest, TheTitleFollowsThirtyOneFramesAfterTheLastFrame) {
    if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    const int length = advertLength();
    ASSERT_GE(length, 60 * 10);  // ten to fifteen seconds
    ASSERT_LE(length, 60 * 15);
    Start(kSceneCm);
    ASSERT_TRUE(frames(length + kFade));
    EXPECT_EQ(currentScene(), kSceneCm);
    EXPECT_EQ(nextScene(), kSceneCm);
    EXPECT_TRUE(played("se_sparkle.wav"));  // the hosts' turns
    EXPECT_TRUE(played("se_chime.wav"));    // the finale
    frames(1);
    EXPECT_EQ(nextScene(), kSceneTitle);
}

// A click during the fade-in does nothing; a click in the first frame after it starts the
// fade-out at once.
TEST_F(AdvertTest, AClickSkipsOnlyAfterTheFadeIn) {
    if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    Start(kSceneCm);
    frames(5);
    click(640, 360);  // passes 6 and 7
    frames(kFade - 8);
    click(640, 360);  // pressed in pass 30, the fade-in's last frame
    frames(100);
    EXPECT_EQ(nextScene(), kSceneCm);

    Start(kSceneCm);
    frames(kFade);
    click(640, 360);  // pressed in pass 31: the fade-out starts
    frames(kFade - 1);
    EXPECT_EQ(nextScene(), kSceneCm);
    frames(1);
    EXPECT_EQ(nextScene(), kSceneTitle);
}

// Without "menu_advertise.bca" the scene fades in, straight out again, and returns to the title
// after about a second.
TEST_F(AdvertTest, AMissingFileFadesInAndOutToTheTitle) {
    ASSERT_TRUE(testsupport::InstallArchive(ArchiveId::Animations,
                                            {{"menu_other.bca", {'<', 'S', 'Y', 'L', 'K', 'I', 'E', '>'}}}));
    Start(kSceneCm);
    frames(2 * kFade + 1);
    EXPECT_EQ(nextScene(), kSceneCm);
    EXPECT_TRUE(logged("SylkieAnimation : 読込失敗"));
    frames(1);
    EXPECT_EQ(nextScene(), kSceneTitle);
    EXPECT_EQ(headless->FrameCount(), 2 * kFade + 2);  // every frame drawn
}

}  // namespace

// The gallery's viewer: one illustration and its second variant, the standing pictures peeled
// by clicks, and the scripted story with its window, white-outs, left Ctrl and music.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "platform/text_encoding.h"
#include "scene_fixture.h"
#include "scenes/menu/gallery_layout.h"
#include "scenes/menu/gallery_scripts.h"
#include "scenes/menu/scene_look_cg.h"
#include "sound/dx_sound.h"

namespace {

namespace gl = menu::gallery;

constexpr int kFadeInPasses = 32;  // 30 fade frames, the pass that ends it, one spare

// What one frame showed of the story.
struct Seen {
    std::string text;      // last text rendered into the window's canvas
    bool window = false;   // the frame pieces were drawn
    int white = 0;         // alpha of a white fade plane, 0 when none
    int black = 0;         // alpha of a black fade plane, 0 when none
    std::string picture;   // the illustration drawn
};

class LookCgTest : public testsupport::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        clearSoundLog();
        if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
        SetFactory([](int id) -> Scene* { return id == kSceneLookCg ? new SceneLookCG() : nullptr; });
    }

    void open(int host, int item, bool fromGallery = true) {
        Global& g = Global::Instance();
        g.Set(host, "enemy");
        g.Set(item, "cg");
        g.Set(fromGallery ? 1 : 0, "isCgMode");
        Start(kSceneLookCg);
        frames(kFadeInPasses);
    }

    platform::TextureHandle handle(const std::string& name) const {
        const DxGraphic::CacheEntry* e = DxGraphic::Instance().FindTexture(name);
        return e != nullptr ? e->texture : 0;
    }
    // Names of the given pictures drawn last frame, in drawing order.
    std::vector<std::string> drawn(const std::vector<std::string>& names) const {
        std::vector<std::string> out;
        for (const platform::Quad& q : lastFrameQuads()) {
            for (const std::string& n : names) {
                if (q.texture != 0 && q.texture == handle(n)) out.push_back(n);
            }
        }
        return out;
    }
    bool shows(const std::string& name) const { return !drawn({name}).empty(); }
    std::string canvasText() const {
        const DxGraphic::CacheEntry* c = DxGraphic::Instance().FindCanvas(gl::kTextCanvas);
        return c != nullptr ? c->text : std::string();
    }

    Seen see(int host) const {
        Seen s;
        s.text = canvasText();
        s.window = shows(gl::kFrameSheet);
        for (const platform::Quad& q : lastFrameQuads()) {
            if (q.texture == 0) {
                const int a = static_cast<int>(q.argb >> 24);
                ((q.argb & 0xFFFFFFu) == 0xFFFFFFu ? s.white : s.black) = a;
            }
            for (int i = 0; i < gl::kIllustrationCount; ++i) {
                for (int v = 0; v < gl::kVariantCount; ++v) {
                    const std::string n = gl::kIllustrations[host][i][v];
                    if (!n.empty() && q.texture != 0 && q.texture == handle(n)) s.picture = n;
                }
            }
        }
        return s;
    }

    bool leftFor(int id) const { return scene() == nullptr && nextScene() == id; }
};

TEST_F(LookCgTest, AnIllustrationWithoutSecondVariantLeavesOnTheFirstClick) {
    open(1, 1);
    EXPECT_TRUE(shows("CG_Otsel_02_01.png"));
    EXPECT_FALSE(soundCall("OpenBgm"));
    click(640, 360);
    EXPECT_TRUE(shows("CG_Otsel_02_01.png"));
    frames(19);
    EXPECT_NE(scene(), nullptr);
    frames(1);
    EXPECT_TRUE(leftFor(kSceneCgMode));
    EXPECT_EQ(DxGraphic::Instance().FindTexture("CG_Otsel_02_01.png"), nullptr);

    // Opened from the match's ending, not the gallery: back to the title.
    TearDown();
    SetUp();
    open(3, 0, false);
    EXPECT_TRUE(shows("CG_Iblen_01_01.png"));
    click(10, 10);
    frames(20);
    EXPECT_TRUE(leftFor(kSceneTitle));
}

TEST_F(LookCgTest, ASecondVariantTakesOneClickMore) {
    const struct {
        int host, item;
        const char* first;
        const char* second;
    } cases[] = {{4, 0, "CG_Rosweth_01_01.png", "CG_Rosweth_01_02.png"},
                 {0, 2, "CG_Pemra_03_01.png", "CG_Pemra_03_02.png"}};
    for (const auto& c : cases) {
        if (&c != &cases[0]) {
            TearDown();
            SetUp();
        }
        Start(kSceneLookCg);
        Global::Instance().Set(c.host, "enemy");
        Global::Instance().Set(c.item, "cg");
        Global::Instance().Set(1, "isCgMode");
        frames(3);
        click(640, 360);  // still fading in: ignored
        frames(kFadeInPasses);
        EXPECT_EQ(drawn({c.first, c.second}), std::vector<std::string>{c.first});
        click(640, 360);
        EXPECT_EQ(drawn({c.first, c.second}), std::vector<std::string>{c.second});
        frames(25);
        EXPECT_NE(scene(), nullptr) << c.first;
        click(640, 360);
        frames(20);
        EXPECT_TRUE(leftFor(kSceneCgMode)) << c.first;
    }
}

TEST_F(LookCgTest, StandingPicturesArePeeledFromTheTop) {
    const std::vector<std::string> stands = {"gallery_02.png", "Stand_Quenvar_03.png", "Stand_Quenvar_02.png",
                                             "Stand_Quenvar_01.png"};
    open(2, gl::kItemStands);
    EXPECT_EQ(drawn(stands), stands);
    click(5, 5);
    EXPECT_EQ(drawn(stands), (std::vector<std::string>{stands[0], stands[1], stands[2]}));
    click(1279, 719);
    EXPECT_EQ(drawn(stands), (std::vector<std::string>{stands[0], stands[1]}));
    click(640, 360);
    EXPECT_EQ(drawn(stands), (std::vector<std::string>{stands[0], stands[1]}));
    frames(20);
    EXPECT_TRUE(leftFor(kSceneCgMode));
    EXPECT_FALSE(soundCall("OpenBgm"));
}

TEST_F(LookCgTest, TheStoryTypesAMessagePerClickUnderItsOwnMusic) {
    const std::vector<std::string> script = menu::LoadGalleryScript(0);
    ASSERT_EQ(script.size(), 34u);
    ASSERT_FALSE(menu::IsGalleryCommand(script[0]));
    ASSERT_FALSE(menu::IsGalleryCommand(script[1]));
    Start(kSceneLookCg);
    Global::Instance().Set(0, "enemy");
    Global::Instance().Set(gl::kItemStory, "cg");
    frames(1);
    EXPECT_TRUE(soundCall("OpenBgm bgm_cg.ogg"));
    EXPECT_TRUE(soundCall("LoopPoint 0 6300000 0"));
    EXPECT_EQ(DxSound::Instance().BgmState(), 2);
    EXPECT_FALSE(shows(gl::kFrameSheet)) << "hidden while fading in";
    frames(kFadeInPasses);

    // The frame's two pieces side by side, the text inset in them.
    std::vector<platform::Quad> frame;
    for (const platform::Quad& q : lastFrameQuads()) {
        if (q.texture == handle(gl::kFrameSheet)) frame.push_back(q);
    }
    ASSERT_EQ(frame.size(), 2u);
    EXPECT_FLOAT_EQ(frame[0].v[0].x, gl::kFramePosition.x - 0.5f);
    EXPECT_FLOAT_EQ(frame[0].v[0].y, gl::kFramePosition.y - 0.5f);
    EXPECT_FLOAT_EQ(frame[1].v[0].x, frame[0].v[1].x);
    EXPECT_FLOAT_EQ(frame[1].v[1].x - frame[0].v[0].x, 946.0f);
    EXPECT_TRUE(shows("CG_Pemra_01_01.png"));

    EXPECT_NE(canvasText(), script[0]) << "typed a character at a time";
    click(640, 360);
    EXPECT_EQ(canvasText(), script[0]) << "a click completes the message";
    click(640, 360);
    frames(2);
    const size_t firstChar = platform::IsSjisLeadByte(static_cast<unsigned char>(script[1][0])) ? 2 : 1;
    EXPECT_EQ(canvasText(), script[1].substr(0, firstChar)) << "the next click moves on, typing";
    click(640, 360);
    EXPECT_EQ(canvasText(), script[1]);
    frames(10);
    EXPECT_EQ(canvasText(), script[1]) << "waits for the reader";

    // A right click hides the window; a left click then only shows it again.
    rightClick(640, 360);
    EXPECT_FALSE(shows(gl::kFrameSheet));
    click(640, 360);
    EXPECT_TRUE(shows(gl::kFrameSheet));
    frames(10);
    EXPECT_EQ(canvasText(), script[1]) << "the message was not advanced";
    rightClick(640, 360);
    rightClick(640, 360);
    EXPECT_TRUE(shows(gl::kFrameSheet)) << "a second right click shows it again";
    click(640, 360);
    click(640, 360);
    EXPECT_EQ(canvasText(), script[2]);
}

// Otsel's story: 28, 18 and 20 entries; the closing chapter whites out once.
TEST_F(LookCgTest, LeftCtrlRunsThroughTheStoryButEveryFadePlaysInFull) {
    const std::vector<std::string> closing = menu::LoadGalleryScript(5);
    int fadeAt = -1;
    for (size_t i = 0; i < closing.size(); ++i) {
        if (closing[i] == "fade") fadeAt = static_cast<int>(i);
    }
    ASSERT_GT(fadeAt, 0);
    ASSERT_EQ(closing[fadeAt - 1].empty(), false);

    open(1, gl::kItemStory);
    holdKey(platform::KeyCode::LeftControl, true);
    std::vector<Seen> seen;
    for (int pass = 0; pass < 1000 && scene() != nullptr; ++pass) {
        frames(1);
        seen.push_back(see(1));
    }
    ASSERT_TRUE(leftFor(kSceneCgMode)) << "Ctrl runs the story to its end";
    EXPECT_TRUE(soundCall("CloseBgm"));
    EXPECT_EQ(DxGraphic::Instance().FindCanvas(gl::kTextCanvas), nullptr);
    EXPECT_EQ(DxGraphic::Instance().FindTexture("CG_Otsel_03_02.png"), nullptr);

    // The first chapter's messages follow each other every second frame, each shown complete.
    const std::vector<std::string> first = menu::LoadGalleryScript(3);
    for (size_t k = 0; k + 1 < first.size(); ++k) {
        EXPECT_EQ(seen[2 * k].text, first[k]) << "entry " << k;
        EXPECT_EQ(seen[2 * k + 1].text, first[k]) << "entry " << k;
    }

    // Between chapters: 20 frames to black, the next illustration under full black, 30 back.
    size_t change = 0;
    while (change < seen.size() && seen[change].picture != "CG_Otsel_02_01.png") ++change;
    ASSERT_LT(change, seen.size());
    EXPECT_EQ(seen[change].black, 255);
    EXPECT_EQ(seen[change - 1].picture, "CG_Otsel_01_01.png");
    EXPECT_EQ(seen[change - 1].black, 255);
    EXPECT_EQ(seen[change - 20].black, 255 / 20);
    EXPECT_EQ(seen[change + 15].black, 127);
    EXPECT_EQ(seen[change + 30].black, 0);
    EXPECT_FALSE(seen[change + 29].window);

    // The white-out: the window goes at once, white rises over 20 frames, the second variant
    // comes under full white, white falls over 120 frames, then 20 frames of pause.
    size_t to = 0;
    while (to < seen.size() && seen[to].white == 0) ++to;
    ASSERT_LT(to, seen.size());
    EXPECT_TRUE(seen[to - 2].window);
    EXPECT_FALSE(seen[to - 1].window);
    EXPECT_EQ(seen[to - 1].text, closing[fadeAt - 1]);
    EXPECT_EQ(seen[to + 19].white, 255);
    EXPECT_EQ(seen[to + 19].picture, "CG_Otsel_03_01.png");
    EXPECT_EQ(seen[to + 20].white, 255);
    EXPECT_EQ(seen[to + 20].picture, "CG_Otsel_03_02.png");
    EXPECT_EQ(seen[to + 80].white, 127);
    EXPECT_EQ(seen[to + 140].white, 0);
    for (size_t i = to - 1; i < to + 162; ++i) {
        EXPECT_FALSE(seen[i].window) << "pass " << i - to;
        EXPECT_EQ(seen[i].text, closing[fadeAt - 1]) << "pass " << i - to;
    }
    EXPECT_TRUE(seen[to + 162].window);
    EXPECT_EQ(seen[to + 162].picture, "CG_Otsel_03_02.png");
    holdKey(platform::KeyCode::LeftControl, false);
}

}  // namespace

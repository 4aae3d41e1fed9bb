#include <string>
#include <vector>

#include "anim_fixture.h"
#include "core/result.h"

using animtest::AnimTest;
using animtest::Crlf;

namespace {

// A composition "c" of `length` frames with one 8 x 8 layer whose position key on every frame
// puts its left edge at x = 100 + frame (the layer centre is key x, the left edge key x - 4).
std::string Counter(int length, const std::string& extra = "") {
    std::string s = Crlf({"<SYLKIE_ANIMATION_FILE>"});
    s += "#COMPOSITION c 64 64 " + std::to_string(length) + " 60\r\n" + extra;
    s += "#LAYER 1 1 8 8 " + std::to_string(length) + " Image Normal\r\n#IMAGE 1 a.png\r\n";
    for (int f = 0; f < length; ++f) {
        s += "#POSITION " + std::to_string(f + 1) + " " + std::to_string(104 + f) + " 50 0\r\n";
    }
    return s;
}

// The quad's left and top edges (the sprite drawer shifts quads by half a pixel).
float Left(const platform::Quad& q) { return q.v[0].x + 0.5f; }
float Top(const platform::Quad& q) { return q.v[0].y + 0.5f; }

// The frame a counter layer showed, from its quad; -1 when nothing was drawn.
int ShownFrame(const std::vector<platform::Quad>& quads) {
    if (quads.size() != 1) {
        return -1;
    }
    return static_cast<int>(Left(quads[0])) - 100;
}

}  // namespace

TEST_F(AnimTest, NonLoopingCompositionShowsEveryFrameOnceThenStops) {
    SylkieAnimation a;
    LoadText(a, Counter(5));
    EXPECT_FALSE(a.playing);
    EXPECT_TRUE(Step(a).empty());  // nothing plays before Play
    ASSERT_EQ(a.Play("c"), S_OK_RESULT);
    for (int f = 0; f < 5; ++f) {
        EXPECT_TRUE(a.playing);
        EXPECT_EQ(ShownFrame(Step(a)), f);
    }
    EXPECT_FALSE(a.playing);  // the fifth draw finished it
    EXPECT_EQ(a.Current()->frame, 5);
    EXPECT_TRUE(Step(a).empty());
    EXPECT_TRUE(Step(a).empty());
}

TEST_F(AnimTest, LoopReplaysItsSectionWithItsOwnKeysAndMarkers) {
    // Loop back to frame index 2; a shake before the loop, a shake and a sound inside it, a
    // picture change before the loop point.
    SylkieAnimation a;
    LoadText(a, Counter(6, Crlf({"#MARKER 3 LOOP", "#MARKER 2 SHAKE 5 6 7", "#MARKER 5 SHAKE 9 8 30",
                                 "#MARKER 4 SOUND se_hit.wav"})) +
                    "#IMAGE 2 b.png\r\n");
    Global& g = Global::Instance();
    ASSERT_EQ(a.Play("c"), S_OK_RESULT);
    std::vector<int> shown, sounds, shakes;
    for (int i = 0; i < 6 + 4 * 3; ++i) {
        g.Set(0, "shake_enable");
        shown.push_back(ShownFrame(Step(a)));
        if (Played("se_hit.wav")) sounds.push_back(i);
        if (g.Get("shake_enable") == 1) shakes.push_back(g.Get("shake_x"));
        EXPECT_TRUE(a.playing);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 4, 5, 2, 3, 4, 5, 2, 3, 4, 5, 2, 3, 4, 5}));
    EXPECT_EQ(sounds, (std::vector<int>{3, 7, 11, 15}));
    EXPECT_EQ(shakes, (std::vector<int>{5, 9, 9, 9, 9}));
    // The last shake wrote all five keys, the time twice.
    EXPECT_EQ(g.Get("shake_y"), 8);
    EXPECT_EQ(g.Get("shake_time"), 30);
    EXPECT_EQ(g.Get("shake_max"), 30);
    // The picture set before the loop point stays after the jumps.
    EXPECT_EQ(a.Current()->layers[0].sprite.textureName, "b.png");
}

TEST_F(AnimTest, LoopToTheFirstFrameReplaysFromTheFirstKeys) {
    SylkieAnimation a;
    LoadText(a, Counter(3, Crlf({"#MARKER 1 LOOP", "#MARKER 1 SOUND se_hit.wav"})));
    ASSERT_EQ(a.Play("c"), S_OK_RESULT);
    std::vector<int> shown;
    int plays = 0;
    for (int i = 0; i < 9; ++i) {
        shown.push_back(ShownFrame(Step(a)));
        plays += Played("se_hit.wav") ? 1 : 0;
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0, 1, 2, 0, 1, 2}));
    EXPECT_EQ(plays, 3);
}

TEST_F(AnimTest, CurrentLabelNamesTheFrameTheNextDrawProcesses) {
    SylkieAnimation a;
    EXPECT_EQ(a.CurrentLabel(), "");
    LoadText(a, Counter(6, Crlf({"#MARKER 4 appear", "#MARKER 1 start"})));
    EXPECT_EQ(a.CurrentLabel(), "");  // nothing current yet
    ASSERT_EQ(a.Play("c"), S_OK_RESULT);
    std::vector<std::string> labels{a.CurrentLabel()};
    for (int i = 0; i < 5; ++i) {
        Step(a);
        labels.push_back(a.CurrentLabel());
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"start", "", "", "appear", "", ""}));
    EXPECT_EQ(a.Play("nope"), E_FAIL_RESULT);
    EXPECT_EQ(a.CurrentLabel(), "");
}

TEST_F(AnimTest, LayerShowsFromItsStartThroughStartPlusDuration) {
    SylkieAnimation a;
    LoadText(a, Crlf({"<SYLKIE_ANIMATION_FILE>", "#COMPOSITION c 1 1 30 60", "#LAYER 1 11 8 8 5 Image Normal",
                      "#IMAGE 1 a.png", "#POSITION 1 54 54 0", "#POSITION 3 74 54 0"}));
    ASSERT_EQ(a.Play("c"), S_OK_RESULT);
    std::vector<int> drawnOn;
    for (int f = 0; f < 30; ++f) {
        const auto quads = Step(a);
        if (!quads.empty()) {
            drawnOn.push_back(f);
            // Keys at relative frame 1 fire on the layer's first frame, relative 3 two later.
            EXPECT_EQ(Left(quads[0]), f < 12 ? 50.0f : 70.0f) << f;
        }
    }
    EXPECT_EQ(drawnOn, (std::vector<int>{10, 11, 12, 13, 14, 15}));
}

TEST_F(AnimTest, LayersDrawLastDeclaredFirstWithTheirKeyedProperties) {
    SylkieAnimation a;
    LoadText(a, Crlf({"<SYLKIE_ANIMATION_FILE>", "#COMPOSITION c 1 1 4 60", "#LAYER 1 1 9 5 3 Image Normal",
                      "#IMAGE 1 sozai3.png", "#POSITION 1 100.5 200 -3", "#SCALE 2 200 50 100", "#ROTATION 2 0 0 90",
                      "#LAYER 2 1 1280 720 3 PlaneLayer Add", "#IMAGE 1 0x204060", "#ALPHA 1 50"}));
    ASSERT_EQ(a.Play("c"), S_OK_RESULT);
    auto quads = Step(a);
    ASSERT_EQ(quads.size(), 2u);
    // The plane (declared second) first: untextured, additive, its colour at half opacity.
    EXPECT_EQ(quads[0].texture, 0u);
    EXPECT_EQ(quads[0].blend, 2);
    EXPECT_EQ(quads[0].argb, 0x7F204060u);
    EXPECT_EQ(quads[0].v[3].x + 0.5f, 1280.0f);
    EXPECT_EQ(quads[0].v[3].y + 0.5f, 720.0f);
    // The picture on top; its centre key minus the integer half size (9 / 2 = 4, 5 / 2 = 2).
    EXPECT_NE(quads[1].texture, 0u);
    EXPECT_EQ(quads[1].blend, 1);
    EXPECT_FLOAT_EQ(Left(quads[1]), 96.5f);
    EXPECT_FLOAT_EQ(Top(quads[1]), 198.0f);
    EXPECT_FLOAT_EQ(quads[1].v[0].z, -3.0f);
    EXPECT_FLOAT_EQ(quads[1].v[1].x - quads[1].v[0].x, 32.0f);  // the picture's own width
    const Image& s = a.Current()->layers[0].sprite;
    EXPECT_FALSE(s.scaleEnabled);
    Step(a);
    EXPECT_TRUE(s.scaleEnabled);
    EXPECT_FLOAT_EQ(s.scale.x, 2.0f);
    EXPECT_FLOAT_EQ(s.scale.y, 0.5f);
    EXPECT_TRUE(s.rotationEnabled);
    EXPECT_FLOAT_EQ(s.rotation.z, 90.0f);
}

TEST_F(AnimTest, HostOpacityScalesRunningAlphaTracksOnly) {
    SylkieAnimation a;
    LoadText(a, Crlf({"<SYLKIE_ANIMATION_FILE>", "#COMPOSITION c 1 1 10 60",
                      "#LAYER 1 1 8 8 9 Image Normal", "#IMAGE 1 a.png", "#ALPHA 1 80", "#ALPHA 4 40",
                      "#LAYER 2 1 8 8 9 Image Normal", "#IMAGE 1 b.png",
                      "#LAYER 3 1 8 8 9 Image Normal", "#IMAGE 1 a.png", "#ALPHA 1 60"}));
    a.alpha = 0.5f;
    ASSERT_EQ(a.Play("c"), S_OK_RESULT);
    const AnimComposition& c = *a.Current();
    Step(a);  // frame 0: every alpha track applies its first key
    EXPECT_FLOAT_EQ(c.layers[0].sprite.alpha, 0.4f);
    EXPECT_FLOAT_EQ(c.layers[1].sprite.alpha, 1.0f);  // no alpha keys: the sprite's own opacity
    EXPECT_FLOAT_EQ(c.layers[2].sprite.alpha, 0.3f);
    a.alpha = 1.0f;
    Step(a);  // frame 1: layer 1 holds its first key at the new host opacity
    EXPECT_FLOAT_EQ(c.layers[0].sprite.alpha, 0.8f);
    EXPECT_FLOAT_EQ(c.layers[2].sprite.alpha, 0.3f);  // its track has finished: left alone
    Step(a);
    a.alpha = 0.25f;
    Step(a);  // frame 3: the last key of layer 1
    EXPECT_FLOAT_EQ(c.layers[0].sprite.alpha, 0.1f);
    a.alpha = 1.0f;
    Step(a);
    EXPECT_FLOAT_EQ(c.layers[0].sprite.alpha, 0.1f);
    EXPECT_FLOAT_EQ(c.layers[1].sprite.alpha, 1.0f);
}

TEST_F(AnimTest, PlayRestartsButSpritesKeepTheirValues) {
    SylkieAnimation a;
    LoadText(a, Crlf({"<SYLKIE_ANIMATION_FILE>", "#COMPOSITION c 1 1 6 60", "#MARKER 1 SOUND se_decide.wav",
                      "#LAYER 1 1 8 8 5 Image Normal", "#IMAGE 1 a.png", "#POSITION 1 14 4 0",
                      "#POSITION 3 34 4 0", "#COMPOSITION other 1 1 2 60"}));
    ASSERT_EQ(a.Play("c"), S_OK_RESULT);
    for (int i = 0; i < 4; ++i) Step(a);
    EXPECT_TRUE(Played("se_decide.wav"));
    ASSERT_EQ(a.Play("c"), S_OK_RESULT);
    ASSERT_EQ(a.Play("c"), S_OK_RESULT);
    EXPECT_EQ(a.Current()->frame, 0);
    // Frame 0 again: its key moves the sprite back; the sound plays again.
    auto quads = Step(a);
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(Left(quads[0]), 10.0f);
    EXPECT_TRUE(Played("se_decide.wav"));
    Step(a);
    Step(a);
    EXPECT_EQ(a.Current()->layers[0].sprite.position.x, 30.0f);

    // A restart where frame 0 has no position key shows the last value until the key comes.
    SylkieAnimation b;
    LoadText(b, Crlf({"<SYLKIE_ANIMATION_FILE>", "#COMPOSITION c 1 1 4 60", "#LAYER 1 1 8 8 3 Image Normal",
                      "#IMAGE 1 a.png", "#POSITION 3 34 4 0"}));
    ASSERT_EQ(b.Play("c"), S_OK_RESULT);
    for (int i = 0; i < 4; ++i) Step(b);
    EXPECT_FALSE(b.playing);
    ASSERT_EQ(b.Play("c"), S_OK_RESULT);
    quads = Step(b);
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(Left(quads[0]), 30.0f);

    // An unknown name leaves nothing current and nothing drawn; the flag keeps its value.
    EXPECT_EQ(b.Play("missing"), E_FAIL_RESULT);
    EXPECT_TRUE(b.playing);
    EXPECT_EQ(b.Current(), nullptr);
    EXPECT_TRUE(Step(b).empty());
    // Switching compositions and stopping by the flag.
    ASSERT_EQ(a.Play("other"), S_OK_RESULT);
    EXPECT_TRUE(Step(a).empty());  // no layers
    a.playing = false;
    EXPECT_EQ(a.Current()->frame, 1);
    ASSERT_EQ(a.Play("c"), S_OK_RESULT);
    EXPECT_EQ(Step(a).size(), 1u);
    // Reading the file again drops what was playing.
    LoadText(a, Counter(2));
    EXPECT_EQ(a.Current(), nullptr);
    EXPECT_FALSE(a.playing);  // the header line cleared it
}

TEST_F(AnimTest, OutOfOrderKeysBlockTheirTrack) {
    SylkieAnimation a;
    LoadText(a, Crlf({"<SYLKIE_ANIMATION_FILE>", "#COMPOSITION c 1 1 8 60", "#LAYER 1 1 8 8 7 Image Normal",
                      "#IMAGE 1 a.png", "#POSITION 4 14 4 0", "#POSITION 2 24 4 0", "#POSITION 6 34 4 0",
                      "#ALPHA 1 100"}));
    ASSERT_EQ(a.Play("c"), S_OK_RESULT);
    std::vector<float> xs;
    for (int i = 0; i < 8; ++i) {
        const auto q = Step(a);
        ASSERT_EQ(q.size(), 1u);
        xs.push_back(Left(q[0]));
    }
    EXPECT_EQ(xs, (std::vector<float>{0, 0, 0, 10, 10, 10, 10, 10}));
}

TEST_F(AnimTest, DegenerateLengthsAndLoopFramesEnd) {
    // A length of 0 finishes after one step instead of counting on for ever.
    SylkieAnimation a;
    LoadText(a, Crlf({"<SYLKIE_ANIMATION_FILE>", "#COMPOSITION zero 1 1 0 60", "#COMPOSITION neg 1 1 -5 60",
                      "#COMPOSITION far 1 1 3 60", "#MARKER 10 LOOP", "#COMPOSITION before 1 1 3 60",
                      "#MARKER 0 LOOP", "#MARKER -2147483648 SHAKE 1 1 1"}));
    for (const char* name : {"zero", "neg"}) {
        ASSERT_EQ(a.Play(name), S_OK_RESULT);
        Step(a);
        EXPECT_FALSE(a.playing) << name;
    }
    // Loop frames outside the timeline keep playing without running away.
    for (const char* name : {"far", "before"}) {
        ASSERT_EQ(a.Play(name), S_OK_RESULT);
        for (int i = 0; i < 50; ++i) Step(a);
        EXPECT_TRUE(a.playing) << name;
        EXPECT_GE(a.Current()->frame, -1) << name;
        EXPECT_LE(a.Current()->frame, 9) << name;
    }
}

TEST_F(AnimTest, OwnChildrenAreDrawnAtTheOriginOnlyWhilePlaying) {
    SylkieAnimation a;
    LoadText(a, Counter(2));
    a.position = {300.0f, 200.0f, 0.0f};
    Image child;
    child.loadTexture("a.png", true);
    child.position = {20.0f, 30.0f, 0.0f};
    a.addChild(&child);
    // Drawn as part of a tree: once, at its own position (the widget's position is not added).
    auto tree = [&] {
        headless->ClearQuads();
        drawTree(&a, 5.0f, 5.0f, 0.0f);
        std::vector<platform::Quad> out;
        for (const auto& q : headless->Quads()) out.push_back(q.quad);
        return out;
    };
    EXPECT_TRUE(tree().empty());  // not playing: neither layers nor children
    ASSERT_EQ(a.Play("c"), S_OK_RESULT);
    for (int f = 0; f < 2; ++f) {
        const std::vector<platform::Quad> quads = tree();
        ASSERT_EQ(quads.size(), 2u) << f;  // the layer, then the child
        EXPECT_EQ(Left(quads[0]), 100.0f + f);
        EXPECT_EQ(Left(quads[1]), 20.0f);
        EXPECT_EQ(Top(quads[1]), 30.0f);
    }
    EXPECT_FALSE(a.playing);
    EXPECT_TRUE(tree().empty());  // finished: the child goes with it
}

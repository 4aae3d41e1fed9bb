#include <cfloat>

#include "anim_fixture.h"
#include "animation/anim_text.h"
#include "core/result.h"

using animtest::AnimTest;
using animtest::Crlf;

namespace {

const std::string kExample = Crlf({
    "<SYLKIE_ANIMATION_FILE>",
    "#COMPOSITION \"menu_bg_02\" 1280 720 120 30",
    "#MARKER 1 SOUND \"se_decide.wav\"",
    "#MARKER 40 appear",
    "#MARKER 50 SHAKE 8 4 20",
    "#MARKER 61 LOOP",
    "#LAYER 1 1 640 360 119 Image Normal",
    "#IMAGE 1 \"sozai3.png\"",
    "#POSITION 1 640.0 360.0 0.0",
    "#SCALE 1 100.0 100.0 100.0",
    "#ROTATION 1 0.0 0.0 0.0",
    "#ALPHA 1 0.0",
    "#ALPHA 2 10.0",
    "#LAYER 2 1 1280 720 119 PlaneLayer Add",
    "#IMAGE 1 0x202040",
    "#ALPHA 1 50.0",
});

void ExpectExample(const SylkieAnimation& a) {
    ASSERT_EQ(a.CompositionCount(), 1u);
    const AnimComposition* c = a.Find("menu_bg_02");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->width, 1280);
    EXPECT_EQ(c->height, 720);
    EXPECT_EQ(c->length, 120);
    EXPECT_EQ(c->frameRate, 30);
    EXPECT_EQ(c->frameStep, 2);
    EXPECT_TRUE(c->loopEnabled);
    EXPECT_EQ(c->loopFrame, 60);
    EXPECT_EQ(c->sounds, (std::unordered_map<int32_t, std::string>{{0, "se_decide.wav"}}));
    EXPECT_EQ(c->labels, (std::unordered_map<int32_t, std::string>{{39, "appear"}}));
    ASSERT_EQ(c->shakes.size(), 1u);
    EXPECT_EQ(c->shakes[0].frame, 49);
    EXPECT_EQ(c->shakes[0].x, 8.0f);
    EXPECT_EQ(c->shakes[0].y, 4.0f);
    EXPECT_EQ(c->shakes[0].time, 20.0f);
    ASSERT_EQ(c->layers.size(), 2u);

    const AnimLayer& s = c->layers[0];
    EXPECT_EQ(s.id, 1);
    EXPECT_EQ(s.start, 0);
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 360);
    EXPECT_EQ(s.duration, 119);
    EXPECT_EQ(s.type, AnimLayer::kTypeImage);
    EXPECT_EQ(s.blend, AnimLayer::kBlendNormal);
    ASSERT_EQ(s.imageKeys.size(), 1u);
    EXPECT_EQ(s.imageKeys[0].frame, 0);
    EXPECT_EQ(s.imageKeys[0].text, "sozai3.png");
    ASSERT_EQ(s.positionKeys.size(), 1u);
    EXPECT_EQ(s.positionKeys[0].x, 640.0f);
    EXPECT_EQ(s.positionKeys[0].y, 360.0f);
    ASSERT_EQ(s.scaleKeys.size(), 1u);
    EXPECT_EQ(s.scaleKeys[0].z, 100.0f);
    ASSERT_EQ(s.rotationKeys.size(), 1u);
    ASSERT_EQ(s.alphaKeys.size(), 2u);
    EXPECT_EQ(s.alphaKeys[0].frame, 0);
    EXPECT_EQ(s.alphaKeys[0].value, 0.0f);
    EXPECT_EQ(s.alphaKeys[1].frame, 1);
    EXPECT_EQ(s.alphaKeys[1].value, 10.0f);
    EXPECT_FALSE(s.sprite.visible);  // shown only when its image key plays

    const AnimLayer& p = c->layers[1];
    EXPECT_EQ(p.id, 2);
    EXPECT_EQ(p.type, AnimLayer::kTypePlane);
    EXPECT_EQ(p.blend, AnimLayer::kBlendAdd);
    ASSERT_EQ(p.imageKeys.size(), 1u);
    EXPECT_EQ(p.imageKeys[0].text, "0x202040");
    EXPECT_TRUE(p.sprite.useSourceRect);
    EXPECT_EQ(p.sprite.sourceRect.right, 1280);
    EXPECT_EQ(p.sprite.sourceRect.bottom, 720);
    EXPECT_FLOAT_EQ(p.sprite.red, 32.0f / 255.0f);
    EXPECT_FLOAT_EQ(p.sprite.green, 32.0f / 255.0f);
    EXPECT_FLOAT_EQ(p.sprite.blue, 64.0f / 255.0f);
    EXPECT_EQ(p.sprite.blendMode, 2);
    ASSERT_EQ(p.alphaKeys.size(), 1u);
    EXPECT_EQ(p.alphaKeys[0].value, 50.0f);
    EXPECT_EQ(a.Current(), nullptr);
}

std::string WithLf(std::string s) {
    std::string out;
    for (char ch : s) {
        if (ch != '\r') out += ch;
    }
    return out;
}

}  // namespace

TEST_F(AnimTest, ExampleFileGivesTheDescribedComposition) {
    SylkieAnimation a;
    LoadText(a, kExample);
    ExpectExample(a);
    // Pictures are requested while reading: the picture is cached, the colour text is cached as
    // a missing texture.
    const DxGraphic::CacheEntry* pic = DxGraphic::Instance().FindTexture("sozai3.png");
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->width, 32);
    EXPECT_NE(pic->texture, 0u);
    const DxGraphic::CacheEntry* colour = DxGraphic::Instance().FindTexture("0x202040");
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(colour->texture, 0u);

    // The same text with LF line endings, or without the final line ending, reads the same.
    SylkieAnimation lf;
    LoadText(lf, WithLf(kExample));
    ExpectExample(lf);
    SylkieAnimation open;
    LoadText(open, kExample.substr(0, kExample.size() - 2));
    ExpectExample(open);
}

TEST_F(AnimTest, LoadReadsTheScrambledArchiveAndReportsMissingFiles) {
    animtest::SetArchive(ArchiveId::Animations, {{"pad.bca", animtest::Bytes(70000, 'x')},
                                                 {"stand_bg.bca", animtest::ToBytes(kExample)},
                                                 {"garbage.bca", animtest::ToBytes("<SYLKIE_ANIMATION_FILE>\r\n\x01\xfe#C")}});
    SylkieAnimation a;
    ASSERT_EQ(a.Load("Stand_BG.bca"), S_OK_RESULT);
    ExpectExample(a);
    ASSERT_EQ(a.Play("menu_bg_02"), S_OK_RESULT);

    debugLines.clear();
    EXPECT_EQ(a.Load("missing.bca"), E_FAIL_RESULT);
    EXPECT_EQ(a.CompositionCount(), 0u);
    EXPECT_EQ(a.Current(), nullptr);
    ASSERT_EQ(debugLines.size(), 1u);
    EXPECT_EQ(debugLines[0], "SylkieAnimation : 読込失敗");  // the sink receives UTF-8

    // A file that yields nothing loads (as the format has it) but says so.
    debugLines.clear();
    EXPECT_EQ(a.Load("garbage.bca"), S_OK_RESULT);
    EXPECT_EQ(a.CompositionCount(), 0u);
    ASSERT_EQ(debugLines.size(), 1u);
    EXPECT_EQ(debugLines[0], "SylkieAnimation : コンポジションがありません garbage.bca");
}

TEST_F(AnimTest, HeaderRecognisedOnlyAtTheStartOfALine) {
    SylkieAnimation a;
    LoadText(a, Crlf({"<SYLKIE_ANIMATION_FILE> version 2 // comment", "#COMPOSITION c 1 1 10 60"}));
    EXPECT_TRUE(a.HeaderSeen());
    EXPECT_NE(a.Find("c"), nullptr);

    // After spaces the header is not seen, and nothing after it counts; still a success.
    SylkieAnimation b;
    const std::string text = Crlf({"  <SYLKIE_ANIMATION_FILE>", "#COMPOSITION c 1 1 10 60", "#LAYER 1 1 1 1 1 Image Normal"});
    EXPECT_EQ(b.LoadFromMemory(reinterpret_cast<const uint8_t*>(text.data()), text.size()), S_OK_RESULT);
    EXPECT_FALSE(b.HeaderSeen());
    EXPECT_EQ(b.CompositionCount(), 0u);

    // Lines before the header are ignored; a second header drops what came before it.
    SylkieAnimation c;
    LoadText(c, Crlf({"#COMPOSITION early 1 1 10 60", "<SYLKIE_ANIMATION_FILE>", "#COMPOSITION first 1 1 10 60",
                      "<SYLKIE_ANIMATION_FILE>", "#LAYER 1 1 1 1 1 Image Normal", "#COMPOSITION second 1 1 10 60"}));
    EXPECT_EQ(c.CompositionNames(), std::vector<std::string>{"second"});
    EXPECT_TRUE(c.Find("second")->layers.empty());  // the layer line had no composition to join
}

TEST_F(AnimTest, KeywordAndNameCaseRules) {
    SylkieAnimation a;
    LoadText(a, Crlf({
                    "<SYLKIE_ANIMATION_FILE>",
                    "#composition lower 1 1 10 60",  // keywords are case-sensitive
                    "#COMPOSITION c 1 1 10 60",
                    "#MARKER 3 lOoP",
                    "#MARKER 1 sound a.wav",
                    "#MARKER 2 Shake 1 2 3",
                    "#MARKER 4 Appear",
                    "#LAYER 1 1 10 10 5 image add",        // neither recognised
                    "#IMAGE 1 0x0000FF",
                    "#LAYER 2 1 10 10 5 PlaneLayer Add",
                    "#IMAGE 1 0x0000FF",
                    "#LAYER 3 1 10 10 5 Sprite Multiply",  // unknown words
                    "#LAYERS 4 1 10 10 5 Image Normal",
                    "#POSITIONX 1 5 5 5",
                }));
    EXPECT_EQ(a.Find("lower"), nullptr);
    const AnimComposition* c = a.Find("c");
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->loopEnabled);
    EXPECT_EQ(c->loopFrame, 2);
    EXPECT_EQ(c->sounds.at(0), "a.wav");
    ASSERT_EQ(c->shakes.size(), 1u);
    EXPECT_EQ(c->labels.at(3), "Appear");
    ASSERT_EQ(c->layers.size(), 3u);
    // Unrecognised types and blends fall back to a textured sprite with normal blending.
    EXPECT_EQ(c->layers[0].type, AnimLayer::kTypeImage);
    EXPECT_EQ(c->layers[0].blend, AnimLayer::kBlendNormal);
    EXPECT_FALSE(c->layers[0].sprite.useSourceRect);
    EXPECT_EQ(c->layers[0].sprite.blue, 1.0f);
    EXPECT_EQ(c->layers[1].type, AnimLayer::kTypePlane);
    EXPECT_EQ(c->layers[1].blend, AnimLayer::kBlendAdd);
    EXPECT_EQ(c->layers[1].sprite.red, 0.0f);
    EXPECT_EQ(c->layers[2].type, AnimLayer::kTypeImage);
    EXPECT_EQ(c->layers[2].blend, AnimLayer::kBlendNormal);
    EXPECT_TRUE(c->layers[2].positionKeys.empty());
}

TEST_F(AnimTest, FieldReaderQuotesAndMissingFields) {
    SylkieAnimation a;
    LoadText(a, Crlf({
                    "<SYLKIE_ANIMATION_FILE>",
                    "   #COMPOSITION   \"a b\" 640  480 90 60",
                    "#COMPOSITION \"open quote 1 2 3 4",
                    "#COMPOSITION short 5",
                    "#COMPOSITION tab\t1 2 3 4 5",
                }));
    const AnimComposition* ab = a.Find("a b");
    ASSERT_NE(ab, nullptr);
    EXPECT_EQ(ab->width, 640);  // runs of spaces separate like one
    EXPECT_EQ(ab->height, 480);
    EXPECT_EQ(ab->length, 90);
    // An unterminated quote takes the rest of the line; the numbers after it read as 0.
    const AnimComposition* open = a.Find("open quote 1 2 3 4");
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->width, 0);
    EXPECT_EQ(open->length, 0);
    const AnimComposition* shortLine = a.Find("short");
    ASSERT_NE(shortLine, nullptr);
    EXPECT_EQ(shortLine->width, 5);
    EXPECT_EQ(shortLine->height, 0);
    EXPECT_EQ(shortLine->frameStep, 0);  // frame rate 0: no step, no division
    // Tabs do not separate fields.
    const AnimComposition* tab = a.Find("tab\t1");
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->width, 2);
}

TEST(AnimText, NumberConversions) {
    using anim::ToFloat;
    using anim::ToInt;
    using anim::ToIntAutoBase;
    EXPECT_EQ(ToInt("12ab"), 12);
    EXPECT_EQ(ToInt("2.5"), 2);
    EXPECT_EQ(ToInt(""), 0);
    EXPECT_EQ(ToInt("x1"), 0);
    EXPECT_EQ(ToInt("-7"), -7);
    EXPECT_EQ(ToInt("+7"), 7);
    EXPECT_EQ(ToInt("\t9"), 9);
    EXPECT_EQ(ToInt("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(ToInt("-99999999999999999999"), INT32_MIN);
    EXPECT_EQ(ToInt("-2147483648"), INT32_MIN);

    EXPECT_EQ(ToIntAutoBase("0x202040"), 0x202040);
    EXPECT_EQ(ToIntAutoBase("0XfF"), 255);
    EXPECT_EQ(ToIntAutoBase("010"), 8);
    EXPECT_EQ(ToIntAutoBase("019"), 1);  // octal stops at 9
    EXPECT_EQ(ToIntAutoBase("0x"), 0);
    EXPECT_EQ(ToIntAutoBase("255"), 255);
    EXPECT_EQ(ToIntAutoBase("0xFFFFFFFFFF"), INT32_MAX);

    EXPECT_EQ(ToFloat("640.0"), 640.0f);
    EXPECT_EQ(ToFloat("1.5e2"), 150.0f);
    EXPECT_EQ(ToFloat("-.5"), -0.5f);
    EXPECT_EQ(ToFloat("3."), 3.0f);
    EXPECT_EQ(ToFloat("2e"), 2.0f);     // an exponent without digits is not part of the number
    EXPECT_EQ(ToFloat("7.25px"), 7.25f);
    EXPECT_EQ(ToFloat(""), 0.0f);
    EXPECT_EQ(ToFloat("."), 0.0f);
    EXPECT_EQ(ToFloat("nan"), 0.0f);
    EXPECT_EQ(ToFloat("inf"), 0.0f);
    EXPECT_EQ(ToFloat("1e999"), FLT_MAX);
    EXPECT_EQ(ToFloat("-1e999"), -FLT_MAX);
    EXPECT_EQ(ToFloat("1e-999"), 0.0f);
    EXPECT_EQ(ToFloat("1e39"), FLT_MAX);
}

TEST_F(AnimTest, MarkersFirstWinsLoopOverridesShakeIsInteger) {
    SylkieAnimation a;
    LoadText(a, Crlf({
                    "<SYLKIE_ANIMATION_FILE>",
                    "#COMPOSITION c 1 1 100 60",
                    "#MARKER 5 SOUND first.wav",
                    "#MARKER 5 SOUND second.wav",
                    "#MARKER 5 hit",
                    "#MARKER 5 miss",
                    "#MARKER 10 LOOP",
                    "#MARKER 20 LOOP",
                    "#MARKER 7 SHAKE 2.5 -3 9x",
                    "#MARKER 8 SHAKE",
                }));
    const AnimComposition* c = a.Find("c");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->sounds.size(), 1u);
    EXPECT_EQ(c->sounds.at(4), "first.wav");
    EXPECT_EQ(c->labels.size(), 1u);
    EXPECT_EQ(c->labels.at(4), "hit");
    EXPECT_EQ(c->loopFrame, 19);
    ASSERT_EQ(c->shakes.size(), 2u);
    EXPECT_EQ(c->shakes[0].frame, 6);
    EXPECT_EQ(c->shakes[0].x, 2.0f);
    EXPECT_EQ(c->shakes[0].y, -3.0f);
    EXPECT_EQ(c->shakes[0].time, 9.0f);
    EXPECT_EQ(c->shakes[1].time, 0.0f);
}

TEST_F(AnimTest, DuplicateNamesMergeAndStrayLinesAreIgnored) {
    SylkieAnimation a;
    LoadText(a, Crlf({
                    "<SYLKIE_ANIMATION_FILE>",
                    "#MARKER 1 LOOP",                  // no composition yet
                    "#LAYER 1 1 1 1 1 Image Normal",
                    "#COMPOSITION a 10 10 50 30",
                    "#IMAGE 1 a.png",                  // no layer yet
                    "#ALPHA 1 50",
                    "#LAYER 1 1 8 8 49 Image Normal",
                    "#COMPOSITION b 1 1 5 60",
                    "#LAYER 1 1 8 8 4 Image Normal",
                    "#COMPOSITION a 99 99 99 99",      // back to a, its values stay
                    "#LAYER 2 1 8 8 49 Image Add",
                    "#IMAGE 1 b.png",
                    "",
                    "   ",
                    "#UNKNOWN 1 2 3",
                }));
    ASSERT_EQ(a.CompositionCount(), 2u);
    const AnimComposition* c = a.Find("a");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->width, 10);
    EXPECT_EQ(c->length, 50);
    EXPECT_EQ(c->frameStep, 2);
    EXPECT_FALSE(c->loopEnabled);
    ASSERT_EQ(c->layers.size(), 2u);
    EXPECT_TRUE(c->layers[0].imageKeys.empty());
    EXPECT_TRUE(c->layers[0].alphaKeys.empty());
    EXPECT_EQ(c->layers[1].imageKeys.at(0).text, "b.png");
    EXPECT_EQ(c->layers[1].sprite.blendMode, 2);
    EXPECT_EQ(a.Find("b")->layers.size(), 1u);
}

TEST_F(AnimTest, NulBytesEndTheirLine) {
    std::string text = Crlf({"<SYLKIE_ANIMATION_FILE>", "#COMPOSITION c 1 1 10 60", "#MARKER 2 lab"});
    text.insert(text.find("lab") + 2, std::string(1, '\0') + "el");
    text += "#MARKER 3 after";  // the last line has no line ending
    SylkieAnimation a;
    LoadText(a, text);
    const AnimComposition* c = a.Find("c");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->labels.at(1), "la");
    EXPECT_EQ(c->labels.at(2), "after");
}

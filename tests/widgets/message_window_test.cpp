#include <gtest/gtest.h>

#include <string>

#include "widget_fixture.h"
#include "widgets/message_window.h"

namespace widgettest {
namespace {

class MessageWindowTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        mw.surface.CreateCanvas("texture_name", 530, 130);
        mw.framesPerStep = 2;
        mw.fontSize = 24;
        mw.wrapWidth = 500;
        mw.shown = true;
    }
    std::string drawn() const { return canvasText("texture_name"); }
    const DxGraphic::CacheEntry& canvas() const { return *gfx().FindCanvas("texture_name"); }

    MessageWindow mw;
};

TEST_F(MessageWindowTest, TypesOneCharacterPerStepKeepingDoubleByteCharactersWhole) {
    const std::string text = "A" + SJ("あい") + "B";
    mw.setText(text.c_str());
    EXPECT_FALSE(mw.surface.visible);
    mw.step();  // frame 1 of 2: nothing yet
    EXPECT_EQ(mw.stepsDone, 0);
    EXPECT_EQ(mw.cursor, 0u);

    const std::string expected[] = {"A", SJ("あ"), SJ("い"), "B"};
    int lastPen = 0;
    for (const std::string& ch : expected) {
        mw.step();
        EXPECT_EQ(drawn(), ch);
        EXPECT_EQ(canvas().textX, lastPen);
        EXPECT_GT(mw.penX, lastPen);
        lastPen = mw.penX;
        mw.step();
    }
    EXPECT_TRUE(mw.surface.visible);
    EXPECT_EQ(mw.stepsDone, 4);
    EXPECT_EQ(mw.cursor, text.size());
    EXPECT_TRUE(mw.finished());
    EXPECT_EQ(mw.penY, 0);
    for (int i = 0; i < 4; ++i) mw.step();  // nothing more to type
    EXPECT_EQ(mw.stepsDone, 4);
    EXPECT_TRUE(canvasInked("texture_name"));

    // A new text starts over on a cleared canvas.
    mw.setText("Z");
    EXPECT_EQ(mw.penX, 0);
    EXPECT_FALSE(canvasInked("texture_name"));
}

TEST_F(MessageWindowTest, LineFeedAndWrapStartNewLinesFontSizePlusFiveLower) {
    mw.framesPerStep = 1;
    mw.setText("AB\nC");
    mw.step();
    mw.step();
    const int afterAB = mw.penX;
    EXPECT_GT(afterAB, 0);
    mw.step();  // the line feed itself
    EXPECT_EQ(mw.penX, 0);
    EXPECT_EQ(mw.penY, 29);
    mw.step();
    EXPECT_EQ(drawn(), "C");
    EXPECT_EQ(canvas().textX, 0);
    EXPECT_EQ(canvas().textY, 29);

    // Wrap: a character goes to the next line once the pen plus one size would pass the width.
    const std::string text = SJ("あいうえお");
    mw.setText(text.c_str());
    mw.step();
    const int advance = mw.penX;  // of one full-width glyph
    ASSERT_GT(advance, 0);
    mw.wrapWidth = 2 * advance + mw.fontSize - 1;  // room for two glyphs on a line
    mw.setText(text.c_str());
    std::vector<std::pair<int, int>> at;
    for (int i = 0; i < 5; ++i) {
        mw.step();
        at.emplace_back(canvas().textX, canvas().textY);
    }
    EXPECT_EQ(at[0], std::make_pair(0, 0));
    EXPECT_EQ(at[1], std::make_pair(advance, 0));
    EXPECT_EQ(at[2], std::make_pair(0, 29));
    EXPECT_EQ(at[3], std::make_pair(advance, 29));
    EXPECT_EQ(at[4], std::make_pair(0, 58));
}

TEST_F(MessageWindowTest, InstantRendersTheWholeTextInOneStepWithOneWrapTest) {
    mw.instant = true;
    mw.framesPerStep = 30;  // not waited for
    const std::string text = SJ("一行目") + "\n" + SJ("二行目");
    mw.setText(text.c_str());
    mw.step();
    EXPECT_EQ(drawn(), text);
    EXPECT_EQ(canvas().textY, 0);  // the line feed inside is the text renderer's business
    EXPECT_EQ(mw.stepsDone, 1);
    EXPECT_TRUE(mw.finished());
    mw.step();
    EXPECT_EQ(mw.stepsDone, 1);

    const std::string fed = "\n" + SJ("あ");
    mw.setText(fed.c_str());
    mw.step();
    EXPECT_EQ(canvas().textY, 29);
    mw.wrapWidth = 10;  // narrower than one glyph: wraps once, not per character
    mw.setText(text.c_str());
    mw.step();
    EXPECT_EQ(canvas().textY, 29);
}

TEST_F(MessageWindowTest, FinalLoneLeadByteIsCutOff) {
    const std::string text = "AB" + SJ("あ") + "\x82";
    mw.setText(text.c_str());
    EXPECT_EQ(mw.text, "AB" + SJ("あ"));
    EXPECT_TRUE(logged("MessageWindow"));
    mw.framesPerStep = 1;
    for (int i = 0; i < 6; ++i) mw.step();
    EXPECT_EQ(mw.stepsDone, 3);
    EXPECT_EQ(drawn(), SJ("あ"));

    mw.setText("\x82");
    mw.instant = true;
    mw.step();
    EXPECT_EQ(mw.stepsDone, 0);
    mw.setText(nullptr);
    mw.step();
    EXPECT_EQ(mw.stepsDone, 0);
}

TEST_F(MessageWindowTest, LongInstantTextIsTruncatedAtACharacterBoundary) {
    mw.instant = true;
    // 1501 bytes: the character at bytes 999..1000 would pass the 999-byte collection limit.
    std::string text = "A";
    for (int i = 0; i < 750; ++i) text += SJ("あ");
    mw.setText(text.c_str());
    mw.step();
    EXPECT_EQ(drawn(), text.substr(0, 999));
    EXPECT_TRUE(logged("MessageWindow"));
    EXPECT_TRUE(mw.finished());
    mw.step();  // the rest is dropped, not rendered again every frame
    EXPECT_EQ(mw.stepsDone, 1);

    debugLines.clear();
    std::string exact(999, 'x');
    mw.setText(exact.c_str());
    mw.step();
    EXPECT_EQ(drawn(), exact);
    EXPECT_FALSE(logged("MessageWindow"));
    std::string over(1000, 'y');
    mw.setText(over.c_str());
    mw.step();
    EXPECT_EQ(drawn(), over.substr(0, 999));
}

}  // namespace
}  // namespace widgettest

namespace widgettest {
namespace {

TEST_F(MessageWindowTest, FinishTypesTheRestAtOnceAndKeepsTypingMode) {
    const std::string text = SJ("あいうえお");
    mw.setText(text.c_str());
    mw.step();
    mw.step();  // "あ" typed
    EXPECT_FALSE(mw.finished());
    mw.finish();
    EXPECT_TRUE(mw.finished());
    EXPECT_EQ(drawn(), text);  // redrawn whole from the start
    EXPECT_FALSE(mw.instant);
    const int pen = mw.penX;
    mw.finish();  // nothing left: nothing changes
    EXPECT_EQ(mw.penX, pen);
    // The next message types one character per step again.
    mw.setText(SJ("かき").c_str());
    mw.step();
    mw.step();
    EXPECT_EQ(drawn(), SJ("か"));
}

}  // namespace
}  // namespace widgettest

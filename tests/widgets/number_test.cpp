#include <gtest/gtest.h>

#include <climits>

#include "widget_fixture.h"
#include "widgets/button.h"
#include "widgets/gauge.h"
#include "widgets/number.h"

namespace widgettest {
namespace {

using NumberTest = WidgetTest;

int VisibleDigits(const Number& n) {
    int count = 0;
    for (const Image& d : n.digits) count += d.visible ? 1 : 0;
    return count;
}

// The digit a sprite shows, read back from its source rectangle.
int DigitOf(const Number& n, int i) {
    return (n.digits[static_cast<size_t>(i)].sourceRect.left - n.atlasLeft) / n.digitWidth;
}

// The value the visible digits spell.
int Spelled(const Number& n) {
    int v = 0;
    for (int i = 0; i < n.digitCount; ++i) {
        if (n.digits[static_cast<size_t>(i)].visible) v = v * 10 + DigitOf(n, i);
    }
    return v;
}

TEST_F(NumberTest, DigitsLeadingZerosAndStrip) {
    Number n;
    n.init(28, 46, 23, 6, 118, 610, false);
    n.setPosition(136, 574);
    ASSERT_EQ(n.digits.size(), 6u);
    EXPECT_EQ(VisibleDigits(n), 1);  // 0 shows one "0", in the rightmost place
    EXPECT_TRUE(n.digits[5].visible);
    EXPECT_EQ(DigitOf(n, 5), 0);

    n.setDisplay(1000);
    EXPECT_EQ(VisibleDigits(n), 4);
    EXPECT_FALSE(n.digits[1].visible);
    EXPECT_EQ(Spelled(n), 1000);

    n.showLeadingZeros = true;
    n.setDisplay(42);
    EXPECT_EQ(VisibleDigits(n), 6);
    EXPECT_EQ(Spelled(n), 42);
    EXPECT_EQ(DigitOf(n, 0), 0);

    // More digits than the field holds: the lowest ones are shown.
    n.showLeadingZeros = false;
    n.setDisplay(1234567);
    EXPECT_EQ(Spelled(n), 234567);
    // No minus sign on the strip: negative values show 0; INT_MIN included.
    n.setDisplay(INT_MIN);
    EXPECT_EQ(Spelled(n), 0);
    EXPECT_EQ(VisibleDigits(n), 1);
}

TEST_F(NumberTest, CentringShiftsByHalfTheHiddenPlaces) {
    Number n;
    n.init(28, 46, 23, 6, 118, 610, true);
    n.setPosition(500, 100);
    n.setDisplay(123);
    EXPECT_FLOAT_EQ(n.digits[3].position.x, 500.0f + 3 * 23 - 34);
    EXPECT_FLOAT_EQ(n.digits[5].position.x, 500.0f + 5 * 23 - 34);
    n.setDisplay(123456);
    EXPECT_FLOAT_EQ(n.digits[0].position.x, 500.0f);
}

TEST_F(NumberTest, CountStepsInIntegersAndClamps) {
    Number n;
    n.init(28, 46, 23, 6, 118, 610, false);
    n.setDisplay(1000);
    n.value = 1000;
    n.countTo(1100, 60);
    EXPECT_EQ(n.value, 1100);
    std::vector<int> seen;
    for (int frame = 1; frame <= 61; ++frame) {
        n.draw(0, 0, 0);
        seen.push_back(n.shown);
        EXPECT_EQ(Spelled(n), n.shown);
    }
    EXPECT_EQ(seen[0], 1001);   // the first frame already moves
    EXPECT_EQ(seen[58], 1098);  // frame 59
    EXPECT_EQ(seen[59], 1100);  // frame 60 ends the count
    EXPECT_FALSE(n.counting);
    EXPECT_EQ(seen[60], 1100);

    // Counting down.
    n.countTo(0, 4);
    n.draw(0, 0, 0);
    EXPECT_EQ(n.shown, 825);
    // Bounds: the display and the target are clamped.
    n.hasMin = true;
    n.minimum = 10;
    n.hasMax = true;
    n.maximum = 300;
    n.setDisplay(3);
    EXPECT_EQ(n.shown, 10);
    n.countTo(999, 0);  // no frames: lands at once
    EXPECT_EQ(n.value, 300);
    n.draw(0, 0, 0);
    EXPECT_EQ(n.shown, 300);
    EXPECT_FALSE(n.counting);
}

TEST_F(NumberTest, GaugeBarShowsTheValueWithinItsHundred) {
    Gauge g;
    g.init();
    EXPECT_EQ(g.shown, 0);
    struct {
        int shown, width;
    } const cases[] = {{250, 75}, {99, 150}, {100, 0}, {0, 0}, {1, 1}, {299, 150}, {-20, 0}};
    for (const auto& c : cases) {
        g.setDisplay(c.shown);
        g.draw(0, 0, 0);
        EXPECT_EQ(g.bar.sourceRect.right - g.bar.sourceRect.left, c.width) << c.shown;
    }
    // The bar follows a running count.
    g.setDisplay(0);
    g.value = 0;
    g.countTo(99, 3);
    g.draw(0, 0, 0);
    EXPECT_EQ(g.bar.sourceRect.right - Gauge::kBarLeft, (33 * 150) / 99);
}

TEST_F(NumberTest, ButtonSinksOnlyWhenEnabledAndHovered) {
    Button b;
    b.visible = true;
    b.useSourceRect = true;
    b.sourceRect = Image::Rect{0, 0, 100, 40};
    b.position = DrawBase::Vec3{200.0f, 300.0f, 0.0f};
    EXPECT_TRUE(b.hitTest(250, 320));
    EXPECT_TRUE(b.hovered);
    EXPECT_FALSE(b.hitTest(300, 320));
    EXPECT_FALSE(b.hovered);

    auto topAfterDraw = [&](bool enabled, bool hovered) {
        b.enabled = enabled;
        b.hovered = hovered;
        headless->ClearQuads();
        b.draw(0, 0, 0);
        EXPECT_EQ(headless->Quads().size(), 1u);
        return headless->Quads().empty() ? -1.0f : headless->Quads().back().quad.v[0].y;
    };
    const float resting = topAfterDraw(false, false);
    EXPECT_FLOAT_EQ(topAfterDraw(false, true), resting);
    EXPECT_FLOAT_EQ(topAfterDraw(true, false), resting);
    EXPECT_FLOAT_EQ(topAfterDraw(true, true), resting + 5.0f);
}

}  // namespace
}  // namespace widgettest

namespace widgettest {
namespace {

TEST_F(NumberTest, SetValueShowsAtOnceAndLaterCountsStartFromIt) {
    Number n;
    n.init(28, 46, 23, 6, 118, 610, false);
    n.setValue(100);
    n.countTo(500, 10);
    n.draw(0, 0, 0);
    EXPECT_TRUE(n.counting);
    n.setValue(200);  // ends the running count
    EXPECT_FALSE(n.counting);
    EXPECT_EQ(n.shown, 200);
    n.draw(0, 0, 0);
    EXPECT_EQ(n.shown, 200);
    n.countTo(210, 10);
    n.draw(0, 0, 0);
    EXPECT_EQ(n.shown, 201);  // from the value set, not from the old target
    EXPECT_EQ(Spelled(n), 201);
}

}  // namespace
}  // namespace widgettest

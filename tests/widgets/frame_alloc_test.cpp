// Widgets are updated and drawn every frame: once their texts and glyphs have been seen, those
// paths must not touch the heap. Counted by replacing the global allocation functions of this
// test program; counting is switched on only around the per-frame calls.
#include <gtest/gtest.h>

#include <vector>

#include "core/random.h"
#include "count_allocations.h"
#include "widget_fixture.h"
#include "widgets/button.h"
#include "widgets/gauge.h"
#include "widgets/image_card.h"
#include "widgets/message_window.h"
#include "widgets/number.h"
#include "widgets/sp_window.h"
#include "widgets/stock.h"


namespace widgettest {
namespace {

using FrameAllocTest = WidgetTest;

TEST_F(FrameAllocTest, UpdatesAndDrawsDoNotAllocateOnceWarm) {
    Number number;
    number.init(28, 46, 23, 6, 118, 610, true);
    Gauge gauge;
    gauge.init();
    Button button;
    button.visible = true;
    button.enabled = true;
    ImageCard card;
    card.visible = true;
    MessageWindow message;
    message.surface.CreateCanvas("texture_name", 530, 130);
    message.fontSize = 20;
    message.wrapWidth = 500;
    message.framesPerStep = 1;
    message.shown = true;
    SpWindow window;
    window.open = true;
    Stock stock;
    const std::string text = SJ("カードを選んでください。\n勝負はこれからですよ？") + "ABC 123";

    long perFrame = 0;
    auto scenario = [&] {
        Random::Instance().Seed(77);
        stock.resetDeck(true);
        stock.showPeek(5);
        number.value = 0;
        number.countTo(123456, 90);
        gauge.value = 0;
        gauge.countTo(300, 90);
        message.setText(text.c_str());
        window.resetSelection();
        window.popIn();
        card.setCard(false, 3, 2);
        card.startFlip(true);
        perFrame = 0;
        for (int frame = 0; frame < 120; ++frame) {
            if (frame % 3 == 0 && frame < 60) {
                stock.drawCard();  // a card leaves the deck now and then
            }
            headless->ClearQuads();
            perFrame += testsupport::CountAllocations([&] {
                window.refresh(frame * 3);
                window.hover(670 + 56 + (frame % 2) * 280 + 10, 380 + 40 + ((frame / 8) % 4) * 30 + 10);
                message.step();
                card.update();
                button.hitTest(frame, frame);
                number.draw(0, 0, 0);
                gauge.draw(0, 0, 0);
                button.draw(0, 0, 0);
                card.draw(0, 0, 0);
                message.draw(0, 0, 0);
                window.draw(0, 0, 0);
                stock.draw(0, 0, 0);
            });
        }
    };
    // The counter sees allocations at all.
    std::vector<int>* probe = nullptr;
    EXPECT_GT(testsupport::CountAllocations([&] { probe = new std::vector<int>(100); }), 0);
    delete probe;

    scenario();  // first sight of every glyph and text
    scenario();
    EXPECT_EQ(perFrame, 0);
    // The scenario did exercise the moving parts.
    EXPECT_EQ(number.shown, 123456);
    EXPECT_TRUE(message.finished());
    EXPECT_TRUE(window.settled());
    EXPECT_EQ(stock.countLag, 0);
}

}  // namespace
}  // namespace widgettest

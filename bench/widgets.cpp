// CPU cost of the match widgets on the headless backend: one frame of the HUD widgets (gauge
// counting, number, deck display with a peeked row, ability window open, message typing), and
// the text redraw the ability window makes when the mouse moves onto another ability.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/random.h"
#include "graphics/dx_graphic.h"
#include "platform/headless/headless_platform.h"
#include "platform/text_encoding.h"
#include "widgets/gauge.h"
#include "widgets/message_window.h"
#include "widgets/number.h"
#include "widgets/sp_window.h"
#include "test_support.h"
#include "widgets/stock.h"

namespace {

platform::HeadlessPlatform* g_headless = nullptr;

void Setup() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    g_headless = testsupport::InstallHeadlessGraphics();
}

void BM_HudFrame(benchmark::State& state) {
    Setup();
    Gauge gauge;
    gauge.init();
    Number medals;
    medals.init(28, 46, 23, 6, 118, 610, false);
    SpWindow window;
    window.open = true;
    window.refresh(150);
    Stock stock;
    Random::Instance().Seed(5);
    stock.resetDeck(true);
    MessageWindow message;
    message.surface.CreateCanvas("texture_name", 530, 130);
    message.fontSize = 20;
    message.wrapWidth = 500;
    message.framesPerStep = 2;
    message.shown = true;
    const std::string text = SJ("今夜の勝負、楽しみにしていましたよ。\nさあ、カードを配りましょう。");
    int frame = 0;
    for (auto _ : state) {
        if (frame % 120 == 0) {
            gauge.countTo(frame % 240 == 0 ? 300 : 0, 60);
            medals.countTo(frame % 240 == 0 ? 5000 : 100, 60);
            if (stock.remainingCards() < 10) {
                stock.resetDeck(true);
            }
            stock.showPeek(5);
            message.setText(text.c_str());
        }
        if (frame % 30 == 0) {
            stock.drawCard();
        }
        message.step();
        gauge.draw(0, 0, 0);
        medals.draw(0, 0, 0);
        window.draw(0, 0, 0);
        stock.draw(0, 0, 0);
        message.draw(0, 0, 0);
        g_headless->ClearQuads();
        ++frame;
    }
}
BENCHMARK(BM_HudFrame);

void BM_AbilityHoverChange(benchmark::State& state) {
    Setup();
    SpWindow window;
    int i = 0;
    for (auto _ : state) {
        // Alternate between two abilities so that each call redraws the three info texts.
        window.hover(670 + 56 + 10 + (i & 1) * 280, 380 + 40 + 10);
        ++i;
    }
}
BENCHMARK(BM_AbilityHoverChange);

}  // namespace

BENCHMARK_MAIN();

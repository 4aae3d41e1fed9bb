// Cost of drawing a 100-character Japanese line into a text canvas, with and without the glyph cache.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "graphics/dx_graphic.h"
#include "graphics/glyph_font.h"
#include "platform/text_encoding.h"
#include "test_support.h"

namespace {

// 100 double-byte characters: kana, kanji and punctuation, as in a message window.
const std::string& Line() {
    static const std::string line = SJ("ようこそ、ターンウィック・オストレルの夜へ。今夜のお相手は五人の中から選んでください。"
                                       "カードを五枚配ります。交換したいカードを選んで、ドローを押してください。"
                                       "役が揃えば配当です。賭け金は最大十枚まで。");
    return line;
}

int CharacterCount(const std::string& sjis) {
    int n = 0;
    for (size_t i = 0; i < sjis.size(); ++n) i += platform::IsSjisLeadByte(static_cast<unsigned char>(sjis[i])) ? 2 : 1;
    return n;
}

graphics::GlyphFont& Setup() {
    static bool ready = [] {
        testsupport::InstallHeadlessWithRenderer();
        DxGraphic::Instance().AddFontResource();
        // The message windows' canvas: 100 characters at 24 px fill about five of its lines.
        DxGraphic::Instance().CreateCanvas("bench_text", 530, 130);
        return true;
    }();
    (void)ready;
    return *graphics::GameFont();
}

void Report(benchmark::State& state) {
    const int chars = CharacterCount(Line());
    if (chars != 100) {
        state.SkipWithError("the sample line is not 100 characters long");
    }
    state.counters["chars"] = chars;
    state.counters["per_char"] =
        benchmark::Counter(static_cast<double>(chars), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// DrawText of the whole line, every glyph rendered afresh by FreeType.
void BM_DrawTextLineUncached(benchmark::State& state) {
    graphics::GlyphFont& font = Setup();
    font.SetCacheEnabled(false);
    auto& gfx = DxGraphic::Instance();
    for (auto _ : state) {
        benchmark::DoNotOptimize(gfx.DrawText(Line(), 0, 0, static_cast<int>(state.range(0)), 0xFFFFFF, "bench_text"));
    }
    font.SetCacheEnabled(true);
    Report(state);
}
BENCHMARK(BM_DrawTextLineUncached)->Arg(24)->Arg(16)->Unit(benchmark::kMicrosecond);

// The same with every glyph already in the cache.
void BM_DrawTextLineCached(benchmark::State& state) {
    graphics::GlyphFont& font = Setup();
    font.SetCacheEnabled(true);
    auto& gfx = DxGraphic::Instance();
    gfx.DrawText(Line(), 0, 0, static_cast<int>(state.range(0)), 0xFFFFFF, "bench_text");
    for (auto _ : state) {
        benchmark::DoNotOptimize(gfx.DrawText(Line(), 0, 0, static_cast<int>(state.range(0)), 0xFFFFFF, "bench_text"));
    }
    Report(state);
}
BENCHMARK(BM_DrawTextLineCached)->Arg(24)->Arg(16)->Unit(benchmark::kMicrosecond);

// Rasterisation alone (no canvas), to separate FreeType's share from the canvas work.
void BM_RasteriseLine(benchmark::State& state) {
    graphics::GlyphFont& font = Setup();
    std::vector<uint32_t> codes;
    const std::string& s = Line();
    for (size_t i = 0; i + 1 < s.size(); i += 2) {
        codes.push_back((static_cast<unsigned char>(s[i]) << 8) | static_cast<unsigned char>(s[i + 1]));
    }
    graphics::Glyph glyph;
    for (auto _ : state) {
        for (uint32_t code : codes) {
            font.Rasterise(code, static_cast<int>(state.range(0)), glyph);
            benchmark::DoNotOptimize(glyph.gray.data());
        }
    }
    Report(state);
}
BENCHMARK(BM_RasteriseLine)->Arg(24)->Unit(benchmark::kMicrosecond);

// Clearing and uploading a message-window canvas (530 x 130), the floor under every redraw.
void BM_ClearCanvas(benchmark::State& state) {
    Setup();
    auto& gfx = DxGraphic::Instance();
    gfx.CreateCanvas("bench_clear", 530, 130);
    for (auto _ : state) {
        benchmark::DoNotOptimize(gfx.ClearCanvas("bench_clear"));
    }
}
BENCHMARK(BM_ClearCanvas)->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();

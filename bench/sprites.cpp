// CPU cost of sprite drawing on the headless backend: one DrawImage, and one frame of 300
// sprites plus 10 text canvases (frame begin, the tree walk, frame end).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "graphics/dds.h"
#include "graphics/dx_graphic.h"
#include "widgets/image_font.h"
#include "platform/headless/headless_platform.h"
#include "platform/text_encoding.h"
#include "test_support.h"
#include "widgets/image.h"

namespace {

platform::HeadlessPlatform* g_headless = nullptr;

// A card sheet of 960 x 600 (as "sozai1.png") and a 1280 x 720 background in the images archive.
void Setup() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    g_headless = testsupport::InstallHeadlessGraphics();

    auto picture = [](int w, int h) {
        std::vector<uint32_t> px(static_cast<size_t>(w) * h, 0xFF336699u);
        return dds::EncodeArgb(w, h, px.data());
    };
    testsupport::InstallArchive(ArchiveId::Images, {{"sozai1.dds", picture(960, 600)}, {"bg.dds", picture(1280, 720)}});
}

Image CardSprite(int i) {
    Image card;
    card.loadTexture("sozai1.png", true);
    card.useSourceRect = true;
    const int f = i % 53;
    card.sourceRect = {(f % 12) * 80, (f / 12) * 120, (f % 12) * 80 + 80, (f / 12) * 120 + 120};
    card.position = {static_cast<float>((i * 37) % 1200), static_cast<float>((i * 53) % 600), 0.0f};
    card.rotationEnabled = true;
    card.scaleEnabled = (i % 3) == 0;
    card.rotation.y = (i % 5) == 0 ? 30.0f : 0.0f;
    card.blendMode = (i % 10) == 0 ? 2 : 1;
    return card;
}

void BM_DrawImage(benchmark::State& state) {
    Setup();
    Image card = CardSprite(5);  // scaled? no; turned about Y
    DxGraphic& g = DxGraphic::Instance();
    int n = 0;
    for (auto _ : state) {
        g.DrawImage(card, 1.0f, 2.0f, 0.0f);
        if (++n == 4096) {
            g_headless->ClearQuads();
            n = 0;
        }
    }
    g_headless->ClearQuads();
}
BENCHMARK(BM_DrawImage);

void BM_Frame300SpritesAnd10Texts(benchmark::State& state) {
    Setup();
    DxGraphic& g = DxGraphic::Instance();
    Image background;
    background.loadTexture("bg.png", true);
    background.blendMode = 0;
    std::vector<Image> cards;
    cards.reserve(299);
    for (int i = 0; i < 299; ++i) {
        cards.push_back(CardSprite(i));
    }
    std::vector<ImageFont> texts(10);
    for (int i = 0; i < 10; ++i) {
        texts[i].CreateCanvas("bench_text_" + std::to_string(i), 530, 130);
        texts[i].DrawText(SJ("ベット ♠ 1000 メダル"), 0, 0, 24, 0xFFFFFF, true);
        texts[i].position = {20.0f, 20.0f + 60.0f * i, 0.0f};
    }
    std::vector<DrawBase*> tree;
    tree.push_back(&background);
    for (auto& c : cards) tree.push_back(&c);
    for (auto& t : texts) tree.push_back(&t);
    for (auto _ : state) {
        g.BeginFrame();
        drawAll(tree, 0.0f, 0.0f, 0.0f);
        g.EndFrame();
        g_headless->ClearQuads();
    }
    state.counters["quads_per_frame"] = static_cast<double>(tree.size());
}
BENCHMARK(BM_Frame300SpritesAnd10Texts);

}  // namespace

BENCHMARK_MAIN();

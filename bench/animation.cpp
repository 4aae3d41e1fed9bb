// Animation files: reading a 1 MB file, and the cost of one playback step per layer as the
// number of keys per track grows (it must stay flat: tracks are read through cursors).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "animation/sylkie_animation.h"
#include "graphics/dx_graphic.h"
#include "platform/debug.h"
#include "platform/headless/headless_platform.h"
#include "test_support.h"

namespace {

void Append(std::string& s, const char* format, double a = 0, double b = 0, double c = 0, double d = 0) {
    char line[160];
    const int n = std::snprintf(line, sizeof(line), format, a, b, c, d);
    if (n > 0) s.append(line, static_cast<size_t>(n));
}

// A composition of `layers` layers over `frames` frames with a key on every frame of every track
// (the image track switches between eight pictures), as smooth motion is written in this format.
std::string Composition(const std::string& name, int layers, int frames) {
    std::string s = "#COMPOSITION \"" + name + "\" 1280 720 " + std::to_string(frames) + " 60\r\n";
    s += "#MARKER 1 LOOP\r\n#MARKER 10 appear\r\n#MARKER 20 SOUND \"se_none.wav\"\r\n";
    for (int l = 0; l < layers; ++l) {
        s += "#LAYER " + std::to_string(l + 1) + " 1 256 256 " + std::to_string(frames) + " Image Normal\r\n";
        for (int f = 1; f <= frames; ++f) {
            s += "#IMAGE " + std::to_string(f) + " \"eff_" + std::to_string(f % 8) + ".png\"\r\n";
        }
        for (int f = 1; f <= frames; ++f) Append(s, "#POSITION %.0f %.1f %.1f 0.0\r\n", f, 640.0 + f * 0.5, 360.0 - l);
        for (int f = 1; f <= frames; ++f) Append(s, "#SCALE %.0f %.1f %.1f 100.0\r\n", f, 100.0 + f % 50, 100.0 + f % 50);
        for (int f = 1; f <= frames; ++f) Append(s, "#ROTATION %.0f 0.0 0.0 %.2f\r\n", f, f * 1.25);
        for (int f = 1; f <= frames; ++f) Append(s, "#ALPHA %.0f %.1f\r\n", f, static_cast<double>(f % 101));
    }
    return s;
}

struct Headless {
    Headless() {
        platform::SetDebugSink([](const std::string&) {});
        headless = testsupport::InstallHeadless();
        DxGraphic::Instance().Init("bench", 1280, 720, true);
    }
    ~Headless() {
        DxGraphic::Instance().ReleaseAllTextures();
        DxGraphic::Instance().Shutdown();
        platform::SetDebugSink({});
    }
    platform::HeadlessPlatform* headless = nullptr;
};

void BM_ReadOneMegabyteFile(benchmark::State& state) {
    Headless h;
    std::string text = "<SYLKIE_ANIMATION_FILE>\r\n";
    for (int i = 0; text.size() < 1000000; ++i) {
        text += Composition("comp_" + std::to_string(i), 4, 240);
    }
    SylkieAnimation a;
    for (auto _ : state) {
        a.LoadFromMemory(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        benchmark::DoNotOptimize(a.CompositionCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["file_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ReadOneMegabyteFile)->Unit(benchmark::kMillisecond);

// One draw of an 8-layer composition (every layer applies five keys and draws its quad); the
// time per layer is reported as items. The argument is the number of keys per track.
void BM_StepPerLayer(benchmark::State& state) {
    Headless h;
    const int frames = static_cast<int>(state.range(0));
    constexpr int kLayers = 8;
    const std::string text = "<SYLKIE_ANIMATION_FILE>\r\n" + Composition("c", kLayers, frames);
    SylkieAnimation a;
    a.LoadFromMemory(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    a.Play("c");
    for (auto _ : state) {
        a.draw(0.0f, 0.0f, 0.0f);
        h.headless->ClearQuads();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kLayers);
}
BENCHMARK(BM_StepPerLayer)->Arg(16)->Arg(256)->Arg(4096)->Arg(32768);

}  // namespace

BENCHMARK_MAIN();

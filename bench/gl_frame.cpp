// Frames per second of a busy frame through the real SDL2 + OpenGL platform at 1280x720: a
// full-screen background, 300 cards of 80x120 (atlas rectangles, some scaled, some turned about Y,
// every tenth additive) and 10 text canvases, drawn with DxGraphic and presented. Run under
// xvfb-run; without a display it stops with an error.
//
// Each scene is compared with the same pixels drawn without per-sprite overhead: the quads the
// scene submitted are recorded, their textures copied into one 2048x2048 atlas (each with a ring
// of texels that filters as its own texture's edge did), and the recording is replayed with the
// coordinates moved into the atlas, which the renderer draws in one batch (two draw calls: the
// opaque background without blending, then the rest). The replay is checked to give the same
// pixels (within one step). "ratio" is batched fps / scene fps: what sprite-by-sprite drawing
// costs.
//
// Scenes: "one_sheet" takes every card from one card sheet (the usual case); "two_sheets"
// alternates between two sheets card by card, so the texture changes about 300 times a frame.
// "per_quad" replays the batch alternating between two copies of the atlas: the same pixels with
// one draw call per quad, the worst case. "one_sheet_bg_blended" draws the opaque background at
// vertex alpha 254, which must be blended: the difference to "one_sheet" is what drawing it
// without blending saves. "light" is the background with the first 30 cards and 4 texts, a
// scene of everyday weight, with the background opaque and at alpha 254.
//
// The variants run interleaved in rounds and each figure is the median over the rounds, so load
// from other processes affects them alike. Frames per round: TARNWICK_GL_FRAMES (default 40).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "archive/archive.h"
#include "graphics/dds.h"
#include "graphics/dx_graphic.h"
#include "widgets/image_font.h"
#include "platform/debug.h"
#include "platform/platform.h"
#include "platform/text_encoding.h"
#include "test_support.h"
#include "widgets/image.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kCards = 300;
constexpr int kTexts = 10;
constexpr int kAtlas = 2048;
// A scene of everyday weight: the background, a hand's worth of cards on the table, a few texts.
constexpr size_t kLightCards = 30;
constexpr size_t kLightTexts = 4;

// ---- The real platform with a recorder of the quads drawn ------------------------------------

class RecordingPlatform final : public platform::Platform {
public:
    explicit RecordingPlatform(std::unique_ptr<platform::Platform> real) : real_(std::move(real)) {}

    void Record(std::vector<platform::Quad>* into) { record_ = into; }

    uint64_t PerformanceCounter() override { return real_->PerformanceCounter(); }
    uint64_t PerformanceFrequency() override { return real_->PerformanceFrequency(); }
    uint32_t Milliseconds() override { return real_->Milliseconds(); }
    void Sleep(uint32_t ms) override { real_->Sleep(ms); }
    bool CreateMainWindow(const std::string& title, int x, int y, int w, int h, bool windowed) override {
        return real_->CreateMainWindow(title, x, y, w, h, windowed);
    }
    void ShowMainWindow(bool visible) override { real_->ShowMainWindow(visible); }
    void DestroyMainWindow() override { real_->DestroyMainWindow(); }
    bool HasMainWindow() const override { return real_->HasMainWindow(); }
    void DesktopSize(int& w, int& h) override { real_->DesktopSize(w, h); }
    bool PollEvent(platform::Event& out) override { return real_->PollEvent(out); }
    platform::MessageBoxAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                                              platform::MessageBoxButtons buttons, platform::MessageBoxIcon icon,
                                              bool owned) override {
        return real_->ShowMessageBox(text, caption, buttons, icon, owned);
    }
    bool IsMainWindowForeground() override { return real_->IsMainWindowForeground(); }
    void GetMouse(int& x, int& y, bool& left, bool& right) override { real_->GetMouse(x, y, left, right); }
    bool IsKeyDown(platform::KeyCode key) override { return real_->IsKeyDown(key); }
    bool CreateRenderer(int w, int h) override { return real_->CreateRenderer(w, h); }
    void DestroyRenderer() override { real_->DestroyRenderer(); }
    bool HasRenderer() const override { return real_->HasRenderer(); }
    platform::TextureHandle CreateTexture(int w, int h) override { return real_->CreateTexture(w, h); }
    void UploadTexture(platform::TextureHandle t, int x, int y, int w, int h, const uint32_t* argb,
                       int pitch) override {
        real_->UploadTexture(t, x, y, w, h, argb, pitch);
    }
    void DestroyTexture(platform::TextureHandle t) override { real_->DestroyTexture(t); }
    void SetCamera(const float view[16], const float projection[16]) override { real_->SetCamera(view, projection); }
    bool BeginFrame(uint32_t clear) override { return real_->BeginFrame(clear); }
    void DrawQuad(const platform::Quad& quad) override {
        if (record_ != nullptr) {
            record_->push_back(quad);
        }
        real_->DrawQuad(quad);
    }
    platform::PresentResult EndFrame() override { return real_->EndFrame(); }
    void ShowFinishedFrame() override { real_->ShowFinishedFrame(); }
    bool ResetRenderer() override { return real_->ResetRenderer(); }
    bool ReadBackBuffer(std::vector<uint32_t>& argb, int& w, int& h) override {
        return real_->ReadBackBuffer(argb, w, h);
    }

private:
    std::unique_ptr<platform::Platform> real_;
    std::vector<platform::Quad>* record_ = nullptr;
};

uint32_t Argb(int a, int r, int g, int b) {
    auto c = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return c(a) << 24 | c(r) << 16 | c(g) << 8 | c(b);
}

// ---- Pictures ----------------------------------------------------------------------------------

// An opaque 1280x720 felt.
std::vector<uint32_t> Background() {
    std::vector<uint32_t> px(static_cast<size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int check = ((x / 80 + y / 80) & 1) * 12;
            px[static_cast<size_t>(y) * kWidth + x] = Argb(255, 16 + x / 32, 60 + y / 12 + check, 36 + check);
        }
    }
    return px;
}

// A 960x600 sheet of 12x5 cards of 80x120 with soft rounded corners, in one ink colour.
std::vector<uint32_t> CardSheet(int inkR, int inkG, int inkB) {
    constexpr int kW = 80, kH = 120, kRadius = 8;
    std::vector<uint32_t> px(960 * 600, 0u);
    for (int cy = 0; cy < 5; ++cy) {
        for (int cx = 0; cx < 12; ++cx) {
            for (int y = 0; y < kH; ++y) {
                for (int x = 0; x < kW; ++x) {
                    const float qx = static_cast<float>(std::clamp(x, kRadius, kW - 1 - kRadius));
                    const float qy = static_cast<float>(std::clamp(y, kRadius, kH - 1 - kRadius));
                    const float d = std::hypot(static_cast<float>(x) - qx, static_cast<float>(y) - qy);
                    const int a = static_cast<int>(std::clamp(kRadius + 0.5f - d, 0.0f, 1.0f) * 255.0f);
                    const bool ink = d > kRadius - 2.0f || std::abs(x - 40) + std::abs(y - 60) < 12 + cx + cy;
                    px[static_cast<size_t>(cy * kH + y) * 960 + cx * kW + x] =
                        ink ? Argb(a, inkR, inkG, inkB) : Argb(a, 244, 238, 222);
                }
            }
        }
    }
    return px;
}

void InstallPictures() {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> entries;
    entries.emplace_back("bench_bg.dds", dds::EncodeArgb(kWidth, kHeight, Background().data()));
    entries.emplace_back("bench_cards_a.dds", dds::EncodeArgb(960, 600, CardSheet(170, 24, 30).data()));
    entries.emplace_back("bench_cards_b.dds", dds::EncodeArgb(960, 600, CardSheet(28, 52, 150).data()));
    testsupport::InstallArchive(ArchiveId::Images, entries);
}

// ---- The scene ---------------------------------------------------------------------------------

struct Scene {
    Image background;
    std::vector<Image> cards;
    std::vector<ImageFont> texts;
};

void BuildScene(Scene& s, bool twoSheets) {
    s.background.loadTexture("bench_bg.png", true);
    s.cards.clear();
    s.cards.reserve(kCards);
    for (int i = 0; i < kCards; ++i) {
        Image card;
        card.loadTexture(twoSheets && (i % 2) == 1 ? "bench_cards_b.png" : "bench_cards_a.png", true);
        card.useSourceRect = true;
        const int f = (i * 7) % 60;
        card.sourceRect = {(f % 12) * 80, (f / 12) * 120, (f % 12) * 80 + 80, (f / 12) * 120 + 120};
        card.position = {static_cast<float>((i * 37) % 1200), static_cast<float>((i * 53) % 600), 0.0f};
        card.scaleEnabled = (i % 3) == 0;
        card.scale = {1.2f, 1.2f, 1.0f};
        card.rotationEnabled = (i % 5) == 0;
        card.rotation.y = 30.0f;
        card.blendMode = (i % 10) == 0 ? 2 : 1;
        s.cards.push_back(card);
    }
    s.texts.resize(kTexts);
    for (int i = 0; i < kTexts; ++i) {
        s.texts[i].CreateCanvas("bench_text_" + std::to_string(i), 530, 130);
        s.texts[i].DrawText(SJ("ベット ♠ 1000 メダル\n夜の卓へようこそ"), 0, 0, 24, 0xFFFFFF, true);
        s.texts[i].position = {20.0f + 60.0f * (i % 2), 20.0f + 68.0f * i, 0.0f};
    }
}

// The scene with another background when one is given, and only its first `cards` cards and
// `texts` canvases when those are given.
void DrawScene(const Scene& s, const Image* background = nullptr, size_t cards = kCards, size_t texts = kTexts) {
    DxGraphic& g = DxGraphic::Instance();
    g.BeginFrame();
    g.DrawImage(background != nullptr ? *background : s.background, 0, 0, 0);
    for (size_t i = 0; i < cards && i < s.cards.size(); ++i) g.DrawImage(s.cards[i], 0, 0, 0);
    for (size_t i = 0; i < texts && i < s.texts.size(); ++i) g.DrawImage(s.texts[i], 0, 0, 0);
    g.EndFrame();
}

// ---- The batched replay --------------------------------------------------------------------------

struct Placement {
    platform::TextureHandle texture = 0;
    int textureWidth = 0, textureHeight = 0;  // level-0 size the quad's coordinates divide by
    int x = 0, y = 0;                         // where its texels sit in the atlas
};

// Copies every picture and canvas into one atlas (twice when `copies` is 2) and returns where each
// texture went.
std::vector<Placement> BuildAtlas(std::vector<platform::TextureHandle>& atlases, int copies) {
    DxGraphic& g = DxGraphic::Instance();
    std::vector<uint32_t> atlas(static_cast<size_t>(kAtlas) * kAtlas, 0u);
    std::vector<Placement> placements;
    // The texels of one picture at (x, y), with the ring of texels around it that filtering can
    // reach: a copy of the edge where the texture ends there (clamping), else transparent (the
    // padding of a power-of-two texture).
    auto put = [&](const DxGraphic::CacheEntry* e, const std::vector<uint32_t>& px, int x, int y) {
        const int w = e->width, h = e->height;
        const bool clampRight = w == e->textureWidth, clampBottom = h == e->textureHeight;
        for (int r = -1; r <= h; ++r) {
            for (int c = -1; c <= w; ++c) {
                uint32_t texel = 0;
                if ((c < w || clampRight) && (r < h || clampBottom)) {
                    const int sr = std::clamp(r, 0, h - 1), sc = std::clamp(c, 0, w - 1);
                    texel = px[static_cast<size_t>(sr) * w + sc];
                }
                atlas[static_cast<size_t>(y + r) * kAtlas + x + c] = texel;
            }
        }
        placements.push_back({e->texture, e->textureWidth, e->textureHeight, x, y});
    };
    put(g.FindTexture("bench_bg.png"), Background(), 16, 16);
    put(g.FindTexture("bench_cards_a.png"), CardSheet(170, 24, 30), 16, 752);
    put(g.FindTexture("bench_cards_b.png"), CardSheet(28, 52, 150), 16, 1368);
    for (int i = 0; i < kTexts; ++i) {
        const DxGraphic::CacheEntry* e = g.FindCanvas("bench_text_" + std::to_string(i));
        put(e, e->pixels, 1312, 16 + 146 * i);
    }
    platform::Platform& p = platform::Get();
    for (int c = 0; c < copies; ++c) {
        atlases.push_back(p.CreateTexture(kAtlas, kAtlas));
        p.UploadTexture(atlases.back(), 0, 0, kAtlas, kAtlas, atlas.data(), kAtlas);
    }
    return placements;
}

// The recorded quads with their coordinates moved into the atlas.
std::vector<platform::Quad> Remap(const std::vector<platform::Quad>& quads, const std::vector<Placement>& placements) {
    std::vector<platform::Quad> out = quads;
    for (platform::Quad& q : out) {
        for (const Placement& pl : placements) {
            if (pl.texture == q.texture) {
                for (platform::Vertex& v : q.v) {
                    v.u = (v.u * static_cast<float>(pl.textureWidth) + static_cast<float>(pl.x)) / kAtlas;
                    v.v = (v.v * static_cast<float>(pl.textureHeight) + static_cast<float>(pl.y)) / kAtlas;
                }
                break;
            }
        }
    }
    return out;
}

void DrawReplay(const std::vector<platform::Quad>& quads, const std::vector<platform::TextureHandle>& atlases) {
    platform::Platform& p = platform::Get();
    p.BeginFrame(0xFF646464u);
    size_t n = 0;
    for (platform::Quad q : quads) {
        q.texture = atlases[n++ % atlases.size()];
        p.DrawQuad(q);
    }
    p.EndFrame();
}

std::vector<uint32_t> ReadBack() {
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    platform::Get().ReadBackBuffer(px, w, h);
    return px;
}

// Pixels of b that differ from a by more than 2 in a channel (coordinates moved into the atlas
// round differently, which may shift a filtering weight by one step), and the largest difference.
struct Difference {
    size_t pixels = 0;
    int worst = 0;
};
Difference Compare(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    Difference d;
    if (a.size() != b.size()) {
        d.pixels = a.size() + b.size();
        d.worst = 255;
        return d;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        int worst = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            worst = std::max(worst, std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                                             static_cast<int>((b[i] >> shift) & 0xFF)));
        }
        d.pixels += worst > 2 ? 1 : 0;
        d.worst = std::max(d.worst, worst);
    }
    return d;
}

template <typename Draw>
double Fps(int frames, Draw&& draw) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) draw();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return frames / seconds;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void BM_GlFrame(benchmark::State& state) {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("SDL_VIDEODRIVER") == nullptr) {
        state.SkipWithError("needs a display: run under xvfb-run (or set SDL_VIDEODRIVER=offscreen)");
        return;
    }
    if (std::getenv("SDL_VIDEODRIVER") == nullptr) {
        setenv("SDL_VIDEODRIVER", "x11", 1);
    }
    auto recorder = std::make_unique<RecordingPlatform>(platform::CreateRealPlatform());
    RecordingPlatform* rec = recorder.get();
    platform::Install(std::move(recorder));
    DxGraphic& g = DxGraphic::Instance();
    if (g.Init("Tarnwick GL frame benchmark", kWidth, kHeight, true) != 0) {
        state.SkipWithError("no OpenGL 3.3 context");
        platform::Install(nullptr);
        return;
    }
    InstallPictures();
    const char* framesText = std::getenv("TARNWICK_GL_FRAMES");
    const int frames = std::max(1, framesText != nullptr ? std::atoi(framesText) : 40);
    constexpr int kRounds = 7;

    Scene one, two;
    BuildScene(one, false);
    BuildScene(two, true);
    std::vector<platform::TextureHandle> atlas, atlasPair;
    const std::vector<Placement> placements = BuildAtlas(atlas, 1);
    BuildAtlas(atlasPair, 2);

    // Record each scene once and check that its batched replay gives the same pixels.
    std::vector<platform::Quad> recordedOne, recordedTwo;
    recordedOne.reserve(400);
    recordedTwo.reserve(400);
    rec->Record(&recordedOne);
    DrawScene(one);
    rec->Record(&recordedTwo);
    DrawScene(two);
    rec->Record(nullptr);
    const std::vector<platform::Quad> batchOne = Remap(recordedOne, placements);
    const std::vector<platform::Quad> batchTwo = Remap(recordedTwo, placements);
    DrawScene(one);
    const std::vector<uint32_t> sceneOnePixels = ReadBack();
    DrawReplay(batchOne, atlas);
    const Difference differingOne = Compare(sceneOnePixels, ReadBack());
    DrawScene(two);
    const std::vector<uint32_t> sceneTwoPixels = ReadBack();
    DrawReplay(batchTwo, atlas);
    const Difference differingTwo = Compare(sceneTwoPixels, ReadBack());
    DrawReplay(batchTwo, atlasPair);
    const Difference differingPerQuad = Compare(sceneTwoPixels, ReadBack());

    // The background at vertex alpha 254 must be blended: what drawing it opaque saves.
    Image blendedBackground = one.background;
    blendedBackground.alpha = 254.5f / 255.0f;

    std::vector<double> fOne, fOneBatched, fTwo, fTwoBatched, fPerQuad, fBlendedBackground, fLight, fLightBlended;
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            fOne.push_back(Fps(frames, [&] { DrawScene(one); }));
            fBlendedBackground.push_back(Fps(frames, [&] { DrawScene(one, &blendedBackground); }));
            fLight.push_back(Fps(frames, [&] { DrawScene(one, nullptr, kLightCards, kLightTexts); }));
            fLightBlended.push_back(
                Fps(frames, [&] { DrawScene(one, &blendedBackground, kLightCards, kLightTexts); }));
            fOneBatched.push_back(Fps(frames, [&] { DrawReplay(batchOne, atlas); }));
            fTwo.push_back(Fps(frames, [&] { DrawScene(two); }));
            fTwoBatched.push_back(Fps(frames, [&] { DrawReplay(batchTwo, atlas); }));
            fPerQuad.push_back(Fps(frames, [&] { DrawReplay(batchTwo, atlasPair); }));
        }
    }
    const double one_ = Median(fOne), oneB = Median(fOneBatched), two_ = Median(fTwo), twoB = Median(fTwoBatched);
    const double perQuad = Median(fPerQuad);
    state.counters["quads"] = static_cast<double>(recordedOne.size());
    state.counters["fps_one_sheet"] = one_;
    state.counters["fps_one_sheet_batched"] = oneB;
    state.counters["ratio_one_sheet"] = oneB / one_;
    state.counters["fps_one_sheet_bg_blended"] = Median(fBlendedBackground);
    state.counters["fps_light"] = Median(fLight);
    state.counters["fps_light_bg_blended"] = Median(fLightBlended);
    state.counters["fps_two_sheets"] = two_;
    state.counters["fps_two_sheets_batched"] = twoB;
    state.counters["ratio_two_sheets"] = twoB / two_;
    state.counters["fps_per_quad_calls"] = perQuad;
    state.counters["ratio_per_quad"] = twoB / perQuad;
    const size_t differing = differingOne.pixels + differingTwo.pixels + differingPerQuad.pixels;
    state.counters["replay_px_off"] = static_cast<double>(differing);
    state.counters["replay_worst_diff"] =
        static_cast<double>(std::max({differingOne.worst, differingTwo.worst, differingPerQuad.worst}));
    if (differing != 0) {
        std::fprintf(stderr, "the replay differs from the scene by more than 2 in %zu, %zu and %zu pixels\n",
                     differingOne.pixels, differingTwo.pixels, differingPerQuad.pixels);
    }

    for (platform::TextureHandle t : atlas) platform::Get().DestroyTexture(t);
    for (platform::TextureHandle t : atlasPair) platform::Get().DestroyTexture(t);
    g.ReleaseAllTextures();
    g.ReleaseAllCanvases();
    g.Shutdown();
    platform::Install(nullptr);
}

}  // namespace

BENCHMARK(BM_GlFrame)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();

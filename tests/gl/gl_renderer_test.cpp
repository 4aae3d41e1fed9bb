// Pixel tests of the real SDL2 + OpenGL platform. They draw through the platform interface into
// the 1280x720 back buffer and read it back. SDL's offscreen video driver gives a GL context
// without an X server; where it does not work, an X display (xvfb-run) is tried; with neither the
// tests are skipped.
#include <gtest/gtest.h>

#include "test_support.h"

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/debug.h"
#include "platform/platform.h"
#include "platform/sdl/gl_renderer.h"

// Mesa and LLVM keep some allocations until exit; they are not ours. SDL unloads the GL driver
// when its last GL window goes, after which such leaks could no longer be told apart: the driver
// libraries are pinned in memory for the whole test run (see PinGlDrivers).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libGLX_mesa\nleak:libEGL_mesa\nleak:swrast_dri\nleak:libLLVM\nleak:libgallium\nleak:libdbus\n";
}

namespace {

using platform::Platform;
using platform::Quad;

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

// ---- The game's camera, built independently of the code under test ----------------------------
// Row-vector matrices as on the original device (a point p is drawn at p * view * projection).
// Right-handed look-at: zaxis = normalize(eye - target), xaxis = normalize(up x zaxis),
// yaxis = zaxis x xaxis; rows 0..2 hold the axes as columns, row 3 is
// (-xaxis.eye, -yaxis.eye, -zaxis.eye, 1).
// Right-handed perspective: ys = cot(fov/2), xs = ys / aspect;
// rows (xs 0 0 0), (0 ys 0 0), (0 0 zf/(zn-zf) -1), (0 0 zn*zf/(zn-zf) 0); depth 0..w.
struct Vec3 {
    double x, y, z;
};
Vec3 Sub(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Normalize(Vec3 a) {
    const double l = std::sqrt(Dot(a, a));
    return {a.x / l, a.y / l, a.z / l};
}

void GameCamera(float view[16], float projection[16]) {
    const Vec3 eye{640, 360, -720}, target{640, 360, 0}, up{0, -1, 0};
    const Vec3 z = Normalize(Sub(eye, target));
    const Vec3 x = Normalize(Cross(up, z));
    const Vec3 y = Cross(z, x);
    const double v[16] = {x.x, y.x, z.x, 0, x.y, y.y, z.y, 0, x.z, y.z, z.z, 0, -Dot(x, eye), -Dot(y, eye), -Dot(z, eye), 1};
    const double fov = 2.0 * std::atan(0.5), aspect = 1280.0 / 720.0, zn = -1.0, zf = 200.0;
    const double ys = 1.0 / std::tan(fov / 2.0), xs = ys / aspect;
    const double p[16] = {xs, 0, 0, 0, 0, ys, 0, 0, 0, 0, zf / (zn - zf), -1, 0, 0, zn * zf / (zn - zf), 0};
    for (int i = 0; i < 16; ++i) {
        view[i] = static_cast<float>(v[i]);
        projection[i] = static_cast<float>(p[i]);
    }
}

// A quad whose corners the game places at (x - 0.5, y - 0.5) so that it covers pixels
// x .. x + w - 1 and y .. y + h - 1 at depth z = 0.
Quad PixelQuad(float x, float y, float w, float h, uint32_t argb, int blend, platform::TextureHandle texture = 0,
               float z = 0.0f) {
    Quad q;
    const float l = x - 0.5f, t = y - 0.5f, r = x + w - 0.5f, b = y + h - 0.5f;
    q.v[0] = {l, t, z, 0.0f, 0.0f};
    q.v[1] = {r, t, z, 1.0f, 0.0f};
    q.v[2] = {l, b, z, 0.0f, 1.0f};
    q.v[3] = {r, b, z, 1.0f, 1.0f};
    q.argb = argb;
    q.blend = blend;
    q.texture = texture;
    return q;
}

struct Rgb {
    int r, g, b;
};
Rgb ToRgb(uint32_t argb) {
    return {static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF), static_cast<int>(argb & 0xFF)};
}

// Only the pixels of the rectangle [x0, x1) x [y0, y1) of the image have colour `inside`; a
// margin of `margin` pixels around it has colour `outside`. Returns the first mismatch.
std::string CheckRect(const std::vector<uint32_t>& img, int x0, int y0, int x1, int y1, uint32_t inside,
                      uint32_t outside, int margin = 3) {
    for (int y = y0 - margin; y < y1 + margin; ++y) {
        for (int x = x0 - margin; x < x1 + margin; ++x) {
            if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) continue;
            const bool in = x >= x0 && x < x1 && y >= y0 && y < y1;
            const uint32_t want = in ? inside : outside;
            const uint32_t got = img[static_cast<size_t>(y) * kWidth + x];
            if (got != want) {
                char buf[128];
                std::snprintf(buf, sizeof(buf), "pixel (%d,%d) is %08X, expected %08X", x, y, got, want);
                return buf;
            }
        }
    }
    return {};
}

class RealPlatformTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        testsupport::PinGlDrivers();
        platform::SetDebugSink([](const std::string& line) { std::fprintf(stderr, "[platform] %s\n", line.c_str()); });
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        if (!TryCreate() && std::getenv("DISPLAY") != nullptr) {
            setenv("SDL_VIDEODRIVER", "x11", 1);
            TryCreate();
        }
    }
    static void TearDownTestSuite() {
        platform_.reset();
        platform::SetDebugSink({});
    }
    static bool TryCreate() {
        platform_ = platform::CreateRealPlatform();
        if (platform_->CreateMainWindow("Tarnwick GL test", 0, 0, kWidth, kHeight, true) &&
            platform_->CreateRenderer(kWidth, kHeight)) {
            return true;
        }
        platform_.reset();
        return false;
    }

    void SetUp() override {
        if (!platform_) {
            GTEST_SKIP() << "no OpenGL 3.3 context (neither offscreen driver nor X display)";
        }
        float view[16], projection[16];
        GameCamera(view, projection);
        platform_->SetCamera(view, projection);
    }

    std::vector<uint32_t> Read() {
        std::vector<uint32_t> img;
        int w = 0, h = 0;
        EXPECT_TRUE(platform_->ReadBackBuffer(img, w, h));
        EXPECT_EQ(w, kWidth);
        EXPECT_EQ(h, kHeight);
        return img;
    }
    static uint32_t At(const std::vector<uint32_t>& img, int x, int y) {
        return img[static_cast<size_t>(y) * kWidth + x];
    }

    static std::unique_ptr<Platform> platform_;
};
std::unique_ptr<Platform> RealPlatformTest::platform_;

TEST_F(RealPlatformTest, ClearColourAndTopRowFirst) {
    ASSERT_TRUE(platform_->BeginFrame(0xFF646464u));
    platform_->DrawQuad(PixelQuad(0, 0, kWidth, 1, 0xFFFF0000u, 0));           // top row red
    platform_->DrawQuad(PixelQuad(0, kHeight - 1, 1, 1, 0xFF0000FFu, 0));      // bottom-left pixel blue
    const auto img = Read();
    EXPECT_EQ(platform_->EndFrame(), platform::PresentResult::Ok);
    EXPECT_EQ(At(img, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(At(img, kWidth - 1, 0), 0xFFFF0000u);
    EXPECT_EQ(At(img, 0, kHeight - 1), 0xFF0000FFu);
    EXPECT_EQ(At(img, 1, kHeight - 1), 0xFF646464u);
    const Rgb grey = ToRgb(At(img, 640, 360));
    EXPECT_EQ(grey.r, 100);
    EXPECT_EQ(grey.g, 100);
    EXPECT_EQ(grey.b, 100);
    // The back buffer has no alpha channel: a translucent clear still reads back opaque.
    ASSERT_TRUE(platform_->BeginFrame(0x00102030u));
    EXPECT_EQ(At(Read(), 5, 5), 0xFF102030u);
    platform_->EndFrame();
}

TEST_F(RealPlatformTest, UntexturedQuadCoversExactPixels) {
    ASSERT_TRUE(platform_->BeginFrame(0xFF000000u));
    platform_->DrawQuad(PixelQuad(10, 20, 100, 50, 0xFF804020u, 1));
    // A one-pixel quad at an odd place, and one touching the right and bottom edges.
    platform_->DrawQuad(PixelQuad(300, 301, 1, 1, 0xFFFFFFFFu, 1));
    platform_->DrawQuad(PixelQuad(1270, 715, 10, 5, 0xFF00FF00u, 0));
    const auto img = Read();
    platform_->EndFrame();
    EXPECT_EQ(CheckRect(img, 10, 20, 110, 70, 0xFF804020u, 0xFF000000u), "");
    EXPECT_EQ(CheckRect(img, 300, 301, 301, 302, 0xFFFFFFFFu, 0xFF000000u), "");
    EXPECT_EQ(CheckRect(img, 1270, 715, 1280, 720, 0xFF00FF00u, 0xFF000000u), "");
}

TEST_F(RealPlatformTest, TexelsMapOneToOneAndUploadsHonourPitchAndOffset) {
    const platform::TextureHandle tex = platform_->CreateTexture(2, 2);
    ASSERT_NE(tex, 0u);
    const uint32_t texels[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u};
    platform_->UploadTexture(tex, 0, 0, 2, 2, texels, 2);

    // 4x3 texture filled from a source with a pitch of 6, then its middle overwritten by a 2x1
    // block at (1, 1).
    const platform::TextureHandle wide = platform_->CreateTexture(4, 3);
    ASSERT_NE(wide, 0u);
    std::vector<uint32_t> src(6 * 3, 0xFFDEADBEu);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) src[y * 6 + x] = 0xFF000000u | static_cast<uint32_t>(y * 64 << 8) | (x * 60);
    platform_->UploadTexture(wide, 0, 0, 4, 3, src.data(), 6);
    const uint32_t patch[2] = {0xFFFFFFFFu, 0xFF808080u};
    platform_->UploadTexture(wide, 1, 1, 2, 1, patch, 2);

    ASSERT_TRUE(platform_->BeginFrame(0xFF000000u));
    platform_->DrawQuad(PixelQuad(100, 200, 2, 2, 0xFFFFFFFFu, 1, tex));
    platform_->DrawQuad(PixelQuad(400, 300, 4, 3, 0xFFFFFFFFu, 0, wide));
    const auto img = Read();
    platform_->EndFrame();
    EXPECT_EQ(At(img, 100, 200), 0xFFFF0000u);  // texel row 0 is the top of the picture
    EXPECT_EQ(At(img, 101, 200), 0xFF00FF00u);
    EXPECT_EQ(At(img, 100, 201), 0xFF0000FFu);
    EXPECT_EQ(At(img, 101, 201), 0xFFFFFF00u);
    EXPECT_EQ(At(img, 99, 200), 0xFF000000u);
    EXPECT_EQ(At(img, 102, 201), 0xFF000000u);
    EXPECT_EQ(At(img, 100, 202), 0xFF000000u);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            uint32_t want = src[y * 6 + x];
            if (y == 1 && (x == 1 || x == 2)) want = patch[x - 1];
            EXPECT_EQ(At(img, 400 + x, 300 + y), want) << x << "," << y;
        }
    }
    platform_->DestroyTexture(tex);
    platform_->DestroyTexture(wide);
}

TEST_F(RealPlatformTest, TextureModulatedByVertexColour) {
    const platform::TextureHandle tex = platform_->CreateTexture(1, 1);
    const uint32_t texel = 0xFF80FF40u;
    platform_->UploadTexture(tex, 0, 0, 1, 1, &texel, 1);
    ASSERT_TRUE(platform_->BeginFrame(0xFF000000u));
    platform_->DrawQuad(PixelQuad(10, 10, 4, 4, 0xFFFF8000u, 0, tex));
    const auto img = Read();
    platform_->EndFrame();
    const Rgb c = ToRgb(At(img, 11, 11));
    EXPECT_NEAR(c.r, 0x80, 1);
    EXPECT_NEAR(c.g, 0x80, 1);
    EXPECT_EQ(c.b, 0);
    platform_->DestroyTexture(tex);
}

TEST_F(RealPlatformTest, BlendModesOverGrey) {
    const platform::TextureHandle tex = platform_->CreateTexture(1, 1);
    const uint32_t texel = 0x80FFFFFFu;  // half-transparent white texel
    platform_->UploadTexture(tex, 0, 0, 1, 1, &texel, 1);
    ASSERT_TRUE(platform_->BeginFrame(0xFF646464u));
    platform_->DrawQuad(PixelQuad(0, 0, 10, 10, 0x80FF0000u, 0));
    platform_->DrawQuad(PixelQuad(20, 0, 10, 10, 0x80FF0000u, 1));
    platform_->DrawQuad(PixelQuad(40, 0, 10, 10, 0x80FF0000u, 2));
    platform_->DrawQuad(PixelQuad(60, 0, 10, 10, 0xFF00FF00u, 1, tex));  // alpha from the texture
    platform_->DrawQuad(PixelQuad(80, 0, 10, 10, 0x80FF0000u, 2));
    platform_->DrawQuad(PixelQuad(80, 0, 10, 10, 0x80FF0000u, 7));  // unknown mode: the last one stays
    const auto img = Read();
    platform_->EndFrame();
    const double a = 128.0 / 255.0;
    const Rgb off = ToRgb(At(img, 5, 5));
    EXPECT_EQ(off.r, 255);
    EXPECT_EQ(off.g, 0);
    const Rgb normal = ToRgb(At(img, 25, 5));
    EXPECT_NEAR(normal.r, 255 * a + 100 * (1 - a), 1.0);
    EXPECT_NEAR(normal.g, 100 * (1 - a), 1.0);
    EXPECT_NEAR(normal.b, 100 * (1 - a), 1.0);
    const Rgb additive = ToRgb(At(img, 45, 5));
    EXPECT_NEAR(additive.r, 100 + 255 * a, 1.0);
    EXPECT_EQ(additive.g, 100);
    EXPECT_EQ(additive.b, 100);
    const Rgb textured = ToRgb(At(img, 65, 5));
    EXPECT_NEAR(textured.r, 100 * (1 - a), 1.0);
    EXPECT_NEAR(textured.g, 255 * a + 100 * (1 - a), 1.0);
    const Rgb twice = ToRgb(At(img, 85, 5));
    EXPECT_EQ(twice.r, 255);
    EXPECT_EQ(twice.g, 100);
    platform_->DestroyTexture(tex);
}

TEST_F(RealPlatformTest, DepthScalesAboutTheScreenCentre) {
    ASSERT_TRUE(platform_->BeginFrame(0xFF000000u));
    // At z = 720 everything is drawn at half size about (640, 360): corners placed at
    // (439, 259) .. (839, 459) land on the pixel edges 539.5 .. 739.5 and 309.5 .. 409.5.
    Quad q = PixelQuad(0, 0, 0, 0, 0xFFFFFFFFu, 1, 0, 720.0f);
    q.v[0].x = q.v[2].x = 439.0f;
    q.v[1].x = q.v[3].x = 839.0f;
    q.v[0].y = q.v[1].y = 259.0f;
    q.v[2].y = q.v[3].y = 459.0f;
    platform_->DrawQuad(q);
    // At z = -360 twice the size: corners at (599.75, 299.75) .. (609.75, 309.75) land on
    // 559.5 .. 579.5 and 239.5 .. 259.5, so pixels 560..579, 240..259.
    Quad big = PixelQuad(0, 0, 0, 0, 0xFFFF0000u, 1, 0, -360.0f);
    big.v[0].x = big.v[2].x = 599.75f;
    big.v[1].x = big.v[3].x = 609.75f;
    big.v[0].y = big.v[1].y = 299.75f;
    big.v[2].y = big.v[3].y = 309.75f;
    platform_->DrawQuad(big);
    const auto img = Read();
    platform_->EndFrame();
    EXPECT_EQ(CheckRect(img, 540, 310, 740, 410, 0xFFFFFFFFu, 0xFF000000u), "");
    EXPECT_EQ(CheckRect(img, 560, 240, 580, 260, 0xFFFF0000u, 0xFF000000u), "");
}

TEST_F(RealPlatformTest, BatchesKeepSubmissionOrderAcrossStateChanges) {
    const platform::TextureHandle red = platform_->CreateTexture(1, 1);
    const platform::TextureHandle blue = platform_->CreateTexture(1, 1);
    const uint32_t r = 0xFFFF0000u, b = 0xFF0000FFu;
    platform_->UploadTexture(red, 0, 0, 1, 1, &r, 1);
    platform_->UploadTexture(blue, 0, 0, 1, 1, &b, 1);

    // 2000 quads per frame, alternating texture and blend mode, each 8x8 and overlapping the
    // previous one by half.
    constexpr int kQuads = 2000;
    platform_->BeginFrame(0xFF646464u);
    for (int i = 0; i < kQuads; ++i) {
        const int x = (i % 250) * 4, y = (i / 250) * 16;
        platform_->DrawQuad(PixelQuad(static_cast<float>(x), static_cast<float>(y), 8, 8, 0xFFFFFFFFu,
                                      i % 3 == 2 ? 0 : (i % 3 == 1 ? 2 : 1), i % 2 == 0 ? red : blue));
    }
    const auto img = Read();
    platform_->EndFrame();
    // Pixel (x + 1, y + 1) of quad i is covered by quad i - 1 (same row) and then quad i; opaque
    // modes 0 and 1 replace, mode 2 adds with saturation.
    auto apply = [](uint32_t dst, uint32_t src, int mode) {
        if (mode != 2) return src;
        uint32_t out = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            out |= std::min(0xFFu, ((dst >> shift) & 0xFF) + ((src >> shift) & 0xFF)) << shift;
        }
        return out;
    };
    auto mode = [](int i) { return i % 3 == 2 ? 0 : (i % 3 == 1 ? 2 : 1); };
    auto colour = [&](int i) { return i % 2 == 0 ? r : b; };
    for (int i = 0; i < kQuads; ++i) {
        const int x = (i % 250) * 4, y = (i / 250) * 16;
        uint32_t want = 0xFF646464u;
        if (i % 250 != 0) want = apply(want, colour(i - 1), mode(i - 1));
        want = apply(want, colour(i), mode(i));
        ASSERT_EQ(At(img, x + 1, y + 1), want) << "quad " << i;
    }
    // Texture changes inside a frame: an upload after a draw does not alter what was drawn.
    platform_->BeginFrame(0xFF000000u);
    platform_->DrawQuad(PixelQuad(0, 0, 4, 4, 0xFFFFFFFFu, 0, red));
    const uint32_t g = 0xFF00FF00u;
    platform_->UploadTexture(red, 0, 0, 1, 1, &g, 1);
    platform_->DrawQuad(PixelQuad(4, 0, 4, 4, 0xFFFFFFFFu, 0, red));
    const auto img2 = Read();
    platform_->EndFrame();
    EXPECT_EQ(At(img2, 1, 1), r);
    EXPECT_EQ(At(img2, 5, 1), g);

    // Figures: cost of a frame of 2000 quads including present, with the texture changing at
    // every quad and with one texture throughout.
    for (const bool alternate : {true, false}) {
        const auto start = std::chrono::steady_clock::now();
        constexpr int kFrames = 5;
        for (int f = 0; f < kFrames; ++f) {
            platform_->BeginFrame(0xFF646464u);
            for (int i = 0; i < kQuads; ++i) {
                const float x = static_cast<float>((i % 250) * 4), y = static_cast<float>((i / 250) * 16);
                platform_->DrawQuad(PixelQuad(x, y, 8, 8, 0xFFFFFFFFu, 1, alternate && i % 2 == 1 ? blue : red));
            }
            platform_->EndFrame();
        }
        std::vector<uint32_t> sync;
        int w, h;
        platform_->ReadBackBuffer(sync, w, h);  // waits for the drawing to finish
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / kFrames;
        std::printf("[figure] %d quads per frame, %s: %.3f ms per frame\n", kQuads,
                    alternate ? "texture changing every quad" : "one texture", ms);
        RecordProperty(alternate ? "ms_per_frame_2000_quads_alternating" : "ms_per_frame_2000_quads_one_texture",
                       std::to_string(ms));
    }
    platform_->DestroyTexture(red);
    platform_->DestroyTexture(blue);
}

// What an opaque quad hides is left out, and only that: a quad reaching beyond the cover, a cover
// off the pixel grid, a translucent cover, and quads drawn after the cover all still show.
TEST_F(RealPlatformTest, OpaqueQuadsHideOnlyWhatTheyCover) {
    ASSERT_TRUE(platform_->BeginFrame(0xFF000000u));
    platform_->DrawQuad(PixelQuad(100, 100, 50, 50, 0xFFFF0000u, 1));   // hidden
    platform_->DrawQuad(PixelQuad(385, 100, 50, 50, 0xFFFF0000u, 1));   // beyond the right edge
    platform_->DrawQuad(PixelQuad(100, 420, 50, 50, 0xFFFF0000u, 1));   // under the shifted cover
    platform_->DrawQuad(PixelQuad(300, 420, 50, 50, 0xFFFF0000u, 1));   // under the faint cover
    platform_->DrawQuad(PixelQuad(0, 0, 430, 400, 0xFF0000FFu, 1));     // opaque, on the grid
    platform_->DrawQuad(PixelQuad(0, 400.5f, 200, 200, 0xFF00FF00u, 1));  // opaque, off the grid
    platform_->DrawQuad(PixelQuad(250, 400, 200, 200, 0x80FFFFFFu, 1));   // translucent
    platform_->DrawQuad(PixelQuad(200, 200, 10, 10, 0xFFFFFF00u, 1));   // after the cover
    const auto img = Read();
    platform_->EndFrame();
    EXPECT_EQ(At(img, 120, 120), 0xFF0000FFu);
    EXPECT_EQ(At(img, 429, 120), 0xFF0000FFu);
    EXPECT_EQ(At(img, 430, 120), 0xFFFF0000u) << "the part beyond the cover";
    EXPECT_EQ(At(img, 120, 440), 0xFF00FF00u);
    EXPECT_EQ(At(img, 120, 401), 0xFF00FF00u);
    EXPECT_EQ(ToRgb(At(img, 320, 440)).r, 0xFF);
    EXPECT_GT(ToRgb(At(img, 320, 440)).g, 0x70) << "red under half white";
    EXPECT_EQ(At(img, 205, 205), 0xFFFFFF00u);
}

TEST_F(RealPlatformTest, BadTextureCallsAreRefusedSafely) {
    std::vector<std::string> lines;
    platform::SetDebugSink([&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(platform_->CreateTexture(0, 4), 0u);
    EXPECT_EQ(platform_->CreateTexture(4, -1), 0u);
    EXPECT_EQ(platform_->CreateTexture(1 << 20, 1), 0u);
    const platform::TextureHandle tex = platform_->CreateTexture(2, 2);
    ASSERT_NE(tex, 0u);
    const uint32_t px[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    const size_t before = lines.size();
    platform_->UploadTexture(tex, 1, 1, 2, 2, px, 2);         // past the edge
    platform_->UploadTexture(tex, 0, 0, 2, 2, px, 1);         // pitch shorter than a row
    platform_->UploadTexture(tex, 0, 0, 2, 2, nullptr, 2);    // no pixels
    platform_->UploadTexture(tex, -1, 0, 1, 1, px, 1);        // negative origin
    platform_->UploadTexture(tex + 100, 0, 0, 1, 1, px, 1);   // unknown handle
    EXPECT_EQ(lines.size(), before + 5);
    platform_->DestroyTexture(tex);
    platform_->DestroyTexture(tex);        // twice: ignored
    platform_->DestroyTexture(tex + 100);  // never existed: ignored
    // A destroyed handle draws untextured (vertex colour only) instead of reading freed memory.
    ASSERT_TRUE(platform_->BeginFrame(0xFF000000u));
    platform_->DrawQuad(PixelQuad(0, 0, 2, 2, 0xFF123456u, 0, tex));
    const auto img = Read();
    platform_->EndFrame();
    EXPECT_EQ(At(img, 0, 0), 0xFF123456u);
    platform::SetDebugSink([](const std::string& line) { std::fprintf(stderr, "[platform] %s\n", line.c_str()); });
}

TEST_F(RealPlatformTest, ResetRecreatesTheContext) {
    const platform::TextureHandle tex = platform_->CreateTexture(1, 1);
    ASSERT_NE(tex, 0u);
    ASSERT_TRUE(platform_->ResetRenderer());
    ASSERT_TRUE(platform_->HasRenderer());
    // The camera survives a reset; old textures are gone and draw untextured.
    ASSERT_TRUE(platform_->BeginFrame(0xFF646464u));
    platform_->DrawQuad(PixelQuad(10, 20, 100, 50, 0xFF00FF00u, 1, tex));
    const auto img = Read();
    EXPECT_EQ(platform_->EndFrame(), platform::PresentResult::Ok);
    EXPECT_EQ(CheckRect(img, 10, 20, 110, 70, 0xFF00FF00u, 0xFF646464u), "");
    const platform::TextureHandle again = platform_->CreateTexture(1, 1);
    EXPECT_NE(again, 0u);
    platform_->DestroyTexture(again);
}

TEST_F(RealPlatformTest, WithoutRendererNothingIsDrawn) {
    platform_->DestroyRenderer();
    EXPECT_FALSE(platform_->HasRenderer());
    EXPECT_FALSE(platform_->BeginFrame(0xFF646464u));
    platform_->DrawQuad(PixelQuad(0, 0, 1, 1, 0xFFFFFFFFu, 1));
    EXPECT_EQ(platform_->EndFrame(), platform::PresentResult::Failed);
    std::vector<uint32_t> img;
    int w = 0, h = 0;
    EXPECT_FALSE(platform_->ReadBackBuffer(img, w, h));
    EXPECT_EQ(platform_->CreateTexture(1, 1), 0u);
    ASSERT_TRUE(platform_->CreateRenderer(kWidth, kHeight));
}

// Full screen: the window takes the whole display (1024x768 on the offscreen driver) and shows the
// 1280x720 back buffer scaled to 1024x576 with black bars of 96 rows above and below; the mouse
// maps back to back-buffer pixels.
TEST_F(RealPlatformTest, FullScreenIsLetterboxedAndTheMouseMapsBack) {
    if (std::string(SDL_GetCurrentVideoDriver()) != "offscreen") {
        GTEST_SKIP() << "full-screen sizes are only dependable on the offscreen driver";
    }
    platform_->DestroyMainWindow();
    {
        auto full = platform::CreateRealPlatform();
        ASSERT_TRUE(full->CreateMainWindow("Tarnwick GL test", 0, 0, kWidth, kHeight, false));
        ASSERT_TRUE(full->CreateRenderer(kWidth, kHeight));
        SDL_Window* window = SDL_GL_GetCurrentWindow();
        ASSERT_NE(window, nullptr);
        int ww = 0, wh = 0;
        SDL_GL_GetDrawableSize(window, &ww, &wh);
        const platform::sdl::Letterbox box = platform::sdl::ComputeLetterbox(ww, wh, kWidth, kHeight);
        float view[16], projection[16];
        GameCamera(view, projection);
        full->SetCamera(view, projection);
        ASSERT_TRUE(full->BeginFrame(0xFFFFFFFFu));
        full->DrawQuad(PixelQuad(0, 0, 640, 360, 0xFFFF0000u, 0));  // top-left quarter red
        ASSERT_EQ(full->EndFrame(), platform::PresentResult::Ok);
        std::vector<uint32_t> shown(static_cast<size_t>(ww) * wh);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadPixels(0, 0, ww, wh, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, shown.data());
        auto at = [&](int x, int y) { return shown[static_cast<size_t>(wh - 1 - y) * ww + x] | 0xFF000000u; };
        if (box.y > 0) {
            EXPECT_EQ(at(ww / 2, 0), 0xFF000000u);                  // bar above
            EXPECT_EQ(at(ww / 2, box.y - 1), 0xFF000000u);
            EXPECT_EQ(at(ww / 2, box.y + box.height), 0xFF000000u);  // bar below
        }
        EXPECT_EQ(at(box.x + 2, box.y + 2), 0xFFFF0000u);
        EXPECT_EQ(at(box.x + box.width / 4, box.y + box.height / 4), 0xFFFF0000u);
        EXPECT_EQ(at(box.x + box.width - 3, box.y + box.height - 3), 0xFFFFFFFFu);
        EXPECT_EQ(at(box.x + box.width * 3 / 4, box.y + box.height / 4), 0xFFFFFFFFu);

        int mx = 0, my = 0;
        bool left = false, right = false;
        SDL_WarpMouseInWindow(window, box.x + box.width / 2, box.y + box.height / 2);
        full->GetMouse(mx, my, left, right);
        EXPECT_EQ(mx, 640);
        EXPECT_EQ(my, 360);
        SDL_WarpMouseInWindow(window, box.x, box.y);
        full->GetMouse(mx, my, left, right);
        EXPECT_EQ(mx, 0);
        EXPECT_EQ(my, 0);
        SDL_WarpMouseInWindow(window, box.x + box.width - 1, box.y + box.height - 1);
        full->GetMouse(mx, my, left, right);
        EXPECT_EQ(mx, 1279);
        EXPECT_EQ(my, 719);
    }
    ASSERT_TRUE(platform_->CreateMainWindow("Tarnwick GL test", 0, 0, kWidth, kHeight, true));
    ASSERT_TRUE(platform_->CreateRenderer(kWidth, kHeight));
}

// At the window's own size the window shows the back buffer pixel for pixel (the present is a
// copy, not a filter, and moves nothing by the sprites' half pixel).
TEST_F(RealPlatformTest, PresentShowsTheBackBufferPixelForPixel) {
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_NE(window, nullptr);
    int ww = 0, wh = 0;
    SDL_GL_GetDrawableSize(window, &ww, &wh);
    if (ww != kWidth || wh != kHeight) {
        GTEST_SKIP() << "the window is " << ww << "x" << wh;
    }
    std::vector<uint32_t> texels(64 * 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            texels[static_cast<size_t>(y) * 64 + x] = 0xFF000000u | (x * 4u << 16) | (y * 4u << 8) | ((x ^ y) * 4u);
        }
    }
    const platform::TextureHandle texture = platform_->CreateTexture(64, 64);
    platform_->UploadTexture(texture, 0, 0, 64, 64, texels.data(), 64);
    ASSERT_TRUE(platform_->BeginFrame(0xFF203040u));
    platform_->DrawQuad(PixelQuad(0, 0, 64, 64, 0xFFFFFFFFu, 1, texture));
    platform_->DrawQuad(PixelQuad(1216, 656, 64, 64, 0xFFFFFFFFu, 1, texture));  // the far corner
    platform_->DrawQuad(PixelQuad(300, 200, 200, 100, 0x80FF8000u, 1));
    const auto drawn = Read();
    ASSERT_EQ(platform_->EndFrame(), platform::PresentResult::Ok);
    std::vector<uint32_t> shown(static_cast<size_t>(ww) * wh);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadPixels(0, 0, ww, wh, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, shown.data());
    size_t differing = 0;
    for (int y = 0; y < wh; ++y) {
        for (int x = 0; x < ww; ++x) {
            const uint32_t got = shown[static_cast<size_t>(wh - 1 - y) * ww + x] | 0xFF000000u;
            differing += got != At(drawn, x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0u);
    platform_->DestroyTexture(texture);
}

TEST_F(RealPlatformTest, WindowEventsBecomePlatformEvents) {
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_NE(window, nullptr);
    platform::Event e;
    while (platform_->PollEvent(e)) {
    }
    auto pushKey = [](SDL_Scancode code, Uint16 mod, Uint8 repeat) {
        SDL_Event ev{};
        ev.type = SDL_KEYDOWN;
        ev.key.state = SDL_PRESSED;
        ev.key.repeat = repeat;
        ev.key.keysym.scancode = code;
        ev.key.keysym.sym = SDL_GetKeyFromScancode(code);
        ev.key.keysym.mod = mod;
        SDL_PushEvent(&ev);
    };
    auto pushWindow = [&](Uint8 what, Uint32 id) {
        SDL_Event ev{};
        ev.type = SDL_WINDOWEVENT;
        ev.window.event = what;
        ev.window.windowID = id;
        SDL_PushEvent(&ev);
    };
    const Uint32 id = SDL_GetWindowID(window);
    pushWindow(SDL_WINDOWEVENT_CLOSE, id);
    pushWindow(SDL_WINDOWEVENT_CLOSE, id + 1000);  // some other window: ignored
    pushKey(SDL_SCANCODE_F4, KMOD_LALT, 0);
    pushKey(SDL_SCANCODE_F4, KMOD_LALT, 1);  // auto-repeat: ignored
    pushKey(SDL_SCANCODE_F4, KMOD_NONE, 0);
    pushKey(SDL_SCANCODE_F2, KMOD_NONE, 0);
    pushKey(SDL_SCANCODE_B, KMOD_RALT, 0);
    pushWindow(SDL_WINDOWEVENT_FOCUS_LOST, id);
    pushWindow(SDL_WINDOWEVENT_FOCUS_GAINED, id);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);

    using T = platform::Event::Type;
    using K = platform::KeyCode;
    struct Want {
        T type;
        K key;
        bool alt;
    };
    const Want want[] = {{T::CloseRequested, K::Other, false}, {T::KeyDown, K::F4, true},
                         {T::KeyDown, K::F4, false},           {T::KeyDown, K::F2, false},
                         {T::KeyDown, K::Other, true},         {T::FocusLost, K::Other, false},
                         {T::FocusGained, K::Other, false},    {T::CloseRequested, K::Other, false}};
    for (const Want& w : want) {
        ASSERT_TRUE(platform_->PollEvent(e));
        EXPECT_EQ(e.type, w.type);
        if (w.type == T::KeyDown) {
            EXPECT_EQ(e.key, w.key);
            EXPECT_EQ(e.alt, w.alt);
        }
    }
    EXPECT_FALSE(platform_->PollEvent(e));
    EXPECT_TRUE(platform_->HasMainWindow());  // nothing closed the window behind the game's back
}

TEST_F(RealPlatformTest, MouseInBackBufferPixels) {
    int x = 0, y = 0;
    bool left = true, right = true;
    platform_->GetMouse(x, y, left, right);  // no pointer device here: just no crash and sane buttons
    EXPECT_FALSE(left);
    EXPECT_FALSE(right);
    EXPECT_FALSE(platform_->IsKeyDown(platform::KeyCode::Other));
    int dw = 0, dh = 0;
    platform_->DesktopSize(dw, dh);
    EXPECT_GT(dw, 0);
    EXPECT_GT(dh, 0);

    // A click that went down and up between two polls (a slow frame) reads as pressed once.
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_NE(window, nullptr);
    auto pushButton = [&](Uint32 type, Uint8 button, Uint32 id) {
        SDL_Event ev{};
        ev.type = type;
        ev.button.button = button;
        ev.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        ev.button.windowID = id;
        SDL_PushEvent(&ev);
    };
    const Uint32 id = SDL_GetWindowID(window);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, id);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, id);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, id + 1000);  // another window's: ignored
    platform::Event e;
    while (platform_->PollEvent(e)) {
    }
    platform_->GetMouse(x, y, left, right);
    EXPECT_TRUE(left);
    EXPECT_FALSE(right);
    platform_->GetMouse(x, y, left, right);
    EXPECT_FALSE(left) << "once only";
}

}  // namespace

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/sdl/texel_coverage.h"

using platform::Quad;
using platform::sdl::CameraView;
using platform::sdl::TexelCoverage;

namespace {

// A 1280 x 720 camera that maps pixel coordinates straight to clip space (row vectors).
constexpr int kW = 1280, kH = 720;
const std::array<float, 16> kOrtho = {2.0f / kW, 0, 0, 0, 0, -2.0f / kH, 0, 0, 0, 0, 1, 0, -1, 1, 0, 1};
const CameraView kCamera{kOrtho.data(), kW, kH};

// A quad of w x h pixels at (x, y) showing texels [u0, u1) x [v0, v1) of a tw x th texture,
// shifted by the half pixel the game applies to its corners.
Quad MakeQuad(float x, float y, float w, float h, float u0, float v0, float u1, float v1, int tw, int th) {
    Quad q;
    const float l = x - 0.5f, t = y - 0.5f;
    q.v[0] = {l, t, 0, u0 / tw, v0 / th};
    q.v[1] = {l + w, t, 0, u1 / tw, v0 / th};
    q.v[2] = {l, t + h, 0, u0 / tw, v1 / th};
    q.v[3] = {l + w, t + h, 0, u1 / tw, v1 / th};
    return q;
}

// Alpha-only picture: the left `opaqueColumns` columns opaque, the rest empty.
std::vector<uint32_t> Split(int w, int h, int opaqueColumns) {
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            px[static_cast<size_t>(y) * w + x] = x < opaqueColumns ? 0xFF808080u : 0x00000000u;
        }
    }
    return px;
}

}  // namespace

TEST(TexelCoverageTest, OpaqueOnlyWhereEveryReachableTexelIsOpaque) {
    TexelCoverage c;
    c.Reset(64, 32);
    const std::vector<uint32_t> px = Split(64, 32, 32);
    c.Mark(0, 0, 64, 32, px.data(), 64);

    // One texel per pixel on pixel edges: exactly the left half is sampled.
    const Quad left = MakeQuad(100, 100, 32, 32, 0, 0, 32, 32, 64, 32);
    EXPECT_TRUE(platform::sdl::IsPixelExact(left, kCamera, 64, 32));
    EXPECT_TRUE(c.SamplesOnlyOpaque(left, kCamera));
    // The whole texture reaches the empty half.
    EXPECT_FALSE(c.SamplesOnlyOpaque(MakeQuad(100, 100, 64, 32, 0, 0, 64, 32, 64, 32), kCamera));
    // Off the pixel grid, filtering reaches one texel further: into the empty tile.
    const Quad shifted = MakeQuad(100.25f, 100, 32, 32, 0, 0, 32, 32, 64, 32);
    EXPECT_FALSE(platform::sdl::IsPixelExact(shifted, kCamera, 64, 32));
    EXPECT_FALSE(c.SamplesOnlyOpaque(shifted, kCamera));
    // Scaled up twice, the same texels: no longer one texel per pixel.
    EXPECT_FALSE(platform::sdl::IsPixelExact(MakeQuad(100, 100, 64, 64, 0, 0, 32, 32, 64, 32), kCamera, 64, 32));
}

TEST(TexelCoverageTest, PartialUploadsKeepOnlyWhatBothKnow) {
    TexelCoverage c;
    c.Reset(32, 32);
    const Quad tile0 = MakeQuad(0, 0, 16, 16, 0, 0, 16, 16, 32, 32);
    // Never uploaded: neither opaque nor empty.
    EXPECT_FALSE(c.SamplesOnlyOpaque(tile0, kCamera));
    Quad q = tile0;
    EXPECT_TRUE(c.TrimToInk(q, kCamera));

    const std::vector<uint32_t> solid(16 * 16, 0xFFFFFFFFu);
    c.Mark(0, 0, 8, 8, solid.data(), 16);  // part of a tile never written: still unknown
    EXPECT_FALSE(c.SamplesOnlyOpaque(tile0, kCamera));
    c.Mark(0, 0, 16, 16, solid.data(), 16);  // the whole tile
    EXPECT_TRUE(c.SamplesOnlyOpaque(tile0, kCamera));
    const std::vector<uint32_t> clear(4 * 4, 0u);
    c.Mark(4, 4, 4, 4, clear.data(), 4);  // a hole: no longer opaque, and not empty either
    EXPECT_FALSE(c.SamplesOnlyOpaque(tile0, kCamera));
    q = tile0;
    EXPECT_TRUE(c.TrimToInk(q, kCamera));

    // Edge tiles are smaller: a 20 x 20 texture's last tile is whole at 4 x 4.
    TexelCoverage edge;
    edge.Reset(20, 20);
    edge.Mark(16, 16, 4, 4, solid.data(), 16);
    EXPECT_TRUE(edge.SamplesOnlyOpaque(MakeQuad(0, 0, 4, 4, 16, 16, 20, 20, 20, 20), kCamera));
}

TEST(TexelCoverageTest, EmptyQuadsAreDroppedAndInkedOnesTrimmed) {
    TexelCoverage c;
    c.Reset(64, 32);
    const std::vector<uint32_t> px = Split(64, 32, 16);  // ink in the first tile column only
    c.Mark(0, 0, 64, 32, px.data(), 64);

    Quad empty = MakeQuad(10, 10, 32, 32, 32, 0, 64, 32, 64, 32);
    EXPECT_FALSE(c.TrimToInk(empty, kCamera));

    // The whole texture: cut down to the ink tile and one texel of filtering beyond it.
    Quad whole = MakeQuad(10, 10, 64, 32, 0, 0, 64, 32, 64, 32);
    const Quad before = whole;
    ASSERT_TRUE(c.TrimToInk(whole, kCamera));
    EXPECT_FLOAT_EQ(whole.v[0].u, 0.0f);
    EXPECT_FLOAT_EQ(whole.v[1].u, 17.0f / 64.0f);
    EXPECT_FLOAT_EQ(whole.v[3].u, 17.0f / 64.0f);
    EXPECT_FLOAT_EQ(whole.v[1].x, before.v[0].x + 17.0f);
    EXPECT_FLOAT_EQ(whole.v[0].x, before.v[0].x);
    EXPECT_FLOAT_EQ(whole.v[2].y, before.v[2].y);  // rows all have ink: height kept

    // A turned quad (not a parallelogram of an upright texture rectangle) is left whole.
    Quad turned = MakeQuad(10, 10, 64, 32, 0, 0, 64, 32, 64, 32);
    turned.v[3].x += 5.0f;
    const Quad turnedBefore = turned;
    ASSERT_TRUE(c.TrimToInk(turned, kCamera));
    EXPECT_FLOAT_EQ(turned.v[1].x, turnedBefore.v[1].x);
}

// Quads under an opaque one are dropped only when nothing of them can show.
TEST(TexelCoverageTest, OnlyPixelAlignedUprightCoversHideWhatLiesWithin) {
    using platform::sdl::Hides;
    using platform::sdl::ScreenBounds;
    using platform::sdl::ScreenBox;
    ScreenBox cover{}, box{};
    ASSERT_TRUE(ScreenBounds(MakeQuad(0, 0, kW, kH, 0, 0, 64, 32, 64, 32), kCamera, cover));
    EXPECT_TRUE(cover.upright);
    EXPECT_NEAR(cover.x0, 0.0f, 1e-4f);
    EXPECT_NEAR(cover.y1, 720.0f, 1e-3f);
    // The same rectangle, one inside, one a quarter pixel over, one half a pixel over an edge.
    ASSERT_TRUE(ScreenBounds(MakeQuad(0, 0, kW, kH, 0, 0, 1, 1, 1, 1), kCamera, box));
    EXPECT_TRUE(Hides(cover, box));
    ASSERT_TRUE(ScreenBounds(MakeQuad(100, 100, 50, 50, 0, 0, 1, 1, 1, 1), kCamera, box));
    EXPECT_TRUE(Hides(cover, box));
    ASSERT_TRUE(ScreenBounds(MakeQuad(-0.25f, 10, 50, 50, 0, 0, 1, 1, 1, 1), kCamera, box));
    EXPECT_TRUE(Hides(cover, box)) << "reaches no pixel centre beyond the edge";
    ASSERT_TRUE(ScreenBounds(MakeQuad(1240.5f, 10, 40, 50, 0, 0, 1, 1, 1, 1), kCamera, box));
    EXPECT_FALSE(Hides(cover, box)) << "its last column's centre lies outside";

    // A cover off the pixel grid, or turned, hides nothing.
    ScreenBox shifted{};
    ASSERT_TRUE(ScreenBounds(MakeQuad(0.5f, 0, 640, 360, 0, 0, 1, 1, 1, 1), kCamera, shifted));
    ASSERT_TRUE(ScreenBounds(MakeQuad(100, 100, 50, 50, 0, 0, 1, 1, 1, 1), kCamera, box));
    EXPECT_FALSE(Hides(shifted, box));
    Quad turned = MakeQuad(0, 0, kW, kH, 0, 0, 1, 1, 1, 1);
    turned.v[1].y += 3.0f;
    ScreenBox tilted{};
    ASSERT_TRUE(ScreenBounds(turned, kCamera, tilted));
    EXPECT_FALSE(tilted.upright);
    EXPECT_FALSE(Hides(tilted, box));

    // Behind the camera: no box at all.
    const std::array<float, 16> flipped = {2.0f / kW, 0, 0, 0, 0, -2.0f / kH, 0, 0, 0, 0, 1, 0, -1, 1, 0, -1};
    EXPECT_FALSE(ScreenBounds(MakeQuad(0, 0, 10, 10, 0, 0, 1, 1, 1, 1), CameraView{flipped.data(), kW, kH}, box));
}

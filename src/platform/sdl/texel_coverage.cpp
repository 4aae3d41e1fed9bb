#include "platform/sdl/texel_coverage.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace platform::sdl {

bool IsPixelExact(const Quad& quad, const CameraView& camera, int textureWidth, int textureHeight) {
    // Where the corners land in window pixels (top-left origin), as the vertex shader puts them.
    const float* m = camera.viewProjection;
    double sx[4], sy[4], tu[4], tv[4];
    for (int i = 0; i < 4; ++i) {
        const Vertex& v = quad.v[i];
        const double cx = double{v.x} * m[0] + double{v.y} * m[4] + double{v.z} * m[8] + m[12];
        const double cy = double{v.x} * m[1] + double{v.y} * m[5] + double{v.z} * m[9] + m[13];
        const double cw = double{v.x} * m[3] + double{v.y} * m[7] + double{v.z} * m[11] + m[15];
        if (!(cw > 0.0)) {
            return false;
        }
        sx[i] = (cx / cw + 1.0) * 0.5 * camera.width + 0.5;
        sy[i] = (1.0 - cy / cw) * 0.5 * camera.height + 0.5;
        tu[i] = double{v.u} * textureWidth;
        tv[i] = double{v.v} * textureHeight;
    }
    constexpr double kEps = 1e-3;
    auto same = [](double a, double b) { return std::fabs(a - b) < kEps; };
    auto whole = [](double a) { return std::fabs(a - std::round(a)) < kEps; };
    return same(sx[0], sx[2]) && same(sx[1], sx[3]) && same(sy[0], sy[1]) && same(sy[2], sy[3]) &&
           same(tu[0], tu[2]) && same(tu[1], tu[3]) && same(tv[0], tv[1]) && same(tv[2], tv[3]) &&
           same(std::fabs(sx[1] - sx[0]), std::fabs(tu[1] - tu[0])) &&
           same(std::fabs(sy[2] - sy[0]), std::fabs(tv[2] - tv[0])) && whole(sx[0]) && whole(sy[0]) &&
           whole(tu[0]) && whole(tv[0]);
}

bool ScreenBounds(const Quad& quad, const CameraView& camera, ScreenBox& box) {
    const float* m = camera.viewProjection;
    double sx[4], sy[4];
    for (int i = 0; i < 4; ++i) {
        const Vertex& v = quad.v[i];
        const double cx = double{v.x} * m[0] + double{v.y} * m[4] + double{v.z} * m[8] + m[12];
        const double cy = double{v.x} * m[1] + double{v.y} * m[5] + double{v.z} * m[9] + m[13];
        const double cw = double{v.x} * m[3] + double{v.y} * m[7] + double{v.z} * m[11] + m[15];
        if (!(cw > 0.0) || !std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(cw)) {
            return false;
        }
        // As the vertex shader places them: half a pixel right and down.
        sx[i] = (cx / cw + 1.0) * 0.5 * camera.width + 0.5;
        sy[i] = (1.0 - cy / cw) * 0.5 * camera.height + 0.5;
    }
    constexpr double kEps = 1e-3;
    auto same = [](double a, double b) { return std::fabs(a - b) < kEps; };
    box.x0 = static_cast<float>(std::min({sx[0], sx[1], sx[2], sx[3]}));
    box.x1 = static_cast<float>(std::max({sx[0], sx[1], sx[2], sx[3]}));
    box.y0 = static_cast<float>(std::min({sy[0], sy[1], sy[2], sy[3]}));
    box.y1 = static_cast<float>(std::max({sy[0], sy[1], sy[2], sy[3]}));
    box.upright = same(sx[0], sx[2]) && same(sx[1], sx[3]) && same(sy[0], sy[1]) && same(sy[2], sy[3]);
    return true;
}

bool Hides(const ScreenBox& cover, const ScreenBox& box) {
    // Only covers whose edges lie on pixel edges: every pixel centre is then half a pixel from
    // them, so rounding in the rasteriser cannot move a centre in or out, and a box reaching a
    // quarter pixel beyond them still touches no centre outside.
    auto onEdge = [](float v) { return std::fabs(v - std::round(v)) < 1e-3f; };
    if (!cover.upright || !onEdge(cover.x0) || !onEdge(cover.x1) || !onEdge(cover.y0) || !onEdge(cover.y1)) {
        return false;
    }
    constexpr float kSlack = 0.25f;
    return box.x0 >= cover.x0 - kSlack && box.x1 <= cover.x1 + kSlack && box.y0 >= cover.y0 - kSlack &&
           box.y1 <= cover.y1 + kSlack;
}

void TexelCoverage::Reset(int width, int height) {
    width_ = width;
    height_ = height;
    tilesX_ = (width + kTile - 1) / kTile;
    tilesY_ = (height + kTile - 1) / kTile;
    tiles_.assign(static_cast<size_t>(tilesX_) * tilesY_, 0);
    nonOpaqueSums_.assign(static_cast<size_t>(tilesX_ + 1) * (tilesY_ + 1), 0);
    inkedSums_.assign(static_cast<size_t>(tilesX_ + 1) * (tilesY_ + 1), 0);
    Mark(0, 0, 0, 0, nullptr, 0);
}

// Number of counted tiles in the inclusive tile rectangle of a summed-area table.
int32_t TexelCoverage::CountIn(const std::vector<int32_t>& sums, int x0, int y0, int x1, int y1) const {
    const size_t stride = static_cast<size_t>(tilesX_) + 1;
    return sums[(y1 + 1) * stride + x1 + 1] - sums[y0 * stride + x1 + 1] - sums[(y1 + 1) * stride + x0] +
           sums[y0 * stride + x0];
}

void TexelCoverage::Mark(int x, int y, int w, int h, const uint32_t* argb, int pitch) {
    const int T = kTile;
    for (int ty = y / T; w > 0 && h > 0 && ty <= (y + h - 1) / T; ++ty) {
        const int r0 = std::max(y, ty * T), r1 = std::min(y + h, ty * T + T);
        const int tileRows = std::min(T, height_ - ty * T);
        for (int tx = x / T; tx <= (x + w - 1) / T; ++tx) {
            const int c0 = std::max(x, tx * T), c1 = std::min(x + w, tx * T + T);
            const int tileColumns = std::min(T, width_ - tx * T);
            bool opaque = true, empty = true;
            for (int r = r0; r < r1 && (opaque || empty); ++r) {
                const uint32_t* row = argb + static_cast<size_t>(r - y) * pitch;
                for (int c = c0; c < c1; ++c) {
                    const uint32_t alpha = row[c - x] >> 24;
                    opaque = opaque && alpha == 0xFFu;
                    empty = empty && alpha == 0u;
                }
            }
            // A tile only partly written keeps a property only if it had it and the new texels
            // have it too.
            uint8_t& tile = tiles_[static_cast<size_t>(ty) * tilesX_ + tx];
            const bool whole = r1 - r0 == tileRows && c1 - c0 == tileColumns;
            const uint8_t before = whole ? (kTileOpaque | kTileEmpty) : tile;
            tile = static_cast<uint8_t>((opaque ? kTileOpaque : 0) | (empty ? kTileEmpty : 0)) & before;
        }
    }
    const size_t stride = static_cast<size_t>(tilesX_) + 1;
    for (int ty = 0; ty < tilesY_; ++ty) {
        int32_t nonOpaqueRow = 0, inkedRow = 0;
        for (int tx = 0; tx < tilesX_; ++tx) {
            const uint8_t tile = tiles_[static_cast<size_t>(ty) * tilesX_ + tx];
            nonOpaqueRow += (tile & kTileOpaque) == 0 ? 1 : 0;
            inkedRow += (tile & kTileEmpty) == 0 ? 1 : 0;
            nonOpaqueSums_[(ty + 1) * stride + tx + 1] = nonOpaqueSums_[ty * stride + tx + 1] + nonOpaqueRow;
            inkedSums_[(ty + 1) * stride + tx + 1] = inkedSums_[ty * stride + tx + 1] + inkedRow;
        }
    }
}

bool TexelCoverage::Footprint(const Quad& quad, const CameraView& camera, TileRange& range) const {
    const double W = width_, H = height_;
    double u0 = std::numeric_limits<double>::infinity(), u1 = -u0, v0 = u0, v1 = -u0;
    for (const Vertex& v : quad.v) {
        u0 = std::min(u0, v.u * W);
        u1 = std::max(u1, v.u * W);
        v0 = std::min(v0, v.v * H);
        v1 = std::max(v1, v.v * H);
    }
    if (!std::isfinite(u0) || !std::isfinite(u1) || !std::isfinite(v0) || !std::isfinite(v1)) {
        return false;
    }
    // Texels that can be sampled: inside the coordinate rectangle when pixels meet texel centres,
    // else everything bilinear filtering can reach from it (edges clamp).
    double first[2], last[2];
    if (IsPixelExact(quad, camera, width_, height_)) {
        first[0] = std::round(u0), last[0] = std::round(u1) - 1.0;
        first[1] = std::round(v0), last[1] = std::round(v1) - 1.0;
    } else {
        first[0] = std::floor(u0 - 0.5), last[0] = std::floor(u1 - 0.5) + 1.0;
        first[1] = std::floor(v0 - 0.5), last[1] = std::floor(v1 - 0.5) + 1.0;
    }
    if (last[0] < first[0] || last[1] < first[1]) {
        return false;
    }
    range.x0 = static_cast<int>(std::clamp(first[0], 0.0, W - 1.0)) / kTile;
    range.x1 = static_cast<int>(std::clamp(last[0], 0.0, W - 1.0)) / kTile;
    range.y0 = static_cast<int>(std::clamp(first[1], 0.0, H - 1.0)) / kTile;
    range.y1 = static_cast<int>(std::clamp(last[1], 0.0, H - 1.0)) / kTile;
    return true;
}

bool TexelCoverage::SamplesOnlyOpaque(const Quad& quad, const CameraView& camera) const {
    if (nonOpaqueSums_.empty() || nonOpaqueSums_.back() == tilesX_ * tilesY_) {
        return false;  // nothing opaque in it at all
    }
    TileRange r{};
    return Footprint(quad, camera, r) && CountIn(nonOpaqueSums_, r.x0, r.y0, r.x1, r.y1) == 0;
}

bool TexelCoverage::TrimToInk(Quad& quad, const CameraView& camera) const {
    if (inkedSums_.empty() || inkedSums_.back() == tilesX_ * tilesY_) {
        return true;  // no empty tile anywhere
    }
    TileRange r{};
    if (!Footprint(quad, camera, r)) {
        return true;
    }
    const auto& sums = inkedSums_;
    if (CountIn(sums, r.x0, r.y0, r.x1, r.y1) == 0) {
        return false;  // alpha 0 everywhere: blending it changes nothing
    }
    // The tiles with ink within reach.
    TileRange ink = r;
    while (CountIn(sums, ink.x0, r.y0, ink.x0, r.y1) == 0) ++ink.x0;
    while (CountIn(sums, ink.x1, r.y0, ink.x1, r.y1) == 0) --ink.x1;
    while (CountIn(sums, r.x0, ink.y0, r.x1, ink.y0) == 0) ++ink.y0;
    while (CountIn(sums, r.x0, ink.y1, r.x1, ink.y1) == 0) --ink.y1;
    if (ink.x0 == r.x0 && ink.x1 == r.x1 && ink.y0 == r.y0 && ink.y1 == r.y1) {
        return true;
    }
    // Only an upright texture rectangle on a parallelogram can be cut by moving its corners: the
    // shape the game's sprites have.
    const Vertex* v = quad.v;
    if (v[0].u != v[2].u || v[1].u != v[3].u || v[0].v != v[1].v || v[2].v != v[3].v || v[0].u == v[1].u ||
        v[0].v == v[2].v) {
        return true;
    }
    const float ex = v[1].x + v[2].x - v[0].x, ey = v[1].y + v[2].y - v[0].y, ez = v[1].z + v[2].z - v[0].z;
    const float tolerance = 1e-4f * (1.0f + std::fabs(v[3].x) + std::fabs(v[3].y) + std::fabs(v[3].z));
    if (std::fabs(ex - v[3].x) > tolerance || std::fabs(ey - v[3].y) > tolerance || std::fabs(ez - v[3].z) > tolerance) {
        return true;
    }
    // Texel coordinates to keep: the ink tiles and one texel around them, which filtering at
    // their edges can reach. A sample outside that band reaches only empty tiles.
    const double W = width_, H = height_, T = kTile;
    const double keepU0 = ink.x0 > r.x0 ? ink.x0 * T - 1.0 : -1e30, keepU1 = ink.x1 < r.x1 ? (ink.x1 + 1) * T + 1.0 : 1e30;
    const double keepV0 = ink.y0 > r.y0 ? ink.y0 * T - 1.0 : -1e30, keepV1 = ink.y1 < r.y1 ? (ink.y1 + 1) * T + 1.0 : 1e30;
    // Positions along the edges (0 .. 1) where those coordinates lie.
    auto along = [](double from, double to, double keep0, double keep1, double& a0, double& a1) {
        double p = (keep0 - from) / (to - from), q = (keep1 - from) / (to - from);
        if (p > q) std::swap(p, q);
        a0 = std::clamp(p, 0.0, 1.0);
        a1 = std::clamp(q, 0.0, 1.0);
    };
    double a0, a1, b0, b1;
    along(v[0].u * W, v[1].u * W, keepU0, keepU1, a0, a1);
    along(v[0].v * H, v[2].v * H, keepV0, keepV1, b0, b1);
    if (!(a1 > a0) || !(b1 > b0) || (a0 == 0.0 && a1 == 1.0 && b0 == 0.0 && b1 == 1.0)) {
        return true;
    }
    const Vertex o = v[0];
    const double dx[3] = {double{v[1].x} - o.x, double{v[1].y} - o.y, double{v[1].z} - o.z};
    const double dy[3] = {double{v[2].x} - o.x, double{v[2].y} - o.y, double{v[2].z} - o.z};
    const double du = double{v[1].u} - o.u, dv = double{v[2].v} - o.v;
    auto corner = [&](double a, double b) {
        return Vertex{static_cast<float>(o.x + a * dx[0] + b * dy[0]), static_cast<float>(o.y + a * dx[1] + b * dy[1]),
                      static_cast<float>(o.z + a * dx[2] + b * dy[2]), static_cast<float>(o.u + a * du),
                      static_cast<float>(o.v + b * dv)};
    };
    quad.v[0] = corner(a0, b0);
    quad.v[1] = corner(a1, b0);
    quad.v[2] = corner(a0, b1);
    quad.v[3] = corner(a1, b1);
    return true;
}

}  // namespace platform::sdl

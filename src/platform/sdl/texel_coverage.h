#pragma once
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace platform::sdl {

// How the camera puts a quad on the back buffer: the row-vector view-projection matrix and the
// back buffer's size in pixels.
struct CameraView {
    const float* viewProjection = nullptr;  // 16 floats
    int width = 0;
    int height = 0;
};

// True when the quad lands as an upright rectangle on pixel edges with its texels on the same
// edges, one texel per pixel, in a texture of textureWidth x textureHeight: every pixel centre then
// samples a texel centre and filtering reaches no neighbour.
bool IsPixelExact(const Quad& quad, const CameraView& camera, int textureWidth, int textureHeight);

// Where a quad lands on the back buffer, in pixels (top-left origin, the edges the rasteriser
// sees): its bounding box, and whether it is an upright rectangle, so that it covers every pixel
// whose centre lies inside the box. False when a corner is behind the camera or not finite.
struct ScreenBox {
    float x0, y0, x1, y1;
    bool upright;
};
bool ScreenBounds(const Quad& quad, const CameraView& camera, ScreenBox& box);

// True when an opaque quad covering `cover` hides every pixel that a quad within `box` can touch:
// `cover` is upright with its edges on pixel edges, and `box` lies inside it.
bool Hides(const ScreenBox& cover, const ScreenBox& box);

// Which parts of a texture are opaque and which are empty (alpha 0), kept per tile of kTile x kTile
// texels (smaller at the right and bottom edges), with summed-area tables of the tiles that hold
// any texel not fully opaque, and any texel not empty. Texels never uploaded count as neither.
// Knows no graphics API: the renderer asks it before drawing a quad.
class TexelCoverage {
public:
    static constexpr int kTile = 16;

    // Texels a quad can sample, as inclusive tile ranges.
    struct TileRange {
        int x0, y0, x1, y1;
    };

    // A texture of width x height with nothing uploaded yet.
    void Reset(int width, int height);
    // Records the alpha of an uploaded rectangle (pitch in pixels between rows of argb).
    void Mark(int x, int y, int w, int h, const uint32_t* argb, int pitch);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // The tiles the quad can sample; false when it samples none (or its coordinates are not finite).
    bool Footprint(const Quad& quad, const CameraView& camera, TileRange& range) const;
    // True when every texel the quad can sample is known to be opaque.
    bool SamplesOnlyOpaque(const Quad& quad, const CameraView& camera) const;
    // False when every texel the quad can sample is empty; otherwise true, with the quad cut down
    // to the part whose texels are not all empty when that is smaller and the quad's shape allows.
    bool TrimToInk(Quad& quad, const CameraView& camera) const;

private:
    static constexpr uint8_t kTileOpaque = 1;
    static constexpr uint8_t kTileEmpty = 2;

    int32_t CountIn(const std::vector<int32_t>& sums, int x0, int y0, int x1, int y1) const;

    int width_ = 0;
    int height_ = 0;
    int tilesX_ = 0;
    int tilesY_ = 0;
    std::vector<uint8_t> tiles_;          // tilesX * tilesY, kTileOpaque | kTileEmpty bits
    std::vector<int32_t> nonOpaqueSums_;  // (tilesX + 1) * (tilesY + 1)
    std::vector<int32_t> inkedSums_;      // (tilesX + 1) * (tilesY + 1)
};

}  // namespace platform::sdl

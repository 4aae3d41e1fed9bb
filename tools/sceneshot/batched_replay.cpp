#include "batched_replay.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <memory>
#include <string>

#include "archive/archive.h"
#include "graphics/dds.h"
#include "graphics/dx_graphic.h"

namespace sceneshot {
namespace {

constexpr int kWhiteSide = 4;  // a white block for untextured quads, at the atlas's origin

// A texture's texels as the renderer holds them (textureWidth x textureHeight, the picture in
// the top-left corner, transparent padding), from the archive for pictures and from the cache
// for canvases. Empty when neither knows the handle.
struct Source {
    int width = 0, height = 0;  // texture size
    std::vector<uint32_t> texels;
};

bool LoadSource(platform::TextureHandle handle, Source& out) {
    DxGraphic& g = DxGraphic::Instance();
    for (const auto& [name, bytes] : g.TextureSizes()) {
        if (const DxGraphic::CacheEntry* c = g.FindCanvas(name); c != nullptr && c->texture == handle) {
            out.width = c->textureWidth;
            out.height = c->textureHeight;
            out.texels.assign(static_cast<size_t>(out.width) * out.height, 0u);
            for (int y = 0; y < c->height && y < out.height; ++y) {
                for (int x = 0; x < c->width && x < out.width; ++x) {
                    const size_t at = static_cast<size_t>(y) * c->width + x;
                    if (at < c->pixels.size()) out.texels[static_cast<size_t>(y) * out.width + x] = c->pixels[at];
                }
            }
            return true;
        }
        const DxGraphic::CacheEntry* e = g.FindTexture(name);
        if (e == nullptr || e->texture != handle) continue;
        std::string file = name;
        if (const size_t pos = file.find(".png"); pos != std::string::npos) file.replace(pos, 4, ".dds");
        ArchiveIndex& archive = Archive(ArchiveId::Images);
        if (archive.Open(file) != 0) return false;
        out.width = e->textureWidth;
        out.height = e->textureHeight;
        out.texels.assign(static_cast<size_t>(out.width) * out.height, 0u);
        std::string error;
        const bool ok = dds::DecodeInto(archive.Data(), archive.Size(), out.texels.data(),
                                        static_cast<size_t>(out.width), error);
        archive.Close();
        return ok;
    }
    return false;
}

// The part of a texture the frame samples: the texel rectangle its quads reach, two texels
// wider on each side for filtering, within the texture.
struct Region {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // inclusive-exclusive texel bounds
    int atlasX = 0, atlasY = 0;          // where texel (x0, y0) goes
};

double FramesPerSecond(const std::vector<platform::Quad>& quads, uint32_t clear, int frames) {
    platform::Platform& p = platform::Get();
    const auto t0 = std::chrono::steady_clock::now();
    for (int f = 0; f < frames; ++f) {
        p.BeginFrame(clear);
        for (const platform::Quad& q : quads) p.DrawQuad(q);
        p.EndFrame();
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return s > 0 ? frames / s : 0;
}

std::vector<uint32_t> ReadBack() {
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    platform::Get().ReadBackBuffer(px, w, h);
    return px;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

ReplayFigures ReplayBatched(const std::vector<platform::Quad>& quads, uint32_t clearArgb, int framesPerRound,
                            int rounds) {
    ReplayFigures r;
    r.quads = quads.size();
    // The sampled texel rectangle of each texture.
    std::map<platform::TextureHandle, Source> sources;
    std::map<platform::TextureHandle, Region> regions;
    for (const platform::Quad& q : quads) {
        if (q.texture == 0) continue;
        auto [it, fresh] = sources.try_emplace(q.texture);
        if (fresh && !LoadSource(q.texture, it->second)) {
            r.error = "texture " + std::to_string(q.texture) + " is neither a picture nor a canvas";
            return r;
        }
        const Source& s = it->second;
        float u0 = 1e9f, u1 = -1e9f, v0 = 1e9f, v1 = -1e9f;
        for (const platform::Vertex& v : q.v) {
            u0 = std::min(u0, v.u * s.width);
            u1 = std::max(u1, v.u * s.width);
            v0 = std::min(v0, v.v * s.height);
            v1 = std::max(v1, v.v * s.height);
        }
        Region want{std::max(0, static_cast<int>(std::floor(u0)) - 2), std::max(0, static_cast<int>(std::floor(v0)) - 2),
                    std::min(s.width, static_cast<int>(std::ceil(u1)) + 2),
                    std::min(s.height, static_cast<int>(std::ceil(v1)) + 2)};
        auto [rit, first] = regions.try_emplace(q.texture, want);
        if (!first) {
            Region& g = rit->second;
            g.x0 = std::min(g.x0, want.x0);
            g.y0 = std::min(g.y0, want.y0);
            g.x1 = std::max(g.x1, want.x1);
            g.y1 = std::max(g.y1, want.y1);
        }
    }
    r.textures = regions.size() + 1;
    // Shelf packing, tallest first, each region with a ring of one texel.
    std::vector<platform::TextureHandle> order;
    for (const auto& [h, g] : regions) order.push_back(h);
    std::sort(order.begin(), order.end(), [&](auto a, auto b) {
        return regions[a].y1 - regions[a].y0 > regions[b].y1 - regions[b].y0;
    });
    for (int side : {2048, 4096, 8192}) {
        int x = kWhiteSide + 1, y = 1, shelf = kWhiteSide;
        bool fits = true;
        for (platform::TextureHandle h : order) {
            Region& g = regions[h];
            const int w = g.x1 - g.x0 + 2, ht = g.y1 - g.y0 + 2;
            if (x + w > side) {
                x = 0;
                y += shelf;
                shelf = 0;
            }
            if (w > side || y + ht > side) {
                fits = false;
                break;
            }
            g.atlasX = x + 1;
            g.atlasY = y + 1;
            x += w;
            shelf = std::max(shelf, ht);
        }
        if (fits) {
            r.atlasSide = side;
            break;
        }
    }
    if (r.atlasSide == 0) {
        r.error = "the sampled texels do not fit an 8192 atlas";
        return r;
    }
    const int A = r.atlasSide;
    std::vector<uint32_t> atlas(static_cast<size_t>(A) * A, 0u);
    for (int y = 0; y < kWhiteSide; ++y) {
        for (int x = 0; x < kWhiteSide; ++x) atlas[static_cast<size_t>(y) * A + x] = 0xFFFFFFFFu;
    }
    for (const auto& [h, g] : regions) {
        const Source& s = sources[h];
        // The ring repeats the texture's own neighbours, clamped at its edges as the sampler does.
        for (int ry = g.y0 - 1; ry <= g.y1; ++ry) {
            for (int rx = g.x0 - 1; rx <= g.x1; ++rx) {
                const int sx = std::clamp(rx, 0, s.width - 1), sy = std::clamp(ry, 0, s.height - 1);
                atlas[static_cast<size_t>(g.atlasY + ry - g.y0) * A + (g.atlasX + rx - g.x0)] =
                    s.texels[static_cast<size_t>(sy) * s.width + sx];
            }
        }
    }
    platform::Platform& p = platform::Get();
    const platform::TextureHandle atlasTexture = p.CreateTexture(A, A);
    p.UploadTexture(atlasTexture, 0, 0, A, A, atlas.data(), A);
    std::vector<platform::Quad> batched = quads;
    for (platform::Quad& q : batched) {
        if (q.texture == 0) {
            for (platform::Vertex& v : q.v) v.u = v.v = (kWhiteSide / 2.0f) / static_cast<float>(A);
        } else {
            const Source& s = sources[q.texture];
            const Region& g = regions[q.texture];
            for (platform::Vertex& v : q.v) {
                v.u = (v.u * static_cast<float>(s.width) - static_cast<float>(g.x0) + static_cast<float>(g.atlasX)) / A;
                v.v = (v.v * static_cast<float>(s.height) - static_cast<float>(g.y0) + static_cast<float>(g.atlasY)) / A;
            }
        }
        q.texture = atlasTexture;
    }
    // Same pixels?
    FramesPerSecond(quads, clearArgb, 1);
    const std::vector<uint32_t> scenePixels = ReadBack();
    FramesPerSecond(batched, clearArgb, 1);
    const std::vector<uint32_t> batchPixels = ReadBack();
    for (size_t i = 0; i < scenePixels.size() && i < batchPixels.size(); ++i) {
        int worst = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const int a = static_cast<int>((scenePixels[i] >> shift) & 0xFFu), b = static_cast<int>((batchPixels[i] >> shift) & 0xFFu);
            worst = std::max(worst, std::abs(a - b));
        }
        if (worst > 2) ++r.differing;
        r.worst = std::max(r.worst, worst);
    }
    std::vector<double> scene, batch;
    for (int round = 0; round < rounds; ++round) {
        scene.push_back(FramesPerSecond(quads, clearArgb, framesPerRound));
        batch.push_back(FramesPerSecond(batched, clearArgb, framesPerRound));
    }
    p.DestroyTexture(atlasTexture);
    r.sceneFps = Median(scene);
    r.batchedFps = Median(batch);
    r.ok = true;
    return r;
}

}  // namespace sceneshot

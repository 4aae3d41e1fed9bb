#include <cmath>

#include "core/result.h"
#include "graphics/dx_graphic.h"

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kDegToRad = kPi / 180.0f;

// A colour channel 0..1 as a byte: times 255, truncated, limited to 0..255 (NaN gives 0).
uint32_t ChannelByte(float v) {
    const float scaled = v * 255.0f;
    if (!(scaled > 0.0f)) {
        return 0;
    }
    if (scaled >= 255.0f) {
        return 255;
    }
    return static_cast<uint32_t>(scaled);
}

}  // namespace

int DxGraphic::DrawSprite(const SpriteDesc& sprite, const SpriteVec3& position, float offsetX, float offsetY,
                          float offsetZ) {
    const bool shown = sprite.visible && sprite.alpha != 0.0f && !frameHidden_;
    // Sprites that draw nothing are looked up only while a scene change's release is pending.
    if (!shown && !releasePending_) {
        return S_OK_RESULT;
    }
    // Whatever a scene draws, or keeps to draw, counts as used by it (see ReleaseUnused).
    Cache& cache = sprite.isText() ? canvases_ : textures_;
    auto it = cache.find(sprite.textureName);
    if (it != cache.end()) {
        it->second.lastUse = useMark_;
    }
    if (!shown) {
        return S_OK_RESULT;
    }
    // A picture released since it was loaded (it was not in use at a scene change) is loaded again.
    if (it == cache.end() && !sprite.isText() && !sprite.textureName.empty()) {
        int w = 0, h = 0;
        GetTexture(sprite.textureName, w, h);
        it = cache.find(sprite.textureName);
    }
    const CacheEntry* entry = it != cache.end() ? &it->second : nullptr;
    const platform::TextureHandle texture = entry != nullptr ? entry->texture : 0;
    // A text image without its canvas has nothing to show; drawn as a plane it would cover the
    // whole screen in the text colour.
    if (sprite.isText() && texture == 0) {
        return S_OK_RESULT;
    }

    // Source rectangle: the image's own, else the whole picture, else the whole back buffer.
    SpriteDesc::Rect r;
    if (sprite.useSourceRect) {
        r = sprite.sourceRect;
    } else if (texture != 0) {
        r = {0, 0, entry->width, entry->height};
    } else {
        r = {0, 0, width_, height_};
    }
    const float left = static_cast<float>(r.left), top = static_cast<float>(r.top);
    const float right = static_cast<float>(r.right), bottom = static_cast<float>(r.bottom);

    // Texture coordinates divide by the texture's level-0 size (pictures sit in power-of-two
    // textures, so a picture's right edge is usually below u = 1).
    float uL = 0.0f, uR = 0.0f, vT = 0.0f, vB = 0.0f;
    if (texture != 0) {
        const int tw = entry->textureWidth > 0 ? entry->textureWidth : entry->width;
        const int th = entry->textureHeight > 0 ? entry->textureHeight : entry->height;
        if (tw > 0 && th > 0) {
            const float W = static_cast<float>(tw), H = static_cast<float>(th);
            uL = left / W;
            uR = right / W;
            vT = top / H;
            vB = bottom / H;
        }
    }

    platform::Quad quad;
    quad.argb = ChannelByte(sprite.alpha) << 24 | ChannelByte(sprite.red) << 16 | ChannelByte(sprite.green) << 8 |
                ChannelByte(sprite.blue);
    quad.blend = sprite.blendMode;
    quad.texture = texture;

    // Corners in strip order with the rectangle's top-left moved to the origin.
    const float w = right - left, h = bottom - top;
    float px[4] = {0.0f, w, 0.0f, w};
    float py[4] = {0.0f, 0.0f, h, h};
    float pz[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    const float us[4] = {uL, uR, uL, uR};
    const float vs[4] = {vT, vT, vB, vB};

    // Scale about the pivot (fractions of the drawn size).
    const float cx = w * sprite.scalePivot.x, cy = h * sprite.scalePivot.y;
    if (sprite.scaleEnabled) {
        const float sx = sprite.scale.x, sy = sprite.scale.y, sz = sprite.scale.z;
        for (int i = 0; i < 4; ++i) {
            px[i] = (px[i] - cx) * sx + cx;
            py[i] = (py[i] - cy) * sy + cy;
            pz[i] = pz[i] * sz;
        }
    }

    // Rotate about X, then Y, then Z around the pivot, which the scaling carries along.
    if (sprite.rotationEnabled) {
        float qx = w * sprite.rotationPivot.x, qy = h * sprite.rotationPivot.y;
        if (sprite.scaleEnabled) {
            qx = qx * sprite.scale.x + (1.0f - sprite.scale.x) * cx;
            qy = qy * sprite.scale.y + (1.0f - sprite.scale.y) * cy;
        }
        for (int i = 0; i < 4; ++i) {
            px[i] -= qx;
            py[i] -= qy;
        }
        if (sprite.rotation.x != 0.0f) {
            const float a = sprite.rotation.x * kDegToRad, c = std::cos(a), s = std::sin(a);
            for (int i = 0; i < 4; ++i) {
                const float y = py[i], z = pz[i];
                py[i] = y * c - z * s;
                pz[i] = y * s + z * c;
            }
        }
        if (sprite.rotation.y != 0.0f) {
            const float a = sprite.rotation.y * kDegToRad, c = std::cos(a), s = std::sin(a);
            for (int i = 0; i < 4; ++i) {
                const float x = px[i], z = pz[i];
                px[i] = x * c + z * s;
                pz[i] = -x * s + z * c;
            }
        }
        if (sprite.rotation.z != 0.0f) {
            const float a = sprite.rotation.z * kDegToRad, c = std::cos(a), s = std::sin(a);
            for (int i = 0; i < 4; ++i) {
                const float x = px[i], y = py[i];
                px[i] = x * c - y * s;
                py[i] = x * s + y * c;
            }
        }
        for (int i = 0; i < 4; ++i) {
            px[i] += qx;
            py[i] += qy;
        }
    }

    // Place it; the transform is affine, so the homogeneous divide is by 1. The half-pixel shift
    // puts texel centres on pixel centres under the camera.
    float x = position.x, y = position.y;
    if (sprite.followShake) {
        x += static_cast<float>(shakeX_);
        y += static_cast<float>(shakeY_);
    }
    const float tx = x + offsetX, ty = y + offsetY, tz = position.z + offsetZ;
    for (int i = 0; i < 4; ++i) {
        quad.v[i] = {px[i] + tx - 0.5f, py[i] + ty - 0.5f, pz[i] + tz, us[i], vs[i]};
    }

    if (sprite.blendMode != blendMode_) {
        SetBlendMode(sprite.blendMode);
    }
    platform::Get().DrawQuad(quad);
    return S_OK_RESULT;
}

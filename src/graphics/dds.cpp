#include "graphics/dds.h"

#include <bit>
#include <cstring>

namespace dds {
namespace {

constexpr uint32_t kMagic = 0x20534444u;  // "DDS "
constexpr uint32_t kHeaderSize = 124;
constexpr uint32_t kPixelFormatSize = 32;
constexpr uint32_t kFlagsCaps = 0x1, kFlagsHeight = 0x2, kFlagsWidth = 0x4, kFlagsPitch = 0x8,
                   kFlagsPixelFormat = 0x1000;
constexpr uint32_t kPfAlphaPixels = 0x1, kPfFourCC = 0x4, kPfRgb = 0x40;
constexpr uint32_t kCapsTexture = 0x1000;
constexpr int kMaxSide = 16384;

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
    out[at + 2] = static_cast<uint8_t>(v >> 16);
    out[at + 3] = static_cast<uint8_t>(v >> 24);
}

uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

int MaskShift(uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int s = 0;
    while (((mask >> s) & 1u) == 0) {
        ++s;
    }
    return s;
}

uint32_t Extract(uint32_t pixel, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = MaskShift(mask);
    const uint32_t max = mask >> shift;
    const uint32_t v = (pixel & mask) >> shift;
    return max == 255 ? v : (v * 255 + max / 2) / max;
}

}  // namespace

std::vector<uint8_t> EncodeArgb(int width, int height, const uint32_t* argb) {
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint8_t> out(128 + pixels * 4, 0);
    Put32(out, 0, kMagic);
    Put32(out, 4, kHeaderSize);
    Put32(out, 8, kFlagsCaps | kFlagsHeight | kFlagsWidth | kFlagsPitch | kFlagsPixelFormat);
    Put32(out, 12, static_cast<uint32_t>(height));
    Put32(out, 16, static_cast<uint32_t>(width));
    Put32(out, 20, static_cast<uint32_t>(width) * 4);
    Put32(out, 28, 1);  // one mip level
    Put32(out, 76, kPixelFormatSize);
    Put32(out, 80, kPfRgb | kPfAlphaPixels);
    Put32(out, 88, 32);
    Put32(out, 92, 0x00FF0000u);
    Put32(out, 96, 0x0000FF00u);
    Put32(out, 100, 0x000000FFu);
    Put32(out, 104, 0xFF000000u);
    Put32(out, 108, kCapsTexture);
    for (size_t i = 0; i < pixels; ++i) {
        Put32(out, 128 + i * 4, argb[i]);
    }
    return out;
}

bool PeekSize(const uint8_t* data, size_t size, int& width, int& height) {
    if (data == nullptr || size < 128 || Get32(data) != kMagic || Get32(data + 4) != kHeaderSize) {
        return false;
    }
    const uint32_t h = Get32(data + 12);
    const uint32_t w = Get32(data + 16);
    if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) {
        return false;
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool Check(const uint8_t* data, size_t size, int& width, int& height, std::string& error) {
    int w = 0, h = 0;
    if (!PeekSize(data, size, w, h)) {
        error = "not a DDS file or bad size";
        return false;
    }
    const uint8_t* pf = data + 76;
    if (Get32(pf) != kPixelFormatSize) {
        error = "bad pixel format size";
        return false;
    }
    const uint32_t pfFlags = Get32(pf + 4);
    if ((pfFlags & kPfFourCC) != 0 || (pfFlags & kPfRgb) == 0 || Get32(pf + 12) != 32) {
        error = "unsupported pixel format (only uncompressed 32-bit)";
        return false;
    }
    if ((size - 128) / 4 < static_cast<size_t>(w) * static_cast<size_t>(h)) {
        error = "pixel data truncated";
        return false;
    }
    width = w;
    height = h;
    return true;
}

bool DecodeInto(const uint8_t* data, size_t size, uint32_t* out, size_t pitchPixels, std::string& error) {
    int w = 0, h = 0;
    if (!Check(data, size, w, h, error)) {
        return false;
    }
    const uint8_t* pf = data + 76;
    const uint32_t pfFlags = Get32(pf + 4);
    const uint32_t rMask = Get32(pf + 16), gMask = Get32(pf + 20), bMask = Get32(pf + 24);
    const uint32_t aMask = (pfFlags & kPfAlphaPixels) != 0 ? Get32(pf + 28) : 0;
    const size_t width = static_cast<size_t>(w);
    if (out == nullptr || pitchPixels < width) {
        error = "no room for the pixels";
        return false;
    }
    const uint8_t* p = data + 128;
    const bool standard = rMask == 0x00FF0000u && gMask == 0x0000FF00u && bMask == 0x000000FFu;
    for (int y = 0; y < h; ++y) {
        uint32_t* row = out + static_cast<size_t>(y) * pitchPixels;
        if (std::endian::native == std::endian::little && standard && aMask == 0xFF000000u) {
            // The packer's own layout: the file's rows are the texels already (little-endian).
            std::memcpy(row, p, width * 4);
            p += width * 4;
            continue;
        }
        for (size_t x = 0; x < width; ++x, p += 4) {
            const uint32_t v = Get32(p);
            if (standard) {
                row[x] = v | 0xFF000000u;
            } else {
                const uint32_t a = aMask != 0 ? Extract(v, aMask) : 255;
                row[x] = (a << 24) | (Extract(v, rMask) << 16) | (Extract(v, gMask) << 8) | Extract(v, bMask);
            }
        }
    }
    return true;
}

bool Decode(const uint8_t* data, size_t size, Image& out, std::string& error) {
    int w = 0, h = 0;
    if (!Check(data, size, w, h, error)) {
        return false;
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
    if (!DecodeInto(data, size, pixels.data(), static_cast<size_t>(w), error)) return false;
    out.width = w;
    out.height = h;
    out.argb = std::move(pixels);
    return true;
}

}  // namespace dds

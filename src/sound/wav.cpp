#include "sound/wav.h"

#include <cstring>

namespace sound {
namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
bool Tag(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

}  // namespace

WavResult ParseWav(const uint8_t* bytes, size_t size, WavData& out) {
    out = WavData{};
    if (bytes == nullptr || size < 36) {
        // Too short for the tags: a layout failure when the tags that are there are wrong.
        if (bytes != nullptr && size >= 4 && !Tag(bytes, "RIFF")) {
            return WavResult::Layout;
        }
        return WavResult::Truncated;
    }
    if (!Tag(bytes, "RIFF") || !Tag(bytes + 8, "WAVE") || !Tag(bytes + 12, "fmt ") || U16(bytes + 20) != 1) {
        return WavResult::Layout;
    }
    const uint32_t fmtSize = U32(bytes + 16);
    if (fmtSize < 16) {
        return WavResult::Truncated;  // the 16 bytes just read would belong to another chunk
    }
    out.format.formatTag = 1;
    out.format.channels = U16(bytes + 22);
    out.format.samplesPerSec = U32(bytes + 24);
    out.format.avgBytesPerSec = U32(bytes + 28);
    out.format.blockAlign = U16(bytes + 32);
    out.format.bitsPerSample = U16(bytes + 34);

    size_t pos = 36;
    const size_t extra = fmtSize - 16u;
    if (extra > size - pos) {
        return WavResult::Truncated;
    }
    pos += extra;
    if (size - pos < 8) {
        return WavResult::Truncated;
    }
    if (Tag(bytes + pos, "fact")) {
        pos += 12;
        if (pos > size || size - pos < 8) {
            return WavResult::Truncated;
        }
    }
    if (!Tag(bytes + pos, "data")) {
        return WavResult::Layout;
    }
    const uint32_t dataSize = U32(bytes + pos + 4);
    pos += 8;
    if (dataSize > size - pos) {
        return WavResult::Truncated;
    }
    out.pcm = bytes + pos;
    out.pcmBytes = dataSize;
    return WavResult::Ok;
}

}  // namespace sound

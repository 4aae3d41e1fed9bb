#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/audio/audio.h"

namespace sound {

enum class WavResult {
    Ok,
    Layout,     // not the accepted layout (wrong tags, not PCM, another chunk before "data"): silent
    Truncated,  // a field or the data lies past the end of the bytes, or a size field lies
};

struct WavData {
    platform::audio::PcmFormat format;
    const uint8_t* pcm = nullptr;  // points into the parsed bytes
    uint32_t pcmBytes = 0;
};

// Reads the effect WAV layout: "RIFF" size "WAVE" "fmt " F, the 16 PCM fmt bytes, F - 16 bytes
// skipped when F > 16, an optional 12-byte "fact" chunk, then "data" D and D bytes of PCM. No
// other chunk is walked. Every field is checked against size before it is read.
WavResult ParseWav(const uint8_t* bytes, size_t size, WavData& out);

}  // namespace sound

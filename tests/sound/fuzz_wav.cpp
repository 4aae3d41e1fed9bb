// libFuzzer target: the effect WAV reader and, for layouts it accepts, a buffer built and mixed
// from the result.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/audio/audio.h"
#include "sound/wav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sound::WavData wav;
    if (sound::ParseWav(data, size, wav) != sound::WavResult::Ok) {
        return 0;
    }
    // The PCM must lie inside the input.
    if (wav.pcm < data || wav.pcm + wav.pcmBytes > data + size) {
        __builtin_trap();
    }
    static platform::audio::Mixer mixer;
    uint32_t bytes = wav.pcmBytes;
    if (wav.format.blockAlign != 0) {
        bytes -= bytes % wav.format.blockAlign;
    }
    auto buffer = mixer.CreateBuffer(wav.format, bytes);
    if (!buffer) {
        return 0;
    }
    uint8_t *p1, *p2;
    uint32_t n1, n2;
    if (buffer->Lock(0, bytes, &p1, &n1, &p2, &n2) == 0) {
        std::memcpy(p1, wav.pcm, n1);
        buffer->Unlock(p1, n1, p2, n2);
    }
    buffer->Play(true);
    int16_t out[2 * 256];
    mixer.Mix(out, 256);
    return 0;
}

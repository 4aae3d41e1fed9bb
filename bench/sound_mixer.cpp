// Cost of the software mixer: one second of output (44100 stereo frames, pulled in slices of 1024
// as SDL's callback does) with the one-second music buffer and eight effects of assorted formats
// all playing. The time per iteration is the CPU time one second of sound costs.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/headless/headless_audio.h"

using namespace platform::audio;

namespace {

PcmFormat Format(uint16_t channels, uint32_t rate, uint16_t bits) { return PcmFormat::Make(channels, rate, bits); }

std::unique_ptr<SoundBuffer> Tone(Mixer& mixer, const PcmFormat& f, double seconds, double hz, int32_t att) {
    const uint32_t frames = static_cast<uint32_t>(f.samplesPerSec * seconds);
    auto b = mixer.CreateBuffer(f, frames * f.blockAlign);
    uint8_t *p1, *p2;
    uint32_t n1, n2;
    b->Lock(0, frames * f.blockAlign, &p1, &n1, &p2, &n2);
    for (uint32_t i = 0; i < frames; ++i) {
        const double v = std::sin(6.283185307 * hz * i / f.samplesPerSec);
        for (int c = 0; c < f.channels; ++c) {
            if (f.bitsPerSample == 16) {
                const int16_t s = static_cast<int16_t>(v * 12000);
                std::memcpy(p1 + (static_cast<size_t>(i) * f.channels + c) * 2, &s, 2);
            } else {
                p1[static_cast<size_t>(i) * f.channels + c] = static_cast<uint8_t>(128 + v * 60);
            }
        }
    }
    b->Unlock(p1, n1, p2, n2);
    b->SetVolume(att);
    b->Play(true);
    return b;
}

void BM_MixOneSecondMusicAndEightEffects(benchmark::State& state) {
    Mixer mixer;
    HeadlessAudioDevice device;
    device.SetRecording(false);
    device.Open(&mixer);
    std::vector<std::unique_ptr<SoundBuffer>> buffers;
    EventGroup events;
    buffers.push_back(Tone(mixer, Format(2, 44100, 16), 1.0, 220, -999));  // the music buffer
    const Notification n[2] = {{0, &events, 0}, {88200, &events, 1}};
    buffers.back()->SetNotificationPositions(n, 2);
    buffers.push_back(Tone(mixer, Format(2, 44100, 16), 0.7, 440, -1736));
    buffers.push_back(Tone(mixer, Format(2, 44100, 16), 0.3, 660, -1736));
    buffers.push_back(Tone(mixer, Format(1, 44100, 16), 0.5, 330, -1736));
    buffers.push_back(Tone(mixer, Format(1, 22050, 16), 0.4, 550, -1736));
    buffers.push_back(Tone(mixer, Format(2, 22050, 16), 0.6, 770, -1736));
    buffers.push_back(Tone(mixer, Format(1, 11025, 8), 0.2, 880, -1736));
    buffers.push_back(Tone(mixer, Format(2, 48000, 16), 0.9, 990, -1736));
    buffers.push_back(Tone(mixer, Format(1, 32000, 8), 0.8, 1100, -1736));
    for (auto _ : state) {
        for (uint32_t done = 0; done < 44100; done += 1024) {
            device.Advance(std::min<uint32_t>(1024, 44100 - done));
        }
        events.Reset();
    }
    device.Close();
}
BENCHMARK(BM_MixOneSecondMusicAndEightEffects)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

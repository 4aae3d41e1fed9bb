#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio/audio.h"

namespace platform::audio {

// Audio device for tests and benchmarks: nothing plays by itself; Advance(frames) mixes exactly
// that many output frames and keeps them for the test to read.
class HeadlessAudioDevice final : public Device {
public:
    bool Open(Mixer* mixer) override;
    void Close() override;

    bool IsOpen() const;
    // Mixes frames stereo frames (nothing when closed) and appends them to the recording when
    // recording is on. Returns the number of frames mixed.
    uint32_t Advance(uint32_t frames);
    // Interleaved left/right samples mixed since the last ClearRecording.
    const std::vector<int16_t>& Recorded() const { return recorded_; }
    void ClearRecording() { recorded_.clear(); }
    void SetRecording(bool on) { recording_ = on; }
    uint64_t FramesMixed() const { return framesMixed_; }

private:
    mutable std::mutex mutex_;
    Mixer* mixer_ = nullptr;
    std::vector<int16_t> scratch_;
    std::vector<int16_t> recorded_;
    bool recording_ = true;
    uint64_t framesMixed_ = 0;
};

// Installs a headless device as the sound device and returns it (owned by the device slot).
HeadlessAudioDevice* InstallHeadlessDevice();

}  // namespace platform::audio

#include "platform/headless/headless_audio.h"

namespace platform::audio {

bool HeadlessAudioDevice::Open(Mixer* mixer) {
    std::lock_guard<std::mutex> lock(mutex_);
    mixer_ = mixer;
    return mixer != nullptr;
}

void HeadlessAudioDevice::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    mixer_ = nullptr;
}

bool HeadlessAudioDevice::IsOpen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return mixer_ != nullptr;
}

uint32_t HeadlessAudioDevice::Advance(uint32_t frames) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (mixer_ == nullptr) {
        return 0;
    }
    scratch_.resize(static_cast<size_t>(frames) * kOutputChannels);
    mixer_->Mix(scratch_.data(), frames);
    if (recording_) {
        recorded_.insert(recorded_.end(), scratch_.begin(), scratch_.end());
    }
    framesMixed_ += frames;
    return frames;
}

HeadlessAudioDevice* InstallHeadlessDevice() {
    auto device = std::make_unique<HeadlessAudioDevice>();
    HeadlessAudioDevice* raw = device.get();
    InstallDevice(std::move(device));
    return raw;
}

}  // namespace platform::audio

// The sound service's device: start-up and shut-down. Effects are in dx_sound_effects.cpp, the
// streamed music in dx_sound_music.cpp.
#include "sound/dx_sound.h"

#include <algorithm>
#include <thread>

#include "core/result.h"
#include "platform/debug.h"
#include "platform/platform.h"
#include "platform/text_encoding.h"

namespace {

using platform::audio::PcmFormat;

constexpr int kWakeEvent = 2;  // event index used only to wake the music thread at shut-down
constexpr uint32_t kClockChunkFrames = 1024;
// At most this much time is caught up at once (after a stall the sound does not race ahead).
constexpr uint64_t kClockMaxCatchUpMs = 5000;

// The music buffer: 44100 Hz, stereo, 16-bit (block align 4, 176400 bytes per second).
PcmFormat MusicFormat() { return PcmFormat::Make(2, 44100, 16); }

}  // namespace

struct DxSound::Worker {
    std::thread thread;
};

DxSound::DxSound() = default;

// At process exit other function-local statics (the debug sink, converted texts) may already be
// gone: tear down without writing anything.
DxSound::~DxSound() { Teardown(true); }

// --- Device ---------------------------------------------------------------------------------------

int DxSound::Init() {
    if (initialized_) {
        return S_OK_RESULT;
    }
    mixer_ = std::make_unique<platform::audio::Mixer>();
    device_ = platform::audio::AcquireDevice();
    clockPulled_ = false;
    if (!device_->Open(mixer_.get())) {
        // Not even the dummy driver: the game goes on silent, with UpdateSe pulling the mixer by
        // the clock so that effects and music move on as they would on a device.
        platform::OutputDebug(SJ("Error: DirectSoundオブジェクトの作成に失敗"));
        device_.reset();
        clockPulled_ = true;
        clockLastMs_ = platform::Get().Milliseconds();
        clockElapsedMs_ = 0;
        clockFramesMixed_ = 0;
        clockScratch_.assign(static_cast<size_t>(kClockChunkFrames) * platform::audio::kOutputChannels, 0);
    }

    const PcmFormat format = MusicFormat();
    bgmBufferBytes_ = kBgmBufferBytes;
    bytesPerSample_ = 2;
    bgmBuffer_ = mixer_->CreateBuffer(format, bgmBufferBytes_);
    if (!bgmBuffer_) {
        platform::OutputDebug(SJ("Error: DirectSoundのバックミュージックバッファの生成に失敗"));
        if (device_) {
            device_->Close();
            device_.reset();
        }
        mixer_.reset();
        return E_FAIL_RESULT;
    }
    // The mixer always produces output, so the buffer of silence that keeps a real sound card
    // running is not needed here.

    events_.Reset();
    for (int i = 0; i < 2; ++i) {
        notifyPositions_[static_cast<size_t>(i)] =
            platform::audio::Notification{static_cast<uint32_t>(i) * bgmBufferBytes_ / 2, &events_, i};
    }
    quit_ = false;
    bgmState_ = 0;
    lastNotification_ = 0;
    refills_ = 0;
    worker_ = std::make_unique<Worker>();
    worker_->thread = std::thread(&DxSound::MusicThread, this);
    initialized_ = true;
    return S_OK_RESULT;
}

int DxSound::Release() { return Teardown(false); }

void DxSound::Pause() {
    if (callLog_) Log("Pause");
    if (mixer_) {
        mixer_->SetPaused(true);
    }
}

void DxSound::Resume() {
    if (callLog_) Log("Resume");
    if (mixer_) {
        mixer_->SetPaused(false);
    }
    // Time spent paused is not owed to the clock-driven mixer.
    clockLastMs_ = clockPulled_ ? platform::Get().Milliseconds() : clockLastMs_;
}

uint32_t DxSound::BgmBufferPosition() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return bgmBuffer_ ? bgmBuffer_->CurrentPosition() : 0;
}

int DxSound::Teardown(bool quiet) {
    if (!initialized_) {
        return S_OK_RESULT;
    }
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        quit_ = true;
        ReleaseAllSe();
        if (!quiet) {
            platform::OutputDebug(SJ("info: DirectSoundの効果音をすべて開放"));
        }
        if (bgmState_ != 0) {
            CloseBgm();
        }
        bgmBuffer_.reset();
        if (!quiet) {
            platform::OutputDebug(SJ("info: DirectSoundのバックミュージックバッファを開放"));
        }
        stream_.Close();
    }
    if (!quiet) {
        platform::OutputDebug(SJ("info: DirectSoundのミューテックスを開放"));
    }
    // Wake the music thread and wait for it, so it never outlives the service it refers to.
    events_.Signal(kWakeEvent);
    if (worker_ && worker_->thread.joinable()) {
        worker_->thread.join();
    }
    worker_.reset();
    if (device_) {
        device_->Close();
        device_.reset();
    }
    mixer_.reset();
    pending_.clear();
    clockPulled_ = false;
    initialized_ = false;
    return S_OK_RESULT;
}

void DxSound::PullMixerByClock() {
    if (!clockPulled_ || !mixer_) {
        return;
    }
    const uint32_t now = platform::Get().Milliseconds();
    clockElapsedMs_ += static_cast<uint32_t>(now - clockLastMs_);  // wraps safely
    clockLastMs_ = now;
    const uint64_t due = clockElapsedMs_ * platform::audio::kOutputRate / 1000;
    const uint64_t limit = kClockMaxCatchUpMs * platform::audio::kOutputRate / 1000;
    if (due > clockFramesMixed_ + limit) {
        clockFramesMixed_ = due - limit;  // the time beyond the limit passes unheard
    }
    while (clockFramesMixed_ < due) {
        const uint32_t frames = static_cast<uint32_t>(std::min<uint64_t>(due - clockFramesMixed_, kClockChunkFrames));
        mixer_->Mix(clockScratch_.data(), frames);
        clockFramesMixed_ += frames;
    }
}

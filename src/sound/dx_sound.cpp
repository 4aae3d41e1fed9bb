#include "sound/dx_sound.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

#include "core/result.h"
#include "archive/archive.h"
#include "platform/debug.h"
#include "platform/text_encoding.h"
#include "sound/ogg_memory.h"
#include "sound/volume.h"
#include "sound/wav.h"

namespace {

using platform::audio::PcmFormat;
using platform::audio::SoundBuffer;

constexpr int kWakeEvent = 2;  // event index used only to wake the music thread at shut-down
constexpr const char* kMedalMoveSe = "se_medal_move.wav";
constexpr const char* kTitleJingle = "menu_title.wav";
constexpr long kMaxLooseWavBytes = 256L * 1024 * 1024;

// The music buffer: 44100 Hz, stereo, 16-bit (block align 4, 176400 bytes per second).
PcmFormat MusicFormat() { return PcmFormat::Make(2, 44100, 16); }

}  // namespace

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
    if (!device_->Open(mixer_.get())) {
        // Not even the dummy driver: the mixer works but nothing pulls it. The game goes on.
        platform::OutputDebug(SJ("Error: DirectSoundオブジェクトの作成に失敗"));
        device_.reset();
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
    thread_ = std::thread(&DxSound::MusicThread, this);
    initialized_ = true;
    return S_OK_RESULT;
}

int DxSound::Release() { return Teardown(false); }

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
        ov_clear(&decoder_);
        streamInfo_ = nullptr;
    }
    if (!quiet) {
        platform::OutputDebug(SJ("info: DirectSoundのミューテックスを開放"));
    }
    // Wake the music thread and wait for it, so it never outlives the service it refers to.
    events_.Signal(kWakeEvent);
    if (thread_.joinable()) {
        thread_.join();
    }
    if (device_) {
        device_->Close();
        device_.reset();
    }
    mixer_.reset();
    pending_.clear();
    initialized_ = false;
    return S_OK_RESULT;
}

// --- Effects ------------------------------------------------------------------------------------

void DxSound::SetSeVolume(int percent) {
    seVolume_ = percent;
    seAttenuation_ = sound::VolumeToAttenuation(percent);
}

int DxSound::PlaySe(const std::string& name, bool loop, int32_t delay) {
    if (callLog_) Log("PlaySe " + name + (loop ? " loop " : " once ") + std::to_string(delay));
    auto it = effects_.find(name);
    if (it == effects_.end()) {
        if (LoadSe(name) != S_OK_RESULT) {
            return E_FAIL_RESULT;
        }
        it = effects_.find(name);
        if (it == effects_.end()) {
            return E_FAIL_RESULT;
        }
    }
    SeBuffer& se = *it->second;
    se.attenuation = seAttenuation_;
    se.buffer->SetVolume(se.attenuation);
    if (delay > 0) {
        pending_.push_back(PendingSe{name, loop, delay});
        return S_OK_RESULT;
    }
    se.buffer->SetVolume(se.attenuation);
    se.buffer->SetCurrentPosition(0);
    se.buffer->Play(loop);
    se.releaseWhenDone = true;
    return S_OK_RESULT;
}

int DxSound::StopSe(const std::string& name) {
    if (callLog_) Log("StopSe " + name);
    auto it = effects_.find(name);
    if (it == effects_.end()) {
        return E_FAIL_RESULT;
    }
    it->second->buffer->Stop();
    it->second->releaseWhenDone = false;
    return S_OK_RESULT;
}

int DxSound::CreateEffect(const std::string& name, const uint8_t* bytes, size_t size) {
    sound::WavData wav;
    const sound::WavResult parsed = sound::ParseWav(bytes, size, wav);
    if (parsed == sound::WavResult::Layout) {
        return E_FAIL_RESULT;  // an unexpected layout fails without a message
    }
    if (parsed == sound::WavResult::Truncated) {
        platform::OutputDebug(SJ("error: 効果音ファイルが壊れています: ") + name);
        return E_FAIL_RESULT;
    }
    // A trailing partial frame cannot be played; drop it.
    uint32_t bytesToPlay = wav.pcmBytes;
    if (wav.format.blockAlign != 0) {
        bytesToPlay -= bytesToPlay % wav.format.blockAlign;
    }
    std::unique_ptr<SoundBuffer> buffer;
    if (mixer_) {
        buffer = mixer_->CreateBuffer(wav.format, bytesToPlay);
    }
    if (!buffer) {
        platform::OutputDebug(SJ("error: 効果音バッファの生成に失敗"));
        return E_FAIL_RESULT;
    }
    uint8_t* p1 = nullptr;
    uint8_t* p2 = nullptr;
    uint32_t n1 = 0;
    uint32_t n2 = 0;
    if (buffer->Lock(0, bytesToPlay, &p1, &n1, &p2, &n2) == S_OK_RESULT) {
        std::memcpy(p1, wav.pcm, n1);
        buffer->Unlock(p1, n1, p2, n2);
    }
    auto se = std::make_unique<SeBuffer>();
    se->buffer = std::move(buffer);
    se->size = bytesToPlay;
    effects_[name] = std::move(se);
    return S_OK_RESULT;
}

int DxSound::LoadSe(const std::string& name) {
    if (effects_.count(name) != 0) {
        return E_FAIL_RESULT;
    }
    ArchiveIndex& archive = Archive(ArchiveId::SoundEffects);
    if (archive.Open(name) != 0) {
        platform::OutputDebug(SJ("error: 効果音ファイルのオープンに失敗"));
        return E_FAIL_RESULT;
    }
    const int result = CreateEffect(name, archive.Data(), archive.Size());
    archive.Close();
    return result;
}

int DxSound::LoadSeFromFile(const std::string& name) {
    if (effects_.count(name) != 0) {
        return E_FAIL_RESULT;
    }
    const std::string path = seFolder_ + name;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        platform::OutputDebug(SJ("error: 効果音ファイルのオープンに失敗"));
        return E_FAIL_RESULT;
    }
    std::vector<uint8_t> bytes;
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        length = std::ftell(file);
    }
    bool ok = length >= 0 && length <= kMaxLooseWavBytes && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<size_t>(length));
        ok = bytes.empty() || std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    if (!ok) {
        platform::OutputDebug(SJ("error: 効果音ファイルのオープンに失敗"));
        return E_FAIL_RESULT;
    }
    return CreateEffect(name, bytes.data(), bytes.size());
}

int DxSound::UnloadSe(const std::string& name) {
    auto it = effects_.find(name);
    if (it == effects_.end()) {
        return E_FAIL_RESULT;
    }
    StopSe(name);
    effects_.erase(it);
    return S_OK_RESULT;
}

int DxSound::ReleaseAllSe() {
    for (auto& entry : effects_) {
        entry.second->buffer->Stop();
    }
    effects_.clear();
    return S_OK_RESULT;
}

int DxSound::UpdateSe() {
    for (size_t i = 0; i < pending_.size();) {
        PendingSe& entry = pending_[i];
        const bool due = entry.delay == 1;
        --entry.delay;
        if (due) {
            PendingSe start = std::move(entry);
            pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(i));
            PlaySe(start.name, start.loop, 0);
        } else {
            ++i;
        }
    }
    for (auto it = effects_.begin(); it != effects_.end();) {
        SeBuffer& se = *it->second;
        if (se.releaseWhenDone && (se.buffer->GetStatus() & platform::audio::kStatusPlaying) == 0) {
            it = effects_.erase(it);
        } else {
            ++it;
        }
    }
    return S_OK_RESULT;
}

bool DxSound::IsMedalMoveSePlaying() {
    // The match asks every frame; the name is longer than a short string holds in place, so it
    // is built once rather than on the heap at each call.
    static const std::string name(kMedalMoveSe);
    return IsSePlaying(name);
}

void DxSound::SetTitleJingleGain(float factor) {
    auto it = effects_.find(kTitleJingle);
    if (it == effects_.end()) {
        return;
    }
    const int32_t attenuation = sound::FractionalVolumeToAttenuation(static_cast<float>(seVolume_) * factor);
    it->second->attenuation = attenuation;
    it->second->buffer->SetVolume(attenuation);
}

bool DxSound::IsSeLoaded(const std::string& name) const { return effects_.count(name) != 0; }

bool DxSound::IsSePlaying(const std::string& name) const {
    auto it = effects_.find(name);
    return it != effects_.end() && (it->second->buffer->GetStatus() & platform::audio::kStatusPlaying) != 0;
}

int32_t DxSound::SeBufferVolume(const std::string& name) const {
    auto it = effects_.find(name);
    return it != effects_.end() ? it->second->buffer->GetVolume() : 0;
}

// --- Music --------------------------------------------------------------------------------------

void DxSound::StopBgmBufferLocked() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (bgmBuffer_) {
        bgmBuffer_->Stop();
    }
    bgmState_ = 1;
}

int DxSound::OpenBgm(const std::string& name) {
    if (callLog_) Log("OpenBgm " + name);
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (bgmState_ == 2) {
        StopBgmBufferLocked();
    }
    if (bgmState_ == 1) {
        CloseBgm();
    }

    // The whole compressed file is copied into memory: no file access while it plays.
    ArchiveIndex& archive = Archive(ArchiveId::Music);
    int opened = OV_EREAD;
    if (archive.Open(name) != 0) {
        platform::OutputDebug(SJ("error: 音楽ファイルのオープンに失敗"));
    } else {
        opened = sound::OpenMemoryDecoder(&decoder_, archive.Data(), archive.Size());
        archive.Close();
    }
    if (opened != 0) {
        platform::OutputDebug(SJ("error: ov_openに失敗"));
        ov_clear(&decoder_);
        return E_FAIL_RESULT;
    }

    streamInfo_ = ov_info(&decoder_, -1);
    if (streamInfo_ == nullptr || streamInfo_->channels <= 0) {
        platform::OutputDebug(SJ("error: ov_infoに失敗"));
        ov_clear(&decoder_);
        streamInfo_ = nullptr;
        return E_FAIL_RESULT;
    }
    streamFrames_ = ov_pcm_total(&decoder_, -1);
    if (!bgmBuffer_) {
        platform::OutputDebug(SJ("error: Notifyの設定に失敗"));
        ov_clear(&decoder_);
        streamInfo_ = nullptr;
        return E_FAIL_RESULT;
    }
    if (bgmBuffer_->SetNotificationPositions(notifyPositions_.data(), 2) != S_OK_RESULT) {
        platform::OutputDebug(SJ("error: イベントの設定に失敗"));
        ov_clear(&decoder_);
        streamInfo_ = nullptr;
        return E_FAIL_RESULT;
    }
    bgmState_ = 1;
    return S_OK_RESULT;
}

int DxSound::PlayBgm(int /*unused*/) {
    if (callLog_) Log("PlayBgm");
    bgmAttenuation_ = sound::VolumeToAttenuation(bgmVolume_);
    if (bgmBuffer_) {
        bgmBuffer_->SetVolume(bgmAttenuation_);
    }
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (bgmState_ == 0 || !bgmBuffer_) {
        return E_FAIL_RESULT;
    }
    if (bgmState_ == 2) {
        StopBgmBufferLocked();
    }
    ov_pcm_seek(&decoder_, 0);
    uint8_t* p1 = nullptr;
    uint8_t* p2 = nullptr;
    uint32_t n1 = 0;
    uint32_t n2 = 0;
    if (bgmBuffer_->Lock(0, bgmBufferBytes_, &p1, &n1, &p2, &n2) == S_OK_RESULT) {
        FillPcm(p1, n1);
        bgmBuffer_->Unlock(p1, n1, p2, n2);
    }
    lastNotification_ = 0;
    bgmBuffer_->SetCurrentPosition(0);
    bgmBuffer_->Play(true);
    bgmState_ = 2;
    return S_OK_RESULT;
}

int DxSound::StopBgm() {
    if (callLog_) Log("StopBgm");
    if (bgmState_ == 2) {
        StopBgmBufferLocked();
    }
    return S_OK_RESULT;
}

int DxSound::CloseBgm() {
    if (callLog_) Log("CloseBgm");
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (bgmState_ == 0) {
        return E_FAIL_RESULT;
    }
    if (bgmState_ == 2) {
        StopBgmBufferLocked();
    }
    ov_clear(&decoder_);
    streamInfo_ = nullptr;
    bgmState_ = 0;
    return S_OK_RESULT;
}

int DxSound::ScaleBgmVolume(int percent) {
    if (percent <= 0) {
        bgmVolume_ = 0;
    } else if (percent < 100) {
        bgmVolume_ = static_cast<int>(static_cast<int64_t>(bgmVolume_) * percent / 100);
    }
    bgmAttenuation_ = sound::VolumeToAttenuation(bgmVolume_);
    if (bgmBuffer_) {
        bgmBuffer_->SetVolume(bgmAttenuation_);
    }
    return S_OK_RESULT;
}

void DxSound::SetBgmVolume(int percent) {
    bgmVolume_ = percent;
    bgmAttenuation_ = sound::VolumeToAttenuation(bgmVolume_);
    if (bgmBuffer_) {
        bgmBuffer_->SetVolume(bgmAttenuation_);
    }
}

void DxSound::SetBgmLoopPoint(int index, int64_t trigger, int64_t target) {
    if (callLog_) Log("LoopPoint " + std::to_string(index) + " " + std::to_string(trigger) + " " + std::to_string(target));
    if (index < 0 || index >= kLoopPointCount) {
        return;
    }
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    loopPoints_[static_cast<size_t>(index)] = BgmLoopPoint{trigger, target};
}

BgmLoopPoint DxSound::GetBgmLoopPoint(int index) const {
    if (index < 0 || index >= kLoopPointCount) {
        return BgmLoopPoint{};
    }
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return loopPoints_[static_cast<size_t>(index)];
}

bool DxSound::IsBgmBufferPlaying() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return bgmBuffer_ && (bgmBuffer_->GetStatus() & platform::audio::kStatusPlaying) != 0;
}

uint32_t DxSound::DecodeChunk(uint8_t* dst, int64_t bytes) {
    uint32_t done = 0;
    bool atEnd = false;
    while (bytes > 0) {
        const int want = static_cast<int>(std::min<int64_t>(bytes, 1 << 20));
        int section = 0;
        const long got = ov_read(&decoder_, reinterpret_cast<char*>(dst + done), want, 0, 2, 1, &section);
        if (got == 0) {
            // End of stream: continue from its first sample. A second end without anything
            // decoded in between (an empty stream, or no room for one whole frame) gives up.
            if (atEnd || ov_pcm_seek(&decoder_, 0) != 0) {
                break;
            }
            atEnd = true;
            continue;
        }
        if (got < 0) {
            break;  // decoder error: the rest of this chunk is abandoned
        }
        atEnd = false;
        done += static_cast<uint32_t>(got);
        bytes -= got;
    }
    return done;
}

uint32_t DxSound::FillPcm(uint8_t* dst, uint32_t length) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (streamInfo_ == nullptr || dst == nullptr || bgmState_ == 0) {
        return 0;
    }
    const int64_t frameBytes = static_cast<int64_t>(streamInfo_->channels) * bytesPerSample_;
    int64_t remaining = length;
    uint32_t written = 0;
    int idlePasses = 0;
    while (remaining > 0) {
        const int64_t tell = ov_pcm_tell(&decoder_);
        if (tell < 0) {
            break;
        }
        const int64_t pos = tell * frameBytes;
        int chosen = -1;
        int64_t chosenBytes = 0;
        for (int k = 0; k < kLoopPointCount; ++k) {
            const int64_t trigger = loopPoints_[static_cast<size_t>(k)].trigger;
            // A trigger the stream never reaches stays unused: otherwise a fill running through
            // the end of the stream would take it for a position after the wrap.
            if (trigger <= 0 || (streamFrames_ >= 0 && trigger > streamFrames_) ||
                trigger > std::numeric_limits<int64_t>::max() / frameBytes) {
                continue;
            }
            const int64_t at = trigger * frameBytes;
            if (pos <= at && at < pos + remaining &&
                (chosen < 0 || trigger < loopPoints_[static_cast<size_t>(chosen)].trigger)) {
                chosen = k;
                chosenBytes = at;
            }
        }
        const int64_t chunk = chosen >= 0 ? chosenBytes - pos : remaining;
        remaining -= chunk;
        const uint32_t got = DecodeChunk(dst + written, chunk);
        written += got;
        if (chosen >= 0) {
            // A target the stream cannot reach continues from the start, as the end does.
            if (ov_pcm_seek(&decoder_, loopPoints_[static_cast<size_t>(chosen)].target) != 0) {
                ov_pcm_seek(&decoder_, 0);
            }
        }
        // Loop points that send the stream around without decoding anything (a target equal to
        // its trigger, or a ring of them) would spin for ever: give up after one round.
        if (got == 0) {
            if (++idlePasses > kLoopPointCount + 1) {
                break;
            }
        } else {
            idlePasses = 0;
        }
    }
    return written;
}

void DxSound::MusicThread() {
    const uint32_t half = bgmBufferBytes_ / 2;
    for (;;) {
        const int index = events_.WaitAny();
        if (quit_) {
            break;
        }
        if (index > 1 || bgmState_ != 2 || index == lastNotification_) {
            continue;
        }
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        if (quit_) {
            break;
        }
        if (bgmState_ != 2 || !bgmBuffer_) {
            continue;
        }
        // Index 1: the cursor passed the middle, the first half was played. Index 0: it wrapped,
        // the second half was played. A notification left over from before a restart would point
        // at the half being played now: the cursor check drops it.
        const uint32_t offset = index == 1 ? 0 : half;
        const uint32_t cursor = bgmBuffer_->CurrentPosition();
        if (cursor >= offset && cursor < offset + half) {
            continue;
        }
        lastNotification_ = index;
        uint8_t* p1 = nullptr;
        uint8_t* p2 = nullptr;
        uint32_t n1 = 0;
        uint32_t n2 = 0;
        if (bgmBuffer_->Lock(offset, half, &p1, &n1, &p2, &n2) != S_OK_RESULT) {
            platform::OutputDebug(SJ("error: ロックエラー"));
            continue;
        }
        if (n1 != half) {
            platform::OutputDebug(SJ("error: ロックサイズの不一致"));
        }
        FillPcm(p1, n1);
        bgmBuffer_->Unlock(p1, n1, p2, n2);
        ++refills_;
    }
}

bool DxSound::WaitMusicThreadIdle(uint32_t timeoutMs) { return events_.WaitUntilIdle(timeoutMs); }

// Streamed music: the open track, its loop points and the thread that refills the buffer.
#include <algorithm>
#include <limits>

#include "archive/archive.h"
#include "core/result.h"
#include "platform/debug.h"
#include "platform/text_encoding.h"
#include "sound/dx_sound.h"
#include "sound/volume.h"

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
    sound::MusicStream::OpenResult opened = sound::MusicStream::OpenResult::OpenFailed;
    if (archive.Open(name) != 0) {
        platform::OutputDebug(SJ("error: 音楽ファイルのオープンに失敗"));
        stream_.Close();
    } else {
        opened = stream_.Open(archive.Data(), archive.Size());
        archive.Close();
    }
    if (opened == sound::MusicStream::OpenResult::OpenFailed) {
        platform::OutputDebug(SJ("error: ov_openに失敗"));
        return E_FAIL_RESULT;
    }
    if (opened == sound::MusicStream::OpenResult::NoInfo) {
        platform::OutputDebug(SJ("error: ov_infoに失敗"));
        return E_FAIL_RESULT;
    }
    if (!bgmBuffer_) {
        platform::OutputDebug(SJ("error: Notifyの設定に失敗"));
        stream_.Close();
        return E_FAIL_RESULT;
    }
    if (bgmBuffer_->SetNotificationPositions(notifyPositions_.data(), 2) != S_OK_RESULT) {
        platform::OutputDebug(SJ("error: イベントの設定に失敗"));
        stream_.Close();
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
    stream_.Seek(0);
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
    stream_.Close();
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
    if (callLog_) Log("BgmVolume " + std::to_string(percent));
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
        const long got = stream_.Read(dst + done, want);
        if (got == 0) {
            // End of stream: continue from its first sample. A second end without anything
            // decoded in between (an empty stream, or no room for one whole frame) gives up.
            if (atEnd || !stream_.Seek(0)) {
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
    if (!stream_.IsOpen() || dst == nullptr || bgmState_ == 0) {
        return 0;
    }
    const int64_t frameBytes = static_cast<int64_t>(stream_.Channels()) * bytesPerSample_;
    int64_t remaining = length;
    uint32_t written = 0;
    int idlePasses = 0;
    while (remaining > 0) {
        const int64_t tell = stream_.Tell();
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
            if (trigger <= 0 || (stream_.TotalFrames() >= 0 && trigger > stream_.TotalFrames()) ||
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
            if (!stream_.Seek(loopPoints_[static_cast<size_t>(chosen)].target)) {
                stream_.Seek(0);
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

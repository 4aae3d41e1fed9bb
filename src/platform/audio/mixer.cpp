#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/result.h"
#include "platform/audio/audio.h"

namespace platform::audio {

// --- EventGroup ---------------------------------------------------------------------------------

void EventGroup::Signal(int index) {
    if (index < 0 || index >= 32) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        bits_ |= 1u << index;
    }
    signalled_.notify_all();
}

int EventGroup::WaitAny() {
    std::unique_lock<std::mutex> lock(mutex_);
    ++waiters_;
    if (bits_ == 0) {
        idle_.notify_all();
    }
    signalled_.wait(lock, [this] { return bits_ != 0; });
    --waiters_;
    int index = 0;
    while ((bits_ & (1u << index)) == 0) {
        ++index;
    }
    bits_ &= ~(1u << index);
    return index;
}

void EventGroup::Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    bits_ = 0;
}

bool EventGroup::WaitUntilIdle(uint32_t timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return idle_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                          [this] { return bits_ == 0 && waiters_ > 0; });
}

// --- SoundBuffer --------------------------------------------------------------------------------

float AttenuationToGain(int32_t attenuation) {
    if (attenuation <= kSilentAttenuation) {
        return 0.0f;
    }
    return std::pow(10.0f, static_cast<float>(attenuation) / 2000.0f);
}

SoundBuffer::SoundBuffer(Mixer* mixer, const PcmFormat& format, uint32_t bytes)
    : mixer_(mixer), format_(format), bytes_(bytes), frames_(bytes / format.blockAlign),
      data_(new uint8_t[bytes > 0 ? bytes : 1]) {
    // Silence: 0x80 for unsigned 8-bit samples, 0 for signed 16-bit ones.
    std::memset(data_.get(), format.bitsPerSample == 8 ? 0x80 : 0, bytes > 0 ? bytes : 1);
    step_ = (static_cast<uint64_t>(format.samplesPerSec) << 32) / kOutputRate;
}

SoundBuffer::~SoundBuffer() {
    std::lock_guard<std::mutex> lock(mixer_->mutex_);
    if (prev_ != nullptr) {
        prev_->next_ = next_;
    } else {
        mixer_->head_ = next_;
    }
    if (next_ != nullptr) {
        next_->prev_ = prev_;
    }
    --mixer_->count_;
}

int SoundBuffer::Lock(uint32_t offset, uint32_t bytes, uint8_t** part1, uint32_t* bytes1, uint8_t** part2,
                      uint32_t* bytes2) {
    if (part1 == nullptr || bytes1 == nullptr || offset >= bytes_ || bytes == 0 || bytes > bytes_) {
        return E_FAIL_RESULT;
    }
    const uint32_t first = std::min(bytes, bytes_ - offset);
    *part1 = data_.get() + offset;
    *bytes1 = first;
    if (bytes > first) {
        if (part2 == nullptr || bytes2 == nullptr) {
            return E_FAIL_RESULT;
        }
        *part2 = data_.get();
        *bytes2 = bytes - first;
    } else if (part2 != nullptr && bytes2 != nullptr) {
        *part2 = nullptr;
        *bytes2 = 0;
    }
    return S_OK_RESULT;
}

int SoundBuffer::Unlock(uint8_t* part1, uint32_t bytes1, uint8_t* part2, uint32_t bytes2) {
    const uint8_t* begin = data_.get();
    const uint8_t* end = begin + bytes_;
    if (part1 == nullptr || part1 < begin || part1 + bytes1 > end) {
        return E_FAIL_RESULT;
    }
    if (part2 != nullptr && (part2 != begin || bytes2 > bytes_)) {
        return E_FAIL_RESULT;
    }
    // Taking the mixer lock for a moment publishes the bytes written since Lock to the device
    // thread, whose next Mix takes the same lock before it reads them.
    std::lock_guard<std::mutex> lock(mixer_->mutex_);
    return S_OK_RESULT;
}

int SoundBuffer::Play(bool looping) {
    std::lock_guard<std::mutex> lock(mixer_->mutex_);
    // A one-shot buffer whose cursor sits at its end has nothing left to play.
    if (!looping && (cursor_ >> 32) >= frames_) {
        playing_ = false;
        return S_OK_RESULT;
    }
    if (looping && frames_ > 0) {
        cursor_ %= static_cast<uint64_t>(frames_) << 32;
    }
    looping_ = looping;
    playing_ = frames_ > 0;
    return S_OK_RESULT;
}

int SoundBuffer::Stop() {
    std::lock_guard<std::mutex> lock(mixer_->mutex_);
    playing_ = false;
    return S_OK_RESULT;
}

int SoundBuffer::SetCurrentPosition(uint32_t byteOffset) {
    if (byteOffset >= bytes_) {
        return E_FAIL_RESULT;
    }
    std::lock_guard<std::mutex> lock(mixer_->mutex_);
    cursor_ = static_cast<uint64_t>(byteOffset / format_.blockAlign) << 32;
    return S_OK_RESULT;
}

uint32_t SoundBuffer::CurrentPosition() const {
    std::lock_guard<std::mutex> lock(mixer_->mutex_);
    return static_cast<uint32_t>(cursor_ >> 32) * format_.blockAlign;
}

uint32_t SoundBuffer::GetStatus() const {
    std::lock_guard<std::mutex> lock(mixer_->mutex_);
    uint32_t status = 0;
    if (playing_) {
        status |= kStatusPlaying;
        if (looping_) {
            status |= kStatusLooping;
        }
    }
    return status;
}

int SoundBuffer::SetVolume(int32_t attenuation) {
    if (attenuation > 0 || attenuation < kSilentAttenuation) {
        return E_FAIL_RESULT;
    }
    const float gain = AttenuationToGain(attenuation);
    std::lock_guard<std::mutex> lock(mixer_->mutex_);
    attenuation_ = attenuation;
    gain_ = gain;
    return S_OK_RESULT;
}

int32_t SoundBuffer::GetVolume() const {
    std::lock_guard<std::mutex> lock(mixer_->mutex_);
    return attenuation_;
}

int SoundBuffer::SetNotificationPositions(const Notification* positions, int count) {
    if (count < 0 || count > kMaxNotifications || (count > 0 && positions == nullptr)) {
        return E_FAIL_RESULT;
    }
    for (int i = 0; i < count; ++i) {
        if (positions[i].offset >= bytes_ || positions[i].events == nullptr) {
            return E_FAIL_RESULT;
        }
    }
    std::lock_guard<std::mutex> lock(mixer_->mutex_);
    for (int i = 0; i < count; ++i) {
        notifications_[static_cast<size_t>(i)] = positions[i];
    }
    notificationCount_ = count;
    return S_OK_RESULT;
}

// --- Mixer --------------------------------------------------------------------------------------

Mixer::Mixer() : accumulator_(new float[kChunkFrames * kOutputChannels]) {}

Mixer::~Mixer() = default;

std::unique_ptr<SoundBuffer> Mixer::CreateBuffer(const PcmFormat& f, uint32_t bytes) {
    if (f.formatTag != 1 || (f.channels != 1 && f.channels != 2) ||
        (f.bitsPerSample != 8 && f.bitsPerSample != 16) || f.samplesPerSec < 1000 || f.samplesPerSec > 192000 ||
        f.blockAlign != f.channels * f.bitsPerSample / 8 || bytes == 0 || bytes % f.blockAlign != 0) {
        return nullptr;
    }
    std::unique_ptr<SoundBuffer> b(new SoundBuffer(this, f, bytes));
    std::lock_guard<std::mutex> lock(mutex_);
    b->next_ = head_;
    if (head_ != nullptr) {
        head_->prev_ = b.get();
    }
    head_ = b.get();
    ++count_;
    return b;
}

int Mixer::BufferCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return count_;
}

namespace {

template <int Bits, int Channels>
inline void ReadFrame(const uint8_t* data, uint32_t index, float& l, float& r) {
    if constexpr (Bits == 16) {
        const uint8_t* p = data + static_cast<size_t>(index) * 2 * Channels;
        l = static_cast<float>(static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8))));
        r = Channels == 2 ? static_cast<float>(static_cast<int16_t>(static_cast<uint16_t>(p[2] | (p[3] << 8)))) : l;
    } else {
        const uint8_t* p = data + static_cast<size_t>(index) * Channels;
        l = static_cast<float>((static_cast<int>(p[0]) - 128) * 256);
        r = Channels == 2 ? static_cast<float>((static_cast<int>(p[1]) - 128) * 256) : l;
    }
}

struct SpanState {
    uint64_t cursor;  // 32.32 frames
    uint64_t wraps;
    bool ended;
};

// Adds up to outFrames frames of one buffer into acc (float pairs), linear interpolation between
// neighbouring source frames when the rates differ.
template <int Bits, int Channels, bool Resample>
void MixSpan(const uint8_t* data, uint32_t frames, bool looping, uint64_t step, float gain, float* acc,
             uint32_t outFrames, SpanState& s) {
    const uint64_t end = static_cast<uint64_t>(frames) << 32;
    for (uint32_t i = 0; i < outFrames; ++i) {
        if (s.cursor >= end) {
            if (!looping) {
                s.ended = true;
                return;
            }
            while (s.cursor >= end) {
                s.cursor -= end;
                ++s.wraps;
            }
        }
        const uint32_t index = static_cast<uint32_t>(s.cursor >> 32);
        float l, r;
        ReadFrame<Bits, Channels>(data, index, l, r);
        if constexpr (Resample) {
            const uint32_t fracBits = static_cast<uint32_t>(s.cursor);
            if (fracBits != 0) {
                const uint32_t next = index + 1 < frames ? index + 1 : (looping ? 0 : index);
                float nl, nr;
                ReadFrame<Bits, Channels>(data, next, nl, nr);
                const float frac = static_cast<float>(fracBits) * (1.0f / 4294967296.0f);
                l += (nl - l) * frac;
                r += (nr - r) * frac;
            }
        }
        acc[2 * i] += l * gain;
        acc[2 * i + 1] += r * gain;
        s.cursor += step;
    }
    if (s.cursor >= end) {
        if (looping) {
            while (s.cursor >= end) {
                s.cursor -= end;
                ++s.wraps;
            }
        } else {
            s.ended = true;
        }
    }
}

template <int Bits, int Channels>
void MixSpanFor(bool resample, const uint8_t* data, uint32_t frames, bool looping, uint64_t step, float gain,
                float* acc, uint32_t outFrames, SpanState& s) {
    if (resample) {
        MixSpan<Bits, Channels, true>(data, frames, looping, step, gain, acc, outFrames, s);
    } else {
        MixSpan<Bits, Channels, false>(data, frames, looping, step, gain, acc, outFrames, s);
    }
}

}  // namespace

void Mixer::MixBuffer(SoundBuffer& b, float* acc, uint32_t frames, Notification* fired, int& firedCount) {
    if (!b.playing_ || b.frames_ == 0) {
        return;
    }
    const uint64_t startFrame = b.cursor_ >> 32;
    SpanState s{b.cursor_, 0, false};
    const bool resample = (b.step_ & 0xFFFFFFFFu) != 0;
    const PcmFormat& f = b.format_;
    const uint8_t* data = b.data_.get();
    if (f.bitsPerSample == 16) {
        if (f.channels == 2) {
            MixSpanFor<16, 2>(resample, data, b.frames_, b.looping_, b.step_, b.gain_, acc, frames, s);
        } else {
            MixSpanFor<16, 1>(resample, data, b.frames_, b.looping_, b.step_, b.gain_, acc, frames, s);
        }
    } else {
        if (f.channels == 2) {
            MixSpanFor<8, 2>(resample, data, b.frames_, b.looping_, b.step_, b.gain_, acc, frames, s);
        } else {
            MixSpanFor<8, 1>(resample, data, b.frames_, b.looping_, b.step_, b.gain_, acc, frames, s);
        }
    }
    uint64_t endFrame;
    if (s.ended) {
        b.playing_ = false;
        b.cursor_ = static_cast<uint64_t>(b.frames_) << 32;
        endFrame = b.frames_;
    } else {
        b.cursor_ = s.cursor;
        endFrame = (s.cursor >> 32) + s.wraps * b.frames_;
    }
    // The cursor passed the source frames [startFrame, endFrame); a notification fires when its
    // offset lies in that range (taken modulo the buffer for a looping one).
    const uint64_t advanced = endFrame - startFrame;
    if (advanced == 0) {
        return;
    }
    for (int i = 0; i < b.notificationCount_; ++i) {
        const Notification& n = b.notifications_[static_cast<size_t>(i)];
        const uint64_t at = n.offset / f.blockAlign;
        const uint64_t distance = (at + b.frames_ - startFrame % b.frames_) % b.frames_;
        if ((advanced >= b.frames_ || distance < advanced) && firedCount < kMaxFired) {
            fired[firedCount++] = n;
        }
    }
}

void Mixer::Mix(int16_t* out, uint32_t frames) {
    if (paused_.load()) {
        std::fill(out, out + static_cast<size_t>(frames) * kOutputChannels, int16_t{0});
        return;
    }
    Notification fired[kMaxFired];
    int firedCount = 0;
    while (frames > 0) {
        const uint32_t n = std::min(frames, kChunkFrames);
        float* acc = accumulator_.get();
        std::fill(acc, acc + n * kOutputChannels, 0.0f);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (SoundBuffer* b = head_; b != nullptr; b = b->next_) {
                MixBuffer(*b, acc, n, fired, firedCount);
            }
        }
        for (uint32_t i = 0; i < n * kOutputChannels; ++i) {
            const float v = std::nearbyint(acc[i]);
            out[i] = static_cast<int16_t>(v > 32767.0f ? 32767.0f : (v < -32768.0f ? -32768.0f : v));
        }
        out += n * kOutputChannels;
        frames -= n;
        // Signal outside the mixer lock so a woken thread never waits on the mixer.
        for (int i = 0; i < firedCount; ++i) {
            fired[i].events->Signal(fired[i].index);
        }
        firedCount = 0;
    }
}

}  // namespace platform::audio

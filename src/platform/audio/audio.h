#pragma once
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

// A small software mixer in the shape the sound service expects of a sound card driver:
// secondary buffers holding PCM of their own format, played once or looping with a volume in
// hundredths of a decibel, position notifications that signal events as the play cursor passes
// given byte offsets, and a primary output (44100 Hz, stereo, signed 16-bit) that sums the
// playing buffers with clipping. A Device pulls the output: SDL's audio thread in the game, the
// headless device in tests.
//
// Locking: one mixer mutex guards the play state of every buffer (playing, looping, cursor,
// volume, notifications). The game thread holds it only for a few field stores; nothing under
// it allocates or touches files. The PCM bytes themselves are not under the lock: as with a
// sound card's buffers, a writer locks a byte region the play cursor is not in and writes it freely;
// Unlock takes the mixer lock for a moment so that the mixer sees the new bytes.
namespace platform::audio {

constexpr uint32_t kOutputRate = 44100;
constexpr int kOutputChannels = 2;
constexpr int32_t kSilentAttenuation = -10000;

struct PcmFormat {
    uint16_t formatTag = 1;  // 1 = PCM, the only one accepted
    uint16_t channels = 2;
    uint32_t samplesPerSec = kOutputRate;
    uint32_t avgBytesPerSec = kOutputRate * 4;
    uint16_t blockAlign = 4;
    uint16_t bitsPerSample = 16;

    // A PCM format with the derived fields (block align, bytes per second) filled in.
    static PcmFormat Make(uint16_t channels, uint32_t rate, uint16_t bits) {
        PcmFormat f;
        f.channels = channels;
        f.samplesPerSec = rate;
        f.bitsPerSample = bits;
        f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
        f.avgBytesPerSec = rate * f.blockAlign;
        return f;
    }
};

// Up to 32 auto-reset events in one group, so that a waiter can wait for any of them (the lowest
// signalled index wins, as a wait for multiple objects does).
class EventGroup {
public:
    void Signal(int index);
    // Blocks until one event is signalled; resets and returns its index.
    int WaitAny();
    // Clears all events.
    void Reset();
    // True once no event is pending and a waiter is blocked in WaitAny (or timeoutMs passed:
    // false). Lets tests know the waiting thread has handled everything it was given.
    bool WaitUntilIdle(uint32_t timeoutMs);

private:
    std::mutex mutex_;
    std::condition_variable signalled_;
    std::condition_variable idle_;
    uint32_t bits_ = 0;
    int waiters_ = 0;
};

// A position notification: signal events->Signal(index) when the play cursor reaches offset.
struct Notification {
    uint32_t offset = 0;
    EventGroup* events = nullptr;
    int index = 0;
};

class Mixer;

// Status bits as GetStatus reports them.
constexpr uint32_t kStatusPlaying = 0x1;
constexpr uint32_t kStatusLooping = 0x4;

// Results of the buffer operations: 0 or E_FAIL.
class SoundBuffer {
public:
    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    const PcmFormat& Format() const { return format_; }
    uint32_t Bytes() const { return bytes_; }

    // Gives write access to bytes [offset, offset + bytes) of the buffer; a region running past
    // the end continues at the start in the second part (part2 null and bytes2 0 when it does
    // not). Fails for an offset outside the buffer or a region longer than the buffer.
    int Lock(uint32_t offset, uint32_t bytes, uint8_t** part1, uint32_t* bytes1, uint8_t** part2, uint32_t* bytes2);
    int Unlock(uint8_t* part1, uint32_t bytes1, uint8_t* part2, uint32_t bytes2);

    int Play(bool looping);
    // Stops; the cursor stays where it is.
    int Stop();
    // Moves the play cursor (bytes, rounded down to whole frames).
    int SetCurrentPosition(uint32_t byteOffset);
    uint32_t CurrentPosition() const;
    uint32_t GetStatus() const;
    // Volume in hundredths of a decibel: 0 full, -10000 silent; gain = 10^(att / 2000).
    int SetVolume(int32_t attenuation);
    int32_t GetVolume() const;
    // Replaces the notifications (at most kMaxNotifications, offsets inside the buffer).
    int SetNotificationPositions(const Notification* positions, int count);

    static constexpr int kMaxNotifications = 8;

private:
    friend class Mixer;
    SoundBuffer(Mixer* mixer, const PcmFormat& format, uint32_t bytes);

    Mixer* mixer_;
    PcmFormat format_;
    uint32_t bytes_;
    uint32_t frames_;
    std::unique_ptr<uint8_t[]> data_;

    // Under the mixer mutex.
    bool playing_ = false;
    bool looping_ = false;
    uint64_t cursor_ = 0;  // frames in 32.32 fixed point
    uint64_t step_ = 0;    // source frames per output frame, 32.32
    int32_t attenuation_ = 0;
    float gain_ = 1.0f;
    std::array<Notification, kMaxNotifications> notifications_{};
    int notificationCount_ = 0;
    SoundBuffer* prev_ = nullptr;  // the mixer's list of buffers
    SoundBuffer* next_ = nullptr;
};

// Gain factor for an attenuation in hundredths of a decibel (0 at -10000 or below).
float AttenuationToGain(int32_t attenuation);

class Mixer {
public:
    Mixer();
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // A stopped, silent-filled buffer of bytes bytes (whole frames, at least one) in the given format: PCM,
    // 1 or 2 channels, 8 or 16 bits, 1000 to 192000 Hz. Null when the format is not supported.
    // Every buffer must be destroyed before its mixer.
    std::unique_ptr<SoundBuffer> CreateBuffer(const PcmFormat& format, uint32_t bytes);

    // Sums the playing buffers into frames stereo frames of interleaved signed 16-bit output,
    // advances their cursors and signals the notifications passed. Called by the device.
    void Mix(int16_t* out, uint32_t frames);

    // Number of buffers alive.
    int BufferCount() const;

    // A paused mixer gives silence and moves no cursor, so every buffer (the music too) goes on
    // from where it stood when the pause ends.
    void SetPaused(bool paused) { paused_.store(paused); }
    bool Paused() const { return paused_.load(); }

private:
    friend class SoundBuffer;
    void MixBuffer(SoundBuffer& b, float* acc, uint32_t frames, Notification* fired, int& firedCount);

    static constexpr uint32_t kChunkFrames = 1024;
    static constexpr int kMaxFired = 64;
    mutable std::mutex mutex_;
    SoundBuffer* head_ = nullptr;
    int count_ = 0;
    std::unique_ptr<float[]> accumulator_;
    std::atomic<bool> paused_{false};
};

// Where the mixer's output goes.
class Device {
public:
    virtual ~Device() = default;
    // Starts pulling mixer's output. False when nothing could be opened (the mixer then simply
    // is not driven: the game goes on silent).
    virtual bool Open(Mixer* mixer) = 0;
    // Stops pulling; once it returns the mixer is no longer called.
    virtual void Close() = 0;
};

// The device the sound service opens: the real one unless a test installed another. Shared so
// that the service can keep it alive for as long as it uses it, whatever the order of exit.
std::shared_ptr<Device> AcquireDevice();
// Replaces the device (tests install the headless one before the sound service starts).
// Passing nullptr restores the real device on next use.
void InstallDevice(std::unique_ptr<Device> device);
// SDL2 audio: 44100 Hz stereo signed 16-bit on SDL's audio thread; when no device opens, Open
// fails at once with one debug line giving SDL's reason.
std::unique_ptr<Device> CreateSdlDevice();

}  // namespace platform::audio

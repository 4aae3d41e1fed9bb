#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/singleton.h"
#include "platform/audio/audio.h"
#include "sound/music_stream.h"

// A music loop point: once decoding reaches sample frame `trigger`, it continues at `target`.
// trigger 0 means the entry is unused.
struct BgmLoopPoint {
    int64_t trigger = 0;
    int64_t target = 0;
};

// The process-wide sound service: sound effects by file name, one buffer per name, and one
// streamed Ogg Vorbis music track looping through a one-second buffer refilled half by half by a
// worker thread. All operations are called from the main thread; results are 0 or E_FAIL.
class DxSound : public Singleton<DxSound> {
    friend class Singleton<DxSound>;

public:
    // Name of the music lock (a recursive mutex: an owner may take it again).
    static constexpr const char* kMutexName = "Corvane_Unique_Mutex";
    static constexpr int kLoopPointCount = 8;
    static constexpr uint32_t kBgmBufferBytes = 176400;  // 1 s of 44100 Hz stereo 16-bit

    ~DxSound() override;

    // --- Device ---------------------------------------------------------------------------------
    // Creates the mixer, opens the audio device (the installed one, or SDL), the music buffer
    // and the music thread. A machine without sound hardware keeps running silent; when not even
    // a silent driver opens, UpdateSe pulls the mixer by the platform clock instead, so that
    // effects still end after their length.
    int Init();
    // Stops and releases everything; wakes and joins the music thread. Always 0.
    int Release();

    // Holds every sound where it is (effects and music; the music thread waits, as no buffer
    // moves) until Resume. Logged as "Pause" and "Resume".
    void Pause();
    void Resume();
    bool Paused() const { return mixer_ && mixer_->Paused(); }

    // --- Effects ------------------------------------------------------------------------------
    // Starts the effect from its beginning (loading it from the archive on first use), or
    // queues the start for `delay` calls of UpdateSe.
    int PlaySe(const std::string& name, bool loop = false, int32_t delay = 0);
    int StopSe(const std::string& name);
    // From the sound-effect archive.
    int LoadSe(const std::string& name);
    // From the loose file SeFolder() + name ("wav/" relative to the working directory).
    int LoadSeFromFile(const std::string& name);
    int UnloadSe(const std::string& name);
    int ReleaseAllSe();
    // Once per frame: runs delayed starts that are due and unloads finished effects (after
    // advancing the mixer by the time passed, when no device pulls it).
    int UpdateSe();
    bool IsMedalMoveSePlaying();
    // Volume of "menu_title.wav" alone: seVolume x factor percent.
    void SetTitleJingleGain(float factor);

    // Effect volume from the settings: percent and its attenuation.
    void SetSeVolume(int percent);
    void SetSeAttenuation(int32_t attenuation) { seAttenuation_ = attenuation; }
    int SeVolume() const { return seVolume_; }
    int32_t SeAttenuation() const { return seAttenuation_; }

    // --- Music --------------------------------------------------------------------------------
    // Closes any current track and opens the named one from the music archive (state 1).
    int OpenBgm(const std::string& name);
    // Sets the volume, rewinds, prefills the buffer and plays looping (state 2).
    int PlayBgm(int unused = 0);
    int StopBgm();
    int CloseBgm();
    // Cumulative: p <= 0 silences, 0 < p < 100 scales the volume by p / 100, p >= 100 keeps it.
    int ScaleBgmVolume(int percent);
    // Sets the music volume in percent outright (the title's volume setting) and applies it.
    void SetBgmVolume(int percent);
    // Sets loop point `index` (0..7); entries stay in force for later tracks.
    void SetBgmLoopPoint(int index, int64_t trigger, int64_t target);
    BgmLoopPoint GetBgmLoopPoint(int index) const;
    int BgmState() const { return bgmState_.load(); }  // 0 closed, 1 open, 2 playing
    int BgmVolume() const { return bgmVolume_; }
    int32_t BgmAttenuation() const { return bgmAttenuation_; }

    // Decodes exactly `bytes` bytes of the open track into dst (16-bit little-endian signed),
    // following the loop points and wrapping at the end of the stream. Returns the bytes written
    // (fewer after a decoder error; 0 with no track open).
    uint32_t FillPcm(uint8_t* dst, uint32_t bytes);

    // --- Inspection (tools and tests) ------------------------------------------------------------
    // Receives every effect and music call as one line: "PlaySe <name> once|loop <delay>",
    // "StopSe <name>", "OpenBgm <name>", "PlayBgm", "StopBgm", "CloseBgm",
    // "LoopPoint <index> <trigger> <target>",
    // "SeVolume <percent>", "BgmVolume <percent>", "Pause", "Resume". None by default.
    using CallLog = std::function<void(const std::string&)>;
    void SetCallLog(CallLog log) { callLog_ = std::move(log); }

    bool IsSeLoaded(const std::string& name) const;
    bool IsSePlaying(const std::string& name) const;
    // The attenuation last given to the effect's buffer (0 when not loaded).
    int32_t SeBufferVolume(const std::string& name) const;
    size_t LoadedSeCount() const { return effects_.size(); }
    size_t PendingSeCount() const { return pending_.size(); }
    // Folder of loose effect files, "wav/" by default.
    void SetSeFolder(const std::string& folder) { seFolder_ = folder; }
    const std::string& SeFolder() const { return seFolder_; }
    // True once the music thread has handled every notification given to it so far.
    bool WaitMusicThreadIdle(uint32_t timeoutMs);
    // Halves refilled by the music thread since Init.
    uint64_t BgmRefillCount() const { return refills_.load(); }
    bool IsBgmBufferPlaying() const;
    // Play cursor of the music buffer in bytes (0 without one).
    uint32_t BgmBufferPosition() const;
    // True when no output device opened and the clock drives the mixer.
    bool PulledByClock() const { return clockPulled_; }

private:
    DxSound();

    struct SeBuffer {
        std::unique_ptr<platform::audio::SoundBuffer> buffer;
        uint32_t size = 0;
        bool releaseWhenDone = false;
        int32_t attenuation = 0;
    };
    struct PendingSe {
        std::string name;
        bool loop = false;
        int32_t delay = 0;
    };

    void Log(const std::string& line) const { callLog_(line); }
    int CreateEffect(const std::string& name, const uint8_t* bytes, size_t size);
    void StopBgmBufferLocked();
    uint32_t DecodeChunk(uint8_t* dst, int64_t bytes);
    void MusicThread();
    int Teardown(bool quiet);
    // Without a device: mixes (into nothing) the output frames the clock says are due.
    void PullMixerByClock();

    // Device and mixer.
    std::unique_ptr<platform::audio::Mixer> mixer_;
    std::shared_ptr<platform::audio::Device> device_;
    bool initialized_ = false;
    bool clockPulled_ = false;
    uint32_t clockLastMs_ = 0;
    uint64_t clockElapsedMs_ = 0;    // since Init
    uint64_t clockFramesMixed_ = 0;  // output frames mixed since Init
    std::vector<int16_t> clockScratch_;

    // Music.
    std::unique_ptr<platform::audio::SoundBuffer> bgmBuffer_;
    platform::audio::EventGroup events_;
    std::array<platform::audio::Notification, 2> notifyPositions_{};
    sound::MusicStream stream_;
    std::atomic<bool> quit_{false};
    struct Worker;  // the music thread
    std::unique_ptr<Worker> worker_;
    mutable std::recursive_mutex mutex_;  // kMutexName
    uint32_t bgmBufferBytes_ = kBgmBufferBytes;
    uint16_t bytesPerSample_ = 2;
    std::atomic<int> lastNotification_{0};
    std::array<BgmLoopPoint, kLoopPointCount> loopPoints_{};
    std::atomic<int> bgmState_{0};
    std::atomic<uint64_t> refills_{0};

    // Effects.
    std::unordered_map<std::string, std::unique_ptr<SeBuffer>> effects_;
    int bgmVolume_ = 100;
    int32_t bgmAttenuation_ = 0;
    int seVolume_ = 100;
    int32_t seAttenuation_ = 0;
    std::vector<PendingSe> pending_;
    std::string seFolder_ = "wav/";
    CallLog callLog_;
};

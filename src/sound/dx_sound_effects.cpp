// Sound effects: one buffer per file name, started, delayed, stopped and released when done.
#include <cstdio>
#include <cstring>
#include <vector>

#include "archive/archive.h"
#include "core/result.h"
#include "platform/debug.h"
#include "platform/text_encoding.h"
#include "sound/dx_sound.h"
#include "sound/volume.h"
#include "sound/wav.h"

namespace {

using platform::audio::SoundBuffer;

constexpr const char* kMedalMoveSe = "se_medal_move.wav";
constexpr const char* kTitleJingle = "menu_title.wav";
constexpr long kMaxLooseWavBytes = 256L * 1024 * 1024;

}  // namespace

// --- Effects ------------------------------------------------------------------------------------

void DxSound::SetSeVolume(int percent) {
    if (callLog_) Log("SeVolume " + std::to_string(percent));
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
    PullMixerByClock();
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

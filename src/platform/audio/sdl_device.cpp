#include <SDL.h>
#include <dlfcn.h>

#include <string>

#include "platform/audio/audio.h"
#include "platform/debug.h"

extern "C" {
// Receives libasound's own error messages and drops them: on a machine without sound hardware
// the library would print its configuration failures to the terminal before SDL falls back to
// the dummy driver, which is reported once on the debug line instead.
static void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
}

namespace platform::audio {
namespace {

// Installs DropAlsaMessage as libasound's error handler, once, before SDL first opens the
// library. The library is looked up at run time (the game does not link it); the handle is kept
// so that the handler stays in force while SDL loads and unloads the library around it.
void QuietAlsa() {
    static const bool installed = [] {
        void* lib = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
        if (lib == nullptr) {
            return false;
        }
        using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetHandler = int (*)(Handler);
        auto set = reinterpret_cast<SetHandler>(dlsym(lib, "snd_lib_error_set_handler"));
        if (set == nullptr) {
            dlclose(lib);
            return false;
        }
        set(&DropAlsaMessage);
        return true;
    }();
    (void)installed;
}

class SdlDevice final : public Device {
public:
    ~SdlDevice() override { Close(); }

    bool Open(Mixer* mixer) override {
        Close();
        mixer_ = mixer;
        QuietAlsa();
        std::string reason;
        if (TryOpen(reason)) {
            return true;
        }
        // No usable sound hardware (a machine without a sound card, or no audio server): the
        // sound service then drives the mixer by the clock and the game goes on silent. The
        // subsystem stays up until Close: shutting SDL's audio down waits for its device watch
        // (a tenth of a second), which start-up need not pay.
        platform::OutputDebug("warning: no audio device (" + reason + "), continuing silent");
        mixer_ = nullptr;
        return false;
    }

    void Close() override {
        if (device_ != 0) {
            SDL_CloseAudioDevice(device_);  // waits for a running callback to return
            device_ = 0;
        }
        if (subsystemUp_) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            subsystemUp_ = false;
        }
        mixer_ = nullptr;
    }

private:
    static void Callback(void* user, Uint8* stream, int len) {
        auto* self = static_cast<SdlDevice*>(user);
        const uint32_t frames = static_cast<uint32_t>(len) / 4;
        self->mixer_->Mix(reinterpret_cast<int16_t*>(stream), frames);
    }

    bool TryOpen(std::string& reason) {
        if (!subsystemUp_) {
            if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
                reason = SDL_GetError();
                return false;
            }
        }
        subsystemUp_ = true;
        SDL_AudioSpec want{};
        want.freq = static_cast<int>(kOutputRate);
        want.format = AUDIO_S16SYS;
        want.channels = kOutputChannels;
        want.samples = 1024;
        want.callback = &SdlDevice::Callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts to whatever the hardware wants.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device_ == 0) {
            reason = SDL_GetError();
            return false;
        }
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    Mixer* mixer_ = nullptr;
    SDL_AudioDeviceID device_ = 0;
    bool subsystemUp_ = false;
};

std::shared_ptr<Device>& Slot() {
    static std::shared_ptr<Device> slot;
    return slot;
}

}  // namespace

std::unique_ptr<Device> CreateSdlDevice() { return std::make_unique<SdlDevice>(); }

std::shared_ptr<Device> AcquireDevice() {
    auto& slot = Slot();
    if (!slot) {
        slot = CreateSdlDevice();
    }
    return slot;
}

void InstallDevice(std::unique_ptr<Device> device) { Slot() = std::move(device); }

}  // namespace platform::audio

#pragma once
#include <functional>
#include <memory>
#include <string>

#include "app/scene.h"
#include "archive/archive.h"
#include "platform/platform.h"
#include "platform/system.h"

// The program: start-up, the main loop with the scene manager, shut-down, and the handling of
// window events (the close confirmation). The process entry owns the one Application; it is not a
// service that other code can reach (scenes end the program through HideWindowAndQuit).
class Application {
public:
    using SceneFactory = std::function<Scene*(int id)>;

    // Scenes come from the factory; without one the manager only paces and pumps events.
    explicit Application(SceneFactory factory = nullptr);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // 0 on success, -1 when another instance runs, E_FAIL when a data file or list is missing.
    int Initialize();
    // The main loop from the first scene; returns 0 when the program is told to quit.
    int Run();
    // One pass of the loop: wait for the frame slot, switch scenes, update the running scene,
    // handle every waiting event. False once the quit message has been handled (the scene is then
    // destroyed without Leave). Tests drive the loop with it on the virtual clock.
    bool Pass();
    // Releases textures, canvases, the font, the device and the sound device. Always 0.
    int Shutdown();

    // The window procedure: the close button and Alt+F4 ask for confirmation first.
    void HandleEvent(const platform::Event& event);
    void PostQuit() { quitPosted_ = true; }

    // Replaces the scene factory (tests use their own scenes).
    void SetSceneFactory(SceneFactory factory) { factory_ = std::move(factory); }
    // Name of the single-instance lock (tests use their own).
    void SetInstanceName(std::string name) { instanceName_ = std::move(name); }

    int nextSceneId = 0;
    int currentSceneId = 0;
    std::unique_ptr<Scene> scene;
    int width = 1280;
    int height = 720;
    DataFiles dataFiles;

    // The window caption in Shift-JIS: title, full-width space, "Ver." and the version.
    static const std::string& Caption();

private:
    void ReadConfiguration();
    void InitSound();
    void ReleaseSound();
    bool ConfirmClose();
    void CloseDataFiles();

    SceneFactory factory_;
    std::string instanceName_ = "MultiplexStartingPrevention_TARNWICK_ON";
    std::unique_ptr<platform::SingleInstanceGuard> guard_;
    bool quitPosted_ = false;
};

// Reads "FullScreen": 1 when the value starts with the two lower-case letters "on".
int ParseFullScreen(const std::string& value);
// Reads a volume as strtol with base 0 does (decimal, 0x hexadecimal, leading-0 octal; no number
// gives 0).
int ParseVolume(const std::string& value);
// Effect attenuation in hundredths of a decibel for a volume percentage.
int EffectAttenuation(int volume);

// Seeds Random and rand with a decimal value (the TARNWICK_SEED variable); false, with a debug
// line for anything but a number from 0 to 2^32 - 1, when nothing was seeded.
bool SeedFromEnvironment(const char* value);

// The process entry: seeds rand (TARNWICK_SEED fixes both generators), sets the locale, runs an Application with the scenes of the
// factory; always returns 0 (a failed start-up ends at once, after its message).
int RunApplication(Application::SceneFactory factory);

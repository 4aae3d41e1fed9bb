#pragma once
#include <functional>
#include <memory>
#include <string>

#include "app/scene.h"
#include "app/singleton.h"
#include "archive/archive.h"
#include "platform/platform.h"
#include "platform/system.h"

// The program: start-up, the main loop with the scene manager, shut-down, and the handling of
// window events (the close confirmation).
class Application : public Singleton<Application> {
public:
    using SceneFactory = std::function<Scene*(int id)>;

    Application();
    ~Application() override;

    // 0 on success, -1 when another instance runs, E_FAIL when a data file or list is missing.
    int Initialize();
    // The main loop; returns 0 when the program is told to quit.
    int Run();
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

// The process entry: seeds rand, sets the locale, runs the Application; always returns 0.
int RunApplication();

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

    // True while the window is away and the game waits (no scene update, sound held, the last
    // picture presented again).
    bool Paused() const { return paused_; }
    // Scene updates the last pass ran (2 in fast play).
    int UpdatesLastPass() const { return updatesLastPass_; }

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
    void ApplyWindowSize();
    void RememberWindowSize();
    void ToggleFullScreen();
    void SetPaused(bool paused);
    bool FastPlay();
    // Switches to the next scene when asked and runs one update of the running scene.
    void StepScene();
    void InitSound();
    void ReleaseSound();
    bool ConfirmClose();
    void CloseDataFiles();

    SceneFactory factory_;
    std::string instanceName_ = "MultiplexStartingPrevention_TARNWICK_ON";
    std::unique_ptr<platform::SingleInstanceGuard> guard_;
    bool quitPosted_ = false;
    bool paused_ = false;
    int startFullScreen_ = 0;
    int windowWidth_ = 0;   // windowed client size, followed through resizes
    int windowHeight_ = 0;
    int updatesLastPass_ = 0;
    uint64_t startTicks_ = 0;       // when Initialize began
    bool firstFrameDrawn_ = false;
    bool firstFrameLogged_ = false;
};

// --- config.ini -------------------------------------------------------------------------------
// The file lives in the folder the game starts from; tests point it elsewhere ("" = back to the
// current directory).
void SetConfigFolder(std::string folder);
std::string ConfigPath();
// Reads the [game] section into the Global keys "FullScreen", "BgmVolume", "SeVolume",
// "FourColourDeck", "FullStory", "FastAnimations", "PauseOnFocusLoss", "WindowScale",
// "WindowWidth" and "WindowHeight". A missing file or key, or a value that makes no sense, gives
// the default.
void LoadConfiguration(const std::string& path);
// Writes those Global keys back into the [game] section, keeping everything else in the file.
bool SaveConfiguration(const std::string& path);

// "on" 1, "off" 0 (either case), anything else the fallback.
int ParseSwitch(const std::string& value, int fallback);
// 50, 100, 150 or 200; anything else 100.
int ParseWindowScale(const std::string& value);
// A remembered window dimension: 1..16384, anything else 0 (size from the scale).
int ParseWindowDimension(const std::string& value);
// The windowed client size: the remembered one when both dimensions are set, else the scale of
// width x height.
void WindowSizeFor(int scale, int rememberedWidth, int rememberedHeight, int width, int height, int& outWidth,
                   int& outHeight);

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

#include "app/application.h"

#include <fcntl.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <locale>
#include <utility>

#include "core/global.h"
#include "core/random.h"
#include "core/records.h"
#include "app/mouse_controller.h"
#include "core/result.h"
#include "app/timer.h"
#include "graphics/dx_graphic.h"
#include "platform/debug.h"
#include "platform/text_encoding.h"
#include "sound/dx_sound.h"
#include "sound/volume.h"

namespace {

constexpr int kListIds[4] = {103, 104, 105, 106};
constexpr ArchiveId kListArchives[4] = {ArchiveId::Images, ArchiveId::Music, ArchiveId::SoundEffects,
                                        ArchiveId::Animations};

// Opens a data file for reading; -1 when it is missing or not a regular file (a folder or a FIFO
// of that name must fail like a missing file, and opening a FIFO must not wait for a writer).
int OpenDataFile(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::string& ConfigFolder() {
    static std::string folder;
    return folder;
}

constexpr int kMaxWindowDimension = 16384;

const char* OnOff(int value) { return value != 0 ? "on" : "off"; }

}  // namespace

void SetConfigFolder(std::string folder) { ConfigFolder() = std::move(folder); }

std::string ConfigPath() {
    const std::string& folder = ConfigFolder();
    return (folder.empty() ? platform::CurrentDirectory() : folder) + "/config.ini";
}

int ParseSwitch(const std::string& value, int fallback) {
    std::string lower;
    for (char c : value) {
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    if (lower == "on") {
        return 1;
    }
    if (lower == "off") {
        return 0;
    }
    return fallback;
}

int ParseWindowScale(const std::string& value) {
    char* end = nullptr;
    const long v = std::strtol(value.c_str(), &end, 10);
    const bool whole = end != value.c_str() && *end == '\0';
    return whole && (v == 50 || v == 100 || v == 150 || v == 200) ? static_cast<int>(v) : 100;
}

int ParseWindowDimension(const std::string& value) {
    char* end = nullptr;
    const long v = std::strtol(value.c_str(), &end, 10);
    const bool whole = end != value.c_str() && *end == '\0';
    return whole && v > 0 && v <= kMaxWindowDimension ? static_cast<int>(v) : 0;
}

void WindowSizeFor(int scale, int rememberedWidth, int rememberedHeight, int width, int height, int& outWidth,
                   int& outHeight) {
    if (rememberedWidth > 0 && rememberedHeight > 0) {
        outWidth = rememberedWidth;
        outHeight = rememberedHeight;
        return;
    }
    outWidth = width * scale / 100;
    outHeight = height * scale / 100;
}

void LoadConfiguration(const std::string& path) {
    const std::vector<std::string> values = platform::ReadProfileStrings(
        path, "game",
        {{"FullScreen", "off"}, {"BgmVolume", "30"}, {"SeVolume", "30"}, {"FourColourDeck", "off"},
         {"FullStory", "off"}, {"FastAnimations", "off"}, {"PauseOnFocusLoss", "on"}, {"WindowScale", "100"},
         {"WindowWidth", "0"}, {"WindowHeight", "0"}});
    Global& g = Global::Instance();
    g.Set(ParseFullScreen(values[0]), "FullScreen");
    g.Set(ParseVolume(values[1]), "BgmVolume");
    g.Set(ParseVolume(values[2]), "SeVolume");
    g.Set(ParseSwitch(values[3], 0), "FourColourDeck");
    g.Set(ParseSwitch(values[4], 0), "FullStory");
    g.Set(ParseSwitch(values[5], 0), "FastAnimations");
    g.Set(ParseSwitch(values[6], 1), "PauseOnFocusLoss");
    g.Set(ParseWindowScale(values[7]), "WindowScale");
    const int w = ParseWindowDimension(values[8]);
    const int h = ParseWindowDimension(values[9]);
    // Half a remembered size is no size.
    g.Set(w > 0 && h > 0 ? w : 0, "WindowWidth");
    g.Set(w > 0 && h > 0 ? h : 0, "WindowHeight");
}

bool SaveConfiguration(const std::string& path) {
    const Global& g = Global::Instance();
    return platform::WriteProfileStrings(
        path, "game",
        {{"FullScreen", OnOff(g.Get("FullScreen"))},
         {"BgmVolume", std::to_string(g.Get("BgmVolume"))},
         {"SeVolume", std::to_string(g.Get("SeVolume"))},
         {"FourColourDeck", OnOff(g.Get("FourColourDeck"))},
         {"FullStory", OnOff(g.Get("FullStory"))},
         {"FastAnimations", OnOff(g.Get("FastAnimations"))},
         {"PauseOnFocusLoss", OnOff(g.Get("PauseOnFocusLoss"))},
         {"WindowScale", std::to_string(ParseWindowScale(std::to_string(g.Get("WindowScale"))))},
         {"WindowWidth", std::to_string(g.Get("WindowWidth"))},
         {"WindowHeight", std::to_string(g.Get("WindowHeight"))}});
}

int ParseFullScreen(const std::string& value) { return value.compare(0, 2, "on") == 0 ? 1 : 0; }

int ParseVolume(const std::string& value) {
    // Out-of-range numbers saturate instead of wrapping into an unrelated volume.
    const long v = std::strtol(value.c_str(), nullptr, 0);
    return static_cast<int>(std::clamp<long>(v, INT_MIN, INT_MAX));
}

int EffectAttenuation(int volume) { return sound::VolumeToAttenuation(volume); }

const std::string& Application::Caption() {
    return SJ("Tarnwick Ostrelle Night　Ver.1.00");
}

Application::Application(SceneFactory factory) : factory_(std::move(factory)) {}

Application::~Application() { CloseDataFiles(); }

void Application::CloseDataFiles() {
    for (int& fd : dataFiles.fd) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

void Application::ReadConfiguration() { LoadConfiguration(ConfigPath()); }

// The windowed client size from the scale or the size the player left the window at.
void Application::ApplyWindowSize() {
    platform::Platform& p = platform::Get();
    const Global& g = Global::Instance();
    if (!p.HasMainWindow() || p.IsFullScreen()) {
        return;
    }
    int w = 0, h = 0;
    const int scale = ParseWindowScale(std::to_string(g.Get("WindowScale")));
    WindowSizeFor(scale, g.Get("WindowWidth"), g.Get("WindowHeight"), width, height, w, h);
    int cw = 0, ch = 0;
    p.GetWindowSize(cw, ch);
    if (cw != w || ch != h) {
        p.SetWindowSize(w, h);
    }
    windowWidth_ = w;
    windowHeight_ = h;
}

// At the end: a window size other than the scale's is kept for the next start, and a scale size
// forgets any size kept before. The file is only written when something changed.
void Application::RememberWindowSize() {
    if (windowWidth_ <= 0 || windowHeight_ <= 0) {
        return;
    }
    Global& g = Global::Instance();
    int sw = 0, sh = 0;
    WindowSizeFor(ParseWindowScale(std::to_string(g.Get("WindowScale"))), 0, 0, width, height, sw, sh);
    const bool scaleSize = windowWidth_ == sw && windowHeight_ == sh;
    const int w = scaleSize ? 0 : windowWidth_;
    const int h = scaleSize ? 0 : windowHeight_;
    if (w == g.Get("WindowWidth") && h == g.Get("WindowHeight") && g.Get("FullScreen") == startFullScreen_) {
        return;
    }
    g.Set(w, "WindowWidth");
    g.Set(h, "WindowHeight");
    if (!SaveConfiguration(ConfigPath())) {
        platform::OutputDebug("Error: config.ini could not be written");
    }
}

void Application::ToggleFullScreen() {
    platform::Platform& p = platform::Get();
    const bool on = !p.IsFullScreen();
    if (p.SetFullScreen(on)) {
        Global::Instance().Set(on ? 1 : 0, "FullScreen");
    }
}

void Application::SetPaused(bool paused) {
    if (paused == paused_) {
        return;
    }
    paused_ = paused;
    DxSound& sound = DxSound::Instance();
    if (paused) {
        sound.Pause();
    } else {
        sound.Resume();
    }
}

// Two updates per shown frame: by the option, or while Space is held in the game's window.
bool Application::FastPlay() {
    platform::Platform& p = platform::Get();
    return Global::Instance().Get("FastAnimations") == 1 ||
           (p.IsMainWindowForeground() && p.IsKeyDown(platform::KeyCode::Space));
}

int Application::Initialize() {
    platform::Platform& p = platform::Get();
    startTicks_ = p.PerformanceCounter();
#if defined(__GLIBC__)
    // Pictures and textures are large blocks that live as long as a scene. A fixed mapping
    // threshold gives every block above it back to the system when it is freed; the default,
    // which rises with each large block freed, would keep a left scene's pictures in the heap.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif

    guard_ = std::make_unique<platform::SingleInstanceGuard>(instanceName_);
    if (guard_->AlreadyExisted()) {
        p.ShowMessageBox(platform::SjisToUtf8(SJ("既に起動しています。")), "Error", platform::MessageBoxButtons::Ok,
                         platform::MessageBoxIcon::Information, false);
        guard_.reset();
        return -1;
    }

    width = 1280;
    height = 720;
    ReadConfiguration();
    Global& g = Global::Instance();
    const bool windowed = g.Get("FullScreen") != 1;

    // Without a window or a renderer there is nothing to play on: end after the error line
    // instead of running on invisibly.
    if (DxGraphic::Instance().Init(Caption(), width, height, windowed) != S_OK_RESULT) {
        platform::OutputDebug(SJ("Error: DIRECTXの初期化に失敗"));
        return E_FAIL_RESULT;
    }
    // The windowed client size follows WindowScale, or the size the player left the window at.
    startFullScreen_ = windowed ? 0 : 1;
    ApplyWindowSize();
    InitSound();

    // The mouse reads the main window through the platform; nothing to hand over here.
    MouseController::Instance();

    for (int i = 0; i < 4; ++i) {
        char path[64];
        std::snprintf(path, sizeof(path), "./data/data%d.dat", i);
        dataFiles.fd[i] = OpenDataFile(path);
        if (dataFiles.fd[i] < 0) {
            platform::OutputDebug(SJ("データファイルが読み込めません。\n"));
            return E_FAIL_RESULT;
        }
    }
    for (int k = 0; k < 4; ++k) {
        if (Archive(kListArchives[k]).LoadList(&dataFiles, kListIds[k], k == 3) != 0) {
            char text[64];
            std::snprintf(text, sizeof(text), "data%d.lst", k);
            p.ShowMessageBox(std::string(text) + platform::SjisToUtf8(SJ("が見つかりません")), "ERROR",
                             platform::MessageBoxButtons::Ok, platform::MessageBoxIcon::Warning, true);
            return E_FAIL_RESULT;
        }
    }
    g.LoadSave();
    if (const std::string problem = Records::Instance().Load(); !problem.empty()) {
        platform::OutputDebug(problem);
    }
    nextSceneId = kSceneTitle;
    return S_OK_RESULT;
}

void Application::InitSound() {
    DxSound& sound = DxSound::Instance();
    if (sound.Init() != S_OK_RESULT) {
        platform::OutputDebug(SJ("Error: DIRECTSOUNDの初期化に失敗"));
    }
    Global& g = Global::Instance();
    sound.ScaleBgmVolume(g.Get("BgmVolume"));
    sound.SetSeVolume(g.Get("SeVolume"));
}

void Application::ReleaseSound() { DxSound::Instance().Release(); }

bool Application::ConfirmClose() {
    return platform::Get().ShowMessageBox(platform::SjisToUtf8(SJ("終了しますか")),
                                          platform::SjisToUtf8(SJ("終了確認")),
                                          platform::MessageBoxButtons::OkCancel,
                                          platform::MessageBoxIcon::Question, true) == platform::MessageBoxAnswer::Ok;
}

void Application::HandleEvent(const platform::Event& event) {
    switch (event.type) {
        case platform::Event::Type::CloseRequested:
            if (ConfirmClose()) {
                // Destroying the window ends the loop, as the window's destruction posts the quit.
                platform::Get().DestroyMainWindow();
                PostQuit();
            }
            break;
        case platform::Event::Type::Quit:
            PostQuit();
            break;
        case platform::Event::Type::KeyDown:
            if (event.alt && event.key == platform::KeyCode::F4 && ConfirmClose()) {
                PostQuit();
            } else if (event.alt && event.key == platform::KeyCode::Return) {
                ToggleFullScreen();
            }
            break;
        case platform::Event::Type::FocusLost:
            if (Global::Instance().Get("PauseOnFocusLoss") != 0) {
                SetPaused(true);
            }
            break;
        case platform::Event::Type::FocusGained:
            SetPaused(false);
            break;
        case platform::Event::Type::Resized:
            if (!platform::Get().IsFullScreen() && event.width > 0 && event.height > 0) {
                windowWidth_ = event.width;
                windowHeight_ = event.height;
            }
            break;
        default:
            break;
    }
}

int Application::Run() {
    currentSceneId = 0;
    quitPosted_ = false;
    while (Pass()) {
    }
    return 0;
}

bool Application::Pass() {
    platform::Platform& p = platform::Get();
    Timer::Instance().Wait();
    // The frame drawn by the last pass goes on screen now, at the paced instant.
    DxGraphic::Instance().ShowFrame();
    if (firstFrameDrawn_ && !firstFrameLogged_) {
        // One line for start-up timing: the first scene's first frame is on screen.
        firstFrameLogged_ = true;
        const uint64_t ticks = p.PerformanceCounter() - startTicks_;
        const uint64_t frequency = p.PerformanceFrequency();
        const long long ms = frequency > 0 ? static_cast<long long>(ticks * 1000 / frequency) : -1;
        platform::OutputDebug("info: first frame " + std::to_string(ms) + " ms after start-up began");
    }

    updatesLastPass_ = 0;
    if (paused_) {
        DxGraphic::Instance().PresentAgain();
    } else {
        // In fast play the first update runs as logic only; the second one's frame is shown.
        DxGraphic& graphics = DxGraphic::Instance();
        const int updates = FastPlay() ? 2 : 1;
        for (int i = 0; i < updates && nextSceneId != kSceneQuit; ++i) {
            graphics.SetFrameHidden(i + 1 < updates);
            StepScene();
            ++updatesLastPass_;
        }
        graphics.SetFrameHidden(false);
        firstFrameDrawn_ = true;
    }
    if (nextSceneId == kSceneQuit) {
        HideWindowAndQuit();
    }

    platform::Event event;
    while (!quitPosted_ && p.PollEvent(event)) {
        HandleEvent(event);
    }
    if (quitPosted_) {
        scene.reset();  // destroyed without Leave
        return false;
    }
    return true;
}

void Application::StepScene() {
    bool entered = false;
    if (currentSceneId != nextSceneId) {
        // Before the new scene is made: what its members load or create counts as its own.
        DxGraphic::Instance().BeginSceneUse();
        scene.reset(factory_ ? factory_(nextSceneId) : nullptr);
        if (scene) {
            scene->Enter(currentSceneId);
            entered = true;
        }
    }
    if (scene) {
        currentSceneId = nextSceneId;
        scene->Update(&nextSceneId);
        if (entered) {
            // Pictures and canvases a scene that left the caches alone handed on, and that this
            // one neither loaded nor drew in its first frame, are released.
            DxGraphic::Instance().ReleaseUnused();
        }
        if (nextSceneId != currentSceneId) {
            scene->Leave();
            scene.reset();
        }
    }
}

void HideWindowAndQuit() {
    platform::Platform& p = platform::Get();
    p.ShowMainWindow(false);
    p.PostQuit();
}

int Application::Shutdown() {
    RememberWindowSize();
    DxGraphic& graphics = DxGraphic::Instance();
    graphics.ReleaseAllTextures();
    graphics.ReleaseAllCanvases();
    graphics.Shutdown();
    ReleaseSound();
    return 0;
}

bool SeedFromEnvironment(const char* value) {
    if (value == nullptr || *value == '\0') {
        return false;
    }
    char* end = nullptr;
    const unsigned long long seed = std::strtoull(value, &end, 10);
    if (*end != '\0' || value[0] == '-' || seed > 0xFFFFFFFFull) {
        platform::OutputDebug("TARNWICK_SEED ignored: not a number from 0 to 4294967295");
        return false;
    }
    Random::Instance().Seed(static_cast<uint32_t>(seed));
    std::srand(static_cast<unsigned>(seed));
    return true;
}

int RunApplication(Application::SceneFactory factory) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // A fixed seed replays the same cards for the same moves: for tests and bug reports.
    SeedFromEnvironment(std::getenv("TARNWICK_SEED"));
    // The user's default locale, as far as the system has it; fall back to the C locale.
    if (std::setlocale(LC_ALL, "") != nullptr) {
        try {
            std::locale::global(std::locale(""));
        } catch (const std::runtime_error&) {
            std::setlocale(LC_ALL, "C");
        }
    }
    // Numbers in files and logs always use the C conventions.
    std::setlocale(LC_NUMERIC, "C");
    Application app(std::move(factory));
    // A failed start (no window, no data, a second instance) ends here, after its message.
    if (app.Initialize() == 0) {
        app.Run();
    }
    app.Shutdown();
    return 0;
}

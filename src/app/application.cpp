#include "app/application.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

}  // namespace

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

void Application::ReadConfiguration() {
    const std::string path = platform::CurrentDirectory() + "/config.ini";
    const std::vector<std::string> values = platform::ReadProfileStrings(
        path, "game", {{"FullScreen", "off"}, {"BgmVolume", "30"}, {"SeVolume", "30"}});
    Global& g = Global::Instance();
    g.Set(ParseFullScreen(values[0]), "FullScreen");
    g.Set(ParseVolume(values[1]), "BgmVolume");
    g.Set(ParseVolume(values[2]), "SeVolume");
}

int Application::Initialize() {
    platform::Platform& p = platform::Get();

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

    if (currentSceneId != nextSceneId) {
        scene.reset(factory_ ? factory_(nextSceneId) : nullptr);
        if (scene) {
            scene->Enter(currentSceneId);
        }
    }
    if (scene) {
        currentSceneId = nextSceneId;
        scene->Update(&nextSceneId);
        if (nextSceneId != currentSceneId) {
            scene->Leave();
            scene.reset();
        }
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

void HideWindowAndQuit() {
    platform::Platform& p = platform::Get();
    p.ShowMainWindow(false);
    p.PostQuit();
}

int Application::Shutdown() {
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

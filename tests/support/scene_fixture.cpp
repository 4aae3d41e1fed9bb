#include "scene_fixture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/mouse_controller.h"
#include "app/scene.h"
#include "archive/archive.h"
#include "core/global.h"
#include "core/random.h"
#include "graphics/dx_graphic.h"
#include "platform/debug.h"
#include "sound/dx_sound.h"
#include "test_support.h"

namespace testsupport {

namespace {

// Output frames of one 1/60 s pass at the mixer's 44100 Hz.
constexpr uint32_t kFramesPerPass = 735;

bool ReadBytes(const std::string& path, std::vector<uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

void SceneTest::SetUp() {
    headless = InstallHeadless();
    headless->recordAllFrames = false;
    audio = platform::audio::InstallHeadlessDevice();
    audio->SetRecording(false);
    platform::SetDebugSink([this](const std::string& line) { debugLines.push_back(line); });

    Global& g = Global::Instance();
    g.Clear();
    saveDir = MakeTempDir();
    g.SetSaveFolder(saveDir);
    Seed(kSeed);
    MouseController::Instance().Reset();

    ASSERT_EQ(DxGraphic::Instance().Init("test", 1280, 720, true), 0);
    DxSound& sound = DxSound::Instance();
    sound.Init();
    sound.SetBgmVolume(30);
    sound.SetSeVolume(30);
    sound.SetCallLog([this](const std::string& line) { sounds.push_back(line); });

    app = std::make_unique<Application>(CreateScene);
}

void SceneTest::TearDown() {
    if (app) {
        if (app->scene) {
            app->scene->Leave();
        }
        app.reset();
    }
    DxSound& sound = DxSound::Instance();
    sound.SetCallLog(nullptr);
    sound.Release();
    sound.SetSeFolder("wav/");
    DxGraphic& gfx = DxGraphic::Instance();
    gfx.ReleaseAllTextures();
    gfx.ReleaseAllCanvases();
    gfx.Shutdown();
    for (int i = 0; i < 4; ++i) {
        Archive(static_cast<ArchiveId>(i)).Clear();
    }
    Global::Instance().Clear();
    Global::Instance().SetSaveFolder("");
    platform::SetDebugSink(nullptr);
    platform::Install(nullptr);
}

bool SceneTest::UseGameData() {
    const std::string dir = BuildDir() + "/data";
    DataFiles files;
    bool ok = true;
    for (int i = 0; i < 4 && ok; ++i) {
        files.fd[static_cast<size_t>(i)] =
            ::open((dir + "/data" + std::to_string(i) + ".dat").c_str(), O_RDONLY | O_CLOEXEC);
        std::vector<uint8_t> list;
        ok = files.fd[static_cast<size_t>(i)] >= 0 &&
             ReadBytes(dir + "/data" + std::to_string(i) + ".lst", list) &&
             Archive(static_cast<ArchiveId>(i)).LoadListBytes(&files, list.data(), list.size(), i == 3) == 0;
    }
    for (int fd : files.fd) {
        if (fd >= 0) ::close(fd);  // the indices keep their own copies
    }
    DxSound::Instance().SetSeFolder(BuildDir() + "/wav/");
    return ok;
}

void SceneTest::Seed(uint32_t seed) {
    Random::Instance().Seed(seed);
    std::srand(seed);
}

void SceneTest::SetFactory(Application::SceneFactory factory) {
    app = std::make_unique<Application>(std::move(factory));
}

void SceneTest::Start(int sceneId) {
    app->currentSceneId = 0;
    app->nextSceneId = sceneId;
}

bool SceneTest::frames(int n) {
    for (int i = 0; i < n && !quit_; ++i) {
        headless->SetMouse(mouseX, mouseY, headless->MouseLeft(), headless->MouseRight());
        quit_ = !app->Pass();
        audio->Advance(kFramesPerPass);
    }
    return !quit_;
}

void SceneTest::click(int x, int y) { press(x, y, true, false); }

void SceneTest::rightClick(int x, int y) { press(x, y, false, true); }

void SceneTest::press(int x, int y, bool left, bool right) {
    mouseX = x;
    mouseY = y;
    headless->SetMouse(x, y, left, right);
    for (int pass = 0; pass < 2 && !quit_; ++pass) {
        quit_ = !app->Pass();
        audio->Advance(kFramesPerPass);
        headless->SetMouse(x, y, false, false);
    }
}

void SceneTest::moveMouse(int x, int y) {
    mouseX = x;
    mouseY = y;
    headless->SetMouse(x, y, false, false);
}

void SceneTest::holdKey(platform::KeyCode key, bool down) { headless->SetKeyDown(key, down); }

void SceneTest::pressKey(platform::KeyCode key) {
    holdKey(key, true);
    frames(1);
    holdKey(key, false);
    frames(1);
}

int SceneTest::playCount(const std::string& name) const {
    const std::string prefix = "PlaySe " + name + " ";
    int n = 0;
    for (const std::string& s : sounds) {
        if (s.compare(0, prefix.size(), prefix) == 0) ++n;
    }
    return n;
}

bool SceneTest::soundCall(const std::string& prefix) const {
    for (const std::string& s : sounds) {
        if (s.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return false;
}

bool SceneTest::logged(const std::string& utf8Fragment) const {
    for (const std::string& l : debugLines) {
        if (l.find(utf8Fragment) != std::string::npos) return true;
    }
    return false;
}

}  // namespace testsupport

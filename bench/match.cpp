// CPU cost of one frame of the match (the scene's update and its draw submission) on the headless
// backend with the generated game data: a quiet frame of the player's choice, and the deal with
// ten cards in the air. Run in the build folder (needs data/).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/mouse_controller.h"
#include "archive/archive.h"
#include "core/global.h"
#include "core/random.h"
#include "platform/headless/headless_platform.h"
#include "scenes/match/scene_game.h"
#include "sound/dx_sound.h"
#include "test_support.h"

namespace {

platform::HeadlessPlatform* g_headless = nullptr;

bool LoadGameData() {
    const std::string dir = testsupport::BuildDir() + "/data";
    DataFiles files;
    bool ok = true;
    for (int i = 0; i < 4 && ok; ++i) {
        const std::string base = dir + "/data" + std::to_string(i);
        files.fd[static_cast<size_t>(i)] = ::open((base + ".dat").c_str(), O_RDONLY | O_CLOEXEC);
        std::ifstream in(base + ".lst", std::ios::binary);
        std::vector<uint8_t> list((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ok = files.fd[static_cast<size_t>(i)] >= 0 && !list.empty() &&
             Archive(static_cast<ArchiveId>(i)).LoadListBytes(&files, list.data(), list.size(), i == 3) == 0;
    }
    for (int fd : files.fd) {
        if (fd >= 0) ::close(fd);
    }
    return ok;
}

bool Setup() {
    static bool ready = false;
    static bool done = false;
    if (!done) {
        done = true;
        g_headless = testsupport::InstallHeadlessGraphics();
        g_headless->recordAllFrames = false;
        DxSound::Instance().Init();
        Random::Instance().Seed(7);
        ready = LoadGameData();
    }
    return ready;
}

// Runs the scene one frame with the mouse at (x, y), pressed or not.
void Frame(SceneGame& scene, int x, int y, bool down) {
    g_headless->SetMouse(x, y, down, false);
    int next = kSceneGame;
    scene.Update(&next);
}

void Click(SceneGame& scene, int x, int y) {
    Frame(scene, x, y, true);
    Frame(scene, x, y, false);
}

// Enters a match and plays to the first choice of the player.
void ToPlayerChoice(SceneGame& scene) {
    Global::Instance().Set(0, "enemy");
    scene.Enter(kSceneChrSelect);
    Frame(scene, 0, 0, false);
    Click(scene, 640, 300);
    Click(scene, 640, 300);
    for (int i = 0; i < 2000 && !(scene.matchState == SceneGame::PlayerChoice && scene.previousState == scene.matchState);
         ++i) {
        Frame(scene, 0, 0, false);
    }
}

void BM_MatchFramePlayerChoice(benchmark::State& state) {
    if (!Setup()) {
        state.SkipWithError("needs the generated data in the build folder");
        return;
    }
    SceneGame scene;
    ToPlayerChoice(scene);
    for (auto _ : state) {
        Frame(scene, 700, 300, false);
    }
    scene.Leave();
}
BENCHMARK(BM_MatchFramePlayerChoice)->Unit(benchmark::kMicrosecond);

// Ten cards dealt with their flights, the roulette's figures before: the frames of a hand's start.
void BM_MatchFrameDealing(benchmark::State& state) {
    if (!Setup()) {
        state.SkipWithError("needs the generated data in the build folder");
        return;
    }
    SceneGame scene;
    ToPlayerChoice(scene);
    int frame = 0;
    for (auto _ : state) {
        if (frame++ % 60 == 0) {
            scene.stock.resetDeck(true);
            scene.matchState = SceneGame::Deal;
        }
        Frame(scene, 700, 300, false);
    }
    scene.Leave();
}
BENCHMARK(BM_MatchFrameDealing)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

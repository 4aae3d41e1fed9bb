// Start-up time of the real program: from process entry to the first pass of the main loop that
// reaches a scene (window, GL context, sound device, data files, lists, save), run in the build
// folder with its data/. Needs a display (run under xvfb-run).
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "app/application.h"
#include "archive/resources.h"
#include "test_support.h"

namespace {

// Seconds since this process started, from /proc (so the loader and static constructors count).
double SecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    std::istringstream rest(text.substr(close + 2));
    std::string field;
    unsigned long long startTicks = 0;
    for (int i = 3; i <= 22 && rest >> field; ++i) {
        if (i == 22) startTicks = std::stoull(field);
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double boot = static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
    return boot - static_cast<double>(startTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

class FirstPass : public Scene {
public:
    explicit FirstPass(double& at) : at_(at) {}
    void Enter(int) override {}
    void Leave() override {}
    void Update(int* next) override {
        at_ = SecondsSinceProcessStart();
        *next = kSceneQuit;
    }

private:
    double& at_;
};

void BM_StartupToFirstPass(benchmark::State& state) {
    if (std::getenv("DISPLAY") == nullptr) {
        state.SkipWithError("needs a display");
        return;
    }
    const std::string build = testsupport::BuildDir();
    if (chdir(build.c_str()) != 0) {
        state.SkipWithError("no build folder");
        return;
    }
    // The game compiles its lists in; this program reads the packer's copies of them.
    static std::string lists[4];
    for (int i = 0; i < 4; ++i) {
        std::ifstream in("data/data" + std::to_string(i) + ".lst", std::ios::binary);
        lists[i].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        archive::RegisterResource("RT_LIST", 103 + i, reinterpret_cast<const uint8_t*>(lists[i].data()),
                                  lists[i].size());
    }
    for (auto _ : state) {
        double firstPass = -1;
        Application app;
        app.SetInstanceName("tarnwick-bench-startup");
        app.SetSceneFactory([&](int id) -> Scene* { return id == kSceneTitle ? new FirstPass(firstPass) : nullptr; });
        if (app.Initialize() == 0) {
            app.Run();
        }
        app.Shutdown();
        state.counters["startup_ms"] = firstPass * 1000.0;
    }
}

}  // namespace

BENCHMARK(BM_StartupToFirstPass)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();

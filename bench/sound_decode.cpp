// Music decoding speed: DxSound::FillPcm refilling one half of the music buffer (88200 bytes,
// half a second) from a track in memory. The refill thread has half a second for each, so the
// real-time multiple is 0.5 s / time per refill. The track is the game's generated
// "bgm_game.ogg" (assets/music under TARNWICK_BUILD_DIR) or the file named by TARNWICK_BENCH_OGG.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "platform/headless/headless_audio.h"
#include "sound/dx_sound.h"

namespace {

std::string TrackPath() {
    if (const char* p = std::getenv("TARNWICK_BENCH_OGG")) {
        return p;
    }
    const char* build = std::getenv("TARNWICK_BUILD_DIR");
    return std::string(build != nullptr ? build : ".") + "/assets/music/bgm_game.ogg";
}

void BM_FillHalfBuffer(benchmark::State& state) {
    static DataFiles files;
    const std::string path = TrackPath();
    const int fd = open(path.c_str(), O_RDONLY);
    const off_t size = fd >= 0 ? lseek(fd, 0, SEEK_END) : -1;
    if (size <= 0) {
        state.SkipWithError(("no track at " + path + " (set TARNWICK_BENCH_OGG)").c_str());
        return;
    }
    files.fd[1] = fd;
    std::vector<uint8_t> list = {9, 'b', 'e', 'n', 'c', 'h', '.', 'o', 'g', 'g', 1, 0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        list.push_back(static_cast<uint8_t>(static_cast<uint64_t>(size) >> (8 * i)));
    }
    Archive(ArchiveId::Music).LoadListBytes(&files, list.data(), list.size(), false);
    platform::audio::InstallHeadlessDevice();
    DxSound& sound = DxSound::Instance();
    sound.Init();
    if (sound.OpenBgm("bench.ogg") != 0) {
        state.SkipWithError("the track does not open");
        sound.Release();
        return;
    }
    std::vector<uint8_t> half(DxSound::kBgmBufferBytes / 2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(sound.FillPcm(half.data(), static_cast<uint32_t>(half.size())));
    }
    // Seconds of audio decoded per second of CPU time: the multiple of real time.
    state.counters["realtime_multiple"] = benchmark::Counter(
        0.5 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    sound.Release();
    close(fd);
}
BENCHMARK(BM_FillHalfBuffer)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

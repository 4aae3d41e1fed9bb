// Frame pacing of the real main-loop wait on this machine: 600 frames of Timer::Wait on the real
// clock, each frame doing 3 ms of work, reporting the mean interval, the 99th percentile of
// |interval - 16.667 ms| and the CPU time the wait burns per second (mostly the final spin).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "app/timer.h"

namespace {

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void BusyFor(double ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double, std::milli>(ms);
    while (std::chrono::steady_clock::now() < end) {
    }
}

void BM_FramePacing(benchmark::State& state) {
    const double workMs = static_cast<double>(state.range(0));
    for (auto _ : state) {
        Timer timer;
        timer.Wait();
        std::vector<double> intervals;
        intervals.reserve(600);
        double waitCpu = 0;
        auto previous = std::chrono::steady_clock::now();
        for (int i = 0; i < 600; ++i) {
            BusyFor(workMs);
            const double cpuBefore = CpuSeconds();
            timer.Wait();
            waitCpu += CpuSeconds() - cpuBefore;
            const auto now = std::chrono::steady_clock::now();
            intervals.push_back(std::chrono::duration<double, std::milli>(now - previous).count());
            previous = now;
        }
        double sum = 0;
        std::vector<double> deviation;
        for (double v : intervals) {
            sum += v;
            deviation.push_back(std::fabs(v - 1000.0 / 60.0));
        }
        std::sort(deviation.begin(), deviation.end());
        const double seconds = sum / 1000.0;
        state.counters["mean_interval_ms"] = sum / intervals.size();
        state.counters["p99_deviation_ms"] = deviation[static_cast<size_t>(deviation.size() * 0.99)];
        state.counters["max_deviation_ms"] = deviation.back();
        state.counters["wait_cpu_ms_per_s"] = waitCpu * 1000.0 / seconds;
    }
}

}  // namespace

BENCHMARK(BM_FramePacing)->Arg(3)->Arg(12)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();

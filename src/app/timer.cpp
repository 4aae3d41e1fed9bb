#include "app/timer.h"

#include "platform/platform.h"

namespace {
constexpr uint32_t kStepsMs[3] = {16, 17, 17};
}

Timer::Timer() {
    platform::Platform& p = platform::Get();
    if (p.PerformanceCounter() != 0) {
        highResolution_ = true;
        frequency_ = p.PerformanceFrequency();
    }
}

void Timer::UseMillisecondPath() {
    highResolution_ = false;
    lastFrameMs_ = 0;
    stepIndex_ = 0;
}

void Timer::Wait() {
    platform::Platform& p = platform::Get();
    if (highResolution_) {
        for (;;) {
            const uint64_t now = p.PerformanceCounter();
            const double elapsed = static_cast<double>(static_cast<int64_t>(now - lastFrame_)) /
                                   static_cast<double>(frequency_);
            if (elapsed < 0.015) {
                p.Sleep(1);
            }
            if (elapsed >= 1.0 / 60.0) {
                break;
            }
        }
        lastFrame_ = p.PerformanceCounter();
        return;
    }
    for (;;) {
        const uint32_t d = p.Milliseconds() - lastFrameMs_;
        if (d < 15) {
            p.Sleep(1);
        }
        if (d >= kStepsMs[stepIndex_]) {
            break;
        }
    }
    lastFrameMs_ = p.Milliseconds();
    stepIndex_ = (stepIndex_ + 1) % 3;
}

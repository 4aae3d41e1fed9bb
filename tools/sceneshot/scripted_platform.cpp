#include "scripted_platform.h"

#include <utility>

namespace sceneshot {

ScriptedPlatform::ScriptedPlatform(std::unique_ptr<platform::Platform> real, bool realTime)
    : real_(std::move(real)), realTime_(realTime) {}

// The virtual clock moves 1 microsecond per read, so the frame timer's spinning wait ends.
uint64_t ScriptedPlatform::PerformanceCounter() {
    if (realTime_) return real_->PerformanceCounter();
    clockNs_ += 1000;
    return clockNs_;
}

uint64_t ScriptedPlatform::PerformanceFrequency() {
    return realTime_ ? real_->PerformanceFrequency() : 1000000000ull;
}

uint32_t ScriptedPlatform::Milliseconds() {
    if (realTime_) return real_->Milliseconds();
    clockNs_ += 1000;
    return static_cast<uint32_t>(clockNs_ / 1000000ull);
}

void ScriptedPlatform::Sleep(uint32_t ms) {
    if (realTime_) {
        real_->Sleep(ms);
        return;
    }
    clockNs_ += static_cast<uint64_t>(ms) * 1000000ull;
}

bool ScriptedPlatform::PollEvent(platform::Event& out) {
    // Window events of the real platform pass through; a posted quit is ours.
    if (real_->PollEvent(out)) {
        return true;
    }
    if (!TakeQuit()) {
        return false;
    }
    out = platform::Event{platform::Event::Type::Quit, platform::KeyCode::Other, false};
    return true;
}

}  // namespace sceneshot

#include "platform/platform.h"

namespace platform {
namespace {
std::unique_ptr<Platform>& Slot() {
    static std::unique_ptr<Platform> slot;
    return slot;
}
}  // namespace

Platform& Get() {
    auto& slot = Slot();
    if (!slot) {
        slot = CreateRealPlatform();
    }
    return *slot;
}

void Install(std::unique_ptr<Platform> platform) { Slot() = std::move(platform); }

}  // namespace platform

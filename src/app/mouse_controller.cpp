#include "app/mouse_controller.h"

#include "platform/platform.h"

void MouseController::Update(bool enable) {
    previousX = x;
    previousY = y;
    previousLeft = left;
    previousRight = right;
    previousKeys = keys;
    enabled = enable;
    polled = true;
    platform::Platform& p = platform::Get();
    const bool foreground = p.IsMainWindowForeground();
    // Keys are sampled while input is off too, so a key held across a pause does not count as
    // pressed again when input comes back.
    for (size_t k = 0; k < kKeyCount; ++k) {
        keys[k] = foreground && p.IsKeyDown(static_cast<platform::KeyCode>(k));
    }
    if (!foreground) {
        enabled = false;
    }
    if (!enabled) {
        x = y = -1;
        left = right = false;
        return;
    }
    p.GetMouse(x, y, left, right);
}

bool MouseController::KeyHeld(platform::KeyCode key) const { return enabled && platform::Get().IsKeyDown(key); }

bool MouseController::KeyPressed(platform::KeyCode key) const {
    const auto k = static_cast<size_t>(key);
    return enabled && polled && k < kKeyCount && keys[k] && !previousKeys[k];
}

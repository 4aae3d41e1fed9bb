#include "app/mouse_controller.h"

#include "platform/platform.h"

void MouseController::Update(bool enable) {
    previousX = x;
    previousY = y;
    previousLeft = left;
    previousRight = right;
    enabled = enable;
    polled = true;
    platform::Platform& p = platform::Get();
    if (!p.IsMainWindowForeground()) {
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

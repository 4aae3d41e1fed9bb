#pragma once
#include "core/singleton.h"
#include "platform/platform.h"

// Samples the mouse once per frame in back-buffer pixels and keeps the previous sample, so that
// callers see presses and releases.
class MouseController : public Singleton<MouseController> {
public:
    MouseController() = default;
    // Forgets every sample (tests start from a fresh state).
    void Reset() {
        x = y = previousX = previousY = -1;
        left = right = previousLeft = previousRight = enabled = polled = false;
    }
    // Called once per frame by the running scene; enabled is false while the scene wants no input.
    void Update(bool enabled);

    bool Clicked() const { return left && !previousLeft && polled; }
    bool Released() const { return previousLeft && !left; }
    bool RightClicked() const { return right && !previousRight && polled; }
    // True while the key is held and input is on (left Ctrl runs through messages).
    bool KeyHeld(platform::KeyCode key) const;

    int x = -1, y = -1;
    bool left = false, right = false;
    int previousX = -1, previousY = -1;
    bool previousLeft = false, previousRight = false;
    bool enabled = false;
    bool polled = false;
};

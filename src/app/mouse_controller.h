#pragma once
#include "app/singleton.h"

// Samples the mouse once per frame in back-buffer pixels and keeps the previous sample, so that
// callers see presses and releases.
class MouseController : public Singleton<MouseController> {
public:
    MouseController() = default;
    // Called once per frame by the running scene; enabled is false while the scene wants no input.
    void Update(bool enabled);

    bool Clicked() const { return left && !previousLeft && polled; }
    bool Released() const { return previousLeft && !left; }

    int x = -1, y = -1;
    bool left = false, right = false;
    int previousX = -1, previousY = -1;
    bool previousLeft = false, previousRight = false;
    bool enabled = false;
    bool polled = false;
};

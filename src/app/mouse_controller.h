#pragma once
#include <bitset>

#include "core/singleton.h"
#include "platform/platform.h"

// Samples the mouse and the game's keys once per frame (mouse in back-buffer pixels) and keeps
// the previous sample, so that callers see presses and releases.
class MouseController : public Singleton<MouseController> {
public:
    MouseController() = default;
    // Forgets every sample (tests start from a fresh state).
    void Reset() {
        x = y = previousX = previousY = -1;
        left = right = previousLeft = previousRight = enabled = polled = false;
        keys.reset();
        previousKeys.reset();
    }
    // Called once per frame by the running scene; enabled is false while the scene wants no input.
    void Update(bool enabled);

    bool Clicked() const { return left && !previousLeft && polled; }
    bool Released() const { return previousLeft && !left; }
    bool RightClicked() const { return right && !previousRight && polled; }
    // True while the key is held and input is on (left Ctrl runs through messages).
    bool KeyHeld(platform::KeyCode key) const;
    // True on the frame the key went down (held now, not at the previous sample) with input on.
    bool KeyPressed(platform::KeyCode key) const;

    int x = -1, y = -1;
    bool left = false, right = false;
    int previousX = -1, previousY = -1;
    bool previousLeft = false, previousRight = false;
    bool enabled = false;
    bool polled = false;

    static constexpr size_t kKeyCount = static_cast<size_t>(platform::KeyCode::Other);
    std::bitset<kKeyCount> keys, previousKeys;  // sampled key states, indexed by KeyCode
};

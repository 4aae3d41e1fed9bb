#pragma once
// Kept with the widgets, not in graphics/: ScreenFade belongs to the graphics service but draws
// through an Image, and graphics must not include the widgets that build on it.
#include <array>
#include <cstdint>

#include "widgets/image.h"

// The full-screen colour fade of every scene: a plane drawn as an untextured 1280 x 720
// rectangle whose alpha and colour move linearly from one ARGB colour to another over a number
// of frames. The scene draws `plane` last every frame and receives `result` once, on the Step
// after the fade has ended.
class ScreenFade {
public:
    ScreenFade();

    // Fades from one 0xAARRGGBB colour to another over frames frames (restarts a running fade).
    void Start(uint32_t fromArgb, uint32_t toArgb, int frames);
    // One frame: -1 while running or idle; result exactly once, on the call that ends the fade.
    int Step();
    // Sets the plane's colour and alpha at once.
    void SetColour(uint32_t argb);
    // Draws the plane (call after everything else).
    void Draw() { plane.draw(0.0f, 0.0f, 0.0f); }

    int result = -1;       // handed back when the fade ends
    Image plane;           // empty texture name, visible
    bool active = false;   // a fade is running
    int frame = 0;         // frames done, 0 .. length
    int length = 0;        // frames the fade lasts
    int delay = 0;         // frames still to wait before the fade advances
    // Alpha, red, green, blue, each 0..1.
    std::array<float, 4> from{};
    std::array<float, 4> to{};
    std::array<float, 4> current{};

private:
    void ApplyCurrent();
};

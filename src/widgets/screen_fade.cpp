#include "widgets/screen_fade.h"

namespace {

std::array<float, 4> Unpack(uint32_t argb) {
    return {static_cast<float>((argb >> 24) & 0xFFu) / 255.0f, static_cast<float>((argb >> 16) & 0xFFu) / 255.0f,
            static_cast<float>((argb >> 8) & 0xFFu) / 255.0f, static_cast<float>(argb & 0xFFu) / 255.0f};
}

}  // namespace

ScreenFade::ScreenFade() {
    plane.textureName.clear();
    plane.visible = true;
}

void ScreenFade::Start(uint32_t fromArgb, uint32_t toArgb, int frames) {
    from = Unpack(fromArgb);
    to = Unpack(toArgb);
    length = frames;
    active = true;
    frame = 0;
    delay = 0;
}

int ScreenFade::Step() {
    if (!active) {
        return -1;
    }
    if (delay > 0) {
        --delay;
        return -1;
    }
    ++frame;
    if (frame > length) {
        // A fade of no frames has not shown its end colour yet: show it now, as a fade of any
        // length does by the time it reports.
        if (length <= 0) {
            current = to;
            ApplyCurrent();
        }
        frame = length;
        active = false;
        return result;
    }
    const float f = static_cast<float>(frame);
    const float n = static_cast<float>(length);
    for (size_t i = 0; i < 4; ++i) {
        current[i] = to[i] * f / n + from[i] * (n - f) / n;
    }
    ApplyCurrent();
    return -1;
}

void ScreenFade::SetColour(uint32_t argb) {
    current = Unpack(argb);
    ApplyCurrent();
}

void ScreenFade::ApplyCurrent() {
    plane.alpha = current[0];
    plane.red = current[1];
    plane.green = current[2];
    plane.blue = current[3];
}

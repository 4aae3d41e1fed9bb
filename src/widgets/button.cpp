#include "widgets/button.h"

bool Button::hitTest(int x, int y) {
    hovered = contains(x, y);
    return hovered;
}

void Button::draw(float dx, float dy, float dz) {
    Image::draw(dx, (enabled && hovered) ? dy + static_cast<float>(kSink) : dy, dz);
}

#pragma once
#include "widgets/image.h"

// A sprite that remembers whether the mouse is over it and sinks 5 pixels while it is enabled
// and hovered. What a click does is the owner's business.
class Button : public Image {
public:
    static constexpr int kSink = 5;

    // The sprite hit test; the result is also kept in hovered.
    bool hitTest(int x, int y);
    void draw(float dx, float dy, float dz) override;

    bool enabled = false;
    bool hovered = false;
};

#pragma once
#include "widgets/number.h"

// The ability gauge of the match: a three-digit additive number with a frame, an icon and a bar
// whose length shows the value within the current hundred (a full bar at 99, none at 100).
class Gauge : public Number {
public:
    static constexpr int kBarLeft = 398;
    static constexpr int kBarLength = 150;

    // Builds the three sprites and the digits, and shows 0 (within the bounds).
    void init();
    // The number (with its count), then the bar's right edge from shown, then frame, icon and bar.
    void draw(float dx, float dy, float dz) override;

    // Right edge of the bar on the sheet for a displayed value.
    static int BarRight(int shownValue);

    Image frame;
    Image icon;
    Image bar;
};

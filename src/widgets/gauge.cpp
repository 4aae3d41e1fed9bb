#include "widgets/gauge.h"

void Gauge::init() {
    frame.loadTexture("sozai1.png", true);
    frame.useSourceRect = true;
    frame.sourceRect = Image::Rect{398, 600, 610, 636};
    frame.position = Vec3{295.0f, 626.0f, 0.0f};

    icon.loadTexture("sozai1.png", true);
    icon.useSourceRect = true;
    icon.sourceRect = Image::Rect{564, 682, 590, 712};
    icon.position = Vec3{484.0f, 671.0f, 0.0f};

    bar.loadTexture("sozai1.png", true);
    bar.useSourceRect = true;
    bar.sourceRect = Image::Rect{kBarLeft, 636, kBarLeft, 651};
    bar.position = Vec3{340.0f, 632.0f, 0.0f};

    Number::init(46, 56, 24, 3, 0, 656, false);
    for (Image& d : digits) {
        d.blendMode = 2;
    }
    setPosition(397, 651);
    counting = false;
    value = clamp(0);
    shown = value;
    setDisplay(0);
    bar.sourceRect.right = BarRight(shown);
}

int Gauge::BarRight(int shownValue) {
    // A negative value (no lower bound set) shows an empty bar rather than a reversed one.
    const int withinHundred = shownValue > 0 ? shownValue % 100 : 0;
    return kBarLeft + (withinHundred * kBarLength) / 99;
}

void Gauge::draw(float dx, float dy, float dz) {
    Number::draw(dx, dy, dz);
    bar.sourceRect.right = BarRight(shown);
    drawTree(&frame, dx, dy, dz);
    drawTree(&icon, dx, dy, dz);
    drawTree(&bar, dx, dy, dz);
}

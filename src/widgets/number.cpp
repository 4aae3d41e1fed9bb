#include "widgets/number.h"

#include <algorithm>
#include <cstdint>

void Number::init(int width, int height, int step, int count, int left, int top, bool centre) {
    digitWidth = width;
    digitHeight = height;
    advance = step;
    digitCount = std::clamp(count, 0, kMaxDigits);
    atlasLeft = left;
    atlasTop = top;
    centred = centre;
    digits.assign(static_cast<size_t>(digitCount), Image());
    for (Image& d : digits) {
        d.loadTexture("sozai1.png", true);
        d.useSourceRect = true;
    }
    showLeadingZeros = false;
    counting = false;
    setPosition(originX, originY);
    setDisplay(value);
}

void Number::setPosition(int x, int y) {
    originX = x;
    originY = y;
    for (int i = 0; i < digitCount; ++i) {
        digits[static_cast<size_t>(i)].position = Vec3{static_cast<float>(x + i * advance), static_cast<float>(y), 0.0f};
    }
}

int Number::clamp(int v) const {
    if (hasMin && v < minimum) {
        v = minimum;
    }
    if (hasMax && v > maximum) {
        v = maximum;
    }
    return v;
}

void Number::setDisplay(int v) {
    v = clamp(v);
    shown = v;
    int r = std::max(v, 0);  // the strip has no minus sign
    int visibleCount = 0;
    for (int i = digitCount - 1; i >= 0; --i) {
        Image& d = digits[static_cast<size_t>(i)];
        const int digit = r % 10;
        const int left = atlasLeft + digit * digitWidth;
        d.sourceRect = Image::Rect{left, atlasTop, left + digitWidth, atlasTop + digitHeight};
        d.visible = showLeadingZeros || r != 0 || i == digitCount - 1;
        if (d.visible) {
            ++visibleCount;
        }
        r /= 10;
    }
    if (centred) {
        // Hidden positions are on the left: shifting by half of them centres the rest.
        const int h = ((digitCount - visibleCount) * advance) / 2;
        for (int i = 0; i < digitCount; ++i) {
            digits[static_cast<size_t>(i)].position =
                Vec3{static_cast<float>(originX + i * advance - h), static_cast<float>(originY), 0.0f};
        }
    }
}

void Number::setValue(int v) {
    counting = false;
    value = clamp(v);
    setDisplay(value);
}

void Number::countTo(int target, int frames) {
    counting = true;
    countFrame = 0;
    countFrames = frames;
    countFrom = value;
    countTarget = clamp(target);
    value = countTarget;
}

void Number::advanceCount() {
    if (!counting) {
        return;
    }
    ++countFrame;
    if (countFrame < countFrames) {
        // 64-bit so that a long count between large values cannot overflow.
        const int64_t span = static_cast<int64_t>(countTarget) - countFrom;
        setDisplay(static_cast<int>(countFrom + span * countFrame / countFrames));
    } else {
        setDisplay(countTarget);
        counting = false;
    }
}

void Number::draw(float dx, float dy, float dz) {
    advanceCount();
    for (Image& d : digits) {
        drawTree(&d, dx, dy, dz);
    }
}

#include "widgets/image.h"

#include <cmath>

#include "graphics/dx_graphic.h"

namespace {

// The value of an easing at t frames of d (t < d).
float Ease(const TweenStep& s, float current) {
    const float t = static_cast<float>(s.elapsed);
    const float D = static_cast<float>(s.duration);
    const float d = s.target - s.start;
    switch (s.easing) {
        case 1:
            return s.start + t * d / D;
        case 2:
            return s.start + d * t * t / (D * D);
        case 3:
            return s.start + d * t * (2.0f * D - t) / (D * D);
        case 4:
            if (t < D / 2.0f) {
                return s.start + 2.0f * d * t * t / (D * D);
            }
            return s.start + d * (1.0f - 2.0f * (t - D) * (t - D) / (D * D));
        case 5: {
            const float u = 2.0f * t - D;
            return s.start + s.target * (1.0f - u * u / (D * D));
        }
        default:
            return current;  // a wait: unchanged until the end
    }
}

}  // namespace

void Image::draw(float dx, float dy, float dz) { DxGraphic::Instance().DrawSprite(*this, position, dx, dy, dz); }

void Image::loadTexture(const char* name, bool show) {
    textureName = name != nullptr ? name : "";
    int w = 0, h = 0;
    DxGraphic::Instance().GetTexture(textureName, w, h);
    textureWidth = w;
    textureHeight = h;
    visible = show;
}

const float* Image::property(int index) const { return const_cast<Image*>(this)->property(index); }

float* Image::property(int index) {
    switch (index) {
        case 0: return &position.x;
        case 1: return &position.y;
        case 2: return &position.z;
        case 3: return &scale.x;
        case 4: return &scale.y;
        case 5: return &scale.z;
        case 6: return &scalePivot.x;
        case 7: return &scalePivot.y;
        case 8: return &scalePivot.z;
        case 9: return &rotation.x;
        case 10: return &rotation.y;
        case 11: return &rotation.z;
        case 12: return &rotationPivot.x;
        case 13: return &rotationPivot.y;
        case 14: return &rotationPivot.z;
        case 15: return &alpha;
        case 16: return &red;
        case 17: return &green;
        case 18: return &blue;
        default: return nullptr;
    }
}

void Image::tween(float target, int index, int easing, int duration, int delay) {
    const float* p = property(index);
    if (p == nullptr) {
        return;
    }
    TweenStep s;
    s.easing = easing;
    s.start = *p;
    s.target = target;
    s.duration = duration;
    s.delay = delay;
    tweens[static_cast<size_t>(index)].push_back(s);
}

void Image::tweenGroup(int group, int easing, float first, float second, float third, int duration, int delay) {
    static constexpr int kFirstIndex[6] = {0, 3, 6, 9, 12, 16};
    if (group < 0 || group >= 6) {
        return;
    }
    const int i = kFirstIndex[group];
    tween(first, i, easing, duration, delay);
    tween(second, i + 1, easing, duration, delay);
    tween(third, i + 2, easing, duration, delay);
}

void Image::updateTweens() {
    for (int index = 0; index < kPropertyCount; ++index) {
        std::vector<TweenStep>& queue = tweens[static_cast<size_t>(index)];
        if (queue.empty()) {
            continue;
        }
        float* value = property(index);
        // Each pass either consumes the frame or removes a finished step, so this ends.
        while (!queue.empty()) {
            TweenStep& s = queue.front();
            if (s.delay > 0) {
                --s.delay;
                break;
            }
            if (s.elapsed == 0) {
                s.start = *value;
            }
            if (s.elapsed >= s.duration) {
                // An arc returns to where it started; every other step lands on its target. The
                // next step starts in this same frame (its delay counts from here).
                *value = s.easing == 5 ? s.start : s.target;
                queue.erase(queue.begin());
                continue;
            }
            *value = Ease(s, *value);
            ++s.elapsed;
            break;
        }
    }
}

bool Image::tweening() const {
    for (const auto& q : tweens) {
        if (!q.empty()) {
            return true;
        }
    }
    return false;
}

void Image::clearTweens() {
    for (auto& q : tweens) {
        q.clear();
    }
}

bool Image::contains(int x, int y) const {
    double w = textureWidth, h = textureHeight;
    if (useSourceRect) {
        w = static_cast<double>(sourceRect.right) - sourceRect.left;
        h = static_cast<double>(sourceRect.bottom) - sourceRect.top;
    }
    // Truncated toward zero, in double so that any float position is compared without overflow
    // (a NaN position contains nothing).
    const double px = std::trunc(static_cast<double>(position.x));
    const double py = std::trunc(static_cast<double>(position.y));
    return px <= x && x < px + w && py <= y && y < py + h;
}

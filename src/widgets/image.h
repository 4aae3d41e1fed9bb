#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/sprite_desc.h"
#include "widgets/draw_base.h"

// One queued change of one sprite property.
struct TweenStep {
    int easing = 1;       // 1 linear, 2 quadratic in, 3 quadratic out, 4 in-out, 5 arc, other: wait
    float start = 0.0f;   // value when the step starts (captured then)
    float target = 0.0f;  // end value; the amplitude for the arc
    int duration = 0;     // frames
    int elapsed = 0;      // frames run
    int delay = 0;        // frames to wait before the step starts
};

// A sprite: a texture (or a rectangle of one), scaled, rotated, tinted, with per-property tween
// queues. The drawable properties are the SpriteDesc that DxGraphic::DrawSprite reads; the
// position comes from DrawBase.
class Image : public DrawBase, public SpriteDesc {
public:
    // Property indices: 0-2 position, 3-5 scale, 6-8 scale pivot, 9-11 rotation,
    // 12-14 rotation pivot, 15 alpha, 16-18 red, green, blue.
    static constexpr int kPropertyCount = 19;

    Image() = default;

    void draw(float dx, float dy, float dz) override;

    // Names the texture, reads its picture size from the texture cache (loading it if needed)
    // and sets visibility.
    void loadTexture(const char* name, bool visible);
    void loadTexture(const std::string& name, bool visible) { loadTexture(name.c_str(), visible); }

    // The float named by a property index, or null.
    float* property(int index);
    const float* property(int index) const;

    // Queues a step on one property (ignored for an index that names none).
    void tween(float target, int index, int easing, int duration, int delay);
    // The same step on the three properties of a group: 0 position, 1 scale, 2 scale pivot,
    // 3 rotation, 4 rotation pivot, 5 colour (red, green, blue). Other groups do nothing.
    void tweenGroup(int group, int easing, float first, float second, float third, int duration, int delay);
    // Advances every queue by one frame.
    void updateTweens();
    // True while any property has queued steps.
    bool tweening() const;
    // Drops every queued step, leaving the properties where they are.
    void clearTweens();

    // Hit test against the position (truncated) and the source rectangle's or texture's size.
    bool contains(int x, int y) const;

    std::array<std::vector<TweenStep>, kPropertyCount> tweens;

protected:
    // An ImageFont: its texture name names a text canvas.
    explicit Image(bool text) : SpriteDesc(text) {}
};

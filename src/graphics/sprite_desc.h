#pragma once
#include <cstdint>
#include <string>

// A point or a triple of factors or angles; the position type of every drawable.
struct SpriteVec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Everything DxGraphic::DrawSprite reads from a sprite apart from its position: which texture
// (or rectangle of one), how it is scaled and turned, its tint and blending. The widgets' Image
// builds on it; graphics itself knows nothing of the widget tree.
struct SpriteDesc {
    struct Rect {
        int32_t left = 0;
        int32_t top = 0;
        int32_t right = 0;   // exclusive
        int32_t bottom = 0;  // exclusive
    };

    SpriteDesc() = default;
    explicit SpriteDesc(bool textCanvas) : textCanvas_(textCanvas) {}

    // True when the texture name names a text canvas rather than a loaded picture.
    bool isText() const { return textCanvas_; }

    bool visible = false;
    bool useSourceRect = false;
    Rect sourceRect;
    float alpha = 1.0f;
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
    int blendMode = 1;
    bool scaleEnabled = false;
    SpriteVec3 scalePivot{0.5f, 0.5f, 0.0f};
    SpriteVec3 scale{1.0f, 1.0f, 1.0f};
    bool rotationEnabled = false;
    SpriteVec3 rotationPivot{0.5f, 0.5f, 0.0f};
    SpriteVec3 rotation{0.0f, 0.0f, 0.0f};  // degrees about X, Y, Z
    std::string textureName;
    bool followShake = false;
    int32_t textureWidth = 0;
    int32_t textureHeight = 0;

private:
    bool textCanvas_ = false;
};

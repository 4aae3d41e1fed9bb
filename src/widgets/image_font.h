#pragma once
// Kept with the widgets, not in graphics/: ImageFont is part of the glyph text service but is an
// Image, and graphics must not include the widgets that build on it.
#include <cstdint>
#include <string_view>

#include "widgets/image.h"

// An Image whose texture is a text canvas of its own, filled by glyph rendering. Its texture
// name is the canvas name; drawing looks the name up among the canvases.
class ImageFont : public Image {
public:
    ImageFont() : Image(true) {}

    // Shows the image, names the canvas, creates it (an existing canvas of that name is kept),
    // clears it and takes width x height as the texture size. The result of creating the canvas.
    int CreateCanvas(std::string_view name, int width, int height);
    // Clears the canvas to transparent black; E_FAIL when there is no canvas of the name.
    int Clear();
    // Draws Shift-JIS text at canvas pixel (x, y) in size pixels and colour 0xRRGGBB, after
    // clearing when clearFirst; the total advance in pixels, or E_FAIL.
    int DrawText(std::string_view textSjis, int x, int y, int size, uint32_t colourRgb, bool clearFirst);
};

#include "widgets/image_font.h"

#include "graphics/dx_graphic.h"

int ImageFont::CreateCanvas(std::string_view name, int width, int height) {
    DxGraphic& g = DxGraphic::Instance();
    visible = true;
    textureName.assign(name);
    const int result = g.CreateCanvas(textureName, width, height);
    g.ClearCanvas(textureName);
    textureWidth = width;
    textureHeight = height;
    return result;
}

int ImageFont::Clear() { return DxGraphic::Instance().ClearCanvas(textureName); }

int ImageFont::DrawText(std::string_view textSjis, int x, int y, int size, uint32_t colourRgb, bool clearFirst) {
    if (clearFirst) {
        Clear();
    }
    return DxGraphic::Instance().DrawText(textSjis, x, y, size, colourRgb, textureName);
}

#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/dx_graphic.h"
#include "graphics_test.h"
#include "platform/debug.h"
#include "platform/headless/headless_platform.h"
#include "platform/text_encoding.h"

namespace widgettest {

// A fresh headless platform with a 1280 x 720 renderer and the game font; no picture archive,
// so sprites draw as untextured quads (still recorded with their corners and colour). Debug lines
// are captured.
class WidgetTest : public testsupport::GraphicsTest {
protected:
    // The last text drawn into a canvas ("" when there is no such canvas).
    static std::string canvasText(const char* name) {
        const DxGraphic::CacheEntry* e = gfx().FindCanvas(name);
        return e != nullptr ? e->text : std::string("<no canvas>");
    }
    static uint32_t canvasColour(const char* name) {
        const DxGraphic::CacheEntry* e = gfx().FindCanvas(name);
        return e != nullptr ? e->textColour : 0xDEADu;
    }
    // True when any pixel of the canvas is not transparent.
    static bool canvasInked(const char* name) {
        const DxGraphic::CacheEntry* e = gfx().FindCanvas(name);
        if (e == nullptr) return false;
        for (uint32_t px : e->pixels) {
            if (px != 0) return true;
        }
        return false;
    }
};

}  // namespace widgettest

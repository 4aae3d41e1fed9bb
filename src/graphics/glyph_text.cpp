// Text canvases: Shift-JIS text rasterised on the CPU into a pixel store that is uploaded to a
// texture of the canvas's size, which an ImageFont then draws like any sprite.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>

#include "core/result.h"
#include "graphics/dx_graphic.h"
#include "graphics/embedded_font.h"
#include "graphics/glyph_font.h"
#include "platform/debug.h"
#include "platform/text_encoding.h"

namespace {

// Constant-initialised, so it is destroyed after the DxGraphic singleton, whose shut-down may
// still call RemoveFontResource.
std::unique_ptr<graphics::GlyphFont> g_gameFont;

constexpr int kMaxCanvasSide = 8192;
constexpr int kShadowDrop = 3;
constexpr uint32_t kSpace = 0x20;
constexpr uint32_t kFullWidthSpace = 0x8140;

void DebugWithName(const std::string& messageSjis, std::string_view name) {
    std::string line = messageSjis;
    line += " (";
    line += name;
    line += ")";
    platform::OutputDebug(line);
}

// Writes one pass of a glyph whose bitmap's top-left corner lands on canvas pixel (left, top):
// every inked pixel replaces the canvas pixel with `rgb` at the glyph's coverage; pixels outside
// the canvas are dropped.
void WriteGlyph(DxGraphic::CacheEntry& canvas, const graphics::Glyph& glyph, int64_t left, int64_t top,
                uint32_t rgb) {
    const int64_t c0 = std::max<int64_t>(0, -left);
    const int64_t c1 = std::min<int64_t>(glyph.width, canvas.width - left);
    const int64_t r0 = std::max<int64_t>(0, -top);
    const int64_t r1 = std::min<int64_t>(glyph.height, canvas.height - top);
    for (int64_t r = r0; r < r1; ++r) {
        const uint8_t* src = glyph.gray.data() + r * glyph.width;
        // Indexed from the row start: a pointer to the bitmap's corner would lie outside the
        // pixel store when the glyph hangs over the left edge.
        uint32_t* row = canvas.pixels.data() + (top + r) * canvas.width;
        for (int64_t c = c0; c < c1; ++c) {
            const uint32_t g = src[c];
            if (g != 0) {
                const uint32_t alpha = (g * 255) >> 6;
                row[left + c] = (alpha << 24) | rgb;
            }
        }
    }
}

}  // namespace

namespace graphics {
GlyphFont* GameFont() { return g_gameFont.get(); }
}  // namespace graphics

int DxGraphic::AddFontResource() {
    if (!g_gameFont) {
        // The embedded font stands in for the face "しねきゃぷしょん" and is private to the process.
        g_gameFont = graphics::GlyphFont::Open(tarnwick_embedded_font, tarnwick_embedded_font_size);
    }
    fontLoaded_ = g_gameFont != nullptr;
    if (!fontLoaded_) {
        platform::OutputDebug(SJ("DxGraphic : フォント読込失敗 (しねきゃぷしょん)"));
        return E_FAIL_RESULT;
    }
    return S_OK_RESULT;
}

void DxGraphic::RemoveFontResource() {
    g_gameFont.reset();
    fontLoaded_ = false;
}

void DxGraphic::UploadCanvas(CacheEntry& canvas) {
    if (canvas.texture == 0 || canvas.pixels.size() != static_cast<size_t>(canvas.width) * canvas.height) {
        return;
    }
    platform::Get().UploadTexture(canvas.texture, 0, 0, canvas.width, canvas.height, canvas.pixels.data(),
                                  canvas.width);
}

int DxGraphic::CreateCanvas(std::string_view name, int width, int height) {
    if (auto it = canvases_.find(name); it != canvases_.end()) {
        it->second.lastUse = useMark_;
        return S_OK_RESULT;  // scenes entered again ask for the same names: keep what is there
    }
    if (width <= 0 || height <= 0 || width > kMaxCanvasSide || height > kMaxCanvasSide) {
        DebugWithName(SJ("DxGraphic : キャンバスの大きさが不正です"), name);
        return E_FAIL_RESULT;
    }
    CacheEntry entry;
    entry.width = width;
    entry.height = height;
    entry.lastUse = useMark_;
    entry.pixels.assign(static_cast<size_t>(width) * height, 0u);
    entry.texture = platform::Get().CreateTexture(width, height);
    int result = S_OK_RESULT;
    if (entry.texture != 0) {
        entry.textureWidth = width;
        entry.textureHeight = height;
        UploadCanvas(entry);
    } else {
        // Kept without a texture, so its size is known; a device reset can create the texture.
        DebugWithName(SJ("DxGraphic : キャンバス作成失敗"), name);
        result = E_FAIL_RESULT;
    }
    canvases_.emplace(std::string(name), std::move(entry));
    return result;
}

int DxGraphic::ClearCanvas(std::string_view name) {
    auto it = canvases_.find(name);
    if (it == canvases_.end()) {
        DebugWithName(SJ("DxGraphic : キャンバスがありません"), name);
        return E_FAIL_RESULT;
    }
    CacheEntry& canvas = it->second;
    canvas.lastUse = useMark_;
    std::fill(canvas.pixels.begin(), canvas.pixels.end(), 0u);
    if (canvas.texture == 0) {
        return E_FAIL_RESULT;
    }
    UploadCanvas(canvas);
    return S_OK_RESULT;
}

int DxGraphic::DrawText(std::string_view textSjis, int x, int y, int size, uint32_t colourRgb,
                        std::string_view name) {
    auto it = canvases_.find(name);
    if (it == canvases_.end()) {
        DebugWithName(SJ("DxGraphic : キャンバスがありません"), name);
        return E_FAIL_RESULT;
    }
    CacheEntry& canvas = it->second;
    canvas.lastUse = useMark_;
    // Kept for the redraw after a device reset. The text may be a view of canvas.text itself, so it
    // is read from the stored copy from here on.
    canvas.text.assign(textSjis.data(), textSjis.size());
    canvas.textX = x;
    canvas.textY = y;
    canvas.textSize = size;
    canvas.textColour = colourRgb;
    const std::string_view text = canvas.text;
    if (canvas.texture == 0 || canvas.pixels.size() != static_cast<size_t>(canvas.width) * canvas.height) {
        return E_FAIL_RESULT;
    }
    graphics::GlyphFont* font = g_gameFont.get();
    if (font == nullptr) {
        DebugWithName(SJ("DxGraphic : フォントがありません"), name);
        return E_FAIL_RESULT;
    }
    if (size <= 0 || size > graphics::GlyphFont::kMaxSize) {
        DebugWithName(SJ("DxGraphic : 文字の大きさが不正です"), name);
        return E_FAIL_RESULT;
    }

    const graphics::FontMetrics metrics = font->Metrics(size);
    const uint32_t rgb = colourRgb & 0x00FFFFFFu;
    int64_t px = 0;
    int64_t py = metrics.ascent;
    int64_t total = 0;
    size_t i = 0;
    while (i < text.size() && text[i] != '\0') {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead == '\n') {
            px = 0;
            py += metrics.height;
            ++i;
            continue;
        }
        uint32_t code = lead;
        if (platform::IsSjisLeadByte(lead)) {
            if (i + 1 >= text.size() || text[i + 1] == '\0') {
                break;  // a lead byte without its trail byte ends the text
            }
            code = (code << 8) | static_cast<unsigned char>(text[i + 1]);
            i += 2;
        } else {
            ++i;
        }
        const graphics::Glyph& glyph = font->Get(code, size);
        // Wrap before a character that would reach the right edge, wherever the pen is: a
        // character too wide for the canvas moves down a line even from the start of one.
        if (x + px + glyph.originX + glyph.rowBytes >= canvas.width) {
            px = 0;
            py += metrics.height;
        }
        if (code != kSpace && code != kFullWidthSpace && !glyph.gray.empty()) {
            const int64_t left = x + px + glyph.originX;
            const int64_t top = y + py - glyph.originY;
            WriteGlyph(canvas, glyph, left, top + kShadowDrop, 0u);
            WriteGlyph(canvas, glyph, left, top, rgb);
        }
        px += glyph.advance;
        total += glyph.advance;
    }
    UploadCanvas(canvas);
    return static_cast<int>(std::min<int64_t>(total, INT_MAX));
}

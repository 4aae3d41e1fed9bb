#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/result.h"
#include "graphics/dx_graphic.h"
#include "graphics/embedded_font.h"
#include "graphics/glyph_font.h"
#include "platform/headless/headless_platform.h"
#include "platform/text_encoding.h"
#include "test_support.h"

namespace {

using graphics::Glyph;

constexpr uint32_t kColour = 0x40C0FF;

class GlyphText : public ::testing::Test {
protected:
    static void SetUpTestSuite() { headless_ = testsupport::InstallHeadlessWithRenderer(); }

    void SetUp() override {
        ASSERT_EQ(DxGraphic::Instance().AddFontResource(), S_OK_RESULT);
        font_ = graphics::GameFont();
        ASSERT_NE(font_, nullptr);
        font_->SetCacheEnabled(true);
    }

    // A fresh canvas under a name no other test uses.
    std::string NewCanvas(int width, int height) {
        std::string name = "text_test_" + std::to_string(++counter_);
        EXPECT_EQ(DxGraphic::Instance().CreateCanvas(name, width, height), S_OK_RESULT);
        return name;
    }
    static const DxGraphic::CacheEntry& Canvas(const std::string& name) {
        const DxGraphic::CacheEntry* e = DxGraphic::Instance().FindCanvas(name);
        EXPECT_NE(e, nullptr);
        return *e;
    }
    static uint32_t At(const std::string& name, int x, int y) {
        const auto& c = Canvas(name);
        return c.pixels[static_cast<size_t>(y) * c.width + x];
    }
    static bool Blank(const std::string& name) {
        for (uint32_t p : Canvas(name).pixels) {
            if (p != 0) return false;
        }
        return true;
    }
    // Copies a glyph (kept by value: cache references move on the next lookup).
    Glyph G(uint32_t code, int size) { return font_->Get(code, size); }

    // Every inked pixel of the glyph shows in the colour at the glyph's coverage, bitmap corner at (left, top).
    static void ExpectGlyphAt(const std::string& name, const Glyph& g, int left, int top, uint32_t rgb) {
        int inked = 0;
        for (int r = 0; r < g.height; ++r) {
            for (int c = 0; c < g.width; ++c) {
                const uint32_t level = g.gray[static_cast<size_t>(r) * g.width + c];
                if (level == 0) continue;
                ++inked;
                ASSERT_EQ(At(name, left + c, top + r), (((level * 255) >> 6) << 24) | rgb)
                    << "glyph pixel " << c << "," << r;
            }
        }
        EXPECT_GT(inked, 0);
    }

    static platform::HeadlessPlatform* headless_;
    graphics::GlyphFont* font_ = nullptr;
    static int counter_;
};

platform::HeadlessPlatform* GlyphText::headless_ = nullptr;
int GlyphText::counter_ = 0;

TEST_F(GlyphText, EmbeddedFontIsTrimmedTrueType) {
    // A TrueType outline font (version 1.0 header), trimmed well below the 21 MB of the full face.
    ASSERT_GT(tarnwick_embedded_font_size, 1000000u);
    EXPECT_LT(tarnwick_embedded_font_size, 12000000u);
    EXPECT_EQ(std::memcmp(tarnwick_embedded_font, "\x00\x01\x00\x00", 4), 0);
    EXPECT_EQ(graphics::GlyphFont::Open(tarnwick_embedded_font, 16), nullptr);  // truncated data is refused
}

TEST_F(GlyphText, CanvasLifecycleAndUnknownNames) {
    auto& gfx = DxGraphic::Instance();
    const std::string name = NewCanvas(64, 32);
    const auto& c = Canvas(name);
    EXPECT_EQ(c.width, 64);
    EXPECT_EQ(c.textureWidth, 64);
    EXPECT_EQ(c.textureHeight, 32);
    ASSERT_NE(c.texture, 0u);
    const auto* tex = headless_->Texture(c.texture);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->width, 64);
    EXPECT_EQ(tex->height, 32);

    // Asking again for an existing name keeps the canvas, its pixels and its text.
    ASSERT_GT(gfx.DrawText("A", 0, 0, 24, kColour, name), 0);
    const std::vector<uint32_t> before = c.pixels;
    const platform::TextureHandle handle = c.texture;
    EXPECT_EQ(gfx.CreateCanvas(name, 200, 100), S_OK_RESULT);
    const auto& again = Canvas(name);
    EXPECT_EQ(again.width, 64);
    EXPECT_EQ(again.height, 32);
    EXPECT_EQ(again.texture, handle);
    EXPECT_EQ(again.pixels, before);
    EXPECT_EQ(again.text, "A");

    // Clearing empties the pixels and the texture.
    EXPECT_EQ(gfx.ClearCanvas(name), S_OK_RESULT);
    EXPECT_TRUE(Blank(name));
    EXPECT_EQ(headless_->Texture(handle)->pixels, std::vector<uint32_t>(64 * 32, 0u));

    EXPECT_EQ(gfx.DrawText("A", 0, 0, 24, kColour, "text_test_absent"), E_FAIL_RESULT);
    EXPECT_EQ(gfx.ClearCanvas("text_test_absent"), E_FAIL_RESULT);
    EXPECT_EQ(gfx.FindCanvas("text_test_absent"), nullptr);

    // Malformed requests are refused without drawing.
    EXPECT_EQ(gfx.CreateCanvas("text_test_bad", 0, 10), E_FAIL_RESULT);
    EXPECT_EQ(gfx.CreateCanvas("text_test_bad", 10, -3), E_FAIL_RESULT);
    EXPECT_EQ(gfx.CreateCanvas("text_test_bad", 100000, 10), E_FAIL_RESULT);
    EXPECT_EQ(gfx.FindCanvas("text_test_bad"), nullptr);
    EXPECT_EQ(gfx.DrawText("A", 0, 0, 0, kColour, name), E_FAIL_RESULT);
    EXPECT_EQ(gfx.DrawText("A", 0, 0, -24, kColour, name), E_FAIL_RESULT);
    EXPECT_TRUE(Blank(name));

    // Without the font nothing is drawn; loading it again works.
    gfx.RemoveFontResource();
    EXPECT_EQ(graphics::GameFont(), nullptr);
    EXPECT_EQ(gfx.DrawText("A", 0, 0, 24, kColour, name), E_FAIL_RESULT);
    EXPECT_TRUE(Blank(name));
    EXPECT_EQ(gfx.AddFontResource(), S_OK_RESULT);
    EXPECT_GT(gfx.DrawText("A", 0, 0, 24, kColour, name), 0);
}

TEST_F(GlyphText, AbcAdvancesPlacementAndShadow) {
    auto& gfx = DxGraphic::Instance();
    const int x = 10, y = 6, size = 24;
    const graphics::FontMetrics m = font_->Metrics(size);
    EXPECT_EQ(m.height, size);  // the size is the cell height
    EXPECT_GT(m.ascent, size / 2);
    EXPECT_LT(m.ascent, size);
    const Glyph a = G('A', size), b = G('B', size), c = G('C', size);
    ASSERT_GT(a.advance, 0);

    // One glyph: its coverage quantised to 65 levels at the pen (x, y + ascent), and a black copy 3 px lower.
    const std::string single = NewCanvas(64, 64);
    EXPECT_EQ(gfx.DrawText("A", x, y, size, kColour | 0xAB000000u, single), a.advance);
    ExpectGlyphAt(single, a, x + a.originX, y + m.ascent - a.originY, kColour);  // alpha byte of the colour unused
    int shadowOnly = 0;
    for (int r = 0; r < a.height; ++r) {
        for (int col = 0; col < a.width; ++col) {
            const uint32_t level = a.gray[static_cast<size_t>(r) * a.width + col];
            const bool coveredByColour = r + 3 < a.height && a.gray[static_cast<size_t>(r + 3) * a.width + col] != 0;
            if (level == 0 || coveredByColour) continue;
            ++shadowOnly;
            ASSERT_EQ(At(single, x + a.originX + col, y + m.ascent - a.originY + r + 3), ((level * 255) >> 6) << 24);
        }
    }
    EXPECT_GT(shadowOnly, 0);
    // Nothing beyond the glyph and its shadow.
    int written = 0;
    for (uint32_t p : Canvas(single).pixels) written += p != 0;
    int expectedWritten = 0;
    for (int r = 0; r < a.height + 3; ++r) {
        for (int col = 0; col < a.width; ++col) {
            const bool ink = r < a.height && a.gray[static_cast<size_t>(r) * a.width + col];
            const bool shadow = r >= 3 && a.gray[static_cast<size_t>(r - 3) * a.width + col];
            expectedWritten += ink || shadow;
        }
    }
    EXPECT_EQ(written, expectedWritten);

    // Three glyphs side by side; the total is the sum of the advances.
    const std::string abc = NewCanvas(200, 64);
    EXPECT_EQ(gfx.DrawText("ABC", x, y, size, kColour, abc), a.advance + b.advance + c.advance);
    ExpectGlyphAt(abc, c, x + a.advance + b.advance + c.originX, y + m.ascent - c.originY, kColour);
    // Every coloured pixel without colour 3 px below it casts a black pixel of its alpha there.
    const auto& cv = Canvas(abc);
    int shadows = 0;
    for (int yy = 0; yy + 3 < cv.height; ++yy) {
        for (int xx = 0; xx < cv.width; ++xx) {
            const uint32_t p = At(abc, xx, yy);
            const uint32_t below = At(abc, xx, yy + 3);
            if ((p & 0xFFFFFF) == kColour && (below & 0xFFFFFF) != kColour) {
                ++shadows;
                ASSERT_EQ(below, p & 0xFF000000u) << xx << "," << yy;
            }
        }
    }
    EXPECT_GT(shadows, 30);
    // The texture holds what the canvas holds.
    EXPECT_EQ(headless_->Texture(cv.texture)->pixels, cv.pixels);
    EXPECT_EQ(cv.text, "ABC");
    EXPECT_EQ(cv.textX, x);
    EXPECT_EQ(cv.textY, y);
    EXPECT_EQ(cv.textSize, size);
}

TEST_F(GlyphText, LineFeedSpacesAndOverlay) {
    auto& gfx = DxGraphic::Instance();
    const int size = 20;
    const graphics::FontMetrics m = font_->Metrics(size);
    const Glyph a = G('A', size), b = G('B', size);

    const std::string twoLines = NewCanvas(120, 80);
    EXPECT_EQ(gfx.DrawText("A\nB", 7, 3, size, kColour, twoLines), a.advance + b.advance);
    ExpectGlyphAt(twoLines, b, 7 + b.originX, 3 + m.ascent + m.height - b.originY, kColour);

    // Spaces, single-byte and full-width, advance the pen and draw nothing.
    const std::string spaces = NewCanvas(200, 40);
    const std::string blanks = std::string(" ") + SJ("　") + " ";
    const int spaceAdvance = G(0x20, size).advance;
    const int wideAdvance = G(0x8140, size).advance;
    ASSERT_GT(spaceAdvance, 0);
    ASSERT_GT(wideAdvance, spaceAdvance);
    EXPECT_EQ(gfx.DrawText(blanks, 0, 0, size, kColour, spaces), 2 * spaceAdvance + wideAdvance);
    EXPECT_TRUE(Blank(spaces));
    EXPECT_EQ(gfx.DrawText("A" + blanks + "B", 0, 0, size, kColour, spaces),
              a.advance + 2 * spaceAdvance + wideAdvance + b.advance);
    ExpectGlyphAt(spaces, b, a.advance + 2 * spaceAdvance + wideAdvance + b.originX, m.ascent - b.originY, kColour);

    // Drawing without clearing lays the new text over the old.
    const std::string first = NewCanvas(120, 40), second = NewCanvas(120, 40), both = NewCanvas(120, 40);
    gfx.DrawText("AB", 0, 0, size, kColour, first);
    gfx.DrawText("BA", 60, 10, size, 0xFF0000, second);
    gfx.DrawText("AB", 0, 0, size, kColour, both);
    gfx.DrawText("BA", 60, 10, size, 0xFF0000, both);
    const auto& f = Canvas(first);
    const auto& s = Canvas(second);
    const auto& o = Canvas(both);
    for (size_t i = 0; i < o.pixels.size(); ++i) {
        ASSERT_EQ(o.pixels[i], s.pixels[i] != 0 ? s.pixels[i] : f.pixels[i]) << i;
    }
    EXPECT_EQ(o.text, "BA");  // the last text is what a reset redraws
    EXPECT_EQ(o.textColour, 0xFF0000u);
    // Redrawing from the stored text itself, as a reset does, reads it safely and changes nothing.
    const std::vector<uint32_t> overlaid = o.pixels;
    EXPECT_EQ(gfx.DrawText(o.text, o.textX, o.textY, o.textSize, o.textColour, both), a.advance + b.advance);
    EXPECT_EQ(Canvas(both).pixels, overlaid);
    EXPECT_EQ(Canvas(both).text, "BA");
}

TEST_F(GlyphText, WrapKeepsDoubleByteCharactersWhole) {
    auto& gfx = DxGraphic::Instance();
    const int size = 24, x = 5;
    const graphics::FontMetrics m = font_->Metrics(size);
    // An odd number of single bytes first, so that a byte-wise wrap would split the kana.
    const std::string text = "A" + std::string(SJ("あいうえおかきくけこさしすせそ"));
    std::vector<uint32_t> codes = {'A'};
    for (size_t i = 1; i < text.size(); i += 2) {
        codes.push_back((static_cast<unsigned char>(text[i]) << 8) | static_cast<unsigned char>(text[i + 1]));
    }
    // Many widths, so that some edge falls between a glyph's ink and its padded row bytes.
    for (int width = 100; width < 150; ++width) {
        SCOPED_TRACE(width);
        // Where the lines must break: before a character whose row bytes would reach the right edge.
        std::string explicitLines;
        int px = 0, lines = 1, total = 0;
        for (size_t k = 0; k < codes.size(); ++k) {
            const Glyph g = G(codes[k], size);
            if (x + px + g.originX + g.rowBytes >= width) {
                explicitLines += '\n';
                px = 0;
                ++lines;
            }
            if (codes[k] > 0xFF) explicitLines += static_cast<char>(codes[k] >> 8);
            explicitLines += static_cast<char>(codes[k] & 0xFF);
            px += g.advance;
            total += g.advance;
        }
        ASSERT_GE(lines, 2);
        const std::string wrapped = NewCanvas(width, 200), manual = NewCanvas(width, 200);
        EXPECT_EQ(gfx.DrawText(text, x, 0, size, kColour, wrapped), total);
        EXPECT_EQ(gfx.DrawText(explicitLines, x, 0, size, kColour, manual), total);
        ASSERT_EQ(Canvas(wrapped).pixels, Canvas(manual).pixels);
        // The first kana of the second line starts at the left edge, whole.
        const size_t secondLine = explicitLines.find('\n') + 1;
        const uint32_t code = (static_cast<unsigned char>(explicitLines[secondLine]) << 8) |
                              static_cast<unsigned char>(explicitLines[secondLine + 1]);
        const Glyph g = G(code, size);
        ExpectGlyphAt(wrapped, g, x + g.originX, m.ascent + m.height - g.originY, kColour);
    }

    // A character that reaches the edge from the start of a line still moves down one: the first
    // line stays empty and the character is drawn on the second, one text height lower.
    const std::string narrow = NewCanvas(8, 3 * m.height);
    EXPECT_EQ(gfx.DrawText(SJ("あ"), 0, 0, size, kColour, narrow), G(0x82A0, size).advance);
    bool inkOnFirstLine = false, inkOnSecondLine = false;
    for (int yy = 0; yy < 2 * m.height; ++yy) {
        for (int xx = 0; xx < 8; ++xx) (yy < m.height ? inkOnFirstLine : inkOnSecondLine) |= At(narrow, xx, yy) != 0;
    }
    EXPECT_FALSE(inkOnFirstLine);
    EXPECT_TRUE(inkOnSecondLine);
}

TEST_F(GlyphText, JapaneseKanaKanjiAndSuits) {
    auto& gfx = DxGraphic::Instance();
    const std::string sample = SJ("あア漢字ポーカー！Ａ１");
    for (size_t i = 0; i < sample.size(); i += 2) {
        const uint32_t code = (static_cast<unsigned char>(sample[i]) << 8) | static_cast<unsigned char>(sample[i + 1]);
        const Glyph g = G(code, 24);
        int ink = 0;
        for (uint8_t v : g.gray) ink += v >= 32;
        EXPECT_GT(ink, 3) << std::hex << code;
        EXPECT_GE(g.advance, 12) << std::hex << code;
    }
    EXPECT_EQ(font_->ToUnicode(0x82A0), U'あ');
    EXPECT_EQ(font_->ToUnicode(0x8ABF), U'漢');
    EXPECT_EQ(font_->ToUnicode(0xB1), U'ｱ');
    EXPECT_EQ(font_->ToUnicode('A'), U'A');
    EXPECT_EQ(font_->ToUnicode(0x80), 0u);
    EXPECT_EQ(font_->ToUnicode(0x82FF), 0u);
    // The suits sit at their JIS X 0213 codes, which CP932 leaves free.
    const uint32_t suits[4] = {0x83B8, 0x83BC, 0x83BA, 0x83BE};
    const char32_t unicode[4] = {U'♠', U'♥', U'♦', U'♣'};
    std::vector<uint8_t> previous;
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(font_->ToUnicode(suits[k]), unicode[k]);
        const Glyph g = G(suits[k], 24);
        int ink = 0;
        for (uint8_t v : g.gray) ink += v >= 32;
        EXPECT_GT(ink, 20) << k;
        EXPECT_NE(g.gray, previous);  // four different shapes, not the missing-glyph box
        previous = g.gray;
    }
    EXPECT_NE(G(0x83B8, 24).gray, G(0x8140 + 0x7F, 24).gray);

    const std::string name = NewCanvas(300, 40);
    std::string text = SJ("役：フルハウス ");
    text += "\x83\xB8\x83\xBC\x83\xBA\x83\xBE";
    EXPECT_GT(gfx.DrawText(text, 0, 0, 24, kColour, name), 12 * 10);
    EXPECT_FALSE(Blank(name));
}

TEST_F(GlyphText, MalformedTextIsSafe) {
    auto& gfx = DxGraphic::Instance();
    const int size = 24;
    const Glyph a = G('A', size);
    const std::string name = NewCanvas(100, 40);
    // A lead byte at the very end of an exactly sized buffer: the sanitizers would catch a read past it.
    auto buffer = std::make_unique<char[]>(2);
    buffer[0] = 'A';
    buffer[1] = '\x82';
    EXPECT_EQ(gfx.DrawText(std::string_view(buffer.get(), 2), 0, 0, size, kColour, name), a.advance);
    const std::vector<uint32_t> onlyA = Canvas(name).pixels;
    gfx.ClearCanvas(name);
    EXPECT_EQ(gfx.DrawText(std::string_view(buffer.get() + 1, 1), 0, 0, size, kColour, name), 0);
    EXPECT_TRUE(Blank(name));
    // The text ends at a zero byte, also right after a lead byte.
    EXPECT_EQ(gfx.DrawText(std::string("A\x82\0B", 4), 0, 0, size, kColour, name), a.advance);
    EXPECT_EQ(Canvas(name).pixels, onlyA);
    // Undecodable bytes draw the font's missing-glyph box and advance; text far outside is dropped.
    gfx.ClearCanvas(name);
    EXPECT_GT(gfx.DrawText("\x80\xFF\xA0", 0, 0, size, kColour, name), 0);
    gfx.ClearCanvas(name);
    EXPECT_EQ(gfx.DrawText("AAA", -100000, 2000000000, size, kColour, name), 3 * a.advance);
    EXPECT_EQ(gfx.DrawText("AAA", 2000000000, -2000000000, size, kColour, name), 3 * a.advance);
    EXPECT_TRUE(Blank(name));
    // Half off the left edge: the visible part is drawn.
    EXPECT_EQ(gfx.DrawText("A", -a.width / 2 - a.originX, 0, size, kColour, name), a.advance);
    EXPECT_FALSE(Blank(name));
}

TEST_F(GlyphText, GlyphCacheGivesTheSamePixels) {
    auto& gfx = DxGraphic::Instance();
    const std::string text = SJ("ようこそ、ターンウィック・オストレルの夜へ。♪カードを５枚引いてください。") + std::string("ABC xyz 123");
    const std::string fresh = NewCanvas(400, 120), filling = NewCanvas(400, 120), hitting = NewCanvas(400, 120);
    font_->SetCacheEnabled(false);
    const int r0 = gfx.DrawText(text, 3, 2, 22, kColour, fresh);
    EXPECT_EQ(font_->CachedGlyphCount(), 0u);
    font_->SetCacheEnabled(true);
    font_->ClearCache();
    const int r1 = gfx.DrawText(text, 3, 2, 22, kColour, filling);
    const size_t cached = font_->CachedGlyphCount();
    EXPECT_GT(cached, 20u);
    const int r2 = gfx.DrawText(text, 3, 2, 22, kColour, hitting);
    EXPECT_EQ(font_->CachedGlyphCount(), cached);
    EXPECT_EQ(r0, r1);
    EXPECT_EQ(r1, r2);
    EXPECT_EQ(Canvas(fresh).pixels, Canvas(filling).pixels);
    EXPECT_EQ(Canvas(fresh).pixels, Canvas(hitting).pixels);
    // Sizes are cached apart.
    EXPECT_NE(G('A', 12).gray, G('A', 24).gray);
}

}  // namespace

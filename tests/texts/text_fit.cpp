#include "text_fit.h"

#include "graphics/glyph_font.h"
#include "platform/text_encoding.h"
#include "widgets/message_window.h"

namespace texttest {

namespace {

// Room below the cell of the last line: the glyphs' shadow is drawn 3 pixels lower.
constexpr int kBelowCell = 4;
constexpr const char* kScratch = "fit_scratch";
// A CP932 user-defined code: the font has no glyph for it, so it renders the missing box.
constexpr uint32_t kMissingCode = 0xF040;

bool SameGlyph(const graphics::Glyph& a, const graphics::Glyph& b) {
    return a.width == b.width && a.height == b.height && a.advance == b.advance && a.gray == b.gray;
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

double FullWidthChars(const std::string& sjis) {
    double n = 0;
    for (size_t i = 0; i < sjis.size(); ++i) {
        if (platform::IsSjisLeadByte(static_cast<unsigned char>(sjis[i])) && i + 1 < sjis.size()) {
            n += 1.0;
            ++i;
        } else {
            n += 0.5;
        }
    }
    return n;
}

std::string Readable(const std::string& sjis) { return platform::SjisToUtf8(sjis); }

int TextFitTest::advanceOf(const std::string& sjis, int fontSize) {
    EXPECT_EQ(gfx().CreateCanvas(kScratch, 4096, 64), 0);
    return gfx().DrawText(sjis, 0, 0, fontSize, 0xFFFFFF, kScratch);
}

void TextFitTest::expectFits(const std::string& sjis, const Box& box, const std::string& what) {
    const std::vector<std::string> lines = SplitLines(sjis);
    EXPECT_LE(static_cast<int>(lines.size()), box.maxLines) << what << ": too many lines\n" << Readable(sjis);
    for (const std::string& line : lines) {
        EXPECT_LE(advanceOf(line, box.fontSize), box.width) << what << ": line too wide\n" << Readable(line);
    }

    // Typed one character per step, as the window shows it: a wrap of its own would move the
    // pen further down than the explicit line feeds do.
    MessageWindow window;
    ASSERT_EQ(window.surface.CreateCanvas(box.canvasName, box.width, box.height), 0);
    window.framesPerStep = 1;
    window.fontSize = box.fontSize;
    window.wrapWidth = box.width;
    window.shown = true;
    window.setText(sjis.c_str());
    for (size_t i = 0; i <= sjis.size() && !window.finished(); ++i) {
        window.step();
    }
    ASSERT_TRUE(window.finished()) << what;
    const int lineStep = box.fontSize + MessageWindow::kLineGap;
    EXPECT_EQ(window.penY, static_cast<int>(lines.size() - 1) * lineStep)
        << what << ": the window wrapped a line by itself\n" << Readable(sjis);
    EXPECT_LE(window.penY + box.fontSize + kBelowCell, box.height)
        << what << ": the last line reaches below the window\n" << Readable(sjis);

    // Nothing was cut off at the canvas's bottom edge.
    const DxGraphic::CacheEntry* canvas = gfx().FindCanvas(box.canvasName);
    ASSERT_NE(canvas, nullptr);
    bool bottomInked = false;
    for (int x = 0; x < canvas->width; ++x) {
        bottomInked = bottomInked || canvas->pixels[static_cast<size_t>(canvas->height - 1) * canvas->width + x] != 0;
    }
    EXPECT_FALSE(bottomInked) << what << ": glyphs cut off at the bottom\n" << Readable(sjis);
}

void TextFitTest::expectDrawable(const std::string& sjis, int fontSize, const std::string& what) {
    graphics::GlyphFont* font = graphics::GameFont();
    ASSERT_NE(font, nullptr);
    const graphics::Glyph missing = font->Get(kMissingCode, fontSize);
    for (size_t i = 0; i < sjis.size(); ++i) {
        const auto b = static_cast<unsigned char>(sjis[i]);
        uint32_t code = b;
        if (platform::IsSjisLeadByte(b) && i + 1 < sjis.size()) {
            code = (code << 8) | static_cast<unsigned char>(sjis[++i]);
        } else if (b == '?') {
            ADD_FAILURE() << what << ": a character Shift-JIS cannot hold\n" << Readable(sjis);
            continue;
        }
        if (code == '\n' || code == ' ' || code == 0x8140) {
            continue;
        }
        const std::string ch = sjis.substr(code > 0xFF ? i - 1 : i, code > 0xFF ? 2 : 1);
        EXPECT_FALSE(SameGlyph(font->Get(code, fontSize), missing))
            << what << ": the font has no glyph for " << Readable(ch) << "\n" << Readable(sjis);
    }
    EXPECT_EQ(Readable(sjis).find("\xEF\xBF\xBD"), std::string::npos) << what << ": undecodable bytes";
}

}  // namespace texttest

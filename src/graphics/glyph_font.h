#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace graphics {

// One character rasterised at one pixel size, as the text canvases consume it.
struct Glyph {
    int width = 0;   // bitmap size in pixels; 0 x 0 for a glyph without ink
    int height = 0;
    int rowBytes = 4;  // black-box width (at least 1) rounded up to a multiple of 4; the wrap test uses it
    int originX = 0;   // left edge of the bitmap relative to the pen
    int originY = 0;   // top edge of the bitmap above the baseline
    int advance = 0;   // pen advance in whole pixels
    std::vector<uint8_t> gray;  // width * height coverage levels 0..64, rows top-down
};

// Line metrics of the font at one size.
struct FontMetrics {
    int ascent = 0;  // baseline below the top of the cell
    int height = 0;  // line height (the cell: ascent + descent)
};

// A TrueType face read from memory, sized by cell height: a request for size s scales the font
// so that its Windows ascent plus descent (OS/2 usWinAscent + usWinDescent) spans s pixels, the
// way a positive LOGFONT height does. Glyphs are rendered unhinted to 256-level coverage and
// quantised to 65 levels. Rendered glyphs are cached by (Shift-JIS code, size); the cache stores
// exactly what the rasteriser produced, so cached and fresh glyphs are the same pixels.
class GlyphFont {
public:
    // Null (after one debug line) when FreeType cannot read the data. The bytes must outlive the font.
    static std::unique_ptr<GlyphFont> Open(const unsigned char* data, size_t size);
    ~GlyphFont();
    GlyphFont(const GlyphFont&) = delete;
    GlyphFont& operator=(const GlyphFont&) = delete;

    FontMetrics Metrics(int size);
    // The glyph of a Shift-JIS code (a byte, or lead * 256 + trail) at a pixel size (1..1024).
    // The reference stays valid until the next Get, ClearCache or SetCacheEnabled.
    const Glyph& Get(uint32_t code, int size);
    // Renders without touching the cache.
    void Rasterise(uint32_t code, int size, Glyph& out);

    void SetCacheEnabled(bool enabled);
    bool CacheEnabled() const { return cacheEnabled_; }
    void ClearCache() { cache_.clear(); }
    size_t CachedGlyphCount() const { return cache_.size(); }

    // Unicode code point of a Shift-JIS code (CP932, plus the card suits at their JIS X 0213
    // codes 0x83B7..0x83BE, which CP932 leaves unassigned); 0 when the code means nothing.
    char32_t ToUnicode(uint32_t code);

    static constexpr int kMaxSize = 1024;
    // More glyphs than this empties the cache before it grows further.
    static constexpr size_t kMaxCachedGlyphs = 16384;

private:
    struct Impl;
    explicit GlyphFont(std::unique_ptr<Impl> impl);
    bool SelectSize(int size);

    std::unique_ptr<Impl> impl_;
    bool cacheEnabled_ = true;
    std::unordered_map<uint64_t, Glyph> cache_;
    Glyph scratch_;
};

// The game font that DxGraphic::AddFontResource loaded, or null before it / after RemoveFontResource.
GlyphFont* GameFont();

}  // namespace graphics

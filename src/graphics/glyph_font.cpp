#include "graphics/glyph_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/debug.h"
#include "platform/text_encoding.h"

namespace graphics {

struct GlyphFont::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    iconv_t toUtf32 = reinterpret_cast<iconv_t>(-1);
    int currentSize = 0;
    // Font units of the cell: Windows ascent and descent.
    long cellAscent = 0;
    long cellDescent = 0;

    ~Impl() {
        if (toUtf32 != reinterpret_cast<iconv_t>(-1)) {
            iconv_close(toUtf32);
        }
        if (face) {
            FT_Done_Face(face);
        }
        if (library) {
            FT_Done_FreeType(library);
        }
    }
};

std::unique_ptr<GlyphFont> GlyphFont::Open(const unsigned char* data, size_t size) {
    auto impl = std::make_unique<Impl>();
    if (FT_Init_FreeType(&impl->library) != 0) {
        platform::OutputDebug(SJ("GlyphFont : FreeType を初期化できません"));
        return nullptr;
    }
    if (data == nullptr || size == 0 ||
        FT_New_Memory_Face(impl->library, data, static_cast<FT_Long>(size), 0, &impl->face) != 0 ||
        !FT_IS_SCALABLE(impl->face)) {
        platform::OutputDebug(SJ("GlyphFont : フォントを読み込めません"));
        return nullptr;
    }
    if (FT_Select_Charmap(impl->face, FT_ENCODING_UNICODE) != 0) {
        platform::OutputDebug(SJ("GlyphFont : フォントに Unicode の文字表がありません"));
        return nullptr;
    }
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(impl->face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFFu && os2->usWinAscent + os2->usWinDescent > 0) {
        impl->cellAscent = os2->usWinAscent;
        impl->cellDescent = os2->usWinDescent;
    } else {
        impl->cellAscent = impl->face->ascender;
        impl->cellDescent = -impl->face->descender;
    }
    if (impl->cellAscent + impl->cellDescent <= 0) {
        platform::OutputDebug(SJ("GlyphFont : フォントの高さが不正です"));
        return nullptr;
    }
    impl->toUtf32 = iconv_open("UTF-32LE", "CP932");
    if (impl->toUtf32 == reinterpret_cast<iconv_t>(-1)) {
        platform::OutputDebug(SJ("GlyphFont : CP932 の変換が使えません"));
        return nullptr;
    }
    return std::unique_ptr<GlyphFont>(new GlyphFont(std::move(impl)));
}

GlyphFont::GlyphFont(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

GlyphFont::~GlyphFont() = default;

void GlyphFont::SetCacheEnabled(bool enabled) {
    cacheEnabled_ = enabled;
    if (!enabled) {
        cache_.clear();
    }
}

FontMetrics GlyphFont::Metrics(int size) {
    size = std::clamp(size, 1, kMaxSize);
    const double cell = static_cast<double>(impl_->cellAscent + impl_->cellDescent);
    FontMetrics m;
    m.ascent = static_cast<int>(std::lround(impl_->cellAscent * size / cell));
    m.height = m.ascent + static_cast<int>(std::lround(impl_->cellDescent * size / cell));
    return m;
}

bool GlyphFont::SelectSize(int size) {
    if (impl_->currentSize == size) {
        return true;
    }
    // Scale the em so that the cell (Windows ascent + descent) is `size` pixels high.
    const FT_Long emPixels26_6 = static_cast<FT_Long>(std::lround(
        64.0 * size * impl_->face->units_per_EM / static_cast<double>(impl_->cellAscent + impl_->cellDescent)));
    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_NOMINAL;
    request.width = 0;
    request.height = std::max<FT_Long>(emPixels26_6, 1);
    if (FT_Request_Size(impl_->face, &request) != 0) {
        impl_->currentSize = 0;
        return false;
    }
    impl_->currentSize = size;
    return true;
}

char32_t GlyphFont::ToUnicode(uint32_t code) {
    if (code >= 0x83B7 && code <= 0x83BE) {
        // White and black spade, diamond, heart, club, in JIS X 0213 order.
        static constexpr char32_t kSuits[8] = {0x2664, 0x2660, 0x2662, 0x2666, 0x2661, 0x2665, 0x2667, 0x2663};
        return kSuits[code - 0x83B7];
    }
    if (code > 0xFFFF) {
        return 0;
    }
    char in[2];
    size_t inLeft = 0;
    if (code > 0xFF) {
        in[0] = static_cast<char>(code >> 8);
        in[1] = static_cast<char>(code & 0xFF);
        inLeft = 2;
    } else {
        in[0] = static_cast<char>(code);
        inLeft = 1;
    }
    unsigned char out[8] = {};
    char* src = in;
    char* dst = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof(out);
    const size_t r = iconv(impl_->toUtf32, &src, &inLeft, &dst, &outLeft);
    iconv(impl_->toUtf32, nullptr, nullptr, nullptr, nullptr);
    if (r == static_cast<size_t>(-1) || inLeft != 0 || sizeof(out) - outLeft != 4) {
        return 0;
    }
    return static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<uint32_t>(out[3]) << 24));
}

void GlyphFont::Rasterise(uint32_t code, int size, Glyph& out) {
    out.width = out.height = 0;
    out.rowBytes = 4;
    out.originX = out.originY = out.advance = 0;
    out.gray.clear();
    size = std::clamp(size, 1, kMaxSize);
    if (!SelectSize(size)) {
        return;
    }
    FT_Face face = impl_->face;
    // A code the font or CP932 lacks falls back to glyph 0, the font's missing-character box.
    const char32_t unicode = ToUnicode(code);
    const FT_UInt index = unicode ? FT_Get_Char_Index(face, unicode) : 0;
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
        return;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    out.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    out.originX = slot->bitmap_left;
    out.originY = slot->bitmap_top;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.width == 0 || bitmap.rows == 0) {
        return;  // no ink: a 1-pixel black box, as the wrap test expects of blank glyphs
    }
    out.width = static_cast<int>(bitmap.width);
    out.height = static_cast<int>(bitmap.rows);
    out.rowBytes = (out.width + 3) & ~3;
    out.gray.resize(static_cast<size_t>(out.width) * out.height);
    const int levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
    for (int r = 0; r < out.height; ++r) {
        const unsigned char* src = bitmap.buffer + static_cast<ptrdiff_t>(r) * bitmap.pitch;
        uint8_t* dst = out.gray.data() + static_cast<size_t>(r) * out.width;
        for (int c = 0; c < out.width; ++c) {
            // 256-level coverage to 65 levels, rounded to nearest.
            dst[c] = static_cast<uint8_t>((src[c] * 64 + levels / 2) / levels);
        }
    }
}

const Glyph& GlyphFont::Get(uint32_t code, int size) {
    size = std::clamp(size, 1, kMaxSize);
    if (!cacheEnabled_) {
        Rasterise(code, size, scratch_);
        return scratch_;
    }
    const uint64_t key = (static_cast<uint64_t>(size) << 32) | code;
    auto it = cache_.find(key);
    if (it != cache_.end()) {
        return it->second;
    }
    if (cache_.size() >= kMaxCachedGlyphs) {
        cache_.clear();
    }
    Glyph glyph;
    Rasterise(code, size, glyph);
    return cache_.emplace(key, std::move(glyph)).first->second;
}

}  // namespace graphics

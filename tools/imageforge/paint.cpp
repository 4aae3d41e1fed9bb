#include "paint.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>

namespace forge {

namespace {

// The font is loaded once and shared by all drawing threads (cairo locks the face while it
// rasterises). The FreeType library lives to the end of the process; cairo releases the face
// through the user-data hook once its caches let go of it.
FT_Library gLibrary = nullptr;
cairo_font_face_t* gFace = nullptr;
const cairo_user_data_key_t kFaceKey{};

void ReleaseFace(void* face) { FT_Done_Face(static_cast<FT_Face>(face)); }

struct FontHolder {
    ~FontHolder() {
        if (gFace) {
            cairo_font_face_destroy(gFace);
        }
    }
} gFontHolder;

}  // namespace

bool InitFont(const std::string& path) {
    if (gFace) {
        return true;
    }
    if (!gLibrary && FT_Init_FreeType(&gLibrary) != 0) {
        std::fprintf(stderr, "imageforge: FreeType cannot start\n");
        return false;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(gLibrary, path.c_str(), 0, &face) != 0) {
        std::fprintf(stderr, "imageforge: cannot open font %s\n", path.c_str());
        return false;
    }
    gFace = cairo_ft_font_face_create_for_ft_face(face, 0);
    if (cairo_font_face_set_user_data(gFace, &kFaceKey, face, ReleaseFace) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(gFace);
        gFace = nullptr;
        FT_Done_Face(face);
        return false;
    }
    return true;
}

Rgb Mix(Rgb a, Rgb b, double t) {
    return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Lighter(Rgb a, double t) { return Mix(a, Rgb{1, 1, 1}, t); }
Rgb Darker(Rgb a, double t) { return Mix(a, Rgb{0, 0, 0}, t); }

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

bool Canvas::WritePng(const std::string& path) const {
    cairo_surface_flush(surface_);
    const cairo_status_t st = cairo_surface_write_to_png(surface_, path.c_str());
    if (st != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "imageforge: cannot write %s: %s\n", path.c_str(), cairo_status_to_string(st));
        return false;
    }
    return true;
}

void SetColor(cairo_t* cr, Rgb c, double a) { cairo_set_source_rgba(cr, c.r, c.g, c.b, a); }

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min(r, std::min(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void Star(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double rotDeg) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        const double a = (rotDeg + 180.0 * i / points) * M_PI / 180.0;
        const double r = (i % 2 == 0) ? outer : inner;
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

void Heart(cairo_t* cr, double cx, double cy, double s) {
    const double top = cy - s * 0.5;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx, top + s * 0.28);
    cairo_curve_to(cr, cx - s * 0.08, top - s * 0.04, cx - s * 0.56, top - s * 0.02, cx - s * 0.52, top + s * 0.34);
    cairo_curve_to(cr, cx - s * 0.48, top + s * 0.62, cx - s * 0.14, top + s * 0.78, cx, top + s);
    cairo_curve_to(cr, cx + s * 0.14, top + s * 0.78, cx + s * 0.48, top + s * 0.62, cx + s * 0.52, top + s * 0.34);
    cairo_curve_to(cr, cx + s * 0.56, top - s * 0.02, cx + s * 0.08, top - s * 0.04, cx, top + s * 0.28);
    cairo_close_path(cr);
}

void Diamond(cairo_t* cr, double cx, double cy, double s) {
    const double h = s / 2, w = s * 0.38;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx, cy - h);
    cairo_curve_to(cr, cx + w * 0.45, cy - h * 0.45, cx + w * 0.8, cy - h * 0.15, cx + w, cy);
    cairo_curve_to(cr, cx + w * 0.8, cy + h * 0.15, cx + w * 0.45, cy + h * 0.45, cx, cy + h);
    cairo_curve_to(cr, cx - w * 0.45, cy + h * 0.45, cx - w * 0.8, cy + h * 0.15, cx - w, cy);
    cairo_curve_to(cr, cx - w * 0.8, cy - h * 0.15, cx - w * 0.45, cy - h * 0.45, cx, cy - h);
    cairo_close_path(cr);
}

void Spade(cairo_t* cr, double cx, double cy, double s) {
    const double top = cy - s * 0.5;
    // Upside-down heart for the blade.
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx, top);
    cairo_curve_to(cr, cx + s * 0.14, top + s * 0.2, cx + s * 0.5, top + s * 0.34, cx + s * 0.5, top + s * 0.58);
    cairo_curve_to(cr, cx + s * 0.5, top + s * 0.8, cx + s * 0.16, top + s * 0.84, cx + s * 0.02, top + s * 0.66);
    cairo_line_to(cr, cx - s * 0.02, top + s * 0.66);
    cairo_curve_to(cr, cx - s * 0.16, top + s * 0.84, cx - s * 0.5, top + s * 0.8, cx - s * 0.5, top + s * 0.58);
    cairo_curve_to(cr, cx - s * 0.5, top + s * 0.34, cx - s * 0.14, top + s * 0.2, cx, top);
    cairo_close_path(cr);
    // Stem.
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx - s * 0.04, top + s * 0.66);
    cairo_curve_to(cr, cx - s * 0.06, top + s * 0.86, cx - s * 0.14, top + s * 0.96, cx - s * 0.24, top + s);
    cairo_line_to(cr, cx + s * 0.24, top + s);
    cairo_curve_to(cr, cx + s * 0.14, top + s * 0.96, cx + s * 0.06, top + s * 0.86, cx + s * 0.04, top + s * 0.66);
    cairo_close_path(cr);
}

void Club(cairo_t* cr, double cx, double cy, double s) {
    const double top = cy - s * 0.5;
    const double r = s * 0.215;
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, top + r + s * 0.02, r, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx - s * 0.24, top + s * 0.54, r, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx + s * 0.24, top + s * 0.54, r, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx - s * 0.1, top + s * 0.4);
    cairo_line_to(cr, cx + s * 0.1, top + s * 0.4);
    cairo_line_to(cr, cx + s * 0.06, top + s * 0.62);
    cairo_curve_to(cr, cx + s * 0.08, top + s * 0.84, cx + s * 0.14, top + s * 0.95, cx + s * 0.24, top + s);
    cairo_line_to(cr, cx - s * 0.24, top + s);
    cairo_curve_to(cr, cx - s * 0.14, top + s * 0.95, cx - s * 0.08, top + s * 0.84, cx - s * 0.06, top + s * 0.62);
    cairo_close_path(cr);
}

void Suit(cairo_t* cr, int suit, double cx, double cy, double size) {
    switch (suit) {
        case 0: Spade(cr, cx, cy, size); break;
        case 1: Heart(cr, cx, cy, size); break;
        case 2: Diamond(cr, cx, cy, size); break;
        default: Club(cr, cx, cy, size); break;
    }
}

Rgb SuitColor(int suit) { return (suit == 1 || suit == 2) ? pal::kRed : pal::kInk; }

void Crescent(cairo_t* cr, double cx, double cy, double r, double cut) {
    // The lit part of a disc of radius r once a disc of radius 0.92 r, shifted up-right by
    // cut, covers it: one closed path of two arcs between the circles' crossings.
    const double ox = cx + r * cut, oy = cy - r * cut * 0.5, r2 = r * 0.92;
    const double dx = ox - cx, dy = oy - cy, d = std::sqrt(dx * dx + dy * dy);
    cairo_new_sub_path(cr);
    if (d <= 1e-6 || d >= r + r2 || d <= std::fabs(r - r2)) {
        cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
        cairo_close_path(cr);
        return;
    }
    const double a = (r * r - r2 * r2 + d * d) / (2 * d), h = std::sqrt(std::max(0.0, r * r - a * a));
    const double ux = dx / d, uy = dy / d;
    const double px1 = cx + a * ux - h * uy, py1 = cy + a * uy + h * ux;
    const double px2 = cx + a * ux + h * uy, py2 = cy + a * uy - h * ux;
    const double t1 = std::atan2(py1 - cy, px1 - cx), t2 = std::atan2(py2 - cy, px2 - cx);
    cairo_arc(cr, cx, cy, r, t1, t2 < t1 ? t2 + 2 * M_PI : t2);
    const double s2 = std::atan2(py2 - oy, px2 - ox), s1 = std::atan2(py1 - oy, px1 - ox);
    cairo_arc_negative(cr, ox, oy, r2, s2, s1 > s2 ? s1 - 2 * M_PI : s1);
    cairo_close_path(cr);
}

void Snowflake(cairo_t* cr, double cx, double cy, double r, double width) {
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 6; ++i) {
        const double a = i * M_PI / 3 - M_PI / 2;
        const double dx = std::cos(a), dy = std::sin(a);
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + dx * r, cy + dy * r);
        for (double t : {0.45, 0.72}) {
            const double bx = cx + dx * r * t, by = cy + dy * r * t;
            const double len = r * (t < 0.5 ? 0.3 : 0.2);
            for (double s : {-1.0, 1.0}) {
                const double ba = a + s * M_PI / 4;
                cairo_move_to(cr, bx, by);
                cairo_line_to(cr, bx + std::cos(ba) * len, by + std::sin(ba) * len);
            }
        }
    }
}

void Sparkle(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx, cy - r);
    cairo_curve_to(cr, cx + r * 0.12, cy - r * 0.12, cx + r * 0.12, cy - r * 0.12, cx + r, cy);
    cairo_curve_to(cr, cx + r * 0.12, cy + r * 0.12, cx + r * 0.12, cy + r * 0.12, cx, cy + r);
    cairo_curve_to(cr, cx - r * 0.12, cy + r * 0.12, cx - r * 0.12, cy + r * 0.12, cx - r, cy);
    cairo_curve_to(cr, cx - r * 0.12, cy - r * 0.12, cx - r * 0.12, cy - r * 0.12, cx, cy - r);
    cairo_close_path(cr);
}

void Glow(cairo_t* cr, double cx, double cy, double radius, Rgb c, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 0.4, c.r, c.g, c.b, alpha * 0.45);
    cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, p);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alpha);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void GoldPlate(cairo_t* cr, double x, double y, double w, double h, double r, bool lit) {
    Saved s(cr);
    // Drop shadow.
    RoundRect(cr, x + 1, y + 3, w - 2, h - 3, r);
    SetColor(cr, Rgb{0, 0, 0}, 0.35);
    cairo_fill(cr);
    RoundRect(cr, x, y, w, h - 3, r);
    const Rgb top = lit ? Hex(0xFFE59A) : Hex(0xC9A464);
    const Rgb mid = lit ? Hex(0xF2BE52) : Hex(0x9C7B45);
    const Rgb bot = lit ? Hex(0xC7882A) : Hex(0x6E5530);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 0.5, mid.r, mid.g, mid.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bot.r, bot.g, bot.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColor(cr, lit ? Hex(0x7A4E12) : Hex(0x4A3A22), 1);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Inner highlight line.
    RoundRect(cr, x + 3, y + 3, w - 6, (h - 3) * 0.45, std::max(1.0, r - 3));
    SetColor(cr, Rgb{1, 1, 1}, lit ? 0.35 : 0.15);
    cairo_fill(cr);
}

void NightPanel(cairo_t* cr, double x, double y, double w, double h, double r, double alpha) {
    Saved s(cr);
    RoundRect(cr, x, y, w, h, r);
    FillVertical(cr, y, y + h, pal::kNight2, pal::kNight, alpha);
    RoundRect(cr, x + 1, y + 1, w - 2, h - 2, r);
    SetColor(cr, pal::kGold, 0.95);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    RoundRect(cr, x + 5, y + 5, w - 10, h - 10, std::max(1.0, r - 4));
    SetColor(cr, pal::kGold, 0.35);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void UseFont(cairo_t* cr, double size) {
    if (gFace) {
        cairo_set_font_face(cr, gFace);
    }
    cairo_set_font_size(cr, size);
}

double TextWidth(cairo_t* cr, const std::string& utf8, double size) {
    Saved s(cr);
    UseFont(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, utf8.c_str(), &e);
    return e.x_advance;
}

double FitSize(cairo_t* cr, const std::string& utf8, double width, double maxSize) {
    const double w = TextWidth(cr, utf8, maxSize);
    if (w <= width || w <= 0) {
        return maxSize;
    }
    return std::floor(maxSize * width / w * 10) / 10;
}

void Text(cairo_t* cr, const std::string& utf8, double x, double cy, double size, Rgb fill, Align align,
          double outline, Rgb outlineColor) {
    Saved s(cr);
    UseFont(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, utf8.c_str(), &e);
    double ox = x;
    if (align == Align::Center) {
        ox = x - e.x_advance / 2;
    } else if (align == Align::Right) {
        ox = x - e.x_advance;
    }
    // Centre on the ink of digits and capitals so that mixed text sits level.
    cairo_text_extents_t ref;
    cairo_text_extents(cr, "0A", &ref);
    const double oy = cy - (ref.y_bearing + ref.height / 2);
    cairo_new_path(cr);
    cairo_move_to(cr, ox, oy);
    cairo_text_path(cr, utf8.c_str());
    if (outline > 0) {
        SetColor(cr, outlineColor, 1);
        cairo_set_line_width(cr, outline * 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    SetColor(cr, fill, 1);
    cairo_fill(cr);
}

void ShieldPath(cairo_t* cr, double cx, double cy, double s) {
    cairo_move_to(cr, cx, cy - s * 0.5);
    cairo_curve_to(cr, cx + s * 0.2, cy - s * 0.38, cx + s * 0.38, cy - s * 0.38, cx + s * 0.44, cy - s * 0.4);
    cairo_curve_to(cr, cx + s * 0.46, cy + s * 0.05, cx + s * 0.3, cy + s * 0.32, cx, cy + s * 0.5);
    cairo_curve_to(cr, cx - s * 0.3, cy + s * 0.32, cx - s * 0.46, cy + s * 0.05, cx - s * 0.44, cy - s * 0.4);
    cairo_curve_to(cr, cx - s * 0.38, cy - s * 0.38, cx - s * 0.2, cy - s * 0.38, cx, cy - s * 0.5);
    cairo_close_path(cr);
}

void Fill(cairo_t* cr, Rgb c, double a) {
    SetColor(cr, c, a);
    cairo_fill(cr);
}

}  // namespace forge

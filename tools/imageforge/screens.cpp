// Screen pictures: the salon and harbour backdrops, the selection and gallery sheet
// "sozai5.png", the stand-view backdrop "gallery_02.png" and the pictures for the animation files.
#include <cmath>
#include <cstring>
#include <string>

#include "catalog.h"
#include "forge.h"

namespace forge {

namespace {

void Stroke(cairo_t* cr, Rgb c, double w, double a = 1) {
    SetColor(cr, c, a);
    cairo_set_line_width(cr, w);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void StarField(cairo_t* cr, double x, double y, double w, double h, uint32_t seed, int n, double alpha) {
    Lcg rng(seed);
    for (int i = 0; i < n; ++i) {
        const double sx = x + rng.Range(0, w), sy = y + rng.Range(0, h), r = rng.Range(0.6, 2.0);
        cairo_arc(cr, sx, sy, r, 0, 2 * M_PI);
        Fill(cr, Hex(0xFFF8E0), alpha * rng.Range(0.35, 1.0));
    }
}

void Curtain(cairo_t* cr, double x, double w, double h, bool left) {
    const int folds = 5;
    for (int i = 0; i < folds; ++i) {
        const double fx = x + w * i / folds, fw = w / folds;
        cairo_rectangle(cr, fx, 0, fw + 1, h);
        cairo_pattern_t* p = cairo_pattern_create_linear(fx, 0, fx + fw, 0);
        cairo_pattern_add_color_stop_rgb(p, 0, 0.25, 0.06, 0.13);
        cairo_pattern_add_color_stop_rgb(p, 0.5, 0.52, 0.14, 0.26);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.25, 0.06, 0.13);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
    // Gold tie-back.
    const double ty = h * 0.55;
    cairo_move_to(cr, x, ty);
    cairo_curve_to(cr, x + w * 0.3, ty + 20, x + w * 0.7, ty + 20, x + w, ty);
    Stroke(cr, pal::kGold, 8);
    cairo_arc(cr, left ? x + w : x, ty, 12, 0, 2 * M_PI);
    Fill(cr, pal::kGold);
}

void Lantern(cairo_t* cr, double x, double y, double s, double glow) {
    Glow(cr, x, y, s * 4, Hex(0xFFC860), glow);
    cairo_move_to(cr, x, 0);
    cairo_line_to(cr, x, y - s);
    Stroke(cr, Hex(0x3A2A1A), 2);
    RoundRect(cr, x - s * 0.6, y - s, s * 1.2, s * 2, s * 0.4);
    Fill(cr, Hex(0xFFE6A0));
    RoundRect(cr, x - s * 0.6, y - s, s * 1.2, s * 2, s * 0.4);
    Stroke(cr, Hex(0x8A5A1A), 2.5);
    cairo_rectangle(cr, x - s * 0.75, y - s * 1.15, s * 1.5, s * 0.3);
    Fill(cr, Hex(0x6A4210));
}

void NamePlate(cairo_t* cr, double cx, double cy, double w, const char* name, Rgb col) {
    RoundRect(cr, cx - w / 2, cy - 18, w, 36, 18);
    FillVertical(cr, cy - 18, cy + 18, Darker(col, 0.35), Darker(col, 0.65), 0.95);
    RoundRect(cr, cx - w / 2, cy - 18, w, 36, 18);
    Stroke(cr, pal::kGold, 2);
    Text(cr, name, cx, cy, 22, pal::kMoon, Align::Center, 2, Darker(col, 0.8));
}

// A host's portrait panel: colour wash, motif glow, figure clipped to the panel, name plate.
void HostPanel(cairo_t* cr, int host, double x, double y, double w, double h, double figScale, double figTop,
               bool plateAtTop) {
    Saved s(cr);
    const Rgb col = HostColor(host);
    RoundRect(cr, x, y, w, h, 18);
    cairo_path_t* path = cairo_copy_path(cr);
    FillVertical(cr, y, y + h, Mix(pal::kNight2, col, 0.35), pal::kNight, 0.96);
    cairo_append_path(cr, path);
    cairo_clip(cr);
    Glow(cr, x + w / 2, y + h * 0.4, w * 0.7, col, 0.45);
    StarField(cr, x, y, w, h, 100 + host, 30, 0.6);
    DrawFigure(cr, host, 0, 0, x + w / 2, y + figTop, figScale);
    cairo_reset_clip(cr);
    cairo_append_path(cr, path);
    Stroke(cr, pal::kGold, 3);
    cairo_path_destroy(path);
    NamePlate(cr, x + w / 2, plateAtTop ? y + 26 : y + h - 30, std::min(w - 40, 220.0), kHostNames[host], col);
}

// A glowing rounded frame for the additive selection glows.
void GlowFrame(cairo_t* cr, double x, double y, double w, double h, Rgb c) {
    for (int i = 6; i >= 1; --i) {
        RoundRect(cr, x - i * 1.5, y - i * 1.5, w + i * 3, h + i * 3, 12 + i);
        Stroke(cr, c, 3, 0.12 * (7 - i) / 2);
    }
    RoundRect(cr, x, y, w, h, 10);
    Stroke(cr, Lighter(c, 0.5), 2.5, 0.95);
}

void Thumbnail(cairo_t* cr, double x, double y, double w, double h, int host, int item) {
    Saved s(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, w / 1280.0, h / 720.0);
    if (item < 3) {
        DrawIllustration(cr, host, item, 0);
    } else {
        cairo_rectangle(cr, 0, 0, 1280, 720);
        FillVertical(cr, 0, 720, Hex(0x3A1030), Hex(0x140818));
        for (int k = 2; k >= 0; --k) {
            Glow(cr, 640 + (k - 1) * 330, 360, 300, HostColor(host), 0.2);
            DrawFigure(cr, host, k, k, 640 + (k - 1) * 330, 60, 0.95);
        }
    }
    cairo_reset_clip(cr);
    cairo_identity_matrix(cr);
}

void Starburst(cairo_t* cr, double cx, double cy, double r, Rgb c) {
    for (int i = 0; i < 16; ++i) {
        const double a = i * M_PI / 8;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + r * std::cos(a - 0.06), cy + r * std::sin(a - 0.06));
        cairo_line_to(cr, cx + r * std::cos(a + 0.06), cy + r * std::sin(a + 0.06));
        cairo_close_path(cr);
    }
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
    cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, 0.9);
    cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

}  // namespace

void DrawSalonBackdrop(cairo_t* cr, double w, double h, int lighting) {
    Saved s(cr);
    const double warm = lighting == 1 ? 1.0 : 0.0;
    // Velvet wall.
    cairo_rectangle(cr, 0, 0, w, h);
    FillVertical(cr, 0, h, Mix(Hex(0x3A0E22), Hex(0x6A2A2A), warm), Mix(Hex(0x1A0610), Hex(0x3A1414), warm));
    for (int i = 0; i < 24; ++i) {
        cairo_rectangle(cr, i * w / 24, 0, 2, h);
        Fill(cr, Rgb{0, 0, 0}, 0.12);
    }
    // Tall arched window with the night sea and the moon.
    const double wx = w * 0.5 - 210, wy = 60, ww = 420, wh = 520;
    cairo_move_to(cr, wx, wy + wh);
    cairo_line_to(cr, wx, wy + 210);
    cairo_arc(cr, wx + ww / 2, wy + 210, ww / 2, M_PI, 2 * M_PI);
    cairo_line_to(cr, wx + ww, wy + wh);
    cairo_close_path(cr);
    cairo_path_t* win = cairo_copy_path(cr);
    {
        Saved clip(cr);
        cairo_clip(cr);
        DrawHarbourNight(cr, w, h, lighting == 1 ? 0.55 : 0.0);
    }
    cairo_append_path(cr, win);
    Stroke(cr, pal::kGold, 10);
    cairo_path_destroy(win);
    cairo_move_to(cr, wx + ww / 2, wy);
    cairo_line_to(cr, wx + ww / 2, wy + wh);
    cairo_move_to(cr, wx, wy + 330);
    cairo_line_to(cr, wx + ww, wy + 330);
    Stroke(cr, Hex(0x6A4A1A), 6);
    // Curtains and lanterns.
    Curtain(cr, 0, w * 0.22, h, true);
    Curtain(cr, w * 0.78, w * 0.22, h, false);
    for (double lx : {w * 0.3, w * 0.7}) {
        Lantern(cr, lx, 150, 20, lighting == 1 ? 0.7 : 0.5);
    }
    // Brass rail at the bottom of the wall.
    cairo_rectangle(cr, 0, h * 0.8, w, 8);
    Fill(cr, pal::kGold, 0.8);
}

void DrawHarbourNight(cairo_t* cr, double w, double h, double dawn) {
    Saved s(cr);
    const Rgb top = Mix(Hex(0x0A1028), Hex(0x5A78B8), dawn);
    const Rgb low = Mix(Hex(0x24346A), Hex(0xF6C098), dawn);
    cairo_rectangle(cr, 0, 0, w, h);
    FillVertical(cr, 0, h * 0.62, top, low);
    if (dawn < 0.5) {
        StarField(cr, 0, 0, w, h * 0.55, 9, 160, 1.0 - dawn);
        Glow(cr, w * 0.72, h * 0.2, 200, Hex(0xFFF4D0), 0.35);
        cairo_arc(cr, w * 0.72, h * 0.2, 54, 0, 2 * M_PI);
        FillVertical(cr, h * 0.2 - 54, h * 0.2 + 54, Hex(0xFFFBEA), Hex(0xEEDDB0));
    } else {
        Glow(cr, w * 0.5, h * 0.62, 500, Hex(0xFFD890), 0.6);
    }
    // Town silhouette with the clock tower and lit windows.
    const Rgb town = Mix(Hex(0x0A0C1A), Hex(0x4A3A48), dawn);
    cairo_move_to(cr, 0, h * 0.62);
    Lcg rng(5);
    double x = 0;
    while (x < w) {
        const double bw = rng.Range(50, 110), bh = rng.Range(40, 110);
        cairo_line_to(cr, x, h * 0.62 - bh);
        cairo_line_to(cr, x + bw * 0.5, h * 0.62 - bh - 26);
        cairo_line_to(cr, x + bw, h * 0.62 - bh);
        x += bw;
    }
    cairo_line_to(cr, w, h * 0.62);
    cairo_close_path(cr);
    Fill(cr, town);
    const double tx = w * 0.3;
    cairo_rectangle(cr, tx - 34, h * 0.62 - 300, 68, 300);
    Fill(cr, town);
    cairo_move_to(cr, tx - 44, h * 0.62 - 300);
    cairo_line_to(cr, tx, h * 0.62 - 380);
    cairo_line_to(cr, tx + 44, h * 0.62 - 300);
    cairo_close_path(cr);
    Fill(cr, town);
    cairo_arc(cr, tx, h * 0.62 - 250, 22, 0, 2 * M_PI);
    Fill(cr, Hex(0xFFE6A0), 0.9);
    Lcg lit(6);
    for (int i = 0; i < 60; ++i) {
        cairo_rectangle(cr, lit.Range(0, w), h * 0.62 - lit.Range(10, 90), 5, 7);
        Fill(cr, Hex(0xFFD880), 0.7 * (1 - dawn * 0.7));
    }
    // Sea with moonlight reflections.
    cairo_rectangle(cr, 0, h * 0.62, w, h * 0.38);
    FillVertical(cr, h * 0.62, h, Mix(Hex(0x16224A), Hex(0x7A8AB0), dawn), Mix(Hex(0x060A18), Hex(0x3A4A6A), dawn));
    Lcg wave(8);
    for (int i = 0; i < 70; ++i) {
        const double wx = wave.Range(0, w), wy = wave.Range(h * 0.64, h);
        cairo_move_to(cr, wx, wy);
        cairo_line_to(cr, wx + wave.Range(20, 70), wy);
        Stroke(cr, Hex(0xFFF0C0), 2, 0.35);
    }
}

void DrawSozai5(Canvas& c) {
    cairo_t* cr = c.cr();
    // Selection background (1280 x 720).
    {
        Saved s(cr);
        cairo_rectangle(cr, 0, 0, 1280, 720);
        cairo_clip(cr);
        DrawSalonBackdrop(cr, 1280, 720, 0);
        cairo_rectangle(cr, 0, 0, 1280, 720);
        Fill(cr, pal::kNight, 0.45);
        // Slots: 0 Otsel, 1 Quenvar, 2 Pemra large; 3 Iblen and 4 Rosweth peek from the bottom.
        HostPanel(cr, 1, 57, 128, 374, 432, 0.95, 70, false);
        HostPanel(cr, 2, 466, 268, 373, 432, 0.95, 110, false);
        HostPanel(cr, 0, 850, 190, 370, 414, 0.95, 60, false);
        HostPanel(cr, 3, 56, 614, 370, 200, 0.62, 30, true);
        HostPanel(cr, 4, 850, 614, 370, 200, 0.62, 30, true);
    }
    // Banner (618 x 182) and its additive glow.
    {
        Saved s(cr);
        const double x = 1280, y = 0;
        RoundRect(cr, x + 20, y + 40, 578, 110, 30);
        FillVertical(cr, y + 40, y + 150, Hex(0x8A2A50), pal::kWine, 0.96);
        RoundRect(cr, x + 20, y + 40, 578, 110, 30);
        Stroke(cr, pal::kGold, 4);
        RoundRect(cr, x + 30, y + 50, 558, 90, 24);
        Stroke(cr, pal::kGold, 1.5, 0.5);
        Text(cr, "対戦相手を選んでください", x + 309, y + 86, 40, Hex(0xFFE8B0), Align::Center, 3, Hex(0x3A0A1A));
        Text(cr, "CHOOSE YOUR HOST", x + 309, y + 124, 18, pal::kGold, Align::Center);
        Crescent(cr, x + 309, y + 22, 16, 0.5);
        Fill(cr, pal::kGold);
        for (double sx : {x + 60.0, x + 558.0}) {
            Star(cr, sx, y + 95, 12, 5, 5);
            Fill(cr, pal::kGold);
        }
    }
    {
        Saved s(cr);
        const double x = 1280, y = 182;
        for (int i = 8; i >= 1; --i) {
            RoundRect(cr, x + 20 - i * 2, y + 40 - i * 2, 578 + i * 4, 110 + i * 4, 30 + i * 2);
            Stroke(cr, Hex(0xFFC860), 4, 0.06 * (9 - i));
        }
        Glow(cr, x + 309, y + 95, 260, Hex(0xFFC860), 0.25);
    }
    // The three glow frames (drawn at twice their size on screen).
    GlowFrame(cr, 1282 + 20, 364 + 20, 188, 216, HostColor(1));
    GlowFrame(cr, 1510 + 21, 364 + 20, 186, 216, HostColor(2));
    GlowFrame(cr, 1738 + 20, 364 + 21, 185, 215, Hex(0xBFE6FF));

    // Gallery background (0, 720)-(1280, 1440): column heads with names, empty item frames.
    {
        Saved s(cr);
        cairo_rectangle(cr, 0, 720, 1280, 720);
        cairo_clip(cr);
        cairo_translate(cr, 0, 720);
        cairo_rectangle(cr, 0, 0, 1280, 720);
        FillVertical(cr, 0, 720, Hex(0x1A1030), Hex(0x0A0A18));
        StarField(cr, 0, 0, 1280, 720, 77, 140, 0.7);
        const int order[5] = {3, 0, 1, 2, 4};
        const double colX[5] = {77, 307, 537, 767, 997};
        const double itemY[4] = {215, 338, 461, 582};
        for (int k = 0; k < 5; ++k) {
            const int host = order[k];
            const double x = colX[k];
            RoundRect(cr, x - 4, 8, 214, 197, 16);
            FillVertical(cr, 8, 205, Mix(pal::kNight2, HostColor(host), 0.3), pal::kNight, 0.9);
            {
                Saved clip(cr);
                RoundRect(cr, x - 4, 8, 214, 197, 16);
                cairo_clip(cr);
                Glow(cr, x + 103, 90, 120, HostColor(host), 0.4);
                DrawFigure(cr, host, 0, 0, x + 103, 30, 0.55);
            }
            RoundRect(cr, x - 4, 8, 214, 197, 16);
            Stroke(cr, pal::kGold, 2);
            NamePlate(cr, x + 103, 180, 160, kHostNames[host], HostColor(host));
            for (int i = 0; i < 4; ++i) {
                const double ix = i == 3 ? x - 2 : x, iw = i == 3 ? 210 : 206, ih = i == 3 ? 118 : 114;
                RoundRect(cr, ix, itemY[i], iw, ih, 6);
                Fill(cr, Rgb{0, 0, 0}, 0.4);
                RoundRect(cr, ix, itemY[i], iw, ih, 6);
                Stroke(cr, pal::kGold, 1.5, 0.5);
                Crescent(cr, ix + iw / 2, itemY[i] + ih / 2, 14, 0.5);
                Fill(cr, pal::kGold, 0.25);
            }
        }
        Text(cr, "GALLERY", 1240, 690, 28, pal::kGold, Align::Right, 2, pal::kNight);
    }
    // Thumbnails: items 0..2 are the illustrations, item 3 the three standing pictures.
    for (int host = 0; host < 5; ++host) {
        for (int item = 0; item < 4; ++item) {
            const Thumb t = kThumbs[host][item];
            const double w = item == 3 ? kThumb3W : kThumbW, h = item == 3 ? kThumb3H : kThumbH;
            Thumbnail(cr, t.left, t.top, w, h, host, item);
            RoundRect(cr, t.left + 1, t.top + 1, w - 2, h - 2, 4);
            Stroke(cr, pal::kGold, 2);
        }
    }
    // Cursor (246 x 154), additive.
    GlowFrame(cr, 1692 + 20, 1062 + 20, 206, 114, Hex(0xFFD880));
}

void DrawGallery02(Canvas& c) {
    cairo_t* cr = c.cr();
    cairo_rectangle(cr, 0, 0, 1280, 720);
    FillVertical(cr, 0, 720, Hex(0x2A0A20), Hex(0x0E0410));
    // A small stage: spotlight, curtains, floor.
    cairo_move_to(cr, 460, 0);
    cairo_line_to(cr, 820, 0);
    cairo_line_to(cr, 1060, 720);
    cairo_line_to(cr, 220, 720);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 720);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.92, 0.7, 0.25);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 0.92, 0.7, 0.05);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_rectangle(cr, 0, 600, 1280, 120);
    FillVertical(cr, 600, 720, Hex(0x4A2A18), Hex(0x1A0C06));
    Curtain(cr, 0, 240, 720, true);
    Curtain(cr, 1040, 240, 720, false);
    cairo_rectangle(cr, 0, 0, 1280, 50);
    FillVertical(cr, 0, 50, Hex(0x6A1E3A), Hex(0x3A0E20));
    for (int i = 0; i < 32; ++i) {
        cairo_arc(cr, 20 + i * 40, 50, 20, 0, M_PI);
        Fill(cr, Hex(0x5A1630));
    }
    cairo_rectangle(cr, 0, 46, 1280, 4);
    Fill(cr, pal::kGold);
    Text(cr, "クリックで次の衣装へ", 1240, 690, 18, pal::kMoon, Align::Right, 2, pal::kNight);
}

bool DrawScreenPicture(Canvas& c, const char* name) {
    cairo_t* cr = c.cr();
    const double W = c.width(), H = c.height();
    const std::string n = name;
    if (n == "logo_moon.png") {
        Glow(cr, W / 2, H / 2 - 30, 220, Hex(0xFFE6A0), 0.5);
        Crescent(cr, W / 2 - 10, H / 2 - 40, 120, 0.45);
        FillVertical(cr, H / 2 - 160, H / 2 + 80, Hex(0xFFF6D8), Hex(0xE8B44C));
        Star(cr, W / 2 + 70, H / 2 - 110, 26, 10, 5);
        Fill(cr, Hex(0xFFF6D8));
        Text(cr, "TARNWICK NIGHT WORKS", W / 2, H - 70, 30, pal::kGold, Align::Center);
        return true;
    }
    if (n == "title_logo.png") {
        Glow(cr, W / 2, H / 2, W * 0.45, pal::kGold, 0.25);
        Text(cr, "Ostrelle", W / 2 + 20, H * 0.42, 150, Hex(0xFFE8A8), Align::Center, 6, pal::kNight);
        Text(cr, "TARNWICK", W / 2 - 260, H * 0.12, 40, pal::kMoon, Align::Center, 3, pal::kNight);
        Text(cr, "~ Night ~", W / 2 + 250, H * 0.8, 56, Hex(0xBFD8FF), Align::Center, 4, pal::kNight);
        Crescent(cr, 110, H * 0.42, 60, 0.5);
        FillVertical(cr, H * 0.42 - 60, H * 0.42 + 60, Hex(0xFFF6D8), pal::kGold);
        for (int i = 0; i < 7; ++i) {
            Sparkle(cr, 180 + i * 110, H * 0.92 - (i % 2) * 20, 8 + (i % 3) * 3);
            Fill(cr, Hex(0xFFF6D8), 0.9);
        }
        return true;
    }
    if (n == "title_sub.png") {
        Text(cr, "ターンウィック・オストレル・ナイト", W / 2, H / 2, 38, pal::kMoon, Align::Center, 3, pal::kNight);
        return true;
    }
    if (n == "menu_bg_01.png") {
        DrawHarbourNight(cr, W, H, 0);
        return true;
    }
    if (n == "menu_bg_02.png" || n == "stand_bg.png") {
        DrawSalonBackdrop(cr, W, H, n == "stand_bg.png" ? 0 : 1);
        return true;
    }
    if (n == "credit_bg.png") {
        DrawHarbourNight(cr, W, H, 0.8);
        return true;
    }
    if (n == "cm_bg.png") {
        DrawSalonBackdrop(cr, W, H, 0);
        cairo_rectangle(cr, 0, 0, W, H);
        Fill(cr, pal::kNight, 0.5);
        for (int h = 0; h < 5; ++h) {
            Glow(cr, 160 + h * 240, 420, 160, HostColor(h), 0.3);
            DrawFigure(cr, h, 0, 1, 160 + h * 240, 180, 0.62);
        }
        Text(cr, "今夜も、オストレルでお待ちしています", W / 2, 90, 44, Hex(0xFFE8B0), Align::Center, 3, pal::kNight);
        return true;
    }
    if (n.rfind("menu_btn_", 0) == 0) {
        const bool on = n.find("_on.png") != std::string::npos;
        const char* label = "はじめる";
        const char* sub = "START";
        if (n.find("end") != std::string::npos) {
            label = "おわる";
            sub = "EXIT";
        } else if (n.find("gallery") != std::string::npos) {
            label = "ギャラリー";
            sub = "GALLERY";
        } else if (n.find("credit") != std::string::npos) {
            label = "クレジット";
            sub = "CREDITS";
        }
        if (on) {
            Glow(cr, W / 2, H / 2, W * 0.5, pal::kGold, 0.35);
        }
        GoldPlate(cr, 4, 4, W - 8, H - 8, (H - 8) / 2, on);
        Text(cr, label, W / 2 - 24, H / 2 - 2, 22, Hex(0x2A1A06), Align::Center);
        Text(cr, sub, W - 52, H / 2 - 2, 12, Hex(0x5A3A10), Align::Center);
        return true;
    }
    if (n.rfind("menu_slot_", 0) == 0) {
        for (int h = 0; h < 5; ++h) {
            std::string lower = kHostNames[h];
            for (char& ch : lower) {
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            }
            if (n == "menu_slot_" + lower + ".png") {
                HostPanel(cr, h, 4, 4, W - 8, H - 8, 0.72, 50, false);
                return true;
            }
        }
        return false;
    }
    if (n == "tips_panel.png") {
        NightPanel(cr, 2, 2, W - 4, H - 4, 16, 0.9);
        RoundRect(cr, 10, 10, 90, 26, 10);
        Fill(cr, pal::kWine);
        Text(cr, "TIPS", 55, 23, 16, pal::kGold, Align::Center);
        return true;
    }
    if (n.rfind("stand_aura_", 0) == 0) {
        for (int h = 0; h < 5; ++h) {
            std::string lower = kHostNames[h];
            for (char& ch : lower) {
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            }
            if (n == "stand_aura_" + lower + ".png") {
                Glow(cr, W / 2, H * 0.45, W * 0.55, HostColor(h), 0.55);
                Lcg rng(200 + h);
                for (int i = 0; i < 24; ++i) {
                    Sparkle(cr, rng.Range(40, W - 40), rng.Range(40, H - 40), rng.Range(4, 10));
                    Fill(cr, Lighter(HostColor(h), 0.6), 0.8);
                }
                return true;
            }
        }
        return false;
    }
    // Effect sprites (256 x 256 unless said otherwise), drawn for additive or normal blending.
    const double cx = W / 2, cy = H / 2;
    if (n == "eff_glow.png") {
        Glow(cr, cx, cy, W / 2, Rgb{1, 1, 1}, 1.0);
    } else if (n == "eff_sparkle.png") {
        Glow(cr, cx, cy, W * 0.3, Rgb{1, 1, 1}, 0.6);
        Sparkle(cr, cx, cy, W * 0.48);
        Fill(cr, Rgb{1, 1, 1});
    } else if (n == "eff_ring.png") {
        for (int i = 0; i < 6; ++i) {
            cairo_new_path(cr);
            cairo_arc(cr, cx, cy, W * 0.42 - i * 2, 0, 2 * M_PI);
            Stroke(cr, Rgb{1, 1, 1}, 3, 0.15 + i * 0.12);
        }
    } else if (n == "eff_snow.png") {
        Glow(cr, cx, cy, W * 0.45, HostColor(0), 0.4);
        SetColor(cr, Rgb{1, 1, 1});
        Snowflake(cr, cx, cy, W * 0.4, W * 0.05);
        cairo_stroke(cr);
    } else if (n == "eff_flame.png") {
        // A purple candle flame.
        Glow(cr, cx, cy + W * 0.05, W * 0.45, HostColor(1), 0.6);
        cairo_move_to(cr, cx, cy - W * 0.42);
        cairo_curve_to(cr, cx + W * 0.08, cy - W * 0.2, cx + W * 0.3, cy - W * 0.08, cx + W * 0.25, cy + W * 0.15);
        cairo_curve_to(cr, cx + W * 0.22, cy + W * 0.36, cx - W * 0.22, cy + W * 0.36, cx - W * 0.25, cy + W * 0.15);
        cairo_curve_to(cr, cx - W * 0.28, cy - W * 0.03, cx - W * 0.1, cy - W * 0.1, cx, cy - W * 0.42);
        cairo_close_path(cr);
        FillVertical(cr, cy - W * 0.42, cy + W * 0.34, Hex(0xE8D8FF), Hex(0x8A50D8));
        cairo_move_to(cr, cx, cy - W * 0.08);
        cairo_curve_to(cr, cx + W * 0.1, cy + W * 0.04, cx + W * 0.12, cy + W * 0.25, cx, cy + W * 0.25);
        cairo_curve_to(cr, cx - W * 0.12, cy + W * 0.25, cx - W * 0.1, cy + W * 0.04, cx, cy - W * 0.08);
        Fill(cr, Hex(0xFFF6FF), 0.9);
    } else if (n == "eff_scythe.png" || n == "eff_mirror.png" || n == "eff_heart.png" ||
               n == "eff_lock.png" || n == "eff_scales.png" || n == "eff_shield.png") {
        struct E {
            const char* name;
            int host, ability;
        };
        const E table[] = {{"eff_scythe.png", 1, 2}, {"eff_mirror.png", 3, 2},
                           {"eff_heart.png", 3, 3},  {"eff_lock.png", 3, 1},   {"eff_scales.png", 4, 0},
                           {"eff_shield.png", 4, 3}};
        for (const E& e : table) {
            if (n == e.name) {
                DrawHostAbilitySymbol(cr, e.host, e.ability, cx, cy, W * 0.9);
            }
        }
    } else if (n == "eff_bomb.png") {
        Starburst(cr, cx, cy, W * 0.48, Hex(0xFFB040));
        Glow(cr, cx, cy, W * 0.3, Hex(0xFFF0C0), 0.9);
    } else if (n == "eff_coin.png") {
        cairo_arc(cr, cx, cy, W * 0.4, 0, 2 * M_PI);
        FillVertical(cr, cy - W * 0.4, cy + W * 0.4, Hex(0xFFEBA8), Hex(0xC0801E));
        cairo_arc(cr, cx, cy, W * 0.3, 0, 2 * M_PI);
        Stroke(cr, Hex(0x8A5A14), 6);
        Star(cr, cx, cy, W * 0.17, W * 0.07, 5);
        Fill(cr, Hex(0x8A5A14));
    } else if (n == "eff_eye.png") {
        cairo_move_to(cr, cx - W * 0.45, cy);
        cairo_curve_to(cr, cx - W * 0.2, cy - W * 0.3, cx + W * 0.2, cy - W * 0.3, cx + W * 0.45, cy);
        cairo_curve_to(cr, cx + W * 0.2, cy + W * 0.3, cx - W * 0.2, cy + W * 0.3, cx - W * 0.45, cy);
        Fill(cr, Rgb{1, 1, 1}, 0.9);
        cairo_arc(cr, cx, cy, W * 0.14, 0, 2 * M_PI);
        Fill(cr, Hex(0x2E7FC0));
        cairo_arc(cr, cx, cy, W * 0.06, 0, 2 * M_PI);
        Fill(cr, pal::kInk);
    } else {
        return DrawMatchPicture(c, name);
    }
    return true;
}

}  // namespace forge

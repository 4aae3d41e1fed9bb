// The five hosts as stylised vector figures (head, hair, outfit, motif props), their standing
// pictures and the story illustrations. Figures are drawn in a local frame where the head's
// centre is (0, 100) and the canvas bottom of a standing picture is at y = 650.
#include <cmath>

#include "forge.h"

namespace forge {

namespace {

struct Look {
    Rgb hair, hairShade, eyes, skin;
    Rgb outfit[3], outfitShade[3], trim[3];
    bool male;
};

const Look kLooks[5] = {
    // Pemra: silver-blue braid, white and pale-blue gowns.
    {Hex(0xD2E4F4), Hex(0x93B2D6), Hex(0x4AA6E0), Hex(0xFBE6DA),
     {Hex(0xF4F8FF), Hex(0xBFDDF2), Hex(0xE6F2FF)},
     {Hex(0xA9C6E6), Hex(0x86AECF), Hex(0x9FC2E8)},
     {Hex(0x8FD3FF), Hex(0xF4F8FF), Hex(0xC8E8FF)}, false},
    // Otsel: short black hair, purple hood with cat ears.
    {Hex(0x2E2838), Hex(0x15121C), Hex(0xE8A030), Hex(0xF8DCC8),
     {Hex(0x5A3A98), Hex(0xC6A8EE), Hex(0x3A2A6A)},
     {Hex(0x35205E), Hex(0x9A7CC8), Hex(0x1E1540)},
     {Hex(0xE8B44C), Hex(0xFFFFFF), Hex(0xE8B44C)}, false},
    // Quenvar: chestnut hair, black tailcoat with card-red lining, top hat.
    {Hex(0x7A4424), Hex(0x4A2410), Hex(0x3A9A5A), Hex(0xF6D8C0),
     {Hex(0x22222E), Hex(0x7A2A34), Hex(0xD8A640)},
     {Hex(0x101018), Hex(0x4E1820), Hex(0x9A7020)},
     {Hex(0xC8242F), Hex(0xE8B44C), Hex(0xFFF0C0)}, true},
    // Iblen: long wavy rose hair, pink and violet dresses.
    {Hex(0xF08AB4), Hex(0xC05A8A), Hex(0x9A5AD0), Hex(0xFCE2D6),
     {Hex(0xE878A8), Hex(0xF6E6EE), Hex(0x7A3AA8)},
     {Hex(0xA84A7A), Hex(0xD8BCCB), Hex(0x4E1E78)},
     {Hex(0x9A5AD0), Hex(0xFF7FB0), Hex(0xFFB8D8)}, false},
    // Rosweth: dark hair with a silver streak, dark-red coat with gold epaulettes.
    {Hex(0x2A2224), Hex(0x121012), Hex(0xA03A2A), Hex(0xF0D0B8),
     {Hex(0x8A1E26), Hex(0x3A3440), Hex(0x6A1420)},
     {Hex(0x520E16), Hex(0x221E28), Hex(0x3A0A12)},
     {Hex(0xE8B44C), Hex(0xD04848), Hex(0xFFE08A)}, true},
};

void Stroke(cairo_t* cr, Rgb c, double w, double a = 1) {
    SetColor(cr, c, a);
    cairo_set_line_width(cr, w);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

void FacePath(cairo_t* cr, bool male) {
    const double w = male ? 64 : 66;
    cairo_move_to(cr, -w, 92);
    cairo_curve_to(cr, -w, 20, w, 20, w, 92);
    cairo_curve_to(cr, w, 140, 34, 178, 0, 184);
    cairo_curve_to(cr, -34, 178, -w, 140, -w, 92);
    cairo_close_path(cr);
}

// Pose: 0 hands together at the waist, 1 right hand raised holding the prop, 2 both arms open.
struct Arms {
    double lx, ly, rx, ry;  // hand positions
};

Arms PoseArms(int pose) {
    switch (pose) {
        case 1: return Arms{-70, 470, 118, 300};
        case 2: return Arms{-190, 420, 190, 420};
        default: return Arms{-30, 480, 30, 480};
    }
}

void Arm(cairo_t* cr, double sx, double sy, double hx, double hy, Rgb sleeve, Rgb shade, Rgb skin, Rgb cuff) {
    const double ex = sx + (hx - sx) * 0.35 + (sx < 0 ? -40 : 40), ey = sy + (hy - sy) * 0.55 + 10;
    cairo_move_to(cr, sx, sy);
    cairo_curve_to(cr, ex, ey - 40, ex, ey, hx, hy);
    Stroke(cr, shade, 56);
    cairo_move_to(cr, sx, sy);
    cairo_curve_to(cr, ex, ey - 40, ex, ey, hx, hy);
    Stroke(cr, sleeve, 48);
    Ellipse(cr, hx, hy, 26, 14);
    Fill(cr, cuff);
    cairo_arc(cr, hx, hy + 8, 18, 0, 2 * M_PI);
    Fill(cr, skin);
}

void Torso(cairo_t* cr, Rgb main, Rgb shade, bool male, double flare) {
    const double sw = male ? 132 : 118;
    cairo_move_to(cr, -24, 196);
    cairo_curve_to(cr, -60, 214, -sw + 10, 222, -sw, 256);
    cairo_curve_to(cr, -sw - 14, 330, -sw + 8, 420, -sw + 6 - flare * 0.3, 500);
    cairo_curve_to(cr, -sw - flare, 580, -sw - flare * 1.5, 640, -sw - flare * 1.8, 700);
    cairo_line_to(cr, sw + flare * 1.8, 700);
    cairo_curve_to(cr, sw + flare * 1.5, 640, sw + flare, 580, sw - 6 + flare * 0.3, 500);
    cairo_curve_to(cr, sw - 8, 420, sw + 14, 330, sw, 256);
    cairo_curve_to(cr, sw - 10, 222, 60, 214, 24, 196);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(-sw, 0, sw, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, shade.r, shade.g, shade.b);
    cairo_pattern_add_color_stop_rgb(p, 0.35, main.r, main.g, main.b);
    cairo_pattern_add_color_stop_rgb(p, 0.7, main.r, main.g, main.b);
    cairo_pattern_add_color_stop_rgb(p, 1, shade.r, shade.g, shade.b);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void Eyes(cairo_t* cr, const Look& L, int mood, int host) {
    const double ey = 112, ex = 28;
    const double w = L.male ? 15 : 18, h = L.male ? 17 : 22;
    for (double side : {-1.0, 1.0}) {
        const double cx = side * ex;
        const bool closed = mood == 2 || (mood == 1 && host != 2 && host != 4);
        if (closed) {
            // Happy closed eyes: soft arcs.
            cairo_new_path(cr);
            cairo_arc(cr, cx, ey + 6, w * 0.9, 1.15 * M_PI, 1.85 * M_PI);
            Stroke(cr, Hex(0x3A2430), 4.5);
            if (!L.male) {
                cairo_move_to(cr, cx + side * w * 0.8, ey - 2);
                cairo_line_to(cr, cx + side * (w * 0.8 + 6), ey - 6);
                Stroke(cr, Hex(0x3A2430), 2.5);
            }
            continue;
        }
        Ellipse(cr, cx, ey, w, h);
        Fill(cr, Rgb{1, 1, 1});
        Ellipse(cr, cx, ey + 2, w * 0.72, h * 0.82);
        FillVertical(cr, ey - h, ey + h, Darker(L.eyes, 0.35), Lighter(L.eyes, 0.25));
        Ellipse(cr, cx, ey + 3, w * 0.34, h * 0.42);
        Fill(cr, Darker(L.eyes, 0.7));
        Ellipse(cr, cx - side * 4 - 2, ey - h * 0.35, w * 0.26, h * 0.2);
        Fill(cr, Rgb{1, 1, 1});
        cairo_arc(cr, cx + 5, ey + h * 0.4, 2.2, 0, 2 * M_PI);
        Fill(cr, Rgb{1, 1, 1}, 0.8);
        // Upper lash line.
        cairo_new_path(cr);
        cairo_arc(cr, cx, ey + 4, w * 1.12, 1.12 * M_PI, 1.88 * M_PI);
        Stroke(cr, Hex(0x2A1A22), L.male ? 3.5 : 5);
        if (!L.male) {
            cairo_move_to(cr, cx + side * w * 1.05, ey - 4);
            cairo_line_to(cr, cx + side * (w * 1.05 + 7), ey - 9);
            Stroke(cr, Hex(0x2A1A22), 3);
        }
    }
    // Brows.
    for (double side : {-1.0, 1.0}) {
        cairo_move_to(cr, side * 14, 82 - (mood == 1 ? 4 : 0));
        cairo_curve_to(cr, side * 24, 76 - (mood == 1 ? 4 : 0), side * 36, 76, side * 46, 82);
        Stroke(cr, Darker(L.hair, 0.45), L.male ? 4.5 : 3);
    }
}

void Mouth(cairo_t* cr, int mood, bool male) {
    if (mood == 1) {
        cairo_move_to(cr, -14, 146);
        cairo_curve_to(cr, -8, 164, 8, 164, 14, 146);
        cairo_close_path(cr);
        Fill(cr, Hex(0xB8404A));
        cairo_move_to(cr, -8, 156);
        cairo_curve_to(cr, -4, 161, 4, 161, 8, 156);
        Fill(cr, Hex(0xFF9AA0));
    } else {
        cairo_new_path(cr);
        cairo_arc(cr, 0, 138, male ? 12 : 10, 0.25 * M_PI, 0.75 * M_PI);
        Stroke(cr, Hex(0x8A3A40), 3);
    }
    // Nose hint.
    cairo_move_to(cr, 2, 124);
    cairo_line_to(cr, -1, 130);
    Stroke(cr, Hex(0xD8A890), 2);
}

void Blush(cairo_t* cr, int mood) {
    const double a = mood == 2 ? 0.55 : 0.3;
    for (double side : {-1.0, 1.0}) {
        Ellipse(cr, side * 42, 136, 13, 6);
        Fill(cr, Hex(0xFF8FA0), a);
    }
}

// Strands of fringe between x0 and x1, hanging from the hairline to about y = tip.
void Fringe(cairo_t* cr, double x0, double x1, int strands, double tip, Rgb c, Rgb shade) {
    cairo_move_to(cr, x0 - 8, 70);
    cairo_curve_to(cr, x0 - 4, 10, x1 + 4, 10, x1 + 8, 70);
    const double step = (x1 - x0) / strands;
    for (int i = strands; i >= 0; --i) {
        const double x = x0 + i * step;
        const double t = tip - ((i % 2) ? 12 : 0) - std::abs(x) * 0.12;
        cairo_line_to(cr, x + step * 0.1, t);
        cairo_curve_to(cr, x - step * 0.1, t - 20, x - step * 0.3, 50, x - step * 0.5, 46);
    }
    cairo_close_path(cr);
    FillVertical(cr, 10, tip, c, shade);
}

void Snowpin(cairo_t* cr, double x, double y, double r) {
    cairo_arc(cr, x, y, r * 0.5, 0, 2 * M_PI);
    Fill(cr, Hex(0x8FD3FF), 0.7);
    SetColor(cr, Hex(0xFFFFFF));
    Snowflake(cr, x, y, r, r * 0.18);
    cairo_stroke(cr);
}

void HeartLock(cairo_t* cr, double x, double y, double s) {
    cairo_new_path(cr);
    cairo_arc(cr, x, y - s * 0.35, s * 0.25, M_PI, 2 * M_PI);
    Stroke(cr, pal::kGold, s * 0.09);
    Heart(cr, x, y, s * 0.8);
    FillVertical(cr, y - s * 0.4, y + s * 0.4, Hex(0xFFB0D0), Hex(0xE04080));
    cairo_arc(cr, x, y - s * 0.02, s * 0.07, 0, 2 * M_PI);
    Fill(cr, pal::kGold);
}

void Shield(cairo_t* cr, double x, double y, double s) {
    cairo_move_to(cr, x, y - s * 0.5);
    cairo_curve_to(cr, x + s * 0.2, y - s * 0.38, x + s * 0.4, y - s * 0.4, x + s * 0.44, y - s * 0.4);
    cairo_curve_to(cr, x + s * 0.46, y + s * 0.05, x + s * 0.3, y + s * 0.32, x, y + s * 0.5);
    cairo_curve_to(cr, x - s * 0.3, y + s * 0.32, x - s * 0.46, y + s * 0.05, x - s * 0.44, y - s * 0.4);
    cairo_curve_to(cr, x - s * 0.4, y - s * 0.4, x - s * 0.2, y - s * 0.38, x, y - s * 0.5);
    cairo_close_path(cr);
    FillVertical(cr, y - s * 0.5, y + s * 0.5, Hex(0xFFE9A8), Hex(0xC08020));
    Star(cr, x, y - s * 0.04, s * 0.18, s * 0.08, 5);
    Fill(cr, Hex(0xB02030));
}

void PlayingCard(cairo_t* cr, double x, double y, double w, double angle, const char* label, Rgb ink) {
    Saved s(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle * M_PI / 180);
    RoundRect(cr, -w / 2, -w * 0.75, w, w * 1.5, w * 0.1);
    Fill(cr, pal::kCream);
    RoundRect(cr, -w / 2, -w * 0.75, w, w * 1.5, w * 0.1);
    Stroke(cr, pal::kGold, std::max(1.0, w * 0.04));
    Text(cr, label, 0, 0, w * 0.6, ink, Align::Center);
}

// Props held in the raised hand (pose 1) or shown beside the figure.
void Prop(cairo_t* cr, int host, int outfit, double x, double y) {
    switch (host) {
        case 0: {  // a frost crystal on the palm
            Glow(cr, x, y - 40, 50, Hex(0x8FD3FF), 0.6);
            cairo_move_to(cr, x, y - 80);
            cairo_line_to(cr, x + 18, y - 40);
            cairo_line_to(cr, x, y - 14);
            cairo_line_to(cr, x - 18, y - 40);
            cairo_close_path(cr);
            FillVertical(cr, y - 80, y - 14, Hex(0xFFFFFF), Hex(0x6ABCF0));
            SetColor(cr, Hex(0xFFFFFF));
            Snowflake(cr, x + 30, y - 80, 12, 2.5);
            cairo_stroke(cr);
            break;
        }
        case 1: {  // the toy scythe with a ribbon; the blade points away from the face
            cairo_move_to(cr, x - 10, y - 190);
            cairo_line_to(cr, x + 8, y + 140);
            Stroke(cr, Hex(0x8A5A2A), 11);
            cairo_move_to(cr, x - 8, y - 186);
            cairo_curve_to(cr, x + 40, y - 230, x + 120, y - 210, x + 150, y - 150);
            cairo_curve_to(cr, x + 100, y - 185, x + 40, y - 190, x - 6, y - 160);
            cairo_close_path(cr);
            FillVertical(cr, y - 230, y - 150, Hex(0xF4F0FF), Hex(0xA890D8));
            Star(cr, x - 12, y - 196, 14, 6, 5);
            Fill(cr, pal::kGold);
            if (outfit == 2) {
                cairo_move_to(cr, x - 4, y - 120);
                cairo_curve_to(cr, x + 40, y - 130, x + 50, y - 100, x + 36, y - 80);
                Stroke(cr, Hex(0xFF7FB0), 6);
            }
            break;
        }
        case 2: {  // a fan of cards
            for (int i = 0; i < 5; ++i) {
                PlayingCard(cr, x + (i - 2) * 14, y - 50 - std::abs(i - 2) * 4, 44, (i - 2) * 16.0,
                            i == 2 ? "A" : (i % 2 ? "K" : "Q"), i % 2 ? pal::kRed : pal::kInk);
            }
            break;
        }
        case 3: {  // the hand mirror
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x + 6, y - 60);
            Stroke(cr, pal::kGold, 12);
            Ellipse(cr, x + 8, y - 110, 42, 52);
            Fill(cr, pal::kGold);
            Ellipse(cr, x + 8, y - 110, 34, 44);
            FillVertical(cr, y - 154, y - 66, Hex(0xFFFFFF), Hex(0xB8D4F4));
            Heart(cr, x + 8, y - 166, 20);
            Fill(cr, Hex(0xFF7FB0));
            cairo_move_to(cr, x - 10, y - 130);
            cairo_line_to(cr, x + 4, y - 146);
            Stroke(cr, Rgb{1, 1, 1}, 4);
            break;
        }
        default: {  // the ring of keys
            cairo_new_path(cr);
            cairo_arc(cr, x, y - 40, 22, 0, 2 * M_PI);
            Stroke(cr, pal::kGold, 5);
            for (int i = 0; i < 3; ++i) {
                Saved s(cr);
                cairo_translate(cr, x, y - 40);
                cairo_rotate(cr, (i - 1) * 0.5);
                cairo_move_to(cr, 0, 22);
                cairo_line_to(cr, 0, 70);
                cairo_line_to(cr, 10, 70);
                cairo_move_to(cr, 0, 60);
                cairo_line_to(cr, 8, 60);
                Stroke(cr, Hex(0xE8C870), 5);
            }
            break;
        }
    }
}

void BackHair(cairo_t* cr, int host, int outfit, const Look& L) {
    switch (host) {
        case 0:  // long straight hair behind
            cairo_move_to(cr, -78, 90);
            cairo_curve_to(cr, -90, -10, 90, -10, 78, 90);
            cairo_curve_to(cr, 92, 200, 100, 300, 96, 340);
            cairo_line_to(cr, -96, 340);
            cairo_curve_to(cr, -100, 300, -92, 200, -78, 90);
            FillVertical(cr, 0, 340, L.hair, L.hairShade);
            break;
        case 1:
            if (outfit != 1) {
                // The hood, with cat ears.
                const Rgb hood = outfit == 2 ? Hex(0x2A1E50) : L.outfit[0];
                for (double side : {-1.0, 1.0}) {
                    cairo_move_to(cr, side * 40, 10);
                    cairo_line_to(cr, side * 88, -60);
                    cairo_line_to(cr, side * 96, 30);
                    cairo_close_path(cr);
                    Fill(cr, hood);
                    cairo_move_to(cr, side * 56, 8);
                    cairo_line_to(cr, side * 84, -38);
                    cairo_line_to(cr, side * 88, 24);
                    cairo_close_path(cr);
                    Fill(cr, Hex(0xFFB0C8));
                }
                cairo_move_to(cr, -100, 200);
                cairo_curve_to(cr, -120, -30, 120, -30, 100, 200);
                cairo_close_path(cr);
                FillVertical(cr, -10, 200, Lighter(hood, 0.1), Darker(hood, 0.3));
            } else {
                cairo_move_to(cr, -76, 90);
                cairo_curve_to(cr, -86, -6, 86, -6, 76, 90);
                cairo_curve_to(cr, 80, 140, 70, 170, 60, 176);
                cairo_line_to(cr, -60, 176);
                cairo_curve_to(cr, -70, 170, -80, 140, -76, 90);
                FillVertical(cr, 0, 176, L.hair, L.hairShade);
            }
            break;
        case 3:  // long wavy rose hair down the back
            cairo_move_to(cr, -80, 90);
            cairo_curve_to(cr, -92, -14, 92, -14, 80, 90);
            for (int i = 0; i <= 6; ++i) {
                const double y = 140 + i * 60;
                cairo_curve_to(cr, 110 + (i % 2) * 22, y - 30, 96 + (i % 2 ? -10 : 20), y, 104 + (i % 2) * 16, y + 20);
            }
            cairo_line_to(cr, -104, 520);
            for (int i = 6; i >= 0; --i) {
                const double y = 140 + i * 60;
                cairo_curve_to(cr, -110 - (i % 2) * 22, y, -96 - (i % 2 ? -10 : 20), y - 30, -100 - (i % 2) * 14, y - 40);
            }
            cairo_close_path(cr);
            FillVertical(cr, 0, 520, L.hair, L.hairShade);
            break;
        default:  // short hair
            cairo_move_to(cr, -72, 96);
            cairo_curve_to(cr, -82, -4, 82, -4, 72, 96);
            cairo_curve_to(cr, 74, 120, 66, 140, 60, 140);
            cairo_line_to(cr, -60, 140);
            cairo_curve_to(cr, -66, 140, -74, 120, -72, 96);
            FillVertical(cr, 0, 140, L.hair, L.hairShade);
            break;
    }
}

void FrontHair(cairo_t* cr, int host, int outfit, const Look& L) {
    switch (host) {
        case 0:
            Fringe(cr, -70, 70, 7, 100, L.hair, L.hairShade);
            // Side locks.
            for (double side : {-1.0, 1.0}) {
                cairo_move_to(cr, side * 62, 60);
                cairo_curve_to(cr, side * 80, 110, side * 76, 160, side * 66, 196);
                cairo_curve_to(cr, side * 60, 150, side * 58, 110, side * 50, 80);
                Fill(cr, L.hair);
            }
            // The long braid over the left shoulder.
            for (int i = 0; i < 9; ++i) {
                const double y = 190 + i * 34, x = -64 - i * 5.5;
                Ellipse(cr, x, y, 22 - i * 0.8, 22);
                FillVertical(cr, y - 22, y + 22, L.hair, L.hairShade);
                cairo_move_to(cr, x - 14, y - 6);
                cairo_curve_to(cr, x - 4, y + 4, x + 4, y + 4, x + 14, y - 6);
                Stroke(cr, L.hairShade, 2);
            }
            cairo_arc(cr, -114, 496, 12, 0, 2 * M_PI);
            Fill(cr, Hex(0x8FD3FF));
            Snowpin(cr, -52, 46, 20);
            if (outfit == 2) {
                // A little frost tiara.
                for (int i = -2; i <= 2; ++i) {
                    cairo_move_to(cr, i * 18 - 6, 30 - std::abs(i) * 4);
                    cairo_line_to(cr, i * 18, 8 - (i == 0 ? 14 : 0) - std::abs(i) * 3);
                    cairo_line_to(cr, i * 18 + 6, 30 - std::abs(i) * 4);
                    cairo_close_path(cr);
                    FillVertical(cr, -8, 30, Hex(0xFFFFFF), Hex(0x8FD3FF));
                }
            }
            break;
        case 1:
            Fringe(cr, -66, 66, 6, 96, L.hair, L.hairShade);
            if (outfit != 1) {
                // The hood's front rim around the face.
                const Rgb hood = outfit == 2 ? Hex(0x2A1E50) : L.outfit[0];
                cairo_move_to(cr, -96, 190);
                cairo_curve_to(cr, -112, -10, 112, -10, 96, 190);
                cairo_line_to(cr, 84, 190);
                cairo_curve_to(cr, 96, 10, -96, 10, -84, 190);
                cairo_close_path(cr);
                Fill(cr, Lighter(hood, 0.12));
                if (outfit == 2) {
                    for (int i = 0; i < 5; ++i) {
                        Star(cr, -70 + i * 35, 40 - std::sin(i * 0.8) * 30 - 10, 6, 2.5, 5);
                        Fill(cr, pal::kGold);
                    }
                }
            } else {
                // A cat-ear hairclip when the hood is down.
                cairo_move_to(cr, 34, 34);
                cairo_line_to(cr, 50, 6);
                cairo_line_to(cr, 60, 40);
                cairo_close_path(cr);
                Fill(cr, Hex(0xA070E0));
            }
            break;
        case 2:
            Fringe(cr, -66, 66, 5, 78, L.hair, L.hairShade);
            if (outfit != 1) {
                // Top hat.
                const Rgb hat = outfit == 2 ? Hex(0x4A3A1A) : Hex(0x1A1A24);
                Ellipse(cr, 0, 34, 104, 18);
                Fill(cr, hat);
                cairo_move_to(cr, -62, 34);
                cairo_line_to(cr, -56, -90);
                cairo_curve_to(cr, -20, -100, 20, -100, 56, -90);
                cairo_line_to(cr, 62, 34);
                cairo_close_path(cr);
                FillVertical(cr, -100, 34, Lighter(hat, 0.15), hat);
                cairo_rectangle(cr, -60, 2, 120, 18);
                Fill(cr, outfit == 2 ? pal::kGold : pal::kRed);
                PlayingCard(cr, 44, -2, 22, 18, "A", pal::kRed);
            }
            break;
        case 3:
            // Soft side-swept bangs and a ribbon.
            Fringe(cr, -70, 70, 6, 98, L.hair, L.hairShade);
            for (double side : {-1.0, 1.0}) {
                cairo_move_to(cr, side * 66, 70);
                cairo_curve_to(cr, side * 92, 140, side * 70, 200, side * 86, 260);
                cairo_curve_to(cr, side * 60, 220, side * 70, 150, side * 52, 90);
                Fill(cr, L.hair);
            }
            {
                const Rgb rib = outfit == 1 ? Hex(0xFFFFFF) : L.trim[0];
                for (double side : {-1.0, 1.0}) {
                    cairo_move_to(cr, 58, 30);
                    cairo_curve_to(cr, 58 + side * 30, 0, 58 + side * 34, 50, 58, 30);
                    Fill(cr, rib);
                }
                cairo_arc(cr, 58, 30, 7, 0, 2 * M_PI);
                Fill(cr, Darker(rib, 0.2));
            }
            break;
        default:
            // Swept-back hair with a silver streak.
            cairo_move_to(cr, -72, 92);
            cairo_curve_to(cr, -84, 0, 30, -10, 74, 60);
            cairo_curve_to(cr, 40, 40, 0, 36, -40, 56);
            cairo_curve_to(cr, -56, 64, -64, 76, -72, 92);
            FillVertical(cr, 0, 92, L.hair, L.hairShade);
            cairo_move_to(cr, -40, 24);
            cairo_curve_to(cr, 0, 6, 30, 14, 54, 40);
            Stroke(cr, Hex(0xC8C8D0), 6);
            break;
    }
}

// The glossy band across the top of the hair.
void HairShine(cairo_t* cr, int host, int outfit) {
    if ((host == 2 && outfit != 1) || (host == 1 && outfit != 1)) {
        return;  // under the top hat or the hood
    }
    cairo_new_path(cr);
    cairo_arc(cr, 0, 96, 58, 1.18 * M_PI, 1.42 * M_PI);
    Stroke(cr, Rgb{1, 1, 1}, 7, 0.35);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 96, 58, 1.52 * M_PI, 1.7 * M_PI);
    Stroke(cr, Rgb{1, 1, 1}, 7, 0.28);
}

void OutfitDetails(cairo_t* cr, int host, int outfit, const Look& L) {
    const Rgb trim = L.trim[outfit];
    switch (host) {
        case 0:
            // High collar / cape line and frost crystals on the hem.
            cairo_move_to(cr, -40, 210);
            cairo_curve_to(cr, -20, 250, 20, 250, 40, 210);
            Stroke(cr, trim, 8);
            if (outfit == 1) {
                // A knitted scarf.
                cairo_move_to(cr, -60, 212);
                cairo_curve_to(cr, -20, 250, 20, 250, 60, 212);
                Stroke(cr, Hex(0x5AA8E0), 28);
                RoundRect(cr, 20, 230, 30, 120, 8);
                Fill(cr, Hex(0x5AA8E0));
            }
            for (int i = 0; i < 5; ++i) {
                SetColor(cr, trim, 0.9);
                Snowflake(cr, -90 + i * 45, 600 + (i % 2) * 20, 12, 3);
                cairo_stroke(cr);
            }
            break;
        case 1:
            // Big gold buttons and candle-flame charm.
            for (int i = 0; i < 3; ++i) {
                cairo_arc(cr, 0, 270 + i * 60, 9, 0, 2 * M_PI);
                Fill(cr, trim);
            }
            if (outfit == 1) {
                // A paw print on the hoodie's pocket.
                RoundRect(cr, -70, 410, 140, 70, 20);
                Fill(cr, Darker(L.outfit[1], 0.12));
                Ellipse(cr, 0, 452, 14, 11);
                Fill(cr, Hex(0x5A3A98));
                for (int i = 0; i < 4; ++i) {
                    cairo_arc(cr, -18 + i * 12, 432 - (i == 1 || i == 2 ? 5 : 0), 5, 0, 2 * M_PI);
                    Fill(cr, Hex(0x5A3A98));
                }
            }
            break;
        case 2:
            // Tailcoat lapels, shirt front, bow tie, card-red lining.
            cairo_move_to(cr, -30, 206);
            cairo_line_to(cr, 0, 470);
            cairo_line_to(cr, 30, 206);
            cairo_close_path(cr);
            Fill(cr, Hex(0xFAF6EE));
            for (double side : {-1.0, 1.0}) {
                cairo_move_to(cr, side * 30, 206);
                cairo_line_to(cr, side * 4, 470);
                cairo_line_to(cr, side * 70, 300);
                cairo_close_path(cr);
                Fill(cr, outfit == 1 ? Darker(L.outfit[1], 0.2) : pal::kRed, 0.9);
            }
            for (double side : {-1.0, 1.0}) {
                cairo_move_to(cr, 0, 222);
                cairo_line_to(cr, side * 22, 210);
                cairo_line_to(cr, side * 22, 236);
                cairo_close_path(cr);
                Fill(cr, outfit == 2 ? pal::kRed : Hex(0x1A1A24));
            }
            if (outfit == 2) {
                for (int i = 0; i < 10; ++i) {
                    Sparkle(cr, -110 + (i * 53) % 220, 300 + (i * 37) % 300, 7);
                    Fill(cr, Hex(0xFFF6D0), 0.9);
                }
            }
            break;
        case 3:
            // Neckline, lace and the heart lock pendant.
            cairo_move_to(cr, -60, 220);
            cairo_curve_to(cr, -30, 280, 30, 280, 60, 220);
            Stroke(cr, trim, 7);
            cairo_move_to(cr, -28, 212);
            cairo_curve_to(cr, -10, 250, 10, 250, 28, 212);
            Stroke(cr, pal::kGold, 2.5);
            HeartLock(cr, 0, 270, 40);
            if (outfit == 2) {
                for (int i = 0; i < 6; ++i) {
                    Heart(cr, -100 + i * 40, 620 - (i % 2) * 30, 20);
                    Fill(cr, Hex(0xFFB8D8), 0.8);
                }
            }
            break;
        default:
            // Epaulettes, gold buttons, sash, shield brooch.
            for (double side : {-1.0, 1.0}) {
                Ellipse(cr, side * 118, 250, 40, 18);
                Fill(cr, pal::kGold);
                for (int i = 0; i < 7; ++i) {
                    cairo_move_to(cr, side * (90 + i * 9), 262);
                    cairo_line_to(cr, side * (90 + i * 9), 286);
                }
                Stroke(cr, Hex(0xFFD870), 3);
            }
            cairo_move_to(cr, -26, 206);
            cairo_line_to(cr, 0, 300);
            cairo_line_to(cr, 26, 206);
            cairo_close_path(cr);
            Fill(cr, outfit == 1 ? Hex(0xE8E0D8) : Hex(0xF4EEE4));
            for (int i = 0; i < 4; ++i) {
                for (double side : {-1.0, 1.0}) {
                    cairo_arc(cr, side * 40, 320 + i * 50, 7, 0, 2 * M_PI);
                    Fill(cr, pal::kGold);
                }
            }
            if (outfit != 1) {
                cairo_move_to(cr, -110, 270);
                cairo_line_to(cr, 120, 500);
                Stroke(cr, outfit == 2 ? Hex(0xFFE08A) : Hex(0x1E2B55), 22);
            }
            Shield(cr, -64, 300, 36);
            break;
    }
}

}  // namespace

Rgb HostColor(int host) {
    static const Rgb kColors[5] = {Hex(0x8FD3FF), Hex(0xA070E0), Hex(0xE8B44C), Hex(0xFF7FB0), Hex(0xD04848)};
    return kColors[host < 0 || host > 4 ? 0 : host];
}

void DrawFigure(cairo_t* cr, int host, int outfit, int mood, double cx, double top, double scale) {
    if (host < 0 || host > 4) {
        return;
    }
    const Look& L = kLooks[host];
    Saved saved(cr);
    cairo_translate(cr, cx, top);
    cairo_scale(cr, scale, scale);
    const int pose = outfit;
    const Arms arms = PoseArms(pose);
    const double flare = (host == 0 || host == 3) && outfit != 1 ? 40 : 0;

    BackHair(cr, host, outfit, L);
    // Arms opened wide sit behind the body.
    const double sw = L.male ? 120 : 106;
    if (pose == 2) {
        Arm(cr, -sw, 260, arms.lx, arms.ly, L.outfit[outfit], L.outfitShade[outfit], L.skin, L.trim[outfit]);
        Arm(cr, sw, 260, arms.rx, arms.ry, L.outfit[outfit], L.outfitShade[outfit], L.skin, L.trim[outfit]);
    }
    Torso(cr, L.outfit[outfit], L.outfitShade[outfit], L.male, flare);
    // Neck and face.
    RoundRect(cr, -20, 150, 40, 70, 16);
    Fill(cr, Darker(L.skin, 0.08));
    FacePath(cr, L.male);
    cairo_pattern_t* p = cairo_pattern_create_radial(-10, 90, 10, 0, 110, 110);
    cairo_pattern_add_color_stop_rgb(p, 0, Lighter(L.skin, 0.3).r, Lighter(L.skin, 0.3).g, Lighter(L.skin, 0.3).b);
    cairo_pattern_add_color_stop_rgb(p, 1, L.skin.r, L.skin.g, L.skin.b);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Ears for short hair.
    if (host == 2 || host == 4) {
        for (double side : {-1.0, 1.0}) {
            Ellipse(cr, side * 64, 110, 10, 16);
            Fill(cr, Darker(L.skin, 0.05));
        }
    }
    OutfitDetails(cr, host, outfit, L);
    Eyes(cr, L, mood, host);
    Mouth(cr, mood, L.male);
    Blush(cr, mood);
    if (host == 4) {
        // Sideburns give the owner a more mature face.
        for (double side : {-1.0, 1.0}) {
            cairo_move_to(cr, side * 64, 80);
            cairo_line_to(cr, side * 64, 124);
            Stroke(cr, L.hair, 7);
        }
    }
    if (host == 2 && outfit != 1) {
        // Monocle on the right eye.
        cairo_new_path(cr);
        cairo_arc(cr, 28, 112, 24, 0, 2 * M_PI);
        Stroke(cr, pal::kGold, 3.5);
        cairo_move_to(cr, 50, 122);
        cairo_curve_to(cr, 70, 170, 60, 210, 80, 250);
        Stroke(cr, pal::kGold, 2);
    }
    FrontHair(cr, host, outfit, L);
    HairShine(cr, host, outfit);
    if (pose != 2) {
        Arm(cr, -sw, 260, arms.lx, arms.ly, L.outfit[outfit], L.outfitShade[outfit], L.skin, L.trim[outfit]);
        Arm(cr, sw, 260, arms.rx, arms.ry, L.outfit[outfit], L.outfitShade[outfit], L.skin, L.trim[outfit]);
    }
    if (pose == 1) {
        Prop(cr, host, outfit, arms.rx, arms.ry);
    } else if (pose == 2) {
        Prop(cr, host, outfit, arms.rx, arms.ry - 10);
    } else if (host == 1 || host == 4) {
        // The scythe and the key ring also go with the formal pose.
        Prop(cr, host, outfit, host == 1 ? 150 : 120, host == 1 ? 480 : 560);
    }
}

void DrawStand(Canvas& c, int host, int outfit) {
    cairo_t* cr = c.cr();
    // A soft glow in the host's colour behind the figure (the stand is drawn over the table).
    Glow(cr, 320, 330, 300, HostColor(host), 0.22);
    DrawFigure(cr, host, outfit, outfit, 320, 52, 1.12);
}

namespace {

void FeltTable(cairo_t* cr, double y, double w, double h, int lighting) {
    cairo_rectangle(cr, 0, y, w, h - y);
    FillVertical(cr, y, h, lighting == 1 ? Hex(0x2E7A52) : Hex(0x236646), Hex(0x0E3020));
    cairo_rectangle(cr, 0, y - 12, w, 16);
    FillVertical(cr, y - 12, y + 4, Hex(0x8A5A2A), Hex(0x4A2A10));
    cairo_move_to(cr, 0, y - 10);
    cairo_line_to(cr, w, y - 10);
    Stroke(cr, pal::kGold, 2);
}

void Moon(cairo_t* cr, double x, double y, double r, double glow) {
    Glow(cr, x, y, r * 3.2, Hex(0xFFF4D0), glow);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    FillVertical(cr, y - r, y + r, Hex(0xFFFBEA), Hex(0xF0E2B8));
}

void Stars(cairo_t* cr, double w, double h, uint32_t seed, double alpha) {
    Lcg rng(seed);
    for (int i = 0; i < 120; ++i) {
        const double x = rng.Range(0, w), y = rng.Range(0, h), r = rng.Range(0.6, 2.2);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        Fill(cr, Hex(0xFFF8E0), alpha * rng.Range(0.4, 1.0));
    }
}

void Snowfall(cairo_t* cr, double w, double h, uint32_t seed) {
    Lcg rng(seed);
    for (int i = 0; i < 90; ++i) {
        const double x = rng.Range(0, w), y = rng.Range(0, h), r = rng.Range(1.5, 4.5);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        Fill(cr, Rgb{1, 1, 1}, 0.75);
    }
}

// The host's own outdoor place for the second illustration.
void OutdoorScene(cairo_t* cr, int host) {
    switch (host) {
        case 0:
            DrawHarbourNight(cr, 1280, 720, 0);
            Snowfall(cr, 1280, 720, 21);
            break;
        case 1: {
            // The clock tower's roof at night, with purple candle lanterns.
            cairo_rectangle(cr, 0, 0, 1280, 720);
            FillVertical(cr, 0, 720, Hex(0x1A1240), Hex(0x3A2A6A));
            Stars(cr, 1280, 420, 31, 0.9);
            Moon(cr, 1050, 140, 70, 0.35);
            cairo_move_to(cr, 0, 560);
            cairo_line_to(cr, 640, 470);
            cairo_line_to(cr, 1280, 560);
            cairo_line_to(cr, 1280, 720);
            cairo_line_to(cr, 0, 720);
            cairo_close_path(cr);
            FillVertical(cr, 470, 720, Hex(0x4A3050), Hex(0x1A1020));
            // The clock face.
            cairo_arc(cr, 250, 300, 110, 0, 2 * M_PI);
            Fill(cr, Hex(0xF4EED8));
            cairo_arc(cr, 250, 300, 110, 0, 2 * M_PI);
            Stroke(cr, pal::kGold, 10);
            for (int i = 0; i < 12; ++i) {
                const double a = i * M_PI / 6;
                cairo_move_to(cr, 250 + 90 * std::cos(a), 300 + 90 * std::sin(a));
                cairo_line_to(cr, 250 + 100 * std::cos(a), 300 + 100 * std::sin(a));
            }
            Stroke(cr, pal::kInk, 4);
            cairo_move_to(cr, 250, 300);
            cairo_line_to(cr, 250, 220);
            cairo_move_to(cr, 250, 300);
            cairo_line_to(cr, 310, 300);
            Stroke(cr, pal::kInk, 6);
            for (int i = 0; i < 5; ++i) {
                Glow(cr, 120 + i * 260, 440 + (i % 2) * 40, 40, Hex(0xB080FF), 0.7);
                cairo_arc(cr, 120 + i * 260, 440 + (i % 2) * 40, 8, 0, 2 * M_PI);
                Fill(cr, Hex(0xF0E0FF));
            }
            break;
        }
        case 2:
            // The pier with a lantern-lit little stage.
            DrawHarbourNight(cr, 1280, 720, 0.1);
            for (int i = 0; i < 7; ++i) {
                Glow(cr, 80 + i * 190, 90, 50, pal::kGold, 0.6);
                cairo_arc(cr, 80 + i * 190, 90, 10, 0, 2 * M_PI);
                Fill(cr, Hex(0xFFF0B0));
            }
            cairo_move_to(cr, 0, 70);
            for (int i = 0; i < 7; ++i) {
                cairo_curve_to(cr, 30 + i * 190, 110, 140 + i * 190, 110, 170 + i * 190, 80);
            }
            Stroke(cr, Hex(0x2A2A30), 2);
            break;
        case 3: {
            // A rose garden with a fountain under the moon.
            cairo_rectangle(cr, 0, 0, 1280, 720);
            FillVertical(cr, 0, 720, Hex(0x221A48), Hex(0x4A2A5A));
            Stars(cr, 1280, 400, 41, 0.8);
            Moon(cr, 220, 130, 60, 0.35);
            cairo_rectangle(cr, 0, 520, 1280, 200);
            FillVertical(cr, 520, 720, Hex(0x1E4A34), Hex(0x0E2418));
            Lcg rng(43);
            for (int i = 0; i < 70; ++i) {
                const double x = rng.Range(0, 1280), y = rng.Range(470, 700), r = rng.Range(8, 16);
                cairo_arc(cr, x, y, r * 1.6, 0, 2 * M_PI);
                Fill(cr, Hex(0x1A3A26));
                cairo_arc(cr, x, y, r, 0, 2 * M_PI);
                Fill(cr, rng.Unit() < 0.5 ? Hex(0xFF7FB0) : Hex(0xE04870));
            }
            Ellipse(cr, 1020, 560, 160, 34);
            Fill(cr, Hex(0xC8C0D8));
            Ellipse(cr, 1020, 552, 140, 24);
            Fill(cr, Hex(0x6A9AD8));
            RoundRect(cr, 1006, 400, 28, 150, 10);
            Fill(cr, Hex(0xD8D0E8));
            Glow(cr, 1020, 400, 60, Hex(0xB8E0FF), 0.5);
            break;
        }
        default: {
            // Before the salon's door at the foot of the clock tower.
            cairo_rectangle(cr, 0, 0, 1280, 720);
            FillVertical(cr, 0, 720, Hex(0x101A3A), Hex(0x2A1E3A));
            Stars(cr, 1280, 300, 51, 0.9);
            cairo_rectangle(cr, 820, 0, 400, 720);
            FillVertical(cr, 0, 720, Hex(0x4A3A3A), Hex(0x2A1E20));
            for (int r = 0; r < 18; ++r) {
                for (int k = 0; k < 5; ++k) {
                    cairo_rectangle(cr, 820 + k * 80 + (r % 2) * 40, r * 40, 78, 38);
                    Stroke(cr, Hex(0x1A1012), 2, 0.5);
                }
            }
            RoundRect(cr, 900, 260, 240, 460, 110);
            Fill(cr, Hex(0x5A1A20));
            RoundRect(cr, 900, 260, 240, 460, 110);
            Stroke(cr, pal::kGold, 6);
            Glow(cr, 860, 300, 70, pal::kGold, 0.7);
            cairo_arc(cr, 860, 300, 14, 0, 2 * M_PI);
            Fill(cr, Hex(0xFFF0B0));
            cairo_rectangle(cr, 0, 620, 1280, 100);
            FillVertical(cr, 620, 720, Hex(0x3A3440), Hex(0x1A1620));
            break;
        }
    }
}

// Floating motifs of a host around a scene: snowflakes, candle flames, cards, hearts, keys.
void Motifs(cairo_t* cr, int host, uint32_t seed, int count) {
    Lcg rng(seed);
    for (int i = 0; i < count; ++i) {
        const double x = rng.Range(40, 1240), y = rng.Range(30, 520), sz = rng.Range(14, 30);
        const double a = rng.Range(0.45, 0.9);
        switch (host) {
            case 0:
                SetColor(cr, Rgb{1, 1, 1}, a);
                Snowflake(cr, x, y, sz * 0.6, 2);
                cairo_stroke(cr);
                break;
            case 1:
                Glow(cr, x, y, sz * 1.4, HostColor(1), a * 0.6);
                Ellipse(cr, x, y, sz * 0.22, sz * 0.4);
                Fill(cr, Hex(0xF0E0FF), a);
                break;
            case 2: {
                Saved sv(cr);
                cairo_translate(cr, x, y);
                cairo_rotate(cr, rng.Range(-0.6, 0.6));
                RoundRect(cr, -sz * 0.5, -sz * 0.75, sz, sz * 1.5, sz * 0.12);
                Fill(cr, pal::kCream, a);
                Suit(cr, i % 4, 0, 0, sz * 0.6);
                Fill(cr, SuitColor(i % 4), a);
                break;
            }
            case 3:
                Heart(cr, x, y, sz);
                Fill(cr, Hex(0xFF9AC4), a);
                break;
            default:
                Sparkle(cr, x, y, sz * 0.4);
                Fill(cr, pal::kGold, a);
                break;
        }
    }
}

void Balcony(cairo_t* cr, double dawn) {
    const Rgb top = Mix(Hex(0x0E1730), Hex(0x6A8AC8), dawn);
    const Rgb mid = Mix(Hex(0x1E2B55), Hex(0xF0B890), dawn);
    const Rgb low = Mix(Hex(0x2A3A6A), Hex(0xFFE0A8), dawn);
    cairo_rectangle(cr, 0, 0, 1280, 720);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 520);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 0.6, mid.r, mid.g, mid.b);
    cairo_pattern_add_color_stop_rgb(p, 1, low.r, low.g, low.b);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    if (dawn < 0.5) {
        Stars(cr, 1280, 420, 61, 1.0);
        Moon(cr, 980, 150, 64, 0.4);
    } else {
        Glow(cr, 640, 520, 420, Hex(0xFFD890), 0.7);
        cairo_arc(cr, 640, 520, 70, M_PI, 2 * M_PI);
        Fill(cr, Hex(0xFFF0C0));
    }
    // The sea and the town's roofs.
    cairo_rectangle(cr, 0, 470, 1280, 250);
    FillVertical(cr, 470, 720, Mix(Hex(0x1A2A5A), Hex(0x8AA0C8), dawn), Mix(Hex(0x0A1024), Hex(0x4A5A80), dawn));
    Lcg rng(63);
    for (int i = 0; i < 40; ++i) {
        const double x = rng.Range(0, 1280), y = rng.Range(480, 560);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + rng.Range(20, 60), y);
        Stroke(cr, Mix(Hex(0xFFF0C0), Hex(0xFFFFFF), dawn), 2, 0.4);
    }
    // Balustrade.
    cairo_rectangle(cr, 0, 560, 1280, 160);
    FillVertical(cr, 560, 720, Mix(Hex(0x3A2A3A), Hex(0xC8A890), dawn), Mix(Hex(0x1A1420), Hex(0x6A5048), dawn));
    cairo_rectangle(cr, 0, 548, 1280, 22);
    Fill(cr, Mix(Hex(0x5A4A5A), Hex(0xE8D0B8), dawn));
    for (int i = 0; i < 17; ++i) {
        RoundRect(cr, 20 + i * 78, 578, 30, 142, 12);
        Fill(cr, Mix(Hex(0x4A3A4A), Hex(0xD8C0A8), dawn), 0.9);
    }
}

}  // namespace

void DrawIllustration(cairo_t* cr, int host, int ill, int variant) {
    Saved saved(cr);
    cairo_rectangle(cr, 0, 0, 1280, 720);
    cairo_clip(cr);
    const bool right = (host % 2) == 0;
    const double fx = right ? 820 : 460;
    if (ill == 0) {
        // At the table of the salon.
        DrawSalonBackdrop(cr, 1280, 720, variant);
        Glow(cr, fx, 330, 380, HostColor(host), 0.25);
        DrawFigure(cr, host, 0, variant == 1 ? 1 : 0, fx, 70, 0.95);
        Motifs(cr, host, 300 + host, 7);
        FeltTable(cr, 560, 1280, 720, variant);
        const char* labels[5] = {"A", "K", "Q", "J", "10"};
        for (int i = 0; i < 5; ++i) {
            Saved s(cr);
            const double x = (right ? 220 : 760) + i * 70, y = 640;
            cairo_translate(cr, x, y);
            cairo_rotate(cr, (i - 2) * 0.12);
            cairo_scale(cr, 1.2, 0.8);
            RoundRect(cr, -40, -60, 80, 120, 8);
            Fill(cr, i < 3 ? pal::kCream : pal::kNight2);
            RoundRect(cr, -40, -60, 80, 120, 8);
            Stroke(cr, pal::kGold, 2);
            if (i < 3) {
                Text(cr, labels[i], 0, 0, 42, i == 1 ? pal::kRed : pal::kInk, Align::Center);
            }
        }
        for (int i = 0; i < 6; ++i) {
            Ellipse(cr, (right ? 1100 : 120) + (i % 3) * 22, 600 - i * 9, 30, 10);
            FillVertical(cr, 590 - i * 9, 610 - i * 9, Hex(0xFFE9A8), Hex(0xC08020));
        }
    } else if (ill == 1) {
        OutdoorScene(cr, host);
        DrawFigure(cr, host, 1, 1, right ? 380 : 900, 90, 0.9);
    } else {
        Balcony(cr, variant == 1 ? 1.0 : 0.0);
        Glow(cr, 640, 360, 360, HostColor(host), variant == 1 ? 0.15 : 0.3);
        Motifs(cr, host, 400 + host, 16);
        DrawFigure(cr, host, 2, variant == 1 ? 1 : 2, 640, 60, 1.0);
        if (variant == 1) {
            Lcg rng(host + 70);
            for (int i = 0; i < 16; ++i) {
                Sparkle(cr, rng.Range(60, 1220), rng.Range(40, 420), rng.Range(5, 12));
                Fill(cr, Hex(0xFFFFFF), 0.85);
            }
        }
    }
    // A soft vignette ties the scene together.
    cairo_pattern_t* v = cairo_pattern_create_radial(640, 360, 300, 640, 360, 820);
    cairo_pattern_add_color_stop_rgba(v, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(v, 1, 0, 0, 0.05, 0.45);
    cairo_set_source(cr, v);
    cairo_paint(cr);
    cairo_pattern_destroy(v);
}

}  // namespace forge

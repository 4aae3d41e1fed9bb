// "sozai2.png" / "sozai3.png" (ability pictures, windows, the opponents' icons and panel),
// "sozai4.png" (hand-name plates and multiplier marks) and "sozai9.png" (double-up panel and
// the other match extras). The match reads the positions from scenes/match/sheet_layout.h.
#include <cmath>
#include <string>

#include "forge.h"
#include "scenes/match/sheet_layout.h"

namespace forge {

namespace lay = match::sheet;

namespace {

void Tile(cairo_t* cr, double x, double y, double s, Rgb tint) {
    RoundRect(cr, x + 3, y + 3, s - 6, s - 6, s * 0.14);
    cairo_pattern_t* p = cairo_pattern_create_radial(x + s * 0.5, y + s * 0.4, s * 0.05, x + s * 0.5, y + s * 0.5, s * 0.7);
    const Rgb a = Mix(pal::kNight2, tint, 0.45), b = pal::kNight;
    cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
    cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColor(cr, pal::kGold);
    cairo_set_line_width(cr, std::max(1.5, s * 0.022));
    cairo_stroke(cr);
    RoundRect(cr, x + 7, y + 7, s - 14, s - 14, s * 0.1);
    SetColor(cr, tint, 0.45);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// A small card outline used in the pictures (w x 1.5w), optionally showing a big letter.
void MiniCard(cairo_t* cr, double cx, double cy, double w, double angle, Rgb face, const char* label, Rgb ink) {
    Saved s(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle * M_PI / 180);
    const double h = w * 1.5;
    RoundRect(cr, -w / 2, -h / 2, w, h, w * 0.12);
    SetColor(cr, face);
    cairo_fill_preserve(cr);
    SetColor(cr, pal::kGoldDark);
    cairo_set_line_width(cr, std::max(1.0, w * 0.05));
    cairo_stroke(cr);
    if (label && *label) {
        Text(cr, label, 0, 0, w * 0.62, ink, Align::Center);
    }
}

void Arrow(cairo_t* cr, double cx, double cy, double s, bool up, Rgb c) {
    const double d = up ? -1 : 1;
    cairo_move_to(cr, cx, cy + d * s * 0.5);
    cairo_line_to(cr, cx + s * 0.45, cy);
    cairo_line_to(cr, cx + s * 0.18, cy);
    cairo_line_to(cr, cx + s * 0.18, cy - d * s * 0.5);
    cairo_line_to(cr, cx - s * 0.18, cy - d * s * 0.5);
    cairo_line_to(cr, cx - s * 0.18, cy);
    cairo_line_to(cr, cx - s * 0.45, cy);
    cairo_close_path(cr);
    SetColor(cr, c);
    cairo_fill_preserve(cr);
    SetColor(cr, Darker(c, 0.6));
    cairo_set_line_width(cr, std::max(1.0, s * 0.04));
    cairo_stroke(cr);
}

void Medal(cairo_t* cr, double cx, double cy, double r) {
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    FillVertical(cr, cy - r, cy + r, Hex(0xFFEBA8), Hex(0xC0801E));
    cairo_arc(cr, cx, cy, r * 0.72, 0, 2 * M_PI);
    SetColor(cr, Hex(0x8A5A14));
    cairo_set_line_width(cr, std::max(1.0, r * 0.08));
    cairo_stroke(cr);
    Star(cr, cx, cy, r * 0.42, r * 0.18, 5);
    cairo_fill(cr);
}

void Padlock(cairo_t* cr, double cx, double cy, double s, Rgb body, bool heart) {
    cairo_arc(cr, cx, cy - s * 0.12, s * 0.24, M_PI, 2 * M_PI);
    SetColor(cr, Hex(0xD8D8E0));
    cairo_set_line_width(cr, s * 0.09);
    cairo_stroke(cr);
    if (heart) {
        Heart(cr, cx, cy + s * 0.18, s * 0.62);
    } else {
        RoundRect(cr, cx - s * 0.32, cy - s * 0.12, s * 0.64, s * 0.5, s * 0.08);
    }
    SetColor(cr, body);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy + s * 0.1, s * 0.06, 0, 2 * M_PI);
    SetColor(cr, pal::kInk);
    cairo_fill(cr);
}

void Hourglass(cairo_t* cr, double cx, double cy, double s) {
    cairo_move_to(cr, cx - s * 0.3, cy - s * 0.45);
    cairo_line_to(cr, cx + s * 0.3, cy - s * 0.45);
    cairo_line_to(cr, cx + s * 0.04, cy);
    cairo_line_to(cr, cx + s * 0.3, cy + s * 0.45);
    cairo_line_to(cr, cx - s * 0.3, cy + s * 0.45);
    cairo_line_to(cr, cx - s * 0.04, cy);
    cairo_close_path(cr);
    SetColor(cr, Hex(0xDFF1FF), 0.85);
    cairo_fill_preserve(cr);
    SetColor(cr, pal::kGold);
    cairo_set_line_width(cr, s * 0.05);
    cairo_stroke(cr);
    cairo_move_to(cr, cx - s * 0.16, cy + s * 0.45);
    cairo_line_to(cr, cx, cy + s * 0.25);
    cairo_line_to(cr, cx + s * 0.16, cy + s * 0.45);
    cairo_close_path(cr);
    SetColor(cr, Hex(0xE8B44C));
    cairo_fill(cr);
}

void Scales(cairo_t* cr, double cx, double cy, double s, Rgb c) {
    cairo_set_line_width(cr, s * 0.05);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColor(cr, c);
    cairo_move_to(cr, cx, cy - s * 0.42);
    cairo_line_to(cr, cx, cy + s * 0.38);
    cairo_move_to(cr, cx - s * 0.25, cy + s * 0.4);
    cairo_line_to(cr, cx + s * 0.25, cy + s * 0.4);
    cairo_move_to(cr, cx - s * 0.42, cy - s * 0.28);
    cairo_line_to(cr, cx + s * 0.42, cy - s * 0.28);
    cairo_stroke(cr);
    for (double sx : {-0.42, 0.42}) {
        cairo_move_to(cr, cx + sx * s, cy - s * 0.28);
        cairo_line_to(cr, cx + sx * s - s * 0.16, cy + s * 0.06);
        cairo_move_to(cr, cx + sx * s, cy - s * 0.28);
        cairo_line_to(cr, cx + sx * s + s * 0.16, cy + s * 0.06);
        cairo_stroke(cr);
        cairo_arc(cr, cx + sx * s, cy + s * 0.06, s * 0.17, 0, M_PI);
        cairo_fill(cr);
    }
    cairo_arc(cr, cx, cy - s * 0.42, s * 0.06, 0, 2 * M_PI);
    cairo_fill(cr);
}

void Scythe(cairo_t* cr, double cx, double cy, double s) {
    cairo_move_to(cr, cx + s * 0.28, cy - s * 0.45);
    cairo_line_to(cr, cx - s * 0.26, cy + s * 0.46);
    SetColor(cr, Hex(0x8A5A2A));
    cairo_set_line_width(cr, s * 0.07);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    cairo_move_to(cr, cx + s * 0.26, cy - s * 0.42);
    cairo_curve_to(cr, cx + s * 0.05, cy - s * 0.56, cx - s * 0.32, cy - s * 0.48, cx - s * 0.44, cy - s * 0.2);
    cairo_curve_to(cr, cx - s * 0.26, cy - s * 0.34, cx - s * 0.02, cy - s * 0.36, cx + s * 0.2, cy - s * 0.3);
    cairo_close_path(cr);
    FillVertical(cr, cy - s * 0.56, cy - s * 0.2, Hex(0xF0EAFF), Hex(0x9A86C8));
    // A tiny star charm: the scythe is a toy.
    Star(cr, cx - s * 0.26, cy + s * 0.46, s * 0.1, s * 0.045, 5);
    SetColor(cr, pal::kGold);
    cairo_fill(cr);
}

void Flame(cairo_t* cr, double cx, double cy, double s, Rgb c) {
    cairo_move_to(cr, cx, cy - s * 0.5);
    cairo_curve_to(cr, cx + s * 0.1, cy - s * 0.25, cx + s * 0.36, cy - s * 0.1, cx + s * 0.3, cy + s * 0.18);
    cairo_curve_to(cr, cx + s * 0.26, cy + s * 0.42, cx - s * 0.26, cy + s * 0.42, cx - s * 0.3, cy + s * 0.18);
    cairo_curve_to(cr, cx - s * 0.34, cy - s * 0.04, cx - s * 0.12, cy - s * 0.12, cx, cy - s * 0.5);
    cairo_close_path(cr);
    FillVertical(cr, cy - s * 0.5, cy + s * 0.4, Lighter(c, 0.5), c);
    cairo_move_to(cr, cx, cy - s * 0.1);
    cairo_curve_to(cr, cx + s * 0.12, cy + s * 0.05, cx + s * 0.14, cy + s * 0.3, cx, cy + s * 0.3);
    cairo_curve_to(cr, cx - s * 0.14, cy + s * 0.3, cx - s * 0.12, cy + s * 0.05, cx, cy - s * 0.1);
    SetColor(cr, Hex(0xFFF4FF), 0.9);
    cairo_fill(cr);
}

void HandMirror(cairo_t* cr, double cx, double cy, double s) {
    cairo_move_to(cr, cx + s * 0.05, cy + s * 0.1);
    cairo_line_to(cr, cx + s * 0.3, cy + s * 0.48);
    SetColor(cr, pal::kGold);
    cairo_set_line_width(cr, s * 0.1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, cx - s * 0.06, cy - s * 0.12);
    cairo_scale(cr, 1, 1.15);
    cairo_arc(cr, 0, 0, s * 0.3, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColor(cr, pal::kGold);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, cx - s * 0.06, cy - s * 0.12);
    cairo_scale(cr, 1, 1.15);
    cairo_arc(cr, 0, 0, s * 0.24, 0, 2 * M_PI);
    cairo_restore(cr);
    FillVertical(cr, cy - s * 0.42, cy + s * 0.15, Hex(0xF6FBFF), Hex(0xA8C8F0));
    cairo_move_to(cr, cx - s * 0.2, cy - s * 0.2);
    cairo_line_to(cr, cx - s * 0.08, cy - s * 0.32);
    SetColor(cr, Rgb{1, 1, 1});
    cairo_set_line_width(cr, s * 0.04);
    cairo_stroke(cr);
}

void CircleArrows(cairo_t* cr, double cx, double cy, double r, Rgb c) {
    cairo_set_line_width(cr, r * 0.16);
    SetColor(cr, c);
    for (int i = 0; i < 2; ++i) {
        const double a0 = i * M_PI + 0.3, a1 = a0 + M_PI - 0.7;
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, r, a0, a1);
        cairo_stroke(cr);
        const double ex = cx + r * std::cos(a1), ey = cy + r * std::sin(a1);
        const double tx = -std::sin(a1), ty = std::cos(a1);
        const double nx = std::cos(a1), ny = std::sin(a1);
        cairo_move_to(cr, ex + tx * r * 0.3, ey + ty * r * 0.3);
        cairo_line_to(cr, ex + nx * r * 0.22, ey + ny * r * 0.22);
        cairo_line_to(cr, ex - nx * r * 0.22, ey - ny * r * 0.22);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
}

}  // namespace

void DrawHostAbilitySymbol(cairo_t* cr, int host, int ability, double cx, double cy, double s) {
    Saved saved(cr);
    const Rgb col = HostColor(host);
    Glow(cr, cx, cy, s * 0.55, col, 0.45);
    switch (host * 4 + ability) {
        case 0:  // DeepFreeze
            SetColor(cr, Hex(0xF2FBFF));
            Snowflake(cr, cx, cy, s * 0.42, s * 0.07);
            cairo_stroke(cr);
            break;
        case 1:  // SealWard: a sealed sigil
            cairo_arc(cr, cx, cy, s * 0.36, 0, 2 * M_PI);
            SetColor(cr, Hex(0xDFF4FF));
            cairo_set_line_width(cr, s * 0.05);
            cairo_stroke(cr);
            Star(cr, cx, cy, s * 0.34, s * 0.14, 6, -90);
            SetColor(cr, Hex(0x8FD3FF), 0.8);
            cairo_fill(cr);
            Padlock(cr, cx, cy + s * 0.02, s * 0.4, Hex(0x3A7ABF), false);
            break;
        case 2:  // FreezeGust
            SetColor(cr, Hex(0xE6F7FF));
            cairo_set_line_width(cr, s * 0.06);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            for (int i = 0; i < 3; ++i) {
                const double y = cy - s * 0.2 + i * s * 0.2;
                cairo_move_to(cr, cx - s * 0.42, y);
                cairo_curve_to(cr, cx - s * 0.1, y - s * 0.12, cx + s * 0.1, y + s * 0.1, cx + s * 0.3 - i * s * 0.08, y);
                cairo_stroke(cr);
            }
            Snowflake(cr, cx + s * 0.3, cy - s * 0.28, s * 0.14, s * 0.035);
            cairo_stroke(cr);
            break;
        case 3:  // LossDoubler
            Medal(cr, cx - s * 0.08, cy + s * 0.05, s * 0.28);
            Text(cr, "×2", cx + s * 0.2, cy - s * 0.22, s * 0.3, Hex(0xDFF4FF), Align::Center, s * 0.03, pal::kNight);
            SetColor(cr, Hex(0xE6F7FF), 0.9);
            cairo_set_line_width(cr, s * 0.025);
            cairo_move_to(cr, cx - s * 0.2, cy - s * 0.1);
            cairo_line_to(cr, cx - s * 0.08, cy + s * 0.02);
            cairo_line_to(cr, cx - s * 0.14, cy + s * 0.12);
            cairo_stroke(cr);
            break;
        case 4:  // HandReset
            CircleArrows(cr, cx, cy, s * 0.34, Hex(0xE6D6FF));
            MiniCard(cr, cx, cy, s * 0.26, 0, pal::kCream, "", pal::kInk);
            break;
        case 5:  // DummyCurse
            MiniCard(cr, cx - s * 0.06, cy + s * 0.06, s * 0.4, -8, Hex(0xA8AAB2), "?", Hex(0x5A5C66));
            Flame(cr, cx + s * 0.22, cy - s * 0.2, s * 0.36, Hex(0xA070E0));
            break;
        case 6:  // CardReaper
            Scythe(cr, cx, cy, s * 0.95);
            break;
        case 7:  // JokerCall
            MiniCard(cr, cx, cy + s * 0.04, s * 0.44, 6, Hex(0xF6EEFF), "★", Hex(0x7B3FC4));
            Flame(cr, cx - s * 0.28, cy - s * 0.26, s * 0.26, Hex(0xA070E0));
            break;
        case 8:  // FiveAces
            for (int i = 0; i < 5; ++i) {
                MiniCard(cr, cx + (i - 2) * s * 0.1, cy + s * 0.06 + std::abs(i - 2) * s * 0.03, s * 0.3,
                         (i - 2) * 14.0, pal::kCream, "A", i % 2 ? pal::kRed : pal::kInk);
            }
            break;
        case 9:  // SuitCopy
            Heart(cr, cx - s * 0.15, cy, s * 0.38);
            SetColor(cr, pal::kRed);
            cairo_fill(cr);
            Heart(cr, cx + s * 0.17, cy, s * 0.38);
            SetColor(cr, pal::kRed, 0.45);
            cairo_fill(cr);
            Sparkle(cr, cx + s * 0.02, cy - s * 0.3, s * 0.1);
            SetColor(cr, Rgb{1, 1, 1});
            cairo_fill(cr);
            break;
        case 10:  // RankCopy
            Text(cr, "7", cx - s * 0.15, cy, s * 0.56, pal::kMoon, Align::Center, s * 0.03, pal::kInk);
            Text(cr, "7", cx + s * 0.18, cy, s * 0.56, Hex(0xF4E0A8), Align::Center, s * 0.03, pal::kInk);
            break;
        case 11:  // CardCopy
            MiniCard(cr, cx - s * 0.13, cy, s * 0.36, -8, pal::kCream, "Q", pal::kRed);
            MiniCard(cr, cx + s * 0.14, cy, s * 0.36, 8, Hex(0xFFF6DA), "Q", pal::kRed);
            Sparkle(cr, cx, cy - s * 0.36, s * 0.09);
            SetColor(cr, Rgb{1, 1, 1});
            cairo_fill(cr);
            break;
        case 12:  // HoldFlip
            CircleArrows(cr, cx, cy, s * 0.36, Hex(0xFFD0E4));
            Text(cr, "HOLD", cx, cy, s * 0.2, Hex(0xFFF0F6), Align::Center, s * 0.02, Hex(0x6A1E4A));
            break;
        case 13:  // AbilityLock
            Padlock(cr, cx, cy, s * 0.7, Hex(0xFF7FB0), true);
            break;
        case 14:  // ReflectCurse
            HandMirror(cr, cx, cy, s * 0.95);
            break;
        case 15:  // CharmForce
            Heart(cr, cx, cy, s * 0.56);
            FillVertical(cr, cy - s * 0.28, cy + s * 0.28, Hex(0xFFB6D2), Hex(0xE0407A));
            for (int i = 0; i < 3; ++i) {
                Sparkle(cr, cx + (i - 1) * s * 0.32, cy - s * 0.32 + (i % 2) * s * 0.1, s * 0.07);
                SetColor(cr, Rgb{1, 1, 1});
                cairo_fill(cr);
            }
            break;
        case 16:  // TieBreak
            Scales(cr, cx, cy, s * 0.85, pal::kGold);
            break;
        case 17:  // CostDrain
            Medal(cr, cx, cy - s * 0.08, s * 0.26);
            Arrow(cr, cx, cy + s * 0.28, s * 0.3, false, Hex(0xFF8A8A));
            break;
        case 18:  // CooldownLock
            Hourglass(cr, cx - s * 0.08, cy, s * 0.7);
            Padlock(cr, cx + s * 0.22, cy + s * 0.18, s * 0.34, Hex(0xD04848), false);
            break;
        default:  // GuardMark
            ShieldPath(cr, cx, cy, s * 0.72);
            FillVertical(cr, cy - s * 0.36, cy + s * 0.36, Hex(0xFF8A7A), Hex(0xA02030));
            ShieldPath(cr, cx, cy, s * 0.72);
            SetColor(cr, pal::kGold);
            cairo_set_line_width(cr, s * 0.04);
            cairo_stroke(cr);
            Star(cr, cx, cy - s * 0.03, s * 0.16, s * 0.07, 5);
            SetColor(cr, Hex(0xFFF0C0));
            cairo_fill(cr);
            break;
    }
}

namespace {

void PlayerAbility(cairo_t* cr, int k, double x, double y) {
    const double s = 128, cx = x + 64, cy = y + 60;
    const Rgb tints[8] = {Hex(0x6FD08F), Hex(0x6FA8E0), Hex(0xB58CFF), Hex(0x8FE0FF),
                          Hex(0xA0A4B0), Hex(0xFF8A5A), Hex(0xE8B44C), Hex(0x7FE0C0)};
    Tile(cr, x, y, s, tints[k]);
    Saved saved(cr);
    switch (k) {
        case 0:  // RankUp
            MiniCard(cr, cx - 14, cy + 4, 44, -6, pal::kCream, "7", pal::kInk);
            Arrow(cr, cx + 26, cy - 8, 40, true, Hex(0x7FE09A));
            Text(cr, "+1", cx + 28, cy + 30, 22, Hex(0xE6FFE8), Align::Center, 2, pal::kNight);
            break;
        case 1:  // RankDown
            MiniCard(cr, cx - 14, cy + 4, 44, -6, pal::kCream, "7", pal::kInk);
            Arrow(cr, cx + 26, cy - 4, 40, false, Hex(0x7FB8FF));
            Text(cr, "-1", cx + 28, cy + 32, 22, Hex(0xE6F0FF), Align::Center, 2, pal::kNight);
            break;
        case 2:  // JokerSwap
            MiniCard(cr, cx - 16, cy + 6, 40, -10, pal::kCream, "5", pal::kRed);
            MiniCard(cr, cx + 16, cy - 2, 40, 10, Hex(0xF6EEFF), "★", Hex(0x7B3FC4));
            CircleArrows(cr, cx, cy + 2, 44, Hex(0xE8D8FF));
            break;
        case 3:  // SeeThrough
            MiniCard(cr, cx, cy + 8, 50, 0, Hex(0xCFE8FF), "", pal::kInk);
            cairo_move_to(cr, cx - 36, cy);
            cairo_curve_to(cr, cx - 16, cy - 24, cx + 16, cy - 24, cx + 36, cy);
            cairo_curve_to(cr, cx + 16, cy + 24, cx - 16, cy + 24, cx - 36, cy);
            SetColor(cr, Rgb{1, 1, 1}, 0.92);
            cairo_fill(cr);
            cairo_arc(cr, cx, cy, 11, 0, 2 * M_PI);
            SetColor(cr, Hex(0x2E7FC0));
            cairo_fill(cr);
            cairo_arc(cr, cx, cy, 5, 0, 2 * M_PI);
            SetColor(cr, pal::kInk);
            cairo_fill(cr);
            break;
        case 4:  // DummyCard
            MiniCard(cr, cx, cy + 2, 54, 6, Hex(0xB4B6BE), "?", Hex(0x5A5C66));
            Glow(cr, cx + 28, cy - 30, 20, Hex(0xFFFFFF), 0.5);
            break;
        case 5: {  // TableBomb
            cairo_arc(cr, cx - 4, cy + 8, 30, 0, 2 * M_PI);
            FillVertical(cr, cy - 22, cy + 38, Hex(0x4A4E66), Hex(0x151827));
            cairo_arc(cr, cx - 14, cy - 2, 8, 0, 2 * M_PI);
            SetColor(cr, Rgb{1, 1, 1}, 0.3);
            cairo_fill(cr);
            RoundRect(cr, cx + 6, cy - 28, 16, 12, 3);
            SetColor(cr, Hex(0x8A8E9E));
            cairo_fill(cr);
            cairo_move_to(cr, cx + 14, cy - 28);
            cairo_curve_to(cr, cx + 18, cy - 40, cx + 28, cy - 36, cx + 30, cy - 44);
            SetColor(cr, Hex(0xC8A070));
            cairo_set_line_width(cr, 3);
            cairo_stroke(cr);
            Glow(cr, cx + 31, cy - 46, 16, Hex(0xFFB040), 0.9);
            Sparkle(cr, cx + 31, cy - 46, 9);
            SetColor(cr, Hex(0xFFF6C0));
            cairo_fill(cr);
            break;
        }
        case 6:  // DoubleBet
            for (int i = 0; i < 3; ++i) {
                Medal(cr, cx - 18, cy + 22 - i * 12, 20);
            }
            Text(cr, "×2", cx + 24, cy + 4, 38, Hex(0xFFE08A), Align::Center, 2.5, Hex(0x3A2208));
            break;
        default: {  // DeckPeek
            for (int i = 2; i >= 0; --i) {
                RoundRect(cr, cx - 34 + i * 4, cy - 30 + i * 4, 40, 60, 5);
                SetColor(cr, i == 0 ? pal::kNight2 : pal::kNight);
                cairo_fill_preserve(cr);
                SetColor(cr, pal::kGold);
                cairo_set_line_width(cr, 1.5);
                cairo_stroke(cr);
            }
            cairo_arc(cr, cx + 14, cy + 4, 19, 0, 2 * M_PI);
            SetColor(cr, Hex(0xCFF4FF), 0.55);
            cairo_fill_preserve(cr);
            SetColor(cr, pal::kGold);
            cairo_set_line_width(cr, 4.5);
            cairo_stroke(cr);
            cairo_move_to(cr, cx + 28, cy + 18);
            cairo_line_to(cr, cx + 42, cy + 34);
            cairo_set_line_width(cr, 7);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_stroke(cr);
            break;
        }
    }
}

const char* const kPlayerAbilityNames[8] = {"RankUp", "RankDown", "JokerSwap", "SeeThrough",
                                            "DummyCard", "TableBomb", "DoubleBet", "DeckPeek"};

void PlayerAbilityPicture(cairo_t* cr, int k, double x, double y) {
    PlayerAbility(cr, k, x, y);
    Text(cr, kPlayerAbilityNames[k], x + 64, y + 109, FitSize(cr, kPlayerAbilityNames[k], 104, 14), pal::kMoon,
         Align::Center, 1.5, pal::kNight);
}

// A wide message window (for the gallery's script view) split across two sheet pieces.
void WideWindow(cairo_t* cr, double w, double h) {
    NightPanel(cr, 4, 4, w - 8, h - 8, 22, 0.82);
    for (double sx : {26.0, w - 26}) {
        Star(cr, sx, 26, 7, 3, 5);
        SetColor(cr, pal::kGold, 0.85);
        cairo_fill(cr);
    }
    Crescent(cr, w - 46, h - 34, 12, 0.5);
    SetColor(cr, pal::kGold, 0.7);
    cairo_fill(cr);
}

}  // namespace

void DrawSozai2(Canvas& c) {
    cairo_t* cr = c.cr();
    for (int k = 0; k < 4; ++k) {
        PlayerAbilityPicture(cr, k, 512, 512 + 128 * k);
    }
    for (int o = 0; o < 5; ++o) {
        for (int a = 0; a < 4; ++a) {
            const lay::Rect r = lay::OpponentIcon(o, a);
            Tile(cr, r.left, r.top, r.width(), HostColor(o));
            DrawHostAbilitySymbol(cr, o, a, r.left + r.width() / 2.0, r.top + r.height() / 2.0, r.width() * 0.78);
        }
    }
    // The opponent panel: header band and four rows.
    {
        const lay::Rect p = lay::kOpponentPanel;
        NightPanel(cr, p.left + 2, p.top + 2, p.width() - 4, p.height() - 4, 14, 0.85);
        Saved s(cr);
        RoundRect(cr, p.left + 6, p.top + 6, p.width() - 12, 30, 10);
        FillVertical(cr, p.top + 6, p.top + 36, Hex(0x7A2A48), pal::kWine, 0.95);
        Text(cr, "相手の能力", p.left + p.width() / 2.0, p.top + 21, 18, Hex(0xFFE8B0), Align::Center);
        for (int k = 1; k < 4; ++k) {
            const double y = p.top + lay::kOpponentPanelIconY + k * lay::kOpponentPanelRow - 2;
            cairo_move_to(cr, p.left + 16, y);
            cairo_line_to(cr, p.right - 16, y);
        }
        SetColor(cr, pal::kGold, 0.35);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    {
        const lay::Rect g = lay::kOpponentIconGlow;
        Saved s(cr);
        RoundRect(cr, g.left + 4, g.top + 4, g.width() - 8, g.height() - 8, 14);
        SetColor(cr, Hex(0xFFE9A8), 0.9);
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
        Glow(cr, g.left + g.width() / 2.0, g.top + g.height() / 2.0, g.width() * 0.5, Hex(0xFFD780), 0.35);
    }
}

void DrawSozai3(Canvas& c) {
    cairo_t* cr = c.cr();
    for (int k = 0; k < 4; ++k) {
        PlayerAbilityPicture(cr, 4 + k, 0, 128 * k);
    }
    // Ability window (590 x 320): title band, two columns of names from y 40, info area below.
    {
        Saved s(cr);
        cairo_translate(cr, 0, 512);
        NightPanel(cr, 2, 2, 586, 316, 18, 0.95);
        RoundRect(cr, 8, 8, 574, 26, 10);
        FillVertical(cr, 8, 34, Hex(0x2E3F7A), pal::kNight2);
        Text(cr, "ABILITY", 22, 21, 16, pal::kGold, Align::Left);
        Text(cr, "使う能力を選んでください", 300, 21, 14, pal::kMoon, Align::Center);
        // Close button.
        cairo_arc(cr, 566, 21, 10, 0, 2 * M_PI);
        SetColor(cr, pal::kWine);
        cairo_fill_preserve(cr);
        SetColor(cr, pal::kGold);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        cairo_move_to(cr, 561, 16);
        cairo_line_to(cr, 571, 26);
        cairo_move_to(cr, 571, 16);
        cairo_line_to(cr, 561, 26);
        SetColor(cr, pal::kMoon);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        for (int i = 0; i < 8; ++i) {
            const double x = (i % 2) * 280 + 28, y = (i / 2) * 30 + 40;
            RoundRect(cr, x, y + 1, 262, 28, 8);
            SetColor(cr, Rgb{1, 1, 1}, 0.05);
            cairo_fill(cr);
        }
        cairo_move_to(cr, 24, 172);
        cairo_line_to(cr, 566, 172);
        SetColor(cr, pal::kGold, 0.5);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        RoundRect(cr, 20, 214, 550, 96, 10);
        SetColor(cr, Rgb{0, 0, 0}, 0.25);
        cairo_fill(cr);
    }
    // Message window frame (590 x 160).
    {
        Saved s(cr);
        cairo_translate(cr, 0, 832);
        NightPanel(cr, 2, 2, 586, 156, 20, 0.84);
        Crescent(cr, 560, 132, 10, 0.5);
        SetColor(cr, pal::kGold, 0.8);
        cairo_fill(cr);
        Star(cr, 24, 22, 6, 2.5, 5);
        cairo_fill(cr);
    }
    // Peek plate (280 x 44).
    {
        Saved s(cr);
        RoundRect(cr, 513, 211, 278, 42, 12);
        SetColor(cr, pal::kNight, 0.8);
        cairo_fill_preserve(cr);
        SetColor(cr, Hex(0x7FE0C0), 0.9);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        Text(cr, "PEEK", 522, 222, 10, Hex(0x7FE0C0), Align::Left);
    }
    // The two pieces of the gallery's wide window (512 + 434 = 946 x 225).
    {
        Canvas wide(946, 225);
        WideWindow(wide.cr(), 946, 225);
        cairo_surface_flush(wide.surface());
        Saved s(cr);
        cairo_rectangle(cr, 512, 256, 512, 225);
        cairo_clip(cr);
        cairo_set_source_surface(cr, wide.surface(), 512, 256);
        cairo_paint(cr);
    }
    {
        Canvas wide(946, 225);
        WideWindow(wide.cr(), 946, 225);
        cairo_surface_flush(wide.surface());
        Saved s(cr);
        cairo_rectangle(cr, 590, 481, 434, 225);
        cairo_clip(cr);
        cairo_set_source_surface(cr, wide.surface(), 590 - 512, 481);
        cairo_paint(cr);
    }
}

void DrawSozai4(Canvas& c) {
    cairo_t* cr = c.cr();
    struct Plate {
        const char* jp;
        const char* en;
    };
    const Plate plates[10] = {
        {"ノーハンド", "NO HAND"},          {"ツーペア", "TWO PAIR"},
        {"スリーカード", "THREE OF A KIND"}, {"ストレート", "STRAIGHT"},
        {"フラッシュ", "FLUSH"},             {"フルハウス", "FULL HOUSE"},
        {"フォーカード", "FOUR OF A KIND"},  {"ストレートフラッシュ", "STRAIGHT FLUSH"},
        {"ファイブカード", "FIVE OF A KIND"}, {"ロイヤルストレートフラッシュ", "ROYAL STRAIGHT FLUSH"},
    };
    for (int r = 0; r < 10; ++r) {
        const lay::Rect rect = r < 9 ? lay::kHandPlate[r] : lay::kRoyalPlate;
        const double x = rect.left, y = rect.top, w = rect.width(), h = rect.height();
        Saved s(cr);
        cairo_rectangle(cr, x, y, w, h);
        cairo_clip(cr);
        const double t = r / 9.0;
        const Rgb base = r == 0 ? Hex(0x4A5068) : Mix(Hex(0x24407A), Hex(0x7A1E48), t);
        const Rgb edge = r >= 5 ? pal::kGold : Hex(0xB8C4E0);
        const double py = y + (r == 9 ? 40 : 22), ph = r == 9 ? 112 : 84;
        if (r >= 5) {
            Glow(cr, x + w / 2, py + ph / 2, w * 0.45, pal::kGold, 0.25 + 0.05 * (r - 5));
        }
        RoundRect(cr, x + 8, py, w - 16, ph, ph / 2);
        FillVertical(cr, py, py + ph, Lighter(base, 0.15), Darker(base, 0.3), 0.94);
        RoundRect(cr, x + 8, py, w - 16, ph, ph / 2);
        SetColor(cr, edge);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        RoundRect(cr, x + 15, py + 7, w - 30, ph - 14, (ph - 14) / 2);
        SetColor(cr, edge, 0.4);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        const double js = FitSize(cr, plates[r].jp, w - 90, r == 9 ? 42 : 40);
        Text(cr, plates[r].jp, x + w / 2, py + ph * 0.42, js, r >= 5 ? Hex(0xFFE9A8) : pal::kMoon, Align::Center, 3,
             Darker(base, 0.6));
        Text(cr, plates[r].en, x + w / 2, py + ph * 0.8, r == 9 ? 16 : 14, edge, Align::Center);
        if (r == 9) {
            // Crown above the royal plate.
            const double cx = x + w / 2, cy = y + 22;
            cairo_move_to(cr, cx - 34, cy + 14);
            cairo_line_to(cr, cx - 34, cy - 10);
            cairo_line_to(cr, cx - 17, cy + 2);
            cairo_line_to(cr, cx, cy - 18);
            cairo_line_to(cr, cx + 17, cy + 2);
            cairo_line_to(cr, cx + 34, cy - 10);
            cairo_line_to(cr, cx + 34, cy + 14);
            cairo_close_path(cr);
            FillVertical(cr, cy - 18, cy + 14, Hex(0xFFF0B0), Hex(0xD09020));
            for (int i = 0; i < 8; ++i) {
                Sparkle(cr, x + 40 + i * 62, y + (i % 2 ? 176 : 168), 6);
                SetColor(cr, Hex(0xFFF6D0), 0.9);
                cairo_fill(cr);
            }
        }
    }
    const char* marks[5] = {"×2", "×3", "×4", "×5", "×10"};
    for (int i = 0; i < 5; ++i) {
        const lay::Rect r = lay::kMultiplierMark[i];
        const double cx = r.left + r.width() / 2.0, cy = r.top + r.height() / 2.0;
        Saved s(cr);
        Star(cr, cx, cy, 62, 44, 12, -90);
        FillVertical(cr, cy - 62, cy + 62, Hex(0xFFE08A), Hex(0xE0702A), 0.95);
        Star(cr, cx, cy, 62, 44, 12, -90);
        SetColor(cr, Hex(0x7A3A08));
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        Text(cr, marks[i], cx, cy, FitSize(cr, marks[i], 96, 50), Hex(0xFFFFFF), Align::Center, 3.5, Hex(0x8A2A08));
    }
}

void DrawSozai9(Canvas& c) {
    cairo_t* cr = c.cr();
    {
        const lay::Rect p = lay::kDoubleUpPanel;
        NightPanel(cr, p.left + 2, p.top + 2, p.width() - 4, p.height() - 4, 22, 0.9);
        Saved s(cr);
        RoundRect(cr, p.left + 10, p.top + 10, p.width() - 20, 50, 16);
        FillVertical(cr, p.top + 10, p.top + 60, Hex(0x8A2A50), pal::kWine);
        Text(cr, "DOUBLE UP", p.left + p.width() / 2.0, p.top + 30, 26, Hex(0xFFE08A), Align::Center, 2, Hex(0x3A0A1A));
        Text(cr, "ダブルアップ", p.left + p.width() / 2.0, p.top + 50, 13, pal::kMoon, Align::Center);
        for (int i = 0; i < 2; ++i) {
            const double x = p.left + lay::kDoubleUpCardMarkX[i], y = p.top + lay::kDoubleUpCardMarkY;
            RoundRect(cr, x - 6, y - 6, 92, 132, 10);
            const double dash[2] = {6, 4};
            cairo_set_dash(cr, dash, 2, 0);
            SetColor(cr, pal::kGold, 0.7);
            cairo_set_line_width(cr, 1.5);
            cairo_stroke(cr);
            cairo_set_dash(cr, nullptr, 0, 0);
        }
        Text(cr, "VS", p.left + 205, p.top + 140, 24, pal::kGold, Align::Center, 2, pal::kNight);
        Text(cr, "次のカードは", p.left + 480, p.top + 110, 20, pal::kMoon, Align::Center);
        Text(cr, "高い？ 低い？", p.left + 480, p.top + 142, 22, Hex(0xFFE08A), Align::Center);
        Text(cr, "A が最強・2 が最弱", p.left + 480, p.top + 176, 13, Hex(0xB8C4E0), Align::Center);
    }
    {
        const lay::Rect h = lay::kHighButton, l = lay::kLowButton;
        GoldPlate(cr, h.left + 4, h.top + 4, h.width() - 8, h.height() - 8, 16, true);
        Arrow(cr, h.left + 38, h.top + 38, 36, true, Hex(0xE04848));
        Text(cr, "HIGH", h.left + 130, h.top + 30, 30, Hex(0x2A1A06), Align::Center);
        Text(cr, "高い", h.left + 130, h.top + 56, 15, Hex(0x5A3A10), Align::Center);
        GoldPlate(cr, l.left + 4, l.top + 4, l.width() - 8, l.height() - 8, 16, true);
        Arrow(cr, l.left + 38, l.top + 38, 36, false, Hex(0x3A78D0));
        Text(cr, "LOW", l.left + 130, l.top + 30, 30, Hex(0x2A1A06), Align::Center);
        Text(cr, "低い", l.left + 130, l.top + 56, 15, Hex(0x5A3A10), Align::Center);
    }
    {
        const lay::Rect g = lay::kGuideCaption;
        Text(cr, "伏せたカードが表のカードより高いか低いか当ててね！", g.left + g.width() / 2.0, g.top + g.height() / 2.0,
             FitSize(cr, "伏せたカードが表のカードより高いか低いか当ててね！", g.width() - 16, 26), pal::kMoon, Align::Center,
             2.5, pal::kNight);
    }
    for (int i = 0; i < 2; ++i) {
        const lay::Rect g = i == 0 ? lay::kGuideHigh : lay::kGuideLow;
        const double cx = g.left + g.width() / 2.0, cy = g.top + g.height() / 2.0;
        Glow(cr, cx, cy, 56, i == 0 ? Hex(0xFF8A6A) : Hex(0x7AB0FF), 0.5);
        Arrow(cr, cx, cy - 8, 64, i == 0, i == 0 ? Hex(0xFF6A5A) : Hex(0x5A9AFF));
        Text(cr, i == 0 ? "HIGH" : "LOW", cx, g.bottom - 14, 18, pal::kMoon, Align::Center, 2, pal::kNight);
    }
    {
        const lay::Rect r = lay::kSlotHighlight;
        Saved s(cr);
        RoundRect(cr, r.left + 6, r.top + 6, r.width() - 12, r.height() - 12, 10);
        SetColor(cr, Hex(0xFFE9A8), 0.95);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
        RoundRect(cr, r.left + 2, r.top + 2, r.width() - 4, r.height() - 4, 12);
        SetColor(cr, pal::kGold, 0.45);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
    }
    {
        const lay::Rect r = lay::kCommentPlate;
        Saved s(cr);
        RoundRect(cr, r.left + 3, r.top + 3, r.width() - 6, r.height() - 6, 18);
        FillVertical(cr, r.top, r.bottom, Hex(0x3A1030), Hex(0x1A0A20), 0.82);
        RoundRect(cr, r.left + 3, r.top + 3, r.width() - 6, r.height() - 6, 18);
        SetColor(cr, Hex(0xFFB8D8), 0.8);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    for (int i = 0; i < 2; ++i) {
        const lay::Rect r = i == 0 ? lay::kPanelTabOpen : lay::kPanelTabClosed;
        Saved s(cr);
        RoundRect(cr, r.left + 2, r.top + 2, r.width() - 4, r.height() - 4, 12);
        FillVertical(cr, r.top, r.bottom, Hex(0x8A2A50), pal::kWine);
        RoundRect(cr, r.left + 2, r.top + 2, r.width() - 4, r.height() - 4, 12);
        SetColor(cr, pal::kGold);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        Arrow(cr, r.left + 22, r.top + 22, 18, i == 0, pal::kGold);
        Text(cr, "相手の能力", r.left + 92, r.top + 22, 17, Hex(0xFFE8B0), Align::Center);
    }
}

}  // namespace forge

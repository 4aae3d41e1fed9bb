// The card sheet "sozai1.png", the result banners "sozai7.png" and the match table.
#include <cmath>
#include <string>

#include "catalog.h"
#include "forge.h"

namespace forge {

namespace {

void Digit(cairo_t* cr, int d, double x, double y, double w, double h, bool gauge) {
    const std::string t(1, static_cast<char>('0' + d));
    if (gauge) {
        // Drawn additively on screen: a bright core with a soft halo, transparent around.
        Glow(cr, x + w / 2, y + h / 2, h * 0.5, Hex(0x7FD8FF), 0.28);
        Text(cr, t, x + w / 2, y + h / 2, h * 0.82, Hex(0xE8FBFF), Align::Center, 2.2, Hex(0x2A8FD0));
    } else {
        Text(cr, t, x + w / 2, y + h / 2, h * 0.8, Hex(0xFFE08A), Align::Center, 2.6, Hex(0x3A2208));
    }
}

void CheckMark(cairo_t* cr, double cx, double cy, double s, Rgb c) {
    cairo_move_to(cr, cx - s * 0.5, cy);
    cairo_line_to(cr, cx - s * 0.12, cy + s * 0.38);
    cairo_line_to(cr, cx + s * 0.55, cy - s * 0.42);
    SetColor(cr, c);
    cairo_set_line_width(cr, s * 0.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void CrossMark(cairo_t* cr, double cx, double cy, double s, Rgb c) {
    cairo_move_to(cr, cx - s * 0.4, cy - s * 0.4);
    cairo_line_to(cr, cx + s * 0.4, cy + s * 0.4);
    cairo_move_to(cr, cx + s * 0.4, cy - s * 0.4);
    cairo_line_to(cr, cx - s * 0.4, cy + s * 0.4);
    SetColor(cr, c);
    cairo_set_line_width(cr, s * 0.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

// The small round system buttons (return to title, quit), 40 x 40.
void SystemButton(cairo_t* cr, double x, double y, bool quit, bool lit) {
    Saved s(cr);
    const double cx = x + 20, cy = y + 20;
    cairo_arc(cr, cx, cy + 1, 18, 0, 2 * M_PI);
    SetColor(cr, Rgb{0, 0, 0}, 0.35);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, 18, 0, 2 * M_PI);
    FillVertical(cr, y + 2, y + 38, lit ? Hex(0xFFE29A) : Hex(0x8C8478), lit ? Hex(0xC98A2C) : Hex(0x55504A));
    cairo_arc(cr, cx, cy, 17.5, 0, 2 * M_PI);
    SetColor(cr, lit ? Hex(0x6E430C) : Hex(0x34302C));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    const Rgb ink = lit ? Hex(0x3A2208) : Hex(0x2A2826);
    if (quit) {
        CrossMark(cr, cx, cy, 20, ink);
    } else {
        // A little house: back to the title.
        cairo_move_to(cr, cx - 10, cy + 1);
        cairo_line_to(cr, cx, cy - 9);
        cairo_line_to(cr, cx + 10, cy + 1);
        SetColor(cr, ink);
        cairo_set_line_width(cr, 2.6);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
        cairo_rectangle(cr, cx - 6.5, cy, 13, 9);
        cairo_fill(cr);
        cairo_rectangle(cr, cx - 2, cy + 3, 4, 6);
        SetColor(cr, lit ? Hex(0xF6C45E) : Hex(0x7A746C));
        cairo_fill(cr);
    }
}

void TextButton(cairo_t* cr, double x, double y, double w, double h, const char* big, const char* small) {
    GoldPlate(cr, x + 2, y + 2, w - 4, h - 4, 12, true);
    const double bs = FitSize(cr, big, w - 18, h * 0.42);
    Text(cr, big, x + w / 2, y + h * 0.42, bs, Hex(0x2A1A06), Align::Center);
    Text(cr, small, x + w / 2, y + h * 0.76, FitSize(cr, small, w - 20, h * 0.17), Hex(0x5A3A10), Align::Center);
}

void Question(cairo_t* cr, double x, double y, double w, double h, const char* text) {
    const double size = FitSize(cr, text, w - 8, h * 0.72);
    Text(cr, text, x + w / 2, y + h / 2, size, pal::kMoon, Align::Center, 2.5, Hex(0x101830));
}

}  // namespace

namespace {

// The 53 faces, the joker, the back and the five dummy cards.
void DrawCardCells(cairo_t* cr, bool fourColour) {
    for (int f = 0; f < 52; ++f) {
        DrawCardFace(cr, (f % 12) * kCardW, (f / 12) * kCardH, f / 4, f % 4, fourColour);
    }
    DrawJoker(cr, 320, 480);
    DrawCardBack(cr, 400, 480);
    for (int k = 0; k < 5; ++k) {
        DrawDummyCard(cr, (k + 6) * 80, 480, k);
    }
}

}  // namespace

void DrawFourColourCards(Canvas& c) { DrawCardCells(c.cr(), true); }

void DrawSozai1(Canvas& c) {
    cairo_t* cr = c.cr();
    DrawCardCells(cr, false);
    // Title and quit buttons, lit and dim.
    SystemButton(cr, 984, 0, false, true);
    SystemButton(cr, 984, 40, false, false);
    SystemButton(cr, 984, 80, true, true);
    SystemButton(cr, 984, 120, true, false);

    // Frame around a frozen card (90 x 130): frost border, transparent inside.
    {
        Saved s(cr);
        const double x = 934, y = 480;
        RoundRect(cr, x + 3, y + 3, 84, 124, 8);
        SetColor(cr, Hex(0xBFEAFF), 0.95);
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
        RoundRect(cr, x + 1, y + 1, 88, 128, 9);
        SetColor(cr, Hex(0x3E9CDB), 0.9);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        const double fx[4] = {x + 9, x + 81, x + 9, x + 81};
        const double fy[4] = {y + 9, y + 9, y + 121, y + 121};
        for (int i = 0; i < 4; ++i) {
            cairo_arc(cr, fx[i], fy[i], 8, 0, 2 * M_PI);
            SetColor(cr, Hex(0x1E5E9A), 0.85);
            cairo_fill(cr);
            SetColor(cr, Hex(0xF0FBFF));
            Snowflake(cr, fx[i], fy[i], 7, 1.4);
            cairo_stroke(cr);
        }
    }

    // Medal label (118 x 46) and medal digits (28 x 46).
    {
        Saved s(cr);
        const double x = 0, y = 610;
        RoundRect(cr, x + 2, y + 6, 112, 34, 10);
        SetColor(cr, pal::kNight, 0.85);
        cairo_fill_preserve(cr);
        SetColor(cr, pal::kGold);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        cairo_arc(cr, x + 20, y + 23, 11, 0, 2 * M_PI);
        FillVertical(cr, y + 12, y + 34, Hex(0xFFE9A8), Hex(0xC98A2C));
        cairo_arc(cr, x + 20, y + 23, 7, 0, 2 * M_PI);
        SetColor(cr, Hex(0x8A5A14));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        Star(cr, x + 20, y + 23, 4.5, 2, 5);
        SetColor(cr, Hex(0x8A5A14));
        cairo_fill(cr);
        Text(cr, "MEDAL", x + 70, y + 23, 17, Hex(0xFFE08A), Align::Center);
    }
    for (int d = 0; d < 10; ++d) {
        Digit(cr, d, kMedalDigitX + d * kMedalDigitW, kMedalDigitY, kMedalDigitW, kMedalDigitH, false);
    }
    for (int d = 0; d < 10; ++d) {
        Digit(cr, d, kGaugeDigitX + d * kGaugeDigitW, kGaugeDigitY, kGaugeDigitW, kGaugeDigitH, true);
    }

    // Gauge frame (212 x 36), bar (150 x 15) and icon (26 x 30).
    {
        Saved s(cr);
        const double x = 398, y = 600;
        RoundRect(cr, x + 1, y + 1, 210, 34, 10);
        SetColor(cr, pal::kNight, 0.9);
        cairo_fill_preserve(cr);
        SetColor(cr, pal::kGold);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        Text(cr, "SP", x + 22, y + 18, 17, Hex(0x9FE4FF), Align::Center);
        // Trough around the bar (the bar is drawn at +45, +6 of the frame).
        RoundRect(cr, x + 43, y + 4, 154, 19, 4);
        SetColor(cr, Rgb{0, 0, 0}, 0.55);
        cairo_fill_preserve(cr);
        SetColor(cr, Hex(0x7FB8D8), 0.8);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        for (int i = 1; i < 4; ++i) {
            cairo_move_to(cr, x + 45 + i * 37.5, y + 25);
            cairo_line_to(cr, x + 45 + i * 37.5, y + 31);
        }
        SetColor(cr, pal::kGold, 0.7);
        cairo_stroke(cr);
    }
    {
        Saved s(cr);
        const double x = 398, y = 636, w = 150, h = 15;
        cairo_rectangle(cr, x, y, w, h);
        cairo_pattern_t* p = cairo_pattern_create_linear(x, 0, x + w, 0);
        cairo_pattern_add_color_stop_rgb(p, 0, 0.25, 0.65, 1.0);
        cairo_pattern_add_color_stop_rgb(p, 0.6, 0.55, 0.9, 1.0);
        cairo_pattern_add_color_stop_rgb(p, 1, 1.0, 0.85, 0.4);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        cairo_rectangle(cr, x, y + 2, w, 4);
        SetColor(cr, Rgb{1, 1, 1}, 0.45);
        cairo_fill(cr);
    }
    {
        Saved s(cr);
        const double cx = 577, cy = 697;
        cairo_move_to(cr, cx, cy - 14);
        cairo_line_to(cr, cx + 11, cy);
        cairo_line_to(cr, cx, cy + 14);
        cairo_line_to(cr, cx - 11, cy);
        cairo_close_path(cr);
        FillVertical(cr, cy - 14, cy + 14, Hex(0xD8F6FF), Hex(0x3FA6E8));
        cairo_move_to(cr, cx, cy - 14);
        cairo_line_to(cr, cx + 11, cy);
        cairo_line_to(cr, cx, cy + 14);
        cairo_line_to(cr, cx - 11, cy);
        cairo_close_path(cr);
        SetColor(cr, Hex(0x1D4F7A));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        Sparkle(cr, cx - 3, cy - 4, 4);
        SetColor(cr, Rgb{1, 1, 1}, 0.9);
        cairo_fill(cr);
    }

    // Hold marker (104 x 56), laid over the lower half of a card.
    {
        Saved s(cr);
        const double x = 460, y = 656;
        RoundRect(cr, x + 4, y + 12, 96, 32, 8);
        SetColor(cr, Rgb{0, 0, 0}, 0.35);
        cairo_fill(cr);
        RoundRect(cr, x + 4, y + 10, 96, 32, 8);
        FillVertical(cr, y + 10, y + 42, Hex(0xFFE7A0), Hex(0xE09A2E));
        RoundRect(cr, x + 4, y + 10, 96, 32, 8);
        SetColor(cr, Hex(0x6E430C));
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        Text(cr, "HOLD", x + 52, y + 26, 22, Hex(0x3A1E04), Align::Center);
    }

    // Deck pile (80 x 130): two card edges under the top back.
    {
        Saved s(cr);
        for (int i = 2; i >= 1; --i) {
            RoundRect(cr, 0.5, 712 + i * 5 + 0.5, 79, 119, 6);
            SetColor(cr, i == 2 ? Hex(0x0A1024) : Hex(0x141E40));
            cairo_fill_preserve(cr);
            SetColor(cr, pal::kGoldDark);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        }
        DrawCardBack(cr, 0, 712);
    }

    // Buttons.
    TextButton(cr, 496, 899, 104, 76, "DRAW", "カード交換");
    TextButton(cr, 600, 899, 104, 76, "勝負！", "SHOWDOWN");
    {
        Saved s(cr);
        const double cx = 668, cy = 660;
        cairo_arc(cr, cx, cy + 3, 48, 0, 2 * M_PI);
        SetColor(cr, Rgb{0, 0, 0}, 0.35);
        cairo_fill(cr);
        cairo_arc(cr, cx, cy, 48, 0, 2 * M_PI);
        FillVertical(cr, cy - 48, cy + 48, Hex(0xFFE6A0), Hex(0xBF7E22));
        cairo_arc(cr, cx, cy, 47, 0, 2 * M_PI);
        SetColor(cr, Hex(0x6E430C));
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        cairo_arc(cr, cx, cy, 40, 0, 2 * M_PI);
        FillVertical(cr, cy - 40, cy + 40, Hex(0x3A4A8A), pal::kNight);
        Glow(cr, cx, cy - 8, 30, Hex(0x9FD8FF), 0.5);
        Star(cr, cx, cy - 12, 15, 6, 5);
        SetColor(cr, pal::kGold);
        cairo_fill(cr);
        Text(cr, "能力", cx, cy + 14, 22, pal::kMoon, Align::Center);
        Text(cr, "ABILITY", cx, cy + 31, 10, pal::kGold, Align::Center);
    }
    // Yes / OK and No (228 x 92).
    {
        const double x = 720, y = 656;
        GoldPlate(cr, x + 4, y + 4, 220, 84, 16, true);
        CheckMark(cr, x + 48, y + 44, 36, Hex(0x1F6A3A));
        Text(cr, "OK", x + 126, y + 36, 36, Hex(0x2A1A06), Align::Center);
        Text(cr, "はい", x + 126, y + 66, 17, Hex(0x5A3A10), Align::Center);
    }
    {
        const double x = 720, y = 748;
        GoldPlate(cr, x + 4, y + 4, 220, 84, 16, true);
        CrossMark(cr, x + 48, y + 42, 34, Hex(0x9A1F2A));
        Text(cr, "いいえ", x + 126, y + 36, 30, Hex(0x2A1A06), Align::Center);
        Text(cr, "NO", x + 126, y + 66, 17, Hex(0x5A3A10), Align::Center);
    }
    // Dialog panel (640 x 188), kept clear of its last row which the first question shares.
    NightPanel(cr, 82, 714, 636, 182, 18, 0.94);
    {
        Saved s(cr);
        for (double sx : {110.0, 690.0}) {
            Star(cr, sx, 740, 7, 3, 5);
            SetColor(cr, pal::kGold, 0.8);
            cairo_fill(cr);
        }
        cairo_move_to(cr, 140, 740);
        cairo_line_to(cr, 660, 740);
        SetColor(cr, pal::kGold, 0.4);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    Question(cr, 0, 899, 352, 40, "ショーダウンしますか？");
    Question(cr, 0, 939, 472, 40, "相手がショーダウンを宣言しました！");
    Question(cr, 0, 979, 412, 40, "ダブルアップに挑戦しますか？");

    // Guard marks, lit and dim (24 x 24).
    for (int i = 0; i < 2; ++i) {
        Saved s(cr);
        const double cx = 655 + 24 * i + 12, cy = 1012;
        ShieldPath(cr, cx, cy, 21);
        FillVertical(cr, cy - 11, cy + 11, i == 0 ? Hex(0xFF7A6A) : Hex(0x8A8080),
                     i == 0 ? Hex(0xB02030) : Hex(0x504848));
        ShieldPath(cr, cx, cy, 21);
        SetColor(cr, i == 0 ? pal::kGold : Hex(0x9A9488));
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        Star(cr, cx, cy - 1, 5, 2.2, 5);
        SetColor(cr, i == 0 ? Hex(0xFFF0C0) : Hex(0xB0A8A0));
        cairo_fill(cr);
    }
}

void DrawSozai7(Canvas& c) {
    cairo_t* cr = c.cr();
    struct Banner {
        double x, y, w, h;
        const char* big;
        const char* small;
        Rgb a, b, ink;
    };
    const Banner banners[3] = {
        {0, 0, 360, 162, "WIN!", "勝利", Hex(0xFFF0B0), Hex(0xE8A030), Hex(0x5A2A04)},
        {0, 162, 338, 132, "LOSE", "敗北", Hex(0xB8C6E8), Hex(0x4A5A8A), Hex(0x0E1730)},
        {0, 294, 436, 130, "TIE", "引き分け", Hex(0xE8E2F4), Hex(0x9A8AC0), Hex(0x2A1E48)},
    };
    for (int i = 0; i < 3; ++i) {
        const Banner& b = banners[i];
        Saved s(cr);
        cairo_rectangle(cr, b.x, b.y, b.w, b.h);
        cairo_clip(cr);
        if (i == 0) {
            Glow(cr, b.x + b.w / 2, b.y + b.h / 2, b.w * 0.5, pal::kGold, 0.55);
            Lcg rng(7);
            for (int k = 0; k < 14; ++k) {
                Sparkle(cr, b.x + rng.Range(20, b.w - 20), b.y + rng.Range(14, b.h - 14), rng.Range(4, 10));
                SetColor(cr, Hex(0xFFF6D0), 0.9);
                cairo_fill(cr);
            }
        }
        // Ribbon plate.
        const double py = b.y + b.h * 0.2, ph = b.h * 0.6;
        cairo_move_to(cr, b.x + 6, py + 8);
        cairo_line_to(cr, b.x + 30, py);
        cairo_line_to(cr, b.x + b.w - 30, py);
        cairo_line_to(cr, b.x + b.w - 6, py + 8);
        cairo_line_to(cr, b.x + b.w - 22, py + ph / 2);
        cairo_line_to(cr, b.x + b.w - 6, py + ph - 8);
        cairo_line_to(cr, b.x + b.w - 30, py + ph);
        cairo_line_to(cr, b.x + 30, py + ph);
        cairo_line_to(cr, b.x + 6, py + ph - 8);
        cairo_line_to(cr, b.x + 22, py + ph / 2);
        cairo_close_path(cr);
        cairo_path_t* path = cairo_copy_path(cr);
        FillVertical(cr, py, py + ph, Darker(b.b, 0.3), Darker(b.b, 0.55), 0.92);
        cairo_append_path(cr, path);
        SetColor(cr, b.a);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        cairo_path_destroy(path);
        const double size = FitSize(cr, b.big, b.w - 150, b.h * 0.52);
        Text(cr, b.big, b.x + b.w / 2 - 24, b.y + b.h / 2, size, b.a, Align::Center, 4, b.ink);
        Text(cr, b.small, b.x + b.w - 70, b.y + b.h / 2 + 4, 24, Lighter(b.a, 0.3), Align::Center, 2.5, b.ink);
    }
}

void DrawTable(Canvas& c) {
    cairo_t* cr = c.cr();
    const double W = c.width(), H = c.height();
    // Felt with a warm lantern pool in the middle and darker edges. The picture is drawn at
    // (-20, -20), so screen coordinates are picture coordinates minus 20. The table covers the
    // left half only: from screen x 660 it fades out over 80 px, so the salon and the host behind
    // the table show through on the right.
    cairo_push_group(cr);
    cairo_rectangle(cr, 0, 0, W, H);
    SetColor(cr, Hex(0x143E2A));
    cairo_fill(cr);
    {
        cairo_pattern_t* p = cairo_pattern_create_radial(W * 0.38, H * 0.52, 60, W * 0.45, H * 0.5, W * 0.72);
        cairo_pattern_add_color_stop_rgb(p, 0, 0.16, 0.45, 0.30);
        cairo_pattern_add_color_stop_rgb(p, 0.6, 0.11, 0.33, 0.22);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.04, 0.13, 0.09);
        cairo_set_source(cr, p);
        cairo_rectangle(cr, 0, 0, W, H);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
    // Fine felt texture.
    Lcg rng(11);
    for (int i = 0; i < 9000; ++i) {
        const double x = rng.Range(0, W), y = rng.Range(0, H);
        cairo_rectangle(cr, x, y, 1, 1);
        SetColor(cr, rng.Unit() < 0.5 ? Rgb{0, 0, 0} : Rgb{1, 1, 1}, 0.05);
        cairo_fill(cr);
    }
    const double o = 20;  // screen origin inside the picture
    auto goldLine = [&](double x, double y, double w, double h, double r, double a) {
        RoundRect(cr, x + o, y + o, w, h, r);
        SetColor(cr, pal::kGold, a);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    };
    // Card rows: opponent (x 80..600, y 104..224) and player (x 40..560, y 440..560).
    goldLine(66, 92, 548, 144, 14, 0.35);
    goldLine(26, 428, 548, 144, 14, 0.35);
    for (int i = 0; i < 5; ++i) {
        RoundRect(cr, o + 80 + 110 * i + 2, o + 106, 76, 116, 6);
        SetColor(cr, Rgb{0, 0, 0}, 0.12);
        cairo_fill(cr);
        RoundRect(cr, o + 40 + 110 * i + 2, o + 442, 76, 116, 6);
        cairo_fill(cr);
    }
    // Deck spot and the bet plate.
    goldLine(272, 256, 96, 166, 10, 0.45);
    {
        Saved s(cr);
        RoundRect(cr, o + 24, o + 268, 222, 88, 14);
        SetColor(cr, Rgb{0, 0, 0}, 0.35);
        cairo_fill_preserve(cr);
        SetColor(cr, pal::kGold, 0.7);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        Text(cr, "BET", o + 40, o + 262, 16, pal::kGold, Align::Left, 2, Hex(0x0A2014));
    }
    // Central emblem: moon and the salon's name, faint on the felt.
    {
        Saved s(cr);
        const double cx = o + 450, cy = o + 330;
        cairo_arc(cr, cx, cy, 58, 0, 2 * M_PI);
        SetColor(cr, pal::kGold, 0.16);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        Crescent(cr, cx - 6, cy, 34, 0.5);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        SetColor(cr, pal::kGold, 0.16);
        cairo_fill(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        Text(cr, "OSTRELLE", cx, cy + 76, 18, pal::kGold, Align::Center);
        cairo_identity_matrix(cr);
    }
    // Warm light from the lanterns above, and a faint border of suits inside the rail.
    Glow(cr, o + 320, -40, 420, Hex(0xFFD890), 0.16);
    Glow(cr, o + 980, -40, 380, Hex(0xFFD890), 0.12);
    for (int i = 0; i < 40; ++i) {
        const double t = i / 40.0;
        const double px = 60 + t * (W - 120);
        for (double py : {42.0, H - 42}) {
            Suit(cr, i % 4, px, py, 12);
            SetColor(cr, pal::kGold, 0.18);
            cairo_fill(cr);
        }
    }
    // Brass rail around the table.
    RoundRect(cr, 6, 6, W - 12, H - 12, 30);
    SetColor(cr, Hex(0x3A1E10));
    cairo_set_line_width(cr, 18);
    cairo_stroke(cr);
    {
        cairo_pattern_t* felt = cairo_pop_group(cr);
        cairo_pattern_t* fade = cairo_pattern_create_linear(o + 660, 0, o + 740, 0);
        cairo_pattern_add_color_stop_rgba(fade, 0, 0, 0, 0, 1);
        cairo_pattern_add_color_stop_rgba(fade, 1, 0, 0, 0, 0);
        cairo_set_source(cr, felt);
        cairo_mask(cr, fade);
        cairo_pattern_destroy(fade);
        cairo_pattern_destroy(felt);
    }
    // The thin gold line of the rail frames the whole screen, the host's side included.
    RoundRect(cr, 14, 14, W - 28, H - 28, 24);
    SetColor(cr, pal::kGold, 0.9);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    RoundRect(cr, 20, 20, W - 40, H - 40, 20);
    SetColor(cr, pal::kGoldDark, 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

}  // namespace forge

// Playing cards: cream faces with gold borders, big indices, classic pips, drawn court figures,
// the moon-jester joker, the night-blue back and the five grey dummy cards.
#include <cmath>

#include "forge.h"

namespace forge {

namespace {

constexpr double kW = 80, kH = 120;
const char* const kRankText[13] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};

// Ink of a suit: the classic two colours, or one colour per suit (spades black, hearts red,
// diamonds blue, clubs green) so that the suits tell apart at a glance.
Rgb Ink(int suit, bool fourColour) {
    if (!fourColour) {
        return SuitColor(suit);
    }
    switch (suit) {
        case 0: return pal::kInk;
        case 1: return pal::kRed;
        case 2: return Hex(0x1F5BC6);
        default: return Hex(0x1E8439);
    }
}

void CardBase(cairo_t* cr, double x, double y, Rgb top, Rgb bottom, Rgb border) {
    RoundRect(cr, x + 0.5, y + 0.5, kW - 1, kH - 1, 6);
    FillVertical(cr, y, y + kH, top, bottom);
    RoundRect(cr, x + 1, y + 1, kW - 2, kH - 2, 5.5);
    SetColor(cr, border, 1);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
}

void Index(cairo_t* cr, double x, double y, int value, int suit, bool four) {
    const Rgb col = Ink(suit, four);
    const double size = value == 9 ? 19 : 22;
    for (int corner = 0; corner < 2; ++corner) {
        Saved s(cr);
        if (corner == 1) {
            cairo_translate(cr, x + kW, y + kH);
            cairo_rotate(cr, M_PI);
        } else {
            cairo_translate(cr, x, y);
        }
        Text(cr, kRankText[value], 12, 15, size, col, Align::Center);
        Suit(cr, suit, 12, 32, 12);
        SetColor(cr, col);
        cairo_fill(cr);
    }
}

void Pip(cairo_t* cr, int suit, double cx, double cy, double size, bool flip, bool four) {
    Saved s(cr);
    cairo_translate(cr, cx, cy);
    if (flip) {
        cairo_rotate(cr, M_PI);
    }
    Suit(cr, suit, 0, 0, size);
    SetColor(cr, Ink(suit, four));
    cairo_fill(cr);
}

struct P {
    double x, y;
};

void Pips(cairo_t* cr, double x, double y, int value, int suit, bool four) {
    const double cx = x + 40, cy = y + 60, dx = 11.5, dy = 33;
    const int n = value + 1;
    P pts[12];
    int k = 0;
    auto add = [&](double px, double py) { pts[k++] = P{px, py}; };
    switch (n) {
        case 2: add(0, -1); add(0, 1); break;
        case 3: add(0, -1); add(0, 0); add(0, 1); break;
        case 4: add(-1, -1); add(1, -1); add(-1, 1); add(1, 1); break;
        case 5: add(-1, -1); add(1, -1); add(0, 0); add(-1, 1); add(1, 1); break;
        case 6: for (int r = -1; r <= 1; ++r) { add(-1, r); add(1, r); } break;
        case 7: for (int r = -1; r <= 1; ++r) { add(-1, r); add(1, r); } add(0, -0.5); break;
        case 8: for (int r = -1; r <= 1; ++r) { add(-1, r); add(1, r); } add(0, -0.5); add(0, 0.5); break;
        case 9:
            for (double r : {-1.0, -1.0 / 3, 1.0 / 3, 1.0}) { add(-1, r); add(1, r); }
            add(0, 0);
            break;
        default:
            for (double r : {-1.0, -1.0 / 3, 1.0 / 3, 1.0}) { add(-1, r); add(1, r); }
            add(0, -2.0 / 3); add(0, 2.0 / 3);
            break;
    }
    const double size = n >= 9 ? 12.5 : 14.5;
    for (int i = 0; i < k; ++i) {
        Pip(cr, suit, cx + pts[i].x * dx, cy + pts[i].y * dy, size, pts[i].y > 0.01, four);
    }
}

void AceFace(cairo_t* cr, double x, double y, int suit, bool four) {
    const double cx = x + 40, cy = y + 62;
    // A gold halo behind the single big pip; the spade ace gets a moon filigree.
    Glow(cr, cx, cy, 30, pal::kGold, 0.35);
    if (suit == 0) {
        Saved s(cr);
        cairo_arc(cr, cx, cy, 24, 0, 2 * M_PI);
        SetColor(cr, pal::kGold, 0.9);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    Pip(cr, suit, cx, cy, 38, false, four);
}

// A court figure in a framed panel: J with a feathered cap, Q with long hair and a tiara,
// K with a crown and beard. Robes take the suit colour.
// In the four-colour deck the diamond and club figures wear their suit's blue and green.
void CourtFace(cairo_t* cr, double x, double y, int value, int suit, bool four) {
    const Rgb col = Ink(suit, four);
    Rgb robe = suit == 1 || suit == 2 ? Hex(0xC8323C) : Hex(0x2C3A66);
    Rgb tint = suit == 1 || suit == 2 ? Hex(0xFBE3DC) : Hex(0xE3E6F2);
    if (four && suit == 2) {
        robe = Hex(0x2456B4);
        tint = Hex(0xDDE8FA);
    } else if (four && suit == 3) {
        robe = Hex(0x23703A);
        tint = Hex(0xDFF1E2);
    }
    const double fx = x + 20, fy = y + 12, fw = 44, fh = 96;
    {
        Saved s(cr);
        RoundRect(cr, fx, fy, fw, fh, 3);
        SetColor(cr, tint);
        cairo_fill_preserve(cr);
        SetColor(cr, pal::kGold);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke_preserve(cr);
        cairo_clip(cr);
        const double cx = fx + fw / 2, hy = fy + 34;
        // Robe with gold collar.
        cairo_move_to(cr, cx - 21, fy + fh);
        cairo_curve_to(cr, cx - 21, hy + 22, cx - 14, hy + 14, cx, hy + 14);
        cairo_curve_to(cr, cx + 14, hy + 14, cx + 21, hy + 22, cx + 21, fy + fh);
        cairo_close_path(cr);
        SetColor(cr, robe);
        cairo_fill(cr);
        cairo_move_to(cr, cx - 9, hy + 14);
        cairo_line_to(cr, cx, hy + 26);
        cairo_line_to(cr, cx + 9, hy + 14);
        SetColor(cr, pal::kGold);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        // Suit emblem on the chest.
        Suit(cr, suit, cx, hy + 40, 13);
        SetColor(cr, pal::kCream);
        cairo_fill(cr);
        // Hair behind the head (the queen's falls to the shoulders).
        const Rgb hair = value == 11 ? Hex(0x8A4B2A) : (value == 12 ? Hex(0x6A6A70) : Hex(0x3A2A1A));
        if (value == 11) {
            RoundRect(cr, cx - 11, hy - 9, 22, 27, 8);
            SetColor(cr, hair);
            cairo_fill(cr);
        }
        // Head.
        cairo_arc(cr, cx, hy, 8.5, 0, 2 * M_PI);
        SetColor(cr, pal::kSkin);
        cairo_fill(cr);
        // Eyes and smile.
        SetColor(cr, pal::kInk);
        cairo_arc(cr, cx - 3, hy, 1.1, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_arc(cr, cx + 3, hy, 1.1, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_set_line_width(cr, 0.9);
        cairo_arc(cr, cx, hy + 2.5, 2.6, 0.2 * M_PI, 0.8 * M_PI);
        cairo_stroke(cr);
        if (value == 12) {
            // Beard.
            cairo_move_to(cr, cx - 7, hy + 3);
            cairo_curve_to(cr, cx - 6, hy + 14, cx + 6, hy + 14, cx + 7, hy + 3);
            cairo_curve_to(cr, cx + 4, hy + 7, cx - 4, hy + 7, cx - 7, hy + 3);
            SetColor(cr, hair);
            cairo_fill(cr);
        }
        // Headwear.
        if (value == 10) {
            cairo_move_to(cr, cx - 10, hy - 4);
            cairo_curve_to(cr, cx - 9, hy - 15, cx + 9, hy - 15, cx + 10, hy - 4);
            cairo_close_path(cr);
            SetColor(cr, robe);
            cairo_fill(cr);
            cairo_move_to(cr, cx + 6, hy - 10);
            cairo_curve_to(cr, cx + 14, hy - 22, cx + 18, hy - 18, cx + 19, hy - 24);
            SetColor(cr, pal::kGold);
            cairo_set_line_width(cr, 2.2);
            cairo_stroke(cr);
        } else if (value == 11) {
            cairo_move_to(cr, cx - 8, hy - 7);
            cairo_line_to(cr, cx - 5, hy - 14);
            cairo_line_to(cr, cx - 2, hy - 9);
            cairo_line_to(cr, cx, hy - 16);
            cairo_line_to(cr, cx + 2, hy - 9);
            cairo_line_to(cr, cx + 5, hy - 14);
            cairo_line_to(cr, cx + 8, hy - 7);
            cairo_close_path(cr);
            SetColor(cr, pal::kGold);
            cairo_fill(cr);
        } else {
            cairo_move_to(cr, cx - 10, hy - 5);
            cairo_line_to(cr, cx - 10, hy - 17);
            cairo_line_to(cr, cx - 5, hy - 11);
            cairo_line_to(cr, cx, hy - 19);
            cairo_line_to(cr, cx + 5, hy - 11);
            cairo_line_to(cr, cx + 10, hy - 17);
            cairo_line_to(cr, cx + 10, hy - 5);
            cairo_close_path(cr);
            SetColor(cr, pal::kGold);
            cairo_fill_preserve(cr);
            SetColor(cr, pal::kGoldDark);
            cairo_set_line_width(cr, 0.8);
            cairo_stroke(cr);
            cairo_arc(cr, cx, hy - 11, 1.6, 0, 2 * M_PI);
            SetColor(cr, pal::kRed);
            cairo_fill(cr);
        }
        (void)col;
    }
}

}  // namespace

void DrawCardFace(cairo_t* cr, double x, double y, int value, int suit, bool fourColour) {
    Saved s(cr);
    CardBase(cr, x, y, pal::kCream, Hex(0xF1E6CC), pal::kGold);
    if (value == 0) {
        AceFace(cr, x, y, suit, fourColour);
    } else if (value >= 10) {
        CourtFace(cr, x, y, value, suit, fourColour);
    } else {
        Pips(cr, x, y, value, suit, fourColour);
    }
    Index(cr, x, y, value, suit, fourColour);
}

void DrawJoker(cairo_t* cr, double x, double y) {
    Saved s(cr);
    CardBase(cr, x, y, Hex(0xFBF3FF), Hex(0xEADCF5), pal::kGold);
    const double cx = x + 42, cy = y + 66;
    Glow(cr, cx, cy, 34, Hex(0xB58CFF), 0.45);
    // The jester's hat: three floppy points with bells.
    const Rgb hatA = Hex(0x7B3FC4), hatB = Hex(0xE8B44C);
    const double hx[3] = {cx - 20, cx + 2, cx + 22};
    const double hy[3] = {cy - 34, cy - 44, cy - 32};
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, cx - 16 + i * 9, cy - 14);
        cairo_curve_to(cr, cx - 14 + i * 10, cy - 26, hx[i] - 2, hy[i] + 6, hx[i], hy[i]);
        cairo_curve_to(cr, hx[i] + 4, hy[i] + 10, cx - 6 + i * 10, cy - 22, cx - 6 + i * 10, cy - 12);
        cairo_close_path(cr);
        SetColor(cr, i == 1 ? hatB : hatA);
        cairo_fill(cr);
        cairo_arc(cr, hx[i], hy[i], 3, 0, 2 * M_PI);
        SetColor(cr, i == 1 ? hatA : hatB);
        cairo_fill(cr);
    }
    // Crescent moon face, grinning.
    Crescent(cr, cx - 4, cy + 6, 22, 0.55);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    SetColor(cr, Hex(0xFFD766));
    cairo_fill_preserve(cr);
    SetColor(cr, Hex(0xB07A10));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    SetColor(cr, pal::kInk);
    cairo_arc(cr, cx - 16, cy - 2, 1.8, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1.6);
    cairo_arc(cr, cx - 14, cy + 10, 6, 0.1 * M_PI, 0.75 * M_PI);
    cairo_stroke(cr);
    SetColor(cr, Hex(0xFF8FA8), 0.7);
    cairo_arc(cr, cx - 20, cy + 6, 2.5, 0, 2 * M_PI);
    cairo_fill(cr);
    // Stars and the vertical word.
    for (int i = 0; i < 3; ++i) {
        Star(cr, x + 62 - i * 6, y + 94 + i * 7, 4, 1.7, 5);
        SetColor(cr, pal::kGold);
        cairo_fill(cr);
    }
    const char* letters[5] = {"J", "O", "K", "E", "R"};
    for (int i = 0; i < 5; ++i) {
        Text(cr, letters[i], x + 10, y + 12 + i * 12, 12, Hex(0x6A2FB0), Align::Center);
    }
}

void DrawCardBack(cairo_t* cr, double x, double y) {
    Saved s(cr);
    CardBase(cr, x, y, pal::kNight2, pal::kNight, pal::kGold);
    RoundRect(cr, x + 6, y + 6, kW - 12, kH - 12, 3);
    cairo_clip_preserve(cr);
    SetColor(cr, pal::kGold, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Lattice with small stars at the crossings.
    SetColor(cr, pal::kGold, 0.35);
    cairo_set_line_width(cr, 0.8);
    for (int i = -8; i <= 8; ++i) {
        cairo_move_to(cr, x + 40 + i * 12 - 70, y - 10);
        cairo_line_to(cr, x + 40 + i * 12 + 70, y + 130);
        cairo_move_to(cr, x + 40 + i * 12 + 70, y - 10);
        cairo_line_to(cr, x + 40 + i * 12 - 70, y + 130);
    }
    cairo_stroke(cr);
    for (int r = 0; r < 12; ++r) {
        for (int c = 0; c < 8; ++c) {
            const double px = x + 40 + (c - 4) * 12 + ((r % 2) ? 6 : 0) - 6;
            const double py = y + 60 + (r - 6) * 12 + 6;
            Star(cr, px + 6, py - 6 + 6, 1.8, 0.7, 4, 0);
            SetColor(cr, pal::kGold, 0.6);
            cairo_fill(cr);
        }
    }
    // Central moon medallion.
    cairo_arc(cr, x + 40, y + 60, 17, 0, 2 * M_PI);
    SetColor(cr, pal::kNight);
    cairo_fill_preserve(cr);
    SetColor(cr, pal::kGold);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    Crescent(cr, x + 38, y + 60, 11, 0.5);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    SetColor(cr, pal::kGold);
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    Star(cr, x + 47, y + 55, 3.5, 1.4, 5);
    cairo_fill(cr);
}

void DrawDummyCard(cairo_t* cr, double x, double y, int k) {
    Saved s(cr);
    RoundRect(cr, x + 0.5, y + 0.5, kW - 1, kH - 1, 6);
    FillVertical(cr, y, y + kH, Hex(0xB9BAC2), Hex(0x8E9099));
    RoundRect(cr, x + 4, y + 4, kW - 8, kH - 8, 4);
    const double dash[2] = {4, 3};
    cairo_set_dash(cr, dash, 2, k * 1.5);
    SetColor(cr, Hex(0x5E606A), 0.9);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    // A faint sigil, different on each of the five.
    const double cx = x + 40, cy = y + 54;
    SetColor(cr, Hex(0x4C4E58), 0.45);
    cairo_set_line_width(cr, 2.2);
    switch (k) {
        case 0:
            cairo_arc(cr, cx, cy, 16, 0, 2 * M_PI);
            cairo_move_to(cr, cx - 11, cy - 11);
            cairo_line_to(cr, cx + 11, cy + 11);
            cairo_stroke(cr);
            break;
        case 1:
            cairo_move_to(cr, cx, cy - 18);
            cairo_line_to(cr, cx + 16, cy + 12);
            cairo_line_to(cr, cx - 16, cy + 12);
            cairo_close_path(cr);
            cairo_stroke(cr);
            cairo_arc(cr, cx, cy + 3, 4, 0, 2 * M_PI);
            cairo_stroke(cr);
            break;
        case 2:
            for (int i = 0; i < 28; ++i) {
                const double a = i * 0.45, r = 2 + i * 0.6;
                cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
            }
            cairo_stroke(cr);
            break;
        case 3:
            cairo_move_to(cr, cx - 14, cy - 16);
            cairo_line_to(cr, cx + 14, cy - 16);
            cairo_line_to(cr, cx - 14, cy + 16);
            cairo_line_to(cr, cx + 14, cy + 16);
            cairo_close_path(cr);
            cairo_stroke(cr);
            break;
        default:
            cairo_move_to(cr, cx - 18, cy);
            cairo_curve_to(cr, cx - 8, cy - 12, cx + 8, cy - 12, cx + 18, cy);
            cairo_curve_to(cr, cx + 8, cy + 12, cx - 8, cy + 12, cx - 18, cy);
            cairo_close_path(cr);
            cairo_stroke(cr);
            cairo_arc(cr, cx, cy, 4.5, 0, 2 * M_PI);
            cairo_fill(cr);
            break;
    }
    Text(cr, "DUMMY", x + 40, y + 98, 12, Hex(0x55575F), Align::Center);
}

}  // namespace forge

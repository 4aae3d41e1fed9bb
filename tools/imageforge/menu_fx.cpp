// Pictures for the title menu's animations, the host pick, the credit roll and the
// advertisement: light on the sea, host-coloured sparkles, the quick-match button, the pick's
// caption and panel glows, the credit roll strips and the advertisement's lettering; and the
// options overlay's pieces (panel, row plates, slider, switch, records plates, its button).
#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "catalog.h"
#include "forge.h"

namespace forge {

namespace {

// The credit roll is one 960 x 4096 strip cut into two 2048-high pictures; the animation lays
// them edge to edge, so a line may cross the seam.
constexpr double kRollWidth = 960;
constexpr double kRollPiece = 2048;
constexpr double kRollLength = 2 * kRollPiece;

void StrokePath(cairo_t* cr, Rgb c, double w, double a) {
    SetColor(cr, c, a);
    cairo_set_line_width(cr, w);
    cairo_stroke(cr);
}

std::string Lower(std::string s) {
    for (char& ch : s) {
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return s;
}

// Host index for "<prefix><host lower-case>.png", or -1.
int HostFromName(const std::string& n, const std::string& prefix) {
    for (int h = 0; h < 5; ++h) {
        if (n == prefix + Lower(kHostNames[h]) + ".png") {
            return h;
        }
    }
    return -1;
}

// A soft glow filling an ellipse, so that a glow behind lettering stays inside its picture.
void EllipseGlow(cairo_t* cr, double cx, double cy, double rx, double ry, Rgb c, double alpha) {
    Saved s(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 0.5, c.r, c.g, c.b, alpha * 0.45);
    cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// Several lines of text centred on x, the first at cy, stepping by lead.
void Lines(cairo_t* cr, const std::vector<std::string>& lines, double x, double cy, double lead, double size,
           Rgb fill, double outline, Rgb outlineColor) {
    for (size_t i = 0; i < lines.size(); ++i) {
        Text(cr, lines[i], x, cy + lead * static_cast<double>(i), size, fill, Align::Center, outline,
             outlineColor);
    }
}

// ---- Title ---------------------------------------------------------------------------------

void SeaLight(cairo_t* cr, double w, double h, uint32_t seed) {
    // The moon's path on the water: short glints, narrow and sparse near the horizon, wider
    // and scattered towards the shore.
    Lcg rng(seed);
    for (int i = 0; i < 150; ++i) {
        const double t = std::pow(rng.Unit(), 0.8);
        const double y = 3 + t * (h - 6);
        const double spread = (0.08 + 0.38 * t) * w * (rng.Unit() - 0.5) * 2 * rng.Unit();
        const double len = 8 + 46 * t * rng.Range(0.4, 1.0);
        const double x = w / 2 + spread;
        cairo_move_to(cr, x - len / 2, y);
        cairo_line_to(cr, x + len / 2, y);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        StrokePath(cr, Hex(0xFFF0C8), 1.5 + 2 * t, rng.Range(0.25, 0.75) * (1 - 0.5 * std::fabs(spread) / (w / 2)));
    }
    Glow(cr, w / 2, 10, w * 0.3, Hex(0xFFF4D0), 0.25);
}

void Glint(cairo_t* cr, double w, double h) {
    Saved s(cr);
    cairo_translate(cr, w / 2, h / 2);
    cairo_scale(cr, w / 2, h / 2);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.97, 0.85, 0.95);
    cairo_pattern_add_color_stop_rgba(p, 0.35, 1, 0.94, 0.78, 0.45);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 0.94, 0.78, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void HostSparkle(cairo_t* cr, double w, int host) {
    const Rgb c = HostColor(host);
    Glow(cr, w / 2, w / 2, w * 0.45, c, 0.7);
    Sparkle(cr, w / 2, w / 2, w * 0.46);
    Fill(cr, Lighter(c, 0.45));
    Sparkle(cr, w / 2, w / 2, w * 0.22);
    Fill(cr, Rgb{1, 1, 1}, 0.95);
}

void QuickButton(cairo_t* cr, double w, double h, bool on) {
    if (on) {
        Glow(cr, w / 2, h / 2, w * 0.5, pal::kGold, 0.35);
    }
    GoldPlate(cr, 4, 4, w - 8, h - 8, (h - 8) / 2, on);
    Text(cr, "クイック対戦", w / 2 - 24, h / 2 - 2, 22, Hex(0x2A1A06), Align::Center);
    Text(cr, "QUICK", w - 52, h / 2 - 2, 12, Hex(0x5A3A10), Align::Center);
}

void Moon(cairo_t* cr, double w) {
    Glow(cr, w / 2, w / 2, w * 0.5, Hex(0xFFE6A0), 0.45);
    Crescent(cr, w / 2 - 6, w / 2, w * 0.3, 0.45);
    FillVertical(cr, w * 0.2, w * 0.8, Hex(0xFFF8E0), pal::kGold);
    Star(cr, w * 0.7, w * 0.3, w * 0.07, w * 0.028, 5);
    Fill(cr, Hex(0xFFF6D8));
}

// ---- Host pick -----------------------------------------------------------------------------

void Caption(cairo_t* cr, double w, double h) {
    RoundRect(cr, 6, 6, w - 12, h - 12, (h - 12) / 2);
    FillVertical(cr, 6, h - 6, Hex(0x8A2A50), pal::kWine, 0.95);
    RoundRect(cr, 6, 6, w - 12, h - 12, (h - 12) / 2);
    StrokePath(cr, pal::kGold, 3, 1);
    RoundRect(cr, 13, 13, w - 26, h - 26, (h - 26) / 2);
    StrokePath(cr, pal::kGold, 1, 0.5);
    Text(cr, "お相手を選んでください", w / 2, h * 0.42, 32, Hex(0xFFE8B0), Align::Center, 2.5, Hex(0x3A0A1A));
    Text(cr, "CHOOSE YOUR HOST", w / 2, h * 0.75, 13, pal::kGold, Align::Center);
    for (double sx : {44.0, w - 44}) {
        Star(cr, sx, h / 2, 11, 4.5, 5);
        Fill(cr, pal::kGold);
    }
}

// Additive gold glow around a 240 x 360 panel centred in the picture.
void SlotGlow(cairo_t* cr, double w, double h) {
    const double pw = 240, ph = 360, x = (w - pw) / 2, y = (h - ph) / 2;
    for (int i = 10; i >= 1; --i) {
        RoundRect(cr, x - i * 1.6, y - i * 1.6, pw + i * 3.2, ph + i * 3.2, 18 + i * 1.6);
        StrokePath(cr, Hex(0xFFC860), 3.2, 0.05 * (11 - i));
    }
    RoundRect(cr, x, y, pw, ph, 18);
    StrokePath(cr, Hex(0xFFF0C0), 3, 0.95);
}

void SlotFlash(cairo_t* cr, double w, double h) {
    RoundRect(cr, 2, 2, w - 4, h - 4, 18);
    cairo_pattern_t* p = cairo_pattern_create_radial(w / 2, h / 2, 0, w / 2, h / 2, h * 0.6);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 0.95, 0.95);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 0.9, 0.7, 0.4);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// ---- Credit roll ---------------------------------------------------------------------------

enum class Kind { Title, Kana, Heading, Role, Name, Note, Gap };

struct RollLine {
    Kind kind;
    const char* text;
};

constexpr RollLine kRoll[] = {
    {Kind::Title, "Tarnwick Ostrelle Night"},
    {Kind::Kana, "ターンウィック・オストレル・ナイト"},
    {Kind::Gap, ""},
    {Kind::Heading, "制作"},
    {Kind::Name, "Tarnwick Night Works"},
    {Kind::Gap, ""},
    {Kind::Role, "演出 / Direction"},
    {Kind::Name, "Tarnwick Night Works"},
    {Kind::Role, "プログラム / Programming"},
    {Kind::Name, "Tarnwick Night Works"},
    {Kind::Role, "絵 / Pictures"},
    {Kind::Name, "Tarnwick Night Works"},
    {Kind::Role, "音楽・効果音・声 / Music and Sound"},
    {Kind::Name, "Tarnwick Night Works"},
    {Kind::Note, "絵も音も声も、すべてこのリポジトリのコードが描き、奏でています。"},
    {Kind::Gap, ""},
    {Kind::Heading, "オストレルの夜を彩る人々"},
    {Kind::Role, "氷と封印のホスト"},
    {Kind::Name, "Pemra"},
    {Kind::Role, "呪いと死神のホスト"},
    {Kind::Name, "Otsel"},
    {Kind::Role, "写し身と鏡のホスト"},
    {Kind::Name, "Quenvar"},
    {Kind::Role, "魅了と錠前のホスト"},
    {Kind::Name, "Iblen"},
    {Kind::Role, "サロンの主"},
    {Kind::Name, "Rosweth"},
    {Kind::Gap, ""},
    {Kind::Heading, "このゲームを支えるライブラリ"},
    {Kind::Name, "SDL2"},
    {Kind::Role, "zlib License"},
    {Kind::Name, "libepoxy"},
    {Kind::Role, "MIT License"},
    {Kind::Name, "FreeType"},
    {Kind::Role, "The FreeType License"},
    {Kind::Note, "Portions of this software are copyright © The FreeType Project (www.freetype.org)."},
    {Kind::Name, "libvorbis / libogg"},
    {Kind::Role, "BSD-style License, Xiph.Org Foundation"},
    {Kind::Name, "GNU libiconv / glibc iconv"},
    {Kind::Role, "GNU Lesser General Public License"},
    {Kind::Name, "フォント Klee One"},
    {Kind::Role, "SIL Open Font License 1.1, Fontworks Inc."},
    {Kind::Gap, ""},
    {Kind::Heading, "絵と音をつくる道具"},
    {Kind::Name, "cairo"},
    {Kind::Role, "LGPL 2.1 / MPL 1.1"},
    {Kind::Name, "libpng"},
    {Kind::Role, "libpng License"},
    {Kind::Name, "libvorbisenc"},
    {Kind::Role, "BSD-style License, Xiph.Org Foundation"},
    {Kind::Name, "fontTools"},
    {Kind::Role, "MIT License"},
    {Kind::Name, "GoogleTest / Google Benchmark"},
    {Kind::Role, "BSD 3-Clause License / Apache License 2.0"},
    {Kind::Note, "それぞれの作り手と、支えるすべての方々に感謝を。"},
    {Kind::Gap, ""},
    {Kind::Heading, "Special Thanks"},
    {Kind::Name, "港町ターンウィックの夜と、"},
    {Kind::Name, "ここまで遊んでくれたあなたへ。"},
};

double NaturalHeight(Kind k) {
    switch (k) {
        case Kind::Title: return 110;
        case Kind::Kana: return 70;
        case Kind::Heading: return 90;
        case Kind::Role: return 40;
        case Kind::Name: return 58;
        case Kind::Note: return 56;
        case Kind::Gap: return 0;
    }
    return 0;
}

// Draws the whole strip; the caller's translation picks the piece.
void DrawRoll(cairo_t* cr) {
    constexpr double kTop = 120, kBottom = 160;
    double natural = 0;
    int gaps = 0;
    for (const RollLine& l : kRoll) {
        natural += NaturalHeight(l.kind);
        gaps += l.kind == Kind::Gap;
    }
    // The spare length is shared by the section gaps, so the roll fills its strip evenly.
    const double gap = (kRollLength - kTop - kBottom - natural) / gaps;
    const Rgb shadow = Hex(0x1A1830);
    double y = kTop;
    for (const RollLine& l : kRoll) {
        const double h = l.kind == Kind::Gap ? gap : NaturalHeight(l.kind);
        const double cy = y + h / 2, cx = kRollWidth / 2;
        switch (l.kind) {
            case Kind::Title:
                EllipseGlow(cr, cx, cy, 420, 120, Hex(0xFFE6A0), 0.25);
                Text(cr, l.text, cx, cy, 64, Hex(0xFFE8A8), Align::Center, 4, shadow);
                break;
            case Kind::Kana:
                Text(cr, l.text, cx, cy, 28, pal::kMoon, Align::Center, 2.5, shadow);
                break;
            case Kind::Heading:
                Text(cr, l.text, cx, cy, 34, pal::kGold, Align::Center, 3, shadow);
                cairo_move_to(cr, cx - 180, cy + 30);
                cairo_line_to(cr, cx + 180, cy + 30);
                StrokePath(cr, pal::kGold, 1.5, 0.7);
                break;
            case Kind::Role:
                Text(cr, l.text, cx, cy, 21, Hex(0xDCE4F4), Align::Center, 2, shadow);
                break;
            case Kind::Name:
                Text(cr, l.text, cx, cy, FitSize(cr, l.text, kRollWidth - 60, 32), pal::kMoon, Align::Center, 2.5,
                     shadow);
                break;
            case Kind::Note:
                Text(cr, l.text, cx, cy, FitSize(cr, l.text, kRollWidth - 60, 20), Hex(0xF6E2B8), Align::Center, 2,
                     shadow);
                break;
            case Kind::Gap:
                if (y > kTop) {
                    Star(cr, cx, cy, 9, 3.6, 5);
                    Fill(cr, pal::kGold, 0.8);
                }
                break;
        }
        y += h;
    }
}

void CreditEnd(cairo_t* cr, double w, double h) {
    EllipseGlow(cr, w / 2, h / 2, w / 2, h / 2, Hex(0xFFE0A0), 0.3);
    const Rgb shadow = Hex(0x1A1830);
    Text(cr, "夜明けまでのお付き合い、ありがとうございました。", w / 2, h * 0.32, 34, Hex(0xFFF2D0), Align::Center,
         3, shadow);
    Text(cr, "また今夜、オストレルでお会いしましょう。", w / 2, h * 0.68, 34, Hex(0xFFE0A0), Align::Center, 3,
         shadow);
}

// ---- Advertisement -------------------------------------------------------------------------

struct AdvertLine {
    int host;
    const char* line1;
    const char* line2;
};

constexpr AdvertLine kAdvertLines[] = {
    {0, "静かな夜には、冷たいカードがよく似合います。", "……手加減は、いたしませんので。"},
    {1, "にひひ、今夜のカードはぜーんぶ呪っちゃうよ～。", "逃げるなら今のうちじゃん？"},
    {2, "さあさあ、ご覧あれ！", "今宵のエースは、なんと五枚でございます！"},
    {3, "あら、いらっしゃい。わたしの鏡に映った手札……", "こっそり見せてあげようかしら。"},
    {4, "この卓では、規則こそが主だ。", "……だが、勇気ある客人は歓迎しよう。"},
};

void AdvertLinePicture(cairo_t* cr, double w, double h, int host) {
    const Rgb c = HostColor(host);
    RoundRect(cr, 8, 24, w - 16, h - 32, 22);
    FillVertical(cr, 24, h - 8, Mix(pal::kNight2, c, 0.25), pal::kNight, 0.9);
    RoundRect(cr, 8, 24, w - 16, h - 32, 22);
    StrokePath(cr, Lighter(c, 0.3), 3, 1);
    // Name plate on the frame's upper edge.
    const double px = 40, pw = 220;
    RoundRect(cr, px, 6, pw, 40, 20);
    FillVertical(cr, 6, 46, Darker(c, 0.3), Darker(c, 0.65), 1);
    RoundRect(cr, px, 6, pw, 40, 20);
    StrokePath(cr, pal::kGold, 2, 1);
    Text(cr, kHostNames[host], px + pw / 2, 26, 24, pal::kMoon, Align::Center, 2, Darker(c, 0.8));
    for (const AdvertLine& l : kAdvertLines) {
        if (l.host == host) {
            const double size = std::min(FitSize(cr, l.line1, w - 90, 34), FitSize(cr, l.line2, w - 90, 34));
            Lines(cr, {l.line1, l.line2}, w / 2, 24 + (h - 32) * 0.36, 44, size, pal::kMoon, 2.5, pal::kNight);
        }
    }
    Sparkle(cr, w - 44, 46, 12);
    Fill(cr, Lighter(c, 0.5));
}

void AdvertTitle(cairo_t* cr, double w, double h) {
    EllipseGlow(cr, w / 2, h / 2, w / 2, h / 2, Hex(0x0E1730), 0.55);
    Text(cr, "港町ターンウィック、時計塔のいちばん上に", w / 2, h * 0.3, 32, pal::kMoon, Align::Center, 2.5, pal::kNight);
    Text(cr, "夜だけ開くカードサロンがある。", w / 2, h * 0.7, 52, Hex(0xFFE8B0), Align::Center, 3.5, pal::kNight);
}

void AdvertInvite(cairo_t* cr, double w, double h) {
    NightPanel(cr, 6, 6, w - 12, h - 12, 26, 0.88);
    Text(cr, "Tarnwick Ostrelle Night", w / 2, h * 0.36, 60, Hex(0xFFE8A8), Align::Center, 3.5, pal::kNight);
    Text(cr, "メダルを賭けて、五人のホストと夜ふかしを。", w / 2, h * 0.74, 30, pal::kMoon, Align::Center, 2,
         pal::kNight);
    for (double sx : {48.0, w - 48}) {
        Crescent(cr, sx, h * 0.36, 20, 0.5);
        Fill(cr, pal::kGold);
    }
}

// ---- Options overlay -------------------------------------------------------------------------

void OptionsButton(cairo_t* cr, double w, double h, bool on) {
    if (on) {
        Glow(cr, w / 2, h / 2, w * 0.5, pal::kGold, 0.35);
    }
    GoldPlate(cr, 4, 4, w - 8, h - 8, (h - 8) / 2, on);
    Text(cr, "オプション", w / 2 - 24, h / 2 - 2, 22, Hex(0x2A1A06), Align::Center);
    Text(cr, "OPTIONS", w - 54, h / 2 - 2, 12, Hex(0x5A3A10), Align::Center);
}

// A crescent with a small star beside it, the salon's mark, in lantern gold.
void MoonMark(cairo_t* cr, double cx, double cy, double r, double alpha) {
    Crescent(cr, cx, cy, r, 0.45);
    Fill(cr, pal::kGold, alpha);
    Star(cr, cx + r * 1.15, cy - r * 0.7, r * 0.32, r * 0.13, 5);
    Fill(cr, pal::kMoon, alpha);
}

// The overlay's panel: night blue with a double gold border, moon marks in the corners, a faint
// scatter of stars and a gold rule under the heading.
void OptionsPanel(cairo_t* cr, double w, double h) {
    RoundRect(cr, 1, 1, w - 2, h - 2, 18);
    FillVertical(cr, 0, h, pal::kNight2, pal::kNight, 0.97);
    Lcg rng(4417);
    for (int i = 0; i < 70; ++i) {
        const double x = rng.Range(20, w - 20), y = rng.Range(20, h - 20), r = rng.Range(0.6, 1.6);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        Fill(cr, pal::kMoon, rng.Range(0.08, 0.25));
    }
    Glow(cr, w / 2, 0, w * 0.45, pal::kGold, 0.10);
    RoundRect(cr, 2, 2, w - 4, h - 4, 17);
    StrokePath(cr, pal::kGold, 3, 1);
    RoundRect(cr, 9, 9, w - 18, h - 18, 12);
    StrokePath(cr, pal::kGold, 1, 0.45);
    for (double cx : {30.0, w - 44}) {
        for (double cy : {30.0, h - 30}) {
            MoonMark(cr, cx, cy, 9, 0.85);
        }
    }
    // The rule under the heading, fading out towards both ends.
    cairo_pattern_t* p = cairo_pattern_create_linear(40, 0, w - 40, 0);
    cairo_pattern_add_color_stop_rgba(p, 0, pal::kGold.r, pal::kGold.g, pal::kGold.b, 0);
    cairo_pattern_add_color_stop_rgba(p, 0.5, pal::kGold.r, pal::kGold.g, pal::kGold.b, 0.8);
    cairo_pattern_add_color_stop_rgba(p, 1, pal::kGold.r, pal::kGold.g, pal::kGold.b, 0);
    cairo_rectangle(cr, 40, 66, w - 80, 1.5);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// A row's plate: a dim band with a gold hairline below; lit, a lantern glow from the left with a
// gold border and a small diamond at the left end.
void OptionsRow(cairo_t* cr, double w, double h, bool lit) {
    RoundRect(cr, 1, 1, w - 2, h - 2, 8);
    if (!lit) {
        FillVertical(cr, 0, h, pal::kNight2, pal::kNight, 0.45);
        cairo_rectangle(cr, 12, h - 2, w - 24, 1);
        Fill(cr, pal::kGold, 0.25);
        return;
    }
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.91, 0.71, 0.30, 0.55);
    cairo_pattern_add_color_stop_rgba(p, 0.6, 0.91, 0.71, 0.30, 0.22);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.91, 0.71, 0.30, 0.10);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    RoundRect(cr, 1.5, 1.5, w - 3, h - 3, 8);
    StrokePath(cr, pal::kGold, 1.5, 0.9);
    Diamond(cr, 7, h / 2, 9);
    Fill(cr, pal::kMoon, 0.95);
}

// The slider: a groove, the gold fill that the game cuts to the value, and the knob.
void OptionsTrack(cairo_t* cr, double w, double h, bool fill) {
    RoundRect(cr, 5, h / 2 - 4, w - 10, 8, 4);
    if (fill) {
        FillVertical(cr, h / 2 - 4, h / 2 + 4, Hex(0xFFE59A), Hex(0xC7882A));
        return;
    }
    FillVertical(cr, h / 2 - 4, h / 2 + 4, Hex(0x070C1C), pal::kNight2);
    RoundRect(cr, 4.5, h / 2 - 4.5, w - 9, 9, 4.5);
    StrokePath(cr, pal::kGold, 1, 0.6);
}

void OptionsKnob(cairo_t* cr, double w, double h) {
    RoundRect(cr, 2, 3, w - 4, h - 4, (w - 4) / 2);
    SetColor(cr, Rgb{0, 0, 0}, 0.35);
    cairo_fill(cr);
    GoldPlate(cr, 2, 1, w - 4, h - 3, (w - 4) / 2, true);
    Crescent(cr, w / 2, h / 2 - 1, w * 0.2, 0.45);
    Fill(cr, Hex(0x7A4E12), 0.8);
}

// The switch: off, a dark pill with its knob to the left; on, a gold pill with the knob to the
// right and the moon mark.
void OptionsToggle(cairo_t* cr, double w, double h, bool on) {
    RoundRect(cr, 1, 1, w - 2, h - 2, (h - 2) / 2);
    if (on) {
        FillVertical(cr, 0, h, Hex(0xF2BE52), Hex(0xC7882A));
    } else {
        FillVertical(cr, 0, h, Hex(0x070C1C), pal::kNight2);
    }
    RoundRect(cr, 1.5, 1.5, w - 3, h - 3, (h - 3) / 2);
    StrokePath(cr, pal::kGold, 1.5, on ? 1.0 : 0.6);
    const double r = h / 2 - 4, cx = on ? w - h / 2 : h / 2;
    cairo_arc(cr, cx, h / 2, r, 0, 2 * M_PI);
    if (on) {
        Fill(cr, pal::kMoon);
        Crescent(cr, cx, h / 2, r * 0.6, 0.45);
        Fill(cr, pal::kGold);
    } else {
        Fill(cr, Hex(0x8A93B0));
    }
}

// The records plate under a host of the pick, and a host's block on the records page.
void RecordsPlate(cairo_t* cr, double w, double h) {
    NightPanel(cr, 2, 2, w - 4, h - 4, 12, 0.94);
    MoonMark(cr, w - 30, 20, 7, 0.9);
}

void RecordBlock(cairo_t* cr, double w, double h) {
    RoundRect(cr, 1, 1, w - 2, h - 2, 10);
    FillVertical(cr, 0, h, pal::kNight2, pal::kNight, 0.55);
    RoundRect(cr, 1.5, 1.5, w - 3, h - 3, 10);
    StrokePath(cr, pal::kGold, 1, 0.5);
    cairo_rectangle(cr, 150, 10, 1, h - 20);
    Fill(cr, pal::kGold, 0.4);
}

}  // namespace

bool DrawMenuPicture(Canvas& c, const char* name) {
    cairo_t* cr = c.cr();
    const double W = c.width(), H = c.height();
    const std::string n = name;
    if (n == "menu_sea_light_01.png" || n == "menu_sea_light_02.png") {
        SeaLight(cr, W, H, n == "menu_sea_light_01.png" ? 31 : 32);
    } else if (n == "menu_glint.png") {
        Glint(cr, W, H);
    } else if (HostFromName(n, "menu_sparkle_") >= 0) {
        HostSparkle(cr, W, HostFromName(n, "menu_sparkle_"));
    } else if (n == "menu_btn_quick.png" || n == "menu_btn_quick_on.png") {
        QuickButton(cr, W, H, n == "menu_btn_quick_on.png");
    } else if (n == "menu_btn_options.png" || n == "menu_btn_options_on.png") {
        OptionsButton(cr, W, H, n == "menu_btn_options_on.png");
    } else if (n == "options_panel.png") {
        OptionsPanel(cr, W, H);
    } else if (n == "options_row.png" || n == "options_row_on.png") {
        OptionsRow(cr, W, H, n == "options_row_on.png");
    } else if (n == "options_track.png" || n == "options_track_fill.png") {
        OptionsTrack(cr, W, H, n == "options_track_fill.png");
    } else if (n == "options_knob.png") {
        OptionsKnob(cr, W, H);
    } else if (n == "options_toggle_on.png" || n == "options_toggle_off.png") {
        OptionsToggle(cr, W, H, n == "options_toggle_on.png");
    } else if (n == "options_record.png") {
        RecordBlock(cr, W, H);
    } else if (n == "records_plate.png") {
        RecordsPlate(cr, W, H);
    } else if (n == "menu_moon.png") {
        Moon(cr, W);
    } else if (n == "menu_select_caption.png") {
        Caption(cr, W, H);
    } else if (n == "menu_slot_glow.png") {
        SlotGlow(cr, W, H);
    } else if (n == "menu_slot_flash.png") {
        SlotFlash(cr, W, H);
    } else if (n == "credit_roll_01.png" || n == "credit_roll_02.png") {
        Saved s(cr);
        cairo_translate(cr, 0, n == "credit_roll_02.png" ? -kRollPiece : 0);
        DrawRoll(cr);
    } else if (n == "credit_end.png") {
        CreditEnd(cr, W, H);
    } else if (HostFromName(n, "cm_line_") >= 0) {
        AdvertLinePicture(cr, W, H, HostFromName(n, "cm_line_"));
    } else if (n == "cm_title.png") {
        AdvertTitle(cr, W, H);
    } else if (n == "cm_invite.png") {
        AdvertInvite(cr, W, H);
    } else {
        return false;
    }
    return true;
}

}  // namespace forge

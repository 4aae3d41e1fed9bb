// Pictures for the match's animation files: the player's magic circle, card-sized sprites, frost,
// seals, arrows, the ability captions and the help texts of the tips panel.
#include <cmath>
#include <string>

#include "catalog.h"
#include "forge.h"

namespace forge {

namespace {

void Stroke(cairo_t* cr, Rgb c, double w, double a = 1) {
    SetColor(cr, c, a);
    cairo_set_line_width(cr, w);
    cairo_stroke(cr);
}

// The player's magic: a glassy ring of gold and moonlight with a crescent and star runes.
void GoldCircle(cairo_t* cr, double cx, double cy, double r) {
    Glow(cr, cx, cy, r, Hex(0xFFE6A0), 0.35);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.92, 0, 2 * M_PI);
    Stroke(cr, Hex(0xFFE8A8), r * 0.035, 0.95);
    cairo_arc(cr, cx, cy, r * 0.8, 0, 2 * M_PI);
    Stroke(cr, pal::kMoon, r * 0.015, 0.8);
    cairo_arc(cr, cx, cy, r * 0.52, 0, 2 * M_PI);
    Stroke(cr, Hex(0xFFE8A8), r * 0.02, 0.8);
    // Twelve star runes between the outer rings, a hexagram inside.
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        Star(cr, cx + r * 0.86 * std::cos(a), cy + r * 0.86 * std::sin(a), r * 0.05, r * 0.02, 4, a * 180 / M_PI);
        Fill(cr, pal::kMoon, 0.95);
    }
    for (int t = 0; t < 2; ++t) {
        for (int i = 0; i < 3; ++i) {
            const double a = -M_PI / 2 + t * M_PI / 3 + i * 2 * M_PI / 3;
            const double x = cx + r * 0.78 * std::cos(a), y = cy + r * 0.78 * std::sin(a);
            i == 0 ? cairo_move_to(cr, x, y) : cairo_line_to(cr, x, y);
        }
        cairo_close_path(cr);
        Stroke(cr, Hex(0xFFE8A8), r * 0.012, 0.7);
    }
    Crescent(cr, cx - r * 0.05, cy, r * 0.3, 0.45);
    FillVertical(cr, cy - r * 0.3, cy + r * 0.3, Hex(0xFFF6D8), pal::kGold, 0.9);
}

// A soft card-shaped glow for additive highlights of one card slot.
void CardGlow(cairo_t* cr, double w, double h) {
    for (int i = 0; i < 14; ++i) {
        const double inset = i * 2.0;
        RoundRect(cr, inset, inset, w - 2 * inset, h - 2 * inset, 14);
        SetColor(cr, Rgb{1, 1, 1}, 0.05 + i * 0.012);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }
    RoundRect(cr, 28, 28, w - 56, h - 56, 8);
    Fill(cr, Rgb{1, 1, 1}, 0.18);
}

// An icy frame over a frozen card: pale rim, crystals in the corners, a snowflake in the middle.
void FrostCard(cairo_t* cr, double w, double h) {
    const Rgb ice = HostColor(0);
    RoundRect(cr, 6, 6, w - 12, h - 12, 8);
    FillVertical(cr, 6, h - 6, Lighter(ice, 0.7), ice, 0.35);
    RoundRect(cr, 6, 6, w - 12, h - 12, 8);
    Stroke(cr, Hex(0xF2FBFF), 4, 0.95);
    const double corners[4][2] = {{10, 10}, {w - 10, 10}, {10, h - 10}, {w - 10, h - 10}};
    for (const auto& c : corners) {
        for (int i = 0; i < 5; ++i) {
            const double a = i * 2 * M_PI / 5 + c[0] * 0.01;
            cairo_move_to(cr, c[0], c[1]);
            cairo_line_to(cr, c[0] + 16 * std::cos(a), c[1] + 16 * std::sin(a));
        }
        Stroke(cr, Hex(0xF2FBFF), 2.5, 0.9);
    }
    SetColor(cr, Hex(0xF2FBFF), 0.85);
    Snowflake(cr, w / 2, h / 2, w * 0.24, 3);
    cairo_stroke(cr);
}

// Pemra's seal: a snowflake rune circle.
void IceSeal(cairo_t* cr, double cx, double cy, double r) {
    const Rgb ice = HostColor(0);
    Glow(cr, cx, cy, r, ice, 0.4);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.9, 0, 2 * M_PI);
    Stroke(cr, Hex(0xE6F7FF), r * 0.04);
    cairo_arc(cr, cx, cy, r * 0.74, 0, 2 * M_PI);
    Stroke(cr, ice, r * 0.02);
    for (int i = 0; i < 6; ++i) {
        const double a = i * M_PI / 3;
        Star(cr, cx + r * 0.82 * std::cos(a), cy + r * 0.82 * std::sin(a), r * 0.06, r * 0.025, 6, 0);
        Fill(cr, Hex(0xF2FBFF));
    }
    SetColor(cr, Hex(0xF2FBFF), 0.95);
    Snowflake(cr, cx, cy, r * 0.6, r * 0.05);
    cairo_stroke(cr);
}

// A fat arrow (up or down) with "+1" / "-1" lettering.
void RankArrow(cairo_t* cr, double w, double h, bool up) {
    Saved s(cr);
    if (!up) {
        cairo_translate(cr, 0, h);
        cairo_scale(cr, 1, -1);
    }
    Glow(cr, w / 2, h / 2, w * 0.5, Hex(0xFFE6A0), 0.4);
    cairo_move_to(cr, w / 2, h * 0.06);
    cairo_line_to(cr, w * 0.9, h * 0.46);
    cairo_line_to(cr, w * 0.66, h * 0.46);
    cairo_line_to(cr, w * 0.66, h * 0.94);
    cairo_line_to(cr, w * 0.34, h * 0.94);
    cairo_line_to(cr, w * 0.34, h * 0.46);
    cairo_line_to(cr, w * 0.1, h * 0.46);
    cairo_close_path(cr);
    cairo_path_t* p = cairo_copy_path(cr);
    FillVertical(cr, 0, h, Hex(0xFFF6D8), pal::kGold, 0.95);
    cairo_append_path(cr, p);
    Stroke(cr, Hex(0x8A5A14), 3);
    cairo_path_destroy(p);
}

void TopHat(cairo_t* cr, double cx, double cy, double s) {
    Glow(cr, cx, cy, s * 0.5, pal::kGold, 0.35);
    cairo_save(cr);
    cairo_scale(cr, 1, 0.28);
    cairo_arc(cr, cx, (cy + s * 0.22) / 0.28, s * 0.42, 0, 2 * M_PI);
    cairo_restore(cr);
    Fill(cr, Hex(0x15151E));
    RoundRect(cr, cx - s * 0.25, cy - s * 0.32, s * 0.5, s * 0.54, s * 0.04);
    FillVertical(cr, cy - s * 0.32, cy + s * 0.22, Hex(0x2A2A3A), Hex(0x101018));
    cairo_rectangle(cr, cx - s * 0.25, cy + s * 0.08, s * 0.5, s * 0.07);
    Fill(cr, pal::kGold);
    for (int i = 0; i < 3; ++i) {
        Sparkle(cr, cx - s * 0.3 + i * s * 0.3, cy - s * 0.38 - (i % 2) * s * 0.06, s * 0.05);
        Fill(cr, Hex(0xFFF6D8));
    }
}

// Four suits in a ring (SuitCopy) or four rank letters (RankCopy), gold on a glow.
void RingOfSigns(cairo_t* cr, double cx, double cy, double r, bool suits) {
    Glow(cr, cx, cy, r, pal::kGold, 0.35);
    const char* ranks[4] = {"A", "K", "Q", "J"};
    for (int i = 0; i < 4; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 2;
        const double x = cx + r * 0.55 * std::cos(a), y = cy + r * 0.55 * std::sin(a);
        cairo_arc(cr, x, y, r * 0.3, 0, 2 * M_PI);
        Fill(cr, pal::kCream, 0.95);
        cairo_arc(cr, x, y, r * 0.3, 0, 2 * M_PI);
        Stroke(cr, pal::kGold, 3);
        if (suits) {
            Suit(cr, i, x, y, r * 0.3);
            Fill(cr, SuitColor(i));
        } else {
            Text(cr, ranks[i], x, y, r * 0.32, pal::kInk, Align::Center);
        }
    }
}

struct Caption {
    const char* file;
    int host;     // -1 for the player
    int ability;  // the symbol's ability index (0..3) for hosts
    const char* text;
};

// Layer numbers 01..03 are abilities 1..3, 04 is ability 0.
constexpr Caption kCaptions[] = {
    {"cap_player_01.png", -1, 0, "ランクアップ"},      {"cap_player_02.png", -1, 1, "ランクダウン"},
    {"cap_player_03.png", -1, 2, "ジョーカースワップ"}, {"cap_player_04.png", -1, 3, "シースルー"},
    {"cap_player_05.png", -1, 4, "ダミーカード"},      {"cap_player_06.png", -1, 5, "テーブルボム"},
    {"cap_player_07.png", -1, 6, "ダブルベット"},      {"cap_player_08.png", -1, 7, "デッキピーク"},
    {"cap_pemra_01.png", 0, 1, "シールワード"},        {"cap_pemra_02.png", 0, 2, "フリーズガスト"},
    {"cap_pemra_03.png", 0, 3, "ロスダブラー"},        {"cap_pemra_04.png", 0, 0, "ディープフリーズ"},
    {"cap_otsel_01.png", 1, 1, "ダミーカース"},        {"cap_otsel_02.png", 1, 2, "カードリーパー"},
    {"cap_otsel_03.png", 1, 3, "ジョーカーコール"},    {"cap_otsel_04.png", 1, 0, "ハンドリセット"},
    {"cap_quenvar_01.png", 2, 1, "スートコピー"},      {"cap_quenvar_02.png", 2, 2, "ランクコピー"},
    {"cap_quenvar_03.png", 2, 3, "カードコピー"},      {"cap_quenvar_04.png", 2, 0, "ファイブエース"},
    {"cap_iblen_01.png", 3, 1, "アビリティロック"},    {"cap_iblen_02.png", 3, 2, "リフレクトカース"},
    {"cap_iblen_03.png", 3, 3, "チャームフォース"},    {"cap_iblen_04.png", 3, 0, "ホールドフリップ"},
    {"cap_rosweth_01.png", 4, 1, "コストドレイン"},    {"cap_rosweth_02.png", 4, 2, "クールダウンロック"},
    {"cap_rosweth_03.png", 4, 3, "ガードマーク"},      {"cap_rosweth_04.png", 4, 0, "タイブレーク"},
};

// The name of an ability as a ribbon: a dark plate fading at both ends, the symbol, the name.
void DrawCaption(Canvas& c, const Caption& cap) {
    cairo_t* cr = c.cr();
    const double W = c.width(), H = c.height();
    const Rgb col = cap.host < 0 ? pal::kGold : HostColor(cap.host);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, W, 0);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.05, 0.09, 0.19, 0);
    cairo_pattern_add_color_stop_rgba(p, 0.2, 0.05, 0.09, 0.19, 0.85);
    cairo_pattern_add_color_stop_rgba(p, 0.8, 0.05, 0.09, 0.19, 0.85);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.05, 0.09, 0.19, 0);
    cairo_rectangle(cr, 0, 10, W, H - 20);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    for (double y : {10.0, H - 10}) {
        cairo_pattern_t* l = cairo_pattern_create_linear(0, 0, W, 0);
        cairo_pattern_add_color_stop_rgba(l, 0, col.r, col.g, col.b, 0);
        cairo_pattern_add_color_stop_rgba(l, 0.5, col.r, col.g, col.b, 1);
        cairo_pattern_add_color_stop_rgba(l, 1, col.r, col.g, col.b, 0);
        cairo_rectangle(cr, 0, y - 1, W, 2);
        cairo_set_source(cr, l);
        cairo_fill(cr);
        cairo_pattern_destroy(l);
    }
    const double size = FitSize(cr, cap.text, W - 200, 36);
    const double tw = TextWidth(cr, cap.text, size);
    const double symX = W / 2 - tw / 2 - 10;
    if (cap.host < 0) {
        Sparkle(cr, symX - 18, H / 2, 20);
        Fill(cr, Hex(0xFFF6D8));
    } else {
        DrawHostAbilitySymbol(cr, cap.host, cap.ability, symX - 22, H / 2, 56);
    }
    Text(cr, cap.text, W / 2 + 12, H / 2, size, Lighter(col, 0.55), Align::Center, 3, Darker(col, 0.75));
}

struct TipsText {
    const char* file;
    const char* lines[4];
};

// Help texts laid over tips_panel.png (below its "TIPS" tab).
constexpr TipsText kTips[] = {
    {"tips_common.png",
     {"カードをクリック［1～5］… 残すカード（HOLD）", "DRAW［D］… HOLD以外のカードを交換",
      "勝負！［S］… この手でショーダウン", "魔法ボタン［A］… ゲージを使って魔法を発動"}},
    {"tips_deepfreeze.png", {"ディープフリーズ", "手札がすべて3ターン凍りつきます。", "凍ったカードは交換できず、", "魔法も3ターン封じられます。"}},
    {"tips_sealward.png", {"シールワード", "このターンの間、", "魔法ボタンが封じられます。", nullptr}},
    {"tips_freezegust.png", {"フリーズガスト", "手札がすべて1ターン凍りつきます。", "凍ったカードは交換されず", "そのまま残ります。"}},
    {"tips_dummycurse.png", {"ダミーカース", "光ったカードが3ターンの間", "ダミーカードになります。", "ダミーは役に数えられません。"}},
    {"tips_guardmark.png", {"ガードマーク", "オーナーが印をつけた魔法を使うと、", "コストや待ちターンが", "倍になることがあります。"}},
};

void DrawTips(Canvas& c, const TipsText& t) {
    cairo_t* cr = c.cr();
    const double W = c.width();
    const bool common = std::string(t.file) == "tips_common.png";
    double y = common ? 56 : 52;
    for (int i = 0; i < 4 && t.lines[i] != nullptr; ++i) {
        const bool title = !common && i == 0;
        const double size = FitSize(cr, t.lines[i], W - 48, title ? 24 : 19);
        Text(cr, t.lines[i], 24, y, size, title ? Lighter(pal::kGold, 0.3) : pal::kMoon, Align::Left, 2, pal::kNight);
        y += title ? 30 : 26;
    }
}

}  // namespace

bool DrawMatchPicture(Canvas& c, const char* name) {
    cairo_t* cr = c.cr();
    const double W = c.width(), H = c.height();
    const double cx = W / 2, cy = H / 2;
    const std::string n = name;
    for (const Caption& cap : kCaptions) {
        if (n == cap.file) {
            DrawCaption(c, cap);
            return true;
        }
    }
    for (const TipsText& t : kTips) {
        if (n == t.file) {
            DrawTips(c, t);
            return true;
        }
    }
    if (n == "eff_circle_gold.png") {
        GoldCircle(cr, cx, cy, W * 0.48);
    } else if (n == "eff_card_glow.png") {
        CardGlow(cr, W, H);
    } else if (n == "eff_card_joker.png") {
        DrawJoker(cr, 0, 0);
    } else if (n == "eff_card_dummy.png") {
        DrawDummyCard(cr, 0, 0, 0);
    } else if (n == "eff_card_back.png") {
        DrawCardBack(cr, 0, 0);
    } else if (n == "eff_card_ace.png") {
        DrawCardFace(cr, 0, 0, 0, 0);
    } else if (n == "eff_frost_card.png") {
        FrostCard(cr, W, H);
    } else if (n == "eff_seal.png") {
        IceSeal(cr, cx, cy, W * 0.48);
    } else if (n == "eff_arrow_up.png" || n == "eff_arrow_down.png") {
        const bool up = n == "eff_arrow_up.png";
        RankArrow(cr, W, H, up);
        Text(cr, up ? "+1" : "-1", cx, up ? H * 0.66 : H * 0.34, W * 0.24, pal::kNight, Align::Center, 2, pal::kMoon);
    } else if (n == "eff_x2.png" || n == "eff_x2_ice.png") {
        const Rgb col = n == "eff_x2.png" ? pal::kGold : HostColor(0);
        Glow(cr, cx, cy, W * 0.45, col, 0.45);
        Text(cr, "×2", cx, cy, H * 0.7, Lighter(col, 0.5), Align::Center, 5, Darker(col, 0.7));
    } else if (n == "eff_tophat.png") {
        TopHat(cr, cx, cy, W * 0.9);
    } else if (n == "eff_hourglass.png") {
        DrawHostAbilitySymbol(cr, 4, 2, cx, cy, W * 0.9);
    } else if (n == "eff_suits.png" || n == "eff_ranks.png") {
        RingOfSigns(cr, cx, cy, W * 0.45, n == "eff_suits.png");
    } else if (n == "eff_streak.png") {
        // A soft horizontal beam, brightest in the middle.
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, W, 0);
        cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0);
        cairo_pattern_add_color_stop_rgba(p, 0.5, 1, 1, 1, 1);
        cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, 0);
        cairo_pattern_t* m = cairo_pattern_create_linear(0, 0, 0, H);
        cairo_pattern_add_color_stop_rgba(m, 0, 0, 0, 0, 0);
        cairo_pattern_add_color_stop_rgba(m, 0.5, 0, 0, 0, 1);
        cairo_pattern_add_color_stop_rgba(m, 1, 0, 0, 0, 0);
        cairo_set_source(cr, p);
        cairo_mask(cr, m);
        cairo_pattern_destroy(p);
        cairo_pattern_destroy(m);
    } else if (n == "eff_arrow_tip.png") {
        // The tips panel's pointer: a gold arrow pointing down.
        Glow(cr, cx, cy, W * 0.5, pal::kGold, 0.4);
        cairo_move_to(cr, cx, H - 6);
        cairo_line_to(cr, W - 8, H * 0.5);
        cairo_line_to(cr, W * 0.66, H * 0.5);
        cairo_line_to(cr, W * 0.66, 6);
        cairo_line_to(cr, W * 0.34, 6);
        cairo_line_to(cr, W * 0.34, H * 0.5);
        cairo_line_to(cr, 8, H * 0.5);
        cairo_close_path(cr);
        cairo_path_t* p = cairo_copy_path(cr);
        FillVertical(cr, 0, H, Hex(0xFFF6D8), pal::kGold);
        cairo_append_path(cr, p);
        Stroke(cr, Hex(0x6A4A12), 2.5);
        cairo_path_destroy(p);
    } else {
        return false;
    }
    return true;
}

}  // namespace forge

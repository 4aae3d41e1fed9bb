#pragma once
// The names and sizes of every picture the forge draws, and the rectangles of the sheets that
// the game cuts pieces from. The generator draws from these tables and the tests check the
// packed archive against them.
namespace forge {

struct PictureInfo {
    const char* name;
    int width;
    int height;
};

struct SheetRect {
    const char* sheet;
    const char* what;
    int left, top, right, bottom;
};

inline constexpr const char* kHostNames[5] = {"Pemra", "Otsel", "Quenvar", "Iblen", "Rosweth"};

// Sheets and full-screen pictures named by the game's scenes.
inline constexpr PictureInfo kPictures[] = {
    {"sozai1.png", 1024, 1024},
    {"cards_four.png", 1024, 1024},  // the four-colour deck, laid out like sozai1.png's cards
    {"sozai2.png", 1024, 1024},
    {"sozai3.png", 1024, 1024},
    {"sozai4.png", 1024, 1024},
    {"sozai5.png", 2048, 2048},
    {"sozai7.png", 512, 512},
    {"sozai9.png", 1024, 1024},
    {"table.png", 1320, 760},
    {"gallery_02.png", 1280, 720},
    {"Stand_Pemra_01.png", 640, 720},   {"Stand_Pemra_02.png", 640, 720},   {"Stand_Pemra_03.png", 640, 720},
    {"Stand_Otsel_01.png", 640, 720},   {"Stand_Otsel_02.png", 640, 720},   {"Stand_Otsel_03.png", 640, 720},
    {"Stand_Quenvar_01.png", 640, 720}, {"Stand_Quenvar_02.png", 640, 720}, {"Stand_Quenvar_03.png", 640, 720},
    {"Stand_Iblen_01.png", 640, 720},   {"Stand_Iblen_02.png", 640, 720},   {"Stand_Iblen_03.png", 640, 720},
    {"Stand_Rosweth_01.png", 640, 720}, {"Stand_Rosweth_02.png", 640, 720}, {"Stand_Rosweth_03.png", 640, 720},
    {"CG_Pemra_01_01.png", 1280, 720},   {"CG_Pemra_02_01.png", 1280, 720},   {"CG_Pemra_03_01.png", 1280, 720},
    {"CG_Pemra_03_02.png", 1280, 720},
    {"CG_Otsel_01_01.png", 1280, 720},   {"CG_Otsel_02_01.png", 1280, 720},   {"CG_Otsel_03_01.png", 1280, 720},
    {"CG_Otsel_03_02.png", 1280, 720},
    {"CG_Quenvar_01_01.png", 1280, 720}, {"CG_Quenvar_02_01.png", 1280, 720}, {"CG_Quenvar_03_01.png", 1280, 720},
    {"CG_Quenvar_03_02.png", 1280, 720},
    {"CG_Iblen_01_01.png", 1280, 720},   {"CG_Iblen_02_01.png", 1280, 720},   {"CG_Iblen_03_01.png", 1280, 720},
    {"CG_Iblen_03_02.png", 1280, 720},
    {"CG_Rosweth_01_01.png", 1280, 720}, {"CG_Rosweth_01_02.png", 1280, 720}, {"CG_Rosweth_02_01.png", 1280, 720},
    {"CG_Rosweth_03_01.png", 1280, 720}, {"CG_Rosweth_03_02.png", 1280, 720},
};

// Screen-space pictures for the animation files (see README.md for what each shows).
inline constexpr PictureInfo kScreenPictures[] = {
    {"logo_moon.png", 512, 512},
    {"title_logo.png", 960, 320},
    {"title_sub.png", 720, 64},
    {"menu_bg_01.png", 1280, 720},
    {"menu_bg_02.png", 1280, 720},
    {"menu_btn_start.png", 328, 44},   {"menu_btn_start_on.png", 328, 44},
    {"menu_btn_end.png", 284, 44},     {"menu_btn_end_on.png", 284, 44},
    {"menu_btn_gallery.png", 328, 44}, {"menu_btn_gallery_on.png", 328, 44},
    {"menu_btn_credit.png", 328, 44},  {"menu_btn_credit_on.png", 328, 44},
    {"menu_slot_pemra.png", 240, 360},  {"menu_slot_otsel.png", 240, 360}, {"menu_slot_quenvar.png", 240, 360},
    {"menu_slot_iblen.png", 240, 360},  {"menu_slot_rosweth.png", 240, 360},
    {"stand_bg.png", 1280, 720},
    {"credit_bg.png", 1280, 720},
    {"cm_bg.png", 1280, 720},
    {"tips_panel.png", 420, 160},
    {"stand_aura_pemra.png", 640, 720}, {"stand_aura_otsel.png", 640, 720}, {"stand_aura_quenvar.png", 640, 720},
    {"stand_aura_iblen.png", 640, 720}, {"stand_aura_rosweth.png", 640, 720},
    {"eff_glow.png", 256, 256},
    {"eff_sparkle.png", 128, 128},
    {"eff_ring.png", 256, 256},
    {"eff_snow.png", 256, 256},
    {"eff_flame.png", 256, 256},
    {"eff_scythe.png", 256, 256},
    {"eff_mirror.png", 256, 256},
    {"eff_heart.png", 256, 256},
    {"eff_lock.png", 256, 256},
    {"eff_scales.png", 256, 256},
    {"eff_shield.png", 256, 256},
    {"eff_bomb.png", 256, 256},
    {"eff_coin.png", 256, 256},
    {"eff_eye.png", 256, 256},
    // The match's effects (match_fx.cpp).
    {"eff_circle_gold.png", 256, 256},
    {"eff_card_glow.png", 128, 168},
    {"eff_card_joker.png", 80, 120},   {"eff_card_dummy.png", 80, 120},
    {"eff_card_back.png", 80, 120},    {"eff_card_ace.png", 80, 120},
    {"eff_frost_card.png", 96, 136},
    {"eff_seal.png", 256, 256},
    {"eff_arrow_up.png", 128, 128},    {"eff_arrow_down.png", 128, 128},
    {"eff_x2.png", 256, 128},          {"eff_x2_ice.png", 256, 128},
    {"eff_tophat.png", 256, 256},
    {"eff_hourglass.png", 256, 256},
    {"eff_suits.png", 256, 256},       {"eff_ranks.png", 256, 256},
    {"eff_streak.png", 512, 64},
    {"eff_arrow_tip.png", 64, 80},
    {"cap_player_01.png", 480, 80}, {"cap_player_02.png", 480, 80}, {"cap_player_03.png", 480, 80},
    {"cap_player_04.png", 480, 80}, {"cap_player_05.png", 480, 80}, {"cap_player_06.png", 480, 80},
    {"cap_player_07.png", 480, 80}, {"cap_player_08.png", 480, 80},
    {"cap_pemra_01.png", 480, 80},   {"cap_pemra_02.png", 480, 80},   {"cap_pemra_03.png", 480, 80},   {"cap_pemra_04.png", 480, 80},
    {"cap_otsel_01.png", 480, 80},   {"cap_otsel_02.png", 480, 80},   {"cap_otsel_03.png", 480, 80},   {"cap_otsel_04.png", 480, 80},
    {"cap_quenvar_01.png", 480, 80}, {"cap_quenvar_02.png", 480, 80}, {"cap_quenvar_03.png", 480, 80}, {"cap_quenvar_04.png", 480, 80},
    {"cap_iblen_01.png", 480, 80},   {"cap_iblen_02.png", 480, 80},   {"cap_iblen_03.png", 480, 80},   {"cap_iblen_04.png", 480, 80},
    {"cap_rosweth_01.png", 480, 80}, {"cap_rosweth_02.png", 480, 80}, {"cap_rosweth_03.png", 480, 80}, {"cap_rosweth_04.png", 480, 80},
    {"tips_common.png", 420, 160},   {"tips_deepfreeze.png", 420, 160}, {"tips_sealward.png", 420, 160},
    {"tips_freezegust.png", 420, 160}, {"tips_dummycurse.png", 420, 160}, {"tips_guardmark.png", 420, 160},
    {"menu_btn_quick.png", 328, 44},   {"menu_btn_quick_on.png", 328, 44},
    {"menu_sea_light_01.png", 360, 280}, {"menu_sea_light_02.png", 360, 280},
    {"menu_glint.png", 128, 12},
    {"menu_sparkle_pemra.png", 64, 64}, {"menu_sparkle_otsel.png", 64, 64}, {"menu_sparkle_quenvar.png", 64, 64},
    {"menu_sparkle_iblen.png", 64, 64}, {"menu_sparkle_rosweth.png", 64, 64},
    {"menu_moon.png", 192, 192},
    {"menu_select_caption.png", 640, 96},
    {"menu_slot_glow.png", 280, 400},
    {"menu_slot_flash.png", 240, 360},
    {"credit_roll_01.png", 960, 2048}, {"credit_roll_02.png", 960, 2048},
    {"credit_end.png", 1100, 160},
    {"cm_title.png", 1000, 180},
    {"cm_invite.png", 1000, 200},
    {"cm_line_pemra.png", 1120, 150}, {"cm_line_otsel.png", 1120, 150}, {"cm_line_quenvar.png", 1120, 150},
    {"cm_line_iblen.png", 1120, 150}, {"cm_line_rosweth.png", 1120, 150},
    // The title's options overlay and records plate (menu_fx.cpp).
    {"menu_btn_options.png", 328, 44}, {"menu_btn_options_on.png", 328, 44},
    {"options_panel.png", 804, 624},
    {"options_row.png", 740, 44},      {"options_row_on.png", 740, 44},
    {"options_track.png", 296, 16},    {"options_track_fill.png", 296, 16},
    {"options_knob.png", 24, 36},
    {"options_toggle_on.png", 64, 28}, {"options_toggle_off.png", 64, 28},
    {"options_record.png", 740, 84},
    {"records_plate.png", 344, 120},
};

// Rectangles that the scenes and widgets cut from the sheets (the match's own layout table,
// scenes/match/sheet_layout.h, adds the pieces of sozai2, sozai4 and sozai9).
inline constexpr SheetRect kSheetRects[] = {
    {"sozai1.png", "card back", 400, 480, 480, 600},
    {"sozai1.png", "joker", 320, 480, 400, 600},
    {"sozai1.png", "frozen frame", 934, 480, 1024, 610},
    {"sozai1.png", "medal label", 0, 610, 118, 656},
    {"sozai1.png", "medal digits", 118, 610, 398, 656},
    {"sozai1.png", "gauge frame", 398, 600, 610, 636},
    {"sozai1.png", "gauge bar", 398, 636, 548, 651},
    {"sozai1.png", "gauge icon", 564, 682, 590, 712},
    {"sozai1.png", "gauge digits", 0, 656, 460, 712},
    {"sozai1.png", "hold marker", 460, 656, 564, 712},
    {"sozai1.png", "deck pile", 0, 712, 80, 842},
    {"sozai1.png", "ability button", 616, 608, 720, 712},
    {"sozai1.png", "dialog panel", 80, 712, 720, 900},
    {"sozai1.png", "showdown question", 0, 899, 352, 939},
    {"sozai1.png", "call notice", 0, 939, 472, 979},
    {"sozai1.png", "double-up question", 0, 979, 412, 1019},
    {"sozai1.png", "draw button", 496, 899, 600, 975},
    {"sozai1.png", "showdown button", 600, 899, 704, 975},
    {"sozai1.png", "yes button", 720, 656, 948, 748},
    {"sozai1.png", "no button", 720, 748, 948, 840},
    {"sozai1.png", "title button lit", 984, 0, 1024, 40},
    {"sozai1.png", "title button dim", 984, 40, 1024, 80},
    {"sozai1.png", "quit button lit", 984, 80, 1024, 120},
    {"sozai1.png", "quit button dim", 984, 120, 1024, 160},
    {"sozai1.png", "mark lit", 655, 1000, 679, 1024},
    {"sozai1.png", "mark dim", 679, 1000, 703, 1024},
    {"sozai2.png", "RankUp", 512, 512, 640, 640},
    {"sozai2.png", "RankDown", 512, 640, 640, 768},
    {"sozai2.png", "JokerSwap", 512, 768, 640, 896},
    {"sozai2.png", "SeeThrough", 512, 896, 640, 1024},
    {"sozai3.png", "DummyCard", 0, 0, 128, 128},
    {"sozai3.png", "TableBomb", 0, 128, 128, 256},
    {"sozai3.png", "DoubleBet", 0, 256, 128, 384},
    {"sozai3.png", "DeckPeek", 0, 384, 128, 512},
    {"sozai3.png", "ability window", 0, 512, 590, 832},
    {"sozai3.png", "message frame", 0, 832, 590, 992},
    {"sozai3.png", "peek plate", 512, 210, 792, 254},
    {"sozai3.png", "gallery frame 1", 512, 256, 1024, 481},
    {"sozai3.png", "gallery frame 2", 590, 481, 1024, 706},
    {"sozai5.png", "select background", 0, 0, 1280, 720},
    {"sozai5.png", "banner", 1280, 0, 1898, 182},
    {"sozai5.png", "banner glow", 1280, 182, 1898, 364},
    {"sozai5.png", "glow 0", 1282, 364, 1510, 620},
    {"sozai5.png", "glow 1", 1510, 364, 1738, 610},
    {"sozai5.png", "glow 2", 1738, 364, 1966, 622},
    {"sozai5.png", "gallery background", 0, 720, 1280, 1440},
    {"sozai5.png", "gallery cursor", 1692, 1062, 1938, 1216},
    {"sozai7.png", "win banner", 0, 0, 360, 162},
    {"sozai7.png", "lose banner", 0, 162, 338, 294},
    {"sozai7.png", "tie banner", 0, 294, 436, 424},
};

// Gallery thumbnails in "sozai5.png": per opponent the source corners of items 0..2 (206 x 114)
// and item 3 (210 x 118).
struct Thumb {
    int left, top;
};
inline constexpr Thumb kThumbs[5][4] = {
    {{1280, 1062}, {1280, 1176}, {1280, 1290}, {210, 1440}},
    {{1486, 720}, {1486, 834}, {1486, 948}, {420, 1440}},
    {{1486, 1062}, {1486, 1176}, {1486, 1290}, {630, 1440}},
    {{1280, 720}, {1280, 834}, {1280, 948}, {0, 1440}},
    {{1692, 720}, {1692, 834}, {1692, 948}, {840, 1440}},
};
inline constexpr int kThumbW = 206, kThumbH = 114, kThumb3W = 210, kThumb3H = 118;

// Card sheet geometry: face f = 4 value + suit in 80 x 120 cells, 12 per row.
inline constexpr int kCardW = 80, kCardH = 120;
inline constexpr int kMedalDigitX = 118, kMedalDigitY = 610, kMedalDigitW = 28, kMedalDigitH = 46;
inline constexpr int kGaugeDigitX = 0, kGaugeDigitY = 656, kGaugeDigitW = 46, kGaugeDigitH = 56;

}  // namespace forge

#pragma once
// Where the match finds the pieces of its picture sheets that are ours to place: the hand-name
// plates and multiplier marks ("sozai4.png"), the double-up panel, highlights, comment plate and
// opponent-panel tab ("sozai9.png"), and the opponents' ability icons with their panel
// ("sozai2.png"). Rectangles are left, top, right, bottom with right and bottom exclusive.
// The picture generator draws exactly these rectangles.
namespace match::sheet {

struct Rect {
    int left;
    int top;
    int right;
    int bottom;
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
};

// ---- "sozai4.png" (1024 x 1024): hand names ----
inline constexpr const char* kPlateSheet = "sozai4.png";
inline constexpr int kPlateSheetSize = 1024;
// One 512 x 128 plate per hand rank 0 (no hand) .. 8 (five of a kind).
inline constexpr Rect kHandPlate[9] = {
    {0, 0, 512, 128},     {0, 128, 512, 256},   {0, 256, 512, 384},
    {0, 384, 512, 512},   {0, 512, 512, 640},   {0, 640, 512, 768},
    {0, 768, 512, 896},   {0, 896, 512, 1024},  {512, 0, 1024, 128},
};
// The royal flush's taller plate (512 x 192), shown at (64, 386).
inline constexpr Rect kRoyalPlate = {512, 128, 1024, 320};
// Multiplier marks shown beside the plate for ranks 5..9 (x2, x3, x4, x5, x10), 192 x 128.
inline constexpr Rect kMultiplierMark[5] = {
    {512, 320, 704, 448}, {704, 320, 896, 448}, {512, 448, 704, 576},
    {704, 448, 896, 576}, {512, 576, 704, 704},
};
inline constexpr int kMultiplierFirstRank = 5;

// ---- "sozai9.png" (1024 x 1024): double-up and match HUD extras ----
inline constexpr const char* kExtraSheet = "sozai9.png";
inline constexpr int kExtraSheetSize = 1024;
// The double-up panel (640 x 300): title band and room for the two cards (suggested place:
// (242, 150) on screen, so that cards at x 322 and 487 sit on its two card marks at y 230).
inline constexpr Rect kDoubleUpPanel = {0, 0, 640, 300};
inline constexpr int kDoubleUpCardMarkY = 80;     // card marks' top inside the panel
inline constexpr int kDoubleUpCardMarkX[2] = {80, 245};  // card marks' left inside the panel
inline constexpr Rect kHighButton = {0, 300, 220, 380};
inline constexpr Rect kLowButton = {220, 300, 440, 380};
// Guide pictures hidden once the guess is made: the caption and the two arrows.
inline constexpr Rect kGuideCaption = {0, 380, 560, 440};
inline constexpr Rect kGuideHigh = {640, 0, 760, 120};
inline constexpr Rect kGuideLow = {760, 0, 880, 120};
// Highlight around one hand slot (100 x 140, drawn at the card position - (10, 10)), additive.
inline constexpr Rect kSlotHighlight = {880, 0, 980, 140};
// Plate behind the opponent's ability comment (580 x 130; the 530 x 100 text box at (700, 570)
// sits at (25, 15) inside it when the plate is drawn at (675, 555)).
inline constexpr Rect kCommentPlate = {0, 440, 580, 570};
// Opponent-panel tab, 160 x 44: open (panel shown) and closed.
inline constexpr Rect kPanelTabOpen = {640, 140, 800, 184};
inline constexpr Rect kPanelTabClosed = {800, 140, 960, 184};

// ---- "sozai2.png": the opponents' ability icons and their panel ----
inline constexpr const char* kIconSheet = "sozai2.png";
// Icon of opponent o's ability a (index as in the opponent ability table), 96 x 96.
constexpr Rect OpponentIcon(int opponent, int ability) {
    return Rect{ability * 96, opponent * 96, ability * 96 + 96, opponent * 96 + 96};
}
// The panel behind the four icons and their labels (340 x 440): a header band of 40 pixels,
// then four rows of 100 pixels; icon k goes to (10, 42 + 100 k) inside it, its label at
// (112, 70 + 100 k).
inline constexpr Rect kOpponentPanel = {0, 520, 340, 960};
inline constexpr int kOpponentPanelIconX = 10;
inline constexpr int kOpponentPanelIconY = 42;
inline constexpr int kOpponentPanelRow = 100;
// Additive glow laid over the icon of the ability just used (96 x 96).
inline constexpr Rect kOpponentIconGlow = {340, 520, 436, 616};

}  // namespace match::sheet

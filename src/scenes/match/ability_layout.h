#pragma once
// Where the match places the parts of the abilities on the 1280 x 720 screen: the target prompt,
// the opponent's comment, the opponent panel with its tab. Sheet rectangles are in sheet_layout.h.
namespace match::layout {

struct Point {
    int x;
    int y;
};

// "カードを選択してください", blinking while the player picks a card.
inline constexpr Point kSelectPrompt = {300, 570};
inline constexpr int kSelectPromptWidth = 300;
inline constexpr int kSelectPromptHeight = 30;
inline constexpr int kSelectPromptSize = 24;
inline constexpr int kSelectPromptBlink = 40;   // period in frames, shown for the first half

// The opponent's comment over its plate, bottom right, clear of both hands.
inline constexpr Point kCommentPlate = {675, 555};
inline constexpr Point kCommentText = {700, 570};
inline constexpr int kCommentWidth = 530;
inline constexpr int kCommentHeight = 100;
inline constexpr int kCommentSize = 20;
inline constexpr int kCommentHoldFrames = 300;  // full opacity, then
inline constexpr int kCommentFadeFrames = 120;  // fading out

// The opponent panel on the right, beside the opponent's hand; its tab sits on the panel's top
// edge at its right end.
inline constexpr Point kOpponentPanel = {930, 115};
inline constexpr Point kPanelTab = {930 + 340 - 160, 115 - 44};
inline constexpr int kPanelLabelX = 112;
inline constexpr int kPanelLabelY = 70;          // first row; rows 100 apart like the icons
inline constexpr int kPanelLabelWidth = 220;
inline constexpr int kPanelLabelHeight = 30;
inline constexpr int kPanelLabelSize = 20;

// Ability button dimmed while sealed.
inline constexpr float kSealedAlpha = 0.25f;
// Frames the ability window stays up after a lock has landed, so the new count can be read.
inline constexpr int kLockDisplayFrames = 40;

}  // namespace match::layout

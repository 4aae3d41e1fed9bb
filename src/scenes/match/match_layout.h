#pragma once
#include "scenes/match/sheet_layout.h"
#include "widgets/image.h"

// Where everything of the match screen (1280 x 720) stands and which piece of which sheet it
// shows. Positions are the top-left corner of the picture on screen; rectangles are left, top,
// right, bottom in the sheet with right and bottom exclusive. The HUD pieces that belong to our
// own sheets (plates, double-up panel, comment plate, opponent panel) are cut by sheet_layout.h;
// this file places them.
namespace match::layout {

struct Point {
    float x;
    float y;
};

constexpr Image::Rect ToImageRect(const sheet::Rect& r) { return Image::Rect{r.left, r.top, r.right, r.bottom}; }

// ---- Sheets and animation files ----
inline constexpr const char* kCardSheet = "sozai1.png";
inline constexpr const char* kBannerSheet = "sozai7.png";
inline constexpr const char* kWindowSheet = "sozai3.png";
inline constexpr const char* kTablePicture = "table.png";
inline constexpr const char* kStandBgFile = "Stand_BG.bca";
inline constexpr const char* kStandBgLayer = "BG_Stand_01";
inline constexpr const char* kPlayerEffectFile = "Effect_Player.bca";
inline constexpr const char* kTipsFile = "Tips.bca";
inline constexpr const char* kFirstTurnTips = "Tips_Common_01";

// ---- The table ----
inline constexpr Point kTablePos{-20.0f, -20.0f};

// ---- Player's action buttons ----
inline constexpr Image::Rect kDrawButtonRect{496, 899, 600, 975};
inline constexpr Point kDrawButtonPos{20.0f, 625.0f};
inline constexpr Image::Rect kShowdownButtonRect{600, 899, 704, 975};
inline constexpr Point kShowdownButtonPos{131.0f, 625.0f};
inline constexpr Image::Rect kAbilityButtonRect{616, 608, 720, 712};
inline constexpr Point kAbilityButtonPos{516.0f, 596.0f};

// ---- Question dialogs: one panel behind three texts, Yes/No or OK ----
inline constexpr Image::Rect kDialogPanelRect{80, 712, 720, 900};
inline constexpr Point kDialogPanelPos{0.0f, 207.0f};
inline constexpr Image::Rect kShowdownConfirmTextRect{0, 899, 352, 939};
inline constexpr Point kShowdownConfirmTextPos{144.0f, 281.0f};
inline constexpr Image::Rect kCallNoticeTextRect{0, 939, 472, 979};
inline constexpr Point kCallNoticeTextPos{84.0f, 281.0f};
inline constexpr Image::Rect kDoubleUpQuestionTextRect{0, 979, 412, 1019};
inline constexpr Point kDoubleUpQuestionTextPos{114.0f, 281.0f};
inline constexpr Image::Rect kYesButtonRect{720, 656, 948, 748};
inline constexpr Point kYesButtonPos{56.0f, 361.0f};
inline constexpr Image::Rect kNoButtonRect{720, 748, 948, 840};
inline constexpr Point kNoButtonPos{356.0f, 361.0f};
inline constexpr Image::Rect kOkButtonRect{720, 656, 948, 748};
inline constexpr Point kOkButtonPos{206.0f, 361.0f};

// ---- Result banners ("sozai7.png") ----
inline constexpr Image::Rect kWinBannerRect{0, 0, 360, 162};
inline constexpr Point kWinBannerPos{141.0f, 254.0f};
inline constexpr Image::Rect kLoseBannerRect{0, 162, 338, 294};
inline constexpr Point kLoseBannerPos{152.0f, 268.0f};
inline constexpr Image::Rect kTieBannerRect{0, 294, 436, 424};
inline constexpr Point kTieBannerPos{102.0f, 269.0f};

// ---- Bet number: the medal digits (28 x 46 from (118, 610), advance 23) on the bet plate ----
inline constexpr Point kBetNumberPos{73.0f, 288.0f};
inline constexpr int kBetDigitWidth = 28;
inline constexpr int kBetDigitHeight = 46;
inline constexpr int kBetDigitAdvance = 23;
inline constexpr int kBetDigits = 6;
inline constexpr int kBetStripLeft = 118;
inline constexpr int kBetStripTop = 610;

// ---- Title and quit buttons ----
inline constexpr Image::Rect kTitleButtonLit{984, 0, 1024, 40};
inline constexpr Image::Rect kTitleButtonDim{984, 40, 1024, 80};
inline constexpr Point kTitleButtonPos{1185.0f, 10.0f};
inline constexpr Image::Rect kQuitButtonLit{984, 80, 1024, 120};
inline constexpr Image::Rect kQuitButtonDim{984, 120, 1024, 160};
inline constexpr Point kQuitButtonPos{1230.0f, 10.0f};

// ---- Hand-name plates: the player's row and the opponent's row ----
inline constexpr Point kPlayerPlatePos{64.0f, 430.0f};
inline constexpr Point kOpponentPlatePos{64.0f, 131.0f};
// The royal flush's plate is 64 pixels taller and rises by 44 (the player's stands at (64, 386)).
inline constexpr float kRoyalPlateRise = 44.0f;
// Multiplier marks stand right of the plate, centred on its height.
inline constexpr float kMarkDx = 512.0f;
inline constexpr int kPlateDelay = 20;
inline constexpr int kPlateFadeFrames = 10;

// ---- Double-up ----
inline constexpr Point kDoubleUpPanelPos{242.0f, 150.0f};
inline constexpr float kDoubleUpCardStartY = -325.0f;
inline constexpr float kDoubleUpCardY = kDoubleUpPanelPos.y + sheet::kDoubleUpCardMarkY;  // 230
inline constexpr float kDoubleUpCardX[2] = {322.0f, 487.0f};
inline constexpr int kDoubleUpSlideFrames = 20;
inline constexpr int kDoubleUpSecondDelay = 10;
// High and Low side by side under the panel (the hands are cleared during the double-up).
inline constexpr Point kHighButtonPos{337.0f, 455.0f};
inline constexpr Point kLowButtonPos{567.0f, 455.0f};
// The caption across the panel's foot under the cards, the arrows beside the two buttons.
inline constexpr Point kGuideCaptionPos{282.0f, 382.0f};
inline constexpr Point kGuideHighPos{212.0f, 435.0f};
inline constexpr Point kGuideLowPos{792.0f, 435.0f};

// ---- Hand-slot highlights (100 x 140, at the card position - (10, 10)) ----
inline constexpr float kHighlightDx = -10.0f;
inline constexpr float kHighlightDy = -10.0f;

// ---- Story message window: the frame (0, 832)-(590, 992) of "sozai3.png" near the bottom,
// a 530 x 130 text canvas at (30, 30) inside it ----
inline constexpr Image::Rect kMessageFrameRect{0, 832, 590, 992};
inline constexpr Point kMessageFramePos{345.0f, 540.0f};
inline constexpr int kMessageTextX = 375;
inline constexpr int kMessageTextY = 570;
inline constexpr int kMessageTextWidth = 530;
inline constexpr int kMessageTextHeight = 130;
inline constexpr int kMessageFontSize = 22;
inline constexpr int kMessageFramesPerStep = 2;
inline constexpr const char* kMessageCanvas = "font_msg_text";

// ---- The abilities' widgets (placed by the ability code) ----
inline constexpr Point kOpponentPanelPos{930.0f, 115.0f};
inline constexpr Point kOpponentPanelTabPos{930.0f, 71.0f};
inline constexpr Point kCommentPlatePos{675.0f, 555.0f};
inline constexpr Point kCommentTextPos{700.0f, 570.0f};
inline constexpr Point kSelectCardPromptPos{300.0f, 570.0f};
inline constexpr Point kHelpPanelPos{510.0f, 228.0f};

}  // namespace match::layout

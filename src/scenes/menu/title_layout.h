#pragma once
// Where the title scene's menu items, host panels and message window lie, in back-buffer pixels.
// The button pictures of "menu_button.bca" and the panels of "menu_select_01.bca" ..
// "menu_select_05.bca" are drawn at exactly these places.
#include <array>

namespace menu::title {

// A hit area whose four edges are all exclusive: left < x < right and top < y < bottom.
struct Area {
    int left;
    int top;
    int right;
    int bottom;
    constexpr bool contains(int x, int y) const { return x > left && x < right && y > top && y < bottom; }
};

// ---- Menu items ----
// The hover value of each item; its button composition is "menu_button_0" followed by hover + 1.
enum Hover : int {
    kHoverUnset = -1,  // before the first menu frame
    kHoverStart = 0,
    kHoverGallery = 1,
    kHoverCredits = 2,
    kHoverEnd = 3,
    kHoverNone = 4,
    kHoverQuick = 5,
    kHoverOptions = 6,  // drawn by the scene itself; all the pictured buttons stay dim
};

struct MenuItem {
    Hover hover;
    Area area;
};

// Tested in this order; the first area that holds the pointer wins.
inline constexpr std::array<MenuItem, 5> kMenuItems = {{
    {kHoverStart, {887, 523, 1215, 566}},
    {kHoverEnd, {887, 584, 1170, 627}},
    {kHoverGallery, {547, 523, 875, 566}},
    {kHoverCredits, {547, 584, 875, 627}},
    {kHoverQuick, {887, 645, 1215, 688}},
}};

// ---- Host pick ----
// Slot s (1..5) shows a 240 x 360 panel centred at (kSlotCentreX0 + (s - 1) * kSlotStep, kSlotCentreY).
inline constexpr int kSlotCount = 5;
inline constexpr int kSlotCentreX0 = 640 - 2 * 230;
inline constexpr int kSlotStep = 230;
inline constexpr int kSlotHalfWidth = 120;
inline constexpr int kSlotTop = 150;
inline constexpr int kSlotBottom = 510;

// The panel area of slot index i (0..4, slot i + 1).
constexpr Area SlotArea(int i) {
    const int cx = kSlotCentreX0 + i * kSlotStep;
    return {cx - kSlotHalfWidth, kSlotTop, cx + kSlotHalfWidth, kSlotBottom};
}

// Slot index (0..4) to opponent index.
inline constexpr std::array<int, kSlotCount> kSlotOpponent = {1, 2, 0, 3, 4};

// ---- Message window ----
inline constexpr const char* kWindowSheet = "sozai3.png";
inline constexpr Area kWindowFrame = {0, 832, 590, 992};  // sheet rectangle, right and bottom exclusive
inline constexpr int kWindowX = 345;
inline constexpr int kWindowY = 540;
inline constexpr const char* kWindowCanvas = "texture_name";
inline constexpr int kCanvasWidth = 530;
inline constexpr int kCanvasHeight = 130;
inline constexpr int kCanvasX = 30;  // inside the frame
inline constexpr int kCanvasY = 30;
inline constexpr int kFontSize = 22;
inline constexpr int kFramesPerChar = 2;

}  // namespace menu::title

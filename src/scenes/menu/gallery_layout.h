#pragma once
#include <cstdint>

// Where the host pick and the gallery find their pieces: the rectangles of "sozai5.png" (the pick
// screen and the gallery's thumbnails), the hit rectangles of the five hosts on the pick screen,
// the gallery's item table, the illustration and standing-picture names and the scripted view's
// message window. Rectangles are left, top, right, bottom; right and bottom exclusive, except the
// pick screen's hit rectangles, whose edges are outside (the test there is strict).
// Hosts are numbered as the match numbers them: 0 Pemra, 1 Otsel, 2 Quenvar, 3 Iblen, 4 Rosweth.
namespace menu::gallery {

struct Rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct Point {
    int32_t x;
    int32_t y;
};

inline constexpr int kHostCount = 5;
inline constexpr const char* kSheet = "sozai5.png";

// Fade lengths in frames.
inline constexpr int kSelectFadeFrames = 20;    // every fade of the pick screen, and every fade-out
inline constexpr int kGalleryFadeInFrames = 30; // the gallery and the viewer fade in over this
inline constexpr int kWhiteOutFrames = 20;      // a "fade" entry: to white
inline constexpr int kWhiteReturnFrames = 120;  // back from white on the second variant
inline constexpr int kWhitePauseFrames = 20;    // then a pause without input

// Colours of the fade plane (ARGB).
inline constexpr uint32_t kOpaqueBlack = 0xFF000000u;
inline constexpr uint32_t kClearBlack = 0x00000000u;
inline constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;
inline constexpr uint32_t kClearWhite = 0x00FFFFFFu;

// Menu music and the scripted view's music; loop point 0 sends the trigger sample back to 0.
inline constexpr const char* kMenuMusic = "bgm_menu.ogg";
inline constexpr int64_t kMenuMusicLoop = 7400000;
inline constexpr const char* kStoryMusic = "bgm_cg.ogg";
inline constexpr int64_t kStoryMusicLoop = 6300000;

// ---- Host pick (scene 3) ----

struct SelectSprite {
    Point position;
    Rect source;
};
inline constexpr SelectSprite kSelectBackground{{0, 0}, {0, 0, 1280, 720}};
inline constexpr SelectSprite kBanner{{331, 13}, {1280, 0, 1898, 182}};
inline constexpr SelectSprite kBannerGlow{{331, 13}, {1280, 182, 1898, 364}};
// The glow frame of each slot, drawn additive at twice its size from its top-left corner.
inline constexpr SelectSprite kSlotGlow[kHostCount] = {
    {{16, 88}, {1282, 364, 1510, 620}},
    {{424, 227}, {1510, 364, 1738, 610}},
    {{810, 147}, {1738, 364, 1966, 622}},
    {{16, 570}, {1738, 364, 1966, 622}},
    {{810, 570}, {1738, 364, 1966, 622}},
};
inline constexpr float kSlotGlowScale = 2.0f;

struct Slot {
    Rect hit;  // strict: the border pixels are outside
    int host;  // stored in "enemy" when picked
};
// Slots 3 and 4 reach below the screen; slots 1, 2 and 4 overlap along 840 < x < 849.
inline constexpr Slot kSlots[kHostCount] = {
    {{47, 120, 441, 569}, 1},
    {{456, 260, 849, 707}, 2},
    {{840, 182, 1229, 626}, 0},
    {{47, 600, 436, 1044}, 3},
    {{840, 600, 1229, 1044}, 4},
};

// Where the arrows lead from each slot: slots 0, 1, 2 stand along the top, 3 and 4 in the
// bottom corners. Left/Right walk a row (wrapping), Up/Down go to the other row. The first
// arrow lights slot 0.
struct SlotNeighbours {
    int left, right, up, down;
};
inline constexpr SlotNeighbours kSlotNeighbours[kHostCount] = {
    {2, 1, 3, 3},  // 0, top left
    {0, 2, 3, 3},  // 1, middle
    {1, 0, 4, 4},  // 2, top right
    {4, 4, 0, 0},  // 3, bottom left
    {3, 3, 2, 2},  // 4, bottom right
};

// ---- Gallery selection (scene 7) ----

inline constexpr Rect kGalleryBackground{0, 720, 1280, 1440};
inline constexpr Rect kGalleryCursor{1692, 1062, 1938, 1216};
inline constexpr int kItemsPerHost = 5;
// Progress against a host from which its column is shown.
inline constexpr int kUnlockStage = 3;

struct Item {
    int32_t left;    // source in the sheet
    int32_t top;
    int32_t width;
    int32_t height;
    int32_t x;       // screen position
    int32_t y;
    int32_t margin;  // the cursor frame stands this far out to the left and above
    bool textured;   // false: no picture, only a hot area (item 4)
};

// Index host * 5 + item. Items 0..2: three illustrations, item 3: the scripted story (slightly
// larger), item 4: the standing pictures, an invisible area over the column's top.
// On screen the columns run, left to right, hosts 3, 0, 1, 2, 4.
inline constexpr Item kItems[kHostCount * kItemsPerHost] = {
    {1280, 1062, 206, 114, 307, 215, 20, true}, {1280, 1176, 206, 114, 307, 338, 20, true},
    {1280, 1290, 206, 114, 307, 461, 20, true}, {210, 1440, 210, 118, 305, 582, 18, true},
    {0, 0, 210, 213, 305, 0, 0, false},
    {1486, 720, 206, 114, 537, 215, 20, true},  {1486, 834, 206, 114, 537, 338, 20, true},
    {1486, 948, 206, 114, 537, 461, 20, true},  {420, 1440, 210, 118, 535, 582, 18, true},
    {0, 0, 210, 213, 535, 0, 0, false},
    {1486, 1062, 206, 114, 767, 215, 20, true}, {1486, 1176, 206, 114, 767, 338, 20, true},
    {1486, 1290, 206, 114, 767, 461, 20, true}, {630, 1440, 210, 118, 765, 582, 18, true},
    {0, 0, 210, 213, 765, 0, 0, false},
    {1280, 720, 206, 114, 77, 215, 20, true},   {1280, 834, 206, 114, 77, 338, 20, true},
    {1280, 948, 206, 114, 77, 461, 20, true},   {0, 1440, 210, 118, 75, 582, 18, true},
    {0, 0, 210, 213, 75, 0, 0, false},
    {1692, 720, 206, 114, 997, 215, 20, true},  {1692, 834, 206, 114, 997, 338, 20, true},
    {1692, 948, 206, 114, 997, 461, 20, true},  {840, 1440, 210, 118, 995, 582, 18, true},
    {0, 0, 210, 213, 995, 0, 0, false},
};

// Keyboard walk of the gallery: Up/Down run through the items of a column in this order (the
// standing pictures' area on top), Left/Right through the open columns in screen order. The
// cursor has no place of its own over the standing pictures' area, so the keys frame it here,
// relative to the area's top-left corner.
inline constexpr int kKeyRowOrder[kItemsPerHost] = {4, 0, 1, 2, 3};
inline constexpr Point kStandsCursorOffset{-18, 30};

// The "cg" value of each kind of item.
inline constexpr int kItemStory = 3;     // scripted story
inline constexpr int kItemStands = 4;    // standing pictures

// ---- Viewer (scene 8) ----

inline constexpr int kIllustrationCount = 3;
inline constexpr int kVariantCount = 2;
// [host][illustration][variant]; "" where the illustration has no such variant.
inline constexpr const char* kIllustrations[kHostCount][kIllustrationCount][kVariantCount] = {
    {{"CG_Pemra_01_01.png", ""}, {"CG_Pemra_02_01.png", ""}, {"CG_Pemra_03_01.png", "CG_Pemra_03_02.png"}},
    {{"CG_Otsel_01_01.png", ""}, {"CG_Otsel_02_01.png", ""}, {"CG_Otsel_03_01.png", "CG_Otsel_03_02.png"}},
    {{"CG_Quenvar_01_01.png", ""},
     {"CG_Quenvar_02_01.png", ""},
     {"CG_Quenvar_03_01.png", "CG_Quenvar_03_02.png"}},
    {{"CG_Iblen_01_01.png", ""}, {"CG_Iblen_02_01.png", ""}, {"CG_Iblen_03_01.png", "CG_Iblen_03_02.png"}},
    {{"CG_Rosweth_01_01.png", "CG_Rosweth_01_02.png"},
     {"CG_Rosweth_02_01.png", ""},
     {"CG_Rosweth_03_01.png", "CG_Rosweth_03_02.png"}},
};

inline constexpr int kStandCount = 3;
// [host][k]: stand 0 lies on top and is peeled first.
inline constexpr const char* kStands[kHostCount][kStandCount] = {
    {"Stand_Pemra_01.png", "Stand_Pemra_02.png", "Stand_Pemra_03.png"},
    {"Stand_Otsel_01.png", "Stand_Otsel_02.png", "Stand_Otsel_03.png"},
    {"Stand_Quenvar_01.png", "Stand_Quenvar_02.png", "Stand_Quenvar_03.png"},
    {"Stand_Iblen_01.png", "Stand_Iblen_02.png", "Stand_Iblen_03.png"},
    {"Stand_Rosweth_01.png", "Stand_Rosweth_02.png", "Stand_Rosweth_03.png"},
};
inline constexpr Point kStandPosition{320, 0};
inline constexpr const char* kStandBackdrop = "gallery_02.png";
inline constexpr Rect kStandBackdropSource{0, 0, 1280, 720};

// The scripted view's message window: one 946 x 225 frame near the bottom of the screen, cut in
// two pieces of "sozai3.png" drawn side by side, with the text canvas inset in it. The scripts are
// written for this canvas at this font size.
inline constexpr const char* kFrameSheet = "sozai3.png";
inline constexpr Rect kFrameLeft{512, 256, 1024, 481};
inline constexpr Rect kFrameRight{590, 481, 1024, 706};
inline constexpr Point kFramePosition{167, 480};
inline constexpr Point kTextInset{30, 12};
inline constexpr const char* kTextCanvas = "texture_name";
inline constexpr int kTextWidth = 886;
inline constexpr int kTextHeight = 200;
inline constexpr int kTextFontSize = 24;
inline constexpr int kTextFramesPerChar = 2;

}  // namespace menu::gallery

#pragma once
// Where the title's options overlay and the host pick's records plate lie, in back-buffer pixels,
// and their colours (the salon's night blues with lantern-gold lines).
#include <cstdint>

#include "scenes/menu/title_layout.h"

namespace menu::options {

using menu::title::Area;

// The title menu item that opens the overlay: the free place left of "quick match", below
// "credits", the size of its neighbours.
inline constexpr Area kMenuItem = {547, 645, 875, 688};

// The panel and its rows. Row r spans kRowLeft..kRowRight and kRowTop + r * kRowStep .. + kRowHeight.
inline constexpr int kPanelLeft = 240;
inline constexpr int kPanelTop = 50;
inline constexpr int kPanelWidth = 800;
inline constexpr int kPanelHeight = 620;
inline constexpr int kOutline = 2;
inline constexpr int kTitleY = 66;
inline constexpr int kRowLeft = 270;
inline constexpr int kRowRight = 1010;
inline constexpr int kRowTop = 124;
inline constexpr int kRowStep = 52;
inline constexpr int kRowHeight = 44;
inline constexpr int kTextInsetX = 16;
inline constexpr int kTextInsetY = 9;
inline constexpr int kFontSize = 24;

// Sliders: a track of kTrackWidth pixels (0 at its left end, 100 at its right end).
inline constexpr int kTrackLeft = 640;
inline constexpr int kTrackWidth = 280;
inline constexpr int kTrackHeight = 6;
inline constexpr int kKnobWidth = 14;
inline constexpr int kKnobHeight = 28;
inline constexpr int kValueX = 940;  // the slider's figure, right of the track
inline constexpr int kVolumeStep = 5;  // per arrow key

// The records page: one block per host, the name on the left and three lines beside it.
inline constexpr int kRecordsTop = 124;
inline constexpr int kRecordsStep = 96;
inline constexpr int kRecordsHeight = 84;
inline constexpr int kRecordTextX = 160;   // the lines, from the block's text origin
inline constexpr int kRecordFontSize = 20;
inline constexpr int kRecordLineStep = 26;

// The records plate of the host pick: below the hovered panel, centred on it (the message window
// only comes in once a host is picked).
inline constexpr int kPlateWidth = 340;
inline constexpr int kPlateHeight = 116;
inline constexpr int kPlateTop = 522;
inline constexpr int kPlateInsetX = 12;
inline constexpr int kPlateFontSize = 16;   // the records; the name a little larger
inline constexpr int kPlateNameSize = 20;
inline constexpr int kPlateFirstLineY = 28;
inline constexpr int kPlateLineStep = 24;

// Pictures (drawn by the generator at these sizes). Without them the overlay and the plate fall
// back to plain rectangles in the colours below.
inline constexpr const char* kPanelPicture = "options_panel.png";        // 804 x 624, over the outline
inline constexpr const char* kRowPicture = "options_row.png";            // 740 x 44, a row's plate
inline constexpr const char* kRowLitPicture = "options_row_on.png";      // the selected row
inline constexpr const char* kTrackPicture = "options_track.png";        // 296 x 16, the groove
inline constexpr const char* kTrackFillPicture = "options_track_fill.png";  // cut to the value
inline constexpr const char* kKnobPicture = "options_knob.png";          // 24 x 36
inline constexpr const char* kToggleOnPicture = "options_toggle_on.png";   // 64 x 28
inline constexpr const char* kToggleOffPicture = "options_toggle_off.png";
inline constexpr const char* kRecordPicture = "options_record.png";      // 740 x 84, a host's block
inline constexpr const char* kPlatePicture = "records_plate.png";        // 344 x 120, with the outline
inline constexpr const char* kItemPicture = "menu_btn_options.png";      // 328 x 44, like the title's
inline constexpr const char* kItemLitPicture = "menu_btn_options_on.png";
// The groove and the fill stand this far out of the track on each side; the knob's size.
inline constexpr int kTrackPictureMargin = 8;
inline constexpr int kTrackPictureHeight = 16;
inline constexpr int kKnobPictureWidth = 24;
inline constexpr int kKnobPictureHeight = 36;
// The switch of the on/off rows, left edge (its row's middle is its middle).
inline constexpr int kToggleX = kTrackLeft;
inline constexpr int kToggleWidth = 64;
inline constexpr int kToggleHeight = 28;
// The title's pictured buttons stand at 97 % of their pictures' size, about their middle.
inline constexpr float kItemScale = 0.97f;

inline constexpr uint32_t kNightBlue = 0x0E1730;
inline constexpr uint32_t kDeepBlue = 0x1E2B55;
inline constexpr uint32_t kLanternGold = 0xE8B44C;
inline constexpr uint32_t kMoonWhite = 0xF4F1E8;

constexpr Area RowArea(int row) {
    const int top = kRowTop + row * kRowStep;
    return {kRowLeft, top, kRowRight, top + kRowHeight};
}

// The track's hit area is taller than the track, so that the knob is easy to catch.
constexpr Area TrackArea(int row) {
    const int centre = kRowTop + row * kRowStep + kRowHeight / 2;
    return {kTrackLeft - kKnobWidth, centre - kKnobHeight / 2, kTrackLeft + kTrackWidth + kKnobWidth,
            centre + kKnobHeight / 2};
}

}  // namespace menu::options

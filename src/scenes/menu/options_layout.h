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

// The records page: one block of two lines per host.
inline constexpr int kRecordsTop = 124;
inline constexpr int kRecordsStep = 96;
inline constexpr int kRecordsHeight = 84;

// The records plate of the host pick: below the hovered panel, centred on it (the message window
// only comes in once a host is picked).
inline constexpr int kPlateWidth = 300;
inline constexpr int kPlateHeight = 96;
inline constexpr int kPlateTop = 522;

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

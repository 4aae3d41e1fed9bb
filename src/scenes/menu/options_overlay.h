#pragma once
#include <array>
#include <string>

#include "core/records.h"
#include "widgets/image.h"
#include "widgets/image_font.h"

class MouseController;

// The title's options: a panel over the menu with the music and effect volumes (sliders applied
// at once), full screen, the four-colour deck, the full story, fast animations, pause in the
// background, the window scale, a records page per host, and "close". The pointer lights the row
// under it and the arrows move the same light; Enter or a click acts on the lit row, Left/Right
// change its value, Escape or a right click goes back (from the records page to the list, from
// the list out). Every change goes to Global at once; closing writes config.ini.
// Global: reads and writes "BgmVolume", "SeVolume", "FullScreen", "FourColourDeck", "FullStory",
// "FastAnimations", "PauseOnFocusLoss", "WindowScale" (and clears "WindowWidth"/"WindowHeight"
// when a scale is chosen).
class OptionsOverlay {
public:
    enum Row : int {
        kRowMusic,
        kRowEffects,
        kRowFullScreen,
        kRowFourColour,
        kRowFullStory,
        kRowFast,
        kRowPause,
        kRowScale,
        kRowRecords,
        kRowClose,
        kRowCount,
    };

    // Creates the canvases (once, when the scene enters).
    void Load();
    void Open();
    bool IsOpen() const { return open_; }
    // One frame of input (the scene's sampled mouse and keys).
    void Update(const MouseController& input);
    // Draws the panel over whatever the scene drew.
    void Draw();

    // --- Inspection (tests) ---
    int selected() const { return selected_; }
    // False when a picture was missing at Load: the overlay is drawn in plain rectangles.
    bool pictured() const { return pictured_; }
    bool recordsShown() const { return records_; }
    // The text a row shows now, in UTF-8.
    std::string rowText(int row) const;

private:
    void stateList(const MouseController& input);
    void stateRecords(const MouseController& input);
    void act(int row);
    void change(int row, int direction);
    void setVolume(int row, int value);
    void toggle(const char* key);
    void close();
    void refreshRow(int row);
    void refreshRecords();
    void placeMarks();
    // Loads every picture; false (with one warning) when any is missing.
    bool loadPictures();

    std::array<Image, 2> frame_;  // gold outline and the blue panel
    Image veil_;
    Image highlight_;
    std::array<Image, 2> track_;
    std::array<Image, 2> trackFill_;
    std::array<Image, 2> knob_;
    std::array<Image, kRowCount> rowPlates_;
    std::array<Image, kRowCount> toggles_;  // the on/off rows only
    std::array<Image, Records::kHosts> recordPlates_;
    ImageFont title_;
    std::array<ImageFont, kRowCount> rows_;
    std::array<ImageFont, Records::kHosts> records_lines_;
    bool pictured_ = false;
    bool open_ = false;
    bool records_ = false;
    bool dragging_ = false;
    int selected_ = kRowMusic;
};

// A host's records in words (UTF-8): matches and hands; the best hand; the largest payout and
// the longest double-up streak. The plate and the records page show the three as lines; the
// second line is the last two in one.
std::string RecordFirstLine(const HostRecord& r);
std::string RecordBestLine(const HostRecord& r);
std::string RecordPayoutLine(const HostRecord& r);
std::string RecordSecondLine(const HostRecord& r);

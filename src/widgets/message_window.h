#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "widgets/image_font.h"
#include "widgets/image.h"

// Types a Shift-JIS message into a text canvas one character per framesPerStep frames, or the
// whole message in one step when instant. The owner creates the canvas of surface, loads the two
// sprites and sets the layout fields directly.
class MessageWindow : public DrawBase {
public:
    // An instant render collects at most this many bytes of the message (whole characters only);
    // the rest of a longer message is dropped.
    static constexpr size_t kCollectLimit = 999;
    static constexpr uint32_t kTextColour = 0xFFFFFF;
    static constexpr int kLineGap = 5;

    // Restarts typing with a new message (null is an empty one) and clears the canvas. A final
    // lead byte without its trail byte is cut off with a debug line.
    void setText(const char* message);
    // Called once per frame by the owner: types the next character when its frame has come.
    void step();
    // When shown: background at (textX, textY), decoration at (decorationX, decorationY) and the
    // text on top, each with its children; the offset is not used.
    void draw(float dx, float dy, float dz) override;

    // Types the rest of the message at once (a click on a line still being typed).
    void finish();
    // True once the whole message has been typed.
    bool finished() const { return cursor >= text.size(); }

    int framesPerStep = 0;
    std::string text;
    Image background;
    Image decoration;
    ImageFont surface;
    bool shown = false;
    size_t cursor = 0;
    int stepsDone = 0;
    int fontSize = 0;
    int wrapWidth = 0;
    int penX = 0;
    int penY = 0;
    int textX = 0;
    int textY = 0;
    int decorationX = 0;
    int decorationY = 0;
    int tick = 0;
    bool instant = false;
};

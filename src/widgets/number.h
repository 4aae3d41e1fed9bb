#pragma once
#include <vector>

#include "widgets/image.h"

// An integer shown with digit sprites cut from a strip of "sozai1.png", optionally centred in
// its field, which can count towards a new value over a number of frames.
class Number : public DrawBase {
public:
    // Most digit positions a number can have (an int has at most 10 decimal digits).
    static constexpr int kMaxDigits = 10;

    // Stores the layout, creates the digit sprites (digitCount, limited to 0..10), clears
    // showLeadingZeros and counting, and shows value.
    void init(int digitWidth, int digitHeight, int advance, int digitCount, int atlasLeft, int atlasTop,
              bool centred);
    // Puts digit i at (x + i * advance, y).
    void setPosition(int x, int y);
    // Shows v at once: clamped to the bounds (and to 0, as no sign can be shown), digits right
    // to left, leading zeros hidden unless asked for, then centring.
    void setDisplay(int v);
    // Sets the value and shows it at once, ending any count; a later countTo starts from it.
    void setValue(int v);
    // Counts from value to the clamped target over the frames (advanced by draw); value becomes
    // the clamped target.
    void countTo(int target, int frames);
    // Advances a running count one frame, then draws every digit with its children.
    void draw(float dx, float dy, float dz) override;

    int clamp(int v) const;

    std::vector<Image> digits;  // leftmost first
    int atlasLeft = 0;
    int atlasTop = 0;
    int advance = 0;
    int digitWidth = 0;
    int digitHeight = 0;
    int digitCount = 0;
    bool showLeadingZeros = false;
    int value = 0;
    int shown = 0;
    bool centred = false;
    int originX = 0;
    int originY = 0;
    bool hasMin = false;
    bool hasMax = false;
    int minimum = 0;
    int maximum = 0;
    bool counting = false;
    int countFrame = 0;
    int countFrames = 0;
    int countFrom = 0;
    int countTarget = 0;  // end of the running count

protected:
    // One frame of a running count.
    void advanceCount();
};

#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics_test.h"

namespace texttest {

// Where a text is shown: the canvas of its window, the font size and how many lines it may use.
struct Box {
    const char* canvasName;
    int width;
    int height;
    int fontSize;
    int maxLines;
};

// The match's and the title's message window, and the opponent's comment plate.
inline constexpr Box kMessageBox{"fit_message", 530, 130, 22, 4};
inline constexpr Box kCommentBox{"fit_comment", 530, 100, 20, 3};

// Headless graphics with the real game font, and checks that render a text the way its window does.
class TextFitTest : public testsupport::GraphicsTest {
protected:
    // Types the text through a MessageWindow on the box's canvas and fails, naming `what`, when
    // the window wraps a line by itself, when there are too many lines or when the last line
    // reaches below the canvas.
    void expectFits(const std::string& sjis, const Box& box, const std::string& what);
    // Fails when the text holds a character that Shift-JIS could not take ('?' from the
    // conversion) or that the game font draws as its missing-character box.
    void expectDrawable(const std::string& sjis, int fontSize, const std::string& what);

    // Advance in pixels of one line of text at the size, measured on a wide scratch canvas.
    int advanceOf(const std::string& sjis, int fontSize);
};

// The explicit lines of a text (split at '\n').
std::vector<std::string> SplitLines(const std::string& text);
// Width of a Shift-JIS text in full-width characters (a single byte counts as half).
double FullWidthChars(const std::string& sjis);
// UTF-8 of a Shift-JIS text, for failure messages.
std::string Readable(const std::string& sjis);

}  // namespace texttest

#include "widgets/message_window.h"

#include <string_view>

#include "platform/debug.h"
#include "platform/text_encoding.h"

namespace {

bool IsLead(char c) { return platform::IsSjisLeadByte(static_cast<unsigned char>(c)); }

// Length of the character starting at byte i: 2 for a lead byte followed by its trail byte, else 1.
size_t CharLength(std::string_view s, size_t i) { return (IsLead(s[i]) && i + 1 < s.size()) ? 2 : 1; }

}  // namespace

void MessageWindow::setText(const char* message) {
    tick = 0;
    stepsDone = 0;
    cursor = 0;
    penX = 0;
    penY = 0;
    surface.visible = false;
    surface.Clear();
    text.assign(message != nullptr ? message : "");
    // Walk the characters: a lead byte at the very end has no trail byte to pair with.
    size_t i = 0;
    while (i < text.size()) {
        if (IsLead(text[i]) && i + 1 >= text.size()) {
            text.resize(i);
            platform::OutputDebug(SJ("MessageWindow : 文末の全角文字が欠けているため削除しました"));
            break;
        }
        i += CharLength(text, i);
    }
}

void MessageWindow::finish() {
    if (finished()) {
        return;
    }
    const bool wasInstant = instant;
    instant = true;
    step();
    instant = wasInstant;
}

void MessageWindow::step() {
    ++tick;
    if (!instant && tick < framesPerStep) {
        return;
    }
    tick = 0;
    if (cursor >= text.size()) {
        return;
    }
    const std::string_view all(text);
    size_t begin = cursor;
    size_t end = cursor;
    if (instant) {
        penX = 0;
        penY = 0;
        begin = 0;
        surface.Clear();
        // The whole message, whole characters only, up to the collection limit.
        end = 0;
        while (end < all.size()) {
            const size_t n = CharLength(all, end);
            if (end + n > kCollectLimit) {
                platform::OutputDebug(SJ("MessageWindow : 文章が長すぎるため途中で切りました"));
                break;
            }
            end += n;
        }
        cursor = all.size();  // what did not fit is dropped, not typed later
    } else {
        end = begin + CharLength(all, begin);
        cursor = end;
    }
    const std::string_view collected = all.substr(begin, end - begin);

    if (penX + fontSize > wrapWidth || (!collected.empty() && collected.front() == '\n')) {
        penX = 0;
        penY += fontSize + kLineGap;
    }
    surface.visible = true;
    const int advance = surface.DrawText(collected, penX, penY, fontSize, kTextColour, false);
    if (advance > 0) {
        penX += advance;
    }
    ++stepsDone;
}

void MessageWindow::draw(float, float, float) {
    if (!shown) {
        return;
    }
    background.position = Vec3{static_cast<float>(textX), static_cast<float>(textY), 0.0f};
    decoration.position = Vec3{static_cast<float>(decorationX), static_cast<float>(decorationY), 0.0f};
    surface.position = Vec3{static_cast<float>(textX), static_cast<float>(textY), 0.0f};
    drawTree(&background, 0.0f, 0.0f, 0.0f);
    drawTree(&decoration, 0.0f, 0.0f, 0.0f);
    drawTree(&surface, 0.0f, 0.0f, 0.0f);
}

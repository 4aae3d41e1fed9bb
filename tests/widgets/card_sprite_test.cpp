#include <gtest/gtest.h>

#include "widgets/image_card.h"

namespace {

struct RectCase {
    bool faceUp;
    int value, suit;
    bool special;
    int specialIndex;
    Image::Rect want;
};

void ExpectRect(const Image::Rect& r, const Image::Rect& want) {
    EXPECT_EQ(r.left, want.left);
    EXPECT_EQ(r.top, want.top);
    EXPECT_EQ(r.right, want.right);
    EXPECT_EQ(r.bottom, want.bottom);
}

TEST(ImageCard, SheetRectangles) {
    const RectCase cases[] = {
        {true, 0, 0, false, 0, {0, 0, 80, 120}},           // ace, suit 0: face 0
        {true, 12, 3, false, 0, {240, 480, 320, 600}},     // king, suit 3: face 51
        {true, 2, 3, false, 0, {880, 0, 960, 120}},        // face 11: last cell of row 0
        {true, 3, 0, false, 0, {0, 120, 80, 240}},         // face 12: first cell of row 1
        {true, 13, 0, false, 0, {320, 480, 400, 600}},     // joker
        {true, 13, 2, false, 0, {320, 480, 400, 600}},     // joker, whatever its suit
        {false, 7, 1, false, 0, {400, 480, 480, 600}},     // back
        {false, 7, 1, true, 2, {400, 480, 480, 600}},      // back even with a special face
        {true, -100, -100, true, 2, {640, 480, 720, 600}}, // dummy picture 2
        {true, -100, -100, true, 4, {800, 480, 880, 600}}, // dummy picture 4
        // Cards that cannot be shown show the back instead of a rectangle off the sheet.
        {true, -100, -100, false, 0, {400, 480, 480, 600}},
        {true, 5, 4, false, 0, {400, 480, 480, 600}},
        {true, 0, 0, true, 5, {400, 480, 480, 600}},
    };
    for (const RectCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.faceUp << " " << c.value << "/" << c.suit << " special " << c.special);
        ImageCard card;
        card.specialFace = c.special;
        card.specialIndex = c.specialIndex;
        card.setCard(c.faceUp, c.value, c.suit);
        EXPECT_TRUE(card.useSourceRect);
        ExpectRect(card.sourceRect, c.want);
        EXPECT_EQ(card.cardValue, c.value);
        EXPECT_FALSE(card.flipPending);
    }
}

TEST(ImageCard, FlipTurnsToSixtyThenShowsTheNewSideTurningIn) {
    ImageCard card;
    EXPECT_TRUE(card.rotationEnabled);
    card.setCard(false, 12, 3);
    card.startFlip(true);
    for (int frame = 1; frame <= 8; ++frame) {
        card.update();
        EXPECT_TRUE(card.flipPending) << frame;
        ExpectRect(card.sourceRect, ImageCard::BackRect());
    }
    EXPECT_FLOAT_EQ(card.rotation.y, 52.5f);  // 7/8 of the way
    card.update();                              // lands on 60: the midpoint
    EXPECT_FALSE(card.flipPending);
    ExpectRect(card.sourceRect, ImageCard::FaceRect(12, 3));
    EXPECT_FLOAT_EQ(card.rotation.y, -120.0f);
    for (int frame = 0; frame < 9; ++frame) card.update();
    EXPECT_FLOAT_EQ(card.rotation.y, 0.0f);
    EXPECT_FALSE(card.tweening());
}

TEST(ImageCard, FlipWaitsForEveryQueue) {
    ImageCard card;
    card.setCard(false, 4, 1);
    card.alpha = 0.0f;
    card.tween(1.0f, 15, 1, 20, 0);  // a fade still running
    card.startFlip(true);
    int frames = 0;
    while (card.flipPending && frames < 100) {
        card.update();
        ++frames;
        if (card.flipPending) {
            ExpectRect(card.sourceRect, ImageCard::BackRect());
        }
    }
    // The turn reaches 60 after 9 frames, but the new face waits for the fade to land (frame 21).
    EXPECT_EQ(frames, 21);
    EXPECT_FLOAT_EQ(card.alpha, 1.0f);
    ExpectRect(card.sourceRect, ImageCard::FaceRect(4, 1));
}

}  // namespace

#include "widgets/image_card.h"

#include "core/global.h"

namespace {

constexpr int kJokerValue = 13;
constexpr int kJokerFace = 52;

Image::Rect CellAt(int left, int top) {
    return Image::Rect{left, top, left + ImageCard::kCellWidth, top + ImageCard::kCellHeight};
}

}  // namespace

const char* ImageCard::Sheet() {
    return Global::Instance().Get("FourColourDeck") == 1 ? "cards_four.png" : "sozai1.png";
}

Image::Rect ImageCard::BackRect() { return CellAt(400, 480); }

Image::Rect ImageCard::SpecialRect(int index) {
    if (index < 0 || index >= kSpecialCount) {
        return BackRect();
    }
    return CellAt((index + 6) * kCellWidth, 480);
}

Image::Rect ImageCard::FaceRect(int value, int suit) {
    if (value == kJokerValue) {
        return CellAt(320, 480);  // face index 52, whatever the suit
    }
    if (value < 0 || value > 12 || suit < 0 || suit > 3) {
        return BackRect();
    }
    const int f = 4 * value + suit;
    static_assert(kJokerFace == 4 * 13);
    return CellAt((f % kCellsPerRow) * kCellWidth, (f / kCellsPerRow) * kCellHeight);
}

void ImageCard::setCard(bool up, int value, int suit) {
    cardValue = value;
    cardSuit = suit;
    useSourceRect = true;
    if (!up) {
        sourceRect = BackRect();
    } else if (specialFace) {
        sourceRect = SpecialRect(specialIndex);
    } else {
        sourceRect = FaceRect(value, suit);
    }
}

void ImageCard::startFlip(bool toFaceUp) {
    flipPending = true;
    faceUp = toFaceUp;
    tweenGroup(3, 1, 0.0f, 60.0f, 0.0f, kFlipFrames, 0);
}

void ImageCard::update() {
    updateTweens();
    // The midpoint waits for every queue, so a card still moving or fading finishes that first.
    if (flipPending && !tweening()) {
        flipPending = false;
        setCard(faceUp, cardValue, cardSuit);
        rotation = Vec3{0.0f, -120.0f, 0.0f};
        tweenGroup(3, 1, 0.0f, 0.0f, 0.0f, kFlipFrames, 0);
    }
}

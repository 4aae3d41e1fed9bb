#pragma once
#include "widgets/image.h"

// The sprite of one playing card on the card sheet (loaded by the owner with
// loadTexture(ImageCard::Sheet())). It knows the card it shows and turns over with a two-phase flip: a quarter turn
// to 60 degrees about Y, then, once every tween queue of the sprite is empty, the new side turning
// in from -120 degrees.
class ImageCard : public Image {
public:
    // Card sheet cells: 80 x 120, 12 per row.
    static constexpr int kCellWidth = 80;
    static constexpr int kCellHeight = 120;
    static constexpr int kCellsPerRow = 12;
    static constexpr int kSpecialCount = 5;
    static constexpr int kFlipFrames = 8;

    ImageCard() { rotationEnabled = true; }

    // The card sheet to load: "cards_four.png" (the same cells, the four suits in four colours)
    // when Global "FourColourDeck" is 1, else "sozai1.png".
    static const char* Sheet();

    // Stores the card and points the source rectangle at its face (or at special picture
    // specialIndex when specialFace is set) when faceUp, else at the back. A card that cannot be
    // shown (value outside 0..13, suit outside 0..3 for ordinary cards, special index outside
    // 0..4) shows the back. Leaves faceUp and flipPending alone.
    void setCard(bool faceUp, int value, int suit);
    // Once per frame: advances the tweens, then completes a pending flip when nothing is queued.
    void update();
    // Starts a flip that ends on the given side: the first quarter turn, 8 frames, linear.
    void startFlip(bool toFaceUp);

    // Sheet rectangles.
    static Rect FaceRect(int value, int suit);  // the back for a card that cannot be shown
    static Rect BackRect();
    static Rect SpecialRect(int index);         // the back for an index outside 0..4

    int cardValue = 0;
    int cardSuit = 0;
    bool specialFace = false;
    int specialIndex = 0;
    bool flipPending = false;
    bool faceUp = false;
};

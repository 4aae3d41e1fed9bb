#pragma once
#include <array>

#include "cards/hand_state.h"
#include "widgets/draw_base.h"
#include "widgets/image.h"
#include "widgets/image_card.h"
#include "widgets/number.h"

// The sprites of one side's hand: a card sprite, hold marker and frozen frame per slot, the
// see-through copies shown over the opponent's face-down cards, and the medal label and digits.
// It shows what a HandState holds and runs the hand's animations; it plays no sound and decides
// nothing about the cards.
class HandView {
public:
    static constexpr int kSlotCount = HandState::kSlotCount;

    // Loads and places every sprite for the side: hidden (0, 0) cards with the side's face state,
    // hidden see-through copies, and the medal display showing medals.
    void init(bool isHuman, int medals);
    // Advances every hand and see-through card sprite one frame.
    void update();
    // Slots 4 down to 0 (the leftmost card on top): card, see-through copy, then the frozen frame
    // or (human side) the hold marker, as the slots say; then the medal label and digits.
    void draw(const std::array<HandSlot, kSlotCount>& slots, float dx, float dy, float dz);
    // True while a hand card moves, fades or flips, or the medal number counts.
    bool isBusy() const;

    // Shows the slot's card (or its dummy picture) on the hand sprite with the side's face state
    // and face up on the see-through copy.
    void showSlot(int slot, const HandSlot& s);
    // Hides every card and see-through copy and turns the dummy pictures off.
    void hideCards();
    // Hidden (0, 0) cards with the side's face state, no dummy picture, a white tint; the
    // see-through copies hidden.
    void resetFaces();
    // Every hand card turns face up; the see-through copies are hidden.
    void flipAllFaceUp();
    // Shows (fading in to 0.7 over 20 frames, face up) or hides the see-through copies.
    void showTranslucentCopies(bool on);
    // The card flies from the deck (280, 264) to its slot with ease-out over 10 frames after
    // delay frames; with a delay it stays invisible (alpha 0) until it starts.
    void dealAnimation(int slot, int delay);
    // The card fades in at its slot over 10 frames after delay frames.
    void fadeInAtSlot(int slot, int delay);
    // Hides the hold markers and fades out every exchangeable card over 20 frames; returns how
    // many. With deckCount 0 or less only the first one fades.
    int fadeOutUnheld(const std::array<HandSlot, kSlotCount>& slots, int deckCount);
    void hideHoldMarker(int slot);
    // Alpha 1: a card faded out earlier must not arrive invisible when it is dealt anew.
    void makeOpaque(int slot);
    void showAllCards();

    // Sets the display to n at once, ending any count.
    void showMedals(int n);
    // Counts the display from what it shows now to n over 60 frames.
    void countMedalsTo(int n);

    // First slot whose card contains the point, or -1.
    int slotAt(int x, int y) const;
    bool cardContains(int slot, int x, int y) const { return sprites_[static_cast<size_t>(slot)].card.contains(x, y); }

    static DrawBase::Vec3 SlotPosition(bool isHuman, int slot);
    DrawBase::Vec3 slotPosition(int slot) const { return SlotPosition(isHuman, slot); }

    // The sprites of a slot (0..4), for effects that follow a card.
    ImageCard& cardSprite(int slot) { return sprites_[static_cast<size_t>(slot)].card; }
    const ImageCard& cardSprite(int slot) const { return sprites_[static_cast<size_t>(slot)].card; }
    ImageCard& copySprite(int slot) { return sprites_[static_cast<size_t>(slot)].copy; }
    const ImageCard& copySprite(int slot) const { return sprites_[static_cast<size_t>(slot)].copy; }
    Image& holdMarker(int slot) { return sprites_[static_cast<size_t>(slot)].holdMarker; }
    const Image& holdMarker(int slot) const { return sprites_[static_cast<size_t>(slot)].holdMarker; }
    Image& frozenFrame(int slot) { return sprites_[static_cast<size_t>(slot)].frozenFrame; }
    const Image& frozenFrame(int slot) const { return sprites_[static_cast<size_t>(slot)].frozenFrame; }

    bool isHuman = false;
    Image medalLabel;
    Number medalNumber;

private:
    struct SlotSprites {
        ImageCard card;     // the hand card (own face state, flip and dummy picture)
        ImageCard copy;     // its see-through copy, always face up
        Image holdMarker;   // hold label, human side only
        Image frozenFrame;  // frame around a frozen card
    };
    static bool validSlot(int slot) { return slot >= 0 && slot < kSlotCount; }

    std::array<SlotSprites, kSlotCount> sprites_{};
};

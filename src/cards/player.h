#pragma once
#include <array>
#include <functional>

#include "cards/card.h"
#include "cards/hand.h"
#include "widgets/image.h"
#include "widgets/image_card.h"
#include "widgets/number.h"

class Stock;

// One card position of a side's hand, with everything drawn for it.
struct HandSlot {
    ImageCard cardImage;   // the card sprite (own face state, flip and dummy picture)
    Card card;             // the card in this slot; (-100, -100) while it holds a dummy card
    Image holdMarker;      // hold label, human side only
    Image frozenFrame;     // frame around a frozen card
    bool held = false;     // stays in the hand at the next exchange
    bool frozen = false;   // cannot be toggled and is forced held
    int frozenTurns = 0;   // turns the card stays frozen
    bool dummy = false;    // the slot holds a dummy card
    int dummyFace = 0;     // which of the five dummy pictures it shows
};

// A queued change of one hand slot, applied at the ability commit or the exchange.
//   1 replace the card silently (a joker so placed is held)
//   2 draw a new card from the deck with the deal animation
//   3 turn the slot into a dummy card frozen for param turns
//   4 freeze the slot for param turns
//   5 put the prepared card into the slot instead of a drawn card
struct PendingChange {
    int kind = 0;
    int param = 0;
    Card card;
};

// One side of the match: the human at the bottom or the opponent at the top. Owns the five-card
// hand with its sprites, the see-through copies, the medal count with its display and the
// pending card changes, and carries the opponent's hold decision.
class Player : public DrawBase {
public:
    static constexpr int kSlotCount = 5;
    static constexpr int kMaxPendingKind = 5;

    enum PendingKind : int {
        PendingNone = 0,
        PendingReplace = 1,
        PendingRedraw = 2,
        PendingDummy = 3,
        PendingFreeze = 4,
        PendingPrepared = 5,
    };

    using CardProducer = std::function<Card()>;

    // --- Set-up and per-frame ---------------------------------------------------------------
    // Empty hand with sprites loaded and placed, no pending changes, medal display built.
    void init(bool isHuman);
    // Advances every hand and see-through card sprite one frame.
    void update();
    // Slots 4 down to 0 (the leftmost card on top): card, see-through copy, then the frozen frame
    // or (human side) the hold marker; then the medal label and digits.
    void draw(float dx, float dy, float dz) override;
    // True while a hand card moves, fades or flips, or the medal number counts.
    bool isBusy() const;

    // --- Hand state ---------------------------------------------------------------------------
    void clearHand();
    // Hidden, unheld, non-dummy (0, 0) cards with the side's face state and a white tint; the
    // see-through copies hidden.
    void resetHandFaces();
    // Clears held, frozen and the frozen turns of every slot.
    void clearHoldAndFreeze();
    // Every hand card turns face up (the showdown reveal); the see-through copies are hidden.
    void flipAllFaceUp();
    // Shows (fading in to 0.7 over 20 frames, face up) or hides the see-through copies.
    void showTranslucentCopies(bool on);
    // The card flies from the deck (280, 264) to its slot with ease-out over 10 frames after
    // delay frames; with a delay it stays invisible (alpha 0) until it starts.
    void dealAnimation(int slot, int delay);
    // The card fades in at its slot over 10 frames after delay frames.
    void fadeInAtSlot(int slot, int delay);
    // Deals card into slot as the match's deal does: face up on the human side, normal face,
    // the deal animation and "se_carddraw.wav" after delay frames.
    void dealCard(int slot, const Card& card, int delay);

    // --- Holding ------------------------------------------------------------------------------
    // Every slot whose card contains the point: a frozen or dummy card answers "se_cancel.wav"
    // and stays as it is; any other card plays "se_hold.wav" and toggles its hold.
    void toggleHoldAt(int x, int y);
    // First slot whose card contains the point, or -1.
    int slotAt(int x, int y) const;
    void holdFrozenCards();
    // A frozen slot with turns left loses one; one without is released (neither held nor frozen).
    void tickFrozenTurns();
    int countHeld() const;
    int countDummies() const;
    int countExchangeable() const;  // neither held nor frozen
    int countFrozenOrDummy() const;
    bool hasHeldNonDummy() const;

    // --- Exchange -----------------------------------------------------------------------------
    // Hides the hold markers and fades out every card to be exchanged (neither held nor frozen)
    // over 20 frames; returns how many. With deckCount 0 or less only the first one fades.
    int fadeOutUnheld(int deckCount);
    // Replaces every card neither held nor frozen: a prepared card (kind 5) fades in, any other
    // slot gets producer()'s card dealt from the deck. Clears every pending kind. Returns the
    // number of cards replaced.
    int exchangeUnheld(const CardProducer& producer);

    // --- Pending changes and abilities ----------------------------------------------------------
    void clearPending();
    // Stores kind and param for the slot, and the card when card is not null.
    void setPending(int slot, int kind, int param, const Card* card);
    // Applies and clears every pending change in slot order; kind 2 draws from the deck.
    void applyPendingChanges(Stock& deck);
    // The same with any source of cards for kind 2.
    void applyPendingChanges(const CardProducer& producer);
    // Records kind 1 with the slot's number moved by delta, wrapping between king and ace.
    // Nothing for a joker, and nothing for a dummy card (which stays a dummy either way).
    void shiftValue(int slot, int delta);
    // Records kind 5 for the slot with a card copied from a random held non-dummy slot, its value
    // and suit kept or drawn anew. Does nothing when no slot is held and not a dummy.
    void prepareCopyOfHeld(int slot, bool keepValue, bool keepSuit);
    // Every slot gets kind 5 with (0, 0) and is no longer held: five aces at the exchange.
    void prepareFixedHand();
    // turns 0 (or less): the slot shows its own card again. turns > 0: the slot becomes a dummy
    // card with a picture no other dummy of the hand shows, frozen for that many turns.
    void setDummy(int slot, int turns);

    // --- Scoring and medals -----------------------------------------------------------------------
    HandResult evaluateHand() const;
    // The opponent's choice of cards to keep, for a deck holding deckCount cards.
    void decideHolds(int deckCount);
    // Sets the count and shows it at once (the start of a match).
    void setMedals(int n);
    // Change the count and let the display count to it over 60 frames.
    void addMedals(int n);
    void removeMedals(int n);

    // --- Geometry ---------------------------------------------------------------------------------
    static DrawBase::Vec3 SlotPosition(bool isHuman, int slot);
    DrawBase::Vec3 slotPosition(int slot) const { return SlotPosition(isHuman, slot); }

    bool isHuman = false;
    std::array<HandSlot, kSlotCount> hand{};
    std::array<HandSlot, kSlotCount> translucentCopies{};
    int medals = 0;
    Image medalLabel;
    Number medalNumber;
    int opponentIndex = 0;
    std::array<PendingChange, kSlotCount> pending{};

private:
    static bool validSlot(int slot) { return slot >= 0 && slot < kSlotCount; }
    // Puts card into the slot and shows it on the hand sprite (the side's face state) and the
    // see-through copy (face up); a joker gets its normal face back.
    void placeCard(int slot, const Card& card);
    // Shows the slot's card on both sprites with the current special-face state.
    void refreshSprites(int slot);
    void countMedalsTo();
};

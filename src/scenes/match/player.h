#pragma once
// Player lives with the match scene rather than in cards/: it joins the hand's rules (cards/) to
// its sprites (widgets/) and plays the hand's sounds, so it sits above both, and the rules below
// stay free of drawing and sound.
#include <array>
#include <functional>

#include "cards/hand_state.h"
#include "widgets/draw_base.h"
#include "widgets/hand_view.h"

class Stock;

// One side of the match: the human at the bottom or the opponent at the top. Made of the hand's
// rules (HandState: the five slots, the pending card changes, the medal count, the opponent's
// hold decision) and its sprites (HandView: cards, hold markers, frozen frames, see-through
// copies, the medal display); Player keeps the two in step and plays the hand's sounds. Both
// parts are private bases so that the fields the match reads (hand, pending, medals, isHuman,
// medalLabel, medalNumber, opponentIndex) are Player's own fields.
class Player : public DrawBase, private HandState, private HandView {
public:
    static constexpr int kSlotCount = HandState::kSlotCount;
    static constexpr int kMaxPendingKind = HandState::kMaxPendingKind;

    using HandState::PendingKind;
    using HandState::PendingNone;
    using HandState::PendingReplace;
    using HandState::PendingRedraw;
    using HandState::PendingDummy;
    using HandState::PendingFreeze;
    using HandState::PendingPrepared;

    using CardProducer = HandState::CardProducer;

    // --- Set-up and per-frame ---------------------------------------------------------------
    // Empty hand with sprites loaded and placed, no pending changes, medal display built.
    void init(bool isHuman);
    // Advances every hand and see-through card sprite one frame.
    void update();
    // Slots 4 down to 0 (the leftmost card on top): card, see-through copy, then the frozen frame
    // or (human side) the hold marker; then the medal label and digits.
    void draw(float dx, float dy, float dz) override;
    // True while a hand card moves, fades or flips, or the medal number counts.
    using HandView::isBusy;

    // --- Hand state ---------------------------------------------------------------------------
    // Every slot empty ((0, 0), no dummy, not held; freezes stay); cards and copies hidden.
    void clearHand();
    // Hidden, unheld, non-dummy (0, 0) cards with the side's face state and a white tint; the
    // see-through copies hidden.
    void resetHandFaces();
    // Clears held, frozen and the frozen turns of every slot.
    using HandState::clearHoldAndFreeze;
    // Every hand card turns face up (the showdown reveal); the see-through copies are hidden.
    using HandView::flipAllFaceUp;
    // Shows (fading in to 0.7 over 20 frames, face up) or hides the see-through copies.
    using HandView::showTranslucentCopies;
    // The card flies from the deck (280, 264) to its slot with ease-out over 10 frames after
    // delay frames; with a delay it stays invisible (alpha 0) until it starts.
    using HandView::dealAnimation;
    // The card fades in at its slot over 10 frames after delay frames.
    using HandView::fadeInAtSlot;
    // Deals card into slot as the match's deal does: face up on the human side, normal face,
    // the deal animation and "se_carddraw.wav" after delay frames.
    void dealCard(int slot, const Card& card, int delay);

    // --- Holding ------------------------------------------------------------------------------
    // Every slot whose card contains the point: a frozen card answers "se_cancel.wav" and stays
    // as it is; any other card (a dummy whose turns have run out included) plays "se_hold.wav"
    // and toggles its hold.
    void toggleHoldAt(int x, int y);
    // The same for one slot (0..4), as its number key does; other values do nothing.
    void toggleHoldSlot(int slot);
    // First slot whose card contains the point, or -1.
    using HandView::slotAt;
    using HandState::holdFrozenCards;
    // A frozen slot with turns left loses one; one without is released (neither held nor frozen).
    using HandState::tickFrozenTurns;
    using HandState::countHeld;
    using HandState::countDummies;
    using HandState::countExchangeable;  // neither held nor frozen
    using HandState::countFrozenOrDummy;
    using HandState::hasHeldNonDummy;

    // --- Exchange -----------------------------------------------------------------------------
    // Hides the hold markers and fades out every card to be exchanged (neither held nor frozen)
    // over 20 frames; returns how many. With deckCount 0 or less only the first one fades.
    int fadeOutUnheld(int deckCount);
    // Replaces every card neither held nor frozen: a prepared card (kind 5) fades in, any other
    // slot gets producer()'s card dealt from the deck. Clears every pending kind. Returns the
    // number of cards replaced.
    int exchangeUnheld(const CardProducer& producer);

    // --- Pending changes and abilities ----------------------------------------------------------
    using HandState::clearPending;
    // Stores kind and param for the slot, and the card when card is not null.
    using HandState::setPending;
    // Applies and clears every pending change in slot order; kind 2 draws from the deck.
    void applyPendingChanges(Stock& deck);
    // The same with any source of cards for kind 2.
    void applyPendingChanges(const CardProducer& producer);
    // Records kind 1 with the slot's number moved by delta, wrapping between king and ace.
    // Nothing for a joker, and nothing for a dummy card (which stays a dummy either way).
    using HandState::shiftValue;
    // Records kind 5 for the slot with a card copied from a random held non-dummy slot, its value
    // and suit kept or drawn anew. Does nothing when no slot is held and not a dummy.
    using HandState::prepareCopyOfHeld;
    // Every slot gets kind 5 with (0, 0) and is no longer held: five aces at the exchange.
    using HandState::prepareFixedHand;
    // turns 0 (or less): the slot shows its own card again. turns > 0: the slot becomes a dummy
    // card with a picture no other dummy of the hand shows, frozen for that many turns.
    void setDummy(int slot, int turns);

    // --- Scoring and medals -----------------------------------------------------------------------
    using HandState::evaluateHand;
    // The opponent's choice of cards to keep, for a deck holding deckCount cards.
    using HandState::decideHolds;
    // Sets the count and shows it at once (the start of a match).
    void setMedals(int n);
    // Change the count and let the display count to it over 60 frames.
    void addMedals(int n);
    void removeMedals(int n);

    // --- Geometry and sprites ---------------------------------------------------------------------
    using HandView::SlotPosition;
    using HandView::slotPosition;
    // The sprites of a slot (0..4): the hand card, its see-through copy, the hold marker and the
    // frozen frame, for effects that follow a card.
    using HandView::cardSprite;
    using HandView::copySprite;
    using HandView::holdMarker;
    using HandView::frozenFrame;

    // The rules and the sprites on their own (tests and tools).
    const HandState& rules() const { return *this; }
    const HandView& view() const { return *this; }

    using HandView::isHuman;
    using HandState::hand;
    using HandState::medals;
    using HandView::medalLabel;
    using HandView::medalNumber;
    using HandState::opponentIndex;
    using HandState::pending;

private:
    // Shows every slot the rules changed as the pending changes do: in slot order, drawn and
    // prepared cards dealt 5 frames apart with their sound.
    void showPendingChanges(const SlotEvents& events);
};

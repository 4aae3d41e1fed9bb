#pragma once
#include <array>
#include <cstdint>
#include <functional>

#include "cards/card.h"
#include "cards/hand.h"

// The rules of one card position of a side's hand.
struct HandSlot {
    Card card;             // the card in this slot; (-100, -100) while it holds a dummy card
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

// The bookkeeping of one side's hand without anything drawn or played: the five slots, the
// pending card changes, the medal count and the opponent's hold decision. Operations that change
// what a slot shows report per slot what happened, so that whoever draws the hand can follow.
class HandState {
public:
    static constexpr int kSlotCount = 5;
    static constexpr int kMaxPendingKind = 5;
    static constexpr int kDummyPictures = 5;

    enum PendingKind : int {
        PendingNone = 0,
        PendingReplace = 1,
        PendingRedraw = 2,
        PendingDummy = 3,
        PendingFreeze = 4,
        PendingPrepared = 5,
    };

    using CardProducer = std::function<Card()>;

    // What an operation did to one slot.
    enum class SlotEvent : std::uint8_t {
        None,
        Placed,    // the card was replaced in place (kind 1), or the slot became a dummy (kind 3)
        Drawn,     // a card came from the producer
        Prepared,  // the prepared card of kind 5 took the slot
    };
    using SlotEvents = std::array<SlotEvent, kSlotCount>;

    // Empty (0, 0) slots, nothing held or frozen, no pending changes. The medal count stays.
    void reset();
    // Every slot gets (0, 0), loses its dummy and its hold; freezes stay.
    void clearHand();
    // Clears held, frozen and the frozen turns of every slot.
    void clearHoldAndFreeze();
    // The card dealt into the slot: any dummy there ends.
    void dealCard(int slot, const Card& card);

    // --- Holding ------------------------------------------------------------------------------
    // Inverts the slot's hold and returns true, unless the slot is frozen (false, nothing
    // changes). A dummy whose turns have run out is no longer frozen and toggles like any card.
    bool toggleHold(int slot);
    void holdFrozenCards();
    // A frozen slot with turns left loses one; one without is released (neither held nor frozen).
    void tickFrozenTurns();
    // Neither held nor frozen: given up at the next exchange.
    bool exchangeable(int slot) const;
    int countHeld() const;
    int countDummies() const;
    int countExchangeable() const;
    int countFrozenOrDummy() const;
    bool hasHeldNonDummy() const;

    // --- Exchange -----------------------------------------------------------------------------
    // Replaces every card neither held nor frozen: a prepared card (kind 5) takes its slot, any
    // other slot gets producer()'s card (an empty-deck card without a producer), in slot order.
    // Ends the dummies of the replaced slots and clears every pending kind.
    SlotEvents exchangeUnheld(const CardProducer& producer);

    // --- Pending changes and abilities --------------------------------------------------------
    void clearPending();
    // Stores kind and param for the slot, and the card when card is not null.
    void setPending(int slot, int kind, int param, const Card* card);
    // Applies and clears every pending change in slot order; kind 2 takes producer()'s card.
    SlotEvents applyPendingChanges(const CardProducer& producer);
    // Records kind 1 with the slot's number moved by delta, wrapping between king and ace.
    // Nothing for a joker, and nothing for a dummy card (which stays a dummy either way).
    void shiftValue(int slot, int delta);
    // Records kind 5 for the slot with a card copied from a random held non-dummy slot, its value
    // and suit kept or drawn anew. Does nothing when no slot is held and not a dummy.
    void prepareCopyOfHeld(int slot, bool keepValue, bool keepSuit);
    // Every slot gets kind 5 with (0, 0) and is no longer held: five aces at the exchange.
    void prepareFixedHand();
    // turns 0 (or less): the slot is no dummy any more. turns > 0: the slot becomes a dummy card
    // with a picture no other dummy of the hand shows, frozen for that many turns.
    void setDummy(int slot, int turns);

    // --- Scoring and medals -------------------------------------------------------------------
    HandResult evaluateHand() const;
    // The opponent's choice of cards to keep, for a deck holding deckCount cards.
    void decideHolds(int deckCount);
    // Medal count changes saturate at the int range instead of wrapping; the count may go below 0.
    void addMedals(int n);
    void removeMedals(int n);

    std::array<HandSlot, kSlotCount> hand{};
    std::array<PendingChange, kSlotCount> pending{};
    int medals = 0;
    int opponentIndex = 0;  // the opponent character 0..4; read only by decideHolds

protected:
    static bool validSlot(int slot) { return slot >= 0 && slot < kSlotCount; }

private:
    // Puts card into the slot; a joker ends any dummy there.
    void placeCard(int slot, const Card& card);
};

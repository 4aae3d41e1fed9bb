#include "scenes/match/player.h"

#include <string>

#include "sound/dx_sound.h"
#include "widgets/stock.h"

namespace {

constexpr int kSoundStep = 5;  // frames between the cards of one exchange

const std::string& SeCardDraw() {
    static const std::string name = "se_carddraw.wav";
    return name;
}
const std::string& SeHold() {
    static const std::string name = "se_hold.wav";
    return name;
}
const std::string& SeCancel() {
    static const std::string name = "se_cancel.wav";
    return name;
}

void PlaySe(const std::string& name, int delay) { DxSound::Instance().PlaySe(name, false, delay); }

}  // namespace

// --- Set-up and per-frame ------------------------------------------------------------------------

void Player::init(bool human) {
    HandState::reset();
    HandView::init(human, medals);
}

void Player::update() { HandView::update(); }

void Player::draw(float dx, float dy, float dz) { HandView::draw(hand, dx, dy, dz); }

// --- Hand state ----------------------------------------------------------------------------------

void Player::clearHand() {
    HandState::clearHand();
    hideCards();
}

void Player::resetHandFaces() {
    HandState::clearHand();
    resetFaces();
}

void Player::dealCard(int slot, const Card& card, int delay) {
    if (!HandState::validSlot(slot)) {
        return;
    }
    HandState::dealCard(slot, card);
    showSlot(slot, hand[static_cast<size_t>(slot)]);
    makeOpaque(slot);
    dealAnimation(slot, delay);
    PlaySe(SeCardDraw(), delay);
}

// --- Holding -------------------------------------------------------------------------------------

void Player::toggleHoldAt(int x, int y) {
    for (int i = 0; i < kSlotCount; ++i) {
        if (cardContains(i, x, y)) {
            PlaySe(toggleHold(i) ? SeHold() : SeCancel(), 0);
        }
    }
}

void Player::toggleHoldSlot(int slot) {
    if (slot >= 0 && slot < kSlotCount) {
        PlaySe(toggleHold(slot) ? SeHold() : SeCancel(), 0);
    }
}

// --- Exchange ------------------------------------------------------------------------------------

int Player::fadeOutUnheld(int deckCount) { return HandView::fadeOutUnheld(hand, deckCount); }

int Player::exchangeUnheld(const CardProducer& producer) {
    const SlotEvents events = HandState::exchangeUnheld(producer);
    int delay = 0;
    int n = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        const SlotEvent e = events[static_cast<size_t>(i)];
        if (e == SlotEvent::None) {
            continue;
        }
        hideHoldMarker(i);
        makeOpaque(i);
        if (e == SlotEvent::Prepared) {
            fadeInAtSlot(i, delay);
        } else {
            dealAnimation(i, delay);
            PlaySe(SeCardDraw(), delay);
        }
        showSlot(i, hand[static_cast<size_t>(i)]);
        delay += kSoundStep;
        ++n;
    }
    return n;
}

// --- Pending changes and abilities ---------------------------------------------------------------

void Player::applyPendingChanges(Stock& deck) {
    applyPendingChanges(CardProducer([&deck] { return deck.drawCard(); }));
}

void Player::applyPendingChanges(const CardProducer& producer) {
    showPendingChanges(HandState::applyPendingChanges(producer));
}

void Player::showPendingChanges(const SlotEvents& events) {
    int delay = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        const SlotEvent e = events[static_cast<size_t>(i)];
        if (e == SlotEvent::None) {
            continue;
        }
        showSlot(i, hand[static_cast<size_t>(i)]);
        if (e == SlotEvent::Placed) {
            continue;  // silently, in place
        }
        if (e == SlotEvent::Prepared) {
            showAllCards();
        }
        makeOpaque(i);
        dealAnimation(i, delay);
        PlaySe(SeCardDraw(), delay);
        delay += kSoundStep;
    }
}

void Player::setDummy(int slot, int turns) {
    if (!HandState::validSlot(slot)) {
        return;
    }
    HandState::setDummy(slot, turns);
    showSlot(slot, hand[static_cast<size_t>(slot)]);
}

// --- Scoring and medals --------------------------------------------------------------------------

void Player::setMedals(int n) {
    medals = n;
    showMedals(n);
}

void Player::addMedals(int n) {
    HandState::addMedals(n);
    countMedalsTo(medals);
}

void Player::removeMedals(int n) {
    HandState::removeMedals(n);
    countMedalsTo(medals);
}

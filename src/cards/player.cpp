#include "cards/player.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "core/random.h"
#include "platform/debug.h"
#include "sound/dx_sound.h"
#include "widgets/stock.h"

namespace {

constexpr const char* kCardSheet = "sozai1.png";

// Pieces of the card sheet.
constexpr Image::Rect kHoldMarkerRect{460, 656, 564, 712};
constexpr Image::Rect kFrozenFrameRect{934, 480, 1024, 610};
constexpr Image::Rect kMedalLabelRect{0, 610, 118, 656};

// Offsets of the marker and the frame from their card.
constexpr float kHoldMarkerDx = -11.0f;
constexpr float kHoldMarkerDy = 59.0f;
constexpr float kFrozenFrameDx = -5.0f;
constexpr float kFrozenFrameDy = -5.0f;

// Where dealt cards come from: the deck pile.
constexpr float kDeckX = 280.0f;
constexpr float kDeckY = 264.0f;

// Medal display: six digit cells of 28 x 46 from (118, 610), advance 23.
constexpr int kMedalDigitWidth = 28;
constexpr int kMedalDigitHeight = 46;
constexpr int kMedalDigitAdvance = 23;
constexpr int kMedalDigits = 6;
constexpr int kMedalStripLeft = 118;
constexpr int kMedalStripTop = 610;
constexpr int kMedalCountFrames = 60;

// Property indices and easings used here.
constexpr int kAlpha = 15;
constexpr int kGroupPosition = 0;
constexpr int kLinear = 1;
constexpr int kEaseOut = 3;

constexpr int kDealFrames = 10;
constexpr int kFadeInFrames = 10;
constexpr int kFadeOutFrames = 20;
constexpr int kCopyFadeFrames = 20;
constexpr float kCopyAlpha = 0.7f;
constexpr int kSoundStep = 5;  // frames between the cards of one exchange

constexpr int kDummyPictures = ImageCard::kSpecialCount;

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

int SaturatedAdd(int a, int64_t b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    return static_cast<int>(std::clamp<int64_t>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

DrawBase::Vec3 Player::SlotPosition(bool human, int slot) {
    if (human) {
        return Vec3{static_cast<float>(110 * slot + 40), 440.0f, 0.0f};
    }
    return Vec3{static_cast<float>(110 * slot + 80), 104.0f, 0.0f};
}

// --- Set-up and per-frame ------------------------------------------------------------------------

void Player::init(bool human) {
    isHuman = human;
    for (int i = 0; i < kSlotCount; ++i) {
        HandSlot& s = hand[static_cast<size_t>(i)];
        s = HandSlot{};
        s.cardImage.loadTexture(kCardSheet, false);
        s.cardImage.followShake = true;
        s.cardImage.faceUp = isHuman;
        s.cardImage.position = slotPosition(i);
        s.cardImage.setCard(isHuman, 0, 0);

        s.holdMarker.loadTexture(kCardSheet, false);
        s.holdMarker.useSourceRect = true;
        s.holdMarker.sourceRect = kHoldMarkerRect;
        s.holdMarker.followShake = true;

        s.frozenFrame.loadTexture(kCardSheet, false);
        s.frozenFrame.useSourceRect = true;
        s.frozenFrame.sourceRect = kFrozenFrameRect;
        s.frozenFrame.followShake = true;

        HandSlot& copy = translucentCopies[static_cast<size_t>(i)];
        copy = s;
        copy.cardImage.visible = false;
    }
    pending = {};

    medalNumber.hasMin = true;
    medalNumber.minimum = 0;
    medalNumber.value = medals;
    medalNumber.init(kMedalDigitWidth, kMedalDigitHeight, kMedalDigitAdvance, kMedalDigits, kMedalStripLeft,
                     kMedalStripTop, false);
    for (Image& d : medalNumber.digits) {
        d.followShake = true;
    }
    medalLabel.loadTexture(kCardSheet, true);
    medalLabel.useSourceRect = true;
    medalLabel.sourceRect = kMedalLabelRect;
    medalLabel.followShake = true;
    if (isHuman) {
        medalLabel.position = Vec3{19.0f, 573.0f, 0.0f};
        medalNumber.setPosition(136, 574);
    } else {
        medalLabel.position = Vec3{354.0f, 10.0f, 0.0f};
        medalNumber.setPosition(477, 10);
    }
}

void Player::update() {
    for (int i = 0; i < kSlotCount; ++i) {
        hand[static_cast<size_t>(i)].cardImage.update();
        translucentCopies[static_cast<size_t>(i)].cardImage.update();
    }
}

void Player::draw(float dx, float dy, float dz) {
    // Right to left, so that the leftmost card lies on top.
    for (int i = kSlotCount - 1; i >= 0; --i) {
        HandSlot& s = hand[static_cast<size_t>(i)];
        drawTree(&s.cardImage, dx, dy, dz);
        drawTree(&translucentCopies[static_cast<size_t>(i)].cardImage, dx, dy, dz);
        const Vec3& p = s.cardImage.position;
        s.frozenFrame.visible = s.frozen;
        if (s.frozen) {
            s.frozenFrame.position = Vec3{p.x + kFrozenFrameDx, p.y + kFrozenFrameDy, 0.0f};
            drawTree(&s.frozenFrame, dx, dy, dz);
        } else if (isHuman) {
            s.holdMarker.visible = s.held;
            s.holdMarker.position = Vec3{p.x + kHoldMarkerDx, p.y + kHoldMarkerDy, 0.0f};
            drawTree(&s.holdMarker, dx, dy, dz);
        }
    }
    drawTree(&medalLabel, dx, dy, dz);
    drawTree(&medalNumber, dx, dy, dz);
}

bool Player::isBusy() const {
    for (const HandSlot& s : hand) {
        if (s.cardImage.tweening() || s.cardImage.flipPending) {
            return true;
        }
    }
    return medalNumber.counting;
}

// --- Hand state ----------------------------------------------------------------------------------

void Player::clearHand() {
    for (int i = 0; i < kSlotCount; ++i) {
        HandSlot& s = hand[static_cast<size_t>(i)];
        s.card = Card{};
        s.dummy = false;
        s.held = false;
        s.dummyFace = 0;
        // A slot without a dummy shows no dummy picture when it is next given a card.
        s.cardImage.specialFace = false;
        s.cardImage.specialIndex = 0;
        s.cardImage.visible = false;
        translucentCopies[static_cast<size_t>(i)].cardImage.visible = false;
    }
}

void Player::resetHandFaces() {
    for (int i = 0; i < kSlotCount; ++i) {
        HandSlot& s = hand[static_cast<size_t>(i)];
        ImageCard& img = s.cardImage;
        img.visible = false;
        s.held = false;
        s.dummy = false;
        s.card = Card{};
        s.dummyFace = 0;
        img.specialFace = false;
        img.specialIndex = 0;
        img.faceUp = isHuman;
        img.red = 1.0f;
        img.green = 1.0f;
        img.blue = 1.0f;
        img.setCard(isHuman, 0, 0);
        // The copies of a see-through of the last hand must not linger into the next one.
        translucentCopies[static_cast<size_t>(i)].cardImage.visible = false;
    }
}

void Player::clearHoldAndFreeze() {
    for (HandSlot& s : hand) {
        s.held = false;
        s.frozen = false;
        s.frozenTurns = 0;
    }
}

void Player::flipAllFaceUp() {
    for (int i = 0; i < kSlotCount; ++i) {
        hand[static_cast<size_t>(i)].cardImage.startFlip(true);
        translucentCopies[static_cast<size_t>(i)].cardImage.visible = false;
    }
}

void Player::showTranslucentCopies(bool on) {
    for (int i = 0; i < kSlotCount; ++i) {
        ImageCard& copy = translucentCopies[static_cast<size_t>(i)].cardImage;
        if (!on) {
            copy.visible = false;
            continue;
        }
        copy = hand[static_cast<size_t>(i)].cardImage;
        // A still copy of the card as it lies, face up, whatever the hand sprite was doing.
        copy.clearTweens();
        copy.flipPending = false;
        copy.rotation = Vec3{};
        copy.faceUp = true;
        copy.setCard(true, copy.cardValue, copy.cardSuit);
        copy.alpha = 0.0f;
        copy.tween(kCopyAlpha, kAlpha, kLinear, kCopyFadeFrames, 0);
        copy.visible = true;
    }
}

void Player::dealAnimation(int slot, int delay) {
    if (!validSlot(slot)) {
        return;
    }
    translucentCopies[static_cast<size_t>(slot)].cardImage.visible = false;
    ImageCard& img = hand[static_cast<size_t>(slot)].cardImage;
    img.visible = true;
    img.position = Vec3{kDeckX, kDeckY, 0.0f};
    if (delay > 0) {
        img.alpha = 0.0f;
        img.tween(1.0f, kAlpha, kLinear, 1, delay);
    }
    const Vec3 target = slotPosition(slot);
    img.tweenGroup(kGroupPosition, kEaseOut, target.x, target.y, 0.0f, kDealFrames, delay);
}

void Player::fadeInAtSlot(int slot, int delay) {
    if (!validSlot(slot)) {
        return;
    }
    translucentCopies[static_cast<size_t>(slot)].cardImage.visible = false;
    ImageCard& img = hand[static_cast<size_t>(slot)].cardImage;
    img.visible = true;
    img.position = slotPosition(slot);
    img.alpha = 0.0f;
    img.tween(1.0f, kAlpha, kLinear, kFadeInFrames, delay);
}

void Player::dealCard(int slot, const Card& card, int delay) {
    if (!validSlot(slot)) {
        return;
    }
    HandSlot& s = hand[static_cast<size_t>(slot)];
    s.dummy = false;
    s.dummyFace = 0;
    s.cardImage.specialFace = false;
    translucentCopies[static_cast<size_t>(slot)].cardImage.specialFace = false;
    placeCard(slot, card);
    s.cardImage.alpha = 1.0f;
    dealAnimation(slot, delay);
    PlaySe(SeCardDraw(), delay);
}

void Player::placeCard(int slot, const Card& card) {
    hand[static_cast<size_t>(slot)].card = card;
    refreshSprites(slot);
    if (isJoker(card)) {
        setDummy(slot, 0);
    }
}

void Player::refreshSprites(int slot) {
    const Card& c = hand[static_cast<size_t>(slot)].card;
    hand[static_cast<size_t>(slot)].cardImage.setCard(isHuman, c.value, c.suit);
    // The see-through copy exists to show the face.
    translucentCopies[static_cast<size_t>(slot)].cardImage.setCard(true, c.value, c.suit);
}

// --- Holding -------------------------------------------------------------------------------------

void Player::toggleHoldAt(int x, int y) {
    for (HandSlot& s : hand) {
        if (!s.cardImage.contains(x, y)) {
            continue;
        }
        // A dummy card is frozen while its turns last; once they run out it still cannot be
        // kept, so the next exchange replaces it.
        if (s.frozen || s.dummy) {
            PlaySe(SeCancel(), 0);
        } else {
            PlaySe(SeHold(), 0);
            s.held = !s.held;
        }
    }
}

int Player::slotAt(int x, int y) const {
    for (int i = 0; i < kSlotCount; ++i) {
        if (hand[static_cast<size_t>(i)].cardImage.contains(x, y)) {
            return i;
        }
    }
    return -1;
}

void Player::holdFrozenCards() {
    for (HandSlot& s : hand) {
        if (s.frozen) {
            s.held = true;
        }
    }
}

void Player::tickFrozenTurns() {
    for (HandSlot& s : hand) {
        if (!s.frozen) {
            continue;
        }
        if (s.frozenTurns > 0) {
            --s.frozenTurns;
        } else {
            s.held = false;
            s.frozen = false;
        }
    }
}

int Player::countHeld() const {
    return static_cast<int>(std::count_if(hand.begin(), hand.end(), [](const HandSlot& s) { return s.held; }));
}

int Player::countDummies() const {
    return static_cast<int>(std::count_if(hand.begin(), hand.end(), [](const HandSlot& s) { return s.dummy; }));
}

int Player::countExchangeable() const {
    return static_cast<int>(
        std::count_if(hand.begin(), hand.end(), [](const HandSlot& s) { return !s.held && !s.frozen; }));
}

int Player::countFrozenOrDummy() const {
    return static_cast<int>(
        std::count_if(hand.begin(), hand.end(), [](const HandSlot& s) { return s.frozen || s.dummy; }));
}

bool Player::hasHeldNonDummy() const {
    return std::any_of(hand.begin(), hand.end(), [](const HandSlot& s) { return s.held && !s.dummy; });
}

// --- Exchange ------------------------------------------------------------------------------------

int Player::fadeOutUnheld(int deckCount) {
    for (HandSlot& s : hand) {
        s.holdMarker.visible = false;
    }
    int n = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        HandSlot& s = hand[static_cast<size_t>(i)];
        if (s.held || s.frozen) {
            continue;
        }
        s.cardImage.tween(0.0f, kAlpha, kLinear, kFadeOutFrames, 0);
        translucentCopies[static_cast<size_t>(i)].cardImage.visible = false;
        ++n;
        if (deckCount <= 0) {
            break;
        }
    }
    return n;
}

int Player::exchangeUnheld(const CardProducer& producer) {
    if (!producer) {
        platform::OutputDebug("Player : exchange without a card source; empty-deck cards dealt");
    }
    int delay = 0;
    int n = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        HandSlot& s = hand[static_cast<size_t>(i)];
        if (s.held || s.frozen) {
            continue;
        }
        s.holdMarker.visible = false;
        s.cardImage.alpha = 1.0f;
        Card card;
        if (pending[static_cast<size_t>(i)].kind == PendingPrepared) {
            card = pending[static_cast<size_t>(i)].card;
            fadeInAtSlot(i, delay);
        } else {
            card = producer ? producer() : Card{};
            dealAnimation(i, delay);
            PlaySe(SeCardDraw(), delay);
        }
        s.dummy = false;
        s.dummyFace = 0;
        s.cardImage.specialFace = false;
        translucentCopies[static_cast<size_t>(i)].cardImage.specialFace = false;
        placeCard(i, card);
        delay += kSoundStep;
        ++n;
    }
    for (PendingChange& p : pending) {
        p.kind = PendingNone;
    }
    return n;
}

// --- Pending changes and abilities ---------------------------------------------------------------

void Player::clearPending() {
    for (PendingChange& p : pending) {
        p.kind = PendingNone;
        p.param = 0;
    }
}

void Player::setPending(int slot, int kind, int param, const Card* card) {
    if (!validSlot(slot)) {
        return;
    }
    PendingChange& p = pending[static_cast<size_t>(slot)];
    p.kind = kind;
    p.param = param;
    if (card != nullptr) {
        p.card = *card;
    }
}

void Player::applyPendingChanges(Stock& deck) {
    applyPendingChanges(CardProducer([&deck] { return deck.drawCard(); }));
}

void Player::applyPendingChanges(const CardProducer& producer) {
    int delay = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        PendingChange& p = pending[static_cast<size_t>(i)];
        HandSlot& s = hand[static_cast<size_t>(i)];
        switch (p.kind) {
            case PendingReplace:
                placeCard(i, p.card);
                if (isJoker(p.card)) {
                    s.held = true;
                }
                break;
            case PendingRedraw: {
                const Card drawn = producer ? producer() : Card{};
                placeCard(i, drawn);
                s.held = false;
                s.cardImage.alpha = 1.0f;  // a card faded out earlier must not arrive invisible
                dealAnimation(i, delay);
                setDummy(i, 0);
                PlaySe(SeCardDraw(), delay);
                delay += kSoundStep;
                break;
            }
            case PendingDummy:
                setDummy(i, p.param);
                s.held = true;
                break;
            case PendingFreeze:
                if (s.frozen) {
                    s.frozenTurns = std::max(s.frozenTurns, p.param);
                } else {
                    s.frozenTurns = std::max(p.param - 1, 0);
                }
                s.frozen = true;
                break;
            case PendingPrepared:
                // The prepared card ends any dummy in the slot, so it is shown with its own face.
                s.dummy = false;
                s.dummyFace = 0;
                s.cardImage.specialFace = false;
                translucentCopies[static_cast<size_t>(i)].cardImage.specialFace = false;
                placeCard(i, p.card);
                for (HandSlot& other : hand) {
                    other.cardImage.visible = true;
                }
                s.cardImage.alpha = 1.0f;
                dealAnimation(i, delay);
                s.held = true;
                PlaySe(SeCardDraw(), delay);
                delay += kSoundStep;
                break;
            default:
                break;  // none, or a kind nothing defines
        }
        p.kind = PendingNone;
    }
}

void Player::shiftValue(int slot, int delta) {
    if (!validSlot(slot)) {
        return;
    }
    const HandSlot& s = hand[static_cast<size_t>(slot)];
    // A joker stays a joker; a dummy card stays a dummy whatever its number would become.
    if (isJoker(s.card) || s.dummy) {
        return;
    }
    const int shifted = ((s.card.value + delta) % 13 + 13) % 13;
    const Card card{shifted, s.card.suit};
    setPending(slot, PendingReplace, 0, &card);
}

void Player::prepareCopyOfHeld(int slot, bool keepValue, bool keepSuit) {
    if (!validSlot(slot)) {
        return;
    }
    auto fits = [this](int i) {
        const HandSlot& s = hand[static_cast<size_t>(i)];
        return s.held && !s.dummy;
    };
    // The reference slot is drawn again until a held non-dummy one comes up; without any such
    // slot that would never end, so nothing is prepared then.
    bool any = false;
    for (int i = 0; i < kSlotCount; ++i) {
        any = any || fits(i);
    }
    if (!any) {
        return;
    }
    Random& random = Random::Instance();
    int ref = random.Range(0, kSlotCount - 1);
    while (!fits(ref)) {
        ref = random.Range(0, kSlotCount - 1);
    }
    const Card source = hand[static_cast<size_t>(ref)].card;
    Card copy = source;
    if (!isJoker(source)) {
        copy.value = keepValue ? source.value : random.Range(0, 12);
        copy.suit = keepSuit ? source.suit : random.Range(0, kSuitCount - 1);
    }
    setPending(slot, PendingPrepared, 0, &copy);
}

void Player::prepareFixedHand() {
    const Card ace{0, 0};
    for (int i = 0; i < kSlotCount; ++i) {
        setPending(i, PendingPrepared, 0, &ace);
        hand[static_cast<size_t>(i)].held = false;
    }
}

void Player::setDummy(int slot, int turns) {
    if (!validSlot(slot)) {
        return;
    }
    HandSlot& s = hand[static_cast<size_t>(slot)];
    ImageCard& copy = translucentCopies[static_cast<size_t>(slot)].cardImage;
    if (turns <= 0) {
        s.dummy = false;
        s.dummyFace = 0;
        s.cardImage.specialFace = false;
        s.cardImage.specialIndex = 0;
        copy.specialFace = false;
        copy.specialIndex = 0;
        refreshSprites(slot);
        return;
    }
    std::array<bool, kDummyPictures> used{};
    for (int j = 0; j < kSlotCount; ++j) {
        const HandSlot& other = hand[static_cast<size_t>(j)];
        if (j != slot && other.dummy && other.dummyFace >= 0 && other.dummyFace < kDummyPictures) {
            used[static_cast<size_t>(other.dummyFace)] = true;
        }
    }
    // At most four other slots hold dummies, so one of the five pictures is always free; the
    // check keeps the draw-again loop finite regardless.
    const bool anyFree = std::find(used.begin(), used.end(), false) != used.end();
    Random& random = Random::Instance();
    int b = random.Range(0, kDummyPictures - 1);
    while (anyFree && used[static_cast<size_t>(b)]) {
        b = random.Range(0, kDummyPictures - 1);
    }
    s.dummy = true;
    s.dummyFace = b;
    s.card = kDummyCard;
    s.cardImage.specialFace = true;
    s.cardImage.specialIndex = b;
    s.cardImage.setCard(isHuman, kDummyValue, kDummyValue);
    copy.specialFace = true;
    copy.specialIndex = b;
    copy.setCard(true, kDummyValue, kDummyValue);
    s.frozen = true;
    s.frozenTurns = turns;
}

// --- Scoring and medals --------------------------------------------------------------------------

HandResult Player::evaluateHand() const {
    Hand slots{};
    for (int i = 0; i < kSlotCount; ++i) {
        slots[static_cast<size_t>(i)] = HandCard{hand[static_cast<size_t>(i)].card, hand[static_cast<size_t>(i)].dummy};
    }
    return ::evaluateHand(slots);
}

void Player::decideHolds(int deckCount) {
    for (HandSlot& s : hand) {
        s.held = false;
    }

    // Dummy and joker slots take part neither in matching nor in suits; the ace counts 13.
    std::array<bool, kSlotCount> excluded{};
    std::array<bool, kSlotCount> jokerSlot{};
    std::array<int, kSlotCount> value{};
    int jokers = 0;
    int realCards = 0;
    bool anyDummy = false;
    for (int i = 0; i < kSlotCount; ++i) {
        const HandSlot& s = hand[static_cast<size_t>(i)];
        if (s.dummy) {
            excluded[static_cast<size_t>(i)] = true;
            anyDummy = true;
        } else if (isJoker(s.card)) {
            excluded[static_cast<size_t>(i)] = true;
            jokerSlot[static_cast<size_t>(i)] = true;
            ++jokers;
        } else {
            value[static_cast<size_t>(i)] = rankingValue(s.card);
            ++realCards;
        }
    }

    // Cards sharing their value with another card, and the number of equal pairs (at least 1
    // once there is any real card).
    std::array<bool, kSlotCount> matched{};
    int pairs = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        for (int j = i + 1; j < kSlotCount; ++j) {
            if (!excluded[static_cast<size_t>(i)] && !excluded[static_cast<size_t>(j)] &&
                value[static_cast<size_t>(i)] == value[static_cast<size_t>(j)]) {
                ++pairs;
                matched[static_cast<size_t>(i)] = true;
                matched[static_cast<size_t>(j)] = true;
            }
        }
    }
    const int pairScore = realCards > 0 ? std::max(pairs, 1) : 0;

    auto holdMatches = [&] {
        for (int i = 0; i < kSlotCount; ++i) {
            HandSlot& s = hand[static_cast<size_t>(i)];
            if (!s.dummy && (jokerSlot[static_cast<size_t>(i)] || matched[static_cast<size_t>(i)])) {
                s.held = true;
            }
        }
    };
    // At most deckCount cards are given up: once more unheld slots than that have been passed,
    // the rest are kept.
    auto limitToDeck = [&] {
        int givenUp = 0;
        for (HandSlot& s : hand) {
            if (!s.held && ++givenUp > deckCount) {
                s.held = true;
            }
        }
    };

    // 1. Three of a kind or better, counting jokers.
    if (jokers + pairScore > 2) {
        holdMatches();
    }

    if (!anyDummy) {
        // 2. Four to a flush, jokers included: keep them.
        std::array<int, kSuitCount> suitCount{};
        int best = 0;
        int bestSuit = -1;
        for (int i = 0; i < kSlotCount; ++i) {
            const int suit = hand[static_cast<size_t>(i)].card.suit;
            if (excluded[static_cast<size_t>(i)] || suit < 0 || suit >= kSuitCount) {
                continue;
            }
            const int n = ++suitCount[static_cast<size_t>(suit)];
            if (n > best) {
                best = n;
                bestSuit = suit;
            }
        }
        if (jokers + best >= 4) {
            for (int i = 0; i < kSlotCount; ++i) {
                HandSlot& s = hand[static_cast<size_t>(i)];
                if (jokerSlot[static_cast<size_t>(i)] ||
                    (!excluded[static_cast<size_t>(i)] && s.card.suit == bestSuit)) {
                    s.held = true;
                }
            }
            // A flush draw gives up at most one card, which a deck that is not empty covers;
            // the limit only guards against exchanging more cards than the deck holds.
            limitToDeck();
            return;
        }

        // 3. Four to a straight, top window first (opponent 2 never draws to straights).
        if (opponentIndex != 2) {
            for (int w = 9; w >= 0; --w) {
                std::array<bool, kSlotCount> marked{};
                std::array<bool, 14> seen{};
                int count = 0;
                for (int i = 0; i < kSlotCount; ++i) {
                    const int v = value[static_cast<size_t>(i)];
                    if (excluded[static_cast<size_t>(i)] || v < w || v > w + 4 || v < 0 || v > 13 ||
                        seen[static_cast<size_t>(v)]) {
                        continue;
                    }
                    seen[static_cast<size_t>(v)] = true;
                    marked[static_cast<size_t>(i)] = true;
                    ++count;
                }
                if (w == 0) {
                    ++count;  // the lowest window counts its bottom place as filled
                }
                count += jokers;
                if (count >= 4) {
                    for (int i = 0; i < kSlotCount; ++i) {
                        hand[static_cast<size_t>(i)].held =
                            jokerSlot[static_cast<size_t>(i)] || marked[static_cast<size_t>(i)];
                    }
                    // The lowest window can give up two cards; never more than the deck holds,
                    // or the exchange would deal cards that are not in it.
                    limitToDeck();
                    return;
                }
            }
        }
    }

    // 4. Keep what matches, and the jokers.
    holdMatches();
    // 5. Give up no more cards than the deck holds.
    limitToDeck();
}

void Player::setMedals(int n) {
    medals = n;
    medalNumber.counting = false;
    medalNumber.value = medalNumber.clamp(n);
    medalNumber.setDisplay(n);
}

void Player::addMedals(int n) {
    medals = SaturatedAdd(medals, n);
    countMedalsTo();
}

void Player::removeMedals(int n) {
    medals = SaturatedAdd(medals, -static_cast<int64_t>(n));
    countMedalsTo();
}

void Player::countMedalsTo() {
    // From what is on display now, even in the middle of an earlier count.
    medalNumber.value = medalNumber.shown;
    medalNumber.countTo(medals, kMedalCountFrames);
}

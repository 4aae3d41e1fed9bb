#include "widgets/hand_view.h"

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

static_assert(HandState::kDummyPictures == ImageCard::kSpecialCount,
              "every dummy picture of the rules needs a special picture on the card sheet");

}  // namespace

DrawBase::Vec3 HandView::SlotPosition(bool human, int slot) {
    if (human) {
        return DrawBase::Vec3{static_cast<float>(110 * slot + 40), 440.0f, 0.0f};
    }
    return DrawBase::Vec3{static_cast<float>(110 * slot + 80), 104.0f, 0.0f};
}

void HandView::init(bool human, int medals) {
    isHuman = human;
    for (int i = 0; i < kSlotCount; ++i) {
        SlotSprites& s = sprites_[static_cast<size_t>(i)];
        s = SlotSprites{};
        s.card.loadTexture(ImageCard::Sheet(), false);
        s.card.followShake = true;
        s.card.faceUp = isHuman;
        s.card.position = slotPosition(i);
        s.card.setCard(isHuman, 0, 0);

        s.holdMarker.loadTexture(kCardSheet, false);
        s.holdMarker.useSourceRect = true;
        s.holdMarker.sourceRect = kHoldMarkerRect;
        s.holdMarker.followShake = true;

        s.frozenFrame.loadTexture(kCardSheet, false);
        s.frozenFrame.useSourceRect = true;
        s.frozenFrame.sourceRect = kFrozenFrameRect;
        s.frozenFrame.followShake = true;

        s.copy = s.card;
        s.copy.visible = false;
    }

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
        medalLabel.position = DrawBase::Vec3{19.0f, 573.0f, 0.0f};
        medalNumber.setPosition(136, 574);
    } else {
        medalLabel.position = DrawBase::Vec3{354.0f, 10.0f, 0.0f};
        medalNumber.setPosition(477, 10);
    }
}

void HandView::update() {
    for (SlotSprites& s : sprites_) {
        s.card.update();
        s.copy.update();
    }
}

void HandView::draw(const std::array<HandSlot, kSlotCount>& slots, float dx, float dy, float dz) {
    // Right to left, so that the leftmost card lies on top.
    for (int i = kSlotCount - 1; i >= 0; --i) {
        SlotSprites& s = sprites_[static_cast<size_t>(i)];
        const HandSlot& slot = slots[static_cast<size_t>(i)];
        drawTree(&s.card, dx, dy, dz);
        drawTree(&s.copy, dx, dy, dz);
        const DrawBase::Vec3& p = s.card.position;
        s.frozenFrame.visible = slot.frozen;
        if (slot.frozen) {
            s.frozenFrame.position = DrawBase::Vec3{p.x + kFrozenFrameDx, p.y + kFrozenFrameDy, 0.0f};
            drawTree(&s.frozenFrame, dx, dy, dz);
        } else if (isHuman) {
            s.holdMarker.visible = slot.held;
            s.holdMarker.position = DrawBase::Vec3{p.x + kHoldMarkerDx, p.y + kHoldMarkerDy, 0.0f};
            drawTree(&s.holdMarker, dx, dy, dz);
        }
    }
    drawTree(&medalLabel, dx, dy, dz);
    drawTree(&medalNumber, dx, dy, dz);
}

bool HandView::isBusy() const {
    for (const SlotSprites& s : sprites_) {
        if (s.card.tweening() || s.card.flipPending) {
            return true;
        }
    }
    return medalNumber.counting;
}

void HandView::showSlot(int slot, const HandSlot& s) {
    if (!validSlot(slot)) {
        return;
    }
    SlotSprites& sp = sprites_[static_cast<size_t>(slot)];
    for (ImageCard* img : {&sp.card, &sp.copy}) {
        img->specialFace = s.dummy;
        img->specialIndex = s.dummy ? s.dummyFace : 0;
    }
    sp.card.setCard(isHuman, s.card.value, s.card.suit);
    // The see-through copy exists to show the face.
    sp.copy.setCard(true, s.card.value, s.card.suit);
}

void HandView::hideCards() {
    for (SlotSprites& s : sprites_) {
        // A slot without a dummy shows no dummy picture when it is next given a card.
        s.card.specialFace = false;
        s.card.specialIndex = 0;
        s.card.visible = false;
        s.copy.visible = false;
    }
}

void HandView::resetFaces() {
    for (SlotSprites& s : sprites_) {
        ImageCard& img = s.card;
        img.visible = false;
        img.specialFace = false;
        img.specialIndex = 0;
        img.faceUp = isHuman;
        img.red = 1.0f;
        img.green = 1.0f;
        img.blue = 1.0f;
        img.setCard(isHuman, 0, 0);
        // The copies of a see-through of the last hand must not linger into the next one.
        s.copy.visible = false;
    }
}

void HandView::flipAllFaceUp() {
    for (SlotSprites& s : sprites_) {
        s.card.startFlip(true);
        s.copy.visible = false;
    }
}

void HandView::showTranslucentCopies(bool on) {
    for (SlotSprites& s : sprites_) {
        ImageCard& copy = s.copy;
        if (!on) {
            copy.visible = false;
            continue;
        }
        copy = s.card;
        // A still copy of the card as it lies, face up, whatever the hand sprite was doing.
        copy.clearTweens();
        copy.flipPending = false;
        copy.rotation = DrawBase::Vec3{};
        copy.faceUp = true;
        copy.setCard(true, copy.cardValue, copy.cardSuit);
        copy.alpha = 0.0f;
        copy.tween(kCopyAlpha, kAlpha, kLinear, kCopyFadeFrames, 0);
        copy.visible = true;
    }
}

void HandView::dealAnimation(int slot, int delay) {
    if (!validSlot(slot)) {
        return;
    }
    SlotSprites& s = sprites_[static_cast<size_t>(slot)];
    s.copy.visible = false;
    ImageCard& img = s.card;
    img.visible = true;
    img.position = DrawBase::Vec3{kDeckX, kDeckY, 0.0f};
    if (delay > 0) {
        img.alpha = 0.0f;
        img.tween(1.0f, kAlpha, kLinear, 1, delay);
    }
    const DrawBase::Vec3 target = slotPosition(slot);
    img.tweenGroup(kGroupPosition, kEaseOut, target.x, target.y, 0.0f, kDealFrames, delay);
}

void HandView::fadeInAtSlot(int slot, int delay) {
    if (!validSlot(slot)) {
        return;
    }
    SlotSprites& s = sprites_[static_cast<size_t>(slot)];
    s.copy.visible = false;
    ImageCard& img = s.card;
    img.visible = true;
    img.position = slotPosition(slot);
    img.alpha = 0.0f;
    img.tween(1.0f, kAlpha, kLinear, kFadeInFrames, delay);
}

int HandView::fadeOutUnheld(const std::array<HandSlot, kSlotCount>& slots, int deckCount) {
    for (SlotSprites& s : sprites_) {
        s.holdMarker.visible = false;
    }
    int n = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        const HandSlot& slot = slots[static_cast<size_t>(i)];
        if (slot.held || slot.frozen) {
            continue;
        }
        SlotSprites& s = sprites_[static_cast<size_t>(i)];
        s.card.tween(0.0f, kAlpha, kLinear, kFadeOutFrames, 0);
        s.copy.visible = false;
        ++n;
        if (deckCount <= 0) {
            break;
        }
    }
    return n;
}

void HandView::hideHoldMarker(int slot) {
    if (validSlot(slot)) {
        sprites_[static_cast<size_t>(slot)].holdMarker.visible = false;
    }
}

void HandView::makeOpaque(int slot) {
    if (validSlot(slot)) {
        sprites_[static_cast<size_t>(slot)].card.alpha = 1.0f;
    }
}

void HandView::showAllCards() {
    for (SlotSprites& s : sprites_) {
        s.card.visible = true;
    }
}

void HandView::showMedals(int n) {
    medalNumber.counting = false;
    medalNumber.value = medalNumber.clamp(n);
    medalNumber.setDisplay(n);
}

void HandView::countMedalsTo(int n) {
    // From what is on display now, even in the middle of an earlier count.
    medalNumber.value = medalNumber.shown;
    medalNumber.countTo(n, kMedalCountFrames);
}

int HandView::slotAt(int x, int y) const {
    for (int i = 0; i < kSlotCount; ++i) {
        if (sprites_[static_cast<size_t>(i)].card.contains(x, y)) {
            return i;
        }
    }
    return -1;
}

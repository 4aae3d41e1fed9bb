#include "widgets/stock.h"

#include <algorithm>
#include <cstdio>

#include "platform/text_encoding.h"

namespace {

constexpr int kPeekLimit = 8;  // room kept for the peek row; the ability peeks at 5
constexpr int kCountSize = 18;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;

float PeekX(int k) { return static_cast<float>(210 - 45 * k); }

}  // namespace

Stock::Stock() { peekCards.reserve(kPeekLimit); }

void Stock::resetDeck(bool withJoker) {
    pile = Image();
    pile.loadTexture("sozai1.png", true);
    pile.useSourceRect = true;
    pile.sourceRect = Image::Rect{0, 712, 80, 842};
    pile.position = Vec3{kPileX, kPileY, 0.0f};
    pile.followShake = true;

    countLabel.CreateCanvas("font_rest_card", 80, 20);
    countLabel.position = Vec3{280.0f, 399.0f, 0.0f};
    countLabel.followShake = true;

    peekPlate = Image();
    peekPlate.loadTexture("sozai3.png", true);
    peekPlate.useSourceRect = true;
    peekPlate.sourceRect = Image::Rect{512, 210, 792, 254};
    peekPlate.position = Vec3{6.0f, 386.0f, 0.0f};
    peekPlate.alpha = 0.0f;
    peekPlate.followShake = true;

    peekCards.clear();
    deck.resetDeck(withJoker);
    countLag = 0;
    blinking = false;
    blinkFrames = 0;
    refreshCount();
}

void Stock::refreshCount() {
    const int n = std::max(displayedCount(), 0);
    char text[32];
    std::snprintf(text, sizeof(text), "%s%d%d%s", SJ("残り").c_str(), (n / 10) % 10, n % 10, SJ("枚").c_str());
    countLabel.DrawText(text, 0, 0, kCountSize, remainingCards() < kFewCards ? kRed : kWhite, true);
}

Card Stock::drawCard() {
    if (deck.remainingCards() <= 0) {
        // Nothing leaves the pile, so there is nothing to count down.
        return deck.drawCard();
    }
    const Card card = deck.drawCard();
    countLag += kLagPerCard;
    if (!peekCards.empty()) {
        peekCards.erase(peekCards.begin());
        for (size_t i = 0; i < peekCards.size(); ++i) {
            peekCards[i].tween(PeekX(static_cast<int>(i)), 0, 1, 5, 0);
        }
        if (peekCards.empty()) {
            peekPlate.tween(0.0f, 15, 1, 10, 0);
        }
    }
    refreshCount();
    return card;
}

void Stock::setShown(bool on) {
    pile.visible = on;
    for (ImageCard& c : peekCards) {
        c.visible = on;
    }
    countLabel.visible = on;
}

void Stock::showPeek(int count) {
    peekCards.clear();
    const int n = std::min(count, deck.remainingCards());
    for (int k = 0; k < n; ++k) {
        const Card c = deck.cardAt(k);
        ImageCard& card = peekCards.emplace_back();
        card.rotationEnabled = true;
        card.scaleEnabled = true;
        card.followShake = true;
        card.loadTexture(ImageCard::Sheet(), true);
        card.faceUp = true;
        card.setCard(true, c.value, c.suit);
        const int delay = 5 * k;
        card.alpha = 0.0f;
        card.tween(1.0f, 15, 2, 5, delay);
        card.position = Vec3{kPileX, kPileY, 0.0f};
        card.tweenGroup(0, 1, PeekX(k), 360.0f, 0.0f, 10, delay);
        card.scalePivot = Vec3{0.0f, 0.0f, 0.0f};
        card.scale = Vec3{1.0f, 1.0f, 1.0f};
        card.tweenGroup(1, 1, 0.5f, 0.5f, 0.0f, 10, delay);
    }
    if (n > 0) {
        peekPlate.tween(1.0f, 15, 1, 10, 0);
    }
}

void Stock::startBlink(int frames) {
    blinking = true;
    blinkFrames = frames;
}

void Stock::draw(float dx, float dy, float dz) {
    if (countLag > 0) {
        --countLag;
        if (countLag % kLagPerCard == 0) {
            refreshCount();
        }
    }
    peekPlate.updateTweens();
    drawTree(&peekPlate, dx, dy, dz);
    drawTree(&pile, dx, dy, dz);
    for (ImageCard& c : peekCards) {
        c.update();
        drawTree(&c, dx, dy, dz);
    }
    if (blinking) {
        if (blinkFrames > 0) {
            --blinkFrames;
            countLabel.visible = (blinkFrames % 10) < 5;
        }
        if (blinkFrames <= 0) {
            blinking = false;
            countLabel.visible = true;
        }
    }
    drawTree(&countLabel, dx, dy, dz);
}

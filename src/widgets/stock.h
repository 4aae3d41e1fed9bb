#pragma once
#include <vector>

#include "cards/card.h"
#include "widgets/image_font.h"
#include "widgets/image.h"
#include "widgets/image_card.h"

// The deck on the table: the deck itself, the face-down pile, a "cards left" counter that falls
// one card every 5 frames however many cards were drawn at once, and the row of peeked front
// cards of the deck-peek ability.
class Stock : public DrawBase {
public:
    static constexpr int kLagPerCard = 5;
    static constexpr int kFewCards = 5;  // fewer cards than this: the counter turns red
    static constexpr float kPileX = 280.0f;
    static constexpr float kPileY = 264.0f;

    Stock();

    // Sets up the pile, counter and peek plate again, drops the peeked cards and builds a new
    // shuffled deck of 52 cards, or 53 with the joker.
    void resetDeck(bool withJoker);
    // Takes the front card ((0, 0) from an empty deck, which changes nothing). The counter lags
    // behind by 5 frames per card; a peeked row loses its front card and closes up.
    Card drawCard();
    int remainingCards() const { return deck.remainingCards(); }
    // Shows or hides the pile, the peeked cards and the counter.
    void setShown(bool on);
    // Lays the front count cards of the deck (as many as there are) face up beside the pile.
    void showPeek(int count);
    // Blinks the counter for the frames.
    void startBlink(int frames);
    // Redraws the counter for the cards left plus the lag not yet counted down.
    void refreshCount();
    // Counts the lag down, then draws plate, pile, peeked cards and counter.
    void draw(float dx, float dy, float dz) override;

    // The number the counter shows now.
    int displayedCount() const { return remainingCards() + countLag / kLagPerCard; }

    Deck deck;
    Image pile;
    ImageFont countLabel;
    Image peekPlate;
    std::vector<ImageCard> peekCards;
    int countLag = 0;
    bool blinking = false;
    int blinkFrames = 0;
};

#include <gtest/gtest.h>

#include "core/random.h"
#include "widget_fixture.h"
#include "widgets/stock.h"

namespace widgettest {
namespace {

class StockTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        Random::Instance().Seed(1234);
        stock.resetDeck(true);
    }
    std::string counter() const { return platform::SjisToUtf8(canvasText("font_rest_card")); }
    void drawDownTo(int left) {
        while (stock.remainingCards() > left) stock.drawCard();
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) stock.draw(0, 0, 0);
    }

    Stock stock;
};

TEST_F(StockTest, CounterWhiteThenRedUnderFiveCards) {
    EXPECT_EQ(stock.remainingCards(), 53);
    EXPECT_EQ(counter(), "残り53枚");
    EXPECT_EQ(canvasColour("font_rest_card"), 0xFFFFFFu);
    drawDownTo(5);
    frames(300);
    EXPECT_EQ(counter(), "残り05枚");
    EXPECT_EQ(canvasColour("font_rest_card"), 0xFFFFFFu);
    stock.drawCard();
    frames(5);
    EXPECT_EQ(counter(), "残り04枚");
    EXPECT_EQ(canvasColour("font_rest_card"), 0xFF0000u);

    // An empty deck gives (0, 0) and leaves the counter where it is.
    drawDownTo(0);
    frames(100);
    EXPECT_EQ(stock.drawCard(), (Card{0, 0}));
    EXPECT_EQ(stock.countLag, 0);
    EXPECT_EQ(counter(), "残り00枚");
}

TEST_F(StockTest, CountFallsOneStepEveryFiveFrames) {
    drawDownTo(20);
    frames(200);
    ASSERT_EQ(counter(), "残り20枚");
    for (int i = 0; i < 5; ++i) stock.drawCard();
    EXPECT_EQ(stock.remainingCards(), 15);
    EXPECT_EQ(counter(), "残り20枚");
    std::vector<std::string> shown;
    for (int f = 1; f <= 26; ++f) {
        stock.draw(0, 0, 0);
        shown.push_back(counter());
    }
    EXPECT_EQ(shown[3], "残り20枚");   // frame 4
    EXPECT_EQ(shown[4], "残り19枚");   // frame 5
    EXPECT_EQ(shown[8], "残り19枚");
    EXPECT_EQ(shown[9], "残り18枚");
    EXPECT_EQ(shown[24], "残り15枚");  // frame 25: caught up
    EXPECT_EQ(stock.countLag, 0);
}

TEST_F(StockTest, PeekShowsTheFrontCardsAndClosesUpAsTheyAreDrawn) {
    drawDownTo(3);
    const Card front[3] = {stock.deck.cardAt(0), stock.deck.cardAt(1), stock.deck.cardAt(2)};
    stock.showPeek(5);
    ASSERT_EQ(stock.peekCards.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        const ImageCard& c = stock.peekCards[static_cast<size_t>(k)];
        EXPECT_EQ(c.cardValue, front[k].value);
        EXPECT_EQ(c.cardSuit, front[k].suit);
        EXPECT_EQ(c.sourceRect.left, ImageCard::FaceRect(front[k].value, front[k].suit).left);
        EXPECT_FLOAT_EQ(c.alpha, 0.0f);
    }
    frames(30);
    for (int k = 0; k < 3; ++k) {
        const ImageCard& c = stock.peekCards[static_cast<size_t>(k)];
        EXPECT_FLOAT_EQ(c.position.x, 210.0f - 45 * k);
        EXPECT_FLOAT_EQ(c.position.y, 360.0f);
        EXPECT_FLOAT_EQ(c.scale.x, 0.5f);
        EXPECT_FLOAT_EQ(c.alpha, 1.0f);
    }
    EXPECT_FLOAT_EQ(stock.peekPlate.alpha, 1.0f);

    // The first peeked card is the next card drawn; the rest slide one place towards the deck.
    EXPECT_EQ(stock.drawCard(), front[0]);
    ASSERT_EQ(stock.peekCards.size(), 2u);
    EXPECT_EQ(stock.peekCards[0].cardValue, front[1].value);
    frames(6);
    EXPECT_FLOAT_EQ(stock.peekCards[0].position.x, 210.0f);
    EXPECT_FLOAT_EQ(stock.peekCards[1].position.x, 165.0f);
    EXPECT_FLOAT_EQ(stock.peekPlate.alpha, 1.0f);
    stock.drawCard();
    stock.drawCard();
    EXPECT_TRUE(stock.peekCards.empty());
    frames(11);
    EXPECT_FLOAT_EQ(stock.peekPlate.alpha, 0.0f);

    // Nothing to peek at: no cards, and the plate stays hidden.
    stock.showPeek(5);
    EXPECT_TRUE(stock.peekCards.empty());
    frames(11);
    EXPECT_FLOAT_EQ(stock.peekPlate.alpha, 0.0f);
}

TEST_F(StockTest, CounterBlinksThenStaysShown) {
    stock.startBlink(20);
    std::vector<bool> vis;
    for (int f = 0; f < 22; ++f) {
        stock.draw(0, 0, 0);
        vis.push_back(stock.countLabel.visible);
    }
    // 19..15 hidden (mod 10 >= 5), 14..10 shown, 9..5 hidden, 4..0 shown; then steady.
    EXPECT_FALSE(vis[0]);
    EXPECT_FALSE(vis[4]);
    EXPECT_TRUE(vis[5]);
    EXPECT_FALSE(vis[10]);
    EXPECT_TRUE(vis[15]);
    EXPECT_TRUE(vis[21]);
    EXPECT_FALSE(stock.blinking);

}

}  // namespace
}  // namespace widgettest

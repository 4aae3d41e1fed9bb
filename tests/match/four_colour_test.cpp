// The four-colour deck: with "FourColourDeck" 1 every card the match draws (both hands, the
// double-up cards, the deck peek) comes from the four-colour sheet, and nothing else does.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "match_fixture.h"
#include "scenes/match/match_layout.h"

namespace {

using matchtest::MatchTest;
namespace lay = match::layout;

class FourColourTest : public MatchTest {
protected:
    void SetUp() override {
        MatchTest::SetUp();
        if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    }
    static platform::TextureHandle Handle(const char* name) {
        const DxGraphic::CacheEntry* e = DxGraphic::Instance().FindTexture(name);
        return e != nullptr ? e->texture : 0;
    }
    // The texture of the last frame's quad whose top-left corner lies at (x, y), or 0.
    platform::TextureHandle TextureAt(float x, float y) const {
        platform::TextureHandle found = 0;
        for (const platform::Quad& q : lastFrameQuads()) {
            if (std::abs(q.v[0].x - (x - 0.5f)) < 0.5f && std::abs(q.v[0].y - (y - 0.5f)) < 0.5f) found = q.texture;
        }
        return found;
    }
    int QuadsWith(platform::TextureHandle t) const {
        int n = 0;
        for (const platform::Quad& q : lastFrameQuads()) n += q.texture == t && t != 0 ? 1 : 0;
        return n;
    }
    // Both hands dealt, the player to choose, the opponent quiet.
    void toFirstChoice() {
        startMatch(1);
        game().rollHook = [](int, int hi) { return hi; };
        playToFirstChoiceAfterStart();
    }
    void playToFirstChoiceAfterStart() {
        skipStory();
        ASSERT_TRUE(reachPendingTurnStart());
        setHand(game().opponent, matchtest::kJunk2);
        ASSERT_TRUE(reach(SceneGame::PlayerChoice));
        frames(1);
    }
};

TEST_F(FourColourTest, EveryCardComesFromTheFourColourSheetWhenChosen) {
    Global::Instance().Set(1, "FourColourDeck");
    toFirstChoice();
    SceneGame& g = game();
    const platform::TextureHandle four = Handle("cards_four.png");
    const platform::TextureHandle classic = Handle("sozai1.png");
    ASSERT_NE(four, 0u);
    ASSERT_NE(classic, 0u);
    // Hands: the player's faces and the opponent's backs.
    for (int i = 0; i < Player::kSlotCount; ++i) {
        const DrawBase::Vec3 mine = Player::SlotPosition(true, i);
        const DrawBase::Vec3 theirs = Player::SlotPosition(false, i);
        EXPECT_EQ(TextureAt(mine.x, mine.y), four) << "slot " << i;
        EXPECT_EQ(TextureAt(theirs.x, theirs.y), four) << "slot " << i;
    }
    EXPECT_EQ(QuadsWith(four), 10);
    // The rest of the table still comes from the classic sheet (buttons, digits, the pile).
    EXPECT_GT(QuadsWith(classic), 0);

    // The deck peek shows its cards from the same sheet.
    g.stock.showPeek(3);
    frames(30);
    EXPECT_EQ(QuadsWith(four), 13);

    // The double-up cards too.
    g.stock.peekCards.clear();
    setHand(g.human, matchtest::kFullHouse);
    g.opponent.setMedals(9000);
    g.matchState = SceneGame::ShowdownConfirm;
    ASSERT_TRUE(reach(SceneGame::ShowdownConfirm));
    clickOn(g.yesButton);
    ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::ShowdownResult && g.yesButton.visible && idle(); }));
    clickOn(g.yesButton);
    ASSERT_TRUE(runUntil([&] { return g.matchState == SceneGame::DoubleUpDeal && idle(); }));
    frames(40);
    EXPECT_EQ(TextureAt(lay::kDoubleUpCardX[0], lay::kDoubleUpCardY), four);
    EXPECT_EQ(TextureAt(lay::kDoubleUpCardX[1], lay::kDoubleUpCardY), four);
}

TEST_F(FourColourTest, TheClassicDeckByDefault) {
    toFirstChoice();
    SceneGame& g = game();
    const platform::TextureHandle classic = Handle("sozai1.png");
    EXPECT_EQ(Handle("cards_four.png"), 0u) << "the four-colour sheet is not even loaded";
    for (int i = 0; i < Player::kSlotCount; ++i) {
        const DrawBase::Vec3 mine = Player::SlotPosition(true, i);
        EXPECT_EQ(TextureAt(mine.x, mine.y), classic) << "slot " << i;
    }
    const int before = QuadsWith(classic);
    g.stock.showPeek(2);
    frames(30);
    EXPECT_EQ(QuadsWith(classic), before + 2);
    EXPECT_EQ(Handle("cards_four.png"), 0u);
}

}  // namespace

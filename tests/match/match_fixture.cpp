#include "match_fixture.h"

#include "core/global.h"

namespace matchtest {

void MatchTest::SetUp() {
    SceneTest::SetUp();
    headless->recordAllFrames = false;  // long matches would keep every quad otherwise
}

void MatchTest::startMatch(int opponent) {
    Global::Instance().Set(opponent, "enemy");
    Start(kSceneGame);
    frames(1);
}

bool MatchTest::idle() const {
    const SceneGame& g = game();
    return !g.human.isBusy() && !g.opponent.isBusy() && !g.effectsPlaying();
}

bool MatchTest::runUntil(const std::function<bool()>& done, int limit) {
    for (int i = 0; i < limit; ++i) {
        if (done()) return true;
        if (!frames(1)) return false;
    }
    return done();
}

bool MatchTest::reach(int state, int limit) {
    return runUntil(
        [&] { return inMatch() && game().matchState == state && game().previousState == state && idle(); }, limit);
}

void MatchTest::clickIdle(int x, int y) {
    runUntil([&] { return !inMatch() || idle(); }, 600);
    click(x, y);
}

void MatchTest::clickOn(const Image& image) {
    const int w = image.useSourceRect ? image.sourceRect.right - image.sourceRect.left : image.textureWidth;
    const int h = image.useSourceRect ? image.sourceRect.bottom - image.sourceRect.top : image.textureHeight;
    clickIdle(static_cast<int>(image.position.x) + w / 2, static_cast<int>(image.position.y) + h / 2);
}

void MatchTest::skipStory() {
    ASSERT_TRUE(reach(SceneGame::StoryMessage));
    click(640, 300);  // the line completes
    click(640, 300);  // and is done with
    ASSERT_EQ(game().matchState, SceneGame::BetRoulette);
}

void MatchTest::playToFirstChoice(int opponent) {
    startMatch(opponent);
    skipStory();
    // A hand that never calls, so that the first turn is the player's.
    ASSERT_TRUE(reachPendingTurnStart());
    setHand(game().opponent, kJunk2);
    ASSERT_TRUE(reach(SceneGame::PlayerChoice));
}

bool MatchTest::reachPendingTurnStart(int limit) {
    return runUntil([&] { return inMatch() && game().matchState == SceneGame::TurnStart; }, limit);
}

void MatchTest::finishHand() {
    for (int i = 0; i < 20 && inMatch(); ++i) {
        SceneGame& g = game();
        if (g.matchState == SceneGame::NextRound || g.matchState == SceneGame::BetRoulette ||
            g.matchState == SceneGame::StoryMessage || g.fadingOut) {
            return;
        }
        runUntil([&] { return !inMatch() || (idle() && (g.matchState != SceneGame::ShowdownResult || g.yesButton.visible ||
                                                         (g.lastCountdown == 0 && g.pauseCountdown == 0 &&
                                                          g.bannerCountdown == 0 && g.previousState == g.matchState))); });
        if (!inMatch()) return;
        if (g.matchState == SceneGame::ShowdownResult && g.noButton.visible) {
            clickOn(g.noButton);
        } else {
            clickIdle(640, 300);
        }
    }
}

void MatchTest::setHand(Player& side, const std::array<Card, 5>& cards) {
    for (size_t i = 0; i < cards.size(); ++i) {
        HandSlot& slot = side.hand[i];
        slot.card = cards[i];
        slot.dummy = false;
        ImageCard& sprite = side.cardSprite(static_cast<int>(i));
        sprite.setCard(sprite.faceUp, cards[i].value, cards[i].suit);
    }
}

void MatchTest::holdAll() {
    for (int i = 0; i < Player::kSlotCount; ++i) {
        if (!game().human.hand[static_cast<size_t>(i)].held) {
            const DrawBase::Vec3 p = Player::SlotPosition(true, i);
            clickIdle(static_cast<int>(p.x) + 40, static_cast<int>(p.y) + 60);
        }
    }
}

}  // namespace matchtest

#pragma once
#include <array>
#include <functional>

#include "app/scene.h"
#include "cards/card.h"
#include "scene_fixture.h"
#include "scenes/match/scene_game.h"

namespace matchtest {

// The scene fixture with the real game data and helpers to steer a match through real frames:
// wait for a state, click a widget once nothing moves, lay out a hand.
class MatchTest : public testsupport::SceneTest {
protected:
    void SetUp() override;
    // Enters the match against the opponent (writes "enemy" first). Runs the first frame.
    void startMatch(int opponent);
    SceneGame& game() const { return *static_cast<SceneGame*>(scene()); }
    bool inMatch() const { return currentScene() == kSceneGame && scene() != nullptr; }
    // No card or ability animation moves: the next frame runs the state handler.
    bool idle() const;
    // Runs frames until the predicate holds (checked before each frame); false after limit frames.
    bool runUntil(const std::function<bool()>& done, int limit = 3000);
    // Runs until the match is in the state with nothing moving.
    bool reach(int state, int limit = 3000);
    // Waits for a quiet frame, then clicks the point (two frames).
    void clickIdle(int x, int y);
    // The centre of a sprite as it is drawn.
    void clickOn(const Image& image);
    // Clicks through the greeting to the first bet.
    void skipStory();
    // From entering to the first PlayerChoice.
    void playToFirstChoice(int opponent = 0);
    // Runs until the match waits in TurnStart for its dispatch (after the deal or a draw).
    bool reachPendingTurnStart(int limit = 3000);

    // Answers whatever the end of a hand asks (No to the double-up, a click on a result) until
    // the next hand begins or the match is over.
    void finishHand();

    // Puts the cards into a side's hand (rules and sprites), without animation.
    static void setHand(Player& side, const std::array<Card, 5>& cards);
    // Holds every card of the human hand by clicking it.
    void holdAll();
};

// Hands used by the tests.
inline constexpr std::array<Card, 5> kJunk = {{{1, 0}, {4, 1}, {8, 2}, {10, 3}, {12, 0}}};      // 2 5 9 J K
inline constexpr std::array<Card, 5> kJunk2 = {{{1, 1}, {4, 2}, {8, 3}, {10, 0}, {12, 1}}};     // 2 5 9 J K
inline constexpr std::array<Card, 5> kStraight = {{{4, 0}, {5, 1}, {6, 2}, {7, 3}, {8, 0}}};    // 5..9
inline constexpr std::array<Card, 5> kStraight2 = {{{4, 1}, {5, 2}, {6, 3}, {7, 0}, {8, 1}}};   // 5..9
inline constexpr std::array<Card, 5> kFullHouse = {{{9, 0}, {9, 1}, {9, 2}, {2, 0}, {2, 1}}};   // 10 10 10 3 3
inline constexpr std::array<Card, 5> kFourKind = {{{11, 0}, {11, 1}, {11, 2}, {11, 3}, {3, 0}}};  // Q Q Q Q 4
inline constexpr std::array<Card, 5> kTwoPair = {{{6, 0}, {6, 1}, {10, 2}, {10, 3}, {1, 0}}};   // 7 7 J J 2
inline constexpr std::array<Card, 5> kRoyal = {{{0, 2}, {12, 2}, {11, 2}, {10, 2}, {9, 2}}};     // A K Q J 10

}  // namespace matchtest

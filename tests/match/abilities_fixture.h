#pragma once
// A match scene opened against one host, with the abilities' random draws scripted: each test
// lists the values the draws return and can read back which ranges were asked for, in order.
#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/mouse_controller.h"
#include "core/global.h"
#include "scene_fixture.h"
#include "scenes/match/scene_game.h"

namespace abilitytest {

using Range = std::pair<int, int>;
using Hand5 = std::array<Card, 5>;

class AbilityTest : public testsupport::SceneTest {
protected:
    // Opens the match against the host; with data the real animation files are loaded.
    void Open(int opponent) {
        Global::Instance().Set(opponent, "enemy");
        game = std::make_unique<SceneGame>();
        game->Enter(kSceneChrSelect);
        game->rollHook = [this](int lo, int hi) {
            ranges.emplace_back(lo, hi);
            if (script.empty()) {
                ADD_FAILURE() << "unscripted draw " << lo << ".." << hi;
                return lo;
            }
            const int v = script.front();
            script.pop_front();
            EXPECT_GE(v, lo);
            EXPECT_LE(v, hi);
            return v;
        };
        SetHand(game->human, {Card{1, 0}, Card{2, 1}, Card{3, 2}, Card{4, 3}, Card{5, 0}});
        SetHand(game->opponent, {Card{6, 0}, Card{7, 1}, Card{8, 2}, Card{9, 3}, Card{10, 0}});
        game->opponentActed = false;
        game->overlay = 0;
        game->previousOverlay = 0;
    }

    // The next draws return these values; the record of ranges starts again.
    void Script(std::initializer_list<int> values) {
        script.assign(values.begin(), values.end());
        ranges.clear();
    }

    // The five cards lying still at their slots (whatever the scene was animating), nothing held,
    // frozen or pending.
    static void SetHand(Player& p, const Hand5& cards) {
        for (size_t i = 0; i < 5; ++i) {
            HandSlot& s = p.hand[i];
            ImageCard& sprite = p.cardSprite(static_cast<int>(i));
            sprite.clearTweens();
            sprite.position = p.slotPosition(static_cast<int>(i));
            sprite.alpha = 1.0f;
            sprite.visible = true;
            s.card = cards[i];
            s.held = s.frozen = s.dummy = false;
            s.frozenTurns = 0;
        }
        p.clearPending();
    }

    // A fresh deck cut down to n cards.
    void DeckOf(int n) {
        game->stock.resetDeck(true);
        while (game->stock.remainingCards() > n) game->stock.drawCard();
    }

    // A mouse sample with a fresh press of the left (or right) button at (x, y).
    static void Press(int x, int y, bool right = false) {
        MouseController& m = MouseController::Instance();
        m.x = x;
        m.y = y;
        m.previousLeft = m.previousRight = false;
        m.left = !right;
        m.right = right;
        m.polled = true;
        m.enabled = true;
    }
    static void NoPress(int x = 0, int y = 0) {
        MouseController& m = MouseController::Instance();
        m.x = x;
        m.y = y;
        m.left = m.right = m.previousLeft = m.previousRight = false;
        m.polled = true;
    }
    // Centre of the player's card in the slot.
    Range CardCentre(int slot) const {
        const DrawBase::Vec3 p = game->human.slotPosition(slot);
        return {static_cast<int>(p.x) + 40, static_cast<int>(p.y) + 60};
    }

    // Steps the animation as the frame does (commit first, then the draw) until it has played
    // through; returns the number of commits that changed nothing visible to the caller's check.
    // Stops at the frame whose next draw processes "appear" when stopAtAppear.
    static bool StepToAppear(SylkieAnimation& a) {
        for (int i = 0; i < 1000 && a.playing; ++i) {
            if (a.CurrentLabel() == "appear") return true;
            a.Draw();
        }
        return false;
    }
    static void StepToEnd(SylkieAnimation& a) {
        for (int i = 0; i < 1000 && a.playing; ++i) a.Draw();
    }

    // Runs the entry frame, then the next dispatched frame, of AbilityActivate.
    void Activate(int ability, int slot = 0) {
        game->selectedAbility = ability;
        game->targetSlot = slot;
        game->matchState = SceneGame::AbilityActivate;
        game->entered = true;
        game->stateAbilityActivate();
    }
    void ActivateNextFrame() {
        game->entered = false;
        game->stateAbilityActivate();
    }

    std::unique_ptr<SceneGame> game;
    std::deque<int> script;
    std::vector<Range> ranges;
};

inline std::vector<Range> R(std::initializer_list<Range> r) { return std::vector<Range>(r); }

}  // namespace abilitytest

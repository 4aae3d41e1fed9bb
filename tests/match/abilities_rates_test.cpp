// How often each host's abilities fire over many seeded hands, played by a simple model of the
// hand (deal, up to three turns of random holds and exchanges, an ability now and then, the
// showdown) that calls the decision at the events the match calls it. The chance-only abilities
// must fire at the rate their draws imply; the table of all twenty is printed.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "abilities_fixture.h"
#include "cards/player_abilities.h"
#include "core/random.h"
#include "scenes/match/opponent_abilities.h"

using abilitytest::AbilityTest;

namespace {

// TARNWICK_ABILITY_HANDS raises the count for a closer look.
int HandCount() {
    const char* env = std::getenv("TARNWICK_ABILITY_HANDS");
    const int n = env != nullptr ? std::atoi(env) : 0;
    return n > 0 ? n : 3000;
}

struct Tally {
    int fired[4] = {};
    int calls[8] = {};  // decisions asked for (with the acted flag clear), per event
};

}  // namespace

class AbilityRateTest : public AbilityTest {
protected:
    // One hand against the open host; returns nothing, counts into t.
    void PlayHand(Tally& t) {
        SceneGame& g = *game;
        Random& rnd = Random::Instance();
        auto ask = [&](int event) {
            if (g.opponentActed) return;
            ++t.calls[event];
            const int used = g.opponentReact(event);
            if (used >= 0) ++t.fired[used];
            g.deferredOpponentAnimation = false;
            g.human.applyPendingChanges(g.stock);  // the commit on "appear"
            g.opponent.applyPendingChanges(g.stock);
        };
        g.opponentActed = false;
        g.counterKind = SceneGame::CounterNone;
        g.stock.resetDeck(true);
        g.human.clearHoldAndFreeze();
        g.opponent.clearHoldAndFreeze();
        for (int i = 0; i < 5; ++i) {
            // Nothing steps the sprites here: drop the queued deal animations.
            g.human.cardSprite(i).clearTweens();
            g.opponent.cardSprite(i).clearTweens();
            g.human.setDummy(i, 0);
            g.opponent.setDummy(i, 0);
            g.human.hand[static_cast<size_t>(i)].card = g.stock.drawCard();
            g.opponent.hand[static_cast<size_t>(i)].card = g.stock.drawCard();
        }
        const int turns = rnd.Range(1, 3);
        for (int turn = 1; turn <= turns; ++turn) {
            g.turn = turn;
            g.spWindow.tickCooldowns();
            ask(SceneGame::EventTurnStart);
            g.human.tickFrozenTurns();
            g.opponent.tickFrozenTurns();
            g.human.holdFrozenCards();
            if (g.stock.remainingCards() == 0) break;
            // Now and then an ability (chosen at random among those off cooldown).
            g.forcedAbility = false;
            if (rnd.Range(0, 3) == 0) {
                const int a = rnd.Range(0, 7);
                if (g.spWindow.cooldowns[static_cast<size_t>(a)] < 1) {
                    g.selectedAbility = a;
                    g.targetSlot = rnd.Range(0, 4);
                    ask(SceneGame::EventPlayerAbility);
                    g.spWindow.addCooldown(a, match::kPlayerAbilities[static_cast<size_t>(a)].cooldown);
                    g.reflect = false;
                }
            }
            for (HandSlot& h : g.human.hand) {
                if (!h.frozen && !h.dummy) h.held = rnd.Range(0, 1) == 1;
            }
            if (g.human.countExchangeable() > g.stock.remainingCards()) break;
            ask(SceneGame::EventPlayerPressedDraw);
            g.human.exchangeUnheld([&g] { return g.stock.drawCard(); });
            g.opponentActed = false;
            ask(SceneGame::EventAfterPlayerDraw);
            if (g.stock.remainingCards() == 0) break;
            g.opponent.holdFrozenCards();
            g.opponent.decideHolds(g.stock.remainingCards());
            ask(SceneGame::EventOpponentDraw);
            g.opponent.exchangeUnheld([&g] { return g.stock.drawCard(); });
            g.human.clearHoldAndFreeze();
        }
        ask(SceneGame::EventShowdown);
        if (g.human.evaluateHand() < g.opponent.evaluateHand() || g.counterKind == SceneGame::CounterOpponentWins) {
            ask(SceneGame::EventPlayerLost);
        }
    }

    int hands = HandCount();

    Tally Play(int opponent) {
        Open(opponent);
        game->rollHook = nullptr;
        Seed(7000u + static_cast<uint32_t>(opponent));
        game->gauge.setValue(999);
        Tally t;
        for (int h = 0; h < hands; ++h) PlayHand(t);
        return t;
    }
};

TEST_F(AbilityRateTest, ChanceAbilitiesFireAtTheRatesTheirDrawsImply) {
    const char* names[5][4] = {{"DeepFreeze", "SealWard", "FreezeGust", "LossDoubler"},
                               {"HandReset", "DummyCurse", "CardReaper", "JokerCall"},
                               {"FiveAces", "SuitCopy", "RankCopy", "CardCopy"},
                               {"HoldFlip", "AbilityLock", "ReflectCurse", "CharmForce"},
                               {"TieBreak", "CostDrain", "CooldownLock", "GuardMark"}};
    // Chance per decision at the ability's event, for those that depend on nothing else.
    struct Expect {
        int opponent, ability, event;
        double chance;
    } expects[] = {
        {0, match::DeepFreeze, 0, 1.0 / 256},
        {0, match::SealWard, 0, 255.0 / 256 / 8},
        {0, match::FreezeGust, 0, 255.0 / 256 / 8},
        {3, match::AbilityLock, 0, 1.0 / 8},
        {3, match::CharmForce, 0, 7.0 / 8 / 16},
        {3, match::HoldFlip, 3, 1.0 / 64},
    };
    // The table's chance per decision at the ability's event, before its conditions on the hand
    // and the deck (those marked * have some), to compare with what fired.
    const struct {
        int event;
        double chance;
        bool conditional;
    } table[5][4] = {
        {{0, 1.0 / 256, false}, {0, 255.0 / 256 / 8, false}, {0, 255.0 / 256 / 8, false}, {5, 1.0, false}},
        {{1, 1.0 / 256, true}, {1, 255.0 / 256 / 8, true}, {1, 255.0 / 256 * 6 / 8 / 4, true}, {1, 255.0 / 256 / 8, true}},
        {{2, 1.0 / 256, true}, {2, 1.0 / 4, true}, {2, 1.0 / 4, true}, {2, 1.0 / 16, true}},
        {{3, 1.0 / 64, false}, {0, 1.0 / 8, false}, {7, 1.0 / 8 * 4 / 8, false}, {0, 7.0 / 8 / 16, false}},
        {{6, 1.0, true}, {7, 1.0 / 2, true}, {7, 1.0 / 2, true}, {0, 1.0, true}},
    };
    Tally all[5];
    for (int o = 0; o < 5; ++o) all[o] = Play(o);
    std::printf("per 1,000 hands (%d hands each): fired, table chance x decisions (* = has conditions)\n", hands);
    for (int o = 0; o < 5; ++o) {
        for (int a = 0; a < 4; ++a) {
            const auto& e = table[o][a];
            std::printf("  %-12s %8.2f %8.2f%s\n", names[o][a], 1000.0 * all[o].fired[a] / hands,
                        1000.0 * all[o].calls[e.event] * e.chance / hands, e.conditional ? " *" : "");
        }
    }
    for (const Expect& e : expects) {
        const double n = all[e.opponent].calls[e.event];
        const double mean = n * e.chance;
        const double sd = std::sqrt(n * e.chance * (1 - e.chance));
        EXPECT_NEAR(all[e.opponent].fired[e.ability], mean, 4 * sd + 1) << names[e.opponent][e.ability];
    }
    // Events that always answer: Pemra at every loss she can act on, Rosweth at every first turn.
    EXPECT_EQ(all[0].fired[match::LossDoubler], all[0].calls[SceneGame::EventPlayerLost]);
    EXPECT_GE(all[4].fired[match::GuardMark], hands);
}

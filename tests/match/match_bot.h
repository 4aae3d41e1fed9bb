#pragma once
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "scenes/match/scene_game.h"

namespace matchtest {

// What the bot needs from whoever runs the program: the match while it runs, single passes of
// the main loop and clicks (each click is two passes: button down, button up).
class BotDriver {
public:
    virtual ~BotDriver() = default;
    virtual SceneGame* match() = 0;  // null once the match scene has gone
    virtual bool pass() = 0;         // false when the program has quit
    virtual void click(int x, int y) = 0;
    virtual void rightClick(int x, int y) = 0;
};

struct BotOptions {
    uint32_t seed = 1;
    int showdownPercent = 20;      // chance to call the showdown instead of drawing (from turn 2)
    int doubleUpPercent = 50;      // chance to accept the double-up
    bool useAbilities = false;     // open the ability menu now and then and use a usable ability
    int abilityPercent = 15;
    int frameLimitPerHand = 6000;  // a hand that takes longer is a fault
};

struct BotStats {
    int matches = 0;
    int matchesWon = 0;
    int hands = 0;
    long long frames = 0;
    int doubleUps = 0;
    int abilityUses = 0;              // the player's abilities that ran (AbilityActivate entered)
    // Per host: hands dealt, the host's rule asked per event (acted flag clear), abilities used.
    std::array<int, 5> handsPerHost{};
    std::array<std::array<long long, 8>, 5> asked{};
    std::array<std::array<long long, 4>, 5> used{};
    std::vector<std::string> faults;  // every broken rule, with the frame it was seen on
};

// A headless player: holds what pairs up, draws or calls by chance, answers the double-up at
// random and clicks through every result, checking the match's invariants on every frame.
class MatchBot {
public:
    MatchBot(BotDriver& driver, const BotOptions& options);

    // Plays the running match until the scene leaves. False when a rule broke or the match
    // stopped moving.
    bool playMatch();

    BotStats stats;

private:
    bool step();          // one frame or one click; false when the match is over
    void act(SceneGame& g);
    void actChoice(SceneGame& g);
    void actAbilityMenu(SceneGame& g);
    void clickCard(int slot);
    void clickImage(const Image& image);
    void checkInvariants(const SceneGame& g);
    void fault(const std::string& what);
    void tallyHost();     // adds the finished match's ability counts to the host's
    int roll(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }

    BotDriver& driver_;
    BotOptions options_;
    std::mt19937 rng_;
    int handFrames_ = 0;
    int lastState_ = -1;
    int lastHumanMedals_ = 0;
    bool copiesThisHand_ = false;  // an ability that copies cards has played in this hand
    int host_ = -1;                // the running match's host and its counts on the last frame seen
    std::array<int, 8> asked_{};
    std::array<int, 4> used_{};
};

}  // namespace matchtest

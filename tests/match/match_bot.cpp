#include "match_bot.h"

#include <array>
#include <set>
#include <utility>

#include "cards/player_abilities.h"
#include "scenes/match/opponent_abilities.h"
#include "widgets/sp_window.h"

namespace matchtest {

namespace {
constexpr int kTotalMedals = 2 * SceneGame::kStartMedals;
}

MatchBot::MatchBot(BotDriver& driver, const BotOptions& options)
    : driver_(driver), options_(options), rng_(options.seed) {}

bool MatchBot::playMatch() {
    const size_t faultsBefore = stats.faults.size();
    handFrames_ = 0;
    lastState_ = -1;
    host_ = -1;
    while (step()) {
    }
    tallyHost();
    ++stats.matches;
    if (lastHumanMedals_ > 0) ++stats.matchesWon;
    return stats.faults.size() == faultsBefore;
}

bool MatchBot::step() {
    SceneGame* g = driver_.match();
    if (g == nullptr) {
        return false;
    }
    checkInvariants(*g);
    if (handFrames_ > options_.frameLimitPerHand) {
        std::string holds;
        for (const HandSlot& s : g->human.hand) {
            holds += std::to_string(s.card.value) + (s.held ? "H" : "") + (s.frozen ? "F" : "") + (s.dummy ? "D" : "") + " ";
        }
        fault("a hand ran past the frame limit in state " + std::to_string(g->matchState) + " (previous " +
              std::to_string(g->previousState) + ", turn " + std::to_string(g->turn) + ", deck " +
              std::to_string(g->stock.remainingCards()) + ", hand " + holds + ", draw button " +
              (g->drawButton.visible ? "shown" : "hidden") + ")");
        return false;
    }
    const bool idle = !g->human.isBusy() && !g->opponent.isBusy() && !g->effectsPlaying();
    if (idle && !g->fadingOut) {
        act(*g);
    } else if (!driver_.pass()) {
        return false;
    }
    ++stats.frames;
    return true;
}

void MatchBot::act(SceneGame& g) {
    if (g.overlay == 1) {
        actAbilityMenu(g);
        return;
    }
    // A state's entry runs on its first dispatched frame; answer only what it has shown.
    const bool settled = g.previousState == g.matchState;
    switch (settled ? g.matchState : -1) {
        case SceneGame::StoryMessage:
            driver_.click(640, 300);
            return;
        case SceneGame::PlayerChoice:
            actChoice(g);
            return;
        case SceneGame::ShowdownConfirm:
            clickImage(roll(10) == 0 ? g.noButton : g.yesButton);
            return;
        case SceneGame::OpponentCallNotice:
            clickImage(g.okButton);
            return;
        case SceneGame::ShowdownResult:
            if (g.yesButton.visible) {
                const bool accept = roll(100) < options_.doubleUpPercent;
                stats.doubleUps += accept ? 1 : 0;
                clickImage(accept ? g.yesButton : g.noButton);
                return;
            }
            if (g.showdownResult == 2 && g.bannerCountdown == 0 && g.pauseCountdown == 0 && g.lastCountdown == 0) {
                driver_.click(640, 300);
                return;
            }
            break;
        case SceneGame::DoubleUpDeal:
            clickImage(roll(2) == 0 ? g.highButton : g.lowButton);
            return;
        case SceneGame::WaitForClick:
            driver_.click(640, 300);
            return;
        case SceneGame::AbilityTarget:
            if (roll(8) == 0) {
                driver_.rightClick(640, 300);
            } else {
                clickCard(roll(Player::kSlotCount));
            }
            return;
        default:
            break;
    }
    driver_.pass();
}

void MatchBot::actChoice(SceneGame& g) {
    if (options_.useAbilities && g.abilityButton.visible && roll(100) < options_.abilityPercent) {
        clickImage(g.abilityButton);
        return;
    }
    // Keep what matches another card, and jokers; throw the rest.
    std::array<int, 14> count{};
    for (const HandSlot& s : g.human.hand) {
        if (!s.dummy && s.card.value >= 0 && s.card.value <= 13) ++count[static_cast<size_t>(s.card.value)];
    }
    auto wanted = [&](const HandSlot& s) {
        return s.frozen || s.dummy || isJoker(s.card) || count[static_cast<size_t>(s.card.value)] >= 2;
    };
    int throwing = 0;
    for (const HandSlot& s : g.human.hand) throwing += (wanted(s) || s.frozen) ? 0 : 1;
    // With too few cards left for the rule's exchange, keep the whole hand.
    const bool deckShort = throwing > g.stock.remainingCards();
    for (int i = 0; i < Player::kSlotCount; ++i) {
        const HandSlot& s = g.human.hand[static_cast<size_t>(i)];
        if (s.frozen || s.dummy) continue;
        const bool keep = deckShort || wanted(s);
        if (s.held != keep) {
            clickCard(i);
            return;
        }
    }
    if (g.human.countExchangeable() > g.stock.remainingCards()) {
        // Only frozen or dummy cards are left to throw and the deck cannot cover them: call.
        clickImage(g.showdownButton);
        return;
    }
    clickImage(g.turn >= 2 && roll(100) < options_.showdownPercent ? g.showdownButton : g.drawButton);
}

void MatchBot::actAbilityMenu(SceneGame& g) {
    std::vector<int> usable;
    for (int i = 0; i < SpWindow::kAbilityCount; ++i) {
        if (g.spWindow.usable[static_cast<size_t>(i)]) usable.push_back(i);
    }
    if (!g.spWindow.settled() || usable.empty() || roll(6) == 0) {
        if (usable.empty() || roll(6) == 0) driver_.click(100, 100);  // outside: close
        else driver_.pass();
        return;
    }
    const ImageFont& label = g.spWindow.nameLabels[static_cast<size_t>(usable[static_cast<size_t>(roll(
        static_cast<int>(usable.size())))])];
    driver_.click(SpWindow::kPanelX + static_cast<int>(label.position.x) + 20,
                  SpWindow::kPanelY + static_cast<int>(label.position.y) + 15);
}

void MatchBot::clickCard(int slot) {
    const DrawBase::Vec3 p = Player::SlotPosition(true, slot);
    driver_.click(static_cast<int>(p.x) + 40, static_cast<int>(p.y) + 60);
}

void MatchBot::clickImage(const Image& image) {
    const int w = image.sourceRect.right - image.sourceRect.left;
    const int h = image.sourceRect.bottom - image.sourceRect.top;
    driver_.click(static_cast<int>(image.position.x) + w / 2, static_cast<int>(image.position.y) + h / 2);
}

void MatchBot::tallyHost() {
    if (host_ < 0 || host_ >= static_cast<int>(stats.asked.size())) return;
    const size_t h = static_cast<size_t>(host_);
    for (size_t e = 0; e < asked_.size(); ++e) stats.asked[h][e] += asked_[e];
    for (size_t a = 0; a < used_.size(); ++a) stats.used[h][a] += used_[a];
}

void MatchBot::checkInvariants(const SceneGame& g) {
    ++handFrames_;
    host_ = g.opponentIndex;
    asked_ = g.reactAsked;
    used_ = g.reactUsed;
    if (g.matchState == SceneGame::BetRoulette && lastState_ != SceneGame::BetRoulette) {
        ++stats.hands;
        if (host_ >= 0 && host_ < static_cast<int>(stats.handsPerHost.size())) ++stats.handsPerHost[static_cast<size_t>(host_)];
        handFrames_ = 0;
        copiesThisHand_ = false;
    }
    // Cards that copy others come from Quenvar's abilities (all four make copies) and from the
    // player's rank shifts; once one has played, a card may lie twice by design.
    if ((g.opponentIndex == match::kQuenvar && g.opponentEffect.playing) ||
        (g.playerEffect.playing &&
         (g.selectedAbility == match::AbilityRankUp || g.selectedAbility == match::AbilityRankDown))) {
        copiesThisHand_ = true;
    }
    // An ability the player ran (chosen in the menu or forced by Iblen's charm).
    if (g.matchState == SceneGame::AbilityActivate && lastState_ != SceneGame::AbilityActivate) ++stats.abilityUses;
    lastState_ = g.matchState;
    lastHumanMedals_ = g.human.medals;
    if (g.human.medals + g.opponent.medals != kTotalMedals) {
        fault("medals " + std::to_string(g.human.medals) + " + " + std::to_string(g.opponent.medals));
    }
    if (g.human.medals < 0 || g.opponent.medals < 0) fault("negative medals");
    if (g.gauge.value < 0 || g.gauge.value > SceneGame::kGaugeMax || g.gauge.shown < 0 ||
        g.gauge.shown > SceneGame::kGaugeMax) {
        fault("gauge " + std::to_string(g.gauge.value));
    }
    // The bet is capped except by the showdown's payout multiplier.
    const bool uncappedStake = g.matchState == SceneGame::ShowdownResult || g.matchState == SceneGame::DoubleUpDeal ||
                               g.matchState == SceneGame::DoubleUpResult || g.matchState == SceneGame::WaitForClick ||
                               g.matchState == SceneGame::RoundEnd;
    if (!uncappedStake && g.bet > SceneGame::kMaxBet) fault("bet " + std::to_string(g.bet));
    if (g.matchState == SceneGame::DoubleUpResult && g.doubleUpResult == 0 && g.doubleUpPayCountdown > 0 &&
        g.bet > SceneGame::kMaxBet) {
        fault("double-up bet " + std::to_string(g.bet));
    }
    // No card twice on the table while the player chooses, unless a copy was made this hand.
    if (g.matchState == SceneGame::PlayerChoice && !copiesThisHand_) {
        std::set<std::pair<int, int>> seen;
        for (const Player* side : {&g.human, &g.opponent}) {
            for (const HandSlot& s : side->hand) {
                if (s.dummy || isJoker(s.card) || !isPlayableCard(s.card)) continue;
                if (!seen.insert({s.card.value, s.card.suit}).second) {
                    fault("card " + std::to_string(s.card.value) + "/" + std::to_string(s.card.suit) + " twice");
                }
            }
        }
    }
}

void MatchBot::fault(const std::string& what) {
    if (stats.faults.size() < 50) {
        stats.faults.push_back("match " + std::to_string(stats.matches) + ", frame " + std::to_string(stats.frames) +
                               ": " + what);
    }
}

}  // namespace matchtest

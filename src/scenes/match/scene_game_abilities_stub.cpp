// Stand-in for the abilities until their own file arrives: the opponent never acts, no effect is
// queued or played, the menu closes as soon as it opens, and the ability states hand straight
// back to the player's choice.
#include "scenes/match/scene_game.h"

void SceneGame::buildAbilityWidgets() {}

void SceneGame::resetAbilities() {
    spWindow.resetCooldowns();
    sealed = false;
    sealTurns = 0;
    reflect = false;
    forcedAbility = false;
    counterKind = CounterNone;
    pendingGaugeAdjust = 0;
    lockTurns = 0;
    lockApply = false;
    seeThroughRequest = false;
    voidHandRequest = false;
    pendingMultiplier = 1;
    guardMarks = {};
}

void SceneGame::commitEffects() {
    // The labels are read as the real commit reads them; nothing is queued, so nothing lands.
    (void)playerEffect.CurrentLabel();
    (void)opponentEffect.CurrentLabel();
    (void)lockOverlay.CurrentLabel();
}

bool SceneGame::effectsPlaying() const { return false; }

int SceneGame::opponentReact(int) { return -1; }

void SceneGame::runAbilityMenu() {
    spWindow.open = false;
    hudInteractive = true;
    overlay = 0;
}

void SceneGame::openAbilityMenu() { overlay = 1; }

void SceneGame::stateAbilityActivate() { matchState = PlayerChoice; }

void SceneGame::stateAbilityTarget() { matchState = PlayerChoice; }

void SceneGame::tickAbilityTurn() {
    spWindow.tickCooldowns();
    if (sealed) {
        if (sealTurns < 1) {
            sealed = false;
        } else {
            --sealTurns;
        }
    }
}

void SceneGame::updateAbilityWidgets() {}

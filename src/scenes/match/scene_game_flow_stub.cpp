// Throw-away stand-in for the match flow (scene_game.cpp) so that the abilities link and can be
// tested on their own: the smallest frame that reaches the ability code. Removed when the flow
// lands.
#include "app/mouse_controller.h"
#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "scenes/match/scene_game.h"
#include "sound/dx_sound.h"

SceneGame::SceneGame() = default;
SceneGame::~SceneGame() = default;

void SceneGame::Enter(int /*previousSceneId*/) {
    const int enemy = Global::Instance().Get("enemy");
    opponentIndex = enemy >= 0 && enemy < 5 ? enemy : 0;
    buildWidgets();
    resetAbilities();
    matchState = PlayerChoice;
    previousState = PlayerChoice;
    entered = true;
}

void SceneGame::Leave() {}

void SceneGame::Update(int* /*nextSceneId*/) {
    commitEffects();
    MouseController::Instance().Update(!busy());
    if (!busy()) {
        if (overlay == 1) {
            runAbilityMenu();
        } else {
            runState();
        }
    }
    updateWidgets();
    drawFrame();
}

void SceneGame::buildWidgets() {
    human.init(true);
    opponent.init(false);
    opponent.opponentIndex = opponentIndex;
    gauge.init();
    stock.resetDeck(true);
    root.addChild(&stock);
    root.addChild(&human);
    root.addChild(&opponent);
    root.addChild(&gauge);
    root.addChild(&abilityButton);
    helpPanel.Load("Tips.bca");
    root.addChild(&helpPanel);
    buildAbilityWidgets();
}

bool SceneGame::stepFade(int* /*nextSceneId*/) { return false; }

bool SceneGame::busy() const { return human.isBusy() || opponent.isBusy() || effectsPlaying(); }

void SceneGame::handleSystemClicks() {}

void SceneGame::runState() {
    entered = matchState != previousState;
    previousState = matchState;
    switch (matchState) {
        case AbilityActivate: stateAbilityActivate(); break;
        case AbilityTarget: stateAbilityTarget(); break;
        default: break;
    }
}

void SceneGame::updateWidgets() {
    human.update();
    opponent.update();
    updateAbilityWidgets();
}

void SceneGame::drawFrame() {
    DxGraphic& g = DxGraphic::Instance();
    g.BeginFrame();
    drawTree(&root, 0.0f, 0.0f, 0.0f);
    g.EndFrame();
}

void SceneGame::stateMatchSetup() {}
void SceneGame::stateNextRound() {}
void SceneGame::stateBetRoulette() {}
void SceneGame::stateDeal() {}
void SceneGame::stateTurnStart() {}
void SceneGame::statePlayerChoice() {}
void SceneGame::statePlayerDraw() {}
void SceneGame::stateAfterPlayerDraw() {}
void SceneGame::stateOpponentDraw() {}
void SceneGame::stateShowdownConfirm() {}
void SceneGame::stateOpponentCallNotice() {}
void SceneGame::stateEvaluate() {}
void SceneGame::stateShowdownResult() {}
void SceneGame::stateDoubleUpDeal() {}
void SceneGame::stateDoubleUpResult() {}
void SceneGame::stateRoundEnd() {}
void SceneGame::stateWaitForClick() {}
void SceneGame::stateStoryMessage() {}

int SceneGame::compareHands() const {
    const HandResult p = human.evaluateHand();
    const HandResult o = opponent.evaluateHand();
    if (p == o) return 1;
    return p > o ? 0 : 2;
}

void SceneGame::transferMedals(bool toPlayer, int amount) {
    if (toPlayer) {
        human.addMedals(amount);
        opponent.removeMedals(amount);
    } else {
        human.removeMedals(amount);
        opponent.addMedals(amount);
    }
}

void SceneGame::playOpponentVoice(int /*event*/) {}

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
    gauge.setValue(600);
    for (int i = 0; i < 5; ++i) {
        human.dealCard(i, stock.drawCard(), 10 * i);
        opponent.dealCard(i, stock.drawCard(), 10 * i + 5);
    }
    matchState = TurnStart;
    previousState = MatchSetup;
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
    table.loadTexture("table.png", true);
    table.position = DrawBase::Vec3{-20.0f, -20.0f, 0.0f};
    root.addChild(&table);
    abilityButton.loadTexture("sozai1.png", true);
    abilityButton.useSourceRect = true;
    abilityButton.sourceRect = Image::Rect{616, 608, 720, 712};
    abilityButton.position = DrawBase::Vec3{516.0f, 596.0f, 0.0f};
    abilityButton.enabled = true;
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
        case TurnStart: stateTurnStart(); break;
        case PlayerChoice: statePlayerChoice(); break;
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
void SceneGame::stateTurnStart() {
    ++turn;
    opponentReact(EventTurnStart);
    tickAbilityTurn();
    matchState = PlayerChoice;
}

void SceneGame::statePlayerChoice() {
    if (forcedAbility) {
        matchState = AbilityActivate;
        return;
    }
    const MouseController& m = MouseController::Instance();
    if (!m.Clicked()) return;
    human.toggleHoldAt(m.x, m.y);
    if (!sealed && abilityButton.hitTest(m.x, m.y)) {
        DxSound::Instance().PlaySe("se_menu_open.wav", false, 0);
        openAbilityMenu();
    }
}
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

#include "scenes/match/scene_game.h"

#include <algorithm>
#include <string>

#include "app/mouse_controller.h"
#include "core/global.h"
#include "core/random.h"
#include "core/records.h"
#include "graphics/dx_graphic.h"
#include "platform/debug.h"
#include "platform/platform.h"
#include "platform/text_encoding.h"
#include "scenes/match/match_layout.h"
#include "scenes/match/opponent_lines.h"
#include "sound/dx_sound.h"

namespace lay = match::layout;
namespace sheet = match::sheet;

namespace {

// The asset word of each opponent: stand, effect and voice file names.
constexpr const char* kOpponentWords[match::kOpponentCount] = {"Pemra", "Otsel", "Quenvar", "Iblen", "Rosweth"};

// Voice event words; events 0 and 9..11 exist as recordings but the match never plays them.
constexpr const char* kVoiceWords[] = {"start",    "win",      "lose1",    "lose2",   "lose3",   "ability1",
                                       "ability2", "ability3", "ability4", "change1", "change2", "change3"};
constexpr int kVoiceWordCount = static_cast<int>(sizeof(kVoiceWords) / sizeof(kVoiceWords[0]));

// Money rules.
constexpr int kPayout[kHandRankCount] = {1, 1, 1, 1, 1, 2, 3, 4, 5, 10};
constexpr int kGaugeGain[Player::kSlotCount + 1] = {0, 10, 21, 33, 45, 60};
constexpr int kGaugeRoundGain = 50;
constexpr int kGaugeRoundFrames = 50;
constexpr int kGaugeFramesPerCard = 8;

// The opponent's chance in percent to call the showdown, by its rank and turn - 1 (0..9).
int CallChance(int rank, int turnIndex) {
    if (rank <= HandRankNone) return 0;
    if (rank <= HandRankThreeCards) {
        if (turnIndex < 2) return 0;
        return turnIndex == 2 ? 50 : 100;
    }
    return 100;
}

// Timings in frames.
constexpr int kFadeFrames = 30;
constexpr int kRouletteFrames = 100;
constexpr int kRouletteHoldFrames = 50;
constexpr int kDealStep = 10;
constexpr int kOpponentDealLag = 5;
constexpr int kBannerFrames = 120;
constexpr int kBannerReveal = 50;
constexpr int kBetCountFrames = 30;
constexpr int kAfterMultiplyPause = 50;
constexpr int kShortPause = 2;
constexpr int kLastCountdown = 10;
constexpr int kDoubleUpRevealFrames = 40;
constexpr int kDoubleUpBannerFrames = 50;
constexpr int kDoubleUpPayPause = 50;
constexpr int kRoundEndWait = 2;
constexpr int kRefusedDrawBlink = 60;

constexpr uint32_t kOpaqueBlack = 0xFF000000u;
constexpr uint32_t kClearBlack = 0x00000000u;

// Fade codes: what the scene does when a fade-out has ended.
constexpr int kFadeToViewer = 1;
constexpr int kFadeToTitle = 2;
constexpr int kFadeToAdvert = 100;
constexpr int kFadeToNextMatch = 3;  // the full story: the next match against the same host

// Image property index and easing used here.
constexpr int kAlpha = 15;
constexpr int kPositionGroup = 0;
constexpr int kLinear = 1;
constexpr int kEaseOut = 3;

const std::string kSeDecide = "se_decide.wav";
const std::string kSeCancel = "se_cancel.wav";
const std::string kSeBetLoop = "se_bet_loop.wav";
const std::string kSeBetOk = "se_bet_ok.wav";
const std::string kSeMedalMove = "se_medal_move.wav";
const std::string kSeBattleWin = "se_battle_win.wav";
const std::string kSeDoubleUpWin = "se_wup_win.wav";
const std::string kSeMenuOpen = "se_menu_open.wav";

void PlaySe(const std::string& name) { DxSound::Instance().PlaySe(name); }

void Place(Image& image, const char* sheetName, const Image::Rect& rect, lay::Point at, bool visible) {
    image.loadTexture(sheetName, visible);
    image.useSourceRect = true;
    image.sourceRect = rect;
    image.position = DrawBase::Vec3{at.x, at.y, 0.0f};
}

bool Hit(Button& button, int x, int y) { return button.visible && button.enabled && button.hitTest(x, y); }

void ShowButton(Button& button, bool on) {
    button.visible = on;
    button.enabled = on;
    button.hovered = false;
}

// Keyboard play: this frame's key presses (none while input is off).
using platform::KeyCode;
bool Pressed(KeyCode key) { return MouseController::Instance().KeyPressed(key); }

// The slot (0..4) whose number key went down this frame, or -1.
int SlotKeyPressed() {
    constexpr KeyCode kSlotKeys[] = {KeyCode::Num1, KeyCode::Num2, KeyCode::Num3, KeyCode::Num4, KeyCode::Num5};
    for (int i = 0; i < 5; ++i) {
        if (Pressed(kSlotKeys[i])) return i;
    }
    return -1;
}

bool Usable(const Button& button) { return button.visible && button.enabled; }

// A showdown or double-up result at a glance.
Image& BannerFor(int result, Image& win, Image& tie, Image& lose) {
    if (result == 0) return win;
    return result == 1 ? tie : lose;
}

}  // namespace

SceneGame::SceneGame() {
    playerProducer = [this] { return drawFromDeck(); };
    opponentProducer = [this] { return drawFromDeck(); };
}

SceneGame::~SceneGame() = default;

// --- Scene ---------------------------------------------------------------------------------------

void SceneGame::Enter(int) {
    Global& g = Global::Instance();
    // 1. Progress: a new visit, the opponent's stage at least 1.
    g.Set(0, "winCount");
    opponentIndex = g.Get("enemy");
    if (opponentIndex < 0 || opponentIndex >= match::kOpponentCount) {
        opponentIndex = 0;
    }
    if (g.RecordStage(opponentIndex, 1)) {
        g.WriteSave();
    }
    const std::string word = kOpponentWords[opponentIndex];

    // 2. The host and the salon behind.
    stand.Load("Stand_" + word + ".bca");
    stand.Play(word + "_Stand_01");
    standBg.Load(lay::kStandBgFile);
    standBg.Play(lay::kStandBgLayer);

    // 3. Widgets, effect players and the help panel.
    buildWidgets();
    human.init(true);
    opponent.init(false);
    opponent.opponentIndex = opponentIndex;
    playerEffectUnused.Load(lay::kPlayerEffectFile);
    playerEffect.Load(lay::kPlayerEffectFile);
    opponentEffect.Load("Effect_" + word + ".bca");
    lockOverlay.Load("Effect_" + word + ".bca");
    helpPanel.Load(lay::kTipsFile);
    buildAbilityWidgets();

    // 4. No ability request of any kind; fresh hands.
    seeThroughRequest = false;
    voidHandRequest = false;
    sealed = false;
    sealTurns = 0;
    reflect = false;
    counterKind = CounterNone;
    pendingMultiplier = 1;
    helpShown = false;
    guardMarks = {};
    entered = true;
    overlayEntered = true;
    firstDispatch = true;
    human.resetHandFaces();
    opponent.resetHandFaces();

    // 5. The first state.
    matchState = MatchSetup;
    previousState = MatchSetup;
    overlay = 0;
    previousOverlay = 0;
    opponentPanelOpen = true;
    hudInteractive = true;
    pendingDeckPeek = 0;

    // 6. Music.
    DxSound& sound = DxSound::Instance();
    sound.OpenBgm("bgm_game.ogg");
    sound.SetBgmLoopPoint(0, 8286519, 307146);
    sound.PlayBgm();

    // 7. Black until MatchSetup fades in.
    fade.result = -1;
    fade.SetColour(kOpaqueBlack);
    skipDraw = false;
    fadingOut = false;
}

void SceneGame::Leave() {
    // Loops belong to this screen; the music is the next scene's (or was stopped by code 100).
    DxSound& sound = DxSound::Instance();
    sound.StopSe(kSeBetLoop);
    sound.StopSe(kSeMedalMove);
    // Hands of a match left by the title button still count.
    if (recordsDirty) {
        writeRecords();
    }
    // The table, cards, hosts and effects are this screen's alone: the next one loads its own.
    DxGraphic::Instance().ReleaseAllTextures();
    DxGraphic::Instance().ReleaseAllCanvases();
}

void SceneGame::Update(int* nextSceneId) {
    // 1. A finished fade-out ends the scene.
    if (stepFade(nextSceneId)) {
        return;
    }
    // 2. Card changes queued by an ability land when its animation says "appear".
    commitEffects();
    // 3. Nothing reacts while cards or ability animations move.
    const bool isBusy = busy();
    MouseController& mouse = MouseController::Instance();
    mouse.Update(!isBusy);
    clickTaken = false;
    // 4. The state machine, or 5. the ability menu over it.
    if (overlay == 0) {
        previousOverlay = 0;
        if (!isBusy) {
            if (lockDisplay) {
                lockDisplay = false;
                spWindow.open = false;
                hudInteractive = true;
            }
            entered = firstDispatch || matchState != previousState;
            firstDispatch = false;
            previousState = matchState;
            handleSystemClicks();
            runState();
        }
    } else {
        overlayEntered = overlay != previousOverlay;
        previousOverlay = overlay;
        runAbilityMenu();
    }
    // 6. Widgets and animations step.
    updateWidgets();
    // 7. The frame.
    if (skipDraw) {
        skipDraw = false;
        return;
    }
    drawFrame();
}

// --- Frame ---------------------------------------------------------------------------------------

void SceneGame::buildWidgets() {
    // Root only carries children: drawn itself, a picture-less image would cover the screen.
    root.visible = false;
    root.children.clear();
    table.loadTexture(lay::kTablePicture, true);
    table.position = DrawBase::Vec3{lay::kTablePos.x, lay::kTablePos.y, 0.0f};

    Place(drawButton, lay::kCardSheet, lay::kDrawButtonRect, lay::kDrawButtonPos, false);
    Place(showdownButton, lay::kCardSheet, lay::kShowdownButtonRect, lay::kShowdownButtonPos, false);
    Place(abilityButton, lay::kCardSheet, lay::kAbilityButtonRect, lay::kAbilityButtonPos, false);

    Place(dialogPanel, lay::kCardSheet, lay::kDialogPanelRect, lay::kDialogPanelPos, false);
    Place(showdownConfirmText, lay::kCardSheet, lay::kShowdownConfirmTextRect, lay::kShowdownConfirmTextPos, false);
    Place(callNoticeText, lay::kCardSheet, lay::kCallNoticeTextRect, lay::kCallNoticeTextPos, false);
    Place(doubleUpQuestionText, lay::kCardSheet, lay::kDoubleUpQuestionTextRect, lay::kDoubleUpQuestionTextPos, false);
    Place(yesButton, lay::kCardSheet, lay::kYesButtonRect, lay::kYesButtonPos, false);
    Place(noButton, lay::kCardSheet, lay::kNoButtonRect, lay::kNoButtonPos, false);
    Place(okButton, lay::kCardSheet, lay::kOkButtonRect, lay::kOkButtonPos, false);

    Place(winBanner, lay::kBannerSheet, lay::kWinBannerRect, lay::kWinBannerPos, false);
    Place(loseBanner, lay::kBannerSheet, lay::kLoseBannerRect, lay::kLoseBannerPos, false);
    Place(tieBanner, lay::kBannerSheet, lay::kTieBannerRect, lay::kTieBannerPos, false);

    for (size_t i = 0; i < handPlates.size(); ++i) {
        Place(handPlates[i], sheet::kPlateSheet, lay::ToImageRect(sheet::kHandPlate[0]), lay::kPlayerPlatePos, false);
        Place(multiplierMarks[i], sheet::kPlateSheet, lay::ToImageRect(sheet::kMultiplierMark[0]), lay::kPlayerPlatePos,
              false);
    }
    for (int i = 0; i < Player::kSlotCount; ++i) {
        const DrawBase::Vec3 card = Player::SlotPosition(true, i);
        Place(slotHighlights[static_cast<size_t>(i)], sheet::kExtraSheet, lay::ToImageRect(sheet::kSlotHighlight),
              lay::Point{card.x + lay::kHighlightDx, card.y + lay::kHighlightDy}, false);
        slotHighlights[static_cast<size_t>(i)].blendMode = 2;
    }

    Place(doubleUpPanel, sheet::kExtraSheet, lay::ToImageRect(sheet::kDoubleUpPanel), lay::kDoubleUpPanelPos, false);
    for (size_t i = 0; i < doubleUpCards.size(); ++i) {
        ImageCard& card = doubleUpCards[i];
        card.loadTexture(ImageCard::Sheet(), false);
        card.position = DrawBase::Vec3{lay::kDoubleUpCardX[i], lay::kDoubleUpCardStartY, 0.0f};
    }
    Place(highButton, sheet::kExtraSheet, lay::ToImageRect(sheet::kHighButton), lay::kHighButtonPos, false);
    Place(lowButton, sheet::kExtraSheet, lay::ToImageRect(sheet::kLowButton), lay::kLowButtonPos, false);
    Place(doubleUpGuide, sheet::kExtraSheet, lay::ToImageRect(sheet::kGuideCaption), lay::kGuideCaptionPos, false);
    Place(doubleUpGuideHigh, sheet::kExtraSheet, lay::ToImageRect(sheet::kGuideHigh), lay::kGuideHighPos, false);
    Place(doubleUpGuideLow, sheet::kExtraSheet, lay::ToImageRect(sheet::kGuideLow), lay::kGuideLowPos, false);

    Place(titleButton, lay::kCardSheet, lay::kTitleButtonDim, lay::kTitleButtonPos, true);
    Place(quitButton, lay::kCardSheet, lay::kQuitButtonDim, lay::kQuitButtonPos, true);

    betNumber.hasMin = true;
    betNumber.minimum = 0;
    betNumber.init(lay::kBetDigitWidth, lay::kBetDigitHeight, lay::kBetDigitAdvance, lay::kBetDigits,
                   lay::kBetStripLeft, lay::kBetStripTop, false);
    betNumber.setPosition(static_cast<int>(lay::kBetNumberPos.x), static_cast<int>(lay::kBetNumberPos.y));
    betNumber.setValue(bet);

    gauge.hasMin = true;
    gauge.minimum = 0;
    gauge.hasMax = true;
    gauge.maximum = kGaugeMax;
    gauge.init();

    stock.resetDeck(true);
    stock.setShown(false);

    // Story lines: the frame is the window's decoration, the text canvas lies inside it.
    messageWindow.decoration.loadTexture(lay::kWindowSheet, true);
    messageWindow.decoration.useSourceRect = true;
    messageWindow.decoration.sourceRect = lay::kMessageFrameRect;
    messageWindow.decorationX = static_cast<int>(lay::kMessageFramePos.x);
    messageWindow.decorationY = static_cast<int>(lay::kMessageFramePos.y);
    messageWindow.textX = lay::kMessageTextX;
    messageWindow.textY = lay::kMessageTextY;
    messageWindow.surface.CreateCanvas(lay::kMessageCanvas, lay::kMessageTextWidth, lay::kMessageTextHeight);
    messageWindow.fontSize = lay::kMessageFontSize;
    messageWindow.wrapWidth = lay::kMessageTextWidth;
    messageWindow.framesPerStep = lay::kMessageFramesPerStep;
    messageWindow.shown = false;
    messageWindow.setText("");
}

bool SceneGame::stepFade(int* nextSceneId) {
    switch (fade.Step()) {
        case kFadeToViewer:
            *nextSceneId = kSceneLookCg;
            return true;
        case kFadeToTitle:
            *nextSceneId = kSceneTitle;
            return true;
        case kFadeToAdvert:
            DxSound::Instance().StopBgm();
            *nextSceneId = kSceneCm;
            return true;
        case kFadeToNextMatch:
            // Behind the black screen: a new match of the same visit, greeting skipped.
            fadingOut = false;
            hudInteractive = true;
            messageWindow.shown = false;
            matchState = MatchSetup;
            return false;
        default:
            return false;
    }
}

bool SceneGame::busy() const { return human.isBusy() || opponent.isBusy() || effectsPlaying(); }

bool SceneGame::leftClicked() const { return !clickTaken && MouseController::Instance().Clicked(); }

bool SceneGame::advancePressed() const { return !clickTaken && (Pressed(KeyCode::Space) || Pressed(KeyCode::Return)); }

void SceneGame::handleSystemClicks() {
    MouseController& mouse = MouseController::Instance();
    // Escape asks the title button's question.
    const bool escape = mouse.KeyPressed(KeyCode::Escape);
    if (!mouse.Clicked() && !escape) {
        return;
    }
    const int x = mouse.x;
    const int y = mouse.y;
    if (!escape && hudInteractive && opponentPanelTab.visible && opponentPanelTab.contains(x, y)) {
        PlaySe(kSeDecide);
        opponentPanelOpen = !opponentPanelOpen;
        clickTaken = true;
        return;
    }
    if (!systemButtonsEnabled || fadingOut) {
        return;
    }
    const bool toTitle = escape || titleButton.contains(x, y);
    const bool toQuit = !toTitle && quitButton.contains(x, y);
    if (!toTitle && !toQuit) {
        return;
    }
    PlaySe(kSeDecide);
    // The box takes the button's release: the click must not reach the state below.
    mouse.left = false;
    clickTaken = true;
    const std::string text = toTitle ? platform::SjisToUtf8(SJ("タイトルへ戻りますか？"))
                                     : platform::SjisToUtf8(SJ("ゲームを終了しますか？"));
    const platform::MessageBoxAnswer answer =
        platform::Get().ShowMessageBox(text, platform::SjisToUtf8(SJ("確認")), platform::MessageBoxButtons::OkCancel,
                                       platform::MessageBoxIcon::Question, true);
    if (answer != platform::MessageBoxAnswer::Ok) {
        return;
    }
    if (toTitle) {
        PlaySe(kSeDecide);
        startFadeOut(kFadeToTitle);
    } else {
        HideWindowAndQuit();
    }
}

void SceneGame::runState() {
    switch (matchState) {
        case MatchSetup: stateMatchSetup(); break;
        case NextRound: stateNextRound(); break;
        case BetRoulette: stateBetRoulette(); break;
        case Deal: stateDeal(); break;
        case TurnStart: stateTurnStart(); break;
        case PlayerChoice: statePlayerChoice(); break;
        case PlayerDraw: statePlayerDraw(); break;
        case AfterPlayerDraw: stateAfterPlayerDraw(); break;
        case OpponentDraw: stateOpponentDraw(); break;
        case ShowdownConfirm: stateShowdownConfirm(); break;
        case OpponentCallNotice: stateOpponentCallNotice(); break;
        case Evaluate: stateEvaluate(); break;
        case ShowdownResult: stateShowdownResult(); break;
        case DoubleUpDeal: stateDoubleUpDeal(); break;
        case DoubleUpResult: stateDoubleUpResult(); break;
        case RoundEnd: stateRoundEnd(); break;
        case WaitForClick: stateWaitForClick(); break;
        case StoryMessage: stateStoryMessage(); break;
        case AbilityActivate: stateAbilityActivate(); break;
        case AbilityTarget: stateAbilityTarget(); break;
        default: break;  // 6 and anything else: no handler
    }
}

void SceneGame::updateWidgets() {
    human.update();
    opponent.update();
    for (Image* image : {static_cast<Image*>(&winBanner), static_cast<Image*>(&loseBanner),
                         static_cast<Image*>(&tieBanner), static_cast<Image*>(&handPlates[0]),
                         static_cast<Image*>(&handPlates[1]), static_cast<Image*>(&multiplierMarks[0]),
                         static_cast<Image*>(&multiplierMarks[1])}) {
        image->updateTweens();
    }
    for (Image& highlight : slotHighlights) {
        highlight.updateTweens();
    }
    for (ImageCard& card : doubleUpCards) {
        card.update();
    }
    if (messageWindow.shown) {
        messageWindow.step();
    }

    // Hovered buttons sink.
    const MouseController& mouse = MouseController::Instance();
    for (Button* button : {&drawButton, &showdownButton, &abilityButton, &yesButton, &noButton, &okButton, &highButton,
                           &lowButton}) {
        if (button->visible) {
            button->hitTest(mouse.x, mouse.y);
        }
    }
    titleButton.sourceRect = systemButtonsEnabled ? lay::kTitleButtonLit : lay::kTitleButtonDim;
    quitButton.sourceRect = systemButtonsEnabled ? lay::kQuitButtonLit : lay::kQuitButtonDim;

    DxSound& sound = DxSound::Instance();
    if (sound.IsMedalMoveSePlaying() && !human.isBusy()) {
        sound.StopSe(kSeMedalMove);
    }
    updateAbilityWidgets();
    sound.UpdateSe();
}

void SceneGame::drawFrame() {
    DxGraphic& g = DxGraphic::Instance();
    g.BeginFrame();
    // Back to front: the salon and the host, the table, the cards, the HUD, the overlays.
    DrawBase* const layers[] = {
        &standBg,          &stand,
        &table,            &stock,
        &slotHighlights[0], &slotHighlights[1],
        &slotHighlights[2], &slotHighlights[3],
        &slotHighlights[4], &human,
        &opponent,         &betNumber,
        &gauge,            &drawButton,
        &showdownButton,   &abilityButton,
        &helpPanel,        &handPlates[0],
        &handPlates[1],    &multiplierMarks[0],
        &multiplierMarks[1], &dialogPanel,
        &showdownConfirmText, &callNoticeText,
        &doubleUpQuestionText, &yesButton,
        &noButton,         &okButton,
        &doubleUpPanel,    &doubleUpGuide,
        &doubleUpGuideHigh, &doubleUpGuideLow,
        &doubleUpCards[0], &doubleUpCards[1],
        &highButton,       &lowButton,
        &winBanner,        &loseBanner,
        &tieBanner,        &messageWindow,
        // The ability widgets hang under root (buildAbilityWidgets gives their order).
        &root,             &titleButton,
        &quitButton,
    };
    for (DrawBase* layer : layers) {
        drawTree(layer, 0.0f, 0.0f, 0.0f);
    }
    fade.Draw();
    g.EndFrame();
}

// --- States 0..18 --------------------------------------------------------------------------------

// MatchSetup: fresh medals, gauge and abilities, the fade-in; then the greeting or the first bet.
void SceneGame::stateMatchSetup() {
    human.resetHandFaces();
    opponent.resetHandFaces();
    human.setMedals(kStartMedals);
    opponent.setMedals(kStartMedals);
    gauge.setValue(0);
    resetAbilities();
    reactAsked.fill(0);
    reactUsed.fill(0);
    messageWindow.shown = false;
    hideBanners();
    fade.result = -1;
    fade.Start(kOpaqueBlack, kClearBlack, kFadeFrames);
    pendingMultiplier = 1;
    turn = 0;
    doubleUpStreak = 0;
    matchState = Global::Instance().Get("winCount") == 0 ? StoryMessage : BetRoulette;
}

// NextRound: the last hand's dialogs go, the gauge earns its hand bonus; this frame is not drawn.
void SceneGame::stateNextRound() {
    showDialog(DialogNone);
    showDoubleUp(false);
    for (Image& highlight : slotHighlights) {
        highlight.visible = false;
    }
    sealed = false;
    sealTurns = 0;
    gauge.countTo(gauge.value + kGaugeRoundGain, kGaugeRoundFrames);
    skipDraw = true;
    matchState = BetRoulette;
}

// BetRoulette: 99 random figures spin on the bet, then 100, 200 or 500; the deal after a pause.
void SceneGame::stateBetRoulette() {
    DxSound& sound = DxSound::Instance();
    if (entered) {
        sound.PlaySe(kSeBetLoop, true);
        turn = 0;
        messageWindow.shown = false;
        playerCalled = false;
        opponentCalled = false;
        opponentActed = false;
        stock.resetDeck(true);
        stock.setShown(true);
        betNumber.setValue(bet);
        human.resetHandFaces();
        opponent.resetHandFaces();
        human.clearHoldAndFreeze();
        opponent.clearHoldAndFreeze();
        rouletteCounter = kRouletteFrames;
        rouletteHold = kRouletteHoldFrames;
    }
    if (rouletteCounter > 0) {
        --rouletteCounter;
        if (rouletteCounter > 0) {
            betNumber.setValue(1000 + Random::Instance().Range(0, 8999));
            return;
        }
        sound.StopSe(kSeBetLoop);
        PlaySe(kSeBetOk);
        bet = (Random::Instance().Range(0, 2) + 1) * 100;
        if (bet == 300) {
            bet = 500;
        }
        betNumber.setValue(bet);
    }
    if (--rouletteHold <= 0) {
        matchState = Deal;
    }
}

// Deal: five cards each, alternating, the opponent's face down and 5 frames behind.
void SceneGame::stateDeal() {
    for (int i = 0; i < Player::kSlotCount; ++i) {
        human.dealCard(i, stock.drawCard(), kDealStep * i);
        opponent.dealCard(i, stock.drawCard(), kDealStep * i + kOpponentDealLag);
    }
    matchState = TurnStart;
}

// TurnStart: one frame of bookkeeping, then the opponent may call before the player acts.
void SceneGame::stateTurnStart() {
    if (!helpShown) {
        helpShown = true;
        helpPanel.Play(lay::kFirstTurnTips);
        systemButtonsEnabled = true;
    }
    ++turn;
    counterKind = CounterNone;
    pendingMultiplier = 1;
    tickCooldowns();
    opponentReact(EventTurnStart);
    human.tickFrozenTurns();
    opponent.tickFrozenTurns();
    human.holdFrozenCards();
    countDownSeal();
    if (stock.remainingCards() <= 0) {
        matchState = Evaluate;
        return;
    }
    if (!opponentCalled) {
        const int rank = opponent.evaluateHand().rank;
        const int t = std::min(turn - 1, 9);
        if (Random::Instance().Range(0, 99) < CallChance(rank, t)) {
            opponentCalled = true;
            matchState = OpponentCallNotice;
            return;
        }
    }
    matchState = PlayerChoice;
}

// PlayerChoice: hold cards, then Draw, Showdown or Ability.
void SceneGame::statePlayerChoice() {
    if (entered) {
        showActionButtons(true);
        systemButtonsEnabled = true;
    }
    if (forcedAbility) {
        forcedAbility = false;
        showActionButtons(false);
        systemButtonsEnabled = false;
        matchState = AbilityActivate;
        return;
    }
    // Number keys hold like a click on the card; D, S and A press the buttons.
    const int slotKey = SlotKeyPressed();
    if (slotKey >= 0) {
        human.toggleHoldSlot(slotKey);
        return;
    }
    const bool clicked = leftClicked();
    const MouseController& mouse = MouseController::Instance();
    const int x = clicked ? mouse.x : -1;
    const int y = clicked ? mouse.y : -1;
    if (clicked && human.slotAt(x, y) >= 0) {
        human.toggleHoldAt(x, y);
        return;
    }
    const bool draw = Hit(drawButton, x, y) || (Usable(drawButton) && Pressed(KeyCode::D));
    const bool showdown = !draw && (Hit(showdownButton, x, y) || (Usable(showdownButton) && Pressed(KeyCode::S)));
    const bool ability = !draw && !showdown && (Hit(abilityButton, x, y) || (Usable(abilityButton) && Pressed(KeyCode::A)));
    if (draw) {
        if (human.countExchangeable() > stock.remainingCards()) {
            PlaySe(kSeCancel);
            stock.startBlink(kRefusedDrawBlink);
            return;
        }
        showActionButtons(false);
        opponentReact(EventPlayerPressedDraw);
        systemButtonsEnabled = false;
        matchState = PlayerDraw;
    } else if (showdown) {
        PlaySe(kSeDecide);
        showActionButtons(false);
        matchState = ShowdownConfirm;
    } else if (!sealed && ability) {
        PlaySe(kSeMenuOpen);
        openAbilityMenu();
    }
}

// PlayerDraw: the cards to exchange fade out, then new ones come and the gauge earns its share.
void SceneGame::statePlayerDraw() {
    if (entered) {
        human.fadeOutUnheld(stock.remainingCards());
        PlaySe(kSeDecide);
        return;
    }
    const int n = std::clamp(human.exchangeUnheld(playerProducer), 0, Player::kSlotCount);
    if (n > 0) {
        gauge.countTo(gauge.value + kGaugeGain[n], kGaugeFramesPerCard * n);
    }
    matchState = AfterPlayerDraw;
}

// AfterPlayerDraw: after the opponent's call the hands are compared; else it may react.
void SceneGame::stateAfterPlayerDraw() {
    if (entered) {
        if (opponentCalled) {
            matchState = Evaluate;
            return;
        }
        opponentActed = false;
        opponentReact(EventAfterPlayerDraw);
        return;
    }
    matchState = OpponentDraw;
}

// OpponentDraw: the opponent keeps what it likes and exchanges the rest.
void SceneGame::stateOpponentDraw() {
    if (entered) {
        if (stock.remainingCards() <= 0) {
            matchState = Evaluate;
            return;
        }
        opponent.holdFrozenCards();
        opponent.decideHolds(stock.remainingCards());
        opponentReact(EventOpponentDraw);
        opponent.fadeOutUnheld(stock.remainingCards());
        return;
    }
    opponent.exchangeUnheld(opponentProducer);
    matchState = (playerCalled || opponentCalled) ? Evaluate : TurnStart;
}

// ShowdownConfirm: Yes calls the showdown (the opponent still draws once), No goes back.
void SceneGame::stateShowdownConfirm() {
    if (entered) {
        showDialog(DialogShowdownConfirm);
    }
    const bool yesKey = Usable(yesButton) && Pressed(KeyCode::Y);
    const bool noKey = Usable(noButton) && Pressed(KeyCode::N);
    if (!leftClicked() && !yesKey && !noKey) {
        return;
    }
    const MouseController& mouse = MouseController::Instance();
    if (yesKey || Hit(yesButton, mouse.x, mouse.y)) {
        PlaySe(kSeDecide);
        playerCalled = true;
        showDialog(DialogNone);
        systemButtonsEnabled = false;
        matchState = AfterPlayerDraw;
    } else if (noKey || Hit(noButton, mouse.x, mouse.y)) {
        PlaySe(kSeCancel);
        showDialog(DialogNone);
        matchState = PlayerChoice;
    }
}

// OpponentCallNotice: the opponent called; the player still has this turn's action.
void SceneGame::stateOpponentCallNotice() {
    if (entered) {
        showDialog(DialogCallNotice);
    }
    const MouseController& mouse = MouseController::Instance();
    const bool okKey = Usable(okButton) && (advancePressed() || Pressed(KeyCode::Y));
    if (okKey || (leftClicked() && Hit(okButton, mouse.x, mouse.y))) {
        PlaySe(kSeDecide);
        showDialog(DialogNone);
        matchState = PlayerChoice;
    }
}

// Evaluate: the opponent's last chance to react, then both hands are ranked.
void SceneGame::stateEvaluate() {
    if (entered) {
        opponentReact(EventShowdown);
        showdownResult = compareHands();
        return;
    }
    matchState = ShowdownResult;
}

// ShowdownResult: reveal, plates and banner, the payout multiplier, medals or the double-up offer.
void SceneGame::stateShowdownResult() {
    if (entered) {
        for (Player* side : {&human, &opponent}) {
            for (HandSlot& slot : side->hand) {
                slot.held = false;
                slot.frozenTurns = slot.frozen ? std::max(slot.frozenTurns, 0) : -1;
                slot.frozen = false;
            }
        }
        opponent.flipAllFaceUp();
        Records::Instance().RecordHand(opponentIndex, human.evaluateHand().rank);
        recordsDirty = true;
        showdownResult = compareHands();
        if (showdownResult == 0) {
            payoutMultiplier = kPayout[std::clamp(human.evaluateHand().rank, 0, kHandRankCount - 1)];
        } else if (showdownResult == 2) {
            payoutMultiplier = kPayout[std::clamp(opponent.evaluateHand().rank, 0, kHandRankCount - 1)];
        } else {
            payoutMultiplier = 0;
        }
        showPlates();
        Image& banner = BannerFor(showdownResult, winBanner, tieBanner, loseBanner);
        banner.clearTweens();
        banner.visible = true;
        banner.alpha = 0.0f;
        banner.tween(1.0f, kAlpha, kLinear, kBannerReveal, 0);
        if (showdownResult == 0) {
            DxSound::Instance().PlaySe(kSeBattleWin, false, kBannerReveal);
        }
        bannerCountdown = kBannerFrames;
        pauseCountdown = 0;
        lastCountdown = 0;
        return;
    }
    stopBetLoopWhenCounted();
    if (bannerCountdown > 0) {
        if (--bannerCountdown > 0) {
            return;
        }
        winBanner.visible = false;
        loseBanner.visible = false;
        if (showdownResult == 1) {
            matchState = WaitForClick;
            return;
        }
        if (payoutMultiplier > 1) {
            DxSound::Instance().PlaySe(kSeBetLoop, true);
            bet *= payoutMultiplier;
            betNumber.countTo(bet, kBetCountFrames);
            pauseCountdown = kAfterMultiplyPause;
        } else {
            pauseCountdown = kShortPause;
        }
        return;
    }
    if (pauseCountdown > 0) {
        if (--pauseCountdown > 0) {
            return;
        }
        if (showdownResult == 2) {
            opponentReact(EventPlayerLost);
        }
        lastCountdown = kLastCountdown;
        return;
    }
    if (lastCountdown > 0) {
        if (--lastCountdown > 0) {
            return;
        }
        if (showdownResult == 2) {
            transferMedals(false, bet);
        } else {
            showDialog(DialogDoubleUp);
        }
        return;
    }
    const bool yesKey = Usable(yesButton) && Pressed(KeyCode::Y);
    const bool noKey = Usable(noButton) && Pressed(KeyCode::N);
    const bool lostAdvance = showdownResult == 2 && advancePressed();
    if (!leftClicked() && !yesKey && !noKey && !lostAdvance) {
        return;
    }
    const MouseController& mouse = MouseController::Instance();
    if (showdownResult == 2) {
        PlaySe(kSeDecide);
        hideBanners();
        matchState = RoundEnd;
    } else if (yesKey || Hit(yesButton, mouse.x, mouse.y)) {
        PlaySe(kSeDecide);
        hidePlates();
        hideBanners();
        showDialog(DialogNone);
        matchState = DoubleUpDeal;
    } else if (noKey || Hit(noButton, mouse.x, mouse.y)) {
        PlaySe(kSeCancel);
        Records::Instance().RecordPayout(opponentIndex, transferMedals(true, bet));
        hidePlates();
        hideBanners();
        showDialog(DialogNone);
        matchState = WaitForClick;
    }
}

// DoubleUpDeal: one card up, one down, sliding in from above; the player guesses High or Low.
void SceneGame::stateDoubleUpDeal() {
    if (entered) {
        stock.resetDeck(false);
        stock.setShown(false);
        human.resetHandFaces();
        opponent.resetHandFaces();
        for (size_t i = 0; i < doubleUpCards.size(); ++i) {
            ImageCard& card = doubleUpCards[i];
            const Card c = stock.drawCard();
            const bool faceUp = i == 0;
            card.clearTweens();
            card.flipPending = false;
            card.rotation = DrawBase::Vec3{};
            card.alpha = 1.0f;
            card.faceUp = faceUp;
            card.setCard(faceUp, c.value, c.suit);
            card.position = DrawBase::Vec3{lay::kDoubleUpCardX[i], lay::kDoubleUpCardStartY, 0.0f};
            card.tweenGroup(kPositionGroup, kEaseOut, lay::kDoubleUpCardX[i], lay::kDoubleUpCardY, 0.0f,
                            lay::kDoubleUpSlideFrames, static_cast<int>(i) * lay::kDoubleUpSecondDelay);
        }
        showDoubleUp(true);
        return;
    }
    const bool highKey = Usable(highButton) && Pressed(KeyCode::Up);
    const bool lowKey = Usable(lowButton) && Pressed(KeyCode::Down);
    if (!leftClicked() && !highKey && !lowKey) {
        return;
    }
    const MouseController& mouse = MouseController::Instance();
    const bool high = highKey || Hit(highButton, mouse.x, mouse.y);
    const bool low = !high && (lowKey || Hit(lowButton, mouse.x, mouse.y));
    if (!high && !low) {
        return;
    }
    PlaySe(kSeDecide);
    doubleUpGuess = high ? 1 : 0;
    doubleUpCards[1].startFlip(true);
    ShowButton(high ? lowButton : highButton, false);
    (high ? highButton : lowButton).enabled = false;
    doubleUpGuideHigh.visible = false;
    doubleUpGuideLow.visible = false;
    matchState = DoubleUpResult;
}

// DoubleUpResult: the hidden card shows; a right guess doubles the stake (at most 99999).
void SceneGame::stateDoubleUpResult() {
    if (entered) {
        doubleUpGuide.visible = false;
        const int a = rankingValue(Card{doubleUpCards[0].cardValue, doubleUpCards[0].cardSuit});
        const int b = rankingValue(Card{doubleUpCards[1].cardValue, doubleUpCards[1].cardSuit});
        if (a == b) {
            doubleUpResult = 1;
        } else if (doubleUpGuess == 1) {
            doubleUpResult = a < b ? 0 : 2;
        } else {
            doubleUpResult = a > b ? 0 : 2;
        }
        if (doubleUpResult == 0) {
            Records::Instance().RecordDoubleUpStreak(opponentIndex, ++doubleUpStreak);
        } else if (doubleUpResult == 2) {
            doubleUpStreak = 0;
        }
        doubleUpRevealCountdown = kDoubleUpRevealFrames;
        doubleUpBannerCountdown = 0;
        doubleUpPayCountdown = 0;
        return;
    }
    if (doubleUpRevealCountdown > 0) {
        if (--doubleUpRevealCountdown > 0) {
            return;
        }
        doubleUpBannerCountdown = kDoubleUpBannerFrames;
        Image& banner = BannerFor(doubleUpResult, winBanner, tieBanner, loseBanner);
        banner.clearTweens();
        banner.alpha = 1.0f;
        banner.visible = true;
        if (doubleUpResult == 0) {
            PlaySe(kSeDoubleUpWin);
        }
        return;
    }
    stopBetLoopWhenCounted();
    if (doubleUpBannerCountdown > 0) {
        if (--doubleUpBannerCountdown > 0) {
            return;
        }
        hideBanners();
        if (doubleUpResult == 0) {
            DxSound::Instance().PlaySe(kSeBetLoop, true);
            bet = static_cast<int>(std::min<long long>(static_cast<long long>(bet) * 2, kMaxBet));
            betNumber.countTo(bet, kBetCountFrames);
            doubleUpPayCountdown = kDoubleUpPayPause;
        } else {
            doubleUpPayCountdown = kShortPause;
        }
        return;
    }
    if (doubleUpPayCountdown > 0) {
        if (--doubleUpPayCountdown > 0) {
            return;
        }
        const int moved = transferMedals(doubleUpResult != 2, bet);
        if (doubleUpResult != 2) {
            Records::Instance().RecordPayout(opponentIndex, moved);
        }
        return;
    }
    matchState = WaitForClick;
}

// RoundEnd: the match goes on, or one side is out of medals.
void SceneGame::stateRoundEnd() {
    if (entered) {
        systemButtonsEnabled = true;
        if (human.medals < 1) {
            playOpponentVoice(1);
            roundEndWait = kRoundEndWait;
        } else if (opponent.medals > 0) {
            matchState = NextRound;
        } else {
            const int w = Global::Instance().Get("winCount");
            if (w >= 0 && w <= 2) {
                playOpponentVoice(2 + w);
            }
            roundEndWait = kRoundEndWait;
        }
        return;
    }
    if (roundEndWait <= 0 || --roundEndWait > 0) {
        return;
    }
    Records::Instance().RecordMatch(opponentIndex, human.medals >= 1);
    writeRecords();
    if (human.medals < 1) {
        startFadeOut(kFadeToAdvert);
        return;
    }
    Global& g = Global::Instance();
    const int w = g.Get("winCount");
    if (g.RecordStage(opponentIndex, w + 2)) {
        g.WriteSave();
    }
    g.Set(w + 1, "winCount");
    hudInteractive = false;
    matchState = StoryMessage;
}

// WaitForClick: the result stays until the player clicks.
void SceneGame::stateWaitForClick() {
    if (!leftClicked() && !advancePressed()) {
        return;
    }
    showDialog(DialogNone);
    showDoubleUp(false);
    hideBanners();
    hidePlates();
    matchState = RoundEnd;
}

// StoryMessage: the host speaks; a click completes the line, the next one goes on: the first bet
// (greeting), the illustration (third win), the next match (full story) or the advertisement.
void SceneGame::stateStoryMessage() {
    const int w = Global::Instance().Get("winCount");
    if (entered) {
        systemButtonsEnabled = true;
        // The window takes the comment's place at the bottom of the screen.
        commentPlate.visible = false;
        commentText.visible = false;
        messageWindow.setText(match::StoryLine(opponentIndex, w, Random::Instance().Range(0, 3)).c_str());
        messageWindow.shown = true;
    }
    if (fadingOut || (!leftClicked() && !advancePressed())) {
        return;
    }
    if (!messageWindow.finished()) {
        messageWindow.finish();
        return;
    }
    PlaySe(kSeDecide);
    if (w == 0) {
        systemButtonsEnabled = false;
        matchState = BetRoulette;
    } else if (w == 3) {
        systemButtonsEnabled = false;
        Global::Instance().Set(3, "cg");
        startFadeOut(kFadeToViewer);
    } else if (Global::Instance().Get("FullStory") == 1) {
        // The full story: the visit goes on until the third win.
        systemButtonsEnabled = false;
        startFadeOut(kFadeToNextMatch);
    } else {
        startFadeOut(kFadeToAdvert);
    }
}

// --- Display helpers -----------------------------------------------------------------------------

void SceneGame::showActionButtons(bool on) {
    ShowButton(drawButton, on);
    ShowButton(showdownButton, on);
    ShowButton(abilityButton, on);
}

void SceneGame::showDialog(int kind) {
    dialogPanel.visible = kind != DialogNone;
    showdownConfirmText.visible = kind == DialogShowdownConfirm;
    callNoticeText.visible = kind == DialogCallNotice;
    doubleUpQuestionText.visible = kind == DialogDoubleUp;
    const bool yesNo = kind == DialogShowdownConfirm || kind == DialogDoubleUp;
    ShowButton(yesButton, yesNo);
    ShowButton(noButton, yesNo);
    ShowButton(okButton, kind == DialogCallNotice);
}

void SceneGame::showPlates() {
    const Player* sides[2] = {&human, &opponent};
    const lay::Point at[2] = {lay::kPlayerPlatePos, lay::kOpponentPlatePos};
    for (size_t i = 0; i < handPlates.size(); ++i) {
        const int rank = std::clamp(sides[i]->evaluateHand().rank, 0, kHandRankCount - 1);
        Image& plate = handPlates[i];
        Image& mark = multiplierMarks[i];
        const bool royal = rank == HandRankRoyal;
        const float y = royal ? at[i].y - lay::kRoyalPlateRise : at[i].y;
        plate.sourceRect = lay::ToImageRect(royal ? sheet::kRoyalPlate : sheet::kHandPlate[rank]);
        plate.position = DrawBase::Vec3{at[i].x, y, 0.0f};
        const bool marked = rank >= sheet::kMultiplierFirstRank;
        if (marked) {
            const sheet::Rect r = sheet::kMultiplierMark[rank - sheet::kMultiplierFirstRank];
            mark.sourceRect = lay::ToImageRect(r);
            const float plateHeight = static_cast<float>(plate.sourceRect.bottom - plate.sourceRect.top);
            mark.position = DrawBase::Vec3{at[i].x + lay::kMarkDx, y + (plateHeight - r.height()) / 2.0f, 0.0f};
        }
        for (Image* image : {&plate, &mark}) {
            image->clearTweens();
            image->visible = image == &plate || marked;
            image->alpha = 0.0f;
            image->tween(1.0f, kAlpha, kLinear, lay::kPlateFadeFrames, lay::kPlateDelay);
        }
    }
}

void SceneGame::hidePlates() {
    for (size_t i = 0; i < handPlates.size(); ++i) {
        handPlates[i].visible = false;
        multiplierMarks[i].visible = false;
    }
}

void SceneGame::hideBanners() {
    winBanner.visible = false;
    loseBanner.visible = false;
    tieBanner.visible = false;
}

void SceneGame::showDoubleUp(bool on) {
    doubleUpPanel.visible = on;
    for (ImageCard& card : doubleUpCards) {
        card.visible = on;
    }
    ShowButton(highButton, on);
    ShowButton(lowButton, on);
    doubleUpGuide.visible = on;
    doubleUpGuideHigh.visible = on;
    doubleUpGuideLow.visible = on;
}

void SceneGame::startFadeOut(int code) {
    fadingOut = true;
    fade.result = code;
    fade.Start(kClearBlack, kOpaqueBlack, kFadeFrames);
}

void SceneGame::stopBetLoopWhenCounted() {
    DxSound& sound = DxSound::Instance();
    if (!betNumber.counting && sound.IsSePlaying(kSeBetLoop)) {
        sound.StopSe(kSeBetLoop);
    }
}

// --- Money and lines -----------------------------------------------------------------------------

int SceneGame::compareHands() const {
    if (counterKind == CounterOpponentWins) {
        return 2;
    }
    const int c = ::compareHands(human.evaluateHand(), opponent.evaluateHand());
    if (c > 0) return 0;
    return c < 0 ? 2 : 1;
}

int SceneGame::transferMedals(bool toPlayer, int amount) {
    if (amount <= 0) {
        return 0;
    }
    DxSound::Instance().PlaySe(kSeMedalMove, true);
    Player& winner = toPlayer ? human : opponent;
    Player& loser = toPlayer ? opponent : human;
    // Nobody pays more than they have.
    const int paid = std::min(amount, loser.medals);
    winner.addMedals(paid);
    loser.removeMedals(paid);
    return paid;
}

void SceneGame::writeRecords() {
    recordsDirty = false;
    if (!Records::Instance().Write()) {
        platform::OutputDebug(SJ("SceneGame : records.dat を書けませんでした"));
    }
}

void SceneGame::playOpponentVoice(int event) {
    if (event < 0 || event >= kVoiceWordCount) {
        return;
    }
    const std::string name = std::string(kOpponentWords[opponentIndex]) + "_" + kVoiceWords[event] + ".wav";
    DxSound& sound = DxSound::Instance();
    sound.LoadSeFromFile(name);
    sound.PlaySe(name);
}

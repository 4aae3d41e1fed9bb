#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "animation/sylkie_animation.h"
#include "app/scene.h"
#include "scenes/match/player.h"
#include "widgets/image_font.h"
#include "widgets/screen_fade.h"
#include "widgets/button.h"
#include "widgets/gauge.h"
#include "widgets/image.h"
#include "widgets/image_card.h"
#include "widgets/message_window.h"
#include "widgets/number.h"
#include "widgets/sp_window.h"
#include "widgets/stock.h"

// The match against one opponent: five-card draw for medals with the bet roulette, the showdown,
// the double-up and both sides' abilities. Owns both players, the deck, the HUD widgets, the
// ability window and the opponent's animations; one state handler runs per frame while nothing
// moves. Leaves for 2 (title), 8 (illustration viewer) or 9 (advertisement).
// Global: reads "enemy", "winCount", "FullStory" and "FourColourDeck"; writes "winCount",
// "stage_0".."stage_4" (then the save file) and "cg". Counts the host's records (records.dat,
// written when a match ends or the scene is left mid-match).
//
// The match flow lives in scene_game.cpp (enter, frame, states 0..18, betting, showdown,
// double-up, lines); the abilities of both sides in scene_game_abilities.cpp (the menu overlay,
// states 19 and 20, opponentReact, the commit on "appear", the opponent panel).
class SceneGame : public Scene {
public:
    enum MatchState : int {
        MatchSetup = 0,
        NextRound = 1,
        BetRoulette = 2,
        Deal = 3,
        TurnStart = 4,
        PlayerChoice = 5,
        // 6 has no handler and is never entered.
        PlayerDraw = 7,
        AfterPlayerDraw = 8,
        OpponentDraw = 9,
        ShowdownConfirm = 10,
        OpponentCallNotice = 11,
        Evaluate = 12,
        ShowdownResult = 13,
        DoubleUpDeal = 14,
        DoubleUpResult = 15,
        RoundEnd = 16,
        WaitForClick = 17,
        StoryMessage = 18,
        AbilityActivate = 19,
        AbilityTarget = 20,
    };

    // The moments at which the opponent may use an ability.
    enum OpponentEvent : int {
        EventTurnStart = 0,
        EventAfterPlayerDraw = 1,
        EventOpponentDraw = 2,
        EventPlayerPressedDraw = 3,
        EventPlayerLost = 5,
        EventShowdown = 6,
        EventPlayerAbility = 7,
    };

    // Pending opponent counter kinds.
    enum CounterKind : int { CounterNone = 0, CounterCostDrain = 1, CounterCooldownLock = 2, CounterOpponentWins = 4 };

    static constexpr int kMaxBet = 99999;
    static constexpr int kStartMedals = 1000;
    static constexpr int kGaugeMax = 999;

    SceneGame();
    ~SceneGame() override;
    SceneGame(const SceneGame&) = delete;
    SceneGame& operator=(const SceneGame&) = delete;

    // --- Scene ---------------------------------------------------------------------------------
    void Enter(int previousSceneId) override;
    void Leave() override;
    void Update(int* nextSceneId) override;

    // --- Flow ------------------------------------------------------------------------------------
    int matchState = MatchSetup;
    int previousState = MatchSetup;
    bool entered = true;          // first dispatched frame of the state
    bool skipDraw = false;        // this frame is not drawn
    int overlay = 0;              // 0 none, 1 the ability menu
    int previousOverlay = 0;
    bool overlayEntered = true;
    ScreenFade fade;              // result 1: scene 8, 2: scene 2, 100: music stopped, scene 9

    // --- Players and deck -------------------------------------------------------------------------
    Player human;
    Player opponent;
    Stock stock;
    int opponentIndex = 0;        // 0 Pemra, 1 Otsel, 2 Quenvar, 3 Iblen, 4 Rosweth

    // --- Money ------------------------------------------------------------------------------------
    int bet = 0;                  // stake of the current hand
    int payoutMultiplier = 0;     // of the last showdown
    int pendingMultiplier = 1;    // 1 or 2, committed on "appear"
    Gauge gauge;                  // ability points 0..999 (gauge.value)
    Number betNumber;

    // --- Turn -------------------------------------------------------------------------------------
    int turn = 0;                 // 1 for the first turn of a hand
    bool playerCalled = false;
    bool opponentCalled = false;
    bool opponentActed = false;   // the opponent used an ability since the last player draw
    bool helpShown = false;       // first-turn help started once in this scene
    bool systemButtonsEnabled = false;
    bool hudInteractive = true;
    bool opponentPanelOpen = true;

    // --- Result timers (frames) --------------------------------------------------------------------
    int showdownResult = 1;       // 0 player wins, 1 tie, 2 opponent wins
    int bannerCountdown = 0;
    int pauseCountdown = 0;
    int lastCountdown = 0;
    int doubleUpRevealCountdown = 0;
    int doubleUpBannerCountdown = 0;
    int doubleUpPayCountdown = 0;
    int roundEndWait = 0;
    int rouletteCounter = 0;
    int rouletteHold = 0;
    int doubleUpGuess = 0;        // 1 high, 0 low
    int doubleUpResult = 1;       // 0 win, 1 tie, 2 lose

    // --- Records ----------------------------------------------------------------------------------
    int doubleUpStreak = 0;       // double-ups won in a row in this match (a lost one resets it)
    bool recordsDirty = false;    // something was counted since records.dat was last written

    // --- Ability state ----------------------------------------------------------------------------
    int selectedAbility = -1;     // 0..7
    int targetSlot = 0;           // 0..4
    bool sealed = false;
    int sealTurns = 0;
    bool reflect = false;
    bool forcedAbility = false;   // CharmForce: the next PlayerChoice runs the ability at once
    bool deferredOpponentAnimation = false;
    int counterKind = CounterNone;
    std::array<bool, 8> guardMarks{};
    int pendingDeckPeek = 0;
    int pendingGaugeAdjust = 0;
    int lockAbility = 0;
    int lockTurns = 0;            // -1: one cooldown of the ability
    bool lockApply = false;
    bool lockDisplay = false;
    bool seeThroughRequest = false;
    bool voidHandRequest = false;
    int storedOpponentAbility = -1;
    int abilityTargetBlink = 0;
    int abilityCursor = -1;       // the ability the arrow keys point at in the menu, -1 none
    int lockRequestTurns = 0;     // the lock asked for; becomes lockTurns at the commit after the request
    int lockDisplayHold = 0;      // frames the window stays up after a lock landed
    bool commentShownBeforeMenu = false;
    // Since MatchSetup: how often the host's rule was asked at each event with the acted flag
    // clear, and how often each of its abilities answered (the bot's ability-rate figures).
    std::array<int, 8> reactAsked{};
    std::array<int, 4> reactUsed{};
    // Every random draw of the abilities goes through this when set (tests script the draws);
    // otherwise Random::Range.
    std::function<int(int, int)> rollHook;

    // --- Display ----------------------------------------------------------------------------------
    Image root;                   // invisible root of the draw tree
    Image table;
    Button titleButton;
    Button quitButton;
    Button drawButton;
    Button showdownButton;
    Button abilityButton;
    Image dialogPanel;
    Image showdownConfirmText;
    Image callNoticeText;
    Image doubleUpQuestionText;
    Button yesButton;
    Button noButton;
    Button okButton;
    Image winBanner;
    Image loseBanner;
    Image tieBanner;
    std::array<Image, 2> handPlates;       // 0 the player's, 1 the opponent's
    std::array<Image, 2> multiplierMarks;
    std::array<Image, 5> slotHighlights;
    Image doubleUpPanel;
    std::array<ImageCard, 2> doubleUpCards; // A face up, B face down
    Button highButton;
    Button lowButton;
    Image doubleUpGuide;
    Image doubleUpGuideHigh;
    Image doubleUpGuideLow;
    MessageWindow messageWindow;
    ImageFont selectCardPrompt;            // "カードを選択してください"
    Image commentPlate;
    ImageFont commentText;
    SpWindow spWindow;
    // Opponent panel: four ability icons with labels, a glow on the icon just used, the tab.
    Image opponentPanel;
    std::array<Image, 4> opponentIcons;
    std::array<ImageFont, 4> opponentIconLabels;
    Image opponentIconGlow;
    Image opponentPanelTab;

    SylkieAnimation standBg;               // "Stand_BG.bca", "BG_Stand_01"
    SylkieAnimation stand;                 // "Stand_<Name>.bca"
    SylkieAnimation helpPanel;             // "Tips.bca"
    SylkieAnimation playerEffectUnused;    // "Effect_Player.bca": loaded, stepped, never started
    SylkieAnimation playerEffect;          // "Effect_Player.bca": the player's abilities
    SylkieAnimation opponentEffect;        // "Effect_<Name>.bca": the opponent's abilities
    SylkieAnimation lockOverlay;           // "Effect_<Name>.bca": the lock over the ability window

    // --- Abilities (scene_game_abilities.cpp) -----------------------------------------------------
    // buildAbilityWidgets adds to root, in this order: the opponent panel (with its icons, labels
    // and glow), the panel tab, the comment plate and text, the prompt, the three effect players
    // on the table, the ability window and the lock overlay. Call it after the table, hands and
    // HUD are in the tree so that effects and the window draw over them.
    void buildAbilityWidgets();            // ability window, prompt, comment, opponent panel
    void resetAbilities();                 // MatchSetup: cooldowns, seal, reflect, marks, requests
    // Update step 2, every frame: commits when an effect player is at "appear" (and lands a lock
    // once its overlay has been shown).
    void commitEffects();
    bool effectsPlaying() const;           // the player- or opponent-ability player is playing
    int opponentReact(int event);          // the ability used (0..3) or -1
    // Overlay 1, each frame while overlay == 1. Computes the overlay's entered flag itself when
    // the caller has not (previousOverlay still differs) and consumes it.
    void runAbilityMenu();
    // PlayerChoice's Ability button (after "se_menu_open.wav"): overlay 1 from the next frame.
    void openAbilityMenu();
    void stateAbilityActivate();
    void stateAbilityTarget();
    // TurnStart, before opponentReact(EventTurnStart): each running cooldown loses a turn.
    void tickCooldowns();
    // TurnStart, last of its bookkeeping: a seal below one turn ends, else loses a turn (so a
    // seal of n turns set at this turn start covers exactly n turns).
    void countDownSeal();
    void updateAbilityWidgets();           // update step 6: seal dimming, opponent panel, lock display

private:
    // --- Frame (scene_game.cpp) -------------------------------------------------------------------
    void buildWidgets();
    bool stepFade(int* nextSceneId);       // true when the scene ends this frame
    bool busy() const;
    void handleSystemClicks();
    void runState();
    void updateWidgets();
    void drawFrame();

    // --- States 0..18 (scene_game.cpp) ------------------------------------------------------------
    void stateMatchSetup();
    void stateNextRound();
    void stateBetRoulette();
    void stateDeal();
    void stateTurnStart();
    void statePlayerChoice();
    void statePlayerDraw();
    void stateAfterPlayerDraw();
    void stateOpponentDraw();
    void stateShowdownConfirm();
    void stateOpponentCallNotice();
    void stateEvaluate();
    void stateShowdownResult();
    void stateDoubleUpDeal();
    void stateDoubleUpResult();
    void stateRoundEnd();
    void stateWaitForClick();
    void stateStoryMessage();

    // --- Display helpers (scene_game.cpp) --------------------------------------------------------
    enum DialogKind : int { DialogNone = 0, DialogShowdownConfirm = 1, DialogCallNotice = 2, DialogDoubleUp = 3 };
    void showActionButtons(bool on);
    void showDialog(int kind);             // the panel, one question text and its buttons
    void showPlates();                     // hand-name plates and multiplier marks of the showdown
    void hidePlates();
    void hideBanners();
    void showDoubleUp(bool on);            // panel, both cards, High/Low and the guides
    void startFadeOut(int code);
    bool leftClicked() const;              // a left click this frame that nothing took yet
    // Space or Enter this frame (advances messages, clicks through results) unless a system
    // question took the frame's input.
    bool advancePressed() const;
    void stopBetLoopWhenCounted();

    // --- Money and lines (scene_game.cpp) ---------------------------------------------------------
    int compareHands() const;              // 0 player wins, 1 tie, 2 opponent wins
    // Moves at most what the loser has; returns the medals moved.
    int transferMedals(bool toPlayer, int amount);
    void writeRecords();
    void playOpponentVoice(int event);
    Card drawFromDeck() { return stock.drawCard(); }

    // --- Ability helpers (scene_game_abilities.cpp) ----------------------------------------------
    int roll(int min, int max);
    // A value of min..max for which fits holds, drawn again until one does; -1 (nothing drawn)
    // when no value of the range fits, so the draw-again loop always ends.
    template <typename Fits>
    int rollUntil(int min, int max, Fits fits);
    int reactPemra(int event);
    int reactOtsel(int event);
    int reactQuenvar(int event);
    int reactIblen(int event);
    int reactRosweth(int event);
    void playOpponentAbility(int ability);
    void startLockOverlay(int lockedAbility);
    void closeAbilityMenu(bool withSound);
    void moveAbilityCursor(int step);      // arrow keys in the menu: the next or previous ability
    // The menu's answer to a choice of ability a (by click or Enter): the target state or nothing.
    void chooseAbility(int a);
    void applyPlayerAbility();
    void commitLock();

public:
    // --- Flow details (scene_game.cpp) ------------------------------------------------------------
    bool firstDispatch = true;             // the first dispatched frame counts as entered
    bool clickTaken = false;               // the system buttons or the tab used this frame's click
    bool fadingOut = false;                // a fade with a code has started; no further exits
    Player::CardProducer playerProducer;   // draws the front card of the deck
    Player::CardProducer opponentProducer;
};

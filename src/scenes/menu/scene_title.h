#pragma once
#include <array>

class MouseController;

#include "app/scene.h"
#include "animation/sylkie_animation.h"
#include "scenes/menu/options_overlay.h"
#include "widgets/screen_fade.h"
#include "widgets/image.h"
#include "widgets/message_window.h"

// The title: the opening logo (once per run), the title menu, the credits, the host pick and the
// four-line introduction. Owns fifteen animation players, the introduction's message window and
// the screen fade. Leaves for 4 (start), 3 (quick match), 7 (gallery), or ends the program.
// Global: writes "isCgMode" (0), "skipLogo" (1 once the logo ran) and "enemy" (the picked host);
// reads "skipLogo" and "SeVolume".
class SceneTitle : public Scene {
public:
    // The fade's result codes: what happens once the screen is black (or, for credits, at once).
    enum FadeResult : int {
        kFadeStartMatch = 0,
        kFadeGallery = 1,
        kFadeEnd = 2,
        kFadeCredits = 3,
        kFadeQuickMatch = 4,
        kFadeBackToMenu = 10,
    };
    enum TitleState : int {
        kShowMenu = 0,
        kLogo = 1,
        kMenu = 2,
        kCredits = 3,
        kIntroduction = 4,
        kLeaving = 5,
        kWaiting = 6,
    };

    static constexpr int kLogoFrames = 375;
    static constexpr int kInputCooldown = 120;
    static constexpr int kJingleFadeFrames = 29;
    static constexpr int kFadeFrames = 30;
    static constexpr int kPickWait = 60;  // frames of host entrances before the pick takes input
    static constexpr int kNoSlot = -1;

    SceneTitle() = default;

    // --- Enter / Leave ---
    void Enter(int previousSceneId) override;
    void Leave() override;
    void Update(int* nextSceneId) override;

    // --- Inspection (tests) ---
    TitleState currentState() const { return state; }
    int pickedSlot() const { return pickedSlot_; }
    int lineIndex() const { return line; }
    bool inputOn() const { return input; }
    const MessageWindow& messageWindow() const { return window; }
    const OptionsOverlay& optionsOverlay() const { return options; }
    int menuHover() const { return hover; }
    int hoveredSlot() const { return hoveredSlot_; }
    bool recordsPlateShown() const { return plateShown_; }

private:
    // --- Frame ---
    bool stepFade(int* nextSceneId);
    void sampleInput();
    void stepJingleFade();
    void runState();
    void drawFrame();

    // --- States ---
    void stateShowMenu();
    void stateLogo();
    void stateMenu();
    void stateCredits();
    void stateIntroduction();
    void statePick();
    void stateWaiting();

    // --- Helpers ---
    void configureWindow();
    void startMenuItem(int hoverValue);
    void startPick();
    void hoverSlot(int slot);
    void pickSlot(int slot);
    void advanceLine();
    void startCredits();
    void stopMenuAnimations();
    void fadeOut(int result);
    void backToMenu();
    void startJingleFade();
    static int slotAt(int x, int y);
    int menuItemByKeys(const MouseController& m) const;
    void askQuit();
    void configureExtras();
    void showHover();
    // Shows the options item dim or lit (picture, or the plain plate without one).
    void dressOptionsItem(bool lit);
    void refreshPlate();

    // --- Display ---
    Image root;
    SylkieAnimation logo;      // "menu_circle.bca"
    SylkieAnimation credit;    // "menu_credit.bca"
    SylkieAnimation bg;        // "menu_bg.bca"
    SylkieAnimation title2;    // "menu_title_02.bca": its alpha fades out after "start"
    SylkieAnimation effect;    // "menu_eff.bca"
    SylkieAnimation title1;    // "menu_title_01.bca"
    SylkieAnimation button;    // "menu_button.bca"
    SylkieAnimation select0;   // "menu_select_00.bca": the pick's veil and caption
    std::array<SylkieAnimation, 5> slots;  // "menu_select_01.bca" .. "_05.bca"
    SylkieAnimation select7;   // "menu_select_07.bca": lantern lights behind the pick
    SylkieAnimation select6;   // "menu_select_06.bca": the moon over the pick
    MessageWindow window;
    ScreenFade fade;
    OptionsOverlay options;
    Image optionsButton;       // the options item: its button picture (or a plain gold plate)
    ImageFont optionsLabel;
    Image plateFrame;          // the records plate of the hovered host
    Image plate;
    ImageFont plateText;
    bool itemPictured_ = false;   // the options item's pictures were found
    bool platePictured_ = false;  // the records plate's picture was found

    // --- Flow ---
    TitleState state = kShowMenu;
    TitleState afterWait = kIntroduction;
    int wait = 0;              // frames left in kWaiting
    int cooldown = 0;          // frames of input still off
    int logoCountdown = kLogoFrames;
    bool input = false;        // input on this frame
    bool jingleFading = false;
    int jingleCounter = kJingleFadeFrames;

    // --- Menu ---
    int hover = -1;            // menu::title::Hover under the pointer
    int shownHover = -1;       // whose button composition plays
    bool keyboardHover = false;  // the arrows chose the item: the pointer counts again once it moves
    bool plateShown_ = false;

    // --- Host pick and introduction ---
    int hoveredSlot_ = kNoSlot;  // slot index 0..4 highlighted
    int pickedSlot_ = kNoSlot;   // slot index 0..4 chosen
    int line = 0;                // introduction line shown
    bool newLine = true;
    bool windowHidden = false;
};

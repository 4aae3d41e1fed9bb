#include "scenes/menu/scene_title.h"

#include <algorithm>
#include <string>

#include "app/mouse_controller.h"
#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "platform/debug.h"
#include "platform/platform.h"
#include "core/records.h"
#include "platform/text_encoding.h"
#include "scenes/menu/options_layout.h"
#include "scenes/menu/title_layout.h"
#include "scenes/menu/title_texts.h"
#include "sound/dx_sound.h"

namespace {

using namespace menu::title;

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kClear = 0x00000000;
constexpr int kTitleFadeFrames = 10;        // the second title image fades as the pick comes in
constexpr int64_t kMenuBgmLoopTrigger = 7400000;  // sample frame where "bgm_menu.ogg" jumps back to 0
constexpr const char* kJingle = "menu_title.wav";

// The menu items as the arrows walk them: two columns of three.
constexpr int kMenuGrid[2][3] = {{kHoverGallery, kHoverCredits, kHoverOptions}, {kHoverStart, kHoverEnd, kHoverQuick}};

using platform::KeyCode;

// A plain rectangle of one colour (an untextured sprite).
void Plate(Image& image, const Area& a, uint32_t rgb, float alpha) {
    image.textureName.clear();
    image.visible = true;
    image.useSourceRect = true;
    image.sourceRect = {0, 0, a.right - a.left, a.bottom - a.top};
    image.position = {static_cast<float>(a.left), static_cast<float>(a.top), 0.0f};
    image.red = static_cast<float>((rgb >> 16) & 0xFF) / 255.0f;
    image.green = static_cast<float>((rgb >> 8) & 0xFF) / 255.0f;
    image.blue = static_cast<float>(rgb & 0xFF) / 255.0f;
    image.alpha = alpha;
}

// "menu_select_0" + slot digit + "_" + suffix, slot index 0..4.
std::string SlotComposition(int slot, const char* suffix) {
    return "menu_select_0" + std::to_string(slot + 1) + "_" + suffix;
}

}  // namespace

// --- Enter / Leave ---

void SceneTitle::Enter(int) {
    struct File {
        SylkieAnimation* anim;
        const char* name;
    };
    const File files[] = {
        {&logo, "menu_circle.bca"},       {&credit, nullptr},               {&bg, "menu_bg.bca"},
        {&title2, "menu_title_02.bca"},   {&effect, "menu_eff.bca"},        {&title1, "menu_title_01.bca"},
        {&button, "menu_button.bca"},     {&select0, "menu_select_00.bca"}, {&slots[0], "menu_select_01.bca"},
        {&slots[1], "menu_select_02.bca"}, {&slots[2], "menu_select_03.bca"}, {&slots[3], "menu_select_04.bca"},
        {&slots[4], "menu_select_05.bca"}, {&select7, "menu_select_07.bca"}, {&select6, "menu_select_06.bca"},
    };
    // The credits' file (the largest pictures of the title) is read when the credits begin, so
    // that neither start-up nor every return to the title pays for a roll most visits never see.
    for (const File& f : files) {
        if (f.name != nullptr) f.anim->Load(f.name);
        root.addChild(f.anim);
    }
    root.addChild(&window);
    Global& g = Global::Instance();
    g.Set(0, "isCgMode");

    configureWindow();
    configureExtras();
    line = 0;
    newLine = true;
    windowHidden = false;
    hover = shownHover = kHoverUnset;
    logoCountdown = kLogoFrames;
    jingleFading = false;
    jingleCounter = kJingleFadeFrames;

    if (g.Get("skipLogo") == 1) {
        fade.SetColour(kBlack);
        cooldown = kInputCooldown;
        state = kShowMenu;
    } else {
        logo.Play("menu_circle");
        fade.SetColour(kClear);
        state = kLogo;
    }
}

void SceneTitle::Leave() {
    DxSound& sound = DxSound::Instance();
    if (sound.BgmState() == 2) {
        sound.StopBgm();
    }
}

// --- Frame ---

void SceneTitle::Update(int* nextSceneId) {
    if (stepFade(nextSceneId)) {
        return;  // leaving, or the credits begin: this frame is not drawn
    }
    sampleInput();
    stepJingleFade();
    if (!fade.active) {
        runState();
    }
    drawFrame();
}

// Acts on the result of a fade that has just ended; true when the update ends here.
bool SceneTitle::stepFade(int* nextSceneId) {
    switch (fade.Step()) {
        case kFadeStartMatch:
            *nextSceneId = kSceneGame;
            return true;
        case kFadeGallery:
            *nextSceneId = kSceneCgMode;
            return true;
        case kFadeQuickMatch:
            *nextSceneId = kSceneChrSelect;
            return true;
        case kFadeEnd:
            HideWindowAndQuit();
            return true;
        case kFadeCredits:
            startCredits();
            return true;
        case kFadeBackToMenu:
            cooldown = kInputCooldown;
            state = kShowMenu;
            return false;
        default:
            return false;
    }
}

void SceneTitle::sampleInput() {
    if (cooldown > 0) {
        --cooldown;
        input = false;
    } else {
        input = !fade.active;
    }
    MouseController::Instance().Update(input);
}

// Fades the jingle out over 29 frames, then stops it.
void SceneTitle::stepJingleFade() {
    if (!jingleFading) {
        return;
    }
    DxSound& sound = DxSound::Instance();
    if (jingleCounter == 0) {
        sound.StopSe(kJingle);
        jingleFading = false;
        return;
    }
    --jingleCounter;
    sound.SetTitleJingleGain(static_cast<float>(jingleCounter) / static_cast<float>(kJingleFadeFrames));
}

void SceneTitle::runState() {
    switch (state) {
        case kShowMenu: stateShowMenu(); break;
        case kLogo: stateLogo(); break;
        case kMenu:
            if (input && options.IsOpen()) {
                options.Update(MouseController::Instance());
            } else if (input) {
                stateMenu();
            }
            break;
        case kCredits: if (input) stateCredits(); break;
        case kIntroduction: if (input) stateIntroduction(); break;
        case kWaiting: stateWaiting(); break;
        case kLeaving: break;  // the fade to the match runs
    }
}

void SceneTitle::drawFrame() {
    title2.updateTweens();
    window.shown = pickedSlot_ != kNoSlot && !windowHidden && (state == kIntroduction || state == kLeaving);
    DxGraphic& gfx = DxGraphic::Instance();
    gfx.BeginFrame();
    drawTree(&root, 0.0f, 0.0f, 0.0f);
    if (state == kMenu && button.playing) {
        optionsButton.draw(0.0f, 0.0f, 0.0f);
        optionsLabel.draw(0.0f, 0.0f, 0.0f);
    }
    if (plateShown_) {
        plateFrame.draw(0.0f, 0.0f, 0.0f);
        plate.draw(0.0f, 0.0f, 0.0f);
        plateText.draw(0.0f, 0.0f, 0.0f);
    }
    options.Draw();
    fade.Draw();
    gfx.EndFrame();
}

// --- States ---

// ShowMenu: the harbour, the title and the buttons come in with the jingle. Next: Menu.
void SceneTitle::stateShowMenu() {
    DxSound& sound = DxSound::Instance();
    if (sound.BgmState() == 2) {
        sound.StopBgm();
    }
    bg.Play("menu_bg_01");
    effect.Play("menu_eff");
    title1.Play("menu_title_01");
    title2.Play("menu_title_02");
    button.Play("menu_button_00");
    title2.clearTweens();
    title2.alpha = 1.0f;
    stopMenuAnimations();
    credit.playing = false;
    fade.result = -1;
    fade.Start(kBlack, kClear, kFadeFrames);
    sound.PlaySe(kJingle, true);
    sound.SetTitleJingleGain(1.0f);
    sound.SetSeVolume(Global::Instance().Get("SeVolume"));

    // Everything the host pick and the introduction showed starts over.
    hover = shownHover = kHoverUnset;
    hoveredSlot_ = pickedSlot_ = kNoSlot;
    plateShown_ = false;
    keyboardHover = false;
    dressOptionsItem(false);
    line = 0;
    newLine = true;
    windowHidden = false;
    window.setText(nullptr);
    state = kMenu;
}

// Logo: 375 frames that cannot be skipped, then the fade to the menu.
void SceneTitle::stateLogo() {
    Global::Instance().Set(1, "skipLogo");
    --logoCountdown;
    if (logoCountdown < 1) {
        fadeOut(kFadeBackToMenu);
    }
}

// Menu: hover lights an item's button; a click starts it. The arrows walk the items with the
// same light and Enter starts the lit one; Escape asks whether to end.
void SceneTitle::stateMenu() {
    const MouseController& m = MouseController::Instance();
    if (m.KeyPressed(KeyCode::Escape)) {
        askQuit();
        return;
    }
    const int keyed = menuItemByKeys(m);
    if (keyed != kHoverNone) {
        hover = keyed;
        keyboardHover = true;
    } else if (keyboardHover && (m.x != m.previousX || m.y != m.previousY || m.Clicked())) {
        keyboardHover = false;
    }
    if (!keyboardHover) {
        int under = kHoverNone;
        for (const MenuItem& item : kMenuItems) {
            if (item.area.contains(m.x, m.y)) {
                under = item.hover;
                break;
            }
        }
        if (under == kHoverNone && menu::options::kMenuItem.contains(m.x, m.y)) {
            under = kHoverOptions;
        }
        if (under != kHoverNone) {
            hover = under;
            if (m.Clicked()) {
                startMenuItem(under);
            }
        } else if (hover != kHoverUnset) {
            hover = kHoverNone;
        }
    }
    if (m.KeyPressed(KeyCode::Return) && hover != kHoverUnset && hover != kHoverNone) {
        startMenuItem(hover);
    }
    showHover();
}

// Plays the lit item's button composition and lights the options plate.
void SceneTitle::showHover() {
    if (hover == shownHover) {
        return;
    }
    const int composition = hover == kHoverOptions ? kHoverNone : hover;
    button.Play("menu_button_0" + std::to_string(composition + 1));
    shownHover = hover;
    dressOptionsItem(hover == kHoverOptions);
}

// The item the arrows lead to from the lit one (the first arrow lights "start"); kHoverNone
// without an arrow.
int SceneTitle::menuItemByKeys(const MouseController& m) const {
    const bool up = m.KeyPressed(KeyCode::Up), down = m.KeyPressed(KeyCode::Down);
    const bool sideways = m.KeyPressed(KeyCode::Left) || m.KeyPressed(KeyCode::Right);
    if (!up && !down && !sideways) {
        return kHoverNone;
    }
    for (int col = 0; col < 2; ++col) {
        for (int row = 0; row < 3; ++row) {
            if (kMenuGrid[col][row] != hover) {
                continue;
            }
            if (sideways) {
                return kMenuGrid[1 - col][row];
            }
            return kMenuGrid[col][(row + (down ? 1 : 2)) % 3];
        }
    }
    return kHoverStart;
}

void SceneTitle::askQuit() {
    const bool yes = platform::Get().ShowMessageBox(platform::SjisToUtf8(SJ("終了しますか")),
                                                    platform::SjisToUtf8(SJ("終了確認")),
                                                    platform::MessageBoxButtons::OkCancel,
                                                    platform::MessageBoxIcon::Question,
                                                    true) == platform::MessageBoxAnswer::Ok;
    if (yes) {
        startMenuItem(kHoverEnd);
    }
}

// Credits: a click, or the end of the roll, goes back to the menu.
void SceneTitle::stateCredits() {
    if (MouseController::Instance().Clicked()) {
        DxSound::Instance().PlaySe("se_decide.wav");
        fadeOut(kFadeBackToMenu);
    } else if (!credit.playing) {
        fadeOut(kFadeBackToMenu);
    }
}

// Introduction: first a host is picked on its panel, then the four lines are read. Right click
// goes back to the menu; left Ctrl runs through the lines (not the pick).
void SceneTitle::stateIntroduction() {
    const MouseController& m = MouseController::Instance();
    if (pickedSlot_ == kNoSlot) {
        statePick();
        return;
    }
    if (newLine) {
        newLine = false;
        window.setText(menu::IntroductionLine(line).c_str());
    }
    // Held left Ctrl shows each line whole, so the advance below moves on a line every frame.
    const bool skipping = m.KeyHeld(platform::KeyCode::LeftControl);
    window.instant = skipping;
    window.step();
    if (skipping) {
        advanceLine();
    }
    if (m.RightClicked() || m.KeyPressed(KeyCode::Escape)) {
        backToMenu();
    } else if (m.Clicked() || m.KeyPressed(KeyCode::Return) || m.KeyPressed(KeyCode::Space)) {
        if (windowHidden) {
            windowHidden = false;
        } else {
            advanceLine();
        }
    }
}

// The pick: the panel under the pointer (or the one Left/Right moved to) is lit, with its host's
// records on a plate below; a click or Enter chooses that host.
void SceneTitle::statePick() {
    const MouseController& m = MouseController::Instance();
    if (m.RightClicked() || m.KeyPressed(KeyCode::Escape)) {
        backToMenu();
        return;
    }
    const bool left = m.KeyPressed(KeyCode::Left), right = m.KeyPressed(KeyCode::Right);
    if (left || right) {
        const int from = hoveredSlot_ == kNoSlot ? (right ? kSlotCount - 1 : 0) : hoveredSlot_;
        hoverSlot((from + (right ? 1 : kSlotCount - 1)) % kSlotCount);
        keyboardHover = true;
    } else if (keyboardHover && (m.x != m.previousX || m.y != m.previousY || m.Clicked())) {
        keyboardHover = false;
    }
    if (!keyboardHover) {
        const int slot = slotAt(m.x, m.y);
        hoverSlot(slot);
        if (slot != kNoSlot && m.Clicked()) {
            pickSlot(slot);
            return;
        }
    }
    if (hoveredSlot_ != kNoSlot && m.KeyPressed(KeyCode::Return)) {
        pickSlot(hoveredSlot_);
        return;
    }
    plateShown_ = hoveredSlot_ != kNoSlot;
}

void SceneTitle::stateWaiting() {
    if (wait > 0) {
        --wait;
    }
    if (wait == 0) {
        state = afterWait;
    }
}

// --- Helpers ---

void SceneTitle::configureWindow() {
    window.decoration.loadTexture(kWindowSheet, true);
    window.decoration.useSourceRect = true;
    window.decoration.sourceRect = {kWindowFrame.left, kWindowFrame.top, kWindowFrame.right, kWindowFrame.bottom};
    window.decorationX = kWindowX;
    window.decorationY = kWindowY;
    window.textX = kWindowX + kCanvasX;
    window.textY = kWindowY + kCanvasY;
    window.surface.CreateCanvas(kWindowCanvas, kCanvasWidth, kCanvasHeight);
    window.fontSize = kFontSize;
    window.wrapWidth = kCanvasWidth;
    window.framesPerStep = kFramesPerChar;
    window.instant = false;
    window.shown = false;
    window.setText(nullptr);
}

// The options item, its overlay and the records plate of the host pick.
void SceneTitle::configureExtras() {
    using namespace menu::options;
    options.Load();
    // Missing pictures leave the item and the plate as plain plates, with one warning each.
    DxGraphic& gfx = DxGraphic::Instance();
    int w = 0, h = 0, wLit = 0, hLit = 0, wPlate = 0, hPlate = 0;
    gfx.GetTexture(kItemPicture, w, h);
    gfx.GetTexture(kItemLitPicture, wLit, hLit);
    gfx.GetTexture(kPlatePicture, wPlate, hPlate);
    itemPictured_ = w > 0 && wLit > 0;
    platePictured_ = wPlate > 0;
    if (!itemPictured_) {
        platform::OutputDebug("Warning: the options item's pictures are missing; drawn plain");
    }
    if (!platePictured_) {
        platform::OutputDebug("Warning: records_plate.png is missing; the plate is drawn plain");
    }
    optionsLabel.CreateCanvas("title_options_label", kMenuItem.right - kMenuItem.left, 40);
    optionsLabel.position = {static_cast<float>(kMenuItem.left + 110), static_cast<float>(kMenuItem.top + 8), 0.0f};
    optionsLabel.DrawText(SJ("オプション"), 0, 0, 24, kNightBlue, true);
    dressOptionsItem(false);
    plateText.CreateCanvas("title_records_plate", kPlateWidth - 2 * kPlateInsetX, kPlateHeight - 8);
    plateShown_ = false;
}

void SceneTitle::startMenuItem(int hoverValue) {
    DxSound& sound = DxSound::Instance();
    switch (hoverValue) {
        case kHoverStart:
            startPick();
            break;
        case kHoverEnd:
            sound.PlaySe("se_cancel.wav");
            fadeOut(kFadeEnd);
            startJingleFade();
            break;
        case kHoverGallery:
            sound.PlaySe("se_decide.wav");
            fadeOut(kFadeGallery);
            break;
        case kHoverCredits:
            sound.PlaySe("se_decide.wav");
            fadeOut(kFadeCredits);
            break;
        case kHoverQuick:
            sound.PlaySe("se_decide.wav");
            fadeOut(kFadeQuickMatch);
            break;
        case kHoverOptions:
            options.Open();
            break;
        default:
            break;
    }
}

// "Start": the salon and the five host panels come in, the menu music begins, and after 60
// frames the pick takes input.
void SceneTitle::startPick() {
    DxSound& sound = DxSound::Instance();
    sound.PlaySe("se_decide.wav");
    bg.Play("menu_bg_02");
    select0.Play("menu_select_00");
    select6.Play("menu_select_06_00");
    select7.Play("menu_select_07");
    for (int i = 0; i < kSlotCount; ++i) {
        slots[static_cast<size_t>(i)].Play(SlotComposition(i, "01"));
    }
    title2.tween(0.0f, 15, 1, kTitleFadeFrames, 0);
    startJingleFade();
    sound.OpenBgm("bgm_menu.ogg");
    sound.SetBgmLoopPoint(0, kMenuBgmLoopTrigger, 0);
    sound.PlayBgm();
    wait = kPickWait;
    afterWait = kIntroduction;
    state = kWaiting;
}

// Lights the panel under the pointer ("_02") and lets the one it left settle back ("_04").
void SceneTitle::hoverSlot(int slot) {
    if (slot == hoveredSlot_) {
        return;
    }
    if (hoveredSlot_ != kNoSlot) {
        slots[static_cast<size_t>(hoveredSlot_)].Play(SlotComposition(hoveredSlot_, "04"));
    }
    if (slot != kNoSlot) {
        slots[static_cast<size_t>(slot)].Play(SlotComposition(slot, "02"));
    }
    hoveredSlot_ = slot;
    refreshPlate();
}

// The plate under the lit panel: the host's name and her or his records.
void SceneTitle::refreshPlate() {
    using namespace menu::options;
    if (hoveredSlot_ == kNoSlot) {
        plateShown_ = false;
        return;
    }
    const int host = kSlotOpponent[static_cast<size_t>(hoveredSlot_)];
    const int centre = kSlotCentreX0 + hoveredSlot_ * kSlotStep;
    const int left = std::clamp(centre - kPlateWidth / 2, 8, 1272 - kPlateWidth);
    const Area outer = {left - 2, kPlateTop - 2, left + kPlateWidth + 2, kPlateTop + kPlateHeight + 2};
    const Area inner = {left, kPlateTop, left + kPlateWidth, kPlateTop + kPlateHeight};
    if (platePictured_) {
        plateFrame.visible = false;
        plate.loadTexture(kPlatePicture, true);
        plate.useSourceRect = false;
        plate.red = plate.green = plate.blue = plate.alpha = 1.0f;
        plate.position = {static_cast<float>(outer.left), static_cast<float>(outer.top), 0.0f};
    } else {
        Plate(plateFrame, outer, kLanternGold, 1.0f);
        Plate(plate, inner, kNightBlue, 0.92f);
    }
    plateText.position = {static_cast<float>(left + kPlateInsetX), static_cast<float>(kPlateTop + 6), 0.0f};
    const HostRecord& r = Records::Instance().Get(host);
    plateText.DrawText(menu::HostName(host), 0, 0, kPlateNameSize, kLanternGold, true);
    const std::string lines[] = {RecordFirstLine(r), RecordBestLine(r), RecordPayoutLine(r)};
    for (int i = 0; i < 3; ++i) {
        plateText.DrawText(platform::Utf8ToSjis(lines[i]), 0, kPlateFirstLineY + i * kPlateLineStep, kPlateFontSize,
                           kMoonWhite, false);
    }
}

void SceneTitle::dressOptionsItem(bool lit) {
    using namespace menu::options;
    if (!itemPictured_) {
        Plate(optionsButton, kMenuItem, kLanternGold, lit ? 1.0f : 0.7f);
        optionsLabel.alpha = lit ? 1.0f : 0.8f;
        return;
    }
    // Like the title's own buttons: the picture at 97 %, centred on the item.
    optionsButton.loadTexture(lit ? kItemLitPicture : kItemPicture, true);
    optionsButton.useSourceRect = false;
    optionsButton.red = optionsButton.green = optionsButton.blue = optionsButton.alpha = 1.0f;
    optionsButton.scaleEnabled = true;
    optionsButton.scale = {kItemScale, kItemScale, 1.0f};
    optionsButton.scalePivot = {0.5f, 0.5f, 0.0f};
    const int x = (kMenuItem.left + kMenuItem.right - optionsButton.textureWidth) / 2;
    const int y = (kMenuItem.top + kMenuItem.bottom - optionsButton.textureHeight) / 2;
    optionsButton.position = {static_cast<float>(x), static_cast<float>(y), 0.0f};
    optionsLabel.alpha = 0.0f;  // the picture carries its own lettering
}

void SceneTitle::pickSlot(int slot) {
    plateShown_ = false;
    DxSound::Instance().PlaySe("se_decide.wav");
    slots[static_cast<size_t>(slot)].Play(SlotComposition(slot, "03"));  // plays its own sparkle
    pickedSlot_ = slot;
    newLine = true;
}

// Completes a line still being typed, else moves on; after the last line the match begins.
void SceneTitle::advanceLine() {
    if (!window.finished()) {
        window.finish();
        return;
    }
    ++line;
    if (line < menu::kIntroductionLineCount) {
        newLine = true;
        return;
    }
    const int slot = pickedSlot_ >= 0 && pickedSlot_ < kSlotCount ? pickedSlot_ : 0;
    Global::Instance().Set(kSlotOpponent[static_cast<size_t>(slot)], "enemy");
    fadeOut(kFadeStartMatch);
    state = kLeaving;
    windowHidden = false;
}

// The screen is black: the dawn harbour and the credit roll fade in with their music.
void SceneTitle::startCredits() {
    DxSound& sound = DxSound::Instance();
    sound.OpenBgm("bgm_credit.ogg");
    sound.PlayBgm();
    if (credit.CompositionCount() == 0) credit.Load("menu_credit.bca");
    credit.Play("menu_credit");
    bg.playing = false;
    effect.playing = false;
    title1.playing = false;
    title2.playing = false;
    button.playing = false;
    stopMenuAnimations();
    fade.result = -1;
    fade.Start(kBlack, kClear, kFadeFrames);
    state = kCredits;
}

// Hides the host pick.
void SceneTitle::stopMenuAnimations() {
    select0.playing = false;
    select6.playing = false;
    select7.playing = false;
    for (SylkieAnimation& s : slots) {
        s.playing = false;
    }
}

void SceneTitle::fadeOut(int result) {
    fade.result = result;
    fade.Start(kClear, kBlack, kFadeFrames);
}

void SceneTitle::backToMenu() {
    plateShown_ = false;
    keyboardHover = false;
    windowHidden = !windowHidden;
    fadeOut(kFadeBackToMenu);
    DxSound::Instance().PlaySe("se_cancel.wav");
}

void SceneTitle::startJingleFade() {
    jingleFading = true;
    jingleCounter = kJingleFadeFrames;
}

// Neighbouring panels overlap by 10 pixels; the one drawn on top (the higher slot) wins.
int SceneTitle::slotAt(int x, int y) {
    for (int i = kSlotCount - 1; i >= 0; --i) {
        if (SlotArea(i).contains(x, y)) {
            return i;
        }
    }
    return kNoSlot;
}

// The abilities of both sides of the match: the ability menu, the target choice, the player's
// eight abilities, the opponents' decisions, the commit on "appear" and the opponent panel.
#include <algorithm>
#include <cstdint>
#include <string>

#include "app/mouse_controller.h"
#include "cards/player_abilities.h"
#include "core/random.h"
#include "platform/text_encoding.h"
#include "scenes/match/ability_layout.h"
#include "scenes/match/opponent_abilities.h"
#include "scenes/match/opponent_lines.h"
#include "scenes/match/scene_game.h"
#include "scenes/match/sheet_layout.h"
#include "sound/dx_sound.h"

namespace {

namespace layout = match::layout;
namespace sheet = match::sheet;

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int kAlphaProperty = 15;
constexpr int kLinear = 1;
constexpr int kAdditive = 2;
constexpr int kGaugeCountFrames = 60;
constexpr int kDeckPeekCards = 5;
constexpr int kReflectDummyTurns = 3;  // a reflected JokerSwap
constexpr int kDummyCardTurns = 2;
constexpr int kDummyCurseTurns = 3;
constexpr int kDeepFreezeTurns = 3;
constexpr int kHandResetMinDeck = 5;   // the deck must hold more than 4 cards
constexpr int kFiveAcesMaxDeck = 4;    // fewer than 5 cards left
constexpr int kAbilityLockTurns = 3;

const char* const kSeAbility = "se_ability.wav";
const char* const kSeCancel = "se_cancel.wav";
const char* const kSeDecide = "se_decide.wav";
const char* const kSeMenuClose = "se_menu_close.wav";

void PlaySe(const char* name) { DxSound::Instance().PlaySe(name, false, 0); }

const match::PlayerAbility& PlayerAbility(int ability) {
    return match::kPlayerAbilities[static_cast<size_t>(std::clamp(ability, 0, match::kPlayerAbilityCount - 1))];
}

bool IsSpecial(const HandSlot& s) { return isJoker(s.card) || s.dummy; }

using platform::KeyCode;

// The screen point in the middle of an ability's name label: where a click chooses it.
void AbilityLabelPoint(const SpWindow& w, int ability, int& x, int& y) {
    const ImageFont& label = w.nameLabels[static_cast<size_t>(ability)];
    const int width = label.useSourceRect ? label.sourceRect.right - label.sourceRect.left : label.textureWidth;
    const int height = label.useSourceRect ? label.sourceRect.bottom - label.sourceRect.top : label.textureHeight;
    x = SpWindow::kPanelX + static_cast<int>(label.position.x) + width / 2;
    y = SpWindow::kPanelY + static_cast<int>(label.position.y) + height / 2;
}

void SetSheetRect(Image& image, const char* sheetName, const sheet::Rect& r, bool visible) {
    image.loadTexture(sheetName, visible);
    image.useSourceRect = true;
    image.sourceRect = Image::Rect{r.left, r.top, r.right, r.bottom};
}

void Place(DrawBase& d, int x, int y) { d.position = DrawBase::Vec3{static_cast<float>(x), static_cast<float>(y), 0.0f}; }

// Full opacity now, fading out after the comment's hold time.
void ShowThenFade(Image& image) {
    image.clearTweens();
    image.visible = true;
    image.alpha = 1.0f;
    image.tween(0.0f, kAlphaProperty, kLinear, layout::kCommentFadeFrames, layout::kCommentHoldFrames);
}

}  // namespace

// --- Set-up ----------------------------------------------------------------------------------------

void SceneGame::buildAbilityWidgets() {
    const int o = std::clamp(opponentIndex, 0, match::kOpponentCount - 1);

    selectCardPrompt.CreateCanvas("font_select_card", layout::kSelectPromptWidth, layout::kSelectPromptHeight);
    selectCardPrompt.DrawText(SJ("カードを選択してください"), 0, 0, layout::kSelectPromptSize, kWhite, true);
    Place(selectCardPrompt, layout::kSelectPrompt.x, layout::kSelectPrompt.y);
    selectCardPrompt.visible = false;

    SetSheetRect(commentPlate, sheet::kExtraSheet, sheet::kCommentPlate, false);
    Place(commentPlate, layout::kCommentPlate.x, layout::kCommentPlate.y);
    commentText.CreateCanvas("font_enemy_ability_comment", layout::kCommentWidth, layout::kCommentHeight);
    Place(commentText, layout::kCommentText.x, layout::kCommentText.y);
    commentText.visible = false;

    // The panel: icons and labels hang below it, the glow over the icon last used.
    SetSheetRect(opponentPanel, sheet::kIconSheet, sheet::kOpponentPanel, true);
    Place(opponentPanel, layout::kOpponentPanel.x, layout::kOpponentPanel.y);
    opponentPanel.children.clear();
    for (int k = 0; k < match::kOpponentAbilityCount; ++k) {
        const size_t i = static_cast<size_t>(k);
        const int rowY = sheet::kOpponentPanelRow * k;
        SetSheetRect(opponentIcons[i], sheet::kIconSheet, sheet::OpponentIcon(o, k), true);
        Place(opponentIcons[i], sheet::kOpponentPanelIconX, sheet::kOpponentPanelIconY + rowY);
        const std::string canvas = "font_opponent_ability_0" + std::to_string(k);
        opponentIconLabels[i].CreateCanvas(canvas, layout::kPanelLabelWidth, layout::kPanelLabelHeight);
        opponentIconLabels[i].DrawText(match::OpponentAbilityLabel(o, k), 0, 0, layout::kPanelLabelSize, kWhite, true);
        Place(opponentIconLabels[i], layout::kPanelLabelX, layout::kPanelLabelY + rowY);
        opponentPanel.addChild(&opponentIcons[i]);
        opponentPanel.addChild(&opponentIconLabels[i]);
    }
    SetSheetRect(opponentIconGlow, sheet::kIconSheet, sheet::kOpponentIconGlow, false);
    opponentIconGlow.blendMode = kAdditive;
    opponentIconGlow.alpha = 0.0f;  // lit by the first ability
    opponentPanel.addChild(&opponentIconGlow);
    SetSheetRect(opponentPanelTab, sheet::kExtraSheet, sheet::kPanelTabOpen, true);
    Place(opponentPanelTab, layout::kPanelTab.x, layout::kPanelTab.y);

    spWindow.open = false;
    spWindow.resetSelection();

    // The effect players were loaded by Enter (step 3) just before.
    for (DrawBase* d : std::initializer_list<DrawBase*>{&opponentPanel, &opponentPanelTab, &commentPlate, &commentText,
                                                         &selectCardPrompt, &playerEffectUnused, &playerEffect,
                                                         &opponentEffect, &spWindow, &lockOverlay}) {
        root.addChild(d);
    }
}

void SceneGame::resetAbilities() {
    spWindow.resetCooldowns();
    spWindow.resetSelection();
    spWindow.marks = {};
    guardMarks = {};
    selectedAbility = -1;
    targetSlot = 0;
    sealed = false;
    sealTurns = 0;
    reflect = false;
    forcedAbility = false;
    deferredOpponentAnimation = false;
    counterKind = CounterNone;
    pendingMultiplier = 1;
    pendingDeckPeek = 0;
    pendingGaugeAdjust = 0;
    lockAbility = 0;
    lockTurns = 0;
    lockRequestTurns = 0;
    lockApply = false;
    lockDisplay = false;
    lockDisplayHold = 0;
    seeThroughRequest = false;
    voidHandRequest = false;
    storedOpponentAbility = -1;
}

// --- Commit ----------------------------------------------------------------------------------------

void SceneGame::commitEffects() {
    const bool atAppear = playerEffect.CurrentLabel() == "appear" || opponentEffect.CurrentLabel() == "appear" ||
                          lockOverlay.CurrentLabel() == "appear";
    if (!atAppear) {
        // The lock overlays carry no "appear" of their own (it would commit the card effects a
        // second time): a lock lands once its overlay has been shown over the window.
        if (lockTurns != 0 && !lockOverlay.playing) commitLock();
        return;
    }
    human.applyPendingChanges(stock);
    opponent.applyPendingChanges(stock);

    const int64_t multiplied = static_cast<int64_t>(bet) * pendingMultiplier;
    bet = static_cast<int>(std::min<int64_t>(multiplied, kMaxBet));
    pendingMultiplier = 1;
    betNumber.setValue(bet);

    if (pendingDeckPeek > 0) {
        stock.showPeek(pendingDeckPeek);
        pendingDeckPeek = 0;
    }
    if (pendingGaugeAdjust != 0) {
        gauge.countTo(std::clamp(gauge.value + pendingGaugeAdjust, 0, kGaugeMax), kGaugeCountFrames);
        pendingGaugeAdjust = 0;
    }
    if (lockTurns != 0) commitLock();
    if (lockApply) {
        // The window opens over the table; the lock itself lands on a later commit.
        lockApply = false;
        lockTurns = lockRequestTurns;
        lockRequestTurns = 0;
        spWindow.resetSelection();
        hudInteractive = false;
        spWindow.open = true;
        spWindow.popIn();
        commentPlate.visible = false;
        commentText.visible = false;
        spWindow.refresh(gauge.value);
        startLockOverlay(lockAbility);
    }
}

void SceneGame::commitLock() {
    spWindow.addCooldown(lockAbility, lockTurns);
    lockTurns = 0;
    lockAbility = 0;
    spWindow.refresh(gauge.value);
    lockDisplay = true;
    lockDisplayHold = layout::kLockDisplayFrames;
}

bool SceneGame::effectsPlaying() const { return playerEffect.playing || opponentEffect.playing; }

// --- Opponent decision -------------------------------------------------------------------------------

int SceneGame::roll(int min, int max) {
    if (rollHook) return std::clamp(rollHook(min, max), min, max);
    return Random::Instance().Range(min, max);
}

template <typename Fits>
int SceneGame::rollUntil(int min, int max, Fits fits) {
    bool any = false;
    for (int v = min; v <= max && !any; ++v) any = fits(v);
    if (!any) return -1;
    int v = roll(min, max);
    while (!fits(v)) v = roll(min, max);
    return v;
}

int SceneGame::opponentReact(int event) {
    if (opponentActed) return -1;
    if (event >= 0 && event < static_cast<int>(reactAsked.size())) ++reactAsked[static_cast<size_t>(event)];
    human.clearPending();
    opponent.clearPending();
    int used = -1;
    switch (opponentIndex) {
        case match::kPemra: used = reactPemra(event); break;
        case match::kOtsel: used = reactOtsel(event); break;
        case match::kQuenvar: used = reactQuenvar(event); break;
        case match::kIblen: used = reactIblen(event); break;
        case match::kRosweth: used = reactRosweth(event); break;
        default: break;
    }
    if (used >= 0) {
        ++reactUsed[static_cast<size_t>(used)];
        opponentActed = true;
        storedOpponentAbility = used;
        if (!deferredOpponentAnimation) playOpponentAbility(used);
    }
    // Rosweth answers at several moments of one turn.
    if (opponentIndex == match::kRosweth) opponentActed = false;
    return used;
}

int SceneGame::reactPemra(int event) {
    if (event == EventTurnStart) {
        if (roll(0, 255) == 0) {
            for (int i = 0; i < Player::kSlotCount; ++i) human.setPending(i, Player::PendingFreeze, kDeepFreezeTurns, nullptr);
            sealed = true;
            sealTurns = kDeepFreezeTurns;
            return match::DeepFreeze;
        }
        const int s = roll(0, 7);
        if (s == 0) {
            for (int i = 0; i < Player::kSlotCount; ++i) human.setPending(i, Player::PendingFreeze, 1, nullptr);
            return match::FreezeGust;
        }
        if (s == 1) {
            sealed = true;
            sealTurns = 1;
            return match::SealWard;
        }
        return -1;
    }
    if (event == EventPlayerLost) {
        pendingMultiplier = 2;
        return match::LossDoubler;
    }
    return -1;
}

int SceneGame::reactOtsel(int event) {
    if (event != EventAfterPlayerDraw) return -1;
    const int r = roll(0, 255);
    const int s = roll(0, 7);
    const int t = roll(0, 3);
    if (r == 0) {
        if (stock.remainingCards() < kHandResetMinDeck) return -1;
        for (int i = 0; i < Player::kSlotCount; ++i) {
            if (!human.hand[static_cast<size_t>(i)].frozen) human.setPending(i, Player::PendingRedraw, 0, nullptr);
        }
        return match::HandReset;
    }
    if (s == 0) {
        const bool holdsJoker = std::any_of(opponent.hand.begin(), opponent.hand.end(),
                                            [](const HandSlot& h) { return isJoker(h.card); });
        if (holdsJoker) return -1;
        const int i = roll(0, 4);
        if (opponent.hand[static_cast<size_t>(i)].dummy) return -1;
        opponent.setPending(i, Player::PendingReplace, 0, &kJokerCard);
        targetSlot = i;
        return match::JokerCall;
    }
    if (s == 1) {
        const bool anyFrozen = std::any_of(human.hand.begin(), human.hand.end(), [](const HandSlot& h) { return h.frozen; });
        if (anyFrozen) return -1;
        const int i = roll(0, 4);
        if (!opponent.hand[static_cast<size_t>(i)].dummy) human.setPending(i, Player::PendingDummy, kDummyCurseTurns, nullptr);
        targetSlot = i;
        return match::DummyCurse;
    }
    if (t == 0) {
        if (stock.remainingCards() < 1 || human.countFrozenOrDummy() >= Player::kSlotCount) return -1;
        const int i = rollUntil(0, 4, [this](int k) {
            const HandSlot& h = human.hand[static_cast<size_t>(k)];
            return !h.frozen && !h.dummy;
        });
        if (i >= 0) human.setPending(i, Player::PendingRedraw, 0, nullptr);
        return match::CardReaper;
    }
    return -1;
}

int SceneGame::reactQuenvar(int event) {
    if (event != EventOpponentDraw) return -1;
    const int r = roll(0, 255);
    if (stock.remainingCards() <= kFiveAcesMaxDeck && r == 0) {
        for (HandSlot& h : opponent.hand) {
            h.frozen = false;
            h.frozenTurns = 0;
        }
        opponent.prepareFixedHand();
        return match::FiveAces;
    }
    const bool hasNonDummy =
        std::any_of(opponent.hand.begin(), opponent.hand.end(), [](const HandSlot& h) { return !h.dummy; });
    if (!hasNonDummy || opponent.countExchangeable() - opponent.countDummies() >= Player::kSlotCount ||
        opponent.countHeld() >= Player::kSlotCount) {
        return -1;
    }
    const int r1 = roll(0, 3);
    const int r2 = roll(0, 7);
    const int used = r1 == 0 ? match::SuitCopy : r1 == 1 ? match::RankCopy : r2 == 0 ? match::CardCopy : -1;
    if (used < 0) return -1;
    int slot = -1;
    for (int i = 0; i < Player::kSlotCount && slot < 0; ++i) {
        if (!opponent.hand[static_cast<size_t>(i)].held) slot = i;
    }
    if (slot < 0) return used;  // nothing left to exchange: used without effect
    targetSlot = slot;
    // The reference is a held card that is not a dummy; a hand whose only held cards are dummies
    // has none, and the copy then does nothing.
    const int ref = rollUntil(0, 4, [this](int k) {
        const HandSlot& h = opponent.hand[static_cast<size_t>(k)];
        return h.held && !h.dummy;
    });
    if (ref < 0) return used;
    const Card source = opponent.hand[static_cast<size_t>(ref)].card;
    Card copy = source;
    if (!isJoker(source)) {
        if (used == match::SuitCopy) copy.value = roll(0, kKingValue);
        if (used == match::RankCopy) copy.suit = roll(0, kSuitCount - 1);
    }
    opponent.setPending(slot, Player::PendingPrepared, 0, &copy);
    return used;
}

int SceneGame::reactIblen(int event) {
    if (event == EventTurnStart) {
        if (roll(0, 7) == 0) {
            lockAbility = roll(0, match::kPlayerAbilityCount - 1);
            lockRequestTurns = kAbilityLockTurns;
            lockApply = true;
            return match::AbilityLock;
        }
        if (roll(0, 15) != 0) return -1;
        // The ability and card are drawn as a pair until the card suits the ability; abilities 3
        // and up suit every card, but the check keeps the loop finite whatever the hand holds.
        auto fits = [this](int a, int c) {
            const HandSlot& h = human.hand[static_cast<size_t>(c)];
            if (a <= match::AbilityRankDown) return !IsSpecial(h);
            if (a == match::AbilityJokerSwap) return !isJoker(h.card);
            return true;
        };
        bool any = false;
        for (int a = 0; a < match::kPlayerAbilityCount && !any; ++a) {
            for (int c = 0; c < Player::kSlotCount && !any; ++c) any = fits(a, c);
        }
        if (!any) return match::CharmForce;
        int a = roll(0, match::kPlayerAbilityCount - 1);
        int c = roll(0, Player::kSlotCount - 1);
        while (!fits(a, c)) {
            a = roll(0, match::kPlayerAbilityCount - 1);
            c = roll(0, Player::kSlotCount - 1);
        }
        if (spWindow.cooldowns[static_cast<size_t>(a)] < 1 && gauge.value >= PlayerAbility(a).cost &&
            stock.remainingCards() > 0) {
            forcedAbility = true;
            selectedAbility = a;
            targetSlot = c;
        }
        return match::CharmForce;
    }
    if (event == EventPlayerPressedDraw) {
        if (roll(0, 63) != 0) return -1;
        int n = stock.remainingCards();
        for (HandSlot& h : human.hand) {
            if (!h.frozen) h.held = !h.held;
            if (n == 0) {
                h.held = true;
            } else if (!h.held) {
                --n;
            }
        }
        return match::HoldFlip;
    }
    if (event == EventPlayerAbility) {
        const int r = roll(0, 7);
        const bool reflectable = selectedAbility == match::AbilityRankUp || selectedAbility == match::AbilityRankDown ||
                                 selectedAbility == match::AbilityJokerSwap || selectedAbility == match::AbilityDummyCard;
        if (r == 0 && reflectable) {
            reflect = true;
            return match::ReflectCurse;
        }
    }
    return -1;
}

int SceneGame::reactRosweth(int event) {
    if (event == EventTurnStart) {
        if (turn != 1 && roll(0, 3) != 0) return -1;
        guardMarks = {};
        const int n = roll(1, 5);
        for (int k = 0; k < n; ++k) {
            const int a = rollUntil(0, match::kPlayerAbilityCount - 1, [this](int v) {
                return v != match::AbilityTableBomb && !guardMarks[static_cast<size_t>(v)];
            });
            if (a >= 0) guardMarks[static_cast<size_t>(a)] = true;
        }
        spWindow.marks = guardMarks;
        return match::GuardMark;
    }
    if (event == EventShowdown) {
        if (human.evaluateHand().rank != opponent.evaluateHand().rank) return -1;
        counterKind = CounterOpponentWins;
        return match::TieBreak;
    }
    if (event == EventPlayerAbility) {
        if (!match::IsPlayerAbility(selectedAbility) || !guardMarks[static_cast<size_t>(selectedAbility)]) return -1;
        deferredOpponentAnimation = true;
        if (roll(0, 1) == 0) {
            counterKind = CounterCostDrain;
            return match::CostDrain;
        }
        lockRequestTurns = -1;
        counterKind = CounterCooldownLock;
        return match::CooldownLock;
    }
    return -1;
}

void SceneGame::playOpponentAbility(int ability) {
    const int o = opponentIndex;
    const std::string layer = match::OpponentAbilityLayer(o, ability, targetSlot);
    if (layer.empty()) return;
    opponentEffect.Play(layer);
    PlaySe(kSeAbility);
    const std::string help = match::OpponentHelpLayer(o, ability, targetSlot);
    if (!help.empty()) helpPanel.Play(help);
    playOpponentVoice(match::OpponentAbilityVoiceEvent(ability));

    commentText.DrawText(match::AbilityComment(o, ability), 0, 0, layout::kCommentSize, kWhite, true);
    ShowThenFade(commentPlate);
    ShowThenFade(commentText);
    const size_t k = static_cast<size_t>(ability);
    opponentIconGlow.position = opponentIcons[k].position;
    ShowThenFade(opponentIconGlow);
}

void SceneGame::startLockOverlay(int lockedAbility) {
    const int ability = opponentIndex == match::kIblen ? static_cast<int>(match::AbilityLock)
                                                       : static_cast<int>(match::CooldownLock);
    const std::string layer = match::OpponentLockLayer(opponentIndex, ability, lockedAbility);
    if (!layer.empty()) lockOverlay.Play(layer);
}

// --- Ability menu (overlay 1) ------------------------------------------------------------------------

void SceneGame::openAbilityMenu() { overlay = 1; }

void SceneGame::runAbilityMenu() {
    // The entered flag may already have been computed for this frame by the caller; either way
    // the entry runs once per opening.
    if (overlay != previousOverlay) {
        overlayEntered = true;
        previousOverlay = overlay;
    }
    if (overlayEntered) {
        overlayEntered = false;
        spWindow.resetSelection();
        abilityCursor = -1;
        commentShownBeforeMenu = commentText.visible;
        commentPlate.visible = false;
        commentText.visible = false;
        hudInteractive = false;
        spWindow.open = true;
        spWindow.popIn();
        spWindow.refresh(gauge.value);
        if (opponentIndex == match::kRosweth) helpPanel.Play("Tips_GuardMark");
    }
    const MouseController& m = MouseController::Instance();
    // Keys: the arrows walk the abilities, Enter chooses the one pointed at, Escape closes.
    // Moving the mouse gives the pointing back to it.
    if (m.x != m.previousX || m.y != m.previousY) abilityCursor = -1;
    if (m.KeyPressed(KeyCode::Escape)) {
        closeAbilityMenu(true);
        return;
    }
    if (m.KeyPressed(KeyCode::Up) || m.KeyPressed(KeyCode::Left)) moveAbilityCursor(-1);
    if (m.KeyPressed(KeyCode::Down) || m.KeyPressed(KeyCode::Right)) moveAbilityCursor(1);
    if (abilityCursor < 0) spWindow.hover(m.x, m.y);
    if (abilityCursor >= 0 && m.KeyPressed(KeyCode::Return)) {
        int x = 0, y = 0;
        AbilityLabelPoint(spWindow, abilityCursor, x, y);
        chooseAbility(spWindow.select(x, y));
        return;
    }
    if (!m.Clicked()) return;
    if (spWindow.closeButtonHit(m.x, m.y)) {
        closeAbilityMenu(false);
        return;
    }
    if (!spWindow.contains(m.x, m.y)) {
        closeAbilityMenu(true);
        return;
    }
    chooseAbility(spWindow.select(m.x, m.y));
}

void SceneGame::moveAbilityCursor(int step) {
    const int n = SpWindow::kAbilityCount;
    abilityCursor = abilityCursor < 0 ? (step > 0 ? 0 : n - 1) : (abilityCursor + step + n) % n;
    int x = 0, y = 0;
    AbilityLabelPoint(spWindow, abilityCursor, x, y);
    spWindow.hover(x, y);
}

void SceneGame::chooseAbility(int a) {
    if (!match::IsPlayerAbility(a) || spWindow.cooldowns[static_cast<size_t>(a)] >= 1 ||
        gauge.value < PlayerAbility(a).cost) {
        return;
    }
    closeAbilityMenu(false);
    selectedAbility = a;
    systemButtonsEnabled = false;
    if (PlayerAbility(a).targetsOwnCard) {
        matchState = AbilityTarget;
    } else {
        opponentReact(EventPlayerAbility);
        matchState = AbilityActivate;
    }
}

void SceneGame::closeAbilityMenu(bool withSound) {
    abilityCursor = -1;
    if (withSound) PlaySe(kSeMenuClose);
    hudInteractive = true;
    spWindow.open = false;
    helpPanel.playing = false;
    commentPlate.visible = commentShownBeforeMenu;
    commentText.visible = commentShownBeforeMenu;
    overlay = 0;
    previousOverlay = 0;
}

// --- States 19 and 20 ----------------------------------------------------------------------------

// AbilityTarget: the player picks one of the own cards for RankUp, RankDown or JokerSwap.
// Exits: AbilityActivate (card chosen), PlayerChoice (right click).
void SceneGame::stateAbilityTarget() {
    if (entered) {
        abilityTargetBlink = 0;
        hudInteractive = true;
        spWindow.open = false;
    }
    ++abilityTargetBlink;
    selectCardPrompt.visible = abilityTargetBlink % layout::kSelectPromptBlink < layout::kSelectPromptBlink / 2;

    const MouseController& m = MouseController::Instance();
    if (m.RightClicked() || m.KeyPressed(KeyCode::Escape)) {
        PlaySe(kSeCancel);
        selectCardPrompt.visible = false;
        matchState = PlayerChoice;
        return;
    }
    // A number key picks its slot as a click on the card does.
    constexpr KeyCode kSlotKeys[] = {KeyCode::Num1, KeyCode::Num2, KeyCode::Num3, KeyCode::Num4, KeyCode::Num5};
    int slot = -1;
    for (int i = 0; i < Player::kSlotCount && slot < 0; ++i) {
        if (m.KeyPressed(kSlotKeys[i])) slot = i;
    }
    if (slot < 0 && !m.Clicked()) return;
    if (slot < 0) slot = human.slotAt(m.x, m.y);
    if (slot < 0) return;
    const HandSlot& h = human.hand[static_cast<size_t>(slot)];
    const bool refused = selectedAbility == match::AbilityJokerSwap ? isJoker(h.card) : IsSpecial(h);
    if (refused) {
        PlaySe(kSeCancel);
        return;
    }
    PlaySe(kSeDecide);
    targetSlot = slot;
    opponentReact(EventPlayerAbility);
    matchState = AbilityActivate;
}

// AbilityActivate: the entry applies the selected ability and starts its animation; the next
// free frame settles the see-through, the void hand and Rosweth's deferred answer.
// Exits: PlayerChoice, or NextRound after TableBomb.
void SceneGame::stateAbilityActivate() {
    if (entered) {
        forcedAbility = false;
        selectCardPrompt.visible = false;
        human.clearPending();
        opponent.clearPending();
        applyPlayerAbility();
        return;
    }
    if (seeThroughRequest) {
        opponent.showTranslucentCopies(true);
        seeThroughRequest = false;
    }
    if (voidHandRequest) {
        voidHandRequest = false;
        skipDraw = true;
        matchState = NextRound;
        return;
    }
    if (deferredOpponentAnimation) {
        deferredOpponentAnimation = false;
        if (counterKind == CounterCooldownLock) {
            lockAbility = selectedAbility;
            lockRequestTurns = -1;
            lockApply = true;
        } else if (counterKind == CounterCostDrain) {
            pendingGaugeAdjust = -PlayerAbility(selectedAbility).cost;
        }
        counterKind = CounterNone;
        playOpponentAbility(storedOpponentAbility);
        systemButtonsEnabled = false;
    }
    matchState = PlayerChoice;
}

void SceneGame::applyPlayerAbility() {
    const int a = selectedAbility;
    if (!match::IsPlayerAbility(a)) {
        matchState = PlayerChoice;
        return;
    }
    switch (a) {
        case match::AbilityRankUp: human.shiftValue(targetSlot, reflect ? -1 : 1); break;
        case match::AbilityRankDown: human.shiftValue(targetSlot, reflect ? 1 : -1); break;
        case match::AbilityJokerSwap:
            if (reflect) {
                human.setPending(roll(0, 4), Player::PendingDummy, kReflectDummyTurns, nullptr);
            } else {
                human.setPending(targetSlot, Player::PendingReplace, 0, &kJokerCard);
            }
            break;
        case match::AbilitySeeThrough: seeThroughRequest = true; break;
        case match::AbilityDummyCard: (reflect ? human : opponent).setPending(roll(0, 4), Player::PendingDummy, kDummyCardTurns, nullptr); break;
        case match::AbilityTableBomb: voidHandRequest = true; break;
        case match::AbilityDoubleBet: pendingMultiplier = 2; break;
        case match::AbilityDeckPeek: pendingDeckPeek = kDeckPeekCards; break;
        default: break;
    }
    const match::PlayerAbility& record = PlayerAbility(a);
    std::string layer = record.layer;
    if (a == match::AbilityDummyCard && reflect) layer += "_Ref";
    if (record.targetsOwnCard) layer += match::SlotSuffix(targetSlot);
    reflect = false;
    PlaySe(kSeAbility);
    playerEffect.Play(layer);
    spWindow.addCooldown(a, record.cooldown);
    gauge.countTo(std::max(gauge.value - record.cost, 0), kGaugeCountFrames);
}

// --- Turn and widgets --------------------------------------------------------------------------------

void SceneGame::tickCooldowns() { spWindow.tickCooldowns(); }

void SceneGame::countDownSeal() {
    if (!sealed) return;
    if (sealTurns < 1) {
        sealed = false;
    } else {
        --sealTurns;
    }
}

void SceneGame::updateAbilityWidgets() {
    // Sealed: the Ability button is hidden (PlayerChoice shows it again once the seal has gone)
    // and the pictures on it are dimmed.
    const float a = sealed ? layout::kSealedAlpha : 1.0f;
    abilityButton.alpha = a;
    if (sealed) abilityButton.visible = false;
    for (DrawBase* child : abilityButton.children) {
        if (auto* picture = dynamic_cast<Image*>(child)) picture->alpha = a;
    }

    const bool panelShown = hudInteractive && opponentPanelOpen;
    opponentPanel.visible = panelShown;
    for (size_t k = 0; k < opponentIcons.size(); ++k) {
        opponentIcons[k].visible = panelShown;
        opponentIconLabels[k].visible = panelShown;
    }
    opponentIconGlow.visible = panelShown && opponentIconGlow.alpha > 0.0f;
    opponentPanelTab.visible = hudInteractive;
    const sheet::Rect tab = opponentPanelOpen ? sheet::kPanelTabOpen : sheet::kPanelTabClosed;
    opponentPanelTab.sourceRect = Image::Rect{tab.left, tab.top, tab.right, tab.bottom};

    commentPlate.updateTweens();
    commentText.updateTweens();
    opponentIconGlow.updateTweens();
    if (commentText.visible && commentText.alpha <= 0.0f && !commentText.tweening()) {
        commentText.visible = false;
        commentPlate.visible = false;
    }

    // A landed lock keeps the window up a moment, then gives the table back.
    if (lockDisplayHold > 0) --lockDisplayHold;
    if (lockDisplay && lockDisplayHold <= 0 && overlay == 0 && !busy()) {
        lockDisplay = false;
        spWindow.open = false;
        hudInteractive = true;
    }
}

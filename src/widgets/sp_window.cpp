#include "widgets/sp_window.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/text_encoding.h"
#include "cards/player_abilities.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kCooldownColour = 0xFFFF80;
constexpr uint32_t kCostColour = 0xC0FFC0;
constexpr uint32_t kCooldownInfoColour = 0xC0C0FF;
constexpr uint32_t kCommentColour = 0xFFC0C0;
constexpr int kNameSize = 24;
constexpr int kCooldownSize = 12;
constexpr int kInfoSize = 20;
constexpr Image::Rect kLitMark{655, 1000, 679, 1024};
// The close button: the lit quit icon of the card sheet, in the window's top-right corner.
constexpr Image::Rect kCloseButtonRect{984, 80, 1024, 120};
constexpr int kCloseButtonX = 590 - 40 - 8;
constexpr int kCloseButtonY = 8;
constexpr Image::Rect kDimMark{679, 1000, 703, 1024};
// Cooldowns are shown as "TURN %d"; keep them to a sane range.
constexpr int kMaxCooldown = 9999;

const match::PlayerAbility& Ability(int i) { return match::kPlayerAbilities[static_cast<size_t>(i)]; }

// Canvas name with its last character replaced by the digit i.
void IndexedName(char (&out)[32], const char* base, int i) {
    std::snprintf(out, sizeof(out), "%s", base);
    const size_t n = std::strlen(out);
    out[n - 1] = static_cast<char>('0' + i);
}

}  // namespace

SpWindow::SpWindow() {
    panel.position = Vec3{static_cast<float>(kPanelX), static_cast<float>(kPanelY), 0.0f};

    background.loadTexture("sozai3.png", true);
    background.useSourceRect = true;
    background.sourceRect = Image::Rect{0, 512, 590, 832};
    background.alpha = 0.9f;
    background.scaleEnabled = true;
    background.scalePivot = Vec3{0.0f, 1.0f, 0.0f};
    panel.addChild(&background);
    closeButton.loadTexture("sozai1.png", true);
    closeButton.useSourceRect = true;
    closeButton.sourceRect = kCloseButtonRect;
    closeButton.position = Vec3{static_cast<float>(kCloseButtonX), static_cast<float>(kCloseButtonY), 0.0f};

    char name[32];
    for (int i = 0; i < kAbilityCount; ++i) {
        const size_t k = static_cast<size_t>(i);
        const int nx = (i % 2) * 280 + 56;
        const int ny = (i / 2) * 30 + 40;

        IndexedName(name, "font_sp_ability_0", i);
        nameLabels[k].CreateCanvas(name, 230, 30);
        nameLabels[k].position = Vec3{static_cast<float>(nx), static_cast<float>(ny), 0.0f};
        nameLabels[k].DrawText(Ability(i).name, 0, 0, kNameSize, kWhite, true);

        IndexedName(name, "font_sp_cooltime_0", i);
        cooldownLabels[k].CreateCanvas(name, 230, 30);
        const int nameBytes = static_cast<int>(std::strlen(Ability(i).name));
        cooldownLabels[k].position = Vec3{static_cast<float>(nx + 6 + 12 * nameBytes), static_cast<float>(ny + 12), 0.0f};
        drawCooldownLabel(i);
        cooldownLabels[k].visible = false;

        markIcons[k].loadTexture("sozai1.png", false);
        markIcons[k].useSourceRect = true;
        markIcons[k].sourceRect = kDimMark;
        markIcons[k].position = Vec3{static_cast<float>(nx - 25), static_cast<float>(ny + 3), 0.0f};

        panel.addChild(&nameLabels[k]);
        panel.addChild(&cooldownLabels[k]);
        panel.addChild(&markIcons[k]);
    }

    costLabel.CreateCanvas("font_sp_cost", 150, 25);
    costLabel.position = Vec3{30.0f, 180.0f, 0.0f};
    cooldownInfoLabel.CreateCanvas("font_sp_CT", 250, 25);
    cooldownInfoLabel.position = Vec3{190.0f, 180.0f, 0.0f};
    commentLabel.CreateCanvas("font_sp_comment", 550, 150);
    commentLabel.position = Vec3{30.0f, 220.0f, 0.0f};
    panel.addChild(&closeButton);
    panel.addChild(&costLabel);
    panel.addChild(&cooldownInfoLabel);
    panel.addChild(&commentLabel);
}

void SpWindow::drawCooldownLabel(int ability) {
    char text[32];
    std::snprintf(text, sizeof(text), "TURN %d", cooldowns[static_cast<size_t>(ability)]);
    cooldownLabels[static_cast<size_t>(ability)].DrawText(text, 0, 0, kCooldownSize, kCooldownColour, true);
}

void SpWindow::clearInfo() {
    costLabel.Clear();
    cooldownInfoLabel.Clear();
    commentLabel.Clear();
}

void SpWindow::showInfo(int ability) {
    const match::PlayerAbility& a = Ability(ability);
    char text[128];
    std::snprintf(text, sizeof(text), "%s%d", SJ("消費ＳＰ：").c_str(), a.cost);
    costLabel.DrawText(text, 0, 0, kInfoSize, kCostColour, true);
    std::snprintf(text, sizeof(text), "%s%d%s", SJ("使用間隔：").c_str(), a.cooldown, SJ("ターン").c_str());
    cooldownInfoLabel.DrawText(text, 0, 0, kInfoSize, kCooldownInfoColour, true);
    commentLabel.DrawText(match::PlayerAbilityDescription(ability), 0, 0, kInfoSize, kCommentColour, true);
}

void SpWindow::resetSelection() {
    hovered = -1;
    lastHovered = -1;
    selected = -1;
    clearInfo();
}

void SpWindow::popIn() {
    // A window closed in the middle of its opening leaves steps behind; start from nothing.
    background.clearTweens();
    background.scale = Vec3{0.0f, 0.0f, 0.0f};
    background.tweenGroup(1, 1, 1.0f, 1.0f, 1.0f, kPopInFrames, 0);
}

void SpWindow::refresh(int gauge) {
    for (int i = 0; i < kAbilityCount; ++i) {
        const size_t k = static_cast<size_t>(i);
        bool lit = false;
        if (cooldowns[k] > 0) {
            cooldownShown_[k] = true;
        } else {
            cooldownShown_[k] = false;
            lit = gauge >= Ability(i).cost;
        }
        usable[k] = lit;
        const float shade = lit ? 1.0f : 0.5f;
        nameLabels[k].red = nameLabels[k].green = nameLabels[k].blue = shade;
        markIcons[k].sourceRect = lit ? kLitMark : kDimMark;
    }
}

int SpWindow::abilityAt(int localX, int localY) const {
    int found = -1;
    for (int i = 0; i < kAbilityCount; ++i) {
        if (nameLabels[static_cast<size_t>(i)].contains(localX, localY)) {
            found = i;
        }
    }
    return found;
}

void SpWindow::hover(int x, int y) {
    hovered = abilityAt(x - kPanelX, y - kPanelY);
    if (hovered != lastHovered) {
        if (hovered < 0) {
            clearInfo();
        } else {
            showInfo(hovered);
        }
        lastHovered = hovered;
    }
}

int SpWindow::select(int x, int y) {
    const int lx = x - kPanelX, ly = y - kPanelY;
    for (int i = 0; i < kAbilityCount; ++i) {
        if (!nameLabels[static_cast<size_t>(i)].contains(lx, ly)) {
            continue;
        }
        if (!usable[static_cast<size_t>(i)]) {
            break;
        }
        selected = i;
    }
    return selected;
}

bool SpWindow::closeButtonHit(int x, int y) const {
    return open && closeButton.visible && closeButton.contains(x - kPanelX, y - kPanelY);
}

void SpWindow::resetCooldowns() {
    for (int i = 0; i < kAbilityCount; ++i) {
        cooldowns[static_cast<size_t>(i)] = 0;
        drawCooldownLabel(i);
    }
}

bool SpWindow::contains(int x, int y) const { return background.contains(x - kPanelX, y - kPanelY); }

void SpWindow::addCooldown(int ability, int turns) {
    if (!match::IsPlayerAbility(ability)) {
        return;
    }
    int add = turns;
    if (turns == -1) {
        add = Ability(ability).cooldown;
    } else if (turns == -2) {
        add = 2 * Ability(ability).cooldown;
    }
    const size_t k = static_cast<size_t>(ability);
    cooldowns[k] = std::clamp(cooldowns[k] + std::clamp(add, -kMaxCooldown, kMaxCooldown), 0, kMaxCooldown);
    drawCooldownLabel(ability);
}

void SpWindow::tickCooldowns() {
    for (int i = 0; i < kAbilityCount; ++i) {
        if (cooldowns[static_cast<size_t>(i)] > 0) {
            --cooldowns[static_cast<size_t>(i)];
            drawCooldownLabel(i);
        }
    }
}

void SpWindow::draw(float dx, float dy, float dz) {
    // Nobody else steps the background, so the opening runs as the window is drawn.
    background.updateTweens();
    const bool ready = settled();
    for (size_t k = 0; k < static_cast<size_t>(kAbilityCount); ++k) {
        nameLabels[k].visible = ready;
        cooldownLabels[k].visible = ready && cooldownShown_[k];
        markIcons[k].visible = ready && marks[k];
    }
    costLabel.visible = ready;
    closeButton.visible = ready;
    cooldownInfoLabel.visible = ready;
    commentLabel.visible = ready;
    if (open) {
        drawTree(&panel, dx, dy, dz);
    }
}

#pragma once
#include <array>

#include "widgets/image_font.h"
#include "widgets/image.h"

// The ability window of the match: the player's eight abilities with their cooldowns, lit when
// they can be paid for, with cost, cooldown and description of the one under the mouse. It grows
// from its bottom-left corner when opened; the labels appear once it has grown.
// The parts hang below panel by pointer, so the window is neither copied nor moved.
class SpWindow : public DrawBase {
public:
    static constexpr int kAbilityCount = 8;
    static constexpr int kPanelX = 670;
    static constexpr int kPanelY = 380;
    static constexpr int kPopInFrames = 5;

    // Builds every part and its text canvas; all cooldowns 0, nothing hovered or selected.
    SpWindow();
    SpWindow(const SpWindow&) = delete;
    SpWindow& operator=(const SpWindow&) = delete;

    // Forgets hover and selection and clears the three info texts.
    void resetSelection();
    // Starts the opening: the background grows from nothing in 5 frames.
    void popIn();
    // Lights the abilities that are off cooldown and paid for by the gauge; dims the others and
    // shows the cooldown labels of those cooling down.
    void refresh(int gauge);
    // Screen point: the ability under it becomes hovered; its cost, cooldown and description are
    // shown when the hovered ability changes.
    void hover(int x, int y);
    // Screen point: scanning in order, a usable ability under it becomes selected; an unusable
    // one under it stops the scan. Returns selected.
    int select(int x, int y);
    // Screen point inside the 590 x 320 window.
    bool contains(int x, int y) const;
    // Adds turns to the ability's cooldown (-1: its cooldown once, -2: twice) and redraws its
    // label. The cooldown never goes below 0.
    void addCooldown(int ability, int turns);
    // One turn passes: every running cooldown falls by 1, its label redrawn.
    void tickCooldowns();
    // Every cooldown back to 0 with its label redrawn (a new match).
    void resetCooldowns();
    // Screen point on the close button of the open window.
    bool closeButtonHit(int x, int y) const;
    // Advances the opening, shows the labels once it is over, and draws the panel when open.
    void draw(float dx, float dy, float dz) override;

    // True once the opening has finished (no tween of the background queued).
    bool settled() const { return !background.tweening(); }

    bool open = false;
    Image panel;
    Image background;
    Image closeButton;  // top-right corner of the window
    std::array<ImageFont, kAbilityCount> nameLabels;
    std::array<ImageFont, kAbilityCount> cooldownLabels;
    std::array<Image, kAbilityCount> markIcons;
    ImageFont costLabel;
    ImageFont cooldownInfoLabel;
    ImageFont commentLabel;
    int hovered = -1;
    int lastHovered = -1;
    int selected = -1;
    std::array<bool, kAbilityCount> usable{};
    std::array<int, kAbilityCount> cooldowns{};
    std::array<bool, kAbilityCount> marks{};

private:
    void drawCooldownLabel(int ability);
    void showInfo(int ability);
    void clearInfo();
    // Which ability's name label holds the window-local point, last match wins; -1 for none.
    int abilityAt(int localX, int localY) const;

    // Cooldown labels chosen by the last refresh; drawn only once the window has settled.
    std::array<bool, kAbilityCount> cooldownShown_{};
};

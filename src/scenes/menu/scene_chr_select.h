#pragma once
#include <array>

#include "app/scene.h"
#include "widgets/screen_fade.h"
#include "widgets/image.h"

// The host pick: one picture of the five hosts cut from "sozai5.png", with an additive glow over
// each host while the mouse is on her or him. A left click on a host stores the host in "enemy"
// and fades to the match (4); a right click fades back to the title (2). The arrows light one host
// at a time with the same glow (until the mouse moves again), Enter picks the lit host, Escape or
// Backspace goes back like the right click. Plays the menu music and closes it on leaving.
// Global: writes "winCount" (0) and "enemy".
class SceneChrSelect : public Scene {
public:
    SceneChrSelect() = default;
    SceneChrSelect(const SceneChrSelect&) = delete;
    SceneChrSelect& operator=(const SceneChrSelect&) = delete;

    // --- Scene ---------------------------------------------------------------------------------
    void Enter(int previousSceneId) override;
    void Leave() override;
    void Update(int* nextSceneId) override;

private:
    // Fade results: where the finished fade-out leads.
    enum FadeResult : int { ToMatch = 0, ToTitle = 1 };

    // --- Frame ---------------------------------------------------------------------------------
    // Hands the finished fade's result on as the next scene id.
    void finishFade(int* nextSceneId);
    // Glows follow the cursor; a left click on a host picks her or him.
    void pickHost();
    // The arrows move the lit slot, Enter picks it.
    void pickHostByKeys();
    // A right click anywhere (or Escape, Backspace) leads back to the title.
    void backToTitle();
    void drawFrame();

    // --- Helpers -------------------------------------------------------------------------------
    void startFadeOut(FadeResult result);
    void pick(int slot);

    static constexpr int kNoSlot = -1;
    int keyedSlot = kNoSlot;       // the slot the arrows lit; kNoSlot while the mouse leads

    ScreenFade fade;
    Image root;                    // invisible container, drawn in child order
    std::array<Image, 5> glow;     // one per slot, additive, lit while hovered
    Image background;
    Image banner;
    Image bannerGlow;
};

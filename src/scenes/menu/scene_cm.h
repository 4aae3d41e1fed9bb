#pragma once
#include "animation/sylkie_animation.h"
#include "app/scene.h"
#include "widgets/screen_fade.h"
#include "widgets/image.h"

// The advertisement: one full-screen animation ("menu_advertise.bca") between a fade-in and a
// fade-out to black, skippable by a click once the fade-in is over. Owns the animation player and
// the fade. Leaves for 2 (title). Global: none.
class SceneCM : public Scene {
public:
    static constexpr int kFadeFrames = 30;

    SceneCM() = default;

    // --- Enter / Leave ---
    void Enter(int previousSceneId) override;
    void Leave() override {}
    void Update(int* nextSceneId) override;

private:
    // --- Frame ---
    void drawFrame();
    void startFadeOut();

    Image root;
    SylkieAnimation advert;
    ScreenFade fade;
};

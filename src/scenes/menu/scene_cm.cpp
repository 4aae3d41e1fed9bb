#include "scenes/menu/scene_cm.h"

#include "app/mouse_controller.h"
#include "graphics/dx_graphic.h"

namespace {

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kClear = 0x00000000;
constexpr int kFadeInResult = 0;   // nothing to do when the fade-in ends
constexpr int kFadeOutResult = 1;  // the screen is black: back to the title

}  // namespace

// --- Enter / Leave ---

void SceneCM::Enter(int) {
    // A missing file or composition leaves nothing playing: the scene fades in and straight out.
    advert.Load("menu_advertise.bca");
    advert.Play("menu_advertise");
    root.addChild(&advert);
    fade.result = kFadeInResult;
    fade.Start(kBlack, kClear, kFadeFrames);
}

// --- Frame ---

void SceneCM::Update(int* nextSceneId) {
    if (fade.Step() == kFadeOutResult) {
        *nextSceneId = kSceneTitle;  // this frame is still drawn
    }
    MouseController& m = MouseController::Instance();
    m.Update(!fade.active);
    if (m.Clicked()) {
        startFadeOut();
    }
    drawFrame();  // advances the advertisement one frame
    if (!fade.active && !advert.playing) {
        startFadeOut();
    }
}

void SceneCM::drawFrame() {
    DxGraphic& gfx = DxGraphic::Instance();
    gfx.BeginFrame();
    drawTree(&root, 0.0f, 0.0f, 0.0f);
    fade.Draw();
    gfx.EndFrame();
}

void SceneCM::startFadeOut() {
    fade.result = kFadeOutResult;
    fade.Start(kClear, kBlack, kFadeFrames);
}

#include "scenes/menu/scene_chr_select.h"

#include "app/mouse_controller.h"
#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "scenes/menu/gallery_layout.h"
#include "sound/dx_sound.h"

namespace gl = menu::gallery;

namespace {

// Cuts a sprite out of the pick sheet and places it.
void SetUpSprite(Image& image, const gl::SelectSprite& sprite, int blendMode, bool visible) {
    image.loadTexture(gl::kSheet, visible);
    image.useSourceRect = true;
    image.sourceRect = {sprite.source.left, sprite.source.top, sprite.source.right, sprite.source.bottom};
    image.position = {static_cast<float>(sprite.position.x), static_cast<float>(sprite.position.y), 0.0f};
    image.blendMode = blendMode;
}

bool StrictlyInside(const gl::Rect& r, int x, int y) { return r.left < x && x < r.right && r.top < y && y < r.bottom; }

constexpr int kBlendNormal = 1;
constexpr int kBlendAdditive = 2;

}  // namespace

// --- Scene ---------------------------------------------------------------------------------------

void SceneChrSelect::Enter(int) {
    SetUpSprite(background, gl::kSelectBackground, kBlendNormal, true);
    SetUpSprite(banner, gl::kBanner, kBlendNormal, true);
    SetUpSprite(bannerGlow, gl::kBannerGlow, kBlendAdditive, true);
    for (size_t i = 0; i < glow.size(); ++i) {
        SetUpSprite(glow[i], gl::kSlotGlow[i], kBlendAdditive, false);
        glow[i].scaleEnabled = true;
        glow[i].scale = {gl::kSlotGlowScale, gl::kSlotGlowScale, gl::kSlotGlowScale};
        glow[i].scalePivot = {0.0f, 0.0f, 0.0f};
    }
    root.addChild(&background);
    for (Image& g : glow) {
        root.addChild(&g);
    }
    root.addChild(&bannerGlow);
    root.addChild(&banner);

    Global::Instance().Set(0, "winCount");

    DxSound& sound = DxSound::Instance();
    sound.OpenBgm(gl::kMenuMusic);
    sound.SetBgmLoopPoint(0, gl::kMenuMusicLoop, 0);
    sound.PlayBgm();

    fade.Start(gl::kOpaqueBlack, gl::kClearBlack, gl::kSelectFadeFrames);
}

void SceneChrSelect::Leave() {
    DxSound& sound = DxSound::Instance();
    if (sound.BgmState() == 2) {
        sound.StopBgm();
    }
    sound.CloseBgm();
    DxGraphic::Instance().ReleaseAllTextures();
    DxGraphic::Instance().ReleaseAllCanvases();
}

void SceneChrSelect::Update(int* nextSceneId) {
    finishFade(nextSceneId);
    MouseController::Instance().Update(!fade.active);
    pickHost();
    backToTitle();
    for (Image& g : glow) {
        g.updateTweens();
    }
    drawFrame();
}

// --- Frame ---------------------------------------------------------------------------------------

void SceneChrSelect::finishFade(int* nextSceneId) {
    const int r = fade.Step();
    if (r == ToMatch) {
        *nextSceneId = kSceneGame;
    } else if (r == ToTitle) {
        *nextSceneId = kSceneTitle;
    }
}

// Every slot under the cursor lights and, on a click, is picked in slot order: where slots
// overlap the last one picked (the highest number) is the one stored.
void SceneChrSelect::pickHost() {
    const MouseController& m = MouseController::Instance();
    for (size_t i = 0; i < glow.size(); ++i) {
        if (!StrictlyInside(gl::kSlots[i].hit, m.x, m.y)) {
            glow[i].visible = false;
            continue;
        }
        if (m.Clicked()) {
            DxSound::Instance().PlaySe("se_decide.wav");
            Global::Instance().Set(gl::kSlots[i].host, "enemy");
            startFadeOut(ToMatch);
        }
        glow[i].visible = true;
    }
}

void SceneChrSelect::backToTitle() {
    if (!MouseController::Instance().RightClicked()) {
        return;
    }
    DxSound::Instance().PlaySe("se_cancel.wav");
    startFadeOut(ToTitle);
}

void SceneChrSelect::drawFrame() {
    DxGraphic& g = DxGraphic::Instance();
    g.BeginFrame();
    drawTree(&root, 0.0f, 0.0f, 0.0f);
    fade.Draw();
    g.EndFrame();
}

// --- Helpers -------------------------------------------------------------------------------------

void SceneChrSelect::startFadeOut(FadeResult result) {
    fade.result = result;
    fade.Start(gl::kClearBlack, gl::kOpaqueBlack, gl::kSelectFadeFrames);
}

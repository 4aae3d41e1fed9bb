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
    keyedSlot = kNoSlot;

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
    pickHostByKeys();
    if (keyedSlot == kNoSlot) {
        pickHost();
    }
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
            pick(static_cast<int>(i));
        }
        glow[i].visible = true;
    }
}

// Once an arrow has lit a slot the mouse has no say until it moves or clicks; then the glows
// follow it again from the same frame. With nothing lit the first arrow lights slot 0.
void SceneChrSelect::pickHostByKeys() {
    using platform::KeyCode;
    const MouseController& m = MouseController::Instance();
    // The arrows move on from the lit slot: the keyed one, else the highest one under the mouse.
    int lit = keyedSlot;
    for (size_t i = 0; lit == kNoSlot && i < glow.size(); ++i) {
        if (glow[glow.size() - 1 - i].visible) {
            lit = static_cast<int>(glow.size() - 1 - i);
        }
    }
    const gl::SlotNeighbours* from = lit == kNoSlot ? nullptr : &gl::kSlotNeighbours[lit];
    int next = kNoSlot;
    if (m.KeyPressed(KeyCode::Left)) {
        next = from != nullptr ? from->left : 0;
    } else if (m.KeyPressed(KeyCode::Right)) {
        next = from != nullptr ? from->right : 0;
    } else if (m.KeyPressed(KeyCode::Up)) {
        next = from != nullptr ? from->up : 0;
    } else if (m.KeyPressed(KeyCode::Down)) {
        next = from != nullptr ? from->down : 0;
    }
    if (next != kNoSlot) {
        keyedSlot = next;
    } else if (keyedSlot != kNoSlot && (m.x != m.previousX || m.y != m.previousY || m.Clicked())) {
        keyedSlot = kNoSlot;
        return;
    }
    if (keyedSlot == kNoSlot) {
        return;
    }
    for (size_t i = 0; i < glow.size(); ++i) {
        glow[i].visible = static_cast<int>(i) == keyedSlot;
    }
    if (m.KeyPressed(KeyCode::Return)) {
        pick(keyedSlot);
    }
}

void SceneChrSelect::backToTitle() {
    using platform::KeyCode;
    const MouseController& m = MouseController::Instance();
    if (!m.RightClicked() && !m.KeyPressed(KeyCode::Escape) && !m.KeyPressed(KeyCode::Backspace)) {
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

void SceneChrSelect::pick(int slot) {
    DxSound::Instance().PlaySe("se_decide.wav");
    Global::Instance().Set(gl::kSlots[slot].host, "enemy");
    startFadeOut(ToMatch);
}

void SceneChrSelect::startFadeOut(FadeResult result) {
    fade.result = result;
    fade.Start(gl::kClearBlack, gl::kOpaqueBlack, gl::kSelectFadeFrames);
}

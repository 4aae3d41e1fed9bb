#include "scenes/menu/scene_look_cg.h"

#include <string>

#include "app/mouse_controller.h"
#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "platform/debug.h"
#include "platform/text_encoding.h"
#include "scenes/menu/gallery_layout.h"
#include "scenes/menu/gallery_scripts.h"
#include "sound/dx_sound.h"

namespace gl = menu::gallery;

namespace {

void UseRect(Image& image, const gl::Rect& r) {
    image.useSourceRect = true;
    image.sourceRect = {r.left, r.top, r.right, r.bottom};
}

// Names the picture of a layer; a missing variant leaves the layer without one (never shown).
void LoadLayer(Image& image, const char* name, bool visible) {
    if (name[0] == '\0') {
        image.textureName.clear();
        image.visible = false;
        return;
    }
    image.loadTexture(name, visible);
}

}  // namespace

// --- Scene ---------------------------------------------------------------------------------------

void SceneLookCG::Enter(int) {
    const Global& global = Global::Instance();
    opponent = global.Get("enemy");
    if (opponent < 0 || opponent >= gl::kHostCount) {
        platform::OutputDebug(SJ("SceneLookCG : 対戦相手の番号が範囲外のため 0 にしました"));
        opponent = 0;
    }
    item = global.Get("cg");
    if (item < 0 || item >= gl::kItemsPerHost) {
        platform::OutputDebug(SJ("SceneLookCG : 項目の番号が範囲外のため 0 にしました"));
        item = 0;
    }
    mode = item == gl::kItemStory ? Story : item == gl::kItemStands ? Stands : Illustration;

    switch (mode) {
        case Story: enterStory(); break;
        case Stands: enterStands(); break;
        case Illustration: enterIllustration(); break;
    }

    needEntry = true;
    scriptIndex = 0;
    illustration = 0;
    peeled = 0;
    fade.Start(gl::kOpaqueBlack, gl::kClearBlack, gl::kGalleryFadeInFrames);
}

void SceneLookCG::Leave() {
    if (mode == Story) {
        DxSound& sound = DxSound::Instance();
        sound.StopBgm();
        sound.CloseBgm();
    }
    DxGraphic::Instance().ReleaseAllTextures();
    DxGraphic::Instance().ReleaseAllCanvases();
}

void SceneLookCG::Update(int* nextSceneId) {
    if (finishFade(nextSceneId)) {
        return;
    }
    if (!fade.active) {
        const MouseController& m = MouseController::Instance();
        MouseController::Instance().Update(true);
        if (m.KeyPressed(platform::KeyCode::Escape) || m.KeyPressed(platform::KeyCode::Backspace)) {
            window.shown = false;
            startFadeOut(Back);
            drawFrame();
            return;
        }
        switch (mode) {
            case Story: storyFrame(); break;
            case Illustration: illustrationFrame(); break;
            case Stands: standsFrame(); break;
        }
    }
    drawFrame();
}

// --- Enter ---------------------------------------------------------------------------------------

void SceneLookCG::enterStory() {
    for (int i = 0; i < gl::kIllustrationCount; ++i) {
        for (int v = 0; v < gl::kVariantCount; ++v) {
            LoadLayer(layer(i, v), gl::kIllustrations[opponent][i][v], false);
            root.addChild(&layer(i, v));
        }
        scripts[i] = menu::LoadGalleryScript(i + opponent * gl::kIllustrationCount);
    }
    layer(0, 0).visible = true;

    // The frame hangs below the background node, which the window puts at the text's place.
    frameLeft.loadTexture(gl::kFrameSheet, true);
    UseRect(frameLeft, gl::kFrameLeft);
    frameLeft.position = {static_cast<float>(-gl::kTextInset.x), static_cast<float>(-gl::kTextInset.y), 0.0f};
    frameRight.loadTexture(gl::kFrameSheet, true);
    UseRect(frameRight, gl::kFrameRight);
    frameRight.position = {static_cast<float>(gl::kFrameLeft.right - gl::kFrameLeft.left - gl::kTextInset.x),
                           static_cast<float>(-gl::kTextInset.y), 0.0f};
    window.background.addChild(&frameLeft);
    window.background.addChild(&frameRight);
    window.surface.CreateCanvas(gl::kTextCanvas, gl::kTextWidth, gl::kTextHeight);
    window.fontSize = gl::kTextFontSize;
    window.wrapWidth = gl::kTextWidth;
    window.framesPerStep = gl::kTextFramesPerChar;
    window.textX = gl::kFramePosition.x + gl::kTextInset.x;
    window.textY = gl::kFramePosition.y + gl::kTextInset.y;
    window.shown = false;
    window.setText("");
    root.addChild(&window);

    DxSound& sound = DxSound::Instance();
    sound.OpenBgm(gl::kStoryMusic);
    sound.SetBgmLoopPoint(0, gl::kStoryMusicLoop, 0);
    sound.PlayBgm();
}

void SceneLookCG::enterStands() {
    hitArea.loadTexture(gl::kStandBackdrop, true);
    UseRect(hitArea, gl::kStandBackdropSource);
    root.addChild(&hitArea);
    for (int k = 0; k < gl::kStandCount; ++k) {
        stands[k].loadTexture(gl::kStands[opponent][k], true);
        stands[k].position = {static_cast<float>(gl::kStandPosition.x), static_cast<float>(gl::kStandPosition.y), 0.0f};
    }
    for (int k = gl::kStandCount - 1; k >= 0; --k) {
        root.addChild(&stands[k]);
    }
}

void SceneLookCG::enterIllustration() {
    LoadLayer(layers[0], gl::kIllustrations[opponent][item][0], true);
    root.addChild(&layers[0]);
    variantCount = 0;
    const char* second = gl::kIllustrations[opponent][item][1];
    if (second[0] != '\0') {
        variantCount = 1;
        LoadLayer(layers[1], second, false);
        root.addChild(&layers[1]);
    }
    shownLayer = 0;
}

// --- Frame ---------------------------------------------------------------------------------------

bool SceneLookCG::finishFade(int* nextSceneId) {
    switch (fade.Step()) {
        case Back:
            *nextSceneId = Global::Instance().Get("isCgMode") != 0 ? kSceneCgMode : kSceneTitle;
            return true;
        case WhiteOutDone:
            showSecondVariant();
            fade.result = WhiteBackDone;
            fade.Start(gl::kOpaqueWhite, gl::kClearWhite, gl::kWhiteReturnFrames);
            break;
        case WhiteBackDone:
            fade.result = PauseDone;
            fade.Start(gl::kClearWhite, gl::kClearWhite, gl::kWhitePauseFrames);
            break;
        case ScriptDone:
            ++illustration;
            needEntry = true;
            scriptIndex = 0;
            for (Image& l : layers) {
                l.visible = false;
            }
            layer(illustration, 0).visible = true;
            fade.result = NextShown;
            fade.Start(gl::kOpaqueBlack, gl::kClearBlack, gl::kGalleryFadeInFrames);
            break;
        default:
            break;
    }
    return false;
}

void SceneLookCG::storyFrame() {
    if (needEntry) {
        takeEntry();
    }
    window.step();
    const MouseController& m = MouseController::Instance();
    if (m.KeyHeld(platform::KeyCode::LeftControl)) {
        advance();
    }
    if (m.RightClicked()) {
        window.shown = !window.shown;
    }
    if (Advanced()) {
        if (!window.shown) {
            window.shown = true;
        } else {
            advance();
        }
    }
}

void SceneLookCG::illustrationFrame() {
    if (!Advanced()) {
        return;
    }
    if (shownLayer >= variantCount) {
        startFadeOut(Back);
        return;
    }
    layers[shownLayer].visible = false;
    ++shownLayer;
    layers[shownLayer].visible = true;
}

void SceneLookCG::standsFrame() {
    const MouseController& m = MouseController::Instance();
    const bool keyed = m.KeyPressed(platform::KeyCode::Return) || m.KeyPressed(platform::KeyCode::Space);
    if (!keyed && (!m.Clicked() || !hitArea.contains(m.x, m.y))) {
        return;
    }
    ++peeled;
    if (peeled >= gl::kStandCount) {
        startFadeOut(Back);
        return;
    }
    stands[peeled - 1].visible = false;
}

void SceneLookCG::drawFrame() {
    DxGraphic& g = DxGraphic::Instance();
    g.BeginFrame();
    drawTree(&root, 0.0f, 0.0f, 0.0f);
    fade.Draw();
    g.EndFrame();
}

// --- Story ---------------------------------------------------------------------------------------

void SceneLookCG::takeEntry() {
    needEntry = false;
    const std::vector<std::string>& script = scripts[illustration];
    // A script that failed to load (or ran out) shows an empty message, which the next click
    // passes by.
    static const std::string kNothing;
    const std::string& entry = scriptIndex < static_cast<int>(script.size()) ? script[scriptIndex] : kNothing;
    if (entry == "next") {
        showSecondVariant();
        ++scriptIndex;
        needEntry = true;
    } else if (entry == "fade") {
        fade.result = WhiteOutDone;
        fade.Start(gl::kClearWhite, gl::kOpaqueWhite, gl::kWhiteOutFrames);
        ++scriptIndex;
        window.shown = false;
        needEntry = true;
    } else {
        window.shown = true;
        window.setText(entry.c_str());
    }
}

void SceneLookCG::advance() {
    if (!window.finished()) {
        window.finish();
        return;
    }
    ++scriptIndex;
    if (scriptIndex < static_cast<int>(scripts[illustration].size())) {
        needEntry = true;
        return;
    }
    window.shown = false;
    startFadeOut(illustration < gl::kIllustrationCount - 1 ? ScriptDone : Back);
}

void SceneLookCG::showSecondVariant() {
    Image& second = layer(illustration, 1);
    if (second.textureName.empty()) {
        return;  // no second variant: the first stays on screen
    }
    layer(illustration, 0).visible = false;
    second.visible = true;
}

// --- Helpers -------------------------------------------------------------------------------------

bool SceneLookCG::Advanced() {
    const MouseController& m = MouseController::Instance();
    return m.Clicked() || m.KeyPressed(platform::KeyCode::Return) || m.KeyPressed(platform::KeyCode::Space);
}

void SceneLookCG::startFadeOut(FadeResult result) {
    fade.result = result;
    fade.Start(gl::kClearBlack, gl::kOpaqueBlack, gl::kSelectFadeFrames);
}

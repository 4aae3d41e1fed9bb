#include "scenes/menu/scene_cg_mode.h"

#include <algorithm>

#include "app/mouse_controller.h"
#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "scenes/menu/gallery_layout.h"
#include "sound/dx_sound.h"

namespace gl = menu::gallery;

namespace {

constexpr int kBlendAdditive = 2;
constexpr int kMusicPlaying = 2;

void UseRect(Image& image, const gl::Rect& r) {
    image.useSourceRect = true;
    image.sourceRect = {r.left, r.top, r.right, r.bottom};
}

}  // namespace

// --- Scene ---------------------------------------------------------------------------------------

void SceneCgMode::Enter(int) {
    Global& global = Global::Instance();
    global.Set(1, "isCgMode");
    keyColumn = kNoColumn;

    background.loadTexture(gl::kSheet, true);
    UseRect(background, gl::kGalleryBackground);
    root.addChild(&background);

    for (int host = 0; host < gl::kHostCount; ++host) {
        stage[host] = global.GetStage(host);
        for (int i = 0; i < gl::kItemsPerHost; ++i) {
            const gl::Item& entry = gl::kItems[host * gl::kItemsPerHost + i];
            Image& item = items[host * gl::kItemsPerHost + i];
            if (entry.textured) {
                item.loadTexture(gl::kSheet, true);
            } else {
                item.visible = true;  // no picture to look up: a bare hot area
            }
            UseRect(item, {entry.left, entry.top, entry.left + entry.width, entry.top + entry.height});
            item.position = {static_cast<float>(entry.x), static_cast<float>(entry.y), 0.0f};
            if (stage[host] < gl::kUnlockStage) {
                item.visible = false;
            }
            root.addChild(&item);
        }
        // The standing pictures' area is never drawn, only hovered.
        items[host * gl::kItemsPerHost + gl::kItemStands].visible = false;
    }

    cursor.loadTexture(gl::kSheet, false);
    UseRect(cursor, gl::kGalleryCursor);
    cursor.blendMode = kBlendAdditive;
    root.addChild(&cursor);

    DxSound& sound = DxSound::Instance();
    if (sound.BgmState() != kMusicPlaying) {
        sound.OpenBgm(gl::kMenuMusic);
        sound.SetBgmLoopPoint(0, gl::kMenuMusicLoop, 0);
        sound.PlayBgm();
    }

    fade.Start(gl::kOpaqueBlack, gl::kClearBlack, gl::kGalleryFadeInFrames);
}

void SceneCgMode::Leave() {
    if (Global::Instance().Get("cg") == gl::kItemStory) {
        DxSound& sound = DxSound::Instance();
        sound.StopBgm();
        sound.CloseBgm();
    }
    DxGraphic::Instance().ReleaseAllTextures();
    DxGraphic::Instance().ReleaseAllCanvases();
}

void SceneCgMode::Update(int* nextSceneId) {
    if (finishFade(nextSceneId)) {
        return;
    }
    MouseController::Instance().Update(!fade.active);
    cursor.visible = false;
    chooseItemByKeys();
    if (keyColumn == kNoColumn) {
        chooseItem();
    }
    backToTitle();
    drawFrame();
}

// --- Frame ---------------------------------------------------------------------------------------

bool SceneCgMode::finishFade(int* nextSceneId) {
    switch (fade.Step()) {
        case ToViewer: *nextSceneId = kSceneLookCg; return true;
        case ToTitle: *nextSceneId = kSceneTitle; return true;
        default: return false;
    }
}

// Hit boxes ignore visibility: the hidden standing-picture area of an unlocked column answers
// the mouse (without a cursor), a locked column does not.
void SceneCgMode::chooseItem() {
    const MouseController& m = MouseController::Instance();
    for (int host = 0; host < gl::kHostCount; ++host) {
        for (int i = 0; i < gl::kItemsPerHost; ++i) {
            const gl::Item& entry = gl::kItems[host * gl::kItemsPerHost + i];
            if (!items[host * gl::kItemsPerHost + i].contains(m.x, m.y) || stage[host] < gl::kUnlockStage) {
                continue;
            }
            if (entry.textured) {
                frameItem(entry, i);
            }
            if (m.Clicked()) {
                open(host, i);
            }
        }
    }
}

// Columns are walked in screen order, skipping the closed ones; the first arrow frames the first
// illustration of the leftmost open column. Once the arrows lead, the mouse has no say until it
// moves or clicks.
void SceneCgMode::chooseItemByKeys() {
    using platform::KeyCode;
    const MouseController& m = MouseController::Instance();
    std::array<int, gl::kHostCount> byX{0, 1, 2, 3, 4};
    std::sort(byX.begin(), byX.end(),
              [](int a, int b) { return gl::kItems[a * gl::kItemsPerHost].x < gl::kItems[b * gl::kItemsPerHost].x; });
    std::array<int, gl::kHostCount> columns{};  // hosts of the open columns, left to right
    int openCount = 0;
    for (int host : byX) {
        if (stage[host] >= gl::kUnlockStage) {
            columns[openCount++] = host;
        }
    }

    const bool left = m.KeyPressed(KeyCode::Left), right = m.KeyPressed(KeyCode::Right);
    const bool up = m.KeyPressed(KeyCode::Up), down = m.KeyPressed(KeyCode::Down);
    if (openCount > 0 && (left || right || up || down)) {
        if (keyColumn == kNoColumn) {
            keyColumn = 0;
            keyRow = 1;  // the first illustration
        } else if (left || right) {
            keyColumn = (keyColumn + (right ? 1 : openCount - 1)) % openCount;
        } else {
            keyRow = (keyRow + (down ? 1 : gl::kItemsPerHost - 1)) % gl::kItemsPerHost;
        }
    } else if (keyColumn != kNoColumn && (m.x != m.previousX || m.y != m.previousY || m.Clicked())) {
        keyColumn = kNoColumn;
        return;
    }
    if (keyColumn == kNoColumn) {
        return;
    }
    const int host = columns[keyColumn];
    const int item = gl::kKeyRowOrder[keyRow];
    frameItem(gl::kItems[host * gl::kItemsPerHost + item], item);
    if (m.KeyPressed(KeyCode::Return)) {
        open(host, item);
    }
}

void SceneCgMode::backToTitle() {
    using platform::KeyCode;
    const MouseController& m = MouseController::Instance();
    if (!m.RightClicked() && !m.KeyPressed(KeyCode::Escape) && !m.KeyPressed(KeyCode::Backspace)) {
        return;
    }
    // "cg" 3 makes Leave close the menu music, so that the title starts it afresh.
    Global::Instance().Set(gl::kItemStory, "cg");
    DxSound::Instance().PlaySe("se_cancel.wav");
    startFadeOut(ToTitle);
}

void SceneCgMode::drawFrame() {
    DxGraphic& g = DxGraphic::Instance();
    g.BeginFrame();
    drawTree(&root, 0.0f, 0.0f, 0.0f);
    fade.Draw();
    g.EndFrame();
}

// --- Helpers -------------------------------------------------------------------------------------

void SceneCgMode::open(int host, int item) {
    Global::Instance().Set(host, "enemy");
    Global::Instance().Set(item, "cg");
    DxSound::Instance().PlaySe("se_decide.wav");
    startFadeOut(ToViewer);
}

void SceneCgMode::frameItem(const gl::Item& entry, int item) {
    cursor.visible = true;
    if (item == gl::kItemStands) {
        cursor.position = {static_cast<float>(entry.x + gl::kStandsCursorOffset.x),
                           static_cast<float>(entry.y + gl::kStandsCursorOffset.y), 0.0f};
        return;
    }
    cursor.position = {static_cast<float>(entry.x - entry.margin), static_cast<float>(entry.y - entry.margin), 0.0f};
}

void SceneCgMode::startFadeOut(FadeResult result) {
    fade.result = result;
    fade.Start(gl::kClearBlack, gl::kOpaqueBlack, gl::kSelectFadeFrames);
}

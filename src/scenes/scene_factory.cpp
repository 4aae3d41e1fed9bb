#include "app/scene.h"
#include "scenes/match/scene_game.h"
#include "scenes/menu/scene_cg_mode.h"
#include "scenes/menu/scene_chr_select.h"
#include "scenes/menu/scene_cm.h"
#include "scenes/menu/scene_look_cg.h"
#include "scenes/menu/scene_title.h"

// The scene for each id; ids without a scene give nullptr and the manager idles.
Scene* CreateScene(int id) {
    switch (id) {
        case kSceneTitle: return new SceneTitle();
        case kSceneChrSelect: return new SceneChrSelect();
        case kSceneGame: return new SceneGame();
        case kSceneCgMode: return new SceneCgMode();
        case kSceneLookCg: return new SceneLookCG();
        case kSceneCm: return new SceneCM();
        default:
            return nullptr;
    }
}

#include "app/scene.h"
#include "scenes/menu/scene_cm.h"
#include "scenes/menu/scene_title.h"

// Scenes are added here as they are built; ids without a scene give nullptr and the manager idles.
Scene* CreateScene(int id) {
    switch (id) {
        case kSceneTitle:
            return new SceneTitle();
        case kSceneCm:
            return new SceneCM();
        default:
            return nullptr;
    }
}

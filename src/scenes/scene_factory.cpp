#include "app/scene.h"
#include "scenes/match/scene_game.h"

// Scenes are added here as they are built; ids without a scene give nullptr and the manager idles.
Scene* CreateScene(int id) {
    switch (id) {
        case kSceneGame: return new SceneGame();
        default:
            return nullptr;
    }
}

#include "app/scene.h"

// Scenes are added here as they are built; ids without a scene give nullptr and the manager idles.
Scene* CreateScene(int id) {
    switch (id) {
        default:
            return nullptr;
    }
}

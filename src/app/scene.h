#pragma once

// Scene ids.
enum SceneId {
    kSceneTitle = 2,
    kSceneChrSelect = 3,
    kSceneGame = 4,
    kSceneCgMode = 7,
    kSceneLookCg = 8,
    kSceneCm = 9,
    kSceneQuit = 10,
};

// One screen of the program. Exactly one is alive at a time; it asks for its successor by
// writing a scene id through the pointer Update receives.
class Scene {
public:
    virtual ~Scene() = default;
    // Called once right after construction with the id of the scene that ran before (0 first).
    virtual void Enter(int previousSceneId) = 0;
    // Called once when the scene asked for another one, before it is destroyed.
    virtual void Leave() = 0;
    // Called once per frame: logic and the whole frame's drawing.
    virtual void Update(int* nextSceneId) = 0;
};

// Creates the scene for an id, or nullptr for ids without a scene. Defined with the scenes
// (src/scenes/scene_factory.cpp); the process entry hands it to the Application.
Scene* CreateScene(int id);

// Hides the main window and posts the quit message: the main loop ends after this pass and the
// running scene is destroyed without Leave (scene id 10 instead gives Leave first).
void HideWindowAndQuit();

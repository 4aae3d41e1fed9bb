#pragma once
#include <array>

#include "app/scene.h"
#include "widgets/screen_fade.h"
#include "scenes/menu/gallery_layout.h"
#include "widgets/image.h"

// The gallery's selection: five columns, one per host, each with three illustrations, the
// scripted story and an invisible hot area for the standing pictures over the column's top. A
// column shows (and answers the mouse) once its host's saved stage is 3 or more. A click on an
// item fades to the viewer (8); a right click fades back to the title (2). By keys: the arrows
// frame an item of an open column (until the mouse moves again), Enter opens it, Escape or
// Backspace goes back like the right click. Keeps the menu music
// running, starting it when none plays, and closes it on leaving when "cg" is 3 (the story view
// plays its own track; the title restarts the menu music).
// Global: reads "stage_0".."stage_4" and "cg"; writes "isCgMode" (1), "enemy" and "cg".
class SceneCgMode : public Scene {
public:
    SceneCgMode() = default;
    SceneCgMode(const SceneCgMode&) = delete;
    SceneCgMode& operator=(const SceneCgMode&) = delete;

    // --- Scene ---------------------------------------------------------------------------------
    void Enter(int previousSceneId) override;
    void Leave() override;
    void Update(int* nextSceneId) override;

private:
    enum FadeResult : int { ToViewer = 0, ToTitle = 1 };

    // --- Frame ---------------------------------------------------------------------------------
    // Hands the finished fade's result on as the next scene id; true when the scene is done.
    bool finishFade(int* nextSceneId);
    // The cursor frames the item under the mouse; a left click on it opens it.
    void chooseItem();
    // The arrows move the keyboard's cursor over the open columns; Enter opens its item.
    void chooseItemByKeys();
    // A right click (or Escape, Backspace) leads back to the title.
    void backToTitle();
    void drawFrame();

    // --- Helpers -------------------------------------------------------------------------------
    void startFadeOut(FadeResult result);
    void open(int host, int item);
    // Frames an item with the cursor (the standing pictures' area only by keys).
    void frameItem(const menu::gallery::Item& entry, int item);

    // --- Keyboard ---
    static constexpr int kNoColumn = -1;
    int keyColumn = kNoColumn;     // screen column the arrows chose; kNoColumn while the mouse leads
    int keyRow = 0;                // index into the key row order

    ScreenFade fade;
    std::array<int, 5> stage{};    // saved progress per host, read on entry
    Image root;                    // invisible container, drawn in child order
    Image background;
    std::array<Image, 25> items;   // host * 5 + item
    Image cursor;                  // additive frame around the hovered thumbnail
};

#pragma once
#include <array>
#include <string>
#include <vector>

#include "app/scene.h"
#include "widgets/screen_fade.h"
#include "widgets/image.h"
#include "widgets/message_window.h"

// The gallery's viewer, in one of three ways chosen by "cg": 0..2 one illustration of the host,
// a click swapping to its second variant where there is one; 3 the host's scripted story over
// three illustrations, typed into a message window one entry per click, with its own music;
// 4 the host's three standing pictures, peeled away one per click. Owns the pictures, the window
// and the scripts. Enter or Space acts as the left click wherever the viewer takes one; Escape or
// Backspace leaves at once. Leaves for 7 when it was opened from the gallery ("isCgMode" not 0),
// else 2.
// Global: reads "enemy", "cg" and "isCgMode".
class SceneLookCG : public Scene {
public:
    enum Mode : int { Illustration = 0, Story = 1, Stands = 2 };

    SceneLookCG() = default;
    SceneLookCG(const SceneLookCG&) = delete;
    SceneLookCG& operator=(const SceneLookCG&) = delete;

    // --- Scene ---------------------------------------------------------------------------------
    void Enter(int previousSceneId) override;
    void Leave() override;
    void Update(int* nextSceneId) override;

private:
    // Fade results: what follows the end of a fade.
    enum FadeResult : int {
        Back = 0,          // fade-out done: leave
        WhiteOutDone = 1,  // "fade": swap to the second variant under full white
        WhiteBackDone = 2, // then a pause without input
        PauseDone = 3,
        ScriptDone = 10,   // fade-out done: the next illustration's script
        NextShown = 11,
    };

    // --- Enter ---------------------------------------------------------------------------------
    void enterStory();
    void enterStands();
    void enterIllustration();

    // --- Frame ---------------------------------------------------------------------------------
    // Acts on the result of a fade that just ended; true when the scene is done.
    bool finishFade(int* nextSceneId);
    void storyFrame();
    void illustrationFrame();
    void standsFrame();
    void drawFrame();

    // --- Story ---------------------------------------------------------------------------------
    // Takes the script's next entry: a command acts at once, a message goes to the window.
    void takeEntry();
    // Completes the message being typed, or moves on to the next entry (or illustration).
    void advance();
    // Swaps the current illustration to its second variant (none: it stays as it is).
    void showSecondVariant();

    // --- Helpers -------------------------------------------------------------------------------
    void startFadeOut(FadeResult result);
    // A left click, or Enter or Space, this frame.
    static bool Advanced();
    Image& layer(int illustrationIndex, int variant) { return layers[illustrationIndex * 2 + variant]; }

    ScreenFade fade;
    MessageWindow window;          // the story's text, over its two-piece frame
    Image frameLeft;               // frame pieces, children of window.background
    Image frameRight;
    Image root;                    // invisible container: the pictures, then the window
    Image hitArea;                 // the standing pictures' backdrop, also their click area
    std::array<Image, 6> layers;   // illustration * 2 + variant
    std::array<Image, 3> stands;   // stand 0 on top

    // --- State ---
    int opponent = 0;              // host 0..4
    int item = 0;                  // "cg" 0..4
    Mode mode = Illustration;
    int illustration = 0;          // story: illustration 0..2 being told
    int scriptIndex = 0;           // story: entry of the current script
    bool needEntry = true;         // story: take an entry on the next input frame
    int shownLayer = 0;            // illustration: layer on screen
    int variantCount = 0;          // illustration: 1 when a second variant exists
    int peeled = 0;                // stands: clicks so far, 0..3
    std::array<std::vector<std::string>, 3> scripts;  // story: Shift-JIS entries per illustration
};

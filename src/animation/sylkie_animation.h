#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "animation/anim_data.h"
#include "widgets/image.h"

// A drawable that holds the compositions of one animation file and plays one of them at a time.
// Every draw advances the playing composition by exactly one frame and draws the layers of the
// frame it has just processed; values hold from one key to the next (no interpolation). Markers
// play sound effects, request a screen shake through the global store and carry labels the
// scenes poll.
//
// Typical use by a scene:
//     anim.Load("menu_bg.bca");
//     anim.Play("menu_bg_01");
//     root.addChild(&anim);            // drawTree(&root, 0, 0, 0) then steps it once per frame
//     if (anim.CurrentLabel() == "appear") ...;
//     if (!anim.playing) ...;          // a non-looping composition has finished
class SylkieAnimation : public Image {
public:
    static constexpr const char* kHeader = "<SYLKIE_ANIMATION_FILE>";

    SylkieAnimation();
    ~SylkieAnimation() override;
    SylkieAnimation(const SylkieAnimation&) = delete;
    SylkieAnimation& operator=(const SylkieAnimation&) = delete;

    // Reads the named file from the animation archive. 0, or E_FAIL when the archive has no such
    // entry (a debug line is written and no compositions remain). Every texture the file names is
    // requested from the texture cache here, so playback never loads pictures.
    int Load(std::string_view name);
    // The same from bytes in memory (already descrambled). Always 0.
    int LoadFromMemory(const uint8_t* data, size_t size);
    // Deletes every composition; nothing is playing afterwards.
    void ReleaseAll();

    // Starts the named composition from frame 0: counters and cursors are reset, the layers'
    // sprites keep their last values until their keys come round again. E_FAIL when no
    // composition has that name; nothing is drawn then (the playing flag keeps its value).
    int Play(std::string_view name);

    // One playback step and the drawing of its layers; the offsets are not used (key positions
    // are screen coordinates). Nothing happens while not playing.
    void draw(float dx, float dy, float dz) override;
    // Its children are drawn by draw, at (0, 0, 0) and only while playing.
    bool drawsOwnChildren() const override { return true; }
    void Draw() { draw(0.0f, 0.0f, 0.0f); }

    // The label of the frame the next draw will process, or "" (also when nothing is current).
    const std::string& CurrentLabel() const;

    // True while a composition plays; turns false on the step that finishes a non-looping one.
    // Scenes may write false to stop and hide the animation at once.
    bool playing = false;

    // ---- Inspection ----------------------------------------------------------------------------
    const AnimComposition* Find(std::string_view name) const;
    const AnimComposition* Current() const { return current_; }
    size_t CompositionCount() const { return compositions_.size(); }
    std::vector<std::string> CompositionNames() const;
    bool HeaderSeen() const { return headerSeen_; }

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using Table = std::unordered_map<std::string, std::unique_ptr<AnimComposition>, Hash, std::equal_to<>>;

    void ParseLine(std::string_view line);
    void ParseComposition(std::string_view args);
    void ParseMarker(std::string_view args);
    void ParseLayer(std::string_view args);
    void ParseImage(AnimLayer& layer, int32_t frame, std::string_view text);

    // One step of the composition; false when it has just finished.
    bool StepComposition(AnimComposition& c, float hostAlpha);
    static void StepLayer(AnimLayer& layer, int32_t frame, float hostAlpha);

    Table compositions_;
    bool headerSeen_ = false;
    AnimComposition* parsing_ = nullptr;  // the composition receiving lines while reading
    AnimComposition* current_ = nullptr;  // the composition playing
};

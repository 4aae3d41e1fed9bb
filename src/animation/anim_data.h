#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "widgets/image.h"

// What an animation file (".bca") turns into: named compositions, each a timeline of layers with
// keyed tracks plus markers. Frames are stored 0-based; layer keys count from the layer's start,
// markers from the composition's first frame.
//
// The file is text, one item per line (CR LF; LF alone is accepted), read only after a line that
// starts with <SYLKIE_ANIMATION_FILE>. Fields are separated by spaces; "quoted" fields may hold
// spaces. Frames in the file count from 1.
//   #COMPOSITION name width height length frameRate
//   #MARKER frame LOOP | SOUND name | SHAKE x y time | any other word (a label)
//   #LAYER id inPoint width height duration Image|PlaneLayer Normal|Add
//   #IMAGE frame picture.png        (plane layers: a colour number such as 0x202040)
//   #POSITION frame x y z           (x, y: the layer's centre on screen)
//   #SCALE frame x y z              (percent)
//   #ROTATION frame x y z           (degrees)
//   #ALPHA frame value              (percent)
// Key lines belong to the last #LAYER; each track needs strictly increasing frames, one key per
// frame. Values hold until the next key of their track.

struct AnimImageKey {
    int32_t frame = 0;
    std::string text;  // texture name, or the colour number of a plane layer
};

struct AnimVectorKey {
    int32_t frame = 0;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct AnimAlphaKey {
    int32_t frame = 0;
    float value = 0.0f;  // percent opacity
};

struct AnimShakeMarker {
    int32_t frame = 0;  // absolute composition frame
    float x = 0.0f;
    float y = 0.0f;
    float time = 0.0f;
};

// Playback positions in a layer's five key tracks: the next key to apply in each, plus the alpha
// key applied most recently (which holds the opacity between alpha keys).
struct AnimLayerCursors {
    size_t image = 0;
    size_t position = 0;
    size_t scale = 0;
    size_t rotation = 0;
    size_t alpha = 0;
    size_t lastAlpha = 0;
};

struct AnimLayer {
    static constexpr int32_t kTypeImage = 0;
    static constexpr int32_t kTypePlane = 1;
    static constexpr int32_t kBlendNormal = 1;
    static constexpr int32_t kBlendAdd = 2;

    int32_t id = 0;
    int32_t start = 0;     // first composition frame the layer shows
    int32_t width = 0;
    int32_t height = 0;
    int32_t duration = 0;  // shown while start <= frame <= start + duration
    int32_t type = kTypeImage;
    std::string name;      // never filled by the format
    int32_t blend = kBlendNormal;
    Image sprite;

    std::vector<AnimImageKey> imageKeys;
    std::vector<AnimVectorKey> positionKeys;
    std::vector<AnimVectorKey> scaleKeys;
    std::vector<AnimVectorKey> rotationKeys;
    std::vector<AnimAlphaKey> alphaKeys;

    AnimLayerCursors cursors;
    // Copy taken when playback first reaches the loop frame; restored on every jump back. It
    // starts at the first keys, which is exactly right for a loop back to frame 0 (that frame is
    // never "arrived at" by counting, so no copy would otherwise be taken for it).
    AnimLayerCursors saved;
};

struct AnimComposition {
    int32_t width = 0;
    int32_t height = 0;
    int32_t length = 0;     // frames in the timeline
    int32_t frameRate = 0;
    int32_t frameStep = 0;  // 60 / frameRate; 0 when frameRate is 0
    std::vector<AnimLayer> layers;  // file order; the first declared is drawn last (on top)
    std::unordered_map<int32_t, std::string> labels;
    std::unordered_map<int32_t, std::string> sounds;
    bool loopEnabled = false;
    int32_t loopFrame = 0;
    int32_t frame = 0;      // the frame the next step processes
    std::vector<AnimShakeMarker> shakes;
    size_t shakeCursor = 0;
    size_t savedShakeCursor = 0;
};

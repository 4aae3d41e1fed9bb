#pragma once
#include <string>
#include <vector>

#include "platform/platform.h"

namespace sceneshot {

// What one recorded frame costs drawn as the scene drew it, quad by quad with its own textures,
// and drawn as one batch: the same quads with every texel they sample copied into one atlas, so
// that the renderer needs no texture switch. Frames per second are medians over interleaved
// rounds; "differing" counts pixels of the batch's picture more than 2 levels off the scene's.
struct ReplayFigures {
    bool ok = false;
    std::string error;
    size_t quads = 0;
    size_t textures = 0;    // distinct textures the frame samples (0 = untextured counts as one)
    int atlasSide = 0;
    double sceneFps = 0;    // the recorded quads with their own textures
    double batchedFps = 0;  // the same through the atlas
    size_t differing = 0;
    int worst = 0;
};

ReplayFigures ReplayBatched(const std::vector<platform::Quad>& quads, uint32_t clearArgb, int framesPerRound,
                            int rounds);

}  // namespace sceneshot

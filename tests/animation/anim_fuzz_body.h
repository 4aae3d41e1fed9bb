#pragma once
#include <cstddef>
#include <cstdint>

#include "animation/sylkie_animation.h"

namespace animtest {

// True when every playback cursor of the composition lies inside its track.
inline bool CursorsInRange(const AnimComposition& c) {
    if (c.shakeCursor > c.shakes.size() || c.savedShakeCursor > c.shakes.size()) {
        return false;
    }
    for (const AnimLayer& l : c.layers) {
        for (const AnimLayerCursors* k : {&l.cursors, &l.saved}) {
            if (k->image > l.imageKeys.size() || k->position > l.positionKeys.size() ||
                k->scale > l.scaleKeys.size() || k->rotation > l.rotationKeys.size() ||
                k->alpha > l.alphaKeys.size() || (!l.alphaKeys.empty() && k->lastAlpha >= l.alphaKeys.size())) {
                return false;
            }
        }
    }
    return true;
}

// Reads the bytes as an animation file and plays every composition it yields for a while, at
// two host opacities. Returns false when a playback cursor left its track.
inline bool ExerciseAnimation(const uint8_t* data, size_t size) {
    SylkieAnimation a;
    a.LoadFromMemory(data, size);
    bool ok = true;
    for (const auto& name : a.CompositionNames()) {
        for (float host : {1.0f, 0.5f}) {
            a.alpha = host;
            a.Play(name);
            for (int i = 0; i < 160 && a.playing; ++i) {
                a.draw(0.0f, 0.0f, 0.0f);
                (void)a.CurrentLabel();
            }
            ok = ok && a.Current() != nullptr && CursorsInRange(*a.Current());
        }
    }
    return ok;
}

}  // namespace animtest

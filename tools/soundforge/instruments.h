#pragma once
// The lounge band: each instrument renders one note into a stereo buffer. A note is fully
// described by its fields (the seed drives any noise), so an identical note renders identical
// samples wherever it is placed; the looped tracks rely on that.
#include <cstdint>

#include "dsp.h"

namespace sf {

enum class Inst : uint8_t {
    EPiano,
    Vibes,
    Bass,
    Trumpet,   // muted trumpet
    Clarinet,
    BrushTap,  // brush stroke on the snare
    BrushSwish,
    Ride,
    Kick,
    HatFoot,
    Rim,
    Shaker,
    Pad,       // soft sustained string-like pad for the ballad and the credits
};

struct Note {
    Inst inst = Inst::EPiano;
    int64_t start = 0;  // first frame
    int64_t length = 0; // frames the note is held (key down)
    double pitch = 60;  // MIDI note number (drums: a tone parameter)
    float vel = 0.8f;   // 0..1
    float pan = 0.0f;
    uint64_t seed = 1;
};

// Adds the note to dry (and its reverb send to send) with the buffers' frame 0 at frame origin.
void RenderNote(const Note& n, Stereo& dry, Stereo& send, int64_t origin);

// Frames the note still sounds after its key is released (upper bound).
int64_t NoteTail(const Note& n);

}  // namespace sf

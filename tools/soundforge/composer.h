#pragma once
// Turns chord charts, written melodies and style rules into notes for the band, and renders
// them into a finished stereo track with exact length and loop seam.
#include <string>
#include <vector>

#include "dsp.h"
#include "instruments.h"

namespace sf {

struct Chord {
    int root = 0;     // pitch class
    int quality = 0;  // index into the quality table
};

struct ChordSpan {
    double beat = 0;  // from the start of the chart
    double len = 4;
    Chord chord;
};

enum class Feel { Swing, Straight };

class Composer {
public:
    // framesPerBeat may be fractional; origin is the frame of beat 0.
    Composer(double framesPerBeat, int64_t origin, Feel feel, uint64_t seed);

    // Appends bars to the chart: "Dm6 | Em7b5 A7b9 | ..." (chords in a bar share it evenly).
    void Chart(const std::string& bars);
    int Bars() const { return bars_; }
    const Chord& ChordAt(double beat) const;

    // Written melody: tokens "A4:0.5", "Eb5:1.5", "r:1" from bar; transpose in semitones.
    void Melody(Inst inst, int bar, const std::string& tokens, int transpose, float vel, float pan);
    // Improvised line over the chart for the given bars.
    void Improvise(Inst inst, int bar, int count, int lo, int hi, float vel, float pan, double density);

    void CompSwing(int bar, int count, float vel);
    void CompBossa(int bar, int count, float vel);
    void CompBallad(int bar, int count, float vel, bool rolled);
    void CompArpeggio(int bar, int count, float vel, Inst inst, int lo);
    void PadChords(int bar, int count, float vel);

    void BassWalk(int bar, int count, float vel);
    void BassBossa(int bar, int count, float vel);
    void BassTwo(int bar, int count, float vel);

    void DrumsBrushes(int bar, int count, float vel, bool ride, bool fills);
    void DrumsBossa(int bar, int count, float vel);
    void DrumsBallad(int bar, int count, float vel, bool taps);
    void Cymbal(double beat, float vel);

    // Adds one note at a beat position (swing applied) with humanised timing and velocity.
    void Add(Inst inst, double beat, double lenBeats, double pitch, float vel, float pan);

    std::vector<Note>& Notes() { return notes_; }
    int64_t BeatToFrame(double beat) const;

private:
    double SwingMap(double beat) const;
    std::vector<int> Voicing(const Chord& c, int lo, int hi);

    double fpb_;
    int64_t origin_;
    Feel feel_;
    Rng rng_;
    uint64_t noteCounter_ = 0;
    int bars_ = 0;
    std::vector<ChordSpan> chords_;
    std::vector<Note> notes_;
    std::vector<int> lastVoicing_;
    int lastBass_ = 38;
};

// Chord helpers shared with the melody checks.
std::vector<int> ChordTones(const Chord& c);    // pitch classes of root, 3rd, 5th, 7th
std::vector<int> ChordScale(const Chord& c);    // pitch classes of the chord scale
bool ParseChord(const std::string& text, Chord& out);
bool ParsePitch(const std::string& text, int& midi);

struct TrackPlan {
    int64_t totalFrames = 0;  // file length
    int64_t loopStart = -1;   // loop target (-1: not looped)
    int64_t loopEnd = 0;      // loop trigger
    double wet = 1.0;         // reverb return level
    double roomSize = 0.84, damp = 0.35;
    double fadeOutSecs = 0;   // fade at the very end (tracks that are not looped)
    double targetRms = 0.1;
};

// Renders notes into the finished track. For looped tracks the notes after loopEnd must
// continue the music from loopStart (see MirrorLoop); the seam is then made sample-exact.
Stereo RenderTrack(std::vector<Note>& notes, const TrackPlan& plan);

// Copies the notes that start in [loopStart, loopStart + span) to after loopEnd, so that the
// music rendered past the trigger is the music that the loop target continues with.
void ExtendPastLoop(std::vector<Note>& notes, int64_t loopStart, int64_t loopEnd, int64_t span);

}  // namespace sf

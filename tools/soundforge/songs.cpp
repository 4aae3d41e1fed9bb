// The four background tracks and the title jingle: charts, written heads and arrangements.
#include "songs.h"

namespace sf {
namespace {

// Frames per beat so that `bars` bars fill exactly [from, to).
double BeatFrames(int64_t from, int64_t to, int bars) { return static_cast<double>(to - from) / (bars * 4.0); }

// Copies the notes of the last `window` frames before the loop trigger to just before the loop
// target, so that an intro ending there runs into the loop exactly as the loop's end does.
void MirrorIntro(std::vector<Note>& notes, int64_t loopStart, int64_t loopEnd, int64_t window) {
    const int64_t shift = loopEnd - loopStart;
    const size_t n = notes.size();
    for (size_t i = 0; i < n; ++i) {
        if (notes[i].start >= loopEnd - window && notes[i].start < loopEnd && notes[i].start - shift >= 0) {
            Note c = notes[i];
            c.start -= shift;
            notes.push_back(c);
        }
    }
}

}  // namespace

// Match: D minor swing, walking bass, a little tension. Intro of about 7 s, then a 96-bar loop.
Stereo SongGame() {
    constexpr int64_t kLoopStart = 307146, kLoopEnd = 8286519;
    const int bars = 96;
    Composer c(BeatFrames(kLoopStart, kLoopEnd, bars), kLoopStart, Feel::Swing, 0x6A11E);
    const std::string A = "Dm6 | Dm6 | Em7b5 | A7b9 | Dm7 | Gm7 C7 | Fmaj7 | Em7b5 A7b9 |";
    const std::string B = "Gm7 | C7 | Fmaj7 | Bbmaj7 | Em7b5 | A7b9 | Dm6 | Em7b5 A7b9 |";
    const std::string Afin = "Dm6 | Dm6 | Em7b5 | A7b9 | Dm7 | Gm7 C7 | Bbmaj7 | Em7b5 A7b9 |";
    c.Chart(A + A + B + A + A + A + B + A + A + A + B + Afin);

    const std::string headA =
        "r:0.5 A4:0.5 D5:0.5 F5:0.5 A5:1.5 G5:0.5 | F5:1 E5:0.5 D5:0.5 B4:2 | "
        "r:0.5 Bb4:0.5 D5:0.5 E5:0.5 G5:1.5 F5:0.5 | E5:1 C#5:0.5 Bb4:0.5 A4:2 | "
        "r:0.5 D5:0.5 F5:0.5 A5:0.5 C6:1.5 A5:0.5 | Bb5:1 A5:0.5 G5:0.5 E5:1 C5:1 | "
        "F5:1.5 E5:0.5 C5:1 A4:1 | G4:1 Bb4:0.5 D5:0.5 C#5:2";
    const std::string headB =
        "r:1 D5:0.5 F5:0.5 Bb5:1 A5:1 | G5:1.5 E5:0.5 Bb4:2 | r:0.5 C5:0.5 E5:0.5 G5:0.5 A5:2 | "
        "F5:1 D5:1 A4:2 | r:0.5 G4:0.5 Bb4:0.5 D5:0.5 F5:1.5 E5:0.5 | Eb5:1 C#5:1 A4:2 | "
        "r:0.5 F4:0.5 A4:0.5 D5:0.5 F5:2 | E5:1.5 D5:0.5 C#5:2";
    const std::string headFin =
        "r:0.5 A4:0.5 D5:0.5 F5:0.5 A5:1.5 G5:0.5 | F5:1 E5:0.5 D5:0.5 B4:2 | "
        "r:0.5 Bb4:0.5 D5:0.5 E5:0.5 G5:1.5 F5:0.5 | E5:1 C#5:0.5 Bb4:0.5 A4:2 | "
        "r:0.5 D5:0.5 F5:0.5 A5:0.5 D6:2";

    // Chorus 1: the head on muted trumpet over brushes.
    c.Melody(Inst::Trumpet, 0, headA, 0, 0.75f, 0.15f);
    c.Melody(Inst::Trumpet, 8, headA, 0, 0.78f, 0.15f);
    c.Melody(Inst::Trumpet, 16, headB, 0, 0.8f, 0.15f);
    c.Melody(Inst::Trumpet, 24, headA, 0, 0.78f, 0.15f);
    // Chorus 2: vibraphone solo, then the trumpet improvises.
    c.Improvise(Inst::Vibes, 32, 16, 62, 86, 0.7f, -0.35f, 1.0);
    c.Improvise(Inst::Trumpet, 48, 16, 60, 81, 0.72f, 0.15f, 0.9);
    // Chorus 3: the head again, vibes doubling an octave up, then the turnaround alone.
    c.Melody(Inst::Trumpet, 64, headA, 0, 0.8f, 0.15f);
    c.Melody(Inst::Trumpet, 72, headA, 0, 0.8f, 0.15f);
    c.Melody(Inst::Vibes, 72, headA, 12, 0.4f, -0.4f);
    c.Melody(Inst::Trumpet, 80, headB, 0, 0.82f, 0.15f);
    c.Melody(Inst::Trumpet, 88, headFin, 0, 0.78f, 0.15f);

    c.CompSwing(0, 32, 0.42f);
    c.CompSwing(32, 32, 0.38f);
    c.CompSwing(64, 32, 0.44f);
    c.BassWalk(0, bars, 0.85f);
    c.DrumsBrushes(0, 32, 0.8f, false, true);
    c.DrumsBrushes(32, 56, 0.85f, true, true);
    c.DrumsBrushes(88, 8, 0.8f, false, false);

    auto& notes = c.Notes();
    const int64_t bar = static_cast<int64_t>(BeatFrames(kLoopStart, kLoopEnd, bars) * 4.0);
    MirrorIntro(notes, kLoopStart, kLoopEnd, 3 * bar);
    // Before the mirrored turnaround: a soft opening chord.
    c.Add(Inst::Vibes, -14.5, 2.2, 62, 0.45f, -0.3f);
    c.Add(Inst::Vibes, -14.45, 2.2, 65, 0.4f, -0.2f);
    c.Add(Inst::Vibes, -14.4, 2.2, 69, 0.4f, -0.1f);
    c.Add(Inst::Bass, -14.5, 2.0, 38, 0.7f, 0.0f);
    c.Add(Inst::BrushSwish, -14.5, 2.5, 60, 0.6f, 0.0f);
    ExtendPastLoop(notes, kLoopStart, kLoopEnd, Secs(8.0));

    TrackPlan plan;
    plan.totalFrames = kLoopEnd;
    plan.loopStart = kLoopStart;
    plan.loopEnd = kLoopEnd;
    plan.wet = 0.8;
    return RenderTrack(notes, plan);
}

// Menus: an inviting bossa in F, 96 bars looping from 7,400,000 back to 0.
Stereo SongMenu() {
    constexpr int64_t kLoopEnd = 7400000;
    const int bars = 96;
    Composer c(BeatFrames(0, kLoopEnd, bars), 0, Feel::Straight, 0xB055A);
    const std::string A = "Fmaj7 | Bbmaj7 | Am7 | D7b9 | Gm7 | C7 | Fmaj7 Dm7 | Gm7 C7 |";
    const std::string B = "Cm7 | F7 | Bbmaj7 | Bbm6 | Am7 | D7b9 | Gm7 | C7 |";
    for (int k = 0; k < 3; ++k) c.Chart(A + A + B + A);

    const std::string headA =
        "r:1 A4:0.5 C5:1 E5:1.5 | D5:1.5 C5:0.5 A4:2 | r:0.5 G4:0.5 A4:0.5 C5:1 E5:1.5 | "
        "F#5:1.5 Eb5:0.5 D5:2 | r:0.5 D5:0.5 F5:1 Bb4:1.5 A4:0.5 | G4:1.5 Bb4:0.5 E5:2 | "
        "F5:1.5 E5:0.5 D5:1 A4:1 | G4:2 r:2";
    const std::string headA2 =
        "r:1 A4:0.5 C5:1 E5:1.5 | D5:1.5 C5:0.5 A4:2 | r:0.5 G4:0.5 A4:0.5 C5:1 E5:1.5 | "
        "F#5:1.5 Eb5:0.5 D5:2 | r:0.5 D5:0.5 F5:1 Bb4:1.5 A4:0.5 | G4:1.5 Bb4:0.5 E5:2 | "
        "F5:1.5 E5:0.5 C5:2 | A4:3 r:1";
    const std::string headB =
        "r:0.5 G4:0.5 Bb4:0.5 D5:0.5 Eb5:2 | D5:1 C5:0.5 A4:2.5 | r:0.5 F4:0.5 A4:0.5 C5:0.5 D5:2 | "
        "Db5:1.5 C5:0.5 G4:2 | r:0.5 E5:0.5 G5:1 E5:0.5 C5:1.5 | Eb5:1.5 D5:0.5 F#4:2 | "
        "r:1 Bb4:0.5 D5:0.5 F5:2 | E5:1 D5:0.5 C5:0.5 Bb4:2";

    c.Melody(Inst::Trumpet, 0, headA, 0, 0.72f, 0.15f);
    c.Melody(Inst::Trumpet, 8, headA2, 0, 0.74f, 0.15f);
    c.Melody(Inst::Trumpet, 16, headB, 0, 0.76f, 0.15f);
    c.Melody(Inst::Trumpet, 24, headA, 0, 0.74f, 0.15f);
    c.Improvise(Inst::Vibes, 32, 16, 62, 84, 0.68f, -0.35f, 0.8);
    c.Melody(Inst::Trumpet, 48, headB, 0, 0.76f, 0.15f);
    c.Melody(Inst::Vibes, 56, headA, 12, 0.62f, -0.35f);
    c.Melody(Inst::Trumpet, 64, headA, 0, 0.74f, 0.15f);
    c.Melody(Inst::Vibes, 64, headA, 12, 0.3f, -0.4f);
    c.Improvise(Inst::EPiano, 72, 8, 64, 86, 0.6f, 0.3f, 0.8);
    c.Melody(Inst::Trumpet, 80, headB, 0, 0.78f, 0.15f);
    c.Melody(Inst::Trumpet, 88, headA, 0, 0.74f, 0.15f);

    c.CompBossa(0, bars, 0.4f);
    c.BassBossa(0, bars, 0.85f);
    c.DrumsBossa(0, bars, 0.8f);
    for (int b = 0; b < bars; b += 16) c.Cymbal(b * 4.0, 0.35f);

    auto& notes = c.Notes();
    ExtendPastLoop(notes, 0, kLoopEnd, Secs(8.0));
    TrackPlan plan;
    plan.totalFrames = kLoopEnd;
    plan.loopStart = 0;
    plan.loopEnd = kLoopEnd;
    plan.wet = 0.9;
    return RenderTrack(notes, plan);
}

// Gallery: a tender ballad in E flat, clarinet over rolled electric piano; 40 bars looping from
// 6,300,000 back to 0.
Stereo SongGallery() {
    constexpr int64_t kLoopEnd = 6300000;
    const int bars = 40;
    Composer c(BeatFrames(0, kLoopEnd, bars), 0, Feel::Straight, 0xC6A11);
    const std::string A1 = "Ebmaj7 | Cm7 | Fm7 | Bb7 | Gm7 | C7b9 | Fm7 | Bb7 |";
    const std::string A2 = "Ebmaj7 | Cm7 | Fm7 | Bb7 | Gm7 | C7b9 | Fm7 Bb7 | Ebmaj7 |";
    const std::string B = "Abmaj7 | Abm6 | Gm7 | C7b9 | Fm7 | Bb7 | Ebmaj7 Cm7 | Fm7 Bb7 |";
    const std::string C = "Abmaj7 | Bb7 | Gm7 | Cm7 | Fm7 | Bb7sus | Ebmaj7 | Fm7 Bb7 |";
    c.Chart(A1 + A2 + B + A2 + C);

    const std::string head1 =
        "G4:1.5 Bb4:0.5 D5:2 | C5:1 Bb4:0.5 G4:0.5 Eb5:2 | Ab4:1.5 C5:0.5 Eb5:1 F5:1 | D5:3 r:1 | "
        "Bb4:1.5 D5:0.5 F5:2 | E5:1 Db5:0.5 Bb4:0.5 G4:2 | Ab4:1 C5:1 F5:1 Eb5:1 | D5:2 C5:1 Bb4:1";
    const std::string head2 =
        "G4:1.5 Bb4:0.5 D5:2 | C5:1 Bb4:0.5 G4:0.5 Eb5:2 | Ab4:1.5 C5:0.5 Eb5:1 F5:1 | D5:3 r:1 | "
        "Bb4:1.5 D5:0.5 F5:2 | E5:1 Db5:0.5 Bb4:0.5 G4:2 | Ab4:1 C5:1 D5:1 F5:1 | Eb5:3.5 r:0.5";
    const std::string bridge =
        "Eb5:1.5 F5:0.5 G5:2 | F5:1 Eb5:0.5 B4:0.5 Eb5:2 | D5:1.5 F5:0.5 Bb5:2 | Ab5:1 G5:0.5 E5:0.5 Db5:2 | "
        "C5:1.5 Eb5:0.5 Ab5:2 | G5:1 F5:1 D5:2 | Eb5:1.5 D5:0.5 C5:1 G4:1 | Ab4:1 C5:1 D5:2";

    c.Melody(Inst::Clarinet, 0, head1, 0, 0.7f, 0.1f);
    c.Melody(Inst::Clarinet, 8, head2, 0, 0.72f, 0.1f);
    c.Melody(Inst::Clarinet, 16, bridge, 0, 0.76f, 0.1f);
    c.Melody(Inst::Clarinet, 24, head2, 0, 0.74f, 0.1f);
    c.Melody(Inst::Vibes, 24, head2, 12, 0.32f, -0.4f);
    c.Improvise(Inst::Vibes, 32, 7, 63, 84, 0.6f, -0.3f, 0.55);

    c.CompBallad(0, bars, 0.42f, true);
    c.CompArpeggio(8, 8, 0.22f, Inst::Vibes, 67);
    c.PadChords(16, 24, 0.6f);
    c.BassTwo(0, bars, 0.8f);
    c.DrumsBallad(0, 16, 0.6f, false);
    c.DrumsBallad(16, 24, 0.65f, true);
    c.Cymbal(16 * 4.0, 0.3f);
    c.Cymbal(32 * 4.0, 0.3f);

    auto& notes = c.Notes();
    ExtendPastLoop(notes, 0, kLoopEnd, Secs(10.0));
    TrackPlan plan;
    plan.totalFrames = kLoopEnd;
    plan.loopStart = 0;
    plan.loopEnd = kLoopEnd;
    plan.wet = 1.2;
    plan.roomSize = 0.86;
    return RenderTrack(notes, plan);
}

// Credits: warm and rising, from C major up to D major, ending on a long chord. It is shorter
// than the smallest loop trigger any scene may leave set (6,300,000), so it always plays through
// and then starts again from its beginning.
Stereo SongCredits() {
    constexpr int64_t kLength = 6150000;
    const int bars = 55;
    Composer c(static_cast<double>(kLength - Secs(1.5)) / (bars * 4.0), 0, Feel::Straight, 0xC4ED17);
    const std::string intro = "Cmaj7 | Am7 | Dm7 | G7sus |";
    const std::string A = "Cmaj7 | Em7 A7 | Dm7 | G7 | Em7 | A7b9 | Dm7 | G7 |";
    const std::string A2 = "Cmaj7 | Em7 A7 | Dm7 | G7 | Em7 | A7b9 | Dm7 G7 | Cmaj7 |";
    const std::string B = "Fmaj7 | Fm6 | Em7 | A7 | Dm7 | G7 | Em7 A7 | Dm7 G7 |";
    const std::string pivot = "A7sus |";
    const std::string DA = "Dmaj7 | F#m7 B7 | Em7 | A7 | F#m7 | B7b9 | Em7 | A7 |";
    const std::string DA2 = "Dmaj7 | F#m7 B7 | Em7 | A7 | F#m7 | B7b9 | Em7 A7 | Dmaj9 |";
    c.Chart(intro + A + A2 + B + A + pivot + DA + DA2 + "Dmaj9 | Dmaj9 |");

    const std::string headA =
        "E5:1.5 G5:0.5 B5:2 | A5:1 G5:0.5 E5:0.5 C#5:2 | D5:1.5 F5:0.5 A5:2 | G5:1 F5:0.5 D5:0.5 B4:2 | "
        "E5:1.5 G5:0.5 B5:1 D6:1 | C#6:1 Bb5:0.5 G5:0.5 E5:2 | F5:1.5 E5:0.5 D5:1 A5:1 | G5:3 r:1";
    const std::string headA2 =
        "E5:1.5 G5:0.5 B5:2 | A5:1 G5:0.5 E5:0.5 C#5:2 | D5:1.5 F5:0.5 A5:2 | G5:1 F5:0.5 D5:0.5 B4:2 | "
        "E5:1.5 G5:0.5 B5:1 D6:1 | C#6:1 Bb5:0.5 G5:0.5 E5:2 | F5:1 A5:1 G5:1 F5:1 | E5:3.5 r:0.5";
    const std::string headB =
        "A5:1.5 C6:0.5 E6:2 | D6:1 C6:0.5 Ab5:0.5 F5:2 | G5:1.5 B5:0.5 D6:2 | C#6:1 A5:0.5 E5:0.5 G5:2 | "
        "F5:1.5 A5:0.5 C6:2 | B5:1 A5:0.5 F5:0.5 D5:2 | E5:1 G5:1 C#5:1 E5:1 | F5:1.5 D5:0.5 B4:2";

    c.CompArpeggio(0, 4, 0.3f, Inst::EPiano, 60);
    c.PadChords(0, 4, 0.5f);
    c.Melody(Inst::Trumpet, 4, headA, 0, 0.72f, 0.15f);
    c.Melody(Inst::Vibes, 12, headA2, 0, 0.7f, -0.3f);
    c.Melody(Inst::Trumpet, 20, headB, -12, 0.76f, 0.15f);
    c.Improvise(Inst::Vibes, 28, 8, 64, 86, 0.65f, -0.3f, 0.8);
    c.Melody(Inst::Trumpet, 37, headA, 2, 0.8f, 0.15f);
    c.Melody(Inst::Vibes, 37, headA, 14, 0.32f, -0.4f);
    c.Melody(Inst::Trumpet, 45, headA2, 2, 0.82f, 0.15f);
    c.Melody(Inst::Vibes, 45, headA2, 14, 0.34f, -0.4f);

    c.CompBallad(4, 49, 0.4f, false);
    c.PadChords(37, 18, 0.55f);
    c.CompArpeggio(53, 1, 0.3f, Inst::Vibes, 69);
    c.Add(Inst::EPiano, 53 * 4.0, 7.0, 50, 0.5f, 0.0f);
    c.BassTwo(4, 16, 0.8f);
    c.BassWalk(20, 16, 0.8f);
    c.BassTwo(36, 17, 0.82f);
    c.Add(Inst::Bass, 53 * 4.0, 6.0, 38, 0.8f, 0.0f);
    c.DrumsBallad(4, 8, 0.6f, false);
    c.DrumsBallad(12, 8, 0.65f, true);
    c.DrumsBrushes(20, 16, 0.75f, false, true);
    c.DrumsBrushes(36, 17, 0.8f, true, true);
    c.Cymbal(36 * 4.0, 0.45f);
    c.Cymbal(53 * 4.0, 0.5f);

    TrackPlan plan;
    plan.totalFrames = kLength;
    plan.wet = 1.0;
    plan.fadeOutSecs = 3.0;
    return RenderTrack(c.Notes(), plan);
}

// The title jingle: a short, seamless lounge loop played under the title menu.
Stereo TitleJingle() {
    const int bars = 8;
    const int64_t length = Secs(19.2);
    Composer c(BeatFrames(0, length, bars), 0, Feel::Swing, 0x717);
    c.Chart("Fmaj7 | Dm7 | Gm7 | C7 | Am7 | D7b9 | Gm7 | C7 |");
    c.Melody(Inst::Vibes, 0,
             "r:1 C5:0.5 F5:0.5 A5:2 | G5:1 F5:0.5 D5:0.5 C5:2 | r:1 Bb4:0.5 D5:0.5 F5:2 | E5:1 G5:1 Bb4:2 | "
             "r:1 C5:0.5 E5:0.5 G5:2 | F#5:1 Eb5:0.5 D5:0.5 A4:2 | Bb4:1 D5:1 F5:1 A5:1 | G5:2 E5:2",
             0, 0.6f, -0.2f);
    c.CompBallad(0, bars, 0.36f, true);
    c.BassTwo(0, bars, 0.7f);
    c.DrumsBallad(0, bars, 0.5f, true);
    auto& notes = c.Notes();
    ExtendPastLoop(notes, 0, length, Secs(8.0));
    TrackPlan plan;
    plan.totalFrames = length;
    plan.loopStart = 0;
    plan.loopEnd = length;
    plan.wet = 1.0;
    plan.targetRms = 0.08;
    return RenderTrack(notes, plan);
}

}  // namespace sf

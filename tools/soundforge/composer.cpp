#include "composer.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace sf {
namespace {

struct Quality {
    const char* name;
    std::vector<int> tones;    // root, 3rd, 5th, 7th (or 6th)
    std::vector<int> voicing;  // rootless voicing from the third up
    std::vector<int> scale;
};

const std::vector<Quality>& Qualities() {
    static const std::vector<Quality> q = {
        {"maj7", {0, 4, 7, 11}, {4, 7, 11, 14}, {0, 2, 4, 5, 7, 9, 11}},
        {"6", {0, 4, 7, 9}, {4, 7, 9, 14}, {0, 2, 4, 5, 7, 9, 11}},
        {"m7", {0, 3, 7, 10}, {3, 7, 10, 14}, {0, 2, 3, 5, 7, 9, 10}},
        {"m6", {0, 3, 7, 9}, {3, 7, 9, 14}, {0, 2, 3, 5, 7, 9, 11}},
        {"m7b5", {0, 3, 6, 10}, {3, 6, 10, 12}, {0, 1, 3, 5, 6, 8, 10}},
        {"7", {0, 4, 7, 10}, {4, 9, 10, 14}, {0, 2, 4, 5, 7, 9, 10}},
        {"7b9", {0, 4, 7, 10}, {4, 7, 10, 13}, {0, 1, 4, 5, 7, 8, 10}},
        {"dim7", {0, 3, 6, 9}, {3, 6, 9, 12}, {0, 2, 3, 5, 6, 8, 9, 11}},
        {"7sus", {0, 5, 7, 10}, {5, 7, 10, 14}, {0, 2, 4, 5, 7, 9, 10}},
        {"maj9", {0, 4, 7, 11}, {4, 7, 11, 14}, {0, 2, 4, 6, 7, 9, 11}},
    };
    return q;
}

int Mod12(int v) { return ((v % 12) + 12) % 12; }

// Nearest pitch at or around target whose pitch class is in the set.
int NearestInSet(int target, const std::vector<int>& pcs, int root) {
    for (int d = 0; d < 12; ++d) {
        for (int s : {target - d, target + d}) {
            for (int pc : pcs) {
                if (Mod12(s - root) == pc) return s;
            }
        }
    }
    return target;
}

// The first pitch from target onwards in direction dir (+1 or -1) whose pitch class is in the set.
int NextInSet(int target, int dir, const std::vector<int>& pcs, int root) {
    for (int d = 0; d < 12; ++d) {
        const int s = target + dir * d;
        for (int pc : pcs) {
            if (Mod12(s - root) == pc) return s;
        }
    }
    return target;
}

}  // namespace

bool ParsePitch(const std::string& text, int& midi) {
    if (text.empty()) return false;
    static const int kBase[7] = {9, 11, 0, 2, 4, 5, 7};  // A..G
    const char c = text[0];
    if (c < 'A' || c > 'G') return false;
    int pc = kBase[c - 'A'];
    size_t i = 1;
    while (i < text.size() && (text[i] == '#' || text[i] == 'b')) {
        pc += text[i] == '#' ? 1 : -1;
        ++i;
    }
    if (i >= text.size()) return false;
    char* end = nullptr;
    const long oct = std::strtol(text.c_str() + i, &end, 10);
    if (*end != '\0') return false;
    midi = static_cast<int>((oct + 1) * 12 + pc);
    return true;
}

bool ParseChord(const std::string& text, Chord& out) {
    if (text.empty()) return false;
    static const int kBase[7] = {9, 11, 0, 2, 4, 5, 7};
    if (text[0] < 'A' || text[0] > 'G') return false;
    int pc = kBase[text[0] - 'A'];
    size_t i = 1;
    if (i < text.size() && (text[i] == '#' || text[i] == 'b')) {
        pc += text[i] == '#' ? 1 : -1;
        ++i;
    }
    const std::string q = text.substr(i);
    const auto& table = Qualities();
    for (size_t k = 0; k < table.size(); ++k) {
        if (q == table[k].name) {
            out.root = Mod12(pc);
            out.quality = static_cast<int>(k);
            return true;
        }
    }
    return false;
}

std::vector<int> ChordTones(const Chord& c) { return Qualities()[static_cast<size_t>(c.quality)].tones; }
std::vector<int> ChordScale(const Chord& c) { return Qualities()[static_cast<size_t>(c.quality)].scale; }

Composer::Composer(double framesPerBeat, int64_t origin, Feel feel, uint64_t seed)
    : fpb_(framesPerBeat), origin_(origin), feel_(feel), rng_(seed) {}

void Composer::Chart(const std::string& text) {
    std::stringstream ss(text);
    std::string bar;
    while (std::getline(ss, bar, '|')) {
        std::stringstream bs(bar);
        std::vector<Chord> inBar;
        std::string tok;
        while (bs >> tok) {
            Chord c;
            if (!ParseChord(tok, c)) {
                std::fprintf(stderr, "soundforge: bad chord '%s'\n", tok.c_str());
                std::abort();
            }
            inBar.push_back(c);
        }
        if (inBar.empty()) continue;
        const double each = 4.0 / static_cast<double>(inBar.size());
        for (size_t k = 0; k < inBar.size(); ++k) {
            chords_.push_back({bars_ * 4.0 + each * static_cast<double>(k), each, inBar[k]});
        }
        ++bars_;
    }
}

const Chord& Composer::ChordAt(double beat) const {
    const ChordSpan* best = &chords_.front();
    for (const auto& c : chords_) {
        if (c.beat <= beat + 1e-9) best = &c;
        else break;
    }
    return best->chord;
}

double Composer::SwingMap(double beat) const {
    if (feel_ != Feel::Swing) return beat;
    const double whole = std::floor(beat);
    const double x = beat - whole;
    const double s = 0.64;
    const double y = x < 0.5 ? x * (s / 0.5) : s + (x - 0.5) * ((1.0 - s) / 0.5);
    return whole + y;
}

int64_t Composer::BeatToFrame(double beat) const {
    return origin_ + static_cast<int64_t>(std::llround(SwingMap(beat) * fpb_));
}

void Composer::Add(Inst inst, double beat, double lenBeats, double pitch, float vel, float pan) {
    Note n;
    n.inst = inst;
    n.seed = HashMix(rng_.Next(), ++noteCounter_);
    Rng h(n.seed);
    const int64_t jitter = static_cast<int64_t>(std::llround(h.Range(-0.006, 0.006) * kRate));
    const int64_t end = BeatToFrame(beat + lenBeats) + jitter;
    n.start = BeatToFrame(beat) + jitter;
    if (n.start < 0 && BeatToFrame(beat) >= 0) n.start = 0;  // a downbeat at the very start is not lost
    n.length = std::max<int64_t>(64, end - n.start);
    n.pitch = pitch;
    n.vel = static_cast<float>(std::clamp(vel * h.Range(0.92, 1.06), 0.05, 1.0));
    n.pan = pan;
    if (n.start < 0) return;
    notes_.push_back(n);
}

void Composer::Melody(Inst inst, int bar, const std::string& tokens, int transpose, float vel, float pan) {
    std::stringstream ss(tokens);
    std::string tok;
    double beat = bar * 4.0;
    auto checkBar = [&](const char* where) {
        // Bars of a written melody must add up exactly, or the tune drifts against the chords.
        if (std::fabs(beat / 4.0 - std::round(beat / 4.0)) > 1e-9) {
            std::fprintf(stderr, "soundforge: melody bar does not add up to four beats (%s, beat %.2f)\n", where, beat);
            std::abort();
        }
    };
    while (ss >> tok) {
        if (tok == "|") {
            checkBar("bar line");
            continue;
        }
        const size_t colon = tok.find(':');
        if (colon == std::string::npos) {
            std::fprintf(stderr, "soundforge: bad melody token '%s'\n", tok.c_str());
            std::abort();
        }
        const double dur = std::atof(tok.c_str() + colon + 1);
        const std::string name = tok.substr(0, colon);
        if (name != "r") {
            int midi = 0;
            if (!ParsePitch(name, midi)) {
                std::fprintf(stderr, "soundforge: bad pitch '%s'\n", name.c_str());
                std::abort();
            }
            const double frac = beat - std::floor(beat);
            const float accent = frac > 0.25 ? 1.04f : (std::fmod(beat, 2.0) < 0.01 ? 1.0f : 0.95f);
            const double held = dur >= 1.0 ? dur - 0.08 : dur * 0.88;
            Add(inst, beat, held, midi + transpose, vel * accent, pan);
        }
        beat += dur;
    }
    checkBar("end");
}

void Composer::Improvise(Inst inst, int bar, int count, int lo, int hi, float vel, float pan, double density) {
    double beat = bar * 4.0;
    const double endBeat = (bar + count) * 4.0;
    int prev = (lo + hi) / 2;
    int dir = 1;
    while (beat < endBeat - 0.5) {
        // One phrase: one to two bars of playing, then a breath.
        const double phraseLen = rng_.Chance(0.5) ? 6.0 : 4.0 + rng_.IRange(0, 2) * 0.5;
        double t = beat + (rng_.Chance(0.4) ? 0.5 : 0.0) + (rng_.Chance(0.3) ? 1.0 : 0.0);
        const double phraseEnd = std::min(endBeat - 0.5, beat + phraseLen);
        while (t < phraseEnd) {
            double dur = 0.5;
            const double r = rng_.Uni();
            if (r < 0.12 * (1.0 / density)) dur = 1.0;
            else if (r < 0.18 / density) dur = 1.5;
            const bool last = t + dur >= phraseEnd;
            if (last) dur = std::max(dur, 1.5);
            const Chord& c = ChordAt(t);
            const bool strong = std::fabs(t - std::floor(t)) < 1e-6;
            int p;
            if (rng_.Chance(0.12)) {
                p = prev + dir * rng_.IRange(3, 5);
                dir = -dir;
            } else {
                p = prev + dir * rng_.IRange(1, 2);
            }
            const int moveDir = p >= prev ? 1 : -1;
            p = NextInSet(p, moveDir, (strong || last) ? ChordTones(c) : ChordScale(c), c.root);
            if (p > hi) { p = NearestInSet(hi - 2, ChordTones(c), c.root); dir = -1; }
            if (p < lo) { p = NearestInSet(lo + 2, ChordTones(c), c.root); dir = 1; }
            if (rng_.Chance(0.2)) dir = -dir;
            const float accent = strong ? 0.92f : 1.05f;
            Add(inst, t, dur * 0.9, p, vel * accent, pan);
            prev = p;
            t += dur;
        }
        beat = std::ceil(phraseEnd + 0.5 + (rng_.Chance(0.5) ? 1.0 : 0.0));
    }
}

std::vector<int> Composer::Voicing(const Chord& c, int lo, int hi) {
    const auto& base = Qualities()[static_cast<size_t>(c.quality)].voicing;
    std::vector<std::vector<int>> cands;
    for (int form = 0; form < 2; ++form) {
        std::vector<int> v = base;
        if (form == 1) {
            v = {base[2], base[3], base[0] + 12, base[1] + 12};
        }
        for (int oct = -2; oct <= 8; ++oct) {
            std::vector<int> p;
            for (int x : v) p.push_back(c.root + x + 12 * oct);
            if (p.front() >= lo && p.back() <= hi) cands.push_back(p);
        }
    }
    if (cands.empty()) {
        std::vector<int> p;
        for (int x : base) p.push_back(c.root + x + 12 * ((lo - c.root) / 12 + 1));
        cands.push_back(p);
    }
    size_t best = 0;
    double bestCost = 1e9;
    const double center = (lo + hi) * 0.5;
    for (size_t k = 0; k < cands.size(); ++k) {
        double cost = 0;
        if (lastVoicing_.size() == 4) {
            for (size_t i = 0; i < 4; ++i) cost += std::abs(cands[k][i] - lastVoicing_[i]);
        } else {
            cost = std::abs((cands[k][0] + cands[k][3]) * 0.5 - center);
        }
        cost += 0.3 * std::abs((cands[k][0] + cands[k][3]) * 0.5 - center);
        if (cost < bestCost) {
            bestCost = cost;
            best = k;
        }
    }
    lastVoicing_ = cands[best];
    return cands[best];
}

void Composer::CompSwing(int bar, int count, float vel) {
    static const double kPatterns[][4] = {
        {0.0, 1.3, 2.5, 0.5}, {1.5, 0.5, 3.0, 0.8}, {0.0, 0.5, 1.5, 1.4}, {-0.5, 1.2, 2.0, 0.5}, {1.0, 0.6, 2.5, 1.2},
    };
    for (int b = bar; b < bar + count; ++b) {
        const auto& pat = kPatterns[rng_.IRange(0, 4)];
        for (int h = 0; h < 2; ++h) {
            double at = b * 4.0 + pat[h * 2];
            if (at < 0) continue;
            const Chord& c = ChordAt(std::max(at + 0.5, b * 4.0));
            const auto v = Voicing(c, 50, 72);
            for (size_t i = 0; i < v.size(); ++i) {
                Add(Inst::EPiano, at + 0.01 * static_cast<double>(i), pat[h * 2 + 1], v[i], vel * (i == 3 ? 1.0f : 0.85f), -0.25f + 0.15f * static_cast<float>(i));
            }
        }
    }
}

void Composer::CompBossa(int bar, int count, float vel) {
    static const double kBar1[3] = {0.0, 1.5, 3.0};
    static const double kBar2[3] = {0.5, 2.0, 3.5};
    for (int b = bar; b < bar + count; ++b) {
        const double* hits = (b % 2 == 0) ? kBar1 : kBar2;
        for (int h = 0; h < 3; ++h) {
            const double at = b * 4.0 + hits[h];
            const Chord& c = ChordAt(at);
            const auto v = Voicing(c, 52, 72);
            const double len = h == 2 && hits[h] >= 3.0 ? 0.9 : 0.55;
            for (size_t i = 0; i < v.size(); ++i) {
                Add(Inst::EPiano, at + 0.008 * static_cast<double>(i), len, v[i], vel * (h == 0 ? 1.0f : 0.85f), -0.3f + 0.2f * static_cast<float>(i));
            }
        }
    }
}

void Composer::CompBallad(int bar, int count, float vel, bool rolled) {
    for (const auto& span : chords_) {
        if (span.beat < bar * 4.0 || span.beat >= (bar + count) * 4.0) continue;
        const auto v = Voicing(span.chord, 52, 74);
        for (size_t i = 0; i < v.size(); ++i) {
            const double roll = rolled ? 0.06 * static_cast<double>(i) : 0.01 * static_cast<double>(i);
            Add(Inst::EPiano, span.beat + roll, span.len - 0.15 - roll, v[i], vel * (i == 3 ? 1.0f : 0.82f), -0.3f + 0.2f * static_cast<float>(i));
        }
        // A soft answer on the "and" of the second beat in long chords keeps the pulse alive.
        if (span.len >= 4.0 && rng_.Chance(0.45)) {
            Add(Inst::EPiano, span.beat + 2.5, 1.2, v[3] + (rng_.Chance(0.5) ? 0 : 2), vel * 0.55f, 0.3f);
        }
    }
}

void Composer::CompArpeggio(int bar, int count, float vel, Inst inst, int lo) {
    for (int b = bar; b < bar + count; ++b) {
        for (int e = 0; e < 8; ++e) {
            const double at = b * 4.0 + e * 0.5;
            const Chord& c = ChordAt(at);
            const auto tones = ChordTones(c);
            static const int kOrder[8] = {0, 1, 2, 3, 4, 3, 2, 1};
            const int k = kOrder[e];
            const int pc = k == 4 ? (tones[1] + 12) : tones[static_cast<size_t>(k)];
            const int base = lo + Mod12(c.root - lo);
            Add(inst, at, 1.6, base + pc, vel * (e % 2 == 0 ? 1.0f : 0.8f), -0.4f + 0.1f * static_cast<float>(e));
        }
    }
}

void Composer::PadChords(int bar, int count, float vel) {
    for (const auto& span : chords_) {
        if (span.beat < bar * 4.0 || span.beat >= (bar + count) * 4.0) continue;
        const auto tones = ChordTones(span.chord);
        const int base = 48 + Mod12(span.chord.root - 48);
        for (size_t i = 1; i < tones.size(); ++i) {
            Add(Inst::Pad, span.beat, span.len, base + tones[i] + (i == 1 ? 12 : 0), vel, i % 2 ? -0.5f : 0.5f);
        }
    }
}

void Composer::BassWalk(int bar, int count, float vel) {
    for (const auto& span : chords_) {
        if (span.beat < bar * 4.0 || span.beat >= (bar + count) * 4.0) continue;
        const Chord& c = span.chord;
        const Chord& next = ChordAt(span.beat + span.len);
        int root = NearestInSet(lastBass_, {0}, c.root);
        if (root < 31) root += 12;
        if (root > 45) root -= 12;
        int target = NearestInSet(root, {0}, next.root);
        if (target < 31) target += 12;
        if (target > 45) target -= 12;
        const int beats = static_cast<int>(span.len + 0.5);
        std::vector<int> line;
        line.push_back(root);
        if (beats == 4) {
            const bool up = target >= root ? (rng_.Chance(0.75)) : rng_.Chance(0.25);
            const auto tones = ChordTones(c);
            int p1 = up ? root + tones[1] : root - (12 - tones[3]);
            int p2 = up ? root + tones[2] : root - (12 - tones[2]);
            if (rng_.Chance(0.3)) p1 = NearestInSet(root + (up ? 2 : -2), ChordScale(c), c.root);
            int approach = target + ((p2 > target) ? 1 : -1) * (rng_.Chance(0.7) ? 1 : 2);
            if (approach == p2) approach = 2 * target - approach;  // approach from the other side
            line.push_back(p1);
            line.push_back(p2);
            line.push_back(approach);
        } else {
            for (int k = 1; k < beats; ++k) {
                line.push_back(k == beats - 1 ? target + (rng_.Chance(0.5) ? 1 : -1) : root + ChordTones(c)[2]);
            }
        }
        for (size_t k = 0; k < line.size(); ++k) {
            const float accent = (k % 2 == 1) ? 1.0f : 0.93f;
            Add(Inst::Bass, span.beat + static_cast<double>(k), 0.92, line[k], vel * accent, 0.0f);
        }
        lastBass_ = line.back();
    }
}

void Composer::BassBossa(int bar, int count, float vel) {
    for (const auto& span : chords_) {
        if (span.beat < bar * 4.0 || span.beat >= (bar + count) * 4.0) continue;
        const Chord& c = span.chord;
        int root = NearestInSet(lastBass_, {0}, c.root);
        if (root < 31) root += 12;
        if (root > 43) root -= 12;
        const int fifth = root + ChordTones(c)[2] - (root + ChordTones(c)[2] > 45 ? 12 : 0);
        if (span.len >= 4.0) {
            Add(Inst::Bass, span.beat, 1.4, root, vel, 0.0f);
            Add(Inst::Bass, span.beat + 1.5, 0.45, root, vel * 0.6f, 0.0f);
            Add(Inst::Bass, span.beat + 2.0, 1.4, fifth, vel * 0.9f, 0.0f);
            Add(Inst::Bass, span.beat + 3.5, 0.45, fifth, vel * 0.6f, 0.0f);
        } else {
            Add(Inst::Bass, span.beat, 1.4, root, vel, 0.0f);
            Add(Inst::Bass, span.beat + 1.5, 0.45, fifth, vel * 0.65f, 0.0f);
        }
        lastBass_ = root;
    }
}

void Composer::BassTwo(int bar, int count, float vel) {
    for (const auto& span : chords_) {
        if (span.beat < bar * 4.0 || span.beat >= (bar + count) * 4.0) continue;
        const Chord& c = span.chord;
        int root = NearestInSet(lastBass_, {0}, c.root);
        if (root < 31) root += 12;
        if (root > 45) root -= 12;
        if (span.len >= 4.0) {
            const Chord& next = ChordAt(span.beat + span.len);
            int second = root + ChordTones(c)[2];
            if (second > 47) second -= 12;
            if (rng_.Chance(0.35)) {
                const int target = NearestInSet(root, {0}, next.root);
                second = target + (target > root ? -1 : 1) * 2;
            }
            Add(Inst::Bass, span.beat, 1.85, root, vel, 0.0f);
            Add(Inst::Bass, span.beat + 2.0, 1.85, second, vel * 0.88f, 0.0f);
            lastBass_ = second;
        } else {
            Add(Inst::Bass, span.beat, span.len - 0.15, root, vel, 0.0f);
            lastBass_ = root;
        }
    }
}

void Composer::DrumsBrushes(int bar, int count, float vel, bool ride, bool fills) {
    for (int b = bar; b < bar + count; ++b) {
        const double at = b * 4.0;
        const bool fillBar = fills && (b % 8 == 7);
        for (int beat = 0; beat < 4; ++beat) {
            Add(Inst::BrushSwish, at + beat, 1.0, 60, vel * (beat % 2 ? 0.8f : 1.0f), beat % 2 ? 0.25f : -0.1f);
            if (beat % 2 == 1) {
                Add(Inst::BrushTap, at + beat, 0.2, 60, vel * 0.9f, 0.1f);
                Add(Inst::HatFoot, at + beat, 0.1, 60, vel * 0.7f, 0.3f);
            }
            Add(Inst::Kick, at + beat, 0.3, 60, vel * (beat == 0 ? 0.35f : 0.22f), 0.0f);
            if (ride) {
                Add(Inst::Ride, at + beat, 0.3, 60, vel * (beat % 2 ? 0.85f : 0.7f), 0.35f);
                if (beat % 2 == 1) Add(Inst::Ride, at + beat + 0.5, 0.3, 60, vel * 0.55f, 0.35f);
            }
        }
        if (!ride && rng_.Chance(0.35)) Add(Inst::BrushTap, at + 3.5, 0.2, 62, vel * 0.45f, 0.15f);
        if (fillBar) {
            for (int k = 0; k < 6; ++k) {
                Add(Inst::BrushTap, at + 2.0 + k / 3.0, 0.2, 58 + k, vel * (0.5f + 0.08f * static_cast<float>(k)), -0.2f + 0.1f * static_cast<float>(k));
            }
        }
    }
}

void Composer::DrumsBossa(int bar, int count, float vel) {
    static const double kRim1[3] = {0.0, 1.5, 3.0};
    static const double kRim2[2] = {1.0, 2.5};
    for (int b = bar; b < bar + count; ++b) {
        const double at = b * 4.0;
        if (b % 2 == 0) {
            for (double r : kRim1) Add(Inst::Rim, at + r, 0.1, 60, vel * 0.8f, 0.2f);
        } else {
            for (double r : kRim2) Add(Inst::Rim, at + r, 0.1, 60, vel * 0.8f, 0.2f);
        }
        for (int e = 0; e < 8; ++e) {
            Add(Inst::Shaker, at + e * 0.5, 0.2, 60, vel * (e % 2 ? 0.9f : 0.55f), -0.35f);
        }
        Add(Inst::Kick, at, 0.3, 60, vel * 0.55f, 0.0f);
        Add(Inst::Kick, at + 1.5, 0.3, 60, vel * 0.35f, 0.0f);
        Add(Inst::Kick, at + 2.0, 0.3, 60, vel * 0.5f, 0.0f);
        Add(Inst::Kick, at + 3.5, 0.3, 60, vel * 0.35f, 0.0f);
        Add(Inst::HatFoot, at + 1.0, 0.1, 60, vel * 0.5f, 0.3f);
        Add(Inst::HatFoot, at + 3.0, 0.1, 60, vel * 0.5f, 0.3f);
    }
}

void Composer::DrumsBallad(int bar, int count, float vel, bool taps) {
    for (int b = bar; b < bar + count; ++b) {
        const double at = b * 4.0;
        Add(Inst::BrushSwish, at, 2.0, 60, vel, -0.1f);
        Add(Inst::BrushSwish, at + 2.0, 2.0, 60, vel * 0.85f, 0.2f);
        Add(Inst::Kick, at, 0.3, 60, vel * 0.3f, 0.0f);
        if (taps) {
            Add(Inst::BrushTap, at + 1.0, 0.2, 58, vel * 0.6f, 0.1f);
            Add(Inst::BrushTap, at + 3.0, 0.2, 58, vel * 0.6f, 0.1f);
        }
    }
}

void Composer::Cymbal(double beat, float vel) { Add(Inst::Ride, beat, 0.5, 52, vel, -0.3f); }

void ExtendPastLoop(std::vector<Note>& notes, int64_t loopStart, int64_t loopEnd, int64_t span) {
    const int64_t shift = loopEnd - loopStart;
    const size_t n = notes.size();
    for (size_t i = 0; i < n; ++i) {
        if (notes[i].start >= loopStart && notes[i].start < loopStart + span) {
            Note c = notes[i];
            c.start += shift;
            notes.push_back(c);
        }
    }
}

Stereo RenderTrack(std::vector<Note>& notes, const TrackPlan& plan) {
    const bool looped = plan.loopStart >= 0;
    const int64_t seam = Secs(6.0);
    const int64_t renderLen = std::max(plan.totalFrames, looped ? plan.loopEnd + seam : plan.totalFrames);
    Stereo dry(static_cast<size_t>(renderLen)), send(static_cast<size_t>(renderLen));
    for (const Note& n : notes) {
        if (n.start < renderLen) RenderNote(n, dry, send, 0);
    }
    Stereo wet;
    Reverb rev(plan.roomSize, plan.damp);
    rev.Process(send, wet);
    for (size_t i = 0; i < dry.Size(); ++i) {
        dry.l[i] += static_cast<float>(wet.l[i] * plan.wet);
        dry.r[i] += static_cast<float>(wet.r[i] * plan.wet);
    }
    Stereo out(static_cast<size_t>(plan.totalFrames));
    for (int64_t i = 0; i < plan.totalFrames; ++i) {
        out.l[static_cast<size_t>(i)] = dry.l[static_cast<size_t>(i)];
        out.r[static_cast<size_t>(i)] = dry.r[static_cast<size_t>(i)];
    }
    if (looped) {
        // Right after the loop target the file plays what was rendered right after the trigger
        // (the same notes plus the tails of the loop's end), fading over to the plain render.
        for (int64_t k = 0; k < seam; ++k) {
            const double w = Ramp(static_cast<double>(k) - seam * 0.4, seam * 0.6);
            const size_t at = static_cast<size_t>(plan.loopStart + k);
            const size_t from = static_cast<size_t>(plan.loopEnd + k);
            if (at >= out.Size()) break;
            out.l[at] = static_cast<float>(dry.l[from] * (1 - w) + dry.l[at] * w);
            out.r[at] = static_cast<float>(dry.r[from] * (1 - w) + dry.r[at] * w);
        }
    }
    if (plan.fadeOutSecs > 0) {
        const int64_t fl = Secs(plan.fadeOutSecs);
        for (int64_t k = 0; k < fl && k < plan.totalFrames; ++k) {
            const size_t at = static_cast<size_t>(plan.totalFrames - 1 - k);
            const float g = static_cast<float>(Ramp(static_cast<double>(k), static_cast<double>(fl)));
            out.l[at] *= g;
            out.r[at] *= g;
        }
    }
    // Level: bring the track to the common loudness, then round off the rare peaks softly.
    double sum = 0;
    for (size_t i = 0; i < out.Size(); ++i) sum += out.l[i] * out.l[i] + out.r[i] * out.r[i];
    const double rms = std::sqrt(sum / (2.0 * static_cast<double>(std::max<size_t>(1, out.Size()))));
    const double gain = rms > 1e-9 ? plan.targetRms / rms : 1.0;
    auto shape = [](double x) {
        const double knee = 0.62, room = 0.22;
        const double a = std::fabs(x);
        if (a <= knee) return x;
        const double y = knee + room * std::tanh((a - knee) / room);
        return x < 0 ? -y : y;
    };
    for (size_t i = 0; i < out.Size(); ++i) {
        out.l[i] = static_cast<float>(shape(out.l[i] * gain));
        out.r[i] = static_cast<float>(shape(out.r[i] * gain));
    }
    return out;
}

}  // namespace sf

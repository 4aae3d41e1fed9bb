// The hosts' voice clips: gibberish "speech" from a small formant synthesiser. Each host has its
// own pitch, vocal-tract size, pace, breathiness and melody of speech; each event word has its
// own shape (a cheerful win, a sigh at the third loss, a short cry for an ability).
#include <array>
#include <string>

#include "effects.h"

namespace sf {
namespace {

struct Host {
    const char* name;
    double f0;          // speaking pitch, Hz
    double tract;       // formant scale (shorter tract: higher formants)
    double rate;        // syllables per second
    double breath;      // aspiration level
    double range;       // pitch movement in semitones
    double tilt;        // source brightness (low-pass corner, Hz)
    double lilt;        // sway of pitch from syllable to syllable
    double evenness;    // 1: metronomic syllables, 0: free
};

const std::array<Host, 5> kHosts = {{
    {"Pemra", 345.0, 1.17, 4.0, 0.10, 3.0, 4200.0, 0.2, 0.6},
    {"Otsel", 275.0, 1.24, 7.2, 0.04, 7.0, 5200.0, 0.5, 0.2},
    {"Quenvar", 150.0, 1.0, 5.4, 0.03, 5.5, 3200.0, 0.3, 0.95},
    {"Iblen", 215.0, 1.1, 4.6, 0.2, 4.0, 2300.0, 1.0, 0.4},
    {"Rosweth", 100.0, 0.9, 3.7, 0.05, 2.5, 2600.0, 0.1, 0.85},
}};

const std::array<const char*, 8> kWords = {"win", "lose1", "lose2", "lose3", "ability1", "ability2", "ability3", "ability4"};

struct Vowel {
    double f1, f2, f3;
};
const Vowel kVowels[5] = {{750, 1200, 2600}, {300, 2300, 3000}, {330, 1300, 2400}, {480, 1900, 2600}, {500, 850, 2500}};

enum Cons { None, Plosive, Fric, Nasal, Aspir };

struct Syllable {
    Cons cons = None;
    int vowel = 0;
    double dur = 0.2;     // seconds, vowel part
    double pitch = 0;     // semitones from the host's pitch
    double amp = 1.0;
    double gapAfter = 0;  // silence after
};

// Plans the syllables of one clip from the host and the word.
std::vector<Syllable> Plan(const Host& h, const std::string& word, Rng& rng) {
    std::vector<Syllable> s;
    auto add = [&](int count, double startPitch, double endPitch, double amp, double stretch) {
        for (int k = 0; k < count; ++k) {
            Syllable y;
            const double r = rng.Uni();
            y.cons = r < 0.25 ? None : r < 0.5 ? Plosive : r < 0.7 ? Fric : r < 0.9 ? Nasal : Aspir;
            y.vowel = rng.IRange(0, 4);
            const double base = stretch / h.rate;
            y.dur = base * (h.evenness + (1.0 - h.evenness) * rng.Range(0.5, 1.6));
            const double x = count > 1 ? static_cast<double>(k) / (count - 1) : 0.0;
            y.pitch = startPitch + (endPitch - startPitch) * x + h.lilt * h.range * 0.4 * ((k % 2) ? 1.0 : -1.0) * rng.Range(0.3, 1.0);
            y.amp = amp * rng.Range(0.8, 1.0);
            if (k > 0 && k % 3 == 2 && rng.Chance(0.5)) y.gapAfter = 0.06;
            s.push_back(y);
        }
        if (!s.empty()) s.back().dur *= 1.5;
    };
    if (word == "win") {
        add(5, 0.2 * h.range, 0.6 * h.range, 1.0, 1.0);
        s.back().pitch = h.range;
        s.back().gapAfter = 0.1;
        // A short laugh.
        for (int k = 0; k < 3; ++k) {
            Syllable y;
            y.cons = Aspir;
            y.vowel = 1;
            y.dur = 0.6 / h.rate;
            y.pitch = h.range * (1.0 - 0.15 * k);
            y.amp = 0.7;
            y.gapAfter = 0.05;
            s.push_back(y);
        }
    } else if (word == "lose1") {
        add(4, 0.4 * h.range, -0.3 * h.range, 0.9, 1.0);
    } else if (word == "lose2") {
        add(6, 0.3 * h.range, -0.5 * h.range, 0.85, 1.15);
    } else if (word == "lose3") {
        Syllable sigh;
        sigh.cons = Aspir;
        sigh.vowel = 0;
        sigh.dur = 0.35;
        sigh.pitch = -0.2 * h.range;
        sigh.amp = 0.25;
        sigh.gapAfter = 0.15;
        s.push_back(sigh);
        add(5, 0.0, -0.7 * h.range, 0.75, 1.3);
    } else {
        const int which = word.back() - '0';
        add(2 + which % 2, 0.3 * h.range, 0.5 * h.range, 1.0, 0.9);
        s.back().pitch = h.range * (0.8 + 0.1 * which);
        s.back().amp = 1.1;
    }
    return s;
}

std::vector<float> Speak(const Host& h, const std::string& word) {
    Rng rng(HashMix(HashString(h.name), HashString(word.c_str())));
    const std::vector<Syllable> plan = Plan(h, word, rng);

    // Per-sample control tracks, filled segment by segment and then smoothed.
    struct Ctrl {
        float voice, noise, noiseF, f1, f2, f3, pitch;
    };
    std::vector<Ctrl> ctrl;
    const size_t lead = Secs(0.05);
    for (size_t i = 0; i < lead; ++i) ctrl.push_back({0, 0, 3000, 500, 1500, 2500, 0});
    for (const Syllable& y : plan) {
        const Vowel& v = kVowels[y.vowel];
        const float pitch = static_cast<float>(y.pitch);
        const float f1 = static_cast<float>(v.f1 * h.tract), f2 = static_cast<float>(v.f2 * h.tract),
                    f3 = static_cast<float>(v.f3 * h.tract);
        size_t consLen = 0;
        switch (y.cons) {
        case Plosive: consLen = Secs(0.025); break;
        case Fric: consLen = Secs(0.07); break;
        case Nasal: consLen = Secs(0.05); break;
        case Aspir: consLen = Secs(0.05); break;
        default: break;
        }
        for (size_t i = 0; i < consLen; ++i) {
            const double x = static_cast<double>(i) / static_cast<double>(consLen);
            switch (y.cons) {
            case Plosive:
                ctrl.push_back({0, static_cast<float>(x < 0.5 ? 0.0 : 0.8 * y.amp), 2500, f1, f2, f3, pitch});
                break;
            case Fric:
                ctrl.push_back({0, static_cast<float>(0.45 * y.amp), rng.Chance(0.5) ? 5500.0f : 3800.0f, f1, f2, f3, pitch});
                break;
            case Nasal:
                ctrl.push_back({static_cast<float>(0.45 * y.amp), 0, 3000, 280, 1100, 2500, pitch});
                break;
            default:
                ctrl.push_back({0, static_cast<float>(0.35 * y.amp), 1800, f1, f2, f3, pitch});
                break;
            }
        }
        const size_t vowLen = Secs(y.dur);
        const bool breathy = y.cons == Aspir;
        for (size_t i = 0; i < vowLen; ++i) {
            ctrl.push_back({static_cast<float>(y.amp * (breathy ? 0.7 : 1.0)), static_cast<float>(breathy ? 0.2 * y.amp : 0.0), 1800,
                            f1, f2, f3, pitch});
        }
        const size_t gap = Secs(y.gapAfter + 0.015);
        for (size_t i = 0; i < gap; ++i) ctrl.push_back({0, 0, 3000, f1, f2, f3, pitch});
    }
    for (size_t i = 0; i < Secs(0.15); ++i) ctrl.push_back({0, 0, 3000, 500, 1500, 2500, ctrl.back().pitch});

    // Smooth every track (about 12 ms for levels, 25 ms for formants and pitch).
    Ctrl sm = ctrl.front();
    const float aLevel = 1.0f - std::exp(-1.0f / (0.012f * 44100.0f));
    const float aShape = 1.0f - std::exp(-1.0f / (0.025f * 44100.0f));
    for (auto& c : ctrl) {
        sm.voice += aLevel * (c.voice - sm.voice);
        sm.noise += aLevel * (c.noise - sm.noise);
        sm.noiseF += aShape * (c.noiseF - sm.noiseF);
        sm.f1 += aShape * (c.f1 - sm.f1);
        sm.f2 += aShape * (c.f2 - sm.f2);
        sm.f3 += aShape * (c.f3 - sm.f3);
        sm.pitch += aShape * (c.pitch - sm.pitch);
        c = sm;
    }

    std::vector<float> out(ctrl.size());
    Biquad form[3], nf;
    OnePoleLow tilt1, tilt2;
    tilt1.SetCutoff(h.tilt);
    tilt2.SetCutoff(h.tilt * 3.0);
    double phase = 0.0;
    const double total = static_cast<double>(ctrl.size()) / kRate;
    for (size_t i = 0; i < ctrl.size(); ++i) {
        const Ctrl& c = ctrl[i];
        const double t = static_cast<double>(i) / kRate;
        if (i % 32 == 0) {
            form[0].Set(Biquad::kBand, c.f1, c.f1 / 90.0);
            form[1].Set(Biquad::kBand, c.f2, c.f2 / 110.0);
            form[2].Set(Biquad::kBand, c.f3, c.f3 / 160.0);
            nf.Set(Biquad::kBand, c.noiseF, 1.5);
        }
        // Declination over the clip, a slight natural wobble, and the planned melody.
        const double semis = c.pitch - 1.5 * t / total + 0.15 * std::sin(kTwoPi * 5.5 * t) + 0.08 * rng.Noise();
        const double f0 = h.f0 * std::pow(2.0, semis / 12.0);
        phase += f0 / kRate;
        if (phase >= 1.0) phase -= 1.0;
        // Sawtooth with a polyBLEP step correction, darkened twice: a simple glottal source.
        const double dt = f0 / kRate;
        double saw = 2.0 * phase - 1.0;
        if (phase < dt) {
            const double x = phase / dt;
            saw -= x + x - x * x - 1.0;
        } else if (phase > 1.0 - dt) {
            const double x = (phase - 1.0) / dt;
            saw -= x * x + x + x + 1.0;
        }
        const double src = (tilt1.Process(-saw) * 0.7 + tilt2.Process(-saw) * 0.3) * c.voice;
        const double noise = rng.Noise();
        const double asp = noise * (h.breath * c.voice + 0.0);
        const double excite = src + asp * 0.6;
        const double voiced = form[0].Process(excite) * 1.0 + form[1].Process(excite) * 0.9 + form[2].Process(excite) * 0.55;
        const double fric = nf.Process(noise) * c.noise;
        out[i] = static_cast<float>(voiced + fric * 0.5);
    }
    return out;
}

}  // namespace

std::vector<std::string> VoiceList() {
    std::vector<std::string> names;
    for (const Host& h : kHosts) {
        for (const char* w : kWords) names.push_back(std::string(h.name) + "_" + w + ".wav");
    }
    return names;
}

std::vector<float> RenderVoice(const std::string& name) {
    for (const Host& h : kHosts) {
        for (const char* w : kWords) {
            if (name == std::string(h.name) + "_" + w + ".wav") {
                std::vector<float> v = Speak(h, w);
                FinishOneShot(v, 0.7, 0.005, 0.03);
                return v;
            }
        }
    }
    return {};
}

}  // namespace sf

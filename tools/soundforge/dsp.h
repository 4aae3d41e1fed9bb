#pragma once
// Small signal-processing kit shared by the instruments, effects and voices: a seeded random
// generator, a stereo buffer, filters and a stereo reverb. Everything is deterministic: the same
// seeds always give the same samples.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sf {

constexpr double kRate = 44100.0;
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

inline double MidiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }
inline size_t Secs(double s) { return static_cast<size_t>(s * kRate + 0.5); }

// splitmix64: tiny, fast and fully reproducible across platforms.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uni() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    double Range(double a, double b) { return a + (b - a) * Uni(); }
    int IRange(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1)); }
    double Noise() { return Uni() * 2.0 - 1.0; }
    bool Chance(double p) { return Uni() < p; }

private:
    uint64_t state_;
};

inline uint64_t HashMix(uint64_t a, uint64_t b) {
    Rng r(a ^ (b * 0xD1B54A32D192ED03ull));
    return r.Next();
}

inline uint64_t HashString(const char* s) {
    uint64_t h = 1469598103934665603ull;
    for (; *s; ++s) {
        h = (h ^ static_cast<unsigned char>(*s)) * 1099511628211ull;
    }
    return h;
}

struct Stereo {
    std::vector<float> l, r;
    Stereo() = default;
    explicit Stereo(size_t n) : l(n, 0.0f), r(n, 0.0f) {}
    size_t Size() const { return l.size(); }
    void Resize(size_t n) {
        l.assign(n, 0.0f);
        r.assign(n, 0.0f);
    }
};

// Equal-power pan gains, pan in -1 (left) .. 1 (right).
inline void PanGains(double pan, float& gl, float& gr) {
    const double a = (std::clamp(pan, -1.0, 1.0) + 1.0) * kPi * 0.25;
    gl = static_cast<float>(std::cos(a));
    gr = static_cast<float>(std::sin(a));
}

// RBJ biquad, transposed direct form II.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double z1 = 0, z2 = 0;

    static Biquad Make(int kind, double freq, double q, double gainDb = 0.0) {
        Biquad f;
        f.Set(kind, freq, q, gainDb);
        return f;
    }
    enum { kLow, kHigh, kBand, kPeak };
    void Set(int kind, double freq, double q, double gainDb = 0.0) {
        freq = std::clamp(freq, 10.0, kRate * 0.45);
        const double w = kTwoPi * freq / kRate;
        const double cs = std::cos(w), sn = std::sin(w);
        const double alpha = sn / (2.0 * q);
        double a0 = 1;
        switch (kind) {
        case kLow:
            b0 = (1 - cs) / 2; b1 = 1 - cs; b2 = (1 - cs) / 2;
            a0 = 1 + alpha; a1 = -2 * cs; a2 = 1 - alpha;
            break;
        case kHigh:
            b0 = (1 + cs) / 2; b1 = -(1 + cs); b2 = (1 + cs) / 2;
            a0 = 1 + alpha; a1 = -2 * cs; a2 = 1 - alpha;
            break;
        case kBand:  // constant 0 dB peak gain
            b0 = alpha; b1 = 0; b2 = -alpha;
            a0 = 1 + alpha; a1 = -2 * cs; a2 = 1 - alpha;
            break;
        default: {
            const double A = std::pow(10.0, gainDb / 40.0);
            b0 = 1 + alpha * A; b1 = -2 * cs; b2 = 1 - alpha * A;
            a0 = 1 + alpha / A; a1 = -2 * cs; a2 = 1 - alpha / A;
            break;
        }
        }
        b0 /= a0; b1 /= a0; b2 /= a0; a1 /= a0; a2 /= a0;
    }
    double Process(double x) {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

struct OnePoleLow {
    double a = 0, y = 0;
    void SetCutoff(double hz) { a = 1.0 - std::exp(-kTwoPi * std::clamp(hz, 1.0, kRate * 0.49) / kRate); }
    double Process(double x) { return y += a * (x - y); }
};

// Sine oscillator by complex rotation: cheap and accurate enough for notes of a few seconds.
struct Phasor {
    double c = 1, s = 0, rc = 1, rs = 0;
    void Start(double hz, double phase = 0.0) {
        c = std::cos(phase);
        s = std::sin(phase);
        rc = std::cos(kTwoPi * hz / kRate);
        rs = std::sin(kTwoPi * hz / kRate);
    }
    double Step() {
        const double out = s;
        const double nc = c * rc - s * rs;
        s = c * rs + s * rc;
        c = nc;
        return out;
    }
};

// Freeverb-style stereo reverb: eight damped combs and four allpasses per side.
class Reverb {
public:
    Reverb(double room, double damp, double width = 1.0) : width_(width) {
        static const int kComb[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
        static const int kAll[4] = {556, 441, 341, 225};
        for (int side = 0; side < 2; ++side) {
            const int spread = side ? 23 : 0;
            for (int i = 0; i < 8; ++i) {
                combs_[side][i].buf.assign(static_cast<size_t>(kComb[i] + spread), 0.0f);
                combs_[side][i].feedback = static_cast<float>(room);
                combs_[side][i].damp = static_cast<float>(damp);
            }
            for (int i = 0; i < 4; ++i) {
                alls_[side][i].buf.assign(static_cast<size_t>(kAll[i] + spread), 0.0f);
            }
        }
    }
    // Processes in place: in holds the send signal, out receives the wet signal.
    void Process(const Stereo& in, Stereo& out) {
        const size_t n = in.Size();
        out.Resize(n);
        const float w1 = static_cast<float>(width_ / 2 + 0.5), w2 = static_cast<float>((1 - width_) / 2);
        for (size_t i = 0; i < n; ++i) {
            const float x = (in.l[i] + in.r[i]) * 0.015f;
            float o[2];
            for (int side = 0; side < 2; ++side) {
                float acc = 0.0f;
                for (auto& c : combs_[side]) {
                    acc += c.Tick(x);
                }
                for (auto& a : alls_[side]) {
                    acc = a.Tick(acc);
                }
                o[side] = acc;
            }
            out.l[i] = o[0] * w1 + o[1] * w2;
            out.r[i] = o[1] * w1 + o[0] * w2;
        }
    }

private:
    struct Comb {
        std::vector<float> buf;
        size_t pos = 0;
        float feedback = 0.8f, damp = 0.3f, store = 0.0f;
        float Tick(float x) {
            const float y = buf[pos];
            store = y * (1.0f - damp) + store * damp;
            buf[pos] = x + store * feedback;
            if (++pos == buf.size()) pos = 0;
            return y;
        }
    };
    struct Allpass {
        std::vector<float> buf;
        size_t pos = 0;
        float Tick(float x) {
            const float b = buf[pos];
            const float y = -x + b;
            buf[pos] = x + b * 0.5f;
            if (++pos == buf.size()) pos = 0;
            return y;
        }
    };
    double width_;
    Comb combs_[2][8];
    Allpass alls_[2][4];
};

// Raised-cosine ramp 0..1 for t in [0, len).
inline double Ramp(double t, double len) {
    if (t <= 0) return 0.0;
    if (t >= len) return 1.0;
    return 0.5 - 0.5 * std::cos(kPi * t / len);
}

}  // namespace sf

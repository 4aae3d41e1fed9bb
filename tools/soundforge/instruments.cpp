#include "instruments.h"

#include <array>

namespace sf {
namespace {

constexpr int kTableSize = 2048;
using Table = std::array<float, kTableSize + 1>;

// One period of a harmonic spectrum; amp(n, hz) gives the level of harmonic n.
template <typename AmpFn>
void BuildTable(Table& t, double f0, AmpFn amp) {
    std::array<double, kTableSize> acc{};
    const int maxN = std::max(1, static_cast<int>(std::min(16000.0, kRate * 0.45) / f0));
    for (int n = 1; n <= maxN && n <= 60; ++n) {
        const double a = amp(n, n * f0);
        if (a == 0.0) continue;
        for (int i = 0; i < kTableSize; ++i) {
            acc[static_cast<size_t>(i)] += a * std::sin(kTwoPi * n * i / kTableSize);
        }
    }
    double peak = 1e-9;
    for (double v : acc) peak = std::max(peak, std::abs(v));
    for (int i = 0; i < kTableSize; ++i) t[static_cast<size_t>(i)] = static_cast<float>(acc[static_cast<size_t>(i)] / peak);
    t[kTableSize] = t[0];
}

inline double ReadTable(const Table& t, double phase) {
    const double p = phase * kTableSize;
    const int i = static_cast<int>(p);
    const double fr = p - i;
    return t[static_cast<size_t>(i)] + (t[static_cast<size_t>(i) + 1] - t[static_cast<size_t>(i)]) * fr;
}

double SendLevel(Inst inst) {
    switch (inst) {
    case Inst::EPiano: return 0.30;
    case Inst::Vibes: return 0.38;
    case Inst::Bass: return 0.07;
    case Inst::Trumpet: return 0.36;
    case Inst::Clarinet: return 0.42;
    case Inst::Pad: return 0.55;
    case Inst::Kick: return 0.05;
    case Inst::Ride: return 0.22;
    default: return 0.2;
    }
}

// Writes a mono voice produced sample by sample into both buffers; gen(i) returns the sample
// and may return a negative "done" flag through stop.
template <typename Gen>
void Emit(const Note& n, Stereo& dry, Stereo& send, int64_t origin, int64_t frames, Gen gen) {
    float gl, gr;
    PanGains(n.pan, gl, gr);
    const float sendGain = static_cast<float>(SendLevel(n.inst));
    const int64_t size = static_cast<int64_t>(dry.Size());
    const int64_t base = n.start - origin;
    for (int64_t i = 0; i < frames; ++i) {
        bool stop = false;
        const float v = static_cast<float>(gen(i, stop));
        if (stop) break;
        const int64_t at = base + i;
        if (at < 0) continue;
        if (at >= size) break;
        const size_t k = static_cast<size_t>(at);
        dry.l[k] += v * gl;
        dry.r[k] += v * gr;
        send.l[k] += v * gl * sendGain;
        send.r[k] += v * gr * sendGain;
    }
}

// exp(-t / tau) advanced by one multiplication per sample.
struct Decay {
    double v = 1.0, k = 1.0;
    explicit Decay(double tau) : k(std::exp(-1.0 / (tau * kRate))) {}
    double Next() {
        const double out = v;
        v *= k;
        return out;
    }
};

// 1 while the key is held, then an exponential release.
struct Release {
    int64_t held;
    double v = 1.0, k;
    Release(int64_t heldFrames, double tau) : held(heldFrames), k(std::exp(-1.0 / (tau * kRate))) {}
    double Next(int64_t i) {
        if (i < held) return 1.0;
        const double out = v;
        v *= k;
        return out;
    }
};

double ReleaseGain(int64_t i, int64_t held, double tau) {
    if (i < held) return 1.0;
    return std::exp(-static_cast<double>(i - held) / (tau * kRate));
}

void EPiano(const Note& n, Stereo& dry, Stereo& send, int64_t origin) {
    const double f = MidiToHz(n.pitch);
    const double tau = std::clamp(2.4 * std::sqrt(220.0 / f), 0.6, 4.0);
    const double vel = n.vel;
    Phasor mod, tine, bark;
    mod.Start(f);
    tine.Start(f * 14.0);
    bark.Start(f * 2.0);
    const bool useTine = f * 14.0 < 15000.0;
    double carrier = 0.0;
    const double inc = kTwoPi * f / kRate;
    const int64_t frames = n.length + Secs(0.6);
    Decay body(tau), index(0.35), barkEnv(0.5), tineEnv(0.018);
    Release rel(n.length, 0.08);
    Emit(n, dry, send, origin, frames, [&](int64_t i, bool& stop) {
        const double t = static_cast<double>(i) / kRate;
        const double env = body.Next() * std::min(1.0, t / 0.002) * rel.Next(i);
        if (env < 1e-4 && i > 100) stop = true;
        const double idx = (0.4 + 1.9 * vel) * index.Next() + 0.22;
        const double y = std::sin(carrier + idx * mod.Step());
        carrier += inc;
        if (carrier > kTwoPi) carrier -= kTwoPi;
        double extra = 0.12 * bark.Step() * barkEnv.Next();
        const double ts = tine.Step();
        const double te = tineEnv.Next();
        if (useTine) extra += 0.22 * vel * te * ts;
        return (y + extra) * env * vel * 0.25;
    });
}

void Vibes(const Note& n, Stereo& dry, Stereo& send, int64_t origin) {
    const double f = MidiToHz(n.pitch);
    const double tau = std::clamp(3.6 * std::sqrt(440.0 / f), 1.2, 5.0);
    Phasor p1, p2, p3;
    p1.Start(f);
    p2.Start(f * 3.98);
    p3.Start(f * 9.85);
    const bool hi2 = f * 3.98 < 18000.0, hi3 = f * 9.85 < 18000.0;
    Rng rng(n.seed);
    const double tremPhase = rng.Uni() * kTwoPi;
    OnePoleLow click;
    click.SetCutoff(3000);
    const int64_t frames = n.length + Secs(0.5);
    Decay body(tau), second(tau * 0.22), third(0.1), malletEnv(0.004);
    Release rel(n.length, 0.14);
    Phasor trem;
    trem.Start(5.3, tremPhase);
    Emit(n, dry, send, origin, frames, [&](int64_t i, bool& stop) {
        const double t = static_cast<double>(i) / kRate;
        const double env = body.Next() * std::min(1.0, t / 0.0015) * rel.Next(i);
        if (env < 1e-4 && i > 100) stop = true;
        double y = p1.Step();
        const double a2 = p2.Step() * second.Next(), a3 = p3.Step() * third.Next();
        if (hi2) y += 0.28 * a2;
        if (hi3) y += 0.07 * a3;
        const double tr = 1.0 - 0.22 * (0.5 + 0.5 * trem.Step());
        const double me = malletEnv.Next();
        const double mallet = i < 2000 ? click.Process(rng.Noise()) * me * 0.5 : 0.0;
        return (y * tr + mallet) * env * n.vel * 0.28;
    });
}

void Bass(const Note& n, Stereo& dry, Stereo& send, int64_t origin) {
    const double f = MidiToHz(n.pitch);
    constexpr int kMax = 12;
    Phasor h[kMax];
    double amp[kMax], tau[kMax], dec[kMax], k[kMax];
    int count = 0;
    for (int k = 1; k <= kMax && k * f < 3500.0; ++k) {
        h[count].Start(k * f, 0.0);
        amp[count] = std::pow(static_cast<double>(k), -1.25) * (k == 2 ? 1.2 : 1.0);
        tau[count] = 1.5 / (1.0 + 0.55 * (k - 1));
        dec[count] = 1.0;
        ++count;
    }
    for (int j = 0; j < count; ++j) k[j] = std::exp(-1.0 / (tau[j] * kRate));
    Release rel(n.length, 0.05);
    Decay thumpEnv(0.015);
    Rng rng(n.seed);
    OnePoleLow thumpLp;
    thumpLp.SetCutoff(500);
    const int64_t frames = n.length + Secs(0.25);
    Emit(n, dry, send, origin, frames, [&](int64_t i, bool& stop) {
        const double t = static_cast<double>(i) / kRate;
        const double r = rel.Next(i);
        if (r < 1e-4) stop = true;
        double y = 0.0;
        for (int j = 0; j < count; ++j) {
            y += amp[j] * h[j].Step() * dec[j];
            dec[j] *= k[j];
        }
        const double te = thumpEnv.Next();
        const double thump = i < 3000 ? thumpLp.Process(rng.Noise()) * te * 1.5 : 0.0;
        const double att = std::min(1.0, t / 0.004);
        return (y * att + thump) * r * n.vel * 0.30;
    });
}

// Breathy wind voice from a wavetable with pitch scoop, delayed vibrato and a tone that opens up
// with the envelope.
void Wind(const Note& n, Stereo& dry, Stereo& send, int64_t origin, const Table& table, double attack, double release,
          double vibDepth, double vibRate, double breath, double gain, double brightBase) {
    const double f = MidiToHz(n.pitch);
    Rng rng(n.seed);
    Biquad breathBp = Biquad::Make(Biquad::kBand, 2200, 0.8);
    OnePoleLow tone;
    double phase = rng.Uni();
    const double vibPhase = rng.Uni() * kTwoPi;
    const int64_t frames = n.length + Secs(release * 6);
    const double heldSecs = static_cast<double>(n.length) / kRate;
    double env = 0.0, inc = f / kRate;
    Emit(n, dry, send, origin, frames, [&](int64_t i, bool& stop) {
        if (i % 16 == 0) {
            // Control rate: envelope, pitch and tone change slowly.
            const double t = static_cast<double>(i) / kRate;
            env = Ramp(t, attack) * (0.82 + 0.18 * std::exp(-t / 0.12));
            if (heldSecs > 1.0) env *= 1.0 + 0.12 * std::min(1.0, t / heldSecs);  // gentle swell on long notes
            env *= ReleaseGain(i, n.length, release);
            const double scoop = -0.35 * std::exp(-t / 0.035);
            const double vib = vibDepth * std::min(1.0, std::max(0.0, (t - 0.28) / 0.4)) * std::sin(kTwoPi * vibRate * t + vibPhase);
            inc = f * std::pow(2.0, (scoop + vib) / 12.0) / kRate;
            if (i % 32 == 0) tone.SetCutoff(brightBase + 4200.0 * env * n.vel);
        }
        if (i > n.length && env < 1e-4) stop = true;
        phase += inc;
        phase -= std::floor(phase);
        const double y = tone.Process(ReadTable(table, phase));
        const double air = breathBp.Process(rng.Noise()) * breath;
        return (y + air) * env * n.vel * gain;
    });
}

void Trumpet(const Note& n, Stereo& dry, Stereo& send, int64_t origin) {
    Table t;
    BuildTable(t, MidiToHz(n.pitch), [](int k, double hz) {
        double a = 1.0 / k;
        a *= 0.12 + std::exp(-std::pow((hz - 1550.0) / 520.0, 2)) + 0.6 * std::exp(-std::pow((hz - 2750.0) / 700.0, 2));
        if (hz < 700.0) a *= hz / 700.0;
        return a;
    });
    Wind(n, dry, send, origin, t, 0.045, 0.09, 0.13, 5.1, 0.05, 0.38, 900.0);
}

void Clarinet(const Note& n, Stereo& dry, Stereo& send, int64_t origin) {
    Table t;
    BuildTable(t, MidiToHz(n.pitch), [](int k, double hz) {
        double a = (k % 2 == 1) ? 1.0 / k : (hz < 1600.0 ? 0.08 / k : 0.45 / k);
        if (hz > 2800.0) a *= std::exp(-(hz - 2800.0) / 1400.0);
        return a;
    });
    Wind(n, dry, send, origin, t, 0.07, 0.14, 0.07, 4.7, 0.035, 0.40, 700.0);
}

void Pad(const Note& n, Stereo& dry, Stereo& send, int64_t origin) {
    const double f = MidiToHz(n.pitch);
    Table t;
    BuildTable(t, f, [](int k, double hz) { return hz < 2400.0 ? 1.0 / k : (1.0 / k) * std::exp(-(hz - 2400.0) / 900.0); });
    Rng rng(n.seed);
    double ph[3] = {rng.Uni(), rng.Uni(), rng.Uni()};
    const double det[3] = {1.0, std::pow(2.0, 7.0 / 1200.0), std::pow(2.0, -6.0 / 1200.0)};
    const int64_t frames = n.length + Secs(4.0);
    Emit(n, dry, send, origin, frames, [&](int64_t i, bool& stop) {
        const double tt = static_cast<double>(i) / kRate;
        const double env = Ramp(tt, 0.7) * ReleaseGain(i, n.length, 0.6);
        if (i > n.length && env < 1e-4) stop = true;
        double y = 0.0;
        for (int k = 0; k < 3; ++k) {
            ph[k] += f * det[k] / kRate;
            ph[k] -= std::floor(ph[k]);
            y += ReadTable(t, ph[k]);
        }
        return y * env * n.vel * 0.05;
    });
}

void Drum(const Note& n, Stereo& dry, Stereo& send, int64_t origin) {
    Rng rng(n.seed);
    switch (n.inst) {
    case Inst::BrushTap: {
        Biquad bp = Biquad::Make(Biquad::kBand, 2600 + 400 * (n.pitch - 60) / 12.0, 0.6);
        Phasor body;
        body.Start(190);
        Emit(n, dry, send, origin, Secs(0.35), [&](int64_t i, bool&) {
            const double t = static_cast<double>(i) / kRate;
            const double env = std::min(1.0, t / 0.0015) * (std::exp(-t / 0.045) + 0.25 * std::exp(-t / 0.14)) * Ramp(0.35 - t, 0.02);
            return (bp.Process(rng.Noise()) * 1.4 + 0.25 * body.Step() * std::exp(-t / 0.04)) * env * n.vel * 0.22;
        });
        break;
    }
    case Inst::BrushSwish: {
        Biquad bp = Biquad::Make(Biquad::kBand, 3800, 0.5);
        Biquad hp = Biquad::Make(Biquad::kHigh, 1200, 0.7);
        const double len = static_cast<double>(n.length);
        double env = 0.0;
        Emit(n, dry, send, origin, n.length, [&](int64_t i, bool&) {
            if (i % 16 == 0) {
                const double x = static_cast<double>(i) / len;
                env = std::pow(std::sin(kPi * x), 1.5) * (0.6 + 0.4 * x);
            }
            return hp.Process(bp.Process(rng.Noise())) * env * n.vel * 0.12;
        });
        break;
    }
    case Inst::Ride: {
        static const double kRatios[6] = {1.0, 1.4655, 2.1183, 3.0286, 4.2604, 6.2619};
        Phasor p[6];
        for (int k = 0; k < 6; ++k) p[k].Start(410.0 * kRatios[k] * (n.pitch / 60.0), rng.Uni() * kTwoPi);
        Biquad hp = Biquad::Make(Biquad::kHigh, 6500, 0.7);
        Biquad hp2 = Biquad::Make(Biquad::kHigh, 3000, 0.7);
        Decay ping(0.035), wash(0.7);
        Emit(n, dry, send, origin, Secs(2.2), [&](int64_t i, bool&) {
            const double t = static_cast<double>(i) / kRate;
            double metal = 0.0;
            for (int k = 0; k < 6; ++k) metal += p[k].Step() * (k > 2 ? 1.0 : 0.6);
            const double env = std::min(1.0, t / 0.001) * (0.7 * ping.Next() + 0.3 * wash.Next()) * (t > 2.0 ? Ramp(2.2 - t, 0.1) : 1.0);
            const double noise = hp.Process(rng.Noise());
            return (hp2.Process(metal * 0.18) + noise * 0.5) * env * n.vel * 0.16;
        });
        break;
    }
    case Inst::Kick: {
        double phase = 0.0;
        OnePoleLow lp;
        lp.SetCutoff(900);
        Emit(n, dry, send, origin, Secs(0.5), [&](int64_t i, bool&) {
            const double t = static_cast<double>(i) / kRate;
            const double f = 52.0 + 45.0 * std::exp(-t / 0.03);
            phase += kTwoPi * f / kRate;
            const double env = std::min(1.0, t / 0.002) * std::exp(-t / 0.16) * Ramp(0.5 - t, 0.05);
            return (std::sin(phase) + lp.Process(rng.Noise()) * std::exp(-t / 0.004)) * env * n.vel * 0.5;
        });
        break;
    }
    case Inst::HatFoot: {
        Biquad hp = Biquad::Make(Biquad::kHigh, 5500, 0.8);
        Biquad bp = Biquad::Make(Biquad::kBand, 9000, 1.2);
        Emit(n, dry, send, origin, Secs(0.15), [&](int64_t i, bool&) {
            const double t = static_cast<double>(i) / kRate;
            const double env = std::min(1.0, t / 0.002) * std::exp(-t / 0.022) * Ramp(0.15 - t, 0.02);
            const double x = rng.Noise();
            return (hp.Process(x) + bp.Process(x)) * env * n.vel * 0.12;
        });
        break;
    }
    case Inst::Rim: {
        Phasor a, b;
        a.Start(1750);
        b.Start(820);
        Biquad bp = Biquad::Make(Biquad::kBand, 3200, 1.0);
        Emit(n, dry, send, origin, Secs(0.12), [&](int64_t i, bool&) {
            const double t = static_cast<double>(i) / kRate;
            const double env = std::min(1.0, t / 0.0008) * Ramp(0.12 - t, 0.02);
            const double tone = (0.6 * a.Step() + 0.5 * b.Step()) * std::exp(-t / 0.012);
            return (tone + bp.Process(rng.Noise()) * 1.2 * std::exp(-t / 0.007)) * env * n.vel * 0.16;
        });
        break;
    }
    case Inst::Shaker: {
        Biquad hp = Biquad::Make(Biquad::kHigh, 5000, 0.7);
        Emit(n, dry, send, origin, Secs(0.16), [&](int64_t i, bool&) {
            const double t = static_cast<double>(i) / kRate;
            const double env = Ramp(t, 0.012) * std::exp(-t / 0.05) * Ramp(0.16 - t, 0.02);
            return hp.Process(rng.Noise()) * env * n.vel * 0.09;
        });
        break;
    }
    default:
        break;
    }
}

}  // namespace

void RenderNote(const Note& n, Stereo& dry, Stereo& send, int64_t origin) {
    switch (n.inst) {
    case Inst::EPiano: EPiano(n, dry, send, origin); break;
    case Inst::Vibes: Vibes(n, dry, send, origin); break;
    case Inst::Bass: Bass(n, dry, send, origin); break;
    case Inst::Trumpet: Trumpet(n, dry, send, origin); break;
    case Inst::Clarinet: Clarinet(n, dry, send, origin); break;
    case Inst::Pad: Pad(n, dry, send, origin); break;
    default: Drum(n, dry, send, origin); break;
    }
}

int64_t NoteTail(const Note& n) {
    switch (n.inst) {
    case Inst::Pad: return static_cast<int64_t>(Secs(4.0));
    case Inst::Ride: return static_cast<int64_t>(Secs(2.2));
    default: return static_cast<int64_t>(Secs(0.8));
    }
}

}  // namespace sf

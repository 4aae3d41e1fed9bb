// Sound effects: felt, card paper, brass medals and glassy chimes, all made from a few shaped
// noise bursts and decaying partials.
#include "effects.h"

#include <functional>
#include <map>

namespace sf {
namespace {

using Buf = std::vector<float>;

// Adds v at index i; looped sounds wrap their tails around to the start.
inline void Put(Buf& b, int64_t i, double v, bool wrap) {
    const int64_t n = static_cast<int64_t>(b.size());
    if (wrap) i = ((i % n) + n) % n;
    if (i >= 0 && i < n) b[static_cast<size_t>(i)] += static_cast<float>(v);
}

// A decaying set of partials: ratios/levels/decays, struck at time t.
void Partials(Buf& b, double t, double f, const std::vector<double>& ratios, const std::vector<double>& levels,
              const std::vector<double>& taus, double amp, bool wrap = false, double attack = 0.002) {
    const int64_t s0 = static_cast<int64_t>(Secs(t));
    double maxTau = 0;
    for (double x : taus) maxTau = std::max(maxTau, x);
    const int64_t len = static_cast<int64_t>(Secs(maxTau * 9.0));
    for (size_t k = 0; k < ratios.size(); ++k) {
        if (f * ratios[k] > 18000.0) continue;
        Phasor p;
        p.Start(f * ratios[k]);
        for (int64_t i = 0; i < len; ++i) {
            const double tt = static_cast<double>(i) / kRate;
            const double env = Ramp(tt, attack) * std::exp(-tt / taus[k]);
            Put(b, s0 + i, p.Step() * env * levels[k] * amp, wrap);
        }
    }
}

void Chime(Buf& b, double t, double f, double amp, double tau, bool wrap = false) {
    Partials(b, t, f, {1.0, 2.76, 5.40, 8.93}, {1.0, 0.32, 0.12, 0.05}, {tau, tau * 0.45, tau * 0.2, tau * 0.1}, amp, wrap);
}

void Clink(Buf& b, double t, double f, double amp, bool wrap = false) {
    Partials(b, t, f, {1.0, 1.59, 2.14, 2.83, 3.61}, {1.0, 0.7, 0.5, 0.35, 0.2}, {0.09, 0.06, 0.045, 0.03, 0.02}, amp, wrap,
             0.0007);
}

// Filtered noise with a shape over [t, t + dur]; the band centre may glide from f0 to f1.
void Noise(Buf& b, double t, double dur, double f0, double f1, double q, double amp, uint64_t seed,
           const std::function<double(double)>& shape, bool wrap = false) {
    Rng rng(seed);
    Biquad bp;
    const int64_t s0 = static_cast<int64_t>(Secs(t));
    const int64_t len = static_cast<int64_t>(Secs(dur));
    for (int64_t i = 0; i < len; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(len);
        if (i % 16 == 0) bp.Set(Biquad::kBand, f0 * std::pow(f1 / f0, x), q);
        Put(b, s0 + i, bp.Process(rng.Noise()) * shape(x) * amp, wrap);
    }
}

void Thump(Buf& b, double t, double f, double amp, double tau) {
    Phasor p;
    p.Start(f);
    const int64_t s0 = static_cast<int64_t>(Secs(t));
    const int64_t len = static_cast<int64_t>(Secs(tau * 8));
    for (int64_t i = 0; i < len; ++i) {
        const double tt = static_cast<double>(i) / kRate;
        Put(b, s0 + i, p.Step() * Ramp(tt, 0.003) * std::exp(-tt / tau) * amp, false);
    }
}

// Room for the chimes: a little of the band's reverb, folded to mono.
void AddRoom(Buf& b, double wet) {
    Stereo in(b.size()), out;
    for (size_t i = 0; i < b.size(); ++i) in.l[i] = in.r[i] = b[i];
    Reverb rev(0.8, 0.4);
    rev.Process(in, out);
    for (size_t i = 0; i < b.size(); ++i) b[i] += static_cast<float>((out.l[i] + out.r[i]) * 0.5 * wet);
}

double Hump(double x) { return std::sin(kPi * x); }
double Early(double x) { return std::min(1.0, x * 12.0) * std::exp(-x * 5.0); }

Buf Make(double secs) { return Buf(Secs(secs), 0.0f); }

Buf Decide() {
    Buf b = Make(0.45);
    Noise(b, 0.0, 0.02, 900, 900, 0.7, 0.5, 11, Early);
    Chime(b, 0.0, 1318.5, 0.5, 0.09);
    Chime(b, 0.03, 1975.5, 0.35, 0.08);
    return b;
}

Buf Cancel() {
    Buf b = Make(0.4);
    Noise(b, 0.0, 0.02, 700, 700, 0.7, 0.4, 12, Early);
    Partials(b, 0.0, 784.0, {1.0, 2.0}, {1.0, 0.2}, {0.06, 0.03}, 0.5);
    Partials(b, 0.07, 587.3, {1.0, 2.0}, {1.0, 0.2}, {0.08, 0.04}, 0.5);
    return b;
}

Buf CardDraw() {
    Buf b = Make(0.26);
    Noise(b, 0.0, 0.17, 1800, 4800, 0.9, 1.0, 13, [](double x) { return std::pow(std::sin(kPi * x), 1.5) * (0.5 + 0.5 * x); });
    Noise(b, 0.15, 0.04, 5000, 5000, 1.2, 0.8, 14, Early);
    Thump(b, 0.155, 170, 0.25, 0.015);
    return b;
}

Buf Hold() {
    Buf b = Make(0.16);
    Noise(b, 0.0, 0.05, 1200, 900, 0.6, 1.0, 15, Early);
    Thump(b, 0.0, 160, 0.6, 0.02);
    Noise(b, 0.0, 0.008, 4000, 4000, 1.0, 0.3, 16, Early);
    return b;
}

Buf BetLoop() {
    // 12 ticks in 0.6 s: a brass counter. The tick period divides the loop, tails wrap around.
    Buf b = Make(0.6);
    for (int k = 0; k < 12; ++k) {
        const double f = k % 2 ? 2350.0 : 2480.0;
        Partials(b, k * 0.05, f, {1.0, 1.51, 2.26}, {1.0, 0.5, 0.25}, {0.014, 0.01, 0.007}, 0.6, true, 0.0006);
        Noise(b, k * 0.05, 0.006, 6000, 6000, 1.0, 0.25, 20 + static_cast<uint64_t>(k), Early, true);
    }
    return b;
}

Buf BetOk() {
    Buf b = Make(0.9);
    Clink(b, 0.0, 2900, 0.45);
    Clink(b, 0.05, 3300, 0.35);
    Chime(b, 0.02, 1046.5, 0.4, 0.25);
    Chime(b, 0.06, 1318.5, 0.35, 0.25);
    Chime(b, 0.10, 1568.0, 0.35, 0.3);
    AddRoom(b, 0.5);
    return b;
}

Buf MedalMove() {
    // Medals sliding and clinking: random clinks spread over the loop, tails wrapped.
    Buf b = Make(1.2);
    Rng rng(0x3ED41);
    for (int k = 0; k < 30; ++k) {
        const double t = rng.Range(0.0, 1.2);
        Clink(b, t, rng.Range(2300.0, 4300.0), rng.Range(0.15, 0.35), true);
    }
    // A soft continuous rattle: noise generated periodically so that the filter settles into the
    // same state at the end as at the start.
    const size_t n = b.size();
    Rng nr(0x3ED42);
    std::vector<float> noise(n);
    for (auto& v : noise) v = static_cast<float>(nr.Noise());
    Biquad bp = Biquad::Make(Biquad::kBand, 5200, 0.8);
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < n; ++i) {
            const double y = bp.Process(noise[i]);
            if (pass == 1) b[i] += static_cast<float>(y * 0.05);
        }
    }
    return b;
}

Buf BattleWin() {
    Buf b = Make(2.4);
    const double notes[4] = {523.25, 659.26, 783.99, 1046.5};
    for (int k = 0; k < 4; ++k) Chime(b, k * 0.09, notes[k], 0.35, 0.5);
    Chime(b, 0.42, 1318.5, 0.3, 0.9);
    Chime(b, 0.42, 1568.0, 0.3, 0.9);
    Chime(b, 0.42, 2093.0, 0.25, 0.9);
    for (int k = 0; k < 6; ++k) Clink(b, 0.45 + k * 0.07, 3000.0 + 250.0 * k, 0.12);
    AddRoom(b, 0.6);
    return b;
}

Buf WupWin() {
    Buf b = Make(1.5);
    Chime(b, 0.0, 783.99, 0.35, 0.35);
    Chime(b, 0.08, 1174.7, 0.35, 0.4);
    Chime(b, 0.16, 1568.0, 0.4, 0.7);
    for (int k = 0; k < 4; ++k) Clink(b, 0.2 + k * 0.06, 3400.0 + 300.0 * k, 0.1);
    AddRoom(b, 0.55);
    return b;
}

Buf Ability() {
    Buf b = Make(1.6);
    // Rising glassy glide.
    double phase = 0.0;
    const int64_t len = static_cast<int64_t>(Secs(0.55));
    for (int64_t i = 0; i < len; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(len);
        const double f = 600.0 * std::pow(4.0, x);
        phase += kTwoPi * f / kRate;
        Put(b, i, (std::sin(phase) + 0.3 * std::sin(2.76 * phase)) * Hump(x) * 0.25, false);
    }
    const double notes[5] = {1396.9, 1760.0, 2093.0, 2637.0, 3136.0};
    for (int k = 0; k < 5; ++k) Chime(b, 0.3 + k * 0.05, notes[k], 0.22, 0.45);
    Noise(b, 0.25, 0.9, 7000, 9000, 0.8, 0.25, 31, [](double x) { return Hump(std::min(1.0, x * 1.5)) * (1 - x); });
    AddRoom(b, 0.7);
    return b;
}

Buf MenuOpen() {
    Buf b = Make(0.32);
    Noise(b, 0.0, 0.22, 500, 3000, 0.8, 0.8, 41, [](double x) { return std::pow(Hump(x), 1.3); });
    Partials(b, 0.2, 1200, {1.0, 2.3}, {1.0, 0.3}, {0.012, 0.006}, 0.4);
    return b;
}

Buf MenuClose() {
    Buf b = Make(0.32);
    Partials(b, 0.0, 1000, {1.0, 2.3}, {1.0, 0.3}, {0.012, 0.006}, 0.4);
    Noise(b, 0.03, 0.22, 3000, 500, 0.8, 0.8, 42, [](double x) { return std::pow(Hump(x), 1.3); });
    return b;
}

Buf Shuffle() {
    Buf b = Make(0.8);
    double t = 0.0;
    for (int k = 0; k < 26; ++k) {
        Noise(b, t, 0.012, 3500, 3000, 1.0, 0.5, 50 + static_cast<uint64_t>(k), Early);
        t += 0.024 - 0.0004 * k;
    }
    Thump(b, t + 0.03, 140, 0.5, 0.03);
    Noise(b, t + 0.03, 0.06, 900, 700, 0.7, 0.5, 49, Early);
    return b;
}

Buf CardFlip() {
    Buf b = Make(0.16);
    Noise(b, 0.0, 0.06, 2500, 4500, 0.9, 0.9, 61, [](double x) { return Hump(x); });
    Thump(b, 0.05, 200, 0.25, 0.012);
    return b;
}

Buf ChimeFx() {
    Buf b = Make(1.2);
    Chime(b, 0.0, 1760.0, 0.4, 0.5);
    Chime(b, 0.04, 2637.0, 0.25, 0.4);
    AddRoom(b, 0.6);
    return b;
}

Buf Shake() {
    Buf b = Make(0.7);
    Thump(b, 0.0, 58, 0.9, 0.14);
    Noise(b, 0.0, 0.4, 180, 120, 0.7, 0.8, 71, [](double x) { return std::min(1.0, x * 20) * std::exp(-x * 6); });
    return b;
}

Buf Sparkle() {
    Buf b = Make(1.1);
    Rng rng(0x5BA4C);
    for (int k = 0; k < 12; ++k) Chime(b, rng.Range(0.0, 0.5), rng.Range(2800.0, 5600.0), 0.15, 0.18);
    AddRoom(b, 0.6);
    return b;
}

Buf Logo() {
    Buf b = Make(2.6);
    const double notes[5] = {174.61, 261.63, 329.63, 392.0, 440.0};
    for (int k = 0; k < 5; ++k) {
        Partials(b, k * 0.08, notes[k], {1.0, 2.0, 3.0, 14.0}, {1.0, 0.25, 0.1, 0.05}, {1.2, 0.5, 0.3, 0.02}, 0.25);
    }
    Chime(b, 0.45, 1760.0, 0.18, 0.8);
    AddRoom(b, 0.6);
    return b;
}

struct Maker {
    Buf (*fn)();
    bool loop;
};

const std::map<std::string, Maker>& Makers() {
    static const std::map<std::string, Maker> m = {
        {"se_decide.wav", {Decide, false}},       {"se_cancel.wav", {Cancel, false}},
        {"se_carddraw.wav", {CardDraw, false}},   {"se_hold.wav", {Hold, false}},
        {"se_bet_loop.wav", {BetLoop, true}},     {"se_bet_ok.wav", {BetOk, false}},
        {"se_medal_move.wav", {MedalMove, true}}, {"se_battle_win.wav", {BattleWin, false}},
        {"se_wup_win.wav", {WupWin, false}},      {"se_ability.wav", {Ability, false}},
        {"se_menu_open.wav", {MenuOpen, false}},  {"se_menu_close.wav", {MenuClose, false}},
        {"se_shuffle.wav", {Shuffle, false}},     {"se_cardflip.wav", {CardFlip, false}},
        {"se_chime.wav", {ChimeFx, false}},       {"se_shake.wav", {Shake, false}},
        {"se_sparkle.wav", {Sparkle, false}},     {"se_logo.wav", {Logo, false}},
    };
    return m;
}

}  // namespace

void FinishOneShot(std::vector<float>& x, double peak, double fadeInSecs, double fadeOutSecs) {
    double p = 1e-9;
    for (float v : x) p = std::max(p, static_cast<double>(std::fabs(v)));
    const double g = peak / p;
    const size_t n = x.size();
    const size_t fi = Secs(fadeInSecs), fo = Secs(fadeOutSecs);
    double mean = 0;
    for (float v : x) mean += v;
    mean /= static_cast<double>(std::max<size_t>(1, n));
    for (size_t i = 0; i < n; ++i) {
        double v = (x[i] - mean) * g;
        if (i < fi) v *= Ramp(static_cast<double>(i), static_cast<double>(fi));
        if (n - 1 - i < fo) v *= Ramp(static_cast<double>(n - 1 - i), static_cast<double>(fo));
        x[i] = static_cast<float>(v);
    }
}

const std::vector<Effect>& EffectList() {
    static const std::vector<Effect> list = [] {
        std::vector<Effect> l;
        for (const auto& [name, maker] : Makers()) l.push_back({name, maker.loop});
        return l;
    }();
    return list;
}

std::vector<float> RenderEffect(const std::string& name) {
    const auto it = Makers().find(name);
    if (it == Makers().end()) return {};
    Buf b = it->second.fn();
    if (it->second.loop) {
        // Looped: level only (the wrapped tails already make the end run into the start).
        FinishOneShot(b, 0.6, 0.0, 0.0);
    } else {
        FinishOneShot(b, 0.7, 0.003, 0.03);
    }
    return b;
}

}  // namespace sf

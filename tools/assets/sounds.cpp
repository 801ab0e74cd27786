// The program's sounds, synthesised: short, soft, never harsh.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "assets.h"

namespace assets {

namespace {

constexpr uint32_t kRate = 22050;
constexpr double kTau = 2 * std::numbers::pi;

struct Partial {
    double frequency;
    double level;
};

// Decaying partials from `start`, with a 5 ms attack so nothing clicks.
void AddBell(std::vector<double>& out, double start, std::initializer_list<Partial> partials,
             double decay, double gain) {
    for (size_t i = static_cast<size_t>(start * kRate); i < out.size(); ++i) {
        const double u = static_cast<double>(i) / kRate - start;
        const double envelope = std::min(1.0, u / 0.005) * std::exp(-u * decay);
        double v = 0;
        for (const Partial& p : partials) v += p.level * std::sin(kTau * p.frequency * u);
        out[i] += gain * envelope * v;
    }
}

// Ends the sound with a short fade so it stops without a click.
void FadeOut(std::vector<double>& s, double seconds) {
    const auto n = static_cast<size_t>(seconds * kRate);
    for (size_t k = 0; k < n && k < s.size(); ++k)
        s[s.size() - 1 - k] *= static_cast<double>(k) / static_cast<double>(n);
}

std::vector<double> Silence(double seconds) {
    return std::vector<double>(static_cast<size_t>(seconds * kRate), 0.0);
}

// Start: two bell-like notes a fifth apart.
std::vector<double> Chime() {
    auto s = Silence(0.9);
    AddBell(s, 0.0, {{880.0, 1.0}, {1760.0, 0.25}}, 5.0, 0.3);
    AddBell(s, 0.14, {{1318.5, 1.0}, {2637.0, 0.25}}, 5.0, 0.3);
    FadeOut(s, 0.05);
    return s;
}

// Tab: a short wooden tick.
std::vector<double> Click() {
    auto s = Silence(0.09);
    AddBell(s, 0.0, {{1250.0, 1.0}, {2710.0, 0.35}, {620.0, 0.3}}, 70.0, 0.35);
    FadeOut(s, 0.01);
    return s;
}

// Page: a softer, lower double tick, like a turned page settling.
std::vector<double> Click2() {
    auto s = Silence(0.14);
    AddBell(s, 0.0, {{740.0, 1.0}, {1480.0, 0.2}}, 55.0, 0.28);
    AddBell(s, 0.045, {{990.0, 1.0}, {1980.0, 0.2}}, 60.0, 0.2);
    FadeOut(s, 0.015);
    return s;
}

// Help: a hummed rising "hm?", a voice-like tone gliding up a fourth.
std::vector<double> Huh() {
    auto s = Silence(0.42);
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double glide = std::min(1.0, std::max(0.0, (t - 0.12) / 0.22));
        const double f = 220.0 * std::pow(4.0 / 3.0, glide * glide * (3 - 2 * glide));
        phase += kTau * f / kRate;
        const double envelope = std::min(1.0, t / 0.03) * std::min(1.0, (0.42 - t) / 0.08);
        // A few soft harmonics give the hum its vowel.
        const double v = std::sin(phase) + 0.45 * std::sin(2 * phase) + 0.2 * std::sin(3 * phase);
        s[i] = 0.22 * envelope * v;
    }
    return s;
}

// Credits, each typed letter: a dry, bright key tap.
std::vector<double> KeyTap() {
    auto s = Silence(0.05);
    AddBell(s, 0.0, {{2100.0, 1.0}, {3900.0, 0.4}, {900.0, 0.25}}, 120.0, 0.3);
    FadeOut(s, 0.008);
    return s;
}

// Credits, a reveal: a quick upward blip.
std::vector<double> Reveal() {
    auto s = Silence(0.12);
    AddBell(s, 0.0, {{660.0, 1.0}, {1320.0, 0.2}}, 40.0, 0.25);
    AddBell(s, 0.04, {{990.0, 1.0}, {1980.0, 0.2}}, 40.0, 0.25);
    FadeOut(s, 0.015);
    return s;
}

// Credits, the end: three rising bell notes.
std::vector<double> Ending() {
    auto s = Silence(1.1);
    AddBell(s, 0.0, {{523.25, 1.0}, {1046.5, 0.25}}, 4.5, 0.22);
    AddBell(s, 0.16, {{659.25, 1.0}, {1318.5, 0.25}}, 4.5, 0.22);
    AddBell(s, 0.32, {{783.99, 1.0}, {1568.0, 0.25}}, 4.0, 0.24);
    FadeOut(s, 0.06);
    return s;
}

}  // namespace

bool WriteSounds(Output& out) {
    bool ok = out.Write("start.wav", WaveFile(Chime(), kRate));
    ok &= out.Write("click.wav", WaveFile(Click(), kRate));
    ok &= out.Write("click2.wav", WaveFile(Click2(), kRate));
    ok &= out.Write("huh.wav", WaveFile(Huh(), kRate));
    ok &= out.Write("k.dat", WaveFile(KeyTap(), kRate));
    ok &= out.Write("r.dat", WaveFile(Reveal(), kRate));
    ok &= out.Write("e.dat", WaveFile(Ending(), kRate));
    return ok;
}

}  // namespace assets

// Synthesises the 23 cue files "1.wav" ... "23.wav" (mono, 22050 Hz, 16-bit
// PCM) from oscillators, filtered noise and envelopes. Run as
// `make_sounds <dir>`; writes exactly <dir>/1.wav ... <dir>/23.wav.
//
// Several numbers serve two games, so each sound is made to fit all its
// events: 7 and 9 are both a mild "game over" and a ship going down, 14 is
// both a hit at sea and the minesweeper's last boom, 15 both the minesweeper's
// cell click and a ship set down. 2 and 15 replay on every move and stay very
// short; the program takes no input while any other cue plays, so none is
// longer than two seconds.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iostream>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = std::numbers::pi;
constexpr double kNyquist = kRate / 2.0;

using Signal = std::vector<double>;

std::size_t samplesFor(double seconds)
{
    return std::size_t(std::lround(seconds * kRate));
}

Signal silence(double seconds)
{
    return Signal(samplesFor(seconds), 0.0);
}

// Adds src into dst starting at `at` seconds, growing dst when needed.
void mixInto(Signal& dst, const Signal& src, double at, double gain = 1.0)
{
    const std::size_t offset = samplesFor(at);
    if (dst.size() < offset + src.size())
        dst.resize(offset + src.size(), 0.0);
    for (std::size_t i = 0; i < src.size(); ++i)
        dst[offset + i] += gain * src[i];
}

double noteHz(double midiNote)
{
    return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0);
}

// White noise in [-1, 1] from a fixed seed, so every build makes the same files.
class Noise {
public:
    explicit Noise(std::uint32_t seed)
        : m_rng(seed)
    {
    }
    double next() { return double(m_rng()) / double(std::mt19937::max()) * 2.0 - 1.0; }
    double uniform(double lo, double hi) { return lo + (hi - lo) * double(m_rng()) / double(std::mt19937::max()); }

private:
    std::mt19937 m_rng;
};

// Zero-delay state-variable filter: stays stable while its cutoff sweeps.
class Svf {
public:
    struct Out {
        double low, band, high;
    };
    Out process(double x, double cutoff, double q)
    {
        const double g = std::tan(kPi * std::clamp(cutoff, 10.0, 0.45 * kRate) / kRate);
        const double k = 1.0 / q;
        const double a1 = 1.0 / (1.0 + g * (g + k));
        const double a2 = g * a1;
        const double a3 = g * a2;
        const double v3 = x - m_ic2;
        const double v1 = a1 * m_ic1 + a2 * v3;
        const double v2 = m_ic2 + a2 * m_ic1 + a3 * v3;
        m_ic1 = 2.0 * v1 - m_ic1;
        m_ic2 = 2.0 * v2 - m_ic2;
        return {v2, v1, x - k * v1 - v2};
    }

private:
    double m_ic1 = 0.0;
    double m_ic2 = 0.0;
};

// Attack, decay to a sustain level, and a release that ends exactly at `dur`.
double adsr(double t, double dur, double attack, double decay, double sustain, double release)
{
    double level;
    if (t < attack)
        level = t / attack;
    else if (t < attack + decay)
        level = 1.0 - (1.0 - sustain) * (t - attack) / decay;
    else
        level = sustain;
    const double untilEnd = dur - t;
    if (untilEnd < release)
        level *= std::max(0.0, untilEnd / release);
    return level;
}

// A tone of harmonics whose pitch may glide: freq(t) in Hz, harmonic(h, t)
// the amplitude of harmonic h (1-based) at time t, env(t) the loudness.
Signal additive(double dur, const std::function<double(double)>& freq,
                const std::function<double(int, double)>& harmonic, const std::function<double(double)>& env,
                int maxHarmonic = 12)
{
    Signal out(samplesFor(dur));
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        const double f = freq(t);
        double v = 0.0;
        for (int h = 1; h <= maxHarmonic && h * f < kNyquist * 0.9; ++h)
            v += harmonic(h, t) * std::sin(h * phase);
        out[i] = v * env(t);
        phase += 2.0 * kPi * f / kRate;
        if (phase > 2.0 * kPi * 64)
            phase -= 2.0 * kPi * 64;
    }
    return out;
}

// A brass-like note: the upper harmonics open up during the attack, a slight
// vibrato sets in on long notes.
Signal brass(double midiNote, double dur, double gain = 1.0)
{
    const double f0 = noteHz(midiNote);
    return additive(
        dur,
        [=](double t) { return f0 * (1.0 + (t > 0.15 ? 0.004 * std::sin(2 * kPi * 5.5 * t) : 0.0)); },
        [](int h, double t) {
            const double open = std::min(1.0, t / (0.012 * h));
            return open / std::pow(double(h), 1.15);
        },
        [=](double t) { return gain * adsr(t, dur, 0.02, 0.08, 0.75, std::min(0.08, dur / 3)); }, 10);
}

// A bright chime: slightly stretched partials, each dying away faster than
// the one below it.
Signal chime(double midiNote, double dur, double gain = 1.0)
{
    const double f0 = noteHz(midiNote);
    static const double ratios[] = {1.0, 2.01, 3.03, 4.2, 5.4};
    Signal out(samplesFor(dur));
    for (int p = 0; p < 5; ++p) {
        const double f = f0 * ratios[p];
        if (f > kNyquist * 0.9)
            break;
        const double tau = 0.3 / (1.0 + p);
        const double amp = 1.0 / (1.0 + p * p * 0.6);
        for (std::size_t i = 0; i < out.size(); ++i) {
            const double t = double(i) / kRate;
            out[i] += gain * amp * std::sin(2 * kPi * f * t) * std::exp(-t / tau) * std::min(1.0, t / 0.002);
        }
    }
    return out;
}

// A plucked string: all harmonics struck at once, the higher ones fading first.
Signal pluck(double midiNote, double dur, double gain = 1.0)
{
    const double f0 = noteHz(midiNote);
    return additive(
        dur, [=](double) { return f0; },
        [](int h, double t) { return std::exp(-t * (2.0 + 3.0 * h)) / h; },
        [=](double t) { return gain * std::min(1.0, t / 0.003) * std::min(1.0, (dur - t) / 0.03); }, 10);
}

// A soft, hollow tone (odd harmonics only), for the quieter motifs.
Signal hollow(const std::function<double(double)>& freq, double dur, double gain = 1.0)
{
    return additive(
        dur, freq, [](int h, double) { return h % 2 ? 1.0 / (h * h) : 0.0; },
        [=](double t) { return gain * adsr(t, dur, 0.015, 0.05, 0.8, std::min(0.1, dur / 3)); }, 9);
}

// A falling sine "thump": the body of an explosion or impact.
Signal thump(double fromHz, double toHz, double dur, double tau, double gain = 1.0)
{
    Signal out(samplesFor(dur));
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        const double f = toHz + (fromHz - toHz) * std::exp(-t / (dur * 0.25));
        out[i] = gain * std::sin(phase) * std::exp(-t / tau) * std::min(1.0, t / 0.002);
        phase += 2.0 * kPi * f / kRate;
    }
    return out;
}

// Noise through a low-pass whose cutoff falls from `fromHz` to `toHz`, shaped
// by a fast attack and an exponential decay: the roar of a blast.
Signal blast(Noise& noise, double dur, double fromHz, double toHz, double tau, double gain = 1.0)
{
    Signal out(samplesFor(dur));
    Svf filter;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        const double cutoff = toHz + (fromHz - toHz) * std::exp(-t / (tau * 0.6));
        const double env = std::min(1.0, t / 0.003) * std::exp(-t / tau) * std::min(1.0, (dur - t) / 0.05);
        out[i] = gain * env * filter.process(noise.next(), cutoff, 0.7).low;
    }
    return out;
}

// Short high-passed ticks scattered in time, thinning out: falling debris or
// crackle.
Signal crackle(Noise& noise, double dur, double start, double density, double gain = 1.0)
{
    Signal out(samplesFor(dur));
    Svf filter;
    double t = start;
    while (t < dur - 0.02) {
        const double age = (t - start) / (dur - start);
        const double level = gain * (1.0 - age) * noise.uniform(0.3, 1.0);
        const std::size_t at = samplesFor(t);
        const std::size_t len = samplesFor(noise.uniform(0.002, 0.008));
        for (std::size_t i = 0; i < len && at + i < out.size(); ++i)
            out[at + i] += level * noise.next() * (1.0 - double(i) / len);
        t += noise.uniform(0.3, 1.7) / (density * (1.0 - 0.8 * age));
    }
    for (double& v : out)
        v = filter.process(v, 1800.0, 0.7).high;
    return out;
}

// A rising bubble: a short sine chirp, upward, as air escapes from below.
Signal bubble(double hz, double dur, double gain)
{
    Signal out(samplesFor(dur));
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        const double f = hz * (1.0 + 1.5 * t / dur);
        out[i] = gain * std::sin(phase) * std::sin(kPi * t / dur);
        phase += 2.0 * kPi * f / kRate;
    }
    return out;
}

// A struck piece of metal: inharmonic partials with quick decays.
Signal clank(double hz, double dur, double gain)
{
    static const double ratios[] = {1.0, 1.47, 2.09, 2.56, 3.91};
    Signal out(samplesFor(dur));
    for (int p = 0; p < 5; ++p) {
        const double f = hz * ratios[p];
        if (f > kNyquist * 0.9)
            break;
        const double tau = dur * 0.35 / (1.0 + 0.4 * p);
        for (std::size_t i = 0; i < out.size(); ++i) {
            const double t = double(i) / kRate;
            out[i] += gain / (1.0 + p) * std::sin(2 * kPi * f * t) * std::exp(-t / tau) * std::min(1.0, t / 0.0008);
        }
    }
    return out;
}

// A wooden knock: two damped resonances and a click of noise on the strike.
Signal knock(Noise& noise, double hz, double dur, double gain)
{
    Signal out(samplesFor(dur));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        double v = 0.8 * std::sin(2 * kPi * hz * t) * std::exp(-t / 0.012);
        v += 0.45 * std::sin(2 * kPi * hz * 2.71 * t) * std::exp(-t / 0.006);
        v += 0.5 * noise.next() * std::exp(-t / 0.0015);
        out[i] = gain * v * std::min(1.0, t / 0.0005);
    }
    return out;
}

// Scales the cue to the given peak and fades its ends, so that no file clips
// or starts and stops with a click.
void finish(Signal& s, double peak)
{
    double max = 0.0;
    for (double v : s)
        max = std::max(max, std::abs(v));
    if (max > 0.0) {
        for (double& v : s)
            v *= peak / max;
    }
    const std::size_t fadeIn = std::min(s.size(), samplesFor(0.001));
    const std::size_t fadeOut = std::min(s.size(), samplesFor(0.008));
    for (std::size_t i = 0; i < fadeIn; ++i)
        s[i] *= double(i) / fadeIn;
    for (std::size_t i = 0; i < fadeOut; ++i)
        s[s.size() - 1 - i] *= double(i) / fadeOut;
}

// Soft saturation for the blasts: keeps the peak below full scale while it
// thickens the sound and adds the overtones that let a deep boom be heard on
// small speakers.
void saturate(Signal& s, double drive)
{
    double max = 0.0;
    for (double v : s)
        max = std::max(max, std::abs(v));
    if (max <= 0.0)
        return;
    for (double& v : s)
        v = std::tanh(drive * v / max) / std::tanh(drive);
}

// ---- The cues -------------------------------------------------------------

// 1: a new deal. A quick shuffle of tiles under a bright rising arpeggio.
Signal cueNewDeal()
{
    Noise noise(101);
    Signal s = silence(0.6);
    for (int i = 0; i < 6; ++i)
        mixInto(s, knock(noise, 650.0 + 90.0 * (i % 3), 0.05, 0.35), 0.012 + i * 0.042);
    const double notes[] = {84, 88, 91, 96};
    for (int i = 0; i < 4; ++i)
        mixInto(s, chime(notes[i], 0.6 - i * 0.07, 0.5), i * 0.07);
    s.resize(samplesFor(0.6));
    finish(s, 0.8);
    return s;
}

// 2: a tile slides into the gap: a brush of wood on wood, then the knock.
Signal cueSlide()
{
    Noise noise(202);
    Signal s = silence(0.1);
    Svf filter;
    const std::size_t slide = samplesFor(0.055);
    for (std::size_t i = 0; i < slide; ++i) {
        const double t = double(i) / kRate;
        const double env = std::sin(kPi * t / 0.055) * (0.4 + 0.6 * t / 0.055);
        s[i] = 0.35 * env * filter.process(noise.next(), 1900.0 - 9000.0 * t, 2.5).band;
    }
    mixInto(s, knock(noise, 720.0, 0.045, 0.9), 0.05);
    s.resize(samplesFor(0.1));
    finish(s, 0.6);
    return s;
}

// A fanfare from (note, start, length) triples plus a closing chord.
Signal fanfare(const std::vector<std::array<double, 3>>& melody, const std::vector<double>& chord,
               double chordAt, double dur)
{
    Signal s = silence(dur);
    for (const auto& [note, at, len] : melody)
        mixInto(s, brass(note, len), at);
    for (std::size_t i = 0; i < chord.size(); ++i)
        mixInto(s, brass(chord[i], dur - chordAt, 0.45), chordAt);
    s.resize(samplesFor(dur));
    return s;
}

// 3-5: the result enters the table. Three triumphant brass calls.
Signal cueTriumph1()
{
    Signal s = fanfare({{67, 0.0, 0.11}, {72, 0.12, 0.11}, {76, 0.24, 0.11}, {79, 0.36, 0.3}, {76, 0.68, 0.12},
                        {79, 0.81, 0.59}},
                       {60, 64, 67}, 0.81, 1.4);
    finish(s, 0.85);
    return s;
}

Signal cueTriumph2()
{
    Signal s = fanfare({{72, 0.0, 0.09}, {72, 0.11, 0.09}, {72, 0.22, 0.09}, {79, 0.34, 0.4}, {84, 0.76, 0.54}},
                       {64, 67, 72}, 0.76, 1.3);
    mixInto(s, chime(96, 0.5, 0.25), 0.76);
    s.resize(samplesFor(1.3));
    finish(s, 0.85);
    return s;
}

Signal cueTriumph3()
{
    std::vector<std::array<double, 3>> run;
    const double scale[] = {72, 74, 76, 77, 79, 81, 83};
    for (int i = 0; i < 7; ++i)
        run.push_back({scale[i], i * 0.065, 0.08});
    run.push_back({84, 0.47, 0.93});
    Signal s = fanfare(run, {60, 67, 76}, 0.47, 1.4);
    for (int i = 0; i < 3; ++i)
        mixInto(s, chime(96 + 4 * i, 0.5, 0.2), 0.5 + i * 0.09);
    s.resize(samplesFor(1.4));
    finish(s, 0.85);
    return s;
}

// 6: no record: three soft notes falling, the last one sagging.
Signal cueMild1()
{
    Signal s = silence(0.9);
    mixInto(s, hollow([](double) { return noteHz(67); }, 0.22), 0.0);
    mixInto(s, hollow([](double) { return noteHz(64); }, 0.22), 0.22);
    mixInto(s, hollow([](double t) { return noteHz(60) * (1.0 - 0.06 * std::min(1.0, t / 0.45)); }, 0.46), 0.44);
    finish(s, 0.45);
    return s;
}

// Bubbles rising from a sinking hull, scattered over [from, to).
void addBubbles(Signal& s, Noise& noise, double from, double to, double lowHz, double highHz, double gain)
{
    for (double t = from; t < to - 0.06;) {
        mixInto(s, bubble(noise.uniform(lowHz, highHz), noise.uniform(0.03, 0.06), gain * noise.uniform(0.4, 1.0)),
                t);
        t += noise.uniform(0.04, 0.11);
    }
}

// 7: a ship goes down (the player's shot) / no record: a falling glide with
// bubbles.
Signal cueSinking1()
{
    Noise noise(707);
    const double dur = 1.1;
    Signal s = additive(
        dur, [](double t) { return 520.0 * std::pow(0.22, t / 1.1) * (1.0 + 0.015 * std::sin(2 * kPi * 6 * t)); },
        [](int h, double t) { return (1.0 / h) * std::exp(-h * t * 0.8); },
        [=](double t) { return adsr(t, dur, 0.03, 0.2, 0.7, 0.3); }, 8);
    Signal bubbles = silence(dur);
    addBubbles(bubbles, noise, 0.35, dur, 500.0, 1100.0, 0.35);
    mixInto(s, bubbles, 0.0);
    s.resize(samplesFor(dur));
    finish(s, 0.8);
    return s;
}

// 8: no record: a gentle falling arpeggio on a plucked string.
Signal cueMild2()
{
    Signal s = silence(1.0);
    const double notes[] = {72, 67, 64, 60};
    for (int i = 0; i < 4; ++i)
        mixInto(s, pluck(notes[i], i == 3 ? 0.55 : 0.35), i * 0.15);
    s.resize(samplesFor(1.0));
    finish(s, 0.75);
    return s;
}

// 9: one of the player's ships goes down / no record: lower and darker than
// 7, with water closing over it.
Signal cueSinking2()
{
    Noise noise(909);
    const double dur = 1.2;
    Signal s = additive(
        dur, [](double t) { return 300.0 * std::pow(0.25, t / 1.2) * (1.0 + 0.02 * std::sin(2 * kPi * 4.5 * t)); },
        [](int h, double t) { return (h % 2 ? 1.0 : 0.5) / h * std::exp(-h * t * 0.5); },
        [=](double t) { return adsr(t, dur, 0.04, 0.25, 0.75, 0.35); }, 10);
    Svf filter;
    Signal gurgle = silence(dur);
    for (std::size_t i = 0; i < gurgle.size(); ++i) {
        const double t = double(i) / kRate;
        const double wobble = 0.5 + 0.5 * std::sin(2 * kPi * 7.0 * t + 2.0 * std::sin(2 * kPi * 1.3 * t));
        gurgle[i] = 0.6 * wobble * std::min(1.0, t / 0.3) * std::min(1.0, (dur - t) / 0.3) *
                    filter.process(noise.next(), 450.0, 2.0).band;
    }
    mixInto(s, gurgle, 0.0);
    addBubbles(s, noise, 0.45, dur, 300.0, 700.0, 0.3);
    s.resize(samplesFor(dur));
    finish(s, 0.7);
    return s;
}

// 10: after a mine went off: rumble settling and debris coming down.
Signal cueDebris()
{
    Noise noise(1010);
    const double dur = 1.0;
    Signal s = blast(noise, dur, 700.0, 200.0, 0.4);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        s[i] *= std::min(1.0, t / 0.06);
    }
    saturate(s, 1.5);
    mixInto(s, crackle(noise, dur, 0.05, 40.0, 0.35), 0.0);
    s.resize(samplesFor(dur));
    finish(s, 0.8);
    return s;
}

// 11-13: a mine goes off. A sharp blast, a double blast, a deep one.
Signal cueExplosion1()
{
    Noise noise(1111);
    Signal s = blast(noise, 0.8, 6000.0, 350.0, 0.22);
    mixInto(s, thump(160.0, 55.0, 0.8, 0.22, 0.9), 0.0);
    saturate(s, 2.5);
    finish(s, 0.9);
    return s;
}

Signal cueExplosion2()
{
    Noise noise(1212);
    Signal s = blast(noise, 0.4, 4000.0, 300.0, 0.12, 0.6);
    mixInto(s, thump(150.0, 60.0, 0.4, 0.12, 0.5), 0.0);
    mixInto(s, blast(noise, 0.85, 7000.0, 300.0, 0.26), 0.25);
    mixInto(s, thump(140.0, 48.0, 0.85, 0.28, 1.0), 0.25);
    s.resize(samplesFor(1.1));
    saturate(s, 2.5);
    finish(s, 0.9);
    return s;
}

Signal cueExplosion3()
{
    Noise noise(1313);
    Signal s = blast(noise, 1.0, 2500.0, 220.0, 0.35);
    mixInto(s, thump(120.0, 42.0, 1.0, 0.35, 1.2), 0.0);
    saturate(s, 2.0);
    mixInto(s, crackle(noise, 1.0, 0.08, 25.0, 0.25), 0.0);
    finish(s, 0.9);
    return s;
}

// 14: a heavy hit: a hard strike, a deep boom and a ring of torn metal.
Signal cueImpact()
{
    Noise noise(1414);
    Signal s = thump(190.0, 50.0, 0.7, 0.2, 1.2);
    mixInto(s, blast(noise, 0.45, 8000.0, 500.0, 0.08, 0.9), 0.0);
    saturate(s, 2.0);
    mixInto(s, clank(310.0, 0.5, 0.2), 0.005);
    finish(s, 0.9);
    return s;
}

// 15: a click that sets a cell open or a ship down: a sharp tick and a short
// low clunk.
Signal cueClick()
{
    Noise noise(1515);
    Signal s = silence(0.07);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        double v = 0.7 * std::sin(2 * kPi * 190.0 * t) * std::exp(-t / 0.014);
        v += 0.4 * std::sin(2 * kPi * 1250.0 * t) * std::exp(-t / 0.004);
        v += 0.5 * noise.next() * std::exp(-t / 0.0008);
        s[i] = v * std::min(1.0, t / 0.0004);
    }
    finish(s, 0.6);
    return s;
}

// 16-17: the sea battle is lost. A muted trombone sighs down; a slow minor
// lament on reeds.
Signal cueLost1()
{
    Signal s = silence(1.5);
    const double notes[] = {67, 66, 65};
    for (int i = 0; i < 3; ++i)
        mixInto(s, brass(notes[i], 0.28, 0.9), i * 0.3);
    const double dur = 0.6;
    mixInto(s,
            additive(
                dur, [](double t) { return noteHz(64) * (1.0 + 0.012 * std::sin(2 * kPi * 6.0 * t) * std::min(1.0, t / 0.2)); },
                [](int h, double) { return 1.0 / std::pow(double(h), 1.6); },
                [=](double t) { return 0.9 * adsr(t, dur, 0.03, 0.1, 0.8, 0.35); }, 8),
            0.9);
    s.resize(samplesFor(1.5));
    finish(s, 0.6);
    return s;
}

Signal cueLost2()
{
    Signal s = silence(1.4);
    auto reed = [](double note, double dur, double gain) {
        const double f0 = noteHz(note);
        return additive(
            dur, [=](double) { return f0; }, [](int h, double) { return (h % 2 ? 1.0 : 0.35) / h; },
            [=](double t) { return gain * adsr(t, dur, 0.04, 0.1, 0.7, std::min(0.25, dur / 2)); }, 8);
    };
    mixInto(s, reed(69, 0.3, 0.8), 0.0);
    mixInto(s, reed(65, 0.3, 0.8), 0.28);
    mixInto(s, reed(62, 0.84, 0.8), 0.56);
    mixInto(s, reed(57, 0.84, 0.45), 0.56);
    mixInto(s, reed(53, 0.84, 0.45), 0.56);
    s.resize(samplesFor(1.4));
    finish(s, 0.8);
    return s;
}

// 18-19: after the player's miss: a short shrug of two falling notes; a
// slack "boing".
Signal cueMissed1()
{
    Signal s = silence(0.4);
    mixInto(s, hollow([](double) { return noteHz(76); }, 0.14), 0.0);
    mixInto(s, hollow([](double) { return noteHz(72); }, 0.25), 0.15);
    s.resize(samplesFor(0.4));
    finish(s, 0.45);
    return s;
}

Signal cueMissed2()
{
    const double dur = 0.4;
    Signal s = additive(
        dur, [=](double t) { return 620.0 * std::pow(0.5, t / dur) * (1.0 + 0.05 * std::sin(2 * kPi * 14.0 * t)); },
        [](int h, double t) { return std::exp(-t * 3.0 * h) / h; },
        [=](double t) { return std::min(1.0, t / 0.004) * std::exp(-t / 0.18) * std::min(1.0, (dur - t) / 0.03); }, 8);
    finish(s, 0.7);
    return s;
}

// 20-22: before the computer fires. The gun is loaded, a shell whistles in,
// a fuse hisses up to the shot.
Signal cueLoading()
{
    Noise noise(2020);
    Signal s = silence(0.55);
    mixInto(s, clank(420.0, 0.12, 0.8), 0.0);
    for (int i = 0; i < 4; ++i)
        mixInto(s, knock(noise, 1500.0, 0.02, 0.3), 0.16 + i * 0.035);
    mixInto(s, clank(300.0, 0.25, 1.0), 0.3);
    s.resize(samplesFor(0.55));
    finish(s, 0.75);
    return s;
}

Signal cueWhistleDown()
{
    const double dur = 0.7;
    Signal s = additive(
        dur, [](double t) { return 2100.0 * std::pow(0.38, t / 0.7) * (1.0 + 0.01 * std::sin(2 * kPi * 9 * t)); },
        [](int h, double) { return h == 1 ? 1.0 : (h == 2 ? 0.12 : 0.0); },
        [=](double t) { return std::min(1.0, t / 0.25) * std::min(1.0, (dur - t) / 0.06); }, 2);
    Noise noise(2121);
    Svf filter;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        s[i] += 0.12 * std::min(1.0, t / 0.3) * filter.process(noise.next(), 3000.0, 1.0).band;
    }
    finish(s, 0.4);
    return s;
}

Signal cueFuse()
{
    Noise noise(2222);
    const double dur = 0.6;
    Signal s = silence(dur);
    Svf filter;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double sputter = 0.6 + 0.4 * std::sin(2 * kPi * 23.0 * t) * std::sin(2 * kPi * 9.0 * t);
        s[i] = 0.5 * sputter * std::min(1.0, t / 0.03) * (0.5 + 0.5 * t / dur) * std::min(1.0, (dur - t) / 0.05) *
               filter.process(noise.next(), 4500.0, 0.9).high;
    }
    mixInto(s,
            additive(
                0.45, [](double t) { return 700.0 * std::pow(2.4, t / 0.45); }, [](int h, double) { return h == 1 ? 1.0 : 0.0; },
                [](double t) { return 0.35 * std::min(1.0, t / 0.2) * std::min(1.0, (0.45 - t) / 0.05); }, 1),
            0.12);
    s.resize(samplesFor(dur));
    finish(s, 0.7);
    return s;
}

// 23: a miss: the shell drops into the sea. A plunge, a splash of filtered
// noise, then the spray falling back.
Signal cueSplash()
{
    Noise noise(2323);
    const double dur = 0.8;
    Signal s = silence(dur);
    Svf body, spray;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double n = noise.next();
        const double splashEnv = std::min(1.0, t / 0.01) * std::exp(-t / 0.18);
        const double sprayEnv = std::min(1.0, t / 0.06) * std::exp(-t / 0.2) * std::min(1.0, (dur - t) / 0.08);
        s[i] = 1.4 * splashEnv * body.process(n, 500.0 + 1300.0 * std::exp(-t / 0.08), 1.3).band +
               0.2 * sprayEnv * spray.process(n, 3000.0, 0.7).band;
    }
    mixInto(s, thump(180.0, 90.0, 0.2, 0.05, 0.5), 0.0);
    s.resize(samplesFor(dur));
    saturate(s, 1.8);
    finish(s, 0.8);
    return s;
}

void put16(std::vector<std::uint8_t>& v, std::uint32_t x)
{
    v.push_back(std::uint8_t(x & 0xff));
    v.push_back(std::uint8_t((x >> 8) & 0xff));
}

void put32(std::vector<std::uint8_t>& v, std::uint32_t x)
{
    put16(v, x & 0xffff);
    put16(v, x >> 16);
}

void putTag(std::vector<std::uint8_t>& v, const char* tag)
{
    v.insert(v.end(), tag, tag + 4);
}

bool writeWav(const std::string& path, const Signal& s)
{
    const std::uint32_t dataBytes = std::uint32_t(s.size() * 2);
    std::vector<std::uint8_t> bytes;
    putTag(bytes, "RIFF");
    put32(bytes, 36 + dataBytes);
    putTag(bytes, "WAVE");
    putTag(bytes, "fmt ");
    put32(bytes, 16);
    put16(bytes, 1); // PCM
    put16(bytes, 1); // mono
    put32(bytes, kRate);
    put32(bytes, kRate * 2);
    put16(bytes, 2);
    put16(bytes, 16);
    putTag(bytes, "data");
    put32(bytes, dataBytes);
    for (double v : s) {
        const long q = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
        put16(bytes, std::uint32_t(std::uint16_t(std::int16_t(q))));
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_sounds <output directory>\n";
        return 2;
    }
    const std::string dir = argv[1];
    const std::vector<std::function<Signal()>> cues = {
        cueNewDeal,    cueSlide,      cueTriumph1,   cueTriumph2, cueTriumph3,  cueMild1,      cueSinking1, cueMild2,
        cueSinking2,   cueDebris,     cueExplosion1, cueExplosion2, cueExplosion3, cueImpact,   cueClick,    cueLost1,
        cueLost2,      cueMissed1,    cueMissed2,    cueLoading,  cueWhistleDown, cueFuse,     cueSplash};
    for (std::size_t n = 0; n < cues.size(); ++n) {
        const std::string path = dir + "/" + std::to_string(n + 1) + ".wav";
        if (!writeWav(path, cues[n]())) {
            std::cerr << "make_sounds: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}

// Synthesises the instruments of the music (leads, bass, drums) and the bark.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "sound_tool.h"

constexpr double Pi = 3.14159265358979323846;  // half a turn
constexpr double C2Rate = 8287.1;              // samples a second when a note plays at C-2
constexpr int LeadCycle = 32;                  // samples in one lead cycle: C-2 sounds as middle C
constexpr int BassCycle = 64;                  // one octave below the leads

// The game's own noise: a 32-bit xorshift, so every build writes the same bytes.
static uint32_t NoiseState = 0x2545F491u;  // state of the noise generator

static double Noise() {
    NoiseState ^= NoiseState << 13;
    NoiseState ^= NoiseState >> 17;
    NoiseState ^= NoiseState << 5;
    return double(NoiseState) / 2147483648.0 - 1.0;
}

// A pulse of the given duty, band-limited to its first harmonics, at phase 0..1.
static double Pulse(double phase, double duty, int harmonics) {
    double value = 0;
    for (int k = 1; k <= harmonics; k++)
        value += std::sin(Pi * k * duty) / k * std::cos(2 * Pi * k * (phase - duty / 2));
    return value;
}

// A mellow bass wave: a triangle with a little edge.
static double BassWave(double phase) {
    double value = 0;
    for (int k = 1; k <= 7; k++)
        value += (k % 2 ? 1.0 : 0.35) * std::sin(2 * Pi * k * phase) / (k * k * 0.6 + 0.4);
    return value;
}

static void Normalise(std::vector<double>& wave, double peak) {
    double top = 1e-9;
    for (double v : wave) top = std::fmax(top, std::fabs(v));
    for (double& v : wave) v *= peak / top;
}

static void Store(ModInstrument* instrument, const char* name, const std::vector<double>& wave,
                  int volume) {
    std::snprintf(instrument->name, sizeof instrument->name, "%s", name);
    instrument->data.resize(wave.size() + (wave.size() & 1));
    for (size_t i = 0; i < wave.size(); i++)
        instrument->data[i] = int8_t(std::lround(wave[i] * 127));
    instrument->data[0] = instrument->data[1] = 0;  // trackers keep the first word silent
    instrument->volume = volume;
}

// A tone that decays from its attack to a sustain level and then loops its last cycle.
static void MakeTone(ModInstrument* instrument, const char* name, int cycle, int cycles,
                     double sustain, double decaySeconds, double (*wave)(double, double),
                     double shape, int volume) {
    std::vector<double> samples(size_t(cycle * cycles));
    double rate = C2Rate * LeadCycle / cycle;  // the tone's own sample rate at its middle note
    for (size_t i = 0; i < samples.size(); i++) {
        double t = double(i) / rate;
        double attack = std::fmin(1.0, t / 0.004);
        double envelope = sustain + (1 - sustain) * std::exp(-t / decaySeconds);
        samples[i] = attack * envelope * wave(double(i % cycle) / cycle, shape);
    }
    Normalise(samples, 0.97);
    Store(instrument, name, samples, volume);
    instrument->loopStart = cycle * (cycles - 1);
    instrument->loopLength = cycle;
}

static double SquareWave(double phase, double duty) { return Pulse(phase, duty, 11); }
static double BassShape(double phase, double) { return BassWave(phase); }

// A drum: samples at twice the C-2 rate, played at C-3.
static std::vector<double> DrumBuffer(double seconds) {
    return std::vector<double>(size_t(seconds * C2Rate * 2));
}

static void MakeKick(ModInstrument* instrument) {
    std::vector<double> wave = DrumBuffer(0.32);
    double phase = 0;
    for (size_t i = 0; i < wave.size(); i++) {
        double t = i / (C2Rate * 2);
        double frequency = 48 + 120 * std::exp(-t / 0.035);
        phase += frequency / (C2Rate * 2);
        wave[i] =
            std::sin(2 * Pi * phase) * std::exp(-t / 0.11) + 0.3 * Noise() * std::exp(-t / 0.004);
    }
    Normalise(wave, 0.97);
    Store(instrument, "kick", wave, 64);
}

static void MakeSnare(ModInstrument* instrument) {
    std::vector<double> wave = DrumBuffer(0.24);
    double last = 0;
    for (size_t i = 0; i < wave.size(); i++) {
        double t = i / (C2Rate * 2);
        double noise = Noise();
        double bright = noise - 0.5 * last;  // tilt the noise up
        last = noise;
        wave[i] = 0.75 * bright * std::exp(-t / 0.06) +
                  0.6 * std::sin(2 * Pi * 185 * t) * std::exp(-t / 0.045);
    }
    Normalise(wave, 0.97);
    Store(instrument, "snare", wave, 46);
}

static void MakeHat(ModInstrument* instrument) {
    std::vector<double> wave = DrumBuffer(0.07);
    double last = 0;
    for (size_t i = 0; i < wave.size(); i++) {
        double t = i / (C2Rate * 2);
        double noise = Noise();
        wave[i] = (noise - last) * std::exp(-t / 0.018);  // only the top of the noise
        last = noise;
    }
    Normalise(wave, 0.97);
    Store(instrument, "hat", wave, 24);
}

void MakeInstruments(ModInstrument instruments[ModInstruments]) {
    for (int i = 0; i < ModInstruments; i++) instruments[i] = ModInstrument{};
    MakeTone(&instruments[0], "square lead", LeadCycle, 112, 0.45, 0.22, SquareWave, 0.5, 40);
    MakeTone(&instruments[1], "pulse lead", LeadCycle, 112, 0.5, 0.3, SquareWave, 0.25, 36);
    MakeTone(&instruments[2], "bass", BassCycle, 56, 0.6, 0.25, BassShape, 0, 58);
    MakeKick(&instruments[3]);
    MakeSnare(&instruments[4]);
    MakeHat(&instruments[5]);
    MakeTone(&instruments[6], "thin pulse", LeadCycle, 56, 0.25, 0.09, SquareWave, 0.125, 26);
}

// A two-pole resonator: what the dog's mouth does to the sound of its throat.
struct Resonator {
    double a1, a2, gain;  // filter coefficients
    double y1, y2;        // the last two outputs
};

static Resonator MakeResonator(double centre, double width, int rate) {
    double r = std::exp(-Pi * width / rate);
    return Resonator{2 * r * std::cos(2 * Pi * centre / rate), -r * r, 1 - r, 0, 0};
}

static double Resonate(Resonator* f, double x) {
    double y = f->gain * x + f->a1 * f->y1 + f->a2 * f->y2;
    f->y2 = f->y1;
    f->y1 = y;
    return y;
}

// A short "woof": a throaty buzz whose pitch jumps up and falls, shaped by three mouth resonances.
std::vector<int16_t> MakeBark(int rate) {
    const double seconds = 0.3;
    std::vector<double> wave(size_t(seconds * rate));
    Resonator mouth[3] = {MakeResonator(650, 220, rate), MakeResonator(1250, 300, rate),
                          MakeResonator(2600, 500, rate)};
    double phase = 0;
    for (size_t i = 0; i < wave.size(); i++) {
        double t = double(i) / rate;
        double pitch = 330 + 260 * std::sin(Pi * std::fmin(t / 0.16, 1.0)) - 120 * t;
        phase += pitch / rate;
        double buzz = 2 * (phase - std::floor(phase)) - 1;  // the throat: a sawtooth
        double envelope = std::fmin(1.0, t / 0.012) * std::exp(-t / 0.07);
        double source = envelope * (buzz + 0.35 * Noise());
        wave[i] = Resonate(&mouth[0], source) + 0.7 * Resonate(&mouth[1], source) +
                  0.3 * Resonate(&mouth[2], source);
    }
    Normalise(wave, 0.7);
    std::vector<int16_t> pcm(wave.size());
    for (size_t i = 0; i < wave.size(); i++) pcm[i] = int16_t(std::lround(wave[i] * 32767));
    return pcm;
}

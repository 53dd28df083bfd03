#include "media.h"
#include "app/sfml_compat.h"

#include <SFML/Audio/OutputSoundFile.hpp>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {
constexpr unsigned kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// A sine from a table: the music has thousands of notes and must be made in a moment.
class SineTable {
public:
    SineTable() {
        for (size_t i = 0; i <= kSize; ++i) table[i] = static_cast<float>(std::sin(2 * kPi * double(i) / kSize));
    }
    // phase in turns
    float operator()(double phase) const {
        double turns = phase - std::floor(phase);
        double at = turns * kSize;
        size_t index = static_cast<size_t>(at);
        float part = static_cast<float>(at - double(index));
        return table[index] + (table[index + 1] - table[index]) * part;
    }

private:
    static constexpr size_t kSize = 4096;
    std::array<float, kSize + 1> table;
};

const SineTable sine;

// Repeatable white noise in [-1, 1].
class Noise {
public:
    float operator()() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state) / 2147483648.0f - 1.0f;
    }

private:
    std::uint32_t state = 0x9E3779B9u;
};

// One-pole low-pass; cutoff in Hz.
class LowPass {
public:
    float operator()(float input, double cutoff) {
        double a = 1 - std::exp(-2 * kPi * cutoff / kRate);
        value += static_cast<float>(a) * (input - value);
        return value;
    }

private:
    float value = 0;
};

double noteFrequency(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

size_t samplesOf(double seconds) { return static_cast<size_t>(seconds * kRate); }

// Scales the loudest sample to peak and writes 16-bit samples. The file is written
// directly, without a sound buffer, so the build needs no audio device.
bool save(const std::string& path, std::vector<float> samples, unsigned channels, float peak) {
    float loudest = 0;
    for (float sample : samples) loudest = std::max(loudest, std::abs(sample));
    float gain = loudest > 0 ? peak / loudest : 0;
    std::vector<std::int16_t> pcm(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(std::lround(std::clamp(samples[i] * gain, -1.0f, 1.0f) * 32767));
    sf::OutputSoundFile file;
    if (!openSoundFileForWriting(file, path, kRate, channels)) return false;
    file.write(pcm.data(), pcm.size());
    return true;
}

// A heavy shot: a falling thump under a short burst of dark noise.
std::vector<float> cannonFire() {
    std::vector<float> out(samplesOf(0.45));
    Noise noise;
    LowPass dark;
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        phase += (45 + 110 * std::exp(-t * 18)) / kRate;
        float thump = sine(phase) * static_cast<float>(std::exp(-t * 11));
        float burst = dark(noise(), 300 + 5000 * std::exp(-t * 25)) * static_cast<float>(std::exp(-t * 16));
        out[i] = thump + 1.6f * burst;
    }
    return out;
}

// A launch: a rising hiss that swells and trails away, over a low rumble.
std::vector<float> rocketLaunch() {
    std::vector<float> out(samplesOf(0.9));
    Noise noise;
    LowPass hiss, rumble;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        double swell = std::min(t / 0.06, 1.0) * std::exp(-t * 3.2);
        float air = hiss(noise(), 600 + 3500 * t);
        float low = rumble(noise(), 120);
        out[i] = static_cast<float>(swell) * (air + 2.5f * low);
    }
    return out;
}

// A blast: dark noise closing down, a deep drop and a few crackles.
std::vector<float> explosion() {
    std::vector<float> out(samplesOf(1.4));
    Noise noise;
    LowPass body;
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        double attack = std::min(t / 0.005, 1.0);
        float roar = body(noise(), 150 + 1800 * std::exp(-t * 4)) * static_cast<float>(std::exp(-t * 3));
        phase += (32 + 40 * std::exp(-t * 6)) / kRate;
        float drop = sine(phase) * static_cast<float>(std::exp(-t * 4));
        float crackle = noise() > 0.9985f ? noise() * static_cast<float>(std::exp(-t * 2.5)) : 0.0f;
        out[i] = static_cast<float>(attack) * (2.2f * roar + 0.8f * drop + 0.5f * crackle);
    }
    return out;
}

// A unit breaking up: a falling, growling tone with a crunch at its start.
std::vector<float> death() {
    std::vector<float> out(samplesOf(0.7));
    Noise noise;
    LowPass crunch;
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        phase += (90 + 330 * std::exp(-t * 5)) / kRate;
        float growl = std::tanh(3 * sine(phase)) * static_cast<float>(std::exp(-t * 4.5));
        float bits = crunch(noise(), 2500) * static_cast<float>(std::exp(-t * 14));
        out[i] = 0.6f * growl + 1.4f * bits;
    }
    return out;
}

// A soft, short tick for buttons.
std::vector<float> click() {
    std::vector<float> out(samplesOf(0.09));
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        float tone = sine(1400 * t) + 0.4f * sine(2800 * t);
        out[i] = tone * static_cast<float>(std::min(t / 0.002, 1.0) * std::exp(-t * 55));
    }
    return out;
}

// A unit arriving: two bright notes a fifth apart.
std::vector<float> spawnChime() {
    std::vector<float> out(samplesOf(0.5));
    const double starts[] = {0.0, 0.09};
    const double pitches[] = {noteFrequency(76), noteFrequency(83)};
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / kRate;
        float sum = 0;
        for (int n = 0; n < 2; ++n) {
            double local = t - starts[n];
            if (local < 0) continue;
            double envelope = std::min(local / 0.004, 1.0) * std::exp(-local * 9);
            sum += static_cast<float>(envelope) *
                   (sine(pitches[n] * local) + 0.3f * sine(2 * pitches[n] * local) + 0.1f * sine(3 * pitches[n] * local));
        }
        out[i] = sum;
    }
    return out;
}

// The background track: 16 bars at 120 beats a minute in A minor, 32 s. Every note is
// written modulo the track's length, so tails ring over the loop point and the track
// repeats without a seam.
class Track {
public:
    static constexpr double kBar = 2.0;
    static constexpr int kBars = 16;

    Track() : left(samplesOf(kBar * kBars)), right(left.size()) {}

    // A note with an attack, a hold and an exponential release; pan in [-1, 1].
    template <typename Voice>
    void note(double start, double length, double release, float level, float pan, Voice voice) {
        size_t first = samplesOf(start);
        size_t count = samplesOf(length + release);
        float to_left = level * std::sqrt((1 - pan) / 2);
        float to_right = level * std::sqrt((1 + pan) / 2);
        for (size_t i = 0; i < count; ++i) {
            double t = double(i) / kRate;
            double envelope = t < length ? std::min(t / 0.01, 1.0) : std::exp(-(t - length) * 5 / release);
            float value = voice(t) * static_cast<float>(envelope);
            size_t at = (first + i) % left.size();
            left[at] += value * to_left;
            right[at] += value * to_right;
        }
    }

    std::vector<float> interleaved() const {
        std::vector<float> out(left.size() * 2);
        for (size_t i = 0; i < left.size(); ++i) {
            out[2 * i] = std::tanh(left[i]);
            out[2 * i + 1] = std::tanh(right[i]);
        }
        return out;
    }

    std::vector<float> left, right;
};

struct Chord {
    int bass;
    int tones[3];
};

// Am F C G Am F C E, twice; the second time a melody joins.
const Chord kChords[8] = {{45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}}, {43, {55, 59, 62}},
                          {45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}}, {40, {56, 59, 64}}};

struct MelodyNote {
    int midi;
    double beats;
};

const std::vector<MelodyNote> kMelody[8] = {
    {{76, 2}, {72, 1}, {74, 1}}, {{72, 2}, {69, 2}},          {{67, 1}, {72, 1}, {76, 1}, {79, 1}},
    {{74, 3}, {71, 1}},          {{72, 1}, {76, 1}, {81, 2}}, {{81, 1}, {79, 1}, {77, 1}, {76, 1}},
    {{76, 2}, {79, 1}, {76, 1}}, {{74, 1}, {71, 1}, {68, 2}},
};

void addPad(Track& track, double bar_start, const Chord& chord) {
    for (int tone : chord.tones) {
        double f = noteFrequency(tone);
        // Two slightly detuned copies, one per side, make the pad wide and slow-moving.
        for (float side : {-0.6f, 0.6f}) {
            double detune = 1 + 0.002 * side / 0.6;
            track.note(bar_start, Track::kBar, 0.9, 0.055f, side, [f, detune](double t) {
                float swell = static_cast<float>(std::min(t / 0.4, 1.0));
                return swell * (sine(f * detune * t) + 0.25f * sine(2 * f * t));
            });
        }
    }
}

void addBass(Track& track, double bar_start, const Chord& chord) {
    double f = noteFrequency(chord.bass);
    const double beats[] = {0, 1.5, 2, 3.5};
    for (double beat : beats)
        track.note(bar_start + beat * 0.5, 0.35, 0.15, 0.22f, 0, [f](double t) {
            return (sine(f * t) + 0.35f * sine(2 * f * t) + 0.12f * sine(3 * f * t)) * static_cast<float>(std::exp(-t * 2.5));
        });
}

void addArpeggio(Track& track, double bar_start, const Chord& chord, int octave_lift) {
    const int pattern[8] = {0, 1, 2, 1, 0, 2, 1, 2};
    for (int step = 0; step < 8; ++step) {
        int midi = chord.tones[pattern[step]] + 12 + octave_lift + (step == 4 ? 12 : 0);
        double f = noteFrequency(midi);
        float pan = step % 2 == 0 ? -0.35f : 0.35f;
        track.note(bar_start + step * 0.25, 0.2, 0.25, 0.07f, pan, [f](double t) {
            return (sine(f * t) + 0.2f * sine(3 * f * t)) * static_cast<float>(std::exp(-t * 7));
        });
    }
}

void addDrums(Track& track, double bar_start, Noise& noise) {
    for (int beat = 0; beat < 4; beat += 2)
        track.note(bar_start + beat * 0.5, 0.18, 0.05, 0.35f, 0, [](double t) {
            return sine(45 * t + 12 * (1 - std::exp(-t * 30))) * static_cast<float>(std::exp(-t * 18));
        });
    for (int eighth = 1; eighth < 8; eighth += 2)
        track.note(bar_start + eighth * 0.25, 0.03, 0.03, 0.025f, 0.2f, [&noise](double) { return noise(); });
}

void addMelody(Track& track, double bar_start, const std::vector<MelodyNote>& notes) {
    double beat = 0;
    for (const MelodyNote& melody : notes) {
        double f = noteFrequency(melody.midi);
        double length = melody.beats * 0.5 - 0.05;
        double start = bar_start + beat * 0.5;
        for (int echo = 0; echo < 3; ++echo) {
            float level = 0.09f * std::pow(0.35f, float(echo));
            float pan = echo == 1 ? 0.5f : (echo == 2 ? -0.5f : 0.0f);
            track.note(start + echo * 0.375, length, 0.3, level, pan, [f](double t) {
                double vibrato = t > 0.15 ? 0.004 * std::sin(2 * kPi * 5 * t) : 0;
                return sine(f * t * (1 + vibrato)) + 0.25f * sine(2 * f * t);
            });
        }
        beat += melody.beats;
    }
}

std::vector<float> backgroundMusic() {
    Track track;
    Noise noise;
    for (int bar = 0; bar < Track::kBars; ++bar) {
        double start = bar * Track::kBar;
        const Chord& chord = kChords[bar % 8];
        bool second_half = bar >= 8;
        addPad(track, start, chord);
        addBass(track, start, chord);
        addArpeggio(track, start, chord, second_half ? 0 : -12);
        addDrums(track, start, noise);
        if (second_half) addMelody(track, start, kMelody[bar % 8]);
    }
    return track.interleaved();
}
}  // namespace

bool writeSounds(const std::string& directory) {
    return save(directory + "cannon_fire.wav", cannonFire(), 1, 0.9f) &&
           save(directory + "rocket.wav", rocketLaunch(), 1, 0.85f) &&
           save(directory + "explosion.wav", explosion(), 1, 0.95f) && save(directory + "dead.wav", death(), 1, 0.85f) &&
           save(directory + "press.ogg", click(), 1, 0.6f) && save(directory + "create.wav", spawnChime(), 1, 0.7f) &&
           save(directory + "bgm.wav", backgroundMusic(), 2, 0.45f);
}

// The game's music and sound effects: small synthesised instruments played by a step sequencer,
// mixed into a circular buffer so every tune loops without a seam, and encoded as Ogg Vorbis.
#include "assets.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace datagen {

namespace {

constexpr int kRate = 44100;
constexpr float kPi = 3.14159265f;
constexpr float kTau = 6.2831853f;

using Buffer = std::vector<float>;

float NoteHz(int midi) {
    return 440.0f * std::pow(2.0f, (midi - 69) / 12.0f);
}

// Deterministic white noise.
class Noise {
public:
    explicit Noise(uint32_t seed) : state(seed * 2654435761u + 1) {}
    float Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (state & 0xFFFFFF) / float(0x800000) - 1.0f;
    }

private:
    uint32_t state;
};

// A state-variable filter (Chamberlin), used for sweeps in the effects and for the bass.
struct Svf {
    float low = 0, band = 0;
    float Process(float in, float cutoffHz, float q, float* bandOut = nullptr, float* highOut = nullptr) {
        const float f = 2.0f * std::sin(kPi * std::min(cutoffHz, kRate / 6.0f) / kRate);
        low += f * band;
        const float high = in - low - q * band;
        band += f * high;
        if (bandOut) {
            *bandOut = band;
        }
        if (highOut) {
            *highOut = high;
        }
        return low;
    }
};

// ---- instruments: each writes one note into a buffer, wrapping around its end ------------------------

class Track {
public:
    explicit Track(size_t length) : samples(length, 0.0f) {}

    void Add(long long at, float value) {
        const long long n = (long long)samples.size();
        samples[size_t(((at % n) + n) % n)] += value;
    }
    size_t Length() const { return samples.size(); }
    Buffer& Samples() { return samples; }

private:
    Buffer samples;
};

// A music box tine: a few slightly inharmonic partials with a bright, quick decay.
void MusicBox(Track& mix, double start, int midi, float velocity) {
    const float f = NoteHz(midi);
    const int len = int(kRate * 2.2f);
    const float partials[4][3] = {{1.0f, 1.0f, 1.6f}, {2.0f, 0.35f, 3.5f}, {3.01f, 0.18f, 6.0f}, {5.4f, 0.06f, 10.0f}};
    for (int i = 0; i < len; i++) {
        const float t = i / float(kRate);
        float v = 0;
        for (const auto& p : partials) {
            v += std::sin(kTau * f * p[0] * t) * p[1] * std::exp(-t * p[2]);
        }
        const float attack = std::min(1.0f, i / 60.0f);
        mix.Add((long long)start + i, v * attack * velocity * 0.22f);
    }
}

// A soft pad: three detuned triangle voices with a slow swell and release.
void Pad(Track& mix, double start, double seconds, int midi, float velocity) {
    const float f = NoteHz(midi);
    const int len = int((seconds + 1.5) * kRate);
    const float detune[3] = {0.997f, 1.0f, 1.004f};
    float lp = 0;
    for (int i = 0; i < len; i++) {
        const float t = i / float(kRate);
        float v = 0;
        for (float d : detune) {
            const float ph = std::fmod(f * d * t, 1.0f);
            v += (ph < 0.5f ? ph * 4 - 1 : 3 - ph * 4);
        }
        lp += (v - lp) * 0.08f;
        const float env = std::min(1.0f, t / 0.8f) * (t < seconds ? 1.0f : std::exp(-(t - float(seconds)) * 3.0f));
        mix.Add((long long)start + i, lp * env * velocity * 0.05f);
    }
}

// A plucked string (Karplus-Strong).
void Pluck(Track& mix, double start, int midi, float velocity, uint32_t seed, float decay = 0.996f) {
    const float f = NoteHz(midi);
    const int period = std::max(2, int(kRate / f));
    std::vector<float> ring(static_cast<size_t>(period));
    Noise noise(seed);
    for (float& s : ring) {
        s = noise.Next();
    }
    // a softened excitation makes a warmer, rounder string
    for (int pass = 0; pass < 2; pass++) {
        for (size_t i = 1; i < ring.size(); i++) {
            ring[i] = (ring[i] + ring[i - 1]) * 0.5f;
        }
    }
    const int len = int(kRate * 1.6f);
    float prev = 0;
    for (int i = 0; i < len; i++) {
        const size_t k = size_t(i % period);
        const float out = ring[k];
        ring[k] = (out + prev) * 0.5f * decay;
        prev = out;
        const float fade = (i > len - 2000 ? (len - i) / 2000.0f : 1.0f) * std::min(1.0f, i / 90.0f);
        mix.Add((long long)start + i, out * velocity * 0.25f * fade);
    }
}

// A breathy flute: a sine with vibrato and a little noise.
void Flute(Track& mix, double start, double seconds, int midi, float velocity, uint32_t seed) {
    const float f = NoteHz(midi);
    const int len = int((seconds + 0.25) * kRate);
    Noise noise(seed);
    float phase = 0, breath = 0;
    for (int i = 0; i < len; i++) {
        const float t = i / float(kRate);
        const float vibrato = 1.0f + 0.004f * std::sin(kTau * 5.0f * t) * std::min(1.0f, t * 3.0f);
        phase += f * vibrato / kRate;
        breath += (noise.Next() - breath) * 0.05f;
        const float env = std::min(1.0f, t / 0.06f) * (t < seconds ? 1.0f : std::exp(-(t - float(seconds)) * 20.0f));
        const float v = std::sin(kTau * phase) + 0.15f * std::sin(2 * kTau * phase) + breath * 0.3f;
        mix.Add((long long)start + i, v * env * velocity * 0.12f);
    }
}

// A round bass: sine plus a touch of its octave, short or sustained.
void Bass(Track& mix, double start, double seconds, int midi, float velocity, float grit = 0.0f) {
    const float f = NoteHz(midi);
    const int len = int((seconds + 0.05) * kRate);
    Svf filter;
    for (int i = 0; i < len; i++) {
        const float t = i / float(kRate);
        const float saw = 2.0f * std::fmod(f * t, 1.0f) - 1.0f;
        float v = std::sin(kTau * f * t) + 0.3f * std::sin(kTau * 2 * f * t) + grit * saw;
        v = filter.Process(v, 300.0f + 1800.0f * grit * std::exp(-t * 12.0f), 0.7f);
        const float env =
            std::min(1.0f, i / 80.0f) * (t < seconds ? 1.0f : std::max(0.0f, 1.0f - (t - float(seconds)) / 0.05f));
        mix.Add((long long)start + i, v * env * velocity * 0.3f);
    }
}

// A brass-like stab: detuned saws through a closing filter.
void Stab(Track& mix, double start, double seconds, int midi, float velocity) {
    const float f = NoteHz(midi);
    const int len = int((seconds + 0.3) * kRate);
    Svf filter;
    for (int i = 0; i < len; i++) {
        const float t = i / float(kRate);
        float v = 0;
        for (float d : {0.995f, 1.0f, 1.006f}) {
            v += 2.0f * std::fmod(f * d * t, 1.0f) - 1.0f;
        }
        v = filter.Process(v, 400.0f + 2500.0f * std::exp(-t * 5.0f), 0.5f);
        const float env = std::min(1.0f, t / 0.01f) * (t < seconds ? 1.0f : std::exp(-(t - float(seconds)) * 12.0f));
        mix.Add((long long)start + i, v * env * velocity * 0.06f);
    }
}

void Kick(Track& mix, double start, float velocity) {
    const int len = int(kRate * 0.35f);
    float phase = 0;
    for (int i = 0; i < len; i++) {
        const float t = i / float(kRate);
        phase += (45.0f + 90.0f * std::exp(-t * 30.0f)) / kRate;
        const float v = std::sin(kTau * phase) * std::exp(-t * 9.0f);
        mix.Add((long long)start + i, v * velocity * 0.5f * std::min(1.0f, i / 20.0f));
    }
}

void Snare(Track& mix, double start, float velocity, uint32_t seed) {
    const int len = int(kRate * 0.22f);
    Noise noise(seed);
    Svf filter;
    for (int i = 0; i < len; i++) {
        const float t = i / float(kRate);
        float band = 0;
        filter.Process(noise.Next(), 3000.0f, 0.8f, &band);
        const float v = band * std::exp(-t * 18.0f) + std::sin(kTau * 190.0f * t) * std::exp(-t * 30.0f) * 0.5f;
        mix.Add((long long)start + i, v * velocity * 0.3f * std::min(1.0f, i / 20.0f));
    }
}

void Hat(Track& mix, double start, float velocity, uint32_t seed) {
    const int len = int(kRate * 0.06f);
    Noise noise(seed);
    Svf filter;
    for (int i = 0; i < len; i++) {
        const float t = i / float(kRate);
        float high = 0;
        filter.Process(noise.Next(), 6000.0f, 0.7f, nullptr, &high);
        mix.Add((long long)start + i, high * std::exp(-t * 70.0f) * velocity * 0.06f * std::min(1.0f, i / 10.0f));
    }
}

void Tom(Track& mix, double start, int midi, float velocity) {
    const int len = int(kRate * 0.4f);
    float phase = 0;
    const float f = NoteHz(midi);
    for (int i = 0; i < len; i++) {
        const float t = i / float(kRate);
        phase += f * (1.0f + 0.5f * std::exp(-t * 20.0f)) / kRate;
        mix.Add((long long)start + i,
                std::sin(kTau * phase) * std::exp(-t * 8.0f) * velocity * 0.35f * std::min(1.0f, i / 20.0f));
    }
}

// ---- the sequencer -------------------------------------------------------------------------------------

// Melodies are written as steps: a note name with octave ("A4", "C#5", "Bb3"), "-" to hold the
// previous note one more step, "." for a rest.
struct Step {
    int midi = -1;   // -1: rest
    int length = 1;  // in steps
    int index = 0;   // step position
};

int ParseNote(const std::string& token) {
    static const std::map<char, int> names = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5}, {'G', 7}, {'A', 9}, {'B', 11}};
    int semitone = names.at(token[0]);
    size_t i = 1;
    if (token[i] == '#') {
        semitone++;
        i++;
    } else if (token[i] == 'b') {
        semitone--;
        i++;
    }
    const int octave = std::stoi(token.substr(i));
    return 12 * (octave + 1) + semitone;
}

std::vector<Step> ParseMelody(const std::string& text) {
    std::vector<Step> steps;
    std::string spaced = text;
    std::replace(spaced.begin(), spaced.end(), '|', ' ');  // bar lines are only for the reader
    std::istringstream in(spaced);
    std::string token;
    int index = 0;
    while (in >> token) {
        if (token == "-") {
            if (!steps.empty()) {
                steps.back().length++;
            }
        } else if (token != ".") {
            steps.push_back({ParseNote(token), 1, index});
        }
        index++;
    }
    return steps;
}

struct Song {
    double bpm;
    int bars;
    int stepsPerBeat;
    double StepSamples() const { return 60.0 / bpm / stepsPerBeat * kRate; }
    double BeatSamples() const { return 60.0 / bpm * kRate; }
    size_t Length() const { return size_t(std::llround(bars * 4 * BeatSamples())); }
};

// Chords as root plus intervals, one per bar.
struct Chord {
    int root;                // midi note of the bass
    std::vector<int> tones;  // semitones above the root
};

// Soft-clips and scales the mix so its peak sits just under full scale.
void Master(Buffer& b, float peak) {
    float maxAbs = 1e-6f;
    for (float s : b) {
        maxAbs = std::max(maxAbs, std::abs(s));
    }
    const float drive = 1.6f / maxAbs;
    const float norm = peak / std::tanh(1.6f);
    for (float& s : b) {
        s = std::tanh(s * drive) * norm;
    }
}

// A circular echo: run twice round the loop so the echo at the start already carries the tail of
// the end, then keep the second pass.
void CircularEcho(Buffer& b, double delaySamples, float feedback, float wet) {
    const size_t n = b.size(), d = size_t(delaySamples);
    Buffer out = b;
    Buffer line(n, 0.0f);
    for (int pass = 0; pass < 2; pass++) {
        for (size_t i = 0; i < n; i++) {
            const float delayed = line[(i + n - d) % n];
            line[i] = b[i] + delayed * feedback;
            if (pass == 1) {
                out[i] = b[i] + delayed * wet;
            }
        }
    }
    b = out;
}

// ---- the three tunes -----------------------------------------------------------------------------------

Buffer MenuTheme() {
    // gentle: a music box over slow pads, D minor, 16 bars at 72 beats a minute
    const Song song{72.0, 16, 2};
    Track mix(song.Length());
    const Chord chords[8] = {{50, {0, 3, 7}}, {46, {0, 4, 7}}, {41, {0, 4, 7}},     {48, {0, 4, 7}},
                             {50, {0, 3, 7}}, {43, {0, 3, 7}}, {45, {0, 4, 7, 10}}, {50, {0, 3, 7}}};
    const double bar = song.BeatSamples() * 4;
    for (int b = 0; b < song.bars; b++) {
        const Chord& c = chords[b % 8];
        for (int t : c.tones) {
            Pad(mix, b * bar, bar / kRate, c.root + 12 + t, 0.8f);
        }
        Pad(mix, b * bar, bar / kRate, c.root, 0.6f);
        // music-box arpeggio in eighths, climbing and falling
        const int pattern[8] = {0, 1, 2, 3, 2, 1, 2, 1};
        for (int s = 0; s < 8; s++) {
            const int tone = c.tones[size_t(pattern[s]) % c.tones.size()] + (pattern[s] >= 3 ? 12 : 0);
            MusicBox(mix, b * bar + s * song.StepSamples(), c.root + 12 + tone, s == 0 ? 0.55f : 0.35f);
        }
    }
    // the tune, a quarter note a step, on the music box above the arpeggios
    const std::vector<Step> tune = ParseMelody(
        "A5 - - F5 | F5 - D5 - | C5 - - A4 | C5 - E5 G5 | A5 - - G5 | G5 - D5 - | C#5 - E5 - | D5 - - - |"
        ". . A4 D5 | F5 - D5 Bb4 | A4 - C5 - | G4 - E5 - | F5 - - D5 | G5 - Bb4 D5 | E5 - - C#5 | D5 - - - ");
    for (const Step& s : tune) {
        MusicBox(mix, s.index * song.StepSamples() * 2, s.midi, 0.75f);
    }
    Buffer out = std::move(mix.Samples());
    CircularEcho(out, song.BeatSamples() * 0.75, 0.35f, 0.3f);
    Master(out, 0.85f);
    return out;
}

Buffer GameplayTheme() {
    // light adventure: plucked arpeggios, a flute tune, bass and brushed drums; A minor, 112 bpm
    const Song song{112.0, 24, 4};
    Track mix(song.Length());
    const Chord chords[8] = {{45, {0, 3, 7}}, {41, {0, 4, 7}}, {48, {0, 4, 7}}, {43, {0, 4, 7}},
                             {45, {0, 3, 7}}, {50, {0, 3, 7}}, {41, {0, 4, 7}}, {40, {0, 4, 7, 10}}};
    const double bar = song.BeatSamples() * 4, step = song.StepSamples();
    uint32_t seed = 1;
    for (int b = 0; b < song.bars; b++) {
        const Chord& c = chords[b % 8];
        const int arp[16] = {0, 1, 2, 1, 3, 2, 1, 2, 0, 1, 2, 3, 2, 1, 2, 1};
        for (int s = 0; s < 16; s += 2) {
            const int idx = arp[s];
            const int tone = c.tones[size_t(idx) % c.tones.size()] + (idx >= 3 ? 12 : 0);
            Pluck(mix, b * bar + s * step, c.root + 24 + tone, s % 8 == 0 ? 0.8f : 0.55f, seed++);
        }
        // bass: root on one, fifth on the "and" of two, root on three
        Bass(mix, b * bar, step * 5 / kRate, c.root - 12, 0.9f);
        Bass(mix, b * bar + 6 * step, step * 2 / kRate, c.root - 5, 0.7f);
        Bass(mix, b * bar + 8 * step, step * 6 / kRate, c.root - 12, 0.85f);
        Bass(mix, b * bar + 14 * step, step * 2 / kRate, c.root, 0.6f);
        // drums come in after the first four bars
        if (b >= 4) {
            for (int beat = 0; beat < 4; beat++) {
                if (beat % 2 == 0) {
                    Kick(mix, b * bar + beat * song.BeatSamples(), 0.8f);
                } else {
                    Snare(mix, b * bar + beat * song.BeatSamples(), 0.55f, seed++);
                }
            }
            for (int s = 0; s < 16; s += 2) {
                Hat(mix, b * bar + s * step, s % 4 == 0 ? 0.7f : 0.45f, seed++);
            }
        }
        if (b % 8 == 7) {
            Kick(mix, b * bar + 14 * step, 0.5f);
        }
    }
    // the flute tune over bars 8 to 23
    const std::vector<Step> tune = ParseMelody(
        "E5 - - - C5 - D5 - E5 - G5 - A5 - - - | F5 - - - A5 - G5 F5 E5 - - - C5 - - - |"
        "E5 - - - G5 - E5 - D5 - B4 - G4 - - - | B4 - - - D5 - G5 - B5 - A5 - G5 - - - |"
        "E5 - - - C5 - D5 - E5 - G5 - A5 - B5 - | C6 - - - B5 - A5 - F5 - - - E5 - D5 - |"
        "C5 - - - E5 - A5 - F5 - - - E5 - - - | E5 - - - D5 - C5 - B4 - - - G#4 - - - |");
    for (int phrase = 0; phrase < 2; phrase++) {
        for (const Step& s : tune) {
            Flute(mix, (8 + phrase * 8) * bar + s.index * step, s.length * step / kRate * 0.92, s.midi, 0.75f, seed++);
        }
    }
    Buffer out = std::move(mix.Samples());
    CircularEcho(out, song.BeatSamples() * 0.75, 0.3f, 0.25f);
    Master(out, 0.85f);
    return out;
}

Buffer BossTheme() {
    // driving: a gritty sixteenth-note bass, four-on-the-floor drums, brass stabs; E minor, 150 bpm
    const Song song{150.0, 24, 4};
    Track mix(song.Length());
    const Chord chords[8] = {{40, {0, 3, 7}}, {40, {0, 3, 7}}, {41, {0, 4, 7}}, {40, {0, 3, 7}},
                             {36, {0, 4, 7}}, {38, {0, 4, 7}}, {35, {0, 4, 7}}, {35, {0, 4, 7, 10}}};
    const double bar = song.BeatSamples() * 4, step = song.StepSamples();
    uint32_t seed = 7;
    for (int b = 0; b < song.bars; b++) {
        const Chord& c = chords[b % 8];
        const int ostinato[16] = {0, 0, 12, 0, 0, 7, 0, 12, 0, 0, 12, 0, c.tones[1], 0, 7, 10};
        for (int s = 0; s < 16; s++) {
            Bass(mix, b * bar + s * step, step * 0.8 / kRate, c.root - 12 + ostinato[s], s % 4 == 0 ? 1.0f : 0.7f,
                 0.6f);
        }
        for (int beat = 0; beat < 4; beat++) {
            Kick(mix, b * bar + beat * song.BeatSamples(), 1.0f);
            if (beat % 2 == 1) {
                Snare(mix, b * bar + beat * song.BeatSamples(), 0.8f, seed++);
            }
        }
        for (int s = 0; s < 16; s++) {
            Hat(mix, b * bar + s * step, s % 2 == 0 ? 0.8f : 0.4f, seed++);
        }
        // stabs on the first beat and the "and" of three, from bar 8
        if (b >= 8 || b % 2 == 1) {
            for (int t : c.tones) {
                Stab(mix, b * bar, step * 3 / kRate, c.root + 12 + t, 0.9f);
                Stab(mix, b * bar + 10 * step, step * 2 / kRate, c.root + 12 + t, 0.7f);
            }
        }
        // a tom roll into every fourth bar
        if (b % 4 == 3) {
            for (int s = 12; s < 16; s++) {
                Tom(mix, b * bar + s * step, 45 - (s - 12) * 3, 0.8f);
            }
        }
        Pad(mix, b * bar, bar / kRate, c.root + 24, 0.5f);
        Pad(mix, b * bar, bar / kRate, c.root + 31, 0.4f);
    }
    // brass lines over the second half: rising arpeggios over C, D, B and B7, a darker answer
    // over E minor and F
    const std::vector<Step> rise = ParseMelody(
        "E4 - - - - - G4 - C5 - - - G4 - E4 - | F#4 - - - - - A4 - D5 - - - A4 - F#4 - |"
        "D#4 - - - - - F#4 - B4 - - - F#4 - D#4 - | A4 - - - - - F#4 - D#4 - - - B3 - - - |");
    const std::vector<Step> answer = ParseMelody(
        "E4 - - - - - B3 - E4 - G4 - F#4 - E4 - | B4 - - - - - A4 - G4 - - - F#4 - - - |"
        "A4 - - - - - C5 - F4 - - - A4 - - - | G4 - - - F#4 - - - E4 - - - - - - - |");
    for (int startBar : {12, 20}) {
        for (const Step& s : rise) {
            Stab(mix, startBar * bar + s.index * step, s.length * step / kRate * 0.9, s.midi, 0.8f);
        }
    }
    for (const Step& s : answer) {
        Stab(mix, 16 * bar + s.index * step, s.length * step / kRate * 0.9, s.midi, 0.8f);
    }
    Buffer out = std::move(mix.Samples());
    CircularEcho(out, song.BeatSamples() * 0.5, 0.25f, 0.2f);
    Master(out, 0.88f);
    return out;
}

// ---- effects: each starts and ends in silence --------------------------------------------------------

// Leading silence, a short fade-in at the start and a fade to exact zero at the end.
Buffer Frame(Buffer b, int leadSamples) {
    const int fadeIn = 64, fadeOut = 1500;
    for (int i = 0; i < fadeIn && i < int(b.size()); i++) {
        b[size_t(i)] *= i / float(fadeIn);
    }
    for (int i = 0; i < fadeOut && i < int(b.size()); i++) {
        b[b.size() - 1 - size_t(i)] *= i / float(fadeOut);
    }
    Buffer out(size_t(leadSamples), 0.0f);
    out.insert(out.end(), b.begin(), b.end());
    out.insert(out.end(), 2048, 0.0f);
    return out;
}

Buffer Swish(float seconds, float fromHz, float toHz, float level, uint32_t seed) {
    const int len = int(seconds * kRate);
    Buffer b(static_cast<size_t>(len));
    Noise noise(seed);
    Svf filter;
    for (int i = 0; i < len; i++) {
        const float t = i / float(len);
        const float cutoff = fromHz * std::pow(toHz / fromHz, t);
        float band = 0;
        filter.Process(noise.Next(), cutoff, 0.35f, &band);
        const float env = std::sin(kPi * std::pow(t, 0.6f));
        b[size_t(i)] = band * env * env * level;
    }
    return b;
}

Buffer Thump(float seconds, float fromHz, float toHz, float level) {
    const int len = int(seconds * kRate);
    Buffer b(static_cast<size_t>(len));
    float phase = 0;
    for (int i = 0; i < len; i++) {
        const float t = i / float(kRate);
        phase += (toHz + (fromHz - toHz) * std::exp(-t * 14.0f)) / kRate;
        const float tail = 1.0f - float(i) / len;  // reaches exact silence at its end, without a click
        b[size_t(i)] = std::sin(kTau * phase) * std::exp(-t * 5.0f / seconds) * tail * tail * level;
    }
    return b;
}

void AddInto(Buffer& to, const Buffer& from, int offset) {
    if (to.size() < from.size() + size_t(offset)) {
        to.resize(from.size() + size_t(offset), 0.0f);
    }
    for (size_t i = 0; i < from.size(); i++) {
        to[i + size_t(offset)] += from[i];
    }
}

Buffer LightAttack() {
    return Frame(Swish(0.2f, 6000.0f, 1200.0f, 1.6f, 11), 220);
}

Buffer HeavyAttack() {
    Buffer b = Swish(0.42f, 4500.0f, 500.0f, 1.8f, 12);
    AddInto(b, Thump(0.35f, 160.0f, 45.0f, 0.9f), int(0.12f * kRate));
    // a soul chime rising out of the strike
    Buffer chime(size_t(0.45f * kRate));
    for (size_t i = 0; i < chime.size(); i++) {
        const float t = i / float(kRate);
        chime[i] = (std::sin(kTau * 1320.0f * t) + 0.5f * std::sin(kTau * 1980.0f * t)) * std::exp(-t * 9.0f) * 0.18f *
                   std::min(1.0f, t * 200.0f);
    }
    AddInto(b, chime, int(0.1f * kRate));
    return Frame(b, 220);
}

Buffer BossLand() {
    Buffer b = Thump(0.7f, 110.0f, 32.0f, 1.0f);
    Buffer rumble = Swish(0.6f, 500.0f, 80.0f, 1.2f, 13);
    AddInto(b, rumble, 0);
    return Frame(b, 220);
}

Buffer BossSmash() {
    Buffer b = Thump(0.6f, 140.0f, 38.0f, 1.0f);
    AddInto(b, Swish(0.75f, 7000.0f, 300.0f, 1.5f, 14), 0);
    // debris: short crackles scattered through the tail
    Noise noise(15);
    for (int k = 0; k < 14; k++) {
        const int at = int((0.05f + (noise.Next() * 0.5f + 0.5f) * 0.45f) * kRate);
        Buffer crack(600);
        for (size_t i = 0; i < crack.size(); i++) {
            crack[i] = noise.Next() * std::exp(-float(i) / 90.0f) * 0.5f;
        }
        AddInto(b, crack, at);
    }
    return Frame(b, 220);
}

void NormalizeEffect(Buffer& b, float peak) {
    float maxAbs = 1e-6f;
    for (float s : b) {
        maxAbs = std::max(maxAbs, std::abs(s));
    }
    for (float& s : b) {
        s *= peak / maxAbs;
    }
}

// ---- Ogg Vorbis output -------------------------------------------------------------------------------

bool WriteOgg(const Buffer& samples, const std::string& path, int serial) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::printf("Cannot write '%s'\n", path.c_str());
        return false;
    }
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 1, kRate, 0.4f) != 0) {
        std::printf("The Vorbis encoder refused its settings for '%s'\n", path.c_str());
        vorbis_info_clear(&vi);
        std::fclose(file);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", std::filesystem::path(path).stem().c_str());
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, serial);  // a fixed serial number keeps the files identical run to run

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page) != 0) {
        std::fwrite(page.header, 1, size_t(page.header_len), file);
        std::fwrite(page.body, 1, size_t(page.body_len), file);
    }

    auto drain = [&]() {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page) != 0) {
                    std::fwrite(page.header, 1, size_t(page.header_len), file);
                    std::fwrite(page.body, 1, size_t(page.body_len), file);
                }
            }
        }
    };
    const size_t chunk = 4096;
    for (size_t at = 0; at < samples.size(); at += chunk) {
        const size_t n = std::min(chunk, samples.size() - at);
        float** buffer = vorbis_analysis_buffer(&vd, int(n));
        for (size_t i = 0; i < n; i++) {
            buffer[0][i] = std::clamp(samples[at + i], -1.0f, 1.0f);
        }
        vorbis_analysis_wrote(&vd, int(n));
        drain();
    }
    vorbis_analysis_wrote(&vd, 0);
    drain();
    while (ogg_stream_flush(&os, &page) != 0) {
        std::fwrite(page.header, 1, size_t(page.header_len), file);
        std::fwrite(page.body, 1, size_t(page.body_len), file);
    }

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return std::fclose(file) == 0;
}

}  // namespace

bool ComposeAudio(const std::string& dataDir) {
    const std::filesystem::path audio = std::filesystem::path(dataDir) / "Audio";
    std::filesystem::create_directories(audio);
    Buffer light = LightAttack(), heavy = HeavyAttack(), land = BossLand(), smash = BossSmash();
    NormalizeEffect(light, 0.8f);
    NormalizeEffect(heavy, 0.9f);
    NormalizeEffect(land, 0.95f);
    NormalizeEffect(smash, 0.95f);
    const struct {
        const char* name;
        Buffer samples;
    } sounds[] = {
        {"Menu_BGM.ogg", MenuTheme()},     {"Gameplay_BGM.ogg", GameplayTheme()}, {"Boss_BGM.ogg", BossTheme()},
        {"Lirra_Attack_Light.ogg", light}, {"Lirra_Attack_Heavy.ogg", heavy},     {"Boss_Land.ogg", land},
        {"Boss_Smash.ogg", smash},
    };
    int serial = 0x4c495200;  // "LIR"
    for (const auto& s : sounds) {
        if (!WriteOgg(s.samples, (audio / s.name).string(), serial++)) {
            return false;
        }
    }
    return true;
}

}  // namespace datagen

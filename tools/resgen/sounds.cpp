// The game's sounds, all synthesised here: short effects from tones, noise and envelopes, and
// four music tracks from chords, bass, a melody and gentle drums.
#include "sounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <system_error>
#include <thread>

#include <vorbis/vorbisenc.h>

#include "content.h"

namespace resgen {
namespace {

constexpr double TWO_PI = 6.283185307179586;
constexpr float RATE_F = static_cast<float>(SOUND_RATE);

// Phase-accumulated sine through a table: fast enough for minutes of music.
class SINE_TABLE {
 public:
  SINE_TABLE() {
    for (int i = 0; i <= SIZE; ++i) table_[i] = static_cast<float>(std::sin(TWO_PI * i / SIZE));
  }
  // phase in cycles
  float operator()(double phase) const {
    const double f = (phase - std::floor(phase)) * SIZE;
    const int i = static_cast<int>(f);
    const float t = static_cast<float>(f - i);
    return table_[i] + (table_[i + 1] - table_[i]) * t;
  }

 private:
  static constexpr int SIZE = 4096;
  std::array<float, SIZE + 1> table_{};
};

const SINE_TABLE& sine() {
  static const SINE_TABLE table;
  return table;
}

struct NOISE {
  uint32_t state;
  explicit NOISE(uint32_t seed) : state(seed * 2654435761u + 1u) {}
  float next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state) / 2147483648.0f - 1.0f;
  }
};

double midiFrequency(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

int samplesOf(double seconds) { return static_cast<int>(seconds * SOUND_RATE); }

// Attack, then exponential decay with time constant tau.
float pluckEnvelope(double t, double attack, double tau) {
  if (t < 0) return 0.0f;
  if (t < attack) return static_cast<float>(t / attack);
  return static_cast<float>(std::exp(-(t - attack) / tau));
}

void normalise(std::vector<float>& samples, float peak) {
  float highest = 0.0f;
  for (float s : samples) highest = std::max(highest, std::fabs(s));
  if (highest <= 0.0f) return;
  const float gain = peak / highest;
  for (float& s : samples) s *= gain;
}

// Short fades at both ends so no effect starts or stops with a click.
void fadeEnds(std::vector<float>& samples, double in, double out) {
  const int a = std::min<int>(samplesOf(in), static_cast<int>(samples.size()));
  const int b = std::min<int>(samplesOf(out), static_cast<int>(samples.size()));
  for (int i = 0; i < a; ++i) samples[i] *= static_cast<float>(i) / a;
  for (int i = 0; i < b; ++i) samples[samples.size() - 1 - i] *= static_cast<float>(i) / b;
}

// A bell-like tone: a few partials, the higher ones dying sooner.
void addBell(std::vector<float>& out, double start, double frequency, double length, float gain,
             double tau) {
  const int first = samplesOf(start);
  const int n = samplesOf(length);
  const double partials[4][2] = {{1.0, 1.0}, {2.0, 0.45}, {3.01, 0.22}, {4.2, 0.12}};
  for (const auto& [ratio, amplitude] : partials) {
    for (int i = 0; i < n && first + i < static_cast<int>(out.size()); ++i) {
      const double t = static_cast<double>(i) / SOUND_RATE;
      out[first + i] += gain * static_cast<float>(amplitude) * pluckEnvelope(t, 0.004, tau / ratio) *
                        sine()(frequency * ratio * t);
    }
  }
}

// Noise through a one-pole band of moving centre: whooshes and swishes.
void addSwish(std::vector<float>& out, double start, double length, double fromHz, double toHz,
              float gain, uint32_t seed) {
  NOISE noise(seed);
  const int first = samplesOf(start);
  const int n = samplesOf(length);
  float low = 0.0f, band = 0.0f;
  for (int i = 0; i < n && first + i < static_cast<int>(out.size()); ++i) {
    const double t = static_cast<double>(i) / n;
    const double centre = fromHz * std::pow(toHz / fromHz, t);
    const float f = static_cast<float>(2.0 * std::sin(TWO_PI / 2 * centre / SOUND_RATE));
    // state-variable filter, band output
    const float high = noise.next() - low - 0.7f * band;
    band += f * high;
    low += f * band;
    const float envelope = static_cast<float>(std::sin(TWO_PI / 2 * t));
    out[first + i] += gain * band * envelope * envelope;
  }
}

void addGlide(std::vector<float>& out, double start, double length, double fromHz, double toHz,
              float gain, double vibrato) {
  const int first = samplesOf(start);
  const int n = samplesOf(length);
  double phase = 0.0;
  for (int i = 0; i < n && first + i < static_cast<int>(out.size()); ++i) {
    const double t = static_cast<double>(i) / n;
    const double seconds = static_cast<double>(i) / SOUND_RATE;
    const double f = fromHz * std::pow(toHz / fromHz, t) * (1.0 + vibrato * std::sin(TWO_PI * 9.0 * seconds));
    phase += f / SOUND_RATE;
    const float envelope = static_cast<float>(std::min(1.0, seconds / 0.01) * std::pow(1.0 - t, 1.5));
    out[first + i] += gain * envelope * (sine()(phase) + 0.25f * sine()(2 * phase));
  }
}

std::vector<float> silence(double seconds) { return std::vector<float>(samplesOf(seconds), 0.0f); }

std::vector<float> buttonClick() {
  std::vector<float> s = silence(0.09);
  NOISE noise(3);
  for (int i = 0; i < static_cast<int>(s.size()); ++i) {
    const double t = static_cast<double>(i) / SOUND_RATE;
    s[i] = 0.5f * noise.next() * static_cast<float>(std::exp(-t / 0.004)) +
           static_cast<float>(std::exp(-t / 0.018)) * sine()(1800.0 * t) * 0.8f;
  }
  return s;
}

std::vector<float> guiFly() {
  std::vector<float> s = silence(0.45);
  addSwish(s, 0.0, 0.45, 300.0, 2400.0, 1.0f, 11);
  return s;
}

std::vector<float> errorBuzz() {
  std::vector<float> s = silence(0.42);
  for (int note = 0; note < 2; ++note) {
    const int first = samplesOf(note * 0.18);
    const double f = note == 0 ? 311.0 : 233.0;
    for (int i = 0; i < samplesOf(0.2) && first + i < static_cast<int>(s.size()); ++i) {
      const double t = static_cast<double>(i) / SOUND_RATE;
      float v = 0.0f;
      for (int h = 1; h <= 7; h += 2) v += sine()(f * h * t) / static_cast<float>(h);
      s[first + i] += v * pluckEnvelope(t, 0.005, 0.12);
    }
  }
  return s;
}

std::vector<float> buyClick() {
  std::vector<float> s = silence(0.6);
  addBell(s, 0.0, 1318.5, 0.5, 0.8f, 0.25);
  addBell(s, 0.07, 1975.5, 0.5, 0.9f, 0.3);
  NOISE noise(5);
  for (int i = 0; i < samplesOf(0.03); ++i) s[i] += 0.3f * noise.next() * (1.0f - i / static_cast<float>(samplesOf(0.03)));
  return s;
}

std::vector<float> messageChime() {
  std::vector<float> s = silence(0.9);
  addBell(s, 0.0, midiFrequency(76), 0.8, 0.8f, 0.45);
  addBell(s, 0.14, midiFrequency(81), 0.75, 0.8f, 0.5);
  return s;
}

std::vector<float> strikeFanfare() {
  std::vector<float> s = silence(1.6);
  const int notes[4] = {72, 76, 79, 84};
  for (int k = 0; k < 4; ++k) addBell(s, 0.09 * k, midiFrequency(notes[k]), 1.4 - 0.09 * k, 0.7f, 0.6);
  // The pins fall: a bright rattle of noise under the chord.
  NOISE noise(8);
  for (int i = 0; i < samplesOf(0.7); ++i) {
    const double t = static_cast<double>(i) / SOUND_RATE;
    s[i] += 0.35f * noise.next() * static_cast<float>(std::exp(-t / 0.18)) * (0.6f + 0.4f * sine()(37.0 * t));
  }
  return s;
}

std::vector<float> spareChime() {
  std::vector<float> s = silence(1.2);
  const int notes[3] = {67, 72, 76};
  for (int k = 0; k < 3; ++k) addBell(s, 0.1 * k, midiFrequency(notes[k]), 1.0, 0.75f, 0.5);
  return s;
}

std::vector<float> multiplierRise() {
  std::vector<float> s = silence(0.55);
  addGlide(s, 0.0, 0.5, 420.0, 1260.0, 0.8f, 0.0);
  addBell(s, 0.32, 1680.0, 0.22, 0.5f, 0.08);
  return s;
}

std::vector<float> cardSelect() {
  std::vector<float> s = silence(0.07);
  for (int i = 0; i < static_cast<int>(s.size()); ++i) {
    const double t = static_cast<double>(i) / SOUND_RATE;
    s[i] = static_cast<float>(std::exp(-t / 0.012)) * (sine()(2400.0 * t) + 0.4f * sine()(3600.0 * t));
  }
  return s;
}

std::vector<float> cardMatch() {
  std::vector<float> s = silence(0.4);
  addBell(s, 0.0, midiFrequency(79), 0.35, 0.8f, 0.16);
  addBell(s, 0.06, midiFrequency(83), 0.34, 0.8f, 0.18);
  return s;
}

std::vector<float> cardFly() {
  std::vector<float> s = silence(0.25);
  addSwish(s, 0.0, 0.25, 1800.0, 600.0, 1.0f, 21);
  return s;
}

std::vector<float> reshuffleRiffle() {
  std::vector<float> s = silence(0.75);
  NOISE noise(13);
  for (int k = 0; k < 26; ++k) {
    const int first = samplesOf(0.02 + 0.025 * k + 0.004 * (k % 3));
    const float gain = 0.5f + 0.5f * std::sin(static_cast<float>(k) / 26.0f * 3.14159f);
    for (int i = 0; i < samplesOf(0.012) && first + i < static_cast<int>(s.size()); ++i) {
      const double t = static_cast<double>(i) / SOUND_RATE;
      s[first + i] += gain * noise.next() * static_cast<float>(std::exp(-t / 0.003));
    }
  }
  addSwish(s, 0.5, 0.25, 900.0, 2500.0, 0.6f, 17);
  return s;
}

std::vector<float> jokerClick() {
  std::vector<float> s = silence(0.35);
  addGlide(s, 0.0, 0.33, 330.0, 660.0, 0.9f, 0.04);
  return s;
}

std::vector<float> jokerUse() {
  std::vector<float> s = silence(0.9);
  addGlide(s, 0.0, 0.5, 880.0, 1760.0, 0.4f, 0.0);
  NOISE noise(29);
  for (int k = 0; k < 12; ++k) {
    const double f = 1500.0 + 1500.0 * (noise.next() + 1.0f);
    addBell(s, 0.05 * k, f, 0.3, 0.35f, 0.07);
  }
  return s;
}

// ---------------------------------------------------------------- music

struct TRACK_STYLE {
  double bpm;
  int root;                 // midi note of the key's tonic (octave 4)
  bool minor;
  int progression[8];       // scale degrees, one chord per bar, two four-bar phrases
  int bassPattern;          // 0 steady, 1 syncopated, 2 walking
  int leadVoice;            // 0 electric piano, 1 flute, 2 pluck
  bool arpeggio;
  uint32_t seed;
  int bars;
};

const int MAJOR[7] = {0, 2, 4, 5, 7, 9, 11};
const int MINOR[7] = {0, 2, 3, 5, 7, 8, 10};

int scaleNote(const TRACK_STYLE& style, int degree) {
  const int* scale = style.minor ? MINOR : MAJOR;
  const int octave = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
  const int index = degree - octave * 7;
  return style.root + 12 * octave + scale[index];
}

struct MIX {
  std::vector<float> left, right;
  explicit MIX(int frames) : left(frames, 0.0f), right(frames, 0.0f) {}
  void add(int frame, float value, float pan) {  // pan -1 left .. 1 right
    if (frame < 0 || frame >= static_cast<int>(left.size())) return;
    left[frame] += value * (0.5f - 0.5f * pan) * 1.4f;
    right[frame] += value * (0.5f + 0.5f * pan) * 1.4f;
  }
};

void renderPad(MIX& mix, double start, double length, double frequency, float gain, float pan) {
  const int first = samplesOf(start);
  const int n = samplesOf(length + 0.6);
  const double detune[2] = {0.997, 1.003};
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / SOUND_RATE;
    double envelope = std::min(1.0, t / 0.35);
    if (t > length) envelope *= std::exp(-(t - length) / 0.2);
    float v = 0.0f;
    for (double d : detune) {
      for (int h = 1; h <= 4; ++h) v += sine()(frequency * d * h * t) / static_cast<float>(h * h);
    }
    mix.add(first + i, gain * static_cast<float>(envelope) * v * (0.9f + 0.1f * sine()(0.5 * t)), pan);
  }
}

void renderBass(MIX& mix, double start, double length, double frequency, float gain) {
  const int first = samplesOf(start);
  const int n = samplesOf(length + 0.08);
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / SOUND_RATE;
    double envelope = std::min(1.0, t / 0.008) * (0.55 + 0.45 * std::exp(-t / 0.18));
    if (t > length) envelope *= std::exp(-(t - length) / 0.02);
    const float v = sine()(frequency * t) + 0.35f * sine()(2 * frequency * t) + 0.1f * sine()(3 * frequency * t);
    mix.add(first + i, gain * static_cast<float>(envelope) * std::tanh(1.3f * v), 0.0f);
  }
}

void renderLead(MIX& mix, int voice, double start, double length, double frequency, float gain, float pan) {
  const int first = samplesOf(start);
  const int n = samplesOf(length + (voice == 1 ? 0.12 : 0.9));
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / SOUND_RATE;
    float v = 0.0f;
    double envelope = 1.0;
    if (voice == 0) {  // electric piano: a decaying frequency modulation
      const double index = 1.8 * std::exp(-t / 0.25);
      v = sine()(frequency * t + index * sine()(frequency * t) / TWO_PI);
      envelope = pluckEnvelope(t, 0.004, 0.7);
      if (t > length) envelope *= std::exp(-(t - length) / 0.15);
    } else if (voice == 1) {  // soft flute with late vibrato
      const double vib = t > 0.15 ? 0.004 * std::sin(TWO_PI * 5.2 * t) : 0.0;
      v = sine()(frequency * (1 + vib) * t) + 0.18f * sine()(2 * frequency * t) + 0.08f * sine()(3 * frequency * t);
      envelope = std::min(1.0, t / 0.04);
      if (t > length) envelope *= std::exp(-(t - length) / 0.05);
    } else {  // plucked string
      for (int h = 1; h <= 5; ++h) v += sine()(frequency * h * t) * static_cast<float>(std::exp(-t * h / 0.5)) / h;
      envelope = std::min(1.0, t / 0.003);
      if (t > length) envelope *= std::exp(-(t - length) / 0.3);
    }
    mix.add(first + i, gain * static_cast<float>(envelope) * v, pan);
  }
}

void renderKick(MIX& mix, double start, float gain) {
  const int first = samplesOf(start);
  double phase = 0.0;
  for (int i = 0; i < samplesOf(0.3); ++i) {
    const double t = static_cast<double>(i) / SOUND_RATE;
    phase += (45.0 + 85.0 * std::exp(-t / 0.03)) / SOUND_RATE;
    mix.add(first + i, gain * static_cast<float>(std::exp(-t / 0.09)) * sine()(phase), 0.0f);
  }
}

void renderSnare(MIX& mix, double start, float gain, NOISE& noise) {
  const int first = samplesOf(start);
  float previous = 0.0f;
  for (int i = 0; i < samplesOf(0.2); ++i) {
    const double t = static_cast<double>(i) / SOUND_RATE;
    const float white = noise.next();
    const float bright = white - 0.6f * previous;  // tilt towards the highs
    previous = white;
    const float body = 0.5f * sine()(185.0 * t) * static_cast<float>(std::exp(-t / 0.03));
    mix.add(first + i, gain * (0.6f * bright * static_cast<float>(std::exp(-t / 0.06)) + body), 0.1f);
  }
}

void renderHat(MIX& mix, double start, float gain, NOISE& noise, float pan) {
  const int first = samplesOf(start);
  float previous = 0.0f;
  for (int i = 0; i < samplesOf(0.05); ++i) {
    const double t = static_cast<double>(i) / SOUND_RATE;
    const float white = noise.next();
    mix.add(first + i, gain * (white - previous) * 0.5f * static_cast<float>(std::exp(-t / 0.012)), pan);
    previous = white;
  }
}

// A two-bar melody over the chords: chord tones on the strong eighths, scale steps between.
struct NOTE_EVENT {
  double beat;
  double length;
  int degree;  // scale degree from the tonic
};

std::vector<NOTE_EVENT> makePhrase(const TRACK_STYLE& style, int chordA, int chordB, NOISE& random) {
  std::vector<NOTE_EVENT> phrase;
  int degree = chordA + 7;
  for (int eighth = 0; eighth < 16; ++eighth) {
    const bool strong = eighth % 4 == 0;
    const float roll = (random.next() + 1.0f) / 2.0f;
    if (!strong && roll < 0.35f) continue;  // rests give the tune air
    const int chord = eighth < 8 ? chordA : chordB;
    if (strong) {
      const int tones[3] = {chord, chord + 2, chord + 4};
      int best = tones[0] + 7;
      for (int tone : tones) {
        for (int octave : {0, 7}) {
          if (std::abs(tone + octave - degree) < std::abs(best - degree)) best = tone + octave;
        }
      }
      degree = best;
    } else {
      degree += roll < 0.6f ? 1 : -1;
      if (roll > 0.9f) degree += 1;
    }
    degree = std::clamp(degree, 3, 12);
    double length = 0.5;
    if (eighth % 4 == 2 && roll > 0.7f) length = 1.0;
    phrase.push_back({eighth * 0.5, length, degree});
  }
  (void)style;
  return phrase;
}

std::vector<float> renderTrack(const TRACK_STYLE& style) {
  const double beat = 60.0 / style.bpm;
  const double bar = 4 * beat;
  const double total = style.bars * bar + 2.0;
  MIX mix(samplesOf(total));
  NOISE random(style.seed);
  NOISE drumNoise(style.seed * 7 + 1);

  // Two phrases (for bars 1-2 and 3-4 of each four-bar group), each in an A and a B version.
  std::vector<NOTE_EVENT> phrases[4];
  for (int p = 0; p < 4; ++p) {
    const int offset = (p % 2) * 2 + (p / 2) * 4;
    phrases[p] = makePhrase(style, style.progression[offset % 8], style.progression[(offset + 1) % 8], random);
  }

  for (int b = 0; b < style.bars; ++b) {
    const double t0 = b * bar;
    const int degree = style.progression[b % 8];
    const int section = b / 8;  // 8-bar sections: intro, theme, second theme, theme, ...
    const bool intro = section == 0;
    const bool outro = b >= style.bars - 4;
    const bool drums = !intro && !outro;
    const bool melody = !intro && b < style.bars - 2;

    // Pad: the triad in the middle register.
    for (int k = 0; k < 3; ++k) {
      renderPad(mix, t0, bar, midiFrequency(scaleNote(style, degree + 2 * k)), 0.045f, -0.3f + 0.3f * k);
    }
    // Bass: the chord's root two octaves down.
    const double bassHz = midiFrequency(scaleNote(style, degree) - 24);
    if (style.bassPattern == 0) {
      for (int q = 0; q < 4; q += 2) renderBass(mix, t0 + q * beat, 1.7 * beat, bassHz, 0.30f);
    } else if (style.bassPattern == 1) {
      renderBass(mix, t0, 1.4 * beat, bassHz, 0.30f);
      renderBass(mix, t0 + 1.5 * beat, 0.45 * beat, bassHz * 2, 0.22f);
      renderBass(mix, t0 + 2 * beat, 1.8 * beat, bassHz, 0.30f);
    } else {
      const int walk[4] = {0, 2, 4, 5};
      for (int q = 0; q < 4; ++q) {
        renderBass(mix, t0 + q * beat, 0.9 * beat, midiFrequency(scaleNote(style, degree + walk[q]) - 24), 0.28f);
      }
    }
    if (style.arpeggio && !intro) {
      for (int e = 0; e < 8; ++e) {
        const int tone = degree + 2 * (e % 3) + (e >= 6 ? 7 : 0);
        renderLead(mix, 2, t0 + e * beat / 2, beat / 2, midiFrequency(scaleNote(style, tone)), 0.05f, e % 2 ? 0.5f : -0.5f);
      }
    }
    if (drums) {
      renderKick(mix, t0, 0.30f);
      renderKick(mix, t0 + 2 * beat, 0.26f);
      if (style.bassPattern == 1) renderKick(mix, t0 + 2.5 * beat, 0.16f);
      renderSnare(mix, t0 + beat, 0.11f, drumNoise);
      renderSnare(mix, t0 + 3 * beat, 0.11f, drumNoise);
      for (int e = 0; e < 8; ++e) renderHat(mix, t0 + e * beat / 2, e % 2 ? 0.035f : 0.06f, drumNoise, 0.35f);
    } else if (!outro) {
      for (int e = 0; e < 4; ++e) renderHat(mix, t0 + e * beat, 0.04f, drumNoise, 0.35f);
    }
    if (melody && b % 2 == 0) {
      const bool secondTheme = section % 2 == 0;
      const int which = (b % 4 == 0 ? 0 : 1) + (secondTheme ? 2 : 0);
      for (const NOTE_EVENT& note : phrases[which]) {
        const double start = t0 + note.beat * beat;
        renderLead(mix, style.leadVoice, start, note.length * beat * 0.95, midiFrequency(scaleNote(style, note.degree)), 0.13f, 0.15f);
      }
    }
  }

  // A soft echo of everything, three eighths later, crossing sides.
  const int delay = samplesOf(1.5 * beat);
  for (int i = static_cast<int>(mix.left.size()) - 1; i >= delay; --i) {
    mix.left[i] += 0.22f * mix.right[i - delay];
    mix.right[i] += 0.22f * mix.left[i - delay];
  }
  // Gentle limiting, fades, and one level for all tracks.
  const int frames = static_cast<int>(mix.left.size());
  const int fadeIn = samplesOf(0.8), fadeOut = samplesOf(3.0);
  for (int i = 0; i < frames; ++i) {
    float g = 1.0f;
    if (i < fadeIn) g = static_cast<float>(i) / fadeIn;
    if (i > frames - fadeOut) g = static_cast<float>(frames - i) / fadeOut;
    mix.left[i] = std::tanh(mix.left[i]) * g;
    mix.right[i] = std::tanh(mix.right[i]) * g;
  }
  std::vector<float> interleaved(2 * static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    interleaved[2 * i] = mix.left[i];
    interleaved[2 * i + 1] = mix.right[i];
  }
  normalise(interleaved, 0.85f);
  return interleaved;
}

const TRACK_STYLE TRACKS[4] = {
    // Easy-going lounge in F major, electric piano.
    {104.0, 65, false, {0, 5, 3, 4, 0, 5, 1, 4}, 1, 0, false, 101, 32},
    // Bright walk in G major, flute over plucked arpeggios.
    {116.0, 67, false, {0, 3, 4, 0, 5, 3, 1, 4}, 2, 1, true, 202, 36},
    // Cool evening in A minor, electric piano.
    {96.0, 69, true, {0, 5, 2, 6, 0, 3, 6, 4}, 0, 0, true, 303, 28},
    // Sunny shuffle in D major, plucked lead.
    {122.0, 62, false, {0, 4, 5, 3, 0, 4, 3, 4}, 1, 2, false, 404, 36},
};

using EFFECT_MAKER = std::vector<float> (*)();

struct EFFECT {
  const char* name;
  EFFECT_MAKER make;
};

const EFFECT EFFECTS[] = {
    {"button_click.ogg", buttonClick},     {"gui_fly.ogg", guiFly},
    {"error.ogg", errorBuzz},              {"button_buy_click.ogg", buyClick},
    {"message.ogg", messageChime},         {"message_strike.ogg", strikeFanfare},
    {"message_spare.ogg", spareChime},     {"multiplier.ogg", multiplierRise},
    {"card_select.ogg", cardSelect},       {"card_match.ogg", cardMatch},
    {"card_fly.ogg", cardFly},             {"reshuffle_use.ogg", reshuffleRiffle},
    {"joker_click.ogg", jokerClick},       {"joker_use.ogg", jokerUse},
};

}  // namespace

const std::vector<SOUND_FILE>& soundFiles() {
  static const std::vector<SOUND_FILE> files = [] {
    std::vector<SOUND_FILE> list;
    for (const EFFECT& effect : EFFECTS) list.push_back({effect.name, 1});
    for (const char* track : {"track1.ogg", "track2.ogg", "track3.ogg", "track4.ogg"}) list.push_back({track, 2});
    return list;
  }();
  return files;
}

bool writeOggVorbis(const std::filesystem::path& path, int channels,
                    const std::vector<float>& interleaved, float quality, std::string& error) {
  std::filesystem::path temporary = path;
  temporary += ".part";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) {
    error = "cannot write " + temporary.string();
    return false;
  }
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, SOUND_RATE, quality) != 0) {
    vorbis_info_clear(&info);
    std::fclose(file);
    std::filesystem::remove(temporary);
    error = "the Vorbis encoder refused its settings";
    return false;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "ENCODER", "Pindrake resgen");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, static_cast<int>(std::hash<std::string>{}(path.filename().string()) & 0x7fffffff));
  bool ok = true;
  auto writePage = [&](const ogg_page& page) {
    ok = ok && std::fwrite(page.header, 1, page.header_len, file) == static_cast<size_t>(page.header_len);
    ok = ok && std::fwrite(page.body, 1, page.body_len, file) == static_cast<size_t>(page.body_len);
  };
  {
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) writePage(page);
  }
  const long frames = static_cast<long>(interleaved.size() / channels);
  const long chunk = 4096;
  bool ended = false;
  for (long done = 0; !ended;) {
    const long n = std::min(chunk, frames - done);
    if (n > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
      for (long i = 0; i < n; ++i) {
        for (int c = 0; c < channels; ++c) buffer[c][i] = interleaved[(done + i) * channels + c];
      }
      vorbis_analysis_wrote(&dsp, static_cast<int>(n));
      done += n;
    } else {
      vorbis_analysis_wrote(&dsp, 0);
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        ogg_page page;
        while (ogg_stream_pageout(&stream, &page) != 0) {
          writePage(page);
          if (ogg_page_eos(&page)) ended = true;
        }
      }
    }
    if (n <= 0 && !ended) {
      // Everything was flushed without an end-of-stream page: close it by hand.
      ogg_page page;
      while (ogg_stream_flush(&stream, &page) != 0) writePage(page);
      ended = true;
    }
  }
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  ok = (std::fclose(file) == 0) && ok;
  if (!ok) {
    std::filesystem::remove(temporary);
    error = "cannot write " + temporary.string();
    return false;
  }
  std::error_code renameError;
  std::filesystem::rename(temporary, path, renameError);
  if (renameError) {
    error = "cannot rename " + temporary.string() + ": " + renameError.message();
    return false;
  }
  return true;
}

bool generateSounds(const std::filesystem::path& resources) {
  const std::filesystem::path folder = resources / "sounds";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "sounds: cannot create %s: %s\n", folder.string().c_str(), error.message().c_str());
    return false;
  }
  sine();  // built once before the threads share it
  // Four tracks and the effects, each job on its own thread; the longest track sets the pace.
  std::vector<std::string> errors(5);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      const std::vector<float> music = renderTrack(TRACKS[t]);
      const std::string name = "track" + std::to_string(t + 1) + ".ogg";
      std::string message;
      if (!writeOggVorbis(folder / name, 2, music, 0.0f, message)) errors[t] = name + ": " + message;
    });
  }
  threads.emplace_back([&] {
    for (const EFFECT& effect : EFFECTS) {
      std::vector<float> samples = effect.make();
      fadeEnds(samples, 0.002, 0.01);
      normalise(samples, 0.89f);
      std::string message;
      if (!writeOggVorbis(folder / effect.name, 1, samples, 0.4f, message)) {
        errors[4] += std::string(effect.name) + ": " + message + "; ";
      }
    }
  });
  for (std::thread& thread : threads) thread.join();
  bool ok = true;
  for (const std::string& message : errors) {
    if (message.empty()) continue;
    std::fprintf(stderr, "sounds: %s\n", message.c_str());
    ok = false;
  }
  return ok;
}

}  // namespace resgen

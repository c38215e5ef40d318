// The sound builder's synthesizer: band-limited pulse and saw, chip noise, a glottal voice,
// envelopes, filters and echo. Everything renders float samples in -1..1 at one rate, and
// the same call gives the same samples on every build.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace sfx {

constexpr int SampleRate = 44100;
using Pcm = std::vector<float>;

struct StereoPcm {
  Pcm left, right;
};

int Samples(double seconds);
double DbToGain(double db);
double GainToDb(double gain);
double NoteHz(double midi);  // MIDI note 69 is A4, 440 Hz

// "C5", "F#4", "Bb3" to MIDI note numbers (C4 is 60); anything else is a BuildError.
int ParseNote(std::string_view name);

// A line of notes on a step grid: space-separated tokens, a note name starts a note, "-"
// holds the one before and "." is a step of silence.
struct GridNote {
  int midi = 0, step = 0, steps = 0;
};
struct NoteLine {
  std::vector<GridNote> notes;
  int steps = 0;
};
NoteLine ParseLine(std::string_view line);

// xorshift32: a fixed seed makes every noise the same on every build.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  uint32_t Next();
  double Uniform();  // [0, 1)
  double Bipolar();  // [-1, 1)

 private:
  uint32_t state_;
};

// Noise is sample-and-hold white noise clocked at the tone's pitch (the chip way: a low
// clock gives a rumble, a high one a hiss); Metal is a short 93-step sequence clocked the
// same way, which rings with a pitch.
enum class Wave { Pulse, Saw, Triangle, Sine, Noise, Metal };
enum class FilterType { None, LowPass, HighPass, BandPass };

// One note of one oscillator. The pitch glides exponentially from hz to toHz over `slide`
// seconds (the whole tone when 0); the envelope rises over `attack`, stays for `hold`, then
// falls to silence over `release` with (1 - t)^curve, so every tone ends on zero.
struct Tone {
  Wave wave = Wave::Pulse;
  double hz = 440, toHz = 0, slide = 0;  // toHz 0 keeps the pitch
  double duty = 0.5, toDuty = -1;        // pulse width, swept over the tone; -1 keeps it
  double vibratoCents = 0, vibratoHz = 6, vibratoDelay = 0;
  double attack = 0.002, hold = 0, release = 0.1, curve = 2;
  double gain = 1;
  FilterType filter = FilterType::None;
  double cutoff = 1000, toCutoff = 0, q = 0.707;  // cutoff glides like the pitch
  uint32_t seed = 1;

  double Seconds() const { return attack + hold + release; }
};
Pcm Render(const Tone& tone);

// State-variable filter (topology-preserving, stable while its cutoff moves).
class Svf {
 public:
  void Set(double hz, double q);
  struct Out {
    double low, band, high;
  };
  Out Step(double x);

 private:
  double g_ = 0, k_ = 1.414, a1_ = 0, a2_ = 0, a3_ = 0, ic1_ = 0, ic2_ = 0;
};

// Speech by formants: a glottal pulse through three resonators, with noise for fricatives
// and bursts. Each phone's targets are reached by the phone's middle, gliding from the last.
struct Phone {
  double seconds = 0.1;
  double f1 = 500, f2 = 1500, f3 = 2500;  // formant centres
  double voice = 1, noise = 0;            // source levels
  double noiseHz = 4000;                  // centre of the noise band
  double pitch = 1;                       // intonation, times the base pitch, at the phone's end
};
struct VoiceSettings {
  double pitchHz = 120;
  double formantScale = 1;  // below 1: a larger, darker speaker
  double robot = 0.3;       // 0..1: how much of a buzzy square carrier rides the formants
  uint32_t seed = 7;
};
Pcm Speak(const std::vector<Phone>& phones, const VoiceSettings& settings);

// Adds `source` times gain into `into` from sample `at`, growing `into` when needed.
void MixAt(Pcm& into, const Pcm& source, int at, double gain = 1);
// Adds into a looping stereo buffer: what runs past the end comes in again at the start.
// pan -1 is left, 1 right (constant power).
void MixWrapped(StereoPcm& into, const Pcm& source, int at, double gain, double pan);

// A feedback echo in place, tails cut at the buffer's end (leave room for them).
void Echo(Pcm& pcm, double delaySeconds, double feedback, double wet, double dampHz = 6000);
void LowPass(Pcm& pcm, double hz);
void HighPass(Pcm& pcm, double hz);
// tanh saturation; the level before it is pcm * drive.
void Drive(Pcm& pcm, double drive);
// Holds every sample `hold` times and rounds to `levels` steps: the grit of old sample chips.
void Crush(Pcm& pcm, int hold, int levels);
void FadeOut(Pcm& pcm, double seconds);
// Scales so that the largest magnitude is exactly peakDb dBFS.
void Normalize(Pcm& pcm, double peakDb);
void Normalize(StereoPcm& pcm, double peakDb);

double Peak(const Pcm& pcm);
double Rms(const Pcm& pcm);
double Energy(const Pcm& pcm);  // the sum of squares, for comparing loudness times length

}  // namespace sfx

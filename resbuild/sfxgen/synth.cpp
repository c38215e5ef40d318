#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "image.h"

namespace sfx {

namespace {

constexpr double Pi = std::numbers::pi;

// The step a naive edge would take, smoothed over one sample on each side, so that pulse and
// saw stay clean at high pitches instead of folding back as whistles.
double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

// Pitch, cutoff and the like move by ratio, which is how they are heard.
double Glide(double from, double to, double t) {
  if (to <= 0) return from;
  return from * std::pow(to / from, std::clamp(t, 0.0, 1.0));
}

double Envelope(const Tone& tone, double t) {
  if (t < tone.attack) return t / tone.attack;
  t -= tone.attack;
  if (t < tone.hold) return 1;
  t -= tone.hold;
  if (tone.release <= 0 || t >= tone.release) return 0;
  return std::pow(1 - t / tone.release, tone.curve);
}

// Rosenberg's glottal pulse over one period: opening, closing, then closed.
double GlottalPulse(double phase) {
  constexpr double Open = 0.4, Closing = 0.16;
  if (phase < Open) return 0.5 * (1 - std::cos(Pi * phase / Open));
  if (phase < Open + Closing) return std::cos(0.5 * Pi * (phase - Open) / Closing);
  return 0;
}

double Smooth(double t) { return t * t * (3 - 2 * t); }

}  // namespace

int Samples(double seconds) { return static_cast<int>(std::lround(seconds * SampleRate)); }
double DbToGain(double db) { return std::pow(10.0, db / 20.0); }
double GainToDb(double gain) { return 20.0 * std::log10(gain); }
double NoteHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

int ParseNote(std::string_view name) {
  static constexpr int Semitones[] = {9, 11, 0, 2, 4, 5, 7};  // A..G
  if (name.size() < 2 || name[0] < 'A' || name[0] > 'G')
    throw BuildError("not a note: \"" + std::string(name) + "\"");
  int semitone = Semitones[name[0] - 'A'];
  size_t at = 1;
  if (name[at] == '#')
    ++semitone, ++at;
  else if (name[at] == 'b')
    --semitone, ++at;
  if (at + 1 != name.size() || name[at] < '0' || name[at] > '8')
    throw BuildError("not a note: \"" + std::string(name) + "\"");
  return 12 * (name[at] - '0' + 1) + semitone;
}

NoteLine ParseLine(std::string_view line) {
  NoteLine parsed;
  bool sounding = false;
  size_t at = 0;
  while (at < line.size()) {
    if (line[at] == ' ') {
      ++at;
      continue;
    }
    size_t end = line.find(' ', at);
    if (end == std::string_view::npos) end = line.size();
    std::string_view token = line.substr(at, end - at);
    at = end;
    if (token == "-") {
      if (sounding) ++parsed.notes.back().steps;
    } else if (token == ".") {
      sounding = false;
    } else {
      parsed.notes.push_back({ParseNote(token), parsed.steps, 1});
      sounding = true;
    }
    ++parsed.steps;
  }
  return parsed;
}

uint32_t Random::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

double Random::Uniform() { return (Next() >> 8) * (1.0 / 16777216.0); }
double Random::Bipolar() { return 2 * Uniform() - 1; }

void Svf::Set(double hz, double q) {
  g_ = std::tan(Pi * std::clamp(hz, 10.0, 0.45 * SampleRate) / SampleRate);
  k_ = 1 / q;
  a1_ = 1 / (1 + g_ * (g_ + k_));
  a2_ = g_ * a1_;
  a3_ = g_ * a2_;
}

Svf::Out Svf::Step(double x) {
  double v3 = x - ic2_;
  double v1 = a1_ * ic1_ + a2_ * v3;
  double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
  ic1_ = 2 * v1 - ic1_;
  ic2_ = 2 * v2 - ic2_;
  // The band output scaled by k peaks at 1, whatever the q.
  return {v2, k_ * v1, x - k_ * v1 - v2};
}

Pcm Render(const Tone& tone) {
  const double total = tone.Seconds();
  Pcm out(Samples(total));
  Random random(tone.seed);
  Svf filter;
  double phase = 0, held = random.Bipolar();
  uint32_t lfsr = 1;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = double(i) / SampleRate;
    double hz = Glide(tone.hz, tone.toHz, t / (tone.slide > 0 ? tone.slide : total));
    if (tone.vibratoCents > 0 && t > tone.vibratoDelay) {
      double depth = tone.vibratoCents * std::min(1.0, (t - tone.vibratoDelay) / 0.1);
      hz *=
          std::pow(2.0, depth / 1200 * std::sin(2 * Pi * tone.vibratoHz * (t - tone.vibratoDelay)));
    }
    const double dt = std::min(hz / SampleRate, 1.0);
    double x = 0;
    switch (tone.wave) {
      case Wave::Pulse: {
        double duty =
            tone.toDuty >= 0 ? tone.duty + (tone.toDuty - tone.duty) * t / total : tone.duty;
        x = (phase < duty ? 1.0 : -1.0) + PolyBlep(phase, dt) -
            PolyBlep(std::fmod(phase + 1 - duty, 1.0), dt) - (2 * duty - 1);
        break;
      }
      case Wave::Saw:
        x = 2 * phase - 1 - PolyBlep(phase, dt);
        break;
      case Wave::Triangle:
        x = 4 * std::abs(phase - 0.5) - 1;
        break;
      case Wave::Sine:
        x = std::sin(2 * Pi * phase);
        break;
      case Wave::Noise:
        x = held;
        break;
      case Wave::Metal:
        x = (lfsr & 1) ? 1.0 : -1.0;
        break;
    }
    phase += dt;
    if (phase >= 1) {
      phase -= 1;
      held = random.Bipolar();
      uint32_t bit = (lfsr ^ (lfsr >> 6)) & 1;
      lfsr = (lfsr >> 1) | (bit << 14);
    }
    if (tone.filter != FilterType::None) {
      if (i % 8 == 0) filter.Set(Glide(tone.cutoff, tone.toCutoff, t / total), tone.q);
      Svf::Out f = filter.Step(x);
      x = tone.filter == FilterType::LowPass    ? f.low
          : tone.filter == FilterType::HighPass ? f.high
                                                : f.band;
    }
    out[i] = static_cast<float>(x * Envelope(tone, t) * tone.gain);
  }
  return out;
}

Pcm Speak(const std::vector<Phone>& phones, const VoiceSettings& settings) {
  // Each parameter eases from one phone's middle to the next one's.
  std::vector<double> middles;
  double total = 0;
  for (const Phone& p : phones) {
    middles.push_back(total + p.seconds / 2);
    total += p.seconds;
  }
  auto at = [&](double t, double Phone::*field) {
    if (t <= middles.front()) return phones.front().*field;
    for (size_t i = 1; i < phones.size(); ++i)
      if (t < middles[i]) {
        double u = (t - middles[i - 1]) / (middles[i] - middles[i - 1]);
        return phones[i - 1].*field + (phones[i].*field - phones[i - 1].*field) * Smooth(u);
      }
    return phones.back().*field;
  };

  Pcm out(Samples(total));
  Random random(settings.seed);
  Svf formants[3], hiss;
  constexpr double Bandwidths[3] = {90, 110, 170}, Levels[3] = {1.0, 0.7, 0.45};
  double phase = 0, lastPulse = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = double(i) / SampleRate;
    const double f0 =
        settings.pitchHz * at(t, &Phone::pitch) * (1 + 0.012 * std::sin(2 * Pi * 5.2 * t));
    if (i % 8 == 0) {
      const double f[3] = {at(t, &Phone::f1), at(t, &Phone::f2), at(t, &Phone::f3)};
      for (int k = 0; k < 3; ++k) {
        double hz = f[k] * settings.formantScale;
        formants[k].Set(hz, hz / Bandwidths[k]);
      }
      hiss.Set(at(t, &Phone::noiseHz) * settings.formantScale, 1.8);
    }
    // The pulse's slope (lip radiation) carries the harmonics the formants shape.
    phase += f0 / SampleRate;
    if (phase >= 1) phase -= 1;
    double pulse = GlottalPulse(phase);
    double glottal = (pulse - lastPulse) * SampleRate / (f0 * 12);
    lastPulse = pulse;
    // The robot's buzz: a square locked to the glottal pulse.
    double dt = f0 / SampleRate;
    double square = (phase < 0.5 ? 1.0 : -1.0) + PolyBlep(phase, dt) -
                    PolyBlep(std::fmod(phase + 0.5, 1.0), dt);
    double source =
        (1 - settings.robot) * glottal + settings.robot * 0.35 * square + 0.02 * random.Bipolar();
    double voiced = 0;
    for (int k = 0; k < 3; ++k) voiced += Levels[k] * formants[k].Step(source).band;
    double noise = hiss.Step(random.Bipolar()).band;
    out[i] = static_cast<float>(voiced * at(t, &Phone::voice) + 0.6 * noise * at(t, &Phone::noise));
  }
  FadeOut(out, 0.01);
  return out;
}

void MixAt(Pcm& into, const Pcm& source, int at, double gain) {
  if (into.size() < at + source.size()) into.resize(at + source.size());
  for (size_t i = 0; i < source.size(); ++i) into[at + i] += static_cast<float>(source[i] * gain);
}

void MixWrapped(StereoPcm& into, const Pcm& source, int at, double gain, double pan) {
  const double angle = (std::clamp(pan, -1.0, 1.0) + 1) * Pi / 4;
  const double left = gain * std::cos(angle) * std::numbers::sqrt2;
  const double right = gain * std::sin(angle) * std::numbers::sqrt2;
  const size_t length = into.left.size();
  for (size_t i = 0; i < source.size(); ++i) {
    size_t j = (at + i) % length;
    into.left[j] += static_cast<float>(source[i] * left);
    into.right[j] += static_cast<float>(source[i] * right);
  }
}

void Echo(Pcm& pcm, double delaySeconds, double feedback, double wet, double dampHz) {
  const size_t delay = Samples(delaySeconds);
  Pcm echoes(pcm.size(), 0);
  Svf damp;
  damp.Set(dampHz, 0.707);
  for (size_t i = delay; i < pcm.size(); ++i)
    echoes[i] = static_cast<float>(pcm[i - delay] + feedback * damp.Step(echoes[i - delay]).low);
  for (size_t i = 0; i < pcm.size(); ++i) pcm[i] += static_cast<float>(wet * echoes[i]);
}

void LowPass(Pcm& pcm, double hz) {
  Svf filter;
  filter.Set(hz, 0.707);
  for (float& x : pcm) x = static_cast<float>(filter.Step(x).low);
}

void HighPass(Pcm& pcm, double hz) {
  Svf filter;
  filter.Set(hz, 0.707);
  for (float& x : pcm) x = static_cast<float>(filter.Step(x).high);
}

void Drive(Pcm& pcm, double drive) {
  for (float& x : pcm) x = static_cast<float>(std::tanh(drive * x));
}

void Crush(Pcm& pcm, int hold, int levels) {
  const double half = levels / 2.0;
  float kept = 0;
  for (size_t i = 0; i < pcm.size(); ++i) {
    if (i % hold == 0) kept = static_cast<float>(std::round(pcm[i] * half) / half);
    pcm[i] = kept;
  }
}

void FadeOut(Pcm& pcm, double seconds) {
  const size_t length = std::min(pcm.size(), static_cast<size_t>(Samples(seconds)));
  for (size_t i = 0; i < length; ++i) {
    double u = double(i + 1) / length;  // the last sample reaches exactly zero
    pcm[pcm.size() - length + i] *= static_cast<float>((1 - u) * (1 - u));
  }
}

void Normalize(Pcm& pcm, double peakDb) {
  const double peak = Peak(pcm);
  if (peak <= 0) return;
  const double scale = DbToGain(peakDb) / peak;
  for (float& x : pcm) x = static_cast<float>(x * scale);
}

void Normalize(StereoPcm& pcm, double peakDb) {
  const double peak = std::max(Peak(pcm.left), Peak(pcm.right));
  if (peak <= 0) return;
  const double scale = DbToGain(peakDb) / peak;
  for (Pcm* channel : {&pcm.left, &pcm.right})
    for (float& x : *channel) x = static_cast<float>(x * scale);
}

double Peak(const Pcm& pcm) {
  double peak = 0;
  for (float x : pcm) peak = std::max(peak, double(std::abs(x)));
  return peak;
}

double Energy(const Pcm& pcm) {
  double sum = 0;
  for (float x : pcm) sum += double(x) * x;
  return sum;
}

double Rms(const Pcm& pcm) { return pcm.empty() ? 0 : std::sqrt(Energy(pcm) / pcm.size()); }

}  // namespace sfx

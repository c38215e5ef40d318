#include "effects.h"

#include <cmath>
#include <string>

#include "image.h"
#include "mp3.h"

namespace sfx {

namespace {

// Cuts or pads to the effect's length and fades the last moment, so every effect ends on zero.
Pcm Finish(Pcm pcm, double seconds) {
  pcm.resize(Samples(seconds), 0.0f);
  FadeOut(pcm, 0.02);
  return pcm;
}

using Instrument = Tone (*)(double hz, double seconds);

// A jingle line (see ParseLine), each note played by `instrument` for its held length.
Pcm Play(std::string_view line, double stepSeconds, Instrument instrument, double gain = 1) {
  Pcm out;
  for (const GridNote& note : ParseLine(line).notes)
    MixAt(out, Render(instrument(NoteHz(note.midi), note.steps * stepSeconds)),
          Samples(note.step * stepSeconds), gain);
  return out;
}

// ---- instruments for the jingles ----

Tone ChipLead(double hz, double seconds) {
  Tone t{.wave = Wave::Pulse, .hz = hz, .duty = 0.25};
  t.attack = 0.004;
  t.hold = seconds * 0.6;
  t.release = seconds * 0.4 + 0.06;
  t.curve = 1.5;
  t.vibratoCents = seconds > 0.2 ? 18 : 0;
  t.vibratoDelay = 0.12;
  t.filter = FilterType::LowPass;
  t.cutoff = 6000;
  t.toCutoff = 2500;
  return t;
}

Tone Brass(double hz, double seconds) {
  Tone t{.wave = Wave::Saw, .hz = hz};
  t.attack = 0.02;
  t.hold = seconds * 0.7;
  t.release = seconds * 0.3 + 0.12;
  t.curve = 1.5;
  t.vibratoCents = seconds > 0.3 ? 15 : 0;
  t.vibratoDelay = 0.15;
  t.filter = FilterType::LowPass;
  t.cutoff = 900;
  t.toCutoff = 4000;
  t.q = 1.2;
  return t;
}

Tone Sparkle(double hz, double seconds) {
  Tone t{.wave = Wave::Triangle, .hz = hz * 2};
  t.attack = 0.002;
  t.release = seconds + 0.15;
  t.curve = 3;
  return t;
}

Tone SoftBass(double hz, double seconds) {
  Tone t{.wave = Wave::Triangle, .hz = hz};
  t.attack = 0.005;
  t.hold = seconds * 0.8;
  t.release = seconds * 0.2 + 0.05;
  return t;
}

Tone SadLead(double hz, double seconds) {
  Tone t{.wave = Wave::Pulse, .hz = hz, .duty = 0.5};
  t.attack = 0.01;
  t.hold = seconds * 0.5;
  t.release = seconds * 0.5 + 0.1;
  t.curve = 1.2;
  t.vibratoCents = 25;
  t.vibratoHz = 5;
  t.vibratoDelay = 0.08;
  t.filter = FilterType::LowPass;
  t.cutoff = 2200;
  t.toCutoff = 900;
  return t;
}

Tone Blip(double hz, double seconds) {
  Tone t{.wave = Wave::Pulse, .hz = hz, .duty = 0.25};
  t.attack = 0.002;
  t.hold = seconds * 0.5;
  t.release = seconds * 0.5 + 0.02;
  t.curve = 1.5;
  return t;
}

// ---- the effects ----

// Repeats every frame or two during the bonus tally: a soft bell partial pair, over fast.
Pcm BariaHitSound() {
  Pcm out;
  MixAt(out, Render({.wave = Wave::Sine, .hz = 2637, .attack = 0.0008, .release = 0.1, .curve = 4}),
        0, 0.6);
  MixAt(out,
        Render(
            {.wave = Wave::Sine, .hz = 2637 * 2.76, .attack = 0.0005, .release = 0.04, .curve = 3}),
        0, 0.22);
  MixAt(out,
        Render({.wave = Wave::Pulse,
                .hz = 1568,
                .toHz = 3136,
                .slide = 0.012,
                .attack = 0.0005,
                .release = 0.02,
                .filter = FilterType::LowPass,
                .cutoff = 6000}),
        0, 0.25);
  return Finish(out, 0.11);
}

// Explosions share a shape: a crack, a noise body whose clock and cutoff fall, and a sine
// thump; bigger ones last longer, fall lower and carry a second blast and debris.
Pcm BurstBody(double seconds, double fromHz, double toHz, double cutoff, double toCutoff,
              uint32_t seed) {
  return Render({.wave = Wave::Noise,
                 .hz = fromHz,
                 .toHz = toHz,
                 .attack = 0.002,
                 .hold = seconds * 0.05,
                 .release = seconds * 0.95,
                 .curve = 2.5,
                 .filter = FilterType::LowPass,
                 .cutoff = cutoff,
                 .toCutoff = toCutoff,
                 .seed = seed});
}

Pcm Crack(uint32_t seed, double seconds) {
  return Render({.wave = Wave::Noise,
                 .hz = SampleRate,
                 .attack = 0.0005,
                 .release = seconds,
                 .curve = 2,
                 .filter = FilterType::HighPass,
                 .cutoff = 1500,
                 .seed = seed});
}

Pcm Thump(double fromHz, double toHz, double seconds) {
  return Render({.wave = Wave::Sine,
                 .hz = fromHz,
                 .toHz = toHz,
                 .slide = seconds * 0.6,
                 .attack = 0.001,
                 .hold = 0.02,
                 .release = seconds,
                 .curve = 2});
}

Pcm Burst03Sound() {
  Pcm out = BurstBody(0.3, 5000, 600, 8000, 900, 31);
  MixAt(out, Crack(32, 0.02), 0, 0.4);
  MixAt(out,
        Render({.wave = Wave::Pulse,
                .hz = 320,
                .toHz = 70,
                .attack = 0.001,
                .release = 0.08,
                .curve = 2}),
        0, 0.35);
  Drive(out, 1.3);
  return Finish(out, 0.32);
}

Pcm Burst01Sound() {
  Pcm out = BurstBody(0.72, 3000, 250, 6000, 450, 11);
  MixAt(out, Crack(12, 0.04), 0, 0.5);
  MixAt(out, Thump(120, 38, 0.25), 0, 0.9);
  Drive(out, 1.5);
  out.resize(Samples(0.8));
  Echo(out, 0.09, 0.3, 0.25, 3000);
  return Finish(out, 0.8);
}

Pcm Burst02Sound() {
  Pcm out = BurstBody(1.3, 2500, 120, 5000, 250, 21);
  MixAt(out, Crack(22, 0.06), 0, 0.6);
  MixAt(out, Thump(90, 28, 0.7), 0, 1.0);
  MixAt(out, BurstBody(0.8, 1800, 200, 3000, 300, 23), Samples(0.22), 0.7);
  MixAt(out,
        Render({.wave = Wave::Noise,
                .hz = 400,
                .attack = 0.01,
                .release = 1.4,
                .curve = 1.5,
                .filter = FilterType::LowPass,
                .cutoff = 220,
                .seed = 24}),
        0, 1.2);
  // Debris: crackles scattered over the rumble, thinning out.
  Random random(25);
  for (int i = 0; i < 12; ++i) {
    double at = 0.15 + 0.95 * random.Uniform() * (0.4 + 0.6 * i / 12.0);
    Pcm crackle = Render({.wave = Wave::Noise,
                          .hz = 6000 + 6000 * random.Uniform(),
                          .attack = 0.001,
                          .release = 0.03 + 0.03 * random.Uniform(),
                          .filter = FilterType::BandPass,
                          .cutoff = 2000 + 3000 * random.Uniform(),
                          .q = 1.5,
                          .seed = 26u + i});
    MixAt(out, crackle, Samples(at), 0.5 * (1 - i / 16.0));
  }
  Drive(out, 2);
  out.resize(Samples(1.5));
  Echo(out, 0.12, 0.35, 0.3, 2000);
  return Finish(out, 1.5);
}

Pcm ContinueSound() {
  constexpr double Step = 0.075;
  Pcm out = Play("E5 F5 E5 . E5 F5 E5 . Bb5 - - - A5 - - -", Step, ChipLead);
  MixAt(out, Play("E3 . . . E3 . . . E3 - - - E3 - - -", Step, SoftBass), 0, 0.8);
  out.resize(Samples(1.4));
  Echo(out, 0.15, 0.3, 0.3);
  return Finish(out, 1.4);
}

// Rising then falling on the stressed "drane", the way an announcer shouts a title.
Pcm TitleCallSound() {
  const std::vector<Phone> veldrane = {
      // seconds, F1, F2, F3, voice, noise, noise centre, pitch
      {0.09, 250, 1400, 2300, 0.6, 0.15, 5000, 1},   // v
      {0.14, 580, 1800, 2550, 1, 0, 4000, 1.12},     // e
      {0.08, 380, 1050, 2700, 0.8, 0, 4000, 1.08},   // l
      {0.05, 250, 1600, 2600, 0.12, 0, 4000, 1.05},  // d, closed
      {0.025, 300, 1700, 2600, 0.3, 0.3, 3500, 1},   // d, released
      {0.08, 420, 1250, 1650, 0.9, 0, 4000, 1.1},    // r
      {0.2, 560, 1850, 2500, 1, 0, 4000, 1.25},      // a..
      {0.12, 350, 2250, 2900, 1, 0, 4000, 1},        // ..i
      {0.15, 270, 1600, 2600, 0.55, 0, 4000, 0.85},  // n
      {0.06, 270, 1600, 2600, 0, 0, 4000, 0.8},
  };
  // An octave-down double under the voice: the vocoder sound of arcade announcers.
  Pcm out = Speak(veldrane, {.pitchHz = 118, .robot = 0.35, .seed = 51});
  MixAt(out, Speak(veldrane, {.pitchHz = 59, .formantScale = 0.97, .robot = 0.6, .seed = 52}), 0,
        0.45);
  HighPass(out, 90);
  Drive(out, 1.6);
  out.resize(Samples(1.45));
  Echo(out, 0.14, 0.35, 0.35, 4000);
  return Finish(out, 1.45);
}

Pcm FanfareSound() {
  constexpr double Step = 0.06;
  Pcm out = Play("A4 D5 F#5 A5 D6 - - A5 D6 - F#6 - - - - - - -", Step, ChipLead);
  MixAt(out, Play("F#4 A4 D5 F#5 A5 - - F#5 A5 - D6 - - - - - - -", Step, Brass), 0, 0.45);
  MixAt(out, Play(". . . . . . . . . . F#6 - - - - - - -", Step, Sparkle), 0, 0.25);
  MixAt(out, Play("D3 - - - - - - A2 D3 - - - - - - - - -", Step, SoftBass), 0, 0.7);
  out.resize(Samples(1.3));
  Echo(out, 0.12, 0.3, 0.3);
  return Finish(out, 1.3);
}

Pcm GameOverSound() {
  constexpr double Step = 0.085;
  Pcm out = Play("A5 - E5 - C5 - B4 - G#4 - A4 - - - - -", Step, SadLead);
  MixAt(out, Play("A3 - - - - - - - E3 - - - A2 - - -", Step, SoftBass), 0, 0.8);
  out.resize(Samples(1.5));
  Echo(out, 0.17, 0.3, 0.3, 3000);
  return Finish(out, 1.5);
}

// "Game over", low and dark: the title call's voice, slower, a larger speaker.
Pcm GameOver2Sound() {
  const std::vector<Phone> gameOver = {
      // seconds, F1, F2, F3, voice, noise, noise centre, pitch
      {0.03, 300, 1800, 2400, 0.08, 0, 4000, 1},       // g, closed
      {0.025, 300, 1800, 2400, 0.3, 0.8, 1800, 1},     // g, released
      {0.15, 520, 1850, 2500, 1, 0, 4000, 1.1},        // a..
      {0.08, 350, 2200, 2800, 1, 0, 4000, 1.05},       // ..i
      {0.1, 260, 1100, 2300, 0.5, 0, 4000, 1},         // m
      {0.15, 500, 900, 2400, 1, 0, 4000, 1.05},        // o..
      {0.08, 370, 800, 2300, 1, 0, 4000, 0.98},        // ..u
      {0.07, 260, 1300, 2300, 0.5, 0.25, 4500, 0.95},  // v
      {0.25, 480, 1300, 1650, 1, 0, 4000, 0.8},        // er
      {0.06, 480, 1300, 1650, 0, 0, 4000, 0.7},
  };
  Pcm out = Speak(gameOver, {.pitchHz = 88, .formantScale = 0.88, .robot = 0.45, .seed = 81});
  MixAt(out, Speak(gameOver, {.pitchHz = 44, .formantScale = 0.85, .robot = 0.6, .seed = 82}), 0,
        0.5);
  HighPass(out, 70);
  LowPass(out, 3500);
  Drive(out, 1.5);
  out.resize(Samples(1.45));
  Echo(out, 0.17, 0.4, 0.35, 2500);
  return Finish(out, 1.45);
}

Pcm GameStartSound() {
  Pcm out = Render({.wave = Wave::Pulse,
                    .hz = 300,
                    .toHz = 1200,
                    .duty = 0.25,
                    .toDuty = 0.5,
                    .attack = 0.002,
                    .hold = 0.06,
                    .release = 0.04,
                    .curve = 1});
  MixAt(out, Play("A5 C#6 E6 A6 - - - -", 0.045, Blip), Samples(0.09), 0.9);
  out.resize(Samples(0.7));
  Echo(out, 0.09, 0.35, 0.35);
  return Finish(out, 0.7);
}

Pcm HiScoreSound() {
  constexpr double Step = 0.055;
  Pcm out = Play("C5 E5 G5 C6 D5 F#5 A5 D6 E5 G#5 B5 E6 - - - - - - - -", Step, ChipLead);
  MixAt(out, Play("C5 E5 G5 C6 D5 F#5 A5 D6 E5 G#5 B5 E6 - - - - - - - -", Step, Sparkle), 0, 0.3);
  MixAt(out, Play("C3 - - - D3 - - - E3 - - - - - - - - - - -", Step, SoftBass), 0, 0.6);
  out.resize(Samples(1.4));
  Echo(out, 0.11, 0.3, 0.3);
  return Finish(out, 1.4);
}

Pcm HitSound() {
  Pcm out = Render({.wave = Wave::Noise,
                    .hz = 4000,
                    .toHz = 1200,
                    .attack = 0.001,
                    .release = 0.09,
                    .curve = 2,
                    .filter = FilterType::BandPass,
                    .cutoff = 2500,
                    .q = 0.9,
                    .seed = 111});
  MixAt(out,
        Render({.wave = Wave::Pulse,
                .hz = 700,
                .toHz = 180,
                .attack = 0.001,
                .release = 0.05,
                .curve = 2}),
        0, 0.5);
  Crush(out, 3, 24);
  Drive(out, 2);
  return Finish(out, 0.12);
}

// Dull metal: a ringing short-sequence noise and two inharmonic partials, darkened.
Pcm MissSound() {
  Pcm out = Render({.wave = Wave::Metal,
                    .hz = 9000,
                    .attack = 0.001,
                    .release = 0.12,
                    .curve = 3,
                    .filter = FilterType::BandPass,
                    .cutoff = 1800,
                    .q = 2});
  MixAt(out, Render({.wave = Wave::Pulse, .hz = 380, .attack = 0.001, .release = 0.18, .curve = 3}),
        0, 0.5);
  MixAt(out, Render({.wave = Wave::Pulse, .hz = 1070, .attack = 0.001, .release = 0.1, .curve = 3}),
        0, 0.3);
  MixAt(out, Crack(121, 0.015), 0, 0.4);
  LowPass(out, 3000);
  return Finish(out, 0.22);
}

Pcm NameEntrySound() {
  constexpr double Step = 0.07;
  Pcm out = Play("E5 G5 C6 . G5 C6 E6 - - - - .", Step, ChipLead);
  MixAt(out, Play("C4 . . . G3 . . . C4 - - -", Step, SoftBass), 0, 0.7);
  out.resize(Samples(1.0));
  Echo(out, 0.105, 0.25, 0.25);
  return Finish(out, 1.0);
}

Pcm NoSound() {
  Pcm out = Render({.wave = Wave::Pulse,
                    .hz = 220,
                    .toHz = 165,
                    .attack = 0.002,
                    .hold = 0.03,
                    .release = 0.1,
                    .curve = 1.5,
                    .filter = FilterType::LowPass,
                    .cutoff = 2000});
  return Finish(out, 0.14);
}

Pcm OptionSound() {
  Pcm out = Render({.wave = Wave::Pulse,
                    .hz = 660,
                    .duty = 0.25,
                    .attack = 0.002,
                    .hold = 0.03,
                    .release = 0.07,
                    .curve = 1.5});
  return Finish(out, 0.11);
}

Pcm Chime(double hz) {
  Pcm out = Render({.wave = Wave::Sine, .hz = hz, .attack = 0.002, .release = 0.45, .curve = 3});
  MixAt(out,
        Render({.wave = Wave::Triangle, .hz = hz * 2, .attack = 0.002, .release = 0.2, .curve = 3}),
        0, 0.3);
  MixAt(out,
        Render({.wave = Wave::Pulse, .hz = hz, .duty = 0.125, .attack = 0.001, .release = 0.05}), 0,
        0.2);
  return out;
}

Pcm Pause2Sound() {
  Pcm out = Chime(NoteHz(ParseNote("E6")));
  MixAt(out, Chime(NoteHz(ParseNote("B5"))), Samples(0.13));
  return Finish(out, 0.62);
}

Pcm QuitSound() {
  Pcm out = Render({.wave = Wave::Pulse,
                    .hz = 880,
                    .toHz = 330,
                    .slide = 0.15,
                    .attack = 0.002,
                    .hold = 0.05,
                    .release = 0.13,
                    .curve = 1});
  return Finish(out, 0.2);
}

// A servo: a buzz that spins up and back down, chopped by gear teeth, between two clunks.
Pcm RotSound() {
  Pcm out = Render({.wave = Wave::Saw,
                    .hz = 80,
                    .toHz = 150,
                    .attack = 0.01,
                    .hold = 0.1,
                    .release = 0.04,
                    .curve = 1});
  MixAt(out,
        Render({.wave = Wave::Saw,
                .hz = 150,
                .toHz = 95,
                .attack = 0.03,
                .hold = 0.04,
                .release = 0.07,
                .curve = 1.5}),
        Samples(0.12));
  MixAt(out,
        Render({.wave = Wave::Noise,
                .hz = 3000,
                .attack = 0.01,
                .hold = 0.15,
                .release = 0.06,
                .filter = FilterType::BandPass,
                .cutoff = 1800,
                .seed = 181}),
        0, 0.3);
  for (size_t i = 0; i < out.size(); ++i) {
    bool tooth = std::fmod(i * 45.0 / SampleRate, 1.0) < 0.5;
    out[i] *= tooth ? 1.0f : 0.55f;
  }
  LowPass(out, 2500);
  Pcm clunk = Render({.wave = Wave::Metal,
                      .hz = 5000,
                      .attack = 0.0005,
                      .release = 0.015,
                      .filter = FilterType::LowPass,
                      .cutoff = 2000});
  MixAt(out, clunk, 0, 0.5);
  MixAt(out, clunk, Samples(0.23), 0.4);
  return Finish(out, 0.28);
}

// Five a second, all game: a short falling pulse with its edge filtered off.
Pcm ShotSound() {
  Pcm out = Render({.wave = Wave::Pulse,
                    .hz = 1500,
                    .toHz = 500,
                    .duty = 0.25,
                    .toDuty = 0.5,
                    .attack = 0.001,
                    .hold = 0.01,
                    .release = 0.08,
                    .curve = 2,
                    .filter = FilterType::LowPass,
                    .cutoff = 5000,
                    .toCutoff = 2000});
  MixAt(out,
        Render({.wave = Wave::Triangle,
                .hz = 3000,
                .toHz = 1000,
                .attack = 0.001,
                .release = 0.06,
                .curve = 2}),
        0, 0.3);
  return Finish(out, 0.1);
}

// In D minor, the stage music's key.
Pcm Stage1Sound() {
  constexpr double Step = 0.07;
  Pcm out = Play("A4 D5 . D5 E5 F5 . A5 - - - - - - - -", Step, Brass);
  MixAt(out, Play("F4 A4 . A4 C#5 D5 . F5 - - - - - - - -", Step, ChipLead), 0, 0.5);
  MixAt(out, Play("D3 - - - - - . A2 - - - D3 - - - -", Step, SoftBass), 0, 0.8);
  out.resize(Samples(1.45));
  Echo(out, 0.14, 0.3, 0.3);
  return Finish(out, 1.45);
}

Pcm YesSound() {
  Pcm out = Render(Blip(NoteHz(ParseNote("B5")), 0.035));
  MixAt(out, Render(Blip(NoteHz(ParseNote("E6")), 0.06)), Samples(0.04));
  return Finish(out, 0.12);
}

}  // namespace

const std::array<Effect, EffectCount> Effects = {{
    {"bariaHit", BariaHitSound},
    {"burst01", Burst01Sound},
    {"burst02", Burst02Sound},
    {"burst03", Burst03Sound},
    {"continue", ContinueSound},
    {"title call", TitleCallSound},
    {"fanfare", FanfareSound},
    {"game over", GameOverSound},
    {"game over call", GameOver2Sound},
    {"game start", GameStartSound},
    {"hi-score", HiScoreSound},
    {"hit", HitSound},
    {"miss", MissSound},
    {"name entry", NameEntrySound},
    {"no", NoSound},
    {"option", OptionSound},
    {"pause", Pause2Sound},
    {"quit", QuitSound},
    {"rot", RotSound},
    {"shot", ShotSound},
    {"stage call", Stage1Sound},
    {"yes", YesSound},
}};

Pcm RenderEffect(int number) {
  if (number < 0 || number >= EffectCount)
    throw BuildError("no sound effect " + std::to_string(number));
  const Effect& effect = Effects[number];
  Pcm pcm = effect.render();
  Normalize(pcm, MasterPeakDb);
  return pcm;
}

}  // namespace sfx

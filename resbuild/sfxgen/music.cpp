#include "music.h"

#include <array>
#include <cmath>
#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "image.h"
#include "mp3.h"

namespace sfx {

namespace {

// ---- note data ----
//
// Every bar is sixteen steps. Lead lines are note lines (see ParseLine). Bass and arpeggio
// figures are one bar, played over each bar's chord: R the root, 3 and 5 the chord's third
// and fifth, O the root an octave up, b a semitone above the root; arpeggio digits 0 to 3
// are root, third, fifth and octave. Drum lines: x a hit, X an accent, g a ghost snare,
// o an open hat. A section's fill replaces its drums in its last bar.

struct Drums {
  const char* kick;
  const char* snare;
  const char* hat;
};

constexpr Drums Sparse = {"x.......x.......", "................", "..x...x...x...x."};
constexpr Drums Backbeat = {"x.....x.x.....x.", "....X.......X...", "x.X.x.X.x.X.x.Xo"};
constexpr Drums BackbeatFill = {"x.....x.x.x.....", "....X..g.XgxXxXX", "x.X.x.X.x.X....."};
constexpr Drums Four = {"x...x...x...x...", "....X..g....X...", "xxXxxxXxxxXxxxXo"};
constexpr Drums Gallop = {"x.xx..x.x.xx..x.", "....X.......X...", "X.x.X.x.X.x.X.xo"};
constexpr Drums GallopFill = {"x.xx..x.x.x.x.x.", "....X...XgXgXXXX", "X.x.X.x.X......."};
constexpr Drums Half = {"x.........x.....", "........X.......", "x.x.x.x.x.x.x.x."};
constexpr Drums HalfFill = {"x.........x.....", "........X.g.XXXX", "x.x.x.x.x.x....."};

struct Section {
  const char* chords;                  // one a bar
  std::vector<const char*> lead = {};  // a line a bar, or none at all
  const char* bass;
  const char* arp = nullptr;  // none when null
  Drums drums, fill;
  bool pad = false;
};

using Instrument = Pcm (*)(double hz, double seconds);

struct Song {
  TrackInfo info;
  Instrument lead;
  std::vector<Section> sections;
};

// ---- "Sky Fortress": the stage, D minor, heroic ----

const Section SkyIntroA = {
    .chords = "Dm Dm",
    .bass = "R . R R . R R . R . R R . R O .",
    .arp = "0 1 2 3 2 1 0 1 2 3 2 1 0 1 2 1",
    .drums = Sparse,
    .fill = Sparse,
};
const Section SkyIntroB = {
    .chords = "Bb C",
    .bass = "R . R R O . R R R . R R O . 5 O",
    .arp = "0 1 2 3 2 1 0 1 2 3 2 1 0 1 2 1",
    .drums = Backbeat,
    .fill = BackbeatFill,
};
const Section SkyThemeA = {
    .chords = "Dm Bb C Dm Dm Bb Gm A",
    .lead =
        {
            "D5 - - - A4 - D5 - F5 - - - E5 - F5 -",
            "G5 - - - F5 - - - D5 - - - Bb4 - - -",
            "C5 - - - E5 - G5 - C6 - - - Bb5 - A5 -",
            "A5 - - - - - - - - - . . D5 E5 F5 G5",
            "A5 - - - D6 - - - C6 - A5 - F5 - A5 -",
            "Bb5 - - - A5 - G5 - F5 - - - D5 - F5 -",
            "G5 - - - - - F5 - G5 - A5 - Bb5 - - -",
            "A5 - - - - - - - C#6 - - - E6 - - -",
        },
    .bass = "R . R R O . R R R . R R O . 5 O",
    .drums = Backbeat,
    .fill = BackbeatFill,
    .pad = true,
};
const Section SkyThemeB = {
    .chords = "Dm Bb C Dm Dm Bb C Dm",
    .lead =
        {
            "D5 - - - A4 - D5 - F5 - - - E5 - F5 -",
            "G5 - - - F5 - - - D5 - - - Bb4 - - -",
            "C5 - - - E5 - G5 - C6 - - - Bb5 - A5 -",
            "A5 - - - - - - - - - . . D5 E5 F5 G5",
            "A5 - - - D6 - - - C6 - A5 - F5 - A5 -",
            "Bb5 - - - D6 - - - F6 - - - E6 - D6 -",
            "C6 - - - - - Bb5 - A5 - G5 - E5 - - -",
            "D5 - - - - - - - - - - - . . . .",
        },
    .bass = "R . R R O . R R R . R R O . 5 O",
    .arp = "0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 3",
    .drums = Backbeat,
    .fill = BackbeatFill,
    .pad = true,
};
const Section SkyBridge = {
    .chords = "F C Gm Bb F C Bb A",
    .lead =
        {
            "A5 - - - C6 - - - A5 - - - F5 - - -",
            "G5 - - - - - - - E5 - - - C5 - - -",
            "Bb5 - - - A5 - Bb5 - D6 - - - C6 - Bb5 -",
            "A5 - - - Bb5 - - - F5 - - - . . . .",
            "C6 - - - A5 - C6 - F6 - - - E6 - C6 -",
            "E6 - - - D6 - C6 - G5 - - - - - . .",
            "D6 - - - C6 - Bb5 - F5 - G5 - A5 - Bb5 -",
            "C#6 - - - - - - - E6 - - - A5 - - -",
        },
    .bass = "R . R . O . R . R . R . O . R .",
    .arp = "0 2 1 3 0 2 1 3 0 2 1 3 0 2 1 3",
    .drums = Four,
    .fill = BackbeatFill,
    .pad = true,
};
const Section SkyClimb = {
    .chords = "Dm C Bb A Dm C Bb A",
    .lead =
        {
            "F5 - - - - - - - E5 - - - D5 - - -",
            "E5 - - - - - - - - - - - G5 - - -",
            "F5 - - - - - - - D5 - - - F5 - - -",
            "E5 - - - - - - - C#5 - - - E5 - - -",
            "A5 - - - - - - - G5 - - - F5 - - -",
            "G5 - - - - - - - E5 - - - C6 - - -",
            "Bb5 - - - A5 - - - G5 - - - F5 - - -",
            "E5 - - - - - - - A5 - - - C#6 - E6 -",
        },
    .bass = "R - . R R . R R R - . R O . 5 .",
    .arp = "0 1 2 3 1 2 3 2 0 1 2 3 1 2 3 2",
    .drums = Four,
    .fill = BackbeatFill,
};
const Section SkyTurnaround = {
    .chords = "Bb C Dm A",
    .lead =
        {
            "D6 - - - F6 - - - D6 - Bb5 - F5 - - -",
            "E6 - - - G6 - - - E6 - C6 - G5 - - -",
            "F6 - - - - - - - - - - - - - - -",
            ". . . . . . . . E5 F5 G5 A5 Bb5 C#6 D6 E6",
        },
    .bass = "R . R R O . R R R . R R O . 5 O",
    .drums = Backbeat,
    .fill = BackbeatFill,
    .pad = true,
};

// ---- "Citadel Guardian": the boss, E minor with a Phrygian F, heavier ----

const Section CitadelIntro = {
    .chords = "Em Em F Em",
    .bass = "R R O R R R O R R R O R b R O R",
    .drums = Half,
    .fill = HalfFill,
    .pad = true,
};
const Section CitadelRiff = {
    .chords = "Em Em F Em C B Em F",
    .lead =
        {
            "E5 - . E5 - . G5 - . E5 - . F#5 - G5 -",
            "B5 - - - A5 - G5 - F#5 - - - E5 - - -",
            "F5 - . F5 - . A5 - . F5 - . G5 - A5 -",
            "B5 - - - - - - - C6 - - - B5 - - -",
            "C6 - . C6 - . B5 - . G5 - . E5 - G5 -",
            "F#5 - - - D#5 - - - B4 - - - D#5 - F#5 -",
            "E5 - . B5 - . E6 - . D6 - . B5 - G5 -",
            "A5 - - - F5 - - - C6 - - - B5 - - -",
        },
    .bass = "R R O R R R O R R R O R b R O R",
    .drums = Gallop,
    .fill = GallopFill,
    .pad = true,
};
const Section CitadelRise = {
    .chords = "Am Em F B Am Em C B",
    .lead =
        {
            "A5 - - - - - - - C6 - - - E6 - - -",
            "D#6 - - - E6 - - - B5 - - - G5 - - -",
            "F5 - - - A5 - - - C6 - - - F6 - - -",
            "F#6 - - - - - - - D#6 - - - B5 - - -",
            "C6 - - - B5 - A5 - E6 - - - D6 - C6 -",
            "B5 - - - - - - - G5 - - - E5 - - -",
            "E5 - G5 - C6 - E6 - G6 - - - F#6 - E6 -",
            "D#6 - - - - - - - B5 - A5 - F#5 - D#5 -",
        },
    .bass = "R R O R R R O R R R O R R R 5 R",
    .arp = "0 1 2 1 0 1 2 1 0 1 2 1 0 1 2 1",
    .drums = Four,
    .fill = GallopFill,
};
const Section CitadelSiege = {
    .chords = "Em Em C C Am Am B B",
    .lead =
        {
            "E6 - - - - - - - - - - - - - - -",
            "D6 - - - - - - - C6 - - - B5 - - -",
            "C6 - - - - - - - - - - - - - - -",
            "B5 - - - - - - - A5 - - - G5 - - -",
            "A5 - - - - - - - - - - - C6 - - -",
            "B5 - - - - - - - A5 - - - E5 - - -",
            "F#5 - - - - - - - - - - - A5 - - -",
            "B5 - - - - - - - D#6 - - - F#6 - - -",
        },
    .bass = "R - - - - - R - O - - - R - b -",
    .arp = "0 . 1 . 2 . 3 . 2 . 1 . 0 . 1 .",
    .drums = Half,
    .fill = HalfFill,
    .pad = true,
};
const Section CitadelOutro = {
    .chords = "Em F Em B",
    .lead =
        {
            "E6 - - - - - - - B5 - - - G5 - - -",
            "F6 - - - - - - - C6 - - - A5 - - -",
            "E6 - - - - - - - B5 - - - G5 - E5 -",
            "D#5 - - - F#5 - - - A5 - - - B5 - - -",
        },
    .bass = "R R O R R R O R R R O R b R O R",
    .drums = Gallop,
    .fill = GallopFill,
    .pad = true,
};

// ---- instruments ----

// Pulse with a slightly sharp saw beside it: the width of a detuned pair, still chip-edged.
Pcm HeroLead(double hz, double seconds) {
  Tone pulse{.wave = Wave::Pulse,
             .hz = hz,
             .duty = 0.25,
             .vibratoCents = 14,
             .vibratoHz = 5.5,
             .vibratoDelay = 0.2,
             .attack = 0.006,
             .hold = std::max(0.0, seconds - 0.03),
             .release = 0.12,
             .curve = 1.5,
             .filter = FilterType::LowPass,
             .cutoff = 5500,
             .toCutoff = 2000,
             .q = 0.9};
  Pcm out = Render(pulse);
  Tone saw = pulse;
  saw.wave = Wave::Saw;
  saw.hz = hz * std::pow(2.0, 7 / 1200.0);
  MixAt(out, Render(saw), 0, 0.5);
  return out;
}

Pcm GuardianLead(double hz, double seconds) {
  Tone saw{.wave = Wave::Saw,
           .hz = hz,
           .vibratoCents = 20,
           .vibratoHz = 6.5,
           .vibratoDelay = 0.15,
           .attack = 0.004,
           .hold = std::max(0.0, seconds - 0.03),
           .release = 0.1,
           .curve = 1.5,
           .filter = FilterType::LowPass,
           .cutoff = 3800,
           .toCutoff = 1500,
           .q = 1.4};
  Pcm out = Render(saw);
  Tone pulse = saw;
  pulse.wave = Wave::Pulse;
  pulse.duty = 0.125;
  pulse.hz = hz * std::pow(2.0, -8 / 1200.0);
  MixAt(out, Render(pulse), 0, 0.6);
  Drive(out, 1.8);
  return out;
}

Pcm Bass(double hz, double seconds) {
  Tone saw{.wave = Wave::Saw,
           .hz = hz,
           .attack = 0.002,
           .hold = std::max(0.0, seconds - 0.02),
           .release = 0.05,
           .curve = 1.5,
           .filter = FilterType::LowPass,
           .cutoff = 1600,
           .toCutoff = 320,
           .q = 1.3};
  Pcm out = Render(saw);
  Tone square = saw;
  square.wave = Wave::Pulse;
  MixAt(out, Render(square), 0, 0.6);
  return out;
}

Pcm Arp(double hz, double) {
  return Render({.wave = Wave::Pulse,
                 .hz = hz,
                 .duty = 0.125,
                 .attack = 0.002,
                 .release = 0.09,
                 .curve = 2,
                 .filter = FilterType::LowPass,
                 .cutoff = 4000});
}

// A detuned pair, one voice each side.
Pcm PadVoice(double hz, double seconds, double cents) {
  return Render({.wave = Wave::Saw,
                 .hz = hz * std::pow(2.0, cents / 1200),
                 .attack = 0.12,
                 .hold = std::max(0.0, seconds - 0.12),
                 .release = 0.25,
                 .curve = 1.5,
                 .filter = FilterType::LowPass,
                 .cutoff = 1600});
}
Pcm PadLeft(double hz, double seconds) { return PadVoice(hz, seconds, -6); }
Pcm PadRight(double hz, double seconds) { return PadVoice(hz, seconds, 6); }

// The 808's six detuned square waves: high-passed, they ring like a cymbal.
Pcm Metallic(double seconds, double highpass, double scale, uint32_t seed) {
  static constexpr double Partials[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
  Pcm out;
  for (double hz : Partials)
    MixAt(out,
          Render({.wave = Wave::Pulse,
                  .hz = hz * scale,
                  .attack = 0.0005,
                  .release = seconds,
                  .curve = 3}),
          0, 0.2);
  MixAt(out,
        Render({.wave = Wave::Noise,
                .hz = SampleRate,
                .attack = 0.0005,
                .release = seconds,
                .curve = 3,
                .seed = seed}),
        0, 0.5);
  HighPass(out, highpass);
  HighPass(out, highpass);
  return out;
}

struct Kit {
  Pcm kick, snare, hat, openHat, crash;
};

Kit MakeKit() {
  Kit kit;
  kit.kick = Render({.wave = Wave::Sine,
                     .hz = 160,
                     .toHz = 45,
                     .slide = 0.05,
                     .attack = 0.001,
                     .hold = 0.01,
                     .release = 0.22,
                     .curve = 2.2});
  MixAt(kit.kick,
        Render({.wave = Wave::Noise,
                .hz = SampleRate,
                .attack = 0.0003,
                .release = 0.004,
                .filter = FilterType::HighPass,
                .cutoff = 3000,
                .seed = 301}),
        0, 0.4);
  Drive(kit.kick, 1.8);
  kit.snare = Render({.wave = Wave::Noise,
                      .hz = SampleRate,
                      .attack = 0.001,
                      .release = 0.17,
                      .curve = 2,
                      .filter = FilterType::HighPass,
                      .cutoff = 900,
                      .seed = 302});
  MixAt(kit.snare,
        Render({.wave = Wave::Triangle,
                .hz = 210,
                .toHz = 160,
                .attack = 0.001,
                .release = 0.07,
                .curve = 1.5}),
        0, 0.8);
  Drive(kit.snare, 1.5);
  kit.hat = Metallic(0.06, 7000, 1, 303);
  kit.openHat = Metallic(0.25, 7000, 1, 304);
  kit.crash = Metallic(1.3, 4000, 1.5, 305);
  // Each piece at full scale: the sequencer's gains alone set the balance.
  for (Pcm* piece : {&kit.kick, &kit.snare, &kit.hat, &kit.openHat, &kit.crash})
    Normalize(*piece, 0);
  return kit;
}

// ---- the sequencer ----

struct Chord {
  int root = 0;  // pitch class, C = 0
  std::array<int, 3> tones{};
};

Chord ParseChord(std::string_view name) {
  size_t quality = name.size() > 1 && (name[1] == '#' || name[1] == 'b') ? 2 : 1;
  Chord chord;
  chord.root = ParseNote(std::string(name.substr(0, quality)) + "4") % 12;
  std::string_view kind = name.substr(quality);
  if (kind == "")
    chord.tones = {0, 4, 7};
  else if (kind == "m")
    chord.tones = {0, 3, 7};
  else
    throw BuildError("not a chord: \"" + std::string(name) + "\"");
  return chord;
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while ((at = text.find_first_not_of(' ', at)) != std::string_view::npos) {
    size_t end = std::min(text.find(' ', at), text.size());
    words.push_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

std::string NoteName(int midi) {
  static constexpr const char* Names[] = {"C",  "C#", "D",  "D#", "E",  "F",
                                          "F#", "G",  "G#", "A",  "A#", "B"};
  return Names[midi % 12] + std::to_string(midi / 12 - 1);
}

// A bass or arpeggio figure over a chord, as a note line from `base` (the root's note).
std::string Voiced(std::string_view figure, const Chord& chord, int base, bool arpeggio) {
  std::string line;
  for (std::string_view token : Words(figure)) {
    if (!line.empty()) line += ' ';
    int note = -1;
    if (token == "-" || token == ".")
      line += token;
    else if (arpeggio && token.size() == 1 && token[0] >= '0' && token[0] <= '3')
      note = token[0] == '3' ? base + 12 : base + chord.tones[token[0] - '0'];
    else if (!arpeggio && token == "R")
      note = base;
    else if (!arpeggio && token == "O")
      note = base + 12;
    else if (!arpeggio && token == "3")
      note = base + chord.tones[1];
    else if (!arpeggio && token == "5")
      note = base + chord.tones[2];
    else if (!arpeggio && token == "b")
      note = base + 1;
    else
      throw BuildError("not a figure step: \"" + std::string(token) + "\"");
    if (note >= 0) line += NoteName(note);
  }
  return line;
}

NoteLine BarLine(const std::string& line) {
  NoteLine parsed = ParseLine(line);
  if (parsed.steps != StepsPerBar)
    throw BuildError("a bar of " + std::to_string(parsed.steps) + " steps: \"" + line + "\"");
  return parsed;
}

class Sequencer {
 public:
  Sequencer(const TrackInfo& info, int steps, int startStep)
      : stepSamples_(SampleRate * 60.0 / info.bpm / 4),
        stepSeconds_(60.0 / info.bpm / 4),
        start_(std::lround(startStep * stepSamples_)) {
    const size_t length = Samples(steps * stepSeconds_);
    out_.left.assign(length, 0);
    out_.right.assign(length, 0);
    lead_.assign(length, 0);
  }

  void PlaySection(const Section& section, int firstBar, Instrument lead) {
    std::vector<std::string_view> chords = Words(section.chords);
    if (!section.lead.empty() && section.lead.size() != chords.size())
      throw BuildError("a section's lead has " + std::to_string(section.lead.size()) +
                       " bars for " + std::to_string(chords.size()) + " chords");
    Drum(kit_.crash, firstBar * StepsPerBar, 0.3, -0.35);
    for (size_t bar = 0; bar < chords.size(); ++bar) {
      const int step0 = (firstBar + int(bar)) * StepsPerBar;
      const Chord chord = ParseChord(chords[bar]);
      if (!section.lead.empty())
        for (const GridNote& note : BarLine(section.lead[bar]).notes)
          Wrapped(lead_, Note(lead, note.midi, note.steps), At(step0 + note.step));
      for (const GridNote& note :
           BarLine(Voiced(section.bass, chord, 36 + chord.root, false)).notes)
        MixWrapped(out_, Note(Bass, note.midi, note.steps), At(step0 + note.step), 0.8, 0);
      if (section.arp)
        for (const GridNote& note :
             BarLine(Voiced(section.arp, chord, 60 + chord.root, true)).notes)
          MixWrapped(out_, Note(Arp, note.midi, 1), At(step0 + note.step), 0.25,
                     note.step % 2 ? 0.55 : -0.55);
      if (section.pad)
        for (int tone : chord.tones) {
          MixWrapped(out_, Note(PadLeft, 48 + chord.root + tone, StepsPerBar), At(step0), 0.09,
                     -0.6);
          MixWrapped(out_, Note(PadRight, 48 + chord.root + tone, StepsPerBar), At(step0), 0.09,
                     0.6);
        }
      const Drums& drums = bar + 1 == chords.size() ? section.fill : section.drums;
      PlayDrums(drums, step0);
    }
  }

  StereoPcm Finish() {
    PingPong(3 * stepSamples_, 0.38, 0.35);
    for (size_t i = 0; i < lead_.size(); ++i) {
      out_.left[i] += 0.32f * lead_[i];
      out_.right[i] += 0.32f * lead_[i];
    }
    for (Pcm* channel : {&out_.left, &out_.right}) LoopedFilter(*channel, FilterType::HighPass, 30);
    // Levelled by the drum hits alone, unsaturated: the music's body stays well below its
    // peaks, and leaves the effects room above it.
    Normalize(out_, MasterPeakDb);
    return std::move(out_);
  }

 private:
  int At(int step) const {
    const long length = long(lead_.size());
    return static_cast<int>(((std::lround(step * stepSamples_) - start_) % length + length) %
                            length);
  }

  // The figures repeat a handful of notes over and over: each is rendered once.
  const Pcm& Note(Instrument instrument, int midi, int steps) {
    auto key = std::make_tuple(instrument, midi, steps);
    auto found = notes_.find(key);
    if (found == notes_.end())
      found = notes_.emplace(key, instrument(NoteHz(midi), steps * stepSeconds_)).first;
    return found->second;
  }

  void Wrapped(Pcm& into, const Pcm& source, int at) {
    for (size_t i = 0; i < source.size(); ++i) into[(at + i) % into.size()] += source[i];
  }

  void Drum(const Pcm& sound, int step, double gain, double pan) {
    MixWrapped(out_, sound, At(step), gain, pan);
  }

  void PlayDrums(const Drums& drums, int step0) {
    const std::string_view lines[] = {drums.kick, drums.snare, drums.hat};
    for (std::string_view line : lines)
      if (line.size() != StepsPerBar) throw BuildError("a drum line of " + std::string(line));
    for (int s = 0; s < StepsPerBar; ++s) {
      const int step = step0 + s;
      if (drums.kick[s] == 'x') Drum(kit_.kick, step, 0.75, 0);
      if (drums.snare[s] == 'X') Drum(kit_.snare, step, 0.6, 0.05);
      if (drums.snare[s] == 'x') Drum(kit_.snare, step, 0.45, 0.05);
      if (drums.snare[s] == 'g') Drum(kit_.snare, step, 0.18, 0.05);
      if (drums.hat[s] == 'X') Drum(kit_.hat, step, 0.4, 0.35);
      if (drums.hat[s] == 'x') Drum(kit_.hat, step, 0.26, 0.35);
      if (drums.hat[s] == 'o') Drum(kit_.openHat, step, 0.3, 0.35);
    }
  }

  // Left after one delay, right after two, and so on. The loop is gone round three times so
  // that the echoes of the last bars arrive over the first ones.
  void PingPong(double delaySamples, double feedback, double wet) {
    const size_t n = lead_.size(), delay = static_cast<size_t>(std::lround(delaySamples));
    Pcm left(n, 0), right(n, 0);
    for (int pass = 0; pass < 3; ++pass)
      for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + n - delay) % n;
        left[i] = static_cast<float>(lead_[j] + feedback * right[j]);
        right[i] = static_cast<float>(feedback * left[j]);
      }
    LoopedFilter(left, FilterType::LowPass, 3500);
    LoopedFilter(right, FilterType::LowPass, 3500);
    for (size_t i = 0; i < n; ++i) {
      out_.left[i] += static_cast<float>(0.32 * wet * left[i]);
      out_.right[i] += static_cast<float>(0.32 * wet * right[i]);
    }
  }

  // A filter on a loop starts from the state the loop's end leaves it in.
  static void LoopedFilter(Pcm& pcm, FilterType type, double hz) {
    Svf filter;
    filter.Set(hz, 0.707);
    for (float x : pcm) filter.Step(x);
    for (float& x : pcm) {
      Svf::Out out = filter.Step(x);
      x = static_cast<float>(type == FilterType::HighPass ? out.high : out.low);
    }
  }

  double stepSamples_, stepSeconds_;
  long start_;  // the sample the loop starts on
  StereoPcm out_;
  Pcm lead_;
  Kit kit_ = MakeKit();
  std::map<std::tuple<Instrument, int, int>, Pcm> notes_;
};

std::vector<Song> Songs() {
  return {
      {{"01 Sky Fortress.mp3", 150, 0},
       HeroLead,
       {SkyIntroA, SkyIntroB, SkyThemeA, SkyThemeB, SkyBridge, SkyClimb, SkyThemeB, SkyTurnaround}},
      {{"02 Citadel Guardian.mp3", 156, 0},
       GuardianLead,
       {CitadelIntro, CitadelRiff, CitadelRise, CitadelSiege, CitadelRiff, CitadelRise,
        CitadelOutro}},
  };
}

int Bars(const Song& song) {
  int bars = 0;
  for (const Section& section : song.sections) bars += int(Words(section.chords).size());
  return bars;
}

}  // namespace

std::vector<TrackInfo> Tracks() {
  std::vector<TrackInfo> tracks;
  for (const Song& song : Songs()) {
    TrackInfo info = song.info;
    info.bars = Bars(song);
    tracks.push_back(info);
  }
  return tracks;
}

StereoPcm RenderTrack(int number, int startBar) {
  const std::vector<Song> songs = Songs();
  if (number < 0 || number >= int(songs.size()))
    throw BuildError("no music track " + std::to_string(number));
  const Song& song = songs[number];
  Sequencer sequencer(song.info, Bars(song) * StepsPerBar, startBar * StepsPerBar);
  int bar = 0;
  for (const Section& section : song.sections) {
    sequencer.PlaySection(section, bar, song.lead);
    bar += int(Words(section.chords).size());
  }
  return sequencer.Finish();
}

}  // namespace sfx

// Checks on the synthesized sound: the effects' lengths and levels against how the game uses
// them, the music's length, tempo and loop seam, and the mp3 files the build wrote, read
// frame by frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "common/resource_format.h"
#include "effects.h"
#include "image.h"
#include "mp3.h"
#include "music.h"
#include "synth.h"

using namespace sfx;

namespace {

double SecondsOf(const Pcm& pcm) { return double(pcm.size()) / SampleRate; }

// Whole bars of four beats, to the nearest sample.
size_t TrackSamples(const TrackInfo& track) {
  return size_t(Samples(track.bars * 4 * 60.0 / track.bpm));
}

// A hair over a level, for float rounding in the scaling.
bool AtMost(double peak, double db) { return peak <= DbToGain(db) * (1 + 1e-6); }

// ---- MPEG audio frames, read the way a decoder finds them ----

struct Mp3Stream {
  int sampleRate = 0, channels = 0, samplesPerFrame = 0;
  int frames = 0;                // audio frames, without the tag frame
  int taggedFrames = -1;         // what the Xing/Info tag says
  int delay = -1, padding = -1;  // from the LAME tag: samples to drop at each end
  int minKbps = 1000, maxKbps = 0;
  size_t audioBytes = 0;
  long long Samples() const { return (long long)frames * samplesPerFrame - delay - padding; }
  double MeanKbps() const {
    return audioBytes * 8.0 / (double(frames) * samplesPerFrame / sampleRate) / 1000;
  }
};

uint32_t BigEndian(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

Mp3Stream ReadMp3(const std::vector<uint8_t>& bytes, const std::string& name) {
  static constexpr int Mpeg1Kbps[] = {0,   32,  40,  48,  56,  64,  80, 96,
                                      112, 128, 160, 192, 224, 256, 320};
  static constexpr int Mpeg2Kbps[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
  static constexpr int Rates[] = {44100, 48000, 32000};
  Mp3Stream stream;
  size_t at = 0, end = bytes.size();
  if (end >= 10 && std::memcmp(bytes.data(), "ID3", 3) == 0)
    at = 10 + (size_t(bytes[6]) << 21 | size_t(bytes[7]) << 14 | size_t(bytes[8]) << 7 | bytes[9]);
  if (end >= 128 && std::memcmp(&bytes[end - 128], "TAG", 3) == 0) end -= 128;
  bool first = true;
  while (at < end) {
    if (at + 4 > end) throw BuildError(name + ": a frame header cut off at the end");
    const uint32_t h = BigEndian(bytes, at);
    const int version = (h >> 19) & 3, layer = (h >> 17) & 3, kbpsIndex = (h >> 12) & 15;
    const int rateIndex = (h >> 10) & 3, pad = (h >> 9) & 1, mode = (h >> 6) & 3;
    if ((h >> 21) != 0x7FF || version == 1 || layer != 1 || kbpsIndex == 0 || kbpsIndex == 15 ||
        rateIndex == 3)
      throw BuildError(name + ": no layer III frame header at byte " + std::to_string(at));
    const bool mpeg1 = version == 3;
    const int kbps = (mpeg1 ? Mpeg1Kbps : Mpeg2Kbps)[kbpsIndex];
    const int rate = Rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    const int perFrame = mpeg1 ? 1152 : 576, channels = mode == 3 ? 1 : 2;
    const size_t frameBytes = size_t(perFrame / 8) * kbps * 1000 / rate + pad;
    if (at + frameBytes > end) throw BuildError(name + ": the last frame is cut off");
    if (first) {
      stream.sampleRate = rate, stream.channels = channels, stream.samplesPerFrame = perFrame;
    } else if (rate != stream.sampleRate || channels != stream.channels) {
      throw BuildError(name + ": the frames change format at byte " + std::to_string(at));
    }
    // The tag frame sits where the side information ends in the first frame.
    const size_t side =
        (mpeg1 ? (channels == 1 ? 17 : 32) : (channels == 1 ? 9 : 17)) + (((h >> 16) & 1) ? 0 : 2);
    const size_t tag = at + 4 + side;
    if (first &&
        (std::memcmp(&bytes[tag], "Xing", 4) == 0 || std::memcmp(&bytes[tag], "Info", 4) == 0)) {
      const uint32_t flags = BigEndian(bytes, tag + 4);
      size_t field = tag + 8;
      if (flags & 1) stream.taggedFrames = int(BigEndian(bytes, field)), field += 4;
      if (flags & 2) field += 4;
      if (flags & 4) field += 100;
      if (flags & 8) field += 4;
      if (std::memcmp(&bytes[field], "LAME", 4) == 0) {
        const size_t lengths = field + 21;  // 12 bits of delay, then 12 of padding
        stream.delay = bytes[lengths] << 4 | bytes[lengths + 1] >> 4;
        stream.padding = (bytes[lengths + 1] & 15) << 8 | bytes[lengths + 2];
      }
    } else {
      ++stream.frames;
      stream.minKbps = std::min(stream.minKbps, kbps);
      stream.maxKbps = std::max(stream.maxKbps, kbps);
      stream.audioBytes += frameBytes;
    }
    first = false;
    at += frameBytes;
  }
  return stream;
}

Mp3Stream ReadBuiltMp3(const std::filesystem::path& path) {
  return ReadMp3(ReadFileBytes(path), path.filename().string());
}

std::filesystem::path MusicFolder() {
  return std::filesystem::path(RESBUILD_RESOURCE_DIR) / ShippedMusicFolder;
}

// Rendered on first use: only the tests that look at the music pay for it.
const std::vector<Pcm>& EffectPcm() {
  static const std::vector<Pcm> effects = [] {
    std::vector<Pcm> all;
    for (int i = 0; i < EffectCount; ++i) all.push_back(RenderEffect(i));
    return all;
  }();
  return effects;
}

const std::vector<StereoPcm>& MusicPcm() {
  static const std::vector<StereoPcm> music = [] {
    std::vector<StereoPcm> all;
    for (size_t i = 0; i < Tracks().size(); ++i) all.push_back(RenderTrack(int(i)));
    return all;
  }();
  return music;
}

}  // namespace

// ---- the synthesizer's building blocks ----

TEST(SoundNotes, NamesAndLinesParse) {
  EXPECT_EQ(ParseNote("C4"), 60);
  EXPECT_EQ(ParseNote("A4"), 69);
  EXPECT_EQ(ParseNote("Bb3"), 58);
  EXPECT_EQ(ParseNote("F#5"), 78);
  for (const char* bad : {"H4", "C9", "C", "C#", "c4", "C44"})
    EXPECT_THROW(ParseNote(bad), BuildError) << bad;

  NoteLine line = ParseLine("D5 - - . A4 - - C#5");
  EXPECT_EQ(line.steps, 8);
  ASSERT_EQ(line.notes.size(), 3u);
  EXPECT_EQ(line.notes[0].midi, 74);
  EXPECT_EQ(line.notes[0].steps, 3);
  EXPECT_EQ(line.notes[1].step, 4);
  EXPECT_EQ(line.notes[1].steps, 3);
  EXPECT_EQ(line.notes[2].step, 7);
  EXPECT_EQ(line.notes[2].steps, 1);
  // A hold after silence is more silence, not a note.
  EXPECT_EQ(ParseLine(". - A4").notes.size(), 1u);
}

TEST(SoundTones, LastExactlyTheirEnvelopeAndEndSilent) {
  Pcm tone =
      Render({.wave = Wave::Pulse, .hz = 440, .attack = 0.01, .hold = 0.02, .release = 0.03});
  EXPECT_EQ(tone.size(), size_t(Samples(0.06)));
  EXPECT_EQ(tone.front(), 0.0f);
  EXPECT_LT(std::abs(tone.back()), 1e-3);
  // The pulse has its offset taken out: a held tone averages to about zero.
  Pcm held = Render({.wave = Wave::Pulse, .hz = 441, .duty = 0.25, .hold = 0.5, .release = 0});
  double sum = 0;
  for (float x : held) sum += x;
  EXPECT_LT(std::abs(sum / held.size()), 0.01);
}

// Zero crossings count the pitch: a glide from 200 to 800 Hz ends four times as fast.
TEST(SoundTones, PitchGlidesByRatio) {
  Pcm glide =
      Render({.wave = Wave::Sine, .hz = 200, .toHz = 800, .attack = 0, .hold = 1, .release = 0});
  auto crossings = [&](double from, double to) {
    int count = 0;
    for (int i = Samples(from); i + 1 < Samples(to); ++i)
      count += (glide[i] < 0) != (glide[i + 1] < 0);
    return count;
  };
  // Pitch goes as 200 x 4^t: over t in [0, 0.1] about 214 Hz, over [0.9, 1] about 747 Hz.
  EXPECT_NEAR(crossings(0, 0.1), 2 * 21.4, 2);
  EXPECT_NEAR(crossings(0.9, 1), 2 * 74.7, 2);
}

// Chip noise holds each value for one period of its clock.
TEST(SoundTones, NoiseChangesAtItsClock) {
  Pcm noise = Render({.wave = Wave::Noise, .hz = 1000, .attack = 0, .hold = 1, .release = 0});
  int changes = 0;
  for (size_t i = 1; i < noise.size(); ++i) changes += noise[i] != noise[i - 1];
  EXPECT_NEAR(changes, 1000, 1);
  Pcm hiss =
      Render({.wave = Wave::Noise, .hz = SampleRate, .attack = 0, .hold = 0.1, .release = 0});
  int same = 0;
  for (size_t i = 1; i < hiss.size(); ++i) same += hiss[i] == hiss[i - 1];
  EXPECT_EQ(same, 0);
}

TEST(SoundTones, CrushHoldsAndRoundsSamples) {
  Pcm pcm = {0.1f, 0.9f, -0.8f, 0.4f, 0.3f};
  Crush(pcm, 2, 4);  // steps of a half
  EXPECT_EQ(pcm, (Pcm{0.0f, 0.0f, -1.0f, -1.0f, 0.5f}));
}

TEST(SoundTones, FadeAndNormalizeTouchOnlyWhatTheyShould) {
  Pcm pcm(100, 0.5f);
  FadeOut(pcm, 10.0 / SampleRate);
  EXPECT_EQ(pcm[89], 0.5f);
  EXPECT_LT(pcm[90], 0.5f);
  EXPECT_EQ(pcm[99], 0.0f);
  // Stereo is levelled by its louder channel, both by the same factor.
  StereoPcm stereo{{0.25f, -0.5f}, {0.1f, 0.2f}};
  Normalize(stereo, GainToDb(0.25));
  EXPECT_FLOAT_EQ(stereo.left[1], -0.25f);
  EXPECT_FLOAT_EQ(stereo.right[1], 0.1f);
}

TEST(SoundTones, MixingIntoALoopWrapsTheTailToTheStart) {
  StereoPcm loop{Pcm(100, 0), Pcm(100, 0)};
  MixWrapped(loop, Pcm(30, 1.0f), 80, 0.5, 0);
  for (int i = 0; i < 100; ++i) {
    const float expected = (i >= 80 || i < 10) ? 0.5f : 0.0f;
    EXPECT_NEAR(loop.left[i], expected, 1e-6) << i;
    EXPECT_NEAR(loop.right[i], expected, 1e-6) << i;
  }
  MixWrapped(loop, Pcm(1, 1.0f), 50, 1, -1);  // hard left
  EXPECT_NEAR(loop.left[50], std::sqrt(2.0), 1e-6);
  EXPECT_NEAR(loop.right[50], 0, 1e-6);
}

// The vowel decides where the energy sits: /a/ is strong around 700 Hz, /i/ around 300.
TEST(SoundVoice, FormantsShapeTheVowel) {
  auto band = [](const Pcm& pcm, double hz) {
    Svf filter;
    filter.Set(hz, 4);
    double energy = 0;
    for (float x : pcm) energy += std::pow(filter.Step(x).band, 2);
    return energy;
  };
  Pcm a = Speak({{.seconds = 0.3, .f1 = 700, .f2 = 1200, .f3 = 2600}}, {.robot = 0});
  Pcm i = Speak({{.seconds = 0.3, .f1 = 300, .f2 = 2300, .f3 = 3000}}, {.robot = 0});
  EXPECT_GT(band(a, 700) / band(a, 300), 2);
  EXPECT_GT(band(i, 300) / band(i, 700), 2);
  EXPECT_GT(band(i, 2300) / band(a, 2300), 2);
}

// ---- the effects ----

TEST(SoundEffects, EveryEffectLastsItsRangeAndSitsAtItsLevel) {
  for (int i = 0; i < EffectCount; ++i) {
    SCOPED_TRACE(Effects[i].name);
    const Pcm& pcm = EffectPcm()[i];
    EXPECT_GE(SecondsOf(pcm), 0.1);
    EXPECT_LE(SecondsOf(pcm), 1.5);
    EXPECT_NEAR(GainToDb(Peak(pcm)), MasterPeakDb, 0.01);
    // Not silent, nor a lone spike: a real share of the peak on average.
    EXPECT_GT(Rms(pcm), Peak(pcm) / 30);
    // The game plays it the frame it asks: sound within 5 ms, and no click at the end.
    auto first = std::find_if(pcm.begin(), pcm.end(),
                              [&](float x) { return std::abs(x) > 0.02 * Peak(pcm); });
    EXPECT_LT(first - pcm.begin(), Samples(0.005));
    EXPECT_LT(std::abs(pcm.back()), 1e-4);
  }
}

TEST(SoundEffects, RenderingAgainGivesTheSameSamples) {
  for (int i : {int(Burst02), int(TitleCall), int(Hit)}) EXPECT_EQ(RenderEffect(i), EffectPcm()[i]);
}

TEST(SoundEffects, ExplosionsGrowWithSize) {
  const std::vector<Pcm>& effects = EffectPcm();
  const Pcm &small = effects[Burst03], &medium = effects[Burst01], &large = effects[Burst02];
  EXPECT_LT(small.size(), medium.size());
  EXPECT_LT(medium.size(), large.size());
  EXPECT_LT(Energy(small), Energy(medium));
  EXPECT_LT(Energy(medium), Energy(large));
}

// Shots play five a second all game: shorter and quieter than anything they hit. All peak
// alike; a shot's sound is over before it adds up to much.
TEST(SoundEffects, ShotIsShortAndQuieterThanExplosionsAndHits) {
  const Pcm& shot = EffectPcm()[Shot];
  EXPECT_LT(SecondsOf(shot), 0.15);
  for (int number : {int(Burst01), int(Burst02), int(Burst03), int(Hit)}) {
    SCOPED_TRACE(Effects[number].name);
    const Pcm& other = EffectPcm()[number];
    EXPECT_LT(shot.size(), other.size());
    EXPECT_LT(Energy(shot), Energy(other));
  }
}

// The tally ticks every frame or two: it must be over before the next few pile up.
TEST(SoundEffects, TallyTickDiesAwayWithinAFewFrames) {
  const Pcm& tick = EffectPcm()[BariaHit];
  EXPECT_LE(SecondsOf(tick), 0.12);
  const Pcm tail(tick.begin() + Samples(0.05), tick.end());
  EXPECT_LT(Energy(tail), 0.1 * Energy(tick));
}

// ---- the music ----

TEST(SoundMusic, TracksAreMinuteLongLoopsAtAShootersTempo) {
  const std::vector<TrackInfo> tracks = Tracks();
  ASSERT_GE(tracks.size(), 2u);
  for (size_t i = 0; i < tracks.size(); ++i) {
    SCOPED_TRACE(tracks[i].fileName);
    EXPECT_GE(tracks[i].bpm, 140);
    EXPECT_LE(tracks[i].bpm, 160);
    // The loop comes round on the beat.
    const StereoPcm& track = MusicPcm()[i];
    EXPECT_EQ(track.left.size(), TrackSamples(tracks[i]));
    EXPECT_EQ(track.right.size(), track.left.size());
    EXPECT_GE(SecondsOf(track.left), 60);
    EXPECT_LE(SecondsOf(track.left), 120);
  }
}

TEST(SoundMusic, PeaksAtItsLevelAndNeverDropsOut) {
  for (size_t i = 0; i < MusicPcm().size(); ++i) {
    SCOPED_TRACE(Tracks()[i].fileName);
    const StereoPcm& track = MusicPcm()[i];
    for (const Pcm* channel : {&track.left, &track.right}) {
      EXPECT_TRUE(AtMost(Peak(*channel), MasterPeakDb));
      EXPECT_GT(Peak(*channel), DbToGain(MasterPeakDb - 0.5));
      // Every beat has something playing: a missing section or a dead voice shows as a gap.
      const size_t beat = Samples(60.0 / Tracks()[i].bpm);
      for (size_t at = 0; at + beat <= channel->size(); at += beat) {
        const Pcm part(channel->begin() + at, channel->begin() + at + beat);
        ASSERT_GT(Rms(part), DbToGain(MasterPeakDb - 30))
            << "beat at " << at / double(SampleRate) << " s";
      }
    }
  }
}

// Every note, echo and filter runs round the loop, so the loop has no seam: started from
// another bar, the track is the same samples turned round. A tail cut at the end would show
// as a difference where the first rendering's end falls in the second.
TEST(SoundMusic, TheLoopHasNoSeam) {
  const std::vector<TrackInfo> tracks = Tracks();
  for (size_t i = 0; i < tracks.size(); ++i) {
    SCOPED_TRACE(tracks[i].fileName);
    // The first bar to start on a whole sample, so that the turned samples line up exactly.
    int bar = 1;
    auto barStart = [&](int b) { return b * 4 * 60.0 / tracks[i].bpm * SampleRate; };
    while (bar < tracks[i].bars && std::abs(barStart(bar) - std::round(barStart(bar))) > 1e-6)
      ++bar;
    ASSERT_LT(bar, tracks[i].bars);
    const StereoPcm turned = RenderTrack(int(i), bar);
    const StereoPcm& track = MusicPcm()[i];
    const size_t n = track.left.size(), shift = size_t(std::lround(barStart(bar)));
    ASSERT_EQ(turned.left.size(), n);
    double largest = 0;
    for (size_t k = 0; k < n; ++k) {
      largest = std::max(largest, double(std::abs(turned.left[k] - track.left[(k + shift) % n])));
      largest = std::max(largest, double(std::abs(turned.right[k] - track.right[(k + shift) % n])));
    }
    EXPECT_LT(largest, 1e-4);
  }
}

// ---- the files the build wrote ----

TEST(SoundFiles, EffectFilesAreMonoMp3OfTheirExactLength) {
  for (int i = 0; i < EffectCount; ++i) {
    SCOPED_TRACE(SoundEffectFiles[i]);
    const auto path = std::filesystem::path(RESBUILD_OUTPUT_DIR) / SoundEffectFiles[i];
    ASSERT_TRUE(std::filesystem::is_regular_file(path));
    const Mp3Stream mp3 = ReadBuiltMp3(path);
    EXPECT_EQ(mp3.sampleRate, SampleRate);
    EXPECT_EQ(mp3.channels, 1);
    EXPECT_EQ(mp3.taggedFrames, mp3.frames);
    // The LAME tag's delay and padding let a decoder give back exactly what was encoded.
    EXPECT_EQ(mp3.Samples(), (long long)EffectPcm()[i].size());
    EXPECT_GE(mp3.MeanKbps(), 48);
    EXPECT_LE(mp3.MeanKbps(), 128);
  }
}

TEST(SoundFiles, MusicFilesAreStereoMp3OfTheirExactLength) {
  const std::vector<TrackInfo> tracks = Tracks();
  for (size_t i = 0; i < tracks.size(); ++i) {
    SCOPED_TRACE(tracks[i].fileName);
    const Mp3Stream mp3 = ReadBuiltMp3(MusicFolder() / tracks[i].fileName);
    EXPECT_EQ(mp3.sampleRate, SampleRate);
    EXPECT_EQ(mp3.channels, 2);
    EXPECT_EQ(mp3.minKbps, 160);
    EXPECT_EQ(mp3.maxKbps, 160);
    EXPECT_EQ(mp3.taggedFrames, mp3.frames);
    EXPECT_EQ(mp3.Samples(), (long long)TrackSamples(tracks[i]));
  }
}

// Decoded as the game will, everything peaks just under full scale: mastered, and with room
// for the decoders' rounding.
TEST(SoundFiles, EveryFileDecodesToAPeakJustUnderFullScale) {
  std::vector<std::filesystem::path> files;
  for (const char* effect : SoundEffectFiles)
    files.push_back(std::filesystem::path(RESBUILD_OUTPUT_DIR) / effect);
  for (const TrackInfo& track : Tracks()) files.push_back(MusicFolder() / track.fileName);
  for (const std::filesystem::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    const StereoPcm decoded = DecodeMp3(ReadFileBytes(file));
    const double peakDb = GainToDb(std::max(Peak(decoded.left), Peak(decoded.right)));
    EXPECT_GE(peakDb, -2);
    EXPECT_LE(peakDb, -0.5);
  }
}

// The game takes the folder's first ten mp3 files in sorted order as its music slots.
TEST(SoundFiles, MusicFilesSortInSlotOrder) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(MusicFolder()))
    if (entry.path().extension() == ".mp3") found.push_back(entry.path().filename().string());
  std::sort(found.begin(), found.end());
  std::vector<std::string> slots;
  for (const TrackInfo& track : Tracks()) slots.push_back(track.fileName);
  EXPECT_EQ(found, slots);
  EXPECT_LE(found.size(), 10u);
}

// The sound wrapper and the effects and music list on SDL's dummy audio driver, which plays
// in real time into nothing.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/frame_clock.h"
#include "sound/mixer.h"
#include "sound/sound.h"
#include "support/headless.h"

namespace fs = std::filesystem;

namespace {

// A mono 16-bit WAV of `ms` milliseconds of a quiet square wave.
std::vector<uint8_t> Wav(int ms) {
  const uint32_t rate = 22050, samples = rate * uint32_t(ms) / 1000, data = samples * 2;
  std::vector<uint8_t> bytes(44 + data);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&bytes[at], &v, 4); };
  auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&bytes[at], &v, 2); };
  std::memcpy(&bytes[0], "RIFF", 4);
  put32(4, 36 + data);
  std::memcpy(&bytes[8], "WAVEfmt ", 8);
  put32(16, 16);
  put16(20, 1);  // PCM
  put16(22, 1);  // mono
  put32(24, rate);
  put32(28, rate * 2);
  put16(32, 2);
  put16(34, 16);
  std::memcpy(&bytes[36], "data", 4);
  put32(40, data);
  for (uint32_t i = 0; i < samples; ++i) put16(44 + 2 * i, uint16_t(i / 50 % 2 ? 2000 : -2000));
  return bytes;
}

// Twenty frames of MPEG-1 layer III, mono, 32 kHz, 32 kbit/s, with no audio data: silence.
std::vector<uint8_t> SilentMp3() {
  std::vector<uint8_t> bytes;
  for (int frame = 0; frame < 20; ++frame) {
    const uint8_t header[] = {0xFF, 0xFB, 0x18, 0xC0};
    bytes.insert(bytes.end(), std::begin(header), std::end(header));
    bytes.resize(bytes.size() + 140, 0);  // 144 bytes a frame
  }
  return bytes;
}

std::vector<uint8_t> Junk() { return std::vector<uint8_t>(300, 'x'); }

// What a file of a test folder is made as.
enum class Made { Mp3, Junk, Id3OverJunk, Fifo, DeviceLink, FolderLink, Gone };

struct FolderFile {
  std::string name;
  Made made;
};

void Make(const fs::path& folder, const FolderFile& file) {
  const fs::path path = folder / file.name;
  fs::remove(path);
  std::vector<uint8_t> id3 = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 10};
  id3.resize(20);
  id3.insert(id3.end(), 300, 'x');
  switch (file.made) {
    case Made::Mp3: return WriteFile(path, SilentMp3());
    case Made::Junk: return WriteFile(path, Junk());
    case Made::Id3OverJunk: return WriteFile(path, id3);
    case Made::Fifo: ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); return;
    case Made::DeviceLink: return fs::create_symlink("/dev/null", path);
    case Made::FolderLink: return fs::create_directory_symlink(folder, path);
    case Made::Gone: return;
  }
}

// The game's own lines of what was captured from stderr, the decoder's notes left out.
std::vector<std::string> GameLines(const std::string& captured) {
  std::vector<std::string> lines;
  std::istringstream in(captured);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("veldrane: ", 0) == 0) lines.push_back(line);
  return lines;
}

class SoundTest : public testing::Test {
 protected:
  void SetUp() override {
    folder = ScratchFolder();
    Mixer = MixerState{};
    Sounds = SoundEffectsState{};
    SoundInit();
    ASSERT_TRUE(Mixer.open) << "the dummy audio driver opens";
  }
  void TearDown() override { SoundClose(); }

  std::string Write(const std::string& name, int ms) {
    const std::string path = (folder / name).string();
    WriteFile(path, Wav(ms));
    return path;
  }

  int PlayingChannels() { return Mix_Playing(-1); }

  fs::path folder;
};

}  // namespace

TEST_F(SoundTest, RatesAndVolumesAreClamped) {
  for (auto [asked, got] : {std::pair{3999, 44100}, {70000, 44100}, {65536, 44100},
                            {65535, 65535}, {4000, 4000}, {11025, 11025}}) {
    SoundClose();
    Mixer.MixRate = asked;
    SoundInit();
    EXPECT_EQ(Mixer.MixRate, got) << asked;
  }
  SetMusicVolume(300);
  EXPECT_EQ(Mixer.MusicVolume, 256);
  SetMusicVolume(-5);
  EXPECT_EQ(Mixer.MusicVolume, 0);
  SetSeVolume(300);
  EXPECT_EQ(Mixer.SeVolume, 255);
  SetSeVolume(-5);
  EXPECT_EQ(Mixer.SeVolume, 0);
}

TEST_F(SoundTest, ASampleThatStillSoundsStartsAgainOnItsChannel) {
  EXPECT_EQ(LoadSample(Write("long.wav", 2000)), 1);
  PlaySample(0);
  const int32_t channel = Mixer.SampleTable[0].channel;
  ASSERT_GE(channel, 0);
  PlaySample(0);
  PlaySample(0);
  EXPECT_EQ(Mixer.SampleTable[0].channel, channel);
  EXPECT_EQ(PlayingChannels(), 1) << "one copy, restarted";
  EXPECT_EQ(LoadSample((folder / "missing.wav").string()), 2) << "a missing file is an entry";
  PlaySample(1);  // and plays nothing
  EXPECT_EQ(PlayingChannels(), 1);
}

TEST_F(SoundTest, EffectsSoundOncePerTwoFramesExceptAtFrameZero) {
  LoadSample(Write("effect.wav", 2000));
  auto played = [this](int32_t frame) {
    Mix_HaltChannel(-1);
    FrameCounter = frame;
    PlaySe(SE_BARIA_HIT);
    return PlayingChannels() == 1;
  };
  EXPECT_TRUE(played(1)) << "never played before";
  EXPECT_TRUE(played(100));
  EXPECT_FALSE(played(101));
  EXPECT_TRUE(played(102));
  EXPECT_EQ(Sounds.SeLastFrame[0], 102);
  EXPECT_TRUE(played(0));
  EXPECT_TRUE(played(0)) << "at frame 0 the rule is off";

  SetSeVolume(0);
  EXPECT_FALSE(played(50));
  SetSeVolume(100);
  Sounds.SoundEnabled = false;
  EXPECT_FALSE(played(60));
  EXPECT_EQ(Sounds.SeLastFrame[0], 0) << "what did not play is not noted";
  Sounds.SoundEnabled = true;
  PlaySe(SoundEffectCount);  // no such effect
  PlaySe(-1);
  FrameCounter = 0;
}

TEST_F(SoundTest, MusicPlaysOnceAndTheWrapperKnowsWhenItEnds) {
  const std::string tune = Write("tune.wav", 200);
  PlayMusicFile(tune);
  EXPECT_TRUE(IsMusicPlaying());
  ToggleMusicPause();
  EXPECT_TRUE(IsMusicPaused());
  ToggleMusicPause();
  EXPECT_FALSE(IsMusicPaused());
  PlayMusicFile(tune);
  EXPECT_EQ(Mixer.MusicTable.size(), 1u) << "loaded once";
  SDL_Delay(700);
  EXPECT_FALSE(IsMusicPlaying()) << "no loop";
  StopMusic();
  EXPECT_EQ(Mixer.CurrentMusic, -1);
  EXPECT_FALSE(IsMusicPlaying());

  PlayMusicFile((folder / "tune.xyz").string());  // neither a stream nor a song
  EXPECT_FALSE(IsMusicPlaying());
  SetMusicVolume(0);
  Sounds.BgmSlots[0] = tune;
  PlayBgm(0);
  EXPECT_EQ(Mixer.CurrentMusic, 1) << "music volume 0 starts nothing";
}

TEST_F(SoundTest, TheMusicListTakesTheFirstTenMp3FilesInSortedOrder) {
  for (const char* name : {"b.MP3", "a.mp3", "d.mp3"}) WriteFile(folder / name, SilentMp3());
  WriteFile(folder / "c.mp3", Junk());  // broken
  WriteFile(folder / "notes.txt", {'h', 'i'});
  fs::create_directories(folder / "e.mp3");  // a folder, whatever its name
  ScanBgmFolder(folder.string());
  EXPECT_EQ(Sounds.BgmSlots[0], (folder / "a.mp3").string());
  EXPECT_EQ(Sounds.BgmSlots[1], (folder / "b.MP3").string());
  EXPECT_EQ(Sounds.BgmSlots[2], (folder / "d.mp3").string()) << "the broken one is skipped";
  for (int slot = 3; slot < BgmSlotCount; ++slot) EXPECT_EQ(Sounds.BgmSlots[size_t(slot)], "");

  ScanBgmFolder((folder / "nowhere").string());
  for (const std::string& slot : Sounds.BgmSlots) EXPECT_EQ(slot, "");
}

// A folder as the scan finds it, then as the play finds it, and what the player gets.
struct MusicFolderRow {
  const char* what;
  std::vector<FolderFile> atScan;
  std::vector<std::string> slots;  // by name; the rest are empty
  std::vector<FolderFile> atPlay;  // changed after the scan
  int16_t slot;                    // the one the play asks for
  std::string sounding;            // the file that plays; empty: none
  std::vector<std::string> lines;  // of the scan and the plays; "@" stands for the folder
};

std::vector<MusicFolderRow> MusicFolderRows() {
  std::vector<FolderFile> junkFlood;
  for (int i = 100; i < 140; ++i)
    junkFlood.push_back({"j" + std::to_string(i) + ".mp3", Made::Junk});
  junkFlood.push_back({"k.mp3", Made::Mp3});
  return {
      {"many files of other data: one line", junkFlood, {"k.mp3"}, {}, 0, "k.mp3",
       {"veldrane: 音楽フォルダ @: 40 個のファイルを飛ばしました (mp3 の音声ではありません: j100.mp3 ほか 39 個)"}},
      {"the mixer alone finds it out at its turn: the next slot, round the list",
       {{"a.mp3", Made::Mp3}, {"b.mp3", Made::Id3OverJunk}}, {"a.mp3", "b.mp3"}, {}, 1, "a.mp3",
       {"veldrane: 音楽 @b.mp3 を再生できません (ミキサーが復号できる音声ではありません)。飛ばします"}},
      {"gone or a FIFO by its turn",
       {{"a.mp3", Made::Mp3}, {"b.mp3", Made::Mp3}, {"c.mp3", Made::Mp3}},
       {"a.mp3", "b.mp3", "c.mp3"}, {{"a.mp3", Made::Gone}, {"b.mp3", Made::Fifo}}, 0, "c.mp3",
       {"veldrane: 音楽 @a.mp3 を再生できません (no such file or directory)。飛ばします",
        "veldrane: 音楽 @b.mp3 を再生できません (通常のファイルではありません)。飛ばします"}},
      {"nothing that plays: silence, each file told once",
       {{"a.mp3", Made::Id3OverJunk}, {"b.mp3", Made::Junk}}, {"a.mp3"}, {}, 0, "",
       {"veldrane: 音楽フォルダ @: 1 個のファイルを飛ばしました (mp3 の音声ではありません: b.mp3)",
        "veldrane: 音楽 @a.mp3 を再生できません (ミキサーが復号できる音声ではありません)。飛ばします"}},
      {"FIFOs, devices and folders by a song's name, never opened",
       {{"a.mp3", Made::Fifo}, {"b.mp3", Made::DeviceLink}, {"c.mp3", Made::FolderLink},
        {"d.mp3", Made::Mp3}},
       {"d.mp3"}, {}, 0, "d.mp3",
       {"veldrane: 音楽フォルダ @: 3 個のファイルを飛ばしました (通常のファイルではありません: a.mp3 ほか 2 個)"}},
  };
}

// The start-up's scan, then the play asking for its slot: on the next frame again while
// nothing sounds, and once more after the options restart the sound.
TEST_F(SoundTest, TheMusicFolderCannotSlowFreezeOrFloodTheGame) {
  for (const MusicFolderRow& row : MusicFolderRows()) {
    SCOPED_TRACE(row.what);
    folder = ScratchFolder();
    const std::string at = folder.string() + "/";
    SoundClose();
    Mixer = MixerState{};  // a run of its own
    SoundInit();
    for (const FolderFile& file : row.atScan) Make(folder, file);
    testing::internal::CaptureStderr();
    ScanBgmFolder(folder.string());
    std::vector<std::string> slots;
    for (const std::string& slot : Sounds.BgmSlots)
      if (!slot.empty()) slots.push_back(slot.substr(slot.rfind('/') + 1));
    for (const FolderFile& file : row.atPlay) Make(folder, file);
    PlayBgm(row.slot);
    if (!IsMusicPlaying()) PlayBgm(row.slot);
    SoundClose();
    SoundInit();
    PlayBgm(row.slot);
    const std::string sounding =
        IsMusicPlaying() ? Mixer.MusicTable[size_t(Mixer.CurrentMusic)].FileName : "";
    std::vector<std::string> lines;
    for (std::string line : row.lines) lines.push_back(line.replace(line.find('@'), 1, at));
    EXPECT_EQ(slots, row.slots);
    EXPECT_EQ(sounding, row.sounding.empty() ? "" : at + row.sounding);
    EXPECT_EQ(GameLines(testing::internal::GetCapturedStderr()), lines);
  }
}

TEST_F(SoundTest, EffectFilesThatCannotLoadAreToldOnceARun) {
  BuildSeTable();
  fs::create_directories(folder / "SE");
  for (const std::string& file : Sounds.SeFiles) WriteFile(folder / file, SilentMp3());
  Make(folder, {Sounds.SeFiles[0], Made::Gone});
  Make(folder, {Sounds.SeFiles[1], Made::Fifo});
  Make(folder, {Sounds.SeFiles[2], Made::Junk});
  testing::internal::CaptureStderr();
  LoadSoundEffects(folder.string() + "/");
  SoundClose();  // as a new mixing rate does
  SoundInit();
  LoadSoundEffects(folder.string() + "/");
  const std::string at = folder.string() + "/";
  EXPECT_EQ(GameLines(testing::internal::GetCapturedStderr()),
            (std::vector<std::string>{
                "veldrane: 効果音 " + at + Sounds.SeFiles[0] +
                    " を読み込めません (no such file or directory)。その効果音は鳴りません",
                "veldrane: 効果音 " + at + Sounds.SeFiles[1] +
                    " を読み込めません (通常のファイルではありません)。その効果音は鳴りません",
                "veldrane: 効果音 " + at + Sounds.SeFiles[2] +
                    " を読み込めません (ミキサーが復号できる音声ではありません: Unrecognized audio "
                    "format)。その効果音は鳴りません"}));
  EXPECT_EQ(Mixer.SampleTable.size(), size_t(SoundEffectCount));
}

TEST(SoundStartTest, NoAudioDeviceLeavesTheGameSilentAndRunning) {
  const char* previous = std::getenv("SDL_AUDIODRIVER");
  const std::string saved = previous ? previous : "";
  setenv("SDL_AUDIODRIVER", "nonesuch", 1);
  Mixer = MixerState{};
  SoundInit();
  EXPECT_FALSE(Mixer.open);
  EXPECT_EQ(LoadSample("anything.wav"), 1);
  PlaySe(SE_SHOT);
  PlayMusicFile("tune.mp3");
  EXPECT_FALSE(IsMusicPlaying());
  ToggleMusicPause();
  SoundClose();
  setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
}

// A stored volume to the mixer's level of 128: the default is 12 dB down, a quarter.
TEST(SoundVolumeTest, StoredVolumesMapOntoMixerLevels) {
  constexpr std::pair<int16_t, int> Rows[] = {{0, 0}, {1, 3}, {32, 32}, {255, 128}, {256, 128}};
  for (const auto& [stored, level] : Rows) EXPECT_EQ(MixLevel(stored), level) << stored;
}

#include "sound/mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "common/frame_clock.h"
#include "common/game_text.h"
#include "common/utility.h"

MixerState Mixer;
SoundLogState SoundLog;

namespace {

constexpr int32_t Channels = 32;
constexpr int32_t BufferFrames = 1024;

MusicEntry* Current() {
  if (Mixer.CurrentMusic < 0) return nullptr;
  return &Mixer.MusicTable[size_t(Mixer.CurrentMusic)];
}

void Warn(const std::string& what) {
  std::fprintf(stderr, "veldrane: %s (%s)\n", what.c_str(), Mix_GetError());
}

// Mixer texts that say no more than that something failed.
constexpr std::array<const char*, 4> EmptyTexts = {"NULL src", "not an error", "Success",
                                                   "done with this track"};

// `plain`, followed by the mixer's own words when they tell more.
std::string WithMixerText(const std::string& plain) {
  const std::string text = Mix_GetError();
  const auto says = [&](const char* empty) { return text.find(empty) != std::string::npos; };
  const bool saysMore = !text.empty() && std::none_of(EmptyTexts.begin(), EmptyTexts.end(), says);
  return saysMore ? plain + ": " + text : plain;
}

// How a file that cannot be used is told: the file, why, and what the game does instead.
struct FileUse {
  const char* told;
};
constexpr FileUse EffectUse{
    TrLater("veldrane: sound %s cannot be loaded (%s); that effect stays silent")};
constexpr FileUse MusicUse{TrLater("veldrane: music %s cannot be played (%s); skipped")};

// Once a run for each file, however often it is tried and the sound restarted.
void TellOnce(const FileUse& use, const std::string& file, const std::string& why) {
  std::vector<std::string>& told = Mixer.ToldFiles;
  if (std::find(told.begin(), told.end(), file) != told.end()) return;
  told.push_back(file);
  std::fprintf(stderr, "%s\n", TrWith(use.told, {file, why}).c_str());
}

// The file is looked at before the mixer opens it: a FIFO or a device could hold the mixer up,
// and of a missing file it would only say "NULL src".
template <typename Load>
auto LoadChecked(const FileUse& use, const std::string& file, Load load) {
  std::vector<uint8_t> none;
  std::string trouble = ReadFileHead(file, 0, none);
  decltype(load()) loaded = nullptr;
  if (trouble.empty()) {
    SDL_ClearError();
    loaded = load();
    if (!loaded) trouble = WithMixerText(Tr("not audio the mixer can decode"));
  }
  if (!loaded) TellOnce(use, file, trouble);
  return loaded;
}

}  // namespace

int MixLevel(int16_t volume) {
  const double share = std::clamp(volume / 255.0, 0.0, 1.0);
  return int(std::lround(std::pow(share, 2.0 / 3) * MIX_MAX_VOLUME));
}

void SoundInit() {
  if (Mixer.MixRate < 4000 || Mixer.MixRate >= 65536) Mixer.MixRate = 44100;
  Mixer.MusicVolume = 255;
  Mixer.SeVolume = 255;
  Mixer.CurrentMusic = -1;
  Mixer.MusicTable.clear();
  Mixer.SampleTable.clear();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    std::fprintf(stderr, "%s\n", TrWith("veldrane: no sound: %s", {SDL_GetError()}).c_str());
    return;
  }
  if (Mix_OpenAudio(Mixer.MixRate, MIX_DEFAULT_FORMAT, 2, BufferFrames) != 0) {
    Warn(Tr("no sound: the audio device did not open"));
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return;
  }
  Mix_AllocateChannels(Channels);
  Mixer.open = true;
}

void SoundClose() {
  if (Mixer.open) {
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
  }
  for (MusicEntry& entry : Mixer.MusicTable) Mix_FreeMusic(entry.handle);
  for (SampleEntry& entry : Mixer.SampleTable) Mix_FreeChunk(entry.handle);
  Mixer.MusicTable.clear();
  Mixer.SampleTable.clear();
  Mixer.CurrentMusic = -1;
  if (!Mixer.open) return;
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  Mixer.open = false;
}

int16_t LoadSample(const std::string& fileName) {
  SampleEntry entry;
  entry.FileName = fileName;
  if (Mixer.open)
    entry.handle = LoadChecked(EffectUse, fileName, [&] { return Mix_LoadWAV(fileName.c_str()); });
  Mixer.SampleTable.push_back(entry);
  return int16_t(Mixer.SampleTable.size());
}

void PlaySample(int16_t sample) {
  if (sample < 0 || size_t(sample) >= Mixer.SampleTable.size()) return;
  SampleEntry& entry = Mixer.SampleTable[size_t(sample)];
  if (!entry.handle) return;
  // Still sounding on its channel: start it again there rather than mix a second copy.
  const bool sounding = entry.channel >= 0 && Mix_Playing(entry.channel) &&
                        Mix_GetChunk(entry.channel) == entry.handle;
  entry.channel = Mix_PlayChannel(sounding ? entry.channel : -1, entry.handle, 0);
  if (entry.channel >= 0) Mix_Volume(entry.channel, MixLevel(Mixer.SeVolume));
}

void SetSeVolume(int16_t volume) { Mixer.SeVolume = std::clamp<int16_t>(volume, 0, 255); }

int32_t LoadMusic(const std::string& fileName) {
  MusicEntry entry;
  entry.FileName = fileName;
  entry.IsStream = !MatchExtension(fileName, StreamExtensions).empty();
  const bool song = !MatchExtension(fileName, SongExtensions).empty();
  if (Mixer.open && (entry.IsStream || song))
    entry.handle = LoadChecked(MusicUse, fileName, [&] { return Mix_LoadMUS(fileName.c_str()); });
  Mixer.MusicTable.push_back(entry);
  return int32_t(Mixer.MusicTable.size()) - 1;
}

bool PlayMusicFile(const std::string& fileName) {
  const auto& table = Mixer.MusicTable;
  auto found = std::find_if(table.begin(), table.end(),
                            [&](const MusicEntry& entry) { return entry.FileName == fileName; });
  const int32_t index = found != table.end() ? int32_t(found - table.begin()) : LoadMusic(fileName);
  return PlayMusicIndex(int16_t(index));
}

bool PlayMusicIndex(int16_t index) {
  StopMusic();
  if (index < 0 || size_t(index) >= Mixer.MusicTable.size()) return false;
  Mixer.CurrentMusic = index;
  MusicEntry& entry = Mixer.MusicTable[size_t(index)];
  SDL_ClearError();
  const bool playing = entry.handle && Mix_PlayMusic(entry.handle, 1) == 0;
  if (entry.handle && !playing)
    TellOnce(MusicUse, entry.FileName, WithMixerText(Tr("the mixer would not start it")));
  SetMusicVolume(Mixer.MusicVolume);
  if (playing && SoundLog.recording)
    SoundLog.items.push_back({HeardKind::Song, FrameCounter, -1, Mixer.MusicVolume, entry.FileName});
  return playing;
}

void StopMusic() {
  if (Mixer.CurrentMusic < 0) return;
  if (Current()->handle) Mix_HaltMusic();
  Mixer.CurrentMusic = -1;
}

void SetMusicVolume(int16_t volume) {
  const int16_t before = Mixer.MusicVolume;
  Mixer.MusicVolume = std::clamp<int16_t>(volume, 0, 256);
  if (SoundLog.recording && Mixer.MusicVolume != before)
    SoundLog.items.push_back({HeardKind::MusicVolume, FrameCounter, -1, Mixer.MusicVolume, ""});
  if (Current() && Current()->handle) Mix_VolumeMusic(MixLevel(Mixer.MusicVolume));
}

bool IsMusicPlaying() { return Current() && Current()->handle && Mix_PlayingMusic(); }

bool IsMusicPaused() { return Current() && Current()->handle && Mix_PausedMusic(); }

void ToggleMusicPause() {
  if (!Current() || !Current()->handle) return;
  if (Mix_PausedMusic())
    Mix_ResumeMusic();
  else
    Mix_PauseMusic();
}

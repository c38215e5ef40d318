// The game's one door to SDL2_mixer: the sound system started at a mixing rate, the sound
// effects as samples, and music files of which one at a time plays, once, with pause and
// volumes. A start that finds no audio device leaves the game silent, not broken.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct _Mix_Music;
struct Mix_Chunk;

struct MusicEntry {
  _Mix_Music* handle = nullptr;  // nullptr: the file could not be loaded; it never sounds
  bool IsStream = false;         // a sampled file rather than a tracker song
  std::string FileName;
};

struct SampleEntry {
  Mix_Chunk* handle = nullptr;
  int32_t channel = -1;  // the channel it last played on; -1: none yet
  std::string FileName;
};

struct MixerState {
  int32_t MixRate = 44100;   // Hz
  int16_t MusicVolume = 255;  // 0..256
  int16_t SeVolume = 255;     // 0..255
  std::vector<MusicEntry> MusicTable;  // every music file loaded since the start
  int32_t CurrentMusic = -1;           // the entry last started; -1: none
  std::vector<SampleEntry> SampleTable;
  bool open = false;  // the audio device is open
  // Files already reported as unusable; kept over restarts, so each is told once a run.
  std::vector<std::string> ToldFiles;
};
extern MixerState Mixer;

// What the game starts to sound, kept for tests while recording is on: each effect with the
// effect volume and the frame, each song with the music volume, and each change of that volume.
enum class HeardKind : uint8_t { Effect, Song, MusicVolume };
struct HeardSound {
  HeardKind kind;
  int32_t frame;     // FrameCounter
  int16_t effect;    // the effect's number; -1 for music
  int16_t volume;
  std::string song;  // the song's file; empty for the others
  bool operator==(const HeardSound&) const = default;
};
struct SoundLogState {
  bool recording = false;
  std::vector<HeardSound> items;
};
extern SoundLogState SoundLog;

// Music files by extension, compared without regard to case.
constexpr const char* StreamExtensions = "WAV|MP2|MP3|OGG|RAW";
constexpr const char* SongExtensions = "MOD|S3M|XM|IT|MID";

// The mixer's level, 0..128 (full), for a stored volume: the stored value to the power 2/3.
// Each doubling, one step of the option menu, is 4 dB rather than 6, so the stored default of
// 32 plays 12 dB down rather than 18, and a play's loudest moments, with the sounds mastered
// near full scale, stay clear of it. Music's 256 is full, as 255 is.
int MixLevel(int16_t volume);

// A rate below 4000 Hz or of 65536 and above is taken as 44100 first.
void SoundInit();
void SoundClose();  // frees every sample and music; may be followed by a new SoundInit

// A file that is missing, not a regular file or not decodable becomes a silent entry, told
// once a run on stderr with its reason; LoadMusic does the same.
int16_t LoadSample(const std::string& fileName);  // the new sample count
// A sample still sounding restarts on its channel rather than playing twice at once.
void PlaySample(int16_t sample);
void SetSeVolume(int16_t volume);

int32_t LoadMusic(const std::string& fileName);  // the new entry's index
// A file is loaded at most once per start; playing it again starts it from the beginning.
// True when it sounds; a file that cannot play is not tried again until the next start.
bool PlayMusicFile(const std::string& fileName);
bool PlayMusicIndex(int16_t index);
void StopMusic();
void SetMusicVolume(int16_t volume);
bool IsMusicPlaying();
bool IsMusicPaused();
void ToggleMusicPause();

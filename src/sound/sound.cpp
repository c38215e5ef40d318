#include "sound/sound.h"

#include <vector>

#include "common/frame_clock.h"
#include "common/resource_format.h"
#include "common/utility.h"
#include "sound/mixer.h"

SoundEffectsState Sounds;

void BuildSeTable() {
  for (size_t i = 0; i < Sounds.SeFiles.size(); ++i) Sounds.SeFiles[i] = SoundEffectFiles[i];
  Sounds.BgmSlots = {};  // the start-up scan fills them
}

void LoadSoundEffects(const std::string& folder) {
  for (const std::string& file : Sounds.SeFiles) LoadSample(folder + file);
}

void PlaySe(int16_t effect) {
  if (!Sounds.SoundEnabled || effect < 0 || effect >= SoundEffectCount || Mixer.SeVolume <= 0)
    return;
  int32_t& last = Sounds.SeLastFrame[size_t(effect)];
  if (FrameCounter != 0 && last <= FrameCounter && FrameCounter <= last + 1) return;
  PlaySample(effect);
  last = FrameCounter;
}

void PlayBgm(int16_t slot) {
  if (slot < 0 || slot >= BgmSlotCount || Mixer.MusicVolume <= 0) return;
  const std::string& file = Sounds.BgmSlots[size_t(slot)];
  if (!file.empty()) PlayMusicFile(file);
}

void ScanBgmFolder(const std::string& folder) {
  std::string base = folder;
  if (base.empty() || base.back() != '/') base += '/';
  std::vector<std::string> entries;
  int32_t count = -1;
  ListFiles(base + "*.*", entries, false, count);
  SortText(entries);
  auto next = entries.begin();
  for (std::string& slot : Sounds.BgmSlots) {
    slot.clear();
    for (; next != entries.end() && slot.empty(); ++next)
      if (!MatchExtension(*next, "mp3").empty() && CanPlayMusic(*next)) slot = *next;
  }
}

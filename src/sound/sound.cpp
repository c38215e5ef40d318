#include "sound/sound.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/frame_clock.h"
#include "common/game_text.h"
#include "common/resource_format.h"
#include "common/utility.h"
#include "sound/mixer.h"

SoundEffectsState Sounds;

namespace {

// Files of the music folder left out of the play list for one reason.
struct SkippedFiles {
  std::string reason;
  std::string first;  // its name in the folder
  int32_t count = 0;
};

constexpr size_t Mp3HeadBytes = 4;  // a frame header; an ID3 tag's mark is shorter

// Plainly mp3 by its first bytes: an ID3v2 tag, or an MPEG audio frame header (the sync bits,
// then no reserved version, layer, bit rate or sample rate).
bool LooksLikeMp3(const std::vector<uint8_t>& head) {
  if (head.size() >= 3 && head[0] == 'I' && head[1] == 'D' && head[2] == '3') return true;
  if (head.size() < 4 || head[0] != 0xFF || (head[1] & 0xE0) != 0xE0) return false;
  const int version = head[1] >> 3 & 3, layer = head[1] >> 1 & 3;
  const int bitRate = head[2] >> 4, sampleRate = head[2] >> 2 & 3;
  return version != 1 && layer != 0 && bitRate != 15 && sampleRate != 3;
}

// Why the file cannot go into the play list; empty text when it can. Decoding waits for its
// turn: a few bytes are enough to leave out what plainly is not mp3.
std::string Mp3Trouble(const std::string& file) {
  std::vector<uint8_t> head;
  const std::string trouble = ReadFileHead(file, Mp3HeadBytes, head);
  if (!trouble.empty()) return trouble;
  return LooksLikeMp3(head) ? std::string() : Tr("not mp3 audio");
}

void NoteSkipped(std::vector<SkippedFiles>& skipped, const std::string& reason,
                 const std::string& file) {
  auto group = std::find_if(skipped.begin(), skipped.end(),
                            [&](const SkippedFiles& s) { return s.reason == reason; });
  if (group == skipped.end()) group = skipped.insert(skipped.end(), {reason, GetFileName(file)});
  ++group->count;
}

// One line for the whole folder, however many files it holds.
void TellSkipped(const std::string& folder, const std::vector<SkippedFiles>& skipped) {
  if (skipped.empty()) return;
  int32_t total = 0;
  std::string reasons;
  for (const SkippedFiles& group : skipped) {
    total += group.count;
    reasons += (reasons.empty() ? "" : "; ") + group.reason + ": " + group.first;
    if (group.count > 1) reasons += TrPlural(" and %s other", " and %s others", group.count - 1);
  }
  const std::string files = TrPlural("%s file", "%s files", total);
  std::fprintf(stderr, "%s\n",
               TrWith("veldrane: music folder %s: %s skipped (%s)", {folder, files, reasons})
                   .c_str());
}

}  // namespace

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
  if (SoundLog.recording)
    SoundLog.items.push_back({HeardKind::Effect, FrameCounter, effect, Mixer.SeVolume, ""});
}

void PlayBgm(int16_t slot) {
  if (slot < 0 || slot >= BgmSlotCount || Mixer.MusicVolume <= 0) return;
  if (Sounds.BgmSlots[size_t(slot)].empty()) return;
  // Round the list once at most: a file that cannot play fails at once, without retries.
  for (int16_t step = 0; step < BgmSlotCount; ++step) {
    const std::string& file = Sounds.BgmSlots[size_t((slot + step) % BgmSlotCount)];
    if (!file.empty() && PlayMusicFile(file)) return;
  }
}

void ScanBgmFolder(const std::string& folder) {
  std::string base = folder;
  if (base.empty() || base.back() != '/') base += '/';
  std::vector<std::string> entries;
  int32_t count = -1;
  ListFiles(base + "*.*", entries, false, count);
  SortText(entries);
  std::vector<SkippedFiles> skipped;
  auto next = entries.begin();
  for (std::string& slot : Sounds.BgmSlots) {
    slot.clear();
    for (; next != entries.end() && slot.empty(); ++next) {
      if (MatchExtension(*next, "mp3").empty()) continue;
      const std::string trouble = Mp3Trouble(*next);
      if (trouble.empty())
        slot = *next;
      else
        NoteSkipped(skipped, trouble, *next);
    }
  }
  TellSkipped(base, skipped);
}

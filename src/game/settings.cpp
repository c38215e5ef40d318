#include "game/settings.h"

#include <filesystem>

#include "common/resource_format.h"
#include "game/game_state.h"
#include "platform/platform.h"
#include "sound/mixer.h"
#include "sound/sound.h"

SettingsState Settings;

namespace {

// Beyond the original options: the window's zoom.
constexpr StoredSetting WindowZoomSetting{OptionsSection, "WindowZoom", "1"};

std::string Flag(bool on) { return on ? "1" : "0"; }

// The sound system as the stored switch says: started at the stored rate with the effects
// loaded, or closed.
void StartSound(const std::string& enabled) {
  SoundClose();
  Sounds.SoundEnabled = enabled == "1";
  if (!Sounds.SoundEnabled) return;
  SoundInit();
  LoadSoundEffects(std::filesystem::current_path().string() + "/res/" + BuiltFolder);
}

}  // namespace

void SaveSettings() {
  std::vector<StoredValue> values = {
      SettingValue(MixRateSetting, StoredNumberText(Mixer.MixRate)),
      SettingValue(FmodEnabledSetting, Flag(Sounds.SoundEnabled)),
      SettingValue(BgmVolumeSetting, StoredNumberText(Mixer.MusicVolume)),
      SettingValue(SeVolumeSetting, StoredNumberText(Mixer.SeVolume)),
      SettingValue(ShowFrameRateSetting, Flag(Program.ShowFrameRate)),
      SettingValue(BgmFolderSetting, Settings.BgmFolder),
      SettingValue(WindowZoomSetting, StoredNumberText(Settings.WindowZoom)),
  };
  for (StoredValue& value : RankingValues(Settings.ScoreRanking)) values.push_back(value);
  StoreSave(GameApplication, values);
}

void LoadSettings() {
  Mixer.MixRate = StoredNumber(ReadSetting(MixRateSetting));
  Settings.MixRateIndex = Mixer.MixRate > 43000 ? 2 : Mixer.MixRate > 21000 ? 1 : 0;
  // Written "FModEnabled"; read under the name the game always asked for.
  StartSound(StoreGet(GameApplication, OptionsSection, "FmodEnabled", FmodEnabledSetting.Default));
  SetMusicVolume(int16_t(StoredNumber(ReadSetting(BgmVolumeSetting))));
  SetSeVolume(int16_t(StoredNumber(ReadSetting(SeVolumeSetting))));
  Program.ShowFrameRate = StoredFlag(ReadSetting(ShowFrameRateSetting));
  Settings.BgmFolder = ReadSetting(BgmFolderSetting);
  Settings.ScoreRanking = ReadRanking();
  if (Settings.ScoreRanking[0].Points == 0) ResetScoreRanking();
  Settings.WindowZoom = int16_t(StoredNumber(ReadSetting(WindowZoomSetting)));
  if (Settings.WindowZoom < 1 || Settings.WindowZoom > MaxZoom || !ZoomFits(Settings.WindowZoom))
    Settings.WindowZoom = 1;
  SetFormZoom(Settings.WindowZoom);
}

void ResetScoreRanking() {
  Settings.ScoreRanking = BuiltInRanking();
  Settings.HiScore = Settings.ScoreRanking[0].Points;
}

std::string MusicFolder() {
  if (!Settings.BgmFolder.empty()) return Settings.BgmFolder;
  return std::filesystem::current_path().string() + "/res/" + ShippedMusicFolder;
}

// Reading the options and the ranking from the store into the game, one table row per option.
#include "game/settings.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "common/game_text.h"
#include "common/resource_format.h"
#include "game/game_state.h"
#include "game/scenes.h"
#include "game/settings_parts.h"
#include "input/input.h"
#include "persist/settings_store.h"
#include "platform/imgui_layer.h"
#include "platform/platform.h"
#include "sound/mixer.h"
#include "sound/sound.h"

SettingsState Settings;

namespace {

// Beyond the original options: the window's zoom.
constexpr StoredSetting WindowZoomSetting{OptionsSection, "WindowZoom", "1"};
// A busy store holds the start this long at most before the title shows.
constexpr int StartUpPatienceMs = 1000;
// The language for the program's options is not worth a wait.
constexpr int LanguagePatienceMs = 100;
constexpr int32_t LargestVolume = 255;

std::string Flag(bool on) { return on ? "1" : "0"; }

// A stored number kept to the range its option allows; a text that is not a number is damage:
// the default, and one message naming the key.
int32_t OptionNumber(const StoredSetting& setting, const std::string& text, int32_t low,
                     int32_t high) {
  if (IsStoredNumber(text)) return std::clamp(StoredNumber(text), low, high);
  TellDamagedValue(setting, text);
  return StoredNumber(setting.Default);
}

// The sound system as the stored switch says: started at the mixing rate with the effects
// loaded, or closed; the volumes stay as they were set.
void StartSound(const std::string& enabled) {
  const int16_t music = Mixer.MusicVolume, effects = Mixer.SeVolume;
  SoundClose();
  Sounds.SoundEnabled = enabled == "1";
  if (Sounds.SoundEnabled) {
    SoundInit();
    LoadSoundEffects(std::filesystem::current_path().string() + "/res/" + BuiltFolder);
  }
  SetMusicVolume(music);
  SetSeVolume(effects);
}

// Any stored rate stands for one of the three the options offer, by the thresholds the game
// always used for its index.
void TakeMixRate(const std::string& text) {
  const int32_t rate = OptionNumber(MixRateSetting, text, 0, 1 << 30);
  Settings.MixRateIndex = rate > 43000 ? 2 : rate > 21000 ? 1 : 0;
  Mixer.MixRate = MixRates[size_t(Settings.MixRateIndex)];
}

void TakeMusicVolume(const std::string& text) {
  SetMusicVolume(int16_t(OptionNumber(BgmVolumeSetting, text, 0, LargestVolume)));
}

void TakeEffectVolume(const std::string& text) {
  SetSeVolume(int16_t(OptionNumber(SeVolumeSetting, text, 0, LargestVolume)));
}

void TakeFrameRate(const std::string& text) { Program.ShowFrameRate = StoredFlag(text); }

void TakeMusicFolder(const std::string& text) { Settings.BgmFolder = text; }

// The zoom chosen is kept as it is; the window takes the largest that fits this desktop.
void TakeWindowZoom(const std::string& text) {
  Settings.WindowZoom = int16_t(OptionNumber(WindowZoomSetting, text, 1, MaxZoom));
  int32_t zoom = Settings.WindowZoom;
  while (zoom > 1 && !ZoomFits(zoom)) --zoom;
  SetFormZoom(zoom);
}

// The catalogs of the game's texts lie in the data folder, which is the current one.
std::string CatalogFolder() { return (std::filesystem::current_path() / "locale").string(); }

// Any stored text is kept as it is; what is not a language's code leaves it to the locale.
void TakeLanguage(const std::string& text) {
  Settings.Language = text;
  UseGameLanguage(ChosenLanguage(text), CatalogFolder());
}

// The keys by their names, with the game's first keys.
constexpr const char* KeysSection = "Keys";
constexpr std::array<StoredSetting, BindingCount> KeySettings = {{
    {KeysSection, "Up", "UP"},
    {KeysSection, "Down", "DOWN"},
    {KeysSection, "Left", "LEFT"},
    {KeysSection, "Right", "RIGHT"},
    {KeysSection, "Fire", "Z"},
    {KeysSection, "Turn", "X"},
    {KeysSection, "Pause", "P"},
    {KeysSection, "PadFire", "A"},
    {KeysSection, "PadTurn", "B"},
    {KeysSection, "PadPause", "START"},
}};

// A name that is no key the game can bind is damage: the first key, and one message.
template <Binding B>
void TakeKey(const std::string& text) {
  int16_t code = BoundKeyCode(B, text);
  if (code < 0) {
    TellDamagedKey(KeySettings[B], text);
    code = DefaultBindings().code[B];
  }
  Input.bindings.code[B] = code;
}

template <Binding B>
std::string GiveKey() {
  return BoundKeyName(B, Input.bindings.code[B]);
}

// Stored keys that give one key to two actions are damage too: the first keys for all, and one
// message naming the later of the two.
void SettleKeys() {
  for (int binding = 0; binding < BindingCount; ++binding) {
    const int16_t code = Input.bindings.code[size_t(binding)];
    const BindCheck check = CheckBinding(Input.bindings, Binding(binding), code);
    if (check.refusal == BindRefusal::None) continue;
    const size_t named = size_t(std::max<int>(binding, check.holder));
    TellDoubledKey(KeySettings[named], BoundKeyName(Binding(named), Input.bindings.code[named]));
    Input.bindings = DefaultBindings();
    return;
  }
}

struct OptionRow {
  StoredSetting setting;
  void (*take)(const std::string& text);  // the stored text into the game
  std::string (*give)();                  // the game's value as the stored text
};

// "FModEnabled" is how the game has always written the switch, and names ignore case, so it
// is read under the name the game always asked for ("FmodEnabled") too.
const std::array<OptionRow, StoredOptionCount> Options = {{
    {MixRateSetting, TakeMixRate, [] { return StoredNumberText(Mixer.MixRate); }},
    {FmodEnabledSetting, StartSound, [] { return Flag(Sounds.SoundEnabled); }},
    {BgmVolumeSetting, TakeMusicVolume, [] { return StoredNumberText(Mixer.MusicVolume); }},
    {SeVolumeSetting, TakeEffectVolume, [] { return StoredNumberText(Mixer.SeVolume); }},
    {ShowFrameRateSetting, TakeFrameRate, [] { return Flag(Program.ShowFrameRate); }},
    {BgmFolderSetting, TakeMusicFolder, [] { return Settings.BgmFolder; }},
    {WindowZoomSetting, TakeWindowZoom, [] { return StoredNumberText(Settings.WindowZoom); }},
    {LanguageSetting, TakeLanguage, [] { return Settings.Language; }},
    {KeySettings[BindUp], TakeKey<BindUp>, GiveKey<BindUp>},
    {KeySettings[BindDown], TakeKey<BindDown>, GiveKey<BindDown>},
    {KeySettings[BindLeft], TakeKey<BindLeft>, GiveKey<BindLeft>},
    {KeySettings[BindRight], TakeKey<BindRight>, GiveKey<BindRight>},
    {KeySettings[BindFire], TakeKey<BindFire>, GiveKey<BindFire>},
    {KeySettings[BindTurn], TakeKey<BindTurn>, GiveKey<BindTurn>},
    {KeySettings[BindPause], TakeKey<BindPause>, GiveKey<BindPause>},
    {KeySettings[BindPadFire], TakeKey<BindPadFire>, GiveKey<BindPadFire>},
    {KeySettings[BindPadTurn], TakeKey<BindPadTurn>, GiveKey<BindPadTurn>},
    {KeySettings[BindPadPause], TakeKey<BindPadPause>, GiveKey<BindPadPause>},
}};

// Every option's key, then the ranking's, for one read.
std::vector<StoredValue> AllKeys() {
  std::vector<StoredValue> keys;
  for (const OptionRow& row : Options)
    keys.push_back({row.setting.Section, row.setting.Key, row.setting.Default});
  for (const StoredValue& key : RankingKeys()) keys.push_back(key);
  return keys;
}

ScoreRankingTable TakeRanking(const std::vector<std::string>& texts) {
  ScoreRankingTable table;
  const std::vector<StoredValue> keys = RankingKeys();
  for (size_t place = 0; place < RankingPlaces; ++place) {
    const std::string& points = texts[place];
    if (!IsStoredNumber(points))
      TellDamagedValue({RankingSection, keys[place].Key.c_str(), UnsetRankingPoints}, points);
    table[place] = {StoredNumber(points), texts[RankingPlaces + place]};
  }
  return table;
}

// Takes the stored texts of the values whose known state is `which` into the game; the sound
// restarts when its rate changed without its switch being taken.
void TakeStored(const std::vector<std::string>& texts, Known which) {
  const int32_t rateBefore = Mixer.MixRate;
  for (size_t option = 0; option < Options.size(); ++option)
    if (Settings.optionKnown[option] == which) Options[option].take(texts[option]);
  SettleKeys();
  const bool rateOnly = Settings.optionKnown[OptionSound] != which;
  if (rateOnly && Mixer.MixRate != rateBefore && Sounds.SoundEnabled) StartSound("1");
  if (Settings.rankingKnown != which) return;
  Settings.ScoreRanking = TakeRanking({texts.begin() + StoredOptionCount, texts.end()});
  if (Settings.ScoreRanking[0].Points == 0) ResetScoreRanking();
}

void KnowAll(Known known) {
  Settings.optionKnown.fill(known);
  Settings.rankingKnown = known;
}

bool Understood(StoreStatus status) {
  return status == StoreStatus::Ok || status == StoreStatus::Newer;
}

}  // namespace

std::vector<StoreChange> SettingsChanges() {
  std::vector<StoreChange> changes;
  for (size_t option = 0; option < Options.size(); ++option) {
    if (Settings.optionKnown[option] == Known::Nothing) continue;
    const StoredSetting& setting = Options[option].setting;
    changes.push_back({ChangeKind::Set, setting.Section, setting.Key, Options[option].give()});
  }
  if (Settings.rankingKnown != Known::Nothing) {
    for (const StoredValue& value : RankingValues(Settings.ScoreRanking))
      changes.push_back({ChangeKind::Set, value.Section, value.Key, value.Text});
  }
  for (const ScoreEntry& entry : Settings.newEntries)
    changes.push_back(RankChange(entry.Points, entry.Name));
  return changes;
}

bool AdoptUnknownValues() {
  const bool unknown = Settings.rankingKnown == Known::Nothing ||
                       std::count(Settings.optionKnown.begin(), Settings.optionKnown.end(),
                                  Known::Nothing) > 0;
  if (!unknown) return true;
  const std::vector<std::string> texts = StoreGetMany(GameApplication, AllKeys());
  if (!Understood(StoreLastResult().status)) return false;
  TakeStored(texts, Known::Nothing);
  if (Settings.rankingKnown == Known::Nothing)
    Settings.HiScore = std::max(Settings.HiScore, Settings.ScoreRanking[0].Points);
  std::replace(Settings.optionKnown.begin(), Settings.optionKnown.end(), Known::Nothing,
               Known::Read);
  if (Settings.rankingKnown == Known::Nothing) Settings.rankingKnown = Known::Read;
  Settings.newEntries.clear();
  return true;
}

void LoadSettings() {
  StoreSetPatience(StartUpPatienceMs);
  // What an earlier run could not save goes in first; a store busy for that is not read.
  const bool busy = !ApplyChanges({}) && StoreLastResult().status == StoreStatus::Busy;
  std::vector<std::string> texts;
  for (const StoredValue& key : AllKeys()) texts.push_back(key.Text);
  if (!busy) texts = StoreGetMany(GameApplication, AllKeys());
  const StoreResult read = StoreLastResult();
  KnowAll(Known::Nothing);
  TakeStored(texts, Known::Nothing);  // the stored values, or the defaults
  KnowAll(Understood(read.status) ? Known::Read : Known::Nothing);
  Settings.newEntries.clear();
  Settings.unsaved.clear();
  Settings.saveWaits = false;
  Settings.refusalTold =
      read.status == StoreStatus::Newer || read.status == StoreStatus::NewerUnread;
  TellStartUp(read);
}

void ResetScoreRanking() {
  Settings.ScoreRanking = BuiltInRanking();
  Settings.HiScore = Settings.ScoreRanking[0].Points;
}

void PlayerSet(StoredOption option) { Settings.optionKnown[option] = Known::Set; }

void PlayerClearedRanking() {
  Settings.rankingKnown = Known::Set;
  Settings.newEntries.clear();
}

void PlayerEnteredScore(const ScoreEntry& entry) {
  if (Settings.rankingKnown == Known::Nothing) Settings.newEntries.push_back(entry);
}

std::string MusicFolder() {
  if (!Settings.BgmFolder.empty()) return Settings.BgmFolder;
  return std::filesystem::current_path().string() + "/res/" + ShippedMusicFolder;
}

void ChooseKeys(const KeyBindings& bindings) {
  for (int binding = 0; binding < BindingCount; ++binding)
    if (bindings.code[size_t(binding)] != Input.bindings.code[size_t(binding)])
      PlayerSet(BindingOption(Binding(binding)));
  Input.bindings = bindings;
  SaveSettingsSoon();
}

void ChooseLanguage(Language language) {
  TakeLanguage(LanguageCode(language));
  PlayerSet(OptionLanguage);
  SaveSettingsSoon();
}

// A glance at the store, as it is: a busy store is not waited for (the locale speaks until the
// settings are read), and a damaged one is left for the start-up's read to set aside and tell.
void UseStoredLanguage() {
  ChangeToResourceFolder();
  StoreLookOnly(true);
  StoreSetPatience(LanguagePatienceMs);
  const std::string stored = ReadSetting(LanguageSetting);
  StoreClose();
  StoreLookOnly(false);
  StoreSetPatience(DefaultStorePatienceMs);
  UseGameLanguage(ChosenLanguage(stored), CatalogFolder());
}

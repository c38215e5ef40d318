// What a player hears at the stored volumes of a fresh start: the program's own sound, taken by
// SDL's disk driver into a file, over the title and the first half minute of a play flown on
// autopilot.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/frame_clock.h"
#include "game/game_state.h"
#include "game/play_statistics.h"
#include "game/scenes.h"
#include "input/input.h"
#include "persist/settings_store.h"
#include "persist/stored_values.h"
#include "sound/mixer.h"
#include "stage/random.h"
#include "support/autopilot.h"
#include "support/button_script.h"
#include "support/whole_program.h"

namespace {

constexpr int32_t PlayFrames = 900;  // 30 s at 33 ms a frame
constexpr int BytesPerFrame = 4;     // 16-bit stereo, as the mixer opens the device

// Frames run on the fake clock as fast as the driver writes: before each frame's buttons the
// game waits until the file holds audio up to that frame's time, so the sounds start where they
// would in a real play. The driver's pause between buffers, about a ninth of their length,
// makes the half minute a few seconds.
class PlayMixTest : public WholeProgramTest {
 protected:
  void SetUp() override {
    WholeProgramTest::SetUp();
    for (const char* name : Variables) saved_.push_back(Saved(name));
    file_ = Folder / "mix.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "10", 1);
  }
  void TearDown() override {
    for (size_t i = 0; i < saved_.size(); ++i) {
      if (saved_[i])
        setenv(Variables[i], saved_[i]->c_str(), 1);
      else
        unsetenv(Variables[i]);
    }
    WholeProgramTest::TearDown();
  }

  // Waits until the driver has written the audio of the frames read so far.
  void KeepPace() {
    if (!Mixer.open) return;
    const double seconds = ++frames_ * Program.FrameMs / 1000.0;
    const off_t wanted = off_t(seconds * Mixer.MixRate) * BytesPerFrame;
    struct stat written{};
    while (stat(file_.c_str(), &written) == 0 && written.st_size < wanted) SDL_Delay(1);
  }

  std::vector<int16_t> Samples() const {
    std::ifstream in(file_, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<int16_t> samples(bytes.size() / sizeof(int16_t));
    std::copy_n(bytes.data(), samples.size() * sizeof(int16_t),
                reinterpret_cast<char*>(samples.data()));
    return samples;
  }

  std::filesystem::path file_;

 private:
  static constexpr const char* Variables[] = {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE",
                                              "SDL_DISKAUDIODELAY"};
  static std::optional<std::string> Saved(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  }
  std::vector<std::optional<std::string>> saved_;
  int64_t frames_ = 0;
};

double Db(double level) { return 20 * std::log10(level / 32768); }

// What a recording holds: its peak and clipped samples over all of it, and its loudness over
// the play, its last 29 s.
struct Heard {
  double peakDb, playRmsDb;
  int64_t clipped;
};

Heard Measure(const std::vector<int16_t>& samples, int mixRate) {
  Heard heard{-100, -100, 0};
  int32_t peak = 0;
  for (int16_t sample : samples) {
    peak = std::max(peak, std::abs(int32_t(sample)));
    heard.clipped += sample == INT16_MAX || sample == INT16_MIN;
  }
  const size_t play = std::min(samples.size(), size_t(2 * 29 * mixRate));
  double energy = 0;
  for (size_t i = samples.size() - play; i < samples.size(); ++i)
    energy += double(samples[i]) * samples[i];
  heard.peakDb = Db(peak);
  heard.playRmsDb = Db(std::sqrt(energy / double(std::max<size_t>(play, 1))));
  return heard;
}

// At the stored defaults the play is loud and never clips. Heard apart, each at its stored
// default with the other silenced, the play's effects stand clearly above its music.
TEST_F(PlayMixTest, AtTheStoredVolumesThePlayIsLoudWithoutClippingAndItsEffectsAboveTheMusic) {
  const auto hear = [this](const char* musicVolume, const char* effectsVolume) {
    StoreSave(GameApplication, {SettingValue(BgmVolumeSetting, musicVolume),
                                SettingValue(SeVolumeSetting, effectsVolume)});
    StoreClose();
    int32_t lastFrame = -1;
    bool seeded = false;
    Mixer = MixerState{};
    ScriptButtons(
        Presses({BTN_Z}),
        [&]() -> uint16_t {
          if (!seeded) SeedRandom(42);  // after the program's own seeding, before the play
          seeded = true;
          if (!Stats.InPlay) return lastFrame < 0 ? 0 : BTN_ESC;  // out, should it end early
          lastFrame = FrameCounter;
          return FrameCounter < PlayFrames ? Autopilot() : BTN_ESC;  // Escape in play leaves
        },
        [&] { KeepPace(); });
    EXPECT_EQ(Main(), 0);
    EXPECT_EQ(lastFrame, PlayFrames);
    const std::vector<int16_t> samples = Samples();
    EXPECT_GE(samples.size(), size_t(2 * 30 * Mixer.MixRate));
    std::filesystem::remove(file_);
    return Measure(samples, Mixer.MixRate);
  };
  const Heard both = hear("32", "32"), music = hear("32", "0"), effects = hear("0", "32");
  RecordProperty("PeakDb", std::to_string(both.peakDb));
  RecordProperty("PlayRmsDb", std::to_string(both.playRmsDb));
  RecordProperty("MusicPlayRmsDb", std::to_string(music.playRmsDb));
  RecordProperty("EffectsPlayRmsDb", std::to_string(effects.playRmsDb));
  EXPECT_GE(both.peakDb, -12);
  EXPECT_LE(both.peakDb, -1);
  EXPECT_EQ(both.clipped, 0);
  EXPECT_GE(effects.playRmsDb, music.playRmsDb + 5);
}

}  // namespace

// The whole program as a player meets it: the title, a game lost on autopilot, no continue, a
// name entered, and the name kept for the next start.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <utility>

#include "common/frame_clock.h"
#include "game/game_state.h"
#include "game/play_statistics.h"
#include "game/replay.h"
#include "game/scenes.h"
#include "game/settings.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "persist/fresh_settings_folder.h"
#include "persist/settings_store.h"
#include "persist/stored_values.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "stage/stage_state.h"
#include "support/autopilot.h"
#include "support/button_script.h"
#include "support/headless.h"
#include "support/whole_program.h"

namespace {

namespace fs = std::filesystem;

// The replays a run left, oldest first.
std::vector<ReplayRecord> RecordedPlays(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<ReplayRecord> plays;
  for (const fs::path& file : files) {
    plays.push_back(ReadReplayFile(file.string()));
    // Fixtures for the replay tests are made again by running with this set, when the game's
    // rules change on purpose.
    if (const char* fixtures = std::getenv("VELDRANE_RECORD_FIXTURES")) {
      const std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
      const std::string name = test + std::to_string(plays.size()) + ReplayExtension;
      fs::copy_file(file, fs::path(fixtures) / name, fs::copy_options::overwrite_existing);
    }
  }
  return plays;
}

// Played back headless, from the built resources, as `veldrane --replay` does.
bool PlaysBackAsRecorded(const ReplayRecord& play) {
  StartHeadlessDisplay();
  LoadImageResources(BuiltResourceFolder());
  SetButtonSource(nullptr);  // no viewer's buttons: the script is the play's, now recorded
  const bool same = PlayReplay(play);
  StopHeadlessDisplay();
  return same;
}

// After the title's Z the autopilot plays until the last ship is gone; then Down and Z say no
// to the continue, "ZYX" is entered (Down from A is Z, each next letter starts from the last),
// the high-score table is left with Z and the title with Esc.
TEST_F(WholeProgramTest, ALostGameEndsInANameThatIsKept) {
  // An easy table, so that any score makes the first place.
  StoreSave(GameApplication, RankingValues({{{10, "AAA"}, {9, "BBB"}, {8, "CCC"}, {7, "DDD"},
                                             {6, "EEE"}}}));
  const int32_t continuesBefore = Sounds.SeLastFrame[SE_CONTINUE];
  int32_t lastPlayScore = -1;
  bool played = false;
  std::vector<int32_t> iconsAtStart;  // where the panel drew ships in the play's first frames
  std::vector<ButtonStep> afterPlay = Presses({BTN_DOWN, BTN_Z,           // no continue
                                               BTN_DOWN, BTN_Z,           // Z
                                               BTN_DOWN, BTN_Z,           // Y
                                               BTN_DOWN, BTN_Z,           // X, and done
                                               BTN_RETURN, BTN_Z, BTN_ESC});
  size_t next = 0;
  int32_t readsLeftInStep = 0;
  ScriptButtons(Presses({BTN_Z}), [&]() -> uint16_t {
    if (Stats.InPlay) {
      if (FrameCounter < 10)
        for (const DrawnItem& item : std::exchange(DrawLog.items, {}))
          if (item.y == 424) iconsAtStart.push_back(item.x);
      DrawLog.recording = FrameCounter < 10;
      played = true;
      lastPlayScore = Game.Score;
      return Autopilot();
    }
    if (!played) return 0;  // the start of the play waits for the buttons to be up
    if (readsLeftInStep == 0 && next < afterPlay.size()) readsLeftInStep = afterPlay[next++].reads;
    if (readsLeftInStep == 0) return BTN_ESC;
    --readsLeftInStep;
    return afterPlay[next - 1].word;
  });
  EXPECT_EQ(Main(), 0);
  EXPECT_TRUE(played);
  EXPECT_NE(Sounds.SeLastFrame[SE_CONTINUE], continuesBefore) << "the continue prompt was shown";
  EXPECT_EQ(Game.Lives, 3) << "the title shows the ships a new game brings";
  EXPECT_EQ(std::set<int32_t>(iconsAtStart.begin(), iconsAtStart.end()),
            (std::set<int32_t>{480, 512}))
      << "two ships in reserve; the one entering is no loss to show";
  ASSERT_GT(lastPlayScore, 10);
  StoreClose();  // read back as the next start would
  const ScoreRankingTable ranking = ReadRanking();
  EXPECT_EQ(ranking[0], (ScoreEntry{Game.Score, "ZYX"}));
  EXPECT_EQ(ranking[1], (ScoreEntry{10, "AAA"}));

  // The play, from the first ship to the last one's loss, is kept and plays back to its end.
  const std::vector<ReplayRecord> plays = RecordedPlays(ReplayFiles());
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].lives, 2) << "the ship in play has left the reserve";
  EXPECT_EQ(plays[0].score, 0);
  EXPECT_EQ(plays[0].endScore, Game.Score);
  EXPECT_EQ(plays[0].buttons.size(), size_t(plays[0].endFrame)) << "a word a frame from frame 0";
  EXPECT_EQ(plays[0].ending, ReplayEnding::Played);
  EXPECT_TRUE(PlaysBackAsRecorded(plays[0]))
      << "frame " << FrameCounter << " score " << Game.Score << ", recorded "
      << plays[0].endFrame << " " << plays[0].endScore;
}

// P in play opens the pause menu; GIVE UP ends the play with ships still in reserve, and the
// continue prompt follows at once. No continue, no name (the built-in table is out of reach),
// and out.
TEST_F(WholeProgramTest, GivingUpLeadsToTheContinuePrompt) {
  const int32_t continuesBefore = Sounds.SeLastFrame[SE_CONTINUE];
  // Each scene reads the buttons once as it opens; a 0 "press" gives it a release to read.
  std::vector<ButtonStep> afterPause = Presses({BTN_DOWN, BTN_DOWN, BTN_Z,  // GIVE UP
                                                0, BTN_DOWN, BTN_Z,         // no continue
                                                BTN_Z, BTN_ESC});           // table, title
  size_t next = 0;
  int32_t pausedAt = -1, livesInPlay = -1;
  ScriptButtons(Presses({BTN_Z}), [&]() -> uint16_t {
    if (Stats.InPlay) {
      livesInPlay = Game.Lives;
      if (FrameCounter == 50 && pausedAt < 0) {
        pausedAt = FrameCounter;
        PressKey(SDLK_p);
      }
      return 0;
    }
    if (pausedAt < 0) return 0;
    return next < afterPause.size() ? afterPause[next++].word : BTN_ESC;
  });
  EXPECT_EQ(Main(), 0);
  EXPECT_EQ(pausedAt, 50);
  EXPECT_EQ(livesInPlay, 2) << "two ships were still in reserve";
  EXPECT_EQ(Game.Lives, 3) << "the title shows the ships a new game brings";
  EXPECT_NE(Sounds.SeLastFrame[SE_CONTINUE], continuesBefore) << "the continue prompt was shown";

  const std::vector<ReplayRecord> plays = RecordedPlays(ReplayFiles());
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].ending, ReplayEnding::GivenUp);
  EXPECT_EQ(plays[0].buttons.size(), 51u) << "frames 0 to 50";
  EXPECT_EQ(plays[0].endFrame, 51);
  EXPECT_TRUE(PlaysBackAsRecorded(plays[0]));
  EXPECT_EQ(Game.Lives, 0) << "given up again";
}

// A zoom chosen from the window's menu in play is in the store by the next frame, and there
// after the exit too.
TEST_F(WholeProgramTest, AZoomChosenFromTheMenuIsStoredAtOnce) {
  std::string storedInPlay;
  ScriptButtons(Presses({BTN_Z}), [&]() -> uint16_t {
    if (!Stats.InPlay) return 0;
    if (FrameCounter == 10) Platform.pendingCommands.push_back(WindowCommand::Zoom2);
    if (FrameCounter == 12)
      storedInPlay = StoreGet(GameApplication, OptionsSection, "WindowZoom", "(none)");
    return FrameCounter >= 12 ? BTN_ESC : 0;
  });
  EXPECT_EQ(Main(), 0);
  SetFormZoom(1);
  EXPECT_EQ(storedInPlay, "2");
  StoreClose();
  EXPECT_EQ(StoreGet(GameApplication, OptionsSection, "WindowZoom", "(none)"), "2");
}

}  // namespace

#include "game/replay.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "common/frame_clock.h"
#include "common/game_text.h"
#include "common/resource_format.h"
#include "game/game_state.h"
#include "game/play_statistics.h"
#include "game/scenes.h"
#include "input/input.h"
#include "platform/imgui_layer.h"
#include "stage/random.h"
#include "stage/stage_state.h"

namespace fs = std::filesystem;

ReplayState Replay;

namespace {

// The pause menu's reads that give up: the key released, Down twice to GIVE UP, Z, released.
constexpr std::array<uint16_t, 7> GivingUp = {0, 0, BTN_DOWN, 0, BTN_DOWN, 0, BTN_Z};

std::string NewFileName() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  return stamp;
}

struct KeptFile {
  fs::file_time_type time;
  fs::path path;
};

// Recording order: by modification time, and within one tick of the clock by the name, the
// shorter first, so that "-2" comes before "-10" of the same second.
bool RecordedBefore(const KeptFile& a, const KeptFile& b) {
  const std::string& nameA = a.path.native();
  const std::string& nameB = b.path.native();
  return std::tuple(a.time, nameA.size(), nameA) < std::tuple(b.time, nameB.size(), nameB);
}

// The oldest beyond the last ReplaysKept go. The file just saved stays whatever the times of
// the others: a clock that was ahead must not cost the newest play.
void KeepTheLast(const fs::path& folder, const fs::path& saved) {
  constexpr size_t Others = ReplaysKept - 1;
  std::vector<KeptFile> files;
  std::error_code error, gone;  // a file gone meanwhile sorts first
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (it->path().extension() == ReplayExtension && it->path() != saved)
      files.push_back({it->last_write_time(gone), it->path()});
  std::sort(files.begin(), files.end(), RecordedBefore);
  for (size_t i = 0; i + Others < files.size(); ++i) fs::remove(files[i].path, error);
}

// All of `bytes` to `fd`; 0, or the errno of the write that failed.
int WriteAll(int fd, const std::vector<uint8_t>& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return written < 0 ? errno : EIO;
    done += size_t(written);
  }
  return 0;
}

// The bytes go to a temporary file beside `file`, onto the disk, and are then renamed to it,
// so that a failed save leaves nothing behind. 0, or the errno of the step that failed.
int WriteReplayFile(const fs::path& file, const std::vector<uint8_t>& bytes) {
  const std::string part = file.native() + ".part";  // not a replay's name while unfinished
  const int fd = open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  int failure = WriteAll(fd, bytes);
  if (failure == 0 && fsync(fd) != 0) failure = errno;
  if (close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0 && rename(part.c_str(), file.c_str()) != 0) failure = errno;
  if (failure != 0) unlink(part.c_str());
  return failure;
}

void Save(const ReplayRecord& record) {
  const std::string folder = ReplayFolder();
  if (folder.empty()) return;
  std::error_code error;
  fs::create_directories(folder, error);
  fs::path file;
  for (int n = 1; n < 100 && (file.empty() || fs::exists(file, error)); ++n)
    file = fs::path(folder) / (NewFileName() + "-" + std::to_string(n) + ReplayExtension);
  if (const int failure = WriteReplayFile(file, EncodeReplay(record))) {
    std::fprintf(stderr, "%s\n",
                 TrWith("veldrane: could not keep the replay %s: %s; the game goes on without it",
                        {file.string(), std::strerror(failure)})
                     .c_str());
    return;
  }
  KeepTheLast(folder, file);
}

uint16_t PlayerButtons() {
  return Replay.playersButtons ? Replay.playersButtons() : ReadDeviceButtons();
}

// The buttons of the play being played back: none while it waits for them to be up, then its
// words, then the pause menu's reads that give up, then none. Its last word comes with the
// request that ended it, as the window's key came within that frame. A play that would go on
// past its last word has not ended as recorded: it ends in that frame.
uint16_t NextReplayWord() {
  TakeViewerButtons();
  if (!Replay.begun && !Stats.InPlay) return 0;
  Replay.begun = true;
  const std::vector<uint16_t>& words = Replay.record.buttons;
  if (Replay.next < words.size()) {
    const uint16_t word = words[Replay.next++];
    const bool last = Replay.next == words.size();
    if (last && Replay.record.ending == ReplayEnding::GivenUp) Program.PauseRequested = true;
    if (last && Replay.record.ending == ReplayEnding::Left) EndPlayOrLeave();
    return word;
  }
  if (Stats.InPlay) Play.GameActive = false;
  if (Replay.record.ending != ReplayEnding::GivenUp || Replay.menuStep >= GivingUp.size())
    return 0;
  return GivingUp[Replay.menuStep++];
}

void CheckRange(const char* name, int64_t value, int64_t low, int64_t high) {
  if (value >= low && value <= high) return;
  const std::string named = name, shown = std::to_string(value);
  if (low == high) RefuseReplay(TrWith("%s %s: should be %s", {named, shown, std::to_string(low)}));
  RefuseReplay(TrWith("%s %s: from %s to %s",
                {named, shown, std::to_string(low), std::to_string(high)}));
}

// The extra ships a score has brought: one each time it passed the next extend.
int64_t ExtendsBelow(int32_t score) {
  const PlayState fresh;
  if (score <= fresh.NextExtendScore) return 0;
  return (int64_t(score) - fresh.NextExtendScore - 1) / fresh.ExtendInterval + 1;
}

// Words of defined buttons only; Escape ends the play in its frame, so only the last has it.
void CheckButtons(const std::vector<uint16_t>& words, int32_t firstFrame) {
  if (words.empty()) RefuseReplay(Tr("no frames"));
  for (size_t i = 0; i < words.size(); ++i) {
    const bool undefined = words[i] & ~BTN_ALL;
    const bool escapeBefore = (words[i] & BTN_ESC) && i + 1 < words.size();
    if (!undefined && !escapeBefore) continue;
    const std::string frame = TrWith("frame %s", {std::to_string(firstFrame + int64_t(i))});
    if (undefined)
      RefuseReplay(TrWith("%s: button %s has undefined bits", {frame, std::to_string(words[i])}));
    RefuseReplay(TrWith("%s: something follows its ESC", {frame}));
  }
}

}  // namespace

void CheckReplay(const ReplayRecord& record) {
  const int32_t firstFrame = CheckpointFrame(record.restartFrame);
  const int32_t lastCheckpoint = CheckpointFrame(std::numeric_limits<int32_t>::max());
  const int16_t reserve = GameRecord{}.Lives - 1;  // the ship that enters leaves the reserve
  CheckRange(Tr("stage"), record.stage, 0, 0);  // the game has one stage
  CheckRange(Tr("start score"), record.score, 0, MaxScore);
  CheckRange(Tr("ships in reserve"), record.lives, 0, reserve + ExtendsBelow(record.score));
  // 0 for a new game, else the frame where the last play was lost: no later than the longest
  // play a replay holds, from the last checkpoint.
  CheckRange(Tr("restart frame"), record.restartFrame, 0,
             int64_t(lastCheckpoint) + MaxReplayFrames);
  CheckButtons(record.buttons, firstFrame);
  // Each word is a frame; leaving the program does not count the last one.
  const bool left = record.ending == ReplayEnding::Left || (record.buttons.back() & BTN_ESC);
  const int64_t endFrame = firstFrame + int64_t(record.buttons.size()) - (left ? 1 : 0);
  CheckRange(Tr("end frame"), record.endFrame, endFrame, endFrame);
  CheckRange(Tr("end score"), record.endScore, record.score, MaxScore);  // the score only grows
}

std::string ReplayFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (data && data[0] == '/') return std::string(data) + "/veldrane/replays/";
  if (home && home[0] == '/') return std::string(home) + "/.local/share/veldrane/replays/";
  return "";
}

void BeginRecording() {
  Replay.recording = Replay.recordPlays && !Replay.playing;
  if (!Replay.recording) return;
  Replay.record = ReplayRecord{};
  Replay.record.stage = Game.Stage;
  Replay.record.restartFrame = Game.RestartFrame;
  Replay.record.score = Game.Score;
  Replay.record.lives = Game.Lives;
  Replay.record.randomState = RandomState();
  Replay.record.kind = Program.practice ? ReplayKind::Practice : ReplayKind::Play;
}

void RecordButtons(uint16_t word) {
  if (Replay.recording && Replay.record.buttons.size() < MaxReplayFrames)
    Replay.record.buttons.push_back(word);
}

void RecordGivingUp() {
  if (Replay.recording) Replay.record.ending = ReplayEnding::GivenUp;
}

void FinishRecording() {
  if (!Replay.recording) return;
  Replay.recording = false;
  if (Program.QuitRequested && Replay.record.ending == ReplayEnding::Played)
    Replay.record.ending = ReplayEnding::Left;
  Replay.record.endFrame = FrameCounter;
  Replay.record.endScore = Game.Score;
  Save(Replay.record);
}

bool PlayReplay(const ReplayRecord& record) {
  Replay.record = record;
  Replay.playing = true;
  Replay.begun = false;
  Replay.next = Replay.menuStep = 0;
  Replay.viewerHeld = 0;
  Game = GameRecord{record.score, record.lives, record.stage, record.restartFrame};
  SetRandomState(record.randomState);
  Replay.playersButtons = std::move(Input.buttonSource);
  SetButtonSource(NextReplayWord);
  RunGame();
  SetButtonSource(std::move(Replay.playersButtons));
  Replay.playing = false;
  return FrameCounter == record.endFrame && Game.Score == record.endScore;
}

namespace {

// The record in path, checked; otherwise false with the reason in problem.
bool LoadChecked(const std::string& path, ReplayRecord& record, std::string& problem) {
  try {
    record = ReadReplayFile(path);
    CheckReplay(record);
    return true;
  } catch (const std::runtime_error& error) {  // ResourceFileError or FormatError
    problem = error.what();
    return false;
  }
}

// A replay inside a run: it counts and records nothing, and the game is as it was after it.
void PlayInSession(const ReplayRecord& record, bool demo) {
  const UncountedPlays uncounted;
  const GameRecord game = Game;
  Replay.inSession = true;
  Replay.demo = demo;
  Replay.demoLeft = Replay.paused = false;
  Replay.speed = 1;
  PlayReplay(record);
  Replay.inSession = Replay.demo = Replay.paused = false;
  Replay.speed = 1;
  Game = game;
}

}  // namespace

bool PlayDemo() {
  ReplayRecord record;
  std::string problem;
  if (!LoadChecked(DemoFile, record, problem)) {
    std::fprintf(stderr, "veldrane: %s: %s\n", DemoFile, problem.c_str());
    return false;
  }
  PlayInSession(record, true);
  return !std::exchange(Replay.demoLeft, false) && !Program.QuitRequested;
}

void WatchKeptReplay(const std::string& path) {
  ReplayRecord record;
  std::string problem;
  if (LoadChecked(path, record, problem))
    PlayInSession(record, false);
  else
    ShowMessageBox(path + ":\n" + problem);
}

bool TakeViewerKey(int16_t key, bool pauseKey) {
  if (!Replay.playing) return false;
  if (Replay.demo) {
    Replay.demoLeft = true;
    Play.GameActive = false;
    return true;
  }
  if (key == KeyEscape && Replay.inSession) {
    Play.GameActive = false;
    return true;
  }
  if (pauseKey) {
    Replay.paused = !Replay.paused;
    return true;
  }
  const int16_t speed = int16_t(key - KeyDigit0);
  if (speed != 1 && speed != 2 && speed != 4) return false;
  Replay.speed = speed;
  return true;
}

void TakeViewerButtons() {
  const uint16_t held = PlayerButtons();
  const uint16_t pressed = held & ~Replay.viewerHeld;
  Replay.viewerHeld = held;
  if (Replay.demo) {
    if (pressed) TakeViewerKey(0, false);
    return;
  }
  if (pressed & BTN_Z) Replay.paused = !Replay.paused;
  if (pressed & BTN_X) Replay.speed = Replay.speed == 4 ? 1 : int16_t(Replay.speed * 2);
}

int32_t ReplayFrameMs(int32_t frameMs) { return Replay.playing ? frameMs / Replay.speed : frameMs; }

void EndPlayOrLeave() {
  if (Replay.inSession)
    Play.GameActive = false;
  else
    Program.QuitRequested = true;
}

int PlayReplayFile(const std::string& path) {
  ReplayRecord record;
  std::string problem;
  if (!LoadChecked(path, record, problem)) {
    std::fprintf(stderr, "veldrane: %s: %s\n", path.c_str(), problem.c_str());
    return 2;
  }
  const bool same = PlayReplay(record);
  std::printf("replay: frame %d, score %d (recorded: frame %d, score %d)%s\n", FrameCounter,
              Game.Score, record.endFrame, record.endScore, same ? "" : " DIFFERENT");
  return same ? 0 : 1;
}

#include "common/replay_format.h"

#include <cstring>
#include <string>

#include "common/byte_fields.h"
#include "common/game_text.h"
#include "common/resource_format.h"

namespace {

constexpr char Magic[8] = {'V', 'L', 'D', 'R', 'P', 'L', 'A', 'Y'};
const char* CutShort() { return Tr("the replay is cut short"); }

void PutRuns(Writer& out, const std::vector<uint16_t>& buttons) {
  std::vector<std::pair<uint16_t, uint16_t>> runs;  // word, frames
  for (uint16_t word : buttons) {
    if (!runs.empty() && runs.back().first == word && runs.back().second < UINT16_MAX)
      ++runs.back().second;
    else
      runs.push_back({word, 1});
  }
  out.Put(uint32_t(runs.size()));
  for (const auto& [word, frames] : runs) {
    out.Put(word);
    out.Put(frames);
  }
}

std::vector<uint16_t> ReadRuns(Reader& in) {
  const uint32_t runs = in.Read<uint32_t>(CutShort());
  if (!in.Has(size_t(runs) * 4)) throw FormatError(CutShort());
  std::vector<uint16_t> buttons;
  for (uint32_t i = 0; i < runs; ++i) {
    const uint16_t word = in.Read<uint16_t>(CutShort());
    const uint16_t frames = in.Read<uint16_t>(CutShort());
    if (frames == 0) RefuseReplay(Tr("an empty run"));
    if (buttons.size() + frames > MaxReplayFrames)
      RefuseReplay(Tr("too long"));
    buttons.insert(buttons.end(), frames, word);
  }
  return buttons;
}

}  // namespace

std::vector<uint8_t> EncodeReplay(const ReplayRecord& replay) {
  Writer out;
  out.bytes.assign(Magic, Magic + sizeof Magic);
  out.Put(ReplayVersion);
  out.Put(replay.stage);
  out.Put(replay.restartFrame);
  out.Put(replay.score);
  out.Put(replay.lives);
  out.Put(replay.randomState);
  out.Put(uint8_t(replay.ending));
  out.Put(uint8_t(replay.kind));
  out.Put(replay.endFrame);
  out.Put(replay.endScore);
  PutRuns(out, replay.buttons);
  return out.bytes;
}

ReplayRecord ReadReplayFile(const std::string& path) {
  // The header and one run a frame, at the most.
  constexpr size_t LargestFile = 64 + size_t(MaxReplayFrames) * 4;
  return ParseReplay(ReadResourceFile(path, LargestFile));
}

ReplayRecord ParseReplay(const std::vector<uint8_t>& bytes) {
  Reader in{bytes};
  if (!in.Has(sizeof Magic) || std::memcmp(bytes.data(), Magic, sizeof Magic) != 0)
    throw FormatError(Tr("not a replay file"));
  in.at = sizeof Magic;
  const uint16_t version = in.Read<uint16_t>(CutShort());
  if (version != 1 && version != ReplayVersion)
    throw FormatError(TrWith("replay version %s cannot be read (this version reads %s)",
                             {std::to_string(version), std::to_string(ReplayVersion)}));
  ReplayRecord replay;
  replay.stage = in.Read<int16_t>(CutShort());
  replay.restartFrame = in.Read<int32_t>(CutShort());
  replay.score = in.Read<int32_t>(CutShort());
  replay.lives = in.Read<int16_t>(CutShort());
  replay.randomState = in.Read<uint64_t>(CutShort());
  const uint8_t ending = in.Read<uint8_t>(CutShort());
  if (ending > uint8_t(ReplayEnding::Left)) RefuseReplay(Tr("how it ended"));
  replay.ending = ReplayEnding(ending);
  const uint8_t kind = version == 1 ? 0 : in.Read<uint8_t>(CutShort());
  if (kind > uint8_t(ReplayKind::Practice)) RefuseReplay(Tr("its kind"));
  replay.kind = ReplayKind(kind);
  replay.endFrame = in.Read<int32_t>(CutShort());
  replay.endScore = in.Read<int32_t>(CutShort());
  replay.buttons = ReadRuns(in);
  if (in.at != bytes.size()) RefuseReplay(Tr("data past its end"));
  return replay;
}

void RefuseReplay(const std::string& what) {
  throw FormatError(TrWith("The replay is damaged (%s)", {what}));
}

// The first stage's spawn timeline: every wave, when it comes and where. Each line lists the
// frames it happens on and what appears on each of them, in the order they are created.

#include <algorithm>
#include <vector>

#include "objects/object_passes.h"
#include "stage/behaviours.h"
#include "stage/stage.h"

namespace {

struct Entry {
  int16_t type;
  int16_t x;
  int16_t y = -96;  // just above the top edge
  int16_t behaviour = 0;  // 0: the template's
};

struct Line {
  std::vector<int32_t> frames;
  std::vector<Entry> entries;
};

std::vector<int32_t> Every(int32_t first, int32_t last, int32_t step) {
  std::vector<int32_t> frames;
  for (int32_t f = first; f <= last; f += step) frames.push_back(f);
  return frames;
}

constexpr int32_t BossFrame = 6900;

// clang-format off
const std::vector<Line>& Timeline() {
  static const std::vector<Line> lines = {
    {{128, 160, 192, 224, 256, 288, 320}, {{20, 160}, {20, 192}, {20, 224}, {20, 256}}},
    {{352}, {{20, 0}, {20, 32}, {20, 160}, {20, 192}, {20, 224}, {20, 256}, {20, 384}, {20, 416}}},
    {{384, 416, 448, 480, 512, 544, 576}, {{20, 0}, {20, 32}, {20, 384}, {20, 416}}},
    {{704, 736, 768, 800, 832, 864, 896, 928, 960, 992, 1024, 1056},
     {{20, 0}, {20, 64}, {20, 128}, {22, 192}, {22, 224}, {20, 288}, {20, 352}, {20, 416}}},
    {{1088, 1120, 1152, 1184, 1216}, {{24, 0}, {23, 192}, {23, 224}, {24, 416}}},
    {{1280, 1312, 1344, 1376, 1408}, {{24, 128}, {24, 288}}},
    {{1504, 1536}, {{23, 192}, {23, 224}}},
    {{1632}, {{21, 64}, {21, 352}}},
    {{1664}, {{21, 32}, {21, 384}}},
    {{1696}, {{21, 0}, {21, 416}}},
    {{1792}, {{21, 192}, {21, 224}}},
    {{1824}, {{21, 160}, {21, 256}}},
    {{1856}, {{21, 128}, {21, 288}}},
    {{1952}, {{27, 0}, {27, 384}}},
    {{2016}, {{27, 64}, {27, 320}}},
    {{2048}, {{25, 192}, {25, 224}}},
    {{2144}, {{25, 128}, {25, 288}}},
    {{2240}, {{25, 64}, {25, 352}}},
    {{2272}, {{26, 160}, {26, 256}}},
    {{2336}, {{25, 0}, {25, 416}}},
    {{2432}, {{28, 64}, {28, 320}, {20, 96, -64, 36}, {20, 352, -64, 38}}},
    {{2464}, {{25, 96}, {25, 352}}},
    {{2560}, {{21, 352}}},
    {{2592}, {{21, 288}, {21, 384}}},
    {{2624}, {{21, 224}, {21, 320}, {21, 416}}},
    {{2656}, {{21, 160}, {21, 256}, {21, 352}}},
    {{2688}, {{21, 96}, {21, 192}, {21, 288}}},
    {{2720}, {{21, 32}, {21, 128}, {21, 224}}},
    {{2752}, {{21, 64}, {21, 160}}},
    {{2784}, {{21, 0}, {21, 96}}},
    {{2816}, {{21, 32}}},
    {{2944}, {{26, 64}, {26, 352}}},
    {{3040}, {{26, 192}, {26, 224}}},
    {{3072}, {{26, 160}, {26, 256}, {20, -32, -96, 40}}},
    {{3104}, {{26, 160}, {26, 256}, {20, 448, -96, 42}}},
    {{3136}, {{26, 192}, {26, 224}}},
    {{3360}, {{27, 192}}},
    {{3424}, {{27, 128}, {27, 256}}},
    {{3488}, {{27, 64}, {27, 320}}},
    {{3552}, {{27, 0}, {27, 384}}},
    {{3680, 3712}, {{26, 0}, {26, 32}, {26, 192}, {26, 224}, {26, 384}, {26, 416}}},
    {{3872}, {{28, 64}, {28, 288}, {22, 96, -64, 25}, {22, 320, -64, 23}}},
    {Every(3936, 4576, 32), {{24, 0}, {24, 416}}},
    {{4128}, {{29, 288}}},
    {{4320}, {{29, 32}}},
    {{4512}, {{29, 160}}},
    {{4608}, {{24, 0}, {23, 32}, {23, 384}, {24, 416}}},
    {{4640}, {{23, 32}, {23, 64}, {23, 352}, {23, 384}}},
    {{4672}, {{23, 64}, {23, 96}, {23, 320}, {23, 352}}},
    {{4704}, {{23, 96}, {23, 128}, {23, 288}, {23, 320}}},
    {{4736}, {{23, 128}, {23, 160}, {23, 256}, {23, 288}}},
    {{4768}, {{23, 160}, {23, 192}, {23, 224}, {23, 256}}},
    {{4800}, {{21, 32}, {23, 192}, {23, 224}, {21, 384}}},
    {{4832}, {{21, 0}, {21, 64}, {21, 352}, {21, 416}}},
    {{4896, 4928, 5088, 5120, 5280, 5312},
     {{25, 0}, {25, 32}, {25, 192}, {25, 224}, {25, 384}, {25, 416}}},
    {{4960, 4992, 5024, 5056, 5152, 5184, 5216, 5248},
     {{20, 64}, {20, 96}, {20, 128}, {20, 160}, {20, 256}, {20, 288}, {20, 320}, {20, 352}}},
    {{5450}, {{23, 0, -576, 28}, {23, 416, -576, 30}}},
    {{5568}, {{28, 64}, {28, 288}}},
    {{5728}, {{28, 176}}},
    {{6100}, {{5, 0, -96, 46}}},  // the finale's wave generator
    {{6528}, {{21, 32}, {21, 96}, {21, 320}, {21, 384}}},
    {{6592}, {{21, 0}, {21, 64}, {21, 128}, {21, 288}, {21, 352}, {21, 416}}},
    {{6624}, {{21, 32}, {21, 96}, {21, 320}, {21, 384}}},
  };
  return lines;
}
// clang-format on

struct Scheduled {
  int32_t frame;
  Entry entry;
};

// The lines in frame order; a frame on two lines keeps the order of the lines.
std::vector<Scheduled> InFrameOrder() {
  std::vector<Scheduled> all;
  for (const Line& line : Timeline())
    for (int32_t frame : line.frames)
      for (const Entry& entry : line.entries) all.push_back({frame, entry});
  std::stable_sort(all.begin(), all.end(),
                   [](const Scheduled& a, const Scheduled& b) { return a.frame < b.frame; });
  return all;
}

}  // namespace

void LoadStageScript() {
  for (const Scheduled& s : InFrameOrder()) {
    ObjectIndex i = CreateObject(s.entry.type, QG_PreEventQue, InsertAtTail, s.entry.x, s.entry.y,
                                 0.0f, 1.0f, KeepTemplateValue, KeepTemplate);
    if (i == NoObject) continue;
    Obj(i).stamp = s.frame;
    if (s.entry.behaviour) Obj(i).behaviour = s.entry.behaviour;
  }
  // The boss comes last, as its template places it.
  BossIndex = CreateObject(TypeBoss, QG_PreEventQue, KeepTemplate, KeepTemplateValue,
                           KeepTemplateValue, KeepTemplateValue, KeepTemplateValue,
                           KeepTemplateValue, KeepTemplate);
  if (BossIndex != NoObject) Obj(BossIndex).stamp = BossFrame;
}

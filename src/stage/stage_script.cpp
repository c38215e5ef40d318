// The first stage's spawn timeline: every wave, when it comes and where. Each line lists the
// frames it happens on and what appears on each of them, in the order they are created.

#include <algorithm>
#include <vector>

#include "stage/behaviours.h"
#include "stage/stage.h"
#include "stage/stage_state.h"

namespace {

struct Entry {
  ObjectType type;
  int16_t x;
  int16_t y = -96;  // just above the top edge
  BehaviourId behaviour = BehNone;  // none: the template's
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

// clang-format off
const std::vector<Line>& Timeline() {
  static const std::vector<Line> lines = {
    {{128, 160, 192, 224, 256, 288, 320},
     {{TypeDrone, 160}, {TypeDrone, 192}, {TypeDrone, 224}, {TypeDrone, 256}}},
    {{352},
     {{TypeDrone, 0}, {TypeDrone, 32}, {TypeDrone, 160}, {TypeDrone, 192}, {TypeDrone, 224},
      {TypeDrone, 256}, {TypeDrone, 384}, {TypeDrone, 416}}},
    {{384, 416, 448, 480, 512, 544, 576},
     {{TypeDrone, 0}, {TypeDrone, 32}, {TypeDrone, 384}, {TypeDrone, 416}}},
    {{704, 736, 768, 800, 832, 864, 896, 928, 960, 992, 1024, 1056},
     {{TypeDrone, 0}, {TypeDrone, 64}, {TypeDrone, 128}, {TypeSpinner, 192}, {TypeSpinner, 224},
      {TypeDrone, 288}, {TypeDrone, 352}, {TypeDrone, 416}}},
    {{1088, 1120, 1152, 1184, 1216},
     {{TypeSideGunner, 0}, {TypeGunner, 192}, {TypeGunner, 224}, {TypeSideGunner, 416}}},
    {{1280, 1312, 1344, 1376, 1408}, {{TypeSideGunner, 128}, {TypeSideGunner, 288}}},
    {{1504, 1536}, {{TypeGunner, 192}, {TypeGunner, 224}}},
    {{1632}, {{TypeHoming, 64}, {TypeHoming, 352}}},
    {{1664}, {{TypeHoming, 32}, {TypeHoming, 384}}},
    {{1696}, {{TypeHoming, 0}, {TypeHoming, 416}}},
    {{1792}, {{TypeHoming, 192}, {TypeHoming, 224}}},
    {{1824}, {{TypeHoming, 160}, {TypeHoming, 256}}},
    {{1856}, {{TypeHoming, 128}, {TypeHoming, 288}}},
    {{1952}, {{TypeArmoured, 0}, {TypeArmoured, 384}}},
    {{2016}, {{TypeArmoured, 64}, {TypeArmoured, 320}}},
    {{2048}, {{TypeCrossGunner, 192}, {TypeCrossGunner, 224}}},
    {{2144}, {{TypeCrossGunner, 128}, {TypeCrossGunner, 288}}},
    {{2240}, {{TypeCrossGunner, 64}, {TypeCrossGunner, 352}}},
    {{2272}, {{TypeRapidGunner, 160}, {TypeRapidGunner, 256}}},
    {{2336}, {{TypeCrossGunner, 0}, {TypeCrossGunner, 416}}},
    {{2432},
     {{TypeHatch, 64}, {TypeHatch, 320}, {TypeDrone, 96, -64, BehDroneRing},
      {TypeDrone, 352, -64, BehDroneRingReversed}}},
    {{2464}, {{TypeCrossGunner, 96}, {TypeCrossGunner, 352}}},
    {{2560}, {{TypeHoming, 352}}},
    {{2592}, {{TypeHoming, 288}, {TypeHoming, 384}}},
    {{2624}, {{TypeHoming, 224}, {TypeHoming, 320}, {TypeHoming, 416}}},
    {{2656}, {{TypeHoming, 160}, {TypeHoming, 256}, {TypeHoming, 352}}},
    {{2688}, {{TypeHoming, 96}, {TypeHoming, 192}, {TypeHoming, 288}}},
    {{2720}, {{TypeHoming, 32}, {TypeHoming, 128}, {TypeHoming, 224}}},
    {{2752}, {{TypeHoming, 64}, {TypeHoming, 160}}},
    {{2784}, {{TypeHoming, 0}, {TypeHoming, 96}}},
    {{2816}, {{TypeHoming, 32}}},
    {{2944}, {{TypeRapidGunner, 64}, {TypeRapidGunner, 352}}},
    {{3040}, {{TypeRapidGunner, 192}, {TypeRapidGunner, 224}}},
    {{3072},
     {{TypeRapidGunner, 160}, {TypeRapidGunner, 256}, {TypeDrone, -32, -96, BehZigZagEmitter}}},
    {{3104},
     {{TypeRapidGunner, 160}, {TypeRapidGunner, 256},
      {TypeDrone, 448, -96, BehZigZagEmitterReversed}}},
    {{3136}, {{TypeRapidGunner, 192}, {TypeRapidGunner, 224}}},
    {{3360}, {{TypeArmoured, 192}}},
    {{3424}, {{TypeArmoured, 128}, {TypeArmoured, 256}}},
    {{3488}, {{TypeArmoured, 64}, {TypeArmoured, 320}}},
    {{3552}, {{TypeArmoured, 0}, {TypeArmoured, 384}}},
    {{3680, 3712},
     {{TypeRapidGunner, 0}, {TypeRapidGunner, 32}, {TypeRapidGunner, 192}, {TypeRapidGunner, 224},
      {TypeRapidGunner, 384}, {TypeRapidGunner, 416}}},
    {{3872},
     {{TypeHatch, 64}, {TypeHatch, 288}, {TypeSpinner, 96, -64, BehSpinnerRingReversed},
      {TypeSpinner, 320, -64, BehSpinnerRing}}},
    {Every(3936, 4576, 32), {{TypeSideGunner, 0}, {TypeSideGunner, 416}}},
    {{4128}, {{TypeBeamer, 288}}},
    {{4320}, {{TypeBeamer, 32}}},
    {{4512}, {{TypeBeamer, 160}}},
    {{4608}, {{TypeSideGunner, 0}, {TypeGunner, 32}, {TypeGunner, 384}, {TypeSideGunner, 416}}},
    {{4640}, {{TypeGunner, 32}, {TypeGunner, 64}, {TypeGunner, 352}, {TypeGunner, 384}}},
    {{4672}, {{TypeGunner, 64}, {TypeGunner, 96}, {TypeGunner, 320}, {TypeGunner, 352}}},
    {{4704}, {{TypeGunner, 96}, {TypeGunner, 128}, {TypeGunner, 288}, {TypeGunner, 320}}},
    {{4736}, {{TypeGunner, 128}, {TypeGunner, 160}, {TypeGunner, 256}, {TypeGunner, 288}}},
    {{4768}, {{TypeGunner, 160}, {TypeGunner, 192}, {TypeGunner, 224}, {TypeGunner, 256}}},
    {{4800}, {{TypeHoming, 32}, {TypeGunner, 192}, {TypeGunner, 224}, {TypeHoming, 384}}},
    {{4832}, {{TypeHoming, 0}, {TypeHoming, 64}, {TypeHoming, 352}, {TypeHoming, 416}}},
    {{4896, 4928, 5088, 5120, 5280, 5312},
     {{TypeCrossGunner, 0}, {TypeCrossGunner, 32}, {TypeCrossGunner, 192}, {TypeCrossGunner, 224},
      {TypeCrossGunner, 384}, {TypeCrossGunner, 416}}},
    {{4960, 4992, 5024, 5056, 5152, 5184, 5216, 5248},
     {{TypeDrone, 64}, {TypeDrone, 96}, {TypeDrone, 128}, {TypeDrone, 160}, {TypeDrone, 256},
      {TypeDrone, 288}, {TypeDrone, 320}, {TypeDrone, 352}}},
    {{5450},
     {{TypeGunner, 0, -576, BehPathGunnerEmitter},
      {TypeGunner, 416, -576, BehPathGunnerEmitterMirrored}}},
    {{5568}, {{TypeHatch, 64}, {TypeHatch, 288}}},
    {{5728}, {{TypeHatch, 176}}},
    {{6100}, {{TypeController, 0, -96, BehFinaleWaves}}},  // the finale's wave generator
    {{6528}, {{TypeHoming, 32}, {TypeHoming, 96}, {TypeHoming, 320}, {TypeHoming, 384}}},
    {{6592},
     {{TypeHoming, 0}, {TypeHoming, 64}, {TypeHoming, 128}, {TypeHoming, 288}, {TypeHoming, 352},
      {TypeHoming, 416}}},
    {{6624}, {{TypeHoming, 32}, {TypeHoming, 96}, {TypeHoming, 320}, {TypeHoming, 384}}},
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
    if (s.entry.behaviour != BehNone) Obj(i).behaviour = s.entry.behaviour;
  }
  // The boss comes last, as its template places it.
  Play.BossIndex = CreateObject(TypeBoss, QG_PreEventQue, KeepTemplate, KeepTemplateValue,
                                KeepTemplateValue, KeepTemplateValue, KeepTemplateValue,
                                KeepTemplateValue, KeepTemplate);
  if (Play.BossIndex != NoObject) Obj(Play.BossIndex).stamp = BossFrame;
}

// The end of the stage: the title, the closing wipe, the bonus lines and their tally; and the
// wipe tiles that close the screen, which the game over uses too.

#include <cmath>

#include "graphics/image_resource.h"
#include "sound/sound.h"
#include "sprite_ids.h"
#include "stage/behaviours.h"
#include "stage/stage_state.h"

namespace {

constexpr int32_t ClosingFrames = Sprite::WipeClosingCount, CoverFrames = 1000;

constexpr float Absent = -9999.0f;
constexpr float AbsentBelow = -200.0f;
constexpr float TallyStep = 111.0f;
constexpr int32_t TallyStart = 211;
constexpr int32_t EndDelay = 60;


struct BonusLine {
  const char* label;
  float GameObject::*amount;
  int32_t soundAge;  // the line shows from the frame after
  int32_t y;
};

constexpr BonusLine BonusLines[] = {
    {"DESTROY BOSS  BONUS", &GameObject::work1, 120, 200},
    {"STAGE  CLEAR  BONUS", &GameObject::work2, 150, 230},
    {"NO  CONTINUE  BONUS", &GameObject::work3, 180, 260},
};

bool Present(float amount) { return amount > AbsentBelow; }

// The grid of closing tiles over the play field; `delay` gives each tile its start.
template <typename Delay>
void CreateClosingGrid(Delay delay) {
  for (int32_t r = 0; r < 16; ++r)
    for (int32_t c = 0; c < 15; ++c) {
      ObjectIndex tile = CreateController(BehClosingWipeTile, float(32 * c), float(32 * r),
                                          KeepTemplate, InsertAtHead);
      if (tile != NoObject) Obj(tile).work1 = float(delay(r, c));
    }
}

int32_t TitleY(int32_t age) {
  if (age <= 61) return 200;
  if (age <= 87) return (112 - age) * 4;
  return 100;
}

// The amount right-aligned in six places.
std::string AmountText(float amount) {
  std::string text = "      " + std::to_string(RoundHalfEven(amount));
  return text.substr(text.size() - 6);
}

bool BossDestroyed(int16_t boss) { return boss > 0 && boss < ObjectRecords && Obj(boss).life < 1; }

void SetBonuses(GameObject& o) {
  o.work1 = BossDestroyed(o.tag) ? 20000.0f : Absent;
  o.work2 = float((Game.Stage + 1) * 10000);
  o.work3 = Game.RestartFrame == 0 ? 10000.0f : Absent;
}

void DrawBonusLines(GameObject& o, int32_t age) {
  for (const BonusLine& line : BonusLines) {
    float amount = o.*line.amount;
    if (!Present(amount)) continue;
    if (age == line.soundAge) PlaySe(SE_BURST03);
    if (age > line.soundAge) DrawTextLarge(74, line.y, line.label + AmountText(amount));
  }
}

// Each bonus moves into the score 111 points a frame, the last step taking only what is left.
void Tally(GameObject& o) {
  bool left = false;
  for (const BonusLine& line : BonusLines) {
    float& amount = o.*line.amount;
    if (!Present(amount)) continue;
    amount -= TallyStep;
    int32_t points = int32_t(TallyStep);
    if (amount < 0) {
      points += RoundHalfEven(amount);
      amount = 0;
    }
    Game.Score = AddScore(Game.Score, points);
    left |= amount >= 1;
  }
  if (left) PlaySe(SE_BARIA_HIT);
}

bool AllCounted(const GameObject& o) { return o.work1 < 1 && o.work2 < 1 && o.work3 < 1; }

}  // namespace

void StageClear(ObjectIndex self) {
  GameObject& o = Obj(self);
  int32_t age = Age(o);
  if (age == 1) SetBonuses(o);
  DrawTextLarge(146, TitleY(age), "STAGE" + NumberText(Game.Stage + 1) + " CLEAR");
  if (age == 61) CreateController(BehClosingWipe);
  DrawBonusLines(o, age);
  if (age >= TallyStart) Tally(o);
  if (AllCounted(o)) {
    o.lastLife += 1;
    if (o.lastLife == 1) PlaySe(SE_BURST01);
    if (o.lastLife > EndDelay) Play.GameActive = false;
  }
}

void ClosingWipe(ObjectIndex self) {
  CreateClosingGrid([](int32_t r, int32_t) { return r; });  // row by row from the top
  Remove(self);
}

void GameOverWipe(ObjectIndex self) {
  CreateClosingGrid([](int32_t r, int32_t c) { return 20 - c - r; });  // from the lower right
  Remove(self);
}

void ClosingWipeTile(ObjectIndex self) {
  const GameObject& o = Obj(self);
  int32_t age = Age(o), delay = RoundHalfEven(o.work1);
  // The closing frames run on into the covered tile that follows them.
  if (age >= delay && age <= delay + ClosingFrames)
    DrawAt(o.x, o.y, Sprite::WipeClosing + age - delay);
  else if (age > delay + ClosingFrames && age <= delay + ClosingFrames + CoverFrames)
    DrawAt(o.x, o.y, Sprite::WipeCovered);
}

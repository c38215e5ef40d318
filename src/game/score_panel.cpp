// The panel right of the play field: the next extend, the high score, the score and the
// ships in reserve, with the loss of a ship played out and the extra ship given.

#include "common/utility.h"
#include "game/scenes.h"
#include "game/settings.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "sound/sound.h"
#include "sprite_ids.h"
#include "stage/stage_state.h"

namespace {

constexpr int32_t PanelLeft = 448;
constexpr int32_t NumberX = 480;
constexpr int32_t IconY = 424;

struct PanelState {
  int16_t livesShown = 0;
  int16_t lossStep = 0;  // the frame of the lost ship's icon going
  bool newRecord = false;
};
PanelState Panel;

int32_t IconX(int32_t i) { return (i + 15) * 32; }

void KeepHighScore() {
  if (Settings.HiScore <= Game.Score) {
    Settings.HiScore = Game.Score;
    if (!Panel.newRecord) PlaySe(SE_HI_SCORE);
    Panel.newRecord = true;
  } else {
    Panel.newRecord = false;
  }
}

// A lost ship's icon breaks up before the count follows; the first loss of a run shows its
// whole icon first, later ones start a frame on.
void DrawLives() {
  for (int32_t i = 0; i < Game.Lives; ++i) DrawSprite(IconX(i), IconY, Sprite::LifeIcon);
  if (Game.Lives < Panel.livesShown && Panel.livesShown >= 1) {
    if (Panel.lossStep <= 7) {
      DrawSprite(IconX(Game.Lives), IconY, Sprite::LifeIcon + Panel.lossStep);
      ++Panel.lossStep;
    } else {
      Panel.livesShown = Game.Lives;
      Panel.lossStep = 1;
    }
  } else {
    Panel.livesShown = Game.Lives;
  }
}

}  // namespace

void ScorePanel() {
  RefreshClipBounds();
  KeepHighScore();
  FillBox(PanelLeft, 0, Images.ClipWidth - (PanelLeft - 1), Images.ClipHeight + 1, 0);
  DrawSprite(0, 0, Sprite::PanelFrame);
  DrawTextLarge(NumberX, 264, PadNumber(Play.NextExtendScore, 11, " "));
  DrawTextLarge(NumberX, 328, PadNumber(Settings.HiScore, 11, " "));
  DrawTextLarge(NumberX, 392, PadNumber(Game.Score, 11, " "));
  DrawLives();
  if (Play.NextExtendScore < Game.Score) {
    ++Game.Lives;
    Play.NextExtendScore = AddScore(Play.NextExtendScore, Play.ExtendInterval);
    PlaySe(SE_FANFARE);
  }
}

void ResetScorePanel() { Panel = PanelState{}; }

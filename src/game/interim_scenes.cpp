// Until the menus and score screens exist: the title starts a game at once, a lost game is
// not continued, and the score screens pass straight through.
#include "game/game_state.h"
#include "game/scenes.h"
#include "graphics/image_resource.h"

int16_t TitleMenu() { return SceneFirstChoice; }
int16_t OptionMenu() { return 0; }
int16_t ContinueScreen() { return SceneSecondChoice; }
int16_t NameEntryScreen() { return 0; }
int16_t HiScoreScreen() { return 0; }
void PauseMenu() { Program.PauseRequested = false; }

void ScorePanel() {
  RefreshClipBounds();
  FillBox(448, 0, Images.ClipWidth - 447, Images.ClipHeight + 1, 0);
}

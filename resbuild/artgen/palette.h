// The fixed palette every generated image draws from. Each colour is exact in RGB565 (red
// and blue multiples of 8, green of 4), so the game shows what the PNG holds, and no two
// colours merge there or with the magenta key.
#pragma once

#include <array>

#include "image.h"

namespace pal {

// Outlines and the darkest shadows.
constexpr Rgb Ink{16, 16, 32};

// Sky, deep navy to violet. Void fills only tile 0, the stage's "no tile" cell.
constexpr Rgb Void{8, 8, 40};
constexpr Rgb Navy{16, 24, 64};
constexpr Rgb Dusk{40, 32, 96};
constexpr Rgb Violet{72, 48, 128};
constexpr Rgb StarDim{104, 112, 168};
constexpr Rgb StarBright{232, 236, 248};

// Grey hull metal, shadow to glint.
constexpr Rgb MetalDark{40, 48, 64};
constexpr Rgb MetalShade{72, 84, 104};
constexpr Rgb MetalBase{112, 124, 144};
constexpr Rgb MetalLight{160, 172, 192};
constexpr Rgb MetalGlint{216, 224, 232};

// Chrome steel blues, white to deep: the menu font and bright trim.
constexpr Rgb White{248, 248, 248};
constexpr Rgb PaleSteel{208, 224, 240};
constexpr Rgb IceSteel{168, 192, 224};
constexpr Rgb SteelBlue{120, 152, 200};
constexpr Rgb DeepSteel{80, 108, 168};
constexpr Rgb NavySteel{48, 64, 120};

// Warm lights, fire and hazard paint.
constexpr Rgb Maroon{88, 16, 16};
constexpr Rgb Red{168, 32, 24};
constexpr Rgb Orange{232, 104, 24};
constexpr Rgb Amber{248, 168, 40};
constexpr Rgb Yellow{248, 216, 72};
constexpr Rgb YellowWhite{248, 244, 192};

// Cool energy: the player's shots, lamps and pod shields.
constexpr Rgb CyanDeep{24, 120, 184};
constexpr Rgb Cyan{72, 200, 232};
constexpr Rgb Lime{120, 232, 96};

// Smoke and cloud.
constexpr Rgb Smoke{96, 92, 104};
constexpr Rgb SmokeLight{144, 140, 152};
constexpr Rgb CloudShade{152, 160, 200};
constexpr Rgb Cloud{208, 216, 240};
constexpr Rgb CloudDusk{120, 128, 184};  // the body of the stage's clouds, far below at dusk

// Citadel brick, and the hot glow of enemy bullets.
constexpr Rgb BrickDark{96, 40, 32};
constexpr Rgb Brick{144, 64, 40};
constexpr Rgb BrickLight{184, 104, 72};
constexpr Rgb Rose{248, 96, 128};

// Ground: soil, rock and moss.
constexpr Rgb SoilDark{48, 32, 32};
constexpr Rgb Soil{88, 56, 40};
constexpr Rgb Clay{128, 84, 56};
constexpr Rgb Sand{176, 128, 80};
constexpr Rgb MossDark{40, 64, 40};
constexpr Rgb Moss{80, 112, 56};

constexpr std::array All{Ink,        Void,      Navy,       Dusk,      Violet,     StarDim,
                         StarBright, MetalDark, MetalShade, MetalBase, MetalLight, MetalGlint,
                         White,      PaleSteel, IceSteel,   SteelBlue, DeepSteel,  NavySteel,
                         Maroon,     Red,       Orange,     Amber,     Yellow,     YellowWhite,
                         SoilDark,   Soil,      Clay,       Sand,      MossDark,   Moss,
                         CyanDeep,   Cyan,      Lime,       Smoke,     SmokeLight, CloudShade,
                         Cloud,      CloudDusk,  BrickDark, Brick,      BrickLight, Rose};

constexpr bool SurvivesRgb565() {
  for (size_t i = 0; i < All.size(); ++i) {
    if (All[i].r % 8 || All[i].g % 4 || All[i].b % 8 || IsTransparent(All[i])) return false;
    for (size_t j = 0; j < i; ++j)
      if (All[i] == All[j]) return false;
  }
  return true;
}
static_assert(SurvivesRgb565(), "a palette colour is not exact in RGB565 or repeats another");

}  // namespace pal

// The boss: a flying fortress facing down the screen, drawn back to front from its side
// pods in to the face at its core. Its image holds the body, the body's hit frame and the
// face images, each a cell of the body's size so that all share one draw point.
#include "artgen.h"
#include "boss_art.h"

namespace boss {
namespace {

// Heat slats in a dark slot: glowing rows between the bars, hottest at the middle.
void GlowVent(Image& body, int left, int top, int width, int height) {
  FillRect(body, left, top, width, height, pal::Ink);
  for (int y = top + 1; y < top + height - 1; y += 2) {
    FillRect(body, left + 1, y, width - 2, 1, pal::Red);
    FillRect(body, left + 2, y, width - 4, 1, pal::Orange);
    FillRect(body, left + width / 2 - 1, y, 2, 1, pal::Amber);
  }
}

// Cooling louvres: dark slots with a lit lower lip.
void Louvres(Image& body, int left, int top, int width, int count) {
  for (int i = 0; i < count; ++i) Recess(body, left, top + 4 * i, width, 3, pal::MetalDark);
}

void SidePod(Image& body, Half half) {
  LitBlock(body, half.X(9, 8), 96, 8, 26, tone::GunSteel);         // cannon
  LitBlock(body, half.X(7, 12), 116, 12, 7, tone::BlueSteel);      // its muzzle
  FillRect(body, half.X(11, 4), 120, 4, 2, pal::Ink);              // its bore
  LitBlock(body, half.X(5, 16), 8, 16, 16, tone::GunSteel, 3);     // engine
  GlowVent(body, half.X(8, 10), 9, 10, 7);

  LitBlock(body, half.X(1, 24), 18, 24, 92, tone::Steel, 6);
  // Rounded in section: a broad sheen on its left, a shadow on its right, on either side.
  int podLeft = half.X(1, 24);
  FillRect(body, podLeft + 4, 24, 3, 80, pal::MetalLight);
  FillRect(body, podLeft + 19, 24, 3, 80, pal::MetalShade);
  LitBlock(body, half.X(2, 22), 38, 22, 12, tone::BrickPaint);
  for (int x : {5, 18}) Rivet(body, half.X(x, 2), 42, RivetHead);
  Lamp(body, half.X(11, 4), 26, true);
  Louvres(body, half.X(6, 14), 56, 14, 5);
  Seam(body, half.X(2, 21), 80, 21, true);
  Lamp(body, half.X(11, 4), 88, false);
  for (int y : {84, 98})
    for (int x : {5, 18}) Rivet(body, half.X(x, 2), y, RivetHead);
}

// The girder arm from a pod to the hull: two beams and a zigzag of struts between them.
void PodArm(Image& body, Half half) {
  int left = half.X(22, 12);
  LitBlock(body, left, 46, 12, 36, tone::GunSteel);
  for (int y = 48; y < 80; y += 8) {
    DrawLine(body, half.X(24), y, half.X(29), y + 4, pal::MetalBase);
    DrawLine(body, half.X(29), y + 4, half.X(24), y + 8, pal::MetalBase);
  }
  for (int y : {46, 80}) LitBlock(body, left, y, 12, 3, tone::Steel);
}

// A pipe running down the hull, round in section.
void Pipe(Image& body, int left, int top, int height) {
  FillRect(body, left, top, 5, height, pal::Ink);
  FillRect(body, left + 1, top, 1, height, pal::IceSteel);
  FillRect(body, left + 2, top, 1, height, pal::SteelBlue);
  FillRect(body, left + 3, top, 1, height, pal::DeepSteel);
  for (int y = top + 4; y < top + height - 2; y += 10)
    FillRect(body, left, y, 5, 2, pal::MetalShade);
}

// The main hull, an octagon of armour plate, with seams between its plates and a rampart
// of merlons along its top.
void Hull(Image& body) {
  LitBlock(body, 30, 8, 100, 110, tone::Steel, 20);
  for (Half half : Halves) {
    Seam(body, half.X(33, 14), 52, 14, true);
    Louvres(body, half.X(34, 10), 58, 10, 4);
    Pipe(body, half.X(44, 5), 46, 42);
    for (int y : {48, 78}) Rivet(body, half.X(34, 2), y, RivetHead);
  }
  for (int x = 56; x < 104; x += 8) LitBlock(body, x, 24, 6, 6, tone::Steel);
}

// The rear deck over the engines, its exhausts glowing.
void EngineDeck(Image& body) {
  LitBlock(body, 46, 0, 68, 24, tone::GunSteel, 6);
  for (int left : {54, 73, 92}) {
    LitBlock(body, left - 1, 2, 16, 12, tone::Steel, 2);
    GlowVent(body, left + 1, 4, 12, 7);
  }
  for (int x : {50, 108}) Rivet(body, x, 17, RivetHead);
}

// Red-painted armour over the shoulders, scored with grooves, a beacon at its inner corner.
void Shoulder(Image& body, Half half) {
  LitShape(body, half.X(28, 28), 16, 28, 30, tone::BrickPaint, [&](int x, int y) {
    int outer = half.mirrored ? 27 - x : x;
    return outer + y >= 8 && y <= 22 + outer / 3;
  });
  for (int i = 0; i < 3; ++i)
    DrawLine(body, half.X(36 + 5 * i), 22, half.X(32 + 5 * i), 28, pal::BrickDark);
  Lamp(body, half.X(46, 4), 22, true);
  for (int x : {33, 50}) Rivet(body, half.X(x, 2), 36, RivetHead);
}

// A flak tower on each lower corner: a square base, a domed top and twin guns pointing down.
void FlakTower(Image& body, Half half) {
  for (int x : {36, 41}) LitBlock(body, half.X(x, 3), 104, 3, 12, tone::DeepBlue);
  LitBlock(body, half.X(30, 18), 88, 18, 18, tone::Steel, 3);
  LitEllipse(body, half.X(33, 12), 90, 12, 12, tone::BlueSteel);
  Lamp(body, half.X(37, 4), 94, true);
}

// The jaw under the face: red mandibles that run straight down, then narrow to points on
// their inner edges; a chin between them with a cannon mouth.
void Jaw(Image& body) {
  constexpr int Width = 14, Height = 38, Straight = 20;
  for (Half half : Halves)
    LitShape(body, half.X(50, Width), 90, Width, Height, tone::BrickPaint, [&](int x, int y) {
      int fromInner = half.mirrored ? x : Width - 1 - x;
      return y < Straight || fromInner < Width * (Height - 1 - y) / (Height - 1 - Straight);
    });
  LitBlock(body, 62, 92, 36, 26, tone::Steel, 7);
  Recess(body, 72, 104, 16, 10, pal::Ink);
  GlowVent(body, 74, 105, 12, 7);
}

// The round housing of the face: a dark ring set with lamps around a deep recess.
void Bezel(Image& body) {
  LitEllipse(body, CoreLeft, CoreTop, CoreSize, CoreSize, tone::DeepBlue);
  LitEllipse(body, CoreLeft + 6, CoreTop + 6, CoreSize - 12, CoreSize - 12,
             {pal::MetalDark, pal::Ink, pal::Ink});
  for (int i = 0; i < FaceLamps; ++i) Lamp(body, FaceLamp(i).x, FaceLamp(i).y, false);
}

// The mask: a shield of bright steel filling the recess, narrowing to the chin.
void Mask(Image& body) {
  constexpr int Left = 56, Top = 38, Width = 48, Height = 52;
  LitShape(body, Left, Top, Width, Height, tone::BrightSteel, [&](int x, int y) {
    int fromMiddle = std::abs(2 * x - (Width - 1));
    return InEllipse(x, y, Width, Height + 4) &&
           fromMiddle <= 2 * (Width / 2) - std::max(0, y - 26);
  });
  // The crest down the brow, a gem at its top.
  LitBlock(body, MiddleLampX - 1, 40, 6, 22, tone::Steel);
  Lamp(body, MiddleLampX, 41, true);
  // Cheekbones: grooves from the eyes' outer corners down towards the chin.
  for (Half half : Halves) {
    DrawLine(body, half.X(60), 64, half.X(70), 82, pal::MetalShade);
    DrawLine(body, half.X(61), 64, half.X(71), 82, pal::MetalGlint);
    FillRect(body, half.X(66, 2), 63, 2, 6, pal::Red);
  }
}

// Sunken almond eyes under a heavy brow that casts its shadow into them.
void EyeSockets(Image& body) {
  for (Half half : Halves)
    for (int y = -3; y < EyeHeight; ++y)
      for (int x = 0; x < EyeWidth; ++x) {
        int column = half.X(EyeLeft + x), row = EyeTop + y;
        if (InEye(x, y))
          Plot(body, column, row, y > EyeHeight / 2 ? pal::Maroon : pal::Ink);
        else if (InEye(x, y + 1))
          Plot(body, column, row, pal::Ink);
        else if (InEye(x, y + 2))
          Plot(body, column, row, pal::MetalShade);
        else if (InEye(x, y + 3))
          Plot(body, column, row, pal::MetalGlint);
      }
}

// A grille of teeth over a dark throat.
void Mouth(Image& body) {
  Recess(body, 66, 72, 28, 14, pal::Ink);
  FillRect(body, ThroatLeft, ThroatTop, ThroatWidth, ThroatHeight, pal::Maroon);
  for (int x = 68; x < 92; x += 4) {
    FillRect(body, x, 73, 1, 12, pal::MetalLight);
    FillRect(body, x + 1, 73, 1, 12, pal::MetalBase);
    FillRect(body, x + 2, 73, 1, 12, pal::MetalShade);
    FillRect(body, x, 77, 3, 4, pal::Ink);
  }
}

Image Body() {
  Image body = MakeImage(BossWidth, BossHeight, KeyColour);
  for (Half half : Halves) {
    SidePod(body, half);
    PodArm(body, half);
  }
  Hull(body);
  EngineDeck(body);
  for (Half half : Halves) {
    Shoulder(body, half);
    FlakTower(body, half);
  }
  Jaw(body);
  Bezel(body);
  Mask(body);
  EyeSockets(body);
  Mouth(body);
  return body;
}

}  // namespace
}  // namespace boss

void DrawBoss(const std::filesystem::path& folder) {
  using namespace boss;
  std::vector<Image> frames{Body()};
  frames.push_back(Flashed(frames[0], FlashBelow));
  for (Image& face : BossFaces()) frames.push_back(std::move(face));
  SaveFrames(frames, folder, "boss", 7);
  DrawBossTurrets(folder);
}

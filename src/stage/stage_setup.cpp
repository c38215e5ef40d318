// Stage set-up, the background map layers and their drivers, the start banner and the start
// wipe.

#include <cmath>
#include <filesystem>
#include <fstream>

#include "game/game_state.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "objects/object_passes.h"
#include "platform/imgui_layer.h"
#include "stage/behaviours.h"
#include "stage/stage.h"

std::array<MapLayer, MapLayerCount> MapLayers;

namespace {

constexpr int32_t ShownRows = 16;
constexpr int32_t ShownColumns = 14;  // the 448-pixel play field
constexpr size_t MapHeaderBytes = 6;

constexpr int32_t StartBannerBehaviour = 10;
constexpr int32_t Stage1BackgroundBehaviour = 12;
constexpr int32_t Stage2BackgroundBehaviour = 47;
constexpr int32_t StartWipeTileBehaviour = 48;
constexpr int32_t StartWipeBehaviour = 49;
constexpr int32_t CoverTileSprite = 437;
constexpr int32_t BannerFrames = 100;

// Nothing gives the second stage a tile image of its own, so it draws from surface 0.
constexpr int16_t Stage2TileSurface = 0;

constexpr const char* Stage1Maps[] = {"dst/Stage01Bridge.map.dat", "dst/Stage01BackGround.map.dat",
                                      "dst/Stage01Renga.map.dat", "dst/Stage01Cloud.map.dat"};
constexpr const char* Stage2Maps[] = {"dst/Stage02BlockUp.map.dat", "dst/Stage02BlockDown.Map.dat",
                                      "dst/Stage02CloudFast.map.dat", "dst/Stage02CloudSlow.map.dat",
                                      "dst/Stage02BlueBack.map.dat"};

int16_t ReadWord(const std::vector<char>& bytes, size_t at) {
  return int16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}

// Reads a whole map file; false when it is too short for what its header says.
bool ParseMap(const std::vector<char>& bytes, MapLayer& layer) {
  if (bytes.size() < MapHeaderBytes) return false;
  int16_t width = ReadWord(bytes, 0), height = ReadWord(bytes, 2);
  if (width <= 0 || height <= 0) return false;
  size_t cells = size_t(width + 1) * size_t(height + 1);
  if (bytes.size() < MapHeaderBytes + 2 * cells) return false;
  layer.width = width;
  layer.height = height;
  layer.cells.resize(cells);
  for (size_t i = 0; i < cells; ++i) layer.cells[i] = ReadWord(bytes, MapHeaderBytes + 2 * i);
  return true;
}

int32_t Wrap(int32_t value, int32_t size) {
  int32_t wrapped = value % size;
  return wrapped < 0 ? wrapped + size : wrapped;
}

void DrawTile(int32_t x, int32_t y, int16_t tile, SDL_Surface* tiles) {
  SourceBox box{int16_t(tile / TilesPerRow * TileSize), int16_t(tile % TilesPerRow * TileSize),
                TileSize, TileSize};
  // Rows that cross the top or bottom edge need clipping; the others are copied as they are.
  if (y < 1 || y >= PlayField.bottom - TileSize)
    DrawPiece(BackBuffer, x, y, tiles, box, 0);
  else
    BlitPiece(BackBuffer, x, y, tiles, box, 0);
}

void LoadStageMaps(int16_t stage) {
  if (stage == 0)
    for (int32_t i = 0; i < 4; ++i)
      LoadMapLayer(ResourceDir + Stage1Maps[i], i, int16_t(StagePartsSurface));
  else
    for (int32_t i = 0; i < 5; ++i) LoadMapLayer(ResourceDir + Stage2Maps[i], i, Stage2TileSurface);
}

int32_t Rounded(double value) { return int32_t(std::nearbyint(value)); }

}  // namespace

void SetupStage(int16_t stage) {
  ShipIndex = CreateObject(TypeShip, QG_MyShip, InsertAtHead, KeepTemplateValue,
                           KeepTemplateValue, KeepTemplateValue, KeepTemplateValue,
                           KeepTemplateValue, KeepTemplate);
  CreateController(StartWipeBehaviour);
  CreateController(StartBannerBehaviour);
  if (stage == 0 || stage == 1) {
    CreateController(stage == 0 ? Stage1BackgroundBehaviour : Stage2BackgroundBehaviour,
                     KeepTemplateValue, KeepTemplateValue, QG_DrawStart, InsertAtHead);
    LoadStageMaps(stage);
  }
  if (stage == 0) {
    LoadStageScript();
    BuildBossPatterns();
  } else if (stage == 2 || stage == 3) {
    Spawn(int16_t(stage == 2 ? 15 : 16), KeepTemplateValue, KeepTemplateValue);
  }
}

void LoadMapLayer(const std::string& fileName, int32_t layerIndex, int16_t tileSurface) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(fileName, error)) {
    ShowMessageBox(fileName + " が見つかりません");
    return;
  }
  // The stage's maps are a few kilobytes; anything this long is not one of them.
  constexpr uintmax_t MaxMapBytes = 16u << 20;
  uintmax_t size = std::filesystem::file_size(fileName, error);
  std::ifstream in(fileName, std::ios::binary);
  std::vector<char> bytes(error || size > MaxMapBytes ? 0 : size_t(size));
  in.read(bytes.data(), std::streamsize(bytes.size()));
  MapLayer& layer = MapLayers[layerIndex];
  if (!in || !ParseMap(bytes, layer)) {
    layer = MapLayer{};  // not drawn
    ShowMessageBox(fileName + " が壊れています");
    return;
  }
  layer.tileSurface = tileSurface;
}

void DrawMapLayer(int32_t layerIndex, int32_t scrollX, int32_t scrollY) {
  const MapLayer& layer = MapLayers[layerIndex];
  if (layer.width <= 0 || layer.height <= 0 || layer.tileSurface < 0 ||
      layer.tileSurface >= SurfaceCount)
    return;
  SDL_Surface* tiles = SurfaceList[layer.tileSurface].surface;
  int32_t columnStart = scrollX / TileSize, rowStart = scrollY / TileSize;
  int32_t xOffset = scrollX % TileSize, yOffset = scrollY % TileSize;
  for (int32_t r = 0; r < ShownRows; ++r) {
    int32_t y = -TileSize - yOffset + TileSize * r;
    int32_t row = Wrap(rowStart + r, layer.height);
    for (int32_t c = 0; c < ShownColumns; ++c) {
      int16_t tile = layer.Cell(Wrap(columnStart + c, layer.width), row);
      if (tile > 0) DrawTile(xOffset + TileSize * c, y, tile, tiles);
    }
  }
}

void Stage1Background(ObjectIndex) {
  int32_t f = FrameCounter;
  if (f > 6100) {
    DrawMapLayer(3, 0, -(f / 4));  // clouds
    DrawMapLayer(2, 0, -(f / 2));  // the citadel's bricks
  }
  if (f < 6900) DrawMapLayer(1, 0, Rounded(f * -0.66 - 512));  // the ground
  if (f < 5000) DrawMapLayer(0, 0, -2 * f);                    // the bridge
}

void Stage2Background(ObjectIndex) {
  int32_t f = FrameCounter;
  if (f < 6120) {
    DrawMapLayer(4, 0, Rounded(-f * 0.8));
    DrawMapLayer(3, 0, Rounded(-f * 3.2));
    DrawMapLayer(2, 0, -4 * f);
  }
  if (f > 6000 && f < 6160) DrawMapLayer(0, 0, (5936 - f) * 8);
  if (f > 6159 && f < 6399) DrawMapLayer(0, 0, (-216 - f % 4) * 8);
  if (f > 6400) DrawMapLayer(1, 0, -4 * f);
  if (f > 6399 && f < 6512) DrawMapLayer(0, 0, (5456 - f) * 8);
}

void StartBanner(ObjectIndex self) {
  if (Age(Obj(self)) >= BannerFrames) {
    Remove(self);
    return;
  }
  DrawTextLarge(150, 100, "STAGE" + NumberText(Stage + 1) + " START");
}

void StartWipe(ObjectIndex self) {
  for (int32_t k = 0; k < 16; ++k)
    for (int32_t x = 0; x <= 448; x += TileSize) {
      ObjectIndex tile = CreateController(StartWipeTileBehaviour, float(x), float(TileSize * k),
                                          KeepTemplate, InsertAtHead);
      if (tile != NoObject) Obj(tile).work1 = float(k);
      DrawSprite(x, TileSize * k, CoverTileSprite);
    }
  Remove(self);
}

void StartWipeTile(ObjectIndex self) {
  GameObject& o = Obj(self);
  int32_t age = Age(o);
  if (age >= 0 && age <= o.work1)
    DrawAt(o.x, o.y, CoverTileSprite);
  else if (age > o.work1 && age <= o.work1 + 16)
    DrawAt(o.x, o.y, CoverTileSprite - 1 + age - int32_t(o.work1));
  else if (age > o.work1 + 16)
    Remove(self);
}

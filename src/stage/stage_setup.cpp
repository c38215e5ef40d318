// Stage set-up, the background map layers and their drivers, the start banner and the start
// wipe.

#include <cmath>

#include "common/frame_clock.h"
#include "common/game_text.h"
#include "common/resource_format.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "platform/imgui_layer.h"
#include "sprite_ids.h"
#include "stage/behaviours.h"
#include "stage/stage.h"
#include "stage/stage_state.h"

namespace {

constexpr int32_t ShownRows = 16;
constexpr int32_t ShownColumns = 14;  // the 448-pixel play field
constexpr int32_t BannerFrames = 100;

// Nothing gives the second stage a tile image of its own, so it draws from surface 0.
constexpr int16_t Stage2TileSurface = 0;

int32_t Wrap(int32_t value, int32_t size) {
  int32_t wrapped = value % size;
  return wrapped < 0 ? wrapped + size : wrapped;
}

void DrawTile(int32_t x, int32_t y, int16_t tile, SDL_Surface* tiles) {
  SourceBox box{int16_t(tile / TilesPerRow * TileSize), int16_t(tile % TilesPerRow * TileSize),
                TileSize, TileSize};
  // Rows that cross the top or bottom edge need clipping; the others are copied as they are.
  if (y < 1 || y >= Play.PlayField.bottom - TileSize)
    DrawPiece(Display.BackBuffer, x, y, tiles, box, 0);
  else
    BlitPiece(Display.BackBuffer, x, y, tiles, box, 0);
}

template <size_t Count>
void LoadMaps(const std::array<const char*, Count>& files, int16_t tileSurface) {
  const std::string folder = Images.ResourceDir + BuiltFolder;
  for (size_t i = 0; i < Count; ++i) LoadMapLayer(folder + files[i], int32_t(i), tileSurface);
}

int32_t Rounded(double value) { return int32_t(std::nearbyint(value)); }

}  // namespace

void SetupStage() {
  const int16_t stage = Game.Stage;
  Play.ShipIndex = CreateObject(TypeShip, QG_MyShip, InsertAtHead, KeepTemplateValue,
                                KeepTemplateValue, KeepTemplateValue, KeepTemplateValue,
                                KeepTemplateValue, KeepTemplate);
  CreateController(BehStartWipe);
  CreateController(BehStartBanner);
  if (stage == 0 || stage == 1) {
    CreateController(stage == 0 ? BehStage1Background : BehStage2Background, KeepTemplateValue,
                     KeepTemplateValue, QG_DrawStart, InsertAtHead);
    if (stage == 0)
      LoadMaps(Stage1MapFiles, int16_t(Images.StagePartsSurface));
    else
      LoadMaps(Stage2MapFiles, Stage2TileSurface);
  }
  if (stage == 0) {
    LoadStageScript();
    BuildBossPatterns();
  } else if (stage == 2 || stage == 3) {
    Spawn(stage == 2 ? TypeStage3Script : TypeStage4Script, KeepTemplateValue, KeepTemplateValue);
  }
}

void LoadMapLayer(const std::string& fileName, int32_t layerIndex, int16_t tileSurface) {
  MapLayer& layer = Play.MapLayers[size_t(layerIndex)];
  try {
    std::vector<uint8_t> bytes = ReadResourceFile(fileName, MaxMapFileBytes);
    static_cast<MapGrid&>(layer) = ParseMapFile(bytes);
    layer.tileSurface = tileSurface;
  } catch (const ResourceFileError& error) {
    ShowMessageBox(error.what());  // a missing file leaves the layer as it was
  } catch (const FormatError& error) {
    layer = MapLayer{};  // not drawn
    ShowMessageBox(TrWith("%s is damaged (%s)", {fileName, error.what()}));
  }
}

void DrawMapLayer(int32_t layerIndex, int32_t scrollX, int32_t scrollY) {
  const MapLayer& layer = Play.MapLayers[size_t(layerIndex)];
  const auto& surfaces = Display.SurfaceList;
  if (layer.width <= 0 || layer.height <= 0 || layer.tileSurface < 0 ||
      size_t(layer.tileSurface) >= surfaces.size())
    return;
  SDL_Surface* tiles = surfaces[size_t(layer.tileSurface)].surface;
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
    DrawMapLayer(MapClouds, 0, -(f / 4));
    DrawMapLayer(MapBricks, 0, -(f / 2));
  }
  if (f < 6900) DrawMapLayer(MapGround, 0, Rounded(f * -0.66 - 512));
  if (f < 5000) DrawMapLayer(MapBridge, 0, -2 * f);
}

void Stage2Background(ObjectIndex) {
  int32_t f = FrameCounter;
  if (f < 6120) {
    DrawMapLayer(MapBlueBack, 0, Rounded(-f * 0.8));
    DrawMapLayer(MapCloudSlow, 0, Rounded(-f * 3.2));
    DrawMapLayer(MapCloudFast, 0, -4 * f);
  }
  if (f > 6000 && f < 6160) DrawMapLayer(MapBlockUp, 0, (5936 - f) * 8);
  if (f > 6159 && f < 6399) DrawMapLayer(MapBlockUp, 0, (-216 - f % 4) * 8);
  if (f > 6400) DrawMapLayer(MapBlockDown, 0, -4 * f);
  if (f > 6399 && f < 6512) DrawMapLayer(MapBlockUp, 0, (5456 - f) * 8);
}

void StartBanner(ObjectIndex self) {
  if (Age(Obj(self)) >= BannerFrames) {
    Remove(self);
    return;
  }
  DrawTextLarge(150, 100, "STAGE" + NumberText(Game.Stage + 1) + " START");
}

void StartWipe(ObjectIndex self) {
  for (int32_t k = 0; k < 16; ++k)
    for (int32_t x = 0; x <= 448; x += TileSize) {
      ObjectIndex tile = CreateController(BehStartWipeTile, float(x), float(TileSize * k),
                                          KeepTemplate, InsertAtHead);
      if (tile != NoObject) Obj(tile).work1 = float(k);
      DrawSprite(x, TileSize * k, Sprite::WipeCovered);
    }
  Remove(self);
}

void StartWipeTile(ObjectIndex self) {
  GameObject& o = Obj(self);
  int32_t age = Age(o);
  // The covered tile, then, one frame of it more, the opening frames that follow it.
  if (age >= 0 && age <= o.work1)
    DrawAt(o.x, o.y, Sprite::WipeCovered);
  else if (age > o.work1 && age <= o.work1 + 16)
    DrawAt(o.x, o.y, Sprite::WipeCovered + (age - int32_t(o.work1) - 1));
  else if (age > o.work1 + 16)
    Remove(self);
}

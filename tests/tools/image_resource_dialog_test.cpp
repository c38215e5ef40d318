// The image resource dialog on the headless display: opened from the window's menu, driven by a
// script in place of a person.
#include "tools/image_resource_dialog.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "common/utility.h"
#include "game/game_state.h"
#include "game/scenes.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "platform/imgui_layer.h"
#include "sprite_ids.h"
#include "support/headless.h"

namespace {

class ImageResourceDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    StartHeadlessDisplay();
    LoadImageResources(BuiltResourceFolder());
    Program = ProgramState{};
  }
  void TearDown() override {
    Imgui.dialogScript = nullptr;
    ReleaseImageResourceDialog();
    StopHeadlessDisplay();
  }

  // The menu's choice, taken as the game takes it: in the frame wait, acted on after the present.
  static void ChooseFromTheMenu() {
    Platform.pendingCommands.push_back(WindowCommand::ImageResourceDialog);
    WaitFrame(Program.FrameMs);
    ShowFrame();
  }

  // Where the sprite's picture differs from DrawSprite at its draw point on a black back
  // buffer; empty when nowhere.
  static std::string DifferenceFromTheGame(int32_t id) {
    const SDL_Surface* picture = ResourceDialog.spritePicture;
    ClearBackBuffer();
    DrawSprite(ResourceDialog.originX, ResourceDialog.originY, id);
    for (int y = 0; y < picture->h; ++y)
      for (int x = 0; x < picture->w; ++x)
        if (PixelAt(ResourceDialog.spritePicture, x, y) != PixelAt(Display.BackBuffer, x, y))
          return "sprite " + std::to_string(id) + " at " + std::to_string(x) + "," +
                 std::to_string(y);
    return "";
  }

  static std::vector<uint8_t> PngBytes(int width, int height) {
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, width, height, 24,
                                                          SDL_PIXELFORMAT_RGB24);
    SDL_FillRect(picture, nullptr, SDL_MapRGB(picture->format, 40, 90, 200));
    std::vector<uint8_t> bytes = SheetBytes(picture);
    SDL_FreeSurface(picture);
    bytes.erase(bytes.begin(), bytes.begin() + SheetPrefixBytes);
    return bytes;
  }
};

TEST_F(ImageResourceDialogTest, FromTheMenuItHoldsTheGameShowsASpriteAndLeavesTheGameAlone) {
  const std::vector<SpriteRecord> sprites = Images.SpriteTable;
  const std::vector<std::string> names = Images.SpriteNames;
  SDL_Surface* gameSheet = Display.SurfaceList[0].surface;
  int frame = 0;
  bool heldEveryFrame = true, drawn = false;
  Imgui.dialogScript = [&] {
    heldEveryFrame = heldEveryFrame && Program.PauseRequested;
    if (frame == 0) LoadBuiltResources();
    if (frame == 1) PreviewSprite(Sprite::BossBody);
    if (frame == 2) drawn = ResourceDialog.spriteTexture != nullptr;
    return ++frame < 3;
  };
  ChooseFromTheMenu();
  EXPECT_EQ(frame, 3);
  EXPECT_TRUE(heldEveryFrame);
  EXPECT_TRUE(drawn) << "the preview was put on the renderer";
  EXPECT_FALSE(Program.PauseRequested) << "released when the dialog closed";
  EXPECT_EQ(ResourceDialog.spriteTexture, nullptr) << "textures go with the dialog";
  EXPECT_EQ(ResourceDialog.message, "");

  ASSERT_NE(ResourceDialog.spritePicture, nullptr);
  const SpriteRecord& boss = Images.SpriteTable[Sprite::BossBody];
  EXPECT_EQ(ResourceDialog.spritePicture->w, boss.Left + boss.Width);
  EXPECT_EQ(ResourceDialog.spritePicture->h, boss.Top + boss.Height);
  EXPECT_EQ(DifferenceFromTheGame(Sprite::BossBody), "");

  EXPECT_EQ(Images.SpriteTable, sprites);
  EXPECT_EQ(Images.SpriteNames, names);
  EXPECT_EQ(Display.SurfaceList.size(), 2u);
  EXPECT_EQ(Display.SurfaceList[0].surface, gameSheet);
}

// Every sprite that fits the back buffer, boxes before their draw point included: those are
// widened to hold their pieces.
TEST_F(ImageResourceDialogTest, EverySpriteIsAssembledAsTheGameDrawsIt) {
  LoadBuiltResources();
  ASSERT_EQ(ResourceDialog.message, "");
  ASSERT_EQ(ResourceDialog.index.names.size(), Images.SpriteNames.size());
  int compared = 0, tooLarge = 0, beforeTheDrawPoint = 0;
  for (int32_t id = 0; id < int32_t(Images.SpriteTable.size()); ++id) {
    PreviewSprite(id);
    ASSERT_EQ(ResourceDialog.selected, id);
    const SpriteRecord& sprite = Images.SpriteTable[size_t(id)];
    const SDL_Surface* picture = ResourceDialog.spritePicture;
    if (sprite.Width < 1) {
      EXPECT_EQ(picture->w, Images.PageHeight) << id;
      EXPECT_EQ(picture->h, Images.PageHeight) << id;
      continue;
    }
    beforeTheDrawPoint += sprite.Left < 0 || sprite.Top < 0;
    EXPECT_GE(picture->w, sprite.Width) << id;
    EXPECT_GE(picture->h, sprite.Height) << id;
    if (picture->w > Display.BackBuffer->w || picture->h > Display.BackBuffer->h) {
      ++tooLarge;
      continue;
    }
    ++compared;
    EXPECT_EQ(DifferenceFromTheGame(id), "");
  }
  EXPECT_GT(compared, 600);
  EXPECT_EQ(tooLarge, 0);
  EXPECT_GT(beforeTheDrawPoint, 0);
  PreviewSprite(int32_t(Images.SpriteTable.size()));  // beyond the table: nothing changes
  EXPECT_EQ(ResourceDialog.selected, int32_t(Images.SpriteTable.size()) - 1);
}

TEST_F(ImageResourceDialogTest, SourceImagesStepInListingOrderWithTheirFrameGrids) {
  const std::filesystem::path folder = ScratchFolder();
  const std::filesystem::path images = folder / "src" / "img";
  std::filesystem::create_directories(images);
  WriteFile(images / "a.PNG", PngBytes(8, 4));
  WriteFile(images / "b.png", PngBytes(16, 8));
  WriteFile(images / "b.ini", {'4', '\r', '\n', '2', '\r', '\n'});
  WriteFile(images / "c.bmp", PngBytes(2, 2));
  WriteFile(images / "d.png", {0x89, 'P', 'N', 'G', 1, 2, 3});
  WriteFile(images / "e.ini", {'3'});
  Images.ResourceDir = folder.string() + "/";

  std::vector<std::string> seen;
  for (int step = 0; step < 4; ++step) {
    StepSourceImage();
    const SourceImage& source = ResourceDialog.sources[size_t(ResourceDialog.sourceShown)];
    const SDL_Surface* picture = ResourceDialog.sourcePicture;
    seen.push_back(GetFileName(source.path) + " " + std::to_string(source.columns) + "x" +
                   std::to_string(source.rows) + " " +
                   (picture ? std::to_string(picture->w) : "none"));
    if (step == 2) {
      EXPECT_NE(ResourceDialog.message.find("d.png"), std::string::npos)
          << ResourceDialog.message;
    } else {
      EXPECT_EQ(ResourceDialog.message, "");
    }
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"a.PNG 1x1 8", "b.png 4x2 16", "d.png 1x1 none",
                                            "a.PNG 1x1 8"}));

  // The built resources are not there: a message, and the list stays empty.
  LoadBuiltResources();
  EXPECT_NE(ResourceDialog.message.find("out.dat"), std::string::npos) << ResourceDialog.message;
  PreviewSprite(1);
  EXPECT_EQ(ResourceDialog.spritePicture, nullptr);

  // Files gone since the listing say so; the next round finds none.
  std::filesystem::remove_all(images);
  StepSourceImage();
  EXPECT_NE(ResourceDialog.message.find("b.png"), std::string::npos) << ResourceDialog.message;
  StepSourceImage();
  StepSourceImage();
  EXPECT_NE(ResourceDialog.message.find("src/img/"), std::string::npos) << ResourceDialog.message;
  EXPECT_EQ(ResourceDialog.sourceShown, -1);
  EXPECT_EQ(ResourceDialog.sourcePicture, nullptr);
}

TEST(FrameGridTest, OnlyWholeNumbersFromOneCount) {
  const std::filesystem::path folder = ScratchFolder();
  const std::vector<std::pair<std::string, std::pair<int32_t, int32_t>>> cases = {
      {"7\n3\n", {7, 3}},    {" 12 \r\n2", {12, 2}}, {"5", {5, 1}},     {"", {1, 1}},
      {"0\n-2\n", {1, 1}},   {"3x\n2.5\n", {1, 1}},  {"4096\n4097", {4096, 1}},
      {"99999999999\n8", {1, 8}},
  };
  int n = 0;
  for (const auto& [text, grid] : cases) {
    const std::filesystem::path image = folder / ("grid" + std::to_string(n++) + ".png");
    WriteFile(image.parent_path() / (image.stem().string() + ".ini"),
              std::vector<uint8_t>(text.begin(), text.end()));
    const SourceImage source = ReadFrameGrid(image.string());
    EXPECT_EQ(std::pair(source.columns, source.rows), grid) << text;
  }
  EXPECT_EQ(ReadFrameGrid((folder / "alone.png").string()).columns, 1);
}

}  // namespace

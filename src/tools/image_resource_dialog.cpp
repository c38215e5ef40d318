#include "tools/image_resource_dialog.h"

#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <charconv>
#include <fstream>

#include "common/game_text.h"
#include "common/utility.h"
#include "graphics/display.h"
#include "graphics/image_file.h"
#include "graphics/image_resource.h"
#include "platform/imgui_layer.h"
#include "platform/platform.h"

ImageResourceDialogState ResourceDialog;

namespace {

constexpr int32_t LargestFrameCount = 4096;
constexpr int32_t LargestPreviewScale = 8;
constexpr float SpriteListWidth = 230;

// A whole number from 1 to LargestFrameCount, else 1.
int32_t FrameCount(const std::string& line) {
  const size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos) return 1;
  int32_t value = 0;
  const auto [end, error] = std::from_chars(line.data() + start, line.data() + line.size(), value);
  if (error != std::errc() || value < 1 || value > LargestFrameCount) return 1;
  return std::string_view(end, size_t(line.data() + line.size() - end))
                     .find_first_not_of(" \t\r") == std::string_view::npos
             ? value
             : 1;
}

void DropTexture(SDL_Texture*& texture) {
  if (texture) SDL_DestroyTexture(texture);
  texture = nullptr;
}

void ReplacePicture(SDL_Surface*& picture, SDL_Texture*& texture, SDL_Surface* replacement) {
  SDL_FreeSurface(picture);
  picture = replacement;
  DropTexture(texture);
}

SDL_Surface* BlackPicture(int32_t width, int32_t height) {
  SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, width, height, 16, DisplayPixelFormat);
  if (picture) SDL_FillRect(picture, nullptr, 0);
  return picture;
}

// The span of a box side from the draw point: it covers the box, and the draw point when the
// box lies after it, so that a box starting at 0 or later is placed as the game places it.
void CanvasSpan(int32_t boxStart, int32_t boxSize, int32_t& origin, int32_t& size) {
  const int32_t start = std::min(0, boxStart);
  origin = -start;
  size = std::max(boxStart + boxSize, 0) - start;
}

void AssemblePieces(const SpriteRecord& sprite) {
  const ResourceIndex& index = ResourceDialog.index;
  for (int32_t i = sprite.FirstPiece; i > 0; i = index.pieces[size_t(i)].Next) {
    const PieceRecord& piece = index.pieces[size_t(i)];
    SDL_Rect from{piece.SrcX, PageTop(piece.Page, piece.SrcY, index.pageHeight), piece.Width,
                  piece.Height};
    SDL_Rect to{ResourceDialog.originX + piece.OffsetX, ResourceDialog.originY + piece.OffsetY, 0,
                0};
    SDL_BlitSurface(ResourceDialog.sheet, &from, ResourceDialog.spritePicture, &to);
  }
}

SDL_Texture* TextureOf(SDL_Surface* picture, SDL_Texture*& texture) {
  if (!texture && picture && Imgui.renderer)
    texture = SDL_CreateTextureFromSurface(Imgui.renderer, picture);
  return texture;
}

void ImageOf(SDL_Surface* picture, SDL_Texture*& texture, float scale) {
  if (SDL_Texture* shown = TextureOf(picture, texture))
    ImGui::Image(static_cast<ImTextureID>(shown), ImVec2(picture->w * scale, picture->h * scale));
}

void DrawFrameGrid(ImVec2 at, const SourceImage& source, const SDL_Surface* picture) {
  ImDrawList* draw = ImGui::GetWindowDrawList();
  const ImU32 colour = IM_COL32(255, 255, 0, 160);
  for (int32_t c = 1; c < source.columns; ++c) {
    const float x = at.x + float(picture->w) * float(c) / float(source.columns);
    draw->AddLine(ImVec2(x, at.y), ImVec2(x, at.y + float(picture->h)), colour);
  }
  for (int32_t r = 1; r < source.rows; ++r) {
    const float y = at.y + float(picture->h) * float(r) / float(source.rows);
    draw->AddLine(ImVec2(at.x, y), ImVec2(at.x + float(picture->w), y), colour);
  }
}

// Chooses the sprite and brings it into the list's view.
void ChooseFromKeys(int32_t id, int32_t count) {
  PreviewSprite(std::clamp(id, 0, count - 1));
  ImGui::SetScrollY(float(ResourceDialog.selected) * ImGui::GetTextLineHeightWithSpacing() -
                    ImGui::GetWindowHeight() / 2);
}

void DrawSpriteList() {
  const std::vector<std::string>& names = ResourceDialog.index.names;
  const int32_t count = ResourceDialog.sheet ? int32_t(names.size()) : 0;
  ImGui::BeginChild("sprites", ImVec2(SpriteListWidth, 0), true);
  int32_t typed = std::max(ResourceDialog.selected, 0);
  ImGui::SetNextItemWidth(-1);
  const bool jump = count > 0 && ImGui::InputInt("##id", &typed, 1, 100,
                                                 ImGuiInputTextFlags_EnterReturnsTrue);
  ImGui::BeginChild("names");
  if (jump) ChooseFromKeys(typed, count);
  if (ImGui::IsWindowFocused() && count > 0) {
    if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_DownArrow)))
      ChooseFromKeys(ResourceDialog.selected + 1, count);
    if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_UpArrow)))
      ChooseFromKeys(ResourceDialog.selected - 1, count);
  }
  ImGuiListClipper clipper;
  clipper.Begin(count);
  while (clipper.Step())
    for (int32_t id = clipper.DisplayStart; id < clipper.DisplayEnd; ++id) {
      const std::string label = std::to_string(id) + " " + names[size_t(id)];
      if (ImGui::Selectable(label.c_str(), id == ResourceDialog.selected)) PreviewSprite(id);
    }
  ImGui::EndChild();
  ImGui::EndChild();
}

void DrawPreview(float height) {
  ImGui::BeginChild("preview", ImVec2(0, height), true);
  if (SDL_Surface* picture = ResourceDialog.spritePicture) {
    const SpriteRecord& sprite = ResourceDialog.index.sprites[size_t(ResourceDialog.selected)];
    ImGui::Text(Tr("%d %s  %dx%d at (%d, %d)"), ResourceDialog.selected,
                ResourceDialog.index.names[size_t(ResourceDialog.selected)].c_str(), sprite.Width,
                sprite.Height, sprite.Left, sprite.Top);
    const ImVec2 room = ImGui::GetContentRegionAvail();
    const int32_t fit = int32_t(std::min(room.x / float(std::max(picture->w, 1)),
                                         room.y / float(std::max(picture->h, 1))));
    ImageOf(picture, ResourceDialog.spriteTexture, float(std::clamp(fit, 1, LargestPreviewScale)));
  }
  ImGui::EndChild();
}

void DrawSourcePicture() {
  ImGui::BeginChild("picture", ImVec2(0, 0), true, ImGuiWindowFlags_HorizontalScrollbar);
  const int32_t shown = ResourceDialog.sourceShown;
  if (SDL_Surface* picture = ResourceDialog.sourcePicture; picture && shown >= 0) {
    const SourceImage& source = ResourceDialog.sources[size_t(shown)];
    ImGui::Text(Tr("%s  %dx%d, %d x %d frames"), GetFileName(source.path).c_str(), picture->w,
                picture->h, source.columns, source.rows);
    const ImVec2 at = ImGui::GetCursorScreenPos();
    ImageOf(picture, ResourceDialog.sourceTexture, 1);
    DrawFrameGrid(at, source, picture);
  } else if (SDL_Surface* sheet = ResourceDialog.sheet; sheet && shown < 0) {
    ImGui::Text("%s%s  %dx%d", BuiltFolder, SheetFileName, sheet->w, sheet->h);
    ImageOf(sheet, ResourceDialog.sheetTexture, 1);
  }
  ImGui::EndChild();
}

bool DrawDialog() {
  // Below the window's menu bar, which the present adds to every frame.
  const ImGuiViewport* view = ImGui::GetMainViewport();
  constexpr float Margin = 8;
  const float top = float(WindowMenuHeight) + Margin;
  ImGui::SetNextWindowPos(ImVec2(view->Pos.x + Margin, view->Pos.y + top));
  ImGui::SetNextWindowSize(ImVec2(view->Size.x - 2 * Margin, view->Size.y - top - Margin));
  bool open = true;
  ImGui::Begin("ImageResource", &open,
               ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoMove |
                   ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings);
  if (ImGui::Button(Tr("Source images"))) StepSourceImage();
  ImGui::SameLine();
  if (ImGui::Button(Tr("Load built resources"))) LoadBuiltResources();
  if (!ResourceDialog.message.empty())
    ImGui::TextColored(ImVec4(1, 0.4f, 0.4f, 1), "%s", ResourceDialog.message.c_str());
  DrawSpriteList();
  ImGui::SameLine();
  ImGui::BeginGroup();
  DrawPreview(ImGui::GetContentRegionAvail().y / 2);
  DrawSourcePicture();
  ImGui::EndGroup();
  if (EscapeReleased()) open = false;
  ImGui::End();
  return open;
}

}  // namespace

SourceImage ReadFrameGrid(const std::string& imagePath) {
  SourceImage source{imagePath};
  std::ifstream in(StripExtension(imagePath) + ".ini");
  std::string line;
  if (std::getline(in, line)) source.columns = FrameCount(line);
  if (std::getline(in, line)) source.rows = FrameCount(line);
  return source;
}

void StepSourceImage() {
  ResourceDialog.message.clear();
  auto& sources = ResourceDialog.sources;
  const int32_t next = ResourceDialog.sourceShown + 1;
  if (sources.empty() || next >= int32_t(sources.size())) {
    // Listed afresh at each round, so that a rebuild shows.
    const std::string folder = Images.ResourceDir + SourceImageFolder;
    std::vector<std::string> files(1);
    int32_t count = 0;
    ListFiles(folder + "*.*", files, false, count);
    sources.clear();
    for (int32_t i = 1; i <= count; ++i)
      if (!MatchExtension(files[size_t(i)], "png").empty())
        sources.push_back(ReadFrameGrid(files[size_t(i)]));
    if (sources.empty()) {
      ResourceDialog.sourceShown = -1;
      ReplacePicture(ResourceDialog.sourcePicture, ResourceDialog.sourceTexture, nullptr);
      ResourceDialog.message = TrWith("%s has no PNG images", {folder});
      return;
    }
  }
  ResourceDialog.sourceShown = next < int32_t(sources.size()) ? next : 0;
  const SourceImage& source = sources[size_t(ResourceDialog.sourceShown)];
  try {
    ReplacePicture(ResourceDialog.sourcePicture, ResourceDialog.sourceTexture,
                   LoadImageSurface(source.path, false));
  } catch (const DisplayError& error) {
    ReplacePicture(ResourceDialog.sourcePicture, ResourceDialog.sourceTexture, nullptr);
    ResourceDialog.message = error.what();
  }
}

void LoadBuiltResources() {
  const std::string folder = Images.ResourceDir + BuiltFolder;
  try {
    ResourceIndex index = LoadResourceIndex(folder + IndexFileName);
    SDL_Surface* sheet = LoadImageSurface(folder + SheetFileName, true);
    ReplacePicture(ResourceDialog.sheet, ResourceDialog.sheetTexture, sheet);
    ResourceDialog.index = std::move(index);
  } catch (const std::runtime_error& error) {  // ResourceError or DisplayError
    ResourceDialog.message = error.what();
    return;
  }
  ResourceDialog.message.clear();
  ResourceDialog.sourceShown = -1;
  ResourceDialog.selected = -1;
  ReplacePicture(ResourceDialog.spritePicture, ResourceDialog.spriteTexture, nullptr);
}

void PreviewSprite(int32_t id) {
  const ResourceIndex& index = ResourceDialog.index;
  if (!ResourceDialog.sheet || id < 0 || size_t(id) >= index.sprites.size()) return;
  const SpriteRecord& sprite = index.sprites[size_t(id)];
  int32_t width = index.pageHeight, height = index.pageHeight;
  ResourceDialog.originX = ResourceDialog.originY = 0;
  if (sprite.Width >= 1) {
    CanvasSpan(sprite.Left, sprite.Width, ResourceDialog.originX, width);
    CanvasSpan(sprite.Top, sprite.Height, ResourceDialog.originY, height);
  }
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (int64_t(width) * height > MaxSheetPixels) {
    ResourceDialog.message =
        TrWith("%s is too large to show", {ResourceDialog.index.names[size_t(id)]});
    return;
  }
  ResourceDialog.message.clear();
  ResourceDialog.selected = id;
  ReplacePicture(ResourceDialog.spritePicture, ResourceDialog.spriteTexture,
                 BlackPicture(width, height));
  if (sprite.Width >= 1 && ResourceDialog.spritePicture) AssemblePieces(sprite);
}

void ShowImageResourceDialog() {
  RunModalDialog(DrawDialog);
  // Textures belong to the renderer, which a mode switch replaces; the pictures stay.
  DropTexture(ResourceDialog.sourceTexture);
  DropTexture(ResourceDialog.sheetTexture);
  DropTexture(ResourceDialog.spriteTexture);
}

void ReleaseImageResourceDialog() {
  ReplacePicture(ResourceDialog.sourcePicture, ResourceDialog.sourceTexture, nullptr);
  ReplacePicture(ResourceDialog.sheet, ResourceDialog.sheetTexture, nullptr);
  ReplacePicture(ResourceDialog.spritePicture, ResourceDialog.spriteTexture, nullptr);
  ResourceDialog = ImageResourceDialogState{};
}

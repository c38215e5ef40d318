// The developer's look at the sprite resources, opened from the window's "design" menu: the
// resource builder's source images with their frame grids, and any sprite of the built index and
// sheet assembled from its pieces. It reads files only, into tables and pictures of its own, so
// the game's resources are as they were when it closes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/resource_format.h"

struct SDL_Surface;
struct SDL_Texture;

// A source image and the frame grid of its ".ini" companion (1 by 1 without one).
struct SourceImage {
  std::string path;
  int32_t columns = 1;
  int32_t rows = 1;
};

struct ImageResourceDialogState {
  std::vector<SourceImage> sources;  // the png files of the source folder, in listing order
  int32_t sourceShown = -1;          // in sources; -1 while the sheet is on show
  SDL_Surface* sourcePicture = nullptr;  // sources[sourceShown]
  ResourceIndex index;               // the built index as the dialog read it
  SDL_Surface* sheet = nullptr;      // the built sheet; with it, index is loaded
  SDL_Surface* spritePicture = nullptr;  // the chosen sprite on black
  int32_t selected = -1;             // the sprite in spritePicture
  int32_t originX = 0, originY = 0;  // the sprite's draw point in spritePicture
  std::string message;               // what went wrong last
  // The pictures on the renderer, made again whenever a picture changes; only while open.
  SDL_Texture* sourceTexture = nullptr;
  SDL_Texture* sheetTexture = nullptr;
  SDL_Texture* spriteTexture = nullptr;
};
extern ImageResourceDialogState ResourceDialog;

// Shows the dialog until the person closes it. The dialog keeps what it showed for next time.
void ShowImageResourceDialog();
// Frees the dialog's pictures; at shutdown.
void ReleaseImageResourceDialog();

// ---- what the dialog's buttons and list do ----

// Shows the next source image of the resource folder's "src/img/", starting over after the last.
void StepSourceImage();
// Reads the built index and sheet of the resource folder and lists their sprites.
void LoadBuiltResources();
// Assembles sprite `id` from the sheet's pieces into spritePicture, later pieces over earlier
// ones; a sprite without pieces gives an empty square of the page height.
void PreviewSprite(int32_t id);

// The frame grid of a source image's companion: its first line is the columns, its second the
// rows. A missing file, or a line that is no whole number from 1 up, gives 1.
SourceImage ReadFrameGrid(const std::string& imagePath);

// The resource files that the resource builder writes and the game reads: the resource index
// (out.dat), the sheet files (a fixed prefix, then PNG data) and the background map layers
// (.map.dat). Both sides take every layout, limit and file name from here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// Bytes that break a layout; the text says what is wrong (the caller names the file).
struct FormatError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A resource file that is missing, a folder, too long or unreadable; the text names it.
struct ResourceFileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The whole of a resource file of at most maxBytes.
std::vector<uint8_t> ReadResourceFile(const std::string& path, size_t maxBytes);

// ---- where the files are, relative to the resource folder ----

constexpr const char* BuiltFolder = "dst/";  // what the builder writes and the game loads
constexpr const char* IndexFileName = "out.dat";
constexpr const char* SheetFileName = "sheet000.png";
constexpr const char* StagePartsFileName = "Stage01.parts.png";
// The images the builder packs, each with an optional ".ini" of its frame columns and rows.
constexpr const char* SourceImageFolder = "src/img/";

// ---- the resource index, out.dat ----
//
// Little-endian, no padding: the highest sprite id (int16), the highest piece index (int16),
// one reserved int16 per sprite (zero), the piece records, the sprite records, the page
// height (int16), then one name per sprite as an int16 length and that many bytes.
// Piece 0 and sprite 0 are empty placeholders; a chain of pieces ends at piece 0.

struct PieceRecord {
  int16_t SrcY = 0, SrcX = 0;          // top-left on its page of the sheet
  int16_t Width = 0, Height = 0;
  int16_t OffsetX = 0, OffsetY = 0;    // from the sprite's draw point
  int32_t Next = 0;                    // the next piece of the sprite; 0 ends the chain
  int16_t Surface = 0, Page = 0;       // which sheet surface, and which page of it
};
constexpr size_t PieceRecordBytes = 20;

struct SpriteRecord {
  int32_t FirstPiece = 0;              // 0 or less: nothing to draw
  int16_t Left = 0, Top = 0;           // the bounding box, from the draw point
  int16_t Width = 0, Height = 0;
  bool operator==(const SpriteRecord&) const = default;
};
constexpr size_t SpriteRecordBytes = 12;

struct ResourceIndex {
  std::vector<SpriteRecord> sprites;  // by id, from 0
  std::vector<PieceRecord> pieces;    // by index, from 0
  std::vector<std::string> names;     // one per sprite
  int16_t pageHeight = 0;
};

// No real index comes near this; a longer file is damaged and is not read.
constexpr size_t MaxIndexFileBytes = 16u << 20;

// Every count, link and field is checked: a chain that leaves the table or loops, a negative
// size or a text that runs past the end is a FormatError.
ResourceIndex ParseResourceIndex(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> EncodeResourceIndex(const ResourceIndex& index);

// ---- sheet files ----
//
// A sheet is a PNG picture after a prefix the game skips. Its pages, PageHeight rows each,
// are stacked down the picture; the top-left pixel's colour is transparent.

constexpr size_t SheetPrefixBytes = 762;
constexpr int SheetWidth = 1024;
constexpr int PageHeight = 512;
// Page arithmetic is 16-bit: no sheet may be taller.
constexpr int MaxSheetHeight = 32767;
// Larger sheets are refused before decoding: a few times the largest the game ships with, so
// that a damaged header cannot make the decoder ask for gigabytes.
constexpr size_t MaxSheetFileBytes = 8u << 20;
constexpr int64_t MaxSheetPixels = int64_t(4) << 20;

// The prefix as the builder writes it: a tag, then zeros.
std::vector<uint8_t> SheetPrefix();

// The picture size a PNG's header gives; false when the bytes are not a PNG.
bool PngSize(const uint8_t* data, size_t size, uint32_t& width, uint32_t& height);

// ---- background map layers, .map.dat ----
//
// Little-endian int16 values: width, height, a zero, then (width + 1) x (height + 1) tile
// numbers row by row. Only width x height cells are shown: the builder repeats the first
// column after the last and the first row after the last.

struct MapGrid {
  int16_t width = 0, height = 0;
  std::vector<int16_t> cells;  // (width + 1) x (height + 1)

  int16_t Cell(int32_t column, int32_t row) const {
    return cells[size_t(row) * size_t(width + 1) + size_t(column)];
  }
};
constexpr size_t MapHeaderBytes = 6;
constexpr size_t MaxMapFileBytes = 16u << 20;

// Width and height must be positive and the file long enough for them.
MapGrid ParseMapFile(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> EncodeMapFile(const MapGrid& grid);

// The layers of each stage, by layer number.
enum Stage1Layer { MapBridge, MapGround, MapBricks, MapClouds, Stage1LayerCount };
constexpr std::array<const char*, Stage1LayerCount> Stage1MapFiles = {
    "Stage01Bridge.map.dat", "Stage01BackGround.map.dat", "Stage01Renga.map.dat",
    "Stage01Cloud.map.dat"};

enum Stage2Layer { MapBlockUp, MapBlockDown, MapCloudFast, MapCloudSlow, MapBlueBack,
                   Stage2LayerCount };
constexpr std::array<const char*, Stage2LayerCount> Stage2MapFiles = {
    "Stage02BlockUp.map.dat", "Stage02BlockDown.Map.dat", "Stage02CloudFast.map.dat",
    "Stage02CloudSlow.map.dat", "Stage02BlueBack.map.dat"};

// ---- sound ----

// The sound effects by effect number, in the built folder.
constexpr std::array<const char*, 22> SoundEffectFiles = {
    "SE/sndBariaHit.mp3",  "SE/sndBurst01.mp3",   "SE/sndBurst02.mp3",    "SE/sndBurst03.mp3",
    "SE/sndContinue.mp3",  "SE/sndVeldrane.mp3",  "SE/sndFanfare.mp3",    "SE/sndGameOver.mp3",
    "SE/sndGameOver2.mp3", "SE/sndGameStart.mp3", "SE/sndHiScore.mp3",    "SE/sndHit.mp3",
    "SE/sndMiss.mp3",      "SE/sndNameEntry.mp3", "SE/sndNo.mp3",         "SE/sndOption.mp3",
    "SE/sndPause2.mp3",    "SE/sndQuit.mp3",      "SE/sndRot.mp3",        "SE/sndShot.mp3",
    "SE/sndStage1.mp3",    "SE/sndYes.mp3"};

// The music the game ships with, for a player who has chosen no folder of their own: mp3
// files whose sorted order is the order of the music slots (the stage's track, then the
// boss's).
constexpr const char* ShippedMusicFolder = "bgm/";

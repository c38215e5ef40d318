// Inputs that broke the loaders under the fuzz targets (fuzz/), fed through them as they were
// found. The small ones are also in fuzz/corpus/<target>/, so the fuzz smoke run replays them.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/resource_format.h"
#include "graphics/image_file.h"

namespace {

// A 2x2 RGB PNG, the fuzzer's seed: signature, IHDR, IDAT, IEND.
const std::vector<uint8_t> TinyPng = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d,
    0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02,
    0x08, 0x02, 0x00, 0x00, 0x00, 0xfd, 0xd4, 0x9a, 0x73, 0x00, 0x00, 0x00,
    0x12, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0xcf, 0xf0, 0xff,
    0x3f, 0x03, 0x10, 0x80, 0x88, 0xff, 0x00, 0x27, 0xe6, 0x04, 0xfc, 0xb4,
    0xd9, 0x0f, 0xc6, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae,
    0x42, 0x60, 0x82};
constexpr size_t TinyPngIdat = 33, TinyPngIend = 63;

// What DecodeImageFile makes of the bytes: "<width>x<height>" or the reason it refused them.
// A decoder that loops on them ends the test program rather than stalling the run.
std::string Decode(const std::vector<uint8_t>& bytes, bool sheet) {
  alarm(30);
  std::string problem;
  SDL_Surface* surface = DecodeImageFile(bytes, sheet, problem);
  alarm(0);
  if (!surface) return problem;
  const std::string size = std::to_string(surface->w) + "x" + std::to_string(surface->h);
  SDL_FreeSurface(surface);
  return size;
}

// An 8-bit paletted BMP, all pixels colour 0: small enough for a side of MaxSheetPixels.
std::vector<uint8_t> Bmp8(int32_t width, int32_t height) {
  const uint32_t stride = (uint32_t(width) + 3) & ~3u, palette = 256 * 4;
  const uint32_t offset = 14 + 40 + palette, fileSize = offset + stride * uint32_t(height);
  std::vector<uint8_t> bytes(fileSize, 0);
  auto put32 = [&](size_t at, uint32_t value) { std::memcpy(&bytes[at], &value, 4); };
  auto put16 = [&](size_t at, uint16_t value) { std::memcpy(&bytes[at], &value, 2); };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, fileSize);
  put32(10, offset);
  put32(14, 40);
  put32(18, uint32_t(width));
  put32(22, uint32_t(height));
  put16(26, 1);  // planes
  put16(28, 8);  // bits per pixel
  put32(34, stride * uint32_t(height));
  put32(46, 256);  // colours used
  return bytes;
}

}  // namespace

// A PNG header of 0xFFFFFFFF x 0xFFFFFFFF: the product of the sides overflowed int64 and came
// out negative, so the size check passed it to the decoder. The fuzz input's first byte (0)
// chose a plain picture; these are the bytes after it.
TEST(FormatRegressions, PngWhoseSidesMultiplyPastInt64IsRefusedBySize) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0};
  png.insert(png.end(), 106, 0xff);
  const uint8_t tail[] = {0x00, 0x00, 0x00, 0x10, 0x00, 0x08, 0x02, 0x00, 0x00, 0x00, 0x7d,
                          0xfd, 0xff, 0xff, 0xb6, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
  png.insert(png.end(), std::begin(tail), std::end(tail));
  ASSERT_EQ(png.size(), 137u);
  EXPECT_EQ(Decode(png, false), "画像の大きさが不正です");

  std::vector<uint8_t> sheet = SheetPrefix();
  sheet.insert(sheet.end(), png.begin(), png.end());
  EXPECT_EQ(Decode(sheet, true), "画像の大きさが不正です");
}

// The IDAT header overwritten by a gAMA chunk of 18753 bytes, with 40 left. SDL_image read on
// past the end of the data and libpng looped on that chunk for good: the game would hang on
// such a sheet. The fuzz input's first byte (0) chose a plain picture.
TEST(FormatRegressions, PngWhoseChunkRunsPastTheEndIsRefused) {
  const std::vector<uint8_t> png = {
      0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d,
      0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02,
      0x08, 0x02, 0x00, 0x00, 0x00, 0xfd, 0xd4, 0x9a, 0x73, 0x00, 0x00, 0x49,
      0x41, 0x67, 0x41, 0x4d, 0x41, 0x12, 0x00, 0x44, 0x54, 0x78, 0x9c, 0x63,
      0xf8, 0xcf, 0xf0, 0xff, 0x3f, 0x03, 0x10, 0x80, 0x88, 0xff, 0x00, 0x27,
      0xe6, 0x04, 0xfc, 0xb4, 0xd9, 0x0f, 0xc6, 0x00, 0x00, 0x00, 0x00, 0x49,
      0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
  EXPECT_EQ(Decode(png, false), "PNG データが途中で切れています");

  std::vector<uint8_t> sheet = SheetPrefix();
  sheet.insert(sheet.end(), png.begin(), png.end());
  EXPECT_EQ(Decode(sheet, true), "PNG データが途中で切れています");

  // Data that ends right after a whole ancillary chunk loops the same way.
  std::vector<uint8_t> endsAfterText(TinyPng.begin(), TinyPng.begin() + TinyPngIdat);
  const uint8_t text[] = {0x00, 0x00, 0x00, 0x03, 't', 'E', 'X', 't', 'a', 0x00, 'b',
                          0xdc, 0x49, 0xa2, 0x3b};
  endsAfterText.insert(endsAfterText.end(), std::begin(text), std::end(text));
  EXPECT_EQ(Decode(endsAfterText, false), "PNG データが途中で切れています");
}

// Only the chunks up to IEND are looked at: bytes after it are ignored as before.
TEST(FormatRegressions, PngChunksAreCheckedUpToIend) {
  EXPECT_EQ(Decode(TinyPng, false), "2x2");
  std::vector<uint8_t> trailing = TinyPng;
  trailing.insert(trailing.end(), {'j', 'u', 'n', 'k'});
  EXPECT_EQ(Decode(trailing, false), "2x2");
  const std::vector<uint8_t> noEnd(TinyPng.begin(), TinyPng.begin() + TinyPngIend);
  EXPECT_EQ(Decode(noEnd, false), "PNG データが途中で切れています");
}

// Bounding each side before multiplying must not refuse a picture the product allows.
TEST(FormatRegressions, ASideAsLongAsThePixelLimitStillDecodes) {
  EXPECT_EQ(Decode(Bmp8(int32_t(MaxSheetPixels), 1), false),
            std::to_string(MaxSheetPixels) + "x1");
  EXPECT_EQ(Decode(Bmp8(int32_t(MaxSheetPixels) + 1, 1), false), "画像の大きさが不正です");
}

// 32768 sprites all starting on one chain through 32767 pieces: a good index, but checking it
// walked every chain in full, a billion steps (2.4 s optimised, past the fuzz target's 10 s
// limit). At 1.2 MB it is too big for the fuzz corpus.
TEST(FormatRegressions, SpritesSharingOneLongChainAreCheckedQuickly) {
  ResourceIndex index;
  index.pieces.resize(32768);
  for (size_t i = 1; i < index.pieces.size(); ++i) {
    PieceRecord& piece = index.pieces[i];
    piece.Width = piece.Height = 1;
    piece.Next = int32_t((i + 1) % index.pieces.size());
  }
  index.sprites.assign(32768, SpriteRecord{1, 0, 0, 1, 1});
  index.sprites[0] = SpriteRecord{};
  index.names.resize(index.sprites.size());
  index.pageHeight = 512;
  const std::vector<uint8_t> bytes = EncodeResourceIndex(index);
  ASSERT_EQ(bytes.size(), 1179654u);

  const auto start = std::chrono::steady_clock::now();
  const ResourceIndex parsed = ParseResourceIndex(bytes);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(parsed.sprites.size(), 32768u);
  EXPECT_EQ(parsed.pieces.size(), 32768u);
  EXPECT_EQ(parsed.pieces[32767].Next, 0);
  EXPECT_LT(took.count(), 1.0);  // linear: milliseconds, even with sanitizers

  // A loop at the far end of the shared chain is still found.
  index.pieces[32767].Next = 2;
  try {
    ParseResourceIndex(EncodeResourceIndex(index));
    ADD_FAILURE() << "a looping chain was accepted";
  } catch (const FormatError& error) {
    EXPECT_STREQ(error.what(), "ピースの連結が循環しています");
  }
}

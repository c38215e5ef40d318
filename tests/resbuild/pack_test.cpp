#include <gtest/gtest.h>

#include "pack.h"

namespace {

// Checks bounds, gaps and the reserved first row and column of every page.
void ExpectValidLayout(const std::vector<Size>& sizes, const PackResult& packed, int sheetWidth,
                       int pageHeight) {
  ASSERT_EQ(packed.placements.size(), sizes.size());
  int lastPage = 0;
  for (size_t i = 0; i < sizes.size(); ++i) {
    SCOPED_TRACE(i);
    const Placement& a = packed.placements[i];
    EXPECT_GE(a.x, 1);
    EXPECT_GE(a.y, 1);
    EXPECT_LE(a.x + sizes[i].width, sheetWidth);
    EXPECT_LE(a.y + sizes[i].height, pageHeight);
    lastPage = std::max(lastPage, a.page);
    for (size_t j = 0; j < i; ++j) {
      const Placement& b = packed.placements[j];
      // Grown by the one-pixel gap, no two rectangles on a page may meet.
      bool apart = a.page != b.page || a.x + sizes[i].width + 1 <= b.x ||
                   b.x + sizes[j].width + 1 <= a.x || a.y + sizes[i].height + 1 <= b.y ||
                   b.y + sizes[j].height + 1 <= a.y;
      EXPECT_TRUE(apart) << "overlaps rectangle " << j;
    }
  }
  EXPECT_EQ(packed.pages, lastPage + 1);
}

std::vector<Size> MixedSizes(int count) {
  std::vector<Size> sizes;
  for (int i = 0; i < count; ++i) sizes.push_back({1 + (i * 37) % 60, 1 + (i * 53) % 32});
  return sizes;
}

}  // namespace

TEST(PackShelves, PlacesRectanglesApartInsideTheirPages) {
  std::vector<Size> sizes = MixedSizes(300);
  PackResult packed = PackShelves(sizes, 256, 128);
  EXPECT_GT(packed.pages, 1);
  ExpectValidLayout(sizes, packed, 256, 128);
}

TEST(PackShelves, FillsTheSheetWidthAndPageHeightExactly) {
  // Two 9x9 rectangles plus gaps fill a 20x10 page; the third needs a page of its own.
  std::vector<Size> sizes{{9, 9}, {9, 9}, {9, 9}};
  PackResult packed = PackShelves(sizes, 20, 10);
  ExpectValidLayout(sizes, packed, 20, 10);
  EXPECT_EQ(packed.pages, 2);
  EXPECT_EQ(packed.placements[2].page, 1);
}

TEST(PackShelves, EmptyInputIsOnePage) {
  EXPECT_EQ(PackShelves({}, SheetWidth, PageHeight).pages, 1);
}

TEST(PackShelves, RejectsWhatCannotFit) {
  EXPECT_THROW(PackShelves({{20, 5}}, 20, 10), BuildError);  // no room for the gap
  EXPECT_THROW(PackShelves({{5, 10}}, 20, 10), BuildError);
  try {
    PackShelves(std::vector<Size>(40, {1000, 1000}), 1024, 1024);
    ADD_FAILURE() << "a sheet of 40 pages fit";
  } catch (const BuildError& error) {
    EXPECT_NE(std::string(error.what()).find("40960 pixels tall"), std::string::npos)
        << error.what();
  }
}

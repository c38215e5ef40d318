#include "common/utility.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/platform.h"

namespace fs = std::filesystem;

TEST(UtilityTest, PadNumber) {
  EXPECT_EQ(PadNumber(42, 5, " "), "   42");
  EXPECT_EQ(PadNumber(123456, 4, " "), "3456");
  EXPECT_EQ(PadNumber(-5, 3, "0x"), "0-5");
  EXPECT_EQ(PadNumber(-123, 4, " "), "-123");
  EXPECT_EQ(PadNumber(-1234, 4, " "), "-234") << "a cut number keeps its sign";
  EXPECT_EQ(PadNumber(-123456789012, 11, " "), "-3456789012");
  EXPECT_EQ(PadNumber(7, 2, ""), " 7");
  EXPECT_EQ(PadNumber(7, -3, " "), "");
}

TEST(UtilityTest, WaitSecondsSleepsInStepsAndStopsWhenTheClockGoesBack) {
  UseFakeClock(1000);
  WaitSeconds(1);
  EXPECT_EQ(NowMs(), 2000u);
  UseFakeClock(UINT32_MAX - 120);  // wraps during the third 50 ms step
  WaitSeconds(1);
  EXPECT_EQ(NowMs(), 29u);
  UseRealClock();
}

TEST(UtilityTest, AngleAndPositiveMod) {
  const double pi = 3.14159265358979;
  EXPECT_FLOAT_EQ(Angle(5, 5, 5, 5), static_cast<float>(pi * 3 / 4));
  EXPECT_NEAR(Angle(0, 0, 10, 0), pi, 1e-3);
  EXPECT_NEAR(Angle(0, 0, -10, 0), 0, 1e-3);
  EXPECT_NEAR(Angle(0, 0, 0, -10), pi * 3 / 2, 1e-3);

  EXPECT_EQ(PositiveMod(-1, 360), 359);
  EXPECT_EQ(PositiveMod(7.6, 5), 3);
  EXPECT_EQ(PositiveMod(2.5, 2), 0);  // rounds to 2, not 3
  EXPECT_FLOAT_EQ(PositiveMod(7.6, 0), 7.6f);
}

TEST(UtilityTest, BitPacking) {
  EXPECT_EQ(MakePoint(2.5f, 3.5f), 2 | 4 << 16);
  EXPECT_EQ(MakePoint(-1, 1), 0x0001FFFF);
  EXPECT_EQ(MakePoint(40000, -40000), static_cast<int32_t>(0x80007FFF));
  EXPECT_EQ(PackWords(1, 2, 3, -1), 0xFFFF000300010002u);
  EXPECT_EQ(PackWords(-1, 0, 0, 0), 0x00000000FFFF0000u);
  EXPECT_EQ(ToBinaryString(5), std::string(29, '0') + "101");
  EXPECT_EQ(ToBinaryString(INT32_MIN), "1" + std::string(31, '0'));
}

TEST(UtilityTest, TextAndPathParts) {
  EXPECT_EQ(CutAtNull(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(GetFileName("x.png"), "x.png");
  const std::string temp = fs::temp_directory_path().string();
  EXPECT_EQ(GetFolder(temp), temp + "/");
  EXPECT_EQ(GetFolder("/no/such/x.png"), "/no/such/");
  EXPECT_EQ(GetFolder("x.png"), "");
  EXPECT_EQ(GetExtension("/no/such.d/x"), "");
  EXPECT_EQ(StripExtension("/no/such/x.tar.gz"), "/no/such/x.tar");
  EXPECT_EQ(MatchExtension("/a/b.PNG", "png"), "png");
  EXPECT_EQ(MatchExtension("/a/b.Mp3", "wav|MP3|mp3"), "MP3");
  EXPECT_EQ(MatchExtension("/a/b.mp", "mp3"), "");
}

TEST(UtilityTest, SortText) {
  std::vector<std::string> list = {"b", "B", "a", "_x", "A", "ab", "", "Aa", "c10", "c9"};
  SortText(list);
  EXPECT_EQ(list, (std::vector<std::string>{"", "_x", "A", "a", "Aa", "ab", "B", "b", "c10", "c9"}));
}

TEST(UtilityTest, FileSizeAndListFiles) {
  const fs::path root = fs::temp_directory_path() / ("veldrane_utility_" + std::to_string(getpid()));
  fs::create_directories(root / "sub");
  for (const char* name : {"b.MP3", "a.mp3", "c.txt", "noext", ".hidden", "sub/d.mp3"})
    std::ofstream(root / name) << "12345";
  const std::string f = root.string() + "/";

  EXPECT_EQ(FileSize(f + "a.mp3"), 5);
  EXPECT_EQ(FileSize(f + "missing"), 0);
  EXPECT_EQ(FileSize(f + "sub/"), -1);

  std::vector<std::string> list = {"kept", "dropped"};
  int32_t count = 0;
  EXPECT_EQ(ListFiles(f + "*.*", list, true, count), 7);
  EXPECT_EQ(count, 7);
  EXPECT_EQ(list, (std::vector<std::string>{"kept", f + ".hidden", f + "a.mp3", f + "b.MP3",
                                            f + "c.txt", f + "noext", f + "sub/", f + "sub/d.mp3"}));
  count = -1;
  EXPECT_EQ(ListFiles(f + "?.MP3", list, false, count), 1);
  EXPECT_EQ(list, (std::vector<std::string>{f + "a.mp3", f + "b.MP3"}));
  EXPECT_EQ(ListFiles(f + "missing/*.*", list, true, count), 1);

  // Without a folder the current directory's entries are listed by name alone.
  const fs::path previous = fs::current_path();
  fs::current_path(root / "sub");
  count = -1;
  EXPECT_EQ(ListFiles("*.txt", list, false, count), 0);
  fs::current_path(previous);
  EXPECT_EQ(list, std::vector<std::string>{"d.mp3"});
  fs::remove_all(root);
}

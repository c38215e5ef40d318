// The report's text, its checksum and its form encoding, over a temporary store.
#include "poster/report_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "persist/fresh_settings_folder.h"
#include "persist/stored_values.h"
#include "poster/cp932.h"

namespace {

TEST(CheckSumTest, CountsDigitsLettersAndFiveSymbolsOfEitherWidth) {
  EXPECT_EQ(GetCheckSumStr(""), "0000000");
  EXPECT_EQ(GetCheckSumStr("abc"), "0001263");
  EXPECT_EQ(GetCheckSumStr("a b-c.\r\n"), "0001263") << "blanks, breaks, - and . do not count";
  EXPECT_EQ(GetCheckSumStr(std::string(16, '0')), "00030010");  // 16 x 48 = 0x300
  EXPECT_EQ(GetCheckSumStr(std::string(255, 'A')), "0040BFFF");  // 255 x 65 = 0x40BF
  EXPECT_EQ(GetCheckSumStr("@?_[]"), "0001965");
  // Full width counts, with its double-byte code: Ａ is 0x8260, read as -32160.
  EXPECT_EQ(GetCheckSumStr("Ａ"), "FF82601");
  EXPECT_EQ(GetCheckSumStr("Ａ１"), "FF04B02");  // + 0x8250 (-32176), kept to 24 bits
  EXPECT_EQ(GetCheckSumStr("あ漢—"), "0000000") << "kana, kanji and dashes are not letters";
}

TEST(CheckSumTest, DigitAndLetterTestsTakeFullWidthAlike) {
  EXPECT_TRUE(IsDigitText(""));
  EXPECT_TRUE(IsDigitText("0123456789０９"));
  EXPECT_FALSE(IsDigitText("12a"));
  EXPECT_FALSE(IsDigitText("/"));
  EXPECT_FALSE(IsDigitText(":"));
  EXPECT_TRUE(IsAlphaText(""));
  EXPECT_TRUE(IsAlphaText("_"));
  EXPECT_TRUE(IsAlphaText("AZaz@?[]ｚ＠"));
  EXPECT_FALSE(IsAlphaText("-"));
  EXPECT_FALSE(IsAlphaText("`"));  // just before "a"
  EXPECT_FALSE(IsAlphaText("{"));  // just after "z"
  EXPECT_FALSE(IsAlphaText("\\"));
}

TEST(EncodingTest, EscapesAllButBlanksAndHexDigits) {
  EXPECT_EQ(GetEncStr("Ag 1"), "A%67+1");
  EXPECT_EQ(GetEncStr("\r\n"), "%0D%0A");
  EXPECT_EQ(GetEncStr("-"), "%2D");
  EXPECT_EQ(GetEncStr("09AFafGgz"), "09AFaf%47%67%7A");
  EXPECT_EQ(GetEncStr("あ"), "%82%A0");
  EXPECT_EQ(GetEncStr("ｱ"), "%B1") << "half-width kana is one byte";
  EXPECT_EQ(GetEncStr("＼①"), "%81%5F%87%40") << "the Windows extensions are there";
}

TEST(EncodingTest, WhatCp932CannotWriteBecomesAQuestionMark) {
  EXPECT_EQ(GetEncStr("é€😀"), "%3F%3F%3F");
  EXPECT_EQ(GetCheckSumStr("é"), "00003F1") << "and counts as the question mark it becomes";
  EXPECT_EQ(GetEncStr(std::string("a\xff\xc3", 3)), "a%3F%3F") << "bytes that are no UTF-8";
  EXPECT_EQ(GetEncStr(std::string("\xed\xa0\x80", 3)), "%3F%3F%3F") << "a lone surrogate";
  EXPECT_EQ(GetEncStr(std::string("\xc0\xaf", 2)), "%3F%3F") << "an overlong slash";
  EXPECT_EQ(GetEncStr(std::string(1, '\0')), "%00");
  EXPECT_EQ(WellFormedUtf8(std::string("ok\xe3\x81", 4)), "ok??");
}

class ReportTest : public FreshSettingsFolder {};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(text.substr(at, end - at));
  if (at != text.size()) lines.push_back("(unended) " + text.substr(at));
  return lines;
}

TEST_F(ReportTest, AnEmptyStoreGivesZerosAndBlankNames) {
  const std::vector<std::string> lines = Lines(GetScoreRanking());
  ASSERT_EQ(lines.size(), 5u);
  for (const std::string& line : lines) EXPECT_EQ(line, "           0    ");
}

TEST_F(ReportTest, RankingScoresKeepTheirLastTwelveDigitsAndStrangeNamesStayOnOneLine) {
  StoreSave(GameApplication, {{RankingSection, "S0", "1234567890123"},
                              {RankingSection, "S1", "999999999999"},
                              {RankingSection, "S2", "12.5"},
                              {RankingSection, "S3", "many"},
                              {RankingSection, "N0", "ZYX"},
                              {RankingSection, "N1", "A\r\nB"},
                              {RankingSection, "N2", std::string(5000, 'Q')},
                              {RankingSection, "N3", "\x82\xa0"}});  // Shift_JIS bytes
  const std::vector<std::string> lines = Lines(GetScoreRanking());
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "234567890123 ZYX");
  EXPECT_EQ(lines[1], "999999999999 A??B");
  EXPECT_EQ(lines[2], "          12 " + std::string(40, 'Q') + "...");
  EXPECT_EQ(lines[3], "           0 ??");
  EXPECT_EQ(lines[4], "           0    ");
}

TEST_F(ReportTest, TheReportHasItsBlocksBetweenBlankLinesAndClosesWithItsChecksum) {
  StoreSave(GameApplication, {{RankingSection, "S0", "500"}, {RankingSection, "N0", "ABC"}});
  const std::string system = "CPU line\r\nOS Linux\r\n";
  const std::string report = AssembleReport(system);
  const std::vector<std::string> lines = Lines(report);
  ASSERT_EQ(lines.size(), 1 + 5 + 1 + 2 + 1 + 33 + 1 + 1 + 1 + 1);
  EXPECT_EQ(lines[0], "---");
  EXPECT_EQ(lines[1], "         500 ABC");
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7], "CPU line");
  EXPECT_EQ(lines[9], "");
  EXPECT_EQ(lines[10].substr(0, 26), " === Frame Rate Report ===");
  EXPECT_EQ(lines[42], "POSTER_Ver 20031227 1.0.7");
  EXPECT_EQ(lines[43], "");
  EXPECT_EQ(lines[44], "---");
  const size_t checksumAt = report.rfind("---\r\n") + 5;
  EXPECT_EQ(lines[45], GetCheckSumStr(report.substr(0, checksumAt)));
  EXPECT_EQ(lines[46], "");
  EXPECT_EQ(report.substr(report.size() - 4), "\r\n\r\n");
}

TEST(BoardBodyTest, OnlyTheCommentIsEncoded) {
  EXPECT_EQ(BoardFormBody("a b\r\n"),
            "CAPTION=AutoPost&COMMENT=a+b%0D%0A&NAME=VELDRANE_SampleVer1.00&MAIL=&URL=&RES=0");
  EXPECT_EQ(BoardFormBody(""), "CAPTION=AutoPost&COMMENT=&NAME=VELDRANE_SampleVer1.00&MAIL=&URL=&RES=0");
}

}  // namespace

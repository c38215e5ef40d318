#include "poster/report_text.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/utility.h"
#include "persist/stored_values.h"
#include "poster/cp932.h"

namespace {

const std::string LineEnd = "\r\n";

// Stored texts are whatever a program or a person left there: kept to one short line of
// well-formed characters.
constexpr size_t LongestStoredText = 40;

// The full-width forms sit at a fixed distance from their ASCII ones.
constexpr char32_t FullWidthOffset = 0xFEE0;

char32_t Narrow(char32_t character) {
  return character >= 0xFF01 && character <= 0xFF5E ? character - FullWidthOffset : character;
}

bool IsDigit(char32_t character) {
  const char32_t c = Narrow(character);
  return c >= '0' && c <= '9';
}

bool IsAlpha(char32_t character) {
  const char32_t c = Narrow(character);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '@' || c == '?' || c == '_' ||
         c == '[' || c == ']';
}

bool IsHexDigit(char32_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

std::string Hex(uint32_t value, const char* format) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string StoredLine(const std::string& text) {
  const std::string clean = WellFormedUtf8(text);
  std::string line;
  size_t at = 0;
  for (size_t kept = 0; kept < LongestStoredText && at < clean.size(); ++kept) {
    const std::string character = clean.substr(at, Utf8Length(clean, at));
    line += FitsOnALine(character) ? character : "?";
    at += character.size();
  }
  return at < clean.size() ? line + "..." : line;
}

}  // namespace

bool IsDigitText(const std::string& text) {
  const std::vector<char32_t> characters = DecodeUtf8(text);
  return std::all_of(characters.begin(), characters.end(), IsDigit);
}

bool IsAlphaText(const std::string& text) {
  const std::vector<char32_t> characters = DecodeUtf8(text);
  return std::all_of(characters.begin(), characters.end(), IsAlpha);
}

std::string GetCheckSumStr(const std::string& text) {
  int32_t sum = 0;
  uint32_t count = 0;
  for (char32_t character : DecodeUtf8(text)) {
    // A character CP932 cannot write is read as the "?" it becomes, which counts.
    const int16_t code = Cp932Code(character);
    if (!IsDigit(character) && !IsAlpha(character) && code != '?') continue;
    ++count;
    sum = (sum + code) & 0xFFFFFF;
  }
  return Hex(uint32_t(sum), "%06X") + Hex(count, "%X");
}

std::string GetEncStr(const std::string& text) {
  std::string encoded;
  for (char32_t character : DecodeUtf8(text)) {
    if (character == ' ') {
      encoded += '+';
    } else if (IsHexDigit(character)) {
      encoded += char(character);
    } else {
      const uint16_t code = uint16_t(Cp932Code(character));
      if (code > 0xFF) encoded += Hex(code >> 8, "%%%02X");
      encoded += Hex(code & 0xFF, "%%%02X");
    }
  }
  return encoded;
}

std::string GetScoreRanking() {
  // Wider than the game reads them: a score of more than 12 digits keeps its last 12.
  const std::vector<std::string> texts = StoreGetMany(GameApplication, RankingKeys());
  std::string block;
  for (size_t place = 0; place < RankingPlaces; ++place)
    block += PadNumber(StoredWholeNumber(texts[place]), 12, " ") + " " +
             StoredLine(texts[RankingPlaces + place]) + LineEnd;
  return block;
}

std::string GetFpsReport() {
  PlayTotals totals = ReadPlayTotals();
  for (std::string* text : {&totals.InstallDate, &totals.LastUpdate, &totals.GameVersion})
    *text = StoredLine(*text);
  return FrameRateReportText(totals, PosterVersion);
}

std::string AssembleReport(const std::string& systemInfo) {
  std::string report = "---" + LineEnd;
  report += GetScoreRanking() + LineEnd;
  report += systemInfo + LineEnd;
  report += GetFpsReport() + LineEnd;
  report += "---" + LineEnd;
  return report + GetCheckSumStr(report) + LineEnd + LineEnd;
}

std::string BoardFormBody(const std::string& report) {
  return "CAPTION=AutoPost&COMMENT=" + GetEncStr(report) +
         "&NAME=VELDRANE_SampleVer1.00&MAIL=&URL=&RES=0";
}

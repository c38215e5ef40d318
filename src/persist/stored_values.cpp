#include "persist/stored_values.h"

#include <algorithm>
#include <limits>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Exponents beyond this make every non-zero number overflow or vanish alike.
constexpr int64_t LargestExponent = 1000000000;
// Digits of the largest 64-bit number.
constexpr int64_t WidestDigits = 19;

int32_t Clamped(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// The leading number's sign and decimal digits, and where its decimal point falls.
struct LeadingNumber {
  bool negative = false;
  std::string digits;  // empty: text does not begin with a number
  int64_t point = 0;   // digits before the decimal point
  size_t end = 0;      // where the digits end in text
};

LeadingNumber ScanLeading(const std::string& text) {
  LeadingNumber number;
  size_t at = text.find_first_not_of(" \t");
  if (at == std::string::npos) return number;
  number.negative = text[at] == '-';
  if (text[at] == '+' || text[at] == '-') ++at;
  while (at < text.size() && IsDigit(text[at])) number.digits += text[at++];
  number.point = static_cast<int64_t>(number.digits.size());
  if (at < text.size() && text[at] == '.') {
    ++at;
    while (at < text.size() && IsDigit(text[at])) number.digits += text[at++];
  }
  number.end = at;
  return number;
}

}  // namespace

std::string ReadSetting(const StoredSetting& setting) {
  return StoreGet(GameApplication, setting.Section, setting.Key, setting.Default);
}

StoredValue SettingValue(const StoredSetting& setting, const std::string& text) {
  return {setting.Section, setting.Key, text};
}

std::string RankingPointsKey(int place) { return "S" + std::to_string(place); }

std::string RankingNameKey(int place) { return "N" + std::to_string(place); }

ScoreRankingTable BuiltInRanking() {
  return {{{8000000, "PRO"}, {400000, "PRO"}, {300000, "PRO"}, {200000, "PRO"}, {100000, "PRO"}}};
}

// Walked from the bottom, as the game always has: a stored ranking is taken unsorted.
int RankNewScore(ScoreRankingTable& table, int32_t points) {
  int place = NoRankingPlace;
  for (int i = RankingPlaces; i >= 1; --i) {
    if (table[size_t(i - 1)].Points > points) continue;
    place = i - 1;
    if (i < RankingPlaces) table[size_t(i)] = table[size_t(i - 1)];
  }
  return place;
}

std::vector<StoredValue> RankingKeys() {
  std::vector<StoredValue> keys;
  for (int place = 0; place < RankingPlaces; ++place)
    keys.push_back({RankingSection, RankingPointsKey(place), UnsetRankingPoints});
  for (int place = 0; place < RankingPlaces; ++place)
    keys.push_back({RankingSection, RankingNameKey(place), UnsetRankingName});
  return keys;
}

ScoreRankingTable ReadRanking() {
  const std::vector<std::string> texts = StoreGetMany(GameApplication, RankingKeys());
  ScoreRankingTable table;
  for (int place = 0; place < RankingPlaces; ++place)
    table[place] = {StoredNumber(texts[place]), texts[RankingPlaces + place]};
  return table;
}

std::vector<StoredValue> RankingValues(const ScoreRankingTable& table) {
  std::vector<StoredValue> values;
  for (int place = 0; place < RankingPlaces; ++place)
    values.push_back(
        {RankingSection, RankingPointsKey(place), StoredNumberText(table[place].Points)});
  for (int place = 0; place < RankingPlaces; ++place)
    values.push_back({RankingSection, RankingNameKey(place), table[place].Name});
  return values;
}

bool IsStoredNumber(const std::string& text) { return !ScanLeading(text).digits.empty(); }

// Worked on the decimal digits themselves, so that no binary fraction can move a half.
int64_t StoredWholeNumber(const std::string& text) {
  LeadingNumber scanned = ScanLeading(text);
  std::string& digits = scanned.digits;
  const bool negative = scanned.negative;
  int64_t point = scanned.point;
  const size_t at = scanned.end;
  if (digits.empty()) return 0;

  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    size_t next = at + 1;
    const bool smaller = next < text.size() && text[next] == '-';
    if (next < text.size() && (text[next] == '+' || text[next] == '-')) ++next;
    int64_t exponent = 0;
    for (; next < text.size() && IsDigit(text[next]); ++next)
      exponent = std::min(exponent * 10 + (text[next] - '0'), LargestExponent);
    point += smaller ? -exponent : exponent;
  }

  // Leading zeros dropped, the value is 0.digits times 10 to the power point.
  const size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return 0;
  digits.erase(0, first);
  point -= static_cast<int64_t>(first);
  const int64_t size = static_cast<int64_t>(digits.size());
  constexpr int64_t Largest = std::numeric_limits<int64_t>::max();
  if (point > WidestDigits) return negative ? -Largest - 1 : Largest;

  // Nineteen digits and a rounding step fit an unsigned 64-bit number.
  uint64_t whole = 0;
  for (int64_t i = 0; i < point; ++i) whole = whole * 10 + uint64_t(i < size ? digits[i] - '0' : 0);
  // With point < 0 the fraction is below 0.1, and with point >= size there is none.
  if (point >= 0 && point < size) {
    const char next = digits[point];
    const bool beyondHalf = digits.find_first_not_of('0', point + 1) != std::string::npos;
    whole += next > '5' || (next == '5' && (beyondHalf || whole % 2 == 1));
  }
  if (negative) return whole > uint64_t(Largest) ? -Largest - 1 : -int64_t(whole);
  return whole > uint64_t(Largest) ? Largest : int64_t(whole);
}

int32_t StoredNumber(const std::string& text) { return Clamped(StoredWholeNumber(text)); }

bool StoredFlag(const std::string& text) { return text == "1"; }

std::string StoredNumberText(int64_t number) { return std::to_string(number); }

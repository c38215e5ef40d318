// The reading of stored values on arbitrary texts, as another program or a person may leave
// them in the store: numbers read without fault, the frame-rate report built from any totals
// keeps its layout, and any file of kept changes reads as whole blocks that write back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "persist/kept_changes.h"
#include "persist/play_totals.h"
#include "persist/stored_values.h"

uint32_t NowMs() { return 0; }
void SleepMs(uint32_t) {}
void PumpEvents() {}

namespace {

// The input split at NUL bytes into stored texts.
std::vector<std::string> Texts(const uint8_t* data, size_t size) {
  std::vector<std::string> texts(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      texts.emplace_back();
    else
      texts.back() += char(data[i]);
  }
  return texts;
}

void CheckNumber(const std::string& text) {
  const int64_t wide = StoredWholeNumber(text);
  const int32_t narrow = StoredNumber(text);
  constexpr int64_t Lowest = std::numeric_limits<int32_t>::min();
  constexpr int64_t Highest = std::numeric_limits<int32_t>::max();
  const int64_t clamped = wide < Lowest ? Lowest : wide > Highest ? Highest : wide;
  if (narrow != clamped) std::abort();
  if (StoredWholeNumber(StoredNumberText(wide)) != wide) std::abort();
}

void CheckReport(const std::vector<std::string>& texts) {
  PlayTotals totals;
  for (size_t i = 0; i < totals.FpsCount.size(); ++i)
    totals.FpsCount[i] = StoredWholeNumber(texts[i % texts.size()]);
  totals.TryCount = StoredWholeNumber(texts.back());
  totals.InstallDate = texts.front();
  const std::string report = FrameRateReportText(totals, {1, 0, 7});
  size_t at = 0;
  for (int line = 0; line < 25; ++line) {
    const size_t end = report.find("\r\n", at);
    if (end == std::string::npos || end - at != 82) std::abort();
    at = end + 2;
  }
}

void CheckKeptChanges(const std::string& text) {
  const KeptFile kept = ParseKept(text);
  const KeptFile again = ParseKept(KeptText(kept.blocks, true));
  if (again.damaged || again.blocks.size() != kept.blocks.size()) std::abort();
  for (size_t i = 0; i < kept.blocks.size(); ++i)
    if (again.blocks[i].id != kept.blocks[i].id || again.blocks[i].changes != kept.blocks[i].changes)
      std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> texts = Texts(data, size);
  for (const std::string& text : texts) CheckNumber(text);
  CheckReport(texts);
  CheckKeptChanges(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}

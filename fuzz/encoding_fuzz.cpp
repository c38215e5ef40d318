// The report's checksum and form encoding on arbitrary bytes, taken as the text of the report
// box: whatever the text, the encoding is form data of escapes and the checksum one short line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "poster/cp932.h"
#include "poster/report_text.h"

// The shared routines' host calls; nothing here waits.
uint32_t NowMs() { return 0; }
void SleepMs(uint32_t) {}
void PumpEvents() {}

namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

void CheckEncoding(const std::string& encoded) {
  for (size_t at = 0; at < encoded.size(); ++at) {
    const char c = encoded[at];
    if (c == '%') {
      if (at + 2 >= encoded.size()) std::abort();
      if (!IsHexDigit(encoded[at + 1]) || !IsHexDigit(encoded[at + 2])) std::abort();
      at += 2;
    } else if (c != '+' && !IsHexDigit(c)) {
      std::abort();
    }
  }
}

void CheckChecksum(const std::string& checksum) {
  if (checksum.size() < 7 || checksum.size() > 14) std::abort();
  for (char c : checksum)
    if (!IsHexDigit(c) || (c >= 'a' && c <= 'f')) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckEncoding(GetEncStr(text));
  CheckChecksum(GetCheckSumStr(text));
  // Cleaning keeps the characters, so what the board sees does not change.
  const std::string clean = WellFormedUtf8(text);
  if (DecodeUtf8(clean).size() != DecodeUtf8(text).size()) std::abort();
  if (WellFormedUtf8(clean) != clean) std::abort();
  return 0;
}

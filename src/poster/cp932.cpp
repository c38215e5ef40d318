#include "poster/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace {

constexpr char32_t Replacement = 0xFFFD;
constexpr int16_t QuestionMark = '?';

struct Cp932Converter {
  iconv_t handle = iconv_t(-1);
  ~Cp932Converter() {
    if (handle != iconv_t(-1)) iconv_close(handle);
  }
};

iconv_t Converter() {
  static Cp932Converter converter{iconv_open("CP932", "UTF-32LE")};
  return converter.handle;
}

// The length of the well-formed character that starts at, or 0.
size_t CharacterLength(const std::string& text, size_t at, char32_t& character) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) {
    character = lead;
    return 1;
  }
  size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || at + length > text.size()) return 0;
  character = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    character = character << 6 | (byte(at + i) & 0x3F);
  }
  const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  const bool surrogate = character >= 0xD800 && character <= 0xDFFF;
  if (character < smallest[length] || character > 0x10FFFF || surrogate) return 0;
  return length;
}

}  // namespace

std::vector<char32_t> DecodeUtf8(const std::string& utf8) {
  std::vector<char32_t> characters;
  characters.reserve(utf8.size());
  for (size_t at = 0; at < utf8.size();) {
    char32_t character = 0;
    const size_t length = CharacterLength(utf8, at, character);
    characters.push_back(length ? character : Replacement);
    at += length ? length : 1;
  }
  return characters;
}

int16_t Cp932Code(char32_t character) {
  if (character < 0x80) return int16_t(character);
  iconv_t converter = Converter();
  if (converter == iconv_t(-1)) return QuestionMark;
  char in[4] = {char(character), char(character >> 8), char(character >> 16),
                char(character >> 24)};
  char out[8];
  char* inAt = in;
  char* outAt = out;
  size_t inLeft = sizeof in, outLeft = sizeof out;
  iconv(converter, nullptr, nullptr, nullptr, nullptr);  // a fresh state for each character
  if (iconv(converter, &inAt, &inLeft, &outAt, &outLeft) == size_t(-1) || inLeft != 0)
    return QuestionMark;
  const auto first = static_cast<unsigned char>(out[0]);
  if (outAt - out == 1) return int16_t(first);
  if (outAt - out != 2) return QuestionMark;
  return int16_t(uint16_t(first << 8 | static_cast<unsigned char>(out[1])));
}

std::string WellFormedUtf8(const std::string& text) {
  std::string clean;
  clean.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    char32_t character = 0;
    const size_t length = CharacterLength(text, at, character);
    clean += length ? text.substr(at, length) : "?";
    at += length ? length : 1;
  }
  return clean;
}

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

// The bytes of a character by its first; 0 for a byte no character starts with.
size_t LengthFromLead(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xC2) return 0;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return lead < 0xF5 ? 4 : 0;
}

// The character that starts at, which is well-formed.
char32_t CharacterAt(std::string_view text, size_t at, size_t length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  char32_t character = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i)
    character = character << 6 | (static_cast<unsigned char>(text[at + i]) & 0x3F);
  return character;
}

}  // namespace

size_t Utf8Length(std::string_view text, size_t at) {
  static constexpr char32_t Lowest[] = {0, 0, 0x80, 0x800, 0x10000};
  const auto lead = static_cast<unsigned char>(text[at]);
  const size_t length = LengthFromLead(lead);
  if (length == 0 || at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
  const char32_t character = CharacterAt(text, at, length);
  const bool surrogate = character >= 0xD800 && character <= 0xDFFF;
  return character >= Lowest[length] && character <= 0x10FFFF && !surrogate ? length : 0;
}

std::vector<char32_t> DecodeUtf8(const std::string& utf8) {
  std::vector<char32_t> characters;
  characters.reserve(utf8.size());
  for (size_t at = 0; at < utf8.size();) {
    const size_t length = Utf8Length(utf8, at);
    characters.push_back(length ? CharacterAt(utf8, at, length) : Replacement);
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

bool FitsOnALine(std::string_view character) {
  const char32_t c = CharacterAt(character, 0, character.size());
  return c >= ' ' && c != 0x85 && c != 0x2028 && c != 0x2029 && c != 0xFDD0 && c != 0xFDD1;
}

std::string WellFormedUtf8(const std::string& text) {
  std::string clean;
  clean.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const size_t length = Utf8Length(text, at);
    clean += length ? text.substr(at, length) : "?";
    at += length ? length : 1;
  }
  return clean;
}

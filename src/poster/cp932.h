// Text as the board reads it: characters of CP932, the Japanese Windows code page (Shift_JIS
// with the Windows extensions). The only module that calls iconv.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The length of the well-formed UTF-8 character that starts at `at`, or 0 when none does.
size_t Utf8Length(std::string_view text, size_t at);

// The characters of a UTF-8 text; each byte that starts no well-formed character is U+FFFD.
std::vector<char32_t> DecodeUtf8(const std::string& utf8);

// The CP932 code of a character: a single-byte character's byte (0..255), a double-byte one's
// two bytes read as a signed 16-bit number, and the code of "?" (63) for a character that
// CP932 cannot write.
int16_t Cp932Code(char32_t character);

// False for a well-formed UTF-8 character that ends a line, in a text or in Qt's text boxes,
// and for the other C0 controls: besides those, NEL, the line and paragraph separators, and
// U+FDD0 and U+FDD1, which the boxes take for frame marks.
bool FitsOnALine(std::string_view character);

// Well-formed UTF-8 of text: every byte that starts no character becomes "?".
std::string WellFormedUtf8(const std::string& text);

// The report the tool shows and posts: the ranking, the machine, the frame-rate statistics and
// a checksum line, with every line ending in CR LF; and its form encoding for the board. Texts
// are UTF-8 here; the checksum and the encoding count CP932 codes, as the board does.
#pragma once

#include <string>

#include "persist/play_totals.h"

inline constexpr ProgramVersion PosterVersion{1, 0, 7};

// True when every character is a digit, of either width; true for an empty text.
bool IsDigitText(const std::string& text);
// True when every character is a Latin letter or one of "@?_[]", of either width; true for an
// empty text.
bool IsAlphaText(const std::string& text);

// Over the characters that pass IsDigitText or IsAlphaText: the sum of their CP932 codes kept to
// 24 bits, as six hexadecimal digits, then their count in hexadecimal.
std::string GetCheckSumStr(const std::string& text);

// Form encoding: a blank is "+", "0".."9", "A".."F" and "a".."f" stay, and every other
// character is its CP932 code in "%XX" escapes, two for a double-byte character.
std::string GetEncStr(const std::string& text);

// The five places of the stored ranking: each score right-aligned in 12 columns (longer ones
// keep their last 12 digits), a blank, the name.
std::string GetScoreRanking();
// The frame-rate statistics as stored, with this tool's version on the last line.
std::string GetFpsReport();

// The whole report around `systemInfo`, the machine's block, closed by its checksum.
std::string AssembleReport(const std::string& systemInfo);

// The board's form fields, the report text encoded.
std::string BoardFormBody(const std::string& report);

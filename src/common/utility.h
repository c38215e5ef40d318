// Small text, number, path and file-list routines shared by the game's parts.
// Paths use "/"; a folder path ends with "/".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// value right-aligned in width characters, filled with pad's first character (a blank when
// pad is empty); digits that do not fit are cut from the left, after a minus sign, which stays.
std::string PadNumber(int64_t value, int16_t width, const std::string& pad);

// Waits while keeping window events running; ends early if the clock goes backwards.
void WaitSeconds(float seconds);

// Direction from a to b in radians on the screen (y down): 0 left, π/2 down, π right, 3π/2 up.
float Angle(double ax, double ay, double bx, double by);

// Remainder of a and b rounded to whole numbers, moved into [0, b) when negative.
float PositiveMod(double a, double b);

// x in the low 16 bits, y in the high 16 bits, each rounded (halves to even) and clamped.
int32_t MakePoint(float x, float y);

// 16-bit lanes from the lowest: p2, p1, p3, p4.
uint64_t PackWords(int16_t p1, int16_t p2, int16_t p3, int16_t p4);

// 32 binary digits, most significant first.
std::string ToBinaryString(int32_t value);

std::string CutAtNull(const std::string& text);

std::string GetFileName(const std::string& path);
// Up to and including the last "/"; a path naming an existing folder gets its "/" added.
std::string GetFolder(const std::string& path);
std::string GetExtension(const std::string& path);
std::string StripExtension(const std::string& path);

// The first of the "|"-separated extensions that equals path's, ignoring case, as written in
// list; empty text when none does.
std::string MatchExtension(const std::string& path, const std::string& list);

// -1 for a folder path, 0 for a missing file, else the size clamped to INT32_MAX.
int32_t FileSize(const std::string& path);

// Up to count bytes from the start of a regular file, read without blocking; anything else (a
// FIFO, device, socket or folder, or a link to one) is not opened. Empty text when the file
// could be read, else what is wrong: "not a regular file" or the system's reason.
std::string ReadFileHead(const std::string& path, size_t count, std::vector<uint8_t>& head);

// Appends after index count the entries of pattern's folder whose names match its wildcard part
// (folders with a trailing "/", each directory's names in byte order), descending into folders
// when recurse is set. count and the result become the index of the last entry.
int32_t ListFiles(const std::string& pattern, std::vector<std::string>& list, bool recurse,
                  int32_t& count);

// Ascending, ignoring ASCII letter case; texts that differ only in case are in byte order.
void SortText(std::vector<std::string>& list);

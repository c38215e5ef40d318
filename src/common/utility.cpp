#include "common/utility.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

#include "common/game_text.h"
#include "common/host.h"

namespace fs = std::filesystem;

namespace {

// Plain ASCII folding, so the order does not depend on the process locale.
int FoldCase(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

int CompareText(const std::string& a, const std::string& b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const int difference = FoldCase(a[i]) - FoldCase(b[i]);
    if (difference != 0) return difference;
  }
  return (a.size() > b.size()) - (a.size() < b.size());
}

bool TextLess(const std::string& a, const std::string& b) {
  const int order = CompareText(a, b);
  return order != 0 ? order < 0 : a < b;
}

double ClockSeconds() {
  return NowMs() / 1000.0;
}

std::string FolderPart(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool MatchesMask(const std::string& name, const std::string& mask) {
  // "*.*" also takes names without a dot, as the listing of the game's first platform did.
  return mask == "*.*" || fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
}

// readdir gives no particular order; sorting keeps listings the same from run to run.
std::vector<std::string> SortedNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Symbolic links are not followed, so a link cycle cannot make recursion endless.
bool IsRealFolder(const std::string& path) {
  std::error_code error;
  return fs::symlink_status(path, error).type() == fs::file_type::directory;
}

// errno's text, to stand in a sentence.
std::string ErrnoText() {
  std::string text = std::strerror(errno);
  if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return text;
}

}  // namespace

std::string PadNumber(int64_t value, int16_t width, const std::string& pad) {
  if (width <= 0) return std::string();
  const char fill = pad.empty() ? ' ' : pad[0];
  const std::string digits = std::to_string(value);
  // Cut digits never take the minus sign with them: it stays in front of those kept.
  if (value < 0 && digits.size() > size_t(width))
    return "-" + digits.substr(digits.size() - size_t(width - 1));
  const std::string text = std::string(width, fill) + digits;
  return text.substr(text.size() - width);
}

void WaitSeconds(float seconds) {
  const double start = ClockSeconds();
  double waited = 0;
  while (waited < seconds && waited >= 0) {
    PumpEvents();
    SleepMs(50);
    waited = ClockSeconds() - start;
  }
  PumpEvents();
}

float Angle(double ax, double ay, double bx, double by) {
  constexpr double Pi = 3.14159265358979;
  // The shifts keep equal coordinates from dividing zero by zero.
  if (ax == bx) bx += 0.001;
  if (ay == by) by += 0.001;
  const double t = std::atan((bx - ax) / (by - ay));
  return static_cast<float>(by < ay ? t + Pi + Pi / 2 : t + Pi / 2);
}

float PositiveMod(double a, double b) {
  const double divisor = std::nearbyint(b);
  // A divisor that rounds to zero has no remainder; a passes through as for b = 0.
  if (divisor == 0) return static_cast<float>(a);
  const double remainder = std::fmod(std::nearbyint(a), divisor);
  return static_cast<float>(remainder < 0 ? remainder + b : remainder);
}

int32_t MakePoint(float x, float y) {
  const auto word = [](float v) {
    const float clamped = std::clamp(std::nearbyint(v), float(INT16_MIN), float(INT16_MAX));
    return static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(clamped)));
  };
  return static_cast<int32_t>(word(x) | word(y) << 16);
}

uint64_t PackWords(int16_t p1, int16_t p2, int16_t p3, int16_t p4) {
  const auto lane = [](int16_t v, int shift) { return uint64_t{static_cast<uint16_t>(v)} << shift; };
  return lane(p2, 0) | lane(p1, 16) | lane(p3, 32) | lane(p4, 48);
}

std::string ToBinaryString(int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  std::string text(32, '0');
  for (int i = 0; i < 32; ++i)
    if (bits >> (31 - i) & 1) text[i] = '1';
  return text;
}

std::string CutAtNull(const std::string& text) {
  return text.substr(0, text.find('\0'));
}

std::string GetFileName(const std::string& path) {
  return path.substr(path.rfind('/') + 1);  // npos + 1 is 0: the whole path
}

std::string GetFolder(const std::string& path) {
  std::error_code error;
  if (!fs::is_directory(path, error)) return FolderPart(path);
  return path.back() == '/' ? path : path + '/';
}

std::string GetExtension(const std::string& path) {
  const std::string name = GetFileName(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string StripExtension(const std::string& path) {
  const std::string name = GetFileName(path);
  return GetFolder(path) + name.substr(0, name.rfind('.'));
}

std::string MatchExtension(const std::string& path, const std::string& list) {
  const std::string extension = GetExtension(path);
  for (size_t start = 0;;) {
    const size_t end = list.find('|', start);
    const std::string candidate = list.substr(start, end - start);
    if (CompareText(candidate, extension) == 0) return candidate;
    if (end == std::string::npos) return std::string();
    start = end + 1;
  }
}

int32_t FileSize(const std::string& path) {
  if (!path.empty() && path.back() == '/') return -1;
  std::error_code error;
  const uintmax_t size = fs::file_size(path, error);
  if (error) return 0;
  return static_cast<int32_t>(std::min<uintmax_t>(size, std::numeric_limits<int32_t>::max()));
}

std::string ReadFileHead(const std::string& path, size_t count, std::vector<uint8_t>& head) {
  head.clear();
  // stat follows links; opening a FIFO to read waits for a writer, and a device may never end.
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return ErrnoText();
  if (!S_ISREG(info.st_mode)) return Tr("not a regular file");
  // Should a FIFO have taken the file's place since, the open still returns at once.
  const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (file < 0) return ErrnoText();
  head.resize(count);
  const ssize_t got = read(file, head.data(), count);
  const std::string trouble = got < 0 ? ErrnoText() : std::string();
  close(file);
  head.resize(got < 0 ? 0 : static_cast<size_t>(got));
  return trouble;
}

int32_t ListFiles(const std::string& pattern, std::vector<std::string>& list, bool recurse,
                  int32_t& count) {
  const std::string folder = GetFolder(pattern);
  const std::string mask = folder.empty() ? "*.*" : GetFileName(pattern);
  list.resize(count < 0 ? 0 : count + 1);
  const size_t first = list.size();
  for (const std::string& name : SortedNames(folder.empty() ? "." : folder)) {
    if (!MatchesMask(name, mask)) continue;
    list.push_back(folder + name);
    PumpEvents();
  }
  const size_t last = list.size();
  count = static_cast<int32_t>(last) - 1;
  for (size_t i = first; i < last; ++i) {
    if (!IsRealFolder(list[i])) continue;
    list[i] += '/';
    if (recurse) ListFiles(list[i] + mask, list, true, count);
  }
  return count;
}

void SortText(std::vector<std::string>& list) {
  const size_t size = list.size();
  size_t gap = 1;
  while (gap <= size) gap = 3 * gap + 1;
  do {
    gap /= 3;
    for (size_t i = gap; i < size; ++i) {
      std::string item = std::move(list[i]);
      size_t j = i;
      for (; j >= gap && TextLess(item, list[j - gap]); j -= gap) list[j] = std::move(list[j - gap]);
      list[j] = std::move(item);
    }
  } while (gap > 1);
}

#include "poster/system_info.h"

#include <sys/utsname.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>
#include <utility>

#include "poster/cp932.h"

namespace fs = std::filesystem;

namespace {

// Files under /proc report no size, so files are read to their end; the cap stops a runaway
// file or device. pci.ids, the largest real source, is under 2 MB.
constexpr size_t kMaxFileBytes = 8 << 20;
// No real value comes near this; it keeps a garbage value from swamping the report.
constexpr size_t kMaxValueBytes = 256;
constexpr std::string_view kBlanks = " \t";

struct Field {
  std::string key, value;
};

std::string Line(const std::string& text) {
  return text + "\r\n";
}

std::string ValueOr(const std::string& value, const std::string& fallback) {
  return value.empty() ? fallback : value;
}

std::string TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

// A value fit for one report line: control characters and line breaks become blanks, bytes
// that are not UTF-8 become "?", and the length is capped.
std::string CleanValue(std::string_view raw) {
  std::string value;
  for (size_t i = 0; i < raw.size() && value.size() < kMaxValueBytes;) {
    const size_t length = Utf8Length(raw, i);
    const unsigned char c = raw[i];
    if (length == 0)
      value += '?';
    else if (c == 0x7F || !FitsOnALine(raw.substr(i, length)))
      value += ' ';
    else
      value.append(raw.substr(i, length));
    i += std::max<size_t>(length, 1);
  }
  return TrimBlanks(value);
}

// Missing and unreadable files read as empty text.
std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text;
  char chunk[1 << 16];
  while (text.size() < kMaxFileBytes && in.read(chunk, sizeof chunk).gcount() > 0)
    text.append(chunk, in.gcount());
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  SplitText(text, lines, "\n");
  return lines;
}

// sysfs and procfs files of a single value.
std::string ReadValue(const std::string& path) {
  return CleanValue(Lines(ReadFile(path))[0]);
}

// "key : value" or "KEY=value" lines; other lines are left out.
std::vector<Field> Fields(const std::string& text, char separator) {
  std::vector<Field> fields;
  for (const std::string& line : Lines(text)) {
    const size_t at = line.find(separator);
    if (at != std::string::npos)
      fields.push_back({CleanValue(line.substr(0, at)), CleanValue(line.substr(at + 1))});
  }
  return fields;
}

// The first non-empty value of the keys, tried in the order given.
std::string FirstValue(const std::vector<Field>& fields,
                       std::initializer_list<std::string_view> keys) {
  for (std::string_view key : keys)
    for (const Field& field : fields)
      if (field.key == key && !field.value.empty()) return field.value;
  return "";
}

// The whole text must be the number.
std::optional<uint64_t> ParseNumber(std::string_view text, int base = 10) {
  uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value, base);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

// from_chars, unlike strtod, ignores the locale the window toolkit may have set.
std::optional<double> ParseDecimal(std::string_view text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

struct CpuCounts {
  uint64_t cores = 0, threads = 0;
};

// Hyper-threads share a (physical id, core id) pair; without the pairs the first processor's
// "cpu cores" is the best guess, and failing that every thread counts as a core.
CpuCounts CountCpus(const std::vector<Field>& fields) {
  std::vector<std::pair<std::string, std::string>> processors;
  for (const Field& field : fields) {
    if (field.key == "processor")
      processors.emplace_back();
    else if (processors.empty())
      continue;
    else if (field.key == "physical id")
      processors.back().first = field.value;
    else if (field.key == "core id")
      processors.back().second = field.value;
  }
  std::set<std::pair<std::string, std::string>> cores;
  for (const auto& ids : processors)
    if (!ids.first.empty() && !ids.second.empty()) cores.insert(ids);
  const uint64_t threads = processors.size();
  if (!cores.empty()) return {cores.size(), threads};
  return {ParseNumber(FirstValue(fields, {"cpu cores"})).value_or(threads), threads};
}

// Whole MHz, 0 when unknown. Machines without "cpu MHz" (most ARM boards) report their top
// frequency in kHz through cpufreq.
uint64_t CpuMegahertz(const std::vector<Field>& fields, const SystemSources& sources) {
  double mhz = ParseDecimal(FirstValue(fields, {"cpu MHz"})).value_or(0);
  if (!(mhz > 0)) {
    const std::string kilohertz = "/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq";
    mhz = ParseDecimal(ReadValue(sources.sysRoot + kilohertz)).value_or(0) / 1000;
  }
  return mhz >= 0.5 && mhz < 1e9 ? std::llround(mhz) : 0;
}

std::string Count(uint64_t count, const std::string& noun) {
  if (count == 0) return "unknown " + noun + "s";
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string MemoryLine(const SystemSources& sources) {
  const std::vector<Field> fields = Fields(ReadFile(sources.procRoot + "/meminfo"), ':');
  const std::string total = FirstValue(fields, {"MemTotal"});
  const uint64_t kilobytes = ParseNumber(total.substr(0, total.find(' '))).value_or(0);
  return Line("TotalPhysicalMem " + std::to_string(kilobytes / 1024) + "MB");
}

// A shell-quoted os-release value; inside double quotes a backslash escapes " \ $ and `.
std::string ShellValue(const std::string& raw) {
  if (raw.empty() || (raw[0] != '"' && raw[0] != '\'')) return raw;
  const char quote = raw[0];
  std::string value;
  for (size_t i = 1; i < raw.size() && raw[i] != quote; ++i) {
    const bool escape = quote == '"' && raw[i] == '\\' && i + 1 < raw.size() &&
                        std::string_view("\"\\$`").find(raw[i + 1]) != std::string_view::npos;
    if (escape) ++i;
    value += raw[i];
  }
  return TrimBlanks(value);
}

std::string OsName(const SystemSources& sources) {
  std::string text = ReadFile(sources.osReleaseFile);
  if (text.empty() && sources.osReleaseFile == SystemSources().osReleaseFile)
    text = ReadFile("/usr/lib/os-release");
  const std::vector<Field> fields = Fields(text, '=');
  const auto value = [&fields](std::string_view key) {
    return ShellValue(FirstValue(fields, {key}));
  };
  const std::string version = TrimBlanks(value("NAME") + " " + value("VERSION"));
  return ValueOr(ValueOr(value("PRETTY_NAME"), version), "Linux");
}

std::string KernelRelease(const SystemSources& sources) {
  if (!sources.kernelRelease.empty()) return sources.kernelRelease;
  const std::string release = ReadValue(sources.procRoot + "/sys/kernel/osrelease");
  if (!release.empty()) return release;
  utsname names{};
  return uname(&names) == 0 ? CleanValue(names.release) : "";
}

// The lowest-numbered "card<N>"; entries such as card0-HDMI-A-1 are its connectors.
std::string FirstAdapter(const std::string& drmFolder) {
  std::optional<std::pair<uint64_t, std::string>> first;
  std::error_code error;
  for (fs::directory_iterator it(drmFolder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    const auto number = name.starts_with("card") ? ParseNumber(name.substr(4)) : std::nullopt;
    if (number && (!first || *number < first->first)) first = {*number, it->path().string()};
  }
  return first ? first->second : "";
}

// "0x10de" as "10de", the form pci.ids uses; empty when the file holds no 16-bit number.
std::string PciId(const std::string& path) {
  const std::string text = ReadValue(path);
  const auto id = ParseNumber(text.starts_with("0x") ? text.substr(2) : text, 16);
  if (!id || *id > 0xFFFF) return "";
  char hex[5];
  std::snprintf(hex, sizeof hex, "%04x", static_cast<unsigned>(*id));
  return hex;
}

// "Vendor Device" from the first database that names both. Any unindented line ends a vendor's
// devices; sub-device lines, indented by two tabs, never match the one-tab device form.
std::string PciName(const SystemSources& sources, const std::string& vendor,
                    const std::string& device) {
  const std::string vendorStart = vendor + " ", deviceStart = "\t" + device + " ";
  for (const std::string& path : sources.pciIdsFiles) {
    std::string vendorName;
    for (const std::string& line : Lines(ReadFile(path))) {
      if (!line.starts_with('\t'))
        vendorName = line.starts_with(vendorStart) ? CleanValue(line.substr(vendor.size())) : "";
      else if (!vendorName.empty() && line.starts_with(deviceStart))
        return vendorName + " " + CleanValue(line.substr(deviceStart.size()));
    }
  }
  return "";
}

// Without a name database the kernel driver and the ids still identify the adapter.
std::string AdapterName(const SystemSources& sources, const std::string& card) {
  const std::string vendor = PciId(card + "/device/vendor");
  const std::string device = PciId(card + "/device/device");
  const bool hasIds = !vendor.empty() && !device.empty();
  const std::string known = hasIds ? PciName(sources, vendor, device) : "";
  if (!known.empty()) return known;
  const std::vector<Field> uevent = Fields(ReadFile(card + "/device/uevent"), '=');
  const std::string driver = ValueOr(FirstValue(uevent, {"DRIVER"}), "unknown adapter");
  return hasIds ? driver + " (" + vendor + ":" + device + ")" : driver;
}

std::string VideoLines(const std::string& adapter, uint64_t memoryBytes) {
  return Line("Video " + adapter) +
         Line("DDCapsHW.lVidMemTotal " + std::to_string(memoryBytes / 1024 / 1024) + "MB");
}

// Only amdgpu reports its dedicated memory through sysfs.
std::string VideoLines(const SystemSources& sources) {
  const std::string card = FirstAdapter(sources.sysRoot + "/class/drm");
  if (card.empty()) return VideoLines("no display adapter found", 0);
  const uint64_t memory = ParseNumber(ReadValue(card + "/device/mem_info_vram_total")).value_or(0);
  return VideoLines(AdapterName(sources, card), memory);
}

// A card's first line in /proc/asound/cards is " N [id    ]: driver - name"; the indented line
// after it, and anything else, gives an empty name.
std::string CardName(const std::string& line) {
  const size_t number = line.find_first_not_of(' ');
  const size_t bracket = line.find_first_not_of("0123456789", number);
  if (bracket == number || bracket == std::string::npos || line.compare(bracket, 2, " [") != 0)
    return "";
  const size_t dash = line.find(" - ", bracket);
  return dash == std::string::npos ? "" : CleanValue(line.substr(dash + 3));
}

// Primary sound drivers stand for another card, which has a line of its own.
std::string SoundLines(const SystemSources& sources) {
  std::string lines;
  for (const std::string& line : Lines(ReadFile(sources.procRoot + "/asound/cards"))) {
    const std::string name = CardName(line);
    const bool primary = name.find("rimary") != std::string::npos ||
                         name.find("プライマリ") != std::string::npos;
    if (!name.empty() && !primary) lines += Line("Sound " + name);
  }
  return lines;
}

// Chosen by platform and version; major versions 3 and below then override the choice.
std::string WindowsName(int32_t platformId, int32_t major, int32_t minor) {
  static constexpr const char* kWindows5[] = {"Windows2000", "WindowsXP",
                                              "Windows Server 2003 family"};
  std::string name;
  if (platformId == 0)
    name = "Win32s on Windows 3.1";
  else if (platformId == 1 && minor >= 0)
    name = minor >= 90 ? "WindowsMe" : minor >= 10 ? "Windows98" : "Windows95";
  else if (platformId == 2 && major == 4)
    name = "WindowsNT4.0";
  else if (platformId == 2 && major == 5 && minor >= 0 && minor <= 2)
    name = kWindows5[minor];
  else if (platformId == 2 && major > 5)
    name = "new os";
  if (major == 3) name = "WindowsNT3.51";
  if (major < 3) name = "WindowsNT3.51 or older";
  return name;
}

}  // namespace

int16_t SplitText(const std::string& text, std::vector<std::string>& pieces,
                  const std::string& separator) {
  pieces.clear();
  size_t start = 0;
  do {
    // An empty separator would match everywhere without moving on.
    size_t end = separator.empty() ? std::string::npos : text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    pieces.push_back(text.substr(start, end - start));
    start = end + separator.size();
  } while (start < text.size());
  return static_cast<int16_t>(std::min<size_t>(pieces.size(), INT16_MAX));
}

std::string GetCpuInfoText(const SystemSources& sources) {
  const std::vector<Field> fields = Fields(ReadFile(sources.procRoot + "/cpuinfo"), ':');
  const auto fact = [&fields](std::initializer_list<std::string_view> keys,
                              const std::string& fallback) {
    return ValueOr(FirstValue(fields, keys), fallback);
  };
  const std::string vendor = fact({"vendor_id", "CPU implementer"}, "unknown vendor");
  const std::string model =
      fact({"model name", "Hardware", "Processor", "cpu model"}, "unknown processor");
  const std::string version = "family " + fact({"cpu family", "CPU architecture"}, "unknown") +
                              ", model " + fact({"model", "CPU part"}, "unknown") +
                              ", stepping " + fact({"stepping", "CPU revision"}, "unknown");
  const uint64_t mhz = CpuMegahertz(fields, sources);
  const CpuCounts counts = CountCpus(fields);
  const std::string speed = (mhz > 0 ? std::to_string(mhz) + " MHz" : "unknown clock") + ", " +
                            Count(counts.cores, "core") + ", " + Count(counts.threads, "thread");
  return vendor + "\n" + model + "\n" + version + "\n" + speed;
}

std::string GetSystemInfo(const SystemSources& sources) {
  std::vector<std::string> cpu;
  SplitText(GetCpuInfoText(sources), cpu, "\n");
  return Line(cpu[1]) + Line(cpu[3]) + MemoryLine(sources) +
         Line("OS " + OsName(sources) + " " + KernelRelease(sources)) + VideoLines(sources) +
         SoundLines(sources);
}

std::string GetSystemInfo() {
  return GetSystemInfo(SystemSources());
}

std::string WindowsOsName(const OsVersionRecord& version, bool withNumbers) {
  // Windows 9x keeps the major and minor version in the build number's high word.
  const int32_t build = version.platformId == 1 ? version.build & 0xFFFF : version.build;
  const std::string_view servicePack = version.servicePack;
  std::string name = WindowsName(version.platformId, version.major, version.minor) + " " +
                     TrimBlanks(servicePack.substr(0, servicePack.find('\0')));
  if (withNumbers)
    name += " (" + std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
            std::to_string(build) + "." + std::to_string(version.platformId) + ")";
  return name;
}

// The report's description of the machine it runs on: processor, memory, operating system,
// display adapter and sound cards, read from the Linux machine's own files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Where the facts are read; tests point these at a tree of their own.
struct SystemSources {
  std::string procRoot = "/proc";
  std::string sysRoot = "/sys";
  // Falls back to /usr/lib/os-release when missing (only for this default).
  std::string osReleaseFile = "/etc/os-release";
  // Empty: from <procRoot>/sys/kernel/osrelease, else from uname().
  std::string kernelRelease;
  // PCI name databases, tried in order until one names the adapter.
  std::vector<std::string> pciIdsFiles = {"/usr/share/misc/pci.ids",
                                          "/usr/share/hwdata/pci.ids"};
};

// Lines each ending in CR LF: the processor's name and its clock, cores and threads, then
// "TotalPhysicalMem <n>MB", "OS <name> <kernel>", "Video <adapter>",
// "DDCapsHW.lVidMemTotal <n>MB" and one "Sound <card>" per sound card.
std::string GetSystemInfo();
std::string GetSystemInfo(const SystemSources& sources);

// Four lines joined by "\n": vendor, model name, "family F, model M, stepping S" and
// "C MHz, N cores, T threads"; a fact not found reads "unknown".
std::string GetCpuInfoText(const SystemSources& sources);

struct OsVersionRecord {
  int32_t major, minor, build, platformId;
  std::string servicePack;
};

// Windows' name for a version record, then a blank and the service pack; withNumbers adds
// " (major.minor.build.platformId)".
std::string WindowsOsName(const OsVersionRecord& version, bool withNumbers);

// Pieces numbered from 0; returns their count (at most INT16_MAX). A text ending with the
// separator has no empty last piece; an empty text or separator gives the text as one piece.
int16_t SplitText(const std::string& text, std::vector<std::string>& pieces,
                  const std::string& separator);

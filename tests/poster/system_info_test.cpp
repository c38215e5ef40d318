#include "poster/system_info.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const std::string kNoVideo = "Video no display adapter found\r\nDDCapsHW.lVidMemTotal 0MB\r\n";

class SystemInfoTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "envposter-system-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    sources_ = {root_ / "proc", root_ / "sys", root_ / "os-release", "6.1.0-18-amd64",
                {root_ / "missing.ids", root_ / "pci.ids"}};
  }

  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  void Write(const std::string& path, const std::string& text) {
    fs::create_directories((root_ / path).parent_path());
    std::ofstream(root_ / path, std::ios::binary) << text;
  }

  void WriteCard(const std::string& card, const std::string& vendor, const std::string& device) {
    const std::string folder = "sys/class/drm/" + card + "/device/";
    Write(folder + "vendor", vendor + "\n");
    Write(folder + "device", device + "\n");
    Write(folder + "uevent", "DRIVER=i915\nPCI_SLOT_NAME=0000:00:02.0\n");
  }

  std::string Line(size_t index) {
    std::vector<std::string> lines;
    SplitText(GetSystemInfo(sources_), lines, "\r\n");
    return index < lines.size() ? lines[index] : "(no line)";
  }

  fs::path root_;
  SystemSources sources_;
};

}  // namespace

TEST_F(SystemInfoTest, TwoSocketIntelMachine) {
  std::string cpuinfo;  // two sockets of two cores, two threads each; core ids repeat per socket
  for (int i = 0; i < 8; ++i)
    cpuinfo += "processor\t: " + std::to_string(i) +
               "\nvendor_id\t: GenuineIntel\ncpu family\t: 6\nmodel\t\t: 45\nmodel name\t: Xeon "
               "E5-2620\nstepping\t: 7\ncpu MHz\t\t: " + (i ? "1200.000" : "2399.502") +
               "\nphysical id\t: " + std::to_string(i / 4) +
               "\ncore id\t\t: " + std::to_string(i % 2) + "\ncpu cores\t: 2\n\n";
  Write("proc/cpuinfo", cpuinfo);
  Write("proc/meminfo", "MemTotal:       25165824 kB\nMemFree:          123456 kB\n");
  Write("os-release", "NAME=Debian\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n");
  EXPECT_EQ(GetCpuInfoText(sources_),
            "GenuineIntel\nXeon E5-2620\nfamily 6, model 45, stepping 7\n"
            "2400 MHz, 4 cores, 8 threads");
  EXPECT_EQ(GetSystemInfo(sources_),
            "Xeon E5-2620\r\n2400 MHz, 4 cores, 8 threads\r\nTotalPhysicalMem 24576MB\r\n"
            "OS Debian GNU/Linux 12 (bookworm) 6.1.0-18-amd64\r\n" + kNoVideo);
}

TEST_F(SystemInfoTest, ArmAndSingleCpuFallbacks) {
  std::string arm;
  for (int i = 0; i < 4; ++i)
    arm += "processor\t: " + std::to_string(i) + "\nCPU implementer\t: 0x41\n"
           "CPU architecture: 8\nCPU part\t: 0xd08\nCPU revision\t: 3\n\n";
  Write("proc/cpuinfo", arm + "Processor\t: ARMv7 rev 3\nHardware\t: BCM2711\n");
  Write("sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", "1799500\n");
  EXPECT_EQ(GetCpuInfoText(sources_),
            "0x41\nBCM2711\nfamily 8, model 0xd08, stepping 3\n1800 MHz, 4 cores, 4 threads");

  Write("proc/cpuinfo", "processor : 0\ncpu model : MIPS 24Kc\ncpu MHz : fast\ncpu cores : 1\n");
  fs::remove_all(root_ / "sys");
  EXPECT_EQ(GetCpuInfoText(sources_),
            "unknown vendor\nMIPS 24Kc\nfamily unknown, model unknown, stepping unknown\n"
            "unknown clock, 1 core, 1 thread");
}

TEST_F(SystemInfoTest, MissingOrEmptySources) {
  const std::string expected =
      "unknown processor\r\nunknown clock, unknown cores, unknown threads\r\n"
      "TotalPhysicalMem 0MB\r\nOS Linux 6.1.0-18-amd64\r\n" + kNoVideo;
  EXPECT_EQ(GetSystemInfo(sources_), expected);
  for (const char* file : {"proc/cpuinfo", "proc/meminfo", "os-release", "proc/asound/cards"})
    Write(file, "");
  EXPECT_EQ(GetSystemInfo(sources_), expected);
}

TEST_F(SystemInfoTest, MemoryInWholeMegabytes) {
  for (const auto& [kilobytes, megabytes] : std::vector<std::pair<std::string, std::string>>{
           {"524287", "511"}, {"524288", "512"}, {"4294967296", "4194304"}, {"lots", "0"},
           {"99999999999999999999999", "0"}}) {
    Write("proc/meminfo", "MemTotal:       " + kilobytes + " kB\n");
    EXPECT_EQ(Line(2), "TotalPhysicalMem " + megabytes + "MB");
  }
}

TEST_F(SystemInfoTest, OsNameAndKernel) {
  Write("os-release", "PRETTY_NAME=\" Fancy \\\"Quoted\\\" OS \\\\ 1\\n \"\nNAME=Other\n");
  EXPECT_EQ(Line(3), "OS Fancy \"Quoted\" OS \\ 1\\n 6.1.0-18-amd64");
  Write("os-release", "NAME='Plain Linux'\nVERSION=\"2 (two)\"\n");
  sources_.kernelRelease.clear();
  Write("proc/sys/kernel/osrelease", "5.10.0-test\n");
  EXPECT_EQ(Line(3), "OS Plain Linux 2 (two) 5.10.0-test");
}

TEST_F(SystemInfoTest, DisplayAdapters) {
  WriteCard("card0", "0x10de", "0x1c82");
  WriteCard("card1", "0x8086", "0x3e92");
  fs::create_directories(root_ / "sys/class/drm/card0-HDMI-A-1");
  Write("pci.ids",
        "# comment\n8086  Intel Corporation\n\t1c82  Not This One\n"
        "10de  NVIDIA Corporation\n\t3e92  Not This One\n\t\t3e92 1c82  Sub Device\n"
        "\t1c82  GP107 [GeForce GTX 1050 Ti]\n\t\t10de 11bf  Sub Device\n");
  EXPECT_EQ(Line(4), "Video NVIDIA Corporation GP107 [GeForce GTX 1050 Ti]");
  EXPECT_EQ(Line(5), "DDCapsHW.lVidMemTotal 0MB");

  // card2 comes before card10; pci.ids does not know 8086:3e92.
  fs::remove_all(root_ / "sys/class/drm/card0");
  fs::rename(root_ / "sys/class/drm/card1", root_ / "sys/class/drm/card2");
  WriteCard("card10", "0x10de", "0x1c82");
  EXPECT_EQ(Line(4), "Video i915 (8086:3e92)");

  WriteCard("card2", "0x1002", "0x73bf");
  Write("sys/class/drm/card2/device/uevent", "DRIVER=amdgpu\n");
  Write("sys/class/drm/card2/device/mem_info_vram_total", "8589934591\n");
  EXPECT_EQ(Line(4), "Video amdgpu (1002:73bf)");
  EXPECT_EQ(Line(5), "DDCapsHW.lVidMemTotal 8191MB");
}

TEST_F(SystemInfoTest, SoundCardsWithoutPrimaryDrivers) {
  Write("proc/asound/cards",
        " 0 [PCH            ]: HDA-Intel - HDA Intel PCH\n"
        "                      HDA Intel PCH at 0xf7f10000 irq 32\n"
        " 1 [Primary        ]: Dummy - Primary Sound Driver\n"
        " 2 [Loop           ]: Loopback - プライマリ サウンド\n"
        "10 [NVidia         ]: HDA-Intel - HDA NVidia \n"
        "                      HDA NVidia - at 0xf7080000 irq 17\n"
        "11 [Dummy          ]: Dummy - the primary card\n");
  const std::string block = GetSystemInfo(sources_);
  EXPECT_EQ(block.substr(block.find(kNoVideo) + kNoVideo.size()),
            "Sound HDA Intel PCH\r\nSound HDA NVidia\r\n");
}

TEST_F(SystemInfoTest, GarbageKeepsTheBlockShape) {
  const std::string junk = std::string("\xff\xfe\0\r\x01 \xe3\x81", 8) + std::string(100000, 'x');
  for (const char* file : {"proc/meminfo", "os-release", "proc/asound/cards", "pci.ids",
                           "sys/class/drm/card0/device/uevent",
                           "sys/class/drm/card0/device/vendor"})
    Write(file, junk + "\n" + junk + ":" + junk + "=" + junk + "\n\n\n");
  // Bad bytes become "?", control characters and line breaks blanks; the value is cut near
  // 256 bytes.
  Write("proc/cpuinfo",
        "model name : \xc3\xa9l\xe9ve\x7f\u2028\u2029\u0085\uFDD0\u00a0\xf0\x9f\x98\x80" + junk);
  EXPECT_EQ(Line(0), "\xc3\xa9l?ve     \u00a0\xf0\x9f\x98\x80??    ??" + std::string(230, 'x'));
  EXPECT_EQ(Line(2), "TotalPhysicalMem 0MB");
  EXPECT_EQ(Line(3), "OS Linux 6.1.0-18-amd64");
  EXPECT_EQ(Line(4), "Video unknown adapter");
  EXPECT_EQ(Line(6), "(no line)");
}

TEST(WindowsOsNameTest, NamesByPlatformAndVersion) {
  const auto name = [](int32_t id, int32_t major, int32_t minor) {
    return WindowsOsName({major, minor, 1234, id, "SP2"}, false);
  };
  EXPECT_EQ(name(0, 4, 0), "Win32s on Windows 3.1 SP2");
  EXPECT_EQ(name(1, 4, 9), "Windows95 SP2");
  EXPECT_EQ(name(1, 4, 10), "Windows98 SP2");
  EXPECT_EQ(name(1, 4, 89), "Windows98 SP2");
  EXPECT_EQ(name(1, 4, 90), "WindowsMe SP2");
  EXPECT_EQ(name(2, 4, 0), "WindowsNT4.0 SP2");
  EXPECT_EQ(name(2, 5, 0), "Windows2000 SP2");
  EXPECT_EQ(name(2, 5, 1), "WindowsXP SP2");
  EXPECT_EQ(name(2, 5, 2), "Windows Server 2003 family SP2");
  EXPECT_EQ(name(2, 5, 3), " SP2");
  EXPECT_EQ(name(2, 6, 0), "new os SP2");
  EXPECT_EQ(name(2, 3, 51), "WindowsNT3.51 SP2");
  EXPECT_EQ(name(1, 3, 95), "WindowsNT3.51 SP2");
  EXPECT_EQ(name(0, 2, 0), "WindowsNT3.51 or older SP2");
  EXPECT_EQ(name(3, 10, 0), " SP2");

  EXPECT_EQ(WindowsOsName({5, 1, 2600, 2, ""}, false), "WindowsXP ");
  EXPECT_EQ(WindowsOsName({5, 1, 2600, 2, std::string(" SP3 \0junk", 10)}, true),
            "WindowsXP SP3 (5.1.2600.2)");
  EXPECT_EQ(WindowsOsName({4, 10, 0x04000A5A, 1, ""}, true), "Windows98  (4.10.2650.1)");
  EXPECT_EQ(WindowsOsName({5, 0, 0x04000A5A, 2, ""}, true), "Windows2000  (5.0.67111514.2)");
}

TEST(SplitTextTest, PiecesAndCounts) {
  using Pieces = std::vector<std::string>;
  Pieces pieces = {"stale"};
  const auto split = [&pieces](const std::string& text, const std::string& separator) {
    const int16_t count = SplitText(text, pieces, separator);
    return count == static_cast<int16_t>(pieces.size()) ? pieces : Pieces{"(bad count)"};
  };
  EXPECT_EQ(split("a\nb", "\n"), (Pieces{"a", "b"}));
  EXPECT_EQ(split("a\n", "\n"), (Pieces{"a"}));
  EXPECT_EQ(split("", "\n"), (Pieces{""}));
  EXPECT_EQ(split("\n", "\n"), (Pieces{""}));
  EXPECT_EQ(split("a\n\nb", "\n"), (Pieces{"a", "", "b"}));
  EXPECT_EQ(split("a\r\nb\r\n\r", "\r\n"), (Pieces{"a", "b", "\r"}));
  EXPECT_EQ(split("a,b", ""), (Pieces{"a,b"}));
  EXPECT_EQ(SplitText(std::string(40000, ','), pieces, ","), INT16_MAX);
  EXPECT_EQ(pieces.size(), 40000u);
}

TEST(SystemInfoRealMachineTest, BlockShape) {
  std::vector<std::string> lines;
  const std::string block = GetSystemInfo();
  ASSERT_TRUE(block.ends_with("\r\n"));
  SplitText(block, lines, "\r\n");
  ASSERT_GE(lines.size(), 6u);
  const std::vector<std::string> labels = {"", "", "TotalPhysicalMem ", "OS ", "Video ",
                                           "DDCapsHW.lVidMemTotal "};
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_TRUE(lines[i].starts_with(i < labels.size() ? labels[i] : "Sound ")) << lines[i];
    EXPECT_EQ(lines[i].find_first_of("\r\n"), std::string::npos) << i;
  }
  EXPECT_NE(lines[1].find(" core"), std::string::npos);
}

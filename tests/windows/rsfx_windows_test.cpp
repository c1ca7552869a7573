// The Windows rsfx under the same demo source as the Linux build: the same clips with the same
// boundaries, types and information texts, and extracted files byte for byte the source's.
#include <windows.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/scan_harness.h"
#include "windows/windows_harness.h"

namespace rsf::test {
namespace {

#ifdef LINUX_DEMO_SOURCE
constexpr const char* kLinuxDemo = LINUX_DEMO_SOURCE;
#else
constexpr const char* kLinuxDemo = "";
#endif
#ifdef LINUX_REPORTS
constexpr const char* kLinuxReports = LINUX_REPORTS;
#else
constexpr const char* kLinuxReports = "";
#endif

struct Placed {
  std::string extension;
  std::int64_t start, end;
  bool operator==(const Placed&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Placed& clip) {
  return out << clip.extension << " " << clip.start << "-" << clip.end;
}

// The manifest make_demo writes beside the demo source: "extension start end" per line.
std::vector<Placed> Manifest(const std::string& path) {
  std::ifstream in(PathFromUtf8(path));
  std::vector<Placed> clips;
  Placed clip;
  while (in >> clip.extension >> clip.start >> clip.end) clips.push_back(clip);
  return clips;
}

std::vector<Placed> ClipsOf(const nlohmann::json& report) {
  std::vector<Placed> clips;
  for (const auto& clip : report["clips"])
    clips.push_back({clip["extension"].get<std::string>(), clip["start"].get<std::int64_t>(),
                     clip["end"].get<std::int64_t>()});
  std::sort(clips.begin(), clips.end(), [](const Placed& a, const Placed& b) { return a.start < b.start; });
  return clips;
}

nlohmann::json ReadJson(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  return nlohmann::json::parse(in);
}

class RsfxWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::string(kLinuxDemo).empty())
      GTEST_SKIP() << "no Linux demo source: configure with -DRSF_LINUX_DEMO_SOURCE=<Linux build>/demo/demo.bin";
    ASSERT_TRUE(std::filesystem::exists(PathFromUtf8(kLinuxDemo))) << kLinuxDemo;
  }

  // rsfx.exe with `args`; its JSON report when it succeeds.
  static nlohmann::json RsfxJson(const std::vector<std::string>& args) {
    const ChildResult run = RunChild(RSFX_PATH, args);
    EXPECT_EQ(run.status, 0) << run.err;
    if (run.status != 0) return nlohmann::json::object();
    return nlohmann::json::parse(run.out);
  }

  static void ExpectSameReports(const nlohmann::json& windows, const std::string& linux_file) {
    if (std::string(kLinuxReports).empty()) GTEST_SKIP() << "no Linux rsfx reports: configure with -DRSF_LINUX_RSFX";
    const nlohmann::json linux_report = ReadJson(std::string(kLinuxReports) + "/" + linux_file);
    EXPECT_EQ(windows["size"], linux_report["size"]);
    EXPECT_EQ(windows["read_errors"], linux_report["read_errors"]);
    ASSERT_EQ(windows["clips"].size(), linux_report["clips"].size());
    for (std::size_t i = 0; i < windows["clips"].size(); ++i)
      EXPECT_EQ(windows["clips"][i], linux_report["clips"][i]) << "clip " << i + 1;
  }
};

TEST_F(RsfxWindowsTest, ScanFindsTheClipsOfTheLinuxManifest) {
  const nlohmann::json report = RsfxJson({"scan", WindowsPath(kLinuxDemo), "--json"});
  const std::vector<Placed> expected = Manifest(std::string(kLinuxDemo) + ".clips");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(ClipsOf(report), expected);
  EXPECT_EQ(report["read_errors"], 0);
  EXPECT_EQ(report["size"], std::filesystem::file_size(PathFromUtf8(kLinuxDemo)));
}

TEST_F(RsfxWindowsTest, ScanReportEqualsTheLinuxReport) {
  ExpectSameReports(RsfxJson({"scan", WindowsPath(kLinuxDemo), "--json"}), "scan.json");
}

TEST_F(RsfxWindowsTest, Mp3ModeEqualsTheLinuxReportAndManifest) {
  const nlohmann::json report = RsfxJson({"scan", WindowsPath(kLinuxDemo), "--mp3", "--json"});
  EXPECT_EQ(ClipsOf(report), Manifest(std::string(kLinuxDemo) + ".mp3clips"));
  ExpectSameReports(report, "mp3.json");
}

TEST_F(RsfxWindowsTest, ExtractWritesByteIdenticalFiles) {
  TempDir dir;
  const nlohmann::json report =
      RsfxJson({"extract", WindowsPath(kLinuxDemo), "--target", dir.File("clip"), "--json"});
  const std::vector<std::uint8_t> source = ReadWholeFile(kLinuxDemo);
  ASSERT_EQ(report["clips"].size(), Manifest(std::string(kLinuxDemo) + ".clips").size());
  ASSERT_EQ(report["files"].size(), report["clips"].size());
  for (std::size_t i = 0; i < report["clips"].size(); ++i) {
    const auto& clip = report["clips"][i];
    const std::string file = report["files"][i];
    EXPECT_EQ(file, dir.File("clip") + std::to_string(i + 1) + clip["extension"].get<std::string>());
    const std::vector<std::uint8_t> expected(source.begin() + clip["start"].get<std::int64_t>(),
                                             source.begin() + clip["end"].get<std::int64_t>());
    EXPECT_EQ(ReadWholeFile(file), expected) << file;
  }
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, report["files"].size()) << "nothing but the clips is written";
}

// A Chinese Windows runs with the ANSI code page 936; there a source and a target named in
// Chinese go from the UTF-16 command line through UTF-8 to the ANSI file functions.
TEST_F(RsfxWindowsTest, ChineseNamesOnAChineseSystem) {
  if (GetACP() != 936) GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", not 936 (run Wine with LC_ALL=zh_CN.UTF-8)";
  TempDir dir;
  const std::string folder = dir.File("演示 目录");
  std::filesystem::create_directory(PathFromUtf8(folder));
  const std::string source = folder + "/演示.bin";
  std::filesystem::copy_file(PathFromUtf8(kLinuxDemo), PathFromUtf8(source));

  const nlohmann::json scanned = RsfxJson({"scan", source, "--json"});
  EXPECT_EQ(scanned["source"], source);
  EXPECT_EQ(ClipsOf(scanned), Manifest(std::string(kLinuxDemo) + ".clips"));

  const nlohmann::json extracted = RsfxJson({"extract", source, "--target", folder + "/剪辑", "--only", "1", "--json"});
  ASSERT_EQ(extracted["files"].size(), 1u);
  const std::string file = extracted["files"][0];
  EXPECT_EQ(file, folder + "/剪辑1" + extracted["clips"][0]["extension"].get<std::string>());
  EXPECT_EQ(std::filesystem::file_size(PathFromUtf8(file)),
            extracted["clips"][0]["end"].get<std::uint64_t>() - extracted["clips"][0]["start"].get<std::uint64_t>());
}

TEST(RsfxWindowsUsageTest, ExitStatusesAndPathsThatLookLikeOptions) {
  EXPECT_EQ(RunChild(RSFX_PATH, {"scan"}).status, 2);
  EXPECT_EQ(RunChild(RSFX_PATH, {"scan", "x", "/types"}).status, 2) << "a second source is a usage error";
  // "/..." is a path, never a Windows-style option.
  const ChildResult missing = RunChild(RSFX_PATH, {"scan", "/no/such/source.bin"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("/no/such/source.bin"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace rsf::test

namespace rsf::test {
namespace {

// rsfx.exe finds wnaspi32.dll by name beside itself, lists the image provider's drive and scans
// the disc through ASPI exactly as the Linux build scans the same bytes.
TEST(RsfxWindowsAspiTest, DllLoadedByNameListsTheDriveAndScansTheDisc) {
  if (std::string(kLinuxDemo).empty()) GTEST_SKIP() << "no Linux demo source configured";
  TempDir dir;
  std::ifstream in(PathFromUtf8(kLinuxDemo), std::ios::binary);
  std::vector<char> disc((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t payload = disc.size();
  // Whole sectors, block 16 readable, and the 4,096 bytes and last block the stream leaves out.
  disc.resize(((std::max<std::size_t>(payload, 17 * 2048) + 2047) / 2048) * 2048 + 4096 + 2048, 0);
  const std::string image = dir.File("disc.iso");
  std::ofstream(PathFromUtf8(image), std::ios::binary).write(disc.data(), static_cast<std::streamsize>(disc.size()));

  unsetenv("RSFX_ASPI_LIBRARY");
  setenv("RSFX_CD_ACCESS", "aspi", 1);
  setenv("RSFX_ASPI_IMAGES", ("0:1=" + WindowsPath(image)).c_str(), 1);
  const ChildResult drives = RunChild(RSFX_PATH, {"drives"});
  const ChildResult scan = RunChild(RSFX_PATH, {"scan", "--cd", "0:1:0", "--json"});
  const ChildResult plain = RunChild(RSFX_PATH, {"scan", WindowsPath(kLinuxDemo), "--json"});
  unsetenv("RSFX_CD_ACCESS");
  unsetenv("RSFX_ASPI_IMAGES");

  ASSERT_EQ(drives.status, 0) << drives.err;
  EXPECT_EQ(drives.out.substr(0, 9), "0:1:0    ");
  EXPECT_NE(drives.out.find("RSF     IMAGE CD-ROM    1.0"), std::string::npos) << drives.out;
  ASSERT_EQ(scan.status, 0) << scan.err;
  ASSERT_EQ(plain.status, 0) << plain.err;
  const auto from_disc = nlohmann::json::parse(scan.out);
  const auto from_file = nlohmann::json::parse(plain.out);
  EXPECT_EQ(from_disc["clips"], from_file["clips"]);
  EXPECT_GT(from_disc["clips"].size(), 20u);
}

}  // namespace
}  // namespace rsf::test

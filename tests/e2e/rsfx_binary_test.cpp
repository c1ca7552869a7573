// The rsfx program as users run it, on the demo source the build generates.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "support/scan_harness.h"

namespace {

struct ShellRun {
  int status;
  std::string out;
};

ShellRun Shell(const std::string& command) {
#ifdef _WIN32
  // cmd.exe runs the command; _pclose gives the program's exit code as it is. The pipe is read
  // in text mode, so line ends arrive as on POSIX.
  std::FILE* pipe = _popen((command + " 2>nul").c_str(), "r");
#else
  std::FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
#endif
  std::string out;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
#ifdef _WIN32
  return {_pclose(pipe), out};
#else
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
#endif
}

struct Expected {
  std::string extension;
  std::int64_t start, end;
};

std::vector<Expected> Manifest(const std::string& path) {
  std::ifstream in(path);
  std::vector<Expected> clips;
  Expected clip;
  while (in >> clip.extension >> clip.start >> clip.end) clips.push_back(clip);
  return clips;
}

std::vector<Expected> Sorted(std::vector<Expected> clips) {
  std::sort(clips.begin(), clips.end(), [](const Expected& a, const Expected& b) { return a.start < b.start; });
  return clips;
}

void ExpectDemoClips(const std::string& options, const std::string& manifest) {
  const ShellRun run = Shell(std::string(RSFX_PATH) + " scan " + DEMO_SOURCE + " --json" + options);
  ASSERT_EQ(run.status, 0);
  const auto report = nlohmann::json::parse(run.out);
  std::vector<Expected> found;
  for (const auto& clip : report["clips"])
    found.push_back({clip["extension"].get<std::string>(), clip["start"].get<std::int64_t>(), clip["end"].get<std::int64_t>()});
  const auto expected = Manifest(std::string(DEMO_SOURCE) + manifest);
  ASSERT_EQ(found.size(), expected.size());
  const auto sorted = Sorted(found);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(sorted[i].extension, expected[i].extension) << i;
    EXPECT_EQ(sorted[i].start, expected[i].start) << i;
    EXPECT_EQ(sorted[i].end, expected[i].end) << i;
  }
}

TEST(RsfxBinaryTest, ScanFindsEveryDemoClipWithExactBoundaries) {
  ExpectDemoClips("", ".clips");
  ExpectDemoClips(" --mp3", ".mp3clips");
}

TEST(RsfxBinaryTest, ExtractWritesByteIdenticalFiles) {
  rsf::test::TempDir dir;
  const ShellRun run = Shell(std::string(RSFX_PATH) + " extract " + DEMO_SOURCE + " --target " + dir.File("clip") + " --json");
  ASSERT_EQ(run.status, 0);
  const auto report = nlohmann::json::parse(run.out);
  const auto source = rsf::test::ReadWholeFile(DEMO_SOURCE);
  ASSERT_EQ(report["files"].size(), report["clips"].size());
  for (std::size_t i = 0; i < report["clips"].size(); ++i) {
    const auto& clip = report["clips"][i];
    const auto written = rsf::test::ReadWholeFile(report["files"][i]);
    const std::vector<std::uint8_t> expected(source.begin() + clip["start"].get<std::int64_t>(),
                                             source.begin() + clip["end"].get<std::int64_t>());
    EXPECT_EQ(written, expected) << report["files"][i];
  }
}

TEST(RsfxBinaryTest, TextOutputEndsWithTheCompletionLine) {
  const ShellRun run = Shell(std::string(RSFX_PATH) + " scan " + DEMO_SOURCE);
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("文件 #1\t"), std::string::npos);
  EXPECT_NE(run.out.find("分析完成。错误 : 0\n"), std::string::npos);
  EXPECT_EQ(Shell(std::string(RSFX_PATH) + " scan").status, 2);
}

#ifndef _WIN32
// Without RSFX_ASPI_LIBRARY, rsfx finds the SCSI-generic ASPI provider in the programs' library
// folder (as the desktop program does): the ASPI layer answers, and only the drives are missing
// on this machine. A provider that was not found would leave no ASPI layer at all.
TEST(RsfxBinaryTest, FindsTheAspiProviderInTheLibraryFolder) {
  const ShellRun run = Shell("(env -u RSFX_ASPI_LIBRARY RSFX_CD_ACCESS=aspi " + std::string(RSFX_PATH) + " drives 2>&1)");
  EXPECT_EQ(run.out.find("不能找到 ASPI 驱动器"), std::string::npos) << run.out;
  if (run.status != 0) {
    EXPECT_NE(run.out.find("不能找到任何 CD-ROM 驱动器"), std::string::npos) << run.out;
  }
}
#endif

}  // namespace

// rsfx in-process: option lists, usage errors, the JSON report and extraction.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "cli/option_parsing.h"
#include "cli/rsfx_app.h"
#include "cli/rsfx_runner.h"
#include "support/scan_harness.h"
#include "synth/demo_source.h"

namespace rsf::cli {
namespace {

TEST(RsfxOptionsTest, TypeListsAndClipNumbers) {
  std::string error;
  auto types = ParseTypeList("jpg,mid,qt", error);
  ASSERT_TRUE(types);
  EXPECT_TRUE((*types)[static_cast<int>(ClipKind::kJPG)]);
  EXPECT_TRUE((*types)[static_cast<int>(ClipKind::kQT)]);
  EXPECT_FALSE((*types)[static_cast<int>(ClipKind::kBMP)]);
  EXPECT_FALSE(ParseTypeList("jpg,tiff", error));
  EXPECT_NE(error.find("tiff"), std::string::npos);
  EXPECT_NE(error.find("8svx"), std::string::npos) << "the message names every type";
  EXPECT_FALSE(ParseTypeList("jpg,", error)) << "an empty name is not a type";
  // The further types by their names; "all" is every type.
  types = ParseTypeList("gif,8svx,it", error);
  ASSERT_TRUE(types);
  EXPECT_EQ(std::count(types->begin(), types->end(), true), 3);
  EXPECT_TRUE((*types)[static_cast<int>(ClipKind::k8SVX)]);
  types = ParseTypeList("all", error);
  ASSERT_TRUE(types);
  EXPECT_EQ(std::count(types->begin(), types->end(), true), kClipKindCount);
  EXPECT_EQ(ClassicTypeNames(), "qt,bmp,avi,wav,jpg,mpg,mve,ram,bik,smk,mid");

  auto numbers = ParseClipNumbers("2,5-7,5", error);
  ASSERT_TRUE(numbers);
  EXPECT_EQ(*numbers, (std::set<std::size_t>{2, 5, 6, 7}));
  for (const char* bad : {"", "0", "3-1", "x", "1-", "-2", "1,,2", "99999999999999999999999", "1-999999999"})
    EXPECT_FALSE(ParseClipNumbers(bad, error)) << bad;
}

TEST(RsfxTest, UsageErrorsExitWithTwo) {
  EXPECT_EQ(Rsfx({}).status, kExitUsageError);
  EXPECT_EQ(Rsfx({"scan"}).status, kExitUsageError);
  EXPECT_EQ(Rsfx({"frobnicate", "x"}).status, kExitUsageError);
  EXPECT_EQ(Rsfx({"scan", "x", "--types", "tiff"}).status, kExitUsageError);
  EXPECT_EQ(Rsfx({"extract", "x"}).status, kExitUsageError) << "--target is required";
  EXPECT_EQ(Rsfx({"extract", "x", "--target", "p", "--only", "0"}).status, kExitUsageError);
  EXPECT_EQ(Rsfx({"--help"}).status, kExitOk);
  const auto version = Rsfx({"--version"});
  EXPECT_EQ(version.status, kExitOk);
  EXPECT_EQ(version.out, std::string("rsfx (RSF-Extractor) ") + RSF_VERSION_TEXT + ", Build " + RSF_BUILD_TEXT + "\n")
      << "the version flag needs no subcommand";
}

// A source that is missing, a folder or a named pipe (whose open would wait for a writer for
// ever): a runtime error at once, the path on the first line and why on the second.
TEST(RsfxTest, SourcesThatAreNoFilesAreRuntimeErrorsWithTheReason) {
  test::TempDir dir;
  std::vector<std::string> sources = {dir.File("nope.bin"), dir.path()};
#ifndef _WIN32
  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
  sources.push_back(dir.File("pipe"));
  ::alarm(20);
#endif
  for (const std::string& source : sources) {
    const Outcome result = Rsfx({"scan", source});
    EXPECT_EQ(result.status, kExitRuntimeError) << source;
    const std::string first = "不能打开文件 " + source + "\n";
    EXPECT_EQ(result.err.rfind(first, 0), 0u) << result.err;
    EXPECT_GT(result.err.size(), first.size() + 2) << "a reason line follows";
    EXPECT_EQ(result.err.find('\n', first.size()), result.err.size() - 1) << "two lines";
  }
#ifndef _WIN32
  ::alarm(0);
#endif
}

TEST(RsfxTest, JsonReportFollowsTheContract) {
#if !RSF_HAVE_JPEG
  GTEST_SKIP() << "needs the demo's JPEG images, which this build (no libjpeg) cannot synthesize";
#endif
  test::TempDir dir;
  const synth::DemoSource demo = synth::BuildDemoSource();
  const std::string source = dir.File("demo.bin");
  test::WriteWholeFile(source, demo.bytes);
  const Outcome result = Rsfx({"scan", source, "--json", "--types", "jpg,mpg,mve,ram"});
  ASSERT_EQ(result.status, kExitOk) << result.err;
  const auto report = nlohmann::json::parse(result.out);
  EXPECT_EQ(report.size(), 5u);
  EXPECT_EQ(report["precise"], false) << "the classic rules unless --precise";
  EXPECT_EQ(report["source"], source);
  EXPECT_EQ(report["size"], demo.bytes.size());
  EXPECT_EQ(report["read_errors"], 0);
  ASSERT_GE(report["clips"].size(), 8u);
  const auto& first = report["clips"][0];
  EXPECT_EQ(first.size(), 6u);
  EXPECT_EQ(first["number"], 1);
  EXPECT_EQ(first["type"], "JPEG 图片");
  EXPECT_EQ(first["extension"], ".jpg");
  EXPECT_EQ(first["start"], demo.clips[0].start);
  EXPECT_EQ(first["end"], demo.clips[0].end);
  EXPECT_TRUE(first["info"].is_string());
}

TEST(RsfxTest, ExtractWritesTheChosenClips) {
#if !RSF_HAVE_JPEG
  GTEST_SKIP() << "needs the demo's JPEG images, which this build (no libjpeg) cannot synthesize";
#endif
  test::TempDir dir;
  const synth::DemoSource demo = synth::BuildDemoSource();
  const std::string source = dir.File("demo.bin");
  test::WriteWholeFile(source, demo.bytes);
  const Outcome result = Rsfx({"extract", source, "--target", dir.File("out"), "--only", "1,3", "--types", "jpg,mpg"});
  ASSERT_EQ(result.status, kExitOk) << result.err;
  EXPECT_NE(result.out.find("提取完成。"), std::string::npos);
  EXPECT_EQ(test::ReadWholeFile(dir.File("out1.jpg")), demo.clips[0].bytes);
  EXPECT_TRUE(std::filesystem::exists(dir.File("out3.jpg")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("out2.mpg")));

  const Outcome none = Rsfx({"extract", source, "--target", dir.File("out"), "--only", "500"});
  EXPECT_EQ(none.status, kExitRuntimeError);
  EXPECT_EQ(none.err, "你没有选择任何剪辑 !\n");

  const Outcome missing = Rsfx({"extract", source, "--target", dir.File("missing/out")});
  EXPECT_EQ(missing.status, kExitRuntimeError);
  EXPECT_NE(missing.err.find("\n不能创建文件 " + dir.File("missing/out") + "1.jpg\n"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace rsf::cli

// Extraction: file names, tick gaps, replacement, and failures that stop the run while keeping
// what was written before.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/errors.h"
#include "scan/extraction/extraction.h"
#include "support/scan_harness.h"

namespace rsf {
namespace {

using test::ReadWholeFile;
using test::TempDir;

class RecordingExtraction : public ExtractionObserver {
 public:
  void StatusText(const std::string& text) override { statuses.push_back(text); }
  void GaugeMaximum(std::int64_t m) override { maximum = m; }
  void GaugeProgress(std::int64_t p) override { progress.push_back(p); }
  std::vector<std::string> statuses;
  std::int64_t maximum = -1;
  std::vector<std::int64_t> progress;
};

std::vector<std::uint8_t> Counting(std::size_t n) {
  std::vector<std::uint8_t> bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  return bytes;
}

// Ten clips of 1,000 bytes each at 0, 1000, ... with alternating extensions.
ClipCatalogue TenClips() {
  ClipCatalogue catalogue;
  for (int i = 0; i < 10; ++i)
    catalogue.push_back({i * 1000, i % 2 ? ".wav" : ".jpg", i * 1000 + 1000 + i, {}});
  return catalogue;
}

TEST(ExtractionTest, TickedEntriesKeepTheirListNumbers) {
  TempDir dir;
  MemoryStream source(Counting(20000));
  std::vector<bool> ticked(10, false);
  ticked[2] = ticked[6] = true;  // list entries 3 and 7
  RecordingExtraction observer;
  const std::string prefix = dir.File("Clip");
  ASSERT_EQ(ExtractClips(&source, TenClips(), ticked, prefix, observer), ExtractionOutcome::kDone);

  EXPECT_EQ(std::filesystem::directory_iterator(dir.path()) == std::filesystem::directory_iterator(), false);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Clip3.jpg", "Clip7.jpg"}));
  const auto clip3 = ReadWholeFile(prefix + "3.jpg");
  EXPECT_EQ(clip3, std::vector<std::uint8_t>(source.bytes().begin() + 2000, source.bytes().begin() + 3002));
  EXPECT_EQ(observer.maximum, 1);
  EXPECT_EQ(observer.progress, (std::vector<std::int64_t>{0, 0, 1}));
  EXPECT_EQ(observer.statuses, (std::vector<std::string>{"正在提取 " + prefix + "3.jpg", "正在提取 " + prefix + "7.jpg"}));
}

TEST(ExtractionTest, NothingTickedNoSourceAndReplacement) {
  TempDir dir;
  MemoryStream source(Counting(20000));
  RecordingExtraction observer;
  EXPECT_EQ(ExtractClips(nullptr, TenClips(), std::vector<bool>(10, true), dir.File("C"), observer),
            ExtractionOutcome::kNoSource);
  EXPECT_EQ(ExtractClips(&source, TenClips(), std::vector<bool>(10, false), dir.File("C"), observer),
            ExtractionOutcome::kNothingTicked);
  EXPECT_EQ(ExtractClips(&source, TenClips(), {}, dir.File("C"), observer), ExtractionOutcome::kNothingTicked)
      << "an emptied list ticks nothing";
  EXPECT_TRUE(observer.statuses.empty());

  test::WriteWholeFile(dir.File("C1.jpg"), std::vector<std::uint8_t>(50000, 9));
  std::vector<bool> first(10, false);
  first[0] = true;
  EXPECT_EQ(ExtractClips(&source, TenClips(), first, dir.File("C"), observer), ExtractionOutcome::kDone);
  EXPECT_EQ(ReadWholeFile(dir.File("C1.jpg")).size(), 1000u) << "an existing file is replaced, not appended to";
}

TEST(ExtractionTest, MissingFolderStopsAtTheFirstClip) {
  TempDir dir;
  MemoryStream source(Counting(20000));
  RecordingExtraction observer;
  const std::string prefix = dir.File("no-such-folder/Clip");
  try {
    ExtractClips(&source, TenClips(), std::vector<bool>(10, true), prefix, observer);
    FAIL();
  } catch (const ExtractionError& e) {
    EXPECT_EQ(e.cause().rfind("不能创建文件 " + prefix + "1.jpg\n", 0), 0u) << e.cause();
  }
  EXPECT_EQ(observer.statuses.size(), 1u);
}

TEST(ExtractionTest, ReadFailureMidClipKeepsEarlierFilesAndNoPartialOne) {
  TempDir dir;
  ClipCatalogue catalogue = {{0, ".jpg", 1000, {}}, {10000, ".avi", 10000 + 200000, {}}, {1000, ".wav", 2000, {}}};
  test::FailingStream source(Counting(300000));
  source.FailRange(10000 + 61440 + 100, 10000 + 61440 + 101);  // inside the clip's second block
  RecordingExtraction observer;
  EXPECT_THROW(ExtractClips(&source, catalogue, {true, true, true}, dir.File("X"), observer), ExtractionError);
  EXPECT_EQ(ReadWholeFile(dir.File("X1.jpg")).size(), 1000u);
  EXPECT_FALSE(std::filesystem::exists(dir.File("X2.avi"))) << "no partial file under the failing clip's name";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1)
      << "nor under any other name";
  EXPECT_FALSE(std::filesystem::exists(dir.File("X3.wav")));
  EXPECT_EQ(observer.statuses.back(), "正在提取 " + dir.File("X2.avi"));
}

// A target that accepts a given number of bytes, then stores nothing more.
class FullDisk : public TargetFile {
 public:
  explicit FullDisk(std::int64_t room) : room_(room) {}
  std::int64_t Write(const void*, std::int64_t count) override {
    const std::int64_t stored = std::min(count, room_);
    room_ -= stored;
    return stored;
  }
  bool Close() override { return true; }
  void Discard() override {}
  std::int64_t room_;
};

TEST(ExtractionTest, WriteFailureIsTheStreamWriteError) {
  MemoryStream source(Counting(300000));
  RecordingExtraction observer;
  int created = 0;
  auto factory = [&](const std::string&) -> std::unique_ptr<TargetFile> {
    ++created;
    return std::make_unique<FullDisk>(100000);
  };
  ClipCatalogue catalogue = {{0, ".bin", 90000, {}}, {0, ".bin", 250000, {}}, {0, ".bin", 10, {}}};
  try {
    ExtractClips(&source, catalogue, {true, true, true}, "P", observer, factory);
    FAIL();
  } catch (const ExtractionError& e) {
    EXPECT_EQ(e.cause(), "数据流写入错误");
  }
  EXPECT_EQ(created, 2);
}

}  // namespace
}  // namespace rsf

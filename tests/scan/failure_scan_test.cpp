// Scan failures that must not lose data: a source file that shrinks or disappears while it is
// scanned (with the background read-ahead of windows at work), and a CD that fails in the middle
// of a scan or of an extraction. The user gets the exact error text; no clip is listed that
// cannot be extracted whole without an error saying so; the engine stays usable.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "base/errors.h"
#include "cd/BasicASPI.h"
#include "cd/fake_aspi.h"
#include "scan/extraction/extraction.h"
#include "stream/file_stream.h"
#include "scan/engine/scan_state.h"
#include "support/scan_harness.h"
#include "synth/demo_source.h"

namespace rsf {
namespace {

using synth::ByteVector;
using test::RecordingObserver;
using test::TempDir;

class StatusLog : public ExtractionObserver {
 public:
  void StatusText(const std::string& text) override { statuses.push_back(text); }
  std::vector<std::string> statuses;
};

// Extracts every listed clip alone: each comes out byte for byte as `original` holds it, or its
// extraction fails with the read error; a clip is never written short without one.
void ExpectNoClipWrittenShortSilently(SourceStream& source, const ClipCatalogue& catalogue, const ByteVector& original,
                                      const std::string& prefix) {
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    std::vector<bool> ticked(catalogue.size(), false);
    ticked[i] = true;
    StatusLog status;
    const std::string name = ClipFileName(prefix, i, catalogue[i].Extension);
    try {
      ASSERT_EQ(ExtractClips(&source, catalogue, ticked, prefix, status), ExtractionOutcome::kDone);
      const TFilestruct& clip = catalogue[i];
      EXPECT_EQ(test::ReadWholeFile(name),
                ByteVector(original.begin() + clip.StartOffset, original.begin() + clip.EndOffset))
          << "clip " << i;
    } catch (const ExtractionError& error) {
      // A clip that reaches into the part that is gone: the error says so and names it.
      EXPECT_EQ(error.cause(), "数据流读取错误");
      EXPECT_EQ(error.file_name(), name);
      EXPECT_GT(catalogue[i].EndOffset, static_cast<std::int64_t>(source.Size()));
    }
  }
}

// Whether this platform lets another program change a file the scan holds open (POSIX does;
// Windows, where the source is opened deny-write, does not).
bool CanChangeAnOpenSource(const std::string& path) {
  FileStream held(path);
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  std::filesystem::resize_file(path, size, error);
  return !error;
}

class ShrinkingSourceTest : public ::testing::TestWithParam<bool> {
 protected:
  const synth::DemoSource demo_ = synth::BuildDemoSource();
  TempDir dir_;
  const std::string path_ = dir_.File("demo.bin");
};

TEST_P(ShrinkingSourceTest, SourceTruncatedDuringTheScan) {
  const bool ignore_read_errors = GetParam();
  ASSERT_GT(demo_.bytes.size(), 8u * kWindowSize) << "enough windows for the read-ahead to run ahead";
  const std::int64_t cut = static_cast<std::int64_t>(demo_.bytes.size() / 2);
  test::WriteWholeFile(path_, demo_.bytes);

  RecordingObserver observer;
  bool shrunk = false;
  observer.on_messages = [&] {
    std::error_code error;
    if (observer.message_rounds == 2) std::filesystem::resize_file(path_, static_cast<std::uintmax_t>(cut), error);
    shrunk = shrunk || (observer.message_rounds == 2 && !error);
  };
  ScanEngine engine(observer);
  ScanOptions options = ScanOptions::ClassicTypes();
  options.ignore_read_errors = ignore_read_errors;
  if (!CanChangeAnOpenSource(path_)) {
    // Where the source is opened deny-write (Windows), no other program can shrink it.
    ASSERT_EQ(engine.StartAnalysis([&] { return std::make_unique<FileStream>(path_); }, options), ScanOutcome::kFinished);
    EXPECT_FALSE(shrunk);
    EXPECT_EQ(engine.Catalogue().size(), demo_.clips.size());
    return;
  }
  try {
    EXPECT_EQ(engine.StartAnalysis([&] { return std::make_unique<FileStream>(path_); }, options),
              ScanOutcome::kFinished);
    EXPECT_TRUE(ignore_read_errors) << "a source that shrank must not scan as if whole";
    EXPECT_GT(engine.ReadErrorCount(), 0);
    EXPECT_EQ(observer.panels[kStatusPanelActivity], "分析完成。错误 : " + std::to_string(engine.ReadErrorCount()));
  } catch (const StreamReadError& error) {
    EXPECT_FALSE(ignore_read_errors);
    EXPECT_STREQ(error.what(), "数据流读取错误");
  }
  EXPECT_FALSE(engine.Running());
  EXPECT_FALSE(observer.busy) << "the front end's busy state is given back";
  EXPECT_EQ(observer.list_lines.size(), engine.Catalogue().size());
  ExpectNoClipWrittenShortSilently(*engine.Source(), engine.Catalogue(), demo_.bytes, dir_.File("Clip"));

  // The next scan of the shorter file finds what it holds, and nothing beyond it.
  ASSERT_EQ(engine.StartAnalysis([&] { return std::make_unique<FileStream>(path_); }, ScanOptions::ClassicTypes()),
            ScanOutcome::kFinished);
  std::size_t inside = 0;
  for (const auto& clip : demo_.clips) inside += clip.end <= cut ? 1 : 0;
  EXPECT_GE(engine.Catalogue().size(), inside);
  for (const TFilestruct& clip : engine.Catalogue()) EXPECT_LE(clip.EndOffset, cut);
  ExpectNoClipWrittenShortSilently(*engine.Source(), engine.Catalogue(), demo_.bytes, dir_.File("Again"));
}

TEST_P(ShrinkingSourceTest, SourceDeletedDuringTheScanIsStillReadWhole) {
  // The open file stays readable until it is closed: nothing is lost, nothing fails.
  test::WriteWholeFile(path_, demo_.bytes);
  RecordingObserver observer;
  bool removed = false;
  observer.on_messages = [&] {
    std::error_code error;
    if (observer.message_rounds == 2) removed = std::filesystem::remove(path_, error);
  };
  ScanEngine engine(observer);
  ScanOptions options = ScanOptions::ClassicTypes();
  options.ignore_read_errors = GetParam();
  ASSERT_EQ(engine.StartAnalysis([&] { return std::make_unique<FileStream>(path_); }, options), ScanOutcome::kFinished);
  EXPECT_EQ(engine.ReadErrorCount(), 0);
  std::set<std::pair<std::int64_t, std::int64_t>> found, placed;
  for (const TFilestruct& clip : engine.Catalogue()) found.insert({clip.StartOffset, clip.EndOffset});
  for (const auto& clip : demo_.clips) placed.insert({clip.start, clip.end});
  EXPECT_EQ(found, placed);
  StatusLog status;
  ASSERT_EQ(ExtractClips(engine.Source(), engine.Catalogue(), std::vector<bool>(demo_.clips.size(), true),
                         dir_.File("Clip"), status),
            ExtractionOutcome::kDone);
  const TFilestruct& first = engine.Catalogue()[0];
  EXPECT_EQ(test::ReadWholeFile(ClipFileName(dir_.File("Clip"), 0, first.Extension)),
            ByteVector(demo_.bytes.begin() + first.StartOffset, demo_.bytes.begin() + first.EndOffset));

  if (!removed) return;  // deny-write sharing (Windows) keeps the source where it is
  // Gone for the next scan: it cannot start, with the file's own error text.
  try {
    engine.StartAnalysis([&] { return std::make_unique<FileStream>(path_); }, options);
    FAIL();
  } catch (const FileOpenError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("不能打开文件 " + path_ + "\n", 0), 0u) << error.what();
  }
  EXPECT_FALSE(engine.Running());
}

INSTANTIATE_TEST_SUITE_P(ReadErrors, ShrinkingSourceTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Ignored" : "Raised"; });

// --- a CD that fails in the middle ---

class FailingCdTest : public ::testing::Test {
 protected:
  FailingCdTest() {
    test::FakeDrive& drive = library_.AddDrive(0, 1);
    // A disc of 600 sectors, read as the fake's pattern: byte n is DiscByte(n).
    drive.capacity = {0x00, 0x00, 0x02, 0x5A, 0x00, 0x00, 0x08, 0x00};
  }
  std::set<std::uint32_t>& BadBlocks() { return library_.drives[{0, 1}].bad_blocks; }

  test::FakeAspiLibrary library_;
  TempDir dir_;
};

TEST_F(FailingCdTest, ScanThatMeetsABadSector) {
  BadBlocks() = {100};  // inside the fourth window
  RecordingObserver observer;
  ScanEngine engine(observer);
  ScanOptions options;  // no detector: the window reads are what fails
  try {
    engine.StartAnalysis([] { return std::make_unique<TCDStream>(0, 1, 0); }, options);
    FAIL();
  } catch (const StreamReadError& error) {
    EXPECT_STREQ(error.what(), "数据流读取错误");
  }
  EXPECT_FALSE(observer.busy);

  options.ignore_read_errors = true;
  ASSERT_EQ(engine.StartAnalysis([] { return std::make_unique<TCDStream>(0, 1, 0); }, options), ScanOutcome::kFinished);
  EXPECT_EQ(engine.ReadErrorCount(), 1);
  EXPECT_EQ(observer.panels[kStatusPanelActivity], "分析完成。错误 : 1");

  // The drive recovers: the same engine scans the disc without an error more.
  BadBlocks().clear();
  ASSERT_EQ(engine.StartAnalysis([] { return std::make_unique<TCDStream>(0, 1, 0); }, options), ScanOutcome::kFinished);
  EXPECT_EQ(engine.ReadErrorCount(), 1);
}

TEST_F(FailingCdTest, ExtractionThatMeetsABadSector) {
  TCDStream disc(0, 1, 0);
  ASSERT_GT(disc.Size(), 1'000'000);
  // Three clips; the second one crosses block 300, which goes bad after the scan.
  const ClipCatalogue catalogue = {{10'000, ".bin", 60'000, {}}, {500'000, ".bin", 700'000, {}}, {800'000, ".bin", 810'000, {}}};
  BadBlocks() = {300};
  StatusLog status;
  const std::string prefix = dir_.File("Cd");
  try {
    ExtractClips(&disc, catalogue, {true, true, true}, prefix, status);
    FAIL();
  } catch (const ExtractionError& error) {
    EXPECT_EQ(error.cause(), "数据流读取错误");
    EXPECT_EQ(error.file_name(), prefix + "2.bin");
  }
  auto disc_bytes = [](std::int64_t start, std::int64_t end) {
    ByteVector bytes;
    for (std::int64_t n = start; n < end; ++n) bytes.push_back(test::DiscByte(n));
    return bytes;
  };
  EXPECT_EQ(test::ReadWholeFile(prefix + "1.bin"), disc_bytes(10'000, 60'000));
  EXPECT_FALSE(std::filesystem::exists(prefix + "2.bin")) << "no partial file";
  EXPECT_FALSE(std::filesystem::exists(prefix + "3.bin"));

  // A drive that no longer answers at all fails the same way, and gives nothing back late.
  BadBlocks().clear();
  library_.answer = test::FakeAnswer::kPendingSilent;
  EXPECT_THROW(ExtractClips(&disc, catalogue, {false, false, true}, prefix, status), ExtractionError);
  library_.CompleteHeldRequests();
  aspi::ReleaseCompletedRequests();
  EXPECT_EQ(aspi::PendingRequestCount(), 0u);

  // Answering again, the still open disc extracts every clip whole.
  library_.answer = test::FakeAnswer::kPendingSignalled;
  ASSERT_EQ(ExtractClips(&disc, catalogue, {true, true, true}, prefix, status), ExtractionOutcome::kDone);
  EXPECT_EQ(test::ReadWholeFile(prefix + "2.bin"), disc_bytes(500'000, 700'000));
  EXPECT_EQ(test::ReadWholeFile(prefix + "3.bin"), disc_bytes(800'000, 810'000));
}

}  // namespace
}  // namespace rsf

// Scanning a file with the background read-ahead gives exactly what scanning the same bytes
// without it gives, also when the scan jumps (MP3 mode), when the read-ahead indexes windows
// while the scan is slower, when reads on the read-ahead's thread fail or raise, and when the
// thread cannot be started at all. Run under ThreadSanitizer too.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "stream/file_stream.h"
#include "scan/engine/scan_state.h"
#include "support/scan_harness.h"
#include "synth/demo_source.h"

namespace rsf {
namespace {

struct Found {
  ClipCatalogue catalogue;
  int read_errors;
};

// `slow`: every window's round of events takes a while, so the read-ahead fills up and indexes
// the windows it holds while it waits.
Found ScanFile(const std::string& path, const ScanOptions& options, bool slow = false) {
  test::RecordingObserver observer;
  if (slow) observer.on_messages = [] { std::this_thread::sleep_for(std::chrono::microseconds(300)); };
  ScanEngine engine(observer);
  engine.StartAnalysis([&] { return std::make_unique<FileStream>(path); }, options);
  return {engine.Catalogue(), engine.ReadErrorCount()};
}

void ExpectSameClips(const ClipCatalogue& a, const ClipCatalogue& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].StartOffset, b[i].StartOffset) << i;
    EXPECT_EQ(a[i].EndOffset, b[i].EndOffset) << i;
    EXPECT_EQ(a[i].Extension, b[i].Extension) << i;
    EXPECT_EQ(a[i].InfoText, b[i].InfoText) << i;
  }
}

TEST(WindowPrefetcherTest, FileScansMatchInMemoryScans) {
  test::TempDir dir;
  // The demo source four times over: many windows, clips across boundaries, MP3 runs.
  const synth::DemoSource demo = synth::BuildDemoSource(11);
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 4; ++i) bytes.insert(bytes.end(), demo.bytes.begin(), demo.bytes.end());
  const std::string path = dir.File("source.bin");
  test::WriteWholeFile(path, bytes);

  ScanOptions mp3;
  mp3.mp3_mode = true;
  ScanOptions precise = ScanOptions::AllTypes();
  precise.precise = true;
  for (const ScanOptions& options : {ScanOptions::ClassicTypes(), mp3, ScanOptions::AllTypes(), precise}) {
    const auto expected = test::ScanBytes(bytes, options);
    for (int round = 0; round < 4; ++round)
      ExpectSameClips(ScanFile(path, options, round % 2 == 1).catalogue, expected.catalogue);
  }
}

// Reads from the read-ahead's thread fail for every third window and raise for every fifth;
// the scan's own reads work.
class FlakyConcurrentStream final : public MemoryStream {
 public:
  using MemoryStream::MemoryStream;
  bool CanReadConcurrently() const override { return true; }
  std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) const override {
    const std::int64_t window = offset / kWindowStep;
    if (window % 5 == 4) throw std::runtime_error("read-ahead failed");
    if (window % 3 == 2) return -1;
    count = std::min(count, Size() - offset);
    std::copy_n(bytes().begin() + offset, count, static_cast<std::uint8_t*>(buffer));
    return count;
  }
};

TEST(WindowPrefetcherTest, ReadAheadThatFailsOrCannotStartChangesNothing) {
  const synth::DemoSource demo = synth::BuildDemoSource(5);
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 3; ++i) bytes.insert(bytes.end(), demo.bytes.begin(), demo.bytes.end());
  const auto expected = test::ScanBytes(bytes, ScanOptions::ClassicTypes());

  for (const bool thread_starts : {true, false}) {
    SCOPED_TRACE(thread_starts ? "reads on the thread fail" : "no thread to be had");
    test::RecordingObserver observer;
    ScanEngine engine(observer);
    if (!thread_starts)
      engine.SetReadAheadStarter([](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
      });
    ASSERT_EQ(engine.StartAnalysis([&] { return std::make_unique<FlakyConcurrentStream>(bytes); },
                                   ScanOptions::ClassicTypes()),
              ScanOutcome::kFinished);
    ExpectSameClips(engine.Catalogue(), expected.catalogue);
    EXPECT_EQ(engine.ReadErrorCount(), 0);
  }
}

}  // namespace
}  // namespace rsf

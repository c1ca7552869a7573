// Scanning a file with the background read-ahead gives exactly what scanning the same bytes
// without it gives, also when the scan jumps (MP3 mode) or a window cannot be read ahead.
#include <gtest/gtest.h>

#include "scan/file_stream.h"
#include "support/scan_harness.h"
#include "synth/demo_source.h"

namespace rsf {
namespace {

struct Found {
  ClipCatalogue catalogue;
  int read_errors;
};

Found ScanFile(const std::string& path, const ScanOptions& options) {
  test::RecordingObserver observer;
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
  for (const ScanOptions& options : {ScanOptions::AllTypes(), mp3}) {
    const auto expected = test::ScanBytes(bytes, options);
    for (int round = 0; round < 5; ++round) ExpectSameClips(ScanFile(path, options).catalogue, expected.catalogue);
  }
}

}  // namespace
}  // namespace rsf

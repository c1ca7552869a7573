// Scan test helpers.
#include "support/scan_harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace rsf::test {

std::int64_t FailingStream::Read(void* buffer, std::int64_t count) {
  ++calls_;
  if (bad_calls_.count(calls_)) return -1;
  const std::int64_t begin = Position();
  for (const Range& range : bad_ranges_)
    if (begin < range.end && begin + count > range.begin) return -1;
  return MemoryStream::Read(buffer, count);
}

ScanResult ScanBytes(std::vector<std::uint8_t> bytes, const ScanOptions& options, MatcherKind matcher) {
  RecordingObserver observer;
  ScanEngine engine(observer);
  engine.SetMatcherKind(matcher);
  ScanResult result;
  result.outcome = engine.StartAnalysis([&] { return std::make_unique<MemoryStream>(std::move(bytes)); }, options);
  result.catalogue = engine.Catalogue();
  result.list_lines = observer.list_lines;
  result.read_errors = engine.ReadErrorCount();
  EXPECT_EQ(result.catalogue.size(), result.list_lines.size());
  return result;
}

ScanOptions OnlyTypes(std::initializer_list<ClipKind> kinds) {
  ScanOptions options;
  for (ClipKind kind : kinds) options.enabled[static_cast<int>(kind)] = true;
  return options;
}

std::vector<std::uint8_t> PlaceAt(std::size_t size, std::size_t offset, const std::vector<std::uint8_t>& clip) {
  std::vector<std::uint8_t> bytes(size, 0);
  std::copy(clip.begin(), clip.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  return bytes;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "rsf-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace rsf::test

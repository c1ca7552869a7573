// Scan test helpers.
#include "support/scan_harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

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
  // create_directory reports whether it made the folder, so a name another test took is
  // skipped; the random start keeps parallel test programs apart.
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  std::random_device seed;
  std::mt19937_64 names(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate = base / ("rsf-test-" + std::to_string(names() % 1000000000));
    std::error_code error;
    if (std::filesystem::create_directory(candidate, error)) {
      path_ = candidate.string();
      return;
    }
  }
  throw std::runtime_error("no temporary folder could be created in " + base.string());
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
  const std::string path = File(name);
  WriteWholeFile(path, bytes);
  return path;
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

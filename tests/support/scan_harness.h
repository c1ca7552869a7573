// Test doubles and helpers for scanning: an observer that records everything the engine tells
// it, a stream that fails on chosen reads, and one-call scans of bytes in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "stream/memory_stream.h"
#include <gtest/gtest.h>

#include "scan/engine/scan_engine.h"

namespace rsf::test {

class RecordingObserver : public ScanObserver {
 public:
  void RunStarted() override { ++runs_started; busy = true; }
  void ListCleared() override { list_lines.clear(); }
  void GaugeMaximum(std::int64_t maximum) override { gauge_maximum = maximum; }
  void GaugeProgress(std::int64_t position) override { gauge = position; }
  void StatusText(int panel, const std::string& text) override {
    statuses.push_back({panel, text});
    panels[panel] = text;
  }
  void Repaint() override { ++repaints; }
  void ClipListed(std::size_t index, const std::string& line) override {
    EXPECT_EQ(index, list_lines.size()) << "list and catalogue out of step";
    list_lines.push_back(line);
  }
  void ProcessMessages() override {
    ++message_rounds;
    if (on_messages) on_messages();
  }
  bool Closing() const override { return closing; }
  void RunEnded(bool finished) override {
    busy = false;
    ended_finished = finished;
    ++runs_ended;
  }

  struct Status {
    int panel;
    std::string text;
  };
  std::vector<Status> statuses;
  std::string panels[4];
  std::vector<std::string> list_lines;
  std::int64_t gauge_maximum = -1, gauge = -1;
  int repaints = 0, message_rounds = 0, runs_started = 0, runs_ended = 0;
  bool busy = false, closing = false, ended_finished = false;
  std::function<void()> on_messages;
};

// A memory stream whose reads fail (return -1) when they touch chosen byte ranges, or on the
// n-th read call.
class FailingStream : public MemoryStream {
 public:
  using MemoryStream::MemoryStream;
  // Reads that overlap [begin, end) fail.
  void FailRange(std::int64_t begin, std::int64_t end) { bad_ranges_.push_back({begin, end}); }
  // The read calls with these numbers (counted from 1) fail.
  void FailCall(int call) { bad_calls_.insert(call); }
  int calls() const { return calls_; }

  std::int64_t Read(void* buffer, std::int64_t count) override;

 private:
  struct Range {
    std::int64_t begin, end;
  };
  std::vector<Range> bad_ranges_;
  std::set<int> bad_calls_;
  int calls_ = 0;
};

struct ScanResult {
  ScanOutcome outcome;
  ClipCatalogue catalogue;
  std::vector<std::string> list_lines;
  int read_errors = 0;
};

// Scans `bytes` with `options` (all types when none are given) and returns what it found.
ScanResult ScanBytes(std::vector<std::uint8_t> bytes, const ScanOptions& options = ScanOptions::ClassicTypes(),
                     MatcherKind matcher = MatcherKind::kBest);

// A clip's boundaries, for comparing catalogues with expected layouts.
struct Span {
  std::int64_t start, end;
  bool operator==(const Span&) const = default;
};
inline std::vector<Span> Spans(const ClipCatalogue& catalogue) {
  std::vector<Span> spans;
  for (const auto& clip : catalogue) spans.push_back({clip.StartOffset, clip.EndOffset});
  return spans;
}

// Options with only the given types enabled.
ScanOptions OnlyTypes(std::initializer_list<ClipKind> kinds);

// A source of `size` zero bytes with `clip` copied in at `offset`.
std::vector<std::uint8_t> PlaceAt(std::size_t size, std::size_t offset, const std::vector<std::uint8_t>& clip);

// A unique empty folder for one test, removed with everything in it when the object dies.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Writes `bytes` to the file `name` in the folder and returns its path.
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;

 private:
  std::string path_;
};

std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace rsf::test

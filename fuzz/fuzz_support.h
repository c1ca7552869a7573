// What the fuzz targets share: a check that aborts (so libFuzzer keeps the input), a memory
// source whose reads fail on chosen byte ranges, and an observer that can start closing the
// program at a chosen message round.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "stream/memory_stream.h"
#include "scan/engine/scan_observer.h"

#define RSF_FUZZ_CHECK(condition)                                                        \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

// For the targets' own bulk loops (filling and checking buffers): coverage there only slows
// fuzzing down and guides it nowhere.
#define RSF_FUZZ_UNTRACED __attribute__((no_sanitize("coverage")))

namespace rsf::fuzz {

// Reads that touch a bad range fail (-1), the same way every time.
class FlakySource final : public MemoryStream {
 public:
  struct Range {
    std::int64_t begin, end;
  };
  FlakySource(std::vector<std::uint8_t> bytes, std::vector<Range> bad) : MemoryStream(std::move(bytes)), bad_(std::move(bad)) {}

  std::int64_t Read(void* buffer, std::int64_t count) override {
    const std::int64_t begin = Position();
    for (const Range& range : bad_)
      if (count > 0 && begin < range.end && begin + count > range.begin) return -1;
    return MemoryStream::Read(buffer, count);
  }

 private:
  std::vector<Range> bad_;
};

class CountingObserver : public ScanObserver {
 public:
  // `close_at` 0: never closing.
  explicit CountingObserver(int close_at) : close_at_(close_at) {}
  void ClipListed(std::size_t index, const std::string&) override {
    RSF_FUZZ_CHECK(index == listed_);
    ++listed_;
  }
  void ProcessMessages() override {
    ++rounds_;
    if (close_at_ > 0 && rounds_ >= close_at_) closing_ = true;
  }
  bool Closing() const override { return closing_; }
  int rounds() const { return rounds_; }
  std::size_t listed() const { return listed_; }

 private:
  int close_at_;
  int rounds_ = 0;
  std::size_t listed_ = 0;
  bool closing_ = false;
};

}  // namespace rsf::fuzz

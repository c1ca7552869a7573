// What both benchmarks time: plain reading of a file in the scan's windows and pieces through the
// same stream the scan uses, and a scan of it with an observer that shows nothing.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "stream/file_stream.h"
#include "scan/engine/scan_engine.h"
#include "scan/engine/scan_state.h"

namespace rsf::bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Seconds to read the whole file window by window, piece by piece, as a scan reads it.
inline double PlainRead(const std::string& path) {
  FileStream stream(path);
  std::vector<std::uint8_t> window(kWindowSize);
  const auto start = Clock::now();
  const std::int64_t size = stream.Size();
  for (std::int64_t position = 0; position < size; position += kWindowStep) {
    stream.Seek(position);
    const std::int64_t count = std::min<std::int64_t>(kWindowSize, size - position);
    for (std::int64_t done = 0; done < count; done += kCopyPieceSize)
      stream.ReadBuffer(window.data() + done, std::min(kCopyPieceSize, count - done));
  }
  return Seconds(start);
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct QuietObserver : ScanObserver {};

// Seconds to scan the file with `options`; `clips` receives how many clips were found.
inline double Scan(const std::string& path, const ScanOptions& options, std::size_t& clips) {
  QuietObserver observer;
  ScanEngine engine(observer);
  const auto start = Clock::now();
  engine.StartAnalysis([&] { return std::make_unique<FileStream>(path); }, options);
  clips = engine.Catalogue().size();
  return Seconds(start);
}

}  // namespace rsf::bench

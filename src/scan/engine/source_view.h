// The one way detectors read the source: random access by offset, bounds-checked, from memory
// where the bytes are at hand (the current window, or a block read ahead for earlier reads),
// from the source where they are not. It has the two kinds of read detectors need, each giving
// what a seek and a read of the source would give at that offset: a plain read that reports
// how many bytes arrived and never raises, and a full read that raises the stream read error
// when anything is missing. Detectors get the view, never the stream, so they neither move the
// stream's position nor depend on it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "base/byte_cursor.h"
#include "base/bytes.h"
#include "stream/source_stream.h"

namespace rsf {

class SourceView {
 public:
  SourceView(SourceStream& source, std::int64_t size) : source_(source), size_(size) {}

  std::int64_t Size() const { return size_; }

  // The window the scan is on; the scan state sets it whenever its window changes.
  void SetWindow(std::int64_t start, Bytes bytes) {
    window_start_ = start;
    window_ = bytes;
  }
  Bytes Window() const { return window_; }
  std::int64_t WindowStart() const { return window_start_; }
  std::int64_t WindowEnd() const { return window_start_ + static_cast<std::int64_t>(window_.size()); }
  // The 4-byte big-endian word at `offset` when all of it lies in the window.
  std::optional<std::uint32_t> WindowBE32(std::int64_t offset) const;

  // The `count` bytes at `offset` when they are at hand: in the window, or in a block read
  // ahead (one is read here when none holds them). Empty past the source end and in parts
  // where such a block could not be read: a plain read then tells what those bytes are.
  std::optional<Bytes> Peek(std::int64_t offset, std::int64_t count);
  // Plain read of `count` bytes at `offset`: the count that arrived (fewer at the source end),
  // or -1. Never raises.
  std::int64_t Read(std::int64_t offset, void* buffer, std::int64_t count);
  // Full read of `count` bytes at `offset`; raises StreamReadError unless all of them arrive.
  void ReadFull(std::int64_t offset, void* buffer, std::int64_t count);
  // The same two reads of the source itself, for the reads whose outcome is the source's
  // answer even where a copy of the bytes is at hand: a header read back to confirm it, a tag
  // taken behind a clip.
  std::int64_t ReadFromSource(std::int64_t offset, void* buffer, std::int64_t count);
  void ReadFullFromSource(std::int64_t offset, void* buffer, std::int64_t count);
  // A plain read of a record of up to `count` bytes at `offset`, as a cursor over the bytes
  // that arrived (none when the read failed). `storage` holds them while the cursor is used.
  ByteCursor ReadRecord(std::int64_t offset, std::int64_t count, std::vector<std::uint8_t>& storage);
  // The byte at `offset`, when it can be read.
  std::optional<std::uint8_t> Byte(std::int64_t offset);
  // The offset of the first `value` byte at `from` or later and before `limit` (the source end
  // at most), or of the first byte that cannot be read, whichever comes first; `limit` when
  // there is neither. Reads in blocks, so a long search costs a pass over the bytes.
  std::int64_t FindByte(std::int64_t from, std::uint8_t value, std::int64_t limit);

 private:
  SourceStream& source_;
  const std::int64_t size_;
  std::int64_t window_start_ = 0;
  Bytes window_;
  std::vector<std::uint8_t> block_;
  std::int64_t block_start_ = 0;
  std::map<std::int64_t, std::int64_t> unreadable_;  // begin -> end of blocks that failed
};

}  // namespace rsf

// The detectors' reads. Under a stream whose failures depend on the bytes asked for (a bad
// sector fails every read that touches it), a byte served from memory is one that a read of
// the source would have delivered too: a block is kept only when it was read whole, and a part
// where one failed is read from the source each time.
#include "scan/engine/source_view.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "base/errors.h"

namespace rsf {
namespace {

// Reads outside the window are served from blocks of this size.
constexpr std::int64_t kBlockSize = 64 * 1024;

}  // namespace

std::optional<std::uint32_t> SourceView::WindowBE32(std::int64_t offset) const {
  const std::int64_t at = offset - window_start_;
  if (at < 0) return std::nullopt;
  return ReadBE32(window_, static_cast<std::size_t>(at));
}

std::optional<Bytes> SourceView::Peek(std::int64_t offset, std::int64_t count) {
  if (offset < 0 || count <= 0 || offset > size_ - count) return std::nullopt;
  const auto window_size = static_cast<std::int64_t>(window_.size());
  if (offset >= window_start_ && offset - window_start_ <= window_size - count)
    return window_.subspan(static_cast<std::size_t>(offset - window_start_), static_cast<std::size_t>(count));
  const auto block_size = static_cast<std::int64_t>(block_.size());
  if (offset >= block_start_ && offset - block_start_ <= block_size - count)
    return Bytes(block_).subspan(static_cast<std::size_t>(offset - block_start_), static_cast<std::size_t>(count));
  if (count > kBlockSize / 2) return std::nullopt;

  // A new block from `offset` on, stopping short of the next part known to be unreadable; or,
  // for a read just before the block at hand (walks whose steps go backwards), one that ends
  // with this read, so that the reads before it find their bytes too.
  std::int64_t start = offset;
  if (!block_.empty() && offset < block_start_ && offset + kBlockSize > block_start_)
    start = std::max<std::int64_t>(0, offset + count - kBlockSize);
  auto next_bad = unreadable_.upper_bound(start);
  if (next_bad != unreadable_.begin() && std::prev(next_bad)->second > start) {
    if (start == offset) return std::nullopt;
    start = offset;
    next_bad = unreadable_.upper_bound(start);
    if (next_bad != unreadable_.begin() && std::prev(next_bad)->second > start) return std::nullopt;
  }
  std::int64_t end = std::min(size_, start + kBlockSize);
  if (next_bad != unreadable_.end()) end = std::min(end, next_bad->first);
  if (end - offset < count) return std::nullopt;
  block_.resize(static_cast<std::size_t>(end - start));
  source_.Seek(start);
  if (source_.Read(block_.data(), end - start) != end - start) {
    block_.clear();
    unreadable_[start] = end;
    return std::nullopt;
  }
  block_start_ = start;
  return Bytes(block_).subspan(static_cast<std::size_t>(offset - start), static_cast<std::size_t>(count));
}

std::int64_t SourceView::Read(std::int64_t offset, void* buffer, std::int64_t count) {
  if (const std::optional<Bytes> bytes = Peek(offset, count)) {
    std::memcpy(buffer, bytes->data(), bytes->size());
    return count;
  }
  return ReadFromSource(offset, buffer, count);
}

void SourceView::ReadFull(std::int64_t offset, void* buffer, std::int64_t count) {
  if (count <= 0) return;
  if (Read(offset, buffer, count) != count) throw StreamReadError();
}

std::int64_t SourceView::ReadFromSource(std::int64_t offset, void* buffer, std::int64_t count) {
  source_.Seek(offset);
  return source_.Read(buffer, count);
}

void SourceView::ReadFullFromSource(std::int64_t offset, void* buffer, std::int64_t count) {
  if (count <= 0) return;
  if (ReadFromSource(offset, buffer, count) != count) throw StreamReadError();
}

ByteCursor SourceView::ReadRecord(std::int64_t offset, std::int64_t count, std::vector<std::uint8_t>& storage) {
  storage.resize(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)));
  const std::int64_t got = Read(offset, storage.data(), count);
  return ByteCursor(Bytes(storage.data(), static_cast<std::size_t>(std::max<std::int64_t>(got, 0))));
}

std::optional<std::uint8_t> SourceView::Byte(std::int64_t offset) {
  std::uint8_t byte = 0;
  if (Read(offset, &byte, 1) != 1) return std::nullopt;
  return byte;
}

std::int64_t SourceView::FindByte(std::int64_t from, std::uint8_t value, std::int64_t limit) {
  limit = std::min(limit, size_);
  std::vector<std::uint8_t> piece;
  for (std::int64_t at = std::max<std::int64_t>(from, 0); at < limit;) {
    const std::int64_t count = std::min<std::int64_t>(limit - at, kBlockSize / 2);
    Bytes bytes;
    if (const std::optional<Bytes> peeked = Peek(at, count)) {
      bytes = *peeked;
    } else {
      piece.resize(static_cast<std::size_t>(count));
      const std::int64_t got = ReadFromSource(at, piece.data(), count);
      if (got <= 0) return at;
      bytes = Bytes(piece.data(), static_cast<std::size_t>(got));
    }
    if (const void* hit = std::memchr(bytes.data(), value, bytes.size()))
      return at + (static_cast<const std::uint8_t*>(hit) - bytes.data());
    if (static_cast<std::int64_t>(bytes.size()) < count) return at + static_cast<std::int64_t>(bytes.size());
    at += count;
  }
  return limit;
}

}  // namespace rsf

// In-memory source stream.
#include "stream/memory_stream.h"

#include <algorithm>
#include <cstring>

namespace rsf {

std::int64_t MemoryStream::Seek(std::int64_t offset, int origin) {
  return SeekStreamPosition(position_, offset, origin, [this] { return Size(); });
}

std::int64_t MemoryStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  if (position_ < 0) return -1;
  if (position_ >= Size()) return 0;
  const std::int64_t got = std::min(count, Size() - position_);
  std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(got));
  position_ += got;
  return got;
}

}  // namespace rsf

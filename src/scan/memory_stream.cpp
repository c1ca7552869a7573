// In-memory source stream.
#include "scan/memory_stream.h"

#include <algorithm>
#include <cstring>

namespace rsf {

std::int64_t MemoryStream::Seek(std::int64_t offset, int origin) {
  std::optional<std::int64_t> position;
  switch (origin) {
    case kFromBeginning: position = offset; break;
    case kFromCurrent: position = SeekPosition(position_, offset); break;
    case kFromEnd: position = SeekPosition(Size(), offset); break;
    default: break;
  }
  if (!position) return -1;
  position_ = *position;
  return position_;
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

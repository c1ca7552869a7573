// File-backed source stream; reads go straight to the file at the stream's own position.
#include "stream/file_stream.h"

namespace rsf {

FileStream::FileStream(const std::string& path) : file_(platform::File::OpenReadShared(path)) {}

std::int64_t FileStream::Size() const { return file_->Size(); }

std::int64_t FileStream::Seek(std::int64_t offset, int origin) {
  return SeekStreamPosition(position_, offset, origin, [this] { return Size(); });
}

std::int64_t FileStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  if (position_ < 0) return -1;
  std::int64_t got = file_->ReadAt(position_, buffer, count);
  if (got > 0) position_ += got;
  return got;
}

std::int64_t FileStream::ReadAt(std::int64_t offset, void* buffer, std::int64_t count) const {
  if (count <= 0) return 0;
  return file_->ReadAt(offset, buffer, count);
}

}  // namespace rsf

// File-backed source stream; reads go straight to the file at the stream's own position.
#include "stream/file_stream.h"

#include <algorithm>

namespace rsf {
namespace {

// Mapped stretches start at multiples of this and reach a little further, so that a window
// that starts in a stretch ends in it too; few enough pages stay mapped to keep memory flat.
constexpr std::int64_t kStretchSize = std::int64_t{4} << 20;
constexpr std::int64_t kStretchReach = std::int64_t{256} << 10;

}  // namespace

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

std::optional<SourceStream::InPlace> FileStream::BytesInPlace(std::int64_t offset, std::int64_t count) {
  if (!mappable_ || offset < 0 || count <= 0) return std::nullopt;
  const std::int64_t size = file_->Size();
  if (offset > size - count) return std::nullopt;
  auto covers = [&](const platform::FileMapping& stretch) {
    return offset >= stretch.Offset() && offset + count <= stretch.Offset() + static_cast<std::int64_t>(stretch.View().size());
  };
  if (stretches_[1] && covers(*stretches_[1])) std::swap(stretches_[0], stretches_[1]);
  if (!stretches_[0] || !covers(*stretches_[0])) {
    const std::int64_t start = offset / kStretchSize * kStretchSize;
    const std::int64_t length = std::min(size - start, std::max(kStretchSize + kStretchReach, offset + count - start));
    std::shared_ptr<const platform::FileMapping> stretch = platform::FileMapping::Map(*file_, start, length);
    if (!stretch) {
      mappable_ = false;  // this file (or system) does not map: read it all
      stretches_[0].reset();
      stretches_[1].reset();
      return std::nullopt;
    }
    stretches_[1] = std::move(stretches_[0]);
    stretches_[0] = std::move(stretch);
  }
  const platform::FileMapping& stretch = *stretches_[0];
  const std::int64_t from = offset - stretch.Offset();
  if (!stretch.Touch(from, count)) {
    stretches_[0].reset();  // it lost pages: the file shrank; reading tells what is left
    return std::nullopt;
  }
  return InPlace{stretch.View().subspan(static_cast<std::size_t>(from), static_cast<std::size_t>(count)), stretches_[0]};
}

}  // namespace rsf

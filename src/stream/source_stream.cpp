// The full read every stream shares.
#include "stream/source_stream.h"

#include "base/errors.h"

namespace rsf {

void SourceStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count <= 0) return;
  if (Read(buffer, count) != count) throw StreamReadError();
}

std::string CdAudioLength(std::int64_t bytes) {
  const std::int64_t frames = bytes / 2352;
  const auto two_digits = [](std::int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
  return std::to_string(frames / 75 / 60) + ":" + two_digits(frames / 75 % 60) + ":" + two_digits(frames % 75);
}

}  // namespace rsf

// The full read every stream shares.
#include "stream/source_stream.h"

#include <cstdio>

#include "base/errors.h"

namespace rsf {

void SourceStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count <= 0) return;
  if (Read(buffer, count) != count) throw StreamReadError();
}

std::string CdAudioLength(std::int64_t bytes) {
  const std::int64_t frames = bytes / 2352;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(frames / 75 / 60),
                static_cast<long long>(frames / 75 % 60), static_cast<long long>(frames % 75));
  return text;
}

}  // namespace rsf

// The full read every stream shares.
#include "stream/source_stream.h"

#include "base/errors.h"

namespace rsf {

void SourceStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count <= 0) return;
  if (Read(buffer, count) != count) throw StreamReadError();
}

}  // namespace rsf

// A source stream over bytes in memory: for tests, fuzzing and generated sources.
#pragma once

#include <cstdint>
#include <vector>

#include "stream/source_stream.h"

namespace rsf {

class MemoryStream : public SourceStream {
 public:
  explicit MemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
  std::int64_t Position() const override { return position_; }
  using SourceStream::Seek;
  std::int64_t Seek(std::int64_t offset, int origin) override;
  std::int64_t Read(void* buffer, std::int64_t count) override;

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::int64_t position_ = 0;
};

}  // namespace rsf

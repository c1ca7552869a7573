// A small growable byte buffer with typed appends, used to build test inputs and synthetic
// media in memory so that every test shows what its input is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rsf::synth {

using ByteVector = std::vector<std::uint8_t>;

class ByteWriter {
 public:
  ByteWriter& U8(std::uint8_t v) {
    bytes_.push_back(v);
    return *this;
  }
  ByteWriter& LE16(std::uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
  ByteWriter& LE32(std::uint32_t v) { return LE16(v & 0xFFFF).LE16(v >> 16); }
  ByteWriter& BE16(std::uint16_t v) { return U8(v >> 8).U8(v & 0xFF); }
  ByteWriter& BE32(std::uint32_t v) { return BE16(v >> 16).BE16(v & 0xFFFF); }
  ByteWriter& BE64(std::uint64_t v) { return BE32(static_cast<std::uint32_t>(v >> 32)).BE32(static_cast<std::uint32_t>(v)); }
  ByteWriter& Text(std::string_view text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
  }
  ByteWriter& Append(const ByteVector& more) {
    bytes_.insert(bytes_.end(), more.begin(), more.end());
    return *this;
  }
  ByteWriter& Fill(std::size_t count, std::uint8_t value) {
    bytes_.insert(bytes_.end(), count, value);
    return *this;
  }
  // Overwrites four bytes at `offset` (little-endian), for length fields known only at the end.
  ByteWriter& PatchLE32(std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.at(offset + i) = static_cast<std::uint8_t>(v >> (8 * i));
    return *this;
  }
  ByteWriter& PatchBE32(std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.at(offset + i) = static_cast<std::uint8_t>(v >> (8 * (3 - i)));
    return *this;
  }

  std::size_t size() const { return bytes_.size(); }
  const ByteVector& bytes() const { return bytes_; }
  ByteVector Take() { return std::move(bytes_); }

 private:
  ByteVector bytes_;
};

}  // namespace rsf::synth

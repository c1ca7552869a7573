// Reading a record field by field, front to back, without running past its end: each read
// takes its bytes off the front of what is left, or fails and takes nothing (Bloaty's
// ReadLittleEndian(&data) does the same with a string_view).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/bytes.h"

namespace rsf {

class ByteCursor {
 public:
  explicit ByteCursor(Bytes data) : rest_(data) {}

  std::size_t Remaining() const { return rest_.size(); }
  Bytes Rest() const { return rest_; }

  std::optional<std::uint8_t> ReadU8() { return Take<std::uint8_t>(1, [](Bytes b) { return b[0]; }); }
  std::optional<std::uint16_t> ReadLE16() { return Take<std::uint16_t>(2, [](Bytes b) { return *rsf::ReadLE16(b, 0); }); }
  std::optional<std::uint16_t> ReadBE16() { return Take<std::uint16_t>(2, [](Bytes b) { return *rsf::ReadBE16(b, 0); }); }
  std::optional<std::uint32_t> ReadLE32() { return Take<std::uint32_t>(4, [](Bytes b) { return *rsf::ReadLE32(b, 0); }); }
  std::optional<std::uint32_t> ReadBE32() { return Take<std::uint32_t>(4, [](Bytes b) { return *rsf::ReadBE32(b, 0); }); }
  std::optional<std::uint64_t> ReadBE64() { return Take<std::uint64_t>(8, [](Bytes b) { return *rsf::ReadBE64(b, 0); }); }
  // The next `count` bytes as they stand.
  std::optional<Bytes> ReadBytes(std::size_t count) {
    if (count > rest_.size()) return std::nullopt;
    const Bytes taken = rest_.first(count);
    rest_ = rest_.subspan(count);
    return taken;
  }
  // Steps over `count` bytes; false (and no step) when fewer are left.
  bool Skip(std::size_t count) { return ReadBytes(count).has_value(); }

 private:
  template <typename T, typename Decode>
  std::optional<T> Take(std::size_t count, Decode decode) {
    const std::optional<Bytes> bytes = ReadBytes(count);
    if (!bytes) return std::nullopt;
    return static_cast<T>(decode(*bytes));
  }

  Bytes rest_;
};

}  // namespace rsf

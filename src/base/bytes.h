// Bounds-checked reading of header fields from byte blocks. A read that would run past the
// block fails (returns nullopt / false) instead of touching memory outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace rsf {

using Bytes = std::span<const std::uint8_t>;

// True when [offset, offset + length) lies inside a block of `size` bytes, without overflow.
constexpr bool FitsIn(std::size_t size, std::size_t offset, std::size_t length) {
  return offset <= size && length <= size - offset;
}

inline std::optional<std::uint16_t> ReadLE16(Bytes data, std::size_t offset) {
  if (!FitsIn(data.size(), offset, 2)) return std::nullopt;
  return static_cast<std::uint16_t>(data[offset] | (data[offset + 1] << 8));
}

inline std::optional<std::uint16_t> ReadBE16(Bytes data, std::size_t offset) {
  if (!FitsIn(data.size(), offset, 2)) return std::nullopt;
  return static_cast<std::uint16_t>((data[offset] << 8) | data[offset + 1]);
}

inline std::optional<std::uint32_t> ReadLE24(Bytes data, std::size_t offset) {
  if (!FitsIn(data.size(), offset, 3)) return std::nullopt;
  return static_cast<std::uint32_t>(data[offset]) | (static_cast<std::uint32_t>(data[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(data[offset + 2]) << 16);
}

inline std::optional<std::uint32_t> ReadBE24(Bytes data, std::size_t offset) {
  if (!FitsIn(data.size(), offset, 3)) return std::nullopt;
  return (static_cast<std::uint32_t>(data[offset]) << 16) | (static_cast<std::uint32_t>(data[offset + 1]) << 8) |
         static_cast<std::uint32_t>(data[offset + 2]);
}

inline std::optional<std::uint32_t> ReadLE32(Bytes data, std::size_t offset) {
  if (!FitsIn(data.size(), offset, 4)) return std::nullopt;
  return static_cast<std::uint32_t>(data[offset]) | (static_cast<std::uint32_t>(data[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(data[offset + 2]) << 16) |
         (static_cast<std::uint32_t>(data[offset + 3]) << 24);
}

inline std::optional<std::uint32_t> ReadBE32(Bytes data, std::size_t offset) {
  if (!FitsIn(data.size(), offset, 4)) return std::nullopt;
  return (static_cast<std::uint32_t>(data[offset]) << 24) | (static_cast<std::uint32_t>(data[offset + 1]) << 16) |
         (static_cast<std::uint32_t>(data[offset + 2]) << 8) | static_cast<std::uint32_t>(data[offset + 3]);
}

inline std::optional<std::uint64_t> ReadBE64(Bytes data, std::size_t offset) {
  auto high = ReadBE32(data, offset);
  auto low = ReadBE32(data, offset + 4);
  if (!high || !low) return std::nullopt;
  return (static_cast<std::uint64_t>(*high) << 32) | *low;
}

// True when `pattern` stands at `offset` of `data` over its whole length.
inline bool MatchesAt(Bytes data, std::size_t offset, std::string_view pattern) {
  if (!FitsIn(data.size(), offset, pattern.size())) return false;
  // Most patterns are signatures of a few bytes, tested at every candidate: compare in place.
  if (pattern.size() <= 8) {
    for (std::size_t i = 0; i < pattern.size(); ++i)
      if (data[offset + i] != static_cast<std::uint8_t>(pattern[i])) return false;
    return true;
  }
  return std::memcmp(data.data() + offset, pattern.data(), pattern.size()) == 0;
}

// The bytes of a fixed-width text field up to its first zero byte (all of them when none).
inline std::string TextUpToZero(Bytes field) {
  std::size_t n = 0;
  while (n < field.size() && field[n] != 0) ++n;
  return std::string(reinterpret_cast<const char*>(field.data()), n);
}

// Offset of the first occurrence of `needle` in `haystack`, or npos. An empty needle is never found.
inline std::size_t FindBytes(Bytes haystack, std::string_view needle) {
  if (needle.empty() || needle.size() > haystack.size()) return std::string_view::npos;
  const auto* begin = reinterpret_cast<const char*>(haystack.data());
#if defined(__GLIBC__)
  const void* hit = memmem(begin, haystack.size(), needle.data(), needle.size());
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - begin) : std::string_view::npos;
#else
  return std::string_view(begin, haystack.size()).find(needle);
#endif
}

inline Bytes AsBytes(std::string_view text) {
  return Bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

}  // namespace rsf

// The video codec name table behind GetCodecName (unit maldoavi), kept in a file of its own
// because of its length.
#pragma once

#include <span>
#include <string_view>

namespace rsf {

// One row of the codec table. A range row stands for the ten codes formed by its three-byte
// `key` followed by one of the digits 0 to 9.
struct CodecEntry {
  std::string_view key;
  std::string_view name;
  bool digit_range = false;
};

// The 161 rows in their fixed order. Order matters: when several rows match a code, the last
// one names it (IV32 is both in the IV3x range and a row of its own further down).
std::span<const CodecEntry> CodecTable();

}  // namespace rsf

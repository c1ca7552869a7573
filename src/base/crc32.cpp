// Table-driven CRC-32, one byte a step.
#include "base/crc32.h"

#include <array>

namespace rsf {
namespace {

constexpr std::array<std::uint32_t, 256> ReflectedTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> UnreflectedTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i << 24;
    for (int k = 0; k < 8; ++k) c = (c & 0x80000000u) ? (c << 1) ^ 0x04C11DB7u : c << 1;
    table[i] = c;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> EdcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xD8018001u ^ (c >> 1) : c >> 1;  // 0x8001801B reflected
    table[i] = c;
  }
  return table;
}

constexpr auto kReflected = ReflectedTable();
constexpr auto kEdc = EdcTable();
constexpr auto kUnreflected = UnreflectedTable();

}  // namespace

std::uint32_t Crc32(Bytes bytes, std::uint32_t crc) {
  crc = ~crc;
  for (const std::uint8_t byte : bytes) crc = kReflected[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::uint32_t OggCrc32(Bytes bytes, std::uint32_t crc) {
  for (const std::uint8_t byte : bytes) crc = (crc << 8) ^ kUnreflected[((crc >> 24) ^ byte) & 0xFF];
  return crc;
}

std::uint32_t CdEdc(Bytes bytes, std::uint32_t crc) {
  for (const std::uint8_t byte : bytes) crc = kEdc[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  return crc;
}

}  // namespace rsf

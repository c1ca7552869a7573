// std::random_device reads the system's random source on Linux (getrandom) and on Windows
// (rand_s); one device per thread, opened on first use.
#include "base/random_text.h"

#include <random>

namespace rsf {
namespace {

std::random_device& Device() {
  thread_local std::random_device device;
  return device;
}

}  // namespace

std::uint32_t RandomBelow(std::uint32_t bound) {
  return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(Device());
}

std::string RandomHexDigits(std::size_t count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(count, '0');
  for (char& digit : text) digit = kDigits[RandomBelow(16)];
  return text;
}

}  // namespace rsf

// Names that nobody can predict: digits drawn from the system's random source (the kernel's
// generator), not from a clock-seeded sequence that another user could reproduce.
#pragma once

#include <cstdint>
#include <string>

namespace rsf {

// A number from 0 to `bound` - 1, each equally likely. `bound` must be at least 1.
std::uint32_t RandomBelow(std::uint32_t bound);

// `count` upper-case hexadecimal digits.
std::string RandomHexDigits(std::size_t count);

}  // namespace rsf

// The size of the pieces in which the scan reads its windows and extraction copies clips.
#pragma once

#include <cstdint>

namespace rsf {

inline constexpr std::int64_t kCopyPieceSize = 61440;  // 0xF000, the largest single read

}  // namespace rsf

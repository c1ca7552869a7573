// Finds every occurrence of a few two-byte strings in a block with vector compares, at the
// same cost however many occurrences there are (a general matcher pays for each one).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "base/bytes.h"

namespace rsf {

using BytePair = std::array<std::uint8_t, 2>;

// Which vector compares to use; kBest is the widest the processor has.
enum class PairScanWidth { kBest, kBytes, kSse2, kAvx2 };

// For each pair, the start offsets of all its occurrences in `text`, in increasing order, into
// `starts[first_id + i]` (cleared first, capacity kept). A width the processor lacks falls back
// to the next narrower one.
void FindBytePairs(Bytes text, const std::vector<BytePair>& pairs, std::size_t first_id,
                   std::vector<std::vector<std::uint32_t>>& starts, PairScanWidth width = PairScanWidth::kBest);

}  // namespace rsf

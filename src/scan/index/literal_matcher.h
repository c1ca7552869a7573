// Finds every occurrence of a set of byte strings in a block in one pass. Two implementations
// give identical results: Hyperscan's literal mode where it is available, and a portable one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"

namespace rsf {

class LiteralMatcher {
 public:
  virtual ~LiteralMatcher() = default;
  // For every pattern (by its index in the list given at creation), the start offsets of all
  // its occurrences in `text`, overlapping ones included, in increasing order.
  virtual void FindAll(Bytes text, std::vector<std::vector<std::uint32_t>>& starts) const = 0;
  // Start offset of the earliest occurrence of any pattern in `text`, or npos; stops looking
  // as soon as no later occurrence can begin before it.
  virtual std::size_t FindFirst(Bytes text) const = 0;
};

enum class MatcherKind { kBest, kPortable, kHyperscan };

// Patterns must not be empty; they may contain zero bytes. kBest picks Hyperscan when built in,
// with two-byte patterns found by vector compares in blocks where they abound.
std::unique_ptr<LiteralMatcher> MakeLiteralMatcher(const std::vector<std::string>& patterns,
                                                   MatcherKind kind = MatcherKind::kBest);

bool HyperscanAvailable();

// Internal factories, one per implementation file.
std::unique_ptr<LiteralMatcher> MakePortableMatcher(const std::vector<std::string>& patterns);
std::unique_ptr<LiteralMatcher> MakeHyperscanMatcher(const std::vector<std::string>& patterns);

}  // namespace rsf

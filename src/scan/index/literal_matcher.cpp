// The portable matcher, Hyperscan's helper for dense two-byte matches, and the choice between
// implementations. The portable matcher groups patterns by first byte and walks the block with
// memchr per distinct first byte, so each byte value costs one pass however many patterns begin
// with it.
#include "scan/index/literal_matcher.h"

#include "scan/index/byte_pair_scan.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string_view>

namespace rsf {
namespace {

class PortableMatcher final : public LiteralMatcher {
 public:
  explicit PortableMatcher(const std::vector<std::string>& patterns) : patterns_(patterns) {
    std::map<std::uint8_t, std::vector<std::size_t>> by_first;
    for (std::size_t i = 0; i < patterns.size(); ++i)
      by_first[static_cast<std::uint8_t>(patterns[i][0])].push_back(i);
    for (auto& [byte, ids] : by_first) groups_.push_back({byte, ids});
  }

  void FindAll(Bytes text, std::vector<std::vector<std::uint32_t>>& starts) const override {
    starts.resize(patterns_.size());
    for (auto& list : starts) list.clear();  // keeps their capacity from window to window
    const auto* begin = text.data();
    const std::size_t size = text.size();
    for (const Group& group : groups_) {
      std::size_t at = 0;
      while (at < size) {
        const void* hit = std::memchr(begin + at, group.first, size - at);
        if (!hit) break;
        const auto pos = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - begin);
        for (std::size_t id : group.ids) {
          const std::string& p = patterns_[id];
          if (p.size() <= size - pos && std::memcmp(begin + pos + 1, p.data() + 1, p.size() - 1) == 0)
            starts[id].push_back(static_cast<std::uint32_t>(pos));
        }
        at = pos + 1;
      }
    }
  }

  std::size_t FindFirst(Bytes text) const override {
    std::size_t first = std::string_view::npos;
    for (const std::string& pattern : patterns_) {
      const std::size_t limit = first == std::string_view::npos ? text.size() : std::min(text.size(), first + pattern.size() - 1);
      const std::size_t hit = FindBytes(text.first(limit), pattern);
      if (hit != std::string_view::npos) first = std::min(first, hit);
    }
    return first;
  }

 private:
  struct Group {
    std::uint8_t first;
    std::vector<std::size_t> ids;
  };
  std::vector<std::string> patterns_;
  std::vector<Group> groups_;
};

// Hyperscan pays for every match it reports, so a two-byte signature that turns up every few
// bytes ("BM" in some data) makes it several times slower. While the last block was dense with
// two-byte matches, those are found by vector compares and only the longer patterns go through
// the inner matcher; otherwise the inner matcher finds all. Both ways give the same result.
class DensePairMatcher final : public LiteralMatcher {
 public:
  DensePairMatcher(const std::vector<std::string>& patterns, std::unique_ptr<LiteralMatcher> all,
                   std::unique_ptr<LiteralMatcher> longer, std::vector<std::size_t> longer_ids)
      : all_(std::move(all)), longer_(std::move(longer)), longer_ids_(std::move(longer_ids)) {
    for (std::size_t id = 0; id < patterns.size(); ++id)
      if (patterns[id].size() == 2) {
        pair_ids_.push_back(id);
        pairs_.push_back({static_cast<std::uint8_t>(patterns[id][0]), static_cast<std::uint8_t>(patterns[id][1])});
      }
    count_ = patterns.size();
  }

  void FindAll(Bytes text, std::vector<std::vector<std::uint32_t>>& starts) const override {
    if (!dense_) {
      all_->FindAll(text, starts);
      dense_ = PairMatches(starts) > text.size() / kDenseBytesPerMatch;
      return;
    }
    starts.resize(count_);
    pair_starts_.resize(pairs_.size());
    FindBytePairs(text, pairs_, 0, pair_starts_);
    for (std::size_t i = 0; i < pairs_.size(); ++i) std::swap(starts[pair_ids_[i]], pair_starts_[i]);
    if (longer_) {
      longer_->FindAll(text, longer_starts_);
      for (std::size_t i = 0; i < longer_ids_.size(); ++i) std::swap(starts[longer_ids_[i]], longer_starts_[i]);
    }
    dense_ = PairMatches(starts) > text.size() / kSparseBytesPerMatch;
  }

  std::size_t FindFirst(Bytes text) const override { return all_->FindFirst(text); }

 private:
  // Dense from one two-byte match in 1,024 bytes on; sparse again below one in 4,096.
  static constexpr std::size_t kDenseBytesPerMatch = 1024;
  static constexpr std::size_t kSparseBytesPerMatch = 4096;

  std::size_t PairMatches(const std::vector<std::vector<std::uint32_t>>& starts) const {
    std::size_t matches = 0;
    for (std::size_t id : pair_ids_) matches += starts[id].size();
    return matches;
  }

  std::unique_ptr<LiteralMatcher> all_;
  std::unique_ptr<LiteralMatcher> longer_;  // null when every pattern is two bytes long
  std::vector<std::size_t> longer_ids_;
  std::vector<std::size_t> pair_ids_;
  std::vector<BytePair> pairs_;
  std::size_t count_ = 0;
  // What the last block was like, and buffers kept from block to block: a matcher is used by
  // one thread at a time, like Hyperscan's scratch space.
  mutable bool dense_ = false;
  mutable std::vector<std::vector<std::uint32_t>> pair_starts_;
  mutable std::vector<std::vector<std::uint32_t>> longer_starts_;
};

std::unique_ptr<LiteralMatcher> MakeHyperscanWithDensePairs(const std::vector<std::string>& patterns) {
  auto all = MakeHyperscanMatcher(patterns);
  if (!all) return nullptr;
  std::vector<std::string> longer;
  std::vector<std::size_t> longer_ids;
  for (std::size_t id = 0; id < patterns.size(); ++id)
    if (patterns[id].size() != 2) {
      longer.push_back(patterns[id]);
      longer_ids.push_back(id);
    }
  if (longer.size() == patterns.size()) return all;  // no two-byte pattern
  auto longer_matcher = longer.empty() ? nullptr : MakeHyperscanMatcher(longer);
  return std::make_unique<DensePairMatcher>(patterns, std::move(all), std::move(longer_matcher), std::move(longer_ids));
}

}  // namespace

std::unique_ptr<LiteralMatcher> MakePortableMatcher(const std::vector<std::string>& patterns) {
  return std::make_unique<PortableMatcher>(patterns);
}

#ifndef RSF_HAVE_HYPERSCAN
std::unique_ptr<LiteralMatcher> MakeHyperscanMatcher(const std::vector<std::string>&) { return nullptr; }
bool HyperscanAvailable() { return false; }
#endif

std::unique_ptr<LiteralMatcher> MakeLiteralMatcher(const std::vector<std::string>& patterns, MatcherKind kind) {
  if (kind != MatcherKind::kPortable && HyperscanAvailable() && !patterns.empty()) {
    auto matcher = kind == MatcherKind::kBest ? MakeHyperscanWithDensePairs(patterns) : MakeHyperscanMatcher(patterns);
    if (matcher) return matcher;
  }
  return MakePortableMatcher(patterns);
}

}  // namespace rsf

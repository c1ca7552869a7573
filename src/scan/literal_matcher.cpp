// The portable matcher and the choice between implementations. The portable matcher groups
// patterns by first byte and walks the block with memchr per distinct first byte, so each
// byte value costs one pass however many patterns begin with it.
#include "scan/literal_matcher.h"

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
    if (auto matcher = MakeHyperscanMatcher(patterns)) return matcher;
  }
  return MakePortableMatcher(patterns);
}

}  // namespace rsf

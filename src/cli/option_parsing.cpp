// Comma-separated list options of rsfx.
#include "cli/option_parsing.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace rsf::cli {
namespace {

std::vector<std::string_view> SplitCommas(std::string_view list) {
  std::vector<std::string_view> items;
  if (list.empty()) return items;
  std::size_t begin = 0;
  while (true) {
    const std::size_t comma = list.find(',', begin);
    items.push_back(list.substr(begin, comma == std::string_view::npos ? std::string_view::npos : comma - begin));
    if (comma == std::string_view::npos) break;
    begin = comma + 1;
  }
  return items;
}

std::optional<std::size_t> ParseNumber(std::string_view text) {
  std::size_t value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value == 0) return std::nullopt;
  return value;
}

// The command-line names of the types, in the scan's order; only the classic ones when asked.
std::string JoinedNames(bool classic_only) {
  std::string names;
  for (const ClipTypeRecord& type : ClipTypeTable())
    if (!classic_only || type.group == ClipTypeGroup::kClassic) names.append(names.empty() ? "" : ",").append(type.name);
  return names;
}

}  // namespace

std::string KnownTypeNames() { return JoinedNames(false); }

std::string ClassicTypeNames() { return JoinedNames(true); }

std::optional<std::array<bool, kClipKindCount>> ParseTypeList(std::string_view list, std::string& error) {
  std::array<bool, kClipKindCount> enabled{};
  for (std::string_view name : SplitCommas(list)) {
    if (name == "all") {
      enabled.fill(true);
      continue;
    }
    const std::optional<ClipKind> kind = ClipKindFromName(name);
    if (!kind) {
      error = "unknown clip type '" + std::string(name) + "' (known: " + KnownTypeNames() + ", all)";
      return std::nullopt;
    }
    enabled[static_cast<int>(*kind)] = true;
  }
  return enabled;
}

std::optional<std::set<std::size_t>> ParseClipNumbers(std::string_view list, std::string& error) {
  std::set<std::size_t> numbers;
  std::size_t counted = 0;  // numbers named so far, repeats included
  for (std::string_view item : SplitCommas(list)) {
    const std::size_t dash = item.find('-');
    const std::optional<std::size_t> first = ParseNumber(item.substr(0, dash));
    const std::optional<std::size_t> last =
        dash == std::string_view::npos ? first : ParseNumber(item.substr(dash + 1));
    // Ranges are bounded so that a hostile "1-999999999999" cannot exhaust memory, and so is
    // their total, so that many ranges of a million numbers each cannot either.
    constexpr std::size_t kMaxRange = 1'000'000;
    if (!first || !last || *last < *first || *last - *first >= kMaxRange) {
      error = "invalid clip number or range '" + std::string(item) + "'";
      return std::nullopt;
    }
    if (*last - *first >= kMaxRange - std::min(counted, kMaxRange)) {
      error = "too many clip numbers (at most 1000000)";
      return std::nullopt;
    }
    counted += *last - *first + 1;
    // Counted, not compared: a range ending at the largest number would never end otherwise.
    for (std::size_t k = 0; k <= *last - *first; ++k) numbers.insert(*first + k);
  }
  if (numbers.empty()) {
    error = "no clip numbers given";
    return std::nullopt;
  }
  return numbers;
}

}  // namespace rsf::cli

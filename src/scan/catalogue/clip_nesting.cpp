// The furthest-end map of listed clips.
#include "scan/catalogue/clip_nesting.h"

#include <algorithm>

namespace rsf {

bool ClipNesting::Covered(std::int64_t start, std::int64_t end) const {
  auto after = furthest_end_.upper_bound(start);
  if (after == furthest_end_.begin()) return false;
  return std::prev(after)->second >= end;
}

void ClipNesting::Add(std::int64_t start, std::int64_t end) {
  auto after = furthest_end_.upper_bound(start);
  std::int64_t reach = end;
  if (after != furthest_end_.begin()) reach = std::max(reach, std::prev(after)->second);
  furthest_end_[start] = std::max(furthest_end_[start], reach);
  for (auto it = furthest_end_.upper_bound(start); it != furthest_end_.end() && it->second < reach; ++it)
    it->second = reach;
}

}  // namespace rsf

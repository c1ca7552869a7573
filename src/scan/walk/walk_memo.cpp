// The walk memo: a flat hash table from passed points to walk ends.
#include "scan/walk/walk_memo.h"

#include <algorithm>
#include <iterator>

namespace rsf {
namespace {

constexpr std::size_t kFirstCapacity = 1024;

}  // namespace

void WalkMemo::Walk::Pass(std::int64_t point, unsigned flags) {
  if (skipped_ == 0) {
    points_.push_back(point);
    flags_.push_back(0);
  }
  flags_.back() |= flags;
  skipped_ = (skipped_ + 1) % stride_;
  if (stride_ == 1 && points_.size() == kDensePoints) {
    stride_ = kSparseStride;
    skipped_ = 0;
  }
  if (points_.size() < memo_.max_points_) return;
  // Kept points stand `stride_` passes apart; keeping every other one doubles that.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < points_.size(); i += 2) {
    points_[kept] = points_[i];
    flags_[kept] = flags_[i] | (i + 1 < flags_.size() ? flags_[i + 1] : 0u);
    ++kept;
  }
  points_.resize(kept);
  flags_.resize(kept);
  stride_ *= 2;
  skipped_ = 0;
}

void WalkMemo::Walk::End(std::int64_t end) {
  memo_.Remember(points_, {end});
  points_.clear();
  flags_.clear();
  stride_ = 1;
  skipped_ = 0;
}

void WalkMemo::Walk::EndPacked(std::int64_t end, unsigned flags_beyond) {
  std::vector<std::int64_t> ends(points_.size());
  unsigned ahead = flags_beyond;
  for (std::size_t i = points_.size(); i-- > 0;) {
    ahead |= flags_[i];
    ends[i] = Pack(end, ahead);
  }
  memo_.Remember(points_, ends);
  points_.clear();
  flags_.clear();
  stride_ = 1;
  skipped_ = 0;
}

std::size_t WalkMemo::SlotOf(std::int64_t point) const {
  const auto mixed = static_cast<std::uint64_t>(point) * 0x9E3779B97F4A7C15ull;
  return static_cast<std::size_t>(mixed >> 32) & (slots_.size() - 1);
}

std::optional<std::int64_t> WalkMemo::Find(std::int64_t point) const {
  if (count_ == 0) return std::nullopt;
  for (std::size_t slot = SlotOf(point);; slot = (slot + 1) & (slots_.size() - 1)) {
    if (slots_[slot].point == point) return slots_[slot].end;
    if (slots_[slot].point == kEmpty) return std::nullopt;
  }
}

void WalkMemo::Rehash(std::size_t capacity) {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(capacity, Slot{});
  count_ = 0;
  for (const Slot& slot : old)
    if (slot.point != kEmpty && slot.point >= floor_) Insert(slot.point, slot.end);
}

void WalkMemo::Insert(std::int64_t point, std::int64_t end) {
  if ((count_ + 1) * 2 > slots_.size()) Rehash(std::max(kFirstCapacity, slots_.size() * 2));
  for (std::size_t slot = SlotOf(point);; slot = (slot + 1) & (slots_.size() - 1)) {
    if (slots_[slot].point == point) {
      slots_[slot].end = end;
      return;
    }
    if (slots_[slot].point == kEmpty) {
      slots_[slot] = Slot{point, end};
      ++count_;
      return;
    }
  }
}

void WalkMemo::Remember(const std::vector<std::int64_t>& points, const std::vector<std::int64_t>& ends) {
  if (points.empty()) return;
  if (count_ + points.size() > max_points_) Rehash(std::max(kFirstCapacity, slots_.size()));  // drops unreachable points
  std::size_t room = max_points_ - count_;
  if (room < points.size() && room < max_points_ / 4) {
    slots_.clear();
    count_ = 0;
    room = max_points_;
  }
  const std::size_t wanted = std::min(points.size(), room);
  std::size_t capacity = std::max(kFirstCapacity, slots_.size());
  while ((count_ + wanted) * 2 > capacity) capacity *= 2;
  if (capacity != slots_.size()) Rehash(capacity);
  // The first point always, since later candidates most often lead to where a walk began.
  const std::size_t stride = (points.size() + room - 1) / room;
  for (std::size_t i = 0; i < points.size(); i += stride) Insert(points[i], ends.size() == 1 ? ends[0] : ends[i]);
}

std::optional<std::int64_t> StretchMemo::EndFrom(std::int64_t at) const {
  auto after = stretches_.upper_bound(at);
  if (after == stretches_.begin()) return std::nullopt;
  --after;
  if (at < after->second) return after->second;
  return std::nullopt;
}

void StretchMemo::Add(std::int64_t from, std::int64_t end) {
  if (end > from) stretches_[from] = std::max(stretches_[from], end);
}

void StretchMemo::ForgetBelow(std::int64_t offset) {
  for (auto it = stretches_.begin(); it != stretches_.end() && it->first < offset;)
    it = it->second < offset ? stretches_.erase(it) : std::next(it);
}

}  // namespace rsf

// The walk memo: a flat hash table from passed points to walk ends.
#include "scan/walk_memo.h"

#include <algorithm>

namespace rsf {
namespace {

constexpr std::size_t kFirstCapacity = 1024;

}  // namespace

void WalkMemo::Walk::Pass(std::int64_t point) {
  if (skipped_ == 0) points_.push_back(point);
  skipped_ = (skipped_ + 1) % stride_;
  if (stride_ == 1 && points_.size() == kDensePoints) {
    stride_ = kSparseStride;
    skipped_ = 0;
  }
  if (points_.size() < memo_.max_points_) return;
  // Kept points stand `stride_` passes apart; keeping every other one doubles that.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < points_.size(); i += 2) points_[kept++] = points_[i];
  points_.resize(kept);
  stride_ *= 2;
  skipped_ = 0;
}

void WalkMemo::Walk::End(std::int64_t end) {
  memo_.Remember(points_, end);
  points_.clear();
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

void WalkMemo::Remember(const std::vector<std::int64_t>& points, std::int64_t end) {
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
  for (std::size_t i = 0; i < points.size(); i += stride) Insert(points[i], end);
}

}  // namespace rsf

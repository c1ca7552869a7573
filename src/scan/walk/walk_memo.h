// Where walks through the source end, by the points they passed. The QuickTime atom chain and
// the MIDI chunk run step strictly forward, and where a walk goes from a point depends on that
// point alone; so once a walk from one candidate has passed a point, a walk from any later
// candidate that reaches the same point ends where the first one ended. Without this, many
// candidates leading into one long chain cost a pass over the chain each.
//
// Only speed depends on what is remembered: a point that was forgotten is walked again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace rsf {

class WalkMemo {
 public:
  // At most this many points are remembered. A walk keeps its first points all, and after them
  // every kSparseStride-th (fewer still when it is very long): a later walk that joins it meets
  // a kept point within a few steps, and long chains cost little memory and time to remember.
  static constexpr std::size_t kMaxPoints = std::size_t{1} << 20;
  static constexpr std::size_t kDensePoints = 64;
  static constexpr std::size_t kSparseStride = 8;

  // The smallest limit that still works: below it a full memo could not make room.
  static constexpr std::size_t kMinPoints = 4;

  // `max_points` other than kMaxPoints: for tests of the limit (raised to kMinPoints).
  explicit WalkMemo(std::size_t max_points = kMaxPoints) : max_points_(max_points < kMinPoints ? kMinPoints : max_points) {}

  // The end of the walk that passed `point`, when one did.
  std::optional<std::int64_t> Find(std::int64_t point) const;

  // One walk: collects its points as it goes, then tells the memo where it ended.
  class Walk {
   public:
    explicit Walk(WalkMemo& memo) : memo_(memo) {}
    // `flags`: what the walk met at this point (see EndPacked).
    void Pass(std::int64_t point, unsigned flags = 0);
    void End(std::int64_t end);
    // Ends a walk whose acceptance depends on what it met: each point remembers Pack(end, the
    // flags met from that point on to the end, with `flags_beyond`, those of a walk it joined).
    void EndPacked(std::int64_t end, unsigned flags_beyond);

   private:
    WalkMemo& memo_;
    std::vector<std::int64_t> points_;
    std::vector<unsigned> flags_;  // by kept point: what was met from it up to the next kept one
    std::size_t stride_ = 1;   // every stride-th point is kept
    std::size_t skipped_ = 0;  // points passed since the last one kept
  };

  // A walk's end together with a few bits of what it met on the way (a frame header, a movie
  // atom), as one remembered value: walks whose acceptance depends on what lies ahead keep it
  // with the end. `end` may be -1 (the walk found no clip).
  static constexpr int kFlagBits = 3;
  static std::int64_t Pack(std::int64_t end, unsigned flags) { return (end + 1) * (1 << kFlagBits) + flags; }
  static std::int64_t EndOf(std::int64_t packed) { return packed / (1 << kFlagBits) - 1; }
  static unsigned FlagsOf(std::int64_t packed) { return static_cast<unsigned>(packed % (1 << kFlagBits)); }

  // Points below `offset` can no longer be reached by any walk (candidates only come later).
  void ForgetBelow(std::int64_t offset) { floor_ = offset; }
  std::size_t size() const { return count_; }

 private:
  struct Slot {
    std::int64_t point = kEmpty;
    std::int64_t end = 0;
  };
  static constexpr std::int64_t kEmpty = INT64_MIN;

  // Remembers `ends[i]` for `points[i]` (`ends` one long: the same end for all).
  void Remember(const std::vector<std::int64_t>& points, const std::vector<std::int64_t>& ends);
  void Insert(std::int64_t point, std::int64_t end);
  void Rehash(std::size_t capacity);
  std::size_t SlotOf(std::int64_t point) const;

  std::size_t max_points_;
  std::vector<Slot> slots_;  // open addressing, linear probing; capacity a power of two
  std::size_t count_ = 0;
  std::int64_t floor_ = INT64_MIN;
};

// Stretches of the source already searched for a kind of byte without finding one before their
// end: from any offset inside a stretch, the search ends at the stretch's end. Stretches that
// end below the floor are forgotten.
class StretchMemo {
 public:
  // The end of a stretch that holds `at`, when one does.
  std::optional<std::int64_t> EndFrom(std::int64_t at) const;
  void Add(std::int64_t from, std::int64_t end);
  void ForgetBelow(std::int64_t offset);

 private:
  std::map<std::int64_t, std::int64_t> stretches_;  // begin -> end
};

}  // namespace rsf

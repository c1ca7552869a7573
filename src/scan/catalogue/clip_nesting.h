// Which listed clips hold a new one wholly: with the precise rules, a clip inside a clip
// already listed (the frames of an MJPEG AVI, a JPEG's thumbnail, a WAVE inside a game's AVI) is
// part of that clip and not listed again.
#pragma once

#include <cstdint>
#include <map>

namespace rsf {

class ClipNesting {
 public:
  // Whether one clip listed so far covers [start, end) whole.
  bool Covered(std::int64_t start, std::int64_t end) const;
  void Add(std::int64_t start, std::int64_t end);

 private:
  // For each start of a listed clip, the furthest end of the clips that start there or before.
  // Clips come in nearly ascending order of start, so an insertion rarely has entries after it
  // to raise, and those it has stop at the first that already reaches as far.
  std::map<std::int64_t, std::int64_t> furthest_end_;
};

}  // namespace rsf

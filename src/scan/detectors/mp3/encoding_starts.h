// Where a new encoding begins inside a run of layer III frames of one stream, as when a game
// packs thousands of separately encoded speech lines back to back. Two kinds of evidence start
// one:
//   - an encoder's header frame (Xing, Info, VBRI), which is written only as a file's first frame;
//   - a frame whose main_data_begin is 0, where the part so far shows that its encoder uses the
//     bit reservoir (some frame took bytes from the frames before it), the reservoir's accounting
//     has held over every frame of the part (no frame's main data reaches into the main data
//     before it or past its own frame), and the frame before left bytes unused: an encoder that
//     goes on would have handed those to this frame. A reservoir that has run empty (nothing
//     left unused) is what a continuing stream looks like, and an encoder that never uses the
//     reservoir writes 0 in every frame: neither is cut.
// Tags need no rule here: the frame walk ends at any bytes that are not a frame.
#pragma once

#include <cstdint>
#include <optional>

#include "scan/detectors/mp3/layer3_side_info.h"

namespace rsf {

class EncodingStarts {
 public:
  // The fewest frames a part keeps before a new encoding may start behind them.
  explicit EncodingStarts(std::int64_t shortest_part) : shortest_part_(shortest_part) {}

  // Whether a new encoding begins at `frame`, after the frames taken so far. Facts that could
  // not be read never begin one.
  bool BeginsAt(const std::optional<Layer3Frame>& frame) const;

  // Takes `frame` into the part.
  void Take(const std::optional<Layer3Frame>& frame);

 private:
  std::int64_t shortest_part_;
  std::int64_t frames_ = 0;
  bool uses_reservoir_ = false;
  bool accounting_holds_ = true;
  std::int32_t left_unused_ = 0;  // bytes behind the last frame's main data, up to its end
};

}  // namespace rsf

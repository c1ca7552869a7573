// The rules that start a new encoding inside a run of layer III frames.
#include "scan/detectors/mp3/encoding_starts.h"

namespace rsf {

bool EncodingStarts::BeginsAt(const std::optional<Layer3Frame>& frame) const {
  if (frames_ < shortest_part_ || !frame) return false;
  if (frame->header_frame) return true;
  return frame->main_data_begin == 0 && uses_reservoir_ && accounting_holds_ && left_unused_ > 0;
}

void EncodingStarts::Take(const std::optional<Layer3Frame>& frame) {
  ++frames_;
  if (!frame) {
    accounting_holds_ = false;
    return;
  }
  // This frame's main data starts main_data_begin bytes before its own room: not before the
  // end of the main data of the frame before (the first frame of a part has nothing to check).
  if (frames_ > 1 && frame->main_data_begin > left_unused_) accounting_holds_ = false;
  left_unused_ = frame->main_data_room + frame->main_data_begin - frame->main_data_used;
  if (left_unused_ < 0) accounting_holds_ = false;
  if (frame->main_data_begin > 0) uses_reservoir_ = true;
}

}  // namespace rsf

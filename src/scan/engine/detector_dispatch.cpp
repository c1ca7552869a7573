// Signature registration and detector dispatch, both read from the clip-type table.
#include "scan/engine/detector_dispatch.h"

#include "scan/catalogue/clip_type_table.h"
#include "scan/detectors/mp3/find_mp3_clips.h"
#include "scan/detectors/mp3/mp3_tags.h"

namespace rsf {

void RegisterSignatures(ScanState& state, const ScanOptions& options) {
  if (options.mp3_mode) {
    if (options.precise) state.Signature(kId3v2Signature);
  } else {
    for (const ClipTypeRecord& type : ClipTypeTable())
      if (options.Enabled(type.kind))
        for (const std::string_view signature : type.Rules(options.precise).signatures) state.Signature(signature);
  }
  state.SignaturesRegistered();
}

void RunDetectors(ScanState& state, const ScanOptions& options) {
  if (options.mp3_mode) {
    FindMP3Clips(state);
    return;
  }
  for (const ClipTypeRecord& type : ClipTypeTable()) {
    if (!options.Enabled(type.kind) || type.origin != ClipOrigin::kSignatures) continue;
    type.Rules(options.precise).detector(state, type);
    state.RestoreWindow();
  }
}

}  // namespace rsf

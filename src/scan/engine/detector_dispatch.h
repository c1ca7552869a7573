// Running the ticked types' detectors over a window, as the clip-type table lists them.
#pragma once

#include "scan/engine/scan_options.h"
#include "scan/engine/scan_state.h"

namespace rsf {

// Registers the signatures of every enabled detector up front, so the first window is indexed
// in one pass like all the others.
void RegisterSignatures(ScanState& state, const ScanOptions& options);

// Runs every enabled detector over the current window in the table's order, each followed by
// RestoreWindow so that all of them see the same window and source position.
void RunDetectors(ScanState& state, const ScanOptions& options);

}  // namespace rsf

// The rsfx command line: scan a source and list its clips, or extract them.
#pragma once

#include <cstdio>

namespace rsf::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitRuntimeError = 1;
inline constexpr int kExitUsageError = 2;

// Runs rsfx with its arguments; output goes to `out`, messages and progress to `err`.
int RsfxMain(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

}  // namespace rsf::cli

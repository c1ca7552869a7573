// The product's name, version and build, as both programs show them (the version and build
// come from the build, which also gives them to the package).
#pragma once

#include <string>
#include <string_view>

namespace rsf {

inline constexpr const char* kProductName = "RSF-Extractor";
inline constexpr const char* kVersionText = RSF_VERSION_TEXT;  // "V 1.3 Beta 1"
inline constexpr const char* kBuildText = RSF_BUILD_TEXT;      // "100"

// What `--version` prints: "rsfx (RSF-Extractor) V 1.3 Beta 1, Build 100".
inline std::string VersionLine(std::string_view program) {
  return std::string(program) + " (" + kProductName + ") " + kVersionText + ", Build " + kBuildText;
}

}  // namespace rsf

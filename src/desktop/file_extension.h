// A file's extension as the picture windows choose their decoder by it: compared without regard
// to case, as the desktop does.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>

namespace rsf::desktop {

// From the last "." of the file-name part on, in lower case; empty without one.
inline std::string LowerExtension(const std::string& path) {
  const std::size_t delimiter = path.find_last_of("/\\");
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (delimiter != std::string::npos && dot < delimiter)) return {};
  std::string extension = path.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

}  // namespace rsf::desktop

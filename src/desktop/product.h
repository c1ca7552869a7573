// The product's name, version and build as the main window's caption and the About window
// show them, and the address the About window links to.
#pragma once

#include <string>

#include "base/product.h"

namespace rsf::desktop {

using rsf::kBuildText;
using rsf::kProductName;
using rsf::kVersionText;
// Written as a user would type it; the shell completes it to a web address.
inline constexpr const char* kHomePageAddress = "github.com/rsf-extractor";

// "MALDORAN RSF-Extractor V 1.3 Beta 1": main window caption and application title.
inline std::string ApplicationTitle() { return std::string("MALDORAN ") + kProductName + " " + kVersionText; }

}  // namespace rsf::desktop

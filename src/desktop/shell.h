// The desktop shell as the desktop core reaches it: a document (a clip copy, the user guide) is
// opened with the program associated with its type ("open"), without making the window wait.
#pragma once

#include <functional>
#include <string>

#include "platform/shell_open.h"

namespace rsf::desktop {

class Shell {
 public:
  // Whether a program was started for the document, and if not why.
  using DocumentOutcome = std::function<void(const platform::OpenOutcome& outcome)>;

  virtual ~Shell() = default;
  // Starts the associated program on `path` (a file name, or a file address with a fragment);
  // `done` learns the outcome later, on the window's thread (or at once).
  virtual void OpenDocument(const std::string& path, DocumentOutcome done) = 0;
};

}  // namespace rsf::desktop

// Exception texts at the command boundary of rsfx.
#include "cli/command_boundary.h"

#include <fmt/format.h>

#include <exception>
#include <new>

#include "base/error_display.h"
#include "cli/rsfx_app.h"

namespace rsf::cli {

std::string CurrentExceptionText() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return kOutOfMemoryText;
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return kUnknownErrorText;
  }
}

int RunCommand(std::FILE* err, const std::function<int()>& command) {
  try {
    return command();
  } catch (...) {
    fmt::print(err, "{}\n", ErrorDisplayText(CurrentExceptionText()));
    return kExitRuntimeError;
  }
}

}  // namespace rsf::cli

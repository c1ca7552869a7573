// The boundary of one rsfx command: whatever the command raises ends it as a runtime error,
// reported with its text, never as an abort. The core raises rsf::Error for what the user
// can act on; the rest (memory, threads, the matcher library) is reported the same way.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace rsf::cli {

// The text to show for the exception being handled (call inside a catch block).
std::string CurrentExceptionText();

// Runs `command` and returns its status; an exception it raises is printed to `err` as the
// general error display shows it, and gives status 1.
int RunCommand(std::FILE* err, const std::function<int()>& command);

}  // namespace rsf::cli

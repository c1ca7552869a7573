// The system's own message for an error code, as the platform words it for the user.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rsf::platform {

// The message of `code` (an errno value on POSIX systems, a GetLastError value on Windows) in
// UTF-8, or nullopt when the system has no message for it.
std::optional<std::string> SystemErrorMessage(std::uint32_t code);

// The message of `code` as one line (without the line break Windows ends its texts with), for
// the reason line under an error; empty when the system has none.
std::string ReasonText(std::uint32_t code);

// ReasonText of the calling thread's last error (errno, GetLastError).
std::string LastErrorReason();

}  // namespace rsf::platform

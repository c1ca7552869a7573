// wnaspi32: the binding of the ASPI library's two entry points. Every call loads the library by
// name again (the system keeps the one copy it loaded first) and looks the entry point up;
// without a library or an entry point nothing is sent.
#pragma once

#include <cstdint>
#include <functional>

namespace rsf {

// The support information (status in bits 8 to 15, host adapter count in bits 0 to 7), or 0
// when there is no ASPI interface.
std::uint32_t GetASPI32SupportInfo();

// Hands a request block to the library and returns its return code; 0 without a library.
std::uint32_t SendASPI32Command(void* request_block);

namespace aspi {

// What became of a request block: the return code, and whether a library took it at all.
// A block that was not delivered cannot complete later.
struct SendOutcome {
  std::uint32_t code = 0;
  bool delivered = false;
};
SendOutcome SendToLibrary(void* request_block);

// Entry points standing in for the library (tests); an empty function is a missing entry point.
struct LibraryEntries {
  std::function<std::uint32_t()> support_info;
  std::function<std::uint32_t(void*)> send_command;
};
void OverrideLibrary(LibraryEntries entries);
// Back to loading the library by name.
void RestoreLibrary();

}  // namespace aspi
}  // namespace rsf

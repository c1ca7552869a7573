// Facts about the system the program runs on that the window reads once at start: which way a
// CD is read, and the folder the program file lives in.
#pragma once

#include <string>

namespace rsf::platform {

// True when CDs are read through the system's raw device of a drive rather than through the
// ASPI layer. Decided once at window creation (the window's NTDeviceMode).
bool RawCdDeviceAccess();

// The folder of the running program file, ending with the path delimiter; empty when the
// system cannot tell.
std::string ProgramFolder();

}  // namespace rsf::platform

// POSIX calls the tests use that Windows lacks or spells differently, supplied for the Windows
// build (where this header is included ahead of every test source); elsewhere it adds nothing.
#pragma once

#include <cstdlib>

#ifdef _WIN32
// The C runtime has no setenv/unsetenv; _putenv_s changes the same environment getenv reads.
// Windows cannot hold an empty variable: setting one to "" removes it.
inline int setenv(const char* name, const char* value, int overwrite) {
  if (!overwrite && std::getenv(name) != nullptr) return 0;
  return _putenv_s(name, value) == 0 ? 0 : -1;
}
inline int unsetenv(const char* name) { return _putenv_s(name, "") == 0 ? 0 : -1; }
#endif

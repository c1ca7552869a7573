// The shell's "open" verb for the desktop core. Each document is handed over on a thread of its
// own, since the shell may take long to start a program, and the outcome comes back to the
// window's thread as a message to a message-only window of the shell.
#pragma once

#include <windows.h>

#include <list>
#include <string>
#include <thread>

#include "desktop/shell.h"
#include "platform/shell_open.h"

namespace rsf::win32 {

// ShellExecuteW's "open" on `path`: a result above 32 means a program took the document;
// otherwise GetLastError's code, or the result itself when the shell left no code behind.
platform::OpenOutcome OpenWithShell(const std::string& path);

class Win32Shell final : public desktop::Shell {
 public:
  Win32Shell();
  // Waits for the openers still running; their outcomes are dropped.
  ~Win32Shell() override;
  Win32Shell(const Win32Shell&) = delete;
  Win32Shell& operator=(const Win32Shell&) = delete;

  void OpenDocument(const std::string& path, DocumentOutcome done) override;

 private:
  struct Opening {
    std::thread opener;
    platform::OpenOutcome outcome;
    DocumentOutcome done;
  };
  static LRESULT CALLBACK AnswerProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Answered(Opening* opening);

  HWND answers_ = nullptr;
  std::list<Opening> openings_;
};

}  // namespace rsf::win32

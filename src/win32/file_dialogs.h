// The source and target dialogs of the common dialog library, modal to the main window.
#pragma once

#include <windows.h>

#include <string>

#include "desktop/file_dialogs.h"

namespace rsf::win32 {

// The source dialog's filters as the common dialog takes them: pairs of a shown name and its
// patterns, each ended by a NUL, and a NUL after the last pair.
std::wstring SourceFilterPairs();

class Win32FileDialogs final : public desktop::FileDialogs {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  // An existing file.
  std::optional<std::string> ChooseSourceFile() override;
  // Any name in an existing folder: it is only the prefix of the clip files, so an existing
  // file is no reason to ask.
  std::optional<std::string> ChooseTargetFile() override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace rsf::win32

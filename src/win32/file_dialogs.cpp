// GetOpenFileNameW and GetSaveFileNameW, with room for long paths.
#include "win32/file_dialogs.h"

#include <commdlg.h>

#include <vector>

#include "win32/wide_text.h"

namespace rsf::win32 {
namespace {

constexpr DWORD kPathRoom = 32768;

std::optional<std::string> Chosen(HWND owner, DWORD flags, BOOL(WINAPI* dialog)(LPOPENFILENAMEW)) {
  std::vector<wchar_t> path(kPathRoom, L'\0');
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  request.lpstrFile = path.data();
  request.nMaxFile = kPathRoom;
  request.Flags = flags | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  if (!dialog(&request)) return std::nullopt;
  return Utf8(path.data());
}

}  // namespace

std::optional<std::string> Win32FileDialogs::ChooseSourceFile() {
  return Chosen(owner_, OFN_FILEMUSTEXIST, ::GetOpenFileNameW);
}

std::optional<std::string> Win32FileDialogs::ChooseTargetFile() { return Chosen(owner_, 0, ::GetSaveFileNameW); }

}  // namespace rsf::win32

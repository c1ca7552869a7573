// GetOpenFileNameW and GetSaveFileNameW, with room for long paths.
#include "win32/file_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "desktop/source_file_filters.h"

#include "win32/wide_text.h"

namespace rsf::win32 {
namespace {

constexpr DWORD kPathRoom = 32768;

std::optional<std::string> Chosen(HWND owner, DWORD flags, BOOL(WINAPI* dialog)(LPOPENFILENAMEW),
                                  const wchar_t* filter = nullptr) {
  std::vector<wchar_t> path(kPathRoom, L'\0');
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  request.lpstrFilter = filter;
  request.lpstrFile = path.data();
  request.nMaxFile = kPathRoom;
  request.Flags = flags | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  if (!dialog(&request)) return std::nullopt;
  return Utf8(path.data());
}

}  // namespace

std::wstring SourceFilterPairs() {
  std::wstring pairs;
  for (const desktop::FileFilter& filter : desktop::kSourceFileFilters) {
    // Windows writes "every file" as "*.*" and separates patterns with semicolons.
    std::string patterns = filter.patterns == "*" ? "*.*" : std::string(filter.patterns);
    std::replace(patterns.begin(), patterns.end(), ' ', ';');
    pairs += Wide(std::string(filter.name) + " (" + patterns + ")");
    pairs += L'\0';
    pairs += Wide(patterns);
    pairs += L'\0';
  }
  return pairs + L'\0';
}

std::optional<std::string> Win32FileDialogs::ChooseSourceFile() {
  const std::wstring filter = SourceFilterPairs();
  return Chosen(owner_, OFN_FILEMUSTEXIST, ::GetOpenFileNameW, filter.c_str());
}

std::optional<std::string> Win32FileDialogs::ChooseTargetFile() { return Chosen(owner_, 0, ::GetSaveFileNameW); }

}  // namespace rsf::win32

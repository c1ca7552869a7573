// Known folders through SHGetKnownFolderPath (Windows Vista and later), and folder containment
// by an ordinal comparison that ignores case, which is how the file system matches names.
#include "platform/known_folders_win32.h"

#include <shlobj.h>

#include <algorithm>

namespace rsf::platform {
namespace {

std::wstring WideFromUtf8(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

std::string Utf8FromWide(const wchar_t* wide) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string utf8(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), size, nullptr, nullptr);
  utf8.pop_back();  // the terminating zero
  return utf8;
}

// Backslashes only, and one at the end.
std::wstring FolderName(const std::string& path) {
  std::wstring name = WideFromUtf8(path);
  std::replace(name.begin(), name.end(), L'/', L'\\');
  if (!name.empty() && name.back() != L'\\') name += L'\\';
  return name;
}

}  // namespace

std::string KnownFolder(const GUID& id) {
  wchar_t* path = nullptr;
  std::string folder;
  if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path))) folder = Utf8FromWide(path);
  ::CoTaskMemFree(path);  // owed even when the call fails
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

bool InsideFolder(const std::string& path, const std::string& folder) {
  const std::wstring inner = FolderName(path);
  const std::wstring outer = FolderName(folder);
  if (outer.empty() || inner.size() < outer.size()) return false;
  return ::CompareStringOrdinal(inner.data(), static_cast<int>(outer.size()), outer.data(),
                                static_cast<int>(outer.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace rsf::platform

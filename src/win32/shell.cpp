// Documents opened through ShellExecuteW on opener threads, answered on the window's thread.
#include "win32/shell.h"

#include <objbase.h>
#include <shellapi.h>

#include <cstdint>

#include "win32/wide_text.h"

namespace rsf::win32 {
namespace {

constexpr wchar_t kAnswerClass[] = L"RsfExtractorShellAnswers";
constexpr UINT kOpenedMessage = WM_APP + 1;

}  // namespace

platform::OpenOutcome OpenWithShell(const std::string& path) {
  ::SetLastError(0);
  HINSTANCE result = ::ShellExecuteW(nullptr, L"open", Wide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  const auto code = reinterpret_cast<std::intptr_t>(result);
  if (code > 32) return {};
  const DWORD error = ::GetLastError();
  if (error != 0) return {error, {}};
  return {code != 0 ? static_cast<std::uint32_t>(code) : ERROR_GEN_FAILURE, {}};
}

Win32Shell::Win32Shell() {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = AnswerProcedure;
  window_class.hInstance = ::GetModuleHandleW(nullptr);
  window_class.lpszClassName = kAnswerClass;
  ::RegisterClassExW(&window_class);  // fails harmlessly when a shell before did it
  answers_ = ::CreateWindowExW(0, kAnswerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, window_class.hInstance, nullptr);
  ::SetWindowLongPtrW(answers_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Shell::~Win32Shell() {
  for (Opening& opening : openings_) opening.opener.join();
  ::DestroyWindow(answers_);
}

void Win32Shell::OpenDocument(const std::string& path, DocumentOutcome done) {
  Opening& opening = openings_.emplace_back();
  opening.done = std::move(done);
  HWND answers = answers_;
  Opening* reported = &opening;
  opening.opener = std::thread([path, answers, reported] {
    // The shell's extensions may need COM, in a single-threaded apartment.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    reported->outcome = OpenWithShell(path);
    if (SUCCEEDED(com)) ::CoUninitialize();
    ::PostMessageW(answers, kOpenedMessage, 0, reinterpret_cast<LPARAM>(reported));
  });
}

void Win32Shell::Answered(Opening* opening) {
  for (auto it = openings_.begin(); it != openings_.end(); ++it) {
    if (&*it != opening) continue;
    it->opener.join();
    const DocumentOutcome done = std::move(it->done);
    const platform::OpenOutcome outcome = it->outcome;
    openings_.erase(it);
    if (done) done(outcome);
    return;
  }
}

LRESULT CALLBACK Win32Shell::AnswerProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kOpenedMessage) {
    if (auto* shell = reinterpret_cast<Win32Shell*>(::GetWindowLongPtrW(window, GWLP_USERDATA)))
      shell->Answered(reinterpret_cast<Opening*>(lparam));
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace rsf::win32

// Message boxes through user32 and the task dialog of common controls 6. The task dialog is
// looked up at run time: a process without the version-6 manifest has an older comctl32
// without it, and then the question falls back to a retry-or-cancel box (cancel ignores).
#include "win32/message_boxes.h"

#include <commctrl.h>

#include "desktop/window_texts.h"
#include "win32/wide_text.h"

namespace rsf::win32 {
namespace {

UINT IconStyle(desktop::BoxIcon icon) {
  switch (icon) {
    case desktop::BoxIcon::kWarning: return MB_ICONWARNING;
    case desktop::BoxIcon::kInformation: return MB_ICONINFORMATION;
    case desktop::BoxIcon::kError: return MB_ICONERROR;
    case desktop::BoxIcon::kStop: return MB_ICONSTOP;
  }
  return MB_ICONINFORMATION;
}

using TaskDialogFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

TaskDialogFunction TaskDialogOfCommonControls() {
  HMODULE library = ::LoadLibraryW(L"comctl32.dll");
  if (library == nullptr) return nullptr;
  FARPROC found = ::GetProcAddress(library, "TaskDialogIndirect");
  return reinterpret_cast<TaskDialogFunction>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

void Win32MessageBoxes::Show(desktop::BoxIcon icon, const std::string& caption, const std::string& text) {
  ::MessageBoxW(owner_, DisplayText(text).c_str(), DisplayText(caption).c_str(), MB_OK | IconStyle(icon));
}

desktop::RetryIgnoreAnswer Win32MessageBoxes::AskRetryIgnore(const std::string& caption, const std::string& text) {
  const std::wstring shown_caption = DisplayText(caption);
  const std::wstring shown_text = DisplayText(text);
  if (const TaskDialogFunction task_dialog = TaskDialogOfCommonControls()) {
    const std::wstring retry = DisplayText(desktop::kRetryButton);
    const std::wstring ignore = DisplayText(desktop::kIgnoreButton);
    const TASKDIALOG_BUTTON buttons[] = {{IDRETRY, retry.c_str()}, {IDIGNORE, ignore.c_str()}};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner_;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
    config.pszWindowTitle = shown_caption.c_str();
    config.pszMainIcon = TD_ERROR_ICON;
    config.pszContent = shown_text.c_str();
    config.cButtons = 2;
    config.pButtons = buttons;
    config.nDefaultButton = IDRETRY;
    int pressed = IDIGNORE;
    if (SUCCEEDED(task_dialog(&config, &pressed, nullptr, nullptr)))
      return pressed == IDRETRY ? desktop::RetryIgnoreAnswer::kRetry : desktop::RetryIgnoreAnswer::kIgnore;
  }
  const int pressed = ::MessageBoxW(owner_, shown_text.c_str(), shown_caption.c_str(), MB_RETRYCANCEL | MB_ICONERROR);
  return pressed == IDRETRY ? desktop::RetryIgnoreAnswer::kRetry : desktop::RetryIgnoreAnswer::kIgnore;
}

}  // namespace rsf::win32

// The program's services are the Win32 ones (the player on MCI, the picture window on WIC); the
// temporary folder and file deletion are the desktop core's own. The self-check swaps the message
// boxes for lines of its report.
#include "win32/program.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "desktop/main_presenter.h"
#include "desktop/self_check.h"
#include "win32/file_dialogs.h"
#include "win32/main_window.h"
#include "win32/mci_player.h"
#include "win32/message_boxes.h"
#include "win32/picture_window.h"
#include "win32/shell.h"

namespace rsf::win32 {
namespace {

// Common controls for the window, and COM in a single-threaded apartment, which the file dialogs
// and the shell want, for as long as the program runs.
class ProgramSession {
 public:
  ProgramSession() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
  }
  ~ProgramSession() {
    if (SUCCEEDED(com_)) ::CoUninitialize();
  }
  ProgramSession(const ProgramSession&) = delete;
  ProgramSession& operator=(const ProgramSession&) = delete;

 private:
  HRESULT com_ = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
};

// Every service but the message boxes, which each run brings.
struct WindowServices {
  desktop::DesktopServices With(desktop::MessageBoxes& boxes) {
    return {boxes, dialogs, shell, deleter, player, pictures, temporary_folder};
  }

  Win32FileDialogs dialogs;
  Win32Shell shell;
  desktop::PlatformFileDeleter deleter;
  MciPlayer player;
  PictureWindow pictures;
  desktop::PlatformTemporaryFolder temporary_folder;
};

}  // namespace

int RunProgram(const std::vector<std::string>& arguments) {
  ProgramSession session;
  Win32MessageBoxes boxes;
  WindowServices services;
  MSG message{};
  {
    MainWindow window(services.With(boxes), desktop::DefaultHelpFile(),
                      arguments.empty() ? std::string() : arguments.front());
    boxes.SetOwner(window.Handle());
    services.dialogs.SetOwner(window.Handle());
    services.player.SetOwner(window.Handle());
    services.pictures.SetOwner(window.Handle());
    ::ShowWindow(window.Handle(), SW_SHOWDEFAULT);
    ::UpdateWindow(window.Handle());
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (!window.PreTranslate(message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
    }
    boxes.SetOwner(nullptr);
    services.dialogs.SetOwner(nullptr);
    services.player.SetOwner(nullptr);
    services.pictures.SetOwner(nullptr);
  }
  return static_cast<int>(message.wParam);
}

int RunSelfCheck(const std::string& source, std::FILE* out) {
  ProgramSession session;
  desktop::ConsoleMessageBoxes boxes(out);
  WindowServices services;
  MainWindow window(services.With(boxes), desktop::DefaultHelpFile(), std::string());
  return desktop::RunSelfCheck(window, window.Presenter(), source, out);
}

}  // namespace rsf::win32

// The program's services are the Win32 ones (the player on MCI, the picture window on WIC); the
// temporary folder and file deletion are the desktop core's own.
#include "win32/program.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "desktop/main_presenter.h"
#include "win32/file_dialogs.h"
#include "win32/main_window.h"
#include "win32/mci_player.h"
#include "win32/message_boxes.h"
#include "win32/picture_window.h"
#include "win32/shell.h"

namespace rsf::win32 {

int RunProgram(const std::vector<std::string>& arguments) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  // The file dialogs and the shell want COM in a single-threaded apartment.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  Win32MessageBoxes boxes;
  Win32FileDialogs dialogs;
  Win32Shell shell;
  desktop::PlatformFileDeleter deleter;
  MciPlayer player;
  PictureWindow pictures;
  desktop::PlatformTemporaryFolder temporary_folder;
  MSG message{};
  {
    MainWindow window(desktop::DesktopServices{boxes, dialogs, shell, deleter, player, pictures, temporary_folder},
                      desktop::DefaultHelpFile(), arguments.empty() ? std::string() : arguments.front());
    boxes.SetOwner(window.Handle());
    dialogs.SetOwner(window.Handle());
    player.SetOwner(window.Handle());
    pictures.SetOwner(window.Handle());
    ::ShowWindow(window.Handle(), SW_SHOWDEFAULT);
    ::UpdateWindow(window.Handle());
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (!window.PreTranslate(message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
    }
    boxes.SetOwner(nullptr);
    dialogs.SetOwner(nullptr);
    player.SetOwner(nullptr);
    pictures.SetOwner(nullptr);
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  return static_cast<int>(message.wParam);
}

}  // namespace rsf::win32

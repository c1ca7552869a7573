// The About window: the logo, the program's name, build, thanks and home page as the desktop
// core lays them out, and a button that closes it. The link opens the home page in the browser.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "desktop/shell.h"

namespace rsf::win32 {

class AboutWindow {
 public:
  // Made hidden, for `owner` and at its resolution.
  AboutWindow(HWND owner, int dpi, desktop::Shell& shell);
  ~AboutWindow();
  AboutWindow(const AboutWindow&) = delete;
  AboutWindow& operator=(const AboutWindow&) = delete;

  HWND Handle() const { return window_; }
  // Shows the window centred on its owner, which takes no input until it closes.
  void RunModal();
  // The label made for the text of that name ("lblHyperLink", ...).
  HWND Label(const char* name) const;
  bool Closed() const { return closed_; }

  static constexpr int kButtonId = IDOK;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  int Scaled(int design_pixels) const { return ::MulDiv(design_pixels, dpi_, 96); }
  HFONT Font(int weight, bool underline);

  HWND owner_;
  int dpi_;
  desktop::Shell& shell_;
  HWND window_ = nullptr;
  HBITMAP logo_ = nullptr;
  std::vector<HFONT> fonts_;
  std::vector<std::pair<std::string, HWND>> labels_;
  HWND link_ = nullptr;
  HWND dark_ = nullptr;
  bool closed_ = false;
};

}  // namespace rsf::win32

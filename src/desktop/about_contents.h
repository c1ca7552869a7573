// The About window's contents for every front end: its caption, the texts of its panel with
// where each one stands and how it is drawn, the places of the logo and the button, and the web
// address the link opens.
#pragma once

#include <string>
#include <vector>

namespace rsf::desktop {

enum class AboutTextStyle { kPlain, kBold, kLink, kDark };

struct AboutText {
  const char* name;  // the label's name: "lblPresents", "lblApplicationName", ...
  std::string text;
  int left;
  int top;
  AboutTextStyle style;
};

struct AboutContents {
  std::string caption;  // "关于 RSF-Extractor V 1.3 Beta 1 ..."
  int width;            // of the panel, which the window fits
  int height;
  int logo_left;  // the logo's top left corner
  int logo_top;
  std::vector<AboutText> texts;
  std::string button_caption;  // "确定", which closes the window
  int button_left, button_top, button_width, button_height;
};

AboutContents About();

// The link shows the address as people write it ("github.com/..."); it opens as a browser's
// address bar would read it.
std::string HomePageUrl();

}  // namespace rsf::desktop

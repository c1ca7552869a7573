// The About panel's texts and places.
#include "desktop/about_contents.h"

#include "desktop/product.h"

namespace rsf::desktop {
namespace {

constexpr int kTextLeft = 160;

}  // namespace

AboutContents About() {
  const std::string name_and_version = std::string(kProductName) + " " + kVersionText;
  return AboutContents{
      "关于 " + name_and_version + " ...",
      370,
      210,
      16,
      32,
      {
          {"lblPresents", "MALDORAN 向您骄傲呈现:", kTextLeft, 24, AboutTextStyle::kPlain},
          {"lblApplicationName", name_and_version, kTextLeft, 48, AboutTextStyle::kBold},
          {"lblBuild", std::string(kVersionText) + " Build " + kBuildText, kTextLeft, 72, AboutTextStyle::kPlain},
          {"lblNotice", "本程序为免费软件，不提供任何担保。", kTextLeft, 95, AboutTextStyle::kPlain},
          {"lblHyperLink", kHomePageAddress, kTextLeft, 110, AboutTextStyle::kLink},
          {"lblCredit", "感谢所有帮助测试本程序的朋友!", kTextLeft, 145, AboutTextStyle::kDark},
      },
      "确定",
      kTextLeft,
      168,
      75,
      25,
  };
}

std::string HomePageUrl() { return std::string("http://") + kHomePageAddress; }

}  // namespace rsf::desktop

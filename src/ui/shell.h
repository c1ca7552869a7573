// The desktop shell: opens a web address or a local document with the program associated
// with it. Behind an interface so that tests can record what would be opened.
#pragma once

#include <QUrl>

namespace rsf::ui {

class Shell {
 public:
  virtual ~Shell() = default;
  // False when nothing could open the address.
  virtual bool Open(const QUrl& url) = 0;
};

class QtShell final : public Shell {
 public:
  bool Open(const QUrl& url) override;
};

}  // namespace rsf::ui
